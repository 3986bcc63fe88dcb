#pragma once

#include "platform/Recordset.h"

#include <QSqlDatabase>
#include <QString>

namespace talv::host {

// Runs the SQL text the screens send and answers its rows as a recordset. The screens' only
// dialect habit, "SELECT UNIQUE", becomes "SELECT DISTINCT"; nothing else in the text changes.
class QueryService
{
public:
    explicit QueryService(QSqlDatabase database) : m_db(std::move(database)) {}

    // Raises talv::Error (Database) with the database's own message when the statement fails.
    RecordsetPtr Run(const QString &sql) const;

    static QString AdaptDialect(const QString &sql);

private:
    QSqlDatabase m_db;
};

} // namespace talv::host
