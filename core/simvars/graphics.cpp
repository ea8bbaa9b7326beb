#include "core/simvars/graphics.h"

#include "core/reset_registry.h"

sim_graphics_scenery_block sim_graphics_scenery{};
sim_graphics_misc_block sim_graphics_misc{};
sim_graphics_settings_block sim_graphics_settings{};
sim_graphics_view_block sim_graphics_view{};
sim_private_camera_block sim_private_camera{};
float gload_dim_factor = 1.0f;

void SIMVARS_graphics_reset()
{
    sim_graphics_scenery = {};
    sim_graphics_misc = {};
    sim_graphics_settings = {};
    sim_graphics_view = {};
    sim_private_camera = {};
}
ORVELL_RESET(SIMVARS_graphics_reset, program);

// A new flight is not dimmed by the loads of the one before.
void SIMVARS_gload_dim_reset() { gload_dim_factor = 1.0f; }
ORVELL_RESET(SIMVARS_gload_dim_reset, flight);
