// Find Now of the search screen end to end on a large database: the all-groups query through the
// real application manager, the copy into the screen's own result set and the binding of the
// results grid. Beside it, in the same run, the same statement read by the database's own C
// library with every value fetched and none kept (the floor: nothing that reads the rows does
// less), and a bare forward-only QSqlQuery that reads every value (what Qt SQL alone costs).
//   SQLite:     data/tools/generate_large.py makes the database (TALV_BENCH_DB names it; by default
//               /tmp/talv-bench-1m.sqlite, made on first use).
//   PostgreSQL: on the server the tests use (scripts/bench starts one), a database filled from the
//               SQLite one on first use, so both engines answer the same million rows.
// On SQLite compare CPU times (the machine may be shared); on PostgreSQL the server does much of
// the work in its own process, so compare real times too.
#include "BenchMain.h"
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
#include "BenchPostgres.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <memory>

#include <sys/resource.h>

namespace {

const QString &kSearchAll = talv::bench::kSearchAllSql;

// Pages the process touched for the first time so far. Keeping a million rows means writing some
// 75 MB of fresh memory, and on some machines (virtual ones especially) each first touch of a page
// costs microseconds: the counter shows how much of a figure that is.
long pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Counts the page faults of the timed part of each iteration.
class FaultCounter
{
public:
    void start() { m_started = pageFaults(); }
    void stop() { m_total += pageFaults() - m_started; }
    void report(benchmark::State &state) const
    {
        if (state.iterations() > 0)
            state.counters["page_faults"] = static_cast<double>(m_total) / static_cast<double>(state.iterations());
    }

private:
    long m_started = 0;
    long m_total = 0;
};

// One logged-in session on a benchmark database, as talv-host would have it.
struct Host {
    explicit Host(const talv::host::ConnectionOptions &options)
        : session(std::make_unique<talv::host::HostSession>(talv::host::Database::open(options),
                                                            QStringLiteral("ecarter"))),
          manager(std::make_unique<talv::host::ReferenceAppManager>(*session))
    {}
    std::unique_ptr<talv::host::HostSession> session;
    std::unique_ptr<talv::host::ReferenceAppManager> manager;
};

// Made on first use, gone before the application object: a connection outliving it crashes.
std::unique_ptr<Host> madeSqliteHost;
std::unique_ptr<Host> madePostgresHost;

Host &sqliteHost()
{
    if (!madeSqliteHost) {
        talv::host::ConnectionOptions o;
        o.name = talv::bench::benchDatabase();
        madeSqliteHost = std::make_unique<Host>(o);
    }
    return *madeSqliteHost;
}

// Null, with the reason in `whyNot`, when no PostgreSQL server is named.
Host *postgresHost(QString *whyNot)
{
    static QString problem;
    if (!madePostgresHost && problem.isEmpty()) {
        if (!talv::bench::pgServer(QString())) {
            problem = QStringLiteral("no PostgreSQL server: run scripts/bench, or set TALV_TEST_PG_HOST");
        } else {
            try {
                madePostgresHost = std::make_unique<Host>(talv::bench::pgBenchDatabase(talv::bench::benchDatabase()));
            } catch (const talv::Error &e) {
                problem = e.description();
            }
        }
    }
    *whyNot = problem;
    return madePostgresHost.get();
}

void findNow(benchmark::State &state, Host &host)
{
    talv::ScriptedUiServices ui;
    talv::ScopedUiServices scoped(ui);
    talv::search::ELGroupSearch screen;
    screen.InitSearch({}, host.manager.get(), 1, nullptr, &host.manager->views(), QString());
    auto *findNow = screen.findChild<QPushButton *>(QStringLiteral("cmdFindNow"));
    auto *newSearch = screen.findChild<QAction *>(QStringLiteral("mnuFileNew"));
    auto *grid = screen.findChild<talv::FlexGrid *>(QStringLiteral("fgResults"));
    auto *label = screen.findChild<QLabel *>(QStringLiteral("lblRecordsReturned"));

    FaultCounter faults;
    for (auto _ : state) {
        faults.start();
        ui.queueAnswer(talv::Answer::Yes); // no criteria: "search for all groups?"
        findNow->click();
        faults.stop();
        state.counters["rows"] = static_cast<double>(grid->Rows() - 1);
        // Letting the previous result go is the next search's business; keep it out of this one.
        state.PauseTiming();
        newSearch->trigger();
        state.ResumeTiming();
    }
    faults.report(state);
    if (!ui.boxes().isEmpty() && ui.boxes().last().text.startsWith(QStringLiteral("Error")))
        state.SkipWithError(qPrintable(ui.boxes().last().text));
    if (!label->text().startsWith(QStringLiteral("Records Returned:")))
        state.SkipWithError("the search did not finish");
}

template <typename Read> void readFloor(benchmark::State &state, Read read)
{
    FaultCounter faults;
    for (auto _ : state) {
        faults.start();
        QString error;
        const qint64 rows = read([](auto v) { benchmark::DoNotOptimize(v); }, &error);
        faults.stop();
        if (rows < 0) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.counters["rows"] = static_cast<double>(rows);
    }
    faults.report(state);
}

const QString &adaptedSearchAll()
{
    static const QString sql = talv::host::QueryService::AdaptDialect(kSearchAll);
    return sql;
}

void BM_FindNow_AllGroups(benchmark::State &state)
{
    findNow(state, sqliteHost());
}

void BM_SqliteLibraryFloor_AllGroups(benchmark::State &state)
{
    sqlite3 *db = talv::host::sqliteHandle(sqliteHost().session->connection());
    readFloor(state, [db](auto consume, QString *error) {
        return talv::bench::stepEveryValue(db, adaptedSearchAll(), consume, error);
    });
}

void BM_BareQSqlQuery_AllGroups(benchmark::State &state)
{
    for (auto _ : state) {
        const qint64 rows = talv::bench::readEveryValue(sqliteHost().session->connection(), adaptedSearchAll(),
                                                        [](const QVariant &v) { benchmark::DoNotOptimize(v); });
        state.counters["rows"] = static_cast<double>(rows);
    }
}

void BM_BareQSqlQuery_AllGroups_PostgreSQL(benchmark::State &state)
{
    QString whyNot;
    Host *host = postgresHost(&whyNot);
    if (!host) {
        state.SkipWithError(qPrintable(whyNot));
        return;
    }
    for (auto _ : state) {
        const qint64 rows = talv::bench::readEveryValue(host->session->connection(), adaptedSearchAll(),
                                                        [](const QVariant &v) { benchmark::DoNotOptimize(v); });
        state.counters["rows"] = static_cast<double>(rows);
    }
}

void BM_FindNow_AllGroups_PostgreSQL(benchmark::State &state)
{
    QString whyNot;
    if (Host *host = postgresHost(&whyNot))
        findNow(state, *host);
    else
        state.SkipWithError(qPrintable(whyNot));
}

void BM_LibpqFloor_AllGroups_PostgreSQL(benchmark::State &state)
{
    QString whyNot;
    Host *host = postgresHost(&whyNot);
    if (!host) {
        state.SkipWithError(qPrintable(whyNot));
        return;
    }
    PGconn *conn = talv::bench::pgHandle(host->session->connection());
    readFloor(state, [conn](auto consume, QString *error) {
        return talv::bench::readEveryPgValue(conn, adaptedSearchAll(), consume, error);
    });
}

BENCHMARK(BM_SqliteLibraryFloor_AllGroups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareQSqlQuery_AllGroups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FindNow_AllGroups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibpqFloor_AllGroups_PostgreSQL)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareQSqlQuery_AllGroups_PostgreSQL)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FindNow_AllGroups_PostgreSQL)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    // The screen reads its stored settings through the business clients, as in talv-host.
    talv::clients::registerClientClasses();
    talv::search::RegisterSearchScreens();
    return talv::bench::runBenchmarks<QApplication>(argc, argv, [] {
        madeSqliteHost.reset();
        madePostgresHost.reset();
    });
}
