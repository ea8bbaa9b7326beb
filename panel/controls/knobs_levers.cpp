// The panel's continuous controls: rotary knobs (dimmers, barometer, courses,
// ADF cards, radio-altimeter minimum), the lever quadrant (throttle, propeller,
// mixture, carburettor heat, cowl flaps, speed brake, sweep, incidence, thrust
// vector, collective, displacement) and the flap lever with its indicators.
//
// Reads: the mouse record through the click and lever tests, the panel scale
// and slot origin, lever_gang_x, pln[0] (engine and thrust-point counts, prop
// ranges and types, flap detents, custom gauge 22, vector and speed-brake
// options), flt[0] (engine modes, sweep and vector reached, flap ratio).
// Writes: the knob values of sim_cockpit_*, flt[0]'s engine levers and
// control requests, POINT_pitch_deg.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/simvars.h"
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

int engine_count() { return std::clamp(pln[0].acf_num_engines, 0, FLT_ENGINES); }

// Lever group of a grouped lever kind: throttle, propeller, mixture, heat, cowl.
int lever_group(int t) { return t == 55 ? 4 : (t - 47) / 2; }
bool vernier(int t) { return t == 47 || t == 49 || t == 51 || t == 53; }

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
    case 39: value = &el.cockpit_lights, step = 0.05f, rate = 0.3f, lo = 0.1f, hi = 1.0f; break;
    case 40: value = &el.HUD_brightness, step = 100.0f, rate = 100.0f, lo = 0.1f, hi = 1.0f; break;
    case 41: value = &misc.barometer_setting, step = 0.01f, rate = 0.1f, lo = 0.0f, hi = 35.0f; break;
    case 42: value = &r.nav1_obs_degm, step = 1.0f, rate = 30.0f, wrap = true; break;
    case 43: value = &r.nav2_obs_degm, step = 1.0f, rate = 30.0f, wrap = true; break;
    case 375: value = course_of_selector(), step = 1.0f, rate = 30.0f, wrap = true; break;
    case 44: value = &r.adf1_obs_card_mag, step = -1.0f, rate = -30.0f, wrap = true; break;
    case 45: value = &r.adf2_obs_card_mag, step = -1.0f, rate = -30.0f, wrap = true; break;
    case 46:
        value = &misc.radio_altimeter_minimum, step = 10.0f, lo = 0.0f, hi = 2500.0f;
        rate = misc.radio_altimeter_minimum < 500.0f ? 100.0f : 500.0f;
        break;
    default: return;
    }
    const float v = finite_or(*value, wrap ? 0.0f : lo) + PANEL_drag_spot(0.0f, 0.0f, 10.0f, step, rate, 1);
    *value = wrap ? PANEL_wrap_0_360(v) : std::clamp(finite_or(v, lo), lo, hi);
}

