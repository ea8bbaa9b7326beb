// One panel pass of the trainer: the aircraft of the data folder beside the
// benchmark loaded into the user's slot on the offscreen OpenGL context, its
// panel-font sheets in their slots, then PANEL_update in the 2-D projection.
// The first benchmark times the pass as the CPU spends it (OpenGL queues the
// drawing); the second waits for the drawing with glFinish.

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/panel.h"
#include "shell/display.h"

namespace {

int alerts = 0;
void count_alert(int, const char* const[4], int) { ++alerts; }

// The window, the trainer and its sheets; an empty text when all is ready.
const char* prepare()
{
    static const char* failure = [] () -> const char* {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        MACIBM_set_alert_handler(count_alert);
        FOLDERS_init();   // the data folder lies beside the benchmark
        CONST_fill_constants();
        screen.window_width = 1024, screen.window_height = 768, screen.colour_depth = 32;
        DISPLAY_set_ui_mapping();
        OGL_init_image_blocks();
        if (!OGL_create_window()) return "no OpenGL window";
        OGL_probe_capabilities();
        OGL_fill_default_colors();
        UTIL_strcpy("AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF", default_aircraft_path);
        UTIL_strcpy("ORVELL TRAINER.ACF", default_aircraft_name);
        char path[TEXT_SIZE];
        UTIL_strcat3(program_folder, default_aircraft_path, path);
        UTIL_strcpy(static_cast<const char*>(path), pln[0].acf_file_path);
        if (!ACF_load_and_setup(0) || alerts) return "the trainer did not load (is the data folder laid out?)";
        int w = 0, h = 0;
        if (!OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_PANEL_FONT, TEX_KEY, "PANEL_TEST_NEAREST.BMP", w, h) ||
            !OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_PANEL_FONT2, TEX_KEY, "PANEL_TEST_LINEAR.BMP", w, h))
            return "no panel-font sheets";
        // A running engine, power and a turn: every needle has somewhere to point.
        sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 1;
        flt[0].ENGN_bat_volt[0] = 1.0f;
        flt[0].POINT_tacrad[0] = 2000.0f / 9.549297f;
        flt[0].turnrate_roll = 12.0f;
        flt[0].vacuum = 0.8f;
        sim_time.local_time_sec = 12345.0f;
        sim_operation_misc.frame_rate_period = 0.04f;
        screen.open_menu = -1;
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        return "";
    }();
    return failure;
}

void BM_panel_trainer(benchmark::State& state)
{
    if (*prepare()) return state.SkipWithError(prepare());
    for (auto _ : state) {
        PANEL_update();
        benchmark::ClobberMemory();
    }
    glFinish();
}

void BM_panel_trainer_drawn(benchmark::State& state)
{
    if (*prepare()) return state.SkipWithError(prepare());
    for (auto _ : state) {
        PANEL_update();
        glFinish();
    }
}

}  // namespace

BENCHMARK(BM_panel_trainer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_panel_trainer_drawn)->Unit(benchmark::kMicrosecond)->UseRealTime();
