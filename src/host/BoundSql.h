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

// A value as the audit trail stores it: dates as "YYYY-MM-DD HH:MM:SS", null stays null.
QVariant auditText(const QVariant &value);

// The current time in the text form both engines accept for their date columns.
QString now();

// The host writes in the same transactions as the business clients (IMMEDIATE on SQLite).
using Transaction = clients::WriteTransaction;

} // namespace talv::host::sql
