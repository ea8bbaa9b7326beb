// The interface texts over a file of arbitrary bytes: the whole language
// set-up of the start (menus from a small menu file of our own, then the
// texts), each text then measured and drawn as the screens draw it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include <GL/gl.h>

#include "core/folders.h"
#include "core/simvars/operation.h"
#include "core/ui_text.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "platform/plat_files.h"
#include "shell/lang.h"
#include "shell/menus.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Makes the folder of a file the program names in its own spelling.
void make_folder_of(const std::string& path)
{
    std::filesystem::create_directories(std::filesystem::path(PLAT_resolve_path(path.c_str())).parent_path());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    static const std::string file = [] {
        sim_operation_prefs_misc.language = 0;
        const std::string menus = std::string(folder_table[FOLDER_MENUS]) + MENU_language_folder(0) + "ORVELL.TXT";
        make_folder_of(menus);
        static const char menu_file[] = "I\n1 version\nMENUS\n0 File\n1208 Open Text File...\n208 Quit\n\n";
        fuzz_write_file(menus, reinterpret_cast<const uint8_t*>(menu_file), sizeof menu_file - 1);
        const std::string texts = std::string(folder_table[FOLDER_TEXT]) + MENU_language_folder(0) + "ORVELL.TXT";
        make_folder_of(texts);
        return texts;
    }();
    return fuzz_read_file(file, data, size, [] {
        sim_operation_prefs_misc.language = 0;
        LANG_load_text(0);
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        for (int n = 0; n < UI_TEXT_COUNT; ++n) {
            const char* text = LANG_ui_text(n);
            if (!text[0]) continue;
            const float width = static_cast<float>(OGL_string_width(text));
            OGL_draw_string(40, 10.0f, 700.0f, text, width < 1000.0f ? 1000.0f : width, 101);
        }
        glFinish();   // the drawing done within the input, its buffers freed
    });
}
