// Joysticks on software controllers: axes through calibration, null zone and
// curve into the controls; joystick detection and the mouse; the numbering of
// axes, hats and buttons over three devices; a controller pulled out; the
// button functions through real presses.
#include <climits>
#include <cmath>

#include "tests/links/joystick_fixture.h"

namespace {

using Joystick = JoystickState;

TEST_F(Joystick, AxesGoThroughCalibrationNullZoneAndCurveOnceAJoystickIsSeen)
{
    virtual_joystick stick(3, 0, 4);
    ASSERT_EQ(JOY_init(), 0);
    sim_joystick_block& j = sim_joystick;
    j.joystick_axis_assignments[0] = JOY_AXIS_PITCH;
    j.joystick_axis_assignments[1] = JOY_AXIS_ROLL;
    j.joystick_axis_assignments[2] = JOY_AXIS_THROTTLE_1;
    j.joystick_axis_reverse[2] = 1;
    j.joystick_pitch_nullzone = j.joystick_roll_nullzone = 0.1f;

    // Until a primary axis moves the mouse flies: pitch from its height over the display's centre.
    j.mouse_is_joystick = 1;
    pln[0].acf_HUD_cntrx = 512.0f;
    pln[0].acf_HUD_cntry = 300.0f;
    mouse.mouse_x = 542.0f;
    mouse.mouse_y = 350.0f;
    stick.axis(2, -100);
    poll();
    poll();
    EXPECT_EQ(j.has_joystick, 0);
    EXPECT_FLOAT_EQ(j.yolk_pitch_ratio, -0.5f);
    EXPECT_FLOAT_EQ(j.yolk_roll_ratio, 0.3f);
    EXPECT_EQ(throttle[0], -7.0f);   // no joystick yet: the axes map nothing
    mouse.mouse_y = 900.0f;
    poll();
    EXPECT_FLOAT_EQ(j.yolk_pitch_ratio, -1.0f);

    stick.axis(0, 1);   // one unit is more than 0.01
    poll();
    EXPECT_EQ(j.has_joystick, 1);
    poll();
    EXPECT_EQ(j.mouse_is_joystick, 0);
    EXPECT_EQ(throttle[0], 1.0f);   // reversed, at its minimum

    const struct {
        int pitch;
        float expected;
    } pitches[] = {{100, std::pow(0.9f, 1.5f)}, {-100, -std::pow(0.9f, 1.5f)}, {5, 0.0f}, {-10, 0.0f}, {50, std::pow(0.4f, 1.5f)}};
    for (const auto& p : pitches) {
        stick.axis(0, p.pitch);
        poll();
        EXPECT_NEAR(j.yolk_pitch_ratio, p.expected, 1e-6f) << p.pitch;
    }
    EXPECT_NEAR(std::pow(0.9f, 1.5f), 0.8538f, 1e-4f);

    // Equal calibration ends give the middle of the range.
    j.joystick_axis_minimum[0] = j.joystick_axis_maximum[0] = 37.0f;
    j.joystick_axis_minimum[2] = j.joystick_axis_maximum[2] = 37.0f;
    poll();
    EXPECT_EQ(j.yolk_pitch_ratio, 0.0f);
    EXPECT_EQ(throttle[0], 0.5f);

    // A plug-in holds pitch only with both override flags.
    j.joystick_axis_minimum[0] = -100.0f;
    j.joystick_axis_maximum[0] = 100.0f;
    stick.axis(0, 100);
    sim_operation_override.override_joystick_pitch = 1;
    j.yolk_pitch_ratio = 0.25f;
    poll();
    EXPECT_NEAR(j.yolk_pitch_ratio, 0.8538f, 1e-4f);
    sim_operation_override.override_joystick = 1;
    j.yolk_pitch_ratio = 0.25f;
    poll();
    EXPECT_EQ(j.yolk_pitch_ratio, 0.25f);
    EXPECT_EQ(j.eq_ped_nobrk, 0);

    // A propeller axis runs from the green-arc minimum to the redline; a
    // range narrower than one unit is widened to one: 200..200.7 becomes
    // 200..201, so full travel asks 201.
    j.joystick_axis_assignments[1] = JOY_AXIS_PROPELLER;
    j.joystick_axis_minimum[1] = -100.0f, j.joystick_axis_maximum[1] = 100.0f, j.joystick_axis_reverse[1] = 0;
    stick.axis(1, 100);
    pln[0].acf_RSC_mingreen_prp = 200.0f, pln[0].acf_RSC_redline_prp = 200.7f;
    poll();
    EXPECT_NEAR(flt[0].ENGN_prop[0], 201.0f, 1e-3f);
    pln[0].acf_RSC_redline_prp = 300.0f;
    stick.axis(1, 0);
    sim_joystick.eq_cirrusII_fun = 12;   // a console of the radios alone leaves the axes to the joystick
    poll();
    EXPECT_NEAR(flt[0].ENGN_prop[0], 250.0f, 1e-3f);
}

// Each primary axis has its own null zone and sensitivity: pitch 0.5 with
// zone 0.1 and gain 2 gives 0.4^1.5 x 2 = 0.50596; roll -0.6 with zone 0.2 and
// gain 3 gives -(0.4^1.5) x 3 = -0.75895. The joystick screen's response tab
// shows the curve without the zone: 0.5^1.5 x 2 = 0.70711.
TEST_F(Joystick, EachAxisHasItsZoneAndGainAndTheResponseTabSkipsTheZone)
{
    sim_joystick_block& j = sim_joystick;
    j.has_joystick = 1;
    j.joystick_pitch_nullzone = 0.1f, j.joystick_pitch_sensitivity = 2.0f;
    j.joystick_roll_nullzone = 0.2f, j.joystick_roll_sensitivity = 3.0f;
    EXPECT_NEAR(JOY_null_zone_curve(0.5f, 0), 0.50596f, 1e-4f);
    EXPECT_NEAR(JOY_null_zone_curve(-0.6f, 1), -0.75895f, 1e-4f);
    app_mode = MODE_JOYSTICK;
    joystick_screen.joystick_tab = 1;
    EXPECT_NEAR(JOY_null_zone_curve(0.5f, 0), 0.70711f, 1e-4f);
    joystick_screen.joystick_tab = 0;
    EXPECT_NEAR(JOY_null_zone_curve(0.5f, 0), 0.50596f, 1e-4f);
}

TEST_F(Joystick, DevicesFillTheAxesAndButtonsInOrderAndExtrasLandOnTheLastIndex)
{
    // Four controllers: the third slot ends up with the fourth, the third is let go.
    virtual_joystick a(8, 1, 16), b(8, 5, 16), c(2, 0, 16), d(8, 4, 20);
    ASSERT_EQ(JOY_init(), 0);
    sim_joystick_block& j = sim_joystick;
    // B's fifth hat is not recorded; two sliders fill both slider flags.
    for (int f = 0; f < JOY_PRESENCE_FLAGS; ++f) EXPECT_EQ(joystick.presence[1][f], 1) << f;
    for (int f = 0; f < 8; ++f) EXPECT_EQ(joystick.presence[2][f], 1) << f;

    a.hat(0, 2);          // 90 degrees: button 2 of A's hat block
    b.hat(3, 0);          // B's fourth hat north: 24 + 3 * 8
    b.button(0, true);    // after B's 32 hat buttons
    d.button(15, true);   // far past 96: on 95
    d.axis(7, 42);        // far past 15: on 14
    a.axis(5, -63);
    poll(0);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(j.joystick_button_values[k], k == 2 ? 1 : 0) << k;
    EXPECT_EQ(j.joystick_button_values[48], 1);
    EXPECT_EQ(j.joystick_button_values[56], 128);
    EXPECT_EQ(j.joystick_button_values[95], 128);
    EXPECT_EQ(j.joystick_axis_values[5], -63.0f);
    EXPECT_EQ(j.joystick_axis_values[14], 42.0f);
    // Calibration mode widens every axis to what it saw.
    EXPECT_EQ(j.joystick_axis_minimum[5], -100.0f);
    j.joystick_axis_minimum[5] = 0.0f;
    poll(0);
    EXPECT_EQ(j.joystick_axis_minimum[5], -63.0f);
}

TEST_F(Joystick, PulledOutControllerEndsThePollUntilItComesBack)
{
    auto stick = std::make_unique<virtual_joystick>(2, 0, 4, 0x0321);
    ASSERT_EQ(JOY_init(), 0);
    sim_joystick_block& j = sim_joystick;
    j.has_joystick = 1;
    j.joystick_button_assignments[0] = 56;   // parking brake while held
    stick->button(0, true);
    poll();
    EXPECT_EQ(flt[0].parkbrake, 0.67f);

    stick->detach();
    for (int k = 0; k < 3; ++k) poll();   // returns at once, every frame
    EXPECT_EQ(j.joystick_button_values[0], 0);
    EXPECT_EQ(flt[0].parkbrake, 0.67f);   // no function ran, not even the release

    // Plugged in again with the button still held: found, read the frame after,
    // and the press is seen again.
    flt[0].parkbrake = 0.0f;
    stick = std::make_unique<virtual_joystick>(2, 0, 4, 0x0321);
    stick->button(0, true);
    poll();
    EXPECT_EQ(flt[0].parkbrake, 0.0f);
    poll();
    EXPECT_EQ(flt[0].parkbrake, 0.67f);
    stick->button(0, false);
    poll();
    EXPECT_EQ(flt[0].parkbrake, 0.0f);
}

TEST_F(Joystick, ButtonFunctionsThroughRealPresses)
{
    virtual_joystick stick(1, 0, 16);
    ASSERT_EQ(JOY_init(), 0);
    sim_joystick_block& j = sim_joystick;
    j.has_joystick = 1;
    auto hold = [&](int code, int frames_down, float period = 0.05f) {
        j.joystick_button_assignments[0] = code;
        stick.button(0, true);
        frames(frames_down, period);
        stick.button(0, false);
        frames(1, period);
    };

    // Throttle up 0.25 a second on every engine, at 20 and at 100 frames a second.
    for (auto [fps, period] : {std::pair{20, 0.05f}, std::pair{100, 0.01f}}) {
        flt[0].ENGN_thro[0] = flt[0].ENGN_thro[1] = 0.5f;
        hold(10, fps, period);
        EXPECT_NEAR(flt[0].ENGN_thro[0], 0.75f, 1e-4f) << fps;
        EXPECT_NEAR(flt[0].ENGN_thro[1], 0.75f, 1e-4f) << fps;
    }
    // The light parking brake holds while down and lets go on release.
    j.joystick_button_assignments[0] = 56;
    stick.button(0, true);
    frames(3);
    EXPECT_EQ(flt[0].parkbrake, 0.67f);
    stick.button(0, false);
    frames(1);
    EXPECT_EQ(flt[0].parkbrake, 0.0f);
    // The rotor button keeps the brake set while it is up.
    j.joystick_button_assignments[0] = 78;
    frames(2);
    EXPECT_EQ(flt[0].parkbrake, 1.0f);
    // ECAM pages wrap both ways; a warning silences itself for 30 s instead.
    sim_cockpit_switches.ECAM_mode = 4;
    hold(66, 1);
    EXPECT_EQ(sim_cockpit_switches.ECAM_mode, 0);
    hold(67, 1);
    EXPECT_EQ(sim_cockpit_switches.ECAM_mode, 4);
    sim_cockpit_warnings.ECAM_warning_on = 1;
    hold(66, 1);
    EXPECT_EQ(sim_cockpit_switches.ECAM_mode, 4);
    EXPECT_NEAR(sim_cockpit_warnings.warning_suppression_timeout, frame_clock - 0.05f + 30.0f, 1e-3f);
    // Four presses of the magneto button: every engine at 3.
    for (int k = 0; k < 4; ++k) hold(94, 1);
    EXPECT_EQ(flt[0].ignition_on[0], 3);
    EXPECT_EQ(flt[0].ignition_on[1], 3);
    // The hat's look-down view lasts while it is held.
    hold(33, 1);
    EXPECT_EQ(sim_graphics_view.view_type, 1000);
    j.joystick_button_assignments[0] = 33;
    stick.button(0, true);
    frames(1);
    EXPECT_EQ(sim_graphics_view.view_type, 1002);
    stick.button(0, false);
    frames(1);
    // Codes outside the table, as preferences or plug-ins may carry them, do nothing.
    for (int code : {-1, 96, 1000, INT_MAX, INT_MIN}) {
        JOY_button_pressed(code);
        JOY_button_held(code);
        JOY_button_released(code);
        JOY_button_idle(code);
        j.joystick_button_assignments[0] = code;
        j.joystick_axis_assignments[0] = code;
        hold(code, 1);
    }
    EXPECT_EQ(sim_graphics_view.view_type, 1000);
}

// The caption of each button function code on the assignment page.
TEST(JoystickCaptions, EachCodeHasItsEntry)
{
    const int rows[][2] = {{0, 7},    {57, 64},   {58, 70},   {59, 518},  {60, 66},   {61, 69},
                           {62, 67},  {63, 68},   {64, 71},   {79, 86},   {80, 386},  {90, 396},
                           {91, 510}, {92, 513},  {93, 65},   {94, 598},  {95, 200}};
    for (const auto& r : rows) EXPECT_EQ(JOY_button_caption_entry(r[0]), r[1]) << r[0];
}

// The handlers called as a plug-in presses buttons: views by command, the
// yoke's heading ratio at 0.3 a second held in -1..1, brakes, heat and the
// altitude mode.
TEST_F(Joystick, ButtonFunctionsSetTheirViewsAndFields)
{
    flt_struct& f = flt[0];
    const int views[][2] = {{36, 1006}, {37, 1007}, {38, 1024}, {39, 1023}, {41, 1014}, {42, 1015},
                            {43, 1017}, {44, 1018}, {45, 1019}, {46, 1020}};
    for (const auto& [code, view] : views) {
        sim_graphics_view.view_type = 1000;
        JOY_button_pressed(code);
        EXPECT_EQ(sim_graphics_view.view_type, view) << code;
    }
    JOY_button_released(37);
    EXPECT_EQ(sim_graphics_view.view_type, 1000);

    const struct {
        int code, frames;
        float start, want;
    } yoke[] = {{31, 20, 0.0f, 0.3f}, {30, 20, 0.0f, -0.3f}, {30, 10, 0.2f, 0.05f}, {31, 100, 0.0f, 1.0f}, {30, 100, 0.0f, -1.0f}};
    for (const auto& y : yoke) {
        sim_joystick.yolk_heading_ratio = y.start;
        for (int k = 0; k < y.frames; ++k) JOY_button_held(y.code);
        EXPECT_NEAR(sim_joystick.yolk_heading_ratio, y.want, 1e-5f) << y.code << " for " << y.frames;
    }

    JOY_button_pressed(54);
    EXPECT_EQ(f.l_brake_add, 0.5f);
    EXPECT_EQ(f.r_brake_add, 0.0f);
    JOY_button_pressed(55);
    EXPECT_EQ(f.r_brake_add, 0.5f);
    JOY_button_released(54);
    EXPECT_EQ(f.l_brake_add, 0.0f);
    EXPECT_EQ(f.r_brake_add, 0.5f);
    JOY_button_pressed(57);
    EXPECT_EQ(f.parkbrake, 1.0f);
    JOY_button_released(57);
    EXPECT_EQ(f.parkbrake, 0.0f);

    f.ENGN_heat[0] = 0.5f, f.ENGN_heat[1] = 0.6f;
    JOY_button_pressed(16);   // each toggled: at most 0.5 goes on
    EXPECT_EQ(f.ENGN_heat[0], 1.0f);
    EXPECT_EQ(f.ENGN_heat[1], 0.0f);
    JOY_button_pressed(17);
    EXPECT_EQ(f.ENGN_heat[1], 1.0f);
    JOY_button_pressed(18);
    EXPECT_EQ(f.ENGN_heat[0], 0.0f);

    JOY_button_pressed(95);
    EXPECT_EQ(sim_cockpit_autopilot.altitude_mode, 9);
    JOY_button_released(95);
    EXPECT_EQ(sim_cockpit_autopilot.altitude_mode, 17);
}

TEST_F(Joystick, RotorGovernorsStepTowardTheirTargets)
{
    flt_struct& f = flt[0];
    pln[0].acf_min_pitch[1] = 2.0f;
    pln[0].acf_max_pitch[1] = 8.0f;
    // Trim: 80 kt calls for 244 rpm; a still rotor is far below, so the trim rises by its limit.
    f.indicated_airspeed = 80.0f;
    f.rot_trim = 0.5f;
    JOY_button_held(78);
    EXPECT_FLOAT_EQ(f.rot_trim, 0.5f + 0.1f * 0.05f);
    f.POINT_tacrad[1] = 300.0f * 2.0f * 3.14159265f / 60.0f;   // 300 rpm, above: the trim falls
    JOY_button_held(78);
    EXPECT_NEAR(f.rot_trim, 0.5f, 1e-6f);
    // Pitch on the ground: 260 rpm wants 7 degrees, reached at 6 degrees a second.
    f.indicated_airspeed = 20.0f;
    f.POINT_tacrad[1] = 260.0f * 2.0f * 3.14159265f / 60.0f;
    f.POINT_pitch_deg[1] = 3.0f;
    JOY_button_idle(79);
    EXPECT_NEAR(f.POINT_pitch_deg[1], 3.3f, 1e-5f);
    sim_time.paused = 1;
    JOY_button_idle(79);
    EXPECT_NEAR(f.POINT_pitch_deg[1], 3.3f, 1e-5f);
    // In flight the cyclic is steered to its target; the pitch stays within the propeller's range.
    sim_time.paused = 0;
    f.indicated_airspeed = 100.0f;
    f.POINT_pitch_deg[1] = 8.0f;
    f.cyclic_elev_blad_alph[1] = 1.0f;
    for (int k = 0; k < 50; ++k) JOY_button_idle(79);
    EXPECT_EQ(f.POINT_pitch_deg[1], 8.0f);

    // Near their targets the steps are a tenth of the rotor-speed error and
    // the full way to the wanted pitch: 100 kt calls for 244 - 1.2 x 20 = 220
    // rpm, 250 kt for 100 + 0.5 x 50 = 125; 250 rpm on the ground wants
    // (250 - 260) x 0.05 + 7 = 6.5 degrees.
    // The governor looks 5 s ahead along the rotor's acceleration: 210 rpm
    // gaining 9.98 rpm in 5 s reads as 219.98.
    const struct {
        float knots, rpm, rpm_in_5_s, trim;
    } trims[] = {{100.0f, 219.98f, 0.0f, 0.502f}, {250.0f, 124.97f, 0.0f, 0.503f}, {100.0f, 210.0f, 9.98f, 0.502f}};
    for (const auto& t : trims) {
        f.indicated_airspeed = t.knots;
        f.POINT_tacrad[1] = t.rpm * 2.0f * 3.14159265f / 60.0f;
        f.POINT_omegadot[1] = t.rpm_in_5_s / 5.0f * 2.0f * 3.14159265f / 60.0f;
        f.rot_trim = 0.5f;
        JOY_button_held(78);
        EXPECT_NEAR(f.rot_trim, t.trim, 1e-4f) << t.knots;
    }
    f.indicated_airspeed = 20.0f;
    f.POINT_tacrad[1] = 250.0f * 2.0f * 3.14159265f / 60.0f;
    f.POINT_pitch_deg[1] = 6.45f;
    JOY_button_idle(79);
    EXPECT_NEAR(f.POINT_pitch_deg[1], 6.5f, 1e-4f);
}

}  // namespace

