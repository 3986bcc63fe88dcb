#pragma once

#include "BusinessComponent.h"
#include "ClientCollection.h"
#include "GroupChildren.h"
#include "TableClass.h"
#include "platform/Recordset.h"

#include <memory>

namespace talv::clients {

// The element_group table as a business class. Properties, in this order, with their columns as
// data/schema/README.md maps them: ElementGroupId (key, from element_group_seq), ElementGroupName,
// DElementGroupTypeId, DGroupMemberTypeID, ElementGroupDesc, RangeCom, HabitatCom, EcologyCom,
// ThreatCom, StatusCom, TrendCom, OrgUnitID, UniversalKey, RecCreateUser, RecCreateDate,
// RecLastModUser, RecLastModDate (the two dates stamped at each write), Version (read-only).
//
// Writing a group, inside the save's transaction:
// - an update finds the row by its id and the version it was loaded with, raises the version and
//   answers the new one; when no row matches, the group was changed or deleted by someone else
//   and the save fails with WriteConflict (naming who and when) or a plain "deleted" message. A
//   row saved with overwriting set is found by its id alone.
// - a new or renamed group's name is checked against every other name without regard to case,
//   by the Unicode rules of upper() on the host's connection (the host gives SQLite a
//   Unicode-aware upper()); names that differ in letter case only are refused.
// - a new group gets its stamps, version 1 and a universal key unique within its unit.
class ElementGroupClass final : public TableClass
{
public:
    static const QString ClassName;
    enum Property {
        ElementGroupId,
        ElementGroupName,
        DElementGroupTypeId,
        DGroupMemberTypeID,
        ElementGroupDesc,
        RangeCom,
        HabitatCom,
        EcologyCom,
        ThreatCom,
        StatusCom,
        TrendCom,
        OrgUnitID,
        UniversalKey,
        RecCreateUser,
        RecCreateDate,
        RecLastModUser,
        RecLastModDate,
        Version
    };
    // The characters the name column holds.
    static constexpr int NameLength = 120;

    ElementGroupClass();

    BusinessComponent *create(QObject *parent) const override;
    // Groups are read one at a time, by id (LoadByID).
    QList<QVariantList> load(const ServerConnection &server, const LoadRequest &request) const override;
    void insert(SaveTransaction &tx, BusinessComponent &component) const override;
    void update(SaveTransaction &tx, BusinessComponent &component) const override;

    // The key a new group shows before it is saved, made from its id.
    static QString universalKeyFor(qint64 groupId);

protected:
    void prepareWrite(SaveTransaction &tx, BusinessComponent &component, bool inserting) const override;

private:
    void requireUniqueName(SaveTransaction &tx, const BusinessComponent &component) const;
    void assignFreeUniversalKey(SaveTransaction &tx, BusinessComponent &component) const;
    [[noreturn]] void explainMissedUpdate(SaveTransaction &tx, const BusinessComponent &component) const;
};

// One element group row with its member and reference lists, written together: a change to a
// list is a change of the group, so it raises the group's version and stamps like a field would.
class ElementGroupRow final : public BusinessComponent
{
    Q_OBJECT
public:
    ElementGroupRow(BusinessClassPtr groupClass, QObject *parent = nullptr);
    ~ElementGroupRow() override;

    ClientCollection &members() { return m_members; }
    ClientCollection &references() { return m_references; }
    // Binds both lists to the row's server; `load` fills them with the group's stored children,
    // otherwise they start empty (a new group).
    void resetChildren(bool load);

    // Anything to write: new, changed, a list changed, or an overwrite pending.
    bool hasPendingChanges() const;
    bool childrenChanged() const;
    // The next save writes over whatever version is stored; cleared when that save commits.
    void setOverwrite(bool on) { m_overwrite = on; }
    bool overwriting() const { return m_overwrite; }

    QList<ClientCollection *> children() override;

protected:
    bool needsUpdate() const override;
    void writeChildren(SaveTransaction &tx) override;

private:
    ClientCollection m_members;
    ClientCollection m_references;
    bool m_overwrite = false;
};

// The choices of the record screen's combo boxes: "GroupType" (d_element_group_type) or
// "MemberType" (d_group_member_type), fields ID and Description, in display order. Another name
// raises InvalidArgument.
RecordsetPtr groupLookup(const ServerConnection &server, const QString &lookupName);

} // namespace talv::clients
