// The autopilot panel: mode engage buttons (which act through the keyboard
// commands of the same functions, so a click, a key and a joystick button
// change the modes by one path), their annunciator lamps, the four value
// selectors and the drum and digital displays of the selected values.
//
// Reads: the autopilot block, autopilot_test_timeout, the frame clock, the
// mouse record, the panel power. Writes: the selected airspeed, heading,
// altitude and vertical speed, backcourse_on; the modes only through the keys.
#include <algorithm>
#include <cmath>

#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/key_slots.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "flightmodel/control/autopilot_modes.h"
#include "graphics/font.h"
#include "panel/controls/controls.h"
#include "panel/panel_kit.h"

namespace {

constexpr int NO_KEY = -1;

float finite_or(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

// Halves away from zero onto the grid.
float snap(float v, float grid) { return std::round(v / grid) * grid; }

// One mode: its engage button triple, its annunciator lamp, the key command
// that toggles it, and how far it is engaged (0 off, 1 armed, 2 on).
struct mode_row {
    ins_type first_button;   // GA face; the BC and HM faces follow
    ins_type lamp;
    int key_slot;
    int (*engaged)();
};

int word_is(int32_t w, int v) { return w == v ? 2 : 0; }
const mode_row MODES[] = {
    {INS_OTT_ATR_ENG_GA, INS_OTT_ANN_ATR, KEY_SLOT_AUTOTHROTTLE, [] { return word_is(sim_cockpit_autopilot.airspeed_mode, AP_AUTOTHROTTLE); }},
    {INS_OTT_HDG_ENG_GA, INS_OTT_ANN_HDG, KEY_SLOT_AP_HEADING, [] { return word_is(sim_cockpit_autopilot.heading_mode, AP_HEADING_HOLD); }},
    {INS_OTT_WINGLEV_ENG_GA, INS_OTT_ANN_WINGLEV, KEY_SLOT_AP_WING_LEVELLER, [] { return word_is(sim_cockpit_autopilot.heading_mode, AP_WING_LEVELLER); }},
    {INS_OTT_ASI_ENG_GA, INS_OTT_ANN_ASI, KEY_SLOT_AP_SPEED_BY_PITCH, [] { return word_is(sim_cockpit_autopilot.altitude_mode, AP_SPEED_BY_PITCH); }},
    {INS_OTT_VVI_ENG_GA, INS_OTT_ANN_VVI, KEY_SLOT_AP_VERTICAL_SPEED, [] { return word_is(sim_cockpit_autopilot.altitude_mode, AP_VERTICAL_SPEED); }},
    {INS_OTT_ALT_ENG_GA, INS_OTT_ANN_ALT, KEY_SLOT_AP_ALTITUDE_HOLD, [] { return word_is(sim_cockpit_autopilot.altitude_mode, AP_ALTITUDE_HOLD); }},
    {INS_OTT_LCA_ENG_GA, INS_OTT_ANN_LCA, KEY_SLOT_AP_LEVEL_CHANGE, [] { return word_is(sim_cockpit_autopilot.altitude_mode, AP_LEVEL_CHANGE); }},
    {INS_OTT_SYN_ENG_GA, INS_OTT_ANN_SYN, KEY_SLOT_AP_PITCH_HOLD, [] { return word_is(sim_cockpit_autopilot.altitude_mode, AP_PITCH_HOLD); }},
    {INS_OTT_HN_ENG_GA, INS_OTT_ANN_HN, KEY_SLOT_AP_LATERAL_NAV,
     [] {
         const int32_t m = sim_cockpit_autopilot.hnav_mode;
         return m == AP_COURSE_ARMED ? 1 : m == AP_COURSE_CAPTURED ? 2 : 0;
     }},
    {INS_OTT_VN_ENG_GA, INS_OTT_ANN_VN, KEY_SLOT_AP_VERTICAL_NAV,
     [] {
         const int32_t m = sim_cockpit_autopilot.vnav_mode;
         return m == AP_GLIDESLOPE_ARMED ? 1 : m == AP_GLIDESLOPE_CAPTURED ? 2 : 0;
     }},
    {INS_OTT_BC_ENG_GA, INS_OTT_ANN_BC, NO_KEY, [] { return sim_cockpit_autopilot.backcourse_on != 0 ? 2 : 0; }},
};

void engage_button(const mode_row& m, bool test)
{
    if (PANEL_click_spot(0.0f, 0.0f, 12.0f, 0)) {
        if (m.key_slot != NO_KEY) CORE_run_key_slot(DISPATCH_COMMAND, m.key_slot);
        else sim_cockpit_autopilot.backcourse_on = sim_cockpit_autopilot.backcourse_on != 0 ? 0 : 1;
    }
    const int e = m.engaged();
    if (e == 0 && !test) return;
    PANEL_draw_control(0.0f, 0.0f, 0);
    PANEL_draw_control(0.0f, 0.0f, test ? 2 : e);
}

void snap_altitude_and_vs()
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.altitude = snap(finite_or(ap.altitude, 0.0f), 100.0f);
    ap.vertical_velocity = snap(finite_or(ap.vertical_velocity, 0.0f), 100.0f);
}

// Which value a selector, display or selector-display serves: 0 speed,
// 1 heading, 2 altitude, 3 vertical speed. The dragged value is added to and
// then held to its range. A value that is not a number (written by a plug-in
// or a datagram) would stay so for good, as would every sum with it: the
// limit reads it as 0 instead.
void selector(int which, float x)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const bool mach = ap.airspeed_is_mach != 0;
    switch (which) {
    case 0:
        ap.airspeed += PANEL_drag_spot(x, -2.0f, 10.0f, mach ? 0.01f : 5.0f, mach ? 0.05f : 50.0f, 1);
        ap.airspeed = std::clamp(finite_or(ap.airspeed, 0.0f), 0.0f, mach ? 9.99f : 999.0f);
        break;
    case 1:
        ap.heading_mag += PANEL_drag_spot(x, -2.0f, 10.0f, 1.0f, 30.0f, 1);
        ap.heading_mag = UTIL_wrap_closed(finite_or(ap.heading_mag, 0.0f), 360.0f);
        break;
    case 2:
        ap.altitude += PANEL_drag_spot(x, -2.0f, 10.0f, 100.0f, 2000.0f, 1);
        ap.altitude = std::clamp(finite_or(ap.altitude, 0.0f), 0.0f, 99900.0f);
        break;
    default:
        ap.vertical_velocity += PANEL_drag_spot(x, -2.0f, 10.0f, 100.0f, 1000.0f, 1);
        ap.vertical_velocity = std::clamp(finite_or(ap.vertical_velocity, 0.0f), -9999.0f, 9900.0f);
        break;
    }
}

