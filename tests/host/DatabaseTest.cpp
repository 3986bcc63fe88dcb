#include "host/QueryService.h"
#include "host/ViewCatalogue.h"
#include "host/WorkingLists.h"
#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <set>

using namespace talv;
using host::QueryService;
using host::WorkingLists;
using test::EngineDatabase;

namespace {

using DatabaseOnEngine = ::testing::TestWithParam<host::Engine>;

qint64 count(host::Database &db, const QString &sql)
{
    return test::rowsOf(db.connection(), sql).value(0).toLongLong();
}

} // namespace

TEST_P(DatabaseOnEngine, IdsAreNeverHandedOutTwiceAcrossConnections)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::SchemaOnly);
    auto other = db->openAnother();
    std::set<qint64> seen;
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(seen.insert(db->database().nextId("element_group_seq")).second);
        EXPECT_TRUE(seen.insert(other->nextId("element_group_seq")).second);
    }
    EXPECT_THROW(db->database().nextId("no_such_seq"), Error);
}

TEST_P(DatabaseOnEngine, QueriesKeepTypesAndNullsAndRunOneStatementAtATime)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::SchemaOnly);
    test::rowsOf(db->database().connection(), "CREATE TABLE probe (n INTEGER, r REAL, t VARCHAR(40))");
    test::rowsOf(db->database().connection(),
                 "INSERT INTO probe VALUES (1, 2.5, 'Étang'), (NULL, NULL, NULL), (2, 2.5, 'Bog'), (2, 2.5, 'Bog')");
    QueryService service(db->database().connection());
    RecordsetPtr rs = service.Run("SELECT UNIQUE n, r, t FROM probe ORDER BY n NULLS FIRST");
    ASSERT_EQ(rs->FieldCount(), 3);
    EXPECT_TRUE(rs->FieldTypeAt(0) == FieldType::Integer || rs->FieldTypeAt(0) == FieldType::BigInt);
    EXPECT_EQ(rs->FieldTypeAt(1), FieldType::Double);
    EXPECT_EQ(rs->FieldTypeAt(2), FieldType::VarChar);
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_TRUE(rs->ValueAt(0, 0).isNull() && rs->ValueAt(0, 2).isNull());
    EXPECT_EQ(rs->ValueAt(1, 2).toString() + rs->ValueAt(2, 2).toString(), "ÉtangBog");
    EXPECT_EQ(service.Run("SELECT n, t FROM probe WHERE n = -1")->FieldCount(), 2)
        << "an empty answer keeps its fields";

    try {
        service.Run("SELECT * FROM no_such_table");
        ADD_FAILURE() << "the statement should fail";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::Database);
        EXPECT_TRUE(e.description().contains("no_such_table")) << e.description().toStdString();
    }
    // A second statement is refused, never run; a semicolon inside a text or at the end is no second one.
    EXPECT_THROW(service.Run("SELECT 1; DELETE FROM d_group_member_type"), Error);
    EXPECT_EQ(service.Run("SELECT count(*) AS n FROM d_group_member_type")->ValueAt(0, 0).toInt(), 3);
    EXPECT_EQ(service.Run("SELECT 'a;b' AS x;")->ValueAt(0, 0).toString(), "a;b");
    // Only a leading SELECT UNIQUE is the old dialect's DISTINCT.
    EXPECT_EQ(QueryService::AdaptDialect("SELECT UNIQUENESS FROM t WHERE b = 'SELECT UNIQUE'"),
              "SELECT UNIQUENESS FROM t WHERE b = 'SELECT UNIQUE'");
}

