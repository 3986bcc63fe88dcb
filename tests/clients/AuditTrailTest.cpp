// The trail that the group client's saves file, and the audit-log client's comments, on both
// engines: each written row is one audit row in the same transaction as the write.
#include "GroupClientSupport.h"
#include "support/ErrorNumber.h"

#include "clients/BusinessComponent.h"

#include <QRegularExpression>

namespace talv::test {
namespace {

class AuditTrailOnEngine : public SampleOnEngine
{
protected:
    // "table|key|action|user|unit|column|old|new" of a group's trail, oldest first; `from` leaves
    // out the rows filed before it (the sample's own).
    static QStringList trail(const host::Database &db, qint32 groupId, qint64 from = 0)
    {
        return rowsOf(db.connection(),
                      "SELECT l.table_name, l.primary_key, l.action, l.user_name, l.org_unit_id, c.column_name, "
                      "c.old_value, c.new_value FROM audit_log l JOIN audit_log_column c ON "
                      "c.audit_log_id = l.audit_log_id WHERE l.record_table = 'ELEMENT_GROUP' AND l.record_id = ? "
                      "AND l.audit_log_id > ? ORDER BY l.audit_log_id, c.audit_log_column_id",
                      {groupId, from});
    }
    static qint64 lastAuditId(const host::Database &db)
    {
        return rowsOf(db.connection(), "SELECT coalesce(max(audit_log_id), 0) FROM audit_log").value(0).toLongLong();
    }
    // The session's user with their unit, as the host registers them.
    clients::ServerUser user() const override { return {1, "ecarter", 2}; }
};

TEST_P(AuditTrailOnEngine, EditsOfAGroupAndItsListsAreFiledWithOldAndNewValues)
{
    const qint64 start = lastAuditId(db());
    auto group = loadGroup(db(), 1);
    const QString before = group->property("HabitatCom").toString();

    group->setProperty("HabitatCom", "Scree slopes");
    ASSERT_TRUE(group->Save());
    group->setProperty("HabitatCom", "Scree slopes, \"moist\"\nand snowbeds");
    ASSERT_TRUE(group->Save());
    // Only the changed column is filed; the stamps are the audit row's own who and when.
    EXPECT_EQ(trail(db(), 1, start),
              QStringList({"ELEMENT_GROUP|1|U|ecarter|2|habitat_com|" + before + "|Scree slopes",
                           "ELEMENT_GROUP|1|U|ecarter|2|habitat_com|Scree slopes|Scree slopes, \"moist\"\nand "
                           "snowbeds"}));

    const qint64 middle = lastAuditId(db());
    ComponentCollection &members = group->Members();
    const QString removed = members.Item(1)->property("ElementGlobalID").toString();
    members.RemoveAt(1);
    addReference(*group, 7);
    ASSERT_TRUE(group->Save());
    const QStringList lists = trail(db(), 1, middle);
    EXPECT_TRUE(lists.contains("ELEMENT_GROUP_MEMBERSHIP|1," + removed + "|D|ecarter|2|element_global_id|" + removed +
                               "|<null>"))
        << lists.join('\n').toStdString();
    EXPECT_TRUE(lists.contains("ELEMENT_GROUP_REFERENCE|1,7|I|ecarter|2|reference_id|<null>|7"))
        << lists.join('\n').toStdString();
    EXPECT_TRUE(lists.filter("ELEMENT_GROUP|1|U").isEmpty()) << "the group's own columns did not change";
}

TEST_P(AuditTrailOnEngine, ANewGroupIsFiledAsAnInsertOfEveryValueItHolds)
{
    auto group = openGroup(db());
    group->NewRecord(true, {});
    group->setProperty("ElementGroupName", "Fen species");
    group->setProperty("DElementGroupTypeId", 3);
    group->setProperty("DGroupMemberTypeID", 1);
    group->setProperty("OrgUnitID", 2);
    group->setProperty("RecCreateUser", "ecarter");
    group->setProperty("RecLastModUser", "ecarter");
    addMember(*group, 3);
    ASSERT_TRUE(group->Save());
    const QStringList rows = trail(db(), group->ID());
    const QString id = QString::number(group->ID());
    EXPECT_TRUE(rows.contains("ELEMENT_GROUP|" + id + "|I|ecarter|2|element_group_name|<null>|Fen species"));
    EXPECT_TRUE(rows.contains("ELEMENT_GROUP_MEMBERSHIP|" + id + ",3|I|ecarter|2|element_global_id|<null>|3"));
    EXPECT_TRUE(rows.filter("|rec_last_mod_date|").isEmpty());
    EXPECT_TRUE(rows.filter("|habitat_com|").isEmpty()) << "empty values are not filed";
}

TEST_P(AuditTrailOnEngine, ARefusedSaveFilesNothingAndANamelessUserCannotWrite)
{
    {
        auto group = loadGroup(db(), 1);
        const QStringList before = tableRows(db(), "audit_log_column", "audit_log_column_id");
        // The group's row and its trail are written before the unknown reference is refused.
        group->setProperty("HabitatCom", "changed");
        addReference(*group, 999999);
        EXPECT_NE(errorNumber([&] { group->Save(); }), 0);
        EXPECT_EQ(tableRows(db(), "audit_log_column", "audit_log_column_id"), before);
    }
    const ScopedServer nameless(db(), TestServer, {1, QString(), 2});
    auto group = loadGroup(db(), 1);
    const QStringList before = groupTables(db());
    group->setProperty("HabitatCom", "by nobody");
    EXPECT_EQ(errorNumber([&] { group->Save(); }, "user name"), Error::InvalidArgument);
    EXPECT_EQ(groupTables(db()), before);
}

TEST_P(AuditTrailOnEngine, CommentsAreStoredAsTypedByTheKeyOfTheirColumnChange)
{
    const qint64 start = lastAuditId(db());
    auto group = loadGroup(db(), 1);
    group->setProperty("RangeCom", "Alps only");
    ASSERT_TRUE(group->Save());
    const QString key = rowsOf(db().connection(),
                               "SELECT c.audit_log_column_id FROM audit_log_column c JOIN audit_log l ON "
                               "l.audit_log_id = c.audit_log_id WHERE l.audit_log_id > ? AND c.column_name = ?",
                               {start, "range_com"})
                            .value(0);
    ASSERT_FALSE(key.isEmpty());

    const QString comment = "It's the \"new\" survey;\r\nsee 'Flora Helvetica'.\n" + QString(3950, QChar(u'é'));
    auto comments = openCollection(db(), "tALV_AuditLogClient.CAUDITLOG");
    ASSERT_TRUE(comments->LoadWhere("Empty", QString(), 0, 0, 0));
    EXPECT_EQ(comments->Count(), 0);
    auto *change = ClassRegistry::instance().CreateAs<clients::BusinessComponent>(names::AuditLogClass);
    ASSERT_TRUE(change->Open(TestServer, serverTypeOf(db())));
    ASSERT_TRUE(change->LoadByID(key.toLongLong()));
    EXPECT_EQ(change->property("OldValue").toString(), rowsOf(db().connection(),
                                                              "SELECT old_value FROM audit_log_column WHERE "
                                                              "audit_log_column_id = ?",
                                                              {key})
                                                           .value(0));
    change->setProperty("Comments", comment);
    comments->AddComponent(change, key);
    EXPECT_EQ(comments->FindFirst("AuditLogColumnId = " + key), change);
    ASSERT_TRUE(comments->SaveAll()) << comments->LastError().toStdString();

    auto reread = openCollection(db(), names::AuditLogClass);
    const QString auditLogId =
        rowsOf(db().connection(), "SELECT audit_log_id FROM audit_log_column WHERE audit_log_column_id = ?", {key})
            .value(0);
    ASSERT_TRUE(reread->LoadWhere("AUDIT_LOG_ID", auditLogId, -1, -1, -1));
    ASSERT_EQ(reread->Count(), 1);
    EXPECT_EQ(reread->Item(1)->property("Comments").toString(), comment);
    EXPECT_EQ(reread->Item(1)->property("ColumnName").toString(), "range_com");

    // The trail itself cannot be rewritten or shortened here.
    EXPECT_EQ(errorNumber([&] { reread->Item(1)->setProperty("OldValue", "forged"); }), Error::IllegalOperation);
    reread->RemoveAt(1);
    EXPECT_FALSE(reread->SaveAll());
    EXPECT_EQ(rowsOf(db().connection(), "SELECT count(*) FROM audit_log_column WHERE audit_log_column_id = ?", {key})
                  .value(0),
              "1");
}

TEST_P(AuditTrailOnEngine, SavedOverAnotherUsersVersionTheReplacedListsAreFiledRowByRow)
{
    auto mine = loadGroup(db(), 1);
    auto theirs = loadGroup(db(), 1);
    theirs->setProperty("TrendCom", "theirs");
    ASSERT_TRUE(theirs->Save());
    const qint64 start = lastAuditId(db());
    const QStringList members = storedMembers(db(), 1);
    mine->setProperty("TrendCom", "mine");
    EXPECT_EQ(errorNumber([&] { mine->Save(); }), ElementGroupObject::WriteConflict);
    mine->OverwriteOnNextSave();
    ASSERT_TRUE(mine->Save());
    const QStringList rows = trail(db(), 1, start);
    // Every member row goes out and comes back in: each is in the trail both ways.
    EXPECT_EQ(
        rows.filter(QRegularExpression("^ELEMENT_GROUP_MEMBERSHIP\\|1,\\d+\\|D\\|.*\\|element_global_id\\|")).size(),
        members.size());
    EXPECT_EQ(
        rows.filter(QRegularExpression("^ELEMENT_GROUP_MEMBERSHIP\\|1,\\d+\\|I\\|.*\\|element_global_id\\|")).size(),
        members.size());
    EXPECT_TRUE(rows.contains("ELEMENT_GROUP|1|U|ecarter|2|trend_com|theirs|mine")) << rows.join('\n').toStdString();
}

TALV_ON_BOTH_ENGINES(AuditTrailOnEngine);

} // namespace
} // namespace talv::test
