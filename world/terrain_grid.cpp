#include "world/terrain_grid.h"

#include "core/simvars/graphics.h"
#include "core/units.h"
#include "world/landuse_grid.h"
#include "world/scenery_area.h"

terrain_vertex terrain_vertex_grid[TERRAIN_GRID_POINTS] = {};
terrain_vertex terrain_sphere_grid[TERRAIN_GRID_POINTS] = {};
int32_t terrain_texture_code[TERRAIN_GRID_POINTS] = {};
float terrain_cell_tex[TERRAIN_GRID_POINTS][8] = {};
int32_t terrain_cell_split[TERRAIN_GRID_POINTS] = {};
uint8_t terrain_airport_cell[TERRAIN_GRID_POINTS] = {};
float terrain_elevation_high = 0.0f;
float terrain_elevation_low = 0.0f;

int32_t landuse_grid[TERRAIN_GRID_POINTS] = {};

// Until the first scene build: the Earth's area at the equator.
namespace {
constexpr float HALF_WIDTH_M = 1.5f * 60.15f * UNIT.nm_to_mtrs;
constexpr float HALF_HEIGHT_M = 1.0f * 61.15f * UNIT.nm_to_mtrs;
constexpr float START_SCALE = (1024.0f - 15.0f - 119.0f) / (2.0f * HALF_WIDTH_M);
}  // namespace
scenery_area_record scenery_area = {-HALF_WIDTH_M, HALF_WIDTH_M, -HALF_HEIGHT_M, HALF_HEIGHT_M};
float map_base_scale = START_SCALE;
float map_base_scale_inverse = 1.0f / START_SCALE;

terrain_extent TERRAIN_extent()
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    return {grid_rows[p], grid_cols[p], block_rows[p], block_cols[p]};
}
