#include "host/BoundSql.h"
#include "host/HostSession.h"
#include "host/PostgresQuery.h"
#include "host/QueryService.h"
#include "host/ReferenceAppManager.h"
#include "host/ViewCatalogue.h"
#include "host/WorkingLists.h"
#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
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

// The files of a folder with a digest of each one's bytes.
QStringList folderState(const QString &path)
{
    QStringList state;
    for (const QString &name : QDir(path).entryList(QDir::Files, QDir::Name)) {
        QFile file(QDir(path).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        state << name + u' ' +
                     QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
    }
    return state;
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

TEST(Database, PostgresQueriesAnswerWhatQtsDriverAnswers)
{
    TALV_OPEN_ENGINE_DATABASE(db, host::Engine::PostgreSQL, EngineDatabase::SchemaOnly);
    const QSqlDatabase connection = db->database().connection();
    test::rowsOf(connection,
                 "CREATE TABLE probe (b BOOLEAN, s SMALLINT, i INTEGER, l BIGINT, f REAL, d DOUBLE PRECISION, "
                 "n NUMERIC(7,2), c CHAR(3), v VARCHAR(40), t TEXT, dt DATE, tm TIME, ts TIMESTAMP(0), "
                 "tz TIMESTAMPTZ, by BYTEA)");
    test::rowsOf(connection,
                 "INSERT INTO probe VALUES "
                 "(true, -32768, 2147483647, -9223372036854775808, 1.5, 'Infinity', 12345.67, 'ab', "
                 "'Étang ''x''', E'line\\nbreak', '2024-02-29', '23:59:58', '2004-11-16 10:48:24', "
                 "'2004-11-16 10:48:24+02', 'bytes'), "
                 "(false, 0, 0, 0, 'NaN', -0.0, 'NaN', '', '', '', '1752-09-14', '00:00:00', "
                 "'1999-12-31 23:59:59', '1999-12-31 23:59:59-05', ''), "
                 "(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    const QString select = QStringLiteral("SELECT * FROM probe ORDER BY b DESC NULLS LAST");

    const RecordsetPtr ours = host::readPostgres(connection, select);
    const RecordsetPtr qts = host::sql::recordset(connection, select);
    ASSERT_EQ(ours->FieldCount(), qts->FieldCount());
    ASSERT_EQ(ours->RecordCount(), 3);
    ASSERT_EQ(qts->RecordCount(), 3);
    for (int f = 0; f < ours->FieldCount(); ++f) {
        SCOPED_TRACE(ours->FieldName(f).toStdString());
        EXPECT_EQ(ours->FieldName(f), qts->FieldName(f));
        EXPECT_EQ(ours->FieldTypeAt(f), qts->FieldTypeAt(f));
        EXPECT_EQ(ours->Fields(f).DefinedSize(), qts->Fields(f).DefinedSize());
        for (qsizetype row = 0; row < 3; ++row) {
            const QVariant mine = ours->ValueAt(row, f);
            const QVariant theirs = qts->ValueAt(row, f);
            if (mine.typeId() == QMetaType::Double && std::isnan(mine.toDouble()))
                EXPECT_TRUE(std::isnan(theirs.toDouble())) << "row " << row;
            else // the same value in the same form: a time in the same zone
                EXPECT_TRUE(mine == theirs && mine.toString() == theirs.toString())
                    << "row " << row << ": " << mine.toString().toStdString() << " / "
                    << theirs.toString().toStdString();
        }
    }
    EXPECT_EQ(ours->ValueAt(0, 9).toString(), "line\nbreak");
}

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
    newer.reset();

    options.name = folder.filePath("foreign.sqlite");
    test::rowsOf(host::Database::open(options)->connection(), "CREATE TABLE invoices (id INTEGER)");
    // Another application's file whose version table happens to say 1 is as foreign.
    options.name = folder.filePath("versioned.sqlite");
    test::rowsOf(host::Database::open(options)->connection(), "CREATE TABLE schema_version (version INTEGER)");
    test::rowsOf(host::Database::open(options)->connection(), "INSERT INTO schema_version VALUES (1)");
    const QStringList before = folderState(folder.path());
    for (const char *name : {"foreign.sqlite", "versioned.sqlite"}) {
        options.name = folder.filePath(name);
        EXPECT_THROW(host::Database::open(options)->ensureSchema(), Error) << name;
    }
    EXPECT_EQ(folderState(folder.path()), before) << "not a byte written, no journal left beside";
}

TEST(Database, AFileOpenedForReadingOnlyIsReadAsItIsAndNothingIsWrittenBesideIt)
{
    QTemporaryDir folder;
    host::ConnectionOptions options;
    options.name = folder.filePath("owners.sqlite");
    options.createIfMissing = true;
    {
        auto made = host::Database::open(options);
        made->ensureSchema();
        made->loadSampleData();
    }
    const QStringList before = folderState(folder.path());
    host::ConnectionOptions reading = options;
    reading.readOnly = true;
    {
        host::HostSession session(host::Database::open(reading), "ecarter");
        session.database().ensureSchema(); // finds nothing to do
        host::ReferenceAppManager manager(session);
        EXPECT_EQ(manager.CallGetQueryRSXML("SELECT count(*) AS n FROM element_group")->ValueAt(0, 0).toInt(), 160);
        EXPECT_EQ(session.readOnlyReason(),
                  "You may read this database file but not write to it, so it is open for reading only.");
        // A full user may change nothing here; what gets past the rights is refused in plain words.
        EXPECT_FALSE(manager.CheckPermission(QVariant()));
        EXPECT_THROW(manager.Delete("delete_table_data", 1, "ecarter", "ELEMENT_GROUP"), Error);
        try {
            clients::WriteTransaction transaction(session.connection());
            host::sql::exec(session.connection(), "DELETE FROM audit_log");
            ADD_FAILURE() << "a file open for reading only was written";
        } catch (const Error &e) {
            EXPECT_EQ(e.description(), "The database is open for reading only; nothing can be changed in it.");
        }
    }
    EXPECT_EQ(folderState(folder.path()), before);

    // While its owner works on it, the owner's latest changes are read, and the owner goes on
    // writing when the reader has gone.
    auto owner = host::Database::open(options);
    test::rowsOf(owner->connection(),
                 "UPDATE element_group SET element_group_name = 'Renamed' WHERE element_group_id = 1");
    {
        auto reader = host::Database::open(reading);
        EXPECT_EQ(test::rowsOf(reader->connection(), "SELECT element_group_name FROM element_group "
                                                     "WHERE element_group_id = 1"),
                  QStringList{"Renamed"});
    }
    EXPECT_NO_THROW(test::rowsOf(owner->connection(), "DELETE FROM audit_log"));
}
