// One window with its OpenGL context for the whole test binary (1024 x 768,
// the offscreen driver where there is no display), probed and set to the
// program's default state, so every test binary (and benchmark) can draw.
#pragma once

#include "core/constants.h"
#include "core/screen.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "platform/plat_window.h"
#include "shell/display.h"

// Creates the window on first use (or takes the one already open), and sets
// the screen record for it at every call (the registry puts the record back
// before each test); false when no context could be made.
inline bool ensure_gl_context()
{
    screen.window_width = 1024;
    screen.window_height = 768;
    screen.colour_depth = 32;
    screen.full_screen = 0;
    DISPLAY_set_ui_mapping();
    static const bool ready = [] {
        // A program started earlier in the binary leaves its window open when
        // it stops: its context is drawn on instead of a second window.
        if (!PLAT_window_exists() && !OGL_create_window()) return false;
        OGL_probe_capabilities();
        CONST_fill_constants();
        OGL_fill_default_colors();
        return true;
    }();
    screen.system_window = PLAT_window_handle();
    return ready;
}
