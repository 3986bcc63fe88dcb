#pragma once

#include "CommandLine.h"

#include "host/HostSession.h"

#include <memory>

namespace talv::app {

// The embedded database file in the user's data folder.
QString embeddedDatabasePath();

// Opens the database the options name and logs the user in. The embedded database is created
// and filled with the sample data on first start; a named one is only set up with --create, and
// only when it is empty. A database that cannot be opened, a file that is not a database or one
// without our schema is refused before anything is written to it. Raises talv::Error with a
// sentence the user can act on.
std::unique_ptr<host::HostSession> openSession(const HostOptions &options);

// Tells the user why the program did not start: on stderr, and also in a message box when
// `inDialog` (no terminal shows stderr, as after a start from a desktop launcher).
void reportStartFailure(const QString &message, bool inDialog);

} // namespace talv::app
