// The numeric commands: start choices (with their range checks), views,
// screens, replay, the planet switch, the presets, situation files and the
// text windows.

#include <cmath>
#include <filesystem>
#include <fstream>

#include "shell/folders.h"
#include "shell/prefs.h"
#include "tests/shell/cycle_fixture.h"

namespace {

class Commands : public SimState {
protected:
    void SetUp() override
    {
        SimState::SetUp();
        saved_folder_ = program_folder;
    }
    void TearDown() override
    {
        std::strcpy(program_folder, saved_folder_.c_str());
        SimState::TearDown();
    }

    // Two airports in the local list: 0 with 2 runways and 200 starts, 1 with 1 runway.
    void two_local_airports()
    {
        local_airport_list[0] = add_airport("KAAA", 34.5f, -117.0f, 2, 200);
        local_airport_list[1] = add_airport("KBBB", 35.5f, -116.0f, 1, 1);
        local_airport_last = 1;
    }

    std::string saved_folder_;
};

std::string text_of(const net_sent_datagram& d)
{
    const std::vector<uint8_t> pl = d.payload();
    return std::string(pl.begin(), pl.end());
}

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

TEST_F(Commands, AirportStartNumbersChooseItemRunwayAndEnd)
{
    two_local_airports();
    APPLICATION_handlemenu(44001);   // item 0, runway 0, the opposite end
    EXPECT_EQ(start_selection.airport_index, local_airport_list[0]);
    EXPECT_EQ(start_selection.start_index, 0);
    EXPECT_EQ(sim_time.backwards, 1);
    EXPECT_EQ(aircraft_standin_calls, std::vector<std::string>{"FLIGHT_init_situation(408,401)"});

    aircraft_standin_calls.clear();
    APPLICATION_handlemenu(4199);   // item 0, start position 199
    EXPECT_EQ(start_selection.start_index, 199);
    APPLICATION_handlemenu(84202);   // item 1 (q = 421), runway 1 of an airport with one: refused
    EXPECT_EQ(aircraft_standin_calls, std::vector<std::string>{"FLIGHT_init_situation(408,400)"});
    EXPECT_EQ(start_selection.start_index, 199);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, 16);
    EXPECT_EQ(recorded_alerts[0].lines[1], "lcl_rwy_ram out of range!");
}

TEST_F(Commands, StartChoicesAreForwardedBeforeTheyRunAndBadOnesNeither)
{
    two_local_airports();
    enable(9);
    enable(3);
    APPLICATION_handlemenu(44001);
    const auto kstm = sent("KSTM");
    ASSERT_EQ(kstm.size(), 2u);
    EXPECT_EQ(kstm[0].slot, 9);
    EXPECT_EQ(kstm[1].slot, 3);
    EXPECT_EQ(text_of(kstm[0]), "menu selection 44001");

    clear_logs();
    APPLICATION_handlemenu(3206);   // forwarded, starts nothing
    EXPECT_EQ(sent("KSTM").size(), 2u);
    EXPECT_EQ(text_of(sent("KSTM")[0]), "menu selection 03206");
    EXPECT_TRUE(aircraft_standin_calls.empty());

    clear_logs();
    APPLICATION_handlemenu(3205);
    EXPECT_EQ(aircraft_standin_calls, std::vector<std::string>{"FLIGHT_init_situation(3205,0)"});

    clear_logs();
    APPLICATION_handlemenu(4000 + 200 * 5);   // item 5 of a list of two
    EXPECT_TRUE(sent("KSTM").empty());
    EXPECT_TRUE(aircraft_standin_calls.empty());
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[1], "apt sel out of local range!");
}

TEST_F(Commands, BadStartNumbersFromTheNetworkAreIgnoredWithoutANotice)
{
    two_local_airports();
    local_airport_list[1] = 77;   // a list entry the airport table does not have
    APPLICATION_handlemenu_remote(44000 + 200 + 0);
    APPLICATION_handlemenu_remote(2400);
    APPLICATION_handlemenu_remote(163999);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_TRUE(aircraft_standin_calls.empty());

    APPLICATION_handlemenu(44200);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[1], "loc_apt_wrl out of range!");
}

