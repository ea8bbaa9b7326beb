#include "core/simvars/operation.h"

#include "core/reset_registry.h"

sim_operation_prefs_block sim_operation_prefs{};
sim_operation_prefs_misc_block sim_operation_prefs_misc{};
sim_operation_prefs_realweather_block sim_operation_prefs_realweather{};
sim_operation_misc_block sim_operation_misc{};
sim_operation_override_block sim_operation_override{};
sim_operation_failures_block sim_operation_failures{};
sim_operation_sound_block sim_operation_sound{};

void SIMVARS_operation_reset()
{
    sim_operation_prefs = {};
    sim_operation_prefs_misc = {};
    sim_operation_prefs_realweather = {};
    sim_operation_misc = {};
    sim_operation_override = {};
    sim_operation_failures = {};
    sim_operation_sound = {};
}
ORVELL_RESET(SIMVARS_operation_reset, program);
