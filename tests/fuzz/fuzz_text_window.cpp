// The text file window over a file of arbitrary bytes: opened through the
// file browser with the menu command, as the pilot opens one, then shown by
// one overlay of the flying view.
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

std::string text_file;

int chosen(int, int, char* name, char* path)
{
    std::snprintf(path, TEXT_SIZE, "%s", text_file.c_str());
    std::snprintf(name, TEXT_SIZE, "FUZZ.TXT");
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    if (text_file.empty()) {
        text_file = fuzz_program_folder() + "FUZZ.TXT";
        commands_browser = chosen;
    }
    return fuzz_read_file(text_file, data, size, [] {
        app_mode = MODE_FLYING;
        mouse = {};
        APPLICATION_handlemenu(1208);
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        SCENE_draw_overlay();
        glFinish();   // the drawing done within the input, its buffers freed
    });
}
