// The record screen through the reference host on a temporary SQLite database (the sample data
// with two large groups added), each figure beside a baseline measured in the same run:
//   open a group of 1,000 members and 200 references, change one field, save
//     vs the same reads and one version-checked UPDATE with bare QSqlQuery: every SELECT the
//        screen's pass sent, as SQLite's trace recorded it with its values, read back value by
//        value (and, for comparison with earlier figures, only the group row and its children)
//   load a group of 10,000 members into fgElements, move the last row to the top, renumber
//     vs the same query read into a plain vector, the last row rotated to the top, renumbered
//   the renumbering alone, after the last row moved to the top and after one row moved up one
//     place, vs the same on the vector.
// The counters say what was sent and touched: the statements of the save (one UPDATE of the
// group, no child statement), the children the renumbering changed (the component's own change
// flag) beside the children whose position really changed.
#include "BenchLargeGroup.h"
#include "BenchMain.h"
#include "BenchRecordScreen.h"

#include "details/ChildListEditor.h"

#include "clients/StatementRecorder.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "platform/FlexGrid.h"

#include "host/SqliteReader.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>

#include <sqlite3.h>
#include <vector>

namespace {

using talv::bench::LargeGroup;
using talv::bench::RecordScreenHost;

const LargeGroup Thousand{9500, QStringLiteral("A Thousand Plants"), 1000, 200, 10001};
const LargeGroup TenThousand{9600, QStringLiteral("Ten Thousand Plants"), 10000, 0, 20001};

// Made on first use, gone before the application object (its widgets cannot outlive it).
std::unique_ptr<RecordScreenHost> madeHost;

RecordScreenHost &host()
{
    static QTemporaryDir folder;
    if (!madeHost) {
        talv::host::ConnectionOptions o;
        o.name = folder.filePath(QStringLiteral("groups.sqlite"));
        o.createIfMissing = true;
        auto db = talv::host::Database::open(o);
        db->ensureSchema();
        db->loadSampleData();
        talv::bench::addLargeGroup(db->connection(), Thousand);
        talv::bench::addLargeGroup(db->connection(), TenThousand);
        madeHost = std::make_unique<RecordScreenHost>(std::move(db), QStringLiteral("ecarter"));
    }
    return *madeHost;
}

// The record screen on group `id`, listed in the working list; closed at the end of a benchmark.
class OpenScreen
{
public:
    explicit OpenScreen(qint32 id)
    {
        host().lists.refreshRecord(host().groupsView, id, true);
        screen = host().open(id);
        if (!screen)
            qFatal("the record screen did not open on group %d", id);
    }
    // Closes without a save prompt: the record is read again first, dropping what a benchmark changed.
    ~OpenScreen()
    {
        screen->LoadData(screen->GetID());
        host().manager->CloseScreen(screen);
    }
    talv::details::ELGroupDetails *screen;
};

// ---------------------------------------------------------------- open, change one field, save

QString descriptionText(qint64 pass)
{
    return QStringLiteral("Described on pass %1").arg(pass);
}

// One pass as a user makes it: the group read into the screen, one field changed, Save.
void openChangeSave(talv::details::ELGroupDetails &screen, qint64 pass)
{
    screen.LoadData(Thousand.id);
    screen.findChild<QWidget *>(QStringLiteral("ctrGroupDescription"))->setProperty("Text", descriptionText(pass));
    screen.command(QStringLiteral("mnuFileSave"))->trigger();
}

// Every statement the connection starts, with its bound values written in: SQLite's own trace,
// so the record holds what reached the engine from whichever layer sent it.
class SentToSqlite
{
public:
    explicit SentToSqlite(sqlite3 *db) : m_db(db) { sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &onStatement, this); }
    ~SentToSqlite() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }
    SentToSqlite(const SentToSqlite &) = delete;
    SentToSqlite &operator=(const SentToSqlite &) = delete;

    QStringList reads() const
    {
        return m_sent.filter(
            QRegularExpression(QStringLiteral("^\\s*SELECT\\b"), QRegularExpression::CaseInsensitiveOption));
    }

private:
    static int onStatement(unsigned, void *self, void *statement, void *)
    {
        char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
        static_cast<SentToSqlite *>(self)->m_sent.append(QString::fromUtf8(sql));
        sqlite3_free(sql);
        return 0;
    }

    sqlite3 *m_db;
    QStringList m_sent;
};

// The SELECTs of one pass of the screen, recorded once.
const QStringList &screensReads()
{
    static const QStringList reads = [] {
        OpenScreen open(Thousand.id);
        SentToSqlite sent(talv::host::sqliteHandle(host().session.connection()));
        openChangeSave(*open.screen, 0);
        return sent.reads();
    }();
    return reads;
}

