// The numeric commands: start choices (with their range checks), views,
// screens, replay, the planet switch, the presets, situation files and the
// text windows.

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "aircraft/flight_start.h"
#include "core/random.h"
#include "core/overlay_texts.h"
#include "flightmodel/control/autopilot.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "links/net_receive.h"
#include "links/plugin_host.h"
#include "shell/prefs.h"
#include "scene/scene_state.h"
#include "core/ui_text.h"
#include "tests/shell/cycle_fixture.h"

namespace {

class Commands : public SimState {
protected:
    // Two airports in the local list: 0 with 2 runways and 200 starts, 1 with 1 runway.
    void two_local_airports()
    {
        local_airport_list[0] = add_airport("KAAA", 34.5f, -117.0f, 2, 200);
        local_airport_list[1] = add_airport("KBBB", 35.5f, -116.0f, 1, 1);
        local_airport_last = 1;
    }
    temp_folder dir_;
};

// The browser as the user would answer it: confirm with the given path.
std::string browse_answer;
int browse_calls = 0;
int confirming_browser(int, int, char* name, char* path)
{
    ++browse_calls;
    std::snprintf(path, 500, "%s", browse_answer.c_str());
    std::snprintf(name, 500, "%s", std::filesystem::path(browse_answer).filename().c_str());
    return 1;
}

TEST_F(Commands, AirportStartNumbersChooseItemRunwayAndEndAndAreForwardedFirst)
{
    two_local_airports();
    enable(9);
    enable(3);
    mark_flight();
    APPLICATION_handlemenu(44001);   // item 0, runway 0, the opposite end
    EXPECT_EQ(start_selection.airport_index, local_airport_list[0]);
    EXPECT_EQ(start_selection.start_index, 0);
    EXPECT_EQ(sim_time.backwards, 1);
    // On the runway, facing its other end (the runway points east).
    EXPECT_TRUE(flight_started());
    EXPECT_NEAR(flt[0].psi, 270.0f, 1.0f);
    EXPECT_EQ(flt[0].groundspeed, 0.0f);
    // One to each enabled slot: they go to different machines, so their order is no part of the protocol.
    std::vector<std::pair<int, std::string>> kstm;
    for (const net_sent_datagram& d : sent("KSTM")) kstm.emplace_back(d.slot, text_of(d));
    std::sort(kstm.begin(), kstm.end());
    EXPECT_EQ(kstm, (std::vector<std::pair<int, std::string>>{{3, "menu selection 44001"}, {9, "menu selection 44001"}}));

    clear_logs();
    mark_flight();
    APPLICATION_handlemenu(4199);   // item 0, start position 199
    EXPECT_EQ(start_selection.start_index, 199);
    EXPECT_TRUE(flight_started());
    EXPECT_EQ(flt[0].psi, 0.0f);   // the ramp start's own heading
    mark_flight();
    APPLICATION_handlemenu(3206);   // forwarded, starts nothing
    EXPECT_EQ(text_of(sent("KSTM").back()), "menu selection 03206");
    EXPECT_FALSE(flight_started());
    clear_alerts();
    APPLICATION_handlemenu(3205);   // a forest-fire start: without a fire it only says so
    // (after switching the fires' drawing on, which it also says)
    ASSERT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(sim_graphics_settings.draw_forestfires, 1);
    EXPECT_EQ(recorded_alerts[1].code, 16);
    EXPECT_FALSE(flight_started());
}

TEST_F(Commands, BadStartNumbersAreCheckedBeforeUse)
{
    two_local_airports();
    enable(9);
    APPLICATION_handlemenu(84202);   // item 1 (q = 421), runway 1 of an airport with one: refused
    APPLICATION_handlemenu(4000 + 200 * 5);   // item 5 of a list of two
    EXPECT_TRUE(sent("KSTM").empty());
    ASSERT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(recorded_alerts[0].code, 16);
    EXPECT_EQ(recorded_alerts[0].lines[0], "lcl_rwy_ram out of range!");
    EXPECT_EQ(recorded_alerts[1].lines[0], "apt sel out of local range!");

    // From the network: ignored without a notice. So are the commands that
    // open a box, the file browser (a planet switch says so first on a
    // machine that is no external view) or a screen, each counted with the
    // refusals.
    clear_alerts();
    local_airport_list[1] = 77;   // a list entry the airport table does not have
    commands_browser = confirming_browser;
    browse_calls = 0;
    const uint64_t refused = net_counters.refused;
    const int boxes[] = {0, 200, 202, 203, 205, 206, 1203, 1208, 1211, 1217, 1218, 417,
                         1, 408, 600, 607, 616, 800, 802, 803, 805, 807, 1200, 1220, 1400};
    // Special starts that cannot start here: their notice is a refusal.
    const int unplaced[] = {SIT_OPEN_WATER, SIT_ROOFTOP, SIT_FOREST_FIRE};
    for (int number : unplaced) APPLICATION_handlemenu_remote(number);
    for (int number : {44200, 2400, 163999}) APPLICATION_handlemenu_remote(number);
    for (int number : boxes) APPLICATION_handlemenu_remote(number);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(browse_calls, 0);
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(net_counters.refused, refused + 3 + std::size(boxes) + std::size(unplaced));
    // 200 screenshots asked for in 10 s: one every few seconds is taken.
    for (int k = 0; k < 200; ++k, frame_clock += 0.05f) APPLICATION_handlemenu_remote(1205);
    int shots = 0;
    for (const auto& e : std::filesystem::directory_iterator(program_dir_.path()))
        shots += e.path().filename().string().rfind("screenshot_", 0) == 0 ? 1 : 0;
    EXPECT_EQ(shots, 2);
    APPLICATION_handlemenu(44200);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[0], "loc_apt_wrl out of range!");
}

