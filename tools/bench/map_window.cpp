// One frame of the operator map: MAP_draw_window over the default area's full
// Earth grid (451 x 401 points, land use with a coast), map type 0, in the
// 890 x 686 map rectangle of a 1024 x 768 screen, at zoom 1 (every cell in
// view) and at zoom 50 (the narrowing window keeps a few hundred cells).
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

void lay_area()
{
    static bool laid = false;
    if (laid) return;
    laid = true;
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    sim_physics.earth_radius_m = 6378145.0f;
    for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
        for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
            const int k = TERRAIN_index(i, j);
            terrain_vertex& v = terrain_vertex_grid[k];
            v.x = (i - 225) * CELL;
            v.z = -(j - 200) * CELL;
            v.y = 300.0f + 200.0f * std::sin(v.x / 9000.0f) * std::cos(v.z / 7000.0f);
            terrain_point_normal[k][0] = 0.0f, terrain_point_normal[k][1] = 1.0f, terrain_point_normal[k][2] = 0.0f;
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
    lay_area();
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
BENCHMARK(BM_MapWindow)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
