#include "graphics/font.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "graphics/widget_record.h"
#include "core/alert.h"
#include "core/screen.h"
#include "core/simvars/cockpit.h"
#include "core/text_util.h"

namespace {

// ---------------------------------------------------------------------------
// The proportional glyph map: character, x and width, row by row.
struct prop_entry {
    int code;
    int x;
    int width;
};

constexpr prop_entry prop_row_0[] = {
    {'0', 5, 6},   {'1', 11, 6},  {'2', 17, 6},  {'3', 23, 6},  {'4', 29, 6},  {'5', 35, 6},  {'6', 41, 6},
    {'7', 47, 6},  {'8', 53, 6},  {'9', 59, 6},  {'A', 65, 7},  {'a', 72, 6},  {'B', 78, 6},  {'b', 84, 6},
    {'C', 90, 7},  {'c', 97, 5},  {'D', 102, 7}, {'d', 109, 6}, {'E', 115, 5}, {'e', 120, 6},
};
constexpr prop_entry prop_row_11[] = {
    {'F', 0, 5},  {'f', 5, 4},  {'G', 10, 7}, {'g', 17, 6}, {'H', 23, 7}, {'h', 30, 6},   {'I', 36, 3},
    {'i', 39, 3}, {'J', 42, 5}, {'j', 47, 5}, {'K', 52, 6}, {'k', 58, 5}, {'L', 63, 5},   {'l', 68, 3},
    {'M', 71, 8}, {'m', 79, 9}, {'N', 88, 7}, {'n', 95, 6}, {'O', 101, 8}, {'o', 109, 6}, {'P', 115, 6},
};
constexpr prop_entry prop_row_22[] = {
    {'p', 0, 6},  {'Q', 6, 8},  {'q', 14, 6}, {'R', 20, 6}, {'r', 26, 4},  {'S', 30, 5},   {'s', 35, 5},
    {'T', 40, 7}, {'t', 47, 4}, {'U', 51, 7}, {'u', 58, 6}, {'V', 64, 7},  {'v', 71, 6},   {'W', 77, 9},
    {'w', 86, 8}, {'X', 94, 7}, {'x', 101, 6}, {'Y', 107, 7}, {'y', 114, 6}, {'Z', 120, 6}, {'z', 126, 6},
};
constexpr prop_entry prop_row_33[] = {
    {'!', 0, 3},   {'@', 3, 9},   {'#', 12, 8},  {'$', 20, 5},  {'%', 25, 8},  {'^', 33, 6},   {'&', 39, 8},
    {'*', 47, 4},  {'(', 51, 4},  {')', 55, 4},  {'-', 59, 6},  {'_', 65, 6},  {'+', 71, 6},   {'=', 77, 6},
    {'[', 83, 4},  {']', 87, 4},  {'|', 91, 4},  {'\\', 95, 6}, {'\'', 101, 3}, {':', 104, 3}, {';', 107, 3},
};
constexpr prop_entry prop_row_44[] = {
    {'<', 0, 7},  {'.', 7, 3},  {'>', 10, 7}, {',', 17, 3}, {'?', 20, 5}, {'/', 25, 5},  {'`', 30, 3},
    {161, 33, 4}, {136, 37, 6}, {138, 43, 6}, {139, 49, 6}, {141, 55, 5}, {143, 60, 6},  {142, 66, 6},
    {147, 72, 3}, {152, 75, 6}, {154, 81, 6}, {157, 87, 6}, {159, 93, 6}, {150, 99, 6},  {167, 105, 7},
};

struct prop_lookup {
    std::array<prop_glyph, 256> glyph{};
    std::array<bool, 256> present{};
};

template <size_t N>
constexpr void add_row(prop_lookup& t, const prop_entry (&row)[N], int row_y)
{
    for (const prop_entry& e : row) {
        t.glyph[e.code] = prop_glyph{static_cast<int16_t>(e.x), static_cast<int16_t>(row_y),
                                     static_cast<int16_t>(e.width)};
        t.present[e.code] = true;
    }
}

constexpr prop_lookup make_prop_lookup()
{
    prop_lookup t{};
    add_row(t, prop_row_0, 0);
    add_row(t, prop_row_11, 11);
    add_row(t, prop_row_22, 22);
    add_row(t, prop_row_33, 33);
    add_row(t, prop_row_44, 44);
    return t;
}

constexpr prop_lookup prop_table = make_prop_lookup();

// ---------------------------------------------------------------------------
// The fonts.
enum font_layout { LAYOUT_PROP, LAYOUT_GRID, LAYOUT_TWO_BYTE };
enum font_source { SOURCE_INTERFACE, SOURCE_INTERFACE_FONT2, SOURCE_PANEL, SOURCE_PANEL2 };

struct font_def {
    font_source source;
    font_layout layout;
    float ox, oy;         // block origin (texels)
    float cell_w, cell_h; // grid cell
    int per_row;          // grid cells a row
    float pitch_y;        // grid row pitch
    int map;              // grid character map
    int advance;          // grid advance (proportional fonts advance by the glyph width)
    int number_pitch;
    float dx;             // quad offset from the pen
};

constexpr font_def prop_a{SOURCE_INTERFACE, LAYOUT_PROP, 0, 0, 0, 10, 0, 0, 0, 0, 6, 0};
constexpr font_def prop_b(int pitch) { return {SOURCE_INTERFACE, LAYOUT_PROP, 137, 0, 0, 10, 0, 0, 0, 0, pitch, 0}; }
constexpr font_def grid(font_source s, float ox, float oy, int map, int advance, float dx = 0.0f)
{
    return {s, LAYOUT_GRID, ox, oy, 6, 11, 21, 11, map, advance, advance, dx};
}

constexpr font_def font_defs[FONT_LAST - FONT_FIRST + 1] = {
    prop_a,                                                           // 100
    prop_a,                                                           // 101
    {SOURCE_INTERFACE_FONT2, LAYOUT_TWO_BYTE, 0, 0, 13, 13, 40, 13, 0, 13, 14, 0},  // 102
    prop_a,                                                           // 103
    prop_b(10),                                                       // 104
    prop_b(6),                                                        // 105
    prop_b(6),                                                        // 106
    grid(SOURCE_INTERFACE, 381, 0, GRID_MAP_FULL, 6),                 // 107
    grid(SOURCE_INTERFACE, 381, 0, GRID_MAP_FULL, 10),                // 108
    grid(SOURCE_PANEL, 1, 450, GRID_MAP_FULL, 6),                     // 109
    grid(SOURCE_PANEL, 1, 387, GRID_MAP_FULL, 6),                     // 110
    grid(SOURCE_PANEL, 1, 324, GRID_MAP_FULL, 6),                     // 111
    grid(SOURCE_PANEL, 1, 178, GRID_MAP_CLOCK, 6),                    // 112
    grid(SOURCE_PANEL, 1, 158, GRID_MAP_CLOCK, 6),                    // 113
    grid(SOURCE_PANEL, 1, 261, GRID_MAP_FULL, 6),                     // 114
    grid(SOURCE_PANEL, 1, 138, GRID_MAP_TEMPERATURE, 6),              // 115
    grid(SOURCE_PANEL2, 25.5f, 148, GRID_MAP_DIGITS, 6, -1.0f),       // 116
    grid(SOURCE_PANEL2, 25.5f, 130, GRID_MAP_DIGITS, 6, 1.0f),        // 117
    {SOURCE_PANEL, LAYOUT_GRID, 0, 0, 12, 22, 21, 22, GRID_MAP_FULL, 12, 12, 0},  // 118
};

const font_def* def_of(int font)
{
    if (font < FONT_FIRST || font > FONT_LAST) return nullptr;
    return &font_defs[font - FONT_FIRST];
}

int slot_of(const font_def& s)
{
    switch (s.source) {
    case SOURCE_INTERFACE: return TEX_SLOT_INTERFACE;
    case SOURCE_INTERFACE_FONT2: return TEX_SLOT_INTERFACE_FONT2;
    case SOURCE_PANEL: return OGL_font_tex();
    case SOURCE_PANEL2: return OGL_font2_tex();
    }
    return -1;
}

int full_map_cell(int c)
{
    if (c >= '0' && c <= '9') return 1 + (c - '0');
    if (c >= 'A' && c <= 'Z') return 11 + 2 * (c - 'A');
    if (c >= 'a' && c <= 'z') return 12 + 2 * (c - 'a');
    static constexpr char punctuation[] = "!@#$%^&*()-_+=[]|\\':;<.>,?/`";   // cells 63..90
    if (c > 0 && c < 128) {
        const char* p = std::strchr(punctuation, c);
        if (p) return 63 + static_cast<int>(p - punctuation);
    }
    return 0;
}

// Rounds halves away from zero to a whole unit.
float round_unit(float v) { return std::round(v); }

bool breaks_word(unsigned char c) { return c == ' ' || c == '-' || c == '/' || c == ':'; }

// The anchor moved to the current screen's origin, rounded, and lowered by 2.
void place_anchor(float x, float y, float& px, float& py)
{
    px = round_unit(x + screen.screen_area_left);
    py = round_unit(y + screen.screen_area_bottom) - 2.0f;
}

// Text state: fog off, one texture unit, lighting off, blending without alpha
// test, no depth test or writes; then the text colour (tinted and dimmed, or
// the byte colour while drawing into the pixel buffer).
void set_text_state(int colour)
{
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(colour, 1.0f);
}

void emit_quad(float x, float y, float w, float h, float tx, float ty)
{
    const float s1 = static_cast<float>(tx * FONT_TEXEL), s2 = static_cast<float>((tx + w) * FONT_TEXEL);
    const float t1 = static_cast<float>(ty * FONT_TEXEL), t2 = static_cast<float>((ty + h) * FONT_TEXEL);
    glTexCoord2f(s1, t1);
    glVertex2f(x, y);
    glTexCoord2f(s1, t2);
    glVertex2f(x, y + h);
    glTexCoord2f(s2, t2);
    glVertex2f(x + w, y + h);
    glTexCoord2f(s2, t1);
    glVertex2f(x + w, y);
}

// 10^k for the digit cells (k 0..11).
double power_of_ten(int k)
{
    double p = 1.0;
    for (int i = 0; i < k; ++i) p *= 10.0;
    return p;
}

// floor(r / 10^k) mod 10, for any finite r >= 0.
int digit_at(double r, int k)
{
    const double q = std::floor(r / power_of_ten(k));
    if (!std::isfinite(q)) return 0;
    return static_cast<int>(std::fmod(q, 10.0));
}

// A text a screen drew outside any widget, reported to the layout recorder:
// the box its glyphs' ink spans (window units), from the line's left end.
void record_free_text(float x1, float y_low, float x2, float y_high, const char* text)
{
    if (!WIDGET_recording() || WIDGET_drawing_inside() || !(x2 > x1)) return;
    WIDGET_record(WIDGET_BOX_TEXT, x1 - screen.screen_area_left, y_low - screen.screen_area_bottom,
                  x2 - screen.screen_area_left, y_high - screen.screen_area_bottom, text);
}

}  // namespace

