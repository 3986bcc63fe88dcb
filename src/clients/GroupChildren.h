#pragma once

#include "BusinessComponent.h"
#include "TableClass.h"

namespace talv::clients {

// The rows that hang off an element group in display order: its members (element_group_membership,
// the item is ElementGlobalID) and its references (element_group_reference, ReferenceID). One class
// configured twice.
//
// Properties: ElementGroupId (the group, set by the group; read-only), the item (fixed once
// stored), DisplayOrder, RecCreateUser, RecCreateDate, RecLastModUser, RecLastModDate (read-only).
// The record screen writes the creation date as the text "2001/01/01"; the class stamps the real
// date and time when a row is inserted, and the modification date whenever one is written.
class GroupChildClass final : public TableClass
{
public:
    enum Property { ElementGroupId, Item, DisplayOrder, RecCreateUser, RecCreateDate, RecLastModUser, RecLastModDate };

    static std::shared_ptr<const GroupChildClass> members();
    static std::shared_ptr<const GroupChildClass> references();

    BusinessComponent *create(QObject *parent) const override;
    // Children are loaded by their group only ("ELEMENT_GROUP_ID" with the group's id).
    QList<QVariantList> load(const ServerConnection &server, const LoadRequest &request) const override;
    QList<QVariantList> loadForGroup(const ServerConnection &server, qint64 groupId) const;
    // Deletes every child row of the group (a group saved over another user's version).
    void removeAllOf(SaveTransaction &tx, qint64 groupId) const;

protected:
    void prepareWrite(SaveTransaction &tx, BusinessComponent &component, bool inserting) const override;

private:
    GroupChildClass(const QString &className, const QString &table, const QString &itemProperty,
                    const QString &itemColumn);
};

// A member or reference. Its Refresh goes back to the values of the last load or save without a
// read per row: the record screen refreshes every child after each save, and a group may have a
// thousand members; the group itself reads its stamps again.
class GroupChildComponent final : public BusinessComponent
{
    Q_OBJECT
public:
    using BusinessComponent::BusinessComponent;
    void Refresh() override;
};

} // namespace talv::clients
