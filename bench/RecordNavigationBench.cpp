// Next in the record screen through a working list of 10,000 and of 1,000,000 groups, the
// position display included, beside baselines measured in the same run on the same list:
//   the Recordset move alone, the move plus the client's load (the element-group client loading
//   the group the move lands on), and the move plus the screen's load of that group (LoadData:
//   the record read and shown on the first tab, with the members grid and the position display).
//   Next beside the last says what moving itself adds: the existence check, the position, the
//   list's bookkeeping. The walk starts in the middle of the list, so a position found by
//   scanning from the top would cost half the list on every move.
// The database is the large benchmark database (data/tools/generate_large.py), copied once and
// upgraded to this program's schema (BenchRecordScreen.h).
#include "BenchMain.h"
#include "BenchRecordScreen.h"

#include "clients/ServerDirectory.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

namespace {

using talv::bench::RecordScreenHost;

// Made on first use, gone before the application object (its widgets cannot outlive it).
std::unique_ptr<RecordScreenHost> madeHost;

RecordScreenHost &host()
{
    if (!madeHost) {
        talv::host::ConnectionOptions o;
        o.name = talv::bench::benchDatabaseAtCurrentSchema();
        madeHost = std::make_unique<RecordScreenHost>(talv::host::Database::open(o), QStringLiteral("ecarter"));
    }
    return *madeHost;
}

// The host's working list of groups, made to hold the first `rows` groups of the database.
talv::Recordset &workingList(qsizetype rows)
{
    RecordScreenHost &h = host();
    talv::RecordsetPtr list = h.lists.list(h.groupsView);
    if (list->RecordCount() != rows) {
        h.lists.clear(h.groupsView);
        if (rows >= 1'000'000) {
            h.lists.addAllRecords(h.groupsView);
        } else {
            for (qint32 id = 1; id <= rows; ++id)
                h.lists.refreshRecord(h.groupsView, id, true);
        }
        if (list->RecordCount() != rows)
            qFatal("the working list holds %lld groups, not %lld", qlonglong(list->RecordCount()), qlonglong(rows));
    }
    return *list;
}

qint32 middleId(talv::Recordset &list)
{
    list.SetAbsolutePosition(list.RecordCount() / 2);
    return list.Value(QStringLiteral("ID")).toInt();
}

// The next row's id; past the last row the walk starts again from the middle, untimed.
qint32 moveNextFromMiddle(talv::Recordset &list, benchmark::State &state)
{
    list.MoveNext();
    if (list.IsEOF()) {
        state.PauseTiming();
        middleId(list);
        state.ResumeTiming();
    }
    return list.Value(QStringLiteral("ID")).toInt();
}

// The record screen opened on the middle of the list, or null (the run marked failed).
talv::details::ELGroupDetails *screenOnMiddle(talv::Recordset &list, benchmark::State &state)
{
    auto *screen = host().open(middleId(list));
    if (!screen)
        state.SkipWithError("the record screen did not open");
    return screen;
}

void BM_RecordScreen_Next(benchmark::State &state)
{
    talv::Recordset &list = workingList(state.range(0));
    auto *screen = screenOnMiddle(list, state);
    if (!screen)
        return;
    auto *next = screen->findChild<QToolButton *>(QStringLiteral("cmdNavNext"));
    auto *position = screen->findChild<QLineEdit *>(QStringLiteral("txtCurrentRecord"));
    const qint64 start = position->text().toLongLong();
    const qsizetype queriesBefore = host().recorder.sqlSent.size();
    qint64 moves = 0;
    for (auto _ : state) {
        next->click();
        ++moves;
    }
    // The display must have followed every move, and the screen must show the row it names.
    list.SetAbsolutePosition(start + moves);
    if (start != list.RecordCount() / 2 || position->text().toLongLong() != start + moves ||
        screen->GetID() != list.Value(QStringLiteral("ID")).toInt() ||
        screen->findChild<QLabel *>(QStringLiteral("lblTotalRecords"))->text().toLongLong() != list.RecordCount())
        state.SkipWithError("the position display or the record does not follow the moves");
    state.counters["list_rows"] = double(list.RecordCount());
    // What each move asked of the host's database (the existence check, the members grid ...).
    if (moves > 0)
        state.counters["host_queries_per_move"] =
            double(host().recorder.sqlSent.size() - queriesBefore) / double(moves);
    host().failed(state);
    host().manager->CloseScreen(screen);
}

// The moves alone: the next row and its id, from the middle of the list.
void BM_Recordset_MoveNext(benchmark::State &state)
{
    talv::Recordset &list = workingList(state.range(0));
    middleId(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(moveNextFromMiddle(list, state));
}

// The move and the record load: the business object of the group the move lands on, loaded.
void BM_Recordset_MoveNextAndLoadGroup(benchmark::State &state)
{
    talv::Recordset &list = workingList(state.range(0));
    std::unique_ptr<talv::ElementGroupObject> group(
        talv::ClassRegistry::instance().CreateAs<talv::ElementGroupObject>(talv::names::ElementGroupClass));
    group->Open(host().session.serverName(), host().session.serverType());
    middleId(list);
    for (auto _ : state) {
        if (!group->LoadByID(moveNextFromMiddle(list, state)))
            state.SkipWithError("a listed group did not load");
    }
}

// The move and the screen's own load of the group it lands on.
void BM_Recordset_MoveNextAndScreenLoad(benchmark::State &state)
{
    talv::Recordset &list = workingList(state.range(0));
    auto *screen = screenOnMiddle(list, state);
    if (!screen)
        return;
    middleId(list);
    for (auto _ : state) {
        const qint32 id = moveNextFromMiddle(list, state);
        screen->LoadData(id);
        if (screen->GetID() != id)
            state.SkipWithError("the screen does not show the group the list moved to");
    }
    host().failed(state);
    host().manager->CloseScreen(screen);
}

// Both sizes of every figure, the smaller list first, so each list is built once.
BENCHMARK(BM_RecordScreen_Next)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recordset_MoveNextAndScreenLoad)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recordset_MoveNextAndLoadGroup)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recordset_MoveNext)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordScreen_Next)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recordset_MoveNextAndScreenLoad)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recordset_MoveNextAndLoadGroup)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recordset_MoveNext)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QApplication>(argc, argv, [] { madeHost.reset(); });
}
