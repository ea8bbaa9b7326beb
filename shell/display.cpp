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
#include "shell/alert.h"
#include "shell/datafile.h"
#include "shell/folders.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "shell/text_util.h"

int32_t redraw_pending = 0;
loading_screen_state loading_screen;

void LOADING_reset() { loading_screen = loading_screen_state{}; }

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
    // Before anything else can create a texture, every slot number becomes ours.
    OGL_reserve_texture_slots();
    return 1;
}

void MACIBM_loading_screen(const char* message)
{
    if (!redraw_pending || !PLAT_window_exists()) return;
    const int32_t saved_pixel_drawing = draw_to_pixel_buffer;
    draw_to_pixel_buffer = 0;

    if (app_mode == -1) {
        OGL_draw_background();
    } else {
        OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF,
                      STATE_DEPTH_WRITE_OFF);
        OGL_apply_color(36, 1.0f);
        const float side = screen.ui_side_margin, top = screen.ui_top_margin;
        glBegin(GL_QUADS);
        glVertex2f(-side, 0.0f);
        glVertex2f(-side, top + 768.0f);
        glVertex2f(1024.0f + side, top + 768.0f);
        glVertex2f(1024.0f + side, 0.0f);
        glEnd();
    }

    // Everything is placed in whole-window units, whatever the current screen's origin.
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    BTN_frame2(15, 8.0f - left, 31.0f - bottom, 310.0f, 206.0f, "");

    // Progress: a call more than 0.1 s after the previous one starts the bar
    // again; quick calls grow it by 1 % each, from 2 % to full.
    const double now = UTIL_seconds();
    if (now - loading_screen.previous_time > 0.1) loading_screen.progress = 0;
    loading_screen.previous_time = now;
    float fraction = static_cast<float>(loading_screen.progress) / 100.0f;
    ++loading_screen.progress;
    fraction = std::clamp(fraction, 0.02f, 1.0f);
    loading_screen.bar_end = 10.0f + 1004.0f * fraction;
    const float bar_end = loading_screen.bar_end;
    BTN_frame1(4, 512.0f - left, 15.0f - bottom, 1004.0f, 0);
    BTN_frame1(5, (bar_end + 10.0f) / 2.0f - left, 15.0f - bottom, bar_end - 10.0f, 0);

    OGL_draw_string(63, 22.0f - left, 65.0f - bottom, message ? message : "", 280.0f, 100);

    OGL_swap_buffers();
    draw_to_pixel_buffer = saved_pixel_drawing;
}

void DISPLAY_set_ui_mapping()
{
    const float w = static_cast<float>(screen.window_width);
    const float h = static_cast<float>(screen.window_height);
    screen.ui_scale = std::min(w / 1024.0f, h / 768.0f);
    screen.ui_side_margin = 0.0f;
    screen.ui_top_margin = 0.0f;
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
    OGL_load_tex_file(LOAD_TEXTURE, 444, TEX_BRIGHT, "INTERFACE.PNG", width, height);
    OGL_sample_interface_colors();
}