TEST_F(Commands, NavaidStartUsesTheChosenNavaid)
{
    navaid_record n{};
    n.lat = 34.2f;
    n.lon = -117.3f;
    n.height = 300.0f;
    navaid_table.assign(2, n);
    navaid_start_list[1][3] = 1;
    navaid_start_last[1] = 3;
    pln[0].acf_est_Vs = 40.0f;
    APPLICATION_handlemenu(2603);
    EXPECT_EQ(chosen_navaid, 1);
    EXPECT_EQ(situation_start_state.latitude, 34.2f);
    EXPECT_EQ(situation_start_state.elevation, 1300.0f);
    EXPECT_EQ(situation_start_state.groundspeed, 60.0f);
    // In the air over the navaid, 1000 m above it.
    EXPECT_NEAR(flt[0].latitude, 34.2f, 1e-3f);
    EXPECT_NEAR(flt[0].elevation, 1300.0f, 1.0f);
    EXPECT_NEAR(flt[0].groundspeed, 60.0f, 1e-3f);

    mark_flight();
    APPLICATION_handlemenu(2604);   // past the list's end
    EXPECT_FALSE(flight_started());
    EXPECT_EQ(recorded_alerts.size(), 1u);
}

TEST_F(Commands, ReplayToggleScreensAndTheReplayGate)
{
    // Replay saves the plane and tells the station; while replaying, open aircraft is ignored, quit is not.
    set_program_folder(dir_.prefix());
    dir_.write("Output/logbooks/keep", "");
    enable(9);
    flt[0].local_x = 123.0f;
    APPLICATION_handlemenu(1031);
    EXPECT_EQ(sim_operation_prefs.replay_mode, 5);
    flt[0].local_x = 999.0f;
    commands_browser = confirming_browser;
    browse_calls = 0;
    APPLICATION_handlemenu(200);
    EXPECT_EQ(browse_calls, 0);
    APPLICATION_handlemenu(208);   // quit still works
    EXPECT_EQ(quit_flag, 1);
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "Output/logbooks/ORVELL PILOT.txt"));   // the logbook was written
    APPLICATION_handlemenu(1031);
    EXPECT_EQ(sim_operation_prefs.replay_mode, 0);
    EXPECT_EQ(flt[0].local_x, 123.0f);
    const auto kstm = sent("KSTM");
    ASSERT_EQ(kstm.size(), 2u);
    EXPECT_EQ(text_of(kstm[0]), "str_rep_pause  ");
    EXPECT_EQ(text_of(kstm[1]), "str_rep_fly    ");

    APPLICATION_handlemenu(805);   // no graph output chosen: the network screen
    EXPECT_EQ(app_mode, 3);
    APPLICATION_handlemenu(607);
    EXPECT_EQ(app_mode, 8);
}

