// The moving parts every instrument drawer puts on the panel: needles cut
// from the second panel-font sheet, rolling drums, turned cards, tape marks
// and the scrolling tape. All draw about the slot origin; the needle and the
// card turn the GL matrix about it.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/numeric.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"

namespace {

constexpr int TEX_UNITS = 1;
constexpr int DRUM_COLOUR = 0;
constexpr int CARD_LIT_COLOUR = 49;
constexpr int GROUND_BAND_COLOUR = 62;
constexpr int SKY_BAND_COLOUR = 73;
constexpr int MAX_TAPE_MARKS = 2000;

tex_quad_corner corner(float x, float y, float u, float v) { return {x, y, u * PANEL_TEXEL, v * PANEL_TEXEL}; }

// Draws a quad whose corners are given about the current GL matrix, which the
// caller has moved to the slot origin: the origin is not added a second time.
void draw_quad_in_matrix(int slot, int colour, float alpha, const tex_quad_corner c[4])
{
    const PANEL_origin_in_matrix at_matrix;
    OGL_draw_tex_quad(slot, colour, alpha, c, TEX_UNITS, STATE_BLEND);
}

// |v| split into the six drums of a counter, lowest last, with the carry that
// turns a drum during the last unit of the drum below it.
void split_drums(double a, double drums[6])
{
    double r = a;
    double p = 100000.0;
    for (int k = 0; k < 5; ++k, p /= 10.0) {
        drums[k] = std::trunc(std::trunc(r) / p);
        r -= drums[k] * p;
    }
    drums[5] = r;
    for (int k = 5; k > 0; --k)
        if (drums[k] > 9.0) drums[k - 1] += drums[k] - 9.0;
}

// A tape number: three digits with leading zeros below 1000; n/100 as
// "d.dk" up to 9999. The format from 10,000 up is not given: such numbers
// show their whole thousands followed by "k".
void tape_number(float x, float y, long long n, int font)
{
    auto digit = [](long long d) { return static_cast<int>('0' + d % 10); };
    if (n < 1000) {
        OGL_draw_glyphs(x, y, digit(n / 100), font);
        OGL_draw_glyphs(x + 6.0f, y, digit(n / 10), font);
        OGL_draw_glyphs(x + 12.0f, y, digit(n), font);
    } else if (n < 10000) {
        const long long h = n / 100;
        OGL_draw_glyphs(x, y, digit(h / 10), font);
        OGL_draw_glyphs(x + 3.0f, y - 1.0f, '.', font);
        OGL_draw_glyphs(x + 6.0f, y, digit(h), font);
        OGL_draw_glyphs(x + 12.0f, y, 'k', font);
    } else {
        long long t = n / 1000;
        char text[8];
        int len = 0;
        do {
            text[len++] = static_cast<char>(digit(t));
            t /= 10;
        } while (t > 0 && len < 6);
        for (int i = 0; i < len; ++i) OGL_draw_glyphs(x + 6.0f * static_cast<float>(i), y, text[len - 1 - i], font);
        OGL_draw_glyphs(x + 6.0f * static_cast<float>(len), y, 'k', font);
    }
}

}  // namespace

float PANEL_alpha() { return sim_graphics_settings.transparent_panel != 0 ? 0.4f : 1.0f; }

void PANEL_draw_needle(float x, float y, float angle, int style)
{
    const needle_style* n = PANEL_needle_style(style);
    // A style outside the table has no region and draws nothing; an angle or
    // pivot that is not a number (from a value written from outside) would
    // give a quad with no place, so it draws nothing too.
    if (!n || !std::isfinite(angle) || !std::isfinite(x) || !std::isfinite(y)) return;
    const float s = panel_ins_scale;
    const float w = static_cast<float>(n->ub - n->ua) * s, length = static_cast<float>(n->vb - n->va) * s;
    const float back = -n->f * length, tip = (1.0f - n->f) * length;
    const tex_quad_corner c[4] = {corner(-w * 0.5f, back, n->ua, n->va), corner(-w * 0.5f, tip, n->ua, n->vb),
                                  corner(w * 0.5f, tip, n->ub, n->vb), corner(w * 0.5f, back, n->ub, n->va)};
    glPushMatrix();
    glTranslatef(screen.screen_area_left + x * s, screen.screen_area_bottom + y * s, 0.0f);
    glRotatef(-angle, 0.0f, 0.0f, 1.0f);
    draw_quad_in_matrix(OGL_font2_tex(), n->colour, PANEL_alpha(), c);
    glPopMatrix();
}

