#include "SqliteReader.h"

#include "platform/Error.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <vector>

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

class Statement
{
public:
    Statement(sqlite3 *db, const QString &text) : m_db(db)
    {
        const void *tail = nullptr;
        if (sqlite3_prepare16_v2(db, text.utf16(), static_cast<int>(text.size() * 2), &m_stmt, &tail) != SQLITE_OK)
            fail(db);
        const auto *rest = static_cast<const QChar *>(tail);
        const QChar *end = text.constData() + text.size();
        for (; rest && rest < end; ++rest)
            if (!rest->isSpace() && *rest != u';')
                throw Error(Error::Database, QStringLiteral("Only one statement can be run at a time."));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
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

    QVariantList row(fields);
    // Texts go in as UTF-8 bytes into one buffer per field, reused row after row: the set stores
    // them itself, so no string per value is made.
    std::vector<QVariant> textBuffers(static_cast<size_t>(fields), QVariant(QByteArray()));
    for (;;) {
        const int step = sqlite3_step(s);
        if (step == SQLITE_DONE)
            break;
        if (step != SQLITE_ROW)
            fail(raw);
        for (int f = 0; f < fields; ++f) {
            switch (sqlite3_column_type(s, f)) {
            case SQLITE_INTEGER:
                row[f] = static_cast<qlonglong>(sqlite3_column_int64(s, f));
                break;
            case SQLITE_FLOAT:
                row[f] = sqlite3_column_double(s, f);
                break;
            case SQLITE_NULL:
                row[f] = QVariant();
                break;
            case SQLITE_BLOB:
                row[f] = QByteArray(static_cast<const char *>(sqlite3_column_blob(s, f)), sqlite3_column_bytes(s, f));
                break;
            default: {
                // The text as stored (UTF-8): asking SQLite for UTF-16 would convert and allocate.
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s, f));
                QVariant &buffer = textBuffers[static_cast<size_t>(f)];
                row[f] = QVariant(); // the row must not share the buffer while it is refilled
                auto *bytes = static_cast<QByteArray *>(buffer.data());
                bytes->resize(0);
                bytes->append(text, sqlite3_column_bytes(s, f));
                row[f] = buffer;
                break;
            }
            }
        }
        rs->AddNew(row);
    }
    rs->MoveFirst();
    return rs;
}

} // namespace talv::host
