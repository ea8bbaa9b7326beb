// Whole frames of the program in flying mode: the program is started on a
// copy of the generated default data folder (the folder this benchmark lies
// in, beside the program), on the offscreen OpenGL context at 1024 x 768, and
// then runs MACIBM_do_frame, each frame waited for until the renderer has
// drawn its picture. The time column is wall time, the CPU column the whole
// process's (the renderer's drawing threads included: the picture is filled
// on the processor); "main thread ms" is the main thread's own share.
//
//   BM_first_frame_cockpit / BM_first_frame_chase: the trainer where the
//     program starts (KSBD), from the cockpit with the panel and from the
//     chase view; argument 0 in the weather and time the program starts in,
//     1 on a clear day at noon.
//   BM_flying_frame_carrier: the cockpit on a clear day with the carrier
//     400 m ahead (its deck, island, lines and lights).
//   BM_flying_frame_broken_layer: noon under a broken layer at 1,500 m with
//     cloud shadows on, from the cockpit.
//   BM_paced_cockpit: ten seconds of the program paced to the display's rate
//     (60 Hz offscreen) as it runs for a user, from the cockpit at KSBD;
//     argument 0 in the start weather, 1 on a clear day. "core share" is
//     the CPU time of all threads over the wall time: the share of one
//     processor core the program takes while it flies.

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "core/hooks.h"
#include "core/simvars.h"
#include "core/units.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "shell/frame.h"
#include "platform/plat_window.h"
#include "shell/modes.h"
#include "tools/bench/bench_frame.h"
#include "tools/bench/bench_program.h"
#include "world/ships.h"

namespace {

using bench::started_program;

started_program& program()
{
    static started_program started("bench_frame");
    static const bool kept = (bench::start_sky(), true);   // the weather the program started in
    (void)kept;
    return started;
}

// The carrier 400 m ahead of the user's plane, bow to the plane.
void carrier_ahead()
{
    const flt_struct& f = flt[0];
    const float h = f.psi * DEG_TO_RAD_FLOAT;
    ship_x[SHIP_CARRIER] = f.local_x + 400.0f * std::sin(h);
    ship_z[SHIP_CARRIER] = f.local_z - 400.0f * std::cos(h);
    ship_heading[SHIP_CARRIER] = f.psi + 180.0f;
    sim_graphics_settings.draw_ships = 1;
}

void whole_frame()
{
    MACIBM_do_frame();
    glFinish();
}

// Runs the frames of one case: the view and the sky set (`weather` may add
// to the sky), a few frames to let the clouds and the camera settle, the
// timed frames, then the counted ones. `every_frame` runs before each frame.
// The program shortens its visibility while its frames come slower than the
// systems period; a benchmark measures the scene it names at its full
// visibility, so every frame starts with the visibility unshortened (or the
// slower the machine, the less would be drawn).
void full_visibility() { sim_graphics_view.visibility_framerate_ratio = 1.0f; }

template <class W, class F, class D = void (*)()>
void run_case(benchmark::State& state, int32_t view, bench::sky sky, W&& weather, F&& every_frame_of_case,
              D&& frame = whole_frame)
{
    const auto every_frame = [&] {
        full_visibility();
        every_frame_of_case();
    };
    if (!program().failure.empty()) {
        state.SkipWithError(program().failure.c_str());
        return;
    }
    CORE_run_command(view);
    bench::set_sky(sky);
    weather();
    for (int n = 0; n < 10; ++n) {
        every_frame();
        frame();
    }
    const int32_t frames_before = flying_frame_count;
    double main_cpu = 0.0;
    const double process_before = bench::process_cpu_seconds(), wall_before = bench::wall_seconds();
    for (auto _ : state) {
        const double t0 = bench::thread_cpu_seconds();
        every_frame();
        frame();
        main_cpu += bench::thread_cpu_seconds() - t0;
    }
    const double process_cpu = bench::process_cpu_seconds() - process_before;
    const double wall = bench::wall_seconds() - wall_before;
    if (app_mode != MODE_FLYING || quit_flag != 0) {
        state.SkipWithError("the frames left the flying mode");
        return;
    }
    if (flying_frame_count - frames_before != static_cast<int32_t>(state.iterations())) {
        state.SkipWithError("not every frame was a flying frame");
        return;
    }
    if (sim_graphics_view.view_type != view) {
        state.SkipWithError("the view changed while it was measured");
        return;
    }
    if (screen.window_width != 1024 || screen.window_height != 768) {
        state.SkipWithError("the window is not 1024 x 768");
        return;
    }
    const bench::drawn_record d = bench::count_frames(5, [&] {
        every_frame();
        whole_frame();
    });
    bench::report_drawn(state, d);
    if (d.ground_cells <= 0.0) state.SkipWithError("no ground cell was drawn");
    state.counters["main thread ms"] =
        benchmark::Counter(main_cpu * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["core share"] = wall > 0.0 ? process_cpu / wall : 0.0;
}

void nothing() {}

void BM_first_frame_cockpit(benchmark::State& state)
{
    const auto sky = static_cast<bench::sky>(state.range(0));
    run_case(state, VIEW_FORWARD, sky, nothing, nothing);
    state.SetLabel(bench::sky_name(sky));
}
BENCHMARK(BM_first_frame_cockpit)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_first_frame_chase(benchmark::State& state)
{
    const auto sky = static_cast<bench::sky>(state.range(0));
    run_case(state, VIEW_CHASE, sky, nothing, nothing);
    state.SetLabel(bench::sky_name(sky));
}
BENCHMARK(BM_first_frame_chase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_flying_frame_carrier(benchmark::State& state)
{
    run_case(state, VIEW_FORWARD, bench::sky::clear_day, nothing, carrier_ahead);
}
BENCHMARK(BM_flying_frame_carrier)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void broken_layer()
{
    sim_weather.cloud_type[0] = 3;
    sim_weather.cloud_type[1] = 0;
    sim_weather.cloud_base_msl_m[0] = 1500.0f;
    sim_weather.cloud_tops_msl_m[0] = 2500.0f;
    sim_weather.visibility_reported_m = 40000.0f;
    sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
    screen_settings.cloud_switch = 1;
}

void BM_flying_frame_broken_layer(benchmark::State& state)
{
    run_case(state, VIEW_FORWARD, bench::sky::clear_day, broken_layer, nothing);
    screen_settings.cloud_switch = 0;
}
BENCHMARK(BM_flying_frame_broken_layer)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_paced_cockpit(benchmark::State& state)
{
    const auto sky = static_cast<bench::sky>(state.range(0));
    PLAT_set_frame_pacing(true);
    // The swap waits for the picture, the pacing sleeps the rest of the period.
    run_case(state, VIEW_FORWARD, sky, nothing, nothing, MACIBM_do_frame);
    PLAT_set_frame_pacing(false);
    state.SetLabel(bench::sky_name(sky));
}
BENCHMARK(BM_paced_cockpit)->Arg(0)->Arg(1)->Iterations(600)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
