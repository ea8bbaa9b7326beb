// The rendering, planet, logbook, flight plan and small screens driven frame
// by frame: the target frame period and texture read-outs, a language click
// that reloads the texts, the planet presets and units, the logbook list and
// its two buttons, the flight plan form and message, the aircraft paths and
// text pages; and the language file's lists and formats.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/screen.h"
#include "core/pilot_prefs.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/time_probe.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/logbook.h"
#include "graphics/list.h"
#include "graphics/ogl_tex.h"
#include "links/plugin_host.h"
#include "screens/screen_layout.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "shell/lang.h"
#include "shell/main.h"
#include "tests/support/ui_capture.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/test_support.h"
#include "world/atc/atc_state.h"
#include "world/navdb.h"

namespace {

class OtherScreens : public ScreenTest {};

std::string chosen;
int choose(int, int, char* name, char* path)
{
    if (chosen.empty()) return 0;
    std::strcpy(name, chosen.c_str());
    std::strcpy(path, chosen.c_str());
    return 1;
}

// The program folder of a test, with its logs; the previous one comes back after.
struct scratch_program {
    temp_folder tmp;
    std::filesystem::path kept = std::filesystem::current_path();
    scratch_program()
    {
        std::filesystem::current_path(tmp.path());
        FOLDERS_open_logs();
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    }
    ~scratch_program()
    {
        FOLDERS_close_logs();
        std::filesystem::current_path(kept);
    }
};

// A logbook file of that name, whatever the letter case its extension got.
bool logbook_file_exists(const scratch_program& folder, std::string name)
{
    for (const auto& e : std::filesystem::directory_iterator(folder.tmp.path() / "Output" / "logbooks")) {
        std::string n = e.path().filename().string();
        for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (n == name) return true;
    }
    return false;
}

}  // namespace

TEST_F(OtherScreens, RenderingFrameRateAndTextureReadOuts)
{
    screen_settings.systems_period = 0.05f;   // 20 frames a second
    for (int k = 0; k < 5; ++k) click(SETUP_rendering_language, 135.0f, 236.0f);   // the units digit up
    EXPECT_NEAR(screen_settings.systems_period, 0.04f, 1e-6f);

    // A colour depth other than 16 or 32 becomes 16.
    screen.res_bits = 24;
    text(123, "16-32");
    SETUP_rendering_language();
    EXPECT_EQ(screen.res_bits, 16);

    // Below 12.5 frames a second the field holds 12.5.
    screen_settings.systems_period = 0.2f;
    SETUP_rendering_language();
    EXPECT_NEAR(screen_settings.systems_period, 0.08f, 1e-6f);

    // 250 textures in the aircraft slots 500..999 (the table is put back after).
    std::vector<int32_t> kept(std::begin(texture_memory), std::end(texture_memory));
    std::fill(texture_memory + 500, texture_memory + 4701, 0);
    for (int s = 500; s < 750; ++s) texture_memory[s] = 1;
    text(146, "A%dB%dC");
    text(147, "D%dE%dF");
    text(148, "G%dH%dI");
    EXPECT_TRUE(shows(printed(SETUP_rendering_language), "A250B50C"));
    // Each share is divided by its range's last slot less its first:
    // 499 of 500..999, 2999 of 1000..3999 and 700 of 4000..4700 read 100.
    std::fill(texture_memory + 500, texture_memory + 999, 1);
    std::fill(texture_memory + 1000, texture_memory + 3999, 1);
    std::fill(texture_memory + 4000, texture_memory + 4700, 1);
    const auto lines = printed(SETUP_rendering_language);
    EXPECT_TRUE(shows(lines, "A499B100C"));
    EXPECT_TRUE(shows(lines, "D2999E100F"));
    EXPECT_TRUE(shows(lines, "G700H100I"));
    std::copy(kept.begin(), kept.end(), texture_memory);

    // The switch table: a click on each box flips its own setting.
    sim_graphics_settings_block& g = sim_graphics_settings;
    screen_settings_block& ss = screen_settings;
    const struct {
        float x, y;
        int32_t* value;
    } switches[] = {
        {270, 576, &g.draw_vectors},        {470, 576, &g.draw_obstacles},   {600, 576, &g.draw_textured_lites},
        {270, 546, &g.draw_cars},           {470, 546, &g.draw_oilrigs},     {600, 546, &ss.cloud_switch},
        {270, 516, &ss.scenery_load_switch}, {470, 516, &g.draw_ships},      {600, 516, &g.dim_gload},
        {270, 486, &ss.draw_apron_aircraft}, {470, 486, &g.draw_forestfires}, {600, 486, &g.draw_taxilines},
    };
    for (const auto& w : switches) *w.value = 0;
    for (const auto& w : switches) {
        click(SETUP_rendering_language, w.x + 4.0f, w.y + 4.0f);
        EXPECT_EQ(*w.value, 1) << w.x << "," << w.y;
        for (const auto& o : switches)
            if (o.value != w.value) { EXPECT_EQ(*o.value, &o < &w ? 1 : 0) << w.x << "," << w.y; }
    }

    // A change of the number of aircraft drawn tells the plug-ins once (event 7).
    static std::vector<int> events;
    events.clear();
    plugin_host.entries.event = [](int code, float, int, int, int) { events.push_back(code); return 1; };
    sim_graphics_settings.draw_aircrafts = 5;
    click(SETUP_rendering_language, 65.0f, 562.0f);   // the units digit up
    SETUP_rendering_language();
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 6);
    EXPECT_EQ(events, std::vector<int>{7});
    // At its most, 10, a click up leaves the number and tells nobody.
    events.clear();
    sim_graphics_settings.draw_aircrafts = 10;
    click(SETUP_rendering_language, 65.0f, 562.0f);
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 10);
    EXPECT_TRUE(events.empty());
    PLUGIN_host_reset();
}

