#include "SharedDatabase.h"

#include "AccessRights.h"
#include "BoundSql.h"
#include "HostSession.h"
#include "clients/SaveTransaction.h"
#include "platform/Error.h"

namespace talv::host::SharedDatabase {

namespace {

// Role names cannot be bound as values.
QString quotedRole(const QString &role)
{
    QString quoted = role;
    return u'"' + quoted.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// Role statements take no bound values, and PostgreSQL prepares none of them.
void runRoleStatement(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        clients::raiseDatabaseError(statement, q);
}

bool roleExists(const QSqlDatabase &db, const QString &role)
{
    return sql::exec(db, QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), {role}).next();
}

void createRole(const QSqlDatabase &db, const QString &role, bool login)
{
    if (!roleExists(db, role))
        runRoleStatement(db, QStringLiteral("CREATE ROLE %1 %2")
                                 .arg(quotedRole(role), login ? QStringLiteral("LOGIN") : QStringLiteral("NOLOGIN")));
}

bool isMember(const QSqlDatabase &db, const QString &role, const QString &group)
{
    return sql::exec(db,
                     QStringLiteral("SELECT 1 FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid "
                                    "JOIN pg_roles u ON u.oid = m.member WHERE u.rolname = ? AND g.rolname = ?"),
                     {role, group})
        .next();
}

// Puts the role into `group` alone of the two TALV groups (into neither when `group` is empty).
void setGroup(const QSqlDatabase &db, const QString &role, const QString &group)
{
    for (const QString &candidate : {ReaderRole, WriterRole}) {
        const bool member = isMember(db, role, candidate);
        if (candidate == group && !member)
            runRoleStatement(db, QStringLiteral("GRANT %1 TO %2").arg(quotedRole(candidate), quotedRole(role)));
        else if (candidate != group && member)
            runRoleStatement(db, QStringLiteral("REVOKE %1 FROM %2").arg(quotedRole(candidate), quotedRole(role)));
    }
}

} // namespace

QList<UserRole> setUp(Database &database)
{
    if (database.engine() != Engine::PostgreSQL)
        throw Error(Error::Database, QStringLiteral("Only a PostgreSQL database can be set up for sharing."));
    if (database.schemaVersion() == 0)
        throw Error(Error::Database, QStringLiteral("%1 holds no TALV ELGroup data to share; set it up with "
                                                    "--create first.")
                                         .arg(database.serverName()));
    const QSqlDatabase db = database.connection();
    sql::Transaction transaction(db);
    // The script's "does not exist, skipping" notices are no news to the administrator.
    runRoleStatement(db, QStringLiteral("SET LOCAL client_min_messages TO warning"));
    createRole(db, ReaderRole, false);
    createRole(db, WriterRole, false);
    database.runScript(readDataScript(QStringLiteral(":/data/schema/shared_postgresql.sql")));

    struct Stored {
        qint32 id;
        QString name;
        bool active;
    };
    // Read whole first: the connection runs one statement at a time.
    QList<Stored> users;
    for (QSqlQuery q = sql::exec(db, QStringLiteral("SELECT user_id, user_name, is_active FROM app_user "
                                                    "ORDER BY user_id"));
         q.next();)
        users.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString() == u"Y"});
    QList<UserRole> roles;
    for (const Stored &user : std::as_const(users)) {
        QString group;
        if (user.active)
            group = AccessRights(db, user.id).allowsWriting() ? WriterRole : ReaderRole;
        const QString role = user.name.toLower();
        createRole(db, role, true);
        setGroup(db, role, group);
        roles.append({user.name, role, group});
    }
    transaction.commit();
    return roles;
}

void requireOwnRole(const QSqlDatabase &db, const QString &userName)
{
    QSqlQuery q = sql::exec(db,
                            QStringLiteral("SELECT current_user, EXISTS (SELECT 1 FROM pg_auth_members m "
                                           "JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles u ON u.oid = m.member "
                                           "WHERE u.rolname = current_user AND g.rolname IN (?, ?))"),
                            {ReaderRole, WriterRole});
    if (!q.next() || !q.value(1).toBool())
        return;
    const QString role = q.value(0).toString();
    if (role.compare(userName, Qt::CaseInsensitive) != 0)
        throw Error(HostSession::LoginRefused,
                    QStringLiteral("The database role %1 belongs to the TALV user %1 and cannot work as \"%2\".")
                        .arg(role, userName));
}

} // namespace talv::host::SharedDatabase