TEST_P(DatabaseOnEngine, SampleLoadsOnceAndWorkingListsTakeTheirViewsLayoutAndFollowTheDatabase)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    host::Database &d = db->database();
    // The three spellings of the group working list reach rows with the same three fields.
    for (const char *view : {"ELGroup_WL_VW", "ELGROUP_WL_VW", "ELEMENT_GROUP_WL_VW"})
        EXPECT_EQ(count(d, QStringLiteral("SELECT count(*) FROM (SELECT ID, Group_Name, Group_Type FROM %1) v")
                               .arg(QString::fromLatin1(view))),
                  160);
    EXPECT_THROW(d.loadSampleData(), Error) << "sample data goes only into an empty database";
    auto again = db->openAnother();
    again->ensureSchema();
    EXPECT_EQ(again->schemaVersion(), host::Database::currentSchemaVersion());
    EXPECT_EQ(count(*again, "SELECT count(*) FROM element_group"), 160) << "reopening changes nothing";

    host::ViewCatalogue views;
    WorkingLists lists(views, QueryService(d.connection()));
    const qint32 groups = FindViewIndex(views, "EGP");
    QSignalSpy changed(&lists, &WorkingLists::changed);
    const RecordsetPtr list = lists.list(groups);
    EXPECT_EQ(list, lists.list(groups)) << "one list per view, shared";
    EXPECT_EQ(lists.refreshRecord(groups, 2, false), WorkingLists::Change::None);
    EXPECT_EQ(lists.refreshRecord(groups, 2, true), WorkingLists::Change::Appended);
    EXPECT_EQ(lists.refreshRecord(groups, 1, true), WorkingLists::Change::Appended);

    test::rowsOf(d.connection(), "UPDATE element_group SET d_element_group_type_id = 8 WHERE element_group_id = 2");
    list->MoveLast(); // a screen stands on group 1
    EXPECT_EQ(lists.refreshRecord(groups, 2, true), WorkingLists::Change::Updated);
    EXPECT_EQ(list->Value(QStringLiteral("ID")).toInt(), 1);
    // PostgreSQL answers the names in lower case; the list finds them all the same.
    EXPECT_EQ(list->ValueAt(0, list->FieldIndex(QStringLiteral("Group_Type"))).toString(), "Regulatory List");

    test::rowsOf(d.connection(), "DELETE FROM element_group WHERE element_group_id = 2");
    EXPECT_EQ(lists.refreshRecord(groups, 2, true), WorkingLists::Change::Removed);
    ASSERT_EQ(list->RecordCount(), 1);
    EXPECT_EQ(list->ValueAt(0, 0).toInt(), 1);
    EXPECT_FALSE(lists.removeRecord(groups, 2));
    EXPECT_EQ(changed.count(), 4);

    // Adding all skips what is listed.
    const qint32 references = FindViewIndex(views, "REF");
    lists.refreshRecord(references, 5, true);
    EXPECT_EQ(lists.addAllRecords(references), 119);
    EXPECT_EQ(lists.addAllRecords(references), 0);
}

TALV_ON_BOTH_ENGINES(DatabaseOnEngine);

TEST(Database, AFolderANewerOrAForeignDatabaseIsRefusedUntouched)
{
    QTemporaryDir folder;
    host::ConnectionOptions options;
    options.name = folder.path();
    EXPECT_THROW(host::Database::open(options), Error);

    options.name = folder.filePath("newer.sqlite");
    options.createIfMissing = true;
    const qint64 future = host::Database::currentSchemaVersion() + 1;
    test::rowsOf(host::Database::open(options)->connection(), "CREATE TABLE schema_version (version INTEGER)");
    test::rowsOf(host::Database::open(options)->connection(), "INSERT INTO schema_version VALUES (?)", {future});
    auto newer = host::Database::open(options);
    EXPECT_THROW(newer->ensureSchema(), Error);
    EXPECT_EQ(count(*newer, "SELECT count(*) FROM sqlite_master WHERE type = 'table'"), 1);

    options.name = folder.filePath("foreign.sqlite");
    auto foreign = host::Database::open(options);
    QSqlQuery(foreign->connection()).exec("CREATE TABLE invoices (id INTEGER)");
    EXPECT_THROW(foreign->ensureSchema(), Error);
    EXPECT_EQ(count(*foreign, "SELECT count(*) FROM sqlite_master WHERE type = 'table'"), 1);
}
