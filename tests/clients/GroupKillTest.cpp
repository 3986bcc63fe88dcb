#include "ClientTestSupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

namespace talv::test {
namespace {

constexpr int Kills = 200;
const QString WorkerGroups = QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12");

// What a half-written save would leave: for each kind of damage, the groups that show it. The
// worker marks every comment field of a group and every one of its children ("gen T" and "gT")
// at each save, keeps the member count of an existing group, and gives a new one 3 members and
// 1 reference.
QStringList damage(const QSqlDatabase &db, const QString &children, int childrenOfANewGroup)
{
    const QString marked = QStringLiteral("(SELECT element_group_id, 'g' || substr(element_group_desc, 5) AS mark "
                                          "FROM element_group WHERE element_group_desc LIKE 'gen %')");
    return rowsOf(db, "SELECT 'mixed comments', element_group_id FROM element_group WHERE element_group_desc "
                      "LIKE 'gen %' AND NOT (range_com = element_group_desc AND habitat_com = element_group_desc "
                      "AND ecology_com = element_group_desc AND threat_com = element_group_desc "
                      "AND status_com = element_group_desc AND trend_com = element_group_desc)") +
           rowsOf(db, QStringLiteral("SELECT 'child of another save', c.element_group_id FROM %1 c JOIN %2 m "
                                     "ON m.element_group_id = c.element_group_id WHERE c.rec_last_mod_user <> m.mark")
                          .arg(children, marked)) +
           rowsOf(db, QStringLiteral("SELECT 'display order', element_group_id FROM %1 GROUP BY element_group_id "
                                     "HAVING min(display_order) <> 1 OR max(display_order) <> count(*)")
                          .arg(children)) +
           rowsOf(db, QStringLiteral("SELECT 'new group without its children', g.element_group_id FROM element_group g "
                                     "WHERE g.element_group_id > 160 AND (SELECT count(*) FROM %1 c "
                                     "WHERE c.element_group_id = g.element_group_id) <> %2")
                          .arg(children)
                          .arg(childrenOfANewGroup));
}

QStringList childrenOfUnsavedGroups(const QSqlDatabase &db, const QString &children)
{
    return rowsOf(db, QStringLiteral("SELECT c.* FROM %1 c JOIN element_group g ON g.element_group_id = "
                                     "c.element_group_id WHERE g.element_group_id IN (%2) AND "
                                     "g.element_group_desc NOT LIKE 'gen %' ORDER BY 1, 2")
                          .arg(children, WorkerGroups));
}

TEST(GroupSaveKilled, EveryGroupIsWhollyOldOrWhollyNewAfterHundredsOfKills)
{
    TALV_OPEN_ENGINE_DATABASE(db, host::Engine::SQLite, EngineDatabase::WithSample);
    const QString countMembers = QStringLiteral("SELECT element_group_id, count(*) FROM element_group_membership "
                                                "WHERE element_group_id IN (%1) GROUP BY element_group_id ORDER BY 1")
                                     .arg(WorkerGroups);
    const QStringList memberCounts = rowsOf(db->database().connection(), countMembers);
    const QList<std::pair<QString, int>> tables = {{"element_group_membership", 3}, {"element_group_reference", 1}};
    QStringList untouched;
    for (const auto &[table, unused] : tables)
        untouched << rowsOf(
            db->database().connection(),
            QStringLiteral("SELECT * FROM %1 WHERE element_group_id IN (%2) ORDER BY 1, 2").arg(table, WorkerGroups));

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int killedWhileSaving = 0;
    for (int run = 0; run < Kills; ++run) {
        QProcess worker;
        worker.start(QStringLiteral(TALV_GROUP_SAVE_WORKER), {db->options().name, QString::number(random.generate())});
        QByteArray said;
        while (!said.contains('r') && worker.waitForReadyRead())
            said += worker.readAllStandardOutput();
        ASSERT_TRUE(said.contains('r')) << "seed " << seed << ": " << worker.readAllStandardError().toStdString();
        // The last run saves a few groups in any case, so that the checks below have work to see.
        if (run + 1 < Kills)
            QThread::usleep(random.bounded(20000));
        while (run + 1 == Kills && said.count('c') < 5 && worker.waitForReadyRead())
            said += worker.readAllStandardOutput();
        ASSERT_EQ(worker.state(), QProcess::Running)
            << "seed " << seed << ": the worker stopped by itself: " << worker.readAllStandardError().toStdString();
        worker.kill();
        worker.waitForFinished();
        killedWhileSaving += (said + worker.readAllStandardOutput()).endsWith('b') ? 1 : 0;
    }
    RecordProperty("killed_while_saving", killedWhileSaving);

    const auto after = db->openAnother();
    const QSqlDatabase connection = after->connection();
    EXPECT_EQ(rowsOf(connection, "PRAGMA integrity_check"), QStringList{"ok"});
    EXPECT_TRUE(rowsOf(connection, "PRAGMA foreign_key_check").isEmpty());
    EXPECT_NE(rowsOf(connection, "SELECT count(*) FROM element_group WHERE element_group_desc LIKE 'gen %'"),
              QStringList{"0"});
    EXPECT_EQ(rowsOf(connection, countMembers), memberCounts);
    for (const auto &[table, childrenOfANewGroup] : tables) {
        EXPECT_EQ(damage(connection, table, childrenOfANewGroup), QStringList())
            << table.toStdString() << ", seed " << seed;
        // A group the worker never saved keeps the children it had.
        for (const QString &row : childrenOfUnsavedGroups(connection, table))
            EXPECT_TRUE(untouched.contains(row)) << row.toStdString();
    }
}

} // namespace
} // namespace talv::test
