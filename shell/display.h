// The display: full-screen mode switch, the program's window with its OpenGL
// context and the interface mapping.
#pragma once

#include <cstdint>

#include "core/app_mode.h"
#include "graphics/loading_screen.h"

// Enter 1: switches the display into the mode of exactly the window's size and
// colour depth when full screen is on and such a mode exists; enter 0 restores
// the desktop mode. Returns 1 on success, 0 when the switch failed.
int OGL_set_display_mode(int enter);
// Creates the window, its pixel format and OpenGL context, makes the context
// current and reserves the texture slot names. 1 on success, 0 otherwise.
int OGL_create_window();

// Start-up steps of the display, in the order the start-up runs them:
// the interface mapping from the window size (ui_scale and the margins);
void DISPLAY_set_ui_mapping();
// the display mode, window and context; on failure the resolution preferences
// are reset to a header of version -999 and a fatal alert is raised;
void DISPLAY_open();
// the check that "INTERFACE.PNG" is in the bitmaps folder (fatal alert if not);
void DISPLAY_check_interface_file();
// the interface texture (TEX_SLOT_INTERFACE) and the interface colours sampled from it.
void DISPLAY_load_interface();
