// sim/joystick/: the controllers' settings, assignments and readings.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/joystick/: response settings, equipment and axis and button assignments.
constexpr int JOYSTICK_AXES = 15;
constexpr int JOYSTICK_BUTTONS = 96;
struct sim_joystick_block {
    float joystick_pitch_nullzone;
    float joystick_roll_nullzone;
    float joystick_heading_nullzone;
    float joystick_pitch_sensitivity;
    float joystick_roll_sensitivity;
    float joystick_heading_sensitivity;
    int32_t eq_ped_nobrk;             // pedals without toe brakes
    int32_t eq_ped_wibrk;             // pedals with toe brakes
    int32_t eq_cirrusII_fun;          // serial console models (at most one set)
    int32_t eq_cirrusII_app;
    int32_t eq_pfc_pedals;
    int32_t eq_pfc_cirrus2;
    int32_t has_joystick;             // a game controller is attached
    int32_t mouse_is_joystick;        // the pointer flies the plane
    int32_t joystick_axis_assignments[JOYSTICK_AXES];
    int32_t joystick_button_assignments[JOYSTICK_BUTTONS];
    int32_t joystick_axis_reverse[JOYSTICK_AXES];
    float joystick_axis_minimum[JOYSTICK_AXES];
    float joystick_axis_maximum[JOYSTICK_AXES];
    float yolk_pitch_ratio;           // -1..1
    float yolk_roll_ratio;
    float yolk_heading_ratio;
    // Artificial-stability inputs added to the control deflections.
    float artstab_pitch_ratio;
    float artstab_roll_ratio;
    float artstab_heading_ratio;
    // What the controllers read this frame: each axis in the device range
    // -100..100, and each button or hat direction (non-zero = down).
    float joystick_axis_values[JOYSTICK_AXES];
    int32_t joystick_button_values[JOYSTICK_BUTTONS];
};
extern sim_joystick_block sim_joystick;

// sim/joystick/pfc/: the serial cockpit console's autopilot buttons and lamps.
struct sim_joystick_pfc_block {
    // Presses counted in the hundreds, the last button's code below them.
    int32_t last_autopilot_button_input;
    // The lamp byte a plug-in sends instead of the autopilot's own
    // (override_pfc_autopilot_lites): bit 7 the engaged form, bits 0..6 the lamps.
    int32_t autopilot_lites;
};
extern sim_joystick_pfc_block sim_joystick_pfc;
