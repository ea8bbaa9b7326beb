// What the engine models of this folder share: bounded counts, the presence
// tests of engines and thrust points, and guarded arithmetic on file values.
#pragma once

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/engine_types.h"
#include "core/simvars/operation.h"
#include "flightmodel/flt.h"
#include "aircraft/part_presence.h"
#include "flightmodel/step_record.h"

namespace prop_detail {

inline int clamp_count(int n) { return n < 0 ? 0 : (n > FLT_ENGINES ? FLT_ENGINES : n); }

// Engines and thrust points of the user's plane, kept inside the tables.
inline int engine_count() { return clamp_count(pln[0].acf_num_engines); }
inline int thrust_point_count() { return clamp_count(pln[0].acf_num_thrustpoints); }

inline float clampf(float x, float lo, float hi)
{
    if (x < lo) return lo;
    if (x > hi) return hi;
    return x;
}

// x / d, or `fallback` when d is too small to divide by (a zero, damaged or
// missing file value).
inline float div_or(float x, float d, float fallback)
{
    return std::fabs(d) > 1e-6f ? x / d : fallback;
}

// sqrt that keeps the sign of its argument.
inline float signed_sqrt(float u) { return u < 0.0f ? -std::sqrt(-u) : std::sqrt(u); }

// v moved away from zero to at least `m` in magnitude (zero goes to +m).
inline float away_from_zero(float v, float m)
{
    if (v >= 0.0f && v < m) return m;
    if (v < 0.0f && v > -m) return -m;
    return v;
}

// Failure state 6 of entry s of the user's plane.
inline bool failed(int s) { return FLT_slot_failed(0, s); }

// Thrust point n carries a propeller or rotor that takes part this frame: it
// lies below the thrust-point count, its engine has not failed, it is not
// hidden at full vector; an engine of its own drives a propeller or carries
// tip jets, or it has no engine of its own.
inline bool prop_present(int n)
{
    if (n < 0 || n >= thrust_point_count()) return false;
    if (!ACF_part_not_failed_or_hidden(0, n)) return false;
    if (n < engine_count()) {
        const int t = pln[0].acf_en_type[n];
        return ENGINE_type_drives_prop(t) || t == ENGINE_TIP_ROCKET;
    }
    return true;
}

// Engine n turns a propeller through its shaft and has not failed (the
// power and linked-shaft tests): the prop present test held to the engines,
// so an engine past the thrust points has no prop to power.
inline bool engine_powers_prop(int n)
{
    if (n < 0 || n >= engine_count() || n >= thrust_point_count()) return false;
    if (!ACF_part_not_failed_or_hidden(0, n)) return false;
    return ENGINE_type_drives_prop(pln[0].acf_en_type[n]);
}

inline bool is_rotor_type(int prop_type) { return prop_type == PROP_COLLECTIVE_ROTOR || prop_type == PROP_MAIN_ROTOR; }

// A propeller's rotational inertia as the integrations divide by it: a zero
// or damaged value counts as a small one.
constexpr float MIN_INERTIA = 0.01f;
inline float prop_inertia(int n)
{
    const float i = pln[0].acf_miprop_rpm[n];
    return i > MIN_INERTIA ? i : MIN_INERTIA;
}
// An engine's own rotational inertia at its shaft; a file without it (or with
// a damaged value) gets a quarter of its propeller's, taken through the gears.
inline float engine_inertia(int n)
{
    const acf_struct& a = pln[0];
    const float i = a.acf_eng_inertia[n];
    if (i > MIN_INERTIA) return i;
    const float gear = a.acf_prop_gear_rat[n];
    const float share = std::fabs(gear) > 1e-3f ? 0.25f * a.acf_miprop_rpm[n] / (gear * gear) : 0.0f;
    return share > MIN_INERTIA ? share : MIN_INERTIA;
}

// The fastest any shaft may turn (rad/s, about 95,000 rpm): a ceiling no
// engine reaches, so a damaged file cannot run the integration away.
constexpr float MAX_SHAFT_SPEED = 1.0e4f;

// The length of the integration step the engines run in (the frame period
// when they run once a frame, outside the integration).
inline float frame_dt() { return FM_step_sec(); }

}  // namespace prop_detail
