#include "platform/RecordsetKeyTable.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <limits>
#include <unordered_map>

using talv::internal::KeyTable;

namespace {

// Random inserts, finds and erases agree with std::unordered_map, for key patterns that keep the
// table dense, that start dense and outgrow it, and that never fit an array.
void agreesWithAMap(const char *pattern, qint64 (*keyAt)(QRandomGenerator &, int), bool prepared)
{
    SCOPED_TRACE(pattern);
    QRandomGenerator random(42);
    KeyTable table;
    if (prepared)
        table.prepare(1000, 0, 999);
    std::unordered_map<qint64, qsizetype> expected;
    for (int step = 0; step < 30'000; ++step) {
        const qint64 key = keyAt(random, step);
        switch (random.bounded(3)) {
        case 0:
            table.findOrInsert(key) = step;
            expected[key] = step;
            break;
        case 1:
            table.erase(key);
            expected.erase(key);
            break;
        default: {
            const qsizetype *found = table.find(key);
            const auto it = expected.find(key);
            ASSERT_EQ(found != nullptr, it != expected.end()) << "step " << step << " key " << key;
            if (found) {
                ASSERT_EQ(*found, it->second) << "step " << step << " key " << key;
            }
        }
        }
    }
    for (const auto &[key, row] : expected) {
        const qsizetype *found = table.find(key);
        ASSERT_TRUE(found) << key;
        EXPECT_EQ(*found, row);
    }
}

} // namespace

TEST(RecordsetKeyTable, AgreesWithAMapForEveryKeyPattern)
{
    agreesWithAMap(
        "dense", [](QRandomGenerator &r, int) -> qint64 { return r.bounded(2000); }, true);
    agreesWithAMap(
        "dense, then spread",
        [](QRandomGenerator &r, int step) -> qint64 {
            return step < 10'000 ? qint64(r.bounded(500)) - 250
                                 : static_cast<qint64>(r.generate64() % 1'000'000'000'000ull);
        },
        false);
    agreesWithAMap(
        "extremes and neighbours",
        [](QRandomGenerator &r, int) -> qint64 {
            const qint64 ends[] = {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), 0};
            // Wrapping past an end lands near the other one.
            const quint64 step = r.bounded(50);
            return qint64(r.bounded(2) ? quint64(ends[r.bounded(3)]) + step : quint64(ends[r.bounded(3)]) - step);
        },
        false);
    // Multiples of a power of two share their low bits: a weak hash would pile them into one run.
    agreesWithAMap(
        "strided", [](QRandomGenerator &r, int) -> qint64 { return qint64(r.bounded(4000)) << 32; }, false);
}