TEST_F(Commands, ViewsSetTypeZoomAndCamera)
{
    sim_time.total_flight_time_sec = 5.0f;
    static int view_events;
    view_events = 0;
    plugin_host.entries.event = [](int code, float, int, int, int) { return code == 1 ? ++view_events : 1; };
    for (int expected : {0, 1, 0}) {
        APPLICATION_handlemenu(1000);
        EXPECT_EQ(second_forward_view, expected);
    }
    EXPECT_EQ(view_events, 3);   // each view command told the plug-ins first

    view_zoom_target = 50.0f;
    APPLICATION_handlemenu(1020);
    EXPECT_EQ(sim_graphics_view.view_type, 1020);
    EXPECT_EQ(sim_graphics_view.view_is_external, 1);
    EXPECT_EQ(view_zoom_target, 1.0f);
    APPLICATION_handlemenu(1016);
    EXPECT_EQ(sim_graphics_view.view_is_external, 0);

    // Zoom keys double the zoom up to 400.
    sim_graphics_view.view_type = 1000;
    for (int i = 0; i < 13; ++i) APPLICATION_handlemenu(1026);
    EXPECT_EQ(view_zoom_target, 400.0f);
    APPLICATION_handlemenu(1027);
    EXPECT_EQ(view_zoom_target, 200.0f);
}

// The fly-by views put the camera ahead of what they follow: 4 s of its
// velocity (1020) or half a second with the velocity kept as drift (1021),
// plus d = groundspeed x 0.05 (at least the aircraft's size) on every axis.
TEST_F(Commands, FlybyViewsLeadThePlaneOrTheTrackedWeapon)
{
    flt[0].local_x = 100.0f, flt[0].local_y = 50.0f, flt[0].local_z = -200.0f;
    flt[0].local_vx = 10.0f, flt[0].local_vy = 0.0f, flt[0].local_vz = -20.0f;
    flt[0].groundspeed = 100.0f;   // d = 5
    pln[0].acf_size_x = 3.0f;
    scene_followed_weapon = -1;
    APPLICATION_handlemenu(1020);
    EXPECT_FLOAT_EQ(sim_graphics_view.view_x, 145.0f);
    EXPECT_FLOAT_EQ(sim_graphics_view.view_y, 55.0f);
    EXPECT_FLOAT_EQ(sim_graphics_view.view_z, -275.0f);
    APPLICATION_handlemenu(1021);
    EXPECT_FLOAT_EQ(view_fixed_point[0], 110.0f);
    EXPECT_FLOAT_EQ(view_fixed_point[2], -205.0f);
    EXPECT_FLOAT_EQ(view_fixed_velocity[2], -20.0f);

    // A tracked weapon is followed instead; a slow ground speed gives d = size 3.
    wpn_slot_record& w = pln[0].acf_wpn_slot[2];
    w.wpn_pos[0] = 1000.0f, w.wpn_pos[1] = 20.0f, w.wpn_pos[2] = 0.0f;
    w.wpn_vel[0] = 0.0f, w.wpn_vel[1] = -10.0f, w.wpn_vel[2] = 100.0f;
    flt[0].groundspeed = 10.0f;
    scene_followed_weapon = 2;
    APPLICATION_handlemenu(1020);
    EXPECT_FLOAT_EQ(sim_graphics_view.view_x, 1003.0f);
    EXPECT_FLOAT_EQ(sim_graphics_view.view_y, -17.0f);
    EXPECT_FLOAT_EQ(sim_graphics_view.view_z, 403.0f);
    scene_followed_weapon = -1;
}

