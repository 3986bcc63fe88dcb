#include "SessionFixture.h"

#include "clients/WriteTransaction.h"
#include "host/GroupWrites.h"
#include "host/SqliteReader.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

using namespace talv;
using test::SessionOnEngine;

namespace {

// A writer on a connection of its own, in a second thread, racing a holder whose change on
// another connection is not committed yet. The holder lets go only once the writer waits for it
// (SQLite: the writer's busy handler is called; PostgreSQL: the server shows it waiting for a
// lock), so the race runs the same way every time.
class Race
{
public:
    Race(const host::ConnectionOptions &options, std::function<void(host::Database &)> write)
        : m_thread([this, options, write = std::move(write)] { run(options, write); })
    {}
    ~Race()
    {
        release();
        if (m_thread.joinable())
            m_thread.join();
    }

    // Whether the writer came to wait for the holder (false: it finished without waiting).
    bool writerWaits(const QSqlDatabase &observer)
    {
        std::unique_lock lock(m_mutex);
        if (observer.driver()->dbmsType() == QSqlDriver::SQLite) {
            m_changed.wait(lock, [this] { return m_waiting || m_finished; });
            return m_waiting;
        }
        while (!m_finished) {
            lock.unlock();
            const bool waiting =
                test::rowsOf(observer, "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                                       "AND wait_event_type = 'Lock'")
                    .value(0)
                    .toInt() > 0;
            lock.lock();
            if (waiting)
                return m_waiting = true;
        }
        return false;
    }
    // After the holder committed: the writer's error, empty when it succeeded.
    QString outcome()
    {
        release();
        m_thread.join();
        return m_error;
    }

private:
    static int onBusy(void *race, int)
    {
        auto *self = static_cast<Race *>(race);
        std::unique_lock lock(self->m_mutex);
        self->m_waiting = true;
        self->m_changed.notify_all();
        self->m_changed.wait(lock, [self] { return self->m_released; });
        return 1; // try again
    }
    void run(const host::ConnectionOptions &options, const std::function<void(host::Database &)> &write)
    {
        try {
            const auto db = host::Database::open(options);
            if (db->engine() == host::Engine::SQLite)
                sqlite3_busy_handler(host::sqliteHandle(db->connection()), &Race::onBusy, this);
            write(*db);
        } catch (const std::exception &e) {
            m_error = describe(e);
        }
        const std::lock_guard lock(m_mutex);
        m_finished = true;
        m_changed.notify_all();
    }
    void release()
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_waiting = false, m_released = false, m_finished = false;
    QString m_error;
    std::thread m_thread;
};

class GroupWrites : public SessionOnEngine
{
protected:
    // A sample group that has members and references.
    qint32 groupWithChildren()
    {
        return qint32(
            count("SELECT min(g.element_group_id) FROM element_group g WHERE "
                  "EXISTS (SELECT 1 FROM element_group_membership m WHERE m.element_group_id = g.element_group_id) "
                  "AND EXISTS (SELECT 1 FROM element_group_reference r "
                  "WHERE r.element_group_id = g.element_group_id)"));
    }
    QStringList members(qint32 group)
    {
        return rows("SELECT element_global_id FROM element_group_membership WHERE element_group_id = ? "
                    "ORDER BY display_order",
                    {group});
    }
    qint32 lastGroup() { return qint32(count("SELECT max(element_group_id) FROM element_group")); }
    // The old value the trail filed for a column of the group's own row, in its last audit row.
    QString auditedOldValue(qint32 group, const QString &column)
    {
        return rows("SELECT c.old_value FROM audit_log l JOIN audit_log_column c ON c.audit_log_id = l.audit_log_id "
                    "WHERE l.record_id = ? AND l.table_name = 'ELEMENT_GROUP' AND c.column_name = ? "
                    "ORDER BY l.audit_log_id DESC",
                    {group, column})
            .value(0);
    }
    // Runs `write` (a delete or a copy by ecarter, on its own connection) while another connection
    // holds the uncommitted `change`; commits the change once the write waits for it. The write's
    // error, or empty when it went through.
    QString raceAgainst(const QStringList &change,
                        const std::function<void(host::Database &, host::AuditTrail &, const host::Author &)> &write)
    {
        const auto holderDb = m_db->openAnother();
        clients::WriteTransaction holder(holderDb->connection());
        for (const QString &statement : change)
            test::rowsOf(holderDb->connection(), statement);
        Race race(m_db->options(), [&write](host::Database &db) {
            host::AuditTrail audit(db.connection(), [&db](const QString &sequence) { return db.nextId(sequence); });
            write(db, audit, host::Author{"ecarter", 1});
        });
        EXPECT_TRUE(race.writerWaits(m_db->database().connection())) << "the write did not wait for the other";
        holder.commit();
        return race.outcome();
    }
    // Without `table` the write fails midway, with the database's own message naming it, and
    // whatever it had already written is undone.
    void expectRolledBackWithout(const QString &table, const std::function<void()> &write)
    {
        exec(QStringLiteral("DROP TABLE %1%2").arg(table, onPostgreSQL() ? " CASCADE" : ""));
        const QStringList before = groupState(table);
        try {
            write();
            ADD_FAILURE() << "the write went through without " << table.toStdString();
        } catch (const Error &e) {
            EXPECT_TRUE(e.description().contains(table, Qt::CaseInsensitive)) << e.description().toStdString();
        }
        EXPECT_EQ(groupState(table), before);
    }
};

} // namespace

TEST_P(GroupWrites, DeleteRemovesTheGroupWithItsChildrenAndAuditsEveryRow)
{
    const qint32 id = groupWithChildren();
    ASSERT_GT(id, 0);
    const QString name = rows("SELECT element_group_name FROM element_group WHERE element_group_id = ?", {id}).value(0);
    const qint64 children = count("SELECT count(*) FROM element_group_membership WHERE element_group_id = ?", {id}) +
                            count("SELECT count(*) FROM element_group_reference WHERE element_group_id = ?", {id});
    const QString othersSql = "SELECT * FROM element_group_membership WHERE element_group_id <> ? ORDER BY 1, 2";
    const QStringList others = rows(othersSql, {id});

    // The trail names the session's user, whoever the caller says it is.
    EXPECT_TRUE(manager->Delete("delete_table_data", id, "somebody_else", "ELEMENT_GROUP"));
    EXPECT_EQ(count("SELECT count(*) FROM element_group WHERE element_group_id = ?", {id}), 0);
    EXPECT_EQ(members(id), QStringList());
    EXPECT_EQ(count("SELECT count(*) FROM element_group_reference WHERE element_group_id = ?", {id}), 0);
    EXPECT_EQ(rows(othersSql, {id}), others);
    // One D row per removed row, filed under the group, by the user and in the user's unit.
    EXPECT_EQ(count("SELECT count(*) FROM audit_log WHERE record_table = 'ELEMENT_GROUP' AND record_id = ? "
                    "AND action = 'D' AND user_name = 'ecarter' AND org_unit_id = 1",
                    {id}),
              1 + children);
    // The trail outlives the record: the viewer still finds the old name.
    const RecordsetPtr nameTrail = manager->Auditing("element_group", id, "ELEMENT_GROUP_NAME");
    ASSERT_GE(nameTrail->RecordCount(), 1);
    nameTrail->MoveLast();
    EXPECT_EQ(nameTrail->Value("ACTION").toString() + nameTrail->Value("OLD_VALUE").toString(), "D" + name);
}

TEST_P(GroupWrites, RefusedWritesChangeNothing)
{
    const qint32 id = groupWithChildren();
    const QStringList before = groupState();
    EXPECT_THROW(manager->Delete("delete_table_data", 987654, "ecarter", "ELEMENT_GROUP"), Error);
    EXPECT_THROW(manager->Delete("delete_table_data", id, "ecarter", "REFERENCE"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", "1; DELETE FROM element_group", 2, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", id, id, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", id, 987654, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_OTHER", id, 2, "ecarter"), Error);
    login("jbrandt");
    try {
        manager->Delete("delete_table_data", id, "jbrandt", "ELEMENT_GROUP");
        ADD_FAILURE() << "a read-only user deleted a group";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), host::ReferenceAppManager::NotAllowed);
    }
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", id, 2, "jbrandt"), Error);
    EXPECT_EQ(groupState(), before);

    login("ecarter");
    session->connection().close(); // a lost connection
    EXPECT_THROW(manager->Delete("delete_table_data", id, "ecarter", "ELEMENT_GROUP"), Error);
    EXPECT_EQ(groupState(), before);
}