void PANEL_draw_drum_digit(int kind, float x, float y, float d)
{
    if (!std::isfinite(d)) d = 0.0f;   // a reading that is not a number shows the 0 rather than no texel place
    float x1, x2, y1, y2, u1, u2, v1, v2;
    switch (kind) {
    case 3: {
        const float v = DRUM_DIGIT_PITCH * d + DRUM_DIGIT_V0;
        x1 = x, x2 = x + 6.0f, y1 = y - 5.0f, y2 = y + 5.0f;
        u1 = DRUM_DIGIT_U1, u2 = DRUM_DIGIT_U2, v1 = v - DRUM_DIGIT_HALF, v2 = v + DRUM_DIGIT_HALF;
        break;
    }
    case 4: {
        const float u = DRUM_NARROW_U0 + DRUM_NARROW_RATE * d;
        x1 = x - 20.0f, x2 = x + 20.0f, y1 = y - 5.0f, y2 = y + 5.0f;
        u1 = u - DRUM_NARROW_HALF, u2 = u + DRUM_NARROW_HALF, v1 = DRUM_NARROW_V1, v2 = DRUM_NARROW_V2;
        break;
    }
    case 5: {
        const float u = DRUM_WIDE_RATE * d + DRUM_WIDE_U0;
        x1 = x - 40.0f, x2 = x + 40.0f, y1 = y - 11.0f, y2 = y + 3.0f;
        u1 = u - DRUM_WIDE_HALF, u2 = u + DRUM_WIDE_HALF, v1 = DRUM_WIDE_V1, v2 = DRUM_WIDE_V2;
        break;
    }
    default: return;
    }
    const float s = panel_ins_scale;
    const tex_quad_corner c[4] = {corner(x1 * s + 0.5f, y1 * s + 0.5f, u1, v1), corner(x1 * s + 0.5f, y2 * s + 0.5f, u1, v2),
                                  corner(x2 * s + 0.5f, y2 * s + 0.5f, u2, v2), corner(x2 * s + 0.5f, y1 * s + 0.5f, u2, v1)};
    OGL_draw_tex_quad(OGL_font2_tex(), DRUM_COLOUR, 1.0f, c, TEX_UNITS, STATE_BLEND);
}

void PANEL_draw_drum_counter(float x, float y, float value, int digits)
{
    double a = std::fabs(static_cast<double>(value));
    // A value that is not a number shows 0; past 999,999,999 the counter shows
    // that, as a larger whole part would overflow the drums' whole-number split.
    if (!std::isfinite(a)) a = 0.0;
    a = std::min(a, 999999999.0);
    double drums[6];
    split_drums(a, drums);
    const int n = std::clamp(digits, 1, 6);   // a count outside 1..6 would read past the six drums
    for (int k = 0; k < n; ++k)
        PANEL_draw_drum_digit(3, x + 7.0f * static_cast<float>(k), y, static_cast<float>(drums[6 - n + k]));
    if (value < 0.0f) {
        const float s = panel_ins_scale;
        const tex_quad_corner c[4] = {corner((x - 4.0f) * s, (y - 3.0f) * s, MINUS_U1, MINUS_V1),
                                      corner((x - 4.0f) * s, (y + 2.0f) * s, MINUS_U1, MINUS_V2),
                                      corner((x - 1.0f) * s, (y + 2.0f) * s, MINUS_U2, MINUS_V2),
                                      corner((x - 1.0f) * s, (y - 3.0f) * s, MINUS_U2, MINUS_V1)};
        OGL_draw_tex_quad(OGL_font2_tex(), DRUM_COLOUR, 1.0f, c, TEX_UNITS, STATE_BLEND);
    }
}

void PANEL_draw_rotated_card(float angle, float r, int kind, int lit)
{
    int slot;
    float u1 = 0.0f, u2 = PANEL_ART_SIDE, v1 = 0.0f, v2 = PANEL_ART_SIDE;
    switch (kind) {
    case 0: slot = OGL_font2_tex(), u1 = CARD0_U1, u2 = CARD0_U2, v1 = CARD_V1, v2 = CARD_V2; break;
    case 1: case 2: slot = OGL_font2_tex(), u1 = CARD12_U1, u2 = CARD12_U2, v1 = CARD_V1, v2 = CARD_V2; break;
    case 3: slot = TEX_SLOT_COMPASS_ROSE; break;
    case 4: slot = TEX_SLOT_HSI_ROSE; break;
    default: return;
    }
    if (!std::isfinite(angle) || !std::isfinite(r)) return;   // a card with no angle or size draws nothing
    const tex_quad_corner c[4] = {corner(-r, -r, u1, v1), corner(-r, r, u1, v2), corner(r, r, u2, v2),
                                  corner(r, -r, u2, v1)};
    glPushMatrix();
    glTranslatef(screen.screen_area_left, screen.screen_area_bottom, 0.0f);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    draw_quad_in_matrix(slot, lit != 0 ? CARD_LIT_COLOUR : 0, 1.0f, c);
    glPopMatrix();
}

