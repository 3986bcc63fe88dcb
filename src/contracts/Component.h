#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace talv {

// A business object of a client component (a user option, a group member ...). Created by class
// name through the ClassRegistry, hence a QObject.
class Component : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Business properties by name (names without regard to case). These deliberately hide
    // QObject's own property()/setProperty(): a business value is never a Qt property.
    // An unknown name or a value the property cannot hold raises talv::Error.
    virtual QVariant property(const QString &name) const = 0;
    virtual void setProperty(const QString &name, const QVariant &value) = 0;

    // Not yet written to the server.
    virtual bool IsNew() const = 0;
    // Changed since it was loaded, created or saved.
    virtual bool IsChanged() const = 0;
    // Reads the stored values again, dropping unsaved changes.
    virtual void Refresh() = 0;
};

} // namespace talv
