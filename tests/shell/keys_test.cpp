// The key assignment table and the keyboard commands.

#include <array>
#include <climits>
#include <cmath>
#include <tuple>
#include <vector>

#include "aircraft/launch_flags.h"
#include "core/engine_types.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/systems.h"
#include "core/input.h"
#include "tests/shell/cycle_fixture.h"
#include "world/atc.h"
#include "core/frame_clock.h"

namespace {

class Keys : public SimState {
protected:
    // Gives command slot `slot` the key `c`.
    static void assign(int slot, char c) { key_assignment_table[slot] = static_cast<uint8_t>(c); }
    static void press(char c) { KEY_command_dispatch(DISPATCH_PLAIN, static_cast<unsigned char>(c)); }
    static void ctrl(char c) { KEY_command_dispatch(DISPATCH_CTRL, static_cast<unsigned char>(c)); }
    static void special(int code) { KEY_command_dispatch(DISPATCH_SPECIAL, code); }
    temp_folder dir_;
};

TEST_F(Keys, KeyFileFillsTheTableAndAShortFileEndsIn255)
{
    KEY_read_table_from(dir_.write("short.txt", "I\n2 version\np  pause\nv  reversers\nJ  jettison\n").c_str());
    EXPECT_EQ(key_assignment_table[0], 'p');
    EXPECT_EQ(key_assignment_table[1], 'v');
    EXPECT_EQ(key_assignment_table[2], 'J');
    for (int i = 3; i < KEY_SLOTS; ++i) ASSERT_EQ(key_assignment_table[i], 255) << i;
    // Cut short or random, a key file that is there is named; a missing one is not.
    KEY_read_table_from(dir_.write("random.txt", "\x9c\x01\xf3 random\n").c_str());
    KEY_read_table_from((dir_.prefix() + "missing.txt").c_str());
    EXPECT_EQ(key_assignment_table[0], 'p');
    ASSERT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(recorded_alerts[0].lines[1], dir_.prefix() + "short.txt");
    EXPECT_EQ(recorded_alerts[1].lines[1], dir_.prefix() + "random.txt");

    const std::string other = dir_.write("v3.txt", "I\n3 version\np\n").string();
    EXPECT_EQ(expect_fatal([&] { KEY_read_table_from(other.c_str()); }).code, 17);
}

TEST_F(Keys, TheShippedKeyFileGivesEveryTypedCommandItsOwnKey)
{
    KEY_read_table_from((data_folder() / "keys" / "ORVELL.TXT").c_str());
    EXPECT_EQ(key_assignment_table[0], 'p');
    auto runs_nothing = [](int slot) { return slot == 19 || slot == 21 || slot >= 94; };
    for (int i = 0; i < KEY_SLOTS; ++i) {
        ASSERT_NE(key_assignment_table[i], 255) << i;
        for (int j = i + 1; j < KEY_SLOTS && !runs_nothing(i); ++j)
            ASSERT_TRUE(runs_nothing(j) || key_assignment_table[i] != key_assignment_table[j]) << i << " " << j;
    }
}

TEST_F(Keys, FlapKeysStepOneDetent)
{
    pln[0].acf_flap_detents = 3;
    const float dn[4] = {0, 10, 20, 30};
    std::copy(dn, dn + 4, pln[0].acf_flap_dn);
    assign(62, 'F');
    assign(63, 'f');
    flt[0].flaprqst = 0.4f;
    press('f');
    EXPECT_NEAR(flt[0].flaprqst, 0.666667f, 1e-5f);
    press('f');
    press('f');
    EXPECT_EQ(flt[0].flaprqst, 1.0f);
    press('F');
    EXPECT_NEAR(flt[0].flaprqst, 0.666667f, 1e-5f);

    // Detents at 0, 1/4, 3/4 and 1: a request of 1/2 lies as near the second
    // as the third, and the first of them counts.
    const float uneven[4] = {0, 10, 30, 40};
    std::copy(uneven, uneven + 4, pln[0].acf_flap_dn);
    flt[0].flaprqst = 0.5f;
    press('F');
    EXPECT_EQ(flt[0].flaprqst, 0.0f);

    pln[0].acf_flap_detents = 0;
    press('F');
    EXPECT_EQ(flt[0].flaprqst, 0.5f);
    pln[0].acf_flap_detents = 999;   // a count past the table is held to its last entry
    press('f');
    EXPECT_TRUE(std::isfinite(flt[0].flaprqst));
}

TEST_F(Keys, SettingKeysStepAndWrap)
{
    // Slot, key, the value before, after one press (a second apart, so no auto-repeat).
    const std::tuple<int, char, float*, float, float> floats[] = {
        {25, 'j', &sim_cockpit_autopilot.heading_mag, 359.0f, 0.0f},
        {24, 'h', &sim_cockpit_autopilot.heading_mag, 0.0f, 359.0f},
        {26, 'k', &sim_cockpit_misc.barometer_setting, 0.005f, 0.0f},
        {27, 'l', &sim_cockpit_misc.barometer_setting, 34.995f, 35.0f},
        {3, 'b', &flt[0].parkbrake, 0.005f, 0.67f},
        {3, 'b', &flt[0].parkbrake, 0.67f, 0.0f},
        {4, 'B', &flt[0].parkbrake, 0.005f, 1.0f},
        {7, 't', &sim_time.zulu_time_sec, 100.0f, 86260.0f},   // 240 s back, wrapped
        {66, 's', &flt[0].sbrkrqst, 0.2f, 0.0f},                // no automatic speedbrake: floor 0
        {67, 'S', &flt[0].sbrkrqst, 0.8f, 1.0f}};
    for (auto [slot, key, field, before, after] : floats) {
        assign(slot, key);
        *field = before;
        frame_clock += 1.0f;
        press(key);
        EXPECT_EQ(*field, after) << key;
    }
    // With an automatic speedbrake the request goes down to -0.5 (armed).
    pln[0].acf_autosbrkEQ = 1;
    flt[0].sbrkrqst = -0.2f;
    press('s');
    EXPECT_EQ(flt[0].sbrkrqst, -0.5f);
    pln[0].acf_autosbrkEQ = 0;
    const std::tuple<int, char, int32_t*, int32_t, int32_t> ints[] = {
        {33, 'w', &sim_cockpit_radios.com1_freq_hz, 13600, 11800},
        {39, 'R', &sim_cockpit_radios.nav1_freq_hz, 11197, 11100},   // the hundredths wrap, no carry
        {55, '+', &sim_cockpit_radios.transponder_code, 7700, 700}};
    for (auto [slot, key, field, before, after] : ints) {
        assign(slot, key);
        *field = before;
        press(key);
        EXPECT_EQ(*field, after) << key;
    }

    // Held: auto-repeat (the key still down) faster than ten a second steps by the rate.
    sim_cockpit_autopilot.heading_mag = 0.0f;
    frame_clock += 1.0f;
    press('h');
    frame_clock += 0.05f;
    key_down = 1;
    press('h');
    EXPECT_FLOAT_EQ(sim_cockpit_autopilot.heading_mag, 359.0f - 30.0f * 0.05f);
    sim_cockpit_misc.barometer_setting = 29.92f;   // the barometer: 0.01 in, then 0.05 in a second
    frame_clock += 1.0f;
    press('l');
    frame_clock += 0.05f;
    press('l');
    key_down = 0;
    EXPECT_NEAR(sim_cockpit_misc.barometer_setting, 29.93f + 0.05f * 0.05f, 1e-5f);
    // The brake key held: its press lets the brakes off, its repeats leave them so.
    assign(3, 'b');
    flt[0].parkbrake = 1.0f;
    frame_clock += 1.0f;
    press('b');
    key_down = 1;
    for (int k = 0; k < 5; ++k, frame_clock += 0.05f) press('b');
    key_down = 0;
    EXPECT_EQ(flt[0].parkbrake, 0.0f);
}

TEST_F(Keys, CtrlLettersWorkTheCockpitSwitches)
{
    ctrl('f');
    EXPECT_EQ(fail_on_command_armed, 1);
    fail_on_command_armed = 0;
    ctrl('O');
    EXPECT_EQ(sim_cockpit_electrical.battery_on, 1);
    flt[0].ENGN_bat_volt[0] = 1.0f;   // a charged battery
    ctrl('1');
    EXPECT_EQ(sim_cockpit_engine.starter_duration[0], 0.2f);   // the battery gives power
    for (int i = 0; i < 5; ++i) ctrl('K');
    EXPECT_EQ(flt[0].ignition_on[7], 3);
    ctrl(',');
    EXPECT_EQ(sim_cockpit_engine.fuel_pump_on[7], 1);

    // The gear keys move a retractable gear's handle only toward the other position.
    pln[0].acf_gear_retract = 1;
    sim_cockpit_switches.gear_handle_status = 1;
    ctrl('d');
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 1);
    ctrl('u');
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 0);
    ctrl('u');
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 0);
    ctrl('d');
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 1);
    ctrl('e');
    EXPECT_EQ(app_mode, 15);   // command 800
}

