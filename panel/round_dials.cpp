// The generated gauges: airspeed and Mach dials, one vertical-speed dial and
// every engine gauge (tachometers, N1, manifold pressure, EPR, torque, fuel
// flow, ITT) in their four layouts. The scale of ticks and numbers comes from
// the aircraft's own limits; arcs, needles, bars, drums and readouts follow.
//
// Reads the records it is handed: the aircraft (speeds, engine limits, custom
// dial ranges) and its flight record (airspeed, Mach, vertical speed, engine
// readings, pitot ice, failures); the air at the plane, frame_rate_period and
// has_view_bitmap. Writes `dial_held`.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/failure_slots.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"

dial_held_readings dial_held;

ORVELL_RESET_RECORD(DIALS_reset, dial_held, panel);

void DIALS_refresh_held_airspeed(const panel_records& r)
{
    if (FLT_slot_failed(0, FAIL_SLOT_PITOT) || r.flt.pitot_ice > 0.1f) return;
    dial_held.airspeed = r.flt.indicated_airspeed * (r.acf.acf_asi_kts != 0 ? 1.0f : UNIT.kts_to_mph);
    dial_held.mach = r.flt.machno;
}

namespace {

constexpr int FAIL_SLOT_VVI = 6;
constexpr int ECAM_COLOUR = 49;

// ---- a_of_v: the printed airspeed scales of types 74..79 ----------------------
struct asi_segment {
    float p, g;
};
struct asi_scale {
    float start, b1, b2, b3;
    asi_segment seg[3];
};
constexpr asi_scale asi_scales[4] = {
    {0.0f, 40.0f, 120.0f, 200.0f, {{1.2f, 0.75f}, {1.0f, 2.2f}, {0.85f, 1.425f}}},
    {0.0f, 60.0f, 140.0f, 300.0f, {{2.0f, 0.7f}, {0.95f, 1.625f}, {0.95f, 1.025f}}},
    {0.0f, 60.0f, 200.0f, 400.0f, {{1.2f, 0.4333f}, {1.0f, 1.1f}, {0.86f, 0.75f}}},
    {-8.0f, 60.0f, 250.0f, 450.0f, {{1.2f, 0.1333f}, {1.0f, 1.2842f}, {0.86f, 0.45f}}},
};

const asi_scale* asi_scale_of(int type)
{
    switch (type) {
    case INS_ASI_PRESET_GA_200: return &asi_scales[0];
    case INS_ASI_PRESET_GA_300: return &asi_scales[1];
    case INS_ASI_PRESET_BC_NODIG: case INS_ASI_PRESET_BC_DIG: return &asi_scales[2];
    case INS_ASI_PRESET_HM_NODIG: case INS_ASI_PRESET_HM_DIG: return &asi_scales[3];
    default: return nullptr;
    }
}

// ---- the gauge families ---------------------------------------------------------
enum family { F_PRINTED_ASI, F_ASI, F_MACH, F_VVI, F_TACH_PROP, F_TACH_ENG, F_TACH_322, F_TACH_323, F_N1, F_MPR, F_EPR,
              F_TRQ, F_FF, F_ITT, F_NONE };

// The family of an engine gauge: four layouts of each quantity (the first
// type, then +7, +14, +21).
family family_of(int t)
{
    if (INS_in(t, INS_ASI_PRESET_GA_200, INS_ASI_PRESET_HM_DIG)) return F_PRINTED_ASI;
    if (INS_in(t, INS_ASI_ADAP_GA_NODIG, INS_ASI_ADAP_HM_DIG)) return F_ASI;
    if (t == INS_MACHMETER) return F_MACH;
    if (t == INS_VVI_ADAP) return F_VVI;
    if (INS_in(t, INS_RPM_ENG_RND, INS_RPM_ENG_DIG)) return F_TACH_ENG;
    if (t == INS_RPM_PROP_MULTI) return F_TACH_322;
    if (t == INS_RPM_ROTOR_MULTI) return F_TACH_323;
    if (INS_in(t, INS_RPM_PROP_RND, INS_ITT_DIG)) {
        static constexpr family column[7] = {F_TACH_PROP, F_N1, F_MPR, F_EPR, F_TRQ, F_FF, F_ITT};
        return column[(t - INS_RPM_PROP_RND) % 7];
    }
    return F_NONE;
}

// Layout 0 round dial, 1 round with drum, 2 bar with drum, 3 digital.
int layout_of(int t)
{
    if (INS_in(t, INS_RPM_PROP_RND, INS_ITT_DIG)) return (t - INS_RPM_PROP_RND) / 7;
    if (INS_in(t, INS_RPM_ENG_RND, INS_RPM_ENG_DIG)) return t - INS_RPM_ENG_RND;
    return 0;
}

bool airspeed_family(family f) { return f == F_PRINTED_ASI || f == F_ASI || f == F_MACH; }
bool tachometer(family f) { return f == F_TACH_PROP || f == F_TACH_ENG || f == F_TACH_322 || f == F_TACH_323; }

int custom_index(family f)
{
    switch (f) {
    case F_ASI: return 0;
    case F_MACH: return 1;
    case F_VVI: return 2;
    case F_TACH_PROP: case F_TACH_ENG: case F_TACH_322: case F_TACH_323: return 4;
    case F_N1: return 5;
    case F_MPR: return 7;
    case F_EPR: return 8;
    case F_TRQ: return 9;
    case F_FF: return 10;
    case F_ITT: return 11;
    default: return -1;
    }
}

// Scale steps by the span the dial shows: minor, major, number divisor.
struct step_row {
    double at_least, minor, major, divisor;
};
constexpr step_row step_rows[] = {
    {40000000, 2000000, 10000000, 100000}, {20000000, 1000000, 5000000, 100000}, {8000000, 500000, 2000000, 100000},
    {4000000, 200000, 1000000, 10000},     {2000000, 100000, 500000, 10000},     {800000, 50000, 200000, 10000},
    {400000, 20000, 100000, 1000},         {200000, 10000, 50000, 1000},         {80000, 5000, 20000, 1000},
    {40000, 2000, 10000, 1000},            {20000, 1000, 5000, 1000},            {8000, 500, 2000, 100},
    {4000, 200, 1000, 100},                {2000, 100, 500, 100},                {800, 50, 200, 100},
    {400, 20, 100, 10},                    {200, 10, 50, 10},                    {80, 5, 20, 10},
    {40, 2, 10, 10},                       {20, 1, 5, 1},                        {8, 0.5, 2, 1},
    {4, 0.2, 1, 1},                        {2, 0.1, 0.5, 0.1},
};
constexpr step_row smallest_steps{0, 0.05, 0.2, 0.1};

step_row steps_for(double span)
{
    for (const step_row& r : step_rows)
        if (span >= r.at_least) return r;
    return smallest_steps;
}

float round_half_away(float v) { return std::round(v); }

// The gauge being drawn: where, its value range and angle range.
struct gauge {
    int type;
    family fam;
    bool round;
    float x, y;        // scaled, about the origin
    float s;           // instrument scale
    float low, high;
    float low_angle, high_angle;
    int colour, font;
};

// A value to an angle (or the vertical offset of a bar gauge).
float angle_of(const gauge& g, float value)
{
    if (g.high == g.low) return (g.low_angle + g.high_angle) * 0.5f;
    const float a = (value - g.low) * (g.high_angle - g.low_angle) / (g.high - g.low) + g.low_angle;
    const float lo = std::min(g.low_angle, g.high_angle), hi = std::max(g.low_angle, g.high_angle);
    if (!(a >= lo)) return a > hi ? hi : lo;   // a value that is not a number shows the low end
    return std::min(a, hi);
}

// A point at radius r (scaled units) along an angle in degrees, 0 up, clockwise.
void at_radius(const gauge& g, float angle_deg, float r, float& px, float& py)
{
    const float a = angle_deg * units.deg_to_rad;
    px = g.x + r * std::sin(a);
    py = g.y + r * std::cos(a);
}

// A strip between radii r1 and r2 from angle a1 to a2 (radians), in 0.1 rad steps.
void arc_strip(const gauge& g, int colour, float a1, float a2, float r1, float r2)
{
    if (!std::isfinite(a1) || !std::isfinite(a2)) return;   // a limit of no number has no strip to draw
    if (a2 < a1) std::swap(a1, a2);
    // Custom dial angles of many turns would send a vertex pair per 0.1 rad,
    // hundreds of thousands a frame: the strip stops after 200 steps (over
    // three turns).
    constexpr int MAX_STEPS = 200;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(colour, 1.0f);
    glBegin(GL_QUAD_STRIP);
    float a = a1;
    for (int k = 0; k <= MAX_STEPS; ++k) {
        const float sa = std::sin(a), ca = std::cos(a);
        glVertex2f(ox + g.x + r1 * g.s * sa, oy + g.y + r1 * g.s * ca);
        glVertex2f(ox + g.x + r2 * g.s * sa, oy + g.y + r2 * g.s * ca);
        if (a >= a2) break;
        a = std::min(a + 0.1f, a2);
    }
    glEnd();
}

// An arc between two limit values, or a line about one limit (half width in radians).
void arc(const gauge& g, int colour, float v1, float v2, float r1, float r2)
{
    arc_strip(g, colour, angle_of(g, v1) * units.deg_to_rad, angle_of(g, v2) * units.deg_to_rad, r1, r2);
}
void limit_line(const gauge& g, int colour, float v, float half_rad, float r1, float r2)
{
    const float a = angle_of(g, v) * units.deg_to_rad;
    arc_strip(g, colour, a - half_rad, a + half_rad, r1, r2);
}

void arcs(const acf_struct& a, const gauge& g, float u)
{
    if (g.fam == F_ASI) {
        if (a.acf_Vso > 0.0f && a.acf_Vfe > 0.0f) arc(g, 0, a.acf_Vso * u, a.acf_Vfe * u, 51.0f, 54.0f);
        if (a.acf_Vs > 0.0f && a.acf_Vno > 0.0f) arc(g, 1, a.acf_Vs * u, a.acf_Vno * u, 49.0f, 52.0f);
        if (a.acf_Vno > 0.0f && a.acf_Vne > 0.0f) arc(g, 3, a.acf_Vno * u, a.acf_Vne * u, 49.0f, 52.0f);
        if (a.acf_Vne > 0.0f) limit_line(g, 9, a.acf_Vne * u, 0.06f, 49.0f, 54.0f);
        if (a.acf_Vmca > 0.0f) limit_line(g, 9, a.acf_Vmca * u, 0.06f, 49.0f, 54.0f);
        if (a.acf_Vyse > 0.0f) limit_line(g, 4, a.acf_Vyse * u, 0.06f, 49.0f, 54.0f);
        return;
    }
    const int t = g.type;
    const bool prop = t == INS_RPM_PROP_RND || t == INS_RPM_PROP_RND_DIG;
    if (!(prop || t == INS_RPM_PROP_MULTI || t == INS_RPM_ROTOR_MULTI || t == INS_RPM_ENG_RND ||
          t == INS_RPM_ENG_RND_DIG))
        return;
    const float lo = (prop ? a.acf_RSC_mingreen_prp : a.acf_RSC_mingreen_eng) * UNIT.radps_to_rpm;
    const float hi = (prop ? a.acf_RSC_maxgreen_prp : a.acf_RSC_maxgreen_eng) * UNIT.radps_to_rpm;
    const float red = (prop ? a.acf_RSC_redline_prp : a.acf_RSC_redline_eng) * UNIT.radps_to_rpm;
    arc(g, 1, lo, hi, 19.0f, 22.0f);
    limit_line(g, 9, red, 0.1f, 16.0f, 22.0f);
}

// One tick quad of F2, given its four corners about the origin.
void tick_quad(float ox, float oy, const float xs[4], const float ys[4], bool major)
{
    const float u1 = (major ? TICK_MAJOR_U1 : TICK_MINOR_U1) * PANEL_TEXEL;
    const float u2 = (major ? TICK_MAJOR_U2 : TICK_MINOR_U2) * PANEL_TEXEL;
    const float v1 = TICK_V1 * PANEL_TEXEL, v2 = TICK_V2 * PANEL_TEXEL;
    const float us[4] = {u1, u1, u2, u2}, vs[4] = {v1, v2, v2, v1};
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(us[i], vs[i]);
        glVertex2f(ox + xs[i], oy + ys[i]);
    }
}

