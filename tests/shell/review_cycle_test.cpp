// Values from a preference file, a plug-in or a peer that used to hang the
// cycle, run every command left without a key, or overflow.

#include <climits>
#include <cstdlib>
#include <ctime>

#include "platform/plat_time.h"
#include "tests/shell/cycle_fixture.h"

namespace {

class Review : public SimState {
protected:
    temp_folder dir_;
};

int64_t late_evening() { return 82800; }   // 1970-01-01 23:00:00 UTC

TEST_F(Review, ZuluTimeEndsWithinTheDayForAnyZoneCorrection)
{
    setenv("TZ", "UTC", 1);
    tzset();
    PLAT_set_clock_source(nullptr, late_evening);
    update_plane_cycle();           // places the plane at longitude -116.5: zone -8
    sim_time.use_system_time = 1;
    // 82,800 + (2,393 + 8) x 3,600 is 101 whole days: 86,400 stays.
    screen_settings.zone_correction_hours = 2393.0f;
    update_plane_cycle();
    EXPECT_EQ(sim_time.zulu_time_sec, 86400.0f);
    screen_settings.zone_correction_hours = -32.5f;   // 82,800 - 32.5 h + 8 h is -5,400: a day is added
    update_plane_cycle();
    EXPECT_EQ(sim_time.zulu_time_sec, 81000.0f);
    // A preference file's huge value once kept subtracting a day that the float could not take off.
    for (float zone : {1.0e12f, -1.0e12f, 3.0e38f}) {
        screen_settings.zone_correction_hours = zone;
        update_plane_cycle();
        EXPECT_GE(sim_time.zulu_time_sec, 0.0f) << zone;
        EXPECT_LE(sim_time.zulu_time_sec, 86400.0f) << zone;
    }
    PLAT_set_clock_source(nullptr, nullptr);
}

TEST_F(Review, SlotsWithoutAKeyRunNothing)
{
    // No key file read: every slot holds 0. The operator panel's pause button
    // (or a peer's "CHAR" 0) passes that 0 and must not run the other 95 commands.
    key_assignment_table[0] = 'p';
    key_assignment_table[74] = 0;
    KEY_command_dispatch(DISPATCH_COMMAND, 0);
    KEY_command_dispatch(DISPATCH_PLAIN, 0);
    EXPECT_EQ(sim_operation_prefs.replay_mode, 0);         // slot 92
    EXPECT_EQ(sim_graphics_view.view_type, 0);             // slots 74..88
    EXPECT_EQ(flt[0].parkbrake, 0.0f);                     // slots 3, 4
    EXPECT_EQ(sim_cockpit_autopilot.airspeed_mode, 0);     // slots 9, 10
    EXPECT_TRUE(recorded_alerts.empty());                  // slot 91's notice
    EXPECT_EQ(sim_time.paused, 0);

    // A short key file fills the rest with 255; a 255 (or a signed -1) matches none of them.
    KEY_read_table_from(dir_.write("short.txt", "I\n2 version\np  pause\nv  reversers\n").c_str());
    ASSERT_EQ(key_assignment_table[92], 255);
    for (int key : {255, -1}) {
        KEY_command_dispatch(DISPATCH_PLAIN, key);
        KEY_command_dispatch(DISPATCH_COMMAND, key);
    }
    EXPECT_EQ(sim_operation_prefs.replay_mode, 0);
    EXPECT_EQ(sim_graphics_view.view_type, 0);
    EXPECT_EQ(sim_time.paused, 0);
    EXPECT_TRUE(recorded_alerts.empty());

    KEY_command_dispatch(DISPATCH_COMMAND, key_assignment_table[0]);   // an assigned key still works
    EXPECT_EQ(sim_time.paused, 1);
}

TEST_F(Review, WeaponTargetStaysOnAnExistingPlane)
{
    key_assignment_table[22] = '(';
    key_assignment_table[23] = ')';
    int32_t& target = sim_cockpit_weapons.plane_target_index;
    sim_graphics_settings.draw_aircrafts = 50;   // more than the ten plane slots
    target = 9;
    KEY_command_dispatch(DISPATCH_PLAIN, ')');
    EXPECT_EQ(target, 1);
    KEY_command_dispatch(DISPATCH_PLAIN, '(');
    EXPECT_EQ(target, 9);
    sim_graphics_settings.draw_aircrafts = INT_MIN;   // no other plane: unchanged
    KEY_command_dispatch(DISPATCH_PLAIN, ')');
    EXPECT_EQ(target, 9);
}

TEST_F(Review, VisibilityMathLevelStepsFromAnyStoredValue)
{
    const std::pair<int32_t, int32_t> before_after[] = {{0, 1}, {5, 0}, {-7, 0}, {INT_MAX, 2}, {INT_MIN, 5}};
    for (auto [before, after] : before_after) {
        sim_graphics_view.visibility_math_level = before;
        APPLICATION_handlemenu(1202);
        EXPECT_EQ(sim_graphics_view.visibility_math_level, after) << before;
    }
}

TEST_F(Review, ShipCellsAtTheEndsOfTheIntegerRangeCountAsLand)
{
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    for (int r : {INT_MAX, INT_MIN})
        for (int c : {INT_MAX, INT_MIN, 200}) EXPECT_EQ(CYCLE_block_is_dry(r, c), 1) << r << "," << c;
    EXPECT_EQ(CYCLE_block_is_dry(200, 200), 0);
    ship_x[0] = ship_z[0] = 0.0f;
    ship_heading[0] = 0.0f;
    ship_cell_row[0] = INT_MAX;
    ship_cell_col[0] = INT_MIN;
    terrain_standin.cell_row = terrain_standin.cell_col = 200;
    CYCLE_ship_step(0);   // land towards +row with the bow at 0 degrees: the ship turns
    EXPECT_FLOAT_EQ(ship_turn_rate[0], 3.0f);
    EXPECT_EQ(ship_cell_row[0], 200);
}

std::string situation_answer;
int answer_situation(int, int, char* name, char* path)
{
    std::snprintf(path, 500, "%s", situation_answer.c_str());
    std::snprintf(name, 500, "review.sit");
    return 1;
}

TEST_F(Review, AnAircraftOutsideTheProgramFolderComesBackAsSaved)
{
    set_program_folder(dir_.prefix());
    situation_answer = dir_.prefix() + "review.sit";
    commands_browser = answer_situation;
    std::snprintf(pln[0].acf_file_path, 500, "/elsewhere/Other.acf");   // saved with its full path
    APPLICATION_handlemenu(202);
    pln[0].acf_file_path[0] = 0;
    APPLICATION_handlemenu(203);
    EXPECT_EQ(std::string(pln[0].acf_file_path), "/elsewhere/Other.acf");
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(Review, StandInCallsCalledEveryFrameKeepOnlyTheRecentOnes)
{
    // The plane step's stand-in is called for every plane in every flying frame.
    for (size_t i = 0; i <= standin_call_log::LIMIT; ++i) flightmodel_standin_calls.push_back("step");
    flightmodel_standin_calls.push_back("last");
    EXPECT_LE(flightmodel_standin_calls.size(), standin_call_log::LIMIT);
    EXPECT_EQ(flightmodel_standin_calls.back(), "last");
    flightmodel_standin_calls.clear();
}

}  // namespace
