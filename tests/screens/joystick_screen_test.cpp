// The joystick and equipment screen on the offscreen context with a software
// controller: a new axis function restarts that axis's calibration, a pressed
// joystick button becomes the one whose function the list edits, the null
// zones of the response tab, and the console models that exclude each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "graphics/list.h"
#include "graphics/widget_record.h"
#include "links/console.h"
#include "links/hardware.h"
#include "links/panel_modules.h"
#include "links/joystick.h"
#include "screens/setup.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"
#include "tests/support/virtual_joystick.h"

namespace {

// The centre of the selector button captioned "40".
float button_40_x = 0.0f, button_40_y = 0.0f;
void record_button_40(const widget_box& b)
{
    if (b.kind == WIDGET_BOX_FIELD && b.text && std::strcmp(b.text, "40") == 0)
        button_40_x = (b.x1 + b.x2) / 2.0f, button_40_y = (b.y1 + b.y2) / 2.0f;
}

class JoystickScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui_screen_ready());
        app_mode = MODE_JOYSTICK;
        frame_clock = 10.0f;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        sim_operation_misc.frame_rate_period = 0.05f;
        HARDWARE_reset();
        JOY_reset();
        // The pop-up lists' items (axis functions, console models).
        std::strcpy(ui_text_table[3], "None-Pitch-Roll-Yaw-Throttle 1-Throttle 2");
        std::strcpy(ui_text_table[159], "None-One-Two-Three-Four-Five");
        sim_joystick_block& j = sim_joystick;
        j.joystick_pitch_sensitivity = j.joystick_roll_sensitivity = j.joystick_heading_sensitivity = 1.0f;
        std::fill(std::begin(j.joystick_axis_minimum), std::end(j.joystick_axis_minimum), -100.0f);
        std::fill(std::begin(j.joystick_axis_maximum), std::end(j.joystick_axis_maximum), 100.0f);
        stick_ = std::make_unique<virtual_joystick>(3, 0, 8);
        ASSERT_EQ(JOY_init(), 0);
    }
    void TearDown() override
    {
        JOY_close();
        stick_.reset();
        HARDWARE_reset();
    }

    static float top() { return screen.screen_area_height; }
    // One frame of the screen, with a click at (x, y) when given.
    static void frame(float x = -100.0f, float y = -100.0f)
    {
        const bool clicking = x >= 0.0f;
        mouse.mouse_x = x, mouse.mouse_y = y, mouse.mouse_down = mouse.mouse_held = clicking ? 1 : 0;
        frame_clock += sim_operation_misc.frame_rate_period;
        SETUP_joystick_equipment();
        mouse.mouse_down = mouse.mouse_held = 0;
        mouse.mouse_x = mouse.mouse_y = -100.0f;
    }
    // The pop-up list at (x, y) answers `item` on the next frame.
    static void answer(float x, float y, int item)
    {
        popup_answer_owner = BTN_text_list_key(x, y);
        popup_answer = item;
        frame();
    }

    std::unique_ptr<virtual_joystick> stick_;
};

TEST_F(JoystickScreen, AssignmentPageRestartsCalibrationAndFindsButtonsByPressingThem)
{
    sim_joystick_block& j = sim_joystick;
    stick_->axis(1, 30);
    frame();
    EXPECT_EQ(j.joystick_axis_values[1], 30.0f);
    EXPECT_EQ(j.joystick_axis_minimum[1], -100.0f);   // already wider than what it saw

    // Axis 1 becomes roll: its calibration starts again from where it stands.
    answer(93.0f, top() - 117.0f - 40.0f, JOY_AXIS_ROLL);
    EXPECT_EQ(j.joystick_axis_assignments[1], JOY_AXIS_ROLL);
    frame();
    EXPECT_EQ(j.joystick_axis_minimum[1], 30.0f);
    EXPECT_EQ(j.joystick_axis_maximum[1], 30.0f);
    EXPECT_EQ(j.joystick_axis_minimum[0], -100.0f);   // the other axes keep theirs
    // Until it moves the roll axis maps to the middle of its range.
    j.has_joystick = 1;
    float out[12];
    std::fill(std::begin(out), std::end(out), -7.0f);
    JOY_poll(&out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6], &out[7], &out[8], &out[9], &out[10],
             &out[11], 1);
    EXPECT_EQ(out[1], 0.0f);
    stick_->axis(1, -50);
    frame();
    EXPECT_EQ(j.joystick_axis_minimum[1], -50.0f);

    // Pressing joystick button 5 selects it; a click in the list gives it function 56.
    stick_->button(5, true);
    frame();
    EXPECT_EQ(joystick.current_button, 5);
    stick_->button(5, false);
    const int code = 56;
    frame(545.0f + 150.0f * (code / 32), top() - 80.0f - 20.0f * (code % 32) + 4.0f);
    EXPECT_EQ(j.joystick_button_assignments[5], code);
    EXPECT_EQ(j.joystick_button_assignments[0], 0);
    // Clicking button 40 in the selector makes it current; it stands in the
    // second column of 32 (x 425 + 40), row 8 (y T - 75 - 20 x 8).
    WIDGET_set_recorder(record_button_40);
    frame(425.0f + 40.0f, top() - 75.0f - 20.0f * 8.0f);
    WIDGET_set_recorder(nullptr);
    EXPECT_EQ(joystick.current_button, 40);
    EXPECT_EQ(button_40_x, 465.0f);
    EXPECT_EQ(button_40_y, top() - 235.0f);
    frame(425.0f + 80.0f, top() - 75.0f - 20.0f * 31.0f);   // the last of the third column
    EXPECT_EQ(joystick.current_button, 95);

    // The reset button empties every calibration, assigned or not, and says
    // so; the same frame's poll starts each one again from where its axis stands.
    clear_alerts();
    frame(290.0f, top() - 73.0f);
    for (int i : {0, 1, 2, 14}) {
        EXPECT_EQ(j.joystick_axis_minimum[i], j.joystick_axis_values[i]) << i;
        EXPECT_EQ(j.joystick_axis_maximum[i], j.joystick_axis_values[i]) << i;
    }
    EXPECT_EQ(j.joystick_axis_minimum[1], -50.0f);
    ASSERT_FALSE(recorded_alerts.empty());
    EXPECT_EQ(recorded_alerts.back().code, 16);
}

