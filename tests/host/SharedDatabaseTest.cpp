// A shared PostgreSQL database allows each user's role what talv-host allows the user, to any
// client that connects as that role.
#include "SessionFixture.h"

#include "host/SharedDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace talv;
using namespace talv::host;

namespace {

class SharedDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TALV_OPEN_ENGINE_DATABASE(sample, Engine::PostgreSQL, test::EngineDatabase::WithSample);
        db = std::move(sample);
        roles = SharedDatabase::setUp(db->database());
    }
    // The sample database as `role` would reach it with any client.
    std::unique_ptr<Database> connectAs(const QString &role) const
    {
        ConnectionOptions options = db->options();
        options.user = role;
        return Database::open(options);
    }
    // Rows the statement changed, or -1 when the database refused it.
    static int changed(const Database &as, const QString &statement)
    {
        QSqlQuery q(as.connection());
        return q.exec(statement) ? q.numRowsAffected() : -1;
    }
    QStringList rows(const QString &sql) const { return test::rowsOf(db->database().connection(), sql); }

    std::unique_ptr<test::EngineDatabase> db;
    QList<SharedDatabase::UserRole> roles;
};

TEST_F(SharedDatabaseTest, AReaderRoleReadsEverythingAndWritesOnlyItsOwnOptions)
{
    ASSERT_EQ(roles.size(), 2);
    EXPECT_EQ(roles.at(0).role + roles.at(0).group + roles.at(1).role + roles.at(1).group,
              "ecarter" + SharedDatabase::WriterRole + "jbrandt" + SharedDatabase::ReaderRole);

    const auto reader = connectAs("jbrandt");
    EXPECT_EQ(test::rowsOf(reader->connection(), "SELECT count(*) FROM element_group"), QStringList{"160"});
    const auto everything = [this] {
        return rows("SELECT * FROM element_group ORDER BY 1") + rows("SELECT * FROM audit_log ORDER BY 1") +
               rows("SELECT * FROM user_access ORDER BY 1, 2, 3") + rows("SELECT * FROM user_option ORDER BY 1");
    };
    const QStringList state = everything();
    for (const QString statement :
         {"DELETE FROM audit_log", "INSERT INTO audit_log VALUES (999, 'X', 1, 'X', '1', 'D', 'jbrandt', now(), 1)",
          "UPDATE user_access SET access_level = 'F' WHERE user_id = 2",
          "INSERT INTO user_access VALUES (2, 'ELGroupDetails', 'mnuFileSave', 'F')",
          "UPDATE element_group SET element_group_desc = 'x'", "DELETE FROM element_group_membership",
          "INSERT INTO element_group_reference (element_group_id, reference_id, display_order) VALUES (1, 1, 99)",
          "UPDATE app_user SET is_active = 'Y'", "DELETE FROM d_element_group_type",
          "INSERT INTO user_option (user_option_category_id, user_id, option_name) VALUES (3, 1, 'planted')",
          "CREATE TABLE planted (x INTEGER)", "SELECT nextval('element_group_seq')"})
        EXPECT_EQ(changed(*reader, statement), -1) << statement.toStdString();
    // Another user's options are not even there to change.
    EXPECT_EQ(changed(*reader, "UPDATE user_option SET option_value = 'x' WHERE user_id = 1"), 0);
    EXPECT_EQ(changed(*reader, "DELETE FROM user_option WHERE user_id = 1"), 0);

    EXPECT_EQ(everything(), state);

    EXPECT_EQ(changed(*reader, "INSERT INTO user_option (user_option_category_id, user_id, option_name) "
                               "VALUES (3, 2, 'mine')"),
              1);
    EXPECT_EQ(changed(*reader, "UPDATE user_option SET option_value = 'kept' WHERE option_name = 'mine'"), 1);
    EXPECT_EQ(changed(*reader, "DELETE FROM user_option WHERE option_name = 'mine'"), 1);
}

TEST_F(SharedDatabaseTest, AWriterRoleWritesGroupsInItsOwnNameOnly)
{
    const auto writer = connectAs("ecarter");
    HostSession session(connectAs("ecarter"), "ecarter");
    ReferenceAppManager manager(session);
    EXPECT_TRUE(manager.Delete("delete_table_data", 1, "ecarter", "ELEMENT_GROUP"));
    EXPECT_EQ(rows("SELECT DISTINCT user_name FROM audit_log WHERE record_id = 1 AND action = 'D'"),
              QStringList{"ecarter"});
    EXPECT_EQ(changed(*writer, "INSERT INTO audit_log VALUES (999, 'X', 1, 'X', '1', 'D', 'jbrandt', now(), 1)"), -1);
    EXPECT_EQ(changed(*writer, "UPDATE user_access SET access_level = 'F'"), -1);

    // A user's role works as that user, and no other.
    try {
        HostSession impostor(connectAs("jbrandt"), "ecarter");
        ADD_FAILURE() << "jbrandt's role worked as ecarter";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), HostSession::LoginRefused);
    }
    HostSession reader(connectAs("jbrandt"), "JBrandt");
    EXPECT_EQ(reader.readOnlyReason(), "Your rights in this database allow reading only.");

    // Run again, the set-up follows the users' rights as they are now.
    test::rowsOf(db->database().connection(), "UPDATE user_access SET access_level = 'F' WHERE user_id = 2");
    EXPECT_EQ(SharedDatabase::setUp(db->database()).at(1).group, SharedDatabase::WriterRole);
    EXPECT_EQ(changed(*connectAs("jbrandt"), "UPDATE element_group SET element_group_desc = 'x' WHERE "
                                             "element_group_id = 2"),
              1);
}

} // namespace