TEST_F(OtherScreens, ALanguageClickShowsThatLanguagesTextsTheNextFrame)
{
    scratch_program folder;
    // The data folder's aircraft, sounds and menus; texts of our own.
    const std::filesystem::path data = ORVELL_DATA_FOLDER;
    for (const char* f : {"Aircraft", "Airfoils", "Weapons"})
        std::filesystem::create_directory_symlink(data / f, folder.tmp.path() / f);
    std::filesystem::create_directories(folder.tmp.path() / "Resources");
    for (const auto& e : std::filesystem::directory_iterator(data / "Resources"))
        if (e.path().filename() != "text")
            std::filesystem::create_directory_symlink(e.path(), folder.tmp.path() / "Resources" / e.path().filename());
    folder.tmp.write("Resources/text/english/ORVELL.TXT", "I\n1 version\n137 View\n-1\n");
    folder.tmp.write("Resources/text/french/ORVELL.TXT", "I\n1 version\n137 Vue\n-1\n");
    APPLICATION_install_hooks();
    sim_operation_prefs_misc.language = 0;
    LANG_load_text(0);
    EXPECT_TRUE(shows(printed(SETUP_rendering_language, 103), "View"));

    click(SETUP_rendering_language, 740.0f, 577.0f);   // the second language
    EXPECT_EQ(sim_operation_prefs_misc.language, 1);
    EXPECT_TRUE(shows(printed(SETUP_rendering_language, 103), "Vue"));
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(OtherScreens, PlanetPresetsAndUnits)
{
    PLANET_set_constants(0);
    SETUP_planet();
    EXPECT_NEAR(sim_physics.g_sealevel, 9.7983f, 1e-3f);
    click(SETUP_planet, 300.0f, 315.0f);   // Mars
    SETUP_planet();
    EXPECT_EQ(sim_graphics_scenery.current_planet, 1);
    EXPECT_NEAR(sim_physics.earth_radius_m, 3396200.0f, 1.0f);
    EXPECT_NEAR(sim_physics.g_sealevel, 3.7146f, 1e-3f);
    EXPECT_EQ(sim_physics.mu_air, 1.7894e-05f);
    click(SETUP_planet, 300.0f, 365.0f);   // the Earth, above it
    EXPECT_EQ(sim_graphics_scenery.current_planet, 0);
    click(SETUP_planet, 300.0f, 315.0f);

    // The radius shown in km: 6000 typed is stored as 6,000,000 m.
    sim_physics.earth_radius_m = 5000000.0f;
    click(SETUP_planet, 100.0f + 25.0f, 325.0f);   // the thousands digit up
    EXPECT_FLOAT_EQ(sim_physics.earth_radius_m, 6000000.0f);
    // Every value held to the range the preferences hold it to on the planet
    // flown (Mars here): no radius, gravity, pressure or density of 0, no
    // sea-level temperature of -9999 degrees.
    sim_physics.earth_radius_m = 0.0f;
    sim_physics.rho_sea_level = 0.0f;
    sim_physics.earth_mu = 0.0f;
    sim_physics.earth_pressure_p = 0.0f;
    sim_physics.earth_temp_c = -9999.0f;
    SETUP_planet();
    SETUP_planet();
    EXPECT_FLOAT_EQ(sim_physics.earth_radius_m, 3.0e6f);
    EXPECT_FLOAT_EQ(sim_physics.rho_sea_level, 0.005f);
    EXPECT_NEAR(sim_physics.earth_mu, 1.0e13f, 1e7f);
    EXPECT_GT(sim_physics.g_sealevel, 1.0f);
    EXPECT_FLOAT_EQ(sim_physics.earth_pressure_p, 300.0f);
    EXPECT_FLOAT_EQ(sim_physics.earth_temp_c, -150.0f);
    // On the Earth a pressure stepped down to 0 stays at 800 hPa.
    PLANET_set_constants(0);
    for (int k = 0; k < 2; ++k) click(SETUP_planet, 105.0f, 105.0f);   // the first digit, lower half
    EXPECT_FLOAT_EQ(sim_physics.earth_pressure_p, 80000.0f);
    PLANET_set_constants(1);
    // Each preset's column of constants.
    const struct {
        int planet;
        float mu, radius, temp, pressure, rho, baro;
    } presets[] = {{0, 3.986012e14f, 6378145.0f, 15.0f, 101325.0f, 1.225f, 29.92f},
                   {1, 4.2845e13f, 3396200.0f, -60.0f, 920.0f, 0.01505f, 0.3676f}};
    for (const auto& c : presets) {
        sim_physics.mu_air = sim_physics.rho_water = 0.0f;
        PLANET_set_constants(c.planet);
        EXPECT_EQ(sim_physics.earth_mu, c.mu) << c.planet;
        EXPECT_EQ(sim_physics.earth_radius_m, c.radius) << c.planet;
        EXPECT_EQ(sim_physics.mu_air, 1.7894e-05f) << c.planet;
        EXPECT_EQ(sim_physics.rho_water, 1000.0f) << c.planet;
        EXPECT_EQ(sim_physics.earth_temp_c, c.temp) << c.planet;
        EXPECT_EQ(sim_weather.temperature_sealevel_c, c.temp) << c.planet;   // the same value's second name
        EXPECT_EQ(sim_physics.earth_pressure_p, c.pressure) << c.planet;
        EXPECT_EQ(sim_physics.rho_sea_level, c.rho) << c.planet;
        EXPECT_EQ(sim_cockpit_misc.barometer_setting, c.baro) << c.planet;
    }
    // The gravity parameter shown in 10^14: its ones digit steps 1e14.
    PLANET_set_constants(0);
    click(SETUP_planet, 105.0f, 375.0f);
    EXPECT_NEAR(sim_physics.earth_mu, 4.986012e14f, 1e8f);
    PLANET_set_constants(2);   // no such planet: only the number changes
    EXPECT_EQ(sim_graphics_scenery.current_planet, 2);
    EXPECT_EQ(sim_physics.earth_radius_m, 6378145.0f);
    PLANET_set_constants(0);
}

TEST_F(OtherScreens, LogbookListsFortyRowsAndSumsThemAll)
{
    scratch_program folder;
    std::filesystem::create_directories(folder.tmp.path() / "Output" / "logbooks");
    LOGBOOK_clear();
    for (int i = 0; i < 45; ++i) {
        logbook_last = i;
        logbook.date[i] = 121314;
        logbook.landings[i] = 10;
        logbook.total_hours[i] = 10.0f;
    }
    std::strcpy(logbook_path, "OLD.TXT");
    const auto lines = printed(SETUP_logbook);
    int rows = 0;
    for (const std::string& l : lines)
        if (l.find("12-13-14") != std::string::npos) ++rows;
    EXPECT_EQ(rows, 40);
    EXPECT_TRUE(shows(lines, "0450450.0"));   // the landings' sum, then the total hours' sum
    small_screens.logbook_scroll = 999;  // held to the last entry
    SETUP_logbook();
    EXPECT_EQ(small_screens.logbook_scroll, 44);

    // Open: the current logbook is written first, then the chosen one read.
    core_hooks.UI_open_file_browser = choose;
    chosen = "OTHER.TXT";
    click(SETUP_logbook, 80.0f, 600.0f);
    EXPECT_STREQ(logbook_path, "OTHER.TXT");
    EXPECT_TRUE(logbook_file_exists(folder, "OLD.TXT"));
    // New: the current one is not written; the arrays start again.
    logbook_last = 3;
    chosen = "FRESH.TXT";
    click(SETUP_logbook, 202.0f, 600.0f);
    EXPECT_STREQ(logbook_path, "FRESH.TXT");
    EXPECT_FALSE(logbook_file_exists(folder, "OTHER.TXT"));
    EXPECT_EQ(logbook_last, 0);
    // A cancelled browser changes nothing.
    chosen.clear();
    click(SETUP_logbook, 80.0f, 600.0f);
    EXPECT_STREQ(logbook_path, "FRESH.TXT");
}

// Scrolled by 5, the list starts at entry 5 and ends at entry 44; each row's
// totals show one decimal in three digits (2.5 as 02.5, 0 as 00.0), the
// point on the digits' line, after the two-digit count. Rows of a few
// minutes carry what their tenth leaves over, so the rows add up to the sum.
TEST_F(OtherScreens, TheLogbookListFollowsItsScrollAndShowsTenthsPerRow)
{
    LOGBOOK_clear();
    logbook = logbook_arrays{};   // no tail or aircraft from a plane an earlier test loaded
    for (int i = 0; i < 45; ++i) {
        logbook_last = i;
        logbook.date[i] = 10100 + i;
        logbook.landings[i] = 7;
        logbook.total_hours[i] = 2.5f;
    }
    small_screens.logbook_scroll = 5;
    const auto lines = printed(SETUP_logbook);
    EXPECT_TRUE(shows(lines, "01-01-050702.500.000.000.0"));
    EXPECT_TRUE(shows(lines, "01-01-440702.500.000.000.0"));
    EXPECT_FALSE(shows(lines, "01-01-04"));
    small_screens.logbook_scroll = 0;
    for (int i = 0; i <= 3; ++i) logbook.total_hours[i] = 0.04f;   // 2.4 minutes each
    const auto few = printed(SETUP_logbook);
    EXPECT_TRUE(shows(few, "01-01-000700.0"));
    EXPECT_TRUE(shows(few, "01-01-010700.1"));
    EXPECT_TRUE(shows(few, "01-01-020700.0"));
    EXPECT_TRUE(shows(few, "01-01-030700.1"));
    small_screens.logbook_scroll = 5;

    // Each caption of the headings stands over its column: the from airport under the fourth.
    text(291, "A  B  C  D  E  F  G  H  I  J");
    std::strcpy(logbook.from[5], "V");
    float at[128] = {};
    for (const fb_rect& r : capture_rects(SETUP_logbook))
        if (const int c = glyph_of(105, r); c > 0 && c < 128 && std::fabs(r.y1 - screen.screen_area_bottom - 545.0f) < 10.0f)
            at[c] = r.x1;
    const float columns[10] = {52, 105, 154, 358, 418, 490, 550, 610, 670, 730};
    for (int k = 0; k < 10; ++k) EXPECT_NEAR(at['A' + k], screen.screen_area_left + columns[k], 1.5f) << k;
    EXPECT_NEAR(at['V'], at['D'], 0.5f);
}

TEST_F(OtherScreens, FlightPlanFormAndMessage)
{
    pln[0] = acf_struct{};
    flt[0] = flt_struct{};
    atc_state = atc_state_block{};
    pln[0].acf_Vne = 300.0f;
    pln[0].acf_en_type[0] = 4;
    EXPECT_EQ(SETUP_flight_plan_cruise_speed(), 402);
    // Two thirds of Vne (201 kt), then x 1.1 for pistons, x 1.5 for turboprops
    // and x 2 for jets; electric engines and rockets keep 201.
    const int cruise[9] = {221, 221, 301, 201, 402, 402, 201, 201, 301};
    for (int type = 0; type < 9; ++type) {
        pln[0].acf_en_type[0] = type;
        EXPECT_EQ(SETUP_flight_plan_cruise_speed(), cruise[type]) << type;
    }

    // Fuel hours: endurance + 0.5, halves away from zero (an electric engine: fuel / burn set by hand).
    pln[0].acf_num_engines = 1;
    pln[0].acf_en_type[0] = 6;   // rocket: full flow x 3600 per hour
    pln[0].acf_SFC[0] = 1.0f / 3600.0f;
    pln[0].acf_fmax_opt = 1.0f;  // 1 kg an hour
    const float hours[3] = {2.0f, 2.4f, 1.6f};
    const char* says[3] = {"onboard3hours", "onboard3hours", "onboard2hours"};
    for (int k = 0; k < 3; ++k) {
        flt[0].m_fuel1 = hours[k];
        char message[TEXT_SIZE];
        SETUP_flight_plan_message(message);
        std::string packed;
        for (const char* c = message; *c; ++c)
            if (*c != ' ') packed += *c;
        EXPECT_NE(packed.find(says[k]), std::string::npos) << message;
    }

    // The rules boxes exclude each other; unticking leaves the partner.
    atc_state.atc_plan_option1 = 1;
    click(SETUP_flight_plan, 100.0f, 295.0f);
    EXPECT_EQ(atc_state.atc_plan_option2, 1);
    EXPECT_EQ(atc_state.atc_plan_option1, 0);
    click(SETUP_flight_plan, 100.0f, 295.0f);
    EXPECT_EQ(atc_state.atc_plan_option2, 0);
    EXPECT_EQ(atc_state.atc_plan_option1, 0);

    // Unticking a box leaves its partner, even when both were set from outside.
    atc_state.atc_plan_option1 = atc_state.atc_plan_option2 = 1;
    click(SETUP_flight_plan, 100.0f, 315.0f);
    EXPECT_EQ(atc_state.atc_plan_option1, 0);
    EXPECT_EQ(atc_state.atc_plan_option2, 1);
    atc_state.atc_plan_option2 = 0;

    // The form of address at x 200: the lower box (295) clears the upper one (315).
    atc_state.atc_plan_sir = 1;
    click(SETUP_flight_plan, 200.0f, 295.0f);
    EXPECT_EQ(atc_state.atc_plan_madam, 1);
    EXPECT_EQ(atc_state.atc_plan_sir, 0);
    atc_state.atc_plan_madam = 0;

    // The greeting by the local hour: before 12, before 18, then the evening's.
    for (const auto& [hour, word] : {std::pair{11.9f, "morning"}, {12.0f, "afternoon"}, {17.9f, "afternoon"},
                                     {18.0f, "evening"}}) {
        sim_time.local_time_sec = hour * 3600.0f;
        char greeting[TEXT_SIZE];
        SETUP_flight_plan_message(greeting);
        EXPECT_NE(std::string(greeting).find(word), std::string::npos) << hour;
    }

    // Typed lower case shows upper case.
    std::strcpy(atc_state.atc_plan_to_id, "kpsp");
    SETUP_flight_plan();
    EXPECT_STREQ(atc_state.atc_plan_to_id, "KPSP");

    // The aircraft file name loses its last four characters; a name of three leaves nothing.
    char message[TEXT_SIZE];
    for (const auto& [file, shown] : {std::pair{"TRAINER.ACF", ", TRAINER, "}, {"ABC", ", , "}}) {
        std::strcpy(pln[0].acf_file_name, file);
        SETUP_flight_plan_message(message);
        EXPECT_NE(std::string(message).find(shown), std::string::npos) << message;
    }
}

// The destination's runway ends as radio pairs from (100, 220) down, 20
// apart, skipping runways marked 'x'; a runway whose second button lies below
// 150 ends the column, and the next starts 100 to the right at 220.
TEST_F(OtherScreens, FlightPlanRunwayButtonsRunInColumns)
{
    atc_state = atc_state_block{};
    std::strcpy(atc_state.atc_plan_to_id, "KXYZ");
    const std::vector<std::string> numbers = {"09", "xx", "18", "04", "13"};
    const size_t kept = airport_table.size();
    airport_table.emplace_back();
    std::strcpy(airport_table.back().id, "KXYZ");
    for (const std::string& n : numbers) {
        runway_record r{};
        std::strncpy(r.number, n.c_str(), sizeof r.number - 1);
        airport_table.back().runways.push_back(r);
    }
    const struct {
        float x, y;
        int runway, end;
    } buttons[] = {{100, 200, 0, 1}, {100, 160, 2, 1}, {100, 140, 3, 0}, {200, 220, 4, 0}, {200, 200, 4, 1}};
    for (const auto& b : buttons) {
        click(SETUP_flight_plan, b.x, b.y + 4.0f);
        EXPECT_EQ(atc_state.atc_dest_runway, b.runway) << b.x << "," << b.y;
        EXPECT_EQ(atc_state.atc_dest_runway_end, b.end) << b.x << "," << b.y;
    }
    airport_table.resize(kept);
}

TEST_F(OtherScreens, OperatingPreferencesEachBoxItsRowValueAndCaption)
{
    // Eleven boxes, top to bottom, at these distances below the work area's
    // top; a box answers from 4 below its y to 12 above it.
    sim_operation_prefs_block& p = sim_operation_prefs;
    const struct { float below_top; int32_t* value; int entry; } rows[] = {
        {49, &p.startup_on_ramp, 515},       {69, &p.startup_running, 197},      {109, &p.warn_overspeed, 202},
        {129, &p.warn_overgforce, 203},      {149, &p.warn_overspeed_flaps, 204}, {169, &p.warn_overspeed_gear, 205},
        {189, &p.reset_on_crash, 511},       {229, &p.warn_nonobvious_stuff, 516}, {249, &p.warn_framerate_low, 206},
        {269, &sim_operation_misc.debug_network, 514}, {289, &log_frame_timing, 998},
    };
    for (const auto& r : rows) {
        *r.value = 0;
        text(r.entry, ("|BOX" + std::to_string(r.entry)).c_str());   // captioned on the right, as the language file does
    }
    const float h = screen.screen_area_height;
    for (const auto& r : rows) {
        const float y = h - r.below_top;
        const float x = screen.screen_area_left + 26.0f;
        click(SETUP_operation_prefs, x, screen.screen_area_bottom + y - 3.5f);   // the box's lowest edge
        for (const auto& o : rows) EXPECT_EQ(*o.value, &o == &r ? 1 : 0) << r.entry << " then " << o.entry;
        click(SETUP_operation_prefs, x, screen.screen_area_bottom + y + 11.5f);   // its highest
        EXPECT_EQ(*r.value, 0) << r.entry;
    }
    // The captions read in the rows' order.
    const std::vector<std::string> lines = printed(SETUP_operation_prefs, 103);
    long last = -1;
    for (const auto& r : rows) {
        const auto at = std::find_if(lines.begin(), lines.end(), [&r](const std::string& l) {
            return l.find("BOX" + std::to_string(r.entry)) != std::string::npos;
        });
        ASSERT_NE(at, lines.end()) << r.entry;
        const long index = static_cast<long>(at - lines.begin());
        EXPECT_GT(index, last) << r.entry;
        last = index;
    }
    log_frame_timing = 0;
}

TEST_F(OtherScreens, AircraftPathsAndTextPages)
{
    char name[TEXT_SIZE];
    SETUP_display_name_of_path("AIRCRAFT:GA:TRAINER.ACF", name);
    EXPECT_STREQ(name, "TRAINER.ACF");
    SETUP_display_name_of_path(":PLAIN", name);   // a separator only at the first character
    EXPECT_STREQ(name, ":PLAIN");

    // The five path fields' captions, top to bottom.
    const int captions[5] = {618, 619, 691, 692, 693};
    for (int e : captions) text(e, ("|CAP" + std::to_string(e)).c_str());
    const std::vector<std::string> shown = printed(SETUP_aircraft_paths, 103);
    long last = -1;
    for (int e : captions) {
        const auto at = std::find_if(shown.begin(), shown.end(), [e](const std::string& l) {
            return l.find("CAP" + std::to_string(e)) != std::string::npos;
        });
        ASSERT_NE(at, shown.end()) << e;
        EXPECT_GT(at - shown.begin(), last) << e;
        last = at - shown.begin();
    }

    // Both start states' headings are held to 0..360.
    screen_settings.situation_start_values[0][2] = 500.0f;
    screen_settings.situation_start_values[1][2] = 400.0f;
    SETUP_aircraft_paths();
    EXPECT_EQ(screen_settings.situation_start_values[0][2], 360.0f);
    EXPECT_EQ(screen_settings.situation_start_values[1][2], 360.0f);

    small_screens.text_pages_tab = 4;
    for (int e = 917; e <= 920; ++e) text(e, ("PAGE" + std::to_string(e)).c_str());
    const auto lines = printed(SETUP_text_pages);
    for (int e = 917; e <= 920; ++e) EXPECT_TRUE(shows(lines, "PAGE" + std::to_string(e)));
    // The four lines stand 30 apart.
    const char marks[4] = {'W', 'X', 'Y', 'Z'};
    for (int k = 0; k < 4; ++k) text(917 + k, std::string(1, marks[k]).c_str());
    float y[4] = {};
    for (const fb_rect& r : capture_rects(SETUP_text_pages))
        for (int k = 0; k < 4; ++k)
            if (glyph_of(105, r) == marks[k]) y[k] = r.y1;
    for (int k = 1; k < 4; ++k) EXPECT_NEAR(y[k - 1] - y[k], 30.0f, 0.01f) << k;
}

TEST(LanguageFile, ListsAndFormatsHoldWhatTheScreensExpect)
{
    const std::filesystem::path data = ORVELL_DATA_FOLDER;
    int folders = 0;
    for (const char* language : {"english", "french", "german", "italian", "korean", "spanish", "portugese"}) {
        std::ifstream in(data / "Resources" / "text" / language / "ORVELL.TXT");
        ASSERT_TRUE(in) << language;
        ++folders;
        std::string line;
        std::getline(in, line);
        std::getline(in, line);
        std::string entries[UI_TEXT_COUNT];
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const size_t space = line.find_first_of(" \t");
            const int n = std::stoi(line.substr(0, space));
            if (n < 0) break;
            entries[n] = space == std::string::npos ? "" : line.substr(line.find_first_not_of(" \t", space));
        }
        // The selection lists the screens open.
        for (int n : {3, 93, 101, 118, 123, 159, 167, 170, 184, 185, 525}) {
            const std::string& list = entries[n];
            EXPECT_LE(list.size(), 500u) << language << " " << n;
            EXPECT_EQ(list.find('|'), std::string::npos) << language << " " << n;
            EXPECT_LE(std::count(list.begin(), list.end(), '-') + 1, 50) << language << " " << n;
        }
        EXPECT_TRUE(SCREEN_format_fits(entries[145].c_str(), format_args::one_double)) << language;
        for (int n : {146, 147, 148})
            EXPECT_TRUE(SCREEN_format_fits(entries[n].c_str(), format_args::two_ints)) << language << " " << n;
        for (int n : {215, 216})
            EXPECT_TRUE(SCREEN_format_fits(entries[n].c_str(), format_args::one_int)) << language << " " << n;
        // The date read-out puts the day right after the month's caption: the
        // captions end in a space (an editor trimming line ends would lose it).
        for (int n = 710; n <= 721; ++n)
            EXPECT_TRUE(!entries[n].empty() && entries[n].back() == ' ') << language << " " << n;
    }
    EXPECT_EQ(folders, 7);
    // What the format check refuses.
    EXPECT_FALSE(SCREEN_format_fits("%s", format_args::one_int));
    EXPECT_FALSE(SCREEN_format_fits("%d %d", format_args::one_int));
    EXPECT_FALSE(SCREEN_format_fits("%*d", format_args::one_int));
    EXPECT_TRUE(SCREEN_format_fits("100%% %5.1lf", format_args::one_double));
}
