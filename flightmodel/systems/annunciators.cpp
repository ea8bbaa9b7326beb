// Annunciators and gyros of the user's plane.
#include "flightmodel/systems/annunciators.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/engine_types.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "core/numeric.h"
#include "flightmodel/gear_util.h"
#include "flightmodel/systems/fluids.h"
#include "flightmodel/systems/gyros.h"
#include "flightmodel/systems/instrument_power.h"

annunciator_state annunciators;

float gyro_power[GYRO_SYSTEMS] = {};
float gyro_spin[GYRO_SYSTEMS] = {};
float gyro_pitch[GYRO_SYSTEMS] = {};
float gyro_heading[GYRO_SYSTEMS] = {};
float gyro_roll[GYRO_SYSTEMS] = {};
float gyro_pitch_error[GYRO_SYSTEMS] = {};
float gyro_roll_error[GYRO_SYSTEMS] = {};

ORVELL_RESET_RECORD(ANNUNCIATORS_reset, annunciators, flight);

// The gyros keep turning from one start to the next, as the engines that
// drive them keep running: a start in the air finds them spun up (the
// start-up errors each start draws show only while a gyro spins up).
void GYROS_reset()
{
    for (int k = 0; k < GYRO_SYSTEMS; ++k)
        gyro_power[k] = gyro_spin[k] = gyro_pitch[k] = gyro_heading[k] = gyro_roll[k] = gyro_pitch_error[k] =
            gyro_roll_error[k] = 0.0f;
}
ORVELL_RESET(GYROS_reset, program);

namespace {

constexpr int32_t LAMP_TEST_PATTERN = 0x1FF;
constexpr int FIRST_CAUTION_WORD = 2;    // words 2..13 light the master caution
constexpr int LAST_CAUTION_WORD = 13;
constexpr float SPIN_UP_SEC = 5.0f;
constexpr float RUN_DOWN_SEC = 60.0f;

// The aircraft's engine count bounded to the eight engine slots: a larger
// count from a damaged file would read past the engine arrays.
int engine_count() { return std::clamp(static_cast<int>(pln[0].acf_num_engines), 0, FLT_ENGINES); }

int32_t* words() { return &sim_cockpit_warnings_annunciators.master_caution; }

float total_fuel() { return flt[0].m_fuel1 + flt[0].m_fuel2 + flt[0].m_fuel3; }

// A start-up error drawn from -range..range, pushed out of -10..10.
float startup_error(float range)
{
    float e = (2.0f * static_cast<float>(UTIL_rand()) / static_cast<float>(UTIL_RAND_MAX) - 1.0f) * range;
    if (e >= -10.0f && e <= 10.0f) e = e < 0.0f ? -10.0f : 10.0f;
    return e;
}

}  // namespace

