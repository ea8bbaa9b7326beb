#include "core/frame_clock.h"

#include <cmath>

#include "core/simvars/time.h"
#include "platform/plat_time.h"

int32_t interval_ticks[INTERVAL_COUNT];
float frame_clock = 0.0f;
float last_view_key_time = 0.0f;
int32_t flying_frame_count = 0;
int32_t first_frames_fast = 0;

double UTIL_seconds() { return PLAT_seconds(); }

float UTIL_time_pulse(float phase)
{
    return 0.5f * std::sin(4.0f * (sim_time.total_running_time_sec + phase)) + 0.5f;
}
