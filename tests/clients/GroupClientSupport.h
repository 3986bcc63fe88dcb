#pragma once

#include "ClientTestSupport.h"

#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"

namespace talv::test {

// A group object made by class name and opened, as the record screen makes it.
inline std::unique_ptr<ElementGroupObject> openGroup(const host::Database &db, const QString &server = TestServer)
{
    std::unique_ptr<ElementGroupObject> group(
        ClassRegistry::instance().CreateAs<ElementGroupObject>(QStringLiteral("talv_elgroupclient.celementgroup")));
    if (!group->Open(server, serverTypeOf(db)))
        throw std::runtime_error("Open failed");
    return group;
}

inline std::unique_ptr<ElementGroupObject> loadGroup(const host::Database &db, qint32 id,
                                                     const QString &server = TestServer)
{
    auto group = openGroup(db, server);
    if (!group->LoadByID(id))
        throw std::runtime_error("LoadByID found nothing");
    return group;
}

// Appends a child the way the record screen's grids do: the item, the user, the fixed creation
// text, the user again, and the position just after the append.
inline void addChild(ComponentCollection &children, const QString &itemProperty, qint64 itemId,
                     const QString &user = QStringLiteral("ecarter"))
{
    children.AddNew(0, 0, QVariant());
    const qint32 count = children.Count();
    Component *child = children.Item(count);
    child->setProperty(itemProperty, itemId);
    child->setProperty(QStringLiteral("RecCreateUser"), user);
    child->setProperty(QStringLiteral("RecCreateDate"), QStringLiteral("2001/01/01"));
    child->setProperty(QStringLiteral("RecLastModUser"), user);
    child->setProperty(QStringLiteral("DisplayOrder"), count);
}

inline void addMember(ElementGroupObject &group, qint64 elementId)
{
    addChild(group.Members(), QStringLiteral("ElementGlobalID"), elementId);
}

inline void addReference(ElementGroupObject &group, qint64 referenceId)
{
    addChild(group.References(), QStringLiteral("ReferenceID"), referenceId);
}

// "item|display order" of each stored child of a group, in display order.
inline QStringList storedChildren(const host::Database &db, const QString &table, const QString &itemColumn,
                                  qint64 groupId)
{
    return rowsOf(db.connection(),
                  QStringLiteral("SELECT %1, display_order FROM %2 WHERE element_group_id = ? ORDER BY display_order")
                      .arg(itemColumn, table),
                  {groupId});
}

inline QStringList storedMembers(const host::Database &db, qint64 groupId)
{
    return storedChildren(db, QStringLiteral("element_group_membership"), QStringLiteral("element_global_id"), groupId);
}

inline QStringList storedReferences(const host::Database &db, qint64 groupId)
{
    return storedChildren(db, QStringLiteral("element_group_reference"), QStringLiteral("reference_id"), groupId);
}

// Everything a save may touch, to prove that a refused save wrote nothing.
inline QStringList groupTables(const host::Database &db)
{
    return tableRows(db, QStringLiteral("element_group"), QStringLiteral("element_group_id")) +
           tableRows(db, QStringLiteral("element_group_membership"),
                     QStringLiteral("element_group_id, element_global_id")) +
           tableRows(db, QStringLiteral("element_group_reference"), QStringLiteral("element_group_id, reference_id"));
}

} // namespace talv::test
