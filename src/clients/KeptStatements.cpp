#include "KeptStatements.h"

#include "SaveTransaction.h"
#include "platform/Error.h"

#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

#include <unordered_map>

namespace talv::clients {

namespace {

// Enough for every text of a record's load and save, with room for the other screens'.
constexpr qsizetype kMostKept = 64;

struct Kept {
    QString connection;
    QSqlQuery query;
    quint64 lastUse = 0;
};

struct Store {
    using Map = std::unordered_map<QString, Kept>;
    Map byText; // keyed by connection name and text
    quint64 uses = 0;

    void dropLeastRecentlyUsed()
    {
        auto oldest = byText.begin();
        for (auto it = byText.begin(); it != byText.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        byText.erase(oldest);
    }
};

// A connection is used only on the thread that opened it, and so are its statements.
Store &store()
{
    thread_local Store kept;
    return kept;
}

QString keyOf(const QSqlDatabase &db, const QString &sql)
{
    return db.connectionName() + QChar(0) + sql;
}

bool isSqlite(const QSqlDatabase &db)
{
    return db.driver() && db.driver()->dbmsType() == QSqlDriver::SQLite;
}

// The library's statement behind a query Qt's SQLite driver prepared; null once the driver let it
// go (the connection closed).
sqlite3_stmt *statementOf(const QSqlQuery &query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(handle.constData());
}

// The statement kept for `sql` on `db`, prepared now if there is none (or none that still works).
Store::Map::iterator keptFor(const QSqlDatabase &db, const QString &sql)
{
    Store &kept = store();
    const QString key = keyOf(db, sql);
    auto found = kept.byText.find(key);
    // A statement prepared on a connection since closed (and perhaps opened again), or on another
    // one of the same name.
    if (found != kept.byText.end() && (!db.isOpen() || found->second.query.driver() != db.driver() ||
                                       (isSqlite(db) && !statementOf(found->second.query)))) {
        kept.byText.erase(found);
        found = kept.byText.end();
    }
    if (found == kept.byText.end()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            raiseDatabaseError(sql, query);
        if (qsizetype(kept.byText.size()) >= kMostKept)
            kept.dropLeastRecentlyUsed();
        found = kept.byText.emplace(key, Kept{db.connectionName(), std::move(query), 0}).first;
    }
    found->second.lastUse = ++kept.uses;
    return found;
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
        throw Error(Error::Database, describeDatabaseError(error, QSqlDriver::SQLite, sql));
    }
    return rows;
}

} // namespace

KeptQuery execKept(const QSqlDatabase &db, const QString &sql, const QVariantList &values, bool forwardOnly)
{
    if (!isSqlite(db))
        return KeptQuery(execBound(db, sql, values, forwardOnly));
    const auto found = keptFor(db, sql);
    QSqlQuery &query = found->second.query;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    if (!query.exec()) {
        const QSqlQuery failed = std::move(query);
        store().byText.erase(found);
        raiseDatabaseError(sql, failed);
    }
    return KeptQuery(query);
}

QList<QVariantList> readRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    if (isSqlite(db)) {
        // Straight from the library, on the statement Qt keeps prepared (and lets go when the
        // connection closes): Qt's driver would turn each text into UTF-16 byte by byte first.
        if (sqlite3_stmt *statement = statementOf(keptFor(db, sql)->second.query)) {
            const auto reset = qScopeGuard([statement] {
                sqlite3_reset(statement);
                sqlite3_clear_bindings(statement);
            });
            if (bindAll(statement, values))
                return stepAll(statement, sql);
        }
    }
    const KeptQuery query = execKept(db, sql, values, true);
    QList<QVariantList> rows;
    const int columns = query->record().count();
    while (query->next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.append(query->value(c));
        rows.append(std::move(row));
    }
    return rows;
}

qsizetype keptStatementCount(const QSqlDatabase &db)
{
    qsizetype count = 0;
    for (const auto &[key, kept] : store().byText)
        count += kept.connection == db.connectionName() ? 1 : 0;
    return count;
}

} // namespace talv::clients