void PANEL_levers(int engine, float length)
{
    const int t = panel_ins_type;
    const int e = engine;
    if (!PANEL_engine_ok(e)) return;
    const float s = panel_ins_scale;
    length = finite_or(length, 0.0f);
    const float h = length * s * 0.5f - 5.0f;
    const float o = vernier(t) ? -length * s * 0.5f : 0.0f;
    const float top = h + o, bottom = -h + o;
    float w = vernier(t) ? 16.0f : 10.0f;

    // A grab on the middle of a lever group moves every lever of the group.
    bool ganged = false;
    if (t >= 47 && t <= 55) {
        const float g = std::trunc(finite_or(sim_cockpit_misc.lever_gang_x[lever_group(t)], 0.0f)) - screen.screen_area_left;
        ganged = PANEL_click_rect(g - w, bottom - 5.0f, g + w, top + 5.0f, 1) != 0;
        if (ganged) w *= 2.0f;
    }
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const int n = engine_count();

    if (t == 47 || t == 48) {
        const bool apply = PANEL_click_rect(-w, bottom - 10.0f, w, top + 10.0f, 1) || ganged;
        float ratio = top == bottom ? 0.5f : (mouse.mouse_y - screen.screen_area_bottom - bottom) / (top - bottom);
        ratio = std::clamp(finite_or(ratio, 0.5f), 0.0f, 1.0f);
        const int mode_before = f.ENGN_propmode[e];
        float r = ENGN_lever_to_throttle(ratio, e, apply ? 1 : 0);
        // Leaving the forward range into beta or reverse needs a long press first.
        if (mode_before == 1 && f.ENGN_propmode[e] != 1 && mouse.mouse_panel_drag == 0) {
            f.ENGN_propmode[e] = 1;
            f.ENGN_thro[e] = 0.0f;
            r = ENGN_lever_to_throttle(0.0f, e, 0);
        }
        const float y = std::clamp(bottom + (top - bottom) * finite_or(r, 0.0f), std::min(top, bottom), std::max(top, bottom));
        PANEL_draw_control(0.0f, y, 0);
        if (a.acf_vectEQ != 0)
            for (int i = 0; i < n; ++i) f.ENGN_thro[i] = f.ENGN_thro[e];
        if (ganged)
            for (int i = 0; i < n; ++i) f.ENGN_propmode[i] = f.ENGN_propmode[e];
        return;
    }

    const int force = ganged ? 1 : 0;
    switch (t) {
    case 49: case 50:
        PANEL_lever_drag(a.acf_RSC_redline_prp, a.acf_RSC_mingreen_prp, &f.ENGN_prop[e], top, bottom, w, force);
        return;
    case 51: case 52: PANEL_lever_drag(1.0f, 0.0f, &f.ENGN_mixt[e], top, bottom, w, force); return;
    case 53: case 54: PANEL_lever_drag(0.0f, 1.0f, &f.ENGN_heat[e], top, bottom, w, force); return;
    case 55: PANEL_lever_drag(0.0f, 1.0f, &f.ENGN_cowl[e], top, bottom, w, force); return;
    case 56: case 57: {
        PANEL_lever_drag(-0.5f, 1.0f, &f.sbrkrqst, h - 8.0f, 28.0f - h, w, 0);
        float v = finite_or(f.sbrkrqst, 0.0f);
        if (a.acf_num_engines >= 1) v = std::round(v * 2.0f) * 0.5f;
        f.sbrkrqst = std::clamp(v, a.acf_autosbrkEQ != 0 ? -0.5f : 0.0f, 1.0f);
        return;
    }
    case 58: case 458: case 59: {
        const float ya = h - 2.0f, yb = 12.0f - h;
        // The position reached, drawn before the lever.
        const float reached = t == 59 ? f.vect_ratio : f.swdi;
        PANEL_draw_control(t == 458 ? 11.0f : 19.0f, ya + (yb - ya) * std::clamp(finite_or(reached, 0.0f), 0.0f, 1.0f), 1);
        PANEL_lever_drag(0.0f, 1.0f, t == 59 ? &f.vectrqst : &f.swdirqst, ya, yb, w, 0);
        return;
    }
    case 60: {
        const int points = std::clamp(a.acf_num_thrustpoints, 0, FLT_ENGINES);
        for (int i = 0; i < points; ++i)
            if (a.acf_prop_type[i] == 3)
                PANEL_lever_drag(a.acf_min_pitch[i], a.acf_max_pitch[i], &f.POINT_pitch_deg[i], h, -h, w, 0);
        return;
    }
    case 61: PANEL_lever_drag(1.05f, 0.95f, &f.displace_rat, h, -h, w, 0); return;
    default: return;
    }
}

void PANEL_flap_lever()
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float flaprat = finite_or(f.flaprat, 0.0f);

    if (t == 65) {
        PANEL_draw_control(0.0f, 30.0f * s + (-26.0f * s - 30.0f * s) * flaprat, 0);
        return;
    }
    if (t == 453) {
        float lo = 0.0f, hi = 1.0f, lo_ang = 0.0f, hi_ang = 135.0f;
        if (a.acf_cus_rnd_use[FLAP_GAUGE] != 0) {
            lo = a.acf_cus_rnd_lo_val[FLAP_GAUGE], hi = a.acf_cus_rnd_hi_val[FLAP_GAUGE];
            lo_ang = a.acf_cus_rnd_lo_ang[FLAP_GAUGE], hi_ang = a.acf_cus_rnd_hi_ang[FLAP_GAUGE];
        }
        const float mid = (lo_ang + hi_ang) * 0.5f;
        float angle = hi == lo ? mid : lo_ang + (hi_ang - lo_ang) / (hi - lo) * (flaprat - lo);
        angle = std::clamp(finite_or(angle, mid), std::min(lo_ang, hi_ang), std::max(lo_ang, hi_ang));
        PANEL_draw_needle(0.0f, 0.0f, finite_or(angle, 0.0f), 57);
        return;
    }
    if (t < 62 || t > 64) return;

    const float h = 28.0f * s;
    if (PANEL_click_rect(-12.0f, -h, 12.0f, h, 1)) {
        const float r = h == 0.0f ? 0.5f : 1.0f - (mouse.mouse_y - screen.screen_area_bottom + h) / (2.0f * h);
        f.flaprqst = std::clamp(finite_or(r, 0.5f), 0.0f, 1.0f);
    }
    // Snap to the nearest detent, the first on a tie; only detents inside
    // the aircraft's table count, and none leaves the request at 0.
    const int last = std::min(a.acf_flap_detents, ACF_FLAP_DN - 1);
    float best_gap = 9.9f, snapped = 0.0f;
    if (last >= 0) {
        const float span = a.acf_flap_dn[last] - a.acf_flap_dn[0];
        for (int i = 0; i <= last; ++i) {
            const float ratio = span == 0.0f ? 0.5f : (a.acf_flap_dn[i] - a.acf_flap_dn[0]) / span;
            const float gap = std::fabs(ratio - f.flaprqst);
            if (gap < best_gap) best_gap = gap, snapped = ratio;
        }
    }
    f.flaprqst = snapped;
    PANEL_draw_control(0.0f, std::clamp(h - 2.0f * h * f.flaprqst, -std::fabs(h), std::fabs(h)), 0);
}
