#include "AuditTrail.h"

#include "KeptStatements.h"
#include "SaveTransaction.h"
#include "platform/Error.h"

#include <QDateTime>
#include <QSqlField>

namespace talv::clients {

namespace {

QList<AuditTrail::ColumnChange> valuesOf(const QSqlRecord &row, const QStringList &skip, bool asOld)
{
    QList<AuditTrail::ColumnChange> out;
    for (int i = 0; i < row.count(); ++i) {
        const QString column = row.fieldName(i).toLower();
        if (row.isNull(i) || skip.contains(column, Qt::CaseInsensitive))
            continue;
        const QVariant text = auditText(row.value(i));
        out.append(asOld ? AuditTrail::ColumnChange{column, text, {}} : AuditTrail::ColumnChange{column, {}, text});
    }
    return out;
}

} // namespace

QVariant auditText(const QVariant &value)
{
    if (value.isNull())
        return QVariant(QMetaType(QMetaType::QString));
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return value.toString();
}

QString auditNow()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

AuditTrail::AuditTrail(QSqlDatabase db, IdSource nextId) : m_db(std::move(db)), m_nextId(std::move(nextId))
{}

void AuditTrail::write(const Entry &entry, const Author &author) const
{
    // The trail must say who changed the record; a nameless change is refused, not filed.
    if (author.userName.trimmed().isEmpty())
        throw Error(Error::InvalidArgument, QStringLiteral("No user name was given for the audit trail."));
    if (!m_nextId)
        throw Error(Error::Database, QStringLiteral("The server hands out no new ids."));
    const qint64 logId = m_nextId(QStringLiteral("audit_log_seq"));
    execKept(m_db,
             QStringLiteral("INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, "
                            "action, user_name, change_date, org_unit_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {logId, entry.recordTable.toUpper(), entry.recordId, entry.tableName.toUpper(), entry.primaryKey,
              QString(entry.action), author.userName, auditNow(),
              author.orgUnitId > 0 ? QVariant(author.orgUnitId) : QVariant(QMetaType(QMetaType::Int))},
             true);
    const QVariant nullText(QMetaType(QMetaType::QString));
    for (const ColumnChange &change : entry.columns) {
        execKept(m_db,
                 QStringLiteral("INSERT INTO audit_log_column (audit_log_column_id, audit_log_id, column_name, "
                                "old_value, new_value) VALUES (?, ?, ?, ?, ?)"),
                 {m_nextId(QStringLiteral("audit_log_column_seq")), logId, change.column.toLower(),
                  change.oldValue.isNull() ? nullText : change.oldValue,
                  change.newValue.isNull() ? nullText : change.newValue},
                 true);
    }
}

QList<AuditTrail::ColumnChange> AuditTrail::deletedValues(const QSqlRecord &row, const QStringList &skip)
{
    return valuesOf(row, skip, true);
}

QList<AuditTrail::ColumnChange> AuditTrail::insertedValues(const QSqlRecord &row, const QStringList &skip)
{
    return valuesOf(row, skip, false);
}

} // namespace talv::clients
