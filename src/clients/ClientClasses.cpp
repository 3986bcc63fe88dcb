#include "ClientClasses.h"

#include "AuditLogClient.h"
#include "BusinessClass.h"
#include "ClientCollection.h"
#include "ElementClients.h"
#include "ElementGroupClient.h"
#include "ExtraFieldManager.h"
#include "SiblingSearches.h"
#include "UserOpCatClient.h"
#include "UserOptClient.h"
#include "contracts/ClassRegistry.h"
#include "contracts/Names.h"

namespace talv::clients {

void registerClientClasses()
{
    ClassRegistry &registry = ClassRegistry::instance();
    registry.RegisterObject<ClientCollection>(names::CollectionClass);
    auto options = std::make_shared<const UserOptClass>();
    BusinessClasses::Register(options);
    BusinessClasses::Register(std::make_shared<const UserOpCatClass>(options));
    BusinessClasses::Register(std::make_shared<const AuditLogClass>());

    auto groups = std::make_shared<const ElementGroupClass>();
    registry.Register(names::ElementGroupClass,
                      [groups](QObject *parent) -> QObject * { return new ElementGroupClient(groups, parent); });
    registerElementClients();
    registry.RegisterObject<ExtraFieldManager>(names::FieldManagerClass);
    registerSiblingSearches();
}

void unregisterClientClasses()
{
    ClassRegistry &registry = ClassRegistry::instance();
    registry.Unregister(names::CollectionClass);
    BusinessClasses::Unregister(UserOptClass::ClassName);
    BusinessClasses::Unregister(UserOpCatClass::ClassName);
    BusinessClasses::Unregister(AuditLogClass::ClassName);
    registry.Unregister(names::ElementGroupClass);
    unregisterElementClients();
    registry.Unregister(names::FieldManagerClass);
    unregisterSiblingSearches();
}

} // namespace talv::clients
