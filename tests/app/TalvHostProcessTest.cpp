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
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };

    Run run(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        QDir(home.path()).mkdir("runtime");
        QFile::setPermissions(home.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TALV_HOST_PROGRAM), arguments);
        Run result;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "talv-host did not end";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    QString embeddedDatabase() const { return home.filePath("data/TALV/talv-elgroup/talv-elgroup.sqlite"); }

    static int groupCount(const QString &file)
    {
        ConnectionOptions options;
        options.name = file;
        auto db = Database::open(options);
        QSqlQuery q(db->connection());
        if (!q.exec("SELECT count(*) FROM element_group") || !q.next())
            return -1;
        return q.value(0).toInt();
    }

    static QByteArray bytesOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir home;
};

TEST_F(TalvHostProcessTest, TheFirstStartCreatesAndSeedsTheEmbeddedDatabaseOnce)
{
    const Run first = run({"--smoke-test"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_TRUE(QFile::exists(embeddedDatabase()));
    EXPECT_EQ(groupCount(embeddedDatabase()), 160);

    const Run second = run({"--smoke-test", "--user", "JBRANDT"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(groupCount(embeddedDatabase()), 160) << "the sample is loaded on the first start only";
}

TEST_F(TalvHostProcessTest, AFileThatIsNoDatabaseIsRefusedAndLeftAsItWas)
{
    const QString file = home.filePath("notes.sqlite");
    QByteArray content("Field notes, not a database.\n");
    content.append(QByteArray(5000, 'x'));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const Run result = run({"--database", file, "--smoke-test"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.err.contains(file)) << result.err.toStdString();
    EXPECT_EQ(bytesOf(file), content);
    EXPECT_EQ(QDir(home.path()).entryList({"notes.sqlite*"}, QDir::Files), QStringList({"notes.sqlite"}));
    EXPECT_FALSE(QFile::exists(embeddedDatabase())) << "a named database never falls back to the embedded one";
}

TEST_F(TalvHostProcessTest, ANamedDatabaseIsCreatedOnlyWhenAskedTo)
{
    const QString file = home.filePath("shared/groups.sqlite");
    const Run refused = run({"--database", file, "--smoke-test"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("does not exist")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(file));

    const Run created = run({"--database", file, "--create", "--smoke-test"});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_EQ(groupCount(file), 160);
}

TEST_F(TalvHostProcessTest, AnUnknownUserOrARefusingServerEndsWithAMessage)
{
    const Run stranger = run({"--user", "nobody", "--smoke-test"});
    EXPECT_EQ(stranger.exitCode, 2);
    EXPECT_TRUE(stranger.err.contains("nobody")) << stranger.err.toStdString();

    // Port 1 answers no PostgreSQL server.
    const Run server = run({"--pg-database", "talv", "--pg-host", "127.0.0.1", "--pg-port", "1", "--smoke-test"});
    EXPECT_EQ(server.exitCode, 2);
    EXPECT_TRUE(server.err.contains("talv-host: The PostgreSQL database 127.0.0.1:1/talv cannot be opened"))
        << server.err.toStdString();
}

TEST_F(TalvHostProcessTest, HelpAndUsageErrorsNeedNoDatabase)
{
    const Run help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: talv-host [options]"));
    for (const char *option : {"--database", "--create", "--pg-host", "--pg-port", "--pg-database", "--pg-user",
                               "--user", "--smoke-test", "PGPASSWORD"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(option))) << option;
    const Run wrong = run({"--frobnicate"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains("frobnicate"));
    EXPECT_FALSE(QDir(home.filePath("data")).exists());
}

} // namespace
