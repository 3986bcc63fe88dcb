// The element-group client on a group with 1,000 members and 200 references: open it, change one
// field, save. Beside it, in the same run, the same three reads and one version-checked UPDATE in
// one transaction done with bare QSqlQuery. The database is the sample data set in a temporary
// SQLite file, with the large group added.
#include "clients/ClientClasses.h"
#include "clients/ServerDirectory.h"
#include "clients/StatementRecorder.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "host/Database.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

const QString Server = QStringLiteral("Bench Server");
constexpr int Members = 1000;
constexpr int References = 200;
constexpr qint32 LargeGroup = 9500;

void exec(QSqlQuery &q, const QString &sql, const QVariantList &values = {})
{
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        qFatal("%s", qPrintable(sql));
}

// Elements and references beyond the sample's, and the group that holds a thousand of them.
void addLargeGroup(talv::host::Database &db)
{
    QSqlDatabase connection = db.connection();
    connection.transaction();
    QSqlQuery q(connection);
    for (int i = 1; i <= Members; ++i) {
        exec(q, "INSERT INTO scientific_name (scientific_name_id, scientific_name) VALUES (?, ?)",
             {10000 + i, QStringLiteral("Benchia species %1").arg(i)});
        exec(q, "INSERT INTO element_global (element_global_id, gname_id, element_category) VALUES (?, ?, 'Plant')",
             {10000 + i, 10000 + i});
    }
    for (int i = 1; i <= References; ++i)
        exec(q, "INSERT INTO reference (reference_id, reference_code, full_citation) VALUES (?, ?, ?)",
             {10000 + i, QStringLiteral("BENCH%1").arg(i), QStringLiteral("Bench, A. Volume %1.").arg(i)});
    exec(q,
         "INSERT INTO element_group (element_group_id, element_group_name, d_element_group_type_id, "
         "d_group_member_type_id, org_unit_id, universal_key, rec_create_user, rec_create_date, rec_last_mod_user, "
         "rec_last_mod_date) VALUES (?, 'A Thousand Plants', 1, 1, 1, 'ELGRP09500', 'bench', '2024-01-01 00:00:00', "
         "'bench', '2024-01-01 00:00:00')",
         {LargeGroup});
    for (int i = 1; i <= Members; ++i)
        exec(q,
             "INSERT INTO element_group_membership (element_group_id, element_global_id, display_order, "
             "rec_create_user, rec_create_date) VALUES (?, ?, ?, 'bench', '2024-01-01 00:00:00')",
             {LargeGroup, 10000 + i, i});
    for (int i = 1; i <= References; ++i)
        exec(q,
             "INSERT INTO element_group_reference (element_group_id, reference_id, display_order, rec_create_user, "
             "rec_create_date) VALUES (?, ?, ?, 'bench', '2024-01-01 00:00:00')",
             {LargeGroup, 10000 + i, i});
    connection.commit();
}

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
        addLargeGroup(*made);
        talv::clients::registerClientClasses();
        talv::clients::ServerDirectory::Register(
            Server, {made->connection().connectionName(),
                     talv::clients::SQLiteServer,
                     [db = made.get()](const QString &sequence) { return db->nextId(sequence); },
                     {1, QStringLiteral("ecarter"), 2}}); // saves are filed under a user
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
    for (auto _ : state) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        qint64 version = 0;
        exec(q, "SELECT * FROM element_group WHERE element_group_id = ?", {LargeGroup});
        while (q.next()) {
            for (int f = 0; f < 18; ++f)
                benchmark::DoNotOptimize(q.value(f));
            version = q.value(17).toLongLong();
        }
        for (const char *table : {"element_group_membership", "element_group_reference"}) {
            exec(q,
                 QStringLiteral("SELECT * FROM %1 WHERE element_group_id = ? ORDER BY display_order")
                     .arg(QLatin1String(table)),
                 {LargeGroup});
            while (q.next()) {
                for (int f = 0; f < 7; ++f)
                    benchmark::DoNotOptimize(q.value(f));
            }
        }
        exec(q, "BEGIN IMMEDIATE");
        exec(q,
             "UPDATE element_group SET threat_com = ?, rec_last_mod_date = ?, version = version + 1 "
             "WHERE element_group_id = ? AND version = ?",
             {threatText(++pass), QStringLiteral("2024-01-02 00:00:00"), LargeGroup, version});
        exec(q, "COMMIT");
    }
}

BENCHMARK(BM_Client_OpenChangeOneFieldSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQSqlQuery_SameReadsOneUpdate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
