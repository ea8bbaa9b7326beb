#include "graphics/button.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "graphics/widget_record.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/units.h"

int32_t slider_dragging = 0;
void BTN_slider_reset() { slider_dragging = 0; }
ORVELL_RESET(BTN_slider_reset, program);

namespace {

// The three parts of a label, split once per call.
struct label_parts {
    char caption[TEXT_SIZE];
    char second[TEXT_SIZE];
    char help[TEXT_SIZE];
    explicit label_parts(const char* label) { BTN_split_label(label, caption, second, help); }
};

bool menu_open() { return screen.open_menu != -1; }

// 10^k; k is worked as a double so that no digit count or decimals overflow.
double power_of_ten(double k) { return std::pow(10.0, k); }

}  // namespace

int BTN_tab(int n, int row, int* selected, const char* label)
{
    const WIDGET_inside inside;
    const float cx = 88.0f * static_cast<float>(n) + 62.0f;
    const float cy = screen.screen_area_height - 38.0f - 30.0f * static_cast<float>(row);
    WIDGET_record(WIDGET_BOX_FIELD, cx - 44.0f, cy - 13.0f, cx + 44.0f, cy + 13.0f, label);   // tabs overlap by their rims
    int result = 0;
    if (mouse.mouse_down && BTN_mouse_in(cx - 50.0f, cx + 40.0f, cy - 13.0f, cy + 13.0f)) {
        *selected = n;
        result = 1;
    }
    const bool is_selected = *selected == n;
    const float ty1 = is_selected ? 486.0f : 459.0f;
    BTN_art_quad(cx - 49.0f, cy - 13.0f, cx + 49.0f, cy + 13.0f, 204, ty1, 302, ty1 + 26.0f);
    OGL_draw_string(is_selected ? 43 : 44, cx - 35.0f, cy - 4.0f, label, FONT_NO_WRAP, 103);
    return result;
}

int BTN_push_button(float x, float y, int shown_pressed, int flash, const char* label)
{
    const WIDGET_inside inside(true);   // the caption is the button's face
    const label_parts parts(label);
    const float label_width = static_cast<float>(OGL_string_width(label));
    const float w = label_width + 21.0f;
    WIDGET_record(WIDGET_BOX_FIELD, x - w / 2.0f, y - 10.0f, x + w / 2.0f, y + 10.0f, label);
    BTN_frame1(2, x, y, w);
    if (shown_pressed) BTN_frame1(3, x, y, w);
    BTN_draw_label(x - label_width / 2.0f, y - 4.0f, 1, parts.caption);

    if (menu_open()) return 0;
    if (!(mouse.mouse_down && BTN_mouse_in(x - w / 2.0f, x + w / 2.0f, y - 10.0f, y + 10.0f))) return 0;
    if (!shown_pressed && flash) {
        // Show the pressed look before the caller's action runs.
        BTN_frame1(3, x, y, w);
        BTN_draw_label(x - label_width / 2.0f, y - 4.0f, 1, label);
        OGL_swap_buffers();
    }
    return 1;
}

int BTN_check_box(float x, float y, int* value, const char* label, int small)
{
    const WIDGET_inside inside;
    const label_parts parts(label);
    const float art_x = small ? 92.0f : 148.0f;
    const float art_y = small ? 132.0f : 187.0f;
    const float tick_y = small ? 151.0f : 206.0f;
    WIDGET_record(WIDGET_BOX_FIELD, x - 7.0f, y - 3.0f, x + 7.0f, y + 11.0f, label);
    BTN_draw_ui_sprite(x, y + 4.0f, art_x, art_y, 9.0f, 9.0f, 0);
    if (*value != 0) BTN_draw_ui_sprite(x, y + 4.0f, art_x, tick_y, 9.0f, 9.0f, 49);
    BTN_draw_label(x - 12.0f, y, 0, parts.caption);
    BTN_draw_label(x + 12.0f, y, 2, parts.second);

    if (menu_open()) return 0;
    if (!BTN_mouse_in(x - 8.0f, x + 8.0f, y - 4.0f, y + 12.0f)) return 0;
    BTN_set_hover(parts.help);
    if (!mouse.mouse_down) return 0;
    *value = *value == 0 ? 1 : 0;
    return 1;
}

int BTN_radio_button(float x, float y, int* variable, int option_value, const char* label)
{
    int ticked = *variable == option_value ? 1 : 0;
    const int result = BTN_check_box(x, y, &ticked, label, 1);
    if (ticked == 1) *variable = option_value;
    return result;
}

