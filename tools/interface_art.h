// The interface bitmap, drawn by code: a 512 x 512 RGBA picture holding the
// two proportional fonts and the grid font, every piece of widget art at the
// texel box the widgets cut it from, and the swatches of the interface colours
// that the start-up samples.
//
// Coordinates are texels from the lower-left corner, y upward, as the widgets
// address them; a box [x1, x2) x [y1, y2) covers the texels x1..x2-1 and
// y1..y2-1. The PNG writer stores the rows top first.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <png.h>
#include <string>
#include <vector>

#include "core/units.h"
#include "graphics/font.h"
#include "tools/pixel_font.h"

namespace interface_art {

constexpr int SIDE = 512;

struct rgba {
    uint8_t r, g, b, a;
};

// ---------------------------------------------------------------------------
// The colour swatches: one opaque texel for each interface colour row, the
// row 36 texel at index 79679 of the 512-wide image (column 319, row 155) and
// each following row's texel 4096 lower (8 image rows down).
struct swatch {
    int colour_row;
    rgba colour;
};
inline constexpr swatch swatches[] = {
    {36, {38, 44, 56, 255}},     // background
    {37, {52, 60, 76, 255}},     // menu dark
    {38, {86, 128, 196, 255}},   // menu highlight
    {39, {150, 160, 178, 255}},  // menu light
    {40, {236, 238, 242, 255}},  // menu text
    {42, {255, 208, 112, 255}},  // subtitle text
    {43, {255, 255, 255, 255}},  // front tab text
    {44, {168, 178, 196, 255}},  // back tab text
    {45, {218, 226, 238, 255}},  // caption text
    {46, {150, 232, 164, 255}},  // list text
    {47, {214, 200, 128, 255}},  // (spare)
    {48, {128, 214, 255, 255}},  // glass text
};
inline constexpr int SWATCH_FIRST_TEXEL = 79679;
inline constexpr int SWATCH_TEXEL_STEP = 4096;
inline int swatch_texel(int i) { return SWATCH_FIRST_TEXEL - SWATCH_TEXEL_STEP * i; }

// ---------------------------------------------------------------------------
// Every art box the widgets cut from the bitmap.
struct art_box {
    const char* name;
    int x1, y1, x2, y2;
};
inline constexpr art_box art_boxes[] = {
    {"strip 0", 1, 487, 101, 512},
    {"strip 1 title", 102, 487, 202, 512},
    {"tab selected", 204, 486, 302, 512},
    {"tab", 204, 459, 302, 485},
    {"push button up", 304, 486, 356, 512},
    {"push button down", 304, 459, 356, 485},
    {"list box", 357, 487, 425, 512},
    {"window 11", 1, 358, 101, 458},
    {"window 12", 102, 358, 202, 458},
    {"window 13", 203, 358, 303, 458},
    {"window 14", 304, 358, 404, 458},
    {"window 15", 405, 358, 505, 458},
    {"thin frame 16", 1, 289, 69, 357},
    {"small frame 17", 70, 315, 112, 357},
    {"track 0", 102, 248, 122, 288},
    {"scroll up", 83, 266, 101, 288},
    {"scroll thumb", 83, 239, 101, 265},
    {"scroll down", 83, 216, 101, 238},
    {"knob", 262, 267, 282, 289},
    {"slider track 7", 240, 242, 305, 266},
    {"narrow strip 8", 289, 219, 305, 235},
    {"digit arrow down", 83, 178, 97, 196},
    {"digit arrow up", 83, 197, 97, 215},
    {"close box", 120, 178, 138, 196},
    {"close box pressed", 120, 197, 138, 215},
    {"check box large", 139, 178, 157, 196},
    {"tick large", 139, 197, 157, 215},
    {"dial", 178, 161, 234, 217},
    {"small strip 4", 112, 161, 140, 177},
    {"small strip 5", 83, 161, 111, 177},
    {"tick small", 83, 142, 101, 160},
    {"check box small", 83, 123, 101, 141},
    {"file icon", 208, 133, 234, 159},
    {"value box 9", 262, 133, 313, 159},
    {"dial minus", 210, 106, 240, 124},
    {"dial plus", 241, 106, 271, 124},
    {"icon folder", 34, 57, 46, 69},
    {"icon aircraft", 48, 57, 60, 69},
    {"icon airfoil", 62, 57, 74, 69},
    {"icon scenery", 76, 57, 88, 69},
    {"icon weapon", 90, 57, 102, 69},
    {"icon situation", 104, 57, 116, 69},
    {"icon movie", 118, 57, 130, 69},
    {"icon flight plan", 132, 57, 144, 69},
    {"icon object", 146, 57, 158, 69},
    // Map sprites, drawn white so that the symbol's colour row tints them.
    {"map NDB", 378, 256, 392, 272},
    {"map VOR small", 378, 274, 392, 290},
    {"map compass rose", 306, 219, 377, 290},
    {"map glide slope", 396, 238, 410, 254},
    {"map marker", 396, 256, 410, 272},
    {"map DME", 450, 274, 464, 290},
    {"map object", 396, 220, 410, 236},
    {"map fix", 378, 220, 392, 236},
    {"map airport", 378, 238, 392, 254},
    {"map carrier", 467, 238, 482, 289},
    {"map second ship", 485, 238, 500, 289},
    {"map platform 1", 450, 256, 464, 272},
    {"map platform 2", 450, 238, 464, 254},
    {"map fire", 450, 220, 464, 236},
    {"proportional font", 0, 0, 133, 54},
    {"proportional font 2", 137, 0, 270, 54},
    {"grid font", 381, 0, 507, 55},
};

// ---------------------------------------------------------------------------
class image {
public:
    image() : px_(size_t(SIDE) * SIDE, rgba{0, 0, 0, 0}) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < SIDE && y < SIDE; }
    rgba get(int x, int y) const { return inside(x, y) ? px_[size_t(y) * SIDE + size_t(x)] : rgba{0, 0, 0, 0}; }
    void set(int x, int y, rgba c)
    {
        if (inside(x, y)) px_[size_t(y) * SIDE + size_t(x)] = c;
    }
    // [x1, x2) x [y1, y2)
    void fill(int x1, int y1, int x2, int y2, rgba c)
    {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) set(x, y, c);
    }
    const std::vector<rgba>& pixels() const { return px_; }