// ---------------------------------------------------------------------------
int OGL_font_tex()
{
    return (sim_cockpit_electrical.cockpit_lights_on != 0 && screen.rendering_res >= 2) ? TEX_SLOT_PANEL_FONT_LIT
                                                                                          : TEX_SLOT_PANEL_FONT;
}

int OGL_font2_tex()
{
    return (sim_cockpit_electrical.cockpit_lights_on != 0 && screen.rendering_res >= 2) ? TEX_SLOT_PANEL_FONT2_LIT
                                                                                          : TEX_SLOT_PANEL_FONT2;
}

bool FONT_prop_glyph(int code, prop_glyph& out)
{
    if (code >= 32 && code <= 167 && prop_table.present[code]) {
        out = prop_table.glyph[code];
        return true;
    }
    out = prop_glyph{0, 0, PROP_SPACE_WIDTH};
    return false;
}

int FONT_grid_cell(int map, int code)
{
    switch (map) {
    case GRID_MAP_FULL: return full_map_cell(code);
    case GRID_MAP_CLOCK:
        if (code >= '0' && code <= '9') return code - '0';
        switch (code) {
        case '.': return 10;
        case '_': return 11;
        case '-': return 12;
        case ' ': return 13;
        case ':': return 14;
        }
        return 0;
    case GRID_MAP_TEMPERATURE:
        if (code >= '0' && code <= '9') return code - '0';
        switch (code) {
        case ':': return 10;
        case 'C': return 11;
        case 'F': return 12;
        case '-': return 13;
        }
        return 0;
    case GRID_MAP_DIGITS:
        if (code >= '0' && code <= '9') return code - '0';
        return code == '.' ? 10 : 0;
    }
    return 0;
}

