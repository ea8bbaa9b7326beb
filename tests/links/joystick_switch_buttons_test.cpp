// The buttons that work a panel switch, the gear handle or a rocket: each
// reaches the panel with its own command (read back from the panel's
// current-instrument word, which every switch command sets).
#include <gtest/gtest.h>

#include "panel/panel.h"
#include "tests/links/joystick_fixture.h"

using JoystickButtons = JoystickState;

TEST_F(JoystickButtons, SwitchGearAndRocketButtonsPassTheirOwnCommands)
{
    // Buttons 69-75: the panel switch commands in their order.
    const int switches[][2] = {{69, 7}, {70, 389}, {71, 13}, {72, 14}, {73, 10}, {74, 11}, {75, 12}};
    for (const auto& [code, command] : switches) {
        panel_ins_type = -5;
        JOY_button_pressed(code);
        EXPECT_EQ(panel_ins_type, command) << "button " << code;
    }

    // Buttons 52 and 53 work the gear handle (command 20) only up or only down.
    const struct {
        int code, handle;
        bool works;
    } gear[] = {{52, 1, true}, {52, 0, false}, {53, 0, true}, {53, 1, false}, {51, 0, true}, {51, 1, true}};
    for (const auto& g : gear) {
        panel_ins_type = -5;
        sim_cockpit_switches.gear_handle_status = g.handle;
        JOY_button_pressed(g.code);
        EXPECT_EQ(panel_ins_type, g.works ? 20 : -5) << "button " << g.code << " handle " << g.handle;
    }

    // Buttons 85-90, while held, fire the rockets of their type for two frames.
    const int rockets[][2] = {{85, 384}, {86, 385}, {87, 383}, {88, 382}, {89, 381}, {90, 380}};
    for (const auto& [code, type] : rockets) {
        flt[0].rocket_mode = 0;
        flt[0].rocket_timeout = 0.0f;
        JOY_button_held(code);
        EXPECT_EQ(flt[0].rocket_mode, type) << "button " << code;
        EXPECT_FLOAT_EQ(flt[0].rocket_timeout, frame_clock + 2.0f * 0.05f) << "button " << code;
    }
}
