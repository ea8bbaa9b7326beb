// The cloud update of one frame with a broken layer and cloud shadows on: a
// normal step (a hundredth of the puffs lit, their shadow quads drawn into the
// work picture) and a full relight (every puff lit and the whole cumulus
// shadow picture made and copied), on the offscreen context. The CPU column
// is the whole process's, the renderer's drawing threads included.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "core/constants.h"
#include "core/simvars/screen_settings.h"
#include "core/simvars/weather.h"
#include "scene/scene_state.h"
#include "scene/sky/cloud_field.h"
#include "tools/bench/bench_gl.h"

namespace {

// A broken layer in daylight from 60 degrees up; the puffs made and lit once.
bool broken_layer()
{
    if (!bench_gl_context()) return false;
    static const bool ready = [] {
        CONST_fill_random_table();
        sim_weather.cloud_type[0] = 3;
        sim_weather.cloud_type[1] = 0;
        sim_weather.cloud_base_msl_m[0] = 1500.0f;
        sim_weather.cloud_tops_msl_m[0] = 2500.0f;
        screen_settings.cloud_scale_a = screen_settings.cloud_scale_b = 1.0f;
        screen_settings.cloud_switch = 1;
        for (int k = 0; k < 3; ++k) scene_ambient_rgb[k] = 0.35f, scene_diffuse_rgb[k] = 0.6f;
        sun_angles[1] = 20.0f, sun_angles[2] = 25.0f;
        sun_tangents[0] = 0.36f, sun_tangents[1] = 0.47f;
        CLOUD_update_draw();
        return cloud_shadow_texture == 312;
    }();
    return ready;
}

void BM_cloud_update_normal_step(benchmark::State& state)
{
    if (!broken_layer()) {
        state.SkipWithError("no context or no cumulus shadow");
        return;
    }
    for (auto _ : state) {
        CLOUD_update_draw();
        glFinish();
    }
    size_t puffs = 0;
    for (const cloud_cell& c : cloud_cells) puffs += c.puffs.size();
    state.counters["puffs"] = static_cast<double>(puffs);
}
BENCHMARK(BM_cloud_update_normal_step)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_cloud_update_full_relight(benchmark::State& state)
{
    if (!broken_layer()) {
        state.SkipWithError("no context or no cumulus shadow");
        return;
    }
    for (auto _ : state) {
        CLOUD_light_cells(1);
        glFinish();
    }
}
BENCHMARK(BM_cloud_update_full_relight)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
