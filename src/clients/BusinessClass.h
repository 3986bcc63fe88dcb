#pragma once

#include "ServerDirectory.h"
#include "platform/Recordset.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QObject;

namespace talv::clients {

class BusinessComponent;
class SaveTransaction;

// One business property of a class: the name the screens use with property()/setProperty()
// (matched without regard to case) and the type its values are held as.
//   Key       the row's id, taken from a sequence when it is first written; read-only
//   RowKey    one column of a key of several (a member's group and element): written with the
//             new row and fixed from then on, so it may be set only while the component is new
//   ReadOnly  kept by the class (stamps, joined names); screens cannot set it
struct PropertyInfo {
    enum Flag { Plain = 0, Key = 1, ReadOnly = 2, RowKey = 4 };
    QString name;
    FieldType type = FieldType::VarChar;
    int flags = Plain;
};

// What a screen passes to LoadWhere, handed on unchanged.
struct LoadRequest {
    QString criterion;
    QVariant value; // a text, or a list of values
    qint32 first = -1;
    qint32 second = -1;
    qint32 third = -1;
};

// The server side of one business class: which properties its components have, how they are
// found by criterion and how one of them is written. A class is stateless and shared by every
// collection and component of it, so that new classes (element group, member, reference, audit
// log) plug in by registering one object. Made with std::make_shared: components keep their
// class alive.
class BusinessClass : public std::enable_shared_from_this<BusinessClass>
{
public:
    virtual ~BusinessClass() = default;

    // The class name the screens pass to OpenClass and to ClassRegistry::Create.
    virtual QString name() const = 0;
    // In a fixed order: a component holds its values by these positions.
    virtual const QList<PropertyInfo> &properties() const = 0;

    // A new, empty component; a class whose components offer more (child lists, operations
    // called by name) answers its own subclass.
    virtual BusinessComponent *create(QObject *parent) const;

    // The stored rows for a criterion, each with one value per property as the property holds it
    // (fromColumnValue in PropertyValue.h). An unknown criterion or
    // a value list of the wrong shape raises InvalidArgument; a database failure raises Database.
    virtual QList<QVariantList> load(const ServerConnection &server, const LoadRequest &request) const = 0;
    // One stored row by its key, or nothing when it is gone.
    virtual std::optional<QVariantList> loadByKey(const ServerConnection &server, const QVariant &key) const = 0;
    // The stored row that a loaded component stands for, read again; nothing when it is gone.
    // By default found by its key.
    virtual std::optional<QVariantList> reload(const ServerConnection &server,
                                               const BusinessComponent &component) const;

    // Write one component inside the caller's transaction. They may set values on the component
    // (a new key, a modification date); the transaction puts them back if it rolls back.
    // A failure raises Error(Database) with the database's own message.
    virtual void insert(SaveTransaction &tx, BusinessComponent &component) const = 0;
    virtual void update(SaveTransaction &tx, BusinessComponent &component) const = 0;
    virtual void remove(SaveTransaction &tx, const BusinessComponent &component) const = 0;

    // Position of a property by name without regard to case, or -1.
    int propertyIndex(const QString &propertyName) const;
    // Position of the key property, or -1 for a class without one.
    int keyIndex() const;
};

using BusinessClassPtr = std::shared_ptr<const BusinessClass>;

// The business classes of the process by name, compared without regard to case. Registering a
// class also registers its component in ClassRegistry, so a screen can create one by name.
namespace BusinessClasses {

void Register(BusinessClassPtr businessClass);
void Unregister(const QString &className);
// Null when no class of that name is registered.
BusinessClassPtr Find(const QString &className);

} // namespace BusinessClasses

} // namespace talv::clients
