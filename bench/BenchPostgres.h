#pragma once

#include "host/Database.h"
#include "host/PostgresQuery.h"

#include "platform/Error.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <optional>

namespace talv::bench {

// The PostgreSQL server of the benchmarks is the one the tests use (TALV_TEST_PG_HOST, _PORT,
// _USER; scripts/bench starts a throwaway one). None when it is not named.
inline std::optional<host::ConnectionOptions> pgServer(const QString &database)
{
    if (qEnvironmentVariableIsEmpty("TALV_TEST_PG_HOST"))
        return std::nullopt;
    host::ConnectionOptions o;
    o.engine = host::Engine::PostgreSQL;
    o.name = database;
    o.host = qEnvironmentVariable("TALV_TEST_PG_HOST");
    o.port = qEnvironmentVariableIntValue("TALV_TEST_PG_PORT");
    o.user = qEnvironmentVariable("TALV_TEST_PG_USER");
    return o;
}

inline PGconn *pgHandle(const QSqlDatabase &db)
{
    return host::postgresHandle(db);
}

inline void pgRun(PGconn *conn, const QString &sql, ExecStatusType expected = PGRES_COMMAND_OK)
{
    std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(conn, sql.toUtf8().constData()), &PQclear);
    if (PQresultStatus(result.get()) != expected)
        throw Error(Error::Database, sql + QStringLiteral(": ") + QString::fromUtf8(PQerrorMessage(conn)));
}

// Copies the rows of a statement on SQLite into a PostgreSQL table whose columns have the
// statement's column names, through COPY in text form.
inline void copyRows(sqlite3 *from, const QString &select, PGconn *to, const QString &table)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(from, select.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw Error(Error::Database, QString::fromUtf8(sqlite3_errmsg(from)));
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> guard(stmt, &sqlite3_finalize);
    const int fields = sqlite3_column_count(stmt);
    QStringList columns;
    for (int f = 0; f < fields; ++f)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, f));
    pgRun(to, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(u',')), PGRES_COPY_IN);
    QByteArray buffer;
    auto flush = [&] {
        if (PQputCopyData(to, buffer.constData(), int(buffer.size())) != 1)
            throw Error(Error::Database, QString::fromUtf8(PQerrorMessage(to)));
        buffer.clear();
    };
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int f = 0; f < fields; ++f) {
            if (f > 0)
                buffer += '\t';
            if (sqlite3_column_type(stmt, f) == SQLITE_NULL) {
                buffer += "\\N";
                continue;
            }
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, f));
            for (int i = 0, n = sqlite3_column_bytes(stmt, f); i < n; ++i) {
                const char c = text[i];
                if (c == '\\' || c == '\t' || c == '\n' || c == '\r')
                    buffer += '\\';
                buffer += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : c;
            }
        }
        buffer += '\n';
        if (buffer.size() > (1 << 20))
            flush();
    }
    flush();
    if (PQputCopyEnd(to, nullptr) != 1)
        throw Error(Error::Database, QString::fromUtf8(PQerrorMessage(to)));
    for (PGresult *result; (result = PQgetResult(to)) != nullptr; PQclear(result))
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            throw Error(Error::Database, table + QStringLiteral(": ") + QString::fromUtf8(PQerrorMessage(to)));
}

// The PostgreSQL benchmark database (TALV_BENCH_PG_DATABASE, by default talv_bench_1m): made on
// first use with the schema and a copy of the SQLite benchmark database's groups and of the
// lookups they and the search screen need, so that both engines answer the same rows.
inline host::ConnectionOptions pgBenchDatabase(const QString &sqliteFile)
{
    const QString name = qEnvironmentVariable("TALV_BENCH_PG_DATABASE", QStringLiteral("talv_bench_1m"));
    {
        auto admin = host::Database::open(*pgServer(QStringLiteral("postgres")));
        PGconn *conn = pgHandle(admin->connection());
        std::unique_ptr<PGresult, decltype(&PQclear)> exists(
            PQexec(conn, QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name).toUtf8()),
            &PQclear);
        if (PQntuples(exists.get()) == 0)
            pgRun(conn, QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    }
    const host::ConnectionOptions options = *pgServer(name);
    auto db = host::Database::open(options);
    db->ensureSchema();
    if (db->hasGroups())
        return options;

    std::fprintf(stderr, "filling PostgreSQL database %s from %s ...\n", qPrintable(name), qPrintable(sqliteFile));
    sqlite3 *from = nullptr;
    if (sqlite3_open_v2(sqliteFile.toUtf8().constData(), &from, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw Error(Error::Database, QStringLiteral("%1 cannot be opened").arg(sqliteFile));
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> guard(from, &sqlite3_close);
    PGconn *to = pgHandle(db->connection());
    // One transaction: a fill that stops half-way leaves no groups, and the next run starts again.
    pgRun(to, QStringLiteral("BEGIN"));
    copyRows(from, QStringLiteral("SELECT org_unit_id, org_unit_code, org_unit_name FROM org_unit"), to,
             QStringLiteral("org_unit"));
    copyRows(from, QStringLiteral("SELECT user_id, user_name, full_name, org_unit_id, is_active FROM app_user"), to,
             QStringLiteral("app_user"));
    copyRows(from, QStringLiteral("SELECT user_id, form_name, control_name, access_level FROM user_access"), to,
             QStringLiteral("user_access"));
    copyRows(from,
             QStringLiteral("SELECT d_element_group_type_id, element_group_type_desc, display_order "
                            "FROM d_element_group_type"),
             to, QStringLiteral("d_element_group_type"));
    copyRows(from,
             QStringLiteral("SELECT element_group_id, element_group_name, d_element_group_type_id, "
                            "d_group_member_type_id, org_unit_id, universal_key, rec_create_user, rec_create_date, "
                            "rec_last_mod_user, rec_last_mod_date FROM element_group"),
             to, QStringLiteral("element_group"));
    pgRun(to, QStringLiteral("COMMIT"));
    pgRun(to, QStringLiteral("ANALYZE"));
    return options;
}

// The floor of the PostgreSQL benchmarks: the statement run through libpq itself and every value
// of its answer fetched in the text form the server sent (null flag, bytes, length) and handed to
// `consume`, none kept. Answers the number of rows, or -1 with the server's message in `error`.
template <typename Consume>
qint64 readEveryPgValue(PGconn *conn, const QString &sql, Consume consume, QString *error = nullptr)
{
    std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(conn, sql.toUtf8().constData()), &PQclear);
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK) {
        if (error)
            *error = QString::fromUtf8(PQerrorMessage(conn));
        return -1;
    }
    const int rows = PQntuples(result.get());
    const int fields = PQnfields(result.get());
    for (int r = 0; r < rows; ++r) {
        for (int f = 0; f < fields; ++f) {
            if (PQgetisnull(result.get(), r, f)) {
                consume(nullptr);
                continue;
            }
            consume(PQgetvalue(result.get(), r, f));
            consume(PQgetlength(result.get(), r, f));
        }
    }
    return rows;
}

} // namespace talv::bench
