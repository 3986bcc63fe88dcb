#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

namespace talv::host {

enum class Engine { SQLite, PostgreSQL };

// Where the database lives. For SQLite `name` is the file; for PostgreSQL it is the database
// name, with host (a folder for a Unix socket), port, user and password beside it.
struct ConnectionOptions {
    Engine engine = Engine::SQLite;
    QString name;
    QString host;
    int port = 5432;
    QString user;
    QString password;
    // SQLite only: create the file when it is missing (the embedded default); otherwise a missing
    // file is an error, so that a mistyped path never leaves an empty database behind.
    bool createIfMissing = false;
    // SQLite only: open without writing anything to the file or beside it. Set by open() as well
    // when the file is one the user may read but not write.
    bool readOnly = false;
    // How long a writer waits for another one before it gives up (SQLite's busy timeout,
    // PostgreSQL's lock timeout).
    int lockTimeoutMs = 10000;
};

// The host's connection to its database, on either engine: opens it, creates or upgrades the
// schema, loads the sample data, and hands out new ids. Errors raise talv::Error (Database) with
// the database's own message.
class Database
{
public:
    static std::unique_ptr<Database> open(const ConnectionOptions &options);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QSqlDatabase connection() const;
    Engine engine() const { return m_options.engine; }
    const ConnectionOptions &options() const { return m_options; }
    // Open for reading only: nothing can be written, and nothing tries.
    bool isReadOnly() const { return m_options.readOnly; }
    // A readable name for the status bar and GetServerName: the file, or host/database.
    QString serverName() const;

    // 0 for a database without our schema.
    int schemaVersion() const;
    // The newest version this program can create or upgrade to.
    static int currentSchemaVersion();
    // Creates the schema in an empty database, or upgrades an older one, each step in its own
    // transaction; a database newer than this program, one that holds another application's
    // tables, or one open read-only that would need a change is refused, never touched.
    void ensureSchema();
    // Loads the sample data set (one transaction) into a database that has the schema and no groups.
    void loadSampleData();
    bool hasGroups() const;

    // The next id of a sequence such as "element_group_seq"; ids are never handed out twice,
    // also across connections.
    qint64 nextId(const QString &sequence) const;

    // Runs a script of the data folder's convention (statements end at a line ending in ";")
    // inside the caller's transaction.
    void runScript(const QString &scriptText) const;

private:
    explicit Database(ConnectionOptions options, QString connectionName);
    void configureSQLite();
    void configurePostgreSQL();
    // Raises unless the tables this program relies on are all there: a file is known to be ours
    // before anything is written to it.
    void requireOurTables() const;
    void useWriteAheadLog();
    void applyScriptInTransaction(const QString &resource);
    // Runs `work` in one transaction, rolled back when it raises.
    void inTransaction(const std::function<void()> &work);
    // Tables of the connected schema, or those named `name`.
    int tableCount(const QString &name = {}) const;

    ConnectionOptions m_options;
    QString m_connectionName;
};

// The statements of a script of the data folder's convention.
QStringList splitSqlScript(const QString &script);
// A script of the data folder as built into the program (":/data/schema/sqlite.sql").
QString readDataScript(const QString &resourcePath);

} // namespace talv::host
