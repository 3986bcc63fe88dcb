#include "host/Database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace talv::host;

namespace {

// talv-host run as a user would run it, in a home folder of its own.
class TalvHostProcessTest : public ::testing::Test
{
protected:
    // The exit code (-1 when it crashed or hung) and what it wrote to stderr.
    std::pair<int, QString> run(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TALV_HOST_PROGRAM), arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "talv-host did not end";
        }
        const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return {code, QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QString embeddedDatabase() const { return home.filePath("data/TALV/talv-elgroup/talv-elgroup.sqlite"); }

    static int groupCount(const QString &file)
    {
        ConnectionOptions options;
        options.name = file;
        const auto db = Database::open(options);
        QSqlQuery q(db->connection());
        return q.exec("SELECT count(*) FROM element_group") && q.next() ? q.value(0).toInt() : -1;
    }

    QTemporaryDir home;
};

TEST_F(TalvHostProcessTest, DatabasesAreCreatedAndSeededOnlyOnceAndOnlyWhereAllowed)
{
    const auto [first, firstErr] = run({"--smoke-test"});
    ASSERT_EQ(first, 0) << firstErr.toStdString();
    EXPECT_EQ(groupCount(embeddedDatabase()), 160);
    const auto [second, secondErr] = run({"--smoke-test", "--user", "JBRANDT"});
    ASSERT_EQ(second, 0) << secondErr.toStdString();
    EXPECT_EQ(groupCount(embeddedDatabase()), 160) << "the sample is loaded on the first start only";
    const auto [stranger, strangerErr] = run({"--user", "nobody", "--smoke-test"});
    EXPECT_EQ(stranger, 2);
    EXPECT_TRUE(strangerErr.contains("nobody")) << strangerErr.toStdString();

    // A named database that does not exist is made only when asked to.
    const QString file = home.filePath("shared/groups.sqlite");
    const auto [refused, refusedErr] = run({"--database", file, "--smoke-test"});
    EXPECT_EQ(refused, 2);
    EXPECT_TRUE(refusedErr.contains("does not exist")) << refusedErr.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    const auto [created, createdErr] = run({"--database", file, "--create", "--smoke-test"});
    ASSERT_EQ(created, 0) << createdErr.toStdString();
    EXPECT_EQ(groupCount(file), 160);
}

TEST_F(TalvHostProcessTest, AFileThatIsNoDatabaseIsRefusedAndLeftAsItWas)
{
    const QString file = home.filePath("notes.sqlite");
    const QByteArray content = "Field notes, not a database.\n" + QByteArray(5000, 'x');
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    f.close();
    const auto [code, err] = run({"--database", file, "--smoke-test"});
    EXPECT_NE(code, 0);
    EXPECT_TRUE(err.contains(file)) << err.toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), content);
    EXPECT_EQ(QDir(home.path()).entryList({"notes.sqlite*"}, QDir::Files), QStringList({"notes.sqlite"}));
    EXPECT_EQ(run({"--frobnicate"}).first, 1);
    EXPECT_FALSE(QFile::exists(embeddedDatabase()))
        << "a named database never falls back to the embedded one, nor does a usage error";
}

} // namespace
