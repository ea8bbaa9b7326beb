// The application mode: the one window always shows exactly one mode.
//   -1       the intro picture (the next frame turns it into 0 without a switch)
//    0       flying
//    1..24   the settings screens (13 is the start screen)
//  996       the alert box
//  998, 999  the file browser, open and save
// The mode switch itself (APPLICATION_set_mode) belongs to the program's spine;
// everything else reads the mode and the program-wide flags from here.
#pragma once

#include <cstdint>

constexpr int32_t MODE_INTRO = -1;
constexpr int32_t MODE_FLYING = 0;
constexpr int32_t MODE_FIRST_SCREEN = 1;
constexpr int32_t MODE_LAST_SCREEN = 24;
constexpr int32_t MODE_START_SCREEN = 13;
constexpr int32_t MODE_ALERT = 996;
constexpr int32_t MODE_BROWSER_OPEN = 998;
constexpr int32_t MODE_BROWSER_SAVE = 999;

extern int32_t app_mode;

// 1 ends the main loop after the current frame.
extern int32_t quit_flag;

// Set by the start-up once the window, the OpenGL context and the first mode
// exist; while it is 0 an alert goes to the platform's message box.
extern int32_t gl_ready;

// Set by every mode switch (and two commands), cleared by the scene's 2-D
// pass; the loading screen draws nothing while it is 0.
extern int32_t redraw_pending;
