#pragma once

#include "platform/Error.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace talv {

// Creates components and screens by class name ("TALV_ELGroup.ELGroupSearch"), names compared
// without regard to case, so that a screen can host a control or use a business class from a
// library it does not link against. Used on the UI thread only, like everything it creates.
class ClassRegistry
{
public:
    // Answers a new object; `parent` becomes its QObject parent (may be null).
    using Factory = std::function<QObject *(QObject *parent)>;

    ClassRegistry() = default;
    ClassRegistry(const ClassRegistry &) = delete;
    ClassRegistry &operator=(const ClassRegistry &) = delete;

    // The registry of the process: libraries register into it and screens create from it.
    static ClassRegistry &instance();

    // Adds or replaces the factory of `className`; an empty factory raises InvalidArgument.
    void Register(const QString &className, Factory factory);
    // Answers whether a factory was removed.
    bool Unregister(const QString &className);
    bool IsRegistered(const QString &className) const;

    // Raises ClassNotRegistered for an unknown name; never answers null.
    QObject *Create(const QString &className, QObject *parent = nullptr) const;

    // Create, then check the object's type: an object of another type is deleted and TypeMismatch
    // raised, so callers can rely on the interface they asked for.
    template <typename T> T *CreateAs(const QString &className, QObject *parent = nullptr) const
    {
        QObject *object = Create(className, parent);
        if (T *typed = qobject_cast<T *>(object))
            return typed;
        delete object;
        throw Error(Error::TypeMismatch, QStringLiteral("Class '%1' does not create a %2")
                                             .arg(className, QString::fromLatin1(T::staticMetaObject.className())));
    }

    // Factories for the common cases: `T(QWidget *parent)` for widgets (a parent that is not a
    // widget raises InvalidArgument: a widget cannot live under it), `T(QObject *parent)` otherwise.
    template <typename T> void RegisterWidget(const QString &className)
    {
        Register(className, [](QObject *parent) -> QObject * { return new T(widgetParent(parent)); });
    }
    template <typename T> void RegisterObject(const QString &className)
    {
        Register(className, [](QObject *parent) -> QObject * { return new T(parent); });
    }

private:
    static QString key(const QString &className) { return className.toCaseFolded(); }
    static QWidget *widgetParent(QObject *parent);

    QHash<QString, Factory> m_entries; // by case-folded class name
};

} // namespace talv