TEST_P(GroupWrites, DeleteFailingMidwayRestoresTheRowsAlreadyDeleted)
{
    const qint32 id = groupWithChildren();
    // The first audit column is written after the members are gone.
    expectRolledBackWithout("audit_log_column",
                            [&] { manager->Delete("delete_table_data", id, "ecarter", "ELEMENT_GROUP"); });
}

TEST_P(GroupWrites, CopyCarriesContentAndAddsOnlyMissingChildren)
{
    const qint32 source = groupWithChildren();
    const qint32 target = qint32(count("SELECT max(element_group_id) FROM element_group"));
    // The target already holds one of the source's members; it must not be added twice.
    const QStringList sourceMembers = members(source);
    ASSERT_GE(sourceMembers.size(), 2);
    exec("DELETE FROM element_group_membership WHERE element_group_id = ? AND element_global_id = ?",
         {target, sourceMembers.first().toInt()});
    exec("INSERT INTO element_group_membership (element_group_id, element_global_id, display_order) VALUES (?, ?, 999)",
         {target, sourceMembers.first().toInt()});
    QStringList expectedMembers = members(target);
    for (const QString &m : sourceMembers)
        if (!expectedMembers.contains(m))
            expectedMembers << m;
    const QString identity = "SELECT element_group_name, d_element_group_type_id, org_unit_id, universal_key, "
                             "rec_create_user FROM element_group WHERE element_group_id = ?";
    const QStringList targetIdentity = rows(identity, {target});
    const QString content =
        "SELECT " + host::copiedGroupColumns().join(", ") + " FROM element_group WHERE element_group_id = ?";

    // The search hands over the picked id as text.
    EXPECT_TRUE(manager->Copy("COPY_EL_GROUPS", QString(" %1 ").arg(source), target, "ecarter"));
    EXPECT_EQ(rows(content, {target}), rows(content, {source}));
    EXPECT_EQ(rows(identity, {target}), targetIdentity);
    EXPECT_EQ(members(target), expectedMembers);
    const QString references = "SELECT reference_id FROM element_group_reference WHERE element_group_id = ?";
    for (const QString &reference : rows(references, {source}))
        EXPECT_TRUE(rows(references, {target}).contains(reference)) << reference.toStdString();
    const RecordsetPtr descTrail = manager->Auditing("ELEMENT_GROUP", target, "element_group_desc");
    EXPECT_EQ(descTrail->ValueAt(descTrail->RecordCount() - 1, descTrail->FieldIndex(u"ACTION")).toString(), "U");

    // Copying again finds nothing missing and writes nothing.
    const QStringList after = groupState();
    EXPECT_TRUE(manager->Copy("COPY_EL_GROUPS", source, target, "ecarter"));
    EXPECT_EQ(groupState(), after);
}

