// The panel's continuous controls: rotary knobs (dimmers, barometer, courses,
// ADF cards, radio-altimeter minimum), the lever quadrant (throttle, propeller,
// mixture, carburettor heat, cowl flaps, speed brake, sweep, incidence, thrust
// vector, collective, displacement) and the flap lever with its indicators.
//
// Reads: the mouse record through the click and lever tests, the panel scale
// and slot origin, lever_gang_x, the records it is handed: the aircraft
// (engine and thrust-point counts, prop ranges and types, flap detents, custom
// gauge 22, vector and speed-brake options) and its flight record (engine
// levers and modes, requests, sweep and vector reached, flap ratio).
// Writes: the knob values of sim_cockpit_*; the flight record's engine
// levers, control requests and collective pitch through the flight model's
// engine and cockpit setters.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/engine_types.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "panel/panel_kit.h"

namespace {

constexpr int FLAP_GAUGE = 22;   // the aircraft's custom round gauge of the flap indicator

float finite_or(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

float* course_of_selector()
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    switch (sim_cockpit_switches.HSI_selector) {
    case 1: return &r.nav2_obs_degm;
    case 2: return &r.obs_mag;
    default: return &r.nav1_obs_degm;   // any other value (from a plug-in or datagram) reads nav 1
    }
}

// An engine count from the aircraft file beyond the record's engine entries
// would read and write past them: the loops over every engine stop there.
int engine_count(const acf_struct& a) { return std::clamp(a.acf_num_engines, 0, FLT_ENGINES); }

// A lever dragged sets its control through the control's setter.
template <typename Setter>
void lever(float va, float vb, float now, float ya, float yb, float w, int keep, Setter set)
{
    float v = now;
    if (PANEL_lever_drag(va, vb, &v, ya, yb, w, keep)) set(v);
}

// Lever group of a grouped lever kind: throttle, propeller, mixture, heat, cowl.
int lever_group(int t) { return t == INS_HAN_SLIDER_COWL ? 4 : (t - INS_HAN_SLIDER_THRO_VERNIER) / 2; }
bool vernier(int t)
{
    return t == INS_HAN_SLIDER_THRO_VERNIER || t == INS_HAN_SLIDER_PROP_VERNIER || t == INS_HAN_SLIDER_MIX_VERNIER ||
           t == INS_HAN_SLIDER_HEAT_VERNIER;
}

}  // namespace

void PANEL_knob()
{
    const int t = panel_ins_type;
    sim_cockpit_electrical_block& el = sim_cockpit_electrical;
    sim_cockpit_misc_block& misc = sim_cockpit_misc;
    sim_cockpit_radios_block& r = sim_cockpit_radios;

    float* value = nullptr;
    float step = 0.0f, rate = 0.0f, lo = 0.0f, hi = 0.0f;
    bool wrap = false;
    switch (t) {
    case INS_RHE_PANEL_BRT: value = &el.cockpit_lights, step = 0.05f, rate = 0.3f, lo = 0.1f, hi = 1.0f; break;
    case INS_RHE_HUD_BRT: value = &el.HUD_brightness, step = 100.0f, rate = 100.0f, lo = 0.1f, hi = 1.0f; break;
    case INS_RHE_BARO: value = &misc.barometer_setting, step = 0.01f, rate = 0.1f, lo = 0.0f, hi = 35.0f; break;
    case INS_RHE_OBS_1: value = &r.nav1_obs_degm, step = 1.0f, rate = 30.0f, wrap = true; break;
    case INS_RHE_OBS_2: value = &r.nav2_obs_degm, step = 1.0f, rate = 30.0f, wrap = true; break;
    case INS_RHE_OBS_ANY: value = course_of_selector(), step = 1.0f, rate = 30.0f, wrap = true; break;
    // The ADF cards are the words published as sim/cockpit/radios/adf1_cardinal_dir and adf2_cardinal_dir.
    case INS_RHE_ADF_1: value = &r.adf1_obs_card_mag, step = -1.0f, rate = -30.0f, wrap = true; break;
    case INS_RHE_ADF_2: value = &r.adf2_obs_card_mag, step = -1.0f, rate = -30.0f, wrap = true; break;
    case INS_RHE_RADALT:
        value = &misc.radio_altimeter_minimum, step = 10.0f, lo = 0.0f, hi = 2500.0f;
        rate = misc.radio_altimeter_minimum < 500.0f ? 100.0f : 500.0f;
        break;
    default: return;
    }
    // A value that is not a number (from a plug-in or a datagram) would pass
    // the clamp and the wrap as it is and stay so for good: the knob starts it
    // again from 0 or from its lower bound.
    const float v = finite_or(*value, wrap ? 0.0f : lo) + PANEL_drag_spot(0.0f, 0.0f, 10.0f, step, rate, 1);
    *value = wrap ? UTIL_wrap_closed(v, 360.0f) : std::clamp(finite_or(v, lo), lo, hi);
}