private:
    std::vector<rgba> px_;
};

inline rgba mix(rgba a, rgba b, float t)
{
    auto m = [t](uint8_t p, uint8_t q) {
        return static_cast<uint8_t>(std::lround(static_cast<float>(p) + (static_cast<float>(q) - p) * t));
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

inline rgba shade(rgba c, int d)
{
    auto s = [d](uint8_t v) { return static_cast<uint8_t>(std::clamp(int(v) + d, 0, 255)); };
    return {s(c.r), s(c.g), s(c.b), c.a};
}

// A box with corners cut by `radius` texels (1 or 2 give a rounded look), a
// vertical gradient from `bottom` to `top`, a light top edge and a dark bottom
// edge when `bevel` is non-zero (negative: sunken).
inline void panel(image& im, int x1, int y1, int x2, int y2, rgba bottom, rgba top, int bevel, int radius,
                  rgba outline = {0, 0, 0, 0})
{
    const int h = std::max(1, y2 - y1);
    for (int y = y1; y < y2; ++y) {
        const rgba row = mix(bottom, top, static_cast<float>(y - y1) / static_cast<float>(std::max(1, h - 1)));
        for (int x = x1; x < x2; ++x) {
            const int dx = std::min(x - x1, x2 - 1 - x), dy = std::min(y - y1, y2 - 1 - y);
            if (dx + dy < radius) continue;   // cut corner
            rgba c = row;
            const bool edge = dx == 0 || dy == 0 || dx + dy == radius;
            if (outline.a && edge) {
                c = outline;
            } else if (bevel != 0) {
                const int inner = outline.a ? 1 : 0;
                const bool top_edge = y2 - 1 - y == inner, left_edge = x - x1 == inner;
                const bool bottom_edge = y - y1 == inner, right_edge = x2 - 1 - x == inner;
                if (top_edge || left_edge) c = shade(c, bevel * 40);
                if (bottom_edge || right_edge) c = shade(c, -bevel * 40);
            }
            im.set(x, y, c);
        }
    }
}

inline void line(image& im, int x1, int y1, int x2, int y2, rgba c)
{
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        im.set(x1, y1, c);
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

// A filled triangle pointing up (dir 1) or down (dir -1), centred on cx, base
// `width` texels wide, from y_base over `height` rows.
inline void triangle(image& im, float cx, int y_base, int width, int height, int dir, rgba c)
{
    for (int i = 0; i < height; ++i) {
        const float half = static_cast<float>(width) / 2.0f * (1.0f - static_cast<float>(i) / static_cast<float>(height));
        const int y = y_base + dir * i;
        for (int x = static_cast<int>(std::floor(cx - half + 0.5f)); x < static_cast<int>(std::ceil(cx + half - 0.5f)); ++x)
            im.set(x, y, c);
    }
}

// A disc (filled) or ring of radius r at the centre of texel box (cx, cy).
inline void disc(image& im, float cx, float cy, float r, rgba c, float ring = 0.0f)
{
    for (int y = static_cast<int>(cy - r - 1); y <= static_cast<int>(cy + r + 1); ++y)
        for (int x = static_cast<int>(cx - r - 1); x <= static_cast<int>(cx + r + 1); ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            if (d <= r && (ring <= 0.0f || d >= r - ring)) im.set(x, y, c);
        }
}

// ---------------------------------------------------------------------------
// Fonts.

// Puts one glyph with its ink starting at column x0 of a cell whose bottom
// texel row is y0: glyph row r lands on texel row y0 + top_row - r.
inline void put_glyph(image& im, const pixel_glyph& g, int x0, int y0, int top_row, rgba ink, rgba shadow)
{
    const int w = pixel_glyph_width(g);
    if (shadow.a) {
        for (int r = 0; r < PIXEL_GLYPH_ROWS; ++r)
            for (int c = 0; c < w; ++c)
                if (pixel_glyph_ink(g, c, r) && !pixel_glyph_ink(g, c + 1, r + 1)) {
                    const int sy = y0 + top_row - r - 1;
                    if (sy >= y0) im.set(x0 + c + 1, sy, shadow);
                }
    }
    for (int r = 0; r < PIXEL_GLYPH_ROWS; ++r)
        for (int c = 0; c < w; ++c)
            if (pixel_glyph_ink(g, c, r)) im.set(x0 + c, y0 + top_row - r, ink);
}

// The proportional map at a block origin; returns false when a glyph does not
// fit its cell (the ink must leave the cell's last column free).
inline bool draw_proportional_font(image& im, int ox, int oy, rgba shadow, std::string* problem)
{
    const rgba ink{255, 255, 255, 255};
    for (int code = 33; code <= 167; ++code) {
        prop_glyph cell;
        if (!FONT_prop_glyph(code, cell)) continue;
        const pixel_glyph* g = pixel_font_find(code, false);
        if (!g) {
            if (problem) *problem = "no pixel glyph for code " + std::to_string(code);
            return false;
        }
        const int w = pixel_glyph_width(*g);
        if (w > cell.width - 1) {
            if (problem) *problem = "glyph too wide for code " + std::to_string(code);
            return false;
        }
        const int x0 = ox + cell.x + (cell.width - 1 - w) / 2;
        put_glyph(im, *g, x0, oy + cell.row_y, 8, ink, shadow);
    }
    return true;
}

// The grid font: 6 x 11 cells, 21 a row, characters by the full map.
inline bool draw_grid_font(image& im, int ox, int oy, std::string* problem)
{
    const rgba ink{255, 255, 255, 255};
    for (int code = 33; code < 127; ++code) {
        const int cell = FONT_grid_cell(GRID_MAP_FULL, code);
        if (cell == 0) continue;
        const pixel_glyph* g = pixel_font_find(code, true);
        if (!g) {
            if (problem) *problem = "no pixel glyph for grid code " + std::to_string(code);
            return false;
        }
        const int w = pixel_glyph_width(*g);
        if (w > 5) {
            if (problem) *problem = "grid glyph too wide for code " + std::to_string(code);
            return false;
        }
        const int x0 = ox + (cell % 21) * 6 + (5 - w) / 2;
        const int y0 = oy + (cell / 21) * 11 + grid_glyph_raise(code);
        put_glyph(im, *g, x0, y0, 9, ink, rgba{0, 0, 0, 0});
    }
    return true;
}

// ---------------------------------------------------------------------------
// Widget art.

inline constexpr rgba outline_dark{10, 12, 18, 255};

// A window frame of a nine-patch art box of side A at (x, y): borders of the
// given widths around a filled interior.
inline void window_frame(image& im, int x, int y, int A, int side, int below, int above, rgba border_lo,
                         rgba border_hi, rgba interior)
{
    panel(im, x, y, x + A, y + A, border_lo, border_hi, 1, 2, outline_dark);
    const int ix1 = x + side, ix2 = x + A - side, iy1 = y + below, iy2 = y + A - above;
    // The interior, with a thin dark seam where it meets the border.
    for (int yy = iy1 - 1; yy < iy2 + 1; ++yy)
        for (int xx = ix1 - 1; xx < ix2 + 1; ++xx) {
            const bool seam = xx == ix1 - 1 || xx == ix2 || yy == iy1 - 1 || yy == iy2;
            im.set(xx, yy, seam ? shade(border_lo, -40) : interior);
        }
    // Rivets in the thick lower border.
    if (below >= 10) {
        for (int k = 0; k < 2; ++k) {
            const int rx = k == 0 ? x + side + 6 : x + A - side - 7;
            im.set(rx, y + below / 2, shade(border_hi, 50));
            im.set(rx + 1, y + below / 2 - 1, shade(border_lo, -50));
        }
    }
}

inline void arrow_button(image& im, int x1, int y1, int x2, int y2, int dir, rgba face)
{
    panel(im, x1, y1, x2, y2, shade(face, -30), shade(face, 20), 1, 2, outline_dark);
    const float cx = static_cast<float>(x1 + x2) / 2.0f;
    const int h = (y2 - y1) / 3;
    const int base = dir > 0 ? (y1 + y2) / 2 - h / 2 : (y1 + y2) / 2 + h / 2;
    triangle(im, cx, base, std::max(4, (x2 - x1) - 8), h + 1, dir, rgba{30, 34, 44, 255});
}

inline void tick_mark(image& im, int x1, int y1, int size, rgba c)
{
    // A check mark inside a size x size box starting at (x1, y1).
    const int s = size;
    for (int t = 0; t < 2; ++t) {
        line(im, x1 + s / 5, y1 + s / 2 + t, x1 + s * 2 / 5, y1 + s / 4 + t, c);
        line(im, x1 + s * 2 / 5, y1 + s / 4 + t, x1 + s * 4 / 5, y1 + s * 4 / 5 + t, c);
    }
}

inline void draw_widgets(image& im)
{
    const rgba steel_lo{46, 54, 70, 255}, steel_hi{92, 104, 128, 255};

    // Horizontal strips.
    panel(im, 1, 489, 101, 511, steel_lo, steel_hi, 1, 3, outline_dark);                      // strip 0
    panel(im, 102, 489, 202, 511, rgba{28, 42, 72, 255}, rgba{70, 98, 150, 255}, 1, 4, outline_dark);   // title strip
    panel(im, 304, 487, 356, 511, rgba{84, 96, 118, 255}, rgba{150, 162, 186, 255}, 1, 3, outline_dark); // button up
    panel(im, 304, 460, 356, 484, rgba{60, 70, 90, 255}, rgba{40, 46, 60, 255}, -1, 3, outline_dark);    // button down
    panel(im, 204, 486, 302, 510, rgba{70, 92, 132, 255}, rgba{112, 138, 184, 255}, 1, 3, outline_dark); // tab front
    panel(im, 204, 459, 302, 483, rgba{40, 46, 60, 255}, rgba{64, 72, 90, 255}, 1, 3, outline_dark);     // tab back
    // The selection list box: a dark field with a drop arrow in its right cap.
    panel(im, 357, 492, 425, 508, rgba{14, 18, 26, 255}, rgba{34, 40, 52, 255}, -1, 2, rgba{120, 132, 156, 255});
    panel(im, 404, 493, 424, 507, rgba{70, 82, 104, 255}, rgba{120, 134, 160, 255}, 1, 1);
    triangle(im, 414.0f, 503, 9, 5, -1, rgba{236, 238, 244, 255});
    panel(im, 112, 163, 140, 176, steel_lo, steel_hi, 1, 3, outline_dark);                    // small strip 4
    panel(im, 83, 163, 111, 176, rgba{36, 42, 54, 255}, rgba{68, 78, 96, 255}, 1, 3, outline_dark);  // small strip 5
    // Slider track: a sunken groove in the upper part, where the fill runs.
    panel(im, 240, 251, 305, 265, rgba{20, 22, 28, 255}, rgba{8, 10, 14, 255}, -1, 3, outline_dark);
    // The fill strip: a light pill the fill colour tints.
    panel(im, 289, 223, 305, 232, rgba{190, 190, 190, 255}, rgba{255, 255, 255, 255}, 0, 2);
    // Value box: a sunken dark field.
    panel(im, 263, 141, 312, 152, rgba{6, 8, 12, 255}, rgba{18, 22, 28, 255}, -1, 1, rgba{90, 100, 118, 255});

    // Window frames.
    window_frame(im, 1, 358, 100, 9, 14, 4, rgba{70, 96, 140, 255}, rgba{120, 150, 200, 255}, rgba{30, 38, 54, 240});
    window_frame(im, 102, 358, 100, 9, 14, 4, rgba{56, 64, 80, 255}, rgba{98, 110, 134, 255}, rgba{26, 30, 40, 240});
    window_frame(im, 203, 358, 100, 9, 14, 4, rgba{64, 66, 72, 255}, rgba{112, 116, 126, 255}, rgba{40, 42, 48, 235});
    window_frame(im, 304, 358, 100, 9, 14, 4, rgba{90, 96, 112, 255}, rgba{140, 148, 166, 255}, rgba{16, 20, 28, 235});
    window_frame(im, 405, 358, 100, 9, 14, 4, rgba{40, 80, 96, 255}, rgba{80, 140, 164, 255}, rgba{8, 24, 32, 215});
    window_frame(im, 1, 289, 68, 2, 2, 2, rgba{70, 80, 98, 255}, rgba{110, 122, 146, 255}, rgba{12, 14, 20, 235});
    window_frame(im, 70, 315, 42, 8, 13, 2, rgba{56, 64, 80, 255}, rgba{98, 110, 134, 255}, rgba{22, 26, 34, 240});

    // The vertical track of the scroll bar.
    panel(im, 106, 249, 118, 287, rgba{10, 12, 16, 255}, rgba{22, 26, 32, 255}, -1, 3, rgba{70, 80, 98, 255});

    // Scroll-bar arrows and thumb, light so that the drag colour shows.
    const rgba light{200, 206, 216, 255};
    arrow_button(im, 83, 268, 101, 288, 1, light);
    arrow_button(im, 83, 216, 101, 236, -1, light);
    panel(im, 84, 240, 100, 264, rgba{168, 174, 186, 255}, rgba{226, 230, 238, 255}, 1, 2, outline_dark);
    for (int k = 0; k < 3; ++k) im.fill(87, 248 + 3 * k, 97, 249 + 3 * k, rgba{120, 126, 140, 255});

    // Knob of a slider.
    panel(im, 264, 267, 280, 289, rgba{150, 156, 170, 255}, rgba{236, 238, 244, 255}, 1, 2, outline_dark);
    for (int k = 0; k < 3; ++k) im.fill(268 + 3 * k, 272, 269 + 3 * k, 284, rgba{110, 116, 130, 255});

    // Digit-field arrows (down below a digit, up above it).
    triangle(im, 90.0f, 189, 10, 6, -1, rgba{210, 216, 226, 255});
    triangle(im, 90.0f, 204, 10, 6, 1, rgba{210, 216, 226, 255});

    // Close boxes: a red box with a cross; the pressed one darker and sunken.
    for (int pressed = 0; pressed < 2; ++pressed) {
        const int y = pressed ? 197 : 178;
        const rgba face = pressed ? rgba{110, 30, 30, 255} : rgba{180, 56, 50, 255};
        panel(im, 121, y + 1, 137, y + 17, shade(face, -30), shade(face, 30), pressed ? -1 : 1, 2, outline_dark);
        for (int t = 0; t < 2; ++t) {
            line(im, 125 + t, y + 5, 132 + t, y + 12, rgba{250, 236, 230, 255});
            line(im, 125 + t, y + 12, 132 + t, y + 5, rgba{250, 236, 230, 255});
        }
    }

    // Check boxes and their ticks (the ticks are drawn in the tick colour).
    panel(im, 87, 127, 97, 137, rgba{12, 14, 18, 255}, rgba{26, 30, 38, 255}, -1, 0, rgba{150, 160, 178, 255});
    tick_mark(im, 84, 144, 16, rgba{255, 255, 255, 255});
    panel(im, 141, 180, 155, 194, rgba{12, 14, 18, 255}, rgba{26, 30, 38, 255}, -1, 1, rgba{150, 160, 178, 255});
    tick_mark(im, 139, 198, 18, rgba{255, 255, 255, 255});

    // The direction dial: a face with a ring, ticks every 30 degrees and the
    // north mark.
    disc(im, 206.0f, 189.0f, 27.5f, outline_dark);
    disc(im, 206.0f, 189.0f, 26.5f, rgba{30, 36, 48, 250});
    disc(im, 206.0f, 189.0f, 26.5f, rgba{120, 134, 160, 255}, 2.0f);
    for (int deg = 0; deg < 360; deg += 30) {
        const float a = static_cast<float>(deg) * PI_FLOAT / 180.0f;
        const int len = deg % 90 == 0 ? 6 : 3;
        for (int k = 0; k < len; ++k) {
            const float r = 23.5f - static_cast<float>(k);
            im.set(static_cast<int>(206.0f + r * std::sin(a)), static_cast<int>(189.0f + r * std::cos(a)),
                   deg == 0 ? rgba{255, 120, 90, 255} : rgba{210, 216, 226, 255});
        }
    }
    im.set(205, 189, rgba{210, 216, 226, 255});
    im.set(206, 189, rgba{210, 216, 226, 255});
    // Scale boxes below the dial: minus and plus.
    panel(im, 210, 106, 240, 124, rgba{60, 70, 90, 255}, rgba{110, 122, 148, 255}, 1, 2, outline_dark);
    panel(im, 241, 106, 271, 124, rgba{60, 70, 90, 255}, rgba{110, 122, 148, 255}, 1, 2, outline_dark);
    im.fill(219, 114, 231, 116, rgba{236, 238, 244, 255});
    im.fill(250, 114, 262, 116, rgba{236, 238, 244, 255});
    im.fill(255, 109, 257, 121, rgba{236, 238, 244, 255});

    // File icon: a folder.
    panel(im, 211, 138, 231, 153, rgba{196, 150, 50, 255}, rgba{240, 200, 96, 255}, 1, 1, rgba{90, 64, 20, 255});
    panel(im, 211, 152, 220, 156, rgba{220, 176, 70, 255}, rgba{240, 200, 96, 255}, 0, 1, rgba{90, 64, 20, 255});

    // Kind icons of the folder listing (12 x 12, drawn in white light).
    const rgba ic{236, 238, 244, 255}, ic_dim{150, 160, 178, 255};
    // folder
    panel(im, 35, 58, 45, 66, rgba{196, 150, 50, 255}, rgba{240, 200, 96, 255}, 0, 0, rgba{90, 64, 20, 255});
    im.fill(35, 66, 40, 68, rgba{220, 176, 70, 255});
    // aircraft: fuselage, wings and tail
    im.fill(53, 58, 55, 68, ic);
    im.fill(49, 63, 59, 65, ic);
    im.fill(51, 58, 57, 59, ic);
    // airfoil: a wing section
    for (int x = 63; x < 73; ++x) {
        const float t = static_cast<float>(x - 63) / 9.0f;
        const int thick = static_cast<int>(std::lround(3.0f * std::sin(3.14159f * std::sqrt(t))));
        im.fill(x, 62, x + 1, 63 + thick, ic);
    }
    // scenery: hills
    for (int x = 77; x < 87; ++x) {
        const int hgt = 3 + static_cast<int>(std::lround(3.0 * std::fabs(std::sin((x - 77) * 0.6))));
        im.fill(x, 58, x + 1, 58 + hgt, rgba{120, 190, 110, 255});
    }
    // weapon: a missile
    im.fill(91, 62, 100, 64, ic);
    im.set(100, 63, ic);
    im.fill(91, 60, 93, 66, ic_dim);
    // situation: a flag
    im.fill(106, 58, 107, 68, ic);
    im.fill(107, 63, 114, 68, rgba{220, 80, 70, 255});
    // movie: a film strip
    panel(im, 119, 59, 129, 67, rgba{40, 44, 52, 255}, rgba{70, 76, 90, 255}, 0, 0, ic);
    for (int x = 120; x < 129; x += 2) {
        im.set(x, 60, ic);
        im.set(x, 65, ic);
    }
    // flight plan: a route with waypoints
    line(im, 133, 59, 137, 66, ic);
    line(im, 137, 66, 142, 61, ic);
    im.fill(132, 58, 135, 61, rgba{255, 200, 90, 255});
    im.fill(136, 65, 139, 68, rgba{255, 200, 90, 255});
    im.fill(141, 60, 144, 63, rgba{255, 200, 90, 255});
    // object: a building
    im.fill(148, 58, 156, 66, ic_dim);
    im.fill(150, 66, 154, 68, ic_dim);
    for (int y = 60; y < 66; y += 2)
        for (int x = 149; x < 156; x += 2) im.set(x, y, rgba{255, 220, 120, 255});
}

// The map's symbols, each inside its art box: white ink with a dark rim so
// that a tint keeps them readable over any ground colour.
inline void draw_map_sprites(image& im)
{
    const rgba ink{255, 255, 255, 255}, rim{0, 0, 0, 160};
    // NDB: a dotted ring round a dot.
    for (int deg = 0; deg < 360; deg += 30) {
        const float a = static_cast<float>(deg) * PI_FLOAT / 180.0f;
        im.set(385 + static_cast<int>(std::lround(5.0f * std::sin(a))), 264 + static_cast<int>(std::lround(5.0f * std::cos(a))), ink);
    }
    disc(im, 385.0f, 264.0f, 2.0f, ink);
    // The VOR as a small hexagon with its centre dot.
    auto hexagon = [&im](float cx, float cy, float r, rgba c) {
        for (int k = 0; k < 6; ++k) {
            const float a0 = static_cast<float>(k) * PI_FLOAT / 3.0f, a1 = a0 + PI_FLOAT / 3.0f;
            line(im, static_cast<int>(std::lround(cx + r * std::cos(a0))), static_cast<int>(std::lround(cy + r * std::sin(a0))),
                 static_cast<int>(std::lround(cx + r * std::cos(a1))), static_cast<int>(std::lround(cy + r * std::sin(a1))), c);
        }
    };
    hexagon(384.5f, 281.5f, 5.5f, ink);
    im.fill(384, 281, 386, 283, ink);
    // The compass rose: a ring with a tick every 10 degrees (long every 30),
    // the north arrow and the VOR hexagon at its centre.
    const float rx = 341.5f, ry = 254.5f;
    disc(im, rx, ry, 34.0f, rim, 3.0f);
    disc(im, rx, ry, 33.0f, ink, 1.0f);
    for (int deg = 0; deg < 360; deg += 10) {
        const float a = static_cast<float>(deg) * PI_FLOAT / 180.0f;
        const float len = deg % 30 == 0 ? 6.0f : 3.0f;
        for (float r = 32.0f - len; r <= 32.0f; r += 0.5f)
            im.set(static_cast<int>(rx + r * std::sin(a)), static_cast<int>(ry + r * std::cos(a)), ink);
    }
    triangle(im, rx, 281, 7, 6, 1, ink);
    hexagon(rx, ry, 6.0f, ink);
    im.fill(341, 254, 343, 256, ink);
    // Glide slope: a wedge.
    triangle(im, 403.0f, 241, 12, 10, 1, ink);
    // Marker: a lens across the course.
    for (int y = 257; y < 271; ++y) {
        const float t = (static_cast<float>(y) + 0.5f - 264.0f) / 7.0f;
        const int half = static_cast<int>(std::lround(6.0f * std::sqrt(std::max(0.0f, 1.0f - t * t)) * 0.5f));
        im.fill(403 - half, y, 403 + half, y + 1, ink);
    }
    // DME: a square with its centre dot.
    panel(im, 451, 276, 463, 288, rim, rim, 0, 0, ink);
    im.fill(456, 281, 458, 283, ink);
    // Object: an obstacle mast with its foot.
    im.fill(402, 222, 404, 234, ink);
    im.fill(398, 221, 408, 223, ink);
    line(im, 399, 222, 402, 233, ink);
    line(im, 406, 222, 403, 233, ink);
    // Fix: a triangle outline.
    line(im, 379, 222, 391, 222, ink);
    line(im, 379, 222, 385, 233, ink);
    line(im, 391, 222, 385, 233, ink);
    // Airport: a ring with four tabs.
    disc(im, 385.0f, 246.0f, 5.0f, ink, 2.0f);
    im.fill(384, 239, 386, 242, ink);
    im.fill(384, 250, 386, 253, ink);
    im.fill(379, 245, 382, 247, ink);
    im.fill(388, 245, 391, 247, ink);
    // The ships, bow up: the carrier with its flat deck and island, the second
    // ship slimmer.
    for (int y = 239; y < 288; ++y) {
        const float t = static_cast<float>(288 - y) / 12.0f;
        const int half = y > 276 ? static_cast<int>(std::lround(6.0f * std::min(1.0f, t))) : 6;
        im.fill(474 - half, y, 475 + half, y + 1, ink);
    }
    im.fill(478, 255, 481, 266, rim);
    for (int y = 241; y < 287; ++y) {
        const float t = static_cast<float>(287 - y) / 14.0f;
        const int half = y > 272 ? static_cast<int>(std::lround(4.0f * std::min(1.0f, t))) : 4;
        im.fill(492 - half, y, 493 + half, y + 1, ink);
    }
    // Oil platforms: a deck on four legs, the second with its derrick.
    for (int p = 0; p < 2; ++p) {
        const int y0 = p ? 238 : 256;
        panel(im, 452, y0 + 3, 462, y0 + 13, rim, rim, 0, 0, ink);
        im.fill(451, y0 + 1, 453, y0 + 4, ink);
        im.fill(461, y0 + 1, 463, y0 + 4, ink);
        im.fill(451, y0 + 12, 453, y0 + 15, ink);
        im.fill(461, y0 + 12, 463, y0 + 15, ink);
        if (p) triangle(im, 457.0f, y0 + 5, 6, 7, 1, ink);
        else im.fill(455, y0 + 6, 459, y0 + 10, ink);
    }
    // Fire: a flame of three tongues.
    triangle(im, 457.0f, 221, 10, 14, 1, ink);
    triangle(im, 453.5f, 221, 5, 9, 1, ink);
    triangle(im, 460.5f, 221, 5, 9, 1, ink);
}

inline void draw_swatches(image& im)
{
    int i = 0;
    for (const swatch& s : swatches) {
        const int texel = swatch_texel(i++);
        const int x = texel % SIDE, y = texel / SIDE;
        im.fill(x - 2, y - 2, x + 3, y + 3, s.colour);
    }
}

// The whole bitmap. Returns false (with the reason) when a glyph does not fit.
inline bool build(image& im, std::string* problem = nullptr)
{
    if (!draw_proportional_font(im, 0, 0, rgba{0, 0, 0, 0}, problem)) return false;
    if (!draw_proportional_font(im, 137, 0, rgba{0, 0, 0, 150}, problem)) return false;
    if (!draw_grid_font(im, 381, 0, problem)) return false;
    draw_widgets(im);
    draw_map_sprites(im);
    draw_swatches(im);
    return true;
}

// Writes the image as an 8-bit RGBA PNG, top row first.
inline bool write_png(const image& im, const char* path)
{
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, SIDE, SIDE, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(SIDE) * 4);
    for (int y = SIDE - 1; y >= 0; --y) {
        for (int x = 0; x < SIDE; ++x) {
            const rgba c = im.get(x, y);
            row[size_t(x) * 4 + 0] = c.r;
            row[size_t(x) * 4 + 1] = c.g;
            row[size_t(x) * 4 + 2] = c.b;
            row[size_t(x) * 4 + 3] = c.a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

}  // namespace interface_art
