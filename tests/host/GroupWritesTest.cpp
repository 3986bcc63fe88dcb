#include "SessionFixture.h"

#include "host/GroupWrites.h"

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
    void dropTable(const QString &table)
    {
        exec(QStringLiteral("DROP TABLE %1%2").arg(table, onPostgreSQL() ? " CASCADE" : ""));
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
    EXPECT_EQ(count("SELECT count(*) FROM element_group_membership WHERE element_group_id = ?", {id}), 0);
    EXPECT_EQ(count("SELECT count(*) FROM element_group_reference WHERE element_group_id = ?", {id}), 0);
    EXPECT_EQ(rows(othersSql, {id}), others);
    // One D row per removed row, filed under the group, by the user and in the user's unit.
    EXPECT_EQ(count("SELECT count(*) FROM audit_log WHERE record_table = 'ELEMENT_GROUP' AND record_id = ? "
                    "AND action = 'D' AND user_name = 'ecarter' AND org_unit_id = 1",
                    {id}),
              1 + children);

    // The trail outlives the record: the viewer still finds the old name, also by column alone.
    const RecordsetPtr nameTrail = manager->Auditing("element_group", id, "ELEMENT_GROUP_NAME");
    ASSERT_GE(nameTrail->RecordCount(), 1);
    for (nameTrail->MoveFirst(); !nameTrail->IsEOF(); nameTrail->MoveNext())
        EXPECT_EQ(nameTrail->Value("COLUMN_NAME").toString(), "element_group_name");
    nameTrail->MoveLast();
    EXPECT_EQ(nameTrail->Value("ACTION").toString(), "D");
    EXPECT_EQ(nameTrail->Value("OLD_VALUE").toString(), name);
    const RecordsetPtr whole = manager->Auditing("ELEMENT_GROUP", id, "");
    EXPECT_GT(whole->RecordCount(), nameTrail->RecordCount());
    ASSERT_EQ(whole->FieldCount(), 12) << "the viewer fills its twelve columns in field order";
    EXPECT_EQ(whole->FieldName(11).toUpper(), "AUDIT_LOG_COLUMN_ID");
}

TEST_P(GroupWrites, RefusedDeletesChangeNothing)
{
    const qint32 id = groupWithChildren();
    const QStringList before = groupState();
    EXPECT_THROW(manager->Delete("delete_table_data", 987654, "ecarter", "ELEMENT_GROUP"), Error);
    EXPECT_THROW(manager->Delete("delete_table_data", id, "ecarter", "REFERENCE"), Error);
    EXPECT_THROW(manager->Delete("delete_table_data", id, "", "ELEMENT_GROUP"), Error);
    login("jbrandt");
    try {
        manager->Delete("delete_table_data", id, "jbrandt", "ELEMENT_GROUP");
        ADD_FAILURE() << "a read-only user deleted a group";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), host::ReferenceAppManager::NotAllowed);
    }
    EXPECT_EQ(groupState(), before);

    login("ecarter");
    session->connection().close(); // a lost connection
    EXPECT_THROW(manager->Delete("delete_table_data", id, "ecarter", "ELEMENT_GROUP"), Error);
    EXPECT_EQ(groupState(), before);
}

