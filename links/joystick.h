// Joysticks: the per-frame poll of axes and buttons.
#pragma once

// Reads and maps the joystick axes and buttons and exchanges with the serial
// console. The twelve destinations are those of axis codes 1 to 12, in order:
// yoke pitch, roll and heading ratios, throttle axis, prop axis, left and
// right toe brakes, the first engine's prop request, mixture and heat, the
// thrust-vector request and the sweep request. Only destinations that an axis
// is assigned to are written; the others keep their values. `flying` is 1
// from the flight model and the paused cycle (which pass scratch floats), 0
// from the joystick screen (calibration and display).
void JOY_poll(float* yolk_pitch, float* yolk_roll, float* yolk_heading, float* throttle_axis, float* prop_axis,
              float* left_brake, float* right_brake, float* prop_request, float* mixture, float* heat,
              float* vector_request, float* sweep_request, int flying);

// Opens and releases the game controllers.
void JOY_init();
void JOY_close();