TEST_F(JoystickScreen, ResponseTabNullZoneFollowsTheStickAndDecays)
{
    sim_joystick_block& j = sim_joystick;
    joystick_screen.joystick_tab = 1;
    j.joystick_axis_assignments[0] = JOY_AXIS_PITCH;
    j.joystick_pitch_nullzone = 0.05f;

    // No joystick and no console: the zones keep their values.
    for (int k = 0; k < 10; ++k) frame();
    EXPECT_EQ(j.joystick_pitch_nullzone, 0.05f);

    // A reading of 0.2 (0.342 of the travel through the 1.5 power curve) raises the zone at once.
    j.has_joystick = 1;
    stick_->axis(0, 34);
    frame();
    const float reading = std::pow(0.34f, 1.5f);
    EXPECT_NEAR(joystick_screen.display_words[0], reading, 1e-5f);
    EXPECT_NEAR(j.joystick_pitch_nullzone, 0.2f, 0.002f);
    // A roll to the left raises the roll zone by its size; the yaw zone stays.
    j.joystick_axis_assignments[1] = JOY_AXIS_ROLL;
    j.joystick_heading_nullzone = 0.0f;
    stick_->axis(1, -34);
    frame();
    EXPECT_NEAR(j.joystick_roll_nullzone, 0.2f, 0.002f);
    EXPECT_EQ(j.joystick_heading_nullzone, 0.0f);
    stick_->axis(1, 0);

    // Released, the zone falls off as e^(-0.5 t).
    stick_->axis(0, 0);
    for (int k = 0; k < 40; ++k) frame();
    EXPECT_NEAR(j.joystick_pitch_nullzone, reading * std::exp(-0.5f * 2.0f), 0.02f * reading * std::exp(-1.0f));

    // The yaw zone follows its axis the same way.
    j.joystick_axis_assignments[2] = JOY_AXIS_YAW;
    stick_->axis(2, 34);
    frame();
    EXPECT_NEAR(j.joystick_heading_nullzone, reading, 1e-4f);

    // A console alone is enough, and its own axes (pitch 7, roll 6, yaw 8) feed the zones.
    j.has_joystick = 0;
    j.eq_cirrusII_fun = 1;
    console.channel[7] = 0.6f;
    console.channel[6] = -0.7f;
    console.channel[8] = 0.8f;
    frame();
    EXPECT_FLOAT_EQ(j.joystick_pitch_nullzone, 0.6f);
    EXPECT_FLOAT_EQ(j.joystick_roll_nullzone, 0.7f);
    EXPECT_FLOAT_EQ(j.joystick_heading_nullzone, 0.8f);
    j.eq_cirrusII_fun = 0;
    console.channel[6] = console.channel[7] = console.channel[8] = 0.0f;
}

// The equipment tab lets the hardware go and opens it again on each one-second tick only.
TEST_F(JoystickScreen, TheEquipmentTabReopensTheHardwareOnTheSecondTick)
{
    joystick_screen.joystick_tab = 2;
    screen_settings.eq_gf_panels = 1;
    frame();
    EXPECT_FALSE(panel_modules.tried);
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    frame();
    EXPECT_TRUE(panel_modules.tried);
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    screen_settings.eq_gf_panels = 0;
}

// With the serial console as the control source the page shows no reset
// button: a click where it stands changes no calibration.
TEST_F(JoystickScreen, ConsoleSourceHidesTheCalibrationReset)
{
    sim_joystick_block& j = sim_joystick;
    joystick_screen.joystick_tab = 0;
    j.eq_cirrusII_fun = 2;
    clear_alerts();
    frame(290.0f, top() - 73.0f);
    EXPECT_EQ(j.joystick_axis_minimum[0], -100.0f);
    EXPECT_TRUE(recorded_alerts.empty());
    j.eq_cirrusII_fun = 0;
}

TEST_F(JoystickScreen, ConsoleModelsExcludeEachOther)
{
    sim_joystick_block& j = sim_joystick;
    joystick_screen.joystick_tab = 2;
    j.eq_cirrusII_app = 3;
    answer(150.0f, 250.0f, 2);
    EXPECT_EQ(j.eq_cirrusII_fun, 2);
    EXPECT_EQ(j.eq_cirrusII_app, 0);
    answer(150.0f, 200.0f, 5);
    EXPECT_EQ(j.eq_cirrusII_fun, 0);
    EXPECT_EQ(j.eq_cirrusII_app, 5);
}

}  // namespace
