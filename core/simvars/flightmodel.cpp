#include "core/simvars/flightmodel.h"

#include "core/reset_registry.h"

sim_flightmodel_misc_block sim_flightmodel_misc{};
sim_flightmodel_position_block sim_flightmodel_position{};
float terrain_height_m = 0.0f;
int32_t ground_type_word = 0;

void SIMVARS_flightmodel_reset()
{
    sim_flightmodel_misc = {};
    sim_flightmodel_position = {};
    terrain_height_m = 0.0f;
    ground_type_word = 0;
}
ORVELL_RESET(SIMVARS_flightmodel_reset, program);