// Ticks from the snapped low value, numbers at the major ticks.
void ticks_and_numbers(const gauge& g, const step_row& st)
{
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    const bool wide = airspeed_family(g.fam) || g.fam == F_VVI;
    const float half_w = (wide ? 1.5f : 1.0f) * g.s;
    const float r1 = (wide ? 42.0f : 15.0f) * g.s, r2 = (wide ? 57.0f : 25.0f) * g.s;
    const float rn = (wide ? 35.0f : 27.0f) * g.s;
    const double minor = st.minor, major = st.major;
    const double top = std::trunc(static_cast<double>(g.high));
    const bool decimals = top < 10.0;

    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(g.colour, 1.0f);
    OGL_bind_tex(OGL_font2_tex(), 0);
    glBegin(GL_QUADS);
    // A range far wider than its steps (a large instrument scale picks the
    // steps of a narrow span) would draw millions of ticks: at most 2000.
    constexpr int MAX_TICKS = 2000;
    for (int k = 0; k < MAX_TICKS; ++k) {
        const double v = static_cast<double>(g.low) + k * minor;
        if (!(v < top + minor)) break;
        const double q = v / major;
        const bool is_major = std::fabs(q - std::round(q)) < 0.00002;
        const float angle = angle_of(g, static_cast<float>(v));
        float cx, cy;   // the number's centre
        if (g.round) {
            const float a = angle * units.deg_to_rad, sa = std::sin(a), ca = std::cos(a);
            const float xs[4] = {g.x + r1 * sa - half_w * ca, g.x + r2 * sa - half_w * ca, g.x + r2 * sa + half_w * ca,
                                 g.x + r1 * sa + half_w * ca};
            const float ys[4] = {g.y + r1 * ca + half_w * sa, g.y + r2 * ca + half_w * sa, g.y + r2 * ca - half_w * sa,
                                 g.y + r1 * ca - half_w * sa};
            tick_quad(ox, oy, xs, ys, is_major);
            at_radius(g, angle, rn, cx, cy);
        } else {
            const float ty = g.y + angle;
            const float xs[4] = {g.x + 1.0f * g.s, g.x + 1.0f * g.s, g.x + 11.0f * g.s, g.x + 11.0f * g.s};
            const float ys[4] = {ty - g.s, ty + g.s, ty + g.s, ty - g.s};
            tick_quad(ox, oy, xs, ys, is_major);
            cx = g.x + 16.0f * g.s;
            cy = ty;
        }
        if (!is_major) continue;
        double n = std::fabs(v / st.divisor);
        if (decimals) n *= 100.0;
        // A value of no number, or past every digit, would make the conversion
        // undefined: it is held to 0 .. 1e9. The 1e-6 keeps 1.3 x 100 (1.29999995
        // in a float) from truncating to 129.
        if (!(n >= 0.0)) n = 0.0;
        const long long whole = static_cast<long long>(std::min(n + 1e-6, 1.0e9));
        // The number's place rounded to whole window units.
        const float start = round_half_away(ox + cx) - (whole >= 100 ? 8.0f : whole >= 10 ? 5.0f : 2.0f);
        const float base = round_half_away(oy + cy) - 5.0f;
        if (decimals) OGL_draw_glyphs(start + 2.0f, base - 2.0f, '.', g.font);
        float pen = start;
        if (whole >= 100) {
            OGL_draw_glyphs(pen, base, UTIL_digit_to_char(static_cast<int>(whole / 100 % 10)), g.font);
            pen += 5.0f;
        }
        if (whole >= 10) {
            OGL_draw_glyphs(pen, base, UTIL_digit_to_char(static_cast<int>(whole / 10 % 10)), g.font);
            pen += 5.0f;
        }
        OGL_draw_glyphs(pen, base, UTIL_digit_to_char(static_cast<int>(whole % 10)), g.font);
    }
    glEnd();
}

