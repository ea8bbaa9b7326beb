// Click and drag tests of the instrument drawers. Spots are given in design
// units about the slot's centre; a design unit is `panel_ins_scale` screen
// units, and the mouse is taken relative to the slot origin.
#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "graphics/ogl_draw.h"
#include "panel/panel_kit.h"

namespace {

constexpr int SPOT_OUTLINE_COLOUR = 59;

float mouse_dx() { return mouse.mouse_x - screen.screen_area_left; }
float mouse_dy() { return mouse.mouse_y - screen.screen_area_bottom; }
bool menu_open() { return screen.open_menu != -1; }

void outline(float x, float y, float w, float h)
{
    if (sim_graphics_misc.show_panel_click_spots != 0) OGL_draw_rect_outline(SPOT_OUTLINE_COLOUR, 1.0f, x, y, w, h);
}

// Whether the mouse lies in the box (screen units about the origin), bounds inclusive.
bool mouse_in(float x1, float y1, float x2, float y2)
{
    const float dx = mouse_dx(), dy = mouse_dy();
    return x1 <= dx && dx <= x2 && y1 <= dy && dy <= y2;
}

}  // namespace

int PANEL_click_rect(float x1, float y1, float x2, float y2, int held)
{
    const float s = panel_ins_scale;
    outline(x1 * s, y1 * s, (x2 - x1) * s, (y2 - y1) * s);
    if (menu_open()) return 0;
    const int trigger = held == 0 ? mouse.mouse_down : mouse.mouse_held;
    if (!trigger) return 0;
    return mouse_in(x1 * s, y1 * s, x2 * s, y2 * s) ? 1 : 0;
}

int PANEL_click_spot(float cx, float cy, float r, int held)
{
    return PANEL_click_rect(cx - r, cy - r, cx + r, cy + r, held);
}

float PANEL_drag_spot(float cx, float cy, float r, float click_step, float rate, int use_rate)
{
    const float s = panel_ins_scale;
    const float x1 = (cx - r) * s, y1 = (cy - r) * s, x2 = (cx + r) * s, y2 = (cy + r) * s;
    outline(x1, y1, x2 - x1, y2 - y1);
    if (menu_open() || !mouse.mouse_held || !mouse_in(x1, y1, x2, y2)) return 0.0f;
    float amount = 0.0f;
    if (mouse.mouse_down) amount = click_step;
    if (mouse.mouse_panel_drag && use_rate) amount = rate * sim_operation_misc.frame_rate_period;
    const float dx = mouse_dx() - cx * s, dy = mouse_dy() - cy * s;
    if (dx > -dy) return amount;
    if (dx < -dy) return -amount;
    return 0.0f;
}

int PANEL_dual_knob(float cx, float cy)
{
    const int inner = static_cast<int>(PANEL_drag_spot(cx, cy, 5.0f, 2.0f, 2.0f, 0));
    if (inner != 0) return inner;
    return static_cast<int>(PANEL_drag_spot(cx, cy, 15.0f, 1.0f, 1.0f, 0));
}

int PANEL_lever_drag(float va, float vb, float* value, float ya, float yb, float w, int keep)
{
    if (!value) return 0;   // no value to set: writing through it would crash
    const float lo_y = std::min(ya, yb), hi_y = std::max(ya, yb);
    float y = (va == vb) ? (ya + yb) * 0.5f : ya + (*value - va) * (yb - ya) / (vb - va);
    // A value that is not a number (written from outside) would place the
    // handle nowhere; it is drawn at end A instead.
    if (!std::isfinite(y)) y = ya;
    y = std::clamp(y, lo_y, hi_y);
    PANEL_draw_control(0.0f, y, 0);

    const float s = panel_ins_scale;
    const float x1 = -w * s, x2 = w * s, y1 = yb - 10.0f * s, y2 = ya + 10.0f * s;
    outline(x1, y1, x2 - x1, y2 - y1);
    const bool active = !menu_open() && mouse.mouse_held && mouse_in(x1, y1, x2, y2);
    if (!active && keep == 0) return 0;

    if (ya == yb) {
        *value = (va + vb) * 0.5f;
    } else {
        const float v = va + (mouse_dy() - ya) * (vb - va) / (yb - ya);
        *value = std::clamp(v, std::min(va, vb), std::max(va, vb));
    }
    return 1;
}

float PANEL_rot_x(float x, float y, float angle_deg)
{
    const float a = angle_deg * units.deg_to_rad;
    return x * std::cos(a) - y * std::sin(a);
}

float PANEL_rot_y(float x, float y, float angle_deg)
{
    const float a = angle_deg * units.deg_to_rad;
    return x * std::sin(a) + y * std::cos(a);
}

int PANEL_in_range(float x, float lo, float hi) { return (lo <= x && x <= hi) ? 1 : 0; }

