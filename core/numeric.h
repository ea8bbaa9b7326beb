// Small numeric helpers every subsystem shares: the clamps, minimum and
// maximum, range and sanity tests, and the wrap of a value into a span.
// The clamps test the lower bound first; they differ only in what a NaN
// becomes, so each call site keeps the one whose rule it was written with.
#pragma once

#include <cmath>

// lo when x < lo; otherwise hi when x > hi; otherwise x. The lower bound is
// tested first, so with lo > hi the result is lo below lo and hi from lo up;
// a NaN x fails both tests and comes back as it is.
inline float UTIL_clamp(float x, float lo, float hi)
{
    if (x < lo) return lo;
    if (x > hi) return hi;
    return x;
}

// The same tests, except that a value that is not at least lo, a NaN
// included, becomes lo.
inline float UTIL_clamp_nan_low(float x, float lo, float hi)
{
    if (!(x >= lo)) return lo;
    if (x > hi) return hi;
    return x;
}

// lo when x < lo; otherwise hi when x > hi; otherwise x (lower bound first).
inline int util_clamp_int(int x, int lo, int hi)
{
    if (x < lo) return lo;
    if (x > hi) return hi;
    return x;
}

// Into [-1, 1], for the sine or cosine that rounding may have carried just
// past either end before an asin or acos; a NaN comes back as it is.
inline double UTIL_clamp_unit(double v) { return v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v); }

// a when a > b, otherwise b (so b when either is NaN, and b when they are equal).
inline float UTIL_max(float a, float b) { return a > b ? a : b; }

// The largest of three: the larger of a and b (b when they are equal), then c
// only when it is strictly larger than that.
inline float UTIL_max3(float a, float b, float c)
{
    const float m = a > b ? a : b;
    return c > m ? c : m;
}

// a when a < b, otherwise b (so b when either is NaN, and b when they are equal).
inline float UTIL_min(float a, float b) { return a < b ? a : b; }

// 1 when lo <= x <= hi, otherwise 0.
inline int UTIL_in_range(int x, int lo, int hi) { return (x >= lo && x <= hi) ? 1 : 0; }

inline float util_abs_float(float x) { return x < 0.0f ? -x : x; }

// The value, or 0 when it is not finite.
inline float UTIL_finite_or_zero(float v) { return std::isfinite(v) ? v : 0.0f; }

// 1 for a NaN or a value of magnitude 1e10 or more.
inline int UTIL_bad_float(float x) { return (std::isnan(x) || x <= -1e10f || x >= 1e10f) ? 1 : 0; }

// The wraps below bring a value (an angle in degrees or radians, a phase, a
// drift) into a span by whole spans. They reduce with one exact remainder, so a
// huge value costs no more than a small one, and a value that is not finite
// becomes 0. A value that was moved and lands on zero is +0, as adding or
// subtracting whole spans would give; a value already inside keeps its bits.

// Brings a value into [0, span] by whole spans, as repeated adding and
// subtracting would (span itself stays); a value that is not finite becomes 0.
float UTIL_wrap_closed(float v, float span);

// Into [lo, hi], lo <= 0 <= hi, as adding or subtracting hi - lo one step at a
// time would: a value inside stays as it is, one above ends at the largest
// value not above hi (so 540 gives 180 for -180..180, and 720 gives 360 for
// 0..360), one below at the smallest value not below lo.
float UTIL_wrap_between(float v, float lo, float hi);
double UTIL_wrap_between(double v, double lo, double hi);
// The difference of two directions in degrees into [-180, 180] that way (unlike
// UTIL_wrap_180, a value already inside keeps every bit).
inline float UTIL_wrap_pm180(float deg) { return UTIL_wrap_between(deg, -180.0f, 180.0f); }
inline double UTIL_wrap_pm180(double deg) { return UTIL_wrap_between(deg, -180.0, 180.0); }

// The floored remainder: into [0, span) by whole spans (span itself gives 0;
// a tiny negative value may round up to span). 370 gives 10, -10 gives 350.
float UTIL_wrap_floor(float v, float span);
double UTIL_wrap_floor(double v, double span);

// Into [0, span) strictly: as UTIL_wrap_floor, with the rounded-up span also 0.
float UTIL_wrap_open(float v, float span);

// Into [lo, lo + span): lo + UTIL_wrap_floor(v - lo, span), the offset taken
// first; a value that is not finite becomes lo.
float UTIL_wrap_from(float v, float lo, float span);

// The nearest remainder: into [-span/2, span/2] by the nearest whole number of
// spans, halves to the even one (so 540 gives -180 for a span of 360).
float UTIL_wrap_nearest(float v, float span);
double UTIL_wrap_nearest(double v, double span);

// A whole number into lo..hi (both included) by whole spans of hi - lo + 1,
// worked in 64 bits so no value overflows; an empty span leaves it as it is.
int UTIL_wrap_int(int value, int lo, int hi);

// An angle in degrees brought into [0, 360] or [-180, 180] by whole turns (a
// value that is not finite becomes 0).
inline float UTIL_wrap_360(float deg) { return UTIL_wrap_closed(deg, 360.0f); }
inline float UTIL_wrap_180(float deg) { return std::isfinite(deg) ? UTIL_wrap_closed(deg + 180.0f, 360.0f) - 180.0f : 0.0f; }
