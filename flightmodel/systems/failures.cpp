// The failure model of the user's plane.
#include "flightmodel/systems/failures.h"

#include <cstdint>

#include "aircraft/acf_struct.h"
#include "core/failure_slots.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems.h"

namespace {

// First slots of the groups of eight slots kept per engine.
constexpr int ENGINE_GROUPS[] = {50, 58, 66, 74, 98, 106, 114, 130};
constexpr int ENGINE_GROUP_SIZE = 8;
// Slots 138 and up fail only on command.
constexpr int FIRST_COMMAND_ONLY_SLOT = 138;
constexpr int32_t ECAM_FAILURE_PAGE = 4;

// Slots whose failure brings up the failure page of the ECAM display.
bool shows_failure_page(int k)
{
    return (k >= 17 && k <= 22) || k == 26 || k == 27 || (k >= 30 && k <= 34) || k == 42 || (k >= 45 && k <= 48) ||
           (k >= 50 && k <= 65) || (k >= 74 && k <= 81) || (k >= 98 && k <= 105);
}

float draw(float scale) { return static_cast<float>(UTIL_rand()) * scale / static_cast<float>(UTIL_RAND_MAX); }

}  // namespace

bool FAILURES_slot_of_absent_engine(int slot)
{
    for (int first : ENGINE_GROUPS)
        if (slot >= first && slot < first + ENGINE_GROUP_SIZE) return slot - first >= pln[0].acf_num_engines;
    return false;
}

void FAILURES_rebuild_stat()
{
    flt_struct& f = flt[0];
    for (int32_t& w : f.comp_fail_stat) w = 0;
    for (int k = 0; k < FAILURE_SLOTS; ++k)
        if (f.failures[k] == FAILURE_STATE_FAILED)
            f.comp_fail_stat[k / 32] = static_cast<int32_t>(static_cast<uint32_t>(f.comp_fail_stat[k / 32]) | (1u << (k % 32)));
}

void FAILURES_one_second_pass()
{
    flt_struct& f = flt[0];
    const float mtbf = sim_operation_failures.mean_time_between_failure_hrs;
    for (int k = 0; k < FAILURE_SLOTS; ++k) {
        if (FAILURES_slot_of_absent_engine(k)) continue;
        if (k >= FIRST_COMMAND_ONLY_SLOT && !fail_on_command_armed) continue;
        int32_t& state = f.failures[k];
        const float param = f.failure_param[k];
        bool fails = false;
        if (state == FAILURE_STATE_MTBF)
            fails = draw(60.0f) <= 1.0f && draw(60.0f) <= 1.0f && draw(mtbf) <= 1.0f;
        else if (state == FAILURE_STATE_MEAN_MINUTES)
            fails = draw(60.0f * param) < 1.0f;
        else if (state == FAILURE_STATE_AT_TIME)
            fails = param < 0.0f;
        else if (state == FAILURE_STATE_ABOVE_SPEED)
            fails = param < f.indicated_airspeed;
        else if (state == FAILURE_STATE_ABOVE_ALTITUDE)
            fails = param < f.elevation;
        else if (state == FAILURE_STATE_ON_COMMAND)
            fails = fail_on_command_armed != 0;
        if (!fails) continue;
        state = FAILURE_STATE_FAILED;
        if (shows_failure_page(k)) sim_cockpit_switches.ECAM_mode = ECAM_FAILURE_PAGE;
    }
    fail_on_command_armed = 0;
    FAILURES_rebuild_stat();
}

void SYSTEMS_failure_model()
{
    flt_struct& f = flt[0];
    const float dt = sim_operation_misc.frame_rate_period;
    for (int k = 0; k < FAILURE_SLOTS; ++k)
        if (f.failures[k] == FAILURE_STATE_AT_TIME) f.failure_param[k] -= dt / 60.0f;
    if (interval_ticks[INTERVAL_ONE_SECOND]) FAILURES_one_second_pass();
}
