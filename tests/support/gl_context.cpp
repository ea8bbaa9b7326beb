#include "tests/graphics/gl_context.h"

#include "graphics/ogl_state.h"
#include "platform/plat_window.h"
#include "core/constants.h"
#include "shell/display.h"
#include "graphics/glprobe.h"
#include "core/screen.h"

bool ensure_gl_context()
{
    static const bool ready = [] {
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
