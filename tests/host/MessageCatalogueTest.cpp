#include "host/MessageCatalogue.h"

#include "platform/ScriptedUiServices.h"

#include <gtest/gtest.h>

using namespace talv;
using host::MessageCatalogue;

// Each id the screens pass, with the buttons its caller tests the answer against.
TEST(MessageCatalogue, EveryScreenMessageOffersTheButtonsItsCallerExpects)
{
    const MessageCatalogue catalogue;
    const struct {
        const char *id;
        MsgButtons buttons;
    } expected[] = {
        {"APP001", MsgButtons::OK},    {"APP002", MsgButtons::OK},    {"APP003", MsgButtons::OK},
        {"APP027", MsgButtons::YesNo}, {"APP028", MsgButtons::OK},    {"APP029", MsgButtons::OKCancel},
        {"APP036", MsgButtons::OK},    {"APP043", MsgButtons::YesNo}, {"APP046", MsgButtons::OK},
        {"EGP002", MsgButtons::YesNo}, {"EGP003", MsgButtons::OK},    {"EGP004", MsgButtons::YesNoCancel},
        {"EGP005", MsgButtons::OK},    {"EGP006", MsgButtons::OK},    {"EGP007", MsgButtons::OK},
        {"EGP008", MsgButtons::OK},    {"EGP009", MsgButtons::OK},    {"EGP010", MsgButtons::OK},
        {"EGP011", MsgButtons::OK},    {"MGA013", MsgButtons::OK},
    };
    for (const auto &e : expected) {
        const QString id = QString::fromLatin1(e.id);
        ASSERT_TRUE(catalogue.contains(id)) << e.id;
        EXPECT_EQ(catalogue.entry(id).buttons, e.buttons) << e.id;
        EXPECT_FALSE(catalogue.entry(id).text.contains(id)) << e.id << " has a real text";
        const MsgIcon icon = catalogue.entry(id).icon;
        if (e.buttons != MsgButtons::OK) {
            EXPECT_EQ(icon, MsgIcon::Question) << e.id;
        }
    }
    EXPECT_EQ(catalogue.ids().size(), qsizetype(std::size(expected)));
}

TEST(MessageCatalogue, ShowsTheBoxAndAnswersTheButtonPressed)
{
    MessageCatalogue catalogue;
    ScriptedUiServices ui;
    ScopedUiServices scope(ui);
    for (const int answer : {Answer::Cancel, Answer::No, Answer::OK, Answer::OK, Answer::Yes})
        ui.queueAnswer(answer);

    EXPECT_EQ(catalogue.show("EGP004"), Answer::Cancel);
    EXPECT_EQ(catalogue.show("app043"), Answer::No) << "ids match in any case";
    EXPECT_EQ(catalogue.show("EGP011", {"Reference"}), Answer::OK);
    // An unknown id still asks, naming the id and what the caller wanted to say.
    EXPECT_EQ(catalogue.show("XYZ999", {"first detail", "second detail"}), Answer::OK);
    catalogue.add("HST001", {"Log in as %1?", MsgButtons::YesNo, MsgIcon::Question});
    EXPECT_EQ(catalogue.show("hst001", {"ecarter"}), Answer::Yes);

    ASSERT_EQ(ui.boxes().size(), 5);
    EXPECT_EQ(ui.boxes()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(ui.boxes()[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.boxes()[2].text, "No matching Reference record was found.");
    EXPECT_TRUE(ui.boxes()[3].text.contains("XYZ999"));
    EXPECT_TRUE(ui.boxes()[3].text.contains("first detail\nsecond detail"));
    EXPECT_EQ(ui.boxes()[3].buttons, MsgButtons::OK);
    EXPECT_EQ(ui.boxes()[4].text, "Log in as ecarter?");
}

TEST(MessageCatalogue, ArgumentsFillPlaceholdersOnceAndOnlyTheirOwn)
{
    const MessageCatalogue catalogue;
    // A database message may itself hold "%1"; it is shown as it is.
    EXPECT_EQ(catalogue.format("APP036", {"constraint %1 failed", "unused"}),
              "The data could not be copied.\n\nconstraint %1 failed");
    EXPECT_EQ(catalogue.format("MGA013", {}), "The  screen could not be opened.");
    EXPECT_EQ(host::fillPlaceholders("%2 before %1, 100% sure", {"a", "b"}), "b before a, 100% sure");
    EXPECT_EQ(host::fillPlaceholders("trailing %", {"a"}), "trailing %");
}
