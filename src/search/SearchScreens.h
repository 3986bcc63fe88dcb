#pragma once

// Makes the search screen creatable by class name ("TALV_ELGroup.ELGroupSearch") in
// talv::ClassRegistry::instance(), so that a host opens it by name. Called by the host at start-up;
// registering twice is harmless.
namespace talv::search {

void RegisterSearchScreens();
void UnregisterSearchScreens();
// Makes talv::search::SelectedIds known by that name, for every screen that takes a selection.
void registerSelectedIdsType();

} // namespace talv::search
