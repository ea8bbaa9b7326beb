// The ground of the flying frame: the program started on a copy of the
// generated default data folder (the folder this benchmark lies in) at
// KSBD, on the offscreen OpenGL context, with the roads, power lines, cars
// and taxi lines on and the camera low over the town north-west of the field.
//   BM_flying_frame_with_ground: whole frames (MACIBM_do_frame), drawn to the
//     end, with the cover at the default level 2, 6 cells around the camera,
//     on a clear day at noon (in the weather the program starts in, this
//     camera sits in the first layer's cloud, where no ground is drawn; the
//     first frames at the field in bench_frame measure that weather). Wall
//     time, and the CPU time of the whole process.
//   BM_ground_passes_level5_distance20: only the ground passes of one scene
//     pass (surface, roads and their traffic, taxi lines, terrain cover)
//     with the densest cover, level 5 over 20 cells around the camera, on a
//     clear day.
// Each fails when no ground cell was drawn.

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/alert.h"
#include "core/input.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/views.h"
#include "core/hooks.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/terrain_query.h"
#include "scene/camera.h"
#include "scene/drawers.h"
#include "scene/scene_driver.h"
#include "scene/scene_state.h"
#include "scene/sky_light.h"
#include "scene/view_setup.h"
#include "shell/frame.h"
#include "tools/bench/bench_frame.h"
#include "tools/bench/bench_program.h"
#include "shell/main.h"
#include "shell/modes.h"
#include "world/terrain_grid.h"

namespace {

using bench::started_program;

// With the roads, power lines, cars and taxi lines on, looking ahead.
started_program& program()
{
    static started_program started("bench_ground");
    static const bool prepared = [] {
        bench::start_sky();   // the weather the program started in
        sim_graphics_settings_block& g = sim_graphics_settings;
        g.draw_vectors = g.draw_cars = g.draw_taxilines = g.draw_obstacles = 1;
        CORE_run_command(VIEW_FORWARD_NO_PANEL);
        return true;
    }();
    (void)prepared;
    return started;
}

// The camera 150 m over the town 6 km north-west of the user's plane, looking ahead and down.
void camera_over_town()
{
    sim_operation_override.override_camera = 1;
    const float x = flt[0].local_x - 6000.0f, z = flt[0].local_z - 6000.0f;
    sim_graphics_view.view_x = x;
    sim_graphics_view.view_z = z;
    sim_graphics_view.view_y = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "bench") + 150.0f;
    sim_private_camera.the = -15.0f, sim_private_camera.psi = 315.0f, sim_private_camera.phi = 0.0f;
}

// The started program with its autogen at `level` out to `distance` cells,
// a clear day, the camera over the town; false (the benchmark skipped) when
// it did not start.
bool ready_over_town(benchmark::State& state, int level, int distance)
{
    if (!program().failure.empty()) {
        state.SkipWithError(program().failure.c_str());
        return false;
    }
    bench::set_sky(bench::sky::clear_day);
    sim_graphics_settings.autogen_level = level;
    sim_graphics_settings.autogen_distance = distance;
    camera_over_town();
    return true;
}

void BM_flying_frame_with_ground(benchmark::State& state)
{
    if (!ready_over_town(state, 2, 6)) return;
    const auto frame = [] {
        MACIBM_do_frame();
        glFinish();
    };
    for (int n = 0; n < 10; ++n) frame();   // the clouds settle into the new sky
    for (auto _ : state) frame();
    if (app_mode != MODE_FLYING) state.SkipWithError("the frames left the flying mode");
    const bench::drawn_record d = bench::count_frames(5, frame);
    bench::report_drawn(state, d);
    if (d.ground_cells <= 0.0) state.SkipWithError("no ground cell was drawn");
    state.counters["frames/s"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_flying_frame_with_ground)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_ground_passes_level5_distance20(benchmark::State& state)
{
    if (!ready_over_town(state, 5, 20)) return;
    for (int n = 0; n < 10; ++n) MACIBM_do_frame();   // the clouds settle into the new sky
    const auto passes = [] {
        LIGHTS_fraction();
        SURFACE_draw_patch(terrain_vertex_grid, 3, 0, 1);
        ROADS_draw_traffic();
        TAXILINES_draw();
        TERRAIN_draw();
        glFinish();
    };
    // One whole pass sets up the camera, the light and the view the ground passes draw in.
    bench::world_view();
    for (auto _ : state) passes();
    const bench::drawn_record d = bench::count_frames(5, passes);
    bench::report_drawn(state, d);
    if (d.ground_cells <= 0.0) state.SkipWithError("no ground cell was drawn");
    state.counters["passes/s"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ground_passes_level5_distance20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
