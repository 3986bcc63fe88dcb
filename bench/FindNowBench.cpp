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

#include <algorithm>
#include <memory>
#include <vector>

#include <time.h>

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

// The search screen on a host, ready for Find Now with no criteria.
class SearchScreen
{
public:
    explicit SearchScreen(Host &host)
    {
        m_screen.InitSearch({}, host.manager.get(), 1, nullptr, &host.manager->views(), QString());
        m_findNow = m_screen.findChild<QPushButton *>(QStringLiteral("cmdFindNow"));
        m_newSearch = m_screen.findChild<QAction *>(QStringLiteral("mnuFileNew"));
        m_grid = m_screen.findChild<talv::FlexGrid *>(QStringLiteral("fgResults"));
        m_label = m_screen.findChild<QLabel *>(QStringLiteral("lblRecordsReturned"));
    }

    void findNow()
    {
        m_ui.queueAnswer(talv::Answer::Yes); // no criteria: "search for all groups?"
        m_findNow->click();
    }
    // Letting the previous result go is the next search's business; keep it out of the timing.
    void newSearch() { m_newSearch->trigger(); }
    double rows() const { return static_cast<double>(m_grid->Rows() - 1); }
    // Empty when every search finished.
    QString failure() const
    {
        if (!m_ui.boxes().isEmpty() && m_ui.boxes().last().text.startsWith(QStringLiteral("Error")))
            return m_ui.boxes().last().text;
        if (!m_label->text().startsWith(QStringLiteral("Records Returned:")))
            return QStringLiteral("the search did not finish");
        return {};
    }

private:
    talv::ScriptedUiServices m_ui;
    talv::ScopedUiServices m_scoped{m_ui};
    talv::search::ELGroupSearch m_screen;
    QPushButton *m_findNow = nullptr;
    QAction *m_newSearch = nullptr;
    talv::FlexGrid *m_grid = nullptr;
    QLabel *m_label = nullptr;
};

void findNow(benchmark::State &state, Host &host)
{
    SearchScreen screen(host);
    FaultCounter faults;
    for (auto _ : state) {
        faults.start();
        screen.findNow();
        faults.stop();
        state.counters["rows"] = screen.rows();
        state.PauseTiming();
        screen.newSearch();
        state.ResumeTiming();
    }
    faults.report(state);
    if (const QString failure = screen.failure(); !failure.isEmpty())
        state.SkipWithError(qPrintable(failure));
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

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The floor and Find Now one right after the other, many times: on a machine whose speed drifts
// from one minute to the next, the ratio within each pair holds where separate runs do not. The
// counters give the median of the pairs' ratios and each side's median CPU time.
void BM_FindNow_PairedWithSqliteLibraryFloor_AllGroups(benchmark::State &state)
{
    Host &host = sqliteHost();
    sqlite3 *db = talv::host::sqliteHandle(host.session->connection());
    SearchScreen screen(host);
    std::vector<double> floorMs, findNowMs, ratios;
    bool floorFirst = true;
    for (auto _ : state) {
        // Each side goes first every other time, so that neither always follows the other's work.
        double floor = 0, search = 0;
        for (int side = 0; side < 2; ++side) {
            const double started = processCpuMs();
            if ((side == 0) == floorFirst) {
                QString error;
                if (talv::bench::stepEveryValue(
                        db, adaptedSearchAll(), [](auto v) { benchmark::DoNotOptimize(v); }, &error) < 0) {
                    state.SkipWithError(qPrintable(error));
                    return;
                }
                floor = processCpuMs() - started;
            } else {
                screen.findNow();
                search = processCpuMs() - started;
            }
        }
        floorFirst = !floorFirst;
        floorMs.push_back(floor);
        findNowMs.push_back(search);
        ratios.push_back(search / floor);
        state.counters["rows"] = screen.rows();
        state.PauseTiming();
        screen.newSearch();
        state.ResumeTiming();
    }
    if (const QString failure = screen.failure(); !failure.isEmpty()) {
        state.SkipWithError(qPrintable(failure));
        return;
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    state.counters["floor_ms"] = median(floorMs);
    state.counters["find_now_ms"] = median(findNowMs);
    state.counters["ratio"] = median(ratios);
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
BENCHMARK(BM_FindNow_PairedWithSqliteLibraryFloor_AllGroups)->Unit(benchmark::kMillisecond)->Iterations(16);
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
