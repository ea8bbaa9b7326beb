#include "core/frame_clock.h"

#include <cmath>
#include <cstring>

#include "core/reset_registry.h"
#include "core/simvars/time.h"
#include "platform/plat_time.h"

int32_t interval_ticks[INTERVAL_COUNT];
float frame_clock = 0.0f;
float last_view_key_time = 0.0f;
int32_t flying_frame_count = 0;
int32_t first_frames_fast = 0;

void FRAME_clock_reset()
{
    std::memset(interval_ticks, 0, sizeof interval_ticks);
    frame_clock = last_view_key_time = 0.0f;
    flying_frame_count = first_frames_fast = 0;
}
ORVELL_RESET(FRAME_clock_reset, program);

// The system's millisecond tick count in seconds: the platform clock (seconds
// since the program started) is taken to whole milliseconds. It is kept as a
// double: a float of the count would lose whole milliseconds after a few
// hours, and the frame clock would then advance in jumps.
double UTIL_seconds() { return std::floor(PLAT_seconds() * 1000.0 + 0.5) / 1000.0; }

float UTIL_time_pulse(float phase)
{
    return 0.5f * std::sin(4.0f * (sim_time.total_running_time_sec + phase)) + 0.5f;
}
