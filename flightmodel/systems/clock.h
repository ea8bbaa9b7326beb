// Pilot-log hours, clock and calendar, and touchdowns (stages 2 and 3 of the
// systems step).
//
// Reads: frame_rate_period, visibility_effective_m, the local time of the
// previous frame, timer switches, flt[0] position, groundspeed and
// onground_any, the running time, the airport table, the surface under the
// plane, the water under it, the aircraft's water rudder and the crash hold.
// Writes: the logbook's current entry (hours, landings, to-airport,
// cross-country), sim_time zulu/local time, the timer and the date.
#pragma once

#include <cstdint>

struct systems_clock_state {
    bool started = false;                     // the first pass has set the values below
    float prev_local_time = 0.0f;             // local time of day at the previous frame, s
    float airborne_hours_since_airport = 0.0f;
    int32_t prev_onground = 0;
    float last_landing_time = -1.0e30f;       // running time of the last counted landing (none yet)
    bool start_seen = false;                  // the flight's first pass has looked for its airport
    bool have_prev_airport = false;
    int32_t prev_airport = -1;                // the airport of the previous ground contact (-1: none)
    // A touchdown not yet counted: it becomes a landing when the plane comes
    // to rest on a surface it can land on, unharmed; lifting off again or a
    // crash drops it.
    bool landing_pending = false;
    float at_rest_sec = 0.0f;                 // how long the pending landing has been at rest
    float airborne_sec = 0.0f;                // how long the plane has been off the ground
};
extern systems_clock_state systems_clock;
void SYSTEMS_clock_reset();

// Stage 2: logbook hours, zulu and local time, the timer and the date.
void SYSTEMS_clock_and_calendar();
// Stage 3: landings, the arrival airport and cross-country time.
void SYSTEMS_touchdowns();

// A touchdown becomes a landing once the plane has been slower than this for
// this long.
constexpr float LANDING_AT_REST_MPS = 2.5f;
constexpr float LANDING_AT_REST_SEC = 1.0f;
// Only a touchdown after this long off the ground can become a landing.
constexpr float LANDING_MIN_AIRBORNE_SEC = 2.0f;