bool FONT_glyph_place(int font, int code, font_glyph_place& out)
{
    const font_def* s = def_of(font);
    if (!s) return false;
    switch (s->layout) {
    case LAYOUT_PROP: {
        prop_glyph g;
        FONT_prop_glyph(code, g);
        out = {s->ox + g.x, s->oy + g.row_y, static_cast<float>(g.width), PROP_GLYPH_HEIGHT, 0.0f, g.width};
        return true;
    }
    case LAYOUT_GRID:
    case LAYOUT_TWO_BYTE: {
        const int cell = s->layout == LAYOUT_GRID ? FONT_grid_cell(s->map, code) : (code < 0 ? 0 : code);
        out.tx = s->ox + static_cast<float>(cell % s->per_row) * s->cell_w;
        out.ty = s->oy + static_cast<float>(cell / s->per_row) * s->pitch_y;
        out.w = s->cell_w;
        out.h = s->cell_h;
        out.dx = s->dx;
        out.advance = s->advance;
        return true;
    }
    }
    return false;
}

float FONT_point_ink_centre(int font)
{
    const font_def* d = def_of(font);
    if (!d) return 0.0f;
    font_glyph_place g;
    if (!FONT_glyph_place(font, '.', g)) return 0.0f;
    // The art centres a glyph in its cell less the cell's last column; the
    // full stop's ink is two texels wide at the font's scale.
    const float ink = d->layout == LAYOUT_PROP ? 2.0f : 2.0f * std::round(d->cell_h / 11.0f);
    return g.dx + std::floor((g.w - 1.0f - ink) * 0.5f) + ink * 0.5f;
}

