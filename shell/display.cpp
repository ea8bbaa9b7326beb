#include "shell/display.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "graphics/widget.h"
#include "platform/plat_files.h"
#include "platform/plat_window.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/text_util.h"

int OGL_set_display_mode(int enter)
{
    if (screen.full_screen == 0) return 1;
    if (enter == 0) {
        PLAT_restore_display_mode();
        return 1;
    }
    const int count = PLAT_display_mode_count();
    for (int i = 0; i < count; ++i) {
        PLAT_display_mode m;
        if (!PLAT_get_display_mode(i, m)) break;
        if (m.width == 0 || m.height == 0 || m.bits_per_pixel == 0) continue;
        if (m.width != screen.window_width || m.height != screen.window_height ||
            m.bits_per_pixel != screen.colour_depth)
            continue;
        return PLAT_enter_display_mode(i) ? 1 : 0;
    }
    return 1;   // no such mode: the window opens on the desktop mode
}

int OGL_create_window()
{
    if (!PLAT_create_window("Kestrum", screen.window_width, screen.window_height)) return 0;
    screen.system_window = PLAT_window_handle();
    OGL_forget_kept_background();   // a new context holds none of the old one's objects
    // Before anything else can create a texture, every slot number becomes ours.
    OGL_reserve_texture_slots();
    return 1;
}

void DISPLAY_set_ui_mapping()
{
    const float w = static_cast<float>(screen.window_width);
    const float h = static_cast<float>(screen.window_height);
    screen.ui_scale = std::min(w / 1024.0f, h / 768.0f);
    screen.ui_side_margin = 0.0f;
    screen.ui_top_margin = 0.0f;
    // A width or height of 0 from the preferences would divide by zero below;
    // the margins then stay 0.
    if (screen.ui_scale <= 0.0f) return;
    if (screen.window_width > 1024) screen.ui_side_margin = (w / screen.ui_scale - 1024.0f) * 0.5f;
    if (screen.window_height > 768) screen.ui_top_margin = h / screen.ui_scale - 768.0f;
}

void DISPLAY_open()
{
    if (OGL_set_display_mode(1) != 0 && OGL_create_window() != 0) return;

    // The next start must not try the same resolution again: the resolution
    // preferences keep nothing but a header that no reader accepts.
    char path[TEXT_SIZE];
    UTIL_strcpy(pref_path_resolution, path);
    FILE_write_version(path, KIND_BINARY, -999);
    file_out.close();
    MACIBM_nuke_alert(0,
                      "I COULD NOT SET UP THE GRAPHICS FOR ORVELL! I HOPE YOUR MONITOR IS AT 1024X768 OR HIGHER! "
                      "IT MUST BE!",
                      "YOU DO NOT MEET THE SYSTEM REQUIREMENTS OR YOU DO NOT HAVE OPENGL DRIVERS OR YOU ENTERED A "
                      "BAD RESOLUTION IN ORVELL!",
                      "YOU NEED AT LEAST 256 MEG OF RAM, 16 MEG OF VRAM, AND OPENGL DRIVERS FOR YOUR 3-D "
                      "ACCELERATOR CARD!",
                      "IF YOU RESET THE RESOLUTION, YOU CAN TRY LAUNCHING ORVELL AGAIN, SINCE I AM RESETTING "
                      "ORVELL TO DEFAULT RESOLUTION NOW.",
                      ALERT_FATAL);
}

void DISPLAY_check_interface_file()
{
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_BITMAPS], "INTERFACE.PNG", path);
    FILE_colons_to_backslashes(path);
    FILE* f = PLAT_fopen(path, "rb");
    if (f) {
        std::fclose(f);
        return;
    }
    MACIBM_nuke_alert(0, "I CANNOT OPEN THE GRAPHICS INTERFACE FILE!",
                      "IT SEEMS THAT YOU HAVE MOVED ORVELL OUT OF THE KESTRUM FOLDER!", "NO! NO!",
                      "CREATE A SHORTCUT IF YOU WANT, BUT DO NOT MOVE THE ORVELL APPLICATION ITSELF OUT OF THE "
                      "KESTRUM FOLDER THAT IT CAME IN!",
                      ALERT_FATAL);
}

void DISPLAY_load_interface()
{
    int width = 0, height = 0;
    OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_INTERFACE, TEX_BRIGHT, "INTERFACE.PNG", width, height);
    OGL_sample_interface_colors();
}
