// The ECAM display (types 193..205) with its pages of engines, fuel, flight
// controls, hydraulics and failures, the rotorcraft text display (204) with
// its spoken warnings, and the separate page-select buttons (206..210).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/failure_slots.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "links/speech.h"
#include "panel/gauges/gauges.h"
#include "panel/panel_kit.h"

ecam_state ecam;
ORVELL_RESET_RECORD(ECAM_reset, ecam, panel);

namespace {

constexpr int PAGES = 5;

constexpr const char* warning_messages[6] = {
    "",
    "ROTOR PITCH HIGH AT LOW ROTOR SPEED",
    "CYCLIC LIMIT EXCEEDED",
    "CYCLIC NEAR LIMIT",
    "GEAR UP AT LOW SPEED",
    "GEAR DOWN ABOVE 130 KNOTS",
};

// A value that is not a number (written from outside) is shown as 0 rather
// than handed to the number and needle drawers.
float finite(float v) { return std::isfinite(v) ? v : 0.0f; }
// An engine count outside 0..8 would index past the eight engine entries.
int engines(const acf_struct& a) { return std::clamp(a.acf_num_engines, 0, 8); }
bool failed(const flt_struct& f, int slot)
{
    return slot >= 0 && slot < FAILURE_SLOTS && f.failures[slot] == FAILURE_STATE_FAILED;
}

// ---- engines -------------------------------------------------------------------

void engine_page(const panel_records& r, int t)
{
    const int n = engines(r.acf);
    for (int e = 0; e < n; ++e) {
        const float fe = static_cast<float>(e);
        const float rx = 72.0f * fe - 36.0f;
        const int flag = e == n - 1 ? 1 : 2;
        // The page's two gauges of each engine: round dials one above the
        // other, or bars side by side. The round dials' flag is not given;
        // they take 1, which draws them in the display's colour as the bars are.
        auto dial = [&](int type, float y) { update_eng_asi(type, rx, y, e, 1, r); };
        auto bar = [&](int type, float x) { update_eng_asi(type, x, -10, e, flag, r); };
        const float bx = 6 * fe - 40, cx = 6 * fe + 22;
        switch (t) {
        case INS_ECAM_RCPRND: dial(INS_RPM_ENG_RND, 30), dial(INS_MPR_RND, -35); break;
        case INS_ECAM_TRBRND: dial(INS_RPM_ENG_RND, 30), dial(INS_TRQ_RND, -35); break;
        case INS_ECAM_N1_RND: dial(INS_N1_RND, 30), dial(INS_FF_RND, -35); break;
        case INS_ECAM_EPRRND: dial(INS_EPR_RND, 30), dial(INS_FF_RND, -35); break;
        case INS_ECAM_ROCRND: dial(INS_N1_RND, 30), dial(INS_FF_RND, 30); break;
        case INS_ECAM_RCPLIN: bar(INS_RPM_ENG_LIN_DIG, bx), bar(INS_MPR_LIN_DIG, cx); break;
        case INS_ECAM_TRBLIN: bar(INS_RPM_ENG_LIN_DIG, bx), bar(INS_TRQ_LIN_DIG, cx); break;
        case INS_ECAM_N1_LIN: bar(INS_N1_LIN_DIG, bx), bar(INS_FF_LIN_DIG, cx); break;
        case INS_ECAM_EPRLIN: bar(INS_EPR_LIN_DIG, bx), bar(INS_FF_LIN_DIG, cx); break;
        case INS_ECAM_ROCLIN: bar(INS_N1_LIN_DIG, bx), bar(INS_FF_LIN_DIG, 6 * fe); break;
        case INS_ECAM_BOEING: bar(INS_EPR_LIN_DIG, 6 * fe - 60), bar(INS_N1_LIN_DIG, 6 * fe); break;
        default: break;
        }
    }
    if (t != INS_ECAM_BOEING) return;
    const flt_struct& f = r.flt;
    const float s = panel_ins_scale;
    OGL_draw_string_fmt(56, 51 * s, 42 * s, finite(f.flap_def[8]), 2, 0, 0, 110);
    const float flaps = finite(f.flaprat);
    OGL_fill_rect(56, 1.0f, 54 * s, (38 - 50 * flaps) * s, 5 * s, 50 * flaps * s);
    OGL_draw_rect_outline(56, 1.0f, 52 * s, -14 * s, 8 * s, 53 * s);
    OGL_draw_string(56, 45 * s, -24 * s, "FLAP", 9999.0f, 110);
    const float* d = r.acf.acf_gear_deploy + FLT_FIRST_GEAR_PART;
    const bool down = d[0] > 0.99f && d[1] > 0.99f && d[2] > 0.99f;
    const bool up = d[0] < 0.01f && d[1] < 0.01f && d[2] < 0.01f;
    if (down) OGL_draw_string(50, 45 * s, -44 * s, "DOWN", 9999.0f, 110);
    else if (up) OGL_draw_string(51, 45 * s, -44 * s, "UP", 9999.0f, 110);
    OGL_draw_string(53, 45 * s, -54 * s, "GEAR", 9999.0f, 110);
}

// ---- fuel ----------------------------------------------------------------------------

void fuel_page(const panel_records& r)
{
    const int n = engines(r.acf);
    if (n < 1) return;
    const flt_struct& f = r.flt;
    const float s = panel_ins_scale;
    auto row = [s](float y, const char* label, float value, int digits, int decimals) {
        OGL_draw_string(60, -65 * s, y * s, label, 9999.0f, 110);
        OGL_draw_string_fmt(60, -5 * s, y * s, finite(value), digits, decimals, 0, 110);
    };
    row(48, "TANK1 LB", f.m_fuel1 * UNIT.kgs_to_lbs, 6, 0);
    row(38, "TANK2 LB", f.m_fuel2 * UNIT.kgs_to_lbs, 6, 0);
    row(28, "TANK3 LB", f.m_fuel3 * UNIT.kgs_to_lbs, 6, 0);
    row(18, "TOTAL LB", (f.m_fuel1 + f.m_fuel2 + f.m_fuel3) * UNIT.kgs_to_lbs, 6, 0);
    static constexpr const char* flow_labels[8] = {"FF1 PPH", "FF2 PPH", "FF3 PPH", "FF4 PPH",
                                                   "FF5 PPH", "FF6 PPH", "FF7 PPH", "FF8 PPH"};
    float y = -2.0f, flow = 0.0f;
    for (int k = 0; k < n; ++k, y -= 10.0f) {
        row(y, flow_labels[k], f.ENGN_FF_[k] * UNIT.kgs_to_lbs * 3600.0f, 6, 0);
        flow += f.ENGN_FF_[k];
    }
    if (!(flow >= 1e-6f)) flow = 1e-6f;
    const float hours = (f.m_fuel1 + f.m_fuel2 + f.m_fuel3) / flow / 3600.0f;
    row(y, "ENDUR HR", hours, 3, 1);
    row(y - 10, "RANGE NM", hours * f.groundspeed * UNIT.mps_to_kts, 5, 0);
    row(y - 20, "WEIGHT LB", f.m_total * UNIT.kgs_to_lbs, 6, 0);
}

// ---- flight controls --------------------------------------------------------------------

void controls_page(const panel_records& r)
{
    const float s = panel_ins_scale;
    const acf_struct& a = r.acf;
    const flt_struct& f = r.flt;
    auto box = [s](int c, float x, float y, float w, float h) { OGL_fill_rect(c, 1.0f, x * s, y * s, w * s, h * s); };
    static constexpr float outline[8][4] = {{-68, 27, 63, 22}, {-1, 27, 63, 22}, {-65, 43, 57, 6}, {2, 43, 57, 6},
                                            {-52, 36, 19, 6},  {27, 36, 19, 6},  {-52, 27, 47, 8}, {-1, 27, 47, 8}};
    for (const auto& o : outline) OGL_draw_rect_outline(60, 1.0f, o[0] * s, o[1] * s, o[2] * s, o[3] * s);
    static constexpr float rows[3] = {15, -7, -29};
    static constexpr const char* labels[3] = {"ROLL", "YAW", "PITCH"};
    for (int k = 0; k < 3; ++k) {
        const float row = rows[k];
        OGL_draw_line(60, 1.0f, -70 * s, row * s, 70 * s, row * s);
        OGL_draw_line(60, 1.0f, -10 * s, (row - 4) * s, 50 * s, (row - 4) * s);
        OGL_draw_line(60, 1.0f, -10 * s, (row - 6) * s, 50 * s, (row - 6) * s);
        for (float x : {-10.0f, 19.0f, 48.0f}) box(60, x, row - 4, 3, 3);
        OGL_draw_string(60, -67 * s, (row - 10) * s, labels[k], 99.0f, 110);
    }
    if (a.acf_slatEQ && f.slatrat > 0.01f) {
        const int c = f.slatrat < 0.99f ? 59 : 50;
        box(c, -63, 45, 54, 3), box(c, 4, 45, 54, 3);
    }
    if (a.acf_flapEQ && f.flaprat > 0.01f) {
        const int c = std::fabs(f.flaprat - f.flaprqst) > 0.01f ? 59 : 50;
        box(c, -50, 29, 44, 5), box(c, 1, 29, 44, 5);
    }
    if (a.acf_sbrkEQ && f.sbrkrat > 0.01f) box(50, -50, 38, 16, 3), box(50, 29, 38, 16, 3);
    // The needle drawer scales its pivot itself, so the positions go in as
    // design units. Dividing them by the scale first would leave the needles
    // unscaled while the rows are scaled: at any scale but 1 they would sit off their rows.
    const float inputs[3] = {f.FC_roll, f.FC_hdng, f.FC_ptch};
    for (int k = 0; k < 3; ++k)
        PANEL_draw_needle(20.0f + 30.0f * finite(inputs[k]), rows[k] - 9.0f, 0.0f, 44);
}

// ---- hydraulics ---------------------------------------------------------------------------

void hydraulics_page(const panel_records& r)
{
    const float s = panel_ins_scale;
    const acf_struct& a = r.acf;
    const flt_struct& f = r.flt;
    for (float y0 : {12.0f, -6.0f}) {
        OGL_draw_line(49, 1.0f, -70 * s, (y0 - 2) * s, 70 * s, (y0 - 2) * s);
        OGL_draw_line(49, 1.0f, -70 * s, y0 * s, 70 * s, y0 * s);
        for (float y : {y0 - 4.0f, y0 - 6.0f}) {
            OGL_draw_line(58, 1.0f, 8 * s, y * s, 68 * s, y * s);
            OGL_draw_line(59, 1.0f, 23 * s, y * s, 63 * s, y * s);
            OGL_draw_line(50, 1.0f, 38 * s, y * s, 58 * s, y * s);
        }
    }
    const int n = engines(r.acf);
    int pump1 = 70, pump2 = 70;
    const bool rocket = a.acf_en_type[0] == 6 || a.acf_en_type[0] == 7;
    if (n >= 1 && !rocket) {
        pump1 = f.ENGN_N1_[0] > 10.0f ? 70 : 58;
        pump2 = n >= 2 ? (f.ENGN_N1_[1] > 10.0f ? 70 : 58) : pump1;
    }
    OGL_draw_string(pump1, -68 * s, 40 * s, "PUMP 1", 9999.0f, 110);
    OGL_draw_string(pump2, -68 * s, 30 * s, "PUMP 2", 9999.0f, 110);
    OGL_draw_string(sim_operation_failures.ram_air_turbine_on ? 59 : 70, -68 * s, 20 * s, "RAM AIR TURBINE", 9999.0f, 110);
    // Design units, as on the flight-control page: the needle drawer scales them.
    const float x = 9.0f + 53.0f * finite(sim_operation_failures.hydraulic_pressure_ratio);
    PANEL_draw_needle(x, 0.0f, 0.0f, 44);
    PANEL_draw_needle(x, -18.0f, 0.0f, 44);
}

// ---- failures ------------------------------------------------------------------------------

void failure_line(float x, float& y, const char* label, bool is_failed)
{
    const float s = panel_ins_scale;
    OGL_draw_string(is_failed ? 58 : 70, x * s, y * s, label, 9999.0f, 110);
    y -= 10.0f;
}

void failures_page(const panel_records& r)
{
    const acf_struct& a = r.acf;
    float y = 48.0f;
    failure_line(-68, y, "ROLL CONTROL", failed(r.flt, 17) || failed(r.flt, 18));
    failure_line(-68, y, "PITCH CONTROL", failed(r.flt, 19) || failed(r.flt, 20));
    failure_line(-68, y, "YAW CONTROL", failed(r.flt, 21) || failed(r.flt, 22));
    failure_line(-68, y, "FLAPS", failed(r.flt, 26));
    failure_line(-68, y, "FLAPS ASYM", failed(r.flt, 27));
    failure_line(-68, y, "SLATS", failed(r.flt, 30));
    if (a.acf_gear_is_skid == 0) {
        failure_line(-68, y, "NOSE GEAR", failed(r.flt, 32));
        failure_line(-68, y, "LEFT GEAR", failed(r.flt, 33));
        failure_line(-68, y, "RIGHT GEAR", failed(r.flt, 34));
    }
    failure_line(-68, y, "ANTI-ICE", failed(r.flt, 42));
    if (a.acf_ff_hydraulic) failure_line(-68, y, "HYDRAULICS", failed(r.flt, 45));
    failure_line(-68, y, "STAB AUG", failed(r.flt, 46));

    static constexpr const char* groups[3][4] = {{"ENG1 FIRE", "ENG2 FIRE", "ENG3 FIRE", "ENG4 FIRE"},
                                                 {"ENG1 OIL", "ENG2 OIL", "ENG3 OIL", "ENG4 OIL"},
                                                 {"ENG1 REV", "ENG2 REV", "ENG3 REV", "ENG4 REV"}};
    static constexpr int bases[3] = {50, 98, 74};
    const int n = std::min(engines(r.acf), 4);
    y = 48.0f;
    for (int g = 0; g < 3; ++g)
        for (int e = 0; e < n; ++e) failure_line(2, y, groups[g][e], failed(r.flt, bases[g] + e));
}

// ---- rotorcraft ---------------------------------------------------------------------------------

int rotorcraft_warning(const panel_records& r)
{
    const flt_struct& f = r.flt;
    const float rotor_rpm = f.POINT_tacrad[1] * UNIT.radps_to_rpm;
    const float cyclic = std::hypot(f.cyclic_elev_blad_alph[1], f.cyclic_ailn_blad_alph[1]);
    const float ias = f.indicated_airspeed;
    const int gear = sim_cockpit_switches.gear_handle_status;
    if (f.POINT_pitch_deg[1] > 6.0f && rotor_rpm < 250.0f) return 1;
    if (cyclic > 7.0f && rotor_rpm > 50.0f) return 2;
    if (cyclic > 6.0f && rotor_rpm > 50.0f) return 3;
    if (ias >= 50.0f && ias <= 80.0f && gear == 0) return 4;
    if (ias > 130.0f && gear != 0) return 5;
    return 0;
}

void rotorcraft_display(const panel_records& r, int page)
{
    sim_cockpit_warnings_block& w = sim_cockpit_warnings;
    if (frame_clock > w.warning_suppression_timeout) {
        w.ECAM_warning_on = 0;
        w.ECAM_warning_on = rotorcraft_warning(r);
    }
    const float s = panel_ins_scale;
    if (w.ECAM_warning_on >= 1 && w.ECAM_warning_on <= 5) {
        std::strncpy(ecam.warning_text, warning_messages[w.ECAM_warning_on], ECAM_WARNING_TEXT_SIZE - 1);
        if (interval_ticks[INTERVAL_TWO_SECONDS]) SOUND_speak(ecam.warning_text, 0);
        w.master_caution_timeout = sim_time.total_running_time_sec + 0.1f;
        OGL_draw_string(49, -70 * s, 40 * s, ecam.warning_text, 9999.0f, 110);
        return;
    }
    if (page < 0 || page >= PAGES) return;   // a stray page would read past the table below
    const acf_struct& a = r.acf;
    const flt_struct& f = r.flt;
    const float engine_rpm = f.ENGN_tacrad[0] * UNIT.radps_to_rpm, rotor_rpm = f.POINT_tacrad[1] * UNIT.radps_to_rpm;
    float divisor = f.POINT_tacrad[1] * a.acf_semilen_SEG[1];
    if (std::fabs(divisor) < 0.1f || !std::isfinite(divisor)) divisor = std::signbit(divisor) ? -0.1f : 0.1f;
    const float tip_ratio = f.groundspeed / divisor;
    const float cyclic = std::hypot(f.cyclic_elev_blad_alph[1], f.cyclic_ailn_blad_alph[1]);
    const float tas_mph = f.true_airspeed * (UNIT.mps_to_kts * UNIT.kts_to_mph);
    struct line { const char* label; float value; int digits, decimals; };
    const line pages[PAGES][9] = {
        {{"ENG RPM", engine_rpm, 4, 0}, {"FUEL PR", f.ENGN_oil_press[0] * 60, 4, 0}, {"OIL PR", f.ENGN_oil_press[0] * 60, 4, 0},
         {"XMSN PR", f.ENGN_oil_press[0] * 10, 4, 0}, {"GEN A", f.ENGN_bat_amp[0] * 20, 4, 0}, {"BUS A", f.ENGN_bat_amp[0] * 20, 4, 0},
         {"BAT A", f.ENGN_bat_amp[0] * 40, 4, 0}, {"ROTOR LBF", f.POINT_thrust[1] * UNIT.n_to_lbf, 4, 0}, {"VOLTS", 14, 4, 0}},
        {{"TAS MPH", tas_mph, 4, 0}, {"TIP RATIO", tip_ratio, 4, 3}, {"CYCLIC", cyclic, 4, 1}, {"COLL DEG", f.POINT_pitch_deg[1], 4, 1},
         {"ROTOR RPM", rotor_rpm, 4, 0}, {"TRIM %", f.rot_trim * 100, 3, 0}, {"ENG RPM", engine_rpm, 4, 0},
         {"ROTOR LBF", f.POINT_thrust[1] * UNIT.n_to_lbf, 4, 0}, {nullptr, 0, 0, 0}},
        {{"ENG RPM", engine_rpm, 4, 0}, {"ROTOR RPM", rotor_rpm, 4, 0},
         {"CYC PITCH", f.cyclic_elev_command[1] + a.acf_cyclic_elev - 90.0f, 4, 1}, {"CYC ROLL", f.cyclic_ailn_command[1], 4, 1},
         {"ROTOR FT-LB", f.ENGN_TRQ[1] * UNIT.nm_to_ftlbf, 4, 0}, {"MP INHG", f.ENGN_MPR[0], 4, 1}, {"OIL TEMP", f.ENGN_oil_temp[0] * 200, 4, 0},
         {"SPARE", 0, 4, 0}, {nullptr, 0, 0, 0}},
        {{"TAS MPH", tas_mph, 4, 0}, {"TIP RATIO", tip_ratio, 4, 3}, {"SPARE", 0, 4, 0}, {"PROP EFF", f.POINT_prop_eff[0], 4, 2},
         {"PROP DEG", f.POINT_pitch_deg[0], 4, 0}, {"ALPHA", f.alpha, 4, 0}, {"CANT DEG", f.vertcant[1], 3, 0},
         {"ENG HP", f.ENGN_power[0] * UNIT.watts_to_hp, 4, 0}, {nullptr, 0, 0, 0}},
        {{"ENG RPM", engine_rpm, 4, 0}, {"ENG FT-LB", f.ENGN_TRQ[0] * UNIT.nm_to_ftlbf, 4, 0}, {"ENG HP", f.ENGN_power[0] * UNIT.watts_to_hp, 4, 0},
         {"MP INHG", f.ENGN_MPR[0], 4, 0}, {"PROP LBF", f.POINT_thrust[0] * UNIT.n_to_lbf, 4, 0},
         {"FF PPH", f.ENGN_FF_[0] * UNIT.kgs_to_lbs * 3600.0f, 4, 0}, {nullptr, 0, 0, 0}, {nullptr, 0, 0, 0}, {nullptr, 0, 0, 0}},
    };
    float y = 40.0f;
    for (const line& l : pages[page]) {
        if (!l.label) break;
        PANEL_ecam_label_value(-70 * s, y * s, l.label, finite(l.value), l.digits, l.decimals);
        y -= 10.0f;
    }
}

}  // namespace

