// Cockpit-control setters of the user's plane (flightmodel/control/cockpit_controls.h).
#include "flightmodel/control/cockpit_controls.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/wpn_slot.h"
#include "core/numeric.h"
#include "core/weapon_kinds.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/flt.h"

namespace {

bool engine_ok(int n) { return n >= 0 && n < FLT_ENGINES; }

int32_t* light_word(cockpit_light light)
{
    flt_struct& f = flt[0];
    switch (light) {
    case LIGHT_LANDING: return &f.landing_lights_on;
    case LIGHT_TAXI: return &f.taxi_light_on;
    case LIGHT_NAV: return &f.nav_lights_on;
    case LIGHT_BEACON: return &f.beacon_lights_on;
    case LIGHT_STROBE: return &f.strobe_lights_on;
    }
    return nullptr;
}

// value within lo..hi; a request that is not a number keeps the control.
void set_within(float& control, float value, float lo, float hi)
{
    if (!std::isnan(value)) control = UTIL_clamp(value, lo, hi);
}

// value as given; a request that is not a number keeps the control.
void set_if_number(float& control, float value)
{
    if (!std::isnan(value)) control = value;
}

}  // namespace

void CTRL_set_light(cockpit_light light, int on)
{
    if (int32_t* w = light_word(light)) *w = on != 0 ? 1 : 0;
}

int CTRL_light_on(cockpit_light light)
{
    const int32_t* w = light_word(light);
    return w && *w != 0 ? 1 : 0;
}

void CTRL_set_parking_brake(float ratio) { set_within(flt[0].parkbrake, ratio, 0.0f, 1.0f); }

void CTRL_set_trim(trim_axis axis, float value)
{
    flt_struct& f = flt[0];
    switch (axis) {
    case TRIM_ELEVATOR: set_if_number(f.elv_trim, value); break;
    case TRIM_AILERON: set_if_number(f.ail_trim, value); break;
    case TRIM_RUDDER: set_if_number(f.rud_trim, value); break;
    case TRIM_ROTOR: set_within(f.rot_trim, value, 0.0f, 1.0f); break;
    }
}

void CTRL_set_flap_request(float ratio) { set_within(flt[0].flaprqst, ratio, 0.0f, 1.0f); }
void CTRL_set_speedbrake_request(float ratio) { set_within(flt[0].sbrkrqst, ratio, -0.5f, 1.0f); }
void CTRL_set_sweep_request(float ratio) { set_within(flt[0].swdirqst, ratio, 0.0f, 1.0f); }
void CTRL_set_vector_request(float ratio) { set_within(flt[0].vectrqst, ratio, 0.0f, 1.0f); }

void CTRL_set_displacement(float ratio)
{
    if (!std::isnan(ratio)) flt[0].displace_rat = ratio;
}

void ENGN_set_ignition(int n, int position)
{
    if (engine_ok(n)) flt[0].ignition_on[n] = std::clamp(position, 0, 3);
}

void ENGN_set_carb_heat(int n, float ratio)
{
    if (engine_ok(n)) set_within(flt[0].ENGN_heat[n], ratio, 0.0f, 1.0f);
}

void ENGN_set_cowl_flaps(int n, float ratio)
{
    if (engine_ok(n)) set_within(flt[0].ENGN_cowl[n], ratio, 0.0f, 1.0f);
}

void ENGN_set_prop_mode(int n, int mode)
{
    if (engine_ok(n) && mode >= PROPMODE_FEATHERED && mode <= PROPMODE_REVERSE) flt[0].ENGN_propmode[n] = mode;
}

void ENGN_set_collective_pitch(int n, float degrees)
{
    if (!engine_ok(n)) return;
    const acf_struct& a = pln[0];
    set_within(flt[0].POINT_pitch_deg[n], degrees, std::fmin(a.acf_min_pitch[n], a.acf_max_pitch[n]),
               std::fmax(a.acf_min_pitch[n], a.acf_max_pitch[n]));
}

void ENGN_set_overspeed_test(float until)
{
    if (!std::isnan(until)) flt[0].prop_ospeed_test_timeout = until;
}

void FLT_jettison_load()
{
    flt_struct& f = flt[0];
    if (pln[0].acf_jett_is_water != 0) f.water_drop_on = f.m_jettison > 0.0f ? 1 : 0;
    else f.m_jettison = 0.0f;
}

void FLT_fire_rocket(int plane, int mode, float until)
{
    if (plane < 0 || plane >= FLT_SLOTS) return;
    flt[plane].rocket_mode = mode;
    flt[plane].rocket_timeout = until;
}

void WPN_set_steering(int slot, float yaw, float pitch)
{
    if (slot < 0 || slot >= ACF_WPN_SLOTS) return;
    wpn_slot_record& w = pln[0].acf_wpn_slot[slot];
    set_within(w.wpn_yaw_cmd, yaw, -1.0f, 1.0f);
    set_within(w.wpn_pitch_cmd, pitch, -1.0f, 1.0f);
}

void WPN_release_drop_tanks()
{
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        wpn_slot_record& w = pln[0].acf_wpn_slot[s];
        if (w.wpn_type == WPN_KIND_FUEL_TANK && WPN_not_released(0, s)) w.wpn_released = 1;
    }
}
