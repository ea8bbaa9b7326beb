#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/numeric.h"

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(Numeric, ClampMaxMinFollowTheirComparisons)
{
    const struct { float v, lo, hi, result; } clamps[] = {
        {-2.0f, 0.0f, 1.0f, 0.0f}, {2.0f, 0.0f, 1.0f, 1.0f}, {0.3f, 0.0f, 1.0f, 0.3f},
        {0.5f, 1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f, 0.0f},   // lo > hi: lo below lo, hi from lo up
        {0.5f, NaN, NaN, 0.5f},                              // NaN: every comparison fails
    };
    for (const auto& c : clamps) EXPECT_FLOAT_EQ(UTIL_clamp(c.v, c.lo, c.hi), c.result) << c.v << " " << c.lo;
    EXPECT_TRUE(std::isnan(UTIL_clamp(NaN, 0.0f, 1.0f)));
    EXPECT_FLOAT_EQ(UTIL_max(NaN, 1.0f), 1.0f);
    EXPECT_TRUE(std::isnan(UTIL_max(1.0f, NaN)));
    EXPECT_FLOAT_EQ(UTIL_min(NaN, 1.0f), 1.0f);
    EXPECT_TRUE(std::isnan(UTIL_min(1.0f, NaN)));
    // Equal arguments give the second: visible only in the sign of zero.
    EXPECT_FALSE(std::signbit(UTIL_max(-0.0f, 0.0f)));
    EXPECT_TRUE(std::signbit(UTIL_max(0.0f, -0.0f)));
    EXPECT_TRUE(std::signbit(UTIL_min(0.0f, -0.0f)));
}

TEST(Numeric, ClampVariantsDifferOnlyInWhatANaNBecomes)
{
    // Every clamp tests the low bound first.
    EXPECT_FLOAT_EQ(UTIL_clamp_nan_low(0.5f, 1.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(UTIL_clamp_nan_low(1.0f, 1.0f, 0.0f), 0.0f);
    // A NaN: the low bound, passed through, passed through.
    EXPECT_EQ(UTIL_clamp_nan_low(NaN, -1.0f, 1.0f), -1.0f);
    EXPECT_TRUE(std::isnan(UTIL_clamp(NaN, -1.0f, 1.0f)));
    EXPECT_TRUE(std::isnan(UTIL_clamp_unit(std::nan(""))));
    EXPECT_EQ(UTIL_clamp_unit(1.0000000001), 1.0);
    EXPECT_EQ(UTIL_clamp_unit(-1.0000000001), -1.0);
    EXPECT_EQ(UTIL_clamp_unit(0.25), 0.25);
}

TEST(Numeric, WrapClosedKeepsTheSpanAndDropsNegativeZero)
{
    EXPECT_EQ(UTIL_wrap_closed(360.0f, 360.0f), 360.0f);
    EXPECT_EQ(UTIL_wrap_closed(720.0f, 360.0f), 360.0f);
    EXPECT_EQ(UTIL_wrap_closed(370.0f, 360.0f), 10.0f);
    EXPECT_EQ(UTIL_wrap_closed(-10.0f, 360.0f), 350.0f);
    EXPECT_FALSE(std::signbit(UTIL_wrap_closed(-720.0f, 360.0f)));
    EXPECT_EQ(UTIL_wrap_closed(INFINITY, 360.0f), 0.0f);
    EXPECT_EQ(UTIL_wrap_closed(NaN, 360.0f), 0.0f);
}