TEST_F(Commands, NavaidStartUsesTheChosenNavaid)
{
    navaid_record n{};
    n.lat = 34.2f;
    n.lon = -117.3f;
    n.height = 300.0f;
    navaid_table.push_back(n);
    navaid_table.push_back(n);
    navaid_start_list[1][3] = 1;
    navaid_start_last[1] = 3;
    pln[0].acf_est_Vs = 40.0f;
    APPLICATION_handlemenu(2603);
    EXPECT_EQ(chosen_navaid, 1);
    EXPECT_EQ(start_point.latitude, 34.2f);
    EXPECT_EQ(start_point.elevation, 1300.0f);
    EXPECT_EQ(start_point.speed, 60.0f);
    EXPECT_EQ(aircraft_standin_calls, std::vector<std::string>{"FLIGHT_init_situation(800,0)"});

    APPLICATION_handlemenu(2604);   // past the list's end
    EXPECT_EQ(aircraft_standin_calls.size(), 1u);
    EXPECT_EQ(recorded_alerts.size(), 1u);
}

TEST_F(Commands, ScreensAndTheReplayGate)
{
    APPLICATION_handlemenu(805);   // no graph output chosen: the network screen
    EXPECT_EQ(app_mode, 3);
    APPLICATION_handlemenu(607);
    EXPECT_EQ(app_mode, 8);

    sim_operation_prefs.replay_mode = 5;
    browse_calls = 0;
    commands_browser = confirming_browser;
    APPLICATION_handlemenu(200);   // open aircraft is ignored while replaying
    EXPECT_EQ(browse_calls, 0);
    APPLICATION_handlemenu(600);
    EXPECT_EQ(app_mode, 3);
    APPLICATION_handlemenu(208);   // quit still works
    EXPECT_EQ(quit_flag, 1);
    EXPECT_TRUE(called(flightmodel_standin_calls, "LOGBOOK_write()"));
}

TEST_F(Commands, ViewsSetTypeZoomAndCamera)
{
    sim_time.total_flight_time_sec = 5.0f;
    APPLICATION_handlemenu(1000);
    EXPECT_EQ(second_forward_view, 0);
    APPLICATION_handlemenu(1000);
    EXPECT_EQ(second_forward_view, 1);
    APPLICATION_handlemenu(1000);
    EXPECT_EQ(second_forward_view, 0);
    EXPECT_TRUE(called(links_standin_calls, "PLUGIN_call_event_hook(1)"));

    flt[0].local_x = 10.0f;
    flt[0].local_vx = 2.0f;
    flt[0].groundspeed = 100.0f;
    pln[0].acf_size_x = 8.0f;
    zoom_target = 50.0f;
    APPLICATION_handlemenu(1020);
    EXPECT_EQ(sim_graphics_view.view_type, 1020);
    EXPECT_EQ(sim_graphics_view.view_is_external, 1);
    EXPECT_EQ(zoom_target, 1.0f);
    EXPECT_EQ(sim_private_camera.x, 10.0f + 4.0f * 2.0f + 8.0f);   // d = max(0.05 x 100, 8)
    EXPECT_EQ(free_view_point[0], sim_private_camera.x);
    APPLICATION_handlemenu(1016);
    EXPECT_EQ(sim_graphics_view.view_is_external, 0);
}

