#include "GroupChildren.h"

#include "CriterionArguments.h"
#include "PropertyValue.h"
#include "SaveTransaction.h"
#include "platform/Error.h"

namespace talv::clients {

namespace {

const QString GroupColumn = QStringLiteral("element_group_id");

TableClass::Definition childTable(const QString &className, const QString &table, const QString &itemProperty,
                                  const QString &itemColumn)
{
    using P = PropertyInfo;
    TableClass::Definition d;
    d.className = className;
    d.table = table;
    d.from = table;
    // A member or reference changes its group: its rows join the group's trail.
    d.auditRecordTable = QStringLiteral("ELEMENT_GROUP");
    d.auditRecordIdProperty = GroupChildClass::ElementGroupId;
    d.unauditedColumns = {QStringLiteral("rec_last_mod_user"), QStringLiteral("rec_last_mod_date")};
    d.properties = {
        {QStringLiteral("ElementGroupId"), FieldType::Integer, P::RowKey | P::ReadOnly},
        {itemProperty, FieldType::Integer, P::RowKey},
        {QStringLiteral("DisplayOrder"), FieldType::Integer, P::Plain},
        {QStringLiteral("RecCreateUser"), FieldType::VarChar, P::Plain},
        {QStringLiteral("RecCreateDate"), FieldType::Date, P::Plain},
        {QStringLiteral("RecLastModUser"), FieldType::VarChar, P::Plain},
        {QStringLiteral("RecLastModDate"), FieldType::Date, P::ReadOnly},
    };
    for (const QString &column :
         {GroupColumn, itemColumn, QStringLiteral("display_order"), QStringLiteral("rec_create_user"),
          QStringLiteral("rec_create_date"), QStringLiteral("rec_last_mod_user"), QStringLiteral("rec_last_mod_date")})
        d.columns.append({column, column});
    return d;
}

} // namespace

GroupChildClass::GroupChildClass(const QString &className, const QString &table, const QString &itemProperty,
                                 const QString &itemColumn)
    : TableClass(childTable(className, table, itemProperty, itemColumn))
{}

std::shared_ptr<const GroupChildClass> GroupChildClass::members()
{
    static const std::shared_ptr<const GroupChildClass> made(new GroupChildClass(
        QStringLiteral("TALV_ELGroupClient.CElementGroupMember"), QStringLiteral("element_group_membership"),
        QStringLiteral("ElementGlobalID"), QStringLiteral("element_global_id")));
    return made;
}

std::shared_ptr<const GroupChildClass> GroupChildClass::references()
{
    static const std::shared_ptr<const GroupChildClass> made(new GroupChildClass(
        QStringLiteral("TALV_ELGroupClient.CElementGroupReference"), QStringLiteral("element_group_reference"),
        QStringLiteral("ReferenceID"), QStringLiteral("reference_id")));
    return made;
}

BusinessComponent *GroupChildClass::create(QObject *parent) const
{
    return new GroupChildComponent(shared_from_this(), parent);
}

QList<QVariantList> GroupChildClass::load(const ServerConnection &server, const LoadRequest &request) const
{
    if (request.criterion.compare(QStringLiteral("ELEMENT_GROUP_ID"), Qt::CaseInsensitive) != 0)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Class %1 has no criterion \"%2\".").arg(name(), request.criterion));
    const QStringList args = criterionArguments(request, 1, QStringLiteral("(group id)"));
    return loadForGroup(server, wholeNumberArgument(args.at(0), QStringLiteral("group id"), request.criterion));
}

QList<QVariantList> GroupChildClass::loadForGroup(const ServerConnection &server, qint64 groupId) const
{
    return query(server, GroupColumn + QStringLiteral(" = ?"), {groupId},
                 QStringLiteral("display_order, ") + definition().columns.at(Item).column);
}

void GroupChildClass::removeAllOf(SaveTransaction &tx, qint64 groupId) const
{
    // Read first: each removed row goes into the trail with what it held.
    const QList<QVariantList> removed = loadForGroup(tx.server(), groupId);
    tx.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(definition().table, GroupColumn), {groupId});
    for (const QVariantList &row : removed)
        fileAudit(tx, u'D', row, {});
}

void GroupChildClass::prepareWrite(SaveTransaction &, BusinessComponent &component, bool inserting) const
{
    const QDateTime now = stampNow();
    if (inserting)
        component.setValue(RecCreateDate, now);
    component.setValue(RecLastModDate, now);
}

void GroupChildComponent::Refresh()
{
    // A new child has nothing stored to go back to; it keeps what it was given.
    if (!IsNew())
        revertChanges();
}

} // namespace talv::clients
