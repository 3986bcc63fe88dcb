#include "SessionFixture.h"

#include "host/GroupWrites.h"

#include <functional>

using namespace talv;
using test::SessionOnEngine;

namespace {

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

    EXPECT_TRUE(manager->Delete("delete_table_data", id, "ecarter", "ELEMENT_GROUP"));
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
    EXPECT_THROW(manager->Delete("delete_table_data", id, "", "ELEMENT_GROUP"), Error);
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

TALV_ON_BOTH_ENGINES(GroupWrites);