void BM_RecordScreen_OpenChangeOneFieldSave(benchmark::State &state)
{
    const qsizetype reads = screensReads().size();
    OpenScreen open(Thousand.id);
    talv::details::ELGroupDetails &screen = *open.screen;
    talv::clients::StatementRecorder sent;
    qint64 pass = 0;
    for (auto _ : state) {
        sent.clear();
        openChangeSave(screen, ++pass);
    }
    if (host().failed(state))
        return;
    talv::ElementGroupObject *group = screen.group();
    if (!group || group->IsChanged() || group->Members().Count() != Thousand.members ||
        group->References().Count() != Thousand.references)
        state.SkipWithError("the group on screen is not the saved large group");
    state.counters["reads"] = double(reads);
    state.counters["save_statements"] = double(sent.statements().size());
    state.counters["group_updates"] = double(sent.startingWith(QStringLiteral("UPDATE element_group SET")).size());
    state.counters["child_statements"] = double(sent.statements().filter(QStringLiteral("element_group_m")).size() +
                                                sent.statements().filter(QStringLiteral("element_group_r")).size());
}
BENCHMARK(BM_RecordScreen_OpenChangeOneFieldSave)->Unit(benchmark::kMillisecond);

// The screen's reads, each value read, and one UPDATE of the field the screen changes.
qint64 storedVersion(qint32 groupId)
{
    QSqlQuery q(host().session.connection());
    talv::bench::execBound(q, "SELECT version FROM element_group WHERE element_group_id = ?", {groupId});
    return q.next() ? q.value(0).toLongLong() : -1;
}

void BM_BareQSqlQuery_ScreensReadsOneUpdate(benchmark::State &state)
{
    const QStringList &reads = screensReads();
    QSqlQuery q(host().session.connection());
    qint64 pass = 1'000'000;
    // Each UPDATE raises the version by one, so the one it checks is known without a read.
    const qint64 first = storedVersion(Thousand.id);
    qint64 version = first;
    for (auto _ : state) {
        for (const QString &sql : reads)
            talv::bench::readEveryValue(host().session.connection(), sql,
                                        [](const QVariant &v) { benchmark::DoNotOptimize(v); });
        talv::bench::bareOneUpdate(q, Thousand.id, QStringLiteral("element_group_desc"), descriptionText(++pass),
                                   version++);
    }
    if (storedVersion(Thousand.id) != first + qint64(state.iterations()))
        state.SkipWithError("an UPDATE missed the group's version");
    state.counters["reads"] = double(reads.size());
}

// The group row and its children only: the baseline of earlier figures.
void BM_BareQSqlQuery_GroupAndChildReadsOneUpdate(benchmark::State &state)
{
    qint64 pass = 2'000'000;
    for (auto _ : state)
        talv::bench::bareReadsOneUpdate(host().session.connection(), Thousand.id, QStringLiteral("element_group_desc"),
                                        descriptionText(++pass));
}
BENCHMARK(BM_BareQSqlQuery_ScreensReadsOneUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQSqlQuery_GroupAndChildReadsOneUpdate)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- the members grid

// What a renumbering did: the children it changed (their own change flag, which only a written
// value raises) and the children whose position in the grid differs from their stored order.
struct Renumbered {
    qint64 touched = 0;
    qint64 reordered = 0;
};

// The children's display orders as stored, by key, to compare with the rows after a move.
std::vector<std::pair<qint64, qint64>> storedOrders(talv::ComponentCollection &members)
{
    std::vector<std::pair<qint64, qint64>> orders;
    for (qint32 i = 1; i <= members.Count(); ++i) {
        const talv::Component *child = members.Item(i);
        orders.emplace_back(child->property(QStringLiteral("ElementGlobalID")).toLongLong(),
                            child->property(QStringLiteral("DisplayOrder")).toLongLong());
    }
    std::sort(orders.begin(), orders.end());
    return orders;
}

Renumbered countRenumbered(const talv::FlexGrid &grid, talv::ComponentCollection &members,
                           const std::vector<std::pair<qint64, qint64>> &stored)
{
    Renumbered r;
    for (qint32 i = 1; i <= members.Count(); ++i)
        r.touched += members.Item(i)->IsChanged() ? 1 : 0;
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
        const auto at = std::lower_bound(stored.begin(), stored.end(),
                                         std::pair<qint64, qint64>(grid.RowData(row).toLongLong(), 0));
        r.reordered += at != stored.end() && at->second != row - grid.FixedRows() + 1 ? 1 : 0;
    }
    return r;
}

enum class Move { LastToTop, OneUp };

