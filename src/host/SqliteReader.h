#pragma once

#include "platform/Recordset.h"

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

namespace talv::host {

// The SQLite connection's own handle, for the few things Qt SQL does not offer.
sqlite3 *sqliteHandle(const QSqlDatabase &db);

// Runs one statement on an SQLite connection straight through the SQLite library and answers its
// rows. This is the query service's path on SQLite: reading through QSqlQuery costs a QVariant and
// a driver call per value on top of what the library does, which a million-row search feels.
// Field types follow the declared column types the way Qt's SQLite driver reads them; whole
// numbers are 64-bit. Raises talv::Error (Database) with SQLite's own message.
RecordsetPtr readSqlite(const QSqlDatabase &db, const QString &statement);

} // namespace talv::host
