// One frame of the program in flying mode: the program is started on a copy of
// the generated default data folder (the folder this benchmark lies in, beside
// the program), on the offscreen OpenGL context, and then runs MACIBM_do_frame;
// argument 1 puts the carrier in view ahead of the plane.

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/alert.h"
#include "core/input.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "world/ships.h"
#include "shell/frame.h"
#include "tools/bench/bench_program.h"
#include "shell/main.h"
#include "shell/modes.h"

namespace {

using bench::started_program;

started_program& program()
{
    static started_program started("bench_frame");
    return started;
}

// The carrier 400 m ahead of the user's plane, bow to the plane, so the
// frame draws it (its deck, island, lines and lights) and tests its deck.
void carrier_ahead()
{
    const flt_struct& f = flt[0];
    const float h = f.psi * DEG_TO_RAD_FLOAT;
    ship_x[SHIP_CARRIER] = f.local_x + 400.0f * std::sin(h);
    ship_z[SHIP_CARRIER] = f.local_z - 400.0f * std::cos(h);
    ship_heading[SHIP_CARRIER] = f.psi + 180.0f;
    sim_graphics_settings.draw_ships = 1;
}

// `finish`: wait until the offscreen renderer has drawn the frame's picture
// (without it only the frame's own work and the queued drawing are measured).
void run_frames(benchmark::State& state, bool finish)
{
    if (!program().failure.empty()) {
        state.SkipWithError(program().failure.c_str());
        return;
    }
    const int32_t frames_before = flying_frame_count;
    for (auto _ : state) {
        if (state.range(0)) carrier_ahead();
        MACIBM_do_frame();
        if (finish) glFinish();
    }
    if (app_mode != MODE_FLYING || quit_flag != 0) state.SkipWithError("the frames left the flying mode");
    if (flying_frame_count - frames_before != static_cast<int32_t>(state.iterations()))
        state.SkipWithError("not every frame was a flying frame");
    state.counters["frames/s"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_flying_frame(benchmark::State& state) { run_frames(state, false); }
BENCHMARK(BM_flying_frame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_flying_frame_rendered(benchmark::State& state) { run_frames(state, true); }
BENCHMARK(BM_flying_frame_rendered)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same at noon under a broken layer at 1,500 m with cloud shadows on
// (argument 0: no carrier; `run_frames` reads the argument). The CPU column is
// the whole process's, the renderer's drawing threads included: the picture
// is filled on the processor.
void BM_flying_frame_broken_layer(benchmark::State& state)
{
    if (program().failure.empty()) {
        sim_weather.cloud_type[0] = 3;
        sim_weather.cloud_type[1] = 0;
        sim_weather.cloud_base_msl_m[0] = 1500.0f;
        sim_weather.cloud_tops_msl_m[0] = 2500.0f;
        sim_weather.visibility_reported_m = 40000.0f;
        sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
        screen_settings.cloud_shadows_on = 1;
        sim_time.zulu_time_sec = std::fmod((12.0f - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
    }
    run_frames(state, true);
}
BENCHMARK(BM_flying_frame_broken_layer)->Arg(0)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
