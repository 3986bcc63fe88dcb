// Two host processes on one SQLite file, each with the record screen open on the same group: the
// second to save is told who changed the group since it was opened, keeps what was typed, and
// chooses whose version stays.
#include "DetailsTestSupport.h"

#include <QProcess>

using namespace talv;
using namespace talv::test;

namespace {

// A host process driven line by line (see SaveWorker.cpp).
class HostProcess
{
public:
    HostProcess(const QString &database, const QString &user)
    {
        m_process.start(QStringLiteral(TALV_SAVE_WORKER), {database, user});
        EXPECT_TRUE(m_process.waitForStarted());
    }
    ~HostProcess()
    {
        m_process.write("quit\n");
        if (!m_process.waitForFinished(30000))
            m_process.kill();
    }
    QString ask(const QString &command)
    {
        m_process.write(command.toUtf8() + '\n');
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(60000))
                return QStringLiteral("no answer to ") + command;
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
};

TEST(TwoHostsTest, TheSecondSaverIsToldKeepsTheirEditsAndChoosesWhoseVersionStays)
{
    TALV_OPEN_ENGINE_DATABASE(db, host::Engine::SQLite, EngineDatabase::WithSample);
    const QString file = db->options().name;
    const auto storedName = [&] {
        return rowsOf(db->database().connection(),
                      QStringLiteral("SELECT element_group_name FROM element_group WHERE element_group_id = 12"))
            .value(0);
    };
    HostProcess first(file, QStringLiteral("ecarter"));
    HostProcess second(file, QStringLiteral("ecarter"));
    ASSERT_EQ(first.ask("open 12"), QStringLiteral("opened 12"));
    ASSERT_EQ(second.ask("open 12"), QStringLiteral("opened 12"));

    second.ask("type ctrGroupName Saved first by the second host");
    EXPECT_EQ(second.ask("save cancel"), QStringLiteral("saved no box"));
    EXPECT_EQ(storedName(), QStringLiteral("Saved first by the second host"));

    first.ask("type ctrGroupName Typed in the first host");
    const QString told = first.ask("save cancel");
    EXPECT_TRUE(told.contains(QStringLiteral("changed by ecarter"))) << told.toStdString();
    EXPECT_EQ(first.ask("show ctrGroupName"), QStringLiteral("shows Typed in the first host"));
    EXPECT_EQ(storedName(), QStringLiteral("Saved first by the second host")) << "cancel wrote nothing";

    EXPECT_TRUE(first.ask("save yes").contains(QStringLiteral("changed by"))) << "asked again, then written over";
    EXPECT_EQ(storedName(), QStringLiteral("Typed in the first host"));

    // Now the second host is behind: it takes the stored version instead of its own.
    second.ask("type ctrGroupName Another try in the second host");
    EXPECT_TRUE(second.ask("save no").contains(QStringLiteral("changed by")));
    EXPECT_EQ(second.ask("show ctrGroupName"), QStringLiteral("shows Typed in the first host"));
    EXPECT_EQ(storedName(), QStringLiteral("Typed in the first host"));
}

} // namespace
