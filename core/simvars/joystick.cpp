#include "core/simvars/joystick.h"

#include "core/reset_registry.h"

sim_joystick_block sim_joystick{};
sim_joystick_pfc_block sim_joystick_pfc{};

void SIMVARS_joystick_reset()
{
    sim_joystick = {};
    sim_joystick_pfc = {};
}
ORVELL_RESET(SIMVARS_joystick_reset, program);
