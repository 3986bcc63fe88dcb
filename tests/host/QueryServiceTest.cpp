#include "host/QueryService.h"
#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

using namespace talv;
using host::Engine;
using test::EngineDatabase;

namespace {

class QueryServiceOnEngine : public ::testing::TestWithParam<Engine>
{
};

void exec(host::Database &db, const QString &sql)
{
    test::rowsOf(db.connection(), sql);
}

} // namespace

TEST(QueryService, OnlyALeadingSelectUniqueIsAdapted)
{
    using host::QueryService;
    EXPECT_EQ(QueryService::AdaptDialect("SELECT UNIQUE a FROM t"), "SELECT DISTINCT a FROM t");
    EXPECT_EQ(QueryService::AdaptDialect("  select   unique\na FROM t"), "  select   DISTINCT\na FROM t");
    EXPECT_EQ(QueryService::AdaptDialect("SELECT UNIQUENESS FROM t"), "SELECT UNIQUENESS FROM t");
    EXPECT_EQ(QueryService::AdaptDialect("SELECT a FROM t WHERE b = 'SELECT UNIQUE'"),
              "SELECT a FROM t WHERE b = 'SELECT UNIQUE'");
}

TEST_P(QueryServiceOnEngine, RowsKeepTheirTypesAndNulls)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::SchemaOnly);
    exec(db->database(), "CREATE TABLE probe (n INTEGER, r REAL, t VARCHAR(40), d DATE)");
    exec(db->database(), "INSERT INTO probe VALUES (1, 2.5, 'Étang', '2024-05-01'), (NULL, NULL, NULL, NULL), "
                         "(2, 2.5, 'Bog', '2023-01-31')");
    host::QueryService service(db->database().connection());
    RecordsetPtr rs = service.Run("SELECT UNIQUE n, r, t FROM probe ORDER BY n");
    ASSERT_EQ(rs->FieldCount(), 3);
    EXPECT_EQ(rs->FieldName(0).toLower(), "n");
    EXPECT_TRUE(rs->FieldTypeAt(0) == FieldType::Integer || rs->FieldTypeAt(0) == FieldType::BigInt);
    EXPECT_EQ(rs->FieldTypeAt(1), FieldType::Double);
    EXPECT_EQ(rs->FieldTypeAt(2), FieldType::VarChar);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    int nulls = 0;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
        nulls += rs->Value("t").isNull() ? 1 : 0;
    EXPECT_EQ(nulls, 1);

    // Repeated texts come back equal whether or not they are held once.
    RecordsetPtr same = service.Run("SELECT r FROM probe WHERE r IS NOT NULL");
    EXPECT_EQ(same->ValueAt(0, 0), same->ValueAt(1, 0));

    RecordsetPtr none = service.Run("SELECT n, t FROM probe WHERE n = -1");
    EXPECT_EQ(none->RecordCount(), 0);
    EXPECT_EQ(none->FieldCount(), 2);
}

TEST_P(QueryServiceOnEngine, RejectedStatementsReportTheDatabaseMessage)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::SchemaOnly);
    host::QueryService service(db->database().connection());
    try {
        service.Run("SELECT * FROM no_such_table");
        FAIL() << "the statement should fail";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::Database);
        EXPECT_TRUE(e.description().contains("no_such_table")) << e.description().toStdString();
    }
    // One statement at a time: a second one is refused, never run.
    EXPECT_THROW(service.Run("SELECT 1; DELETE FROM d_group_member_type"), Error);
    EXPECT_EQ(service.Run("SELECT count(*) AS n FROM d_group_member_type")->ValueAt(0, 0).toInt(), 3);
    EXPECT_EQ(service.Run("SELECT 'a;b' AS x;")->ValueAt(0, 0).toString(), "a;b");
}

TALV_ON_BOTH_ENGINES(QueryServiceOnEngine);
