// The frame loop's interval flags: interval_ticks[i] is non-zero on the frames
// on which interval i has elapsed. Periods, in order: 10, 5, 2, 1, 0.5, 0.2,
// 0.1, 0.05 and 0.04 seconds.
#pragma once

#include <cstdint>

constexpr int INTERVAL_COUNT = 9;
constexpr int INTERVAL_ONE_SECOND = 3;   // index of the 1-second flag

extern int32_t interval_ticks[INTERVAL_COUNT];

// Seconds since the first frame, set at the start of each frame.
extern float frame_clock;
