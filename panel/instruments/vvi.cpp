// The vertical speed indicators: needle dials with each dial's law (linear,
// or a knee at 1,000 ft/min and a power law above it), the linear tape, the
// EFIS needle and number, and the generated dial of type 440.
#include <algorithm>
#include <cmath>

#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_kit.h"

vvi_memory vvi_mem;
ORVELL_RESET_RECORD(VVI_reset, vvi_mem, panel);

namespace {


struct vvi_law {
    ins_type type;
    int style;
    float full_fpm, full_deg, knee_fpm, knee_deg, exponent;
};
constexpr vvi_law VVI_LAWS[] = {
    {INS_VVI_2000_GA, 17, 2000, 160, 0, 0, 1},           {INS_VVI_3000_GA, 17, 3000, 150, 1000, 70, 1},
    {INS_VVI_2000_BC, 19, 2000, 160, 0, 0, 1},           {INS_VVI_5000_BC, 19, 5000, 160, 0, 0, 1},
    {INS_VVI_6000_BC, 19, 6000, 170, 1000, 60, 0.65f},   {INS_VVI_2000_HM, 20, 2000, 160, 0, 0, 1},
    {INS_VVI_5000_HM, 20, 5000, 160, 0, 0, 1},           {INS_VVI_6000_HM, 20, 6000, 170, 1000, 60, 0.65f},
    {INS_CABIN_VVI, 19, 2000, 160, 0, 0, 1},             {INS_EFIS_EL_VVI_VERT, 21, 6000, 70, 1000, 30, 0.65f},
};

const vvi_law* law_of(int type)
{
    for (const vvi_law& l : VVI_LAWS)
        if (l.type == type) return &l;
    return nullptr;
}

}  // namespace

float VVI_needle_angle(int type, float fpm)
{
    const vvi_law* l = law_of(type);
    if (!l || !std::isfinite(fpm)) return 0.0f;
    const float a = std::fabs(fpm), sign = fpm >= 0.0f ? 1.0f : -1.0f;
    float angle;
    if (a >= l->knee_fpm)
        angle = (l->full_deg - l->knee_deg) *
                    std::pow((a - l->knee_fpm) / (l->full_fpm - l->knee_fpm), l->exponent) + l->knee_deg;
    else
        angle = a / l->knee_fpm * l->knee_deg;
    return sign * std::min(angle, l->full_deg);
}

void PANEL_vvi(const panel_records& r)
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    if (!FLT_slot_failed(0, FAIL_SLOT_VVI_INSTR)) {
        // The cabin's rate of climb on the pressurization panel's dial: read
        // here, the same as putting it into vh_ind for the call and restoring
        // the true rate afterwards.
        const float climb_mps = t == INS_CABIN_VVI ? sim_cockpit_pressure.cabin_vvi_actual_m_msec : r.flt.vh_ind;
        const float v = climb_mps * UNIT.mps_to_fpm;
        if (std::isfinite(v)) vvi_mem.vvi_fpm = v;
    }
    const float v = vvi_mem.vvi_fpm;
    if (t == INS_VVI_LINEAR) {
        PANEL_draw_tape(0, 9, -13.0f, 9.0f, 0.0f, 58.0f * s, -999.0f, v * 0.01f, 1.0f, 10, 5.0f, 2, 0, 110);
        return;
    }
    if (t == INS_EFIS_EL_VVI_DIGITAL) {
        if (PANEL_glass_alive()) OGL_draw_string_fmt(49, -12.0f, -4.0f, v, 4, 0, 1, 110);
        return;
    }
    if (t == INS_VVI_ADAP) {
        update_eng_asi(t, 0.0f, 0.0f, 0, 0, r);
        return;
    }
    const vvi_law* l = law_of(t);
    if (!l) return;
    if (t == INS_EFIS_EL_VVI_VERT && !PANEL_glass_alive()) return;
    PANEL_draw_needle(t == INS_EFIS_EL_VVI_VERT ? 17.0f : 0.0f, 0.0f, VVI_needle_angle(t, v) - 90.0f, l->style);
}
