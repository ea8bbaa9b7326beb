// What the targets over an aircraft's files share: the program folder laid
// out with what loading an aircraft reads besides its own file (airfoils
// under the names the fleet gives them, the built-in panels and instrument
// pictures; its sounds are not loaded), a flat world to fly in, and a few
// frames of flight of the user's plane as the program flies it after a load.
#pragma once

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "aircraft/airfoil.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_step.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_tex.h"
#include "panel/instrument_pictures.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/objects.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace fuzz_aircraft {

// The airfoil names the fleet's aircraft use.
inline constexpr const char* fleet_airfoils[] = {
    "glider_wing.afl", "jet_wing.afl",    "NACA 0009 (symmetrical).afl", "prop_thin.afl",
    "rotor_sym12.afl", "tail_sym12.afl", "wing_15pct.afl",
};

// A grey picture of width x height at `relative` below the program folder (':' separated).
inline void write_picture(const std::string& folder, std::string relative, int width, int height)
{
    std::replace(relative.begin(), relative.end(), ':', '/');
    const std::filesystem::path path = std::filesystem::path(folder) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::memset(pixel_buffer, 128, static_cast<std::size_t>(width) * height * 3);
    BMP_write_file(path.c_str(), width, height);
}

// Once per process: the program folder with the files an aircraft's load
// reads beside its own, and the constants filled. Returns the folder.
inline const std::string& program_folder_laid_out()
{
    static const std::string folder = [] {
        const std::string f = fuzz_program_folder();
        for (const char* sub : {"Aircraft", "Airfoils", "Weapons", "Resources/bitmaps/panels"})
            std::filesystem::create_directories(f + sub);
        CONST_fill_constants();
        // The sound files are another reader's input: the aircraft's sound
        // set-up names them, nothing is loaded.
        acf_sounds = {[](int, const char*) {}, [](int) {}};
        // Each airfoil a cambered wing section of moderate thickness.
        afl_block& b = AIRFOIL_block(ACF_SLOTS - 1, 0);
        b = afl_block{};
        b.afl_re_num[0] = 5.0f, b.afl_t_rat[0] = 0.15f, b.afl_mach_div[0] = 0.7f;
        b.afl_clM[0] = 0.105f, b.afl_clB[0] = 0.36f, b.afl_almin[0] = -15.0f, b.afl_almax[0] = 15.5f;
        b.afl_linear_alpha = 8.0f, b.afl_Lpow = 2.0f, b.afl_Lstall = 1.6f, b.afl_Ldrop1 = 0.1f;
        b.afl_Lpowstl = 1.5f, b.afl_Ldrop2 = 0.35f, b.afl_Dmin = 0.0065f, b.afl_DminCL = 0.25f;
        b.afl_Dal10 = 0.022f, b.afl_Dpow = 3.0f, b.afl_cmal2 = -12.0f, b.afl_cmal3 = 14.0f;
        b.afl_cm1 = -0.02f, b.afl_cm2 = -0.07f, b.afl_cm3 = -0.07f, b.afl_cm4 = -0.11f;
        AIRFOIL_build_tables(b, 0);
        for (const char* name : fleet_airfoils)
            AIRFOIL_read_write(AFL_MODE_WRITE, ACF_SLOTS - 1, 0, 0, 0, (f + "AIRFOILS:" + name).c_str());
        std::memset(&pln[ACF_SLOTS - 1], 0, sizeof pln[ACF_SLOTS - 1]);
        // The built-in panels (a panel is 1024 texels wide; these are low,
        // so loading one takes little of an input's time) and a small picture
        // for every instrument type.
        const std::string bitmaps = f + "Resources/bitmaps/";
        for (const char* panel : {"PANEL_GENERAL", "PANEL_AIRLINER", "PANEL_FIGHTER", "PANEL_GLIDER", "PANEL_HELO",
                                  "PANEL_AUTOGYRO", "PANEL_GENERAL_IFR", "PANEL_AUTOGYRO_TWIN"})
            write_picture(bitmaps, std::string("panels:") + panel + ".bmp", 1024, 16);
        for (int t = 0; t < 476; ++t)
            if (PANEL_instrument_picture(t)[0]) write_picture(bitmaps, PANEL_instrument_picture(t), 16, 16);
        return f;
    }();
    return folder;
}

// Before each input: every module's kept values and the published records
// at rest, the random generator at its initial state, the Earth, a flat
// ground at sea level under the whole loaded area, still standard air, and
// the user's plane slot empty, so one input's aircraft leaves nothing to the
// next.
inline void reset_world()
{
    RESET_all();
    UTIL_srand(1);
    CONST_fill_constants();
    PLANET_set_constants(PLANET_EARTH);
    lat_ref = 33.0f;
    lon_ref = -119.0f;
    for (flt_struct& f : flt) f = flt_struct{};
    std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);   // the only slot a load fills
    OBJ_clear_table();
    std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
    frame_clock = 0.0f;
    constexpr float cell_m = 100.0f;
    constexpr int centre = 200;
    for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
        for (int j = 0; j < TERRAIN_GRID_COLS; ++j)
            terrain_vertex_grid[TERRAIN_index(i, j)] = {(i - centre - 0.5f) * cell_m, 0.0f, -(j - centre - 0.5f) * cell_m};
    scenery_area.x0 = (-centre - 0.5f) * cell_m;
    scenery_area.x1 = (grid_rows[PLANET_EARTH] - centre - 0.5f) * cell_m;
    scenery_area.z1 = (centre + 0.5f) * cell_m;
    scenery_area.z0 = -(grid_cols[PLANET_EARTH] - centre - 0.5f) * cell_m;
    UTIL_strcpy("AIRCRAFT:FUZZ DEFAULT.ACF", default_aircraft_path);
    UTIL_strcpy("FUZZ DEFAULT.ACF", default_aircraft_name);
    sim_physics.g_sealevel = sim_physics.earth_mu / (sim_physics.earth_radius_m * sim_physics.earth_radius_m);
    sim_weather.speed_of_sound_ms = 340.0f;
    sim_weather.rho = 1.225f;
    sim_weather.sigma = 1.0f;
    sim_weather.temperature_sealevel_c = 15.0f;
    sim_graphics_settings.draw_aircrafts = 1;
    app_mode = MODE_FLYING;
}

// The user's plane put in the air at 1,500 m heading east at 60 m/s, then
// flown for `frames` frames of 1/20 s.
inline void fly(int frames)
{
    FLIGHT_reset_at_start(0, 0.0f, 90.0f, 0.0f, 0.0f, 1500.0f, 0.0f, 60.0f);
    for (int k = 0; k < frames; ++k) {
        frame_clock += 0.05f;
        sim_operation_misc.frame_rate_period = 0.05f;
        FLTMOD_plane_step(0);
    }
}

}  // namespace fuzz_aircraft