void PANEL_levers(int engine, float length, const panel_records& rec)
{
    const int t = panel_ins_type;
    const int e = engine;
    if (!PANEL_engine_ok(e)) return;
    const float s = panel_ins_scale;
    // An endless slot length from the aircraft file would give a travel of
    // -inf..inf, where a grab sets the control to inf/inf, not a number.
    length = finite_or(length, 0.0f);
    // Every slot's picture is composed onto the panel centred on the slot
    // (half the slot's height above and below its y, as the aircraft load
    // places it). Shifting a vernier's travel down by half its length, as the
    // lever rule asks, would run its handle from -5 to -95 on a 100-unit slot
    // whose picture spans -50..50: for the lower half of its travel the
    // handle would be drawn off its own picture, over whatever lies below.
    // So the vernier travel is not shifted (o = 0): the handle stays on its
    // picture like every other lever's.
    const float h = length * s * 0.5f - 5.0f;
    const float top = h, bottom = -h;
    float w = vernier(t) ? 16.0f : 10.0f;

    // A grab on the middle of a lever group moves every lever of the group.
    bool ganged = false;
    if (INS_in(t, INS_HAN_SLIDER_THRO_VERNIER, INS_HAN_SLIDER_COWL)) {
        const float g = std::trunc(sim_cockpit_misc.lever_gang_x[lever_group(t)]) - screen.screen_area_left;
        ganged = PANEL_click_rect(g - w, bottom - 5.0f, g + w, top + 5.0f, 1) != 0;
        if (ganged) w *= 2.0f;
    }
    const flt_struct& f = rec.flt;
    const acf_struct& a = rec.acf;
    const int n = engine_count(a);

    if (t == INS_HAN_SLIDER_THRO_VERNIER || t == INS_HAN_SLIDER_THRO_LINEAR) {
        const bool apply = PANEL_click_rect(-w, bottom - 10.0f, w, top + 10.0f, 1) || ganged;
        float ratio = top == bottom ? 0.5f : (mouse.mouse_y - screen.screen_area_bottom - bottom) / (top - bottom);
        // A travel overflowed to -inf..inf (length times scale) gives inf/inf:
        // the throttle would be set to not a number.
        ratio = std::clamp(finite_or(ratio, 0.5f), 0.0f, 1.0f);
        const int mode_before = f.ENGN_propmode[e];
        float r = ENGN_lever_to_throttle(ratio, e, apply ? 1 : 0);
        // Leaving the forward range into beta or reverse needs a long press first.
        if (mode_before == PROPMODE_NORMAL && f.ENGN_propmode[e] != PROPMODE_NORMAL && mouse.mouse_panel_drag == 0) {
            ENGN_set_prop_mode(e, PROPMODE_NORMAL);
            ENGN_set_throttle(e, 0.0f);
            r = ENGN_lever_to_throttle(0.0f, e, 0);
        }
        const float y = std::clamp(bottom + (top - bottom) * r, std::min(top, bottom), std::max(top, bottom));
        PANEL_draw_control(0.0f, y, 0);
        if (a.acf_vectEQ != 0)
            for (int i = 0; i < n; ++i) ENGN_set_throttle(i, f.ENGN_thro[e]);
        if (ganged)
            for (int i = 0; i < n; ++i) ENGN_set_prop_mode(i, f.ENGN_propmode[e]);
        return;
    }

    const int force = ganged ? 1 : 0;
    switch (t) {
    case INS_HAN_SLIDER_PROP_VERNIER: case INS_HAN_SLIDER_PROP_LIN:
        lever(a.acf_RSC_redline_prp, a.acf_RSC_mingreen_prp, f.ENGN_prop[e], top, bottom, w, force,
              [e](float v) { ENGN_set_prop_rpm(e, v); });
        return;
    case INS_HAN_SLIDER_MIX_VERNIER: case INS_HAN_SLIDER_MIXTURE_LIN:
        lever(1.0f, 0.0f, f.ENGN_mixt[e], top, bottom, w, force, [e](float v) { ENGN_set_mixture(e, v); });
        return;
    case INS_HAN_SLIDER_HEAT_VERNIER: case INS_HAN_SLIDER_CHEAT_LIN:
        lever(0.0f, 1.0f, f.ENGN_heat[e], top, bottom, w, force, [e](float v) { ENGN_set_carb_heat(e, v); });
        return;
    case INS_HAN_SLIDER_COWL:
        lever(0.0f, 1.0f, f.ENGN_cowl[e], top, bottom, w, force, [e](float v) { ENGN_set_cowl_flaps(e, v); });
        return;
    case INS_HAN_SBRAKE1: case INS_HAN_SBRAKE2: {
        float v = f.sbrkrqst;
        PANEL_lever_drag(-0.5f, 1.0f, &v, h - 8.0f, 28.0f - h, w, 0);
        v = finite_or(v, 0.0f);   // a request that is not a number would pass the clamp: it reads 0
        if (a.acf_num_engines >= 1) v = std::round(v * 2.0f) * 0.5f;
        CTRL_set_speedbrake_request(std::clamp(v, a.acf_autosbrkEQ != 0 ? -0.5f : 0.0f, 1.0f));
        return;
    }
    case INS_HAN_SWEEP: case INS_HAN_INCIDENCE: case INS_HAN_VECT: {
        const float ya = h - 2.0f, yb = 12.0f - h;
        // The position reached, drawn before the lever.
        // The vector lever differs from the other levers here: its ends are
        // not aircraft values, because the aircraft file format carries no
        // vector top and bottom (acf_vect_top, acf_vect_bottom). The flight
        // model keeps the vector request and the vector reached (vect_actual,
        // the same word as vect_ratio) as ratios 0..1 of the travel, so the
        // lever runs 0 at the top to 1 at the bottom and the indicator shows
        // vect_actual as it is, without the division by 120 that a value in
        // degrees would take.
        const float reached = t == INS_HAN_VECT ? f.vect_actual : f.swdi;
        const float y = ya + (yb - ya) * reached;
        PANEL_draw_control(t == INS_HAN_INCIDENCE ? 11.0f : 19.0f, y, 1);
        if (t == INS_HAN_VECT) lever(0.0f, 1.0f, f.vectrqst, ya, yb, w, 0, CTRL_set_vector_request);
        else lever(0.0f, 1.0f, f.swdirqst, ya, yb, w, 0, CTRL_set_sweep_request);
        return;
    }
    case INS_HAN_SLIDER_COLLECTIVE: {
        // The top of the travel is the rotor's least blade pitch, the bottom
        // its most: the same sense as the throttle axis when it drives the
        // collective, whose full-throttle end gives the least pitch.
        // A thrust-point count beyond the record's entries would read past
        // them: the loop stops at the last entry.
        const int points = std::clamp(a.acf_num_thrustpoints, 0, FLT_ENGINES);
        for (int i = 0; i < points; ++i)
            if (a.acf_prop_type[i] == PROP_COLLECTIVE_ROTOR)
                lever(a.acf_min_pitch[i], a.acf_max_pitch[i], f.POINT_pitch_deg[i], h, -h, w, 0,
                      [i](float v) { ENGN_set_collective_pitch(i, v); });
        return;
    }
    case INS_HAN_SLIDER_DISPLACEMENT: lever(1.05f, 0.95f, f.displace_rat, h, -h, w, 0, CTRL_set_displacement); return;
    default: return;
    }
}

