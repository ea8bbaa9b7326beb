// The altimeters: needle dials (one turn per 1,000 ft for the long needle),
// drum counters with one needle, the linear tape and the EFIS tape with its
// readouts, and the cabin altimeter of the pressurization panel. The
// barometer knobs set the shared barometer setting within 0..35 in.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_kit.h"

altimeter_memory alt_mem;
ORVELL_RESET_RECORD(ALTIMETER_reset, alt_mem, panel);

namespace {

constexpr int CUSTOM_GAUGE = 3;

// Needle angle of a value on the aircraft's custom gauge 3; equal ends give
// the middle angle instead of a division by zero.
float custom_angle(const acf_struct& a, float v)
{
    const float lo = a.acf_cus_rnd_lo_val[CUSTOM_GAUGE], hi = a.acf_cus_rnd_hi_val[CUSTOM_GAUGE];
    const float la = a.acf_cus_rnd_lo_ang[CUSTOM_GAUGE], ha = a.acf_cus_rnd_hi_ang[CUSTOM_GAUGE];
    if (hi == lo) return 0.5f * (la + ha);
    return (ha - la) / (hi - lo) * v + la;
}

void update_needles(const acf_struct& a, float altitude_ft)
{
    if (!std::isfinite(altitude_ft)) return;
    alt_mem.altitude_ft = altitude_ft;
    if (a.acf_cus_rnd_use[CUSTOM_GAUGE] != 0) {
        alt_mem.angle_100_deg = custom_angle(a, altitude_ft);
        alt_mem.angle_1000_deg = custom_angle(a, altitude_ft * 0.1f);
        alt_mem.angle_10000_deg = custom_angle(a, altitude_ft * 0.01f);
    } else {
        alt_mem.angle_100_deg = 0.36f * altitude_ft;
        alt_mem.angle_1000_deg = 0.036f * altitude_ft;
        alt_mem.angle_10000_deg = 0.0036f * altitude_ft;
    }
    for (float* g : {&alt_mem.angle_100_deg, &alt_mem.angle_1000_deg, &alt_mem.angle_10000_deg})
        if (!std::isfinite(*g)) *g = 0.0f;
}

void barometer_knob(float x, float y)
{
    float& baro = sim_cockpit_misc.barometer_setting;
    // A setting that is not a number (from a plug-in or a datagram) would stay
    // so for good, since every sum with it is not a number either: the knob
    // starts it again from the standard 29.92 in.
    if (!std::isfinite(baro)) baro = 29.92f;
    baro = std::clamp(baro + PANEL_drag_spot(x, y, 10.0f, 0.01f, 0.1f, 1), 0.0f, 35.0f);
}

}  // namespace

void PANEL_altimeter(const panel_records& r)
{
    const flt_struct& f = r.flt;
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const bool failed = FLT_slot_failed(0, FAIL_SLOT_ALTIMETER_INSTR);
    // The cabin altimeter of the pressurization panel shows the cabin's
    // altitude: reading it here gives the same needles, and leaves the same
    // shared angles behind, as putting it into h_ind for the call and
    // restoring the true value afterwards.
    const float shown_m = t == INS_CABIN_ALT ? sim_cockpit_pressure.cabin_altitude_actual_m_msl : f.h_ind;
    const float altitude_ft = failed ? alt_mem.altitude_ft : shown_m * UNIT.mtrs_to_ft;
    const float baro = std::isfinite(sim_cockpit_misc.barometer_setting) ? sim_cockpit_misc.barometer_setting : 0.0f;

    // The ground band is the tape band marker, named PANEL_tape_mark by the
    // panel primitives.
    if (t == INS_ALT_LINEAR) {
        PANEL_draw_tape(0, 9, -10.0f, -14.0f, 0.0f, 58.0f * s, -999.0f, altitude_ft * 0.01f, 1.0f, 5, 10.0f, 1, 0, 110);
        PANEL_tape_mark(9, -8.0f, 0.0f, 58.0f * s, -f.y_agl * UNIT.mtrs_to_ft * 0.1f);
        return;
    }
    if (t == INS_EFIS_EL_ALTITUDE) {
        if (!PANEL_glass_alive()) return;
        PANEL_draw_tape(49, -1, -11.0f, -18.0f, 0.0f, 62.0f * s, 10.0f, altitude_ft * 0.01f, 1.0f, 5, 10.0f, 1, 0, 110);
        PANEL_tape_mark(58, -21.0f, 0.0f, 62.0f * s, -f.y_agl * UNIT.mtrs_to_ft * 0.1f);
        const float tens = std::round(altitude_ft / 10.0f) * 10.0f;
        OGL_draw_string_fmt(50, -11.0f * s, -4.0f * s, std::isfinite(tens) ? tens : 0.0f, 5, 0, 0, 110);
        OGL_draw_string_fmt(60, -11.0f * s, -72.0f * s, baro, 4, 2, 0, 110);
        return;
    }
    if (!INS_in(t, INS_ALTIMETER_GA, INS_ALTIMETERDIG_HM) && t != INS_CABIN_ALT) return;

    if (!failed) update_needles(r.acf, altitude_ft);
    if (INS_in(t, INS_ALTIMETERDIG_GA, INS_ALTIMETERDIG_HM)) {
        PANEL_draw_drum_counter(-17.0f, 19.0f, alt_mem.altitude_ft * 0.1f, 4);
        PANEL_draw_drum_counter(11.0f, 19.0f, 0.0f, 1);
        PANEL_draw_drum_counter(-36.0f, -24.0f, baro * UNIT.inhg_to_mb, 4);
        PANEL_draw_drum_counter(5.0f, -24.0f, baro * 100.0f, 4);
        const int style = t == INS_ALTIMETERDIG_GA ? 12 : t == INS_ALTIMETERDIG_BC ? 14 : 13;
        PANEL_draw_needle(0.0f, 0.0f, alt_mem.angle_100_deg, style);
    } else {
        const bool millibars = screen_settings.pressure_units_metric != 0;
        PANEL_draw_drum_counter(-12.0f, -26.0f, baro * (millibars ? UNIT.inhg_to_mb : 100.0f), 4);
        if (t != INS_ALTIMETER_GA && t != INS_CABIN_ALT) PANEL_draw_needle(0.0f, 0.0f, alt_mem.angle_10000_deg, 11);
        PANEL_draw_needle(0.0f, 0.0f, alt_mem.angle_1000_deg, 10);
        if (t != INS_CABIN_ALT) PANEL_draw_needle(0.0f, 0.0f, alt_mem.angle_100_deg, 9);
    }
    if (t == INS_CABIN_ALT) return;
    if (t == INS_ALTIMETERDIG_BC || t == INS_ALTIMETERDIG_HM) barometer_knob(50.0f, -55.0f);
    barometer_knob(-47.0f, -55.0f);
}