// Zooming: the flight-path and globe screens step their map zoom by 1.05
// within their own ranges; the chase and orbit views step the camera distance
// by k = 0.1 - 0.08 sqrt(nm / 4), held within 0.02..0.1.
TEST_F(Commands, ZoomStepsTheMapsAndTheChaseDistance)
{
    sim_graphics_view.view_type = 1000;
    struct map_case { int mode, command; float zoom, want; };
    const map_case maps[] = {
        {16, 1027, 1.0f, 1.05f}, {16, 1027, 1.46f, 1.5f}, {16, 1026, 0.052f, 0.05f}, {16, 1026, 1.05f, 1.0f},
        {17, 1027, 0.98f, 1.0f}, {17, 1026, 0.5f, 0.476190f}, {17, 1026, 0.205f, 0.2f},
    };
    for (const map_case& m : maps) {
        app_mode = m.mode;
        screen_settings.preview_zoom = m.zoom;
        APPLICATION_handlemenu(m.command);
        EXPECT_NEAR(screen_settings.preview_zoom, m.want, 1e-5f) << m.mode << " " << m.command << " " << m.zoom;
    }
    app_mode = 0;

    struct chase_case { int view, command; float distance, want; };
    const chase_case chases[] = {
        {1017, 1026, 1852.0f, 1740.88f},      // 1 nm: k = 0.06
        {1018, 1027, 1852.0f, 1963.12f},
        {1019, 1026, 7408.0f, 7259.84f},      // 4 nm: k = 0.02
        {1017, 1027, 185200.0f, 188904.0f},   // 100 nm: k held at 0.02
        {1017, 1026, 18.52f, 16.74208f},      // 0.01 nm: k = 0.096
        {1017, 1026, 0.0f, 0.0f},             // k = 0.1 of nothing
    };
    for (const chase_case& c : chases) {
        sim_graphics_view.view_type = c.view;
        view_distance = c.distance;
        view_zoom_target = 3.0f;
        APPLICATION_handlemenu(c.command);
        EXPECT_NEAR(view_distance, c.want, c.want * 1e-5f + 1e-6f) << c.view << " " << c.command << " " << c.distance;
        EXPECT_EQ(view_zoom_target, 3.0f);
    }
}

// A program folder laid over the project's own navigation data.
class PlanetSwitch : public Commands {
protected:
    void SetUp() override
    {
        Commands::SetUp();
        std::filesystem::create_symlink(data_folder() / "nav", dir_.path() / "Resources");
        set_program_folder(dir_.prefix());
    }
    void TearDown() override
    {
        Commands::TearDown();
        NAV_clear_tables();
    }
};

TEST_F(PlanetSwitch, MarsAndBack)
{
    enable(6);   // an external view: no notice before the switch
    mark_flight();
    sim_weather.cloud_type[0] = 3;
    sim_weather.cloud_type[1] = 2;
    sim_weather.rain_percent = 0.5f;
    sim_weather.thunderstorm_percent = 0.3f;
    sim_weather.use_real_weather_bool = 1;
    APPLICATION_handlemenu(417);
    // Mars has no clouds, rain, storms or weather reports.
    EXPECT_EQ((std::vector<float>{float(sim_weather.cloud_type[0]), float(sim_weather.cloud_type[1]),
                                  sim_weather.rain_percent, sim_weather.thunderstorm_percent,
                                  float(sim_weather.use_real_weather_bool)}),
              std::vector<float>(5, 0.0f));
    EXPECT_EQ(sim_graphics_scenery.current_planet, 1);
    ASSERT_TRUE(start_selection.airport_index >= 0 &&
                start_selection.airport_index < static_cast<int>(airport_table.size()));
    EXPECT_EQ(std::string(airport_table[start_selection.airport_index].id), "MAR1");
    EXPECT_EQ(sim_weather.visibility_reported_m, 111120.0f);
    EXPECT_EQ(lat_ref, static_cast<float>(GEO_round(flt[0].latitude - 2.5f)));
    EXPECT_TRUE(flight_started());
    EXPECT_TRUE(recorded_alerts.empty());

    clear_logs();
    mark_flight();
    APPLICATION_handlemenu(417);   // already there: a notice and nothing else
    EXPECT_EQ(recorded_alerts.size(), 1u);
    EXPECT_FALSE(flight_started());

    net_slot_enabled[6] = 0;
    APPLICATION_handlemenu(416);
    EXPECT_EQ(recorded_alerts.size(), 2u);   // the notice before the switch
    EXPECT_EQ(sim_graphics_scenery.current_planet, 0);
    EXPECT_EQ(std::string(airport_table[start_selection.airport_index].id), "KSBD");
    EXPECT_EQ(sim_weather.visibility_reported_m, 23150.0f);
}