void PANEL_tape_mark(int colour, float x, float y, float half, float offset)
{
    if (!(offset >= -half + 2.0f && offset <= half - 2.0f)) return;
    OGL_fill_rect(colour, 1.0f, x, y + offset - 3.0f, 4.0f, 5.0f);
}

void PANEL_draw_tape(int colour, int line_colour, float label_pos, float cross_pos, float centre, float half,
                     float gap, float value, float step, int label_every, float scale_px, int orientation,
                     int band, int font)
{
    const bool vertical = orientation != 0;
    if (band == 2) {
        float g = -(flt[0].y_agl * UNIT.mtrs_to_ft * 0.01f) * scale_px;
        if (!std::isfinite(g)) g = 0.0f;   // a height that is not a number puts the band's edge at the centre
        g = std::clamp(g, -half, half);
        if (g > -half) OGL_fill_rect(GROUND_BAND_COLOUR, 1.0f, label_pos - 1.0f, centre - half, 19.0f, half + g);
        OGL_fill_rect(SKY_BAND_COLOUR, 1.0f, label_pos - 1.0f, centre + g, 19.0f, half - g);
    }

    // The ticks and numbers. A tape with none in its window (an altitude tape
    // held at 0 below sea level, a speed tape below 0) still shows its index
    // line, drawn after them whatever they found.
    const auto ticks = [&] {
        // A step of 0 or less would never reach the last tick (an endless loop); a
        // scale of 0 would divide by zero; a font with no sheet has no glyphs. The
        // tape then draws no ticks. At most 2000 ticks are drawn: a step so small
        // that the window holds more would stall the frame.
        const int slot = FONT_slot(font);
        if (slot < 0 || !(step > 0.0f) || !std::isfinite(value) || !std::isfinite(scale_px) || scale_px == 0.0f ||
            !std::isfinite(half))
            return;
        const float reach = (half + 15.0f) / scale_px;
        float first = std::round((value - reach) / step) * step;
        const float last = std::round((value + reach) / step) * step;
        if (orientation == 1 && first < 0.0f) first = 0.0f;
        const double marks = std::floor((static_cast<double>(last) - first) / step + 0.5);
        if (!(marks >= 0.0)) return;

        if (vertical)
            OGL_scissor_on(cross_pos - 100.0f, centre - half, 200.0f, 2.0f * half);
        else
            OGL_scissor_on(centre - half, cross_pos - 100.0f, 2.0f * half, 200.0f);
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        OGL_apply_color(colour, 1.0f);
        // The sheet that holds the font's glyphs: the first panel-font texture for
        // the panel fonts the tapes are drawn in.
        OGL_bind_tex(slot, 0);
        const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
        const int gap_lo = static_cast<int>(centre - gap - 3.0f), gap_hi = static_cast<int>(centre + gap + 3.0f);
        const int every = label_every > 0 ? label_every : 1;

        glBegin(GL_QUADS);
        for (int k = 0; k <= static_cast<int>(std::min(marks, double(MAX_TAPE_MARKS))); ++k) {
            const float v = first + static_cast<float>(k) * step;
            const float p = std::trunc((v - value) * scale_px + centre + 0.5f);
            if (vertical)
                OGL_draw_glyphs(ox + cross_pos - 3.0f, oy + p - 2.0f, '_', font);
            else
                OGL_draw_glyphs(ox + p - 3.0f, oy + cross_pos - 4.0f, '|', font);

            const float mag = std::fabs(v);
            const float whole = std::round(mag);
            if (!(std::fabs(whole - mag) < 0.01f) || whole > 1.0e9f) continue;   // past 1e9 the number would overflow its digits
            if (static_cast<long long>(whole) % every != 0) continue;
            if (p >= static_cast<float>(gap_lo) && p <= static_cast<float>(gap_hi)) continue;
            float n = vertical ? mag : v;
            if (!vertical) {
                // Into 0..360 with both ends kept: 360 stays 360, 370 reads 10.
                n = UTIL_wrap_closed(n, 360.0f);
            }
            const long long shown = static_cast<long long>(std::round(n));
            if (vertical)
                tape_number(ox + label_pos, oy + p - 5.0f, shown, font);
            else
                tape_number(ox + p - 9.0f, oy + label_pos, shown, font);
        }
        glEnd();
        OGL_scissor_off();
    };
    ticks();

    if (line_colour >= 0) OGL_draw_line(line_colour, 1.0f, -12.0f, 0.0f, 12.0f, 0.0f);
}

PANEL_origin_in_matrix::PANEL_origin_in_matrix() : left_(screen.screen_area_left), bottom_(screen.screen_area_bottom)
{
    screen.screen_area_left = 0.0f;
    screen.screen_area_bottom = 0.0f;
}

PANEL_origin_in_matrix::~PANEL_origin_in_matrix()
{
    screen.screen_area_left = left_;
    screen.screen_area_bottom = bottom_;
}
