// sim/time/: the clocks and the calendar.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/time/.
struct sim_time_block {
    float total_running_time_sec;
    float zulu_time_sec;
    float local_time_sec;
    int32_t local_date_days;  // day of the year from 0
    int32_t use_system_time;  // the clock follows the computer's clock
    int32_t backwards;        // runway starts from the other end
    int32_t paused;
    float total_flight_time_sec;     // seconds since the flight started
    int32_t timer_is_running_sec;    // the panel stopwatch runs
    float timer_elapsed_time_sec;    // the panel clock's stopwatch
};
extern sim_time_block sim_time;
