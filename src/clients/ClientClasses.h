#pragma once

namespace talv::clients {

// Registers the client framework's collection ("ClientFramework.ComponentCollection") and the
// business classes of this library in ClassRegistry and BusinessClasses; a host calls it once at
// start. Registering again replaces the registrations.
void registerClientClasses();
void unregisterClientClasses();

} // namespace talv::clients
