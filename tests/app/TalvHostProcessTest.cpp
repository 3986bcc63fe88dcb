#include "host/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace talv::host;

namespace {

// talv-host run as a user would run it, in a home folder of its own.
class TalvHostProcessTest : public ::testing::Test
{
protected:
    // The exit code (-1 when it crashed or hung) and what it wrote to stderr. `asAnotherUser`
    // runs it as a user who owns none of the test's files ("nobody", when the test runs as root).
    std::pair<int, QString> run(const QStringList &arguments, bool asAnotherUser = false)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        process.setProcessEnvironment(env);
        if (asAnotherUser && geteuid() == 0)
            process.start("runuser",
                          QStringList{"-p", "-u", "nobody", "--", QStringLiteral(TALV_HOST_PROGRAM)} + arguments);
        else
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
    EXPECT_TRUE(refusedErr.contains("does not exist") && refusedErr.contains("--create")) << refusedErr.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    const auto [created, createdErr] = run({"--database", file, "--create", "--smoke-test"});
    ASSERT_EQ(created, 0) << createdErr.toStdString();
    EXPECT_EQ(groupCount(file), 160);

    // An empty file is a database still to be made, not a foreign file.
    const QString empty = home.filePath("empty.sqlite");
    ASSERT_TRUE(QFile(empty).open(QIODevice::WriteOnly));
    const auto [unset, unsetErr] = run({"--database", empty, "--smoke-test"});
    EXPECT_EQ(unset, 2);
    EXPECT_TRUE(unsetErr.contains("holds no TALV ELGroup data")) << unsetErr.toStdString();
    const auto [setUp, setUpErr] = run({"--database", empty, "--create", "--smoke-test"});
    ASSERT_EQ(setUp, 0) << setUpErr.toStdString();
    EXPECT_EQ(groupCount(empty), 160);
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
    EXPECT_TRUE(err.contains(file + " is not a database file")) << err.toStdString();
    EXPECT_FALSE(err.contains("file is not a database")) << "SQLite's words are for programmers";
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), content);
    EXPECT_EQ(QDir(home.path()).entryList({"notes.sqlite*"}, QDir::Files), QStringList({"notes.sqlite"}));
    EXPECT_EQ(run({"--frobnicate"}).first, 1);
    EXPECT_FALSE(QFile::exists(embeddedDatabase()))
        << "a named database never falls back to the embedded one, nor does a usage error";
}

TEST_F(TalvHostProcessTest, AFileTheUserMayOnlyReadOpensForReadingAndIsLeftAsItWas)
{
    // Another user's database in a folder anyone may write to, where journal files could be left.
    const QString file = home.filePath("owners.sqlite");
    ASSERT_EQ(run({"--database", file, "--create", "--smoke-test"}).first, 0);
    QFile::setPermissions(home.path(), QFile::Permissions(0x7777));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther |
                                    (geteuid() == 0 ? QFile::WriteOwner : QFile::Permissions()));
    const auto digest = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                           : QByteArray();
    };
    const QByteArray before = digest();

    const auto [code, err] = run({"--database", file, "--user", "jbrandt", "--smoke-test"}, true);
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_EQ(digest(), before);
    EXPECT_EQ(QDir(home.path()).entryList({"owners.sqlite*"}, QDir::Files), QStringList({"owners.sqlite"}));
}

} // namespace
