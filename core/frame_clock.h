// The frame clock and the interval flags that the frame loop sets at the start
// of every frame and every subsystem reads.
#pragma once

#include <cstdint>

// The interval flags: interval_ticks[i] is 1 on the frames on which interval
// i has elapsed. Periods, in order: 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05 and 0.04 s.
constexpr int INTERVAL_COUNT = 9;
constexpr int INTERVAL_TEN_SECONDS = 0;  // indices of the flags
constexpr int INTERVAL_FIVE_SECONDS = 1;
constexpr int INTERVAL_TWO_SECONDS = 2;
constexpr int INTERVAL_ONE_SECOND = 3;
constexpr int INTERVAL_HALF_SECOND = 4;
constexpr int INTERVAL_FIFTH_SECOND = 5;
constexpr int INTERVAL_TENTH_SECOND = 6;
constexpr int INTERVAL_TWENTIETH_SECOND = 7;
constexpr int INTERVAL_TWENTYFIFTH_SECOND = 8;
constexpr float interval_periods[INTERVAL_COUNT] = {10.0f, 5.0f, 2.0f, 1.0f, 0.5f, 0.2f, 0.1f, 0.05f, 0.04f};

extern int32_t interval_ticks[INTERVAL_COUNT];

// Seconds since the first frame, set at the start of each frame.
extern float frame_clock;
// The frame clock at the last orbit-view arrow or zoom key (the keyboard
// writes it; the preview screens wait ten seconds after it before they turn).
extern float last_view_key_time;

// Frames run in the flying mode since the start (the frame loop counts them).
extern int32_t flying_frame_count;

// The sixth flying frame followed the fifth within 0.4 s (set by the frame loop).
extern int32_t first_frames_fast;

// Seconds of the monotonic clock since program start (double: no loss after days).
double UTIL_seconds();
// A slow blink: 0..1, four radians a second of the simulator's running time,
// shifted by `phase` seconds.
float UTIL_time_pulse(float phase);
