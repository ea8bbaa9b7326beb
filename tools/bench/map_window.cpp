// One frame of the operator map: MAP_draw_window over a full Earth grid
// (451 x 401 points, land use with a coast), map type 0, in the 890 x 686 map
// rectangle of a 1024 x 768 screen, at zoom 1 (every cell in view) and at
// zoom 50 (the narrowing window keeps a few hundred cells). The ground is
// level (ground:0), rolling hills on leaning columns where no two cells look
// alike (ground:1), or the default area itself, built from the generated data
// folder's tiles around the default airport (ground:2). With pan:0 the map
// stays put, so every call after the first draws the kept ground picture;
// with pan:1 the map moves by one screen unit each call, so every call
// shifts the kept picture and draws only the cells of the strip it uncovers.
// Counters per call: ground redraws, kept pictures drawn (reuses) and
// shifted (shifts), and the ground cells drawn. Wall and CPU time per call;
// the driver's own rasterising is not waited for call by call.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "core/constants.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "screens/map.h"
#include "tools/bench/bench_gl.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"
#include "shell/main.h"

namespace {

constexpr float CELL = 370.0f;

// The ground laid last: 0 level, 1 hills, 2 the default area, -1 none.
int laid_ground = -1;

// The benchmark's area: a regular grid with level normals (argument 0), or
// (argument 1) rolling hills lit by their own normals on a grid whose columns
// lean toward the pole, as a latitude-longitude grid does, so that no two
// neighbouring cells look alike.
void lay_area(bool hills)
{
    if (laid_ground == int(hills)) return;
    laid_ground = int(hills);
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
    // No symbols of the default area left over from it.
    for (navaid_record& v : navaid_table) v.local = false;
    for (fix_record& f : fix_table) f.local = false;
    for (airway_record& a : airway_table) a.local = false;
}

// The default area as the program builds it for a start at the default
// airport, from the data folder the benchmark lies in (the build folder).
bool lay_default_area()
{
    static int airport = -1;
    static bool loaded = false, found = false;
    if (laid_ground == 2) return true;
    if (!loaded) {
        loaded = true;
        FOLDERS_init();
        screen_settings.scenery_load_switch = 1;
        NAV_load_databases();
        found = NAV_find_nearest_by_id("KSBD", 1, airport, 34.0f, -117.0f) == 1;
    }
    if (!found) return false;
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    sim_physics.earth_radius_m = 6378145.0f;
    const runway_record& r = airport_table[static_cast<size_t>(airport)].runways.at(0);
    lat_ref = static_cast<float>(GEO_round(r.lat - reference_lat_offset[PLANET_EARTH]));
    lon_ref = static_cast<float>(GEO_round(r.lon - reference_lon_offset[PLANET_EARTH]));
    APT_build_scene(1);
    // The area's airports, navaids and airways are drawn over it, as in the program.
    sim_graphics_settings.draw_aircrafts = 1;
    laid_ground = 2;
    return true;
}

void BM_MapWindow(benchmark::State& state)
{
    if (!bench_gl_context()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const int ground = static_cast<int>(state.range(1));
    if (ground == 2) {
        if (!lay_default_area()) {
            state.SkipWithError("no default area in the data folder");
            return;
        }
    } else {
        lay_area(ground == 1);
    }
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    const float zoom = static_cast<float>(state.range(0));
    screen_settings.map_type = 0;
    screen_settings.map_zoom = zoom;
    map_origin_x = map_origin_y = 15.0f;
    map_right = 1024.0f - 119.0f, map_top = 768.0f - 67.0f;
    map_scale = map_base_scale * zoom;
    // The lower-left corner at the area's corner at zoom 1, the middle of the area at zoom 50.
    map_ref_x = zoom > 1.0f ? -445.0f / map_scale : scenery_area.x0;
    map_ref_z = zoom > 1.0f ? 343.0f / map_scale : scenery_area.z1;
    const float ref_x = map_ref_x, unit = 1.0f / map_scale;
    const bool pan = state.range(2) != 0;
    int frame = 0;
    MAP_ground_cache_reset();
    for (auto _ : state) {
        if (pan) map_ref_x = ref_x + static_cast<float>(++frame % 2) * unit;
        MAP_draw_window(0);
        glFlush();
    }
    glFinish();
    map_ref_x = ref_x;
    const double calls = static_cast<double>(state.iterations());
    state.counters["redraws"] = map_ground_cache.redraws / calls;
    state.counters["reuses"] = map_ground_cache.reuses / calls;
    state.counters["shifts"] = map_ground_cache.shifts / calls;
    state.counters["cells"] = static_cast<double>(map_ground_cache.cells) / calls;
}
BENCHMARK(BM_MapWindow)
    ->ArgsProduct({{1, 50}, {0, 1, 2}, {0, 1}})
    ->ArgNames({"zoom", "ground", "pan"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
