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
    if (t == 109) return {60, GYRO_VACUUM, RADIO_INDEX_NAV1, 1, false};
    if (t >= 110 && t <= 112) return {52, GYRO_ELECTRIC, RADIO_INDEX_NAV1, 1, false};
    if (t >= 113 && t <= 115) return {52, GYRO_ELECTRIC, RADIO_INDEX_NAV2, 1, false};
    if (t >= 116 && t <= 118) return {52, GYRO_ELECTRIC, -1, 1, false};
    if (t >= 119 && t <= 121) return {52, GYRO_ELECTRIC, -1, 1, true};
    if (t >= 167 && t <= 169) return {54, GYRO_ELECTRIC, -1, 1, true};
    if ((t >= 185 && t <= 187) || (t >= 371 && t <= 373)) return {70, GYRO_ELECTRIC, -1, 4, true};
    if (t == 188) return {52, GYRO_ELECTRIC, RADIO_INDEX_NAV1, 1, true};
    if (t == 191) return {52, GYRO_ELECTRIC, -1, 1, true};
    return {57, GYRO_ELECTRIC, RADIO_INDEX_NAV1, 1, false};
}

float knob_y(int t)
{
    switch (t) {
    case 109: return -55.0f;
    case 111: case 114: case 117: return -57.0f;
    case 112: case 115: case 118: return -72.0f;
    default: return -59.0f;
    }
}

// The DME and course windows of the BC and HM faces.
void numeric_windows(int t, int n, float s)
{
    const bool hm = t == 112 || t == 115 || t == 118;
    const int font = hm ? 114 : 113;
    const float offset = hm ? 48.0f : 38.0f;
    const float row = t == 118 ? 73.0f : hm ? 67.0f : 60.0f;
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    if (r.nav1_has_dme[n] != 0) {
        const float dist = std::clamp(finite_or_0(r.nav1_dme_dist_m[n]), 0.0f, 99.0f);
        OGL_draw_string_fmt(49, (-offset - 8.0f) * s, row * s, dist, 3, 1, 0, font);
    }
    OGL_draw_string_fmt(49, (offset - 8.0f) * s, row * s, UTIL_wrap_closed(NAV_course(n), 360.0f), 3, 0, 0, font);
}

// The electronic heading tape: the tape itself, the bug and course pointers
// while they are on it, and the heading's number.
void heading_tape(float gyro, int n, float s)
{
    PANEL_draw_drum_digit(5, 0.0f, 0.0f, finite_or_0(flt[0].magpsi));
    auto pointer = [&](float value, int style) {
        const float x = -UTIL_wrap_from(gyro - value, -180.0f, 360.0f) * 1.2f;
        if (x * s >= -49.0f * s && x * s <= 49.0f * s) PANEL_draw_needle(x, -10.0f, 0.0f, style);
    };
    pointer(finite_or_0(sim_cockpit_autopilot.heading_mag), 28);
    pointer(finite_or_0(NAV_course(n)), 55);
    OGL_draw_string_fmt(49, -9.0f * s, 15.0f * s, UTIL_wrap_from(gyro, 0.0f, 360.0f), 3, 0, 0, 110);
}

}  // namespace

int NAV_source_of_selector(int selector)
{
    switch (selector) {
    case 1: return RADIO_INDEX_NAV2;
    case 2: return RADIO_INDEX_GPS;
    default: return RADIO_INDEX_NAV1;
    }
}

float* NAV_course_word(int receiver)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    switch (receiver) {
    case RADIO_INDEX_NAV2: return &r.nav2_obs_degm;
    case RADIO_INDEX_ADF1: return &r.adf1_obs_card_mag;
    case RADIO_INDEX_ADF2: return &r.adf2_obs_card_mag;
    case RADIO_INDEX_GPS: return &r.obs_mag;
    default: return &r.nav1_obs_degm;
    }
}

float NAV_course(int receiver) { return *NAV_course_word(receiver); }

void PANEL_hsi()
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const hsi_variant v = variant_of(t);
    const int n = v.source >= 0 ? v.source : NAV_source_of_selector(sim_cockpit_switches.HSI_selector);
    if (v.glass && !PANEL_glass_alive()) return;
    const float gyro = finite_or_0(gyro_heading[v.gyro]);
    const int g = v.glass ? 1 : 0;

    if (t == 167) return heading_tape(gyro, n, s);

    const float bottom = screen.screen_area_bottom;
    if (t == 168) {
        screen.screen_area_bottom -= 30.0f;
        OGL_scissor_on(-100.0f, 0.0f, 200.0f, 100.0f);
    }
    const float R = v.radius;
    PANEL_draw_rotated_card(gyro, R * s, v.card_kind, g);
    const float bug = finite_or_0(sim_cockpit_autopilot.heading_mag - gyro);
    PANEL_draw_needle(std::sin(bug * DEG_TO_RAD_FLOAT) * (R - 3.0f), std::cos(bug * DEG_TO_RAD_FLOAT) * (R - 3.0f), bug, 27 + g);
    PANEL_draw_needle(0.0f, 1.02f * R, 0.0f, 25 + g);
    if (t == 168 || t == 169)
        OGL_draw_string_fmt(49, -8.0f * s, 60.0f * s, UTIL_wrap_from(gyro, 0.0f, 360.0f), 3, 0, 0, 110);
    if (t == 111 || t == 112 || t == 114 || t == 115 || t == 117 || t == 118) numeric_windows(t, n, s);

    if (!v.glass) {
        const float kx = t == 109 ? 50.0f : 55.0f, ky = knob_y(t);
        float& heading = sim_cockpit_autopilot.heading_mag;
        heading = UTIL_wrap_closed(finite_or_0(heading) + PANEL_drag_spot(kx, ky, 10.0f, 1.0f, 30.0f, 1), 360.0f);
        if (t == 109) return;
        float& course = *NAV_course_word(n);
        course = UTIL_wrap_closed(finite_or_0(course) + PANEL_drag_spot(-kx, ky, 10.0f, 1.0f, 30.0f, 1), 360.0f);
    }
    if (t == 168) {
        OGL_scissor_off();
        screen.screen_area_bottom = bottom;
    }
    update_loc_gls(gyro);
}

void PANEL_cdi(int receiver)
{
    if (receiver != RADIO_INDEX_NAV1 && receiver != RADIO_INDEX_NAV2) return;
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

    // The OBS knob below-left turns this receiver's course.
    const int type = panel_ins_type;
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    panel_ins_type = n == 0 ? 42 : 43;
    screen.screen_area_left += -47.0f * s;
    screen.screen_area_bottom += -55.0f * s;
    PANEL_knob();
    panel_ins_type = type;
    screen.screen_area_left = left;
    screen.screen_area_bottom = bottom;
}