void PANEL_flap_lever(const panel_records& r)
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    const flt_struct& f = r.flt;
    const acf_struct& a = r.acf;
    const float flaprat = f.flaprat;

    if (t == INS_FLAP_IND_LIN) {
        PANEL_draw_control(0.0f, 30.0f * s + (-26.0f * s - 30.0f * s) * flaprat, 0);
        return;
    }
    if (t == INS_FLAP_IND_RND) {
        float lo = 0.0f, hi = 1.0f, lo_ang = 0.0f, hi_ang = 135.0f;
        if (a.acf_cus_rnd_use[FLAP_GAUGE] != 0) {
            lo = a.acf_cus_rnd_lo_val[FLAP_GAUGE], hi = a.acf_cus_rnd_hi_val[FLAP_GAUGE];
            lo_ang = a.acf_cus_rnd_lo_ang[FLAP_GAUGE], hi_ang = a.acf_cus_rnd_hi_ang[FLAP_GAUGE];
        }
        const float mid = (lo_ang + hi_ang) * 0.5f;
        float angle = hi == lo ? mid : lo_ang + (hi_ang - lo_ang) / (hi - lo) * (flaprat - lo);
        angle = std::clamp(angle, std::min(lo_ang, hi_ang), std::max(lo_ang, hi_ang));
        PANEL_draw_needle(0.0f, 0.0f, angle, 57);
        return;
    }
    if (t < INS_HAN_SLIDER_FLAP_GA || t > INS_HAN_SLIDER_FLAP_HM) return;

    const float h = 28.0f * s;
    float request = f.flaprqst;
    if (PANEL_click_rect(-12.0f, -h, 12.0f, h, 1)) {
        const float at = h == 0.0f ? 0.5f : 1.0f - (mouse.mouse_y - screen.screen_area_bottom + h) / (2.0f * h);
        // An endless instrument scale gives inf/inf here: the flap request
        // would be set to not a number.
        request = std::clamp(finite_or(at, 0.5f), 0.0f, 1.0f);
    }
    // Snap to the nearest detent, the first on a tie; none leaves the request
    // at 0. A detent count from the aircraft file beyond the table would read
    // past acf_flap_dn, so only the table's own entries count.
    const int last = std::min(a.acf_flap_detents, ACF_FLAP_DN - 1);
    float best_gap = 9.9f, snapped = 0.0f;
    if (last >= 0) {
        const float span = a.acf_flap_dn[last] - a.acf_flap_dn[0];
        for (int i = 0; i <= last; ++i) {
            const float ratio = span == 0.0f ? 0.5f : (a.acf_flap_dn[i] - a.acf_flap_dn[0]) / span;
            const float gap = std::fabs(ratio - request);
            if (gap < best_gap) best_gap = gap, snapped = ratio;
        }
    }
    CTRL_set_flap_request(snapped);
    PANEL_draw_control(0.0f, std::clamp(h - 2.0f * h * f.flaprqst, -std::fabs(h), std::fabs(h)), 0);
}
