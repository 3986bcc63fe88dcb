// Add to List of 100,000 selected result rows into a working list of 1,000,000 rows, half of the
// selected ids new, beside baselines measured in the same run:
//   AddSelectedToList (indexes, lookups, appends, persist + reopen)
//     vs a std::unordered_set of the list's ids built, probed, and the missing rows appended to a
//        std::vector of structs (and the same without building the set)
//   the parts on their own: selecting the grid rows and reading them back, the persist + reopen
//   of the grown list, building the "Optimize" index of the list's ID field, the lookups by id.
#include "BenchGroups.h"
#include "BenchMain.h"
#include "platform/FlexGrid.h"
#include "platform/Recordset.h"
#include "recordset/RS_Functions.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <unordered_set>
#include <vector>

namespace {

using talv::FieldType;
using talv::FlexGrid;
using talv::Recordset;
using talv::RecordsetPtr;

constexpr int kListRows = 1'000'000;
constexpr int kSelectedRows = 100'000;
using talv::bench::GroupRow;
using talv::bench::groupRow;

// Every other selected id is already listed (spread over the whole list), the rest are new.
int selectedId(int i)
{
    return i % 2 == 0 ? (i / 2 + 1) * (kListRows / (kSelectedRows / 2)) : kListRows + i;
}

RecordsetPtr makeSet(int rows, int (*idAt)(int))
{
    return talv::bench::makeGroupSet(rows, idAt);
}

int listId(int i)
{
    return i + 1;
}

struct World {
    QByteArray listStream = makeSet(kListRows, listId)->Save();
    RecordsetPtr results = makeSet(kSelectedRows, selectedId);
    std::vector<GroupRow> listVector;
    std::vector<GroupRow> resultVector;
    std::vector<int> selectedIds;

    World()
    {
        listVector.reserve(kListRows);
        for (int i = 0; i < kListRows; ++i)
            listVector.push_back(groupRow(listId(i)));
        for (int i = 0; i < kSelectedRows; ++i) {
            resultVector.push_back(groupRow(selectedId(i)));
            selectedIds.push_back(selectedId(i));
        }
    }
};

World &world()
{
    static World w;
    return w;
}

// A results grid bound to the search's result set with every row selected, as Select All leaves it.
struct SelectedGrid {
    FlexGrid grid;
    SelectedGrid()
    {
        grid.SetSelMode(FlexGrid::SelectMode::ListBox);
        grid.BindToRecordset(world().results);
        grid.SelectAllRows();
    }
};

// --- the whole Add to List
void BM_AddSelectedToList(benchmark::State &state)
{
    SelectedGrid selected;
    Recordset &results = *world().results;
    Recordset list;
    list.AppendField("ID", FieldType::Integer); // replaced by the stream's layout
    for (auto _ : state) {
        state.PauseTiming();
        if (list.State() == Recordset::StateOpen)
            list.Close();
        list.OpenFromStream(world().listStream);
        state.ResumeTiming();

        RS_Functions::AddSelectedToList(selected.grid, results, list);
    }
    if (list.RecordCount() != kListRows + kSelectedRows / 2)
        state.SkipWithError("the list did not grow by the new ids");
    state.counters["list_rows"] = static_cast<double>(list.RecordCount());
}
BENCHMARK(BM_AddSelectedToList)->Unit(benchmark::kMillisecond)->Iterations(5);

// What the same work costs in plain containers: the ids probed in a hash set built from the list,
// the missing rows appended.
void vectorBaseline(benchmark::State &state, bool buildSet)
{
    const World &w = world();
    std::unordered_set<int> prebuilt;
    if (!buildSet)
        for (const GroupRow &row : w.listVector)
            prebuilt.insert(row.id);
    std::vector<GroupRow> list;
    for (auto _ : state) {
        state.PauseTiming();
        list = w.listVector;
        std::unordered_set<int> listed = buildSet ? std::unordered_set<int>() : prebuilt;
        state.ResumeTiming();

        if (buildSet) {
            listed.reserve(list.size());
            for (const GroupRow &row : list)
                listed.insert(row.id);
        }
        for (size_t i = 0; i < w.selectedIds.size(); ++i) {
            if (listed.insert(w.selectedIds[i]).second)
                list.push_back(w.resultVector[i]);
        }
        benchmark::DoNotOptimize(list.data());
    }
    if (list.size() != size_t(kListRows + kSelectedRows / 2))
        state.SkipWithError("the baseline did not grow by the new ids");
}
void BM_AddToList_VectorBaseline(benchmark::State &state)
{
    vectorBaseline(state, true);
}
void BM_AddToList_VectorBaselineSetPrebuilt(benchmark::State &state)
{
    vectorBaseline(state, false);
}
BENCHMARK(BM_AddToList_VectorBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AddToList_VectorBaselineSetPrebuilt)->Unit(benchmark::kMillisecond)->Iterations(5);

// --- the parts
void BM_SelectAndReadGridRows(benchmark::State &state)
{
    SelectedGrid selected;
    FlexGrid &grid = selected.grid;
    for (auto _ : state) {
        grid.SelectNone();
        grid.SelectAllRows();
        qint64 sum = 0;
        const int count = grid.SelectedRows();
        for (int i = 0; i < count; ++i)
            sum += grid.TextMatrix(grid.SelectedRow(i), 0).size();
        benchmark::DoNotOptimize(sum);
    }
    state.counters["selected"] = grid.SelectedRows();
}
BENCHMARK(BM_SelectAndReadGridRows)->Unit(benchmark::kMillisecond);

void BM_PersistReopenGrownList(benchmark::State &state)
{
    Recordset list;
    list.AppendField("ID", FieldType::Integer);
    list.OpenFromStream(world().listStream);
    list.AppendRowsFrom(*world().results);
    for (auto _ : state) {
        const QByteArray stream = list.Save();
        list.Close();
        list.OpenFromStream(stream);
    }
}
BENCHMARK(BM_PersistReopenGrownList)->Unit(benchmark::kMillisecond);

void BM_OptimizeListId(benchmark::State &state)
{
    Recordset list;
    list.AppendField("ID", FieldType::Integer);
    list.OpenFromStream(world().listStream);
    for (auto _ : state) {
        list.Fields("ID").SetOptimize(true);
        list.Fields("ID").SetOptimize(false);
    }
}
BENCHMARK(BM_OptimizeListId)->Unit(benchmark::kMillisecond);

// The lookups alone: "ID = n" from the first row for every selected id in the indexed list.
void BM_FindSelectedIdsInTheList(benchmark::State &state)
{
    Recordset list;
    list.AppendField("ID", FieldType::Integer);
    list.OpenFromStream(world().listStream);
    list.Fields("ID").SetOptimize(true);
    for (auto _ : state) {
        int found = 0;
        for (int id : world().selectedIds) {
            list.MoveFirst();
            list.Find(QStringLiteral("ID = ") + QString::number(id));
            found += list.IsEOF() ? 0 : 1;
        }
        if (found != kSelectedRows / 2)
            state.SkipWithError("the lookups missed");
    }
}
BENCHMARK(BM_FindSelectedIdsInTheList)->Unit(benchmark::kMillisecond);

} // namespace

// The grid is a widget: the benchmarks need an application, headless.
int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QApplication>(argc, argv);
}