TEST_P(GroupWrites, CopyFailingMidwayRestoresTheFieldsAndMembersAlreadyWritten)
{
    const qint32 source = groupWithChildren();
    const qint32 target = qint32(count("SELECT max(element_group_id) FROM element_group"));
    ASSERT_NE(rows("SELECT element_group_desc FROM element_group WHERE element_group_id = ?", {source}),
              rows("SELECT element_group_desc FROM element_group WHERE element_group_id = ?", {target}));
    // The fields and the new members are written before the citations are read.
    expectRolledBackWithout("element_group_reference",
                            [&] { manager->Copy("COPY_EL_GROUPS", source, target, "ecarter"); });
}

TEST_P(GroupWrites, ADeleteWaitsForAnotherWriterAndFilesWhatThatOneLeft)
{
    const qint32 id = groupWithChildren();
    const QString error = raceAgainst(
        {QString("UPDATE element_group SET element_group_desc = 'changed meanwhile' WHERE element_group_id = %1")
             .arg(id)},
        [id](host::Database &db, host::AuditTrail &audit, const host::Author &author) {
            host::deleteElementGroup(db.connection(), audit, id, author);
        });
    EXPECT_EQ(error, "");
    EXPECT_EQ(count("SELECT count(*) FROM element_group WHERE element_group_id = ?", {id}), 0);
    EXPECT_EQ(auditedOldValue(id, "element_group_desc"), "changed meanwhile");
}

TEST_P(GroupWrites, TwoCopiesIntoOneTargetFollowOneAnother)
{
    const qint32 source = groupWithChildren();
    const qint32 target = lastGroup();
    // The other copy, half done: the target's description replaced, one member appended.
    const qint32 element = qint32(count("SELECT max(element_global_id) FROM element_global WHERE element_global_id "
                                        "NOT IN (SELECT element_global_id FROM element_group_membership "
                                        "WHERE element_group_id IN (?, ?))",
                                        {source, target}));
    const qint64 order = count("SELECT coalesce(max(display_order), 0) + 1 FROM element_group_membership "
                               "WHERE element_group_id = ?",
                               {target});
    const QStringList targetBefore = members(target);
    const QString error = raceAgainst(
        {QString("UPDATE element_group SET element_group_desc = 'first copy' WHERE element_group_id = %1").arg(target),
         QString("INSERT INTO element_group_membership (element_group_id, element_global_id, "
                 "display_order) VALUES (%1, %2, %3)")
             .arg(target)
             .arg(element)
             .arg(order)},
        [&](host::Database &db, host::AuditTrail &audit, const host::Author &author) {
            host::copyElementGroup(db.connection(), audit, source, target, author);
        });
    EXPECT_EQ(error, "");
    // The second copy starts from what the first one left: its members follow the first's, each
    // in a place of its own, and the trail names the first's description as the one replaced.
    QStringList expected = targetBefore;
    expected << QString::number(element);
    for (const QString &m : members(source))
        if (!expected.contains(m))
            expected << m;
    EXPECT_EQ(members(target), expected);
    EXPECT_EQ(count("SELECT count(DISTINCT display_order) FROM element_group_membership WHERE element_group_id = ?",
                    {target}),
              expected.size());
    EXPECT_EQ(auditedOldValue(target, "element_group_desc"), "first copy");
}

