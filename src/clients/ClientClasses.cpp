#include "ClientClasses.h"

#include "BusinessClass.h"
#include "ClientCollection.h"
#include "UserOpCatClient.h"
#include "UserOptClient.h"
#include "contracts/ClassRegistry.h"

namespace talv::clients {

namespace {

const QString CollectionClassName = QStringLiteral("ClientFramework.ComponentCollection");

} // namespace

void registerClientClasses()
{
    ClassRegistry::instance().RegisterObject<ClientCollection>(CollectionClassName);
    auto options = std::make_shared<const UserOptClass>();
    BusinessClasses::Register(options);
    BusinessClasses::Register(std::make_shared<const UserOpCatClass>(options));
}

void unregisterClientClasses()
{
    ClassRegistry::instance().Unregister(CollectionClassName);
    BusinessClasses::Unregister(UserOptClass::ClassName);
    BusinessClasses::Unregister(UserOpCatClass::ClassName);
}

} // namespace talv::clients
