// The engine and electrical systems of the user's plane, once a frame before
// the plane steps: starters, fuel, running, mixture, temperatures, oil, fuel
// flow and the electrical loads; then the generators charge the weakest
// battery and every battery's charge moves.
#include "flightmodel/propulsion/engine_systems.h"

#include <cmath>

#include "aircraft/wpn_slot.h"
#include "core/frame_clock.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/weather.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/propulsion/prop_common.h"
#include "flightmodel/propulsion/propulsion.h"

using namespace prop_detail;

namespace {

constexpr int32_t WEAPON_FUEL_TANK = 23;
constexpr int TANK_SELECTOR_FULLEST = 4;

// The carried fuel tank with the most fuel (the first of equals), or -1.
int carried_tank()
{
    const acf_struct& a = pln[0];
    int best = -1;
    float most = 0.0f;
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        const wpn_slot_record& w = a.acf_wpn_slot[s];
        if (w.wpn_type != WEAPON_FUEL_TANK || !WPN_not_released(0, s)) continue;
        if (w.wpn_fuel_now > most) {
            most = w.wpn_fuel_now;
            best = s;
        }
    }
    return best;
}

// The aircraft's tank the selector draws from (0..2), or -1 for none.
int selected_tank()
{
    const flt_struct& f = flt[0];
    const float fuel[3] = {f.m_fuel1, f.m_fuel2, f.m_fuel3};
    int t = -1;
    switch (sim_cockpit_engine.fuel_tank_selector) {
    case 1: t = 0; break;
    case 2: t = 1; break;
    case 3: t = 2; break;
    case TANK_SELECTOR_FULLEST:
        t = fuel[1] > fuel[0] ? 1 : 0;
        if (fuel[2] > fuel[0] && fuel[2] > fuel[1]) t = 2;
        break;
    default: break;
    }
    if (t >= 0 && !(fuel[t] > 0.0f)) t = -1;
    return t;
}

float& tank_fuel(int t)
{
    flt_struct& f = flt[0];
    return t == 0 ? f.m_fuel1 : (t == 1 ? f.m_fuel2 : f.m_fuel3);
}

// Whether fuel reaches engine n this frame; it draws the frame's burn from
// the tank it flows from.
bool fuel_reaches(int n)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    if (a.acf_en_type[n] == ENGINE_ELECTRIC) return true;
    if (!(f.ENGN_mixt[n] > 0.025f)) return false;
    if (failed(FAIL_SLOT_FUEL_PUMP_BASE + n) && !sim_cockpit_engine.fuel_pump_on[n]) return false;
    const float burn = f.ENGN_FF_[n] * frame_dt();
    const int carried = carried_tank();
    if (carried >= 0) {
        wpn_slot_record& w = pln[0].acf_wpn_slot[carried];
        w.wpn_fuel_now = std::fmax(w.wpn_fuel_now - burn, 0.0f);
        w.wpn_mass_now = w.wpn_mass - w.wpn_fuel + w.wpn_fuel_now;
        return true;
    }
    const int t = selected_tank();
    if (t < 0) return false;
    float& fuel = tank_fuel(t);
    fuel = std::fmax(fuel - burn, 0.0f);
    return true;
}

// Mixture: the power ratio, the fuel-flow factor and the heat of a piston engine.
struct mixture_result {
    float flow_factor, heat;
};

mixture_result piston_mixture(int n)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float sigma = f.ENGN_sigma[n];
    const float best = sigma - 0.3f;
    if (a.acf_drive_by_wire) f.ENGN_mixt[n] = best;
    const float m = f.ENGN_mixt[n];
    const bool rich = m > best;
    const float e1 = std::fabs(m - best) * (rich ? 0.1f : 0.4f);
    const float lean_edge = sigma - 0.35f;
    const float e2 = -std::fabs(m - lean_edge) * (m <= lean_edge ? 3.0f : 1.5f);

    const float idle = a.acf_RSC_idlespeed_eng, redline = a.acf_RSC_redline_eng;
    // A throttle range or redline of 0 would divide by zero, and a negative
    // lever share would take the root of a negative number: each counts as 0.
    const float lever = std::sqrt(std::fmax(div_or(f.ENGN_thro_use[n], a.acf_throtmax_FWD, 0.0f), 0.0f));
    const float governed = clampf(idle + lever * (redline - idle), std::fmin(idle, redline), std::fmax(idle, redline));
    const float excess = div_or(f.ENGN_tacrad[n] - governed, redline, 0.0f);

    const bool starved = m <= sigma - 0.5f;
    mixture_result r;
    r.flow_factor = clampf(1.0f + (rich ? 5.0f * e1 : e1), 1.0f, 2.0f);
    r.heat = excess + (starved ? 0.0f : clampf((e2 + 1.0f) * lever, 0.0f, 2.0f));
    f.ENGN_mixt_pow_rat[n] = starved ? 0.0f : clampf(1.0f - e1, 0.0f, 1.0f);
    return r;
}

