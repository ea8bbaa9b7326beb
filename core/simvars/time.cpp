#include "core/simvars/time.h"

sim_time_block sim_time{};
