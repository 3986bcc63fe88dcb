#pragma once

#include "AccessRights.h"
#include "Database.h"
#include "QueryService.h"
#include "clients/ServerDirectory.h"

#include <QString>

#include <memory>

namespace talv::host {

// The person working in this session, as app_user knows them.
struct SessionUser {
    qint32 id = 0;
    QString userName; // as stored, whatever case the login was typed in
    QString fullName;
    qint32 orgUnitId = 0;
    QString orgUnitCode;
};

// What the business clients need to reach `db` as `user`: its connection, engine and id
// allocation and, on SQLite, the host's own row reader.
clients::ServerConnection clientConnection(Database &db, const clients::ServerUser &user);

// One logged-in user on one open database: owns the connection, its query service and the user's
// rights, and makes the connection known to the business clients (with the user) under the server
// name for as long as it lives.
class HostSession
{
public:
    // Raised when the user cannot work on this database (unknown or inactive).
    static constexpr int LoginRefused = 7001;

    // Looks the user up by name (without regard to case), reads their rights and registers the
    // connection in clients::ServerDirectory. In a shared PostgreSQL database whose roles are set
    // up (SharedDatabase.h) a user's role works only as that user. Raises talv::Error: LoginRefused
    // for an unknown or inactive user or another user's role, Database when the lookup itself
    // fails; nothing stays registered then.
    HostSession(std::unique_ptr<Database> database, const QString &userName);
    ~HostSession();
    HostSession(const HostSession &) = delete;
    HostSession &operator=(const HostSession &) = delete;

    Database &database() { return *m_database; }
    QSqlDatabase connection() const { return m_database->connection(); }
    const QueryService &queries() const { return m_queries; }
    const SessionUser &user() const { return m_user; }
    // The user's rights; in a database open for reading only nothing is granted beyond reading.
    const AccessRights &rights() const { return m_rights; }
    // Why nothing can be changed in this session, or empty when something can: the database is
    // open for reading only, or the user's rights allow reading only.
    QString readOnlyReason() const;

    // The name the business clients find the connection by (Database::serverName()).
    const QString &serverName() const { return m_serverName; }
    // clients::ServerType: 1 SQLite, 2 PostgreSQL.
    qint32 serverType() const;

private:
    static SessionUser findUser(const QSqlDatabase &db, const QString &userName);

    std::unique_ptr<Database> m_database;
    QueryService m_queries;
    SessionUser m_user;
    AccessRights m_rights;
    QString m_serverName;
};

} // namespace talv::host
