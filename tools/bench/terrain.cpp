// The terrain height query on a full Earth grid (451 x 401 points, every
// point pushed off the lattice and given its own height): a query whose hint
// already names its cell, as each contact point of a rolling aircraft asks
// frame after frame, and a cold query without a hint (0, 0), as a caller
// asks once for a place it has not seen.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "flightmodel/ground/terrain_query.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

constexpr float CELL = 370.0f;   // about the Earth grid's spacing

void lay_grid()
{
    static bool laid = false;
    if (laid) return;
    laid = true;
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> jitter(-1.0f, 1.0f);
    for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
        for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
            terrain_vertex& v = terrain_vertex_grid[i * TERRAIN_GRID_COLS + j];
            v.x = (i - 225) * CELL + 40.0f * jitter(rng);
            v.z = -(j - 200) * CELL + 40.0f * jitter(rng);
            v.y = 300.0f + 200.0f * std::sin(v.x / 9000.0f) * std::cos(v.z / 7000.0f) + 5.0f * jitter(rng);
        }
    scenery_area = {-225 * CELL, 225 * CELL, -200 * CELL, 200 * CELL};
}

void BM_HintedQueryInItsCell(benchmark::State& state)
{
    lay_grid();
    int i = 0, j = 0;
    TERRAIN_height_at(1234.5f, -2345.6f, nullptr, nullptr, nullptr, &i, &j, 0, "bench");
    float x = 1234.5f;
    for (auto _ : state) {
        x = x == 1234.5f ? 1236.0f : 1234.5f;   // a wheel rolling a metre and a half to and fro
        benchmark::DoNotOptimize(TERRAIN_height_at(x, -2345.6f, nullptr, nullptr, nullptr, &i, &j, 0, "bench"));
    }
}
BENCHMARK(BM_HintedQueryInItsCell);

void BM_ColdQuery(benchmark::State& state)
{
    lay_grid();
    std::mt19937 rng(9);
    std::uniform_real_distribution<float> ux(-220 * CELL, 220 * CELL), uz(-195 * CELL, 195 * CELL);
    std::vector<float> xs(4096), zs(4096);
    for (size_t k = 0; k < xs.size(); ++k) xs[k] = ux(rng), zs[k] = uz(rng);
    size_t k = 0;
    for (auto _ : state) {
        int i = 0, j = 0;
        benchmark::DoNotOptimize(TERRAIN_height_at(xs[k], zs[k], nullptr, nullptr, nullptr, &i, &j, 0, "bench"));
        k = (k + 1) & (xs.size() - 1);
    }
}
BENCHMARK(BM_ColdQuery);

}  // namespace
