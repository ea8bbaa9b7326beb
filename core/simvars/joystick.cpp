#include "core/simvars/joystick.h"

sim_joystick_block sim_joystick{};
sim_joystick_pfc_block sim_joystick_pfc{};
