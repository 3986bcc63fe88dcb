// The query function answers reads only, on both engines, whatever text reaches it: typed into the
// search screen, stored as a group type, or sent by a hostile caller.
#include "SessionFixture.h"

#include "clients/WriteTransaction.h"
#include "host/BoundSql.h"
#include "host/QueryService.h"
#include "search/SearchSql.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace talv;
using host::QueryService;
using test::SessionOnEngine;

namespace {

class QueryPath : public SessionOnEngine
{
protected:
    // What a hostile text must not change: the audit trail, the rights and the groups.
    QStringList guarded() { return groupState() << rows("SELECT * FROM user_access ORDER BY 1, 2, 3"); }
    // The search statement the screen builds for a typed name (or a picked type).
    static QString search(const QString &name, int comparison, const QString &type = {})
    {
        return search::BuildSearchSQL({{}, name, comparison, type});
    }
    // The refusal's words, or "ran" when the text ran.
    QString refusal(const QString &sql)
    {
        try {
            manager->CallGetQueryRSXML(sql);
            return "ran";
        } catch (const Error &e) {
            return e.description();
        }
    }
    QStringList foundNames(const QString &sql)
    {
        const RecordsetPtr rs = manager->CallGetQueryRSXML(sql);
        QStringList names;
        for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
            names << rs->Value("Group_Name").toString();
        return names;
    }
};

TEST_P(QueryPath, NothingThatWritesOrRunsASecondStatementGetsThrough)
{
    login("jbrandt"); // the sample's read-only user
    QTemporaryDir folder;
    const QString attached = folder.filePath("attached.sqlite");
    const QStringList hostile = {
        "DELETE FROM audit_log RETURNING audit_log_id",
        "UPDATE user_access SET access_level = 'F' WHERE user_id = 2 RETURNING user_id",
        "WITH gone AS (DELETE FROM element_group_membership RETURNING 1) SELECT count(*) FROM gone",
        "SELECT 1; DELETE FROM audit_log",
        "SELECT 1 /* ' */; DELETE FROM audit_log; SELECT '1'",
        "SELECT 1 -- '\n; DELETE FROM audit_log",
        "SELECT $$;$$; DELETE FROM audit_log",
        "SELECT E'\\''; DELETE FROM audit_log; -- '",
        "SELECT element_group_id FROM element_group FOR UPDATE",
        "PRAGMA foreign_keys = OFF",
        // Settings that answer a row, as a query does, and would lock other users out or stop
        // this session's writers from waiting.
        "PRAGMA locking_mode = EXCLUSIVE",
        "PRAGMA busy_timeout = 0",
        "ATTACH DATABASE '" + attached + "' AS other",
        // A stored group type picked in the search screen goes into the text as it is.
        search({}, search::Contains, "x')/*'*/;DELETE FROM audit_log_column;--"),
    };
    const QStringList before = guarded();
    for (const QString &text : hostile) {
        EXPECT_THROW(manager->CallGetQueryRSXML(text), Error) << text.toStdString();
        EXPECT_EQ(guarded(), before) << text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(attached));
    // Both engines refuse in the same words.
    EXPECT_EQ(refusal("SELECT 1 AS one; DELETE FROM audit_log"),
              "Only one statement can be run at a time; nothing was run.");
    EXPECT_EQ(refusal("DELETE FROM audit_log RETURNING audit_log_id"),
              "A query can only read from the database; the statement was refused.");

    // What a text could change of the connection is undone (PostgreSQL) or refused (SQLite): the
    // session still takes a backslash as a plain character and is in no transaction.
    for (const QString text : {"SET standard_conforming_strings = off", "BEGIN", "COMMIT"})
        refusal(text);
    EXPECT_EQ(manager->CallGetQueryRSXML("SELECT 'a\\' AS x")->ValueAt(0, 0).toString(), "a\\");
    clients::WriteTransaction(session->connection()).commit();

    if (onPostgreSQL()) {
        // Why the server is asked to prepare the text itself: Qt's driver sends its prepare as a
        // simple query ("PREPARE name AS <text>"), and that runs a second statement at once.
        exec("CREATE TABLE planted (x INTEGER)");
        exec("INSERT INTO planted VALUES (1)");
        QSqlQuery(m_db->database().connection()).prepare("SELECT 1 AS one; DELETE FROM planted");
        EXPECT_EQ(count("SELECT count(*) FROM planted"), 0);
    }

    // Reads keep working, with their own semicolons, comments and trailing blanks.
    EXPECT_EQ(manager->CallGetQueryRSXML("SELECT 'a;b' AS x; -- done\n ;")->ValueAt(0, 0).toString(), "a;b");
    EXPECT_EQ(manager->CallGetQueryRSXML("/* groups */ SELECT count(*) AS n FROM element_group")->RecordCount(), 1);
}

TEST_P(QueryPath, AQueryInTheMiddleOfASaveLeavesTheSaveAlone)
{
    clients::WriteTransaction save(session->connection());
    host::sql::exec(session->connection(), "UPDATE element_group SET element_group_desc = 'saved' "
                                           "WHERE element_group_id = 1");
    try {
        manager->CallGetQueryRSXML("SELECT count(*) AS n FROM element_group");
    } catch (const Error &) {
        // PostgreSQL refuses: its query would end the save's transaction.
    }
    save.commit();
    EXPECT_EQ(rows("SELECT element_group_desc FROM element_group WHERE element_group_id = 1"), QStringList{"saved"});
}

TEST_P(QueryPath, TypedNamesStayTextsWhateverTheServersDefaults)
{
    if (onPostgreSQL()) {
        exec(QStringLiteral("ALTER DATABASE %1 SET standard_conforming_strings = off").arg(m_db->options().name));
        login("ecarter");
        EXPECT_EQ(test::rowsOf(session->connection(), "SHOW standard_conforming_strings"), QStringList{"on"});
    }
    // Bound values keep their backslashes too.
    EXPECT_EQ(test::rowsOf(session->connection(), "SELECT ? AS x", {"C:\\Temp"}), QStringList{"C:\\Temp"});
    const QStringList before = guarded();
    EXPECT_EQ(foundNames(search("\\'); DELETE FROM audit_log; --", search::Contains)), QStringList());
    EXPECT_EQ(guarded(), before);
}

TEST_P(QueryPath, NameSearchesAnswerAlikeOnBothEngines)
{
    const qint64 next = count("SELECT max(element_group_id) FROM element_group") + 1;
    const QStringList names = {"C:\\Temp field notes", "Ends with a backslash\\", "Straße der Eichen",
                               "Strasse des Ufers"};
    for (qint64 i = 0; i < names.size(); ++i)
        exec("INSERT INTO element_group (element_group_id, element_group_name, d_element_group_type_id, "
             "d_group_member_type_id, org_unit_id, universal_key, rec_create_user, rec_create_date, "
             "rec_last_mod_user, rec_last_mod_date) VALUES (?, ?, 1, 1, 1, ?, 'ecarter', '2024-01-01 00:00:00', "
             "'ecarter', '2024-01-01 00:00:00')",
             {next + i, names.at(i), QString("K%1").arg(next + i)});

    EXPECT_EQ(foundNames(search("c:\\temp", search::Contains)), QStringList{names.at(0)});
    EXPECT_EQ(foundNames(search("C:\\T%", search::Wildcard)), QStringList{names.at(0)});
    EXPECT_EQ(foundNames(search("\\", search::EndsWith)), QStringList{names.at(1)});
    // "ß" upper-cases to "SS" on both sides of the comparison, the typed and the stored.
    EXPECT_EQ(foundNames(search("straße", search::BeginsWith)), QStringList({names.at(2), names.at(3)}));
    EXPECT_EQ(foundNames(search("STRASSE DER", search::BeginsWith)), QStringList{names.at(2)});
}

TALV_ON_BOTH_ENGINES(QueryPath);

TEST(QueryDialect, LikePatternsOnPostgreSQLTakeBackslashesAsTheyAre)
{
    struct Case {
        const char *sql;
        const char *adapted;
    };
    const Case cases[] = {
        {R"(SELECT 1 WHERE UPPER(n) LIKE '%C:\TEMP%' AND t = 'x')",
         R"(SELECT 1 WHERE UPPER(n) LIKE '%C:\TEMP%' ESCAPE '' AND t = 'x')"},
        {R"(WHERE n not like 'it''s\' order by 1)", R"(WHERE n not like 'it''s\' ESCAPE '' order by 1)"},
        {"WHERE n ILIKE /* c */ 'a'", "WHERE n ILIKE /* c */ 'a' ESCAPE ''"},
        {"WHERE n LIKE 'a!%' ESCAPE '!'", "WHERE n LIKE 'a!%' ESCAPE '!'"},
        {R"(WHERE n LIKE E'a\\%')", R"(WHERE n LIKE E'a\\%')"},
        // LIKE inside texts, names and comments is no LIKE.
        {"WHERE n = 'x LIKE ''y' AND \"LIKE\" = 'z'", "WHERE n = 'x LIKE ''y' AND \"LIKE\" = 'z'"},
        {"SELECT $$ LIKE 'a' $$ -- LIKE 'b'\n", "SELECT $$ LIKE 'a' $$ -- LIKE 'b'\n"},
        {"SELECT /* LIKE /* nested */ 'a' */ 1", "SELECT /* LIKE /* nested */ 'a' */ 1"},
        {"WHERE UNLIKE 'a'", "WHERE UNLIKE 'a'"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QueryService::AdaptLikeEscapes(QString::fromUtf8(c.sql)), QString::fromUtf8(c.adapted)) << c.sql;
}

} // namespace
