#pragma once

#include "host/Database.h"

#include <QString>
#include <QStringList>

namespace talv::app {

// What talv-host was asked to do.
struct HostOptions {
    // Where the data lives; an empty SQLite name means the embedded sample database in the
    // user's data folder.
    host::ConnectionOptions connection;
    // Set up an empty or missing named database with the schema and the sample data.
    bool create = false;
    QString user = QStringLiteral("ecarter");
    // Open everything, show the main window once and quit: for installation checks and tests.
    bool smokeTest = false;
    // Set the PostgreSQL database up for sharing (roles and rights), then quit.
    bool setupShared = false;
};

// The outcome of reading the command line: options to run with, or a text to print and an exit
// code (help, version, or a usage error).
struct CommandLine {
    HostOptions options;
    bool exitNow = false;
    int exitCode = 0;
    QString output; // for stdout
    QString error;  // for stderr

    // `arguments` includes the program name first, as argv does. Needs no QCoreApplication.
    static CommandLine parse(const QStringList &arguments);
};

} // namespace talv::app
