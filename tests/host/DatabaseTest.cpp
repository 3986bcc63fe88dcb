#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

#include <set>

using namespace talv;
using host::Engine;
using test::EngineDatabase;

namespace {

class DatabaseOnEngine : public ::testing::TestWithParam<Engine>
{
};

qint64 count(host::Database &db, const QString &sql)
{
    return test::rowsOf(db.connection(), sql).value(0).toLongLong();
}

} // namespace

TEST_P(DatabaseOnEngine, SampleDataLoadsWithTheSchema)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    host::Database &d = db->database();
    EXPECT_EQ(d.schemaVersion(), host::Database::currentSchemaVersion());
    EXPECT_GE(count(d, "SELECT count(*) FROM element_group"), 150);
    EXPECT_GE(count(d, "SELECT count(*) FROM element_global"), 600);
    EXPECT_GE(count(d, "SELECT count(*) FROM reference"), 120);
    EXPECT_EQ(count(d, "SELECT count(*) FROM d_group_member_type"), 3);
    // The three spellings of the group working list reach rows with the same three fields.
    for (const char *view : {"ELGroup_WL_VW", "ELGROUP_WL_VW", "ELEMENT_GROUP_WL_VW"})
        EXPECT_EQ(count(d, QStringLiteral("SELECT count(*) FROM (SELECT ID, Group_Name, Group_Type FROM %1) v")
                               .arg(QString::fromLatin1(view))),
                  count(d, "SELECT count(*) FROM element_group"))
            << view;
    EXPECT_THROW(d.loadSampleData(), Error) << "sample data goes only into an empty database";
}

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

TEST_P(DatabaseOnEngine, ReopeningAnUpToDateDatabaseChangesNothing)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    auto again = db->openAnother();
    again->ensureSchema();
    EXPECT_EQ(again->schemaVersion(), host::Database::currentSchemaVersion());
    EXPECT_TRUE(again->hasGroups());
}

TALV_ON_BOTH_ENGINES(DatabaseOnEngine);

// A file that is no database and a missing one are refused by talv-host (TalvHostProcessTest).
TEST(Database, AFolderANewerOrAForeignDatabaseIsRefused)
{
    QTemporaryDir folder;
    host::ConnectionOptions options;
    options.name = folder.path();
    EXPECT_THROW(host::Database::open(options), Error);

    options.name = folder.filePath("newer.sqlite");
    options.createIfMissing = true;
    {
        auto db = host::Database::open(options);
        db->ensureSchema();
        QSqlQuery(db->connection())
            .exec(QStringLiteral("INSERT INTO schema_version (version, description) VALUES (%1, 'future')")
                      .arg(host::Database::currentSchemaVersion() + 1));
    }
    auto newer = host::Database::open(options);
    EXPECT_THROW(newer->ensureSchema(), Error);

    options.name = folder.filePath("foreign.sqlite");
    auto foreign = host::Database::open(options);
    QSqlQuery(foreign->connection()).exec("CREATE TABLE invoices (id INTEGER)");
    EXPECT_THROW(foreign->ensureSchema(), Error);
    EXPECT_EQ(count(*foreign, "SELECT count(*) FROM sqlite_master WHERE type = 'table'"), 1);
}

TEST(Database, ScriptsSplitAtLineEndSemicolonsOnly)
{
    const QStringList statements =
        host::splitSqlScript("-- a comment;\nCREATE TABLE a (x TEXT DEFAULT 'a;b');\n\nINSERT INTO a VALUES\n  "
                             "('one'),\n  ('two');\nSELECT 1");
    ASSERT_EQ(statements.size(), 3);
    EXPECT_EQ(statements[0], "CREATE TABLE a (x TEXT DEFAULT 'a;b')");
    EXPECT_EQ(statements[1], "INSERT INTO a VALUES\n  ('one'),\n  ('two')");
    EXPECT_EQ(statements[2], "SELECT 1");
}
