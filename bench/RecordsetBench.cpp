// Recordset figures at one million rows, each beside a baseline measured in the same run:
//   Find with "Optimize"          vs the same Find scanning
//   CopyRecordset (3 fields)      vs copying the same values into a std::vector of structs
//   persist + reopen              vs QDataStream out and back of the same vector
//   memory of the set             vs memory of the vector (counters, bytes per row)
#include "BenchGroups.h"
#include "platform/Recordset.h"
#include "recordset/RS_Functions.h"

#include <benchmark/benchmark.h>

#include <QDataStream>
#include <QIODevice>

#include <malloc.h>

#include <vector>

namespace {

using talv::FieldType;
using talv::Recordset;
using talv::RecordsetPtr;

constexpr int kRows = 1'000'000;
using talv::bench::GroupRow;

RecordsetPtr makeSet(int rows)
{
    return talv::bench::makeGroupSet(rows, [](int i) { return i + 1; });
}

std::vector<GroupRow> makeVector(int rows)
{
    std::vector<GroupRow> v;
    v.reserve(static_cast<size_t>(rows));
    for (int i = 1; i <= rows; ++i)
        v.push_back(talv::bench::groupRow(i));
    return v;
}

const RecordsetPtr &sharedSet()
{
    static const RecordsetPtr set = makeSet(kRows);
    return set;
}

const std::vector<GroupRow> &sharedVector()
{
    static const std::vector<GroupRow> v = makeVector(kRows);
    return v;
}

// --- Find: the last id, searched from the first row, so the scan walks the whole set.
void findLast(benchmark::State &state, bool optimize)
{
    Recordset rs(*sharedSet());
    rs.Fields("ID").SetOptimize(optimize);
    const QString criterion = QStringLiteral("ID = %1").arg(kRows);
    for (auto _ : state) {
        rs.MoveFirst();
        rs.Find(criterion);
        benchmark::DoNotOptimize(rs.AbsolutePosition());
    }
    if (rs.AbsolutePosition() != kRows)
        state.SkipWithError("Find missed the row");
}
void BM_Find_Scan(benchmark::State &state)
{
    findLast(state, false);
}
void BM_Find_Optimize(benchmark::State &state)
{
    findLast(state, true);
}
BENCHMARK(BM_Find_Scan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Find_Optimize)->Unit(benchmark::kMicrosecond);

// --- Copy
void BM_CopyRecordset(benchmark::State &state)
{
    Recordset &source = *sharedSet();
    for (auto _ : state) {
        RecordsetPtr result;
        RS_Functions::CopyRecordset(source, result);
        benchmark::DoNotOptimize(result->RecordCount());
    }
}
void BM_CopyRecordset_VectorBaseline(benchmark::State &state)
{
    const std::vector<GroupRow> &source = sharedVector();
    for (auto _ : state) {
        std::vector<GroupRow> copy;
        copy.reserve(source.size());
        for (const GroupRow &row : source)
            copy.push_back(row);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyRecordset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyRecordset_VectorBaseline)->Unit(benchmark::kMillisecond);

// A copy that must convert every value (an integer column becomes text) shows the cost when
// no column can be shared.
void BM_CopyRecordset_Converting(benchmark::State &state)
{
    Recordset source;
    source.AppendField("ID", FieldType::Integer);
    source.AppendField("Member_Count", FieldType::Integer);
    source.AppendField("Group_Type", FieldType::VarChar);
    source.Open();
    Recordset &full = *sharedSet();
    QVariantList row(3);
    for (qsizetype r = 0; r < full.RecordCount(); ++r) {
        row[0] = full.ValueAt(r, 0);
        row[1] = static_cast<int>(r % 97);
        row[2] = full.ValueAt(r, 2);
        source.AddNew(row);
    }
    for (auto _ : state) {
        RecordsetPtr result;
        RS_Functions::CopyRecordset(source, result);
        benchmark::DoNotOptimize(result->RecordCount());
    }
}
BENCHMARK(BM_CopyRecordset_Converting)->Unit(benchmark::kMillisecond);

// --- Persist and reopen
void BM_PersistReopen(benchmark::State &state)
{
    Recordset rs(*sharedSet());
    for (auto _ : state) {
        const QByteArray stream = rs.Save();
        rs.Close();
        rs.OpenFromStream(stream);
        state.counters["stream_MiB"] = static_cast<double>(stream.size()) / (1 << 20);
    }
}
void BM_PersistReopen_VectorBaseline(benchmark::State &state)
{
    const std::vector<GroupRow> &source = sharedVector();
    for (auto _ : state) {
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out << static_cast<quint64>(source.size());
            for (const GroupRow &row : source)
                out << row.id << row.name << row.type;
        }
        QDataStream in(bytes);
        quint64 n = 0;
        in >> n;
        std::vector<GroupRow> back(static_cast<size_t>(n));
        for (GroupRow &row : back)
            in >> row.id >> row.name >> row.type;
        benchmark::DoNotOptimize(back.data());
    }
}
BENCHMARK(BM_PersistReopen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PersistReopen_VectorBaseline)->Unit(benchmark::kMillisecond);

// --- Memory: heap bytes held after building each from scratch.
size_t heapInUse()
{
    malloc_trim(0);
    // Large blocks (a million-entry column or vector) are mapped on their own and counted apart.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
void BM_Memory_Recordset(benchmark::State &state)
{
    for (auto _ : state) {
        const size_t before = heapInUse();
        RecordsetPtr rs = makeSet(kRows);
        const size_t after = heapInUse();
        state.counters["bytes_per_row"] = static_cast<double>(after - before) / kRows;
    }
}
void BM_Memory_VectorBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        const size_t before = heapInUse();
        std::vector<GroupRow> v = makeVector(kRows);
        const size_t after = heapInUse();
        state.counters["bytes_per_row"] = static_cast<double>(after - before) / kRows;
    }
}
BENCHMARK(BM_Memory_Recordset)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Memory_VectorBaseline)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