// Turbine temperature ratio target of a turbine engine (1.0 = its limit).
float turbine_temperature(int n, bool running)
{
    const flt_struct& f = flt[0];
    const float ambient = sim_weather.temperature_ambient_c;
    const float oil = f.ENGN_oil_temp[n] * 180.0f + ambient;
    float t = oil - 15.0f + ambient;
    if (running) {
        const float c = pln[0].acf_en_type[n] == ENGINE_TURBINE_FIXED ? 8.0f : 10.0f;
        const float n1 = f.ENGN_N1_[n];
        // A running engine at N1 0 would divide by zero (an infinite
        // temperature): the N1 term is 0 there.
        t = clampf(t + div_or(c, n1, 0.0f) * (680.0f - oil), 0.0f, 1360.0f);
        const float room = clampf(680.0f - t, 0.0f, 680.0f);
        const float thro = f.ENGN_thro_use[n];
        float add = 245.0f * thro + 85.0f - 100.0f * (n1 / 100.0f) * (n1 / 100.0f);
        if (thro > 0.9f) add += 2300.0f * (thro - 0.9f);
        t += clampf(add, 0.0f, room);
    }
    return t / 680.0f;
}

void electrical_loads(int n)
{
    flt_struct& f = flt[0];
    f.ENGN_bat_amp[n] = 0.0f;
    if (!sim_cockpit_electrical.battery_on) return;
    if (!(f.ENGN_bat_volt[n] > 0.0f)) return;
    // A battery capacity of 0 (an aircraft without one) would divide by zero:
    // such a battery then feels no loads.
    const float u = div_or(1.0f, static_cast<float>(engine_count()) * pln[0].acf_battery_cap, 0.0f);
    const sim_cockpit_switches_block& sw = sim_cockpit_switches;
    float load = 0.001f;
    if (sim_cockpit_electrical.avionics_on) load += 0.001f;
    if (sw.pitot_heat_on) load += 0.02f;
    if (sw.anti_ice_auto_ignite) load += 0.05f;
    if (sw.anti_ice_prop_heat) load += 0.05f;
    if (sw.anti_ice_window_heat) load += 0.05f;
    load += 0.005f;
    if (f.nav_lights_on) load += 0.005f;
    if (f.beacon_lights_on) load += 0.005f;
    if (f.strobe_lights_on) load += 0.05f;
    if (f.landing_lights_on) load += 0.05f;
    if (f.taxi_light_on) load += 0.05f;
    if (sim_cockpit_engine.starter_duration[n] > 0.01f) load += 0.75f;
    f.ENGN_bat_amp[n] -= u * load;
}

}  // namespace