int BTN_slider(float x, float y, int style, float low, float high, float* value, int editable, const char* label,
               const char* value_text)
{
    const WIDGET_inside inside;
    const label_parts parts(label);
    if (low < high && high < low + 0.01f) high = low + 0.01f;
    if (low >= high && low < high + 0.01f) low = high + 0.01f;

    float T = 0.0f;
    switch (style) {
    case 0: case 1: case 5: case 6: case 7: case 8: T = 156.0f; break;
    case 2: case 3: case 4: T = 312.0f; break;
    case 9: T = 500.0f; break;
    }
    const float K = editable ? 18.0f : 0.0f;
    // The track, and the reach of the knob that runs along it.
    if (editable) WIDGET_record(WIDGET_BOX_FIELD, x - 10.0f, y - 9.0f, x + T + 10.0f, y + 13.0f, label);
    else WIDGET_record(WIDGET_BOX_FIELD, x, y - 5.0f, x + T, y + 5.0f, label);

    BTN_frame1(7, x + T / 2.0f, y, T + K);
    BTN_draw_label(x - 9.0f, y, 0, parts.caption);
    BTN_draw_label(x + T + 11.0f, y, 2, parts.second);
    if (BTN_mouse_in(x, x + T, y - 7.0f, y + 7.0f)) BTN_set_hover(parts.help);

    if (value_text && value_text[0]) {
        const float tw = static_cast<float>(OGL_string_width(value_text));
        const float tx = UTIL_is_number_text(value_text) ? x + T - tw : x + T / 2.0f - tw / 2.0f + 5.0f;
        OGL_draw_string(45, tx, y + 10.0f, value_text, FONT_NO_WRAP, 103);
    }

    // The bar gauge, from the value as it stands before this frame's drag.
    const float v = *value;
    int fill_colour = 50;
    float fill_start = x, fill_length = 0.0f;
    bool has_fill = true;
    switch (style) {
    case 0: case 2: case 6: fill_colour = 50; break;
    case 1: fill_colour = 64; break;
    case 4: fill_colour = 58; break;
    case 7: fill_colour = 53; break;
    case 8: fill_colour = 67; break;
    case 3:
        if (v >= 0.0f) fill_colour = 58;
        if (v <= 0.0f) fill_colour = 50;
        break;
    case 5: break;
    default: has_fill = false; break;
    }
    if (style == 5) {
        // Centred, from the middle of the track outward, as long as the value
        // asks. Held within what an int holds (the length is cut to one
        // below), which lies far off the screen.
        constexpr float longest = 1.0e6f;
        if (v >= 0.0f) {
            fill_colour = 50;
            fill_length = std::min(T * v / 2.0f, longest);
            fill_start = x + T / 2.0f;
        }
        if (v <= 0.0f) {
            fill_colour = 58;
            fill_length = std::min(-T * v / 2.0f, longest);
            fill_start = x + T / 2.0f - fill_length;
        }
    } else if (has_fill) {
        fill_length = high == low ? T / 2.0f : UTIL_clamp_nan_low((v - low) * T / (high - low), 0.0f, T);
    }

    int result = 0;
    if (editable) {
        const float lo = std::min(low, high), hi = std::max(low, high);
        float knob_x = hi == lo ? x + T / 2.0f : UTIL_clamp_nan_low(x + (v - lo) * T / (hi - lo), x, x + T);
        BTN_art_quad(knob_x - 10.0f, y - 9.0f, knob_x + 10.0f, y + 13.0f, 262, 267, 282, 289);

        if (!mouse.mouse_held) {
            slider_dragging = 0;
        } else {
            const float g = slider_dragging ? 20.0f : 10.0f;
            if (BTN_mouse_in(x - 10.0f, x + T + 10.0f, y - g, y + g)) {
                *value = T == 0.0f ? (lo + hi) / 2.0f
                                   : UTIL_clamp_nan_low(lo + (mouse.mouse_x - x) * (hi - lo) / T, lo, hi);
                slider_dragging = 1;
                result = 1;
            }
        }
    }

    if (has_fill && fill_length > 0.0f) {
        int length = static_cast<int>(fill_length);
        if (length % 2 != 0) ++length;
        const float len = static_cast<float>(length);
        if (editable)
            BTN_frame1(8, fill_start + len / 2.0f - 5.0f, y + 5.0f, len + 10.0f, fill_colour);
        else
            BTN_frame1(8, fill_start + len / 2.0f + 1.0f, y + 5.0f, len, fill_colour);
    }
    return result;
}

