// The annunciator panel with its master lights and test button, the stall
// warning and angle-of-attack instruments, the rocket switch, the cabin
// pressurization panel, the engine picker of the engine dials and the
// label-and-number line of the ECAM pages.
//
// Reads the annunciator words, the warning and pressurization values of
// sim/cockpit and the records it is handed: the flight record (alpha, ground
// speed, airspeed) and the aircraft (engine types and count, stall speeds,
// pressure difference). Writes master_caution_on, master_accept_on,
// annunciator_test_timeout, the cabin selections and max_allowable_altitude;
// fires the rockets through the flight model's cockpit setter.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "panel/panel_kit.h"

namespace {

constexpr float SEA_LEVEL_PA = 101325.0f;
constexpr float SEA_LEVEL_RHO = 1.225f;

// Whether the engine at `e` suits the current instrument type.
bool engine_suits(const acf_struct& a, int e)
{
    if (!PANEL_engine_ok(e)) return false;
    const int k = a.acf_en_type[e];
    const bool prop = k == 0 || k == 1 || k == 2 || k == 3 || k == 8;
    switch (panel_ins_type) {
    case INS_RPM_PROP_RND: case INS_RPM_PROP_RND_DIG: case INS_RPM_PROP_LIN_DIG: case INS_RPM_PROP_DIG:
    case INS_EFIS_NUM_PROP:
    case INS_RPM_ENG_RND: case INS_RPM_ENG_RND_DIG: case INS_RPM_ENG_LIN_DIG: case INS_RPM_ENG_DIG:
    case INS_EFIS_NUM_ENGN:
    case INS_MPR_RND: case INS_MPR_RND_DIG: case INS_MPR_LIN_DIG: case INS_MPR_DIG: case INS_EFIS_NUM_MPR:
    case INS_TRQ_RND: case INS_TRQ_RND_DIG: case INS_TRQ_LIN_DIG: case INS_TRQ_DIG: case INS_EFIS_NUM_TRQ:
        return prop;
    case INS_EPR_RND: case INS_EPR_RND_DIG: case INS_EPR_LIN_DIG: case INS_EPR_DIG: case INS_EFIS_NUM_EPR:
        return k == 4 || k == 5;
    default:
        return true;
    }
}

// The pass's plain advance: one on, back into 0 .. engines - 1 (not with none).
int advance(const acf_struct& a, int c)
{
    const int n = a.acf_num_engines;
    ++c;
    if (n > 0) {
        c %= n;
        if (c < 0) c += n;
    }
    return c;
}

bool lit_single(int t)
{
    const sim_cockpit_warnings_annunciators_block& w = sim_cockpit_warnings_annunciators;
    switch (t) {
    case INS_ANN_MASTER_CAUTION: return w.master_caution != 0;
    case INS_ANN_MASTER_ACCEPT: return w.master_accept != 0;
    case INS_ANN_AUTOPILOT_DISC: return w.autopilot_disconnect != 0;
    case INS_ANN_LOW_VACUUM: return w.low_vacuum != 0;
    case INS_ANN_LOW_VOLTAGE: return w.low_voltage != 0;
    case INS_ANN_FUEL_QUANTITY: return w.fuel_quantity != 0;
    case INS_ANN_HYD_PRESS: return w.hydraulic_pressure != 0;
    default: return false;
    }
}

bool lit_engine(int t, int n)
{
    const sim_cockpit_warnings_annunciators_block& w = sim_cockpit_warnings_annunciators;
    switch (t) {
    case INS_ANN_FUEL_PRESS: return PANEL_annunciator_bit(w.fuel_pressure, n);
    case INS_ANN_OIL_PRESS: return PANEL_annunciator_bit(w.oil_pressure, n);
    case INS_ANN_OIL_TEMP: return PANEL_annunciator_bit(w.oil_temperature, n);
    case INS_ANN_INVERTER: return PANEL_annunciator_bit(w.inverter, n);
    case INS_ANN_GENERATOR: return PANEL_annunciator_bit(w.generator, n);
    case INS_ANN_CHIP_DETECT: return PANEL_annunciator_bit(w.chip_detect, n);
    case INS_ANN_ENGINE_FIRE: return PANEL_annunciator_bit(w.engine_fire, n);
    case INS_ANN_AUTO_IGNITION: return PANEL_annunciator_bit(w.auto_ignition, n);
    default: return false;
    }
}

// The highest aircraft altitude the cabin can hold at the selected cabin
// altitude s (m). A pressure difference that leaves no cabin pressure would
// divide by zero: the start value stands then, and whenever the iteration
// leaves the numbers.
float max_cabin_safe_altitude(const acf_struct& a, float s)
{
    const int planet = sim_graphics_scenery.current_planet;
    const float diff = a.acf_max_press_diff;
    const float start = diff * 0.15f + s;
    const float p = ATMO_density_at_alt(planet, s) * SEA_LEVEL_PA / sim_physics.rho_sea_level - diff;
    const float denominator = (p / SEA_LEVEL_RHO) * sim_physics.rho_sea_level;
    if (!(p > 0.0f) || !(denominator > 0.0f) || !std::isfinite(denominator)) return std::isfinite(start) ? start : 0.0f;
    float h = start;
    for (int k = 0; k < 10; ++k) h = (ATMO_density_at_alt(planet, h) / denominator * 0.75f + 0.25f) * h;
    if (!std::isfinite(h)) return std::isfinite(start) ? start : 0.0f;
    return h;
}

}  // namespace

int PANEL_annunciator_bit(int word, int n)
{
    if (n < 0 || n > 7) return 0;
    return (static_cast<unsigned>(word) >> n) & 1u ? 1 : 0;
}