TEST_F(Keys, OneCharacterInTwoSlotsRunsBothInTableOrder)
{
    assign(9, 'a');
    assign(10, 'a');
    sim_cockpit_autopilot.airspeed_mode = 10;
    sim_cockpit_autopilot.heading_mode = 11;
    press('a');
    EXPECT_EQ(sim_cockpit_autopilot.heading_mode, 9);
    EXPECT_EQ(sim_cockpit_autopilot.airspeed_mode, 10);   // off, then on again
}

TEST_F(Keys, ViewKeysWalkTheRingAroundTheAircraftBothWays)
{
    assign(KEY_SLOT_VIEW_NEXT, '3');
    assign(KEY_SLOT_VIEW_PREVIOUS, '4');
    assign(KEY_SLOT_VIEW_FORWARD_BARE, '2');
    auto walk = [](char key, int32_t from) {
        sim_graphics_view.view_type = from;
        std::vector<int32_t> seen;
        for (int i = 0; i < 8; ++i) {
            press(key);
            seen.push_back(sim_graphics_view.view_type);
        }
        return seen;
    };
    EXPECT_EQ(walk('3', 1000), (std::vector<int32_t>{1004, 1006, 1008, 1010, 1009, 1007, 1005, 1000}));
    EXPECT_EQ(walk('4', 1000), (std::vector<int32_t>{1005, 1007, 1009, 1010, 1008, 1006, 1004, 1000}));
    EXPECT_EQ(walk('3', 1017)[0], 1004);   // from outside the ring: its near end
    EXPECT_EQ(walk('4', 1017)[0], 1005);
    EXPECT_EQ(walk('2', 1000), (std::vector<int32_t>{1001, 1002, 1001, 1002, 1001, 1002, 1001, 1002}));
}