void ANNUNCIATORS_update()
{
    if (sim_private_net_disables.annuns) return;
    annunciator_state& s = annunciators;
    sim_cockpit_warnings_block& cw = sim_cockpit_warnings;
    sim_cockpit_warnings_annunciators_block& an = sim_cockpit_warnings_annunciators;
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float running = sim_time.total_running_time_sec;

    const int engaged = AP_any_mode_engaged();
    if (s.ap_was_engaged && !engaged) s.ap_disconnect_until = frame_clock + 3.0f;
    s.ap_was_engaged = engaged;

    an = sim_cockpit_warnings_annunciators_block{};
    const bool caution_time = running < cw.master_caution_timeout;
    an.master_caution = caution_time && cw.master_caution_on && (GEO_round(frame_clock * 2.5f) % 2 != 0);
    an.master_accept = caution_time && cw.master_accept_on;
    an.autopilot_disconnect = frame_clock < s.ap_disconnect_until;
    an.low_vacuum = f.vacuum < 0.5f;
    for (int n = 0; n < engine_count(); ++n)
        if (f.ENGN_gen_amp[n] == 0.0f) an.low_voltage = 1;
    const float fuel_share = a.acf_m_fuel_tot != 0.0f ? UTIL_clamp(total_fuel() / a.acf_m_fuel_tot, 0.0f, 1.0f) : 0.5f;
    an.fuel_quantity = fuel_share < 0.1f;
    an.hydraulic_pressure = sim_operation_failures.hydraulic_pressure_ratio < 0.75f;

    for (int n = 0; n < engine_count(); ++n) {
        const int32_t bit = 1 << n;
        const float ratio = engine_power_ratio[n];
        const bool oil_failed = FLT_slot_failed(0, FAIL_SLOT_OIL_BASE + n);
        const bool chip = FLT_slot_failed(0, FAIL_SLOT_ENGINE_FIRE_BASE + n);
        if ((!sim_cockpit_engine.fuel_pump_on[n] && ratio < 0.1f) || total_fuel() < 0.01f) an.fuel_pressure |= bit;
        if (oil_failed || f.ENGN_oil_press[n] < 0.4f) an.oil_pressure |= bit;
        if (oil_failed) an.oil_temperature |= bit;
        if (!sim_cockpit_engine.inverter_on[n] || ratio < 0.1f) an.inverter |= bit;
        if (FLT_slot_failed(0, FAIL_SLOT_GENERATOR_BASE + n) || !sim_cockpit_electrical.generator_on[n] || ratio < 0.1f)
            an.generator |= bit;
        if (chip) an.chip_detect |= bit;
        if (chip && f.ENGN_mixt[n] > 0.5f) an.engine_fire |= bit;
        const int32_t t = a.acf_en_type[n];
        if (f.ENGN_N1_[n] < 10.0f && (t == ENGINE_TURBINE_FREE || t == ENGINE_TURBINE_FIXED)) an.auto_ignition |= bit;
    }

    bool any_caution = false;
    for (int w = FIRST_CAUTION_WORD; w <= LAST_CAUTION_WORD; ++w)
        if (words()[w]) {
            any_caution = true;
            cw.master_caution_timeout = running + 0.1f;
        }
    if (frame_clock < cw.annunciator_test_timeout)
        for (int w = 0; w < ANNUNCIATOR_WORDS; ++w) words()[w] = LAMP_TEST_PATTERN;
    if (!any_caution) {
        cw.master_caution_on = 1;
        cw.master_accept_on = 1;
    }
}

void GYROS_update()
{
    const flt_struct& f = flt[0];
    const float dt = sim_operation_misc.frame_rate_period;
    if (sim_time.total_flight_time_sec < 2.0f * dt)
        for (int k = 0; k < GYRO_SYSTEMS; ++k) {
            gyro_pitch_error[k] = startup_error(40.0f);
            gyro_roll_error[k] = startup_error(20.0f);
        }

    gyro_power[GYRO_VACUUM] = f.vacuum;
    gyro_power[GYRO_ELECTRIC] = PANEL_inverter_on() ? PANEL_power_level() : 0.0f;
    for (int k = 0; k < GYRO_SYSTEMS; ++k) {
        if (k < 0 || k >= GYRO_SYSTEMS) MACIBM_nuke_alert(0, "Out of range gyro type 1!", "", "", "", ALERT_FATAL);
        const float power = gyro_power[k];
        const float tau = power > gyro_spin[k] ? SPIN_UP_SEC : RUN_DOWN_SEC;
        gyro_spin[k] = (1.0f - dt / tau) * gyro_spin[k] + power * dt / tau;
        const float spin = gyro_spin[k];
        const float q = spin * spin;
        // Each error the short way round, weighted by the spin squared.
        const float ep = UTIL_wrap_pm180((gyro_pitch_error[k] * (1.0f - spin) + f.theta) - gyro_pitch[k]) * q;
        const float er = UTIL_wrap_pm180((gyro_roll_error[k] * (1.0f - spin) + f.phi) - gyro_roll[k]) * q;
        const float eh = UTIL_wrap_pm180(f.magpsi - gyro_heading[k]) * q;
        if (!FLT_slot_failed(0, FAIL_SLOT_ATTITUDE_GYRO)) {
            gyro_pitch[k] = UTIL_wrap_pm180(gyro_pitch[k] + ep);
            gyro_roll[k] = UTIL_wrap_pm180(gyro_roll[k] + er);
        }
        if (!FLT_slot_failed(0, FAIL_SLOT_HEADING_GYRO))
            gyro_heading[k] = UTIL_wrap_floor(gyro_heading[k] + eh, 360.0f);
        gyro_pitch[k] = UTIL_clamp(gyro_pitch[k], -55.0f, 55.0f);
    }
}

void SYSTEMS_annunciators_and_gyros()
{
    ANNUNCIATORS_update();
    GYROS_update();
}
