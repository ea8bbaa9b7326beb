// Engine text readouts (types 404..410, 465), linear engine gauges (324..328,
// 412), the linear fuel gauge (347) and the linear thermometers (352, 353).
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "panel/controls/controls.h"
#include "panel/gauges/gauges.h"
#include "panel/panel_kit.h"

namespace {

constexpr int READOUT_COLOUR = 50;

struct text_readout {
    ins_type type;
    const char* label;
    int digits, decimals;
};
constexpr text_readout text_readouts[] = {
    {INS_EFIS_NUM_PROP, "RPM:", 4, 0}, {INS_EFIS_NUM_ENGN, "RPM:", 4, 0}, {INS_EFIS_NUM_N1, " N1:", 3, 0},
    {INS_EFIS_NUM_MPR, "MPR:", 4, 2},  {INS_EFIS_NUM_EPR, "EPR:", 3, 2},  {INS_EFIS_NUM_TRQ, "TRQ:", 3, 0},
    {INS_EFIS_NUM_FF, " FF:", 4, 0},   {INS_EFIS_NUM_ITT, "ITT:", 4, 0},
};

float text_value(const panel_records& r, int type, int n)
{
    const flt_struct& f = r.flt;
    switch (type) {
    case INS_EFIS_NUM_PROP: return f.POINT_tacrad[n] * UNIT.radps_to_rpm;
    case INS_EFIS_NUM_ENGN: return f.ENGN_tacrad[n] * UNIT.radps_to_rpm;
    case INS_EFIS_NUM_N1: return f.ENGN_N1_[n];
    case INS_EFIS_NUM_MPR: return f.ENGN_MPR[n];
    case INS_EFIS_NUM_EPR: return f.ENGN_EPR[n];
    case INS_EFIS_NUM_TRQ: {
        // An aircraft without a propeller torque limit (0) would divide by
        // zero and show an endless number: its torque is shown undivided.
        const float max = r.acf.acf_trq_max_prp;
        return f.ENGN_TRQ[n] / (max > 0.0f ? max : 1.0f) * 100.0f;
    }
    case INS_EFIS_NUM_FF: return f.ENGN_FF_[n] * UNIT.kgs_to_lbs * 3600.0f;
    default: return f.ENGN_ITT[n] * 700.0f;
    }
}

struct linear_gauge {
    int custom;
    float lo, hi;
};
bool linear_of(int type, linear_gauge& g)
{
    switch (type) {
    case INS_EGT: g = {12, 0, 1}; return true;
    case INS_OIL_QUAN: g = {13, 0, 1}; return true;
    case INS_OIL_PRESS: g = {14, 0, 1}; return true;
    case INS_OIL_TEMP: g = {15, 0, 1}; return true;
    case INS_GEN_LOAD: g = {24, -1, 1}; return true;
    case INS_BATT_VOLT: g = {25, 0, 1}; return true;
    case INS_FUEL_LINEAR_GA: g = {21, 0, 1}; return true;
    default: return false;
    }
}

float linear_value(const flt_struct& f, int type, int n)
{
    switch (type) {
    case INS_EGT: return f.ENGN_EGT[n];
    case INS_OIL_QUAN: return f.ENGN_oil_quan[n];
    case INS_OIL_PRESS: return f.ENGN_oil_press[n];
    case INS_OIL_TEMP: return f.ENGN_oil_temp[n];
    case INS_GEN_LOAD:
        // The ammeter button turns the load meter into a voltmeter while its
        // deadline lies ahead of the clock.
        return volt_display_timeout[n] > frame_clock ? f.ENGN_bat_volt[n] : f.ENGN_bat_amp[n];
    case INS_BATT_VOLT: return f.ENGN_bat_volt[n];
    default: return small_gauges.fuel_fraction;
    }
}

// The needle of a linear gauge at its pivot, clipped to the window.
void clipped_needle(float angle)
{
    const float s = panel_ins_scale;
    OGL_scissor_on(-33.0f * s, -15.0f * s, 66.0f * s, 30.0f * s);
    PANEL_draw_needle(0.0f, -40.0f, angle, 61);
    OGL_scissor_off();
}

}  // namespace

float GAUGE_angle(float value, float lo_val, float hi_val, float lo_ang, float hi_ang)
{
    if (hi_val == lo_val) return (lo_ang + hi_ang) * 0.5f;
    float a = (hi_ang - lo_ang) / (hi_val - lo_val) * (value - lo_val) + lo_ang;
    // A value that is not a number would pass the limit and leave the needle
    // with no place: it rests at the low end.
    if (!std::isfinite(a)) a = lo_ang;
    return std::clamp(a, std::min(lo_ang, hi_ang), std::max(lo_ang, hi_ang));
}

void PANEL_engine_readout(int engine, const panel_records& rec)
{
    const int t = panel_ins_type;
    if (t == INS_THERMO_LIN_C || t == INS_THERMO_LIN_F) {
        const float c = sim_weather.temperature_ambient_c;
        const float v = t == INS_THERMO_LIN_C ? c : 1.8f * (c + 273.15f) - 459.67f;
        float a = (v + 40.0f) * 0.5f - 30.0f;
        if (!std::isfinite(a)) a = -30.0f;   // as in GAUGE_angle
        return clipped_needle(std::clamp(a, -30.0f, 30.0f));
    }
    // An engine index beyond the engine entries (from a panel of an aircraft
    // with no engines) would read past them: no value is shown for it.
    const bool engine_ok = PANEL_engine_ok(engine);
    for (const text_readout& r : text_readouts) {
        if (r.type != t) continue;
        OGL_draw_string(READOUT_COLOUR, -24.0f, -4.0f, r.label, 9999.0f, 110);
        if (engine_ok)
            OGL_draw_string_fmt(READOUT_COLOUR, 0.0f, -4.0f, text_value(rec, t, engine), r.digits, r.decimals, 0, 110);
        return;
    }
    linear_gauge g;
    if (!linear_of(t, g)) return;
    const acf_struct& a = rec.acf;
    // No power, or an engine the tables do not hold: the needle rests at the empty end.
    const bool fuel = t == INS_FUEL_LINEAR_GA;
    float value = (PANEL_has_power() && (engine_ok || fuel)) ? linear_value(rec.flt, t, engine_ok ? engine : 0) : g.lo;
    if (a.acf_cus_rnd_use[g.custom]) {
        float lo_ang = a.acf_cus_rnd_lo_ang[g.custom], hi_ang = a.acf_cus_rnd_hi_ang[g.custom];
        if (engine % 2 == 1 && a.acf_cus_rnd_mirror[g.custom]) lo_ang = 360.0f - lo_ang, hi_ang = 360.0f - hi_ang;
        if (!engine_ok && !fuel) value = a.acf_cus_rnd_lo_val[g.custom];
        PANEL_draw_needle(0.0f, 0.0f,
                          GAUGE_angle(value, a.acf_cus_rnd_lo_val[g.custom], a.acf_cus_rnd_hi_val[g.custom], lo_ang, hi_ang),
                          61);
        return;
    }
    clipped_needle(GAUGE_angle(value, g.lo, g.hi, -30.0f, 30.0f));
}