TEST_F(Keys, PauseOnlyFlyingOrAtTheStationAndNotWhileChatting)
{
    assign(0, 'p');
    const int mode_chat_paused[][3] = {{0, 0, 1}, {18, 0, 0}, {5, 0, 0}, {0, 1, 0}};
    for (const auto& c : mode_chat_paused) {
        app_mode = c[0];
        chat_typing = c[1];
        press('p');
        EXPECT_EQ(sim_time.paused, c[2]) << c[0] << " " << c[1];
    }
}

TEST_F(Keys, ReturnSendsTheChatOrOpensTheAtcWindow)
{
    press('\r');
    EXPECT_EQ(atc_state.atc_window_open, 1);
    atc_state.atc_window_open = 0;

    enable(0);
    press('\r');
    EXPECT_EQ(chat_typing, 1);
    std::strcpy(chat_text, "hello");
    press('\r');
    EXPECT_EQ(chat_typing, 0);
    const auto mess = sent("MESS");
    ASSERT_EQ(mess.size(), 1u);
    EXPECT_EQ(text_of(mess[0]), std::string("hello", 6));
    EXPECT_EQ(chat_text[0], 0);
}

TEST_F(Keys, SpaceReleasesTheHoldsOneByOneThenFires)
{
    launch_flags.mothership_carried = launch_flags.tow_attached = 1;
    key_hold_command = 0;
    press(' ');
    EXPECT_EQ(launch_flags.mothership_carried, 0);
    EXPECT_EQ(launch_flags.tow_attached, 1);
    press(' ');
    EXPECT_EQ(launch_flags.tow_attached, 0);   // the glider lets go of the tow rope
    press(' ');
    EXPECT_EQ(key_hold_command, 1);
    key_hold_command = 0;
}