const char* ECAM_warning_message(int warning) { return warning >= 1 && warning <= 5 ? warning_messages[warning] : ""; }

void PANEL_ecam_mode_switch()
{
    if (!PANEL_has_power()) return;
    const int page = panel_ins_type - INS_ECAM_MODESEL_ENG;
    if (page < 0 || page >= PAGES) return;
    if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 0)) sim_cockpit_switches.ECAM_mode = page;
    if (sim_cockpit_switches.ECAM_mode == page) PANEL_draw_control(0.0f, 0.0f, 0);
}

void PANEL_ecam_page(const panel_records& r)
{
    if (!PANEL_has_power()) return;
    const int t = panel_ins_type;
    if (t < INS_ECAM_RCPLIN || t > INS_ECAM_CUSTOM) return;
    int32_t& mode = sim_cockpit_switches.ECAM_mode;
    const float bottom = screen.screen_area_bottom;
    if (t <= INS_ECAM_TRBRND) {
        for (int k = 0; k < PAGES; ++k)
            if (PANEL_click_spot(-60.0f + 30.0f * k, -70.0f, 10.0f, 0)) mode = k;
        // Every place of the display is multiplied by the instrument scale (the
        // rows and boxes below, the engine dials that scale themselves), so the
        // move up is too: an unscaled 15 would shift the page against its own
        // buttons and frame at a scale other than 1. At scale 1 it is 15.
        screen.screen_area_bottom += 15.0f * panel_ins_scale;
    }
    // A page number from a plug-in or a datagram outside the five pages shows no
    // page (the page tables stop at five); the rotorcraft warnings run whatever it is.
    if (t == INS_ECAM_CARTER) rotorcraft_display(r, mode);
    else if (mode >= 0 && mode < PAGES) {
        if (mode == 0) engine_page(r, t);
        else if (mode == 1) fuel_page(r);
        else if (mode == 2) controls_page(r);
        else if (mode == 3) hydraulics_page(r);
        else failures_page(r);
    }
    screen.screen_area_bottom = bottom;
}
