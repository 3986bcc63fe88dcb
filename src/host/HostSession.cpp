#include "HostSession.h"

#include "BoundSql.h"
#include "SharedDatabase.h"
#include "SqliteRows.h"
#include "clients/ServerDirectory.h"
#include "platform/Error.h"

namespace talv::host {

namespace {

qint32 serverTypeOf(Engine engine)
{
    return engine == Engine::SQLite ? clients::SQLiteServer : clients::PostgreSQLServer;
}

} // namespace

HostSession::HostSession(std::unique_ptr<Database> database, const QString &userName)
    : m_database(std::move(database)), m_queries(m_database ? m_database->connection() : QSqlDatabase())
{
    if (!m_database)
        throw Error(Error::Database, QStringLiteral("No database is open."));
    m_user = findUser(m_database->connection(), userName);
    if (m_database->engine() == Engine::PostgreSQL)
        SharedDatabase::requireOwnRole(m_database->connection(), m_user.userName);
    m_rights = AccessRights(m_database->connection(), m_user.id);
    m_rights.setDatabaseReadOnly(m_database->isReadOnly());
    m_serverName = m_database->serverName();

    clients::ServerDirectory::Register(m_serverName,
                                       clientConnection(*m_database, {m_user.id, m_user.userName, m_user.orgUnitId}));
}

HostSession::~HostSession()
{
    // A later session on the same server may have replaced our entry; leave its entry alone.
    try {
        if (clients::ServerDirectory::Find(m_serverName).connectionName == m_database->connection().connectionName())
            clients::ServerDirectory::Unregister(m_serverName);
    } catch (const Error &) {
        // Already gone.
    }
}

QString HostSession::readOnlyReason() const
{
    if (m_database->isReadOnly())
        return QStringLiteral("You may read this database file but not write to it, so it is open for reading only.");
    if (!m_rights.allowsWriting())
        return QStringLiteral("Your rights in this database allow reading only.");
    return {};
}

clients::ServerConnection clientConnection(Database &db, const clients::ServerUser &user)
{
    clients::ServerConnection connection;
    connection.connectionName = db.connection().connectionName();
    connection.serverType = serverTypeOf(db.engine());
    connection.nextId = [&db](const QString &sequence) { return db.nextId(sequence); };
    connection.user = user;
    if (db.engine() == Engine::SQLite) {
        const QString name = connection.connectionName;
        connection.readRows = [name](const QString &sql, const QVariantList &values) {
            return readSqliteRows(QSqlDatabase::database(name, false), sql, values);
        };
    }
    return connection;
}

qint32 HostSession::serverType() const
{
    return serverTypeOf(m_database->engine());
}

SessionUser HostSession::findUser(const QSqlDatabase &db, const QString &userName)
{
    const QString name = userName.trimmed();
    if (name.isEmpty())
        throw Error(LoginRefused, QStringLiteral("No user name was given."));
    QSqlQuery q = sql::exec(db,
                            QStringLiteral("SELECT u.user_id, u.user_name, u.full_name, u.org_unit_id, u.is_active, "
                                           "o.org_unit_code FROM app_user u "
                                           "JOIN org_unit o ON o.org_unit_id = u.org_unit_id "
                                           "WHERE UPPER(u.user_name) = UPPER(?)"),
                            {name});
    if (!q.next())
        throw Error(LoginRefused, QStringLiteral("There is no user named \"%1\" in this database.").arg(name));
    if (q.value(4).toString() != QStringLiteral("Y"))
        throw Error(LoginRefused,
                    QStringLiteral("The user \"%1\" is no longer active in this database.").arg(q.value(1).toString()));
    SessionUser user;
    user.id = q.value(0).toInt();
    user.userName = q.value(1).toString();
    user.fullName = q.value(2).toString();
    user.orgUnitId = q.value(3).toInt();
    user.orgUnitCode = q.value(5).toString();
    return user;
}

} // namespace talv::host
