#include "SearchScreens.h"

#include "ELGroupSearch.h"

#include "contracts/ClassRegistry.h"

namespace talv::search {

void registerSelectedIdsType()
{
    // Hosts hand the selection to a search screen by name, under its alias's spelling.
    qRegisterMetaType<talv::search::SelectedIds>("talv::search::SelectedIds");
}

void RegisterSearchScreens()
{
    registerSelectedIdsType();
    ClassRegistry::instance().RegisterWidget<ELGroupSearch>(names::SearchClass);
}

void UnregisterSearchScreens()
{
    ClassRegistry::instance().Unregister(names::SearchClass);
}

} // namespace talv::search
