#pragma once

#include "platform/Recordset.h"

#include <QSqlDatabase>
#include <QString>

namespace talv::host {

// Runs the SQL text the screens send and answers its rows as a recordset. It answers reads only:
// the engine itself decides what the text is, and a text that holds more than one statement, or a
// statement that writes, is refused before anything runs (SqliteReader, PostgresQuery).
//
// The screens' dialect habits are adapted, nothing else in the text changes: "SELECT UNIQUE"
// becomes "SELECT DISTINCT", and on PostgreSQL a LIKE pattern gets ESCAPE '' so that a backslash
// in it is a plain character, as on SQLite.
class QueryService
{
public:
    explicit QueryService(QSqlDatabase database) : m_db(std::move(database)) {}

    // Raises talv::Error (Database) with the database's own message when the statement fails.
    RecordsetPtr Run(const QString &sql) const;

    static QString AdaptDialect(const QString &sql);
    // Appends ESCAPE '' to each LIKE (or ILIKE) whose pattern is a plain quoted text without an
    // ESCAPE clause of its own. Quoted texts, quoted names and comments are passed over as they are.
    static QString AdaptLikeEscapes(const QString &sql);

private:
    QSqlDatabase m_db;
};

} // namespace talv::host
