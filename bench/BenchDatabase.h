#pragma once

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>

#include <sqlite3.h>

#include <cstdio>

namespace talv::bench {

// The search screen's all-groups statement: what a user gets from Find Now with no criteria.
inline const QString kSearchAllSql = QStringLiteral(
    "SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as Group_Name, "
    "d_element_group_type.element_group_type_desc as Group_Type FROM element_group, d_element_group_type "
    "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
    "ORDER BY element_group_id");

// The large database the benchmarks read: TALV_BENCH_DB, or /tmp/talv-bench-1m.sqlite made with
// data/tools/generate_large.py on first use (about a minute, 1 GB).
inline QString benchDatabase()
{
    QString path = qEnvironmentVariable("TALV_BENCH_DB", QStringLiteral("/tmp/talv-bench-1m.sqlite"));
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "making %s with data/tools/generate_large.py ...\n", qPrintable(path));
        const int rc = QProcess::execute(
            QStringLiteral("python3"),
            {QStringLiteral(TALV_SOURCE_DIR "/data/tools/generate_large.py"), QStringLiteral("--quiet"), path});
        if (rc != 0)
            qFatal("the benchmark database could not be made");
    }
    return path;
}

// The baseline of the database benchmarks: a forward-only QSqlQuery that reads every value of the
// statement and keeps none. Answers the number of rows.
template <typename Consume> qint64 readEveryValue(const QSqlDatabase &db, const QString &sql, Consume consume)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec(sql);
    qint64 rows = 0;
    const int fields = q.record().count();
    while (q.next()) {
        for (int f = 0; f < fields; ++f)
            consume(q.value(f));
        ++rows;
    }
    return rows;
}

// The floor of the SQLite benchmarks: the statement stepped through the SQLite library itself,
// each value fetched in its stored form (whole number, real, or the text's UTF-8 bytes in place)
// and handed to `consume`, none kept. Nothing that reads the rows can do less. Answers the number
// of rows, or -1 with SQLite's message in `error`.
template <typename Consume>
qint64 stepEveryValue(sqlite3 *db, const QString &sql, Consume consume, QString *error = nullptr)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        return -1;
    }
    const int fields = sqlite3_column_count(stmt);
    qint64 rows = 0;
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int f = 0; f < fields; ++f) {
            switch (sqlite3_column_type(stmt, f)) {
            case SQLITE_INTEGER:
                consume(sqlite3_column_int64(stmt, f));
                break;
            case SQLITE_FLOAT:
                consume(sqlite3_column_double(stmt, f));
                break;
            case SQLITE_NULL:
                consume(nullptr);
                break;
            default:
                consume(sqlite3_column_text(stmt, f));
                consume(sqlite3_column_bytes(stmt, f));
                break;
            }
        }
        ++rows;
    }
    if (step != SQLITE_DONE && error)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return step == SQLITE_DONE ? rows : -1;
}

} // namespace talv::bench
