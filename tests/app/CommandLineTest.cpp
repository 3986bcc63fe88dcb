#include "app/CommandLine.h"

#include <gtest/gtest.h>

using talv::app::CommandLine;
using talv::host::Engine;

namespace {

CommandLine parse(QStringList arguments)
{
    arguments.prepend("talv-host");
    return CommandLine::parse(arguments);
}

// What a start without options opens is TalvHostProcessTest's; the user it logs in is checked here.
TEST(CommandLineTest, OptionsMakeTheConnectionAndChooseTheUser)
{
    EXPECT_EQ(parse({}).options.user, "ecarter");
    const CommandLine line = parse({"--pg-database", "talv", "--pg-host", "db.example.org", "--pg-port", "6543",
                                    "--pg-user", "biologist", "--user", "jbrandt", "--create"});
    ASSERT_FALSE(line.exitNow) << line.error.toStdString();
    const auto &c = line.options.connection;
    EXPECT_EQ(c.engine, Engine::PostgreSQL);
    EXPECT_EQ(c.name, "talv");
    EXPECT_EQ(c.host, "db.example.org");
    EXPECT_EQ(c.port, 6543);
    EXPECT_EQ(c.user, "biologist");
    EXPECT_EQ(line.options.user, "jbrandt");
    EXPECT_TRUE(line.options.create);
}

TEST(CommandLineTest, ContradictionsAndNonsenseAreUsageErrors)
{
    const QList<QStringList> wrong = {
        {"--database", "a.sqlite", "--pg-database", "talv"},
        {"--pg-host", "localhost"},
        {"--pg-database", "talv", "--pg-port", "99999"},
        {"--pg-database", "talv", "--pg-port", "five"},
        {"--create"},
        {"--user", "  "},
        {"--database", ""},
        {"--no-such-option"},
        {"stray.sqlite"},
    };
    for (const QStringList &arguments : wrong) {
        const CommandLine line = parse(arguments);
        EXPECT_TRUE(line.exitNow) << arguments.join(u' ').toStdString();
        EXPECT_EQ(line.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(line.error.startsWith("talv-host: ")) << line.error.toStdString();
    }
}

} // namespace