TEST_F(Keys, SpecialKeysMoveTheYokeAndTheOrbitWithinTheirBounds)
{
    for (int i = 0; i < 30; ++i) special(KEY_CODE_KEYPAD_6);
    EXPECT_EQ(sim_joystick.yolk_roll_ratio, 1.0f);
    special(KEY_CODE_KEYPAD_5);
    EXPECT_EQ(sim_joystick.yolk_roll_ratio, 0.0f);

    sim_graphics_view.view_type = 1018;
    view_distance = view_orbit_heading = 0.0f;
    frame_clock = 3.0f;
    special(KEY_CODE_RIGHT);
    EXPECT_FLOAT_EQ(view_orbit_heading, 2.0f * 3.14159265f - 0.5f * 0.05f);
    for (int i = 0; i < 200; ++i) special(KEY_CODE_SHIFT_UP);
    EXPECT_FLOAT_EQ(view_orbit_pitch, 0.45f * 3.14159265f);
}

// Arrows with the view heading and pitch at 30 degrees: the fly-by point moves
// 50 units along the view, the runway view's point 4 and 2 (Shift: 10 and 8)
// units a second, and the orbit steps by 0.5 - 0.45 sqrt(0.3 nm) a second,
// held within 0.05..0.5 (1 on the map views).
TEST_F(Keys, ArrowsMoveTheViewPointsAndStepTheOrbitByItsDistance)
{
    sim_graphics_view.view_heading = 30.0f;
    sim_graphics_view.view_pitch = 30.0f;
    struct moved { int view, key; float x, y, z; };
    const moved points[] = {
        {1020, KEY_CODE_LEFT, -37.5f, 0.0f, -21.650635f},
        {1020, KEY_CODE_RIGHT, 37.5f, 0.0f, 21.650635f},
        {1020, KEY_CODE_UP, 21.650635f, 25.0f, -37.5f},
        {1020, KEY_CODE_DOWN, -21.650635f, -25.0f, 37.5f},
        {1015, KEY_CODE_LEFT, -0.173205f, 0.0f, -0.05f},
        {1015, KEY_CODE_UP, 0.1f, 0.0f, -0.0866025f},
        {1015, KEY_CODE_SHIFT_UP, 0.25f, 0.0f, -0.34641f},
        {1015, KEY_CODE_SHIFT_RIGHT, 0.433013f, 0.0f, 0.2f},
    };
    for (const moved& m : points) {
        sim_graphics_view.view_type = m.view;
        view_fixed_point[0] = view_fixed_point[1] = view_fixed_point[2] = 0.0f;
        sim_graphics_view.view_x = sim_graphics_view.view_z = 0.0f;
        special(m.key);
        const bool fly_by = m.view == 1020;
        EXPECT_NEAR(fly_by ? view_fixed_point[0] : sim_graphics_view.view_x, m.x, 1e-4f) << m.view << " " << m.key;
        EXPECT_NEAR(fly_by ? view_fixed_point[1] : 0.0f, m.y, 1e-4f) << m.view << " " << m.key;
        EXPECT_NEAR(fly_by ? view_fixed_point[2] : sim_graphics_view.view_z, m.z, 1e-4f) << m.view << " " << m.key;
    }

    struct orbit_step { int mode, key; float distance_m, pitch, heading; };
    const orbit_step steps[] = {
        {0, KEY_CODE_UP, 1852.0f, 0.0126762f, 1.0f},          // 1 nm: s = 0.253525
        {0, KEY_CODE_DOWN, 3704.0f, -0.00757158f, 1.0f},      // 2 nm: s = 0.151432
        {0, KEY_CODE_LEFT, 18520.0f, 0.0f, 1.0025f},          // 10 nm: s held at 0.05
        {0, KEY_CODE_SHIFT_LEFT, 0.0f, 0.0f, 1.25f},          // s 0.5, ten times
        {16, KEY_CODE_RIGHT, 1852.0f, 0.0f, 0.95f},           // map view: s = 1
    };
    sim_graphics_view.view_type = 1018;
    for (const orbit_step& o : steps) {
        app_mode = o.mode;
        view_distance = o.distance_m;
        view_orbit_pitch = 0.0f;
        view_orbit_heading = 1.0f;
        special(o.key);
        EXPECT_NEAR(view_orbit_pitch, o.pitch, 1e-6f) << o.mode << " " << o.distance_m;
        EXPECT_NEAR(view_orbit_heading, o.heading, 1e-6f) << o.mode << " " << o.distance_m;
    }
    app_mode = 0;
}

