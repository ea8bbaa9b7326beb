#include "core/numeric.h"

#include <cstdint>

float UTIL_wrap_closed(float v, float span)
{
    if (!std::isfinite(v)) return 0.0f;
    if (v > span) {
        v = std::fmod(v, span);
        if (v == 0.0f) v = span;
    } else if (v < 0.0f) {
        v = std::fmod(v, span);
        if (v < 0.0f) v += span;
        if (v == 0.0f) v = 0.0f;   // a whole number of spans below 0 ends at 0, not -0
    }
    return v;
}

namespace {

// Zero of either sign, after a value was moved by whole spans, as +0.
template <class T> T positive_zero(T v) { return v == T(0) ? T(0) : v; }

template <class T> T wrap_between(T v, T lo, T hi)
{
    if (!std::isfinite(v)) return T(0);
    if (v >= lo && v <= hi) return v;
    const T span = hi - lo;
    const bool from_above = v > hi;
    v = std::fmod(v, span);   // exact: the whole turns the single steps would take
    if (from_above) {
        if (v > hi) v -= span;
        else if (v == T(0) && lo == T(0)) v = hi;   // stepping down stops at hi
    } else if (v < lo) {
        v += span;
    }
    return positive_zero(v);
}

template <class T> T wrap_floor(T v, T span)
{
    if (!std::isfinite(v)) return T(0);
    if (v >= T(0) && v < span) return v;
    v = std::fmod(v, span);
    if (v < T(0)) v += span;
    return positive_zero(v);
}

template <class T> T wrap_nearest(T v, T span)
{
    if (!std::isfinite(v)) return T(0);
    const T half = span / T(2);
    if (v >= -half && v <= half) return v;
    return positive_zero(std::remainder(v, span));
}

}  // namespace

float UTIL_wrap_between(float v, float lo, float hi) { return wrap_between(v, lo, hi); }
double UTIL_wrap_between(double v, double lo, double hi) { return wrap_between(v, lo, hi); }
float UTIL_wrap_floor(float v, float span) { return wrap_floor(v, span); }
double UTIL_wrap_floor(double v, double span) { return wrap_floor(v, span); }

float UTIL_wrap_open(float v, float span)
{
    v = wrap_floor(v, span);
    return v >= span ? 0.0f : v;
}

float UTIL_wrap_from(float v, float lo, float span)
{
    if (!std::isfinite(v)) return lo;
    return lo + wrap_floor(v - lo, span);
}

float UTIL_wrap_nearest(float v, float span) { return wrap_nearest(v, span); }
double UTIL_wrap_nearest(double v, double span) { return wrap_nearest(v, span); }

int UTIL_wrap_int(int value, int lo, int hi)
{
    const int64_t span = static_cast<int64_t>(hi) - lo + 1;
    if (span == 0) return value;
    int64_t v = static_cast<int64_t>(value) - lo;
    v %= span;
    if (v < 0) v += span > 0 ? span : -span;
    return static_cast<int>(v + lo);
}
