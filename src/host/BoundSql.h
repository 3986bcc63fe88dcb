#pragma once

#include "clients/WriteTransaction.h"
#include "platform/Recordset.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace talv::host::sql {

// Runs a statement with its values bound as parameters ("?" placeholders), never pasted into the
// text. Raises talv::Error (Database) with the database's own message.
QSqlQuery exec(const QSqlDatabase &db, const QString &statement, const QVariantList &values = {});

// The rows of a bound query as an open recordset, cursor on the first row.
RecordsetPtr recordset(const QSqlDatabase &db, const QString &statement, const QVariantList &values = {});

// Copies the rows of an executed query into a new open recordset, typed as the driver reports.
RecordsetPtr toRecordset(QSqlQuery &query);

// The host writes in the same transactions as the business clients (IMMEDIATE on SQLite).
using Transaction = clients::WriteTransaction;

} // namespace talv::host::sql
