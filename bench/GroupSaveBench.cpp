// The element-group client on a group with 1,000 members and 200 references: open it, change one
// field, save. Beside it, in the same run, the same three reads and one version-checked UPDATE in
// one transaction done with bare QSqlQuery. The database is the sample data set in a temporary
// SQLite file, with the large group added.
#include "BenchLargeGroup.h"
#include "BenchMain.h"

#include "clients/ClientClasses.h"
#include "clients/ServerDirectory.h"
#include "clients/StatementRecorder.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "host/Database.h"
#include "host/HostSession.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

const QString Server = QStringLiteral("Bench Server");
constexpr int Members = 1000;
constexpr int References = 200;
constexpr qint32 LargeGroup = 9500;

const talv::bench::LargeGroup Large{LargeGroup, QStringLiteral("A Thousand Plants"), Members, References, 10001};

talv::host::Database &database()
{
    static QTemporaryDir folder;
    static std::unique_ptr<talv::host::Database> db = [] {
        talv::host::ConnectionOptions o;
        o.name = folder.filePath(QStringLiteral("groups.sqlite"));
        o.createIfMissing = true;
        auto made = talv::host::Database::open(o);
        made->ensureSchema();
        made->loadSampleData();
        talv::bench::addLargeGroup(made->connection(), Large);
        talv::clients::registerClientClasses();
        // Saves are filed under a user.
        talv::clients::ServerDirectory::Register(
            Server, talv::host::clientConnection(*made, {1, QStringLiteral("ecarter"), 2}));
        return made;
    }();
    return *db;
}

QString threatText(qint64 iteration)
{
    return QStringLiteral("Threat noted on pass %1").arg(iteration);
}

void BM_Client_OpenChangeOneFieldSave(benchmark::State &state)
{
    database();
    qint64 pass = 0;
    talv::clients::StatementRecorder sent;
    for (auto _ : state) {
        std::unique_ptr<talv::ElementGroupObject> group(
            talv::ClassRegistry::instance().CreateAs<talv::ElementGroupObject>(talv::names::ElementGroupClass));
        group->Open(Server, talv::clients::SQLiteServer);
        group->LoadByID(LargeGroup);
        group->setProperty(QStringLiteral("ThreatCom"), threatText(++pass));
        sent.clear();
        group->Save();
        benchmark::DoNotOptimize(group->Members().Count() + group->References().Count());
    }
    state.counters["statements"] = double(sent.statements().size());
    state.counters["group_updates"] = double(sent.startingWith(QStringLiteral("UPDATE element_group SET")).size());
    state.counters["child_statements"] = double(sent.statements().filter(QStringLiteral("element_group_m")).size() +
                                                sent.statements().filter(QStringLiteral("element_group_r")).size());
}

// The same reads (the group row, its members, its references, every value touched) and one
// version-checked UPDATE in an immediate transaction.
void BM_BareQSqlQuery_SameReadsOneUpdate(benchmark::State &state)
{
    QSqlDatabase db = database().connection();
    qint64 pass = 0;
    for (auto _ : state)
        talv::bench::bareReadsOneUpdate(db, LargeGroup, QStringLiteral("threat_com"), threatText(++pass));
}

BENCHMARK(BM_Client_OpenChangeOneFieldSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQSqlQuery_SameReadsOneUpdate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
