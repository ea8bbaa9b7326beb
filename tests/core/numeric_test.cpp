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

TEST(Numeric, WrapsDifferAtTheEndsOfTheirSpans)
{
    // Between: inside stays, from above the largest value not above hi.
    EXPECT_EQ(UTIL_wrap_between(540.0f, -180.0f, 180.0f), 180.0f);
    EXPECT_EQ(UTIL_wrap_between(-540.0f, -180.0f, 180.0f), -180.0f);
    EXPECT_EQ(UTIL_wrap_between(190.0f, -180.0f, 180.0f), -170.0f);
    EXPECT_EQ(UTIL_wrap_between(1440.0f, 0.0f, 360.0f), 360.0f);
    EXPECT_EQ(UTIL_wrap_between(95.0f, -90.0f, 90.0f), -85.0f);
    EXPECT_EQ(UTIL_wrap_between(0.1f, -180.0f, 180.0f), 0.1f);   // no round trip through 180
    EXPECT_FALSE(std::signbit(UTIL_wrap_between(-360.0f, -180.0f, 180.0f)));
    EXPECT_TRUE(std::signbit(UTIL_wrap_between(-0.0f, -180.0f, 180.0f)));
    EXPECT_EQ(UTIL_wrap_between(1.0e30, -180.0, 180.0), 16.0);   // 1e30 is 16 past a whole turn
    EXPECT_EQ(UTIL_wrap_between(NaN, -180.0f, 180.0f), 0.0f);
    // A huge value ends where small steps would.
    EXPECT_EQ(UTIL_wrap_between(3.0e7f + 10.0f, -1000.0f, 1000.0f), std::fmod(3.0e7f + 10.0f, 2000.0f));

    // Floor: 360 gives 0; a tiny negative value rounds up to the span; open makes that 0 too.
    EXPECT_EQ(UTIL_wrap_floor(360.0f, 360.0f), 0.0f);
    EXPECT_EQ(UTIL_wrap_floor(-10.0f, 360.0f), 350.0f);
    EXPECT_EQ(UTIL_wrap_floor(-1.0e-6f, 360.0f), 360.0f);
    EXPECT_EQ(UTIL_wrap_open(-1.0e-6f, 360.0f), 0.0f);
    EXPECT_FALSE(std::signbit(UTIL_wrap_floor(-720.0f, 360.0f)));
    EXPECT_EQ(UTIL_wrap_floor(-370.0, 360.0), 350.0);
    EXPECT_EQ(UTIL_wrap_floor(INFINITY, 360.0f), 0.0f);

    // From: the offset first, so -180 stays and 180 becomes -180.
    EXPECT_EQ(UTIL_wrap_from(180.0f, -180.0f, 360.0f), -180.0f);
    EXPECT_EQ(UTIL_wrap_from(-180.0f, -180.0f, 360.0f), -180.0f);
    EXPECT_EQ(UTIL_wrap_from(NaN, -180.0f, 360.0f), -180.0f);

    // Nearest: halves go to the even number of spans.
    EXPECT_EQ(UTIL_wrap_nearest(540.0f, 360.0f), -180.0f);
    EXPECT_EQ(UTIL_wrap_nearest(180.0f, 360.0f), 180.0f);
    EXPECT_EQ(UTIL_wrap_nearest(900.0, 360.0), 180.0);
    EXPECT_FALSE(std::signbit(UTIL_wrap_nearest(-720.0f, 360.0f)));
    EXPECT_EQ(UTIL_wrap_nearest(-INFINITY, 360.0f), 0.0f);

    // Whole numbers: both ends included, no overflow at the ends of int.
    EXPECT_EQ(UTIL_wrap_int(-1, 0, 359), 359);
    EXPECT_EQ(UTIL_wrap_int(180, -179, 180), 180);
    EXPECT_EQ(UTIL_wrap_int(181, -179, 180), -179);
    EXPECT_EQ(UTIL_wrap_int(INT32_MIN, 0, 359), static_cast<int>((int64_t{INT32_MIN} % 360 + 360) % 360));
}
