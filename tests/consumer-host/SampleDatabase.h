#pragma once

#include <QSqlDatabase>
#include <QString>

namespace consumer {

// A SQLite database made for this run from the scripts the application installs in `dataDir`: the
// schema, the sample data, then the id re-synchronisation, in one transaction. Raises
// std::runtime_error naming the statement that failed.
QSqlDatabase createSampleDatabase(const QString &dataDir, const QString &file, const QString &connectionName);

// The next id of `sequence`, taken the way the schema asks for on SQLite.
qint64 nextId(const QSqlDatabase &db, const QString &sequence);

} // namespace consumer
