// Drawing one aircraft in full (ACF_draw_plane in mode 1) on the offscreen
// context: the trainer with its propeller standing (blades) and spinning (the
// disc), and the airliner, each placed 40 m ahead of a 3-D camera at noon
// light. Without finish the time is what the drawing costs the program's
// thread; with finish (argument 1) OpenGL has also rasterised the frame.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstring>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_draw.h"
#include "shell/display.h"
#include "tools/bench/bench_gl.h"
#include "shell/main.h"

namespace {

constexpr int TRAINER = 1, AIRLINER = 2;
int alerts = 0;
void count_alert(int, const char* const[4], int) { ++alerts; }

bool load(int plane, const char* path)
{
    std::memset(&pln[plane], 0, sizeof pln[plane]);
    flt[plane] = flt_struct{};
    UTIL_strcat3(program_folder, path, pln[plane].acf_file_path);
    if (!ACF_load_and_setup(plane)) return false;
    ACF_control_incidence(plane);
    return true;
}

bool fleet_ready()
{
    static const bool ready = [] {
        MACIBM_set_alert_handler(count_alert);
        FOLDERS_init();
        if (!bench_gl_context()) return false;
        if (!load(TRAINER, "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF")) return false;
        if (!load(AIRLINER, "AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF")) return false;
        sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
            sim_graphics_misc.cockpit_light_level_b = 1.0f;
        sim_graphics_view.view_zoom = 1.0f;
        gload_dim_factor = 1.0f;
        for (int n : {TRAINER, AIRLINER}) flt[n].nav_lights_on = flt[n].beacon_lights_on = 1;
        return alerts == 0;
    }();
    return ready;
}

void draw(benchmark::State& state, int plane, float prop_speed)
{
    if (!fleet_ready()) return state.SkipWithError("the fleet did not load (is the data folder laid out?)");
    for (int e = 0; e < ACF_MAX_ENGINES; ++e) flt[plane].POINT_tacrad[e] = prop_speed;
    const bool finish = state.range(0) != 0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.5, 0.5, -0.375, 0.375, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -40.0f);
    glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-130.0f, 0.0f, 1.0f, 0.0f);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ACF_draw_plane(plane, 1);
        if (finish) glFinish();
    }
    state.SetLabel(finish ? "with glFinish" : "drawing calls only");
    glFinish();
}

void BM_trainer_blades(benchmark::State& state) { draw(state, TRAINER, 0.0f); }
void BM_trainer_disc(benchmark::State& state) { draw(state, TRAINER, 200.0f); }
void BM_airliner(benchmark::State& state) { draw(state, AIRLINER, 0.0f); }

}  // namespace

BENCHMARK(BM_trainer_blades)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_trainer_disc)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_airliner)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
