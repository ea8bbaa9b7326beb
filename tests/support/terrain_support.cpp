#include "tests/support/terrain_support.h"

#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

void TEST_lay_grid(float cell_m, int centre_i, int centre_j, const std::function<float(float x, float z)>& height)
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
        for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
            terrain_vertex& v = terrain_vertex_grid[i * TERRAIN_GRID_COLS + j];
            v.x = (i - centre_i - 0.5f) * cell_m;
            v.z = -(j - centre_j - 0.5f) * cell_m;
            v.y = height(v.x, v.z);
        }
    scenery_area.x0 = (-centre_i - 0.5f) * cell_m;
    scenery_area.x1 = (grid_rows[p] - centre_i - 0.5f) * cell_m;
    scenery_area.z1 = (centre_j + 0.5f) * cell_m;
    scenery_area.z0 = -(grid_cols[p] - centre_j - 0.5f) * cell_m;
}

void TEST_lay_flat_grid(float height)
{
    TEST_lay_grid(100.0f, 200, 200, [height](float, float) { return height; });
}
