#pragma once

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>

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

} // namespace talv::bench
