#include "tests/world/world_test_util.h"

#include <cstring>

#include "core/folders.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "world/navdb.h"

void world_use_program_folder(const temp_folder& folder)
{
    FOLDERS_init_from((folder.prefix() + "orvell").c_str());
}

void world_reset_tables()
{
    NAV_clear_tables();
    sim_graphics_scenery.current_planet = 0;
    sim_physics.earth_radius_m = 6378145.0f;
    screen_settings.scenery_load_switch = 0;
}

int world_add_airport(const char* id, float lat, float lon, const char* number, float heading, float elevation,
                      bool indexed)
{
    airport_record a{};
    std::strcpy(a.id, id);
    a.elevation = elevation;
    runway_record r{};
    r.lat = lat;
    r.lon = lon;
    std::strncpy(r.number, number, 3);
    r.heading = heading;
    r.length = 1000.0f;
    r.width = 40.0f;
    a.runways.push_back(r);
    airport_table.push_back(a);
    const int index = static_cast<int>(airport_table.size()) - 1;
    if (indexed) airport_id_index.emplace(NAV_id_key(id), index);
    return index;
}

std::filesystem::path default_nav_file(const char* name)
{
    return std::filesystem::path(fixture_path("")) / ".." / ".." / "data" / "nav" / "Earth nav data" / name;
}

path_buffer::path_buffer(const std::string& path) { path.copy(text, sizeof text - 1); }
