// The application mode: the one window always shows exactly one mode.
//   -1       the intro picture (the next frame turns it into 0 without a switch)
//    0       flying
//    1..24   the settings screens (13 is the start screen)
//  996       the alert box
//  998, 999  the file browser, open and save
// Every change of mode goes through APPLICATION_set_mode with a reason text;
// the switch sizes and titles the current screen area and prepares the
// background picture of the new mode.
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

// Set by every mode switch; the loading screen draws only while it is set and
// the flying view's 2-D overlay clears it (defined with the loading screen).
extern int32_t redraw_pending;

// Texture slots of the twelve background tiles (3 rows of 4, 256 x 256 texels).
constexpr int BACKGROUND_FIRST_SLOT = 456;
constexpr int BACKGROUND_TILE = 256;

// Switches the application mode; the reason names the caller's situation.
// Two reasons change what the switch does: "select airport" and "planet region".
void APPLICATION_set_mode(int32_t mode, const char* reason);

// Rebuilds the twelve background textures from the pixel buffer; in flying
// mode the current view's panel picture is copied into the buffer first.
void MACIBM_load_background();
