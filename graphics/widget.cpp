#include "graphics/widget.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget_record.h"
#include "core/alert.h"
#include "core/input.h"
#include "core/app_mode.h"
#include "core/screen.h"

namespace {

// A text cut to 499 characters in a buffer of our own.
void copy_limited(const char* text, char out[TEXT_SIZE])
{
    if (!text) text = "";
    size_t n = strnlen(text, TEXT_MAX_LEN);
    std::memcpy(out, text, n);
    out[n] = 0;
}

void append_char(char* buffer, size_t& length, char c)
{
    if (length < TEXT_MAX_LEN) {
        buffer[length++] = c;
        buffer[length] = 0;
    }
}

void drop_one_trailing_space(char* text, size_t length)
{
    if (length > 0 && text[length - 1] == ' ') text[length - 1] = 0;
}

// Rounds a length to the nearest even number, halves away from zero.
float round_even(float v) { return 2.0f * std::round(v / 2.0f); }

// One piece of a stretchable strip along one axis: strip span [p0, p1] (from
// the strip's start) drawn with art span [a0, a1] (from the art box's start).
struct strip_piece {
    float p0, p1, a0, a1;
};

// How a middle piece that is cut short at the end cap takes its art end.
enum cut_rule { CUT_TRACK, CUT_STRIP, CUT_PROPORTION };

// Lays a strip of length L with caps of length c from an art box of length A:
// start cap, middle pieces repeated as often as needed (the last one cut at
// the end cap), end cap.
template <class F>
void lay_strip(float L, float c, float A, cut_rule rule, F&& piece)
{
    // A length that is not finite (a damaged value) has no pieces to count:
    // nothing is drawn.
    if (!std::isfinite(L)) return;
    piece(strip_piece{0.0f, c, 0.0f, c});
    const float m = A - 2.0f * c;
    if (m > 0.0f) {
        const float end = L - c;
        // No strip is longer than a few screens: the repeat count is bounded,
        // as a huge length from a damaged value would draw pieces for ever.
        const int n = static_cast<int>(std::clamp(std::floor((L - 2.0f * c) / m), -1.0f, 10000.0f));
        for (int i = 0; i <= n; ++i) {
            const float p0 = c + static_cast<float>(i) * m;
            float p1 = p0 + m;
            float a1 = A - c;
            // A piece starting right at the end cap would be cut to nothing;
            // it is not drawn, which leaves the picture the same.
            if (p0 >= end) break;
            if (p1 > end) {
                const float cut = end - p0;
                p1 = end;
                switch (rule) {
                case CUT_TRACK: a1 = c + cut * 512.0f / 768.0f; break;
                case CUT_STRIP: a1 = c + cut * (A - 2.0f * c) / (A - c); break;
                case CUT_PROPORTION: a1 = c + cut; break;
                }
                if (a1 < c) a1 = c;
                if (a1 > A - c) a1 = A - c;
            }
            piece(strip_piece{p0, p1, c, a1});
        }
    }
    piece(strip_piece{L - c, L, A - c, A});
}

struct frame1_style {
    float cap;
    float art_x1, art_x2, art_y1, art_y2;
    float extra_width;
    float y_shift;
};

bool frame1_style_of(int style, frame1_style& out)
{
    switch (style) {
    case 0: out = {10, 1, 101, 487, 513, 0, -3}; return true;
    case 1: out = {20, 102, 202, 487, 513, 0, -3}; return true;
    case 2: out = {10, 304, 356, 486, 512, 0, 0}; return true;
    case 3: out = {10, 304, 356, 459, 485, 0, 0}; return true;
    case 4: out = {10, 112, 140, 161, 177, 0, 0}; return true;
    case 5: out = {10, 83, 111, 161, 177, 0, 0}; return true;
    case 7: out = {10, 240, 305, 242, 266, 0, 0}; return true;
    case 8: out = {7, 289, 305, 219, 235, 0, 0}; return true;
    case 9: out = {10, 262, 313, 133, 159, 4, 0}; return true;
    case 10: out = {26, 357, 425, 487, 513, 4, 0}; return true;
    }
    return false;
}

struct frame2_style {
    float side;                  // art box side A
    float art_x1, art_y1;
    float margin_side, margin_below, margin_above;
};

bool frame2_style_of(int style, frame2_style& out)
{
    switch (style) {
    case 11: out = {100, 1, 358, 9, 14, 4}; return true;
    case 12: out = {100, 102, 358, 9, 14, 4}; return true;
    case 13: out = {100, 203, 358, 9, 14, 4}; return true;
    case 14: out = {100, 304, 358, 9, 14, 4}; return true;
    case 15: out = {100, 405, 358, 9, 14, 4}; return true;
    case 16: out = {68, 1, 289, 2, 2, 2}; return true;
    case 17: out = {42, 70, 315, 8, 13, 2}; return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------
void BTN_art_quad(float x1, float y1, float x2, float y2, float tx1, float ty1, float tx2, float ty2, int colour)
{
    const float k = static_cast<float>(FONT_TEXEL);
    const tex_quad_corner corners[4] = {
        {x1, y1, tx1 * k, ty1 * k},
        {x1, y2, tx1 * k, ty2 * k},
        {x2, y2, tx2 * k, ty2 * k},
        {x2, y1, tx2 * k, ty1 * k},
    };
    OGL_draw_tex_quad(TEX_SLOT_INTERFACE, colour, 1.0f, corners, 1, STATE_BLEND);
}

bool BTN_mouse_in(float x1, float x2, float y1, float y2)
{
    return mouse.mouse_x >= x1 && mouse.mouse_x <= x2 && mouse.mouse_y >= y1 && mouse.mouse_y <= y2;
}

void BTN_set_hover(const char* help) { UTIL_strcpy(help ? help : "", mouse.hover_text); }

void BTN_split_label(const char* label, char* caption, char* second, char* help)
{
    char text[TEXT_SIZE];
    copy_limited(label, text);
    caption[0] = second[0] = help[0] = 0;

    // A closing brace anywhere stops the program; the alert is fatal, so
    // looking for it before the walk gives the walk's own outcome.
    if (std::strchr(text, '}'))
        MACIBM_nuke_alert(0, "Using } in text file!", "Must use { only!", "", "", ALERT_FATAL);

    size_t n_caption = 0, n_second = 0, n_help = 0;
    bool in_second = false, in_help = false;
    for (size_t i = 0; text[i] != 0; ++i) {
        if (text[i] == '|') {
            in_second = true;
            ++i;
        }
        if (text[i] == '{') {
            in_help = true;
            ++i;
            if (text[i] != 0) ++i;
        }
        // The skips may reach the label's end (a label may end in the bar or
        // the brace); the walk stops there instead of reading past it.
        if (text[i] == 0) break;
        const char c = text[i];
        if (in_help)
            append_char(help, n_help, c);
        else if (in_second)
            append_char(second, n_second, c);
        else
            append_char(caption, n_caption, c);
    }
    drop_one_trailing_space(caption, n_caption);
    drop_one_trailing_space(second, n_second);
}

void BTN_draw_label(float x, float y, int mode, const char* text)
{
    const WIDGET_inside inside;
    char t[TEXT_SIZE];
    copy_limited(text, t);
    const int len = static_cast<int>(std::strlen(t));
    const bool leading_dash = t[0] == '-';

    char line1[TEXT_SIZE], line2[TEXT_SIZE];
    std::strcpy(line1, leading_dash ? t + 1 : t);
    line2[0] = 0;
    bool split = false;

    if ((mode == 0 || mode == 2) && len > 12 && !leading_dash) {
        const int middle = len / 2;
        int best = -1;
        for (int i = 0; i < len; ++i) {
            if (t[i] != ' ' && t[i] != '-' && t[i] != '/') continue;
            if (best < 0 || std::abs(i - middle) < std::abs(best - middle)) best = i;
        }
        if (best > 0 && best < len - 1) {
            split = true;
            const int keep = t[best] == ' ' ? best : best + 1;
            std::memcpy(line1, t, static_cast<size_t>(keep));
            line1[keep] = 0;
            std::strcpy(line2, t + best + 1);
        }
    }

    const float y1 = split ? y + 5.0f : y;
    const char* lines[2] = {line1, line2};
    const float ys[2] = {y1, y1 - 10.0f};
    for (int i = 0; i < 2; ++i) {
        if (lines[i][0] == 0) continue;
        const float w = static_cast<float>(OGL_string_width(lines[i]));
        const float lx = mode == 0 ? x - w : x;
        OGL_draw_string(45, lx, ys[i], lines[i], FONT_NO_WRAP, 103);
        if (w > 0.0f && !WIDGET_drawing_face()) WIDGET_record(WIDGET_BOX_CAPTION, lx, ys[i] - 2.0f, lx + w - 1.0f, ys[i] + 8.0f, lines[i]);
    }
}

void BTN_draw_ui_sprite(float x, float y, float texel_x, float texel_y, float half_width, float half_height,
                        int colour)
{
    BTN_art_quad(x - half_width, y - half_height, x + half_width, y + half_height, texel_x - half_width,
                 texel_y - half_height, texel_x + half_width, texel_y + half_height, colour);
}

void BTN_frame0(int style, float x, float y, float height)
{
    if (style != 6) {
        MACIBM_nuke_alert(0, "Bad BTN_frame0 call!", "", "", "", ALERT_FATAL);
        return;
    }
    const float H = round_even(height) + 8.0f;
    const float bottom = y - H / 2.0f;
    constexpr float art_x1 = 102, art_x2 = 122, art_y1 = 248;
    lay_strip(H, 10.0f, 40.0f, CUT_TRACK, [&](const strip_piece& p) {
        BTN_art_quad(x - 10.0f, bottom + p.p0, x + 10.0f, bottom + p.p1, art_x1, art_y1 + p.a0, art_x2,
                     art_y1 + p.a1);
    });
}

void BTN_frame1(int style, float x, float y, float width, int colour)
{
    frame1_style s;
    if (!frame1_style_of(style, s)) {
        MACIBM_nuke_alert(0, "Bad BTN_frame1 call!", "", "", "", ALERT_FATAL);
        return;
    }
    const float L = round_even(width) + s.extra_width;
    const float h = s.art_y2 - s.art_y1;
    const float left = x - L / 2.0f;
    const float bottom = y - h / 2.0f + s.y_shift;
    lay_strip(L, s.cap, s.art_x2 - s.art_x1, CUT_STRIP, [&](const strip_piece& p) {
        BTN_art_quad(left + p.p0, bottom, left + p.p1, bottom + h, s.art_x1 + p.a0, s.art_y1, s.art_x1 + p.a1,
                     s.art_y2, colour);
    });
}

void BTN_frame2(int style, float x, float y, float width, float height, const char* title)
{
    // A height that is not a number has no integer part to test and is
    // refused like an odd one. The alert's words stand in for the text the
    // font substitution holds, which says the same.
    if (std::fmod(std::trunc(height), 2.0f) != 0.0f) {
        MACIBM_nuke_alert(0, "BTN_frame2: the window coordinates are wrong!", "", "", "", ALERT_FATAL);
        return;
    }
    char t[TEXT_SIZE];
    copy_limited(title, t);
    const float title_width = static_cast<float>(OGL_string_width(t));

    frame2_style s;
    if (!frame2_style_of(style, s)) {
        MACIBM_nuke_alert(0, "Bad BTN_frame2 call!", "", "", "", ALERT_FATAL);
        return;
    }
    const float left = x - s.margin_side;
    const float bottom = y - s.margin_below;
    const float W = width + 2.0f * s.margin_side;
    const float H = height + s.margin_below + s.margin_above;
    const float A = s.side, c = 0.4f * A;
    lay_strip(H, c, A, CUT_PROPORTION, [&](const strip_piece& row) {
        lay_strip(W, c, A, CUT_PROPORTION, [&](const strip_piece& col) {
            BTN_art_quad(left + col.p0, bottom + row.p0, left + col.p1, bottom + row.p1, s.art_x1 + col.a0,
                         s.art_y1 + row.a0, s.art_x1 + col.a1, s.art_y1 + row.a1);
        });
    });

    int colour = 45, font = 103;
    if (style == 11) colour = 42;
    if (style == 15) {
        colour = 48;
        font = 105;
    }
    const float ty = y + height - (style == 11 ? 13.0f : 16.0f);
    if (!WIDGET_drawing_inside() && style != 11 && style != 12)
        WIDGET_record(WIDGET_BOX_FRAME, left, bottom, left + W, bottom + H, t);
    {
        const WIDGET_inside inside;   // the title belongs to the frame
        OGL_draw_string(colour, x + width / 2.0f - title_width / 2.0f, ty, t, FONT_NO_WRAP, font);
    }

    if (style == 11 && APP_settings_screen_open())
        BTN_draw_close_boxes(0);
}

void BTN_screen_frame(int lit, int inner_style)
{
    const float w = screen.screen_area_width, h = screen.screen_area_height;
    WIDGET_record(WIDGET_BOX_WORK_AREA, 0.0f, 0.0f, w, h, screen.screen_title);
    BTN_frame2(lit ? 11 : 12, 0.0f, 0.0f, w, h, screen.screen_title);
    if (inner_style == 1)
        BTN_frame1(1, w / 2.0f, h - 50.0f, w);
    else if (inner_style != 18)
        BTN_frame2(inner_style, 10.0f, 10.0f, w - 20.0f, h - 40.0f, "");
}

void BTN_place_frame(float extra_top, int style, float x, float y, float width, float height, const char* title,
                     float* far_x, float* far_y)
{
    if (x < 0.0f) x = 10.0f;
    if (y < 0.0f) y = 10.0f;
    if (width < 0.0f) width = screen.screen_area_width - 10.0f - x;
    if (height < 0.0f) height = screen.screen_area_height - 28.0f - y - extra_top;
    BTN_frame2(style, x, y, width, height, title);
    if (far_x) *far_x = x + width + 10.0f;
    if (far_y) *far_y = y + height + 10.0f;
}

void BTN_util_draw_boxed_button(float x, float y, float width, float first_box_offset, int count)
{
    if (count == 0) {
        MACIBM_nuke_alert(0, "BTN_util_draw_boxed_button called with no boxes!", "", "", "", ALERT_FATAL);
        return;
    }
    BTN_frame1(9, x, y, width);
    for (int i = 0; i < count; ++i) {
        const float cx = x + first_box_offset + 5.0f + 10.0f * static_cast<float>(i) - 5.0f * static_cast<float>(count);
        BTN_art_quad(cx - 7.0f, y - 13.0f - 9.0f, cx + 7.0f, y - 13.0f + 9.0f, 83, 178, 97, 196);
        BTN_art_quad(cx - 7.0f, y + 15.0f - 9.0f, cx + 7.0f, y + 15.0f + 9.0f, 83, 197, 97, 215);
    }
}

void BTN_draw_close_boxes(int pressed)
{
    const float w = screen.screen_area_width, h = screen.screen_area_height;
    const float ty1 = pressed == 1 ? 197.0f : 178.0f;
    const float cx[2] = {16.0f, w - 16.0f};
    for (float c : cx) BTN_art_quad(c - 9.0f, h - 10.0f - 9.0f, c + 9.0f, h - 10.0f + 9.0f, 120, ty1, 138, ty1 + 18.0f);
}