void digital_display(int which)
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    switch (which) {
    case 0:
        if (ap.airspeed_is_mach != 0) OGL_draw_string_fmt(49, -10.0f, -3.0f, ap.airspeed, 3, 2, 0, 112);
        else OGL_draw_string_fmt(49, -14.0f, -3.0f, ap.airspeed, 4, 0, 0, 112);
        break;
    case 1: OGL_draw_string_fmt(49, -8.0f, -3.0f, ap.heading_mag, 3, 0, 0, 112); break;
    case 2: OGL_draw_string_fmt(49, -20.0f, -3.0f, ap.altitude, 5, 0, 0, 112); break;
    default: OGL_draw_string_fmt(49, -14.0f, -3.0f, ap.vertical_velocity, 4, 0, 1, 112); break;
    }
}

void drum_display(int which)
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    switch (which) {
    case 0:
        if (ap.airspeed_is_mach != 0) PANEL_draw_drum_counter(-15.0f, -4.0f, ap.airspeed * 100.0f, 3);
        else PANEL_draw_drum_counter(-15.0f, -4.0f, ap.airspeed, 4);
        break;
    case 1: PANEL_draw_drum_counter(-12.0f, -4.0f, std::round(ap.heading_mag), 3); break;
    case 2: PANEL_draw_drum_counter(-18.0f, -4.0f, ap.altitude, 5); break;
    default: PANEL_draw_drum_counter(-13.0f, -4.0f, ap.vertical_velocity, 4); break;
    }
}

}  // namespace

void PANEL_autopilot()
{
    if (!PANEL_has_power()) return;
    const int t = panel_ins_type;
    const bool test = autopilot_test_timeout > frame_clock;

    for (const mode_row& m : MODES) {
        if (t >= m.first_button && t <= m.first_button + 2) engage_button(m, test);
        else if (t == m.lamp && m.engaged() != 0) PANEL_draw_control(0.0f, 0.0f, 1);
    }
    if (INS_in(t, INS_OTT_SEL_SPD, INS_OTT_SEL_VVI)) selector(t - INS_OTT_SEL_SPD, -2.0f);
    if (INS_in(t, INS_OTT_SELDISP_SPD, INS_OTT_SELDISP_VVI)) selector(t - INS_OTT_SELDISP_SPD, 26.0f);

    // Released, the selected values settle on their grids (one that is not a
    // number at 0, as the selector reads it).
    if (mouse.mouse_held == 0) {
        sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
        ap.airspeed = snap(finite_or(ap.airspeed, 0.0f), ap.airspeed_is_mach != 0 ? 0.01f : 5.0f);
        ap.heading_mag = snap(finite_or(ap.heading_mag, 0.0f), 1.0f);
        snap_altitude_and_vs();
    }
    if (INS_in(t, INS_OTT_SELDISP_SPD, INS_OTT_SELDISP_VVI)) {
        digital_display(t - INS_OTT_SELDISP_SPD);
        if (t == INS_OTT_SELDISP_ALT || t == INS_OTT_SELDISP_VVI) snap_altitude_and_vs();
    }
    if (INS_in(t, INS_OTT_DISP_SPD, INS_OTT_DISP_VVI)) drum_display(t - INS_OTT_DISP_SPD);
}
