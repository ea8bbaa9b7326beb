// The directional gyro, the horizontal situation indicators (mechanical and
// glass), the EFIS heading displays that draw through them, and the course
// deviation indicator with its OBS knob.
//
// Reads: the gyro headings, the navigation arrays and selectors, the heading
// bug, magpsi, the avionics power and failure slot 7. Writes: the heading bug
// and the courses (from the knobs), nav1_fromto of an unpowered CDI.
// Re-entrant: the EFIS, map and head-up drawers call PANEL_hsi with their own
// types and origin, which it gives back as it found them.
#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/gyros.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/panel_kit.h"

namespace {

// A heading, course or deviation that is not a number (written from outside)
// reads 0: handed on, it would give the card or needle an angle that is not a number.
float finite_or_0(float v) { return std::isfinite(v) ? v : 0.0f; }

struct hsi_variant {
    float radius;
    int gyro;
    int source;   // receiver, or -1 for the HSI selector's
    int card_kind;
    bool glass;
};

hsi_variant variant_of(int t)
{
    if (t == INS_DIRECTIONAL_GYRO_GA) return {60, GYRO_VACUUM, RADIO_NAV1, 1, false};
    if (INS_in(t, INS_HSI1_GA, INS_HSI1_HM)) return {52, GYRO_ELECTRIC, RADIO_NAV1, 1, false};
    if (INS_in(t, INS_HSI2_GA, INS_HSI2_HM)) return {52, GYRO_ELECTRIC, RADIO_NAV2, 1, false};
    if (INS_in(t, INS_HSI12GPS_GA, INS_HSI12GPS_HM)) return {52, GYRO_ELECTRIC, -1, 1, false};
    if (INS_in(t, INS_HSIGLASS_GA, INS_HSIGLASS_HM)) return {52, GYRO_ELECTRIC, -1, 1, true};
    if (INS_in(t, INS_EFIS_EL_HSI_TAPE, INS_EFIS_EL_HSI_FULL_CIRCLE)) return {54, GYRO_ELECTRIC, -1, 1, true};
    if (INS_in(t, INS_EFIS_MAP_T_GA, INS_EFIS_MAP_T_HM) || INS_in(t, INS_EFIS_MAP_S_GA, INS_EFIS_MAP_S_HM))
        return {70, GYRO_ELECTRIC, -1, 4, true};
    if (t == INS_EFIS_ORBITER_PRIM) return {52, GYRO_ELECTRIC, RADIO_NAV1, 1, true};
    if (t == INS_EFIS_HITS) return {52, GYRO_ELECTRIC, -1, 1, true};
    return {57, GYRO_ELECTRIC, RADIO_NAV1, 1, false};
}

float knob_y(int t)
{
    switch (t) {
    case INS_DIRECTIONAL_GYRO_GA: return -55.0f;
    case INS_HSI1_BC: case INS_HSI2_BC: case INS_HSI12GPS_BC: return -57.0f;
    case INS_HSI1_HM: case INS_HSI2_HM: case INS_HSI12GPS_HM: return -72.0f;
    default: return -59.0f;
    }
}

// The DME and course windows of the BC and HM faces.
void numeric_windows(int t, int n, float s)
{
    const bool hm = t == INS_HSI1_HM || t == INS_HSI2_HM || t == INS_HSI12GPS_HM;
    const int font = hm ? 114 : 113;
    const float offset = hm ? 48.0f : 38.0f;
    const float row = t == INS_HSI12GPS_HM ? 73.0f : hm ? 67.0f : 60.0f;
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    if (r.nav1_has_dme[n] != 0) {
        const float dist = std::clamp(finite_or_0(r.nav1_dme_dist_m[n]), 0.0f, 99.0f);
        OGL_draw_string_fmt(49, (-offset - 8.0f) * s, row * s, dist, 3, 1, 0, font);
    }
    OGL_draw_string_fmt(49, (offset - 8.0f) * s, row * s, UTIL_wrap_closed(NAV_course(n), 360.0f), 3, 0, 0, font);
}

// The electronic heading tape: the tape itself, the bug and course pointers
// while they are on it, and the heading's number.
void heading_tape(const flt_struct& f, float gyro, int n, float s)
{
    PANEL_draw_drum_digit(5, 0.0f, 0.0f, finite_or_0(f.magpsi));
    auto pointer = [&](float value, int style) {
        const float x = -UTIL_wrap_from(gyro - value, -180.0f, 360.0f) * 1.2f;
        if (x * s >= -49.0f * s && x * s <= 49.0f * s) PANEL_draw_needle(x, -10.0f, 0.0f, style);
    };
    pointer(finite_or_0(sim_cockpit_autopilot.heading_mag), 28);
    pointer(finite_or_0(NAV_course(n)), 55);
    OGL_draw_string_fmt(49, -9.0f, 15.0f, UTIL_wrap_from(gyro, 0.0f, 360.0f), 3, 0, 0, 110);
}

}  // namespace

int NAV_knobs(int t, nav_knob out[2])
{
    if (t == INS_CDI_NAV1 || t == INS_CDI_NAV2) return out[0] = {-47.0f, -55.0f}, 1;
    if (t == INS_DIRECTIONAL_GYRO_GA) return out[0] = {50.0f, knob_y(t)}, 1;
    if (!INS_in(t, INS_HSI1_GA, INS_HSI12GPS_HM)) return 0;
    out[0] = {55.0f, knob_y(t)};    // heading
    out[1] = {-55.0f, knob_y(t)};   // course
    return 2;
}

