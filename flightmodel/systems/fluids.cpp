// Icing, fuel, hydraulics, vacuum and cabin pressure of the user's plane.
#include "flightmodel/systems/fluids.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "core/units.h"
#include "core/engine_types.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "core/numeric.h"
#include "flightmodel/gear_util.h"
#include "flightmodel/systems/instrument_power.h"

float engine_power_ratio[FLT_ENGINES] = {};
fluids_state fluids;

void FLUIDS_reset()
{
    fluids = fluids_state{};
    for (float& r : engine_power_ratio) r = 0.0f;
}
ORVELL_RESET(FLUIDS_reset, flight);

// The cabin's pressure altitude and its rate belong to the flight: a start
// puts them back where a first start finds them. Left, the next flight began
// with the cabin where the last one left it (thousands of feet up, still
// climbing or descending at that flight's rate).
void FLUIDS_cabin_reset()
{
    sim_cockpit_pressure.cabin_altitude_actual_m_msl = 0.0f;
    sim_cockpit_pressure.cabin_vvi_actual_m_msec = 0.0f;
}
ORVELL_RESET(FLUIDS_cabin_reset, flight);

namespace {

constexpr int CLOUD_OVERCAST = 4;
constexpr int TANKS = 3;
constexpr float DUMP_SECONDS = 300.0f;
constexpr float TRANSFER_RATE = 0.001f;        // share of the full load a second
constexpr float HYDRAULIC_BLEED_SEC = 180.0f;
constexpr float RAT_CUT_IN = 0.75f;

// The engine and tank counts of the aircraft file, bounded to the eight
// engine slots and the three tanks: a larger count from a damaged file would
// read and write past the engine arrays and the tank masses.
int engine_count()
{
    return std::clamp(static_cast<int>(pln[0].acf_num_engines), 0, FLT_ENGINES);
}

int tank_count() { return std::clamp(static_cast<int>(pln[0].acf_num_tanks), 0, TANKS); }

float* tank_masses() { return &flt[0].m_fuel1; }   // the three tanks are one run

bool anti_ice_dead() { return FLT_slot_failed(0, FAIL_SLOT_ANTI_ICE); }

// One accumulation: grows by its rate less the heat's 0.01, never below 0.
void accrete(float& ice, float rate, bool heated)
{
    if (heated && !anti_ice_dead()) rate -= 0.01f;
    ice += rate;
    if (!(ice > 0.0f)) ice = 0.0f;
}

}  // namespace

void SYSTEMS_icing()
{
    flt_struct& f = flt[0];
    const sim_weather_block& w = sim_weather;
    const sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const float tle = w.temperature_le_c;

    float r = 0.0f;
    if (tle >= -15.0f && tle <= 0.0f)
        for (int k = 0; k < CLOUD_LAYERS; ++k)
            if (w.cloud_type[k] == CLOUD_OVERCAST && w.cloud_base_msl_m[k] <= f.local_y &&
                f.local_y <= w.cloud_tops_msl_m[k]) {
                r += 0.005f;
                if (w.precip_rain > 0.0f) r += 0.005f * w.precip_rain;
            }
    if (tle > 0.0f)
        r -= 0.0004f * tle;
    else
        r -= 0.001f;

    const bool master = sw.anti_ice_on != 0;
    accrete(f.pitot_ice, r, master || sw.pitot_heat_on);
    accrete(f.frm_ice, r, master || sw.anti_ice_surf_heat || sw.anti_ice_surf_boot);
    accrete(f.prop_ice, r, master || sw.anti_ice_prop_heat);
    accrete(f.window_ice, r, master || sw.anti_ice_window_heat);
    accrete(f.inlet_ice, r, master || sw.anti_ice_inlet_heat);

    if (!(tle >= -5.0f && tle <= 25.0f) || f.onground_all != 0) return;
    const acf_struct& a = pln[0];
    for (int n = 0; n < engine_count(); ++n) {
        if (a.acf_en_type[n] != ENGINE_PISTON_CARBURETTED) continue;
        float& ice = f.ENGN_crbice[n];
        if (f.ENGN_heat[n] < 0.5f) {
            const float w_rad = f.ENGN_tacrad[n];
            if (a.acf_RSC_idlespeed_eng <= w_rad && w_rad <= a.acf_RSC_mingreen_eng) ice += 0.005f;
            if (w_rad > a.acf_RSC_mingreen_eng) ice -= 0.01f;
        }
        if (f.ENGN_heat[n] > 0.5f) ice -= 0.2f;
        ice = UTIL_clamp(ice, 0.0f, 1.0f);
    }
}

void FLUIDS_fuel_dump()
{
    const acf_struct& a = pln[0];
    float* tank = tank_masses();
    const float dt = sim_operation_misc.frame_rate_period;
    // An aircraft with no tanks would divide by zero and fill the tanks with
    // NaN; it has nothing to dump.
    if (sim_cockpit_switches.dumping_fuel && a.acf_num_tanks > 0)
        for (int k = 0; k < TANKS; ++k) tank[k] -= a.acf_m_fuel_tot / static_cast<float>(a.acf_num_tanks) * dt / DUMP_SECONDS;
    for (int k = 0; k < TANKS; ++k) tank[k] = UTIL_clamp(tank[k], 0.0f, a.acf_m_fuel_tot * a.acf_tank_rat[k]);
}

