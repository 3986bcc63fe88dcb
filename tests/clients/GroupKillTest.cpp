#include "ClientTestSupport.h"

#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

namespace talv::test {
namespace {

using host::Engine;

constexpr int Kills = 200;

// The children of the groups the worker may change, as they were before it started.
QMap<QString, QStringList> childrenOf(const host::Database &db, const QString &groups)
{
    QMap<QString, QStringList> all;
    for (const QString &table : {QStringLiteral("element_group_membership"), QStringLiteral("element_group_reference")})
        all.insert(
            table,
            rowsOf(
                db.connection(),
                QStringLiteral("SELECT * FROM %1 WHERE element_group_id IN (%2) ORDER BY 1, 2, 3").arg(table, groups)));
    return all;
}

// Every group the worker wrote carries one mark in all its comment fields, and every one of its
// children carries the same mark: a group saved in part would mix marks (or keep old children).
QStringList mixedGroups(const host::Database &db)
{
    QStringList mixed;
    const QStringList marked =
        rowsOf(db.connection(), "SELECT element_group_id, element_group_desc FROM element_group "
                                "WHERE element_group_desc LIKE 'gen %' AND range_com = element_group_desc "
                                "AND habitat_com = element_group_desc AND ecology_com = element_group_desc "
                                "AND threat_com = element_group_desc AND status_com = element_group_desc "
                                "AND trend_com = element_group_desc");
    const int all = rowsOf(db.connection(), "SELECT count(*) FROM element_group WHERE element_group_desc LIKE 'gen %' "
                                            "OR range_com LIKE 'gen %' OR trend_com LIKE 'gen %'")
                        .value(0)
                        .toInt();
    if (all != marked.size())
        mixed << QStringLiteral("%1 groups with mixed comment marks").arg(all - marked.size());
    for (const QString &row : marked) {
        const QString id = row.section(u'|', 0, 0);
        const QString mark = QStringLiteral("g") + row.section(u'|', 1).mid(4);
        const bool isNew = id.toInt() > 160;
        for (const auto &[table, expected] : {std::pair{QStringLiteral("element_group_membership"), isNew ? 3 : -1},
                                              std::pair{QStringLiteral("element_group_reference"), isNew ? 1 : -1}}) {
            const QStringList children =
                rowsOf(db.connection(),
                       QStringLiteral("SELECT rec_last_mod_user, display_order FROM %1 WHERE element_group_id = ? "
                                      "ORDER BY display_order")
                           .arg(table),
                       {id.toInt()});
            for (qsizetype i = 0; i < children.size(); ++i) {
                if (children.at(i) != QStringLiteral("%1|%2").arg(mark).arg(i + 1))
                    mixed << QStringLiteral("group %1, %2: %3").arg(id, table, children.at(i));
            }
            if (expected >= 0 && children.size() != expected)
                mixed << QStringLiteral("new group %1 has %2 rows in %3").arg(id).arg(children.size()).arg(table);
        }
    }
    return mixed;
}

TEST(GroupSaveKilled, EveryGroupIsWhollyOldOrWhollyNewAfterHundredsOfKills)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::WithSample);
    const QString file = db->options().name;
    const QString workerGroups = QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12");
    const QString countMembers = QStringLiteral("SELECT element_group_id, count(*) FROM element_group_membership "
                                                "WHERE element_group_id IN (%1) GROUP BY element_group_id ORDER BY 1")
                                     .arg(workerGroups);
    const QStringList memberCounts = rowsOf(db->database().connection(), countMembers);
    const QMap<QString, QStringList> untouched = childrenOf(db->database(), workerGroups);

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int killedWhileSaving = 0;
    int commits = 0;
    for (int run = 0; run < Kills; ++run) {
        QProcess worker;
        worker.start(QStringLiteral(TALV_GROUP_SAVE_WORKER), {file, QString::number(random.generate())});
        ASSERT_TRUE(worker.waitForStarted());
        QByteArray said;
        while (!said.contains('r') && worker.waitForReadyRead())
            said += worker.readAllStandardOutput();
        ASSERT_TRUE(said.contains('r')) << "seed " << seed << ": " << worker.readAllStandardError().toStdString();
        // The last run goes on until it has saved a few groups, so that the check below has work to see.
        if (run + 1 < Kills) {
            QThread::usleep(random.bounded(20000));
        } else {
            while (said.count('c') < 5 && worker.waitForReadyRead())
                said += worker.readAllStandardOutput();
        }
        ASSERT_EQ(worker.state(), QProcess::Running)
            << "seed " << seed << ": the worker stopped by itself: " << worker.readAllStandardError().toStdString();
        worker.kill();
        worker.waitForFinished();
        said += worker.readAllStandardOutput();
        commits += int(said.count('c'));
        killedWhileSaving += said.endsWith('b') ? 1 : 0;
    }
    RecordProperty("commits", commits);
    RecordProperty("killed_while_saving", killedWhileSaving);

    auto after = db->openAnother();
    EXPECT_EQ(rowsOf(after->connection(), "PRAGMA integrity_check"), QStringList{"ok"});
    EXPECT_TRUE(rowsOf(after->connection(), "PRAGMA foreign_key_check").isEmpty());
    EXPECT_GT(rowsOf(after->connection(), "SELECT count(*) FROM element_group WHERE element_group_desc LIKE 'gen %'")
                  .value(0)
                  .toInt(),
              0);
    EXPECT_EQ(mixedGroups(*after), QStringList()) << "seed " << seed;
    // A swap keeps the number of members; groups never saved keep their children as they were.
    EXPECT_EQ(rowsOf(after->connection(), countMembers), memberCounts);
    const QStringList neverSaved =
        rowsOf(after->connection(), QStringLiteral("SELECT element_group_id FROM element_group WHERE element_group_id "
                                                   "IN (%1) AND element_group_desc NOT LIKE 'gen %'")
                                        .arg(workerGroups));
    if (!neverSaved.isEmpty()) {
        const QMap<QString, QStringList> now = childrenOf(*after, neverSaved.join(u','));
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            const QStringList before = untouched.value(it.key()).filter(
                QRegularExpression(QStringLiteral("^(%1)\\|").arg(neverSaved.join(u'|'))));
            EXPECT_EQ(it.value(), before) << it.key().toStdString();
        }
    }
}

} // namespace
} // namespace talv::test
