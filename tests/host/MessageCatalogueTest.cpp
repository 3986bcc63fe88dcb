#include "host/MessageCatalogue.h"

#include "platform/ScriptedUiServices.h"

#include <gtest/gtest.h>

using namespace talv;
using host::MessageCatalogue;

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
