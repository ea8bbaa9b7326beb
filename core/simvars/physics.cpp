#include "core/simvars/physics.h"

#include "core/reset_registry.h"

sim_physics_block sim_physics{};
ORVELL_RESET_RECORD(SIMVARS_physics_reset, sim_physics, program);