TEST_F(PlanetSwitch, PresetFlightPlacesThePlaneAtKsbdWithItsWeatherAndFuel)
{
    NAV_load_databases();
    flt[0].latitude = 34.0f;
    flt[0].longitude = -117.0f;
    pln[0].acf_num_tanks = 2;
    pln[0].acf_m_fuel_tot = 1000.0f;
    pln[0].acf_tank_rat[0] = 0.1f;
    pln[0].acf_tank_rat[1] = 0.9f;
    flt[0].m_fuel3 = 7.0f;
    APPLICATION_handlemenu(1232);
    EXPECT_EQ(sim_time.zulu_time_sec, 3600.0f);
    EXPECT_EQ(sim_weather.cloud_type[0], 4);
    EXPECT_FLOAT_EQ(sim_weather.cloud_base_msl_m[0], 2000.0f * 0.3048f);
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 7.5f * 1852.0f);
    EXPECT_EQ(std::string(airport_table[start_selection.airport_index].id), "KSBD");
    // On the first runway, half its length back from its middle.
    const runway_record& rw = airport_table[start_selection.airport_index].runways[0];
    EXPECT_NEAR(flt[0].latitude, rw.lat, 0.01f);
    EXPECT_NEAR(flt[0].psi, rw.heading, 1.0f);
    EXPECT_FLOAT_EQ(flt[0].m_fuel1, 100.0f);
    EXPECT_FLOAT_EQ(flt[0].m_fuel2, 250.0f);
    EXPECT_EQ(flt[0].m_fuel3, 7.0f);

    // The other preset: noon local, a clear sky under a thin layer at 8,000 ft.
    APPLICATION_handlemenu(1231);
    EXPECT_EQ(sim_time.zulu_time_sec, 72000.0f);
    EXPECT_EQ(sim_time.local_time_sec, 43200.0f);
    EXPECT_EQ(sim_time.local_date_days, 90);
    EXPECT_EQ(sim_weather.rain_percent + sim_weather.thunderstorm_percent, 0.0f);
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 15.0f * 1852.0f);
    EXPECT_EQ(sim_weather.cloud_type[0], 1);
    EXPECT_FLOAT_EQ(sim_weather.cloud_base_msl_m[0], 8000.0f * 0.3048f);
    EXPECT_FLOAT_EQ(sim_weather.cloud_tops_msl_m[0], 8000.0f * 0.3048f);
    EXPECT_FLOAT_EQ(sim_weather.cloud_tops_msl_m[1], 25000.0f * 0.3048f);

    // The preset flags mark the preset's flight; the next start puts them back.
    EXPECT_EQ(preset_flight_a + preset_flight_b, 2);
    FLIGHT_init_situation(408, 401);
    EXPECT_EQ(preset_flight_a + preset_flight_b, 0);
}

