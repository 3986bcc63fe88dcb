#include "SqliteFunctions.h"

#include "SqliteReader.h"
#include "platform/Error.h"

#include <QSqlDriver>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

namespace talv::host {

namespace {

template <bool Upper> void changeCase(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char16_t *>(sqlite3_value_text16(argv[0]));
    const int bytes = sqlite3_value_bytes16(argv[0]);
    const QString in = QString::fromUtf16(text, bytes / 2);
    const QString out = Upper ? in.toUpper() : in.toLower();
    sqlite3_result_text16(context, out.utf16(), static_cast<int>(out.size() * 2), SQLITE_TRANSIENT);
}

} // namespace

void registerUnicodeCaseFunctions(QSqlDatabase &db)
{
    sqlite3 *raw = sqliteHandle(db);
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(raw, "upper", 1, flags, nullptr, &changeCase<true>, nullptr, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_create_function_v2(raw, "lower", 1, flags, nullptr, &changeCase<false>, nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        throw Error(Error::Database, QStringLiteral("The Unicode text functions cannot be registered: %1")
                                         .arg(QString::fromUtf8(sqlite3_errmsg(raw))));
}

} // namespace talv::host
