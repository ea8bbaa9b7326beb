#include "core/simvars/physics.h"

sim_physics_block sim_physics{};
