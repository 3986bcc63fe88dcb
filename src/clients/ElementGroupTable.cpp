#include "ElementGroupTable.h"

#include "PropertyValue.h"
#include "SaveTransaction.h"
#include "contracts/ElementGroupObject.h"
#include "platform/Error.h"

#include <QSqlQuery>

#include <optional>

namespace talv::clients {

namespace {

const QString NameIndex = QStringLiteral("ux_element_group_name");
const QString AuditedRecord = QStringLiteral("ELEMENT_GROUP");

TableClass::Definition groupTable()
{
    using P = PropertyInfo;
    TableClass::Definition d;
    d.className = ElementGroupClass::ClassName;
    d.table = QStringLiteral("element_group");
    d.from = QStringLiteral("element_group");
    d.sequence = QStringLiteral("element_group_seq");
    d.auditRecordTable = AuditedRecord;
    d.auditRecordIdProperty = ElementGroupClass::ElementGroupId;
    d.unauditedColumns = {QStringLiteral("rec_last_mod_user"), QStringLiteral("rec_last_mod_date")};
    const auto add = [&d](const char *property, FieldType type, int flags, const char *column) {
        d.properties.append({QString::fromLatin1(property), type, flags});
        d.columns.append({QString::fromLatin1(column), QString::fromLatin1(column)});
    };
    add("ElementGroupId", FieldType::Integer, P::Key, "element_group_id");
    add("ElementGroupName", FieldType::VarChar, P::Plain, "element_group_name");
    add("DElementGroupTypeId", FieldType::Integer, P::Plain, "d_element_group_type_id");
    add("DGroupMemberTypeID", FieldType::Integer, P::Plain, "d_group_member_type_id");
    add("ElementGroupDesc", FieldType::VarChar, P::Plain, "element_group_desc");
    add("RangeCom", FieldType::VarChar, P::Plain, "range_com");
    add("HabitatCom", FieldType::VarChar, P::Plain, "habitat_com");
    add("EcologyCom", FieldType::VarChar, P::Plain, "ecology_com");
    add("ThreatCom", FieldType::VarChar, P::Plain, "threat_com");
    add("StatusCom", FieldType::VarChar, P::Plain, "status_com");
    add("TrendCom", FieldType::VarChar, P::Plain, "trend_com");
    add("OrgUnitID", FieldType::Integer, P::Plain, "org_unit_id");
    add("UniversalKey", FieldType::VarChar, P::Plain, "universal_key");
    add("RecCreateUser", FieldType::VarChar, P::Plain, "rec_create_user");
    add("RecCreateDate", FieldType::Date, P::ReadOnly, "rec_create_date");
    add("RecLastModUser", FieldType::VarChar, P::Plain, "rec_last_mod_user");
    add("RecLastModDate", FieldType::Date, P::ReadOnly, "rec_last_mod_date");
    // Raised in the UPDATE itself ("version = version + 1"), never written as a value.
    add("Version", FieldType::Integer, P::ReadOnly, "version");
    d.columns.last().column.clear();
    return d;
}

QString quotedName(const BusinessComponent &group)
{
    return QStringLiteral("\"%1\"").arg(group.value(ElementGroupClass::ElementGroupName).toString());
}

// Another group already has this name in other letter case: the unique index stops the second of
// two simultaneous saves on PostgreSQL; say so as the check before it would.
void runGuardingName(const BusinessComponent &group, const std::function<void()> &write)
{
    try {
        write();
    } catch (const Error &e) {
        if (!e.description().contains(NameIndex))
            throw;
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Another group is already named %1 (compared without regard to letter case).")
                        .arg(quotedName(group)));
    }
}

} // namespace

const QString ElementGroupClass::ClassName = QStringLiteral("TALV_ELGroupClient.CElementGroup");

ElementGroupClass::ElementGroupClass() : TableClass(groupTable())
{}

BusinessComponent *ElementGroupClass::create(QObject *parent) const
{
    return new ElementGroupRow(shared_from_this(), parent);
}