TEST_P(GroupWrites, ACopyIntoAGroupDeletedMeanwhileCopiesNothing)
{
    const qint32 source = groupWithChildren();
    const qint32 target = lastGroup();
    // The target already holds the source's members and references: only its fields would change.
    for (const char *child : {"element_group_membership", "element_group_reference"}) {
        const QString key = QString(child).endsWith("membership") ? "element_global_id" : "reference_id";
        exec(QString("INSERT INTO %1 (element_group_id, %2, display_order) SELECT ?, %2, display_order + 1000 "
                     "FROM %1 WHERE element_group_id = ? AND %2 NOT IN (SELECT %2 FROM %1 WHERE element_group_id = ?)")
                 .arg(child, key),
             {target, source, target});
    }
    const qint64 trail = count("SELECT count(*) FROM audit_log");
    const QString error = raceAgainst({QString("DELETE FROM element_group WHERE element_group_id = %1").arg(target)},
                                      [&](host::Database &db, host::AuditTrail &audit, const host::Author &author) {
                                          host::copyElementGroup(db.connection(), audit, source, target, author);
                                      });
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM audit_log"), trail);
}

TEST_P(GroupWrites, AWriteThatFindsFewerRowsThanItReadIsUndone)
{
    // Rows that vanish between reading and writing, as they could under another writer but for
    // the locks: the database skips them.
    if (onPostgreSQL()) {
        exec("CREATE FUNCTION skip_row() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RETURN NULL; END $$");
        exec("CREATE TRIGGER skip_members BEFORE DELETE ON element_group_membership FOR EACH ROW "
             "EXECUTE FUNCTION skip_row()");
        exec("CREATE TRIGGER skip_groups BEFORE UPDATE ON element_group FOR EACH ROW EXECUTE FUNCTION skip_row()");
    } else {
        exec("CREATE TRIGGER skip_members BEFORE DELETE ON element_group_membership BEGIN SELECT RAISE(IGNORE); END");
        exec("CREATE TRIGGER skip_groups BEFORE UPDATE ON element_group BEGIN SELECT RAISE(IGNORE); END");
    }
    const qint32 source = groupWithChildren();
    const qint32 target = lastGroup();
    const QStringList before = groupState();
    for (const auto &write : std::initializer_list<std::function<void()>>{
             [&] { manager->Delete("delete_table_data", source, "ecarter", "ELEMENT_GROUP"); },
             [&] { manager->Copy("COPY_EL_GROUPS", source, target, "ecarter"); }}) {
        try {
            write();
            ADD_FAILURE() << "a write went through although rows were missing";
        } catch (const Error &e) {
            EXPECT_TRUE(e.description().contains("changed by another user at the same moment"))
                << e.description().toStdString();
        }
        EXPECT_EQ(groupState(), before);
    }
}

TEST_P(GroupWrites, AWriterThatWaitsTooLongIsToldSoInPlainWords)
{
    const qint32 id = groupWithChildren();
    const auto holderDb = m_db->openAnother();
    clients::WriteTransaction holder(holderDb->connection());
    test::rowsOf(holderDb->connection(),
                 "UPDATE element_group SET element_group_desc = 'held' WHERE element_group_id = ?", {id});
    host::ConnectionOptions impatient = m_db->options();
    impatient.lockTimeoutMs = 1;
    host::HostSession session2(host::Database::open(impatient), "ecarter");
    host::ReferenceAppManager manager2(session2);
    const QStringList before = groupState();
    try {
        manager2.Delete("delete_table_data", id, "ecarter", "ELEMENT_GROUP");
        ADD_FAILURE() << "the delete went through while another writer held the group";
    } catch (const Error &e) {
        EXPECT_EQ(e.description(), "Another user is saving changes to the same data and did not finish in time; "
                                   "nothing was changed. Try again in a moment.");
    }
    holder.rollback();
    EXPECT_EQ(groupState(), before);
}

TALV_ON_BOTH_ENGINES(GroupWrites);
