// Stand-in of the 2-D overlay of the flying view until it is built: only the
// ATC window is handled (a click inside it, then the shaded box and the
// window's contents); it ends the redraw that a mode switch asked for.
#include "scene/scene_draw.h"

#include "core/app_mode.h"
#include "core/input.h"
#include "graphics/ogl_draw.h"
#include "world/atc.h"

void SCENE_draw_overlay()
{
    const bool inside = mouse.mouse_x >= 2.0f && mouse.mouse_x <= 1022.0f && mouse.mouse_y >= 453.0f &&
                        mouse.mouse_y <= 748.0f;
    if (mouse.mouse_down && atc_state.atc_window_open && inside) ATC_request_menu(1);
    if (atc_state.atc_window_open) {
        OGL_shade_box(2.0f, 453.0f, 1022.0f, 748.0f, 0.5f);
        ATC_request_menu(0);
    }
    redraw_pending = 0;
}
