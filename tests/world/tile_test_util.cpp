#include "tests/world/tile_test_util.h"

#include "core/geo.h"
#include "tests/graphics/gl_context.h"
#include "core/constants.h"
#include "tests/world/world_test_util.h"
#include "world/apt_scene.h"
#include "world/env_tile.h"
#include "world/landuse.h"
#include "world/scene_terrain.h"
#include "world/terrain_grid.h"

void tiles_use_area(const temp_folder& folder, int planet, float lat, float lon)
{
    ensure_gl_context();   // a tile's objects compile display lists
    world_use_program_folder(folder);
    world_reset_tables();
    PLANET_set_constants(planet);
    lat_ref = lat;
    lon_ref = lon;
    local_airport_last = -1;
    scenery_switch = 1;
    APT_set_area_bounds();
    TERRAIN_reset();
    LANDUSE_clear();   // no ground textures another test read
    TERRAIN_build_sphere_grid();
}

void tiles_write(const temp_folder& folder, int planet, int south, int west, const std::string& bytes,
                 const std::string& package)
{
    const std::string nav = planet == 1 ? "Mars nav data/" : "Earth nav data/";
    const std::string where = package.empty() ? "Resources/" + nav : "Custom Scenery/" + package + "/" + nav;
    folder.write(where + env::tile_file_name(south, west), bytes);
}

void tiles_write(const temp_folder& folder, int planet, const env::tile& t, const std::string& package)
{
    tiles_write(folder, planet, t.south, t.west, tile_bytes(t), package);
}

void tiles_read(int south, int west)
{
    const terrain_extent e = TERRAIN_extent();
    const int row0 = (west - static_cast<int>(lon_ref)) * e.tile_n, col0 = (south - static_cast<int>(lat_ref)) * e.tile_m;
    ENV_load_tile(south, west, row0, col0, 1);
}

env::tile flat_tile(int planet, int south, int west, double elevation_m, int type)
{
    env::tile t = env::make_tile(planet, south, west);
    for (env::grid_point& g : t.grid) {
        g.elevation_m = elevation_m;
        g.landuse_word = env::landuse_word(0, 0, 0, 4, type);
    }
    return t;
}

std::string tile_bytes(const env::tile& t)
{
    const std::vector<uint8_t> b = env::encode(t);
    return std::string(b.begin(), b.end());
}
