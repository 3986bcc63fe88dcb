#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>

namespace talv::clients {

// Server types as GetServerType answers them.
enum ServerType : qint32 { SQLiteServer = 1, PostgreSQLServer = 2 };

// The person a session works as. Writes that carry a user (their options, the audit trail) take
// this one, never a name a caller passes.
struct ServerUser {
    qint32 id = 0; // 0: nobody is logged in, and nothing that belongs to a user can be written
    QString name;
    qint32 orgUnitId = 0; // the unit the audit trail files their changes under; 0: none
};

// What a business client needs to reach the database that the host opened: the Qt SQL connection,
// the engine, the session's user and the host's id allocation. Clients find it by the server name that the host's
// GetServerName answers and that the screens pass to OpenClass, so the clients never depend on
// the host's own classes.
struct ServerConnection {
    QString connectionName; // a QSqlDatabase connection name, usable on the UI thread
    qint32 serverType = SQLiteServer;
    // The next id of a sequence such as "element_group_seq".
    std::function<qint64(const QString &sequence)> nextId;
    ServerUser user;
    // Every row of a query with its values bound, each value as Qt's driver gives it, for a host
    // that reads its engine faster than Qt's driver does; unset, the clients read through Qt.
    std::function<QList<QVariantList>(const QString &sql, const QVariantList &values)> readRows;

    QSqlDatabase database() const { return QSqlDatabase::database(connectionName, false); }
};

namespace ServerDirectory {

// Registers (or replaces) the server under its name, compared without regard to case.
void Register(const QString &serverName, ServerConnection connection);
void Unregister(const QString &serverName);
// Raises talv::Error (Database) naming the server when it is not registered.
ServerConnection Find(const QString &serverName);

} // namespace ServerDirectory

} // namespace talv::clients
