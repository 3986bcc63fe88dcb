#include "ClassRegistry.h"

#include <QWidget>

namespace talv {

ClassRegistry &ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::Register(const QString &className, Factory factory)
{
    if (!factory || className.isEmpty())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Cannot register class '%1' without a name and a factory").arg(className));
    m_entries.insert(key(className), std::move(factory));
}

bool ClassRegistry::Unregister(const QString &className)
{
    return m_entries.remove(key(className)) > 0;
}

bool ClassRegistry::IsRegistered(const QString &className) const
{
    return m_entries.contains(key(className));
}

QObject *ClassRegistry::Create(const QString &className, QObject *parent) const
{
    const auto it = m_entries.constFind(key(className));
    if (it == m_entries.cend())
        throw Error(Error::ClassNotRegistered,
                    QStringLiteral("Cannot create object: class '%1' is not registered").arg(className));
    // Copy the factory: it may unregister or re-register classes while it runs.
    const Factory factory = *it;
    QObject *object = factory(parent);
    if (!object)
        throw Error(Error::ClassNotRegistered,
                    QStringLiteral("Cannot create object: the factory of class '%1' answered nothing").arg(className));
    return object;
}

QWidget *ClassRegistry::widgetParent(QObject *parent)
{
    if (!parent)
        return nullptr;
    if (parent->isWidgetType())
        return static_cast<QWidget *>(parent);
    throw Error(Error::InvalidArgument, QStringLiteral("A control cannot be created under '%1': it is not a widget")
                                            .arg(QString::fromLatin1(parent->metaObject()->className())));
}

} // namespace talv