TEST_F(Keys, EngineKeysPerEngineOrForAll)
{
    pln[0].acf_num_engines = 2;
    pln[0].acf_num_thrustpoints = 2;
    pln[0].acf_throtmax_FWD = 1.0f;
    KEY_engine_controls(62);
    EXPECT_EQ(flt[0].ENGN_thro[0], 0.0f);   // nothing in this mode
    KEY_engine_controls(51);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[1], 0.05f);

    screen_settings.keys_per_engine = 1;
    KEY_engine_controls(62);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[0], 0.10f);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[1], 0.05f);
    screen_settings.keys_per_engine = 0;

    // The propeller lever: a governed propeller's speed by a twentieth of its
    // green range, a manual-pitch one's blades by a degree.
    pln[0].acf_prop_type[0] = PROP_MANUAL_PITCH;
    pln[0].acf_prop_type[1] = PROP_CONSTANT_SPEED;
    pln[0].acf_min_pitch[0] = 10.0f, pln[0].acf_max_pitch[0] = 40.0f;
    pln[0].acf_RSC_mingreen_prp = 100.0f, pln[0].acf_RSC_redline_prp = 200.0f;
    flt[0].ENGN_propmode[0] = PROPMODE_NORMAL;
    flt[0].POINT_pitch_deg[0] = 20.0f;
    flt[0].ENGN_prop[1] = 150.0f;
    KEY_engine_controls(55);
    KEY_engine_controls(54);
    KEY_engine_controls(54);
    EXPECT_FLOAT_EQ(flt[0].POINT_pitch_deg[0], 19.0f);
    EXPECT_FLOAT_EQ(flt[0].ENGN_prop[1], 145.0f);

    flt[0].failures[FAIL_SLOT_ENGINE_BASE + 1] = FAILURE_STATE_FAILED;
    KEY_engine_controls(50);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[0], 0.05f);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[1], 0.05f);   // a failed engine is not moved
}

TEST_F(Keys, SlotsWithoutAKeyRunNothing)
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
    EXPECT_EQ(recorded_alerts.size(), 1u);   // the short file's notice alone

    KEY_command_dispatch(DISPATCH_COMMAND, key_assignment_table[0]);   // an assigned key still works
    EXPECT_EQ(sim_time.paused, 1);
}

TEST_F(Keys, WeaponTargetStaysOnAnExistingPlane)
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

}  // namespace

// The reverser key pulls the throttle of every engine with a working reverser
// to 0.01 and swaps its mode between reverse (3) and normal (1).
TEST_F(Keys, ReverserKeyTogglesEachWorkingReverser)
{
    pln[0].acf_num_engines = 3;
    pln[0].acf_revthrust_eq = 1;
    assign(1, 'v');
    for (int n = 0; n < 3; ++n) flt[0].ENGN_thro[n] = 0.8f, flt[0].ENGN_propmode[n] = 1;
    flt[0].failures[FAIL_SLOT_REVERSER_BASE + 2] = FAILURE_STATE_FAILED;
    press('v');
    EXPECT_EQ((std::array<int32_t, 3>{flt[0].ENGN_propmode[0], flt[0].ENGN_propmode[1], flt[0].ENGN_propmode[2]}),
              (std::array<int32_t, 3>{3, 3, 1}));
    EXPECT_EQ((std::array<float, 3>{flt[0].ENGN_thro[0], flt[0].ENGN_thro[1], flt[0].ENGN_thro[2]}),
              (std::array<float, 3>{0.01f, 0.01f, 0.8f}));
    press('v');
    EXPECT_EQ(flt[0].ENGN_propmode[0], 1);
    flt[0].failures[FAIL_SLOT_REVERSER_BASE + 2] = 0;
}