// A random start within the 2 x 3 degree area, 2,000 to 4,000 m up, at 1.3 times the stall speed.
TEST_F(Commands, RandomStartDrawsEachValueAfresh)
{
    UTIL_srand(11);
    float r[4];
    for (float& v : r) v = static_cast<float>(UTIL_rand()) / 32767.0f;
    UTIL_srand(11);
    pln[0].acf_est_Vs = 50.0f;
    APPLICATION_handlemenu(414);
    const situation_start_record& s = situation_start_state;
    EXPECT_FLOAT_EQ(s.latitude, 34.0f + 2.0f * r[0]);
    EXPECT_FLOAT_EQ(s.longitude, -118.0f + 3.0f * r[1]);
    EXPECT_FLOAT_EQ(s.elevation, 2000.0f + 2000.0f * r[2]);
    EXPECT_FLOAT_EQ(s.psi, 360.0f * r[3]);
    EXPECT_FLOAT_EQ(s.groundspeed, 65.0f);
}

// Each switch command flips its own flag; ending the automatic flight turns
// the five autopilot modes off (9); each stability test asks for its own axis.
TEST_F(Commands, SwitchesFlipTheirOwnFlags)
{
    const std::pair<int, int32_t*> switches[] = {
        {1029, &sim_graphics_settings.transparent_panel}, {1030, &flt[0].smoking},
        {1032, &sim_cockpit_misc.show_path},              {1036, &view_follow_weapon},
        {1206, &sim_graphics_misc.show_panel_click_spots}, {1209, &notes_shown},
        {1212, &checklist_shown},                          {1214, &auto_flight_on},
        {1215, &auto_view_cycle_on}};
    for (auto [command, flag] : switches) {
        for (auto& [c, f] : switches) *f = 0;
        APPLICATION_handlemenu(command);
        for (auto& [c, f] : switches) EXPECT_EQ(*f, c == command ? 1 : 0) << command << " flag of " << c;
    }
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 18;
    auto_flight_on = 1;
    APPLICATION_handlemenu(1214);
    EXPECT_EQ(auto_flight_on, 0);
    EXPECT_EQ((std::vector<int32_t>{ap.airspeed_mode, ap.heading_mode, ap.altitude_mode, ap.hnav_mode, ap.vnav_mode}),
              std::vector<int32_t>(5, 9));

    for (auto [command, pitch, heading] : {std::tuple{1217, 2, 0}, std::tuple{1218, 0, 2}}) {
        sim_flightmodel_misc.stab_ptch_test = sim_flightmodel_misc.stab_hdng_test = 0;
        APPLICATION_handlemenu(command);
        EXPECT_EQ(sim_flightmodel_misc.stab_ptch_test, pitch) << command;
        EXPECT_EQ(sim_flightmodel_misc.stab_hdng_test, heading) << command;
    }
}

// A peer's Show Panel Click Spots shows for the flight only: the preferences
// keep the user's own choice until the user makes another.
TEST_F(Commands, APeersToggleIsNotSavedAsTheUsersChoice)
{
    int32_t& spots = sim_graphics_misc.show_panel_click_spots;
    const std::string path = (dir_.path() / "gen.prf").string();
    auto saved = [&] {
        PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, path.c_str());
        return read_file_bytes(path);
    };
    spots = 1;
    const std::string on = saved();
    spots = 0;
    const std::string off = saved();
    ASSERT_NE(on, off);
    for (int k = 0; k < 3; ++k) APPLICATION_handlemenu_remote(1206);   // a peer's "menu selection "
    EXPECT_EQ(spots, 1);
    EXPECT_EQ(saved(), off);
    APPLICATION_handlemenu(1206);   // the user's own: off, then on
    APPLICATION_handlemenu(1206);
    EXPECT_EQ(saved(), on);
}

TEST_F(Commands, ScreenCommandsOpenTheirScreens)
{
    const std::pair<int, int> screens[] = {{603, 5},  {600, 3},  {601, 4},   {604, 6},   {605, 7},  {608, 9},  {607, 8},
                                           {610, 10}, {611, 11}, {613, 12},  {616, 13},  {614, 14}, {800, 15}, {801, 16},
                                           {802, 17}, {803, 18}, {807, 20}, {1200, 21}, {1220, 22}};
    for (auto [command, mode] : screens) {
        APPLICATION_handlemenu(command);
        EXPECT_EQ(app_mode, mode) << command;
    }
    app_mode = 0;
}

