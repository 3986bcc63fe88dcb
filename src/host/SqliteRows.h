#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace talv::host {

// Every row of a query with its values bound, on a SQLite connection, each value as Qt's driver
// gives it (whole numbers as qlonglong, reals as double, texts as QString, blobs as QByteArray,
// nulls as null strings) but read straight from the library: Qt's driver turns every text into
// UTF-16 one byte at a time first, which made reading a record's children cost more than running
// their query. The statement is the one the clients keep prepared (Qt finalizes it when the
// connection closes); values the library path does not bind here go through Qt's driver. Raises
// Error(Database) with the database's message.
QList<QVariantList> readSqliteRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values);

} // namespace talv::host
