// The audit-log viewer on a record with 10,000 audited column changes: LoadAuditData asks the
// host for the trail and shows it with its cell colours and fitted rows, and opening the window
// adds its first paint. Beside them, in the same run, the host's Auditing query for the same
// trail alone, which the viewer cannot beat. The database is the sample data set in a temporary
// SQLite file with the long trail added.
#include "BenchMain.h"
#include "clients/ClientClasses.h"
#include "dialogs/frmAuditLog.h"
#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "platform/FlexGrid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

constexpr qint32 AuditedRecord = 777777;
constexpr int Changes = 10000;

struct Host {
    QTemporaryDir folder;
    std::unique_ptr<talv::host::HostSession> session;
    std::unique_ptr<talv::host::ReferenceAppManager> manager;
};

Host &host()
{
    static Host made = [] {
        Host h;
        talv::host::ConnectionOptions o;
        o.name = h.folder.filePath(QStringLiteral("groups.sqlite"));
        o.createIfMissing = true;
        auto db = talv::host::Database::open(o);
        db->ensureSchema();
        db->loadSampleData();
        QSqlQuery q(db->connection());
        q.exec(QStringLiteral("INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, "
                              "action, user_name, change_date, org_unit_id) VALUES (800000, 'ELEMENT_GROUP', %1, "
                              "'ELEMENT_GROUP', '%1', 'U', 'ecarter', '2020-01-01 00:00:00', 2)")
                   .arg(AuditedRecord));
        q.exec(QStringLiteral("INSERT INTO audit_log_column (audit_log_column_id, audit_log_id, column_name, "
                              "old_value, new_value) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                              "WHERE i < %1) SELECT 800000 + i, 800000, 'col' || i, 'old value ' || i, 'new' FROM n")
                   .arg(Changes));
        talv::clients::registerClientClasses();
        h.session = std::make_unique<talv::host::HostSession>(std::move(db), QStringLiteral("ecarter"));
        h.manager = std::make_unique<talv::host::ReferenceAppManager>(*h.session);
        return h;
    }();
    return made;
}

void BM_Viewer_LoadAuditData(benchmark::State &state)
{
    Host &h = host();
    for (auto _ : state) {
        talv::frmAuditLog log;
        log.LoadAuditData(QStringLiteral("ELEMENT_GROUP"), AuditedRecord, h.manager.get());
        benchmark::DoNotOptimize(log.grid()->Rows());
    }
    state.counters["rows"] = double(Changes);
}

// What the user waits for: the trail loaded and the window on screen with its rows painted.
void BM_Viewer_OpenAndShow(benchmark::State &state)
{
    Host &h = host();
    for (auto _ : state) {
        talv::frmAuditLog log;
        log.LoadAuditData(QStringLiteral("ELEMENT_GROUP"), AuditedRecord, h.manager.get());
        log.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(log.grid()->viewport()->grab().size());
    }
}

void BM_Host_AuditingQueryAlone(benchmark::State &state)
{
    Host &h = host();
    for (auto _ : state) {
        const talv::RecordsetPtr rows = h.manager->Auditing(QStringLiteral("ELEMENT_GROUP"), AuditedRecord, {});
        benchmark::DoNotOptimize(rows->RecordCount());
    }
}

} // namespace

BENCHMARK(BM_Viewer_LoadAuditData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Viewer_OpenAndShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Host_AuditingQueryAlone)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QApplication>(argc, argv);
}
