// Find Now of the search screen end to end on a large database: the all-groups query through the
// real application manager, the copy into the screen's own result set and the binding of the
// results grid. Beside it, in the same run, the same statement stepped through the SQLite library
// with every value fetched and none kept (the floor: nothing that reads the rows does less), and
// a bare forward-only QSqlQuery that reads every value (what Qt SQL alone costs). The database
// comes from data/tools/generate_large.py (TALV_BENCH_DB names it; by default
// /tmp/talv-bench-1m.sqlite, made on first use). Compare CPU times: the machine may be shared.
#include "search/ELGroupSearch.h"
#include "search/SearchScreens.h"

#include "clients/ClientClasses.h"
#include "host/Database.h"
#include "host/HostSession.h"
#include "host/QueryService.h"
#include "host/ReferenceAppManager.h"
#include "host/SqliteReader.h"

#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include "BenchDatabase.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>

namespace {

using talv::bench::benchDatabase;
const QString &kSearchAll = talv::bench::kSearchAllSql;

// One logged-in session on the benchmark database, as talv-host would have it.
struct Host {
    Host()
    {
        // The screen reads its stored settings through the business clients, as in talv-host.
        talv::clients::registerClientClasses();
        talv::host::ConnectionOptions o;
        o.name = benchDatabase();
        session = std::make_unique<talv::host::HostSession>(talv::host::Database::open(o), QStringLiteral("ecarter"));
        manager = std::make_unique<talv::host::ReferenceAppManager>(*session);
    }
    std::unique_ptr<talv::host::HostSession> session;
    std::unique_ptr<talv::host::ReferenceAppManager> manager;
};

Host &host()
{
    static Host h;
    return h;
}

void BM_FindNow_AllGroups(benchmark::State &state)
{
    talv::ScriptedUiServices ui;
    talv::ScopedUiServices scoped(ui);
    talv::search::ELGroupSearch screen;
    screen.InitSearch({}, host().manager.get(), 1, nullptr, &host().manager->views(), QString());
    auto *findNow = screen.findChild<QPushButton *>(QStringLiteral("cmdFindNow"));
    auto *newSearch = screen.findChild<QAction *>(QStringLiteral("mnuFileNew"));
    auto *grid = screen.findChild<talv::FlexGrid *>(QStringLiteral("fgResults"));
    auto *label = screen.findChild<QLabel *>(QStringLiteral("lblRecordsReturned"));

    for (auto _ : state) {
        ui.queueAnswer(talv::Answer::Yes); // no criteria: "search for all groups?"
        findNow->click();
        state.counters["rows"] = static_cast<double>(grid->Rows() - 1);
        // Letting the previous result go is the next search's business; keep it out of this one.
        state.PauseTiming();
        newSearch->trigger();
        state.ResumeTiming();
    }
    if (!ui.boxes().isEmpty() && ui.boxes().last().text.startsWith(QStringLiteral("Error")))
        state.SkipWithError(qPrintable(ui.boxes().last().text));
    if (!label->text().startsWith(QStringLiteral("Records Returned:")))
        state.SkipWithError("the search did not finish");
}

void BM_BareQSqlQuery_AllGroups(benchmark::State &state)
{
    const QString sql = talv::host::QueryService::AdaptDialect(kSearchAll);
    for (auto _ : state) {
        const qint64 rows = talv::bench::readEveryValue(host().session->connection(), sql,
                                                        [](const QVariant &v) { benchmark::DoNotOptimize(v); });
        state.counters["rows"] = static_cast<double>(rows);
    }
}

void BM_SqliteLibraryFloor_AllGroups(benchmark::State &state)
{
    const QString sql = talv::host::QueryService::AdaptDialect(kSearchAll);
    sqlite3 *db = talv::host::sqliteHandle(host().session->connection());
    for (auto _ : state) {
        QString error;
        const qint64 rows = talv::bench::stepEveryValue(
            db, sql, [](auto v) { benchmark::DoNotOptimize(v); }, &error);
        if (rows < 0)
            state.SkipWithError(qPrintable(error));
        state.counters["rows"] = static_cast<double>(rows);
    }
}

BENCHMARK(BM_SqliteLibraryFloor_AllGroups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareQSqlQuery_AllGroups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FindNow_AllGroups)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    talv::search::RegisterSearchScreens();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
