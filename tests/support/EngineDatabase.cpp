#include "EngineDatabase.h"

#include "platform/Error.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>

namespace talv::test {

namespace {

host::ConnectionOptions postgresServer(const QString &databaseName)
{
    host::ConnectionOptions o;
    o.engine = host::Engine::PostgreSQL;
    o.name = databaseName;
    o.host = qEnvironmentVariable("TALV_TEST_PG_HOST");
    o.port = qEnvironmentVariableIntValue("TALV_TEST_PG_PORT");
    o.user = qEnvironmentVariable("TALV_TEST_PG_USER");
    return o;
}

void adminExec(const QString &sql)
{
    auto admin = host::Database::open(postgresServer(QStringLiteral("postgres")));
    QSqlQuery q(admin->connection());
    if (!q.exec(sql))
        throw Error(Error::Database, sql + QStringLiteral(": ") + q.lastError().text());
}

} // namespace

QStringList rowsOf(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    // PostgreSQL prepares no DDL, so a statement without values runs as it is.
    QSqlQuery q(db);
    bool ok = values.isEmpty() ? q.exec(sql) : q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!ok || (!values.isEmpty() && !q.exec()))
        throw Error(Error::Database, sql + QStringLiteral(": ") + q.lastError().text());
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
        rows << cells.join(u'|');
    }
    return rows;
}

const char *engineName(host::Engine engine)
{
    return engine == host::Engine::SQLite ? "SQLite" : "PostgreSQL";
}

std::unique_ptr<EngineDatabase> EngineDatabase::create(host::Engine engine, Content content, std::string *whyNot)
{
    std::unique_ptr<EngineDatabase> made(new EngineDatabase);
    if (engine == host::Engine::SQLite) {
        QTemporaryDir folder;
        folder.setAutoRemove(false);
        made->m_tempFolder = folder.path();
        made->m_options.engine = host::Engine::SQLite;
        made->m_options.name = QDir(folder.path()).filePath(QStringLiteral("talv.sqlite"));
        made->m_options.createIfMissing = true;
    } else {
        if (qEnvironmentVariableIsEmpty("TALV_TEST_PG_HOST")) {
            *whyNot = "PostgreSQL run skipped: no test server (scripts/test starts one when the PostgreSQL 15 "
                      "server is installed)";
            return nullptr;
        }
        const QString name = QStringLiteral("talv_test_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        // As README.md has a shared database made: ICU upper-cases as Qt does ("ß" to "SS").
        adminExec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0 LOCALE_PROVIDER icu "
                                 "ICU_LOCALE 'und'")
                      .arg(name));
        made->m_options = postgresServer(name);
    }
    made->m_database = host::Database::open(made->m_options);
    if (content == Empty)
        return made;
    made->m_database->ensureSchema();
    if (content == WithSample)
        made->m_database->loadSampleData();
    return made;
}

std::unique_ptr<host::Database> EngineDatabase::openAnother() const
{
    return host::Database::open(m_options);
}

EngineDatabase::~EngineDatabase()
{
    m_database.reset();
    try {
        if (m_options.engine == host::Engine::PostgreSQL)
            adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_options.name));
    } catch (const Error &) {
        // A database left behind lives in the throwaway cluster, which scripts/test removes.
    }
    if (!m_tempFolder.isEmpty())
        QDir(m_tempFolder).removeRecursively();
}

} // namespace talv::test
