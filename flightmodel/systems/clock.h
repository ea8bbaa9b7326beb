// Pilot-log hours, clock and calendar, and touchdowns (stages 2 and 3 of the
// systems step).
//
// Reads: frame_rate_period, visibility_effective_m, the local time of the
// previous frame, timer switches, flt[0] longitude and onground_any, the
// running time, the start selection's airport and the airport table.
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
    bool have_prev_airport = false;
    int32_t prev_selected_airport = 0;
};
extern systems_clock_state systems_clock;
void SYSTEMS_clock_reset();

// Stage 2: logbook hours, zulu and local time, the timer and the date.
void SYSTEMS_clock_and_calendar();
// Stage 3: landings and cross-country time.
void SYSTEMS_touchdowns();
