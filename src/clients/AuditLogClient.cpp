#include "AuditLogClient.h"

#include "CriterionArguments.h"
#include "contracts/Names.h"
#include "platform/Error.h"

namespace talv::clients {

namespace {

TableClass::Definition auditLogTable()
{
    using P = PropertyInfo;
    TableClass::Definition d;
    d.className = names::AuditLogClass;
    d.table = QStringLiteral("audit_log_column");
    d.from = QStringLiteral("audit_log_column");
    const auto add = [&d](const char *property, FieldType type, int flags, const char *column, bool written) {
        d.properties.append({QString::fromLatin1(property), type, flags});
        d.columns.append({QString::fromLatin1(column), written ? QString::fromLatin1(column) : QString()});
    };
    add("AuditLogColumnId", FieldType::Integer, P::Key, "audit_log_column_id", true);
    add("AuditLogId", FieldType::Integer, P::ReadOnly, "audit_log_id", false);
    add("ColumnName", FieldType::VarChar, P::ReadOnly, "column_name", false);
    add("OldValue", FieldType::VarChar, P::ReadOnly, "old_value", false);
    add("NewValue", FieldType::VarChar, P::ReadOnly, "new_value", false);
    add("Comments", FieldType::VarChar, P::Plain, "comments", true);
    return d;
}

} // namespace

const QString AuditLogClass::ClassName = names::AuditLogClass;

AuditLogClass::AuditLogClass() : TableClass(auditLogTable())
{}

QList<QVariantList> AuditLogClass::load(const ServerConnection &server, const LoadRequest &request) const
{
    if (request.criterion.compare(QStringLiteral("AUDIT_LOG_ID"), Qt::CaseInsensitive) != 0)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Class %1 has no criterion \"%2\".").arg(ClassName, request.criterion));
    const QStringList args = criterionArguments(request, 1, QStringLiteral("(audit log id)"));
    return query(server, QStringLiteral("audit_log_id = ?"),
                 {wholeNumberArgument(args.at(0), QStringLiteral("audit log id"), request.criterion)},
                 QStringLiteral("audit_log_column_id"));
}

void AuditLogClass::insert(SaveTransaction &, BusinessComponent &) const
{
    throw Error(Error::InvalidArgument, QStringLiteral("A comment belongs to a change in the audit trail; load that "
                                                       "change by its id before writing a comment."));
}

void AuditLogClass::remove(SaveTransaction &, const BusinessComponent &) const
{
    throw Error(Error::InvalidArgument, QStringLiteral("The audit trail keeps every change; none can be removed."));
}

} // namespace talv::clients