TEST_F(Commands, ZoomKeysMoveTheZoomTargetOrTheChaseDistance)
{
    sim_graphics_view.view_type = 1000;
    APPLICATION_handlemenu(1026);
    EXPECT_EQ(zoom_target, 2.0f);
    for (int i = 0; i < 12; ++i) APPLICATION_handlemenu(1026);
    EXPECT_EQ(zoom_target, 400.0f);
    APPLICATION_handlemenu(1027);
    EXPECT_EQ(zoom_target, 200.0f);

    sim_graphics_view.view_type = 1017;
    chase_distance = 0.0f;
    APPLICATION_handlemenu(1026);
    EXPECT_EQ(chase_distance, 0.0f);
    chase_distance = 100.0f;
    APPLICATION_handlemenu(1026);
    const float k = 0.1f - 0.08f * std::sqrt(100.0f / 1852.0f / 4.0f);
    EXPECT_FLOAT_EQ(chase_distance, 100.0f * (1.0f - k));
}

TEST_F(Commands, ReplayToggleSavesAndRestoresThePlaneAndTellsTheStation)
{
    enable(9);
    flt[0].local_x = 123.0f;
    APPLICATION_handlemenu(1031);
    EXPECT_EQ(sim_operation_prefs.replay_mode, 5);
    flt[0].local_x = 999.0f;
    APPLICATION_handlemenu(1031);
    EXPECT_EQ(sim_operation_prefs.replay_mode, 0);
    EXPECT_EQ(flt[0].local_x, 123.0f);
    const auto kstm = sent("KSTM");
    ASSERT_EQ(kstm.size(), 2u);
    EXPECT_EQ(text_of(kstm[0]), "str_rep_pause  ");
    EXPECT_EQ(text_of(kstm[1]), "str_rep_fly    ");
}

// A program folder laid over the project's own navigation data.
class PlanetSwitch : public Commands {
protected:
    void SetUp() override
    {
        Commands::SetUp();
        const std::filesystem::path nav = std::filesystem::path(ORVELL_FIXTURES).parent_path().parent_path() / "data" / "nav";
        std::filesystem::create_symlink(nav, dir_.path() / "Resources");
        FOLDERS_init_from((dir_.prefix() + "orvell").c_str());
    }
    void TearDown() override
    {
        FOLDERS_init_from((saved_folder_ + "orvell").c_str());
        airport_table.clear();
        navaid_table.clear();
        Commands::TearDown();
    }
    temp_folder dir_;
};

TEST_F(PlanetSwitch, MarsAndBack)
{
    enable(6);   // an external view: no notice before the switch
    APPLICATION_handlemenu(417);
    EXPECT_EQ(sim_graphics_scenery.current_planet, 1);
    ASSERT_TRUE(start_selection.airport_index >= 0 &&
                start_selection.airport_index < static_cast<int>(airport_table.size()));
    EXPECT_EQ(std::string(airport_table[start_selection.airport_index].id), "MAR1");
    EXPECT_EQ(sim_weather.visibility_reported_m, 111120.0f);
    EXPECT_EQ(sim_weather.cloud_type[0], 0);
    EXPECT_EQ(lat_ref, static_cast<float>(GEO_round(flt[0].latitude - 2.5f)));
    EXPECT_TRUE(called(aircraft_standin_calls, "FLIGHT_init_situation(408,401)"));
    EXPECT_TRUE(recorded_alerts.empty());

    clear_logs();
    APPLICATION_handlemenu(417);   // already there: a notice and nothing else
    EXPECT_EQ(recorded_alerts.size(), 1u);
    EXPECT_TRUE(aircraft_standin_calls.empty());

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
    EXPECT_EQ(flt[0].latitude, airport_table[start_selection.airport_index].runways[0].lat);
    EXPECT_FLOAT_EQ(flt[0].m_fuel1, 100.0f);
    EXPECT_FLOAT_EQ(flt[0].m_fuel2, 250.0f);
    EXPECT_EQ(flt[0].m_fuel3, 7.0f);
    EXPECT_EQ(preset_flight_a, 1);
}

class SituationFiles : public Commands {
protected:
    temp_folder dir_;
};

