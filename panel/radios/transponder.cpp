// The transponders (types 239, 240, 241, 475): mode knob, code entry by drag
// spots, concentric knob or keypad, the reply lamp with its random replies,
// and the ident (also sent by the keys and the serial console).
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/systems/radio_tuning.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"

transponder_state transponder;
ORVELL_RESET_RECORD(TRANSPONDER_reset, transponder, panel);

namespace {

constexpr int DIGIT_COLOUR = 49;
constexpr float IDENT_LEVEL = 2.41f, IDENT_HALF_SEC = 2.4f;

struct places { float bx, by, lx, ly, mx, my; };

bool is_transponder(int t)
{
    return INS_in(t, INS_RAD_TRANSPONDER_GA, INS_RAD_TRANSPONDER_HM) || t == INS_RAD_TRANSPONDER_HM2;
}

places places_of(int t)
{
    switch (t) {
    case INS_RAD_TRANSPONDER_GA: return {-68, 8, -66, -6, 62, -2};
    case INS_RAD_TRANSPONDER_BC: return {-3, -12, -34, -31, -19, -20};
    case INS_RAD_TRANSPONDER_HM: return {17, -15, -16, 21, 50, -17};
    default: return {4, -9, 4, 8, 27, -5};
    }
}

// The four code digits, thousands first, each brought into 0..9.
void split(int32_t code, int d[4])
{
    int64_t c = code;
    for (int k = 3; k >= 0; --k, c /= 10) d[k] = static_cast<int>(((c % 10) + 10) % 10);
}

int wrap4(int v) { return ((v % 4) + 4) % 4; }

void digits_row(const int d[4], const float xs[4], float y, int font)
{
    const float s = panel_ins_scale;
    for (int k = 0; k < 4; ++k) OGL_draw_string_fmt(DIGIT_COLOUR, xs[k] * s, y * s, static_cast<float>(d[k]), 1, 0, 0, font);
}

void edit_code(int t)
{
    int32_t& code = sim_cockpit_radios.transponder_code;
    const float s = panel_ins_scale;
    int d[4];
    if (t == INS_RAD_TRANSPONDER_GA) {
        const float xs[4] = {-37, -14, 9, 32};
        for (int k = 0; k < 4; ++k) {
            const float a = PANEL_drag_spot(xs[k], -11.0f, 10.0f, 1.0f, 1.0f, 0);
            if (a != 0.0f) PANEL_tune_squawk_digit(&code, a > 0.0f ? 1 : -1, k + 1);
        }
        split(code, d);
        const float dx[4] = {-38, -15, 8, 31};
        digits_row(d, dx, 5.0f, 112);
        return;
    }
    if (t == INS_RAD_TRANSPONDER_BC) {
        int& cur = transponder.xpdr_digit_cursor;
        const int r = PANEL_dual_knob(16.0f, -21.0f);
        if (r == 1 || r == -1) cur = wrap4(cur + r);
        if (r == 2 || r == -2) PANEL_tune_squawk_digit(&code, r / 2, cur + 1);
        split(code, d);
        const float dx[4] = {-25, -15, -5, 5};
        digits_row(d, dx, 17.0f, 113);
        OGL_draw_string(DIGIT_COLOUR, dx[cur] * s, 15.0f * s, "_", 9999.0f, 113);
        return;
    }
    // Keypads: keys 1 2 3 / 4 5 6 / 7 0 clear.
    const bool big = t == INS_RAD_TRANSPONDER_HM;
    const float cols[3] = {big ? -30.0f : -41.0f, big ? -16.0f : -27.0f, big ? -2.0f : -13.0f};
    const float rows[3] = {big ? 11.0f : 10.0f, big ? -4.0f : 0.0f, big ? -19.0f : -10.0f};
    constexpr int keys[9] = {1, 2, 3, 4, 5, 6, 7, 0, -1};
    int& cur = transponder.xpdr_key_cursor;
    split(code, d);
    for (int k = 0; k < 9; ++k) {
        if (!PANEL_click_spot(cols[k % 3], rows[k / 3], big ? 7.0f : 5.0f, 0)) continue;
        if (keys[k] < 0) {
            cur = 0;
        } else {
            d[cur] = keys[k];
            cur = wrap4(cur + 1);
        }
        code = d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
    }
    split(code, d);
    const float dx241[4] = {27, 35, 43, 51}, dx475[4] = {14, 22, 30, 38};
    digits_row(d, big ? dx241 : dx475, big ? 8.0f : 4.0f, 114);
}

void lamp(float lx, float ly)
{
    const float s = panel_ins_scale;
    const float x = lx * s, y = ly * s;
    constexpr float S1 = 0.3125f, S2 = 0.328125f, T1 = 0.634765625f, T2 = 0.650390625f;
    const tex_quad_corner c[4] = {{x - 4.0f, y - 4.0f, S1, T1}, {x - 4.0f, y + 4.0f, S1, T2},
                                  {x + 4.0f, y + 4.0f, S2, T2}, {x + 4.0f, y - 4.0f, S2, T1}};
    OGL_draw_tex_quad(OGL_font_tex(), DIGIT_COLOUR, PANEL_alpha(), c, 1, STATE_BLEND);
}

}  // namespace

void PANEL_transponder(int ident_only)
{
    const int t = panel_ins_type;
    const bool drawn = !ident_only && is_transponder(t);
    if (!ident_only && !drawn) return;
    const places p = places_of(t);
    transponder_state& x = transponder;
    sim_cockpit_radios_block& k = sim_cockpit_radios;
    const float now = sim_time.total_running_time_sec;

    // Random replies: about one pulse a second.
    if (now > x.xpdr_lamp_until) {
        const float r = static_cast<float>(UTIL_rand()) / static_cast<float>(UTIL_RAND_MAX);
        if (r < sim_operation_misc.frame_rate_period) {
            const float level = static_cast<float>(UTIL_rand()) * 0.5f / static_cast<float>(UTIL_RAND_MAX);
            x.xpdr_lamp_level = level;
            x.xpdr_lamp_until = now + level;
        }
    }
    if (ident_only || PANEL_click_spot(p.bx, p.by, 8.0f, 0)) {
        x.xpdr_lamp_level = IDENT_LEVEL;
        x.xpdr_lamp_until = now + IDENT_HALF_SEC;
        k.transponder_id = 1;
    }
    if (ident_only) return;
    if (k.transponder_mode == 3) {
        x.xpdr_lamp_level = 1.0f;
        x.xpdr_lamp_until = now;
    }
    const float turn = PANEL_drag_spot(p.mx, p.my, 10.0f, 1.0f, 1.0f, 0);
    const float mode = std::round(static_cast<float>(k.transponder_mode) + turn);
    k.transponder_mode = static_cast<int32_t>(std::clamp(mode, 0.0f, 3.0f));
    PANEL_draw_control(p.mx * panel_ins_scale, p.my * panel_ins_scale, k.transponder_mode);
    if (!PANEL_avionics_powered() || k.transponder_mode == 0) return;

    edit_code(t);

    const float b = std::clamp((x.xpdr_lamp_level - std::fabs(now - x.xpdr_lamp_until)) * 4.0f, 0.0f, 1.0f);
    k.transponder_light = (b > 0.0f && k.transponder_mode >= 2) ? 1 : 0;
    if (k.transponder_light) lamp(p.lx, p.ly);
    else k.transponder_id = 0;
}