TEST_P(GroupWrites, DeleteFailingMidwayRestoresTheRowsAlreadyDeleted)
{
    const qint32 id = groupWithChildren();
    // The first audit column is written after the members are gone; without its table the
    // delete fails there, with the database's own message.
    dropTable("audit_log_column");
    const QStringList before = groupState("audit_log_column");
    try {
        manager->Delete("delete_table_data", id, "ecarter", "ELEMENT_GROUP");
        ADD_FAILURE() << "the delete went through without its audit table";
    } catch (const Error &e) {
        EXPECT_TRUE(e.description().contains("audit_log_column", Qt::CaseInsensitive)) << e.description().toStdString();
    }
    EXPECT_EQ(groupState("audit_log_column"), before);
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
    exec("INSERT INTO element_group_membership (element_group_id, element_global_id, display_order) "
         "SELECT ?, ?, coalesce(max(display_order), 0) + 1 FROM element_group_membership WHERE element_group_id = ?",
         {target, sourceMembers.first().toInt(), target});
    QStringList expectedMembers = members(target);
    for (const QString &m : sourceMembers) {
        if (!expectedMembers.contains(m))
            expectedMembers << m;
    }
    const qint64 membersBefore = members(target).size();
    ASSERT_GT(expectedMembers.size(), membersBefore);
    const QString addedAudit = "SELECT count(*) FROM audit_log WHERE record_table = 'ELEMENT_GROUP' AND record_id = ? "
                               "AND action = 'I' AND table_name = 'ELEMENT_GROUP_MEMBERSHIP'";
    const qint64 addedAuditBefore = count(addedAudit, {target});
    const QString identity = "SELECT element_group_name, d_element_group_type_id, org_unit_id, universal_key, "
                             "rec_create_user FROM element_group WHERE element_group_id = ?";
    const QStringList targetIdentity = rows(identity, {target});
    const QStringList sourceRow = rows("SELECT * FROM element_group WHERE element_group_id = ?", {source});
    const QString content =
        "SELECT " + host::copiedGroupColumns().join(", ") + " FROM element_group WHERE element_group_id = ?";

    // The search hands over the picked id as text.
    EXPECT_TRUE(manager->Copy("COPY_EL_GROUPS", QString(" %1 ").arg(source), target, "ecarter"));

    EXPECT_EQ(rows(content, {target}), rows(content, {source}));
    EXPECT_EQ(rows(identity, {target}), targetIdentity);
    EXPECT_EQ(rows("SELECT * FROM element_group WHERE element_group_id = ?", {source}), sourceRow);
    EXPECT_EQ(members(target), expectedMembers);
    EXPECT_EQ(count("SELECT count(*) FROM element_group_reference s WHERE s.element_group_id = ? AND NOT EXISTS "
                    "(SELECT 1 FROM element_group_reference t WHERE t.element_group_id = ? "
                    "AND t.reference_id = s.reference_id)",
                    {source, target}),
              0);
    EXPECT_EQ(count(addedAudit, {target}) - addedAuditBefore, expectedMembers.size() - membersBefore);
    const RecordsetPtr descTrail = manager->Auditing("ELEMENT_GROUP", target, "element_group_desc");
    ASSERT_GE(descTrail->RecordCount(), 1);
    descTrail->MoveLast();
    EXPECT_EQ(descTrail->Value("ACTION").toString(), "U");

    // Copying again finds nothing missing and writes nothing.
    const QStringList after = groupState();
    EXPECT_TRUE(manager->Copy("COPY_EL_GROUPS", source, target, "ecarter"));
    EXPECT_EQ(groupState(), after);
}

TEST_P(GroupWrites, RefusedCopiesChangeNothing)
{
    const qint32 source = groupWithChildren();
    const QStringList before = groupState();
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", "abc", 2, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", "1; DELETE FROM element_group", 2, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", source, source, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", source, 987654, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", 987654, source, "ecarter"), Error);
    EXPECT_THROW(manager->Copy("COPY_OTHER", source, 2, "ecarter"), Error);
    login("jbrandt");
    EXPECT_THROW(manager->Copy("COPY_EL_GROUPS", source, 2, "jbrandt"), Error);
    EXPECT_EQ(groupState(), before);
}

TEST_P(GroupWrites, CopyFailingMidwayRestoresTheFieldsAndMembersAlreadyWritten)
{
    const qint32 source = groupWithChildren();
    const qint32 target = qint32(count("SELECT max(element_group_id) FROM element_group"));
    ASSERT_NE(rows("SELECT element_group_desc FROM element_group WHERE element_group_id = ?", {source}),
              rows("SELECT element_group_desc FROM element_group WHERE element_group_id = ?", {target}));
    // The fields and the new members are written before the citations are read.
    dropTable("element_group_reference");
    const QStringList before = groupState("element_group_reference");
    try {
        manager->Copy("COPY_EL_GROUPS", source, target, "ecarter");
        ADD_FAILURE() << "the copy went through without its citation table";
    } catch (const Error &e) {
        EXPECT_TRUE(e.description().contains("element_group_reference", Qt::CaseInsensitive))
            << e.description().toStdString();
    }
    EXPECT_EQ(groupState("element_group_reference"), before);
}

TALV_ON_BOTH_ENGINES(GroupWrites);
