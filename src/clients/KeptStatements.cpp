#include "KeptStatements.h"

#include "SaveTransaction.h"

#include <QSqlDriver>
#include <QSqlRecord>
#include <QSqlResult>

#include <algorithm>
#include <unordered_map>

namespace talv::clients {

namespace {

// Enough for every text of a record's load and save, with room for the other screens'.
constexpr qsizetype kMostKept = 64;

struct Kept {
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

// Qt's SQLite driver lets its statements go when the connection closes (and finalizes them); a
// query kept from before then holds none, even once the connection is open again.
bool letGoByDriver(const QSqlQuery &query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    return handle.isValid() && qstrcmp(handle.typeName(), "sqlite3_stmt*") == 0 &&
           !*static_cast<void *const *>(handle.constData());
}

// The statement kept for `sql` on `db`, prepared now if there is none (or none that still works).
Store::Map::iterator keptFor(const QSqlDatabase &db, const QString &sql)
{
    Store &kept = store();
    const QString key = keyOf(db, sql);
    auto found = kept.byText.find(key);
    // A statement prepared on a connection since closed (and perhaps opened again), or on another
    // one of the same name.
    if (found != kept.byText.end() &&
        (!db.isOpen() || found->second.query.driver() != db.driver() || letGoByDriver(found->second.query))) {
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
        found = kept.byText.emplace(key, Kept{std::move(query), 0}).first;
    }
    found->second.lastUse = ++kept.uses;
    return found;
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

QSqlQuery &keptStatement(const QSqlDatabase &db, const QString &sql)
{
    return keptFor(db, sql)->second.query;
}

QList<QVariantList> readRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
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
    const QString prefix = keyOf(db, QString());
    return std::count_if(store().byText.cbegin(), store().byText.cend(),
                         [&prefix](const auto &entry) { return entry.first.startsWith(prefix); });
}

} // namespace talv::clients
