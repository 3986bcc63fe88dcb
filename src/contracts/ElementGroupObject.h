#pragma once

#include "RecordObject.h"
#include "platform/Recordset.h"

#include <QString>
#include <QVariant>

class QWidget;

namespace talv {

class ComponentCollection;

// The element-group business object ("TALV_ELGroupClient.CElementGroup"): one group with its
// member and reference children. Its fields are business properties by name (property() and
// setProperty() of Component): ElementGroupName, DElementGroupTypeId, DGroupMemberTypeID,
// ElementGroupDesc, RangeCom, HabitatCom, EcologyCom, ThreatCom, StatusCom, TrendCom,
// RecCreateUser, RecCreateDate, RecLastModUser, RecLastModDate, OrgUnitID, UniversalKey.
//
// IsNew: begun with NewRecord and never saved. IsChanged: the group's own fields differ from what
// was loaded or last saved (children are asked on their own, through the collections).
class ElementGroupObject : public RecordObject
{
    Q_OBJECT
public:
    // Raised by Save when another user saved the group after it was loaded here.
    static constexpr int WriteConflict = 7101;

    using RecordObject::RecordObject;

    // Begins a new, empty group and takes its id from the database's sequence at once, so that
    // ID() is known before the first save. The arguments are kept for the caller's shape: false
    // and an omitted value.
    virtual void NewRecord(bool flag, const QVariant &omitted) = 0;

    // Writes the group and its member and reference children in one transaction, with bound
    // values; unchanged rows are not written. Answers true when written. A failure raises
    // talv::Error with the reason, and the database is then exactly as before: WriteConflict
    // names who changed the group and when, and every edit stays in the object, so the caller
    // can offer to reload or to overwrite.
    virtual bool Save() = 0;
    // After a WriteConflict: the next Save writes over the other user's version.
    virtual void OverwriteOnNextSave() = 0;
    // Component::Refresh after a successful save reads back the stored stamps; the edits of an
    // unsaved group are never dropped by it.

    // Binding service. BindControl shows `groupProperty` in the Qt property `controlProperty` of
    // `control` and writes the control's edits back into the object (the property needs a notify
    // signal). A binding is named after the control without its three-letter type prefix:
    // cboGroupType's binding is "GroupType". `format` is kept for the caller's shape (empty).
    virtual void BindControl(QWidget *control, const QString &controlProperty, const QString &groupProperty,
                             const QString &format) = 0;
    // Removes the binding of that name, or every binding for an empty name. The controls keep
    // what they show.
    virtual void Unbind(const QString &bindingName) = 0;
    // The choices of a lookup, "GroupType" or "MemberType": a recordset with the fields ID and
    // Description in display order. `omitted` and `flag` (-1) are kept for the caller's shape.
    virtual RecordsetPtr GetLookup(const QString &lookupName, const QVariant &omitted, qint32 flag) = 0;

    // The children, each a collection of components written with the group (Save). A member has
    // ElementGlobalID, a reference ReferenceID; both have DisplayOrder, RecCreateUser,
    // RecCreateDate, RecLastModUser.
    virtual ComponentCollection &Members() = 0;
    virtual ComponentCollection &References() = 0;

    // The component-properties XML: under TALV/COMPONENT_PROPERTIES, one element per property,
    // named after it, whose first child node's text is "table.column" of its database column.
    virtual QString ComponentPropertiesXml() const = 0;
};

} // namespace talv
