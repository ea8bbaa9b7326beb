// The frame clock and the interval flags that the frame loop sets at the start
// of every frame and every subsystem reads.
#pragma once

#include <cstdint>

// The interval flags: interval_ticks[i] is 1 on the frames on which interval
// i has elapsed. Periods, in order: 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05 and 0.04 s.
constexpr int INTERVAL_COUNT = 9;
constexpr int INTERVAL_ONE_SECOND = 3;   // index of the 1-second flag
constexpr float interval_periods[INTERVAL_COUNT] = {10.0f, 5.0f, 2.0f, 1.0f, 0.5f, 0.2f, 0.1f, 0.05f, 0.04f};

extern int32_t interval_ticks[INTERVAL_COUNT];

// Seconds since the first frame, set at the start of each frame.
extern float frame_clock;

// Frames run in the flying mode since the start (the frame loop counts them).
extern int32_t flying_frame_count;

// Seconds of the monotonic clock since program start (double: no loss after days).
double UTIL_seconds();
// A slow blink: 0..1, four radians a second of the simulator's running time,
// shifted by `phase` seconds.
float UTIL_time_pulse(float phase);
