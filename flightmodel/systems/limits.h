// Limits, frame-rate guard and crash of the user's plane (stage 13, the last
// of the systems step): over-g and overspeed flags that fail the parts they
// break; the visibility shortened or lengthened to keep the frame rate up and
// a one-time warning when it stays too low; the crash, which either holds the
// plane or plays the crash, shows the advisories that explain it and restarts the flight.
//
// Reads: flt[0] g load, airspeed, flap request, position, attitude and
// vertical speed, its terrain cell, the step record (whether the frame's
// steps met the surface and the speed they met it with), the land-use grid, terrain_height_m, the carrier and
// airport-surface flags, the aircraft limits, the warning preferences, the
// frame period and its goal, the network roles, the open menu, the ice,
// carburettor ice and failure table.
// Writes: the exceedance flags and failure slots, visibility_framerate_ratio,
// crash_hold_until, flt[0] local velocity (held), the flight (restarted).
#pragma once

#include <cstdint>

struct limits_state {
    int32_t slow_seconds = 0;
    int32_t framerate_warned = 0;
    bool crash_speed_set = false;
    float crash_vertical_speed = 0.0f;   // m/s, set on the first pass
};
extern limits_state limits;
void LIMITS_reset();

// The first UI text entry of each crash advisory; each takes consecutive
// entries, one a line (3, 3, 4, 2, 2 and 2 lines in this order).
constexpr int CRASH_TEXT_AIRFRAME_ICE = 740;
constexpr int CRASH_TEXT_CARBURETTOR_ICE = 743;
constexpr int CRASH_TEXT_VACUUM = 746;
constexpr int CRASH_TEXT_OVER_G = 750;
constexpr int CRASH_TEXT_OVER_VNE = 752;
constexpr int CRASH_TEXT_OVER_VFE = 754;

// Seconds the crash waits (wall clock) before it explains and restarts.
constexpr double CRASH_WAIT_SEC = 4.0;

// Stage 13.
void SYSTEMS_limits_and_crash();
void LIMITS_exceedances();
void LIMITS_frame_rate_guard();
// 1 when this frame is a crash (the hold or restart has been done).
int LIMITS_crash();
// Water under any corner of the plane's terrain cell (the land-use grid).
bool LIMITS_over_water();