TEST_F(SituationFiles, SavedPathIsRelativeOnlyWhenInsideTheProgramFolder)
{
    std::snprintf(program_folder, 500, "%s", dir_.prefix().c_str());
    std::snprintf(pln[0].acf_file_path, 500, "%sAircraft/Own.acf", dir_.prefix().c_str());
    browse_answer = dir_.prefix() + "one.sit";
    commands_browser = confirming_browser;
    APPLICATION_handlemenu(202);
    const std::string saved = read_file_bytes(browse_answer);
    ASSERT_GT(saved.size(), 505u);
    EXPECT_EQ(std::string(saved.c_str() + 5), "Aircraft/Own.acf");
    EXPECT_EQ(std::string(pln[0].acf_file_path), dir_.prefix() + "Aircraft/Own.acf");   // put back

    std::snprintf(pln[0].acf_file_path, 500, "/elsewhere/Other.acf");
    APPLICATION_handlemenu(202);
    EXPECT_EQ(std::string(read_file_bytes(browse_answer).c_str() + 5), "/elsewhere/Other.acf");

    // Reading it back puts the folder in front of a relative path and starts the flight.
    std::snprintf(pln[0].acf_file_path, 500, "%sAircraft/Own.acf", dir_.prefix().c_str());
    APPLICATION_handlemenu(202);
    pln[0].acf_file_path[0] = 0;
    enable(9);
    APPLICATION_handlemenu(203);
    EXPECT_EQ(std::string(pln[0].acf_file_path), dir_.prefix() + "Aircraft/Own.acf");
    EXPECT_EQ(aircraft_standin_calls,
              (std::vector<std::string>{"ACF_load_and_setup(0)", "FLIGHT_init_situation(203,0)"}));
    EXPECT_EQ(text_of(sent("KSTM")[0]), "sit selection  one.sit");

    // A file that cannot be read: a notice, nothing else.
    clear_logs();
    browse_answer = dir_.prefix() + "missing.sit";
    APPLICATION_handlemenu(203);
    EXPECT_TRUE(aircraft_standin_calls.empty());
    EXPECT_EQ(recorded_alerts.back().code, 16);
}

TEST_F(SituationFiles, PeerSituationNamesStayInsideTheSituationsFolder)
{
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("flight.sit"), 1);
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("../prefs.sit"), 0);
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("a..b"), 0);
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("/etc/passwd"), 0);
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("sub:x.sit"), 0);
    EXPECT_EQ(COMMANDS_peer_situation_name_ok("sub\\x.sit"), 0);
    EXPECT_EQ(COMMANDS_peer_situation_name_ok(""), 0);
    EXPECT_EQ(APPLICATION_load_peer_situation("../../x.sit"), 0);
    EXPECT_TRUE(aircraft_standin_calls.empty());
}

TEST_F(SituationFiles, TextWindowKeepsItsTerminatorAndChecklistSkipsEmptyLines)
{
    browse_answer = dir_.write("long.txt", std::string(6000, 'x')).string();
    commands_browser = confirming_browser;
    APPLICATION_handlemenu(1208);
    EXPECT_EQ(text_window_length, 4999);
    EXPECT_EQ(text_window[4999], 0);
    EXPECT_EQ(text_window_shown, 1);

    std::string list = "  first item\n\n" + std::string(200, 'y') + "\r\nthird\n";
    for (int i = 0; i < 300; ++i) list += "line " + std::to_string(i) + "\n";
    browse_answer = dir_.write("check.txt", list).string();
    APPLICATION_handlemenu(1211);
    EXPECT_EQ(checklist_count, 200);
    EXPECT_EQ(std::string(checklist_window[0]), "first item");
    EXPECT_EQ(std::strlen(checklist_window[1]), 149u);
    EXPECT_EQ(std::string(checklist_window[2]), "third");
    EXPECT_EQ(std::string(checklist_window[199]), "line 299");   // further lines overwrite the last
    EXPECT_EQ(checklist_shown, 1);
    EXPECT_EQ(text_window_shown, 0);
    EXPECT_EQ(text_window_length, 0);
}

}  // namespace