TEST_F(Commands, SavedAircraftPathIsRelativeOnlyWhenInsideTheProgramFolder)
{
    set_program_folder(dir_.prefix());
    link_default_aircraft(dir_.path());
    const std::string relative = "Aircraft/General Aviation/Orvell Trainer/Orvell Trainer.acf";
    const std::string own = dir_.prefix() + relative;
    std::snprintf(pln[0].acf_file_path, 500, "%s", own.c_str());
    browse_answer = dir_.prefix() + "one.sit";
    commands_browser = confirming_browser;
    APPLICATION_handlemenu(202);
    const std::string saved = read_file_bytes(browse_answer);
    ASSERT_GT(saved.size(), 505u);
    EXPECT_EQ(std::string(saved.c_str() + 5), relative);
    EXPECT_EQ(std::string(pln[0].acf_file_path), own);   // put back

    std::snprintf(pln[0].acf_file_path, 500, "/elsewhere/Other.acf");
    APPLICATION_handlemenu(202);
    EXPECT_EQ(std::string(read_file_bytes(browse_answer).c_str() + 5), "/elsewhere/Other.acf");

    // Reading it back puts the folder in front of a relative path, loads the
    // aircraft and starts the flight where it was saved, far from the
    // scenery loaded now: the scenery moves there first.
    // It climbs east at 50 m/s on the autopilot (heading and vertical speed)
    // in a wind from the south: it comes back on the autopilot, and moving
    // through the air along its nose (no slip to swing it round).
    std::snprintf(pln[0].acf_file_path, 500, "%s", own.c_str());
    flt[0].latitude = 32.5f, flt[0].longitude = -119.5f;
    flt[0].local_y = 500.0f;   // saved as the situation's height
    flt[0].psi = 90.0f, flt[0].groundspeed = 50.0f;
    sim_cockpit_autopilot.heading_mode = 11, sim_cockpit_autopilot.altitude_mode = 14;
    sim_cockpit_autopilot.vertical_velocity = 745.0f;
    APPLICATION_handlemenu(202);
    pln[0] = acf_struct{};
    enable(9);
    mark_flight();
    wind_vector[0] = 0.0f, wind_vector[2] = -10.0f;
    APPLICATION_handlemenu(203);
    EXPECT_EQ(std::string(pln[0].acf_file_path), own);
    EXPECT_STREQ(pln[0].acf_tailnum, "OV-TRN");
    EXPECT_TRUE(flight_started());
    EXPECT_NEAR(flt[0].latitude, 32.5f, 1e-5f);
    EXPECT_NEAR(flt[0].longitude, -119.5f, 1e-5f);
    EXPECT_NEAR(flt[0].elevation, 500.0f, 0.5f);
    EXPECT_EQ(std::tuple(sim_cockpit_autopilot.heading_mode, sim_cockpit_autopilot.altitude_mode), std::tuple(11, 14));
    EXPECT_EQ(autopilot.altitude_mode_before, 14);   // engaged as it was: no new vertical speed captured
    EXPECT_EQ(sim_cockpit_autopilot.vertical_velocity, 745.0f);
    EXPECT_NEAR(std::hypot(flt[0].local_vx, flt[0].local_vz), 50.0f, 0.01f);
    EXPECT_NEAR(flt[0].local_vz - wind_vector[2], 0.0f, 0.05f);
    wind_vector[2] = 0.0f;
    EXPECT_EQ(std::pair(lat_ref, lon_ref), std::pair(32.0f, -121.0f));
    EXPECT_EQ(text_of(sent("KSTM")[0]), "sit selection  one.sit");

    // A file that cannot be read, or one cut short: a notice, nothing else
    // (nothing of the cut one is applied).
    const std::string whole = read_file_bytes(browse_answer);
    write_file_bytes(dir_.path() / "half.sit", whole.substr(0, whole.size() / 2));
    for (const char* name : {"missing.sit", "half.sit"}) {
        clear_logs();
        mark_flight();
        std::snprintf(pln[0].acf_file_path, 500, "/kept.acf");
        browse_answer = dir_.prefix() + name;
        APPLICATION_handlemenu(203);
        EXPECT_FALSE(flight_started()) << name;
        ASSERT_FALSE(recorded_alerts.empty()) << name;
        EXPECT_EQ(recorded_alerts.back().code, 16);
        EXPECT_STREQ(pln[0].acf_file_path, "/kept.acf") << name;
    }
}

