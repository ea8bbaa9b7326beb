#include "flightmodel/gear_util.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"

int AP_any_mode_engaged()
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const int32_t words[5] = {ap.airspeed_mode, ap.heading_mode, ap.altitude_mode, ap.hnav_mode, ap.vnav_mode};
    for (int32_t w : words)
        if (w != 9) return 1;
    return 0;
}

void GEAR_deploy_step_at(int p, int down, float clock)
{
    // A slot outside 0..9 would index past the plane records; it is ignored.
    if (p < 0 || p >= FLT_SLOTS) return;
    acf_struct& a = pln[p];
    if (a.acf_gear_retract == 0) return;

    const float dt = sim_operation_misc.frame_rate_period;
    for (int g = FLT_FIRST_GEAR_PART; g < FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT; ++g) {
        if (a.acf_part_eq[g] == 0) continue;
        if (FLT_slot_failed(p, FAIL_SLOT_GEAR_BASE + (g - FLT_FIRST_GEAR_PART))) continue;

        // Each leg reads its own random-table entry, which changes once per
        // whole second of the frame clock: a rate factor of 0.5 to 1.5. A clock
        // that is not finite would give no index at all and read outside the
        // table; it reads entry 0 instead.
        const float t = static_cast<float>(g) + clock;
        const double whole =
            std::isfinite(t) ? std::fmod(std::trunc(static_cast<double>(t)), static_cast<double>(RANDOM_TABLE_SIZE)) : 0.0;
        const int i = static_cast<int>(whole < 0.0 ? whole + RANDOM_TABLE_SIZE : whole);
        const float r = random_table[i] + 0.5f;

        // A zero travel time gives an infinite step: a full travel at once.
        // With a zero frame period too the step is 0/0, a NaN that the clamp
        // lets through and that would leave the deployment NaN for good; the
        // gear then stays where it is.
        float step = r * dt / a.acf_gear_cyc_time[g];
        if (std::isnan(step)) step = 0.0f;
        a.acf_gear_deploy[g] = UTIL_clamp(a.acf_gear_deploy[g] + (down ? step : -step), 0.0f, 1.0f);
    }
}

void GEAR_deploy_step(int p, int down) { GEAR_deploy_step_at(p, down, frame_clock); }
