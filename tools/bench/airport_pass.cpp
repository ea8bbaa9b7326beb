// The airport furniture and effect passes on the CPU (the offscreen renderer's
// own drawing is finished outside the timing): the program started on a copy
// of the generated default data folder at KSBD at night, then
// - the airport pass and the fences with the airports the start view sees,
//   and with every nearby airport in view;
// - 5,000 particles in view, moved, aged and drawn;
// - 1,000 road vehicles queued and drawn with their lights: spread over 20 km
//   around the camera (the few within a nautical mile with their bodies), all
//   within a nautical mile around it, and all within a nautical mile ahead of
//   it where the view sees every body.
// Everything is drawn in the world view that one scene pass sets up (the
// projection, the camera's model-view, the sun light and the fog).

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/alert.h"
#include "core/input.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/units.h"
#include "scene/airport/worldobj.h"
#include "scene/lights_model.h"
#include "scene/camera.h"
#include "scene/effects/particles.h"
#include "scene/scene_driver.h"
#include "scene/scene_state.h"
#include "scene/sky_light.h"
#include "scene/view_setup.h"
#include "shell/frame.h"
#include "tools/bench/bench_program.h"
#include "shell/main.h"
#include "shell/modes.h"
#include "world/apt_scene.h"
#include "world/runway_geometry.h"

