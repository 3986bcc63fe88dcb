// The host's query service on the search screen's all-groups statement over a large database,
// beside, in the same run, the same statement stepped through the SQLite library with every value
// fetched and none kept (the floor), and a bare forward-only QSqlQuery that reads every value. The database comes from
// data/tools/generate_large.py (TALV_BENCH_DB names it; by default /tmp/talv-bench-1m.sqlite, made on first use).
#include "BenchMain.h"
#include "host/Database.h"
#include "host/QueryService.h"
#include "host/SqliteReader.h"

#include "BenchDatabase.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>

namespace {

using talv::bench::benchDatabase;
const QString &kSearchAll = talv::bench::kSearchAllSql;

talv::host::Database &database()
{
    static std::unique_ptr<talv::host::Database> db = [] {
        talv::host::ConnectionOptions o;
        o.name = benchDatabase();
        return talv::host::Database::open(o);
    }();
    return *db;
}

void BM_CallGetQueryRSXML_SearchAll(benchmark::State &state)
{
    talv::host::QueryService service(database().connection());
    for (auto _ : state) {
        talv::RecordsetPtr rs = service.Run(kSearchAll);
        state.counters["rows"] = static_cast<double>(rs->RecordCount());
        // Releasing the result is the screen's business later, not part of answering the query.
        state.PauseTiming();
        rs.reset();
        state.ResumeTiming();
    }
}

void BM_BareQSqlQuery_SearchAll(benchmark::State &state)
{
    const QString sql = talv::host::QueryService::AdaptDialect(kSearchAll);
    for (auto _ : state) {
        const qint64 rows = talv::bench::readEveryValue(database().connection(), sql,
                                                        [](const QVariant &v) { benchmark::DoNotOptimize(v); });
        state.counters["rows"] = static_cast<double>(rows);
    }
}

void BM_SqliteLibraryFloor_SearchAll(benchmark::State &state)
{
    const QString sql = talv::host::QueryService::AdaptDialect(kSearchAll);
    sqlite3 *db = talv::host::sqliteHandle(database().connection());
    for (auto _ : state) {
        QString error;
        const qint64 rows = talv::bench::stepEveryValue(
            db, sql, [](auto v) { benchmark::DoNotOptimize(v); }, &error);
        if (rows < 0)
            state.SkipWithError(qPrintable(error));
        state.counters["rows"] = static_cast<double>(rows);
    }
}

// Every value kept as a variant: the least that a reader built on QSqlQuery pays for keeping the rows.
void BM_RetainOnly(benchmark::State &state)
{
    const QString sql = talv::host::QueryService::AdaptDialect(kSearchAll);
    for (auto _ : state) {
        QSqlQuery q(database().connection());
        q.setForwardOnly(true);
        q.exec(sql);
        const int fields = q.record().count();
        QList<QList<QVariant>> cols(fields);
        while (q.next())
            for (int f = 0; f < fields; ++f)
                cols[f].append(q.value(f));
        state.PauseTiming();
        cols.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SqliteLibraryFloor_SearchAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RetainOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareQSqlQuery_SearchAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CallGetQueryRSXML_SearchAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
