#include "SqliteRows.h"

#include "clients/KeptStatements.h"
#include "clients/WriteTransaction.h"
#include "platform/Error.h"

#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>

#include <sqlite3.h>

namespace talv::host {

namespace {

// The library's statement behind a query Qt's SQLite driver prepared; null once the driver let it
// go (the connection closed).
sqlite3_stmt *statementOf(const QSqlQuery &query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(handle.constData());
}

// Binds as Qt's SQLite driver does; false for a value it has no plain binding of here.
bool bindAll(sqlite3_stmt *statement, const QVariantList &values)
{
    if (sqlite3_bind_parameter_count(statement) != values.size())
        return false;
    for (int i = 0; i < int(values.size()); ++i) {
        const QVariant &value = values.at(i);
        int bound = SQLITE_OK;
        if (value.isNull()) {
            bound = sqlite3_bind_null(statement, i + 1);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
                bound = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
                break;
            case QMetaType::Double:
                bound = sqlite3_bind_double(statement, i + 1, value.toDouble());
                break;
            case QMetaType::QString: {
                const QString text = value.toString();
                bound = sqlite3_bind_text16(statement, i + 1, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            default:
                return false;
            }
        }
        if (bound != SQLITE_OK)
            return false;
    }
    return true;
}

// Every row of a bound statement, each value as Qt's SQLite driver would give it.
QList<QVariantList> stepAll(sqlite3_stmt *statement, const QString &sql)
{
    QList<QVariantList> rows;
    const int columns = sqlite3_column_count(statement);
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                row.append(QVariant(qlonglong(sqlite3_column_int64(statement, c))));
                break;
            case SQLITE_FLOAT:
                row.append(QVariant(sqlite3_column_double(statement, c)));
                break;
            case SQLITE_NULL:
                row.append(QVariant(QMetaType::fromType<QString>())); // as Qt's driver gives a null
                break;
            case SQLITE_BLOB:
                row.append(QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, c)),
                                      sqlite3_column_bytes(statement, c)));
                break;
            default:
                row.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, c)),
                                             sqlite3_column_bytes(statement, c)));
                break;
            }
        }
        rows.append(std::move(row));
    }
    if (step != SQLITE_DONE) {
        sqlite3 *db = sqlite3_db_handle(statement);
        const QSqlError error(QStringLiteral("Unable to fetch row"), QString::fromUtf8(sqlite3_errmsg(db)),
                              QSqlError::StatementError, QString::number(sqlite3_extended_errcode(db)));
        throw Error(Error::Database, clients::describeDatabaseError(error, QSqlDriver::SQLite, sql));
    }
    return rows;
}

} // namespace

QList<QVariantList> readSqliteRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    if (sqlite3_stmt *statement = statementOf(clients::keptStatement(db, sql))) {
        const auto reset = qScopeGuard([statement] {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        });
        if (bindAll(statement, values))
            return stepAll(statement, sql);
    }
    return clients::readRows(db, sql, values);
}

} // namespace talv::host
