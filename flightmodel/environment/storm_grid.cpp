// The storm grid: 256 x 256 storm strengths laid over the loaded scenery area,
// its cell mapping, and the block rebuild from the storm seed.
#include <cstdint>
#include <cstdlib>

#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/environment/noise.h"
#include "world/scenery_area.h"

namespace {

constexpr int LAST_CELL = STORM_GRID_DIM - 1;
constexpr int MIDDLE_CELL = 127;
// Blocks across (x) and down (z) by planet.
constexpr int BLOCKS_X[2] = {3, 6};
constexpr int BLOCKS_Z[2] = {2, 5};
constexpr float NOISE_LO = -2.0f;
constexpr float NOISE_HI = 3.0f;

// 255 / span x offset, limited to 0..255 (NaN to 0), truncated.
int cell_of(float offset, float span)
{
    const float c = 255.0f / span * offset;
    if (!(c > 0.0f)) return 0;
    if (c >= static_cast<float>(LAST_CELL)) return LAST_CELL;
    return static_cast<int>(c);
}

}  // namespace

int ATMO_storm_cell_x(float x)
{
    const float min_x = scenery_area.x0, max_x = scenery_area.x1;
    if (max_x == min_x) return MIDDLE_CELL;
    return cell_of(x - min_x, max_x - min_x);
}

int ATMO_storm_cell_z(float z)
{
    const float min_z = scenery_area.z0, max_z = scenery_area.z1;
    if (min_z == max_z) return MIDDLE_CELL;
    return cell_of(z - max_z, min_z - max_z);
}

void ATMO_storm_grid_tile(int bx, int bz)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const int nx = BLOCKS_X[planet], nz = BLOCKS_Z[planet];
    if (bx < 0 || bx >= nx || bz < 0 || bz >= nz) return;   // no block: it would write past the grid
    const int x0 = bx * STORM_GRID_DIM / nx;
    const int z0 = bz * STORM_GRID_DIM / nz;
    int x1 = (bx + 1) * STORM_GRID_DIM / nx;
    int z1 = (bz + 1) * STORM_GRID_DIM / nz;
    if (x1 > LAST_CELL) x1 = LAST_CELL;
    if (z1 > LAST_CELL) z1 = LAST_CELL;

    for (int x = x0; x <= x1; ++x)
        for (int z = z0; z <= z1; ++z) storm_grid[x * STORM_GRID_DIM + z] = 0.0f;

    // The seed is passed reduced into the random table: the noise takes its
    // entries modulo the table anyway, so the cells are the same, and a
    // negative or huge storm seed cannot overflow or read before the table.
    const int64_t seed = static_cast<int64_t>(bx) * 90 + bz + weather_seed;
    const int table_seed = static_cast<int>(((seed % RANDOM_TABLE_SIZE) + RANDOM_TABLE_SIZE) % RANDOM_TABLE_SIZE);
    UTIL_noise_fill(x0, z0, x1, z1, storm_grid, STORM_GRID_DIM, NOISE_LO, NOISE_HI, 1, 4, table_seed);

    for (int x = x0; x <= x1; ++x)
        for (int z = z0; z <= z1; ++z) {
            float& c = storm_grid[x * STORM_GRID_DIM + z];
            if (!(c > 0.0f)) c = 0.0f;
            if (c > 1.0f) c = 1.0f;
        }
}