void BTN_direction_dial(float x, float y, float* angle, float* scale)
{
    const WIDGET_inside inside;
    WIDGET_record(WIDGET_BOX_FIELD, x - 30.0f, y - 54.0f, x + 30.0f, y + 28.0f, "direction dial");
    BTN_art_quad(x - 28.0f, y - 28.0f, x + 28.0f, y + 28.0f, 178, 161, 234, 217);
    BTN_art_quad(x - 30.0f, y - 45.0f - 9.0f, x, y - 45.0f + 9.0f, 210, 106, 240, 124);
    BTN_art_quad(x, y - 45.0f - 9.0f, x + 30.0f, y - 45.0f + 9.0f, 241, 106, 271, 124);
    if (!mouse.mouse_down) return;

    if (BTN_mouse_in(x - 30.0f, x + 30.0f, y - 30.0f, y + 30.0f)) {
        float a = static_cast<float>(std::atan2(mouse.mouse_x - x, mouse.mouse_y - y) * RAD_TO_DEG_DOUBLE);
        if (a < 0.0f) a += 360.0f;
        if (a >= 360.0f) a -= 360.0f;
        *angle = a;
    }
    if (mouse.mouse_y >= y - 55.0f && mouse.mouse_y <= y - 35.0f) {
        if (mouse.mouse_x >= x - 30.0f && mouse.mouse_x <= x) *scale /= 1.5f;
        if (mouse.mouse_x >= x && mouse.mouse_x <= x + 30.0f) *scale *= 1.5f;
    }
}

int BTN_digit_field(float x, float y, float* value, int digits, int decimals, float minimum, float maximum,
                    const char* label)
{
    const WIDGET_inside inside;
    const label_parts parts(label);
    const float d = static_cast<float>(digits);
    WIDGET_record(WIDGET_BOX_FIELD, x - 9.0f, y - 15.0f, x + 10.0f * d + 7.0f, y + 22.0f, label);
    int result = 0;
    if (!menu_open() && BTN_mouse_in(x, x + 10.0f * d, y - 18.0f, y + 24.0f)) {
        if (BTN_mouse_in(x, x + 10.0f * d, y - 2.0f, y + 8.0f)) BTN_set_hover(parts.help);
        if (mouse.mouse_down) {
            const bool down = mouse.mouse_y < y + 3.0f;
            for (int i = 0; i < std::min(digits, 10); ++i) {
                const float fi = static_cast<float>(i);
                if (mouse.mouse_x < x + 10.0f * fi || mouse.mouse_x > x + 10.0f * (fi + 1.0f)) continue;
                const float step = static_cast<float>(power_of_ten(static_cast<double>(digits) - 1.0 - i - decimals));
                *value += down ? -step : step;
                result = 1;
            }
        }
    }
    *value = UTIL_clamp_nan_low(*value, minimum, maximum);

    BTN_util_draw_boxed_button(x + 5.0f * d - 1.0f, y + 3.0f, 10.0f * d + 15.0f, 2.0f, digits);
    BTN_draw_label(x - 12.0f, y, 0, parts.caption);
    BTN_draw_label(x + 10.0f * d + 12.0f, y, 2, parts.second);
    OGL_draw_string_fmt(46, x + 4.0f, y, *value, digits, decimals, minimum < 0.0f ? 1 : 0, 104);
    return result;
}

float BTN_digit_field_auto_max(int digits, int decimals)
{
    if (digits < 1 || digits > 10) return 0.0f;
    // 9, 9.9, 9.99, ... 9.999999999: every digit at 9.
    const double factor = 10.0 - power_of_ten(1 - digits);
    return static_cast<float>(power_of_ten(static_cast<double>(digits) - 1.0 - decimals) * factor);
}

int BTN_digit_field_auto(float x, float y, float* value, int digits, int decimals, int negative_allowed,
                         const char* label)
{
    const float maximum = BTN_digit_field_auto_max(digits, decimals);
    const float minimum = negative_allowed ? -maximum : 0.0f;
    return BTN_digit_field(x, y, value, digits, decimals, minimum, maximum, label);
}

int BTN_digit_field_int(float x, float y, int* value, int digits, float minimum, float maximum, const char* label)
{
    float f = static_cast<float>(*value);
    const int result = BTN_digit_field(x, y, &f, digits, 0, minimum, maximum, label);
    // Truncated toward zero, and kept within what an int holds: a float
    // beyond it has no int value to store.
    f = std::trunc(f);
    if (!(f > -2147483648.0f)) f = -2147483648.0f;
    if (f >= 2147483648.0f) f = 2147483520.0f;
    *value = static_cast<int>(f);
    return result;
}