// Buttons 29 to 31 step the first throttle of a propeller-type-3 aircraft when
// the button-throttle option is on; their own functions do not run.
TEST_F(Joystick, ButtonThrottleStepsTheFirstEngine)
{
    virtual_joystick first(1, 0, 16), second(1, 0, 16);   // the second's buttons are 16..31
    ASSERT_EQ(JOY_init(), 0);
    sim_joystick_block& j = sim_joystick;
    j.has_joystick = 1;
    pln[0].acf_prop_type[0] = 3;
    pln[0].acf_throtmax_FWD = 0.9f;
    screen_settings.eq_button_throttle = 1;
    j.joystick_button_assignments[29] = j.joystick_button_assignments[30] = 10;   // throttle up, if it ran
    auto press = [&](std::initializer_list<int> buttons) {
        for (int b : buttons) second.button(b - 16, true);
        frames(1);
        for (int b : buttons) second.button(b - 16, false);
        frames(1);
    };
    const struct { std::initializer_list<int> buttons; float before, after; } steps[] = {
        {{29}, 0.5f, 0.6f}, {{30}, 0.5f, 0.4f}, {{31, 30}, 0.5f, 0.0f}, {{31, 29}, 0.2f, 0.9f}};
    for (const auto& s : steps) {
        flt[0].ENGN_thro[0] = s.before;
        press(s.buttons);
        EXPECT_NEAR(flt[0].ENGN_thro[0], s.after, 1e-5f) << *s.buttons.begin() << " " << s.buttons.size();
    }
    screen_settings.eq_button_throttle = 0;
}