namespace {

using bench::started_program;

// A few frames more, so the airports near the start are listed and built.
started_program& program()
{
    static started_program started("bench_airport_pass");
    static const bool prepared = [] {
        for (int i = 0; i < 5; ++i) MACIBM_do_frame();
        if (started.failure.empty() && local_airport_last < 0) started.failure = "no airport near the start";
        return true;
    }();
    (void)prepared;
    return started;
}

using bench::world_view;

bool ready(benchmark::State& state)
{
    if (program().failure.empty()) {
        world_view();
        sim_graphics_scenery.percent_lights_on = 1.0f;   // night
        return true;
    }
    state.SkipWithError(program().failure.c_str());
    return false;
}

// The view sees the ground within `reach` metres of the camera.
void wide_footprint(float reach)
{
    const float x = sim_graphics_view.view_x, z = sim_graphics_view.view_z;
    view_footprint[0] = {x - reach, z - reach};
    view_footprint[1] = {x + reach, z - reach};
    view_footprint[2] = {x + reach, z + reach};
    view_footprint[3] = {x - reach, z + reach};
}

void finish_outside_timing(benchmark::State& state)
{
    state.PauseTiming();
    glFinish();
    state.ResumeTiming();
}

void airport_pass(benchmark::State& state, bool every_airport)
{
    if (!ready(state)) return;
    uint8_t kept[SCENE_AIRPORT_SLOTS];
    std::memcpy(kept, scene_airport_visible, sizeof kept);
    if (every_airport)
        for (int n = 0; n <= local_airport_last && n < SCENE_AIRPORT_SLOTS; ++n) scene_airport_visible[n] = 1;
    int visible = 0;
    for (int n = 0; n <= local_airport_last && n < SCENE_AIRPORT_SLOTS; ++n) visible += scene_airport_visible[n];
    for (auto _ : state) {
        WORLDOBJ_draw_objects();
        WORLDOBJ_draw_fences();
        finish_outside_timing(state);
    }
    std::memcpy(scene_airport_visible, kept, sizeof kept);
    size_t lights = 0, sections = 0;
    for (const runway_geometry_record& g : runway_geometry_table) lights += g.lights.size(), sections += g.sections.size();
    state.counters["airports"] = visible;
    state.counters["all sections"] = static_cast<double>(sections);
    state.counters["all lights"] = static_cast<double>(lights);
}

void BM_airport_pass_and_fences_at_night(benchmark::State& state) { airport_pass(state, false); }
BENCHMARK(BM_airport_pass_and_fences_at_night)->Unit(benchmark::kMillisecond);

void BM_airport_pass_and_fences_every_airport(benchmark::State& state) { airport_pass(state, true); }
BENCHMARK(BM_airport_pass_and_fences_every_airport)->Unit(benchmark::kMillisecond);

void BM_particles_5000(benchmark::State& state)
{
    if (!ready(state)) return;
    wide_footprint(5000.0f);
    PARTICLE_list_reset();
    const float x = sim_graphics_view.view_x, y = sim_graphics_view.view_y, z = sim_graphics_view.view_z;
    for (int k = 0; k < 5000; ++k)
        PARTICLE_spawn(x + static_cast<float>(k % 100) * 20.0f - 1000.0f, y + 50.0f,
                       z - 500.0f - static_cast<float>(k / 100) * 20.0f, 1.0f, 2.0f, 0.0f, y - 100.0f, 3.0f, 0.5f,
                       1.0e6f, 7, 0.8f, 0);
    sim_operation_misc.frame_rate_period = 0.001f;
    for (auto _ : state) {
        PARTICLE_draw();
        finish_outside_timing(state);
    }
    size_t active = 0;
    for (const particle_record& p : particle_list) active += p.active;
    state.counters["particles"] = static_cast<double>(active);
    PARTICLE_list_reset();
}
BENCHMARK(BM_particles_5000)->Unit(benchmark::kMillisecond);

enum class vehicle_layout { spread, around, ahead };

// 1,000 vehicles on the ground under the camera, along a golden-angle spiral:
// out to 20 km all around, out to 900 m all around, or from 50 m to 1,800 m
// ahead within 20 degrees of the view heading.
void vehicles(benchmark::State& state, vehicle_layout layout)
{
    if (!ready(state)) return;
    const float x = sim_graphics_view.view_x, y = scene_ground_elevation, z = sim_graphics_view.view_z;
    const float heading = sim_graphics_view.view_heading;
    int bodies = 0;
    for (auto _ : state) {
        LIGHTS_fraction();
        for (int k = 0; k < 1000; ++k) {
            const float f = std::sqrt((k + 0.5f) / 1000.0f);
            float a = static_cast<float>(k) * 2.399963f;   // the golden angle
            float r = 0.0f;
            switch (layout) {
            case vehicle_layout::spread: r = 20000.0f * f; break;
            case vehicle_layout::around: r = 900.0f * f; break;
            case vehicle_layout::ahead:
                r = 50.0f + 1750.0f * f;
                a = (heading + 20.0f * std::sin(a)) * DEG_TO_RAD_FLOAT;
                break;
            }
            LIGHTS_add(k, x + r * std::sin(a), y, z - r * std::cos(a), static_cast<float>(k * 37 % 360), 1,
                       static_cast<uint8_t>(k & 1), 0);
        }
        LIGHTS_draw();
        finish_outside_timing(state);
    }
    for (int n = 0; n < light_count; ++n) bodies += light_queue[static_cast<size_t>(n)].dist_sq < LIGHTS_NEAR_LIMIT_SQ;
    state.counters["queued"] = light_count;
    state.counters["bodies"] = bodies;
    state.counters["in view"] = static_cast<double>(vehicle_batch.firsts.size() / 2);
}

void BM_vehicles_1000_spread(benchmark::State& state) { vehicles(state, vehicle_layout::spread); }
BENCHMARK(BM_vehicles_1000_spread)->Unit(benchmark::kMillisecond);

void BM_vehicles_1000_near(benchmark::State& state) { vehicles(state, vehicle_layout::around); }
BENCHMARK(BM_vehicles_1000_near)->Unit(benchmark::kMillisecond);

void BM_vehicles_1000_near_all_in_view(benchmark::State& state) { vehicles(state, vehicle_layout::ahead); }
BENCHMARK(BM_vehicles_1000_near_all_in_view)->Unit(benchmark::kMillisecond);

}  // namespace