// The airspeed unit label, fixed about the slot origin.
void unit_label(bool knots)
{
    const float c = knots ? UNIT_LABEL_KNOTS_U : UNIT_LABEL_MPH_U;
    const float u1 = (c - UNIT_LABEL_HALF) * PANEL_TEXEL, u2 = (c + UNIT_LABEL_HALF) * PANEL_TEXEL;
    const float v1 = UNIT_LABEL_V1 * PANEL_TEXEL, v2 = UNIT_LABEL_V2 * PANEL_TEXEL;
    const tex_quad_corner q[4] = {{-10, 21, u1, v1}, {-10, 29, u1, v2}, {10, 29, u2, v2}, {10, 21, u2, v1}};
    OGL_draw_tex_quad(OGL_font2_tex(), 0, 1.0f, q, 1, STATE_BLEND);
}

// Whether thrust point i turns a rotor that the engine tachometer shows.
bool point_counts(const acf_struct& a, int i)
{
    if (FLT_slot_failed(0, FAIL_SLOT_ENGINE_BASE + i)) return false;
    if (a.acf_hide_prop_at_90_vect && a.thrust_vector_angle[i] >= 90.0f) return false;
    if (i >= a.acf_num_engines) return true;
    return ACF_engine_has_prop(0, i) || a.acf_en_type[i] == 7;
}

