// Screen 4, the joystick and equipment screen (SETUP_joystick_equipment in
// screens/setup.h): tab 0 the assignment page (JOY_setup_screen), tab 1 the
// response settings with the null-zone calibration, tab 2 the cockpit
// equipment, the serial console and the projection settings.
#pragma once

#include <cstdint>

constexpr int JOYSTICK_DISPLAY_WORDS = 12;   // pitch, roll, yaw, then the other nine axis destinations

struct joystick_screen_state {
    int32_t joystick_tab = 0;   // 0 assignment, 1 response, 2 equipment
    // What the poll filled in display mode, kept between frames.
    float display_words[JOYSTICK_DISPLAY_WORDS] = {};
};
extern joystick_screen_state joystick_screen;
void SETUP_joystick_reset();
