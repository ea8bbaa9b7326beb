// The application mode: -1 intro picture, 0 flying, 1..24 settings screens,
// 996 alert box, 998 open browser, 999 save browser.
#pragma once

#include <cstdint>

extern int32_t app_mode;

// 1 ends the main loop after the current frame.
extern int32_t quit_flag;

// Switches the application mode; the reason names the caller's situation.
void APPLICATION_set_mode(int32_t mode, const char* reason);
// Rebuilds the twelve background textures from the current view's panel picture.
void MACIBM_load_background();
