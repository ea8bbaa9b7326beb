#include "core/simvars/time.h"

#include "core/reset_registry.h"

sim_time_block sim_time{};
ORVELL_RESET_RECORD(SIMVARS_time_reset, sim_time, program);