void FLUIDS_fuel_transfer()
{
    const int32_t to = sim_cockpit_engine.fuel_tank_transfer;
    if (to == 0 || !PANEL_has_power()) return;
    const acf_struct& a = pln[0];
    const int tanks = tank_count();
    const int receiver = to - 1;
    if (receiver < 0 || receiver >= tanks) return;
    float* tank = tank_masses();
    if (!(tank[receiver] < a.acf_m_fuel_tot * a.acf_tank_rat[receiver])) return;
    int givers = 0;
    for (int k = 0; k < tanks; ++k)
        if (k != receiver && tank[k] > 0.0f) ++givers;
    if (givers == 0) return;
    const float q = a.acf_m_fuel_tot * TRANSFER_RATE * sim_operation_misc.frame_rate_period;
    tank[receiver] += q;
    for (int k = 0; k < tanks; ++k)
        if (k != receiver && tank[k] > 0.0f) tank[k] -= q / static_cast<float>(givers);
}

void FLUIDS_power_ratios()
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    for (int n = 0; n < FLT_ENGINES; ++n) {
        float ratio = 0.0f;
        if (n < engine_count()) {
            const int32_t t = a.acf_en_type[n];
            // A redline of 0 would divide by zero; the ratio is then 0, and any
            // ratio that is not finite counts as 0, so that the hydraulics and
            // the vacuum never turn NaN.
            if (ENGINE_type_drives_prop(t))
                ratio = a.acf_RSC_redline_prp != 0.0f ? f.POINT_tacrad[n] / a.acf_RSC_redline_prp : 0.0f;
            else if (ENGINE_type_is_jet(t))
                ratio = f.ENGN_N1_[n] / 100.0f;
            else if (ENGINE_type_is_rocket(t))
                ratio = 1.0f;
        }
        engine_power_ratio[n] = std::isfinite(ratio) ? ratio : 0.0f;
    }
}

void FLUIDS_hydraulics()
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const int engines = engine_count();
    if (!a.acf_ff_hydraulic || engines == 0 || !(f.local_y < 20000.0f)) return;
    float pressure = 0.0f;
    for (int n = 0; n < engines; ++n) pressure += engine_power_ratio[n] * 10.0f / static_cast<float>(engines);
    if (pressure < RAT_CUT_IN) {
        sim_operation_failures.ram_air_turbine_on = 1;
        // A Vne of 0 would divide by zero; the turbine then gives no pressure.
        pressure = a.acf_Vne != 0.0f ? f.indicated_airspeed / a.acf_Vne : 0.0f;
    } else {
        sim_operation_failures.ram_air_turbine_on = 0;
    }
    if (!FLT_slot_failed(0, FAIL_SLOT_HYDRAULICS)) fluids.hydraulic_fail_time = frame_clock;
    pressure *= UTIL_clamp(1.0f - (frame_clock - fluids.hydraulic_fail_time) / HYDRAULIC_BLEED_SEC, 0.0f, 1.0f);
    sim_operation_failures.hydraulic_pressure_ratio = UTIL_clamp(std::isfinite(pressure) ? pressure : 0.0f, 0.0f, 1.0f);
}

void FLUIDS_vacuum()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    float vacuum = 1.0f;
    // Engine-driven vacuum pumps on propeller engines.
    if (ENGINE_type_drives_prop(a.acf_en_type[0])) {
        vacuum = 0.0f;
        // A negative sigma would make the vacuum NaN; it counts as 0.
        const float density = std::sqrt(std::max(sim_weather.sigma, 0.0f));
        for (int n = 0; n < engine_count(); ++n) {
            if (!ENGINE_type_drives_prop(a.acf_en_type[n])) continue;
            float v = std::sqrt(std::max(2.0f * engine_power_ratio[n], 0.0f));
            v = std::max(v, vacuum);
            vacuum = v * density;
        }
        vacuum = UTIL_clamp(vacuum, 0.0f, 1.0f);
    }
    if (FLT_slot_failed(0, FAIL_SLOT_VACUUM)) vacuum = 0.0f;
    f.vacuum = vacuum;
}

void FLUIDS_cabin_pressure()
{
    const flt_struct& f = flt[0];
    sim_cockpit_pressure_block& p = sim_cockpit_pressure;
    const float dt = sim_operation_misc.frame_rate_period;
    const float pa = (29.92f - sim_physics.earth_pressure_p * UNIT.pa_to_inhg) * 1000.0f * UNIT.ft_to_mtrs + f.elevation;
    if (pln[0].acf_max_press_diff <= 0.01f) {
        p.cabin_vvi_actual_m_msec = f.vh_ind;
        p.cabin_altitude_actual_m_msl = pa;
        return;
    }
    float target = frame_clock < p.pressure_test_timeout ? f.elevation - 100.0f * UNIT.ft_to_mtrs : p.cabin_altitude_set_m_msl;
    target = std::min(target, pa);
    float rate;
    if (!p.bleed_air_on)
        rate = (pa - p.cabin_altitude_actual_m_msl) * 0.05f;
    else
        rate = UTIL_clamp((target - p.cabin_altitude_actual_m_msl) * 0.1f, -p.cabin_vvi_set_m_msec, p.cabin_vvi_set_m_msec);
    if (pa > p.max_allowable_altitude)
        rate = ((p.cabin_altitude_set_m_msl + pa - p.max_allowable_altitude) - p.cabin_altitude_actual_m_msl) * 0.1f;
    p.cabin_vvi_actual_m_msec = rate;
    p.cabin_altitude_actual_m_msl += rate * dt;
}

void SYSTEMS_fuel_and_pressures()
{
    FLUIDS_fuel_dump();
    FLUIDS_fuel_transfer();
    FLUIDS_power_ratios();
    FLUIDS_hydraulics();
    FLUIDS_vacuum();
    FLUIDS_cabin_pressure();
}
