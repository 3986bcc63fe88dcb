#include "Startup.h"

#include "platform/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace talv::app {

QString embeddedDatabasePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("talv-elgroup.sqlite"));
}

std::unique_ptr<host::HostSession> openSession(const HostOptions &options)
{
    host::ConnectionOptions connection = options.connection;
    const bool embedded = connection.engine == host::Engine::SQLite && connection.name.isEmpty();
    if (embedded) {
        connection.name = embeddedDatabasePath();
        connection.createIfMissing = true;
    }
    std::unique_ptr<host::Database> database = host::Database::open(connection);
    if (database->schemaVersion() == 0) {
        if (!embedded && !options.create)
            throw Error(Error::Database,
                        QStringLiteral("%1 holds no TALV ELGroup data; start with --create to set it up.")
                            .arg(database->serverName()));
        database->ensureSchema();
        database->loadSampleData();
    } else {
        // Brings an older database up to date; a newer one is refused untouched.
        database->ensureSchema();
    }
    return std::make_unique<host::HostSession>(std::move(database), options.user);
}

} // namespace talv::app
