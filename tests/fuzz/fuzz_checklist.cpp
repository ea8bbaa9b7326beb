// The checklist window over a file of arbitrary bytes: opened through the
// file browser with the menu command, as the pilot opens one, then stepped
// through with clicks on its arrow, each step drawn by the overlay of the
// flying view and its line spoken.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <GL/gl.h>

#include "core/app_mode.h"
#include "core/input.h"
#include "core/overlay_texts.h"
#include "graphics/ogl_state.h"
#include "scene/effects/overlay.h"
#include "shell/commands.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int FIRST_STEPS = 8;

std::string list_file;

int chosen(int, int, char* name, char* path)
{
    std::snprintf(path, TEXT_SIZE, "%s", list_file.c_str());
    std::snprintf(name, TEXT_SIZE, "FUZZ.TXT");
    return 1;
}

// One overlay, with a click on the forward arrow when `step`.
void overlay(bool step)
{
    mouse = {};
    if (step) {
        mouse.mouse_x = 223.0f;
        mouse.mouse_y = 612.0f;
        mouse.mouse_down = 1;
    }
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    SCENE_draw_overlay();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    if (list_file.empty()) {
        list_file = fuzz_program_folder() + "FUZZ.TXT";
        commands_browser = chosen;
    }
    return fuzz_read_file(list_file, data, size, [] {
        app_mode = MODE_FLYING;
        APPLICATION_handlemenu(1211);
        // The first lines stepped through one by one, then the last line
        // and the empty one shown past it (every line is drawn alike; the
        // software renderer keeps the steps few).
        for (int k = 0; k <= std::min<int>(checklist_count, FIRST_STEPS); ++k) overlay(k > 0);
        if (checklist_count > FIRST_STEPS) {
            checklist_current = checklist_count - 2;
            overlay(true);
            overlay(true);
        }
        glFinish();   // the drawing done within the input, its buffers freed
    });
}
