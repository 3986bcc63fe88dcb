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
        ASSERT_TRUE(catalogue.contains(e.id)) << e.id;
        EXPECT_EQ(catalogue.entry(e.id).buttons, e.buttons) << e.id;
        EXPECT_FALSE(catalogue.entry(e.id).text.contains(e.id)) << e.id << " has a real text";
        EXPECT_TRUE(e.buttons == MsgButtons::OK || catalogue.entry(e.id).icon == MsgIcon::Question) << e.id;
    }
    EXPECT_EQ(catalogue.ids().size(), qsizetype(std::size(expected)));
}

TEST(MessageCatalogue, ShowsTheBoxFilledInAndAnswersTheButtonPressed)
{
    MessageCatalogue catalogue;
    ScriptedUiServices ui;
    ScopedUiServices scope(ui);
    ui.queueAnswer(Answer::Cancel);
    ui.queueAnswer(Answer::OK);
    EXPECT_EQ(catalogue.show("egp004"), Answer::Cancel) << "ids match in any case";
    EXPECT_EQ(ui.boxes().value(0).buttons, MsgButtons::YesNoCancel);
    // An unknown id still asks, naming the id and what the caller wanted to say.
    catalogue.show("XYZ999", {"first detail", "second detail"});
    EXPECT_TRUE(ui.boxes().value(1).text.contains("XYZ999"));
    EXPECT_TRUE(ui.boxes().value(1).text.contains("first detail\nsecond detail"));

    // A database message may itself hold "%1"; it is shown as it is.
    EXPECT_EQ(catalogue.format("APP036", {"constraint %1 failed", "unused"}),
              "The data could not be copied.\n\nconstraint %1 failed");
    EXPECT_EQ(catalogue.format("EGP011", {"Reference"}), "No matching Reference record was found.");
    EXPECT_EQ(host::fillPlaceholders("%2 before %1, 100% sure", {"a", "b"}), "b before a, 100% sure");
    EXPECT_EQ(host::fillPlaceholders("trailing %", {"a"}), "trailing %");
}
