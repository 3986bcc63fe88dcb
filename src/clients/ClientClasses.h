#pragma once

namespace talv::clients {

// Registers the client framework's collection ("ClientFramework.ComponentCollection"), the
// business classes of this library (user options and their categories in BusinessClasses too),
// the element-group object, the two element clients and the field manager in ClassRegistry, by
// the names of contracts/Names.h; a host calls it once at start. Registering again replaces the
// registrations.
void registerClientClasses();
void unregisterClientClasses();

} // namespace talv::clients