int FONT_number_pitch(int font)
{
    const font_def* s = def_of(font);
    return s ? s->number_pitch : 0;
}

int FONT_slot(int font)
{
    const font_def* s = def_of(font);
    return s ? slot_of(*s) : -1;
}

double OGL_string_width(const char* text)
{
    if (!text) return 0.0;
    double w = 0.0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        prop_glyph g;
        if (FONT_prop_glyph(*p, g))
            w += g.width;
        else if (*p == ' ')
            w += PROP_SPACE_WIDTH;
    }
    return w;
}

int OGL_draw_glyphs(float x, float y, int code, int font)
{
    font_glyph_place g;
    if (!FONT_glyph_place(font, code, g)) {
        MACIBM_nuke_alert(0, "Asked for a font that does not set it's specs!", "", "", "", ALERT_FATAL);
        return 0;
    }
    emit_quad(x + g.dx, y, g.w, g.h, g.tx, g.ty);
    return g.advance;
}

void OGL_draw_string(int colour, float x, float y, const char* text, float wrap_width, int font)
{
    float px, py;
    place_anchor(x, y, px, py);
    set_text_state(colour);
    const font_def* s = def_of(font);
    if (s) OGL_bind_tex(slot_of(*s), 0);

    glBegin(GL_QUADS);
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text ? text : "");
    const bool wrapping = wrap_width < 9999.0f;
    const float right_limit = px + wrap_width;
    const float line_start = px;
    const float top_line = py;
    float pen = px, right_end = px;
    size_t pos = 0;
    while (t[pos] != 0) {
        const unsigned char c = t[pos];
        if (font == 102) {
            // Two bytes a glyph. An odd-length text ends with a byte that has
            // no partner: the walk stops there rather than step over the end.
            if (t[pos + 1] == 0) break;
            if (c != '\n') pen += static_cast<float>(OGL_draw_glyphs(pen, py, (c - 1) * 127 + (t[pos + 1] - 1), font));
            pos += 2;
        } else {
            if (c != '\n') pen += static_cast<float>(OGL_draw_glyphs(pen, py, c, font));
            pos += 1;
        }
        if (c != ' ' && c != '\n') right_end = std::max(right_end, pen);
        if (!wrapping) continue;
        if (breaks_word(t[pos - 1])) {
            float end = pen;
            for (size_t k = pos; t[k] != 0 && !breaks_word(t[k]); ++k) end += 10.0f;
            if (end > right_limit) {
                pen = line_start;
                py -= 10.0f;
            }
        }
        if (t[pos] == '\n') {
            pen = line_start;
            py -= 10.0f;
        }
    }
    glEnd();
    if (right_end > px && s) {
        font_glyph_place g{};
        FONT_glyph_place(font, 'A', g);
        record_free_text(px, py, right_end - 1.0f, top_line + g.h,
                         reinterpret_cast<const char*>(t));
    }
}

