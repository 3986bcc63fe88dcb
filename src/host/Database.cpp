#include "Database.h"

#include "SqliteFunctions.h"
#include "clients/WriteTransaction.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <algorithm>

namespace talv::host {

namespace {

[[noreturn]] void fail(const QString &what, const QSqlError &error)
{
    const QString detail = error.text().trimmed();
    throw Error(Error::Database, detail.isEmpty() ? what : what + QStringLiteral(": ") + detail);
}

QString engineFolder(Engine engine)
{
    return engine == Engine::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgresql");
}

// Migration scripts of the engine, by version, from the resources built into the program.
QList<std::pair<int, QString>> migrations(Engine engine)
{
    QList<std::pair<int, QString>> out;
    const QDir dir(QStringLiteral(":/data/schema/migrations/") + engineFolder(engine));
    static const QRegularExpression numbered(QStringLiteral("^(\\d{3})_.*\\.sql$"));
    for (const QString &file : dir.entryList(QDir::Files, QDir::Name)) {
        const auto m = numbered.match(file);
        if (m.hasMatch())
            out.append({m.captured(1).toInt(), dir.filePath(file)});
    }
    return out;
}

// A file opened read-only is read without creating journal files beside it: they would belong to
// this user and lock the file's owner out of writing. While the owner works on the file (its
// write-ahead log is there) their journal files are read as they are; otherwise the file is read
// as one that does not change.
QString readOnlyUri(const QString &path)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QFileInfo::exists(path + QStringLiteral("-wal")) ? QStringLiteral("mode=ro")
                                                                  : QStringLiteral("immutable=1"));
    return url.toString(QUrl::FullyEncoded);
}

// The tables every part of the program reads: a database without all of them is not ours.
const char *const OurTables[] = {"schema_version",
                                 "org_unit",
                                 "app_user",
                                 "user_access",
                                 "user_option_category",
                                 "user_option",
                                 "system_control",
                                 "d_element_group_type",
                                 "d_group_member_type",
                                 "element_group",
                                 "element_group_membership",
                                 "element_group_reference",
                                 "audit_log",
                                 "audit_log_column"};

} // namespace

QString readDataScript(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::Database, QStringLiteral("The database script %1 is missing from this build.").arg(path));
    return QString::fromUtf8(file.readAll());
}

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString current;
    for (const QString &rawLine : script.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QStringLiteral("--")))
            continue;
        current += rawLine;
        current += u'\n';
        if (line.endsWith(u';')) {
            QString statement = current.trimmed();
            statement.chop(1);
            statements.append(statement);
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

Database::Database(ConnectionOptions options, QString connectionName)
    : m_options(std::move(options)), m_connectionName(std::move(connectionName))
{}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::open(const ConnectionOptions &options)
{
    const QString name = QStringLiteral("talv-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<Database> database(new Database(options, name));
    if (options.engine == Engine::SQLite) {
        const QFileInfo file(options.name);
        if (options.name.isEmpty())
            throw Error(Error::Database, QStringLiteral("No database file was named."));
        if (!file.exists() && !options.createIfMissing)
            throw Error(Error::Database, QStringLiteral("The database file %1 does not exist.").arg(options.name));
        if (file.exists() && !file.isFile())
            throw Error(Error::Database, QStringLiteral("%1 is not a database file.").arg(options.name));
        if (file.exists() && !file.isWritable())
            database->m_options.readOnly = true;
        const bool readOnly = database->m_options.readOnly;
        if (readOnly && !file.exists())
            throw Error(Error::Database, QStringLiteral("The database file %1 does not exist.").arg(options.name));
        if (!file.exists())
            QDir().mkpath(file.absolutePath());
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // Two biologists' sessions on one file wait for each other instead of failing at once.
        QStringList connectOptions{QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(options.lockTimeoutMs)};
        if (readOnly) {
            db.setDatabaseName(readOnlyUri(options.name));
            connectOptions << QStringLiteral("QSQLITE_OPEN_READONLY") << QStringLiteral("QSQLITE_OPEN_URI");
        } else {
            db.setDatabaseName(options.name);
        }
        db.setConnectOptions(connectOptions.join(u';'));
        if (!db.open())
            fail(QStringLiteral("The database %1 cannot be opened").arg(options.name), db.lastError());
        database->configureSQLite();
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setDatabaseName(options.name);
        if (!options.host.isEmpty())
            db.setHostName(options.host);
        db.setPort(options.port);
        if (!options.user.isEmpty())
            db.setUserName(options.user);
        if (!options.password.isEmpty())
            db.setPassword(options.password);
        // Settings given at connection start, before Qt's driver learns from the session how to
        // quote texts: the screens double the quotes of typed text, which keeps a text a text only
        // while a backslash in it is a plain character, whatever the server's default.
        db.setConnectOptions(
            QStringLiteral("connect_timeout=10;options='-c standard_conforming_strings=on -c lock_timeout=%1'")
                .arg(options.lockTimeoutMs));
        if (!db.open())
            fail(QStringLiteral("The PostgreSQL database %1 cannot be opened").arg(database->serverName()),
                 db.lastError());
        database->configurePostgreSQL();
    }
    return database;
}

void Database::configurePostgreSQL()
{
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("SET client_encoding TO 'UTF8'")))
        fail(QStringLiteral("The PostgreSQL connection cannot be set up"), q.lastError());
}