TEST_F(Commands, PeerSituationNamesStayInsideTheSituationsFolder)
{
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("flight.sit"), 1);
    for (const char* bad : {"../prefs.sit", "a..b", "/etc/passwd", "sub:x.sit", "sub\\x.sit", ""})
        EXPECT_EQ(COMMANDS_peer_situation_name_ok(bad), 0) << bad;
    EXPECT_EQ(APPLICATION_load_peer_situation("../../x.sit"), 0);
}

TEST_F(Commands, TextWindowKeepsItsTerminatorAndChecklistSkipsEmptyLines)
{
    browse_answer = dir_.write("long.txt", std::string(6000, 'x') + "z").string();
    commands_browser = confirming_browser;
    APPLICATION_handlemenu(1208);
    EXPECT_EQ(notes_text_length, 4999);
    EXPECT_EQ(notes_text[4998], 'z');   // further characters overwrite the last place
    EXPECT_EQ(notes_text[4999], 0);
    EXPECT_EQ(notes_shown, 1);
    EXPECT_EQ(notes_loaded, 1);

    std::string list = "  first item\n\n" + std::string(200, 'y') + "\r\nthird\n";
    for (int i = 0; i < 300; ++i) list += "line " + std::to_string(i) + "\n";
    browse_answer = dir_.write("check.txt", list).string();
    APPLICATION_handlemenu(1211);
    EXPECT_EQ(checklist_count, 200);
    EXPECT_EQ(std::string(checklist_lines[0]), "first item");
    EXPECT_EQ(std::strlen(checklist_lines[1]), 149u);
    EXPECT_EQ(std::string(checklist_lines[2]), "third");
    EXPECT_EQ(std::string(checklist_lines[199]), "line 299");   // further lines overwrite the last
    EXPECT_EQ(notes_shown, 0);
    EXPECT_EQ(checklist_loaded, 1);
}

TEST_F(Commands, VisibilityMathLevelStepsModuloSix)
{
    const std::pair<int32_t, int32_t> before_after[] = {{0, 1}, {5, 0}, {-7, 0}, {-3, -2}, {INT_MAX, 2}};
    for (auto [before, after] : before_after) {
        sim_graphics_view.visibility_math_level = before;
        APPLICATION_handlemenu(1202);
        EXPECT_EQ(sim_graphics_view.visibility_math_level, after) << before;
    }
}

TEST_F(Commands, AnAircraftOutsideTheProgramFolderIsSavedWithItsPathAndFliesTheDefault)
{
    set_program_folder(dir_.prefix());
    link_default_aircraft(dir_.path());
    UTIL_strcpy("AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF", default_aircraft_path);
    browse_answer = dir_.prefix() + "outside.sit";
    commands_browser = confirming_browser;
    std::snprintf(pln[0].acf_file_path, 500, "/elsewhere/Other.acf");   // saved with its full path
    APPLICATION_handlemenu(202);
    EXPECT_EQ(std::string(read_file_bytes(browse_answer).c_str() + 5), "/elsewhere/Other.acf");
    pln[0].acf_file_path[0] = 0;
    APPLICATION_handlemenu(203);
    // Aircraft are read from below the program folder only: the default one flies.
    EXPECT_EQ(std::string(pln[0].acf_file_path),
              dir_.prefix() + "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF");
    EXPECT_STREQ(pln[0].acf_tailnum, "OV-TRN");
    EXPECT_TRUE(recorded_alerts.empty());
}

}  // namespace
