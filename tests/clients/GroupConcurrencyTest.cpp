#include "GroupClientSupport.h"
#include "support/ErrorNumber.h"

#include "clients/KeptStatements.h"
#include "host/SqliteReader.h"

#include <sqlite3.h>

namespace talv::test {
namespace {

// Two users, each on a connection of their own, open group 12 (ten members, five references).
class TwoUsersOnEngine : public SampleOnEngine
{
protected:
    void SetUp() override
    {
        SampleOnEngine::SetUp();
        if (IsSkipped())
            return;
        m_otherConnection = sample().openAnother();
        m_second = std::make_unique<ScopedServer>(*m_otherConnection, QStringLiteral("Second Server"));
        mine = loadGroup(db(), 12);
        theirs = loadGroup(*m_otherConnection, 12, m_second->name());
        mine->setProperty("RecLastModUser", "ecarter");
        theirs->setProperty("RecLastModUser", "jbrandt");
    }

    host::Database &otherConnection() { return *m_otherConnection; }

    std::unique_ptr<ElementGroupObject> mine;
    std::unique_ptr<ElementGroupObject> theirs;

private:
    std::unique_ptr<host::Database> m_otherConnection;
    std::unique_ptr<ScopedServer> m_second;
};

TEST_P(TwoUsersOnEngine, SecondSaverLearnsWhoChangedTheGroupKeepsEveryEditAndMayWriteOverIt)
{
    const QString storedThreat = mine->property("ThreatCom").toString();
    theirs->setProperty("ThreatCom", "Theirs");
    theirs->Members().RemoveAt(1);
    ASSERT_TRUE(theirs->Save());
    const QString when = theirs->property("RecLastModDate").toDateTime().toString("yyyy-MM-dd' at 'HH:mm");

    mine->setProperty("StatusCom", "Mine");
    addMember(*mine, 100);
    const QStringList myMembers = [&] {
        QStringList items;
        for (qint32 i = 1; i <= mine->Members().Count(); ++i)
            items << QStringLiteral("%1|%2").arg(mine->Members().Item(i)->property("ElementGlobalID").toString(),
                                                 mine->Members().Item(i)->property("DisplayOrder").toString());
        return items;
    }();
    const QStringList before = groupTables(db());
    EXPECT_EQ(errorNumber([&] { mine->Save(); }, QStringLiteral("changed by jbrandt on ") + when),
              ElementGroupObject::WriteConflict);
    EXPECT_EQ(groupTables(db()), before);
    EXPECT_EQ(mine->property("StatusCom").toString(), "Mine");
    EXPECT_TRUE(mine->Members().Item(mine->Members().Count())->IsNew());

    // Written over: the group becomes exactly what this user sees, children included.
    mine->OverwriteOnNextSave();
    ASSERT_TRUE(mine->Save());
    EXPECT_EQ(rowsOf(db().connection(), "SELECT status_com, threat_com, rec_last_mod_user, version FROM element_group "
                                        "WHERE element_group_id = 12"),
              QStringList{QStringLiteral("Mine|%1|ecarter|3").arg(storedThreat)});
    EXPECT_EQ(storedMembers(db(), 12), myMembers);
    EXPECT_EQ(storedReferences(db(), 12).size(), 5);

    // The overwrite was for one save: the other user is now the one told.
    mine->setProperty("StatusCom", "Mine again");
    ASSERT_TRUE(mine->Save());
    theirs->setProperty("TrendCom", "Theirs again");
    EXPECT_EQ(errorNumber([&] { theirs->Save(); }, "changed by ecarter"), ElementGroupObject::WriteConflict);
}

TEST_P(TwoUsersOnEngine, GroupDeletedMeanwhileIsReportedAndNothingIsWritten)
{
    rowsOf(otherConnection().connection(), "DELETE FROM element_group WHERE element_group_id = 12");
    mine->setProperty("StatusCom", "Mine");
    addReference(*mine, 1);
    const QStringList before = groupTables(db());
    EXPECT_EQ(errorNumber([&] { mine->Save(); }, "was deleted by another user"), Error::Database);
    mine->OverwriteOnNextSave();
    EXPECT_EQ(errorNumber([&] { mine->Save(); }, "was deleted by another user"), Error::Database);
    EXPECT_EQ(groupTables(db()), before);
    EXPECT_EQ(mine->property("StatusCom").toString(), "Mine");
    EXPECT_TRUE(mine->References().Item(mine->References().Count())->IsNew());
}

TALV_ON_BOTH_ENGINES(TwoUsersOnEngine);
TEST_P(TwoUsersOnEngine, AGroupReadAgainShowsTheOtherUsersSaveAndLeavesNoStatementRunning)
{
    // Statements kept prepared between loads must not keep the connection's view where it was.
    theirs->setProperty("ThreatCom", "Theirs");
    theirs->Members().RemoveAt(1);
    ASSERT_TRUE(theirs->Save());
    for (int load = 0; load < 2; ++load) {
        ASSERT_TRUE(mine->LoadByID(12));
        EXPECT_EQ(mine->property("ThreatCom").toString(), "Theirs");
        EXPECT_EQ(mine->Members().Count(), 9);
    }
    mine->setProperty("RecLastModUser", "ecarter");
    mine->setProperty("StatusCom", "Mine");
    ASSERT_TRUE(mine->Save());
    theirs->setProperty("TrendCom", "Theirs again");
    EXPECT_EQ(errorNumber([&] { theirs->Save(); }, "changed by ecarter"), ElementGroupObject::WriteConflict);
    if (db().engine() != host::Engine::SQLite)
        return;
    sqlite3 *connection = host::sqliteHandle(db().connection());
    for (sqlite3_stmt *s = sqlite3_next_stmt(connection, nullptr); s; s = sqlite3_next_stmt(connection, s))
        EXPECT_FALSE(sqlite3_stmt_busy(s)) << sqlite3_sql(s);
    const qsizetype kept = clients::keptStatementCount(db().connection());
    EXPECT_GT(kept, 3);
    ASSERT_TRUE(mine->LoadByID(12));
    EXPECT_EQ(clients::keptStatementCount(db().connection()), kept); // the same statements, run again
}

} // namespace
} // namespace talv::test