void Database::configureSQLite()
{
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    // Reading the schema first proves that the file is a database before anything writes to it.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        fail(QStringLiteral("%1 is not a usable database").arg(m_options.name), q.lastError());
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        fail(QStringLiteral("The database %1 cannot be set up").arg(m_options.name), q.lastError());
    registerUnicodeCaseFunctions(db);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString Database::serverName() const
{
    if (m_options.engine == Engine::SQLite)
        return QFileInfo(m_options.name).absoluteFilePath();
    const QString host = m_options.host.isEmpty() ? QStringLiteral("localhost") : m_options.host;
    return QStringLiteral("%1:%2/%3").arg(host).arg(m_options.port).arg(m_options.name);
}

int Database::currentSchemaVersion()
{
    int newest = 1;
    for (const Engine engine : {Engine::SQLite, Engine::PostgreSQL})
        for (const auto &[version, path] : migrations(engine))
            newest = std::max(newest, version);
    return newest;
}

int Database::tableCount(const QString &name) const
{
    QSqlQuery q(connection());
    QString probe =
        m_options.engine == Engine::SQLite
            ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'")
            : QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()");
    if (!name.isEmpty()) {
        probe += m_options.engine == Engine::SQLite ? QStringLiteral(" AND name = ?")
                                                    : QStringLiteral(" AND table_name = ?");
        q.prepare(probe);
        q.addBindValue(name);
    } else {
        q.prepare(probe);
    }
    if (!q.exec() || !q.next())
        fail(QStringLiteral("The database cannot be inspected"), q.lastError());
    return q.value(0).toInt();
}

int Database::schemaVersion() const
{
    if (tableCount(QStringLiteral("schema_version")) == 0)
        return 0;
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next())
        fail(QStringLiteral("The schema version cannot be read"), q.lastError());
    return q.value(0).toInt();
}

void Database::runScript(const QString &scriptText) const
{
    QSqlQuery q(connection());
    for (const QString &statement : splitSqlScript(scriptText)) {
        if (!q.exec(statement))
            fail(QStringLiteral("A database script failed at \"%1\"").arg(statement.left(80)), q.lastError());
        q.finish();
    }
}

void Database::inTransaction(const std::function<void()> &work)
{
    clients::WriteTransaction transaction(connection());
    work();
    transaction.commit();
}

void Database::applyScriptInTransaction(const QString &resource)
{
    const QString script = readDataScript(resource);
    inTransaction([&] { runScript(script); });
}

void Database::ensureSchema()
{
    int version = schemaVersion();
    if (version > currentSchemaVersion())
        throw Error(Error::Database, QStringLiteral("The database has schema version %1, newer than this program "
                                                    "knows (%2). Use a newer program; the database was not changed.")
                                         .arg(version)
                                         .arg(currentSchemaVersion()));
    if (version == 0) {
        // A database with other tables of its own is not ours to fill.
        if (tableCount() > 0)
            throw Error(Error::Database,
                        QStringLiteral("The database holds tables of another application; it was not changed."));
        if (isReadOnly())
            throw Error(
                Error::Database,
                QStringLiteral("%1 is open for reading only and holds no TALV ELGroup data.").arg(m_options.name));
        applyScriptInTransaction(QStringLiteral(":/data/schema/%1.sql").arg(engineFolder(m_options.engine)));
    } else {
        requireOurTables();
        if (isReadOnly() && version < currentSchemaVersion())
            throw Error(Error::Database,
                        QStringLiteral("The database has schema version %1 and needs an upgrade to version %2, "
                                       "which needs permission to write to %3. It was not changed.")
                            .arg(version)
                            .arg(currentSchemaVersion())
                            .arg(m_options.name));
        for (const auto &[step, path] : migrations(m_options.engine)) {
            if (step <= version)
                continue;
            applyScriptInTransaction(path);
            version = step;
        }
    }
    useWriteAheadLog();
}

void Database::requireOurTables() const
{
    for (const char *table : OurTables) {
        if (tableCount(QString::fromLatin1(table)) == 0)
            throw Error(Error::Database, QStringLiteral("The database holds tables of another application (it has "
                                                        "no table %1); it was not changed.")
                                             .arg(QString::fromLatin1(table)));
    }
}

void Database::useWriteAheadLog()
{
    // Only on a database known to be ours: the journal mode is written into the file itself.
    // Readers then never block the one writer, and writers wait for each other (busy timeout).
    if (m_options.engine != Engine::SQLite || isReadOnly())
        return;
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
        fail(QStringLiteral("The database %1 cannot be set up").arg(m_options.name), q.lastError());
}

bool Database::hasGroups() const
{
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM element_group")) || !q.next())
        fail(QStringLiteral("The element groups cannot be counted"), q.lastError());
    return q.value(0).toLongLong() > 0;
}

void Database::loadSampleData()
{
    if (hasGroups())
        throw Error(Error::Database,
                    QStringLiteral("The database already holds element groups; no sample data was loaded."));
    const QString sample = readDataScript(QStringLiteral(":/data/sample/sample.sql"));
    const QString syncIds =
        readDataScript(QStringLiteral(":/data/schema/sync_ids.%1.sql").arg(engineFolder(m_options.engine)));
    inTransaction([&] {
        runScript(sample);
        runScript(syncIds);
    });
}

qint64 Database::nextId(const QString &sequence) const
{
    QSqlQuery q(connection());
    if (m_options.engine == Engine::SQLite) {
        q.prepare(QStringLiteral("UPDATE id_sequence SET next_value = next_value + 1 WHERE sequence_name = ? "
                                 "RETURNING next_value - 1"));
    } else {
        q.prepare(QStringLiteral("SELECT nextval(?)"));
    }
    q.addBindValue(sequence);
    if (!q.exec())
        fail(QStringLiteral("No new id can be taken from %1").arg(sequence), q.lastError());
    if (!q.next())
        throw Error(Error::Database, QStringLiteral("There is no id sequence named %1.").arg(sequence));
    return q.value(0).toLongLong();
}

} // namespace talv::host