// Each pass starts from the group as stored (LoadData, untimed); `timeLoad` times the grid's own
// load with the move and the renumbering.
void membersGrid(benchmark::State &state, Move move, bool timeLoad)
{
    OpenScreen open(TenThousand.id);
    talv::details::ELGroupDetails &screen = *open.screen;
    auto *grid = screen.findChild<talv::FlexGrid *>(QStringLiteral("fgElements"));
    Renumbered last;
    for (auto _ : state) {
        state.PauseTiming();
        screen.LoadData(TenThousand.id);
        talv::ComponentCollection &members = screen.group()->Members();
        const auto stored = storedOrders(members);
        if (timeLoad)
            state.ResumeTiming();
        screen.LoadElementsGrid();
        if (!timeLoad)
            state.ResumeTiming();
        const int lastRow = grid->Rows() - 1;
        if (move == Move::LastToTop)
            grid->MoveRow(lastRow, grid->FixedRows());
        else
            grid->MoveRow(lastRow / 2, lastRow / 2 - 1);
        screen.RenumberDisplayOrder(grid, &members, QStringLiteral("ElementGlobalID"), QStringLiteral("ecarter"));
        state.PauseTiming();
        last = countRenumbered(*grid, members, stored);
        state.ResumeTiming();
    }
    if (host().failed(state))
        return;
    if (grid->Rows() - grid->FixedRows() != TenThousand.members)
        state.SkipWithError("the grid does not hold every member");
    if (last.touched != last.reordered)
        state.SkipWithError("the renumbering changed other children than those that moved");
    state.counters["rows"] = double(grid->Rows() - grid->FixedRows());
    state.counters["touched"] = double(last.touched);
    state.counters["reordered"] = double(last.reordered);
}
void BM_MembersGrid_Load10000MoveLastToTopRenumber(benchmark::State &state)
{
    membersGrid(state, Move::LastToTop, true);
}
void BM_MembersGrid_MoveLastToTopRenumber(benchmark::State &state)
{
    membersGrid(state, Move::LastToTop, false);
}
void BM_MembersGrid_MoveOneUpRenumber(benchmark::State &state)
{
    membersGrid(state, Move::OneUp, false);
}
BENCHMARK(BM_MembersGrid_Load10000MoveLastToTopRenumber)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MembersGrid_MoveLastToTopRenumber)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MembersGrid_MoveOneUpRenumber)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same rows in a plain vector: the grid's columns and the child's display order.
struct MemberRow {
    qint64 id;
    QString scientificName;
    QString commonName;
    qint64 displayOrder;
};

std::vector<MemberRow> readMembers()
{
    std::vector<MemberRow> rows;
    rows.reserve(size_t(TenThousand.members));
    QSqlQuery q(host().session.connection());
    q.setForwardOnly(true);
    if (!q.exec(talv::details::ChildListEditor::membersConfig().loadSql(TenThousand.id)))
        qFatal("the members query failed");
    while (q.next())
        rows.push_back(
            {q.value(0).toLongLong(), q.value(3).toString(), q.value(4).toString(), qint64(rows.size()) + 1});
    return rows;
}

// Writes each row's position as its display order where it differs; answers how many it wrote.
qint64 renumber(std::vector<MemberRow> &rows)
{
    qint64 written = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].displayOrder != qint64(i) + 1) {
            rows[i].displayOrder = qint64(i) + 1;
            ++written;
        }
    }
    return written;
}

void vectorBaseline(benchmark::State &state, Move move, bool timeLoad)
{
    const std::vector<MemberRow> stored = readMembers();
    qint64 written = 0;
    std::vector<MemberRow> rows;
    for (auto _ : state) {
        if (timeLoad) {
            rows = readMembers();
        } else {
            state.PauseTiming();
            rows = stored;
            state.ResumeTiming();
        }
        if (move == Move::LastToTop)
            std::rotate(rows.begin(), rows.end() - 1, rows.end());
        else
            std::swap(rows[rows.size() / 2 - 1], rows[rows.size() / 2 - 2]);
        written = renumber(rows);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = double(rows.size());
    state.counters["touched"] = double(written);
}
void BM_Vector_Fill10000MoveLastToTopRenumber(benchmark::State &state)
{
    vectorBaseline(state, Move::LastToTop, true);
}
void BM_Vector_MoveLastToTopRenumber(benchmark::State &state)
{
    vectorBaseline(state, Move::LastToTop, false);
}
void BM_Vector_MoveOneUpRenumber(benchmark::State &state)
{
    vectorBaseline(state, Move::OneUp, false);
}
BENCHMARK(BM_Vector_Fill10000MoveLastToTopRenumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vector_MoveLastToTopRenumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vector_MoveOneUpRenumber)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QApplication>(argc, argv, [] { madeHost.reset(); });
}
