#include "ClientClasses.h"

#include "BusinessClass.h"
#include "ClientCollection.h"
#include "UserOpCatClient.h"
#include "UserOptClient.h"
#include "contracts/ClassRegistry.h"
#include "contracts/Names.h"

namespace talv::clients {

void registerClientClasses()
{
    ClassRegistry::instance().RegisterObject<ClientCollection>(names::CollectionClass);
    auto options = std::make_shared<const UserOptClass>();
    BusinessClasses::Register(options);
    BusinessClasses::Register(std::make_shared<const UserOpCatClass>(options));
}

void unregisterClientClasses()
{
    ClassRegistry::instance().Unregister(names::CollectionClass);
    BusinessClasses::Unregister(UserOptClass::ClassName);
    BusinessClasses::Unregister(UserOpCatClass::ClassName);
}

} // namespace talv::clients
