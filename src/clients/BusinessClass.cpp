#include "BusinessClass.h"

#include "BusinessComponent.h"
#include "contracts/ClassRegistry.h"

#include <QHash>

namespace talv::clients {

BusinessComponent *BusinessClass::create(QObject *parent) const
{
    return new BusinessComponent(shared_from_this(), parent);
}

std::optional<QVariantList> BusinessClass::reload(const ServerConnection &server,
                                                  const BusinessComponent &component) const
{
    const int key = keyIndex();
    if (key < 0)
        return std::nullopt;
    return loadByKey(server, component.storedValue(key));
}

int BusinessClass::propertyIndex(const QString &propertyName) const
{
    const QList<PropertyInfo> &all = properties();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).name.compare(propertyName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int BusinessClass::keyIndex() const
{
    const QList<PropertyInfo> &all = properties();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).flags & PropertyInfo::Key)
            return i;
    }
    return -1;
}

namespace BusinessClasses {

namespace {

QHash<QString, BusinessClassPtr> &classes()
{
    static QHash<QString, BusinessClassPtr> all;
    return all;
}

QString key(const QString &className)
{
    return className.toCaseFolded();
}

} // namespace

void Register(BusinessClassPtr businessClass)
{
    if (!businessClass)
        throw Error(Error::InvalidArgument, QStringLiteral("Cannot register an empty business class"));
    const QString name = businessClass->name();
    classes().insert(key(name), businessClass);
    // The factory keeps the class alive for as long as components can be created from it.
    ClassRegistry::instance().Register(
        name, [businessClass](QObject *parent) -> QObject * { return businessClass->create(parent); });
}

void Unregister(const QString &className)
{
    if (classes().remove(key(className)) > 0)
        ClassRegistry::instance().Unregister(className);
}

BusinessClassPtr Find(const QString &className)
{
    return classes().value(key(className));
}

} // namespace BusinessClasses

} // namespace talv::clients
