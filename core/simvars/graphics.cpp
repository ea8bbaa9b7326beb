#include "core/simvars/graphics.h"

sim_graphics_scenery_block sim_graphics_scenery{};
sim_graphics_misc_block sim_graphics_misc{};
sim_graphics_settings_block sim_graphics_settings{};
sim_graphics_view_block sim_graphics_view{};
sim_private_camera_block sim_private_camera{};
float gload_dim_factor = 1.0f;