QList<QVariantList> ElementGroupClass::load(const ServerConnection &, const LoadRequest &request) const
{
    throw Error(
        Error::InvalidArgument,
        QStringLiteral("Class %1 has no criterion \"%2\"; load a group by its id.").arg(ClassName, request.criterion));
}

QString ElementGroupClass::universalKeyFor(qint64 groupId)
{
    return QStringLiteral("ELGRP%1").arg(groupId, 5, 10, QLatin1Char('0'));
}

void ElementGroupClass::prepareWrite(SaveTransaction &tx, BusinessComponent &component, bool inserting) const
{
    const QDateTime now = stampNow();
    if (inserting) {
        component.setValue(RecCreateDate, now);
        component.setValue(Version, 1);
        assignFreeUniversalKey(tx, component);
    }
    component.setValue(RecLastModDate, now);
    const bool renamed = component.value(ElementGroupName) != component.storedValue(ElementGroupName);
    if (inserting || renamed)
        requireUniqueName(tx, component);
}

void ElementGroupClass::requireUniqueName(SaveTransaction &tx, const BusinessComponent &component) const
{
    const QString name = component.value(ElementGroupName).toString();
    const KeptQuery q = tx.exec(QStringLiteral("SELECT element_group_id, element_group_name FROM element_group "
                                               "WHERE upper(element_group_name) = upper(?) AND element_group_id <> ?"),
                                {name, component.value(ElementGroupId)});
    if (q->next())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Another group (id %1) is already named \"%2\"; names that differ only in letter "
                                   "case count as the same.")
                        .arg(q->value(0).toString(), q->value(1).toString()));
}

void ElementGroupClass::assignFreeUniversalKey(SaveTransaction &tx, BusinessComponent &component) const
{
    QString key = component.value(UniversalKey).toString();
    if (key.isEmpty())
        key = universalKeyFor(component.value(ElementGroupId).toLongLong());
    const QString base = key;
    // Keys made from ids never repeat, but an imported group may hold one already.
    for (int suffix = 2;; ++suffix) {
        const KeptQuery q =
            tx.exec(QStringLiteral("SELECT 1 FROM element_group WHERE org_unit_id = ? AND universal_key = ?"),
                    {component.value(OrgUnitID), key});
        if (!q->next())
            break;
        key = base + QStringLiteral("-") + QString::number(suffix);
    }
    component.setValue(UniversalKey, key);
}

void ElementGroupClass::insert(SaveTransaction &tx, BusinessComponent &component) const
{
    runGuardingName(component, [&] { TableClass::insert(tx, component); });
}

void ElementGroupClass::update(SaveTransaction &tx, BusinessComponent &component) const
{
    prepareWrite(tx, component, false);
    const auto &group = static_cast<const ElementGroupRow &>(component);
    RowUpdate statement = rowUpdate(component);
    statement.assignments.append(QStringLiteral("version = version + 1"));
    if (!group.overwriting()) {
        statement.conditions.append(QStringLiteral("version = ?"));
        statement.conditionValues.append(component.storedValue(Version));
    }
    statement.returning = QStringLiteral("version");
    // Over another user's version the trail's old values are theirs, not what this user loaded.
    QVariantList before = storedValues(component);
    if (group.overwriting()) {
        if (const std::optional<QVariantList> current = reload(tx.server(), component))
            before = *current;
    }
    std::optional<KeptQuery> q;
    runGuardingName(component, [&] { q.emplace(tx.exec(statement.sql(), statement.values())); });
    if (!(*q)->next())
        explainMissedUpdate(tx, component);
    const qint64 version = (*q)->value(0).toLongLong();
    // The statement's result is read in full before the trail's statements run on the connection.
    q.reset();
    fileAudit(tx, u'U', before, currentValues(component));
    component.setValue(Version, version);
}

