#include "Startup.h"

#include "platform/Error.h"
#include "platform/UiServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace talv::app {

namespace {

// Every SQLite database begins with these 16 bytes; an empty file is a database still to be made.
bool holdsSqliteOrNothing(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // unreadable: the database layer says why
    const QByteArray head = file.read(16);
    return head.isEmpty() || head == QByteArray("SQLite format 3", 16);
}

// What SQLite would only call "file is not a database", and a missing file, said so that the
// user knows what to do. Nothing is opened, so nothing is written.
void requireUsableFile(const host::ConnectionOptions &connection, bool create)
{
    const QFileInfo file(connection.name);
    if (!file.exists() && !create)
        throw Error(Error::Database, QStringLiteral("The database file %1 does not exist. Start with --create to "
                                                    "make a new database there.")
                                         .arg(connection.name));
    if (file.isFile() && !holdsSqliteOrNothing(connection.name))
        throw Error(Error::Database,
                    QStringLiteral("%1 is not a database file: it holds something else, such as a document. Name a "
                                   "TALV ELGroup database, or a new file together with --create.")
                        .arg(connection.name));
}

} // namespace

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
    if (connection.engine == host::Engine::SQLite)
        requireUsableFile(connection, connection.createIfMissing);
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

void reportStartFailure(const QString &message, bool inDialog)
{
    std::fputs(QStringLiteral("talv-host: %1\n").arg(message).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    if (inDialog)
        UiServices::current().messageBox(message, MsgButtons::OK, MsgIcon::Critical,
                                         QStringLiteral("TALV ELGroup cannot start"));
}

} // namespace talv::app