const char* ecam_label(int t)
{
    switch (t) {
    case INS_RPM_PROP_RND: case INS_RPM_PROP_LIN_DIG: case INS_RPM_ENG_RND: case INS_RPM_ENG_LIN_DIG: return "RPM";
    case INS_N1_RND: case INS_N1_LIN_DIG: return "N1";
    case INS_MPR_RND: case INS_MPR_LIN_DIG: return "MPR";
    case INS_EPR_RND: case INS_EPR_LIN_DIG: return "EPR";
    case INS_TRQ_RND: case INS_TRQ_LIN_DIG: return "TRQ";
    case INS_FF_RND: case INS_FF_LIN_DIG: return "FF";
    default: return nullptr;
    }
}

}  // namespace

float a_of_v(float value)
{
    const asi_scale* sc = asi_scale_of(panel_ins_type);
    if (!sc) {
        MACIBM_nuke_alert(0, "Bad a_of_v ins_type!", "", "", "", ALERT_FATAL);
        return 0.0f;
    }
    const float lo[3] = {0.0f, sc->b1, sc->b2}, hi[3] = {sc->b1, sc->b2, sc->b3};
    float angle = sc->start;
    for (int k = 0; k < 3; ++k) {
        if (!(value >= lo[k])) continue;
        float t = hi[k] == lo[k] ? 0.5f : (value - lo[k]) / (hi[k] - lo[k]);
        if (k < 2) t = std::clamp(t, 0.0f, 1.0f);
        angle += (hi[k] - lo[k]) * std::pow(t, sc->seg[k].p) * sc->seg[k].g;
    }
    if (!(angle > 0.0f)) return 0.0f;
    return angle > 360.0f ? 360.0f : angle;
}

