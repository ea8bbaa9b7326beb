// One frame of the operator map: MAP_draw_window over the default area's full
// Earth grid (451 x 401 points, land use with a coast), map type 0, in the
// 890 x 686 map rectangle of a 1024 x 768 screen, at zoom 1 (every cell in
// view) and at zoom 50 (the narrowing window keeps a few hundred cells); on
// level ground (hills:0, the measure the map is held to) and on hills
// (hills:1, where every cell is drawn on its own).
// CPU time per call; the driver's own rasterising is not waited for.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>

#include "core/constants.h"
#include "core/simvars.h"
#include "screens/map.h"
#include "tools/bench/bench_gl.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

namespace {

constexpr float CELL = 370.0f;

// The benchmark's area: a regular grid with level normals (argument 0), or
// (argument 1) rolling hills lit by their own normals on a grid whose columns
// lean toward the pole, as a latitude-longitude grid does, so that no two
// neighbouring cells look alike.
void lay_area(bool hills)
{
    static int laid = -1;
    if (laid == int(hills)) return;
    laid = int(hills);
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    sim_physics.earth_radius_m = 6378145.0f;
    auto height = [hills](float x, float z) {
        const float h = 300.0f + 200.0f * std::sin(x / 9000.0f) * std::cos(z / 7000.0f);
        return hills ? h + 60.0f * std::sin(x / 1100.0f + z / 1700.0f) : h;
    };
    for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
        for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
            const int k = TERRAIN_index(i, j);
            terrain_vertex& v = terrain_vertex_grid[k];
            const float lean = hills ? 1.0f - 0.0002f * static_cast<float>(j) : 1.0f;
            v.x = (i - 225) * CELL * lean;
            v.z = -(j - 200) * CELL;
            v.y = height(v.x, v.z);
            float* n = terrain_point_normal[k];
            if (hills) {
                const float dx = (height(v.x + 10.0f, v.z) - height(v.x - 10.0f, v.z)) / 20.0f;
                const float dz = (height(v.x, v.z + 10.0f) - height(v.x, v.z - 10.0f)) / 20.0f;
                const float len = std::sqrt(dx * dx + dz * dz + 1.0f);
                n[0] = -dx / len, n[1] = 1.0f / len, n[2] = -dz / len;
            } else {
                n[0] = 0.0f, n[1] = 1.0f, n[2] = 0.0f;
            }
            landuse_grid[k] = i < 120 + j / 4 ? LANDUSE_WATER_A : 1;   // a sea along the west
        }
    scenery_area = {-225 * CELL, 225 * CELL, -200 * CELL, 200 * CELL};
    map_base_scale = std::min(890.0f / (scenery_area.x1 - scenery_area.x0), 686.0f / (scenery_area.z1 - scenery_area.z0));
    map_base_scale_inverse = 1.0f / map_base_scale;
    local_airport_last = -1;
    sim_graphics_settings.draw_aircrafts = 1;
}

void BM_MapWindow(benchmark::State& state)
{
    if (!bench_gl_context()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    lay_area(state.range(1) != 0);
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    const float zoom = static_cast<float>(state.range(0));
    screen_settings.map_view_mode = 0;
    screen_settings.map_zoom = zoom;
    map_origin_x = map_origin_y = 15.0f;
    map_right = 1024.0f - 119.0f, map_top = 768.0f - 67.0f;
    map_scale = map_base_scale * zoom;
    // The lower-left corner at the area's corner at zoom 1, the middle of the area at zoom 50.
    map_ref_x = zoom > 1.0f ? -445.0f / map_scale : scenery_area.x0;
    map_ref_z = zoom > 1.0f ? 343.0f / map_scale : scenery_area.z1;
    for (auto _ : state) {
        MAP_draw_window(0);
        glFlush();
    }
    glFinish();
}
BENCHMARK(BM_MapWindow)
    ->ArgsProduct({{1, 50}, {0, 1}})
    ->ArgNames({"zoom", "hills"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
