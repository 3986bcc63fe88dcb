#pragma once

#include "platform/ScriptedUiServices.h"

#include <gtest/gtest.h>

namespace talv::test {

// What every test that scripts the user ends with: no unexpected box or failed script step, no
// answer or dialog left unused, the normal pointer back.
inline void expectScriptFinished(const ScriptedUiServices &ui)
{
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
    EXPECT_EQ(ui.pendingAnswers(), 0);
    EXPECT_EQ(ui.pendingDialogs(), 0);
    EXPECT_EQ(ui.busyDepth(), 0);
}

} // namespace talv::test