int NAV_source_of_selector(int selector)
{
    // 2 (GPS) reads the GPS entries; other values are the receiver index. A
    // value outside 0..4 (written from outside) would read past the five
    // receivers' arrays, so it reads nav 1.
    if (selector == 2) return RADIO_GPS;
    return selector >= RADIO_NAV1 && selector <= RADIO_GPS ? selector : RADIO_NAV1;
}

float* NAV_course_word(int receiver)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    switch (receiver) {
    case RADIO_NAV2: return &r.nav2_obs_degm;
    case RADIO_ADF1: return &r.adf1_obs_card_mag;
    case RADIO_ADF2: return &r.adf2_obs_card_mag;
    case RADIO_GPS: return &r.obs_mag;
    default: return &r.nav1_obs_degm;
    }
}

float NAV_course(int receiver) { return *NAV_course_word(receiver); }

void PANEL_hsi(const panel_records& r)
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const hsi_variant v = variant_of(t);
    const int n = v.source >= 0 ? v.source : NAV_source_of_selector(sim_cockpit_switches.HSI_selector);
    if (v.glass && !PANEL_glass_alive()) return;
    const float gyro = finite_or_0(gyro_heading[v.gyro]);
    const int g = v.glass ? 1 : 0;

    if (t == INS_EFIS_EL_HSI_TAPE) return heading_tape(r.flt, gyro, n, s);

    const float bottom = screen.screen_area_bottom;
    if (t == INS_EFIS_EL_HSI_SEMI_CIRCLE) {
        screen.screen_area_bottom -= 30.0f;
        OGL_scissor_on(-100.0f, 0.0f, 200.0f, 100.0f);
    }
    const float R = v.radius;
    PANEL_draw_rotated_card(gyro, R * s, v.card_kind, g);
    const float bug = finite_or_0(sim_cockpit_autopilot.heading_mag - gyro);
    PANEL_draw_needle(std::sin(bug * DEG_TO_RAD_FLOAT) * (R - 3.0f), std::cos(bug * DEG_TO_RAD_FLOAT) * (R - 3.0f), bug, 27 + g);
    PANEL_draw_needle(0.0f, 1.02f * R, 0.0f, 25 + g);
    if (t == INS_EFIS_EL_HSI_SEMI_CIRCLE || t == INS_EFIS_EL_HSI_FULL_CIRCLE)
        OGL_draw_string_fmt(49, -8.0f * s, 60.0f * s, UTIL_wrap_from(gyro, 0.0f, 360.0f), 3, 0, 0, 110);
    if (t == INS_HSI1_BC || t == INS_HSI1_HM || t == INS_HSI2_BC || t == INS_HSI2_HM || t == INS_HSI12GPS_BC ||
        t == INS_HSI12GPS_HM)
        numeric_windows(t, n, s);

    nav_knob knobs[2];
    const int knob_count = v.glass ? 0 : NAV_knobs(t, knobs);
    if (knob_count > 0) {
        float& heading = sim_cockpit_autopilot.heading_mag;
        heading = UTIL_wrap_closed(
            finite_or_0(heading) + PANEL_drag_spot(knobs[0].x, knobs[0].y, 10.0f, 1.0f, 30.0f, 1), 360.0f);
    }
    if (t == INS_DIRECTIONAL_GYRO_GA) return;
    if (knob_count > 1) {
        float& course = *NAV_course_word(n);
        course = UTIL_wrap_closed(
            finite_or_0(course) + PANEL_drag_spot(knobs[1].x, knobs[1].y, 10.0f, 1.0f, 30.0f, 1), 360.0f);
    }
    if (t == INS_EFIS_EL_HSI_SEMI_CIRCLE) {
        OGL_scissor_off();
        screen.screen_area_bottom = bottom;
    }
    update_loc_gls(gyro);
}

void PANEL_cdi(int receiver)
{
    // Another receiver would index the navigation arrays with a number no CDI serves: nothing drawn.
    if (receiver != RADIO_NAV1 && receiver != RADIO_NAV2) return;
    const int n = receiver;
    const float s = panel_ins_scale;
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    float across = finite_or_0(r.nav1_hdef_dot[n]) * 5.1f;
    float up = -finite_or_0(r.nav1_vdef_dot[n]) * 5.1f;
    if (!PANEL_avionics_powered()) {
        r.nav1_fromto[n] = 0;
        across = up = 0.0f;
    }
    PANEL_draw_rotated_card(finite_or_0(NAV_course(n)), 58.0f * s, 1, 0);
    switch (r.nav1_fromto[n]) {
    case 2: PANEL_draw_control(22.0f * s, -10.0f * s, 0); break;
    case 1: PANEL_draw_control(22.0f * s, 10.0f * s, 1); break;
    case 0: PANEL_draw_control(9.0f * s, 21.0f * s, n == 0 ? 2 : 3); break;
    default: break;
    }
    if (r.nav_type[n] != 4) PANEL_draw_control(-18.0f * s, 8.0f * s, 4);
    PANEL_draw_needle(across, -34.0f, 0.0f, 54);
    PANEL_draw_needle(-34.0f, up, 90.0f, 54);

    // The OBS knob below-left turns this receiver's course. The type and origin
    // it borrows are given back; nothing more of the slot is drawn after it,
    // so the slot looks and acts the same as if they were left.
    const int type = panel_ins_type;
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    nav_knob obs[2];
    NAV_knobs(INS_CDI_NAV1, obs);
    panel_ins_type = n == RADIO_NAV1 ? INS_RHE_OBS_1 : INS_RHE_OBS_2;
    screen.screen_area_left += obs[0].x * s;
    screen.screen_area_bottom += obs[0].y * s;
    PANEL_knob();
    panel_ins_type = type;
    screen.screen_area_left = left;
    screen.screen_area_bottom = bottom;
}
