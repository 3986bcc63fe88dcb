#pragma once

#include "Component.h"

#include <QString>
#include <QVariant>

namespace talv {

// A business object that a screen creates by class name and loads on its own, by id, rather than
// through a ComponentCollection: the element-group object, the element clients, the record
// screen's companion object. Errors raise talv::Error unless an operation answers a flag.
class RecordObject : public Component
{
    Q_OBJECT
public:
    using Component::Component;

    // Binds the object to the server the host named (GetServerName, GetServerType); false when no
    // such server is open.
    virtual bool Open(const QString &serverName, qint32 serverType) = 0;
    // Reads the stored record with that id; false when there is none.
    virtual bool LoadByID(qint32 id) = 0;
    // The record's id; 0 before anything was loaded or begun.
    virtual qint32 ID() const = 0;
    // The closing operation: drops the server and everything loaded. Never raises.
    virtual void Close() = 0;

    // The value the host's CheckPermission weighs before this record's group is deleted (an
    // access letter, a flag, or empty to leave it to the user's rights).
    virtual QVariant PermissionValue() const { return {}; }
    // Told when the record screen shows another tab (always with 0); errors are ignored there.
    virtual void TabChanged(qint32 /*flag*/) {}
};

} // namespace talv
