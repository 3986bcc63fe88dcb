#pragma once

#include "platform/Recordset.h"

#include <QSqlDatabase>
#include <QString>

struct pg_conn;

namespace talv::host {

// The PostgreSQL connection's own libpq handle, for what Qt SQL does not offer.
pg_conn *postgresHandle(const QSqlDatabase &db);

// Runs one statement that only reads on a PostgreSQL connection and answers its rows.
//
// PostgreSQL runs every statement of a text sent as a simple query, and Qt's driver sends even a
// prepared statement's text that way ("PREPARE name AS <text>"), so a second statement behind a
// ";" would run as well. Here the server prepares the text through libpq's protocol-level prepare,
// which takes exactly one statement, and runs it in a read-only transaction that is then rolled
// back: a statement that writes is refused, and one that changes a setting leaves no trace.
// Raises talv::Error (Database) with the server's message, or the query service's refusals.
RecordsetPtr readPostgres(const QSqlDatabase &db, const QString &statement);

} // namespace talv::host