void OGL_draw_string_fmt(int colour, float x, float y, float value, int digits, int decimals, int sign_flag,
                         int font)
{
    float px, py;
    place_anchor(x, y, px, py);
    set_text_state(colour);
    const font_def* def = def_of(font);
    if (def) OGL_bind_tex(slot_of(*def), 0);
    const float p = static_cast<float>(FONT_number_pitch(font));

    glBegin(GL_QUADS);
    // A value that is not a number shows as zero rather than as garbage digits.
    double a = std::fabs(static_cast<double>(value));
    if (!std::isfinite(a)) a = 0.0;
    const double s = a * std::pow(10.0, decimals);

    int n = 1;
    if (s > 9) n = 2;
    if (s > 99) n = 3;
    if (s > 999) n = 4;
    if (s > 9999) n = 5;
    if (s > 99999) n = 6;
    if (s > 999999) n = 7;
    if (s > 9999999) n = 8;
    if (s > 100000000) n = 9;
    if (s > 1000000000) n = 10;
    const bool overflow = digits < n;

    // The sign cell left of the digits: a negative value always shows its
    // minus (one that rounds to nothing does not), even with the sign flag 0:
    // drawn as its digits alone a negative reading would show as positive (a
    // sink rate as a climb, a temperature below zero as above it). The sign
    // flag keeps the cell blank for the others.
    const bool minus = value < 0.0f && (overflow || s > 0.1);
    if (minus || sign_flag != 0) OGL_draw_glyphs(px - p + 1.0f, py, minus ? '-' : ' ', font);

    // The full stop takes half a cell of its own after the cell it follows,
    // its ink centred in the blank between the two digits' ink (a digit's ink
    // ends a unit before its glyph does).
    const float gap = std::floor(p * 0.5f);
    font_glyph_place zero{};
    FONT_glyph_place(font, '0', zero);
    float pen = px - p;
    auto cell = [&](int digit) {
        pen += p;
        OGL_draw_glyphs(pen, py, UTIL_digit_to_char(digit), font);
    };
    // The full stop sits on the digits' foot. The grid fonts' art holds its
    // ink a texel above the foot of its cell, so it is drawn a unit lower;
    // the proportional font's art holds it on the foot already, and drawn a
    // unit lower it hung below the digits, where it read as a decimal comma.
    const float point_drop = def && def->layout == LAYOUT_PROP ? 0.0f : 1.0f;
    auto full_stop = [&] {
        const float centre = pen + 0.5f * (zero.w - 1.0f + p + gap);
        OGL_draw_glyphs(round_unit(centre - FONT_point_ink_centre(font)), py - point_drop, '.', font);
        pen += gap;
    };

    if (!overflow) {
        const double r = s + 0.5;
        for (int k = 10; k >= 1; --k) {
            if (digits > k) cell(digit_at(r, k));
            if (decimals == k) full_stop();   // after the value's units digit
        }
        if (digits >= 1) cell(digit_at(r, 0));
    } else {
        // Three significant digits and a power of ten: v is brought to at most
        // 999, so 999 itself shows as 9.99 x 2.
        double v = a;
        int e = 2;
        while (v > 999.0) {
            v /= 10.0;
            ++e;
        }
        const int m = static_cast<int>(std::round(v));
        cell((m / 100) % 10);
        full_stop();
        cell((m / 10) % 10);
        cell(m % 10);
        pen += p;
        OGL_draw_glyphs(pen, py, 'x', font);
        pen += p;
        OGL_draw_glyphs(pen, py, UTIL_digit_to_char(e), font);
    }
    glEnd();
    if (def && digits >= 1) {
        font_glyph_place g{};
        FONT_glyph_place(font, '0', g);
        record_free_text(minus || sign_flag != 0 ? px - p + 1.0f : px, py, pen + g.w - 1.0f, py + g.h,
                         "number");
    }
}

void OGL_draw_text_on_shade(int colour, float x, float y, const char* text)
{
    const float w = static_cast<float>(OGL_string_width(text));
    OGL_shade_box(x - w / 2.0f - 2.0f, y - 2.0f, x + w / 2.0f + 2.0f, y + 8.0f, 0.5f);
    OGL_draw_string(colour, x - w / 2.0f, y, text, 500.0f, 100);
}
