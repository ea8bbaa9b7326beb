#include "tests/world/world_test_util.h"

#include "shell/folders.h"
#include "shell/simvars.h"
#include "world/navdb.h"

void world_use_program_folder(const temp_folder& folder)
{
    FOLDERS_init_from((folder.prefix() + "orvell").c_str());
}

void world_reset_tables()
{
    airport_table.clear();
    navaid_table.clear();
    fix_table.clear();
    airway_table.clear();
    airport_id_index.clear();
    navaid_frequency_index.clear();
    apt_cursor = rwy_cursor = nav_cursor = -1;
    sim_graphics_scenery.current_planet = 0;
    sim_physics.earth_radius_m = 6378145.0f;
    screen_settings.scenery_load_switch = 0;
}

path_buffer::path_buffer(const std::string& path) { path.copy(text, sizeof text - 1); }
