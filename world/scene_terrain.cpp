#include "world/scene_terrain.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/units.h"
#include "world/env_tile.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/scenery_area.h"
#include "world/segments.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

namespace {

constexpr double REFERENCE_RADIUS_M = 6378140.0;
constexpr float MAP_WIDTH_PX = 1024.0f - 15.0f - 119.0f;
constexpr float MAP_HEIGHT_PX = 768.0f - 67.0f - 15.0f;

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

}  // namespace

void APT_set_area_bounds()
{
    const int p = planet();
    const double k = sim_physics.earth_radius_m / REFERENCE_RADIUS_M;
    const double lat_span = 2.0 * reference_lat_offset[p];
    const double c = std::min(std::fabs(static_cast<double>(lat_ref)), std::fabs(lat_ref + lat_span)) * DEG_TO_RAD_DOUBLE;
    const double nm = UNIT.nm_to_mtrs;
    const float half_x = static_cast<float>(reference_lon_offset[p] * 60.15 * nm * k * std::cos(c));
    const float half_z = static_cast<float>(reference_lat_offset[p] * 61.15 * nm * k);
    scenery_area = {-half_x, half_x, -half_z, half_z};
    const float scale = std::min(MAP_HEIGHT_PX / (2.0f * half_z), MAP_WIDTH_PX / (2.0f * half_x));
    map_base_scale = scale;
    map_base_scale_inverse = scale > 0.0f ? 1.0f / scale : 0.0f;
}

void TERRAIN_reset()
{
    std::memset(terrain_airport_cell, 0, sizeof terrain_airport_cell);
    // The city rule of each tile reads land use a little past its window,
    // where the tiles not yet read would still hold the old area's.
    std::memset(landuse_grid, 0, sizeof landuse_grid);
    std::memset(terrain_sphere_grid, 0, sizeof terrain_sphere_grid);
    SEG_clear_lists();
    placement_list.clear();
    terrain_elevation_high = terrain_elevation_low = 0.0f;
    // The cell arrays (split, texture code, corners) are cleared too: a tile
    // leaves some of them as they are (corners of rotation 0, the texture code
    // under a tile without a file), and the new area's ground would wear the
    // old area's texture placement there.
    std::memset(terrain_cell_split, 0, sizeof terrain_cell_split);
    std::memset(terrain_texture_code, 0, sizeof terrain_texture_code);
    static constexpr float plain[8] = {0, 0, 0, 1, 1, 1, 1, 0};
    for (auto& cell : terrain_cell_tex) std::memcpy(cell, plain, sizeof plain);
}

void TERRAIN_build_sphere_grid()
{
    const int p = planet();
    const terrain_extent e = TERRAIN_extent();
    const double per_lon = e.last_i / (2.0 * reference_lon_offset[p]);
    const double per_lat = e.last_j / (2.0 * reference_lat_offset[p]);
    for (int i = 0; i <= e.last_i; ++i)
        for (int j = 0; j <= e.last_j; ++j) {
            terrain_vertex& s = terrain_sphere_grid[TERRAIN_index(i, j)];
            GEO_latlon_to_local(s.x, s.y, s.z, lat_ref + j / per_lat, lon_ref + i / per_lon, 0.0);
            // The terrain position starts as the sphere position: a tile without
            // a file keeps the positions it finds, which would otherwise be the
            // previous area's points, in the wrong place for the new origin.
            terrain_vertex_grid[TERRAIN_index(i, j)] = s;
        }
}

void ENV_load_area_tiles(int mode)
{
    const int p = planet();
    const terrain_extent e = TERRAIN_extent();
    const int tiles_lat = static_cast<int>(2.0f * reference_lat_offset[p]);
    const int tiles_lon = static_cast<int>(2.0f * reference_lon_offset[p]);
    for (int a = 0; a < tiles_lat; ++a)
        for (int b = 0; b < tiles_lon; ++b)
            ENV_load_tile(GEO_round(lat_ref + a), GEO_round(lon_ref + b), b * e.tile_n, a * e.tile_m, mode == 1);
    terrain_elevation_low -= 1.0f;
    terrain_elevation_high += 1.0f;
    TERRAIN_load_tile_textures();
}