void PANEL_annunciators(int n)
{
    if (!PANEL_has_power()) return;
    if (n == -1) {
        if (PANEL_click_spot(0.0f, 0.0f, 10.0f, 1)) {
            sim_cockpit_warnings.annunciator_test_timeout = frame_clock + 0.1f;
            return;
        }
    }
    const int t = panel_ins_type;
    sim_cockpit_warnings_block& w = sim_cockpit_warnings;
    if (t == INS_ANN_MASTER_CAUTION && PANEL_click_spot(0.0f, 0.0f, 15.0f, 0)) w.master_caution_on = 0;
    if (t == INS_ANN_MASTER_ACCEPT && PANEL_click_spot(0.0f, 0.0f, 15.0f, 0)) w.master_accept_on = 0;
    if (lit_single(t) || lit_engine(t, n)) PANEL_draw_control(0.0f, 0.0f, 0);
}

void PANEL_stall_warning(const panel_records& r)
{
    const flt_struct& f = r.flt;
    const float gs = f.groundspeed;
    const float a = f.alpha * std::clamp(gs * gs, 0.0f, 1.0f);
    const float s = panel_ins_scale;
    switch (panel_ins_type) {
    case INS_AOA_LINEAR:
        PANEL_draw_tape(0, 9, -13.0f, 9.0f, 0.0f, 58.0f * s, -999.0f, a * std::clamp(gs, 0.0f, 1.0f), 1.0f, 5, 10.0f,
                        2, 0, 110);
        break;
    case INS_AOA_NEEDLE: PANEL_draw_needle(0.0f, 0.0f, 90.0f - 6.0f * std::clamp(a, -30.0f, 30.0f), 41); break;
    case INS_AOA_INDEXER: {
        const float vs_kt = r.acf.acf_est_Vs * UNIT.mps_to_kts;
        const float ias = f.indicated_airspeed;
        if (!(ias >= 0.2f * vs_kt && ias <= 2.0f * vs_kt)) break;
        const float w = r.acf.acf_stall_warn_alpha * 0.6f;
        if (a > w + 1.0f) PANEL_draw_control(0.0f, 19.0f, 0);
        if (a >= w - 2.0f && a <= w + 2.0f) PANEL_draw_control(0.0f, 0.0f, 1);
        if (a < w - 1.0f) PANEL_draw_control(0.0f, -19.0f, 2);
        break;
    }
    default: break;
    }
}

void PANEL_rocket_switch(int plane, int type, float d)
{
    if (type > 0) panel_ins_type = type;
    // A plane outside the flight records (from a joystick binding) would
    // write past them: FLT_fire_rocket ignores it.
    if (PANEL_click_spot(0.0f, 0.0f, 12.0f, 1) || type > 0) FLT_fire_rocket(plane, panel_ins_type, frame_clock + d);
}

void PANEL_pressurization(const panel_records& r)
{
    sim_cockpit_pressure_block& p = sim_cockpit_pressure;
    // A selection that is not a number (written by a plug-in) would stay so
    // for good and no clamp would catch it: the selectors start it again from
    // the bottom of their range.
    switch (panel_ins_type) {
    case INS_CABIN_ALT_SEL: {
        float s = p.cabin_altitude_set_m_msl + PANEL_drag_spot(0.0f, -19.0f, 15.0f, 10.0f, 250.0f, 1);
        s = std::clamp(std::isfinite(s) ? s : 0.0f, 0.0f, UNIT.ft_to_mtrs * 12500.0f);
        p.cabin_altitude_set_m_msl = s;
        p.max_allowable_altitude = max_cabin_safe_altitude(r.acf, s);
        PANEL_draw_drum_counter(-15.0f, 19.0f, s * UNIT.mtrs_to_ft * 0.01f, 3);
        PANEL_draw_drum_counter(-15.0f, 1.0f, p.max_allowable_altitude * UNIT.mtrs_to_ft * 0.01f, 3);
        break;
    }
    case INS_CABIN_RATE_SEL: {
        const float lo = 250.0f * UNIT.fpm_to_mps, hi = 2500.0f * UNIT.fpm_to_mps;
        float v = p.cabin_vvi_set_m_msec + PANEL_drag_spot(0.0f, 0.0f, 20.0f, 0.1f, 2.5f, 1);
        v = std::clamp(std::isfinite(v) ? v : lo, lo, hi);
        p.cabin_vvi_set_m_msec = v;
        PANEL_draw_needle(0.0f, 0.0f, (v - lo) * 270.0f / (hi - lo) - 135.0f, 58);
        break;
    }
    // The cabin's altimeter and rate-of-climb dial: the altimeter and VVI
    // drawers read the cabin's values for these types, which draws the same
    // and leaves the same shared needle memory as putting them into h_ind and
    // vh_ind for the call and restoring the true values afterwards.
    case INS_CABIN_ALT: PANEL_altimeter(r); break;
    case INS_CABIN_VVI: PANEL_vvi(r); break;
    default: break;
    }
}

int PANEL_pick_engine(int32_t* counter, const panel_records& r)
{
    if (!counter) return 0;
    for (int k = 0; k < 8; ++k) {
        *counter = advance(r.acf, *counter);
        if (engine_suits(r.acf, *counter)) return *counter;
    }
    return 0;
}

void PANEL_ecam_label_value(float x, float y, const char* label, float value, int digits, int decimals)
{
    const char* text = label ? label : "";
    OGL_draw_string(49, x, y, text, 9999.0f, 110);
    const float at = x + 6.0f * static_cast<float>(std::strlen(text)) + 6.0f + 6.0f * static_cast<float>(4 - digits);
    OGL_draw_string_fmt(49, at, y, value, digits, decimals, 1, 110);
}
