// The application mode: the one window always shows exactly one mode.
//   -1       the intro picture (the next frame turns it into 0 without a switch)
//    0       flying
//    1..24   the settings screens (13 is the start screen)
//  996       the alert box
//  998, 999  the file browser, open and save
// Every change of mode goes through APPLICATION_set_mode with a reason text;
// the switch sizes and titles the current screen area and prepares the
// background picture of the new mode. The mode itself and the program-wide
// flags are published in core/app_mode.h.
#pragma once

#include <cstdint>

#include "core/app_mode.h"

// Texture slots of the twelve background tiles (3 rows of 4, 256 x 256 texels).
constexpr int BACKGROUND_FIRST_SLOT = 456;
constexpr int BACKGROUND_TILE = 256;

// Switches the application mode; the reason names the caller's situation.
// Two reasons change what the switch does: "select airport" and "planet region".
void APPLICATION_set_mode(int32_t mode, const char* reason);

// Rebuilds the twelve background textures from the pixel buffer; in flying
// mode the current view's panel picture is copied into the buffer first.
void MACIBM_load_background();
