// Small arithmetic shared by the stages of the control step: the clamps with
// a neutral value for numbers that are not numbers and the frame period's
// reciprocal. The control laws take their unit factors from core/units.h.
#pragma once

#include <cmath>

#include "core/numeric.h"
#include "core/units.h"

// UTIL_clamp, except that a value that is not a number becomes `neutral`:
// a bad value from a plug-in, the network or a file never travels on.
inline float clamp_or(float x, float lo, float hi, float neutral)
{
    return std::isnan(x) ? neutral : UTIL_clamp(x, lo, hi);
}

// A finite value as it is, anything else as `neutral`.
inline float finite_or(float x, float neutral) { return std::isfinite(x) ? x : neutral; }

// 1 / dt, or 0 when the frame period is not positive (rates then read 0).
inline float per_second(float dt) { return dt > 0.0f ? 1.0f / dt : 0.0f; }

// a / b, or `neutral` when b is 0 or the quotient is not finite.
inline float ratio_or(float a, float b, float neutral)
{
    if (b == 0.0f) return neutral;
    const float q = a / b;
    return std::isfinite(q) ? q : neutral;
}

// A count from the aircraft file bounded to 0..hi.
inline int bounded_count(int n, int hi) { return n < 0 ? 0 : (n > hi ? hi : n); }
