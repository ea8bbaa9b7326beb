#include "graphics/loading_screen.h"

#include <GL/gl.h>

#include <algorithm>

#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "platform/plat_window.h"

loading_screen_state loading_screen;

ORVELL_RESET_RECORD(LOADING_reset, loading_screen, program);

void LOADING_pace_draws(bool paced)
{
    loading_screen.paced = paced;
    loading_screen.last_drawn = -1.0e9;
}

void LOADING_draw_screen(const char* message)
{
    if (!redraw_pending || !PLAT_window_exists()) return;

    // Progress: a call more than 0.1 s after the previous one starts the bar
    // again; quick calls grow it by 1 % each, from 2 % to full.
    const double now = UTIL_seconds();
    if (now - loading_screen.previous_time > 0.1) loading_screen.progress = 0;
    loading_screen.previous_time = now;
    float fraction = static_cast<float>(loading_screen.progress) / 100.0f;
    ++loading_screen.progress;
    fraction = std::clamp(fraction, 0.02f, 1.0f);
    loading_screen.bar_end = 10.0f + 1004.0f * fraction;

    // A whole window drawn and shown costs about as much as loading a few
    // pictures: while paced, the screen is drawn at most a few times a second.
    if (loading_screen.paced) {
        if (now - loading_screen.last_drawn < LOADING_PACED_INTERVAL) return;
        loading_screen.last_drawn = now;
    }

    const int32_t saved_pixel_drawing = draw_to_pixel_buffer;
    draw_to_pixel_buffer = 0;

    if (app_mode == MODE_INTRO) {
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

    const float bar_end = loading_screen.bar_end;
    BTN_frame1(4, 512.0f - left, 15.0f - bottom, 1004.0f, 0);
    BTN_frame1(5, (bar_end + 10.0f) / 2.0f - left, 15.0f - bottom, bar_end - 10.0f, 0);

    OGL_draw_string(63, 22.0f - left, 65.0f - bottom, message ? message : "", 280.0f, 100);

    OGL_swap_buffers();
    draw_to_pixel_buffer = saved_pixel_drawing;
}
