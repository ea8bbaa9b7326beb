// One panel pass of the trainer: the aircraft of the data folder beside the
// benchmark loaded into the user's slot on the offscreen OpenGL context, its
// panel-font sheets in their slots, then PANEL_update in the 2-D projection.
// The first benchmark times the pass as the CPU spends it (OpenGL queues the
// drawing); the second waits for the drawing with glFinish. The same two for
// a glass panel over full nearby lists, and for synthetic vision alone.

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/panel.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "shell/display.h"
#include "shell/main.h"

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
        flt[0].POINT_tacrad[0] = 2000.0f / UNIT.radps_to_rpm;
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

// Panel passes: with `drawn` each one finished by OpenGL (the whole picture's
// time), without it what the pass costs the program's thread.
void time_panel_passes(benchmark::State& state, bool drawn)
{
    for (auto _ : state) {
        PANEL_update();
        if (drawn)
            glFinish();
        else
            benchmark::ClobberMemory();
    }
    glFinish();
}

void BM_panel_trainer(benchmark::State& state)
{
    if (*prepare()) return state.SkipWithError(prepare());
    time_panel_passes(state, false);
}

void BM_panel_trainer_drawn(benchmark::State& state)
{
    if (*prepare()) return state.SkipWithError(prepare());
    time_panel_passes(state, true);
}


// The glass panel: the EFIS elements, the moving map with its switches and the
// flight-management page in the trainer's slots, over full nearby lists (200
// NDBs, 200 VORs, 1,200 fixes, 200 airports around the aircraft); synthetic
// vision is timed apart, alone in the panel.
struct saved_panel {
    int32_t type[ACF_INS_SLOTS];
    float x[ACF_INS_SLOTS], y[ACF_INS_SLOTS], size[ACF_INS_SLOTS];
};

saved_panel& trainer_panel()
{
    static saved_panel p = [] {
        saved_panel s{};
        for (int k = 0; k < ACF_INS_SLOTS; ++k)
            s.type[k] = pln[0].acf_ins_type[k], s.x[k] = pln[0].acf_ins_x[k], s.y[k] = pln[0].acf_ins_y[k],
            s.size[k] = pln[0].acf_ins_size[k];
        return s;
    }();
    return p;
}

void lay_panel(const saved_panel& p)
{
    for (int k = 0; k < ACF_INS_SLOTS; ++k)
        pln[0].acf_ins_type[k] = p.type[k], pln[0].acf_ins_x[k] = p.x[k], pln[0].acf_ins_y[k] = p.y[k],
        pln[0].acf_ins_size[k] = p.size[k];
}

void fill_nearby_lists()
{
    static bool filled = false;
    if (filled) return;
    filled = true;
    const float lat0 = lat_ref + 1.0f, lon0 = lon_ref + 1.5f;
    flt[0].latitude = lat0, flt[0].longitude = lon0, flt[0].local_x = flt[0].local_z = 0.0f;
    auto place = [&](int n, int count, float& lat, float& lon) {   // a spiral out to about 60 nm
        const float a = static_cast<float>(n) * 2.39996f, r = std::sqrt(static_cast<float>(n) / count) * 1.0f;
        lat = lat0 + r * std::cos(a), lon = lon0 + r * std::sin(a);
    };
    for (int list = 0; list < 2; ++list)
        for (int n = 0; n < NAVAID_START_MAX; ++n) {
            navaid_record v{};
            v.kind = list == 0 ? NAV_VOR : NAV_NDB;
            place(n + list * 7, NAVAID_START_MAX, v.lat, v.lon);
            std::snprintf(v.id, sizeof v.id, "%c%03d", list == 0 ? 'V' : 'N', n);
            navaid_table.push_back(v);
            navaid_start_list[list][n] = static_cast<int32_t>(navaid_table.size() - 1);
        }
    navaid_start_last[0] = navaid_start_last[1] = NAVAID_START_MAX - 1;
    for (int n = 0; n < LOCAL_FIX_MAX; ++n) {
        fix_record f{};
        place(n, LOCAL_FIX_MAX, f.lat, f.lon);
        std::snprintf(f.id, sizeof f.id, "F%04d", n);
        fix_table.push_back(f);
        local_fix_list[n] = static_cast<int32_t>(fix_table.size() - 1);
    }
    local_fix_last = LOCAL_FIX_MAX - 1;
    for (int n = 0; n < LOCAL_AIRPORT_MAX; ++n) {
        airport_record a{};
        runway_record r{};
        place(n + 3, LOCAL_AIRPORT_MAX, r.lat, r.lon);
        a.runways.push_back(r);
        std::snprintf(a.id, sizeof a.id, "A%03d", n);
        airport_table.push_back(a);
        local_airport_list[n] = static_cast<int32_t>(airport_table.size() - 1);
    }
    local_airport_last = LOCAL_AIRPORT_MAX - 1;
}

void glass_panel(bool synthetic_vision_only)
{
    trainer_panel();
    fill_nearby_lists();
    saved_panel p{};
    for (int k = 0; k < ACF_INS_SLOTS; ++k) p.type[k] = -1, p.size[k] = 1.0f;
    if (synthetic_vision_only) {
        p.type[0] = 191, p.x[0] = 512.0f, p.y[0] = 400.0f;
    } else {
        const int types[] = {166, 169, 170, 171, 172, 175, 176, 177, 178, 179, 180, 183, 184, 185, 192, 374};
        int k = 0;
        for (int t : types) p.type[k] = t, p.x[k] = 80.0f + 60.0f * static_cast<float>(k % 15), p.y[k] = 200.0f + 300.0f * static_cast<float>(k / 15), ++k;
        p.x[13] = 512.0f, p.y[13] = 400.0f;   // the map in the middle
    }
    lay_panel(p);
    sim_cockpit_switches.EFIS_map_mode = 1;
    sim_cockpit_switches.EFIS_map_range_selector = 3;
}

void time_glass_panel(benchmark::State& state, bool synthetic_vision_only, bool drawn)
{
    if (*prepare()) return state.SkipWithError(prepare());
    glass_panel(synthetic_vision_only);
    time_panel_passes(state, drawn);
    lay_panel(trainer_panel());
}

void BM_panel_glass(benchmark::State& state) { time_glass_panel(state, false, false); }
void BM_panel_glass_drawn(benchmark::State& state) { time_glass_panel(state, false, true); }
void BM_panel_synthetic_vision(benchmark::State& state) { time_glass_panel(state, true, false); }
void BM_panel_synthetic_vision_drawn(benchmark::State& state) { time_glass_panel(state, true, true); }

}  // namespace

BENCHMARK(BM_panel_trainer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_panel_trainer_drawn)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_panel_glass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_panel_glass_drawn)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_panel_synthetic_vision)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_panel_synthetic_vision_drawn)->Unit(benchmark::kMicrosecond)->UseRealTime();