void ElementGroupClass::explainMissedUpdate(SaveTransaction &tx, const BusinessComponent &component) const
{
    const KeptQuery q = tx.exec(
        QStringLiteral("SELECT rec_last_mod_user, rec_last_mod_date FROM element_group WHERE element_group_id = ?"),
        {component.storedValue(ElementGroupId)});
    if (!q->next())
        throw Error(Error::Database,
                    QStringLiteral("The group %1 was deleted by another user after you opened it, so your changes "
                                   "have nowhere to go. They were not saved.")
                        .arg(quotedName(component)));
    const QDateTime when = fromColumnValue(q->value(1), properties().at(RecLastModDate)).toDateTime();
    throw Error(ElementGroupObject::WriteConflict,
                QStringLiteral("The group %1 was changed by %2 on %3 at %4, after you opened it. Your changes were "
                               "not saved; they are still here.")
                    .arg(quotedName(component), q->value(0).toString(), when.toString(QStringLiteral("yyyy-MM-dd")),
                         when.toString(QStringLiteral("HH:mm"))));
}

ElementGroupRow::ElementGroupRow(BusinessClassPtr groupClass, QObject *parent)
    : BusinessComponent(std::move(groupClass), parent)
{
    const auto adoptChild = [this](BusinessComponent &child) {
        child.setValue(GroupChildClass::ElementGroupId, key());
    };
    m_members.setAdoption(adoptChild);
    m_references.setAdoption(adoptChild);
}

ElementGroupRow::~ElementGroupRow() = default;

void ElementGroupRow::resetChildren(bool load)
{
    for (auto [list, childClass] :
         {std::pair{&m_members, GroupChildClass::members()}, std::pair{&m_references, GroupChildClass::references()}}) {
        list->bind(childClass, serverName(), serverType());
        if (load)
            list->setStoredRows(childClass->loadForGroup(server(), key().toLongLong()));
    }
}

bool ElementGroupRow::childrenChanged() const
{
    return m_members.hasPendingChanges() || m_references.hasPendingChanges();
}

bool ElementGroupRow::hasPendingChanges() const
{
    return IsNew() || IsChanged() || childrenChanged() || m_overwrite;
}

bool ElementGroupRow::needsUpdate() const
{
    return IsChanged() || childrenChanged() || m_overwrite;
}

QList<ClientCollection *> ElementGroupRow::children()
{
    return {&m_members, &m_references};
}

void ElementGroupRow::writeChildren(SaveTransaction &tx)
{
    if (!m_overwrite || IsNew()) {
        BusinessComponent::writeChildren(tx);
        return;
    }
    // Over another user's version the lists become exactly what this user sees.
    const qint64 groupId = key().toLongLong();
    GroupChildClass::members()->removeAllOf(tx, groupId);
    GroupChildClass::references()->removeAllOf(tx, groupId);
    m_members.write(tx, ClientCollection::WriteMode::Everything);
    m_references.write(tx, ClientCollection::WriteMode::Everything);
    tx.onCommit([this] { m_overwrite = false; });
}

RecordsetPtr groupLookup(const ServerConnection &server, const QString &lookupName)
{
    QString sql;
    if (lookupName.compare(QStringLiteral("GroupType"), Qt::CaseInsensitive) == 0)
        sql = QStringLiteral("SELECT d_element_group_type_id, element_group_type_desc FROM d_element_group_type "
                             "ORDER BY display_order, d_element_group_type_id");
    else if (lookupName.compare(QStringLiteral("MemberType"), Qt::CaseInsensitive) == 0)
        sql = QStringLiteral("SELECT d_group_member_type_id, group_member_type_desc FROM d_group_member_type "
                             "ORDER BY display_order, d_group_member_type_id");
    else
        throw Error(
            Error::InvalidArgument,
            QStringLiteral("There is no lookup named \"%1\"; the group offers \"GroupType\" and \"MemberType\".")
                .arg(lookupName));
    QSqlQuery q = execBound(server.database(), sql, {}, true);
    auto choices = std::make_shared<Recordset>();
    choices->AppendField(QStringLiteral("ID"), FieldType::Integer);
    choices->AppendField(QStringLiteral("Description"), FieldType::VarChar, 60);
    choices->Open();
    while (q.next())
        choices->AddNew({q.value(0).toLongLong(), q.value(1).toString()});
    if (choices->RecordCount() > 0)
        choices->MoveFirst();
    return choices;
}

} // namespace talv::clients