void ENGN_systems()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float dt = frame_dt();
    const int engines = engine_count();
    if (engines == 0) f.ENGN_bat_volt[0] = 1.0f;

    for (int n = 0; n < engines; ++n) {
        const int type = a.acf_en_type[n];

        // Starter: it switches the ignition on, and runs down.
        float& starter = sim_cockpit_engine.starter_duration[n];
        if (starter > 0.0f && f.ignition_on[n] == 0) f.ignition_on[n] = 3;
        starter = std::fmax(starter - dt, 0.0f);

        // Fuel, and whether the engine runs on it.
        const bool fuel = fuel_reaches(n);
        bool running = fuel;
        if (f.ignition_on[n] == 0) running = false;
        if (failed(FAIL_SLOT_ENGINE_FIRE_BASE + n) || failed(FAIL_SLOT_ENGINE_BASE + n)) running = false;
        if (ENGINE_type_is_piston(type) && f.ENGN_crbice[n] > 0.5f) running = false;
        if ((type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED || ENGINE_type_is_jet(type)) &&
            f.ENGN_N1_[n] < 1.0f)
            running = false;
        if ((type == ENGINE_ROCKET || type == ENGINE_TIP_ROCKET) && f.ENGN_thro_use[n] < 0.01f) running = false;
        f.ENGN_running[n] = running ? 1 : 0;
        prop_state.run_time_sec[n] = running ? prop_state.run_time_sec[n] + dt : 0.0f;

        // Mixture.
        float flow_factor = 0.0f, heat = 0.0f;
        if (!running) {
            f.ENGN_mixt_pow_rat[n] = 0.0f;
        } else if (ENGINE_type_is_piston(type)) {
            const mixture_result m = piston_mixture(n);
            flow_factor = m.flow_factor;
            heat = m.heat;
        } else {
            flow_factor = 1.0f;
            heat = 1.0f;
            f.ENGN_mixt_pow_rat[n] = 1.0f;
        }

        // Temperatures.
        if (type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED || ENGINE_type_is_jet(type)) {
            const float q = turbine_temperature(n, running);
            f.ENGN_ITT[n] = (1.0f - 6.0f * dt) * f.ENGN_ITT[n] + 6.0f * dt * q;
            if (q > 1.0f) f.failures[FAIL_SLOT_ENGINE_FIRE_BASE + n] = FAILURE_STATE_FAILED;
        }
        if (ENGINE_type_is_piston(type)) f.ENGN_ITT[n] = (1.0f - dt) * f.ENGN_ITT[n] + dt * 0.9f * heat;
        f.ENGN_EGT[n] = f.ENGN_ITT[n];

        // Oil.
        float& oil_ratio = f.oil_power_thrust_ratio[n];
        f.ENGN_oil_temp[n] = (1.0f - 0.01f * dt) * f.ENGN_oil_temp[n] +
                             0.01f * dt * (4.0f * (1.0f - oil_ratio) + 0.4f * (running ? 1.0f : 0.0f) + 0.3f * f.ENGN_EGT[n]);
        if (failed(FAIL_SLOT_OIL_BASE + n)) {
            f.ENGN_oil_press[n] *= 1.0f - 0.5f * dt;
            oil_ratio = std::fmax(oil_ratio - dt / 300.0f, 0.0f);
        } else {
            f.ENGN_oil_press[n] = (1.0f - 0.5f * dt) * f.ENGN_oil_press[n] +
                                  0.5f * dt * clampf(0.015f * f.ENGN_N1_[n], 0.0f, 0.75f);
            oil_ratio = 1.0f;
        }

        // Fuel flow follows the engine's output.
        if (fuel) {
            float target;
            if (type == ENGINE_TIP_ROCKET)
                target = ENGN_fuel_flow(ENGN_jet_thrust_avail(n), n) * flow_factor * a.acf_num_blades[n];
            else if (ENGINE_type_drives_prop(type))
                target = ENGN_fuel_flow(f.ENGN_power[n], n) * flow_factor;
            else if (ENGINE_type_is_jet(type) || type == ENGINE_ROCKET)
                target = ENGN_fuel_flow(f.POINT_thrust[n], n) * flow_factor;
            else
                target = 0.0f;
            // A target that is no number would poison the lagged flow for good.
            if (std::isfinite(target)) f.ENGN_FF_[n] = (1.0f - dt) * f.ENGN_FF_[n] + dt * target;
        } else {
            f.ENGN_FF_[n] = 0.0f;
        }

        electrical_loads(n);
    }

    // The weakest battery, re-chosen once a second.
    float lowest = 1.0f;
    int weakest = -1;
    for (int n = 0; n < engines; ++n)
        if (f.ENGN_bat_volt[n] < lowest) {
            lowest = f.ENGN_bat_volt[n];
            weakest = n;
        }
    if (weakest >= 0 && interval_ticks[INTERVAL_ONE_SECOND]) prop_state.weakest_battery = weakest;
    int& charged = prop_state.weakest_battery;
    if (charged < 0 || charged >= FLT_ENGINES) charged = 0;   // an index past the batteries would write past them

    // Generators: all their current goes to the weakest battery, and each
    // engine's battery charge moves at its own turn, so the weakest battery
    // gains the current of the generators up to its own engine; what later
    // generators add shows in its current but charges it no more this frame.
    const float current = clampf(10.0f * (1.0f - lowest), 0.0f, 0.5f);
    for (int n = 0; n < engines; ++n) {
        const bool on = sim_cockpit_electrical.generator_on[n] && f.ENGN_N1_[n] > 1.0f &&
                        !failed(FAIL_SLOT_GENERATOR_BASE + n);
        f.ENGN_gen_amp[n] = on ? current : 0.0f;
        f.ENGN_bat_amp[charged] += f.ENGN_gen_amp[n];
        // A charge that is no number (damaged capacity) would stay so for good; it reads empty.
        const float v = f.ENGN_bat_volt[n] + f.ENGN_bat_amp[n] * dt / 180.0f;
        f.ENGN_bat_volt[n] = std::isfinite(v) ? clampf(v, 0.0f, 1.0f) : 0.0f;
    }
}
