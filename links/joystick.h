// Joysticks: the per-frame poll of axes and buttons.
#pragma once

constexpr int JOY_POLL_OUTPUTS = 12;

// Reads and maps the joystick axes and buttons and exchanges with the serial
// console; `out` receives twelve scratch values.
void JOY_poll(float out[JOY_POLL_OUTPUTS], int flag);

// Opens and releases the game controllers.
void JOY_init();
void JOY_close();
