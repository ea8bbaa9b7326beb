// The two panel-font sheets drawn by code (512 x 512, rows counted from the
// bottom, transparent outside the art): the first holds the panel fonts
// 109..115 and 118, the control sprites cut from it, the map symbol cells, the
// attitude indicator's mask and bezel and the texel of the engine bars; the
// second holds the needles, the sprites cut from it, the drum strips, the
// scale ticks, the fonts 116 and 117, the rotated cards and the attitude
// balls, rings and flight-director symbols. Every box comes from
// panel/panel_art.h and graphics/font.cpp, so the art lies where the drawers
// cut it.
#pragma once

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>

#include "graphics/font.h"
#include "panel/panel_art.h"
#include "tools/interface_art.h"
#include "tools/pixel_font.h"

namespace panel_sheets {

using interface_art::image;
using interface_art::rgba;

constexpr rgba CLEAR{0, 0, 0, 0};
constexpr rgba INK{255, 255, 255, 255};
constexpr rgba BLACK{14, 14, 16, 255};
constexpr rgba DARK{44, 46, 50, 255};
constexpr rgba GREY{130, 132, 136, 255};
constexpr rgba LIGHT{200, 202, 206, 255};
constexpr rgba RED{230, 40, 30, 255};
constexpr rgba AMBER{250, 180, 30, 255};
constexpr rgba GREEN{60, 220, 90, 255};
constexpr rgba BLUE{80, 140, 255, 255};
constexpr rgba MAGENTA_ART{230, 60, 230, 255};
constexpr rgba YELLOW{250, 220, 40, 255};
constexpr rgba SKY{60, 130, 215, 255};
constexpr rgba EARTH{150, 95, 45, 255};
constexpr double PI = 3.14159265358979;

// [x1, x2) x [y1, y2) in texels from float bounds (a box of the tables).
inline void box(image& im, float u1, float v1, float u2, float v2, rgba c)
{
    im.fill(static_cast<int>(std::floor(u1)), static_cast<int>(std::floor(v1)), static_cast<int>(std::ceil(u2)),
            static_cast<int>(std::ceil(v2)), c);
}

inline void outline(image& im, int x1, int y1, int x2, int y2, rgba c)
{
    for (int x = x1; x < x2; ++x) im.set(x, y1, c), im.set(x, y2 - 1, c);
    for (int y = y1; y < y2; ++y) im.set(x1, y, c), im.set(x2 - 1, y, c);
}

// A text of the pixel font with its ink centred on (cx, cy); `scale` texels a dot.
inline void text(image& im, const std::string& s, float cx, float cy, rgba c, int scale = 1, bool narrow = true)
{
    int width = 0;
    for (char ch : s) {
        const pixel_glyph* g = pixel_font_find(static_cast<unsigned char>(ch), narrow);
        width += (g ? pixel_glyph_width(*g) : 3) + 1;
    }
    width = (width - 1) * scale;
    const int x = static_cast<int>(std::lround(cx - width * 0.5f));
    const int y0 = static_cast<int>(std::lround(cy - 3.5f * scale));
    pixel_text_dots(s, narrow, [&](int col, int up) {
        im.fill(x + col * scale, y0 + up * scale, x + (col + 1) * scale, y0 + (up + 1) * scale, c);
    });
}

// ---------------------------------------------------------------------------
// Fonts: each glyph in the cell the font code gives it.
inline void fonts(image& im, int sheet)
{
    for (int font = 109; font <= 118; ++font) {
        const bool second = font == 116 || font == 117;
        if (second != (sheet == SHEET_F2)) continue;
        const int map = font == 112 || font == 113 ? GRID_MAP_CLOCK
                        : font == 115              ? GRID_MAP_TEMPERATURE
                        : second                   ? GRID_MAP_DIGITS
                                                   : GRID_MAP_FULL;
        const int scale = font == 118 ? 2 : 1;
        for (int code = 33; code < 127; ++code) {
            const int cell = FONT_grid_cell(map, code);
            if (cell == 0 && !(map != GRID_MAP_FULL && code == '0')) continue;
            font_glyph_place p;
            if (!FONT_glyph_place(font, code, p)) continue;
            const pixel_glyph* g = pixel_font_find(code, true);
            if (!g) continue;
            const int w = pixel_glyph_width(*g) * scale;
            const int x0 = static_cast<int>(std::lround(p.tx)) + std::max(0, (static_cast<int>(p.w) - 1 - w) / 2);
            const int y0 = static_cast<int>(std::lround(p.ty)) + grid_glyph_raise(code) * scale;
            for (int r = 0; r < PIXEL_GLYPH_ROWS; ++r)
                for (int c = 0; c < w / scale; ++c)
                    if (pixel_glyph_ink(*g, c, r))
                        im.fill(x0 + c * scale, y0 + (9 - r) * scale, x0 + (c + 1) * scale, y0 + (10 - r) * scale,
                                INK);
        }
    }
}

// ---------------------------------------------------------------------------
// The pointers of a horizontal situation display, each the part it shows
// rather than a tapered needle (mechanical and glass styles alike): the course
// arrow a thin line with its head, broken where the deviation bar runs, with
// two dots a side of the deviation scale; the bar as long as that break; the
// TO/FROM pointer and the lubber mark small triangles, the glide-slope
// pointers triangles pointing inward; the heading bug a notched block; the
// glide-slope warning a striped flag. False for any other style.
inline bool hsi_part(image& im, int style)
{
    const needle_style* n = PANEL_needle_style(style);
    if (!n || style < 25 || style > 40) return false;
    const float ua = n->ua, ub = std::min<float>(n->ub, PANEL_ART_SIDE), va = n->va, vb = n->vb;
    const float cx = (ua + ub) * 0.5f, cy = va + n->f * (vb - va);
    constexpr float BREAK = 22.0f;   // half the break in the course line; the bar is 2 shorter
    auto line = [&](float y1, float y2) { box(im, cx - 1.5f, y1, cx + 1.5f, y2, INK); };
    // A triangle pointing along u (dir 1 right, -1 left) with its base at u0.
    auto sideways = [&](float u0, int length, int dir) {
        for (int i = 0; i < length; ++i) {
            const float half = 5.0f * (1.0f - static_cast<float>(i) / static_cast<float>(length));
            box(im, u0 + static_cast<float>(dir * i), cy - half, u0 + static_cast<float>(dir * i) + 1.0f, cy + half, INK);
        }
    };
    switch (style) {
    case 35: case 36: {
        line(va + 1.0f, cy - BREAK);
        line(cy + BREAK, vb - 14.0f);
        interface_art::triangle(im, cx, static_cast<int>(vb) - 15, 13, 14, 1, INK);
        const float dot = style == 36 ? HSI_UNITS_PER_DOT_GLASS : HSI_UNITS_PER_DOT;
        for (const float k : {-2.0f, -1.0f, 1.0f, 2.0f}) interface_art::disc(im, cx + k * dot, cy, 1.5f, INK);
        return true;
    }
    case 37: case 38: line(cy - BREAK + 2.0f, cy + BREAK - 2.0f); return true;
    case 29: case 30: interface_art::triangle(im, cx, static_cast<int>(cy) - 4, 11, 9, 1, INK); return true;
    case 25: case 26: interface_art::triangle(im, cx, static_cast<int>(cy) + 4, 11, 9, -1, INK); return true;
    case 27: case 28:
        box(im, cx - 5.0f, cy - 3.0f, cx + 5.0f, cy + 3.0f, INK);
        box(im, cx - 1.5f, cy, cx + 1.5f, cy + 3.0f, CLEAR);
        return true;
    case 31: case 32: sideways(cx - 5.0f, 11, 1); return true;
    case 33: case 34: sideways(cx + 5.0f, 11, -1); return true;
    case 39: case 40:
        for (int y = static_cast<int>(cy) - 11; y < static_cast<int>(cy) + 11; ++y)
            for (int x = static_cast<int>(ua) + 1; x < static_cast<int>(ub) - 1; ++x)
                im.set(x, y, ((x + y) / 3) % 2 ? RED : INK);
        return true;
    default: return false;
    }
}

// ---------------------------------------------------------------------------
// Needles: a tapered body from the back end (va) to the tip (vb) with a hub
// at the pivot; the barber pole striped, the pointer heads as arrowheads.
inline void needle(image& im, int style)
{
    const needle_style* n = PANEL_needle_style(style);
    if (!n || hsi_part(im, style)) return;
    const float ua = n->ua, ub = std::min<float>(n->ub, PANEL_ART_SIDE), va = n->va, vb = n->vb;
    const float w = ub - ua, len = vb - va, cx = (ua + ub) * 0.5f, pivot = va + n->f * len;
    const bool head = n->f >= 1.0f && style >= 67;
    for (int y = static_cast<int>(va); y < static_cast<int>(vb); ++y) {
        const float t = (static_cast<float>(y) + 0.5f - va) / len;   // 0 back .. 1 tip
        float half = head ? w * 0.5f * t : std::max(0.6f, w * 0.3f * (1.0f - 0.8f * std::max(0.0f, t - n->f)));
        for (int x = static_cast<int>(ua); x < static_cast<int>(std::ceil(ub)); ++x) {
            const float dx = std::fabs(static_cast<float>(x) + 0.5f - cx);
            if (dx > half) continue;
            rgba c = dx > half - 1.0f ? GREY : INK;
            if (style == 8 && ((y / 6) % 2 == 0)) c = RED;   // the barber pole
            im.set(x, y, c);
        }
    }
    if (n->f > 0.0f && n->f < 1.0f) interface_art::disc(im, cx, pivot, std::min(w * 0.5f, 3.5f), GREY);
}

// ---------------------------------------------------------------------------
// The sprite art, by the kind of part the box shows.
inline rgba lamp_colour(int type, int state)
{
    if (type == 22 || type == 23 || type == 457 || type == 184) return GREEN;
    if (type == 339 || type == 355 || type == 366 || type == 365) return RED;
    if (type >= 356 && type <= 367) return AMBER;
    if (type == 376 || type == 386) return AMBER;
    if (type == 213 || type == 214) return state == 0 ? BLUE : state == 1 ? AMBER : LIGHT;
    if (type == 437) return state == 0 ? GREEN : state == 1 ? AMBER : RED;
    if (type == 173 || type == 174) return MAGENTA_ART;
    return GREEN;
}

inline const char* lamp_caption(int type)
{
    switch (type) {
    case 355: return "CAUT";
    case 356: return "AP";
    case 357: return "VAC";
    case 358: return "VOLT";
    case 359: return "FUEL";
    case 360: return "FPRS";
    case 361: return "OILP";
    case 362: return "OILT";
    case 363: return "INV";
    case 364: return "GEN";
    case 365: return "CHIP";
    case 366: return "FIRE";
    case 367: return "HYD";
    case 376: return "ACPT";
    case 386: return "IGN";
    case 339: return "STALL";
    default: return "";
    }
}

inline void sprite_art(image& im, int type, int state, const panel_sprite& sp)
{
    const int x1 = static_cast<int>(std::floor(sp.cu - sp.hw)), x2 = static_cast<int>(std::ceil(sp.cu + sp.hw));
    const int y1 = static_cast<int>(std::floor(sp.cv - sp.hh)), y2 = static_cast<int>(std::ceil(sp.cv + sp.hh));
    const float cx = sp.cu, cy = sp.cv;
    if (type == INS_EFIS_EL_LOC || type == INS_EFIS_EL_GS) {   // a deviation scale: a centre mark, two dots a side
        const bool across = type == INS_EFIS_EL_LOC;
        const float dot = across ? HSI_UNITS_PER_DOT_GLASS : HSI_GS_UNITS_PER_DOT;
        if (across) box(im, cx - 1.0f, cy - 5.0f, cx + 1.0f, cy + 5.0f, INK);
        else box(im, cx - 5.0f, cy - 1.0f, cx + 5.0f, cy + 1.0f, INK);
        for (const float k : {-2.0f, -1.0f, 1.0f, 2.0f})
            interface_art::disc(im, across ? cx + k * dot : cx, across ? cy : cy + k * dot, 1.5f, INK);
        return;
    }
    if (sp.colour != 0) {   // a lit part
        const rgba c = (sp.colour == 51) ? RED : (sp.colour == 50) ? GREEN : lamp_colour(type, state);
        im.fill(x1, y1, x2, y2, interface_art::shade(c, -60));
        im.fill(x1 + 1, y1 + 1, x2 - 1, y2 - 1, c);
        const std::string cap = lamp_caption(type);
        if (!cap.empty() && y2 - y1 >= 9) text(im, cap, cx, cy, BLACK);
        return;
    }
    if (sp.hw == 15 && sp.hh == 15 && (sp.cv == 59 || sp.cv == 15)) {   // a toggle switch, lever up
        interface_art::disc(im, cx, cy, 14, DARK);
        interface_art::disc(im, cx, cy, 11, GREY);
        im.fill(static_cast<int>(cx) - 2, static_cast<int>(cy), static_cast<int>(cx) + 2, y2 - 2, LIGHT);
        interface_art::disc(im, cx, static_cast<float>(y2) - 3.5f, 3, INK);
        return;
    }
    if (sp.hw == 11 && sp.hh == 11) {   // a knob position: the pointer turns along the row
        interface_art::disc(im, cx, cy, 10.5f, DARK);
        interface_art::disc(im, cx, cy, 8.5f, GREY);
        const double a = ((cx - 200.0) / 21.0) * 45.0 * PI / 180.0 - PI / 2.0;
        for (int r = 2; r < 10; ++r)
            im.fill(static_cast<int>(cx + r * std::sin(a)) - 1, static_cast<int>(cy + r * std::cos(a)) - 1,
                    static_cast<int>(cx + r * std::sin(a)) + 1, static_cast<int>(cy + r * std::cos(a)) + 1, INK);
        return;
    }
    if (sp.sheet == SHEET_F2 && type >= 47 && type <= 64) {   // a lever handle
        interface_art::panel(im, x1, y1, x2, y2, DARK, GREY, 1, 2);
        im.fill(x1 + 2, static_cast<int>(cy) - 1, x2 - 2, static_cast<int>(cy) + 1, INK);
        return;
    }
    if (sp.sheet == SHEET_F2 && sp.hw == 7 && sp.hh == 7) {   // the slip ball
        interface_art::disc(im, cx, cy, 6.5f, BLACK);
        interface_art::disc(im, cx - 2, cy + 2, 1.5f, GREY);
        return;
    }
    if (type == 66 || type == 72 || type == 68 || type == 70) {   // trim-wheel frames: ribbed
        im.fill(x1, y1, x2, y2, DARK);
        const bool upright = sp.hh > sp.hw;
        for (int k = (upright ? y1 : x1) + state % 4; k < (upright ? y2 : x2); k += 4) {
            if (upright) im.fill(x1 + 1, k, x2 - 1, k + 1, GREY);
            else im.fill(k, y1 + 1, k + 1, y2 - 1, GREY);
        }
        return;
    }
    // Any other part: a plate with a border.
    interface_art::panel(im, x1, y1, x2, y2, DARK, GREY, 1, 1);
}

// The states worth painting of a type: those its drawer passes (a sprite
// whose rule ignores the state needs only one).
inline std::pair<int, int> art_states(int t)
{
    switch (t) {
    case 5: return {-1, 4};
    case 6: case 25: case 27: case 37: case 403: case 369: case 370: case 213: case 214: case 437: return {0, 2};
    case 24: case 26: case 415: case 416: case 422: case 58: case 59: case 458: case 184: case 191: return {0, 1};
    case 28: return {0, 6};
    case 22: case 23: case 457: return {0, 2};
    case 34: case 35: return {0, 4};
    case 38: case 393: case 394: case 395: case 396: case 398: case 131: case 132: return {0, 4};
    case 66: case 72: return {0, 1};
    case 68: case 70: return {0, 4};
    case 154: case 155: case 156: return {0, 5};
    case 176: case 177: return {0, 2};
    case 185: case 186: case 187: case 371: case 372: case 373: return {1, 1};
    case 211: case 212: return {0, 6};
    case 231: case 474: return {0, 19};
    case 232: case 233: case 234: return {0, 3};
    case 235: case 236: case 237: case 238: case 454: return {0, 3};
    case 239: case 240: case 241: case 475: return {0, 9};
    default: break;
    }
    if ((t >= 423 && t <= 433) || t == 438 || t == 439) return {0, 4};
    for (const autopilot_triple& a : autopilot_triples)
        if (t >= a.first && t <= a.first + 2) return {0, 2};
    return {0, 0};
}

inline void sprites(image& im, int sheet)
{
    std::set<std::tuple<int, int, int, int>> done;
    for (int type = 0; type < 476; ++type)
        for (int state = art_states(type).first; state <= art_states(type).second; ++state) {
            const panel_sprite sp = PANEL_sprite(type, state);
            if (sp.sheet != sheet || sp.hw <= 0 || sp.hh <= 0) continue;
            if (sp.cu - sp.hw < 0 || sp.cv - sp.hh < 0 || sp.cu + sp.hw > PANEL_ART_SIDE + 1 ||
                sp.cv + sp.hh > PANEL_ART_SIDE + 1)
                continue;
            const auto key = std::make_tuple(static_cast<int>(sp.cu * 2), static_cast<int>(sp.cv * 2),
                                             static_cast<int>(sp.hw * 2), static_cast<int>(sp.hh * 2));
            if (!done.insert(key).second) continue;
            sprite_art(im, type, state, sp);
        }
}

// ---------------------------------------------------------------------------
// Drum strips of the second sheet.
inline void drums(image& im)
{
    // Counter digits: 0..9 and the 0 after the 9, centred 9 texels apart.
    box(im, DRUM_DIGIT_U1, DRUM_DIGIT_V0 - DRUM_DIGIT_HALF - 1, DRUM_DIGIT_U2,
        DRUM_DIGIT_V0 + 10 * DRUM_DIGIT_PITCH + DRUM_DIGIT_HALF + 1, BLACK);
    for (int d = 0; d <= 10; ++d)
        text(im, std::string(1, static_cast<char>('0' + d % 10)), (DRUM_DIGIT_U1 + DRUM_DIGIT_U2) * 0.5f,
             DRUM_DIGIT_V0 + DRUM_DIGIT_PITCH * d, INK);
    // The heading strips: a heading h lies at u = u0 + rate x h.
    const char* labels[12] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    box(im, 0, DRUM_NARROW_V1, 185, DRUM_NARROW_V2, BLACK);
    box(im, 0, DRUM_WIDE_V1, PANEL_ART_SIDE, DRUM_WIDE_V2, BLACK);
    for (int h = -60; h <= 420; h += 5) {
        const float un = DRUM_NARROW_U0 + DRUM_NARROW_RATE * h, uw = DRUM_WIDE_U0 + DRUM_WIDE_RATE * h;
        const int k = ((h % 360) + 360) % 360;
        if (h % 10 == 0 && un >= 0 && un <= 185) box(im, un, DRUM_NARROW_V2 - 3, un + 1, DRUM_NARROW_V2, INK);
        if (uw >= 0 && uw < PANEL_ART_SIDE) box(im, uw, DRUM_WIDE_V2 - (h % 10 == 0 ? 4 : 2), uw + 1, DRUM_WIDE_V2, INK);
        if (k % 30 == 0) {
            if (un >= 3 && un <= 182) text(im, labels[k / 30], un + 0.5f, DRUM_NARROW_V1 + 3.5f, INK);
            if (uw >= 6 && uw <= 506) text(im, labels[k / 30], uw + 0.5f, DRUM_WIDE_V1 + 5.0f, INK);
        }
    }
}

// The scale ticks, the minus sign and the airspeed unit labels (over the
// tails of the needles they share texels with).
inline void ticks_and_labels(image& im)
{
    box(im, TICK_MAJOR_U1, TICK_V1, TICK_MAJOR_U2, TICK_V2, INK);
    box(im, TICK_MINOR_U1, TICK_V1 + 4, TICK_MINOR_U2, TICK_V2, INK);
    box(im, MINUS_U1, MINUS_V1 + 2, MINUS_U2, MINUS_V1 + 3, INK);
    // The unit labels are drawn 20 x 8 on the screen from 8 x 20 texels: the
    // text is laid out at screen proportions and sampled back.
    for (int knots = 0; knots < 2; ++knots) {
        image label;
        text(label, knots ? "KTS" : "MPH", 10.0f, 4.0f, INK);
        const float c = knots ? UNIT_LABEL_KNOTS_U : UNIT_LABEL_MPH_U;
        for (int v = 0; v < 20; ++v)
            for (int u = 0; u < 8; ++u) {
                const int sx = static_cast<int>((u + 0.5f) * 2.5f), sy = static_cast<int>((v + 0.5f) * 0.4f);
                im.set(static_cast<int>(c - UNIT_LABEL_HALF) + u, static_cast<int>(UNIT_LABEL_V1) + v,
                       label.get(sx, sy).a ? INK : CLEAR);
            }
    }
}

// ---------------------------------------------------------------------------
// Map symbols.
inline void map_cells(image& im, int sheet)
{
    auto centre = [](const art_box& b) { return std::make_pair((b.u1 + b.u2) * 0.5f, (b.v1 + b.v2) * 0.5f); };
    if (sheet == SHEET_F1) {
        auto [nx, ny] = centre(MAP_CELL_NDB);
        for (int k = 0; k < 12; ++k)
            interface_art::disc(im, nx + 5.5f * static_cast<float>(std::sin(k * PI / 6)),
                                ny + 5.5f * static_cast<float>(std::cos(k * PI / 6)), 0.8f, AMBER);
        interface_art::disc(im, nx, ny, 2, AMBER);
        auto [vx, vy] = centre(MAP_CELL_VOR);
        interface_art::disc(im, vx, vy, 6, BLUE, 1.5f);
        interface_art::disc(im, vx, vy, 1.2f, BLUE);
        auto [fx, fy] = centre(MAP_CELL_FIX);
        interface_art::triangle(im, fx, static_cast<int>(fy) - 5, 11, 10, 1, INK);
        auto [ax, ay] = centre(MAP_CELL_AIRPORT);
        interface_art::disc(im, ax, ay, 6, GREEN, 1.5f);
        im.fill(static_cast<int>(ax) - 1, static_cast<int>(ay) - 5, static_cast<int>(ax) + 1, static_cast<int>(ay) + 5, GREEN);
    } else {
        auto [sx, sy] = centre(MAP_CELL_SHIP);
        im.fill(static_cast<int>(sx) - 2, static_cast<int>(sy) - 6, static_cast<int>(sx) + 2, static_cast<int>(sy) + 6, INK);
        interface_art::triangle(im, sx, static_cast<int>(sy) + 6, 4, 3, 1, INK);
    }
}

// ---------------------------------------------------------------------------
// The attitude indicator: balls (sky over ground with pitch lines), bank
// ring and card, the glass mask and the mechanical bezel, flight-director
// bars and aircraft symbols.
inline void ball(image& im, float u1, float u2, float horizon, float per_degree)
{
    for (int y = 257; y < PANEL_ART_SIDE; ++y)
        for (int x = static_cast<int>(u1); x < static_cast<int>(u2); ++x) im.set(x, y, y >= horizon ? SKY : EARTH);
    const float cx = (u1 + u2) * 0.5f;
    im.fill(static_cast<int>(u1), static_cast<int>(horizon), static_cast<int>(u2), static_cast<int>(horizon) + 1, INK);
    for (int deg = -90; deg <= 90; deg += 10) {
        if (deg == 0) continue;
        const float y = horizon + per_degree * deg;
        if (y < 258 || y > 510) continue;
        const int half = deg % 20 == 0 ? 14 : 7;
        im.fill(static_cast<int>(cx) - half, static_cast<int>(y), static_cast<int>(cx) + half, static_cast<int>(y) + 1, INK);
        if (deg % 20 == 0 && half == 14) {
            const std::string n = std::to_string(std::abs(deg));
            text(im, n, cx - 22, y + 0.5f, INK);
            text(im, n, cx + 22, y + 0.5f, INK);
        }
    }
}

inline void ring_marks(image& im, float cx, float cy, float r1, float r2, rgba c)
{
    for (int deg : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
        const double a = deg * PI / 180.0;
        const float len = (deg % 30 == 0) ? r2 - r1 : (r2 - r1) * 0.5f;
        for (float r = r2 - len; r < r2; r += 0.5f)
            im.fill(static_cast<int>(cx + r * std::sin(a)), static_cast<int>(cy + r * std::cos(a)),
                    static_cast<int>(cx + r * std::sin(a)) + 2, static_cast<int>(cy + r * std::cos(a)) + 1, c);
    }
}

// A square with a round window: `c` outside radius r, transparent inside.
inline void masked_square(image& im, const art_box& b, float r, rgba c)
{
    const float cx = (b.u1 + b.u2) * 0.5f, cy = (b.v1 + b.v2) * 0.5f;
    for (int y = static_cast<int>(b.v1); y < static_cast<int>(b.v2); ++y)
        for (int x = static_cast<int>(b.u1); x < static_cast<int>(b.u2); ++x)
            im.set(x, y, std::hypot(x + 0.5f - cx, y + 0.5f - cy) > r ? c : CLEAR);
}

inline void aircraft_symbol(image& im, const art_box& b, rgba c)
{
    const float cx = (b.u1 + b.u2) * 0.5f, cy = (b.v1 + b.v2) * 0.5f;
    im.fill(static_cast<int>(b.u1) + 4, static_cast<int>(cy) - 1, static_cast<int>(cx) - 8, static_cast<int>(cy) + 2, c);
    im.fill(static_cast<int>(cx) + 8, static_cast<int>(cy) - 1, static_cast<int>(b.u2) - 4, static_cast<int>(cy) + 2, c);
    interface_art::disc(im, cx, cy, 2.5f, c);
}

inline void attitude(image& im, int sheet)
{
    if (sheet == SHEET_F2) {
        ball(im, ADI_GLASS_BALL.u1, ADI_GLASS_BALL.u2, 384.0f, 1.6333f);
        ball(im, ADI_MECH_BALL.u1, ADI_MECH_BALL.u2, 384.0f, 1.05f);
        const art_box& g = ADI_GLASS_RING;
        masked_square(im, g, 200.0f, CLEAR);
        interface_art::disc(im, (g.u1 + g.u2) * 0.5f, (g.v1 + g.v2) * 0.5f, 63, INK, 1.0f);
        ring_marks(im, (g.u1 + g.u2) * 0.5f, (g.v1 + g.v2) * 0.5f, 52, 63, INK);
        const art_box& m = ADI_MECH_CARD;
        const float mx = (m.u1 + m.u2) * 0.5f, my = (m.v1 + m.v2) * 0.5f;
        for (int y = static_cast<int>(m.v1); y < static_cast<int>(m.v2); ++y)
            for (int x = static_cast<int>(m.u1); x < static_cast<int>(m.u2); ++x) {
                const float d = std::hypot(x + 0.5f - mx, y + 0.5f - my);
                im.set(x, y, d > 50.0f && d <= 63.5f ? (y >= my ? SKY : EARTH) : CLEAR);
            }
        ring_marks(im, mx, my, 52, 63, INK);
        for (const art_box* b : {&ADI_FD_GLASS_BARS, &ADI_FD_MECH_BARS}) {
            const float cx = (b->u1 + b->u2) * 0.5f, cy = (b->v1 + b->v2) * 0.5f;
            for (int x = static_cast<int>(b->u1); x < static_cast<int>(b->u2); ++x) {
                const float y = cy + 4.0f - std::fabs(x + 0.5f - cx) * 0.12f;
                im.fill(x, static_cast<int>(y) - 1, x + 1, static_cast<int>(y) + 1, MAGENTA_ART);
            }
        }
        for (const art_box* b : {&ADI_FD_GLASS_SYMBOL_SC, &ADI_FD_GLASS_SYMBOL, &ADI_FD_MECH_SYMBOL_SC, &ADI_FD_MECH_SYMBOL})
            aircraft_symbol(im, *b, YELLOW);
    } else {
        masked_square(im, ADI_GLASS_MASK, 60.0f, BLACK);
        const art_box& b = ADI_MECH_BEZEL;
        const float cx = (b.u1 + b.u2) * 0.5f, cy = (b.v1 + b.v2) * 0.5f;
        for (int y = static_cast<int>(b.v1); y < static_cast<int>(b.v2); ++y)
            for (int x = static_cast<int>(b.u1); x < static_cast<int>(b.u2); ++x)
                im.set(x, y, std::hypot(x + 0.5f - cx, y + 0.5f - cy) > 64.0f ? DARK : CLEAR);
        interface_art::triangle(im, cx, static_cast<int>(cy) + 50, 8, 7, 1, INK);
    }
}

// The rotated cards of the second sheet: a compass card (kind 0) and the
// card of kinds 1 and 2.
inline void card(image& im, float u1, float v1, float u2, float v2, bool compass)
{
    const float cx = (u1 + u2) * 0.5f, cy = (v1 + v2) * 0.5f, r = (u2 - u1) * 0.5f - 1.0f;
    for (int y = static_cast<int>(v1); y < static_cast<int>(v2); ++y)
        for (int x = static_cast<int>(u1); x < static_cast<int>(u2); ++x)
            if (std::hypot(x + 0.5f - cx, y + 0.5f - cy) <= r) im.set(x, y, BLACK);
    for (int deg = 0; deg < 360; deg += 10) {
        const double a = deg * PI / 180.0;
        const float len = deg % 30 == 0 ? 7.0f : 4.0f;
        for (float k = r - len; k < r; k += 0.5f)
            im.set(static_cast<int>(cx + k * std::sin(a)), static_cast<int>(cy + k * std::cos(a)), INK);
        if (deg % 90 == 0) {
            const char* l = compass ? (deg == 0 ? "N" : deg == 90 ? "E" : deg == 180 ? "S" : "W")
                                    : (deg == 0 ? "0" : deg == 90 ? "9" : deg == 180 ? "18" : "27");
            text(im, l, cx + (r - 15) * static_cast<float>(std::sin(a)), cy + (r - 15) * static_cast<float>(std::cos(a)), INK);
        }
    }
}

// ---------------------------------------------------------------------------
// One sheet, back to front: attitude regions and cards, fonts, strips and
// ticks, needles, sprites, map cells, the bar texel.
inline image sheet(int which)
{
    image im;
    attitude(im, which);
    if (which == SHEET_F2) {
        card(im, CARD0_U1, CARD_V1, CARD0_U2, CARD_V2, true);
        card(im, CARD12_U1, CARD_V1, CARD12_U2, CARD_V2, false);
    }
    fonts(im, which);
    if (which == SHEET_F2) {
        drums(im);
        for (int s = NEEDLE_STYLE_FIRST; s <= NEEDLE_STYLE_LAST; ++s) needle(im, s);
    }
    sprites(im, which);
    map_cells(im, which);
    if (which == SHEET_F1) box(im, BAR_TEXEL_U - 1, BAR_TEXEL_V - 1, BAR_TEXEL_U + 2, BAR_TEXEL_V + 2, INK);
    if (which == SHEET_F2) ticks_and_labels(im);
    return im;
}

}  // namespace panel_sheets
