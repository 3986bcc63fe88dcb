#pragma once

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <functional>

// The number of the talv::Error that `f` raises, 0 for none; its description must name `mention`.
inline int errorNumber(const std::function<void()> &f, const QString &mention = {})
{
    try {
        f();
    } catch (const talv::Error &e) {
        EXPECT_TRUE(e.description().contains(mention)) << e.description().toStdString();
        return e.number();
    }
    return 0;
}
