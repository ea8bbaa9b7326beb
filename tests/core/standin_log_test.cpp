#include <gtest/gtest.h>

#include <cstddef>

#include "core/standin_log.h"

// A stand-in called every frame (the plane step, for every plane in every
// flying frame) keeps only its most recent calls.
TEST(StandinCallLog, CalledEveryFrameKeepsOnlyTheRecentCalls)
{
    standin_call_log calls;
    for (size_t i = 0; i <= standin_call_log::LIMIT; ++i) calls.push_back("step");
    calls.push_back("last");
    EXPECT_LE(calls.size(), standin_call_log::LIMIT);
    EXPECT_EQ(calls.back(), "last");
}
