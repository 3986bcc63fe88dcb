#pragma once

#include "Database.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace talv::host {

// A shared PostgreSQL install, where each TALV user connects as a role of their own and the
// database itself allows each role what talv-host allows its user.
namespace SharedDatabase {

inline const QString ReaderRole = QStringLiteral("talv_reader");
inline const QString WriterRole = QStringLiteral("talv_writer");

struct UserRole {
    QString userName; // as app_user stores it
    QString role;     // the login role: the name in lower case
    QString group;    // ReaderRole, WriterRole, or empty for a user who is no longer active
};

// Sets the database up for sharing, in one transaction: makes the group roles when missing,
// grants them their rights (data/schema/shared_postgresql.sql), and gives every TALV user a
// login role in the group their rights call for (writer when any of their access rows is "F").
// Run again, it brings roles and grants in line with the users and the schema. Needs a role
// that may create roles and owns the schema. Raises talv::Error (Database).
QList<UserRole> setUp(Database &database);

// A TALV user's role works only as that user: raises talv::Error (HostSession::LoginRefused)
// when the connection's role is a member of a TALV group role and is not `userName`'s (without
// regard to case). Any other role (the owner's, an administrator's) may work as any user.
void requireOwnRole(const QSqlDatabase &db, const QString &userName);

} // namespace SharedDatabase

} // namespace talv::host
