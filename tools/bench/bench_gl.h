// An OpenGL context for the benchmarks that build display lists: one
// 1024 x 768 window (the offscreen driver when there is no display), probed
// and set to the program's default state.
#pragma once

#include <cstdlib>

#include "core/constants.h"
#include "core/screen.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "platform/plat_window.h"
#include "shell/display.h"

inline bool bench_gl_context()
{
    static const bool ready = [] {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        screen.window_width = 1024;
        screen.window_height = 768;
        screen.colour_depth = 32;
        screen.full_screen = 0;
        DISPLAY_set_ui_mapping();
        if (!OGL_create_window()) return false;
        OGL_probe_capabilities();
        CONST_fill_constants();
        OGL_fill_default_colors();
        return true;
    }();
    return ready;
}
