// Gear deployment, the autopilot engagement test and the float clamp,
// maximum and minimum shared by the flight model and its neighbours.
#pragma once

// lo when x < lo; otherwise hi when x > hi; otherwise x. The lower bound is
// tested first, so with lo > hi the result is lo below lo and hi from lo up;
// a NaN x fails both tests and comes back as it is.
inline float UTIL_clamp(float x, float lo, float hi)
{
    if (x < lo) return lo;
    if (x > hi) return hi;
    return x;
}

// a when a > b, otherwise b (so b when either is NaN, and b when they are equal).
inline float UTIL_max(float a, float b) { return a > b ? a : b; }

// a when a < b, otherwise b (so b when either is NaN, and b when they are equal).
inline float UTIL_min(float a, float b) { return a < b ? a : b; }

// 0 when all five autopilot mode words are 9 (off), otherwise 1.
int AP_any_mode_engaged();

// Moves the retractable gear legs of plane slot p one frame towards down
// (down = 1) or up (down = 0), each leg at its own randomised rate that
// changes with each whole second of the frame clock (seconds since the first
// frame). Legs that are absent or failed keep their deployment.
void GEAR_deploy_step_at(int p, int down, float clock);
// The same at the frame loop's clock.
void GEAR_deploy_step(int p, int down);
