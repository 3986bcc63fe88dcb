#include "SearchScreens.h"

#include "ELGroupSearch.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"

namespace talv::search {

void RegisterSearchScreens()
{
    // Hosts call the screen's operations by name: the argument types must be known by name too.
    qRegisterMetaType<talv::RecordsetPtr>("talv::RecordsetPtr");
    qRegisterMetaType<talv::AppManager *>("talv::AppManager*");
    qRegisterMetaType<talv::WinMan *>("talv::WinMan*");
    qRegisterMetaType<talv::ViewCollection *>("talv::ViewCollection*");
    qRegisterMetaType<talv::search::SelectedIds>("talv::search::SelectedIds");
    ClassRegistry::instance().RegisterWidget<ELGroupSearch>(names::SearchClass);
}

void UnregisterSearchScreens()
{
    ClassRegistry::instance().Unregister(names::SearchClass);
}

} // namespace talv::search
