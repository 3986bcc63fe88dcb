#include "app/CommandLine.h"
#include "app/Startup.h"
#include "platform/ScriptedUiServices.h"

#include <gtest/gtest.h>

using talv::app::CommandLine;
using talv::host::Engine;

namespace {

CommandLine parse(QStringList arguments)
{
    arguments.prepend("talv-host");
    return CommandLine::parse(arguments);
}

TEST(CommandLineTest, OptionsMakeTheConnectionAndChooseTheUser)
{
    EXPECT_EQ(parse({}).options.user, "ecarter");
    const CommandLine line = parse({"--pg-database", "talv", "--pg-host", "db.example.org", "--pg-port", "6543",
                                    "--pg-user", "biologist", "--user", "jbrandt", "--create"});
    ASSERT_FALSE(line.exitNow) << line.error.toStdString();
    const auto &c = line.options.connection;
    EXPECT_EQ(QStringList({c.name, c.host, c.user, line.options.user}),
              QStringList({"talv", "db.example.org", "biologist", "jbrandt"}));
    EXPECT_TRUE(c.engine == Engine::PostgreSQL && c.port == 6543 && line.options.create);
    // In a shared database a user connects as their own role and works as that user.
    const CommandLine shared = parse({"--pg-database", "talv", "--pg-user", "jbrandt", "--setup-shared"});
    EXPECT_EQ(shared.options.user, "jbrandt");
    EXPECT_TRUE(shared.options.setupShared);

    for (const QStringList &wrong : QList<QStringList>{{"--database", "a.sqlite", "--pg-database", "talv"},
                                                       {"--pg-host", "localhost"},
                                                       {"--pg-database", "talv", "--pg-port", "99999"},
                                                       {"--pg-database", "talv", "--pg-port", "five"},
                                                       {"--create"},
                                                       {"--database", "a.sqlite", "--setup-shared"},
                                                       {"--user", "  "},
                                                       {"--no-such-option"},
                                                       {"stray.sqlite"}}) {
        const CommandLine refused = parse(wrong);
        EXPECT_TRUE(refused.exitNow && refused.exitCode == 1) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(refused.error.startsWith("talv-host: ")) << refused.error.toStdString();
        // A sentence: a capital letter, or the option or value it is about.
        const QChar first = refused.error.size() > 11 ? refused.error.at(11) : QChar();
        EXPECT_TRUE(first.isUpper() || first == u'-' || first == u'\'') << refused.error.toStdString();
    }
}

TEST(StartFailureTest, WithoutATerminalTheReasonAlsoShowsInABox)
{
    talv::ScriptedUiServices ui;
    talv::ScopedUiServices scoped(ui);
    talv::app::reportStartFailure("The database file x.sqlite does not exist.", false);
    EXPECT_TRUE(ui.boxes().isEmpty());
    ui.queueAnswer(talv::Answer::OK);
    talv::app::reportStartFailure("The database file x.sqlite does not exist.", true);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().first().text, "The database file x.sqlite does not exist.");
    EXPECT_EQ(ui.boxes().first().icon, talv::MsgIcon::Critical);
}

} // namespace