float ENGN_max_fuel_flow(int e)
{
    if (!PANEL_engine_ok(e)) return 0.001f;   // an engine past the tables would read past them
    const acf_struct& a = pln[0];
    switch (a.acf_en_type[e]) {
    case 6: case 7: return a.acf_SFC[e] * a.acf_fmax_opt;
    case 4: case 5: return a.acf_SFC[e] * a.acf_tmax * (a.acf_burnerinc > 1.0f ? 3.0f : 1.0f);
    case 0: case 1: case 2: case 3: case 8: return a.acf_SFC[e] * a.acf_pmax;
    default: return 0.001f;
    }
}

void update_eng_asi(int type, float x, float y, int engine, int mode, const panel_records& r)
{
    const family fam = family_of(type);
    if (fam == F_NONE) {
        MACIBM_nuke_alert(0, "Bad update_eng_asi argument!", "", "", "", ALERT_FATAL);
        return;
    }
    // With no engines the pass's counters are not wrapped: an engine the
    // tables do not hold draws nothing.
    if (!PANEL_engine_ok(engine)) return;
    const acf_struct& a = r.acf;
    const flt_struct& f = r.flt;
    const int e = engine;
    const int lay = layout_of(type);
    const bool vertical =
        INS_in(type, INS_RPM_PROP_LIN_DIG, INS_ITT_DIG) || type == INS_RPM_ENG_LIN_DIG || type == INS_RPM_ENG_DIG;

    gauge g{};
    g.type = type;
    g.fam = fam;
    g.round = !vertical;
    g.s = panel_ins_scale;
    g.x = x * g.s;
    g.y = y * g.s;
    g.colour = mode == 0 ? 0 : ECAM_COLOUR;
    g.font = (airspeed_family(fam) || fam == F_VVI) ? 116 : 117;

    // The held readings the needles show, refreshed before anything is drawn.
    const float u = a.acf_asi_kts != 0 ? 1.0f : UNIT.kts_to_mph;
    if (airspeed_family(fam)) DIALS_refresh_held_airspeed(r);
    if (fam == F_VVI && !FLT_slot_failed(0, FAIL_SLOT_VVI)) {
        const float dt = sim_operation_misc.frame_rate_period;
        dial_held.vvi_fpm = (1.0f - dt) * dial_held.vvi_fpm + f.vh_ind * UNIT.mps_to_fpm * dt;
    }

    // The needle value and the range.
    float value = 0.0f;
    switch (fam) {
    case F_PRINTED_ASI: value = dial_held.airspeed; break;
    case F_ASI:
        value = dial_held.airspeed;
        g.low = a.acf_vectEQ ? 0.0f : std::clamp(round_half_away((a.acf_Vso * u - 20.0f) / 10.0f) * 10.0f, 0.0f, 9999.0f);
        g.high = std::clamp(round_half_away((a.acf_Vne * u + 20.0f) / 10.0f) * 10.0f, 0.0f, 9999.0f);
        g.low_angle = 0.0f, g.high_angle = 330.0f;
        break;
    case F_MACH:
        value = dial_held.mach;
        g.low = 0.0f, g.high = round_half_away((a.acf_Mmo + 0.1f) / 0.1f) * 0.1f;
        g.low_angle = 0.0f, g.high_angle = 330.0f;
        break;
    case F_VVI:
        value = dial_held.vvi_fpm;
        g.low = -1000.0f, g.high = 1000.0f, g.low_angle = 110.0f, g.high_angle = 440.0f;
        break;
    case F_TACH_PROP:
        value = f.POINT_tacrad[e] * UNIT.radps_to_rpm;
        g.high = a.acf_RSC_redline_prp * UNIT.radps_to_rpm * 1.2f;
        if (a.acf_prop_type[e] == 5) g.high *= a.acf_prop_gear_rat[0] / a.acf_prop_gear_rat[e];
        break;
    case F_TACH_322:
        value = f.POINT_tacrad[e] * UNIT.radps_to_rpm;
        g.high = a.acf_RSC_redline_eng * UNIT.radps_to_rpm * 1.2f;
        break;
    case F_TACH_ENG: case F_TACH_323:
        value = f.ENGN_tacrad[e] * UNIT.radps_to_rpm;
        g.high = a.acf_RSC_redline_eng * UNIT.radps_to_rpm * 1.2f;
        break;
    case F_N1: value = f.ENGN_N1_[e], g.high = 100.0f; break;
    case F_MPR: value = f.ENGN_MPR[e], g.high = a.acf_mpmax; break;
    case F_EPR:
        value = f.ENGN_EPR[e];
        g.low = 1.0f, g.high = a.acf_tmax / a.acf_face_jet / sim_physics.earth_pressure_p + 1.0f;
        break;
    case F_TRQ: {
        const float t = a.acf_trq_max_prp > 1.0f ? a.acf_trq_max_prp : 1.0f;
        value = f.ENGN_TRQ[e] / t * 100.0f, g.high = 100.0f;
        break;
    }
    case F_FF:
        value = f.ENGN_FF_[e] * UNIT.kgs_to_lbs * 3600.0f;
        g.high = ENGN_max_fuel_flow(e) * UNIT.kgs_to_lbs * 3600.0f;
        break;
    case F_ITT: value = f.ENGN_ITT[e] * 700.0f, g.high = 800.0f; break;
    case F_NONE: return;
    }
    if (!airspeed_family(fam) && fam != F_VVI) {
        if (vertical) {
            g.low_angle = (mode == 0 ? -48.0f : -40.0f) * g.s;
            g.high_angle = (mode == 0 ? 33.0f : 60.0f) * g.s;
        } else {
            g.low_angle = -135.0f, g.high_angle = 135.0f;
        }
    }
    const int ci = custom_index(fam);
    if (ci >= 0 && a.acf_cus_rnd_use[ci] != 0) {
        g.low = a.acf_cus_rnd_lo_val[ci], g.high = a.acf_cus_rnd_hi_val[ci];
        const float k = vertical ? g.s : 1.0f;
        g.low_angle = a.acf_cus_rnd_lo_ang[ci] * k, g.high_angle = a.acf_cus_rnd_hi_ang[ci] * k;
    }
    // A range from a file or a plug-in may not be a number (or divide by a
    // missing jet face): the low end falls back to 0 and the high end to one
    // above it, before anything divides or counts ticks.
    if (!std::isfinite(g.low)) g.low = 0.0f;
    if (!std::isfinite(g.high)) g.high = g.low + 1.0f;
    constexpr float MAX_ANGLE = 1.0e6f;
    g.low_angle = std::isfinite(g.low_angle) ? std::clamp(g.low_angle, -MAX_ANGLE, MAX_ANGLE) : 0.0f;
    g.high_angle = std::isfinite(g.high_angle) ? std::clamp(g.high_angle, -MAX_ANGLE, MAX_ANGLE) : g.low_angle;
    if (g.high < g.low + 1.0f) g.high = g.low + 1.0f;

    // Whether the generated scale is drawn.
    bool scale_drawn;
    if (mode != 0)
        scale_drawn = mode == 1;
    else
        scale_drawn = (airspeed_family(fam) ? fam != F_PRINTED_ASI : !vertical) && has_view_bitmap[0] == 0;

    // The ECAM label.
    if (mode != 0 && scale_drawn) {
        if (const char* label = ecam_label(type)) {
            const float dx = (fam == F_N1 || fam == F_FF) ? 6.0f : 9.0f;
            OGL_draw_string(ECAM_COLOUR, g.x - dx, g.y - (vertical ? 49.0f : 20.0f) * g.s, label, 9999.0f, 110);
        }
    }
    // The airspeed unit label.
    if (fam == F_PRINTED_ASI || fam == F_ASI) unit_label(a.acf_asi_kts != 0);

    // The steps of the scale and the snapped low value.
    if (scale_drawn && fam != F_PRINTED_ASI) {
        int la = static_cast<int>(g.low_angle), ha = static_cast<int>(g.high_angle);
        if (ha > la + 360) ha = la + 360;
        double span = std::trunc(static_cast<double>(g.high)) - std::trunc(static_cast<double>(g.low));
        if (g.round) {
            int swept = ha - la;
            if (swept < 0) swept = UTIL_wrap_int(swept, 0, 359);
            span = span * swept / 330.0;
        }
        if (g.s != 0.0f) span /= g.s;   // a scale of 0 would divide by zero
        step_row st = steps_for(span);
        if (airspeed_family(fam) || fam == F_N1 || fam == F_MPR || fam == F_EPR || fam == F_TRQ) st.divisor = 1.0;
        g.low = static_cast<float>(std::round(g.low / st.major) * st.major);
        // Snapped up, the low end can reach or pass the high one (a narrow
        // range on a small instrument), leaving the needle no scale or turning
        // it backwards: the range is widened again.
        if (g.high < g.low + 1.0f) g.high = g.low + 1.0f;
        arcs(a, g, u);
        ticks_and_numbers(g, st);
    }

    // Needles, bars and their drums.
    if (airspeed_family(fam)) {
        float barber = a.acf_Mmo * sim_weather.speed_of_sound_ms * std::sqrt(sim_weather.sigma) * UNIT.mps_to_kts * u;
        if (!(barber > 0.0f)) barber = 0.0f;
        if (barber > a.acf_Vne) barber = a.acf_Vne;
        if (fam == F_PRINTED_ASI) {
            dial_held.needle_angle_deg = a_of_v(value);
            dial_held.barber_angle_deg = a_of_v(barber);
        } else {
            dial_held.needle_angle_deg = angle_of(g, value);
            dial_held.barber_angle_deg = angle_of(g, fam == F_MACH ? a.acf_Mmo : barber);
        }
        if (type == INS_ASI_PRESET_BC_DIG || type == INS_ASI_PRESET_HM_DIG || type == INS_ASI_ADAP_GA_DIG ||
            type == INS_ASI_ADAP_BC_DIG || type == INS_ASI_ADAP_HM_DIG)
            PANEL_draw_drum_counter(x - 10.0f, y - 21.0f, dial_held.airspeed, 3);
        if (a.acf_Mmo > 0.0f) PANEL_draw_needle(x, y, dial_held.barber_angle_deg, 8);
        const bool style7 = INS_in(type, INS_ASI_PRESET_BC_NODIG, INS_ASI_PRESET_HM_DIG) ||
                            INS_in(type, INS_ASI_ADAP_BC_NODIG, INS_ASI_ADAP_HM_DIG);
        PANEL_draw_needle(x, y, dial_held.needle_angle_deg, style7 ? 7 : 6);
        return;
    }
    if (fam == F_VVI) {
        PANEL_draw_needle(x, y, angle_of(g, value), 17);
        return;
    }

    const float angle = angle_of(g, value);
    if (g.round) {
        const bool second = INS_in(type, INS_RPM_PROP_RND_DIG, INS_ITT_RND_DIG) || type == INS_RPM_ENG_RND_DIG;
        if (type == INS_RPM_PROP_MULTI) {
            PANEL_draw_needle(x, y, angle, 59);
            const int n = std::min(a.acf_num_engines, ACF_MAX_ENGINES);
            for (int i = 0; i < n; ++i)
                PANEL_draw_needle(x, y, angle_of(g, f.ENGN_tacrad[e] * UNIT.radps_to_rpm / a.acf_prop_gear_rat[i]), 59);
        } else if (type == INS_RPM_ROTOR_MULTI) {
            PANEL_draw_needle(x, y, angle, 60);
            const int n = std::min(a.acf_num_thrustpoints, ACF_MAX_ENGINES);
            for (int i = 0; i < n; ++i)
                if (point_counts(a, i) && (a.acf_prop_type[i] == 3 || a.acf_prop_type[i] == 7))
                    PANEL_draw_needle(x, y, angle_of(g, f.POINT_tacrad[1] * UNIT.radps_to_rpm * 10.0f), 59);
        } else {
            PANEL_draw_needle(x, y, angle, second ? 60 : (mode == 0 ? 59 : 45));
        }
    } else if (lay == 2) {
        const float u0 = BAR_TEXEL_U * PANEL_TEXEL, v0 = BAR_TEXEL_V * PANEL_TEXEL;
        const float x1 = g.x - 2.0f * g.s, x2 = g.x + 2.0f * g.s, y1 = g.y + g.low_angle, y2 = g.y + angle;
        const tex_quad_corner q[4] = {{x1, y1, u0, v0}, {x1, y2, u0, v0}, {x2, y2, u0, v0}, {x2, y1, u0, v0}};
        OGL_draw_tex_quad(OGL_font_tex(), ECAM_COLOUR, 1.0f, q, 1, STATE_BLEND);
    }

    // Readouts.
    const float m = (fam == F_MPR || fam == F_EPR) ? 10.0f : 1.0f;
    const int d = (tachometer(fam) || fam == F_FF || fam == F_ITT) ? 4 : 3;
    const float dx = 3.0f * static_cast<float>(d);
    if (lay == 1 && type != INS_RPM_PROP_MULTI && type != INS_RPM_ROTOR_MULTI)
        PANEL_draw_drum_counter(x - dx, y - 22.0f, value * m, d);
    if (lay == 2 && mode == 0) PANEL_draw_drum_counter(x - dx, y + 43.0f, value * m, d);
    if (lay == 3 && !FLT_slot_failed(0, FAIL_SLOT_ELECTRICAL) && PANEL_power_level() > 0.01f) {
        const int decimals = fam == F_MPR ? 1 : fam == F_EPR ? 2 : 0;
        OGL_draw_string_fmt(g.colour, g.x - dx + 3.0f, g.y - 4.0f, value, d, decimals, 0, 115);
    }
}
