#include "screens/screen_layout.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "graphics/font.h"
#include "graphics/widget.h"

float frame_next_x = 0.0f;
float frame_next_y = 0.0f;
float frame_next_x2 = 0.0f;

void SCREEN_layout_reset() { frame_next_x = frame_next_y = frame_next_x2 = 0.0f; }
ORVELL_RESET(SCREEN_layout_reset, program);

void SCREEN_place_box(float top_margin, int style, float x, float y, float width, float height, const char* title,
                      bool second_column)
{
    BTN_place_frame(top_margin, style, x, y, width, height, title, second_column ? &frame_next_x2 : &frame_next_x,
                    &frame_next_y);
}

float SCREEN_width() { return screen.screen_area_width; }
float SCREEN_height() { return screen.screen_area_height; }

void SCREEN_help_label(const char* help, char* out, int size)
{
    std::snprintf(out, static_cast<size_t>(size), "{ %s", help ? help : "");
}

void SCREEN_text(float x, float y, int entry) { SCREEN_string(x, y, LANG_ui_text(entry)); }

void SCREEN_string(float x, float y, const char* text)
{
    OGL_draw_string(SCREEN_TEXT_COLOUR, x, y, text, SCREEN_NO_WRAP, SCREEN_TEXT_FONT);
}

int SCREEN_int(double value)
{
    if (!std::isfinite(value) || value <= -2147483649.0 || value >= 2147483648.0) return 0;
    return static_cast<int>(value);
}

int SCREEN_int(float value) { return SCREEN_int(static_cast<double>(value)); }

bool SCREEN_format_fits(const char* text, format_args kind)
{
    int ints = 0, doubles = 0;
    for (const char* p = text; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        if (*p == 'd' || *p == 'i') {
            ++ints;
        } else if (*p == 'l' && p[1] && std::strchr("fFeEgG", p[1])) {
            ++doubles;
            ++p;
        } else if (*p && std::strchr("fFeEgG", *p)) {
            ++doubles;
        } else {
            return false;   // a width from the arguments, a length, a text or a pointer: not ours
        }
    }
    switch (kind) {
    case format_args::one_int: return ints == 1 && doubles == 0;
    case format_args::two_ints: return ints == 2 && doubles == 0;
    case format_args::one_double: return ints == 0 && doubles == 1;
    }
    return false;
}

void SCREEN_format(int entry, format_args kind, char* out, int a, int b, double d)
{
    const char* f = LANG_ui_text(entry);
    if (!SCREEN_format_fits(f, kind)) {
        UTIL_strcpy(f, out);
        return;
    }
    switch (kind) {
    case format_args::one_int: std::snprintf(out, TEXT_SIZE, f, a); break;
    case format_args::two_ints: std::snprintf(out, TEXT_SIZE, f, a, b); break;
    case format_args::one_double: std::snprintf(out, TEXT_SIZE, f, d); break;
    }
}
