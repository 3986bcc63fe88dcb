#include "SqliteReader.h"

#include "QueryRefusals.h"
#include "platform/Error.h"
#include "platform/RecordsetAppender.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <memory>

namespace talv::host {

namespace {

[[noreturn]] void fail(sqlite3 *db)
{
    throw Error(Error::Database, QString::fromUtf8(sqlite3_errmsg(db)));
}

// The mapping Qt's SQLite driver applies to declared column types, so that both paths agree.
FieldType fieldTypeForDeclared(const char *declared)
{
    const QString type = QString::fromUtf8(declared ? declared : "").toLower();
    if (type == u"integer" || type == u"int" || type == u"bigint")
        return FieldType::BigInt;
    if (type == u"double" || type == u"float" || type == u"real" || type.startsWith(u"numeric"))
        return FieldType::Double;
    if (type == u"boolean" || type == u"bool")
        return FieldType::Boolean;
    return FieldType::VarChar;
}

// Whether the statement being prepared on this thread is a screen's query (a connection is used
// only on the thread that opened it).
thread_local bool preparingQuery = false;

// While a query is prepared, SQLite asks this about every action the statement will take; only
// reading is allowed. It closes what sqlite3_stmt_readonly lets through because no table changes:
// BEGIN (a transaction left open on the session's connection), ATTACH (another file on it) and
// PRAGMA (its settings, such as a locking mode that shuts every other user out). Other statements
// on the connection (the clients' own) pass.
int allowReadingOnly(void *, int action, const char *, const char *, const char *, const char *)
{
    if (!preparingQuery)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

bool refusedByAuthorizer(sqlite3 *db, int prepared)
{
    return prepared != SQLITE_OK && (sqlite3_extended_errcode(db) & 0xff) == SQLITE_AUTH;
}

// Marks the queries prepared in its lifetime, with the gate in place on the connection. The gate
// is installed once per connection and stays: installing one expires every statement prepared on
// the connection, the ones the clients keep prepared for the next record included. A probe the
// gate refuses shows that it is there.
class ReadingOnly
{
public:
    explicit ReadingOnly(sqlite3 *db)
    {
        preparingQuery = true;
        sqlite3_stmt *probe = nullptr;
        const int prepared = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &probe, nullptr);
        sqlite3_finalize(probe);
        if (!refusedByAuthorizer(db, prepared))
            sqlite3_set_authorizer(db, &allowReadingOnly, nullptr);
    }
    ~ReadingOnly() { preparingQuery = false; }
    ReadingOnly(const ReadingOnly &) = delete;
    ReadingOnly &operator=(const ReadingOnly &) = delete;
};

// One statement that only reads. SQLite itself says where the first statement ends and whether it
// writes; the text after it may hold nothing but blanks, comments and semicolons.
class Statement
{
public:
    Statement(sqlite3 *db, const QString &text)
    {
        const ReadingOnly guard(db);
        const auto *begin = reinterpret_cast<const char16_t *>(text.utf16());
        const auto *end = begin + text.size();
        const void *tail = nullptr;
        sqlite3_stmt *stmt = nullptr;
        const int prepared = sqlite3_prepare16_v2(db, begin, int(text.size() * 2), &stmt, &tail);
        m_stmt.reset(stmt);
        if (prepared != SQLITE_OK) {
            if (refusedByAuthorizer(db, prepared))
                throw Error(Error::Database, queryRefusal::notAQuery());
            fail(db);
        }
        if (!m_stmt)
            throw Error(Error::Database, QStringLiteral("The text holds no statement to run."));
        if (!sqlite3_stmt_readonly(m_stmt.get()))
            throw Error(Error::Database, queryRefusal::notAQuery());
        for (const auto *rest = static_cast<const char16_t *>(tail); rest && rest < end;) {
            sqlite3_stmt *next = nullptr;
            const void *after = nullptr;
            // A second statement is refused even when it would not prepare.
            const int second = sqlite3_prepare16_v2(db, rest, int((end - rest) * 2), &next, &after);
            sqlite3_finalize(next);
            if (second != SQLITE_OK || next)
                throw Error(Error::Database, queryRefusal::secondStatement());
            if (after == rest)
                break;
            rest = static_cast<const char16_t *>(after);
        }
    }
    sqlite3_stmt *get() const { return m_stmt.get(); }

private:
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> m_stmt{nullptr, &sqlite3_finalize};
};

} // namespace

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        if (sqlite3 *raw = *static_cast<sqlite3 *const *>(handle.data()))
            return raw;
    throw Error(Error::Database, QStringLiteral("The connection is not an open SQLite connection."));
}

RecordsetPtr readSqlite(const QSqlDatabase &db, const QString &statement)
{
    sqlite3 *raw = sqliteHandle(db);
    Statement stmt(raw, statement);
    sqlite3_stmt *s = stmt.get();

    const int fields = sqlite3_column_count(s);
    auto rs = std::make_shared<Recordset>();
    for (int f = 0; f < fields; ++f)
        rs->AppendField(QString::fromUtf8(sqlite3_column_name(s, f)),
                        fieldTypeForDeclared(sqlite3_column_decltype(s, f)));
    rs->Open();

    // Values go straight from the statement into the set's columns: texts as the UTF-8 bytes SQLite
    // stores (asking for UTF-16 would convert and allocate), no variant or string per value.
    RecordsetAppender out(*rs);
    for (;;) {
        const int step = sqlite3_step(s);
        if (step == SQLITE_DONE)
            break;
        if (step != SQLITE_ROW)
            fail(raw);
        for (int f = 0; f < fields; ++f) {
            switch (sqlite3_column_type(s, f)) {
            case SQLITE_INTEGER:
                out.AppendWhole(sqlite3_column_int64(s, f));
                break;
            case SQLITE_FLOAT:
                out.AppendReal(sqlite3_column_double(s, f));
                break;
            case SQLITE_NULL:
                out.AppendNull();
                break;
            case SQLITE_BLOB:
                out.AppendValue(
                    QByteArray(static_cast<const char *>(sqlite3_column_blob(s, f)), sqlite3_column_bytes(s, f)));
                break;
            default:
                out.AppendUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, f)), sqlite3_column_bytes(s, f));
                break;
            }
        }
        out.EndRow();
    }
    rs->MoveFirst();
    return rs;
}

} // namespace talv::host
