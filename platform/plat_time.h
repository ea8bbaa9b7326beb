// Clocks: a monotonic clock counted from program start and a high-resolution
// performance counter. Tests may replace the clock source.
#pragma once

#include <cstdint>

// Seconds since the program started, from the monotonic clock, in double precision.
double PLAT_seconds();

// Performance counter: a monotonic count and the number of counts per second.
int64_t PLAT_perf_counter();
int64_t PLAT_perf_frequency();

// Sleeps for the given time on the monotonic clock (nothing for 0 or less);
// the thread gives up the processor instead of spinning.
void PLAT_sleep_seconds(double seconds);

// Wall-clock calendar time in seconds since 1970 (UTC).
int64_t PLAT_calendar_time();

// Test seam: replace the monotonic clock and the calendar clock (nullptr restores the system's).
using PLAT_clock_fn = double (*)();
using PLAT_calendar_fn = int64_t (*)();
void PLAT_set_clock_source(PLAT_clock_fn seconds_fn, PLAT_calendar_fn calendar_fn);

// Test seam: replace the sleep (nullptr restores the system's), so a test on
// a replaced clock sees the waits asked for and moves its clock by them.
using PLAT_sleep_fn = void (*)(double seconds);
void PLAT_set_sleep_source(PLAT_sleep_fn sleep_fn);
