// Propeller and rotor governing, surfaces and ground automation of the control step.
#include "flightmodel/control/governing.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "flightmodel/control/control_math.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "flightmodel/gear_util.h"
#include "flightmodel/propulsion/propulsion.h"
#include "links/sound.h"
#include "flightmodel/systems/instrument_power.h"

governing_state governing{};

// A start puts back the ground, brake and throttle edges; the actuator's and
// the starter's sound edges follow the loops still playing, which a start
// does not stop: they go back with the program.
void GOV_reset_state()
{
    governing.onground_any_before = governing.onground_all_before = 1;
    governing.autobrake_armed = 0;
    governing.throttles_low_before = 1;
    governing.wheels_known = 0;
}
ORVELL_RESET(GOV_reset_state, flight);

void GOV_sound_edges_reset() { governing.actuator_moving_before = governing.starter_running_before = 0; }
ORVELL_RESET(GOV_sound_edges_reset, program);

namespace {

constexpr int FIRST_WING_PART = 8;
constexpr int LAST_AUTO_SLAT_PART = 27;
constexpr int ALPHA_VALUES_PER_PART = 40;
constexpr float UNFEATHER_RPM = 60.0f;

// A wing part takes part: fitted and not failed.
bool wing_part_present(int p, int n)
{
    return pln[p].acf_part_eq[n] && !FLT_slot_failed(p, FAIL_SLOT_SURFACE_BASE + n);
}

// `value` one step of at most `step` towards `request`; true when it moved.
bool move_towards(float& value, float request, float step)
{
    const float diff = request - value;
    if (!(std::fabs(diff) > 0.0001f)) return false;
    value = diff > 0.0f ? UTIL_min(value + step, request) : UTIL_max(value - step, request);
    return true;
}

void fadec_governor(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    const float dt = sim_operation_misc.frame_rate_period;
    const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);

    bool governed[FLT_ENGINES] = {};
    float sum = 0.0f;
    int count = 0;
    for (int n = 0; n < engines; ++n) {
        governed[n] = ENGN_has_fadec(p, n) && ENGN_fadec_active(p, n);
        if (governed[n]) {
            sum += f.ENGN_thro[n];
            ++count;
        }
    }
    if (count == 0) return;
    const float mean = sum / static_cast<float>(count);
    for (int n = 0; n < engines; ++n) {
        if (!governed[n]) continue;
        float target = a.acf_RSC_redline_eng, speed = f.ENGN_tacrad[n], accel = f.ENGN_omegadot[n];
        if (a.acf_en_type[n] == ENGINE_TIP_ROCKET) {
            target = a.acf_RSC_redline_prp;
            speed = f.POINT_tacrad[n];
            accel = f.POINT_omegadot[n];
        }
        ENGN_set_throttle(n, UTIL_clamp(f.ENGN_thro[n] + ((target - speed) * 0.1f - accel * 0.2f) * dt, 0.0f,
                                        a.acf_throtmax_FWD));
        // The engines are drawn towards a common throttle.
        f.ENGN_thro[n] = (1.0f - dt) * f.ENGN_thro[n] + mean * dt;
    }
}

// Ground idle: a propeller with a beta range whose power lever is closed
// while every wheel stands on the ground runs at its beta blade angle, and
// its engine at its low idle (the engine step reads the flag). On its
// fine-pitch stop, at the flight idle, the engine would pull the aircraft
// along at taxi speeds and more; at ground idle it stands or creeps. Opening
// the lever takes it back to the governor (the rule before this one), and so
// does leaving the ground: a beta this rule chose is not kept in the air,
// where the blades would brake the aircraft like air brakes. A beta the
// pilot's lever chose is left to the lever. The user's plane only: the flag
// is the engine step's, which flies slot 0.
void ground_idle(int p, int n)
{
    if (p != 0) return;
    flt_struct& f = flt[p];
    int32_t& chosen = prop_state.ground_idle[n];
    int32_t& mode = f.ENGN_propmode[n];
    if (pln[p].acf_has_beta && f.onground_all && mode == PROPMODE_NORMAL && !(f.ENGN_thro[n] > 0.0f)) {
        mode = PROPMODE_BETA;
        chosen = 1;
    } else if (chosen && (mode != PROPMODE_BETA || !f.onground_any)) {
        if (mode == PROPMODE_BETA) mode = PROPMODE_NORMAL;
        chosen = 0;
    }
}

void propeller_pitch(int p, int n)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    const float dt = sim_operation_misc.frame_rate_period;
    const int32_t type = a.acf_prop_type[n];

    if (type == PROP_AUTO_PITCH) {
        // The design tip Mach from half to full power sets the propeller speed.
        const float mach = UTIL_interp_clamped(0.5f * a.acf_pmax, a.aacf_tip_mach_des_50, a.acf_pmax,
                                               a.aacf_tip_mach_des_100, f.ENGN_power[n], 0);
        const float tip = mach * sim_weather.speed_of_sound_ms;
        const float speed = std::sqrt(UTIL_max(0.0f, tip * tip - f.groundspeed * f.groundspeed));
        f.ENGN_prop[n] = ratio_or(speed, a.acf_semilen_SEG[n], f.ENGN_prop[n]);   // no blade length: keep the request
    }
    if (a.acf_auto_rpm_with_tvec) {
        const float lo = a.acf_RSC_mingreen_prp, hi = a.acf_RSC_redline_prp;
        const float rpm = lo + a.thrust_vector_angle[n] * (hi - lo) / 90.0f;
        f.ENGN_prop[n] = lo < hi ? UTIL_clamp(rpm, lo, hi) : UTIL_clamp(rpm, hi, lo);
    }

    if (type == PROP_FIXED_PITCH) {
        f.ENGN_propmode[n] = PROPMODE_NORMAL;
        ENGN_set_prop_pitch(n, 0.0f);
    } else if (type == PROP_MANUAL_PITCH) {
        // The lever at the red line gives the finest pitch, at the bottom of the green arc the coarsest.
        f.ENGN_propmode[n] = PROPMODE_NORMAL;
        const float span = a.acf_RSC_mingreen_prp - a.acf_RSC_redline_prp;
        const float pitch = span != 0.0f ? a.acf_min_pitch[n] + (f.ENGN_prop[n] - a.acf_RSC_redline_prp) *
                                                                     (a.acf_max_pitch[n] - a.acf_min_pitch[n]) / span
                                         : (a.acf_min_pitch[n] + a.acf_max_pitch[n]) * 0.5f;
        ENGN_set_prop_pitch(n, pitch);
    } else if (type == PROP_CONSTANT_SPEED || type == PROP_AUTO_PITCH || type == PROP_MAIN_ROTOR) {
        float wanted = f.ENGN_prop[n];
        if (sim_cockpit_switches.prop_sync_on && n > 0) wanted = f.POINT_tacrad[0];
        if (frame_clock < f.prop_ospeed_test_timeout) wanted *= 0.875f;   // overspeed-governor test

        if (!a.acf_props_linked) {
            // The lever in the feather detent (or auto-feather of a stopped engine) feathers.
            const float detent = ratio_or(std::fabs(f.ENGN_prop[n] - a.acf_RSC_mingreen_prp), a.acf_RSC_maxgreen_prp, 1.0f);
            const bool auto_feather = !f.ENGN_running[n] && a.acf_auto_featherEQ &&
                                      sim_cockpit_switches.auto_feather_mode == 1 &&
                                      !FLT_slot_failed(p, FAIL_SLOT_AUTO_FEATHER) &&
                                      sim_cockpit_engine.starter_duration[n] < 0.01f;
            if (detent < 0.025f || auto_feather)
                f.ENGN_propmode[n] = PROPMODE_FEATHERED;
            else if (f.ENGN_propmode[n] == PROPMODE_FEATHERED && f.POINT_tacrad[n] > UNFEATHER_RPM * UNIT.rpm_to_radps)
                f.ENGN_propmode[n] = PROPMODE_NORMAL;
        }
        if (f.ENGN_propmode[n] == PROPMODE_BETA && f.ENGN_thro[n] > 0.0f) f.ENGN_propmode[n] = PROPMODE_NORMAL;
        ground_idle(p, n);

        switch (f.ENGN_propmode[n]) {
        case PROPMODE_FEATHERED: ENGN_set_prop_pitch(n, a.acf_feathered_pitch); break;
        case PROPMODE_NORMAL: {
            // Coarser when the propeller is, or within 2 s will be, faster than wanted.
            const float w = f.POINT_tacrad[n], wdot = f.POINT_omegadot[n];
            ENGN_set_prop_pitch(n, f.POINT_pitch_deg[n] + dt * (0.2f * wdot + 0.2f * (2.0f * wdot + w - wanted)));
            break;
        }
        case PROPMODE_BETA: ENGN_set_prop_pitch(n, 0.0f); break;
        case PROPMODE_REVERSE: ENGN_set_prop_pitch(n, a.acf_reversed_pitch); break;
        default: break;
        }
    }
}

void differential_collective(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    if (!(a.acf_diff_coll_with_roll > 0.0f || a.acf_diff_coll_with_hdng > 0.0f || a.acf_diff_coll_with_ptch > 0.0f))
        return;
    const int points = bounded_count(a.acf_num_thrustpoints, FLT_ENGINES);
    if (points == 0) return;
    float mean = 0.0f;
    for (int n = 0; n < points; ++n) mean += f.POINT_pitch_deg[n];
    mean /= static_cast<float>(points);
    for (int n = 0; n < points; ++n) {
        const float v = a.thrust_vector_angle[n] * DEG_TO_RAD_FLOAT;
        const float sx = a.acf_Xarm[n] < 0.0f ? -1.0f : 1.0f;
        const float sz = a.acf_Zarm[n] < 0.0f ? -1.0f : 1.0f;
        f.POINT_pitch_deg[n] = mean - sx * a.acf_diff_coll_with_roll * f.FC_roll * std::sin(v) -
                               sx * a.acf_diff_coll_with_hdng * f.FC_hdng * std::cos(v) -
                               sz * a.acf_diff_coll_with_ptch * f.FC_ptch * std::sin(v);
    }
}

void ground_automation(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    governing_state& s = governing;
    const float dt = sim_operation_misc.frame_rate_period;
    const int32_t setting = sim_cockpit_switches.auto_brake_settings;

    // A flight's first step reads the wheels the start left, before its
    // contact is worked out: no edge of theirs is a touch-down. Recorded, a
    // plane started on the runway met the ground on its second step as at a
    // landing: the armed speed brakes came out and the autobrake braked.
    const bool wheels_known = s.wheels_known;
    s.wheels_known = 1;
    const bool first_touch = wheels_known && f.onground_any && !s.onground_any_before;
    if (first_touch && a.acf_autosbrkEQ && f.sbrkrqst < 0.0f) f.sbrkrqst = 1.0f;

    if (s.autobrake_armed && f.onground_all && !s.onground_all_before) {
        static constexpr float autobrake_levels[4] = {0.4f, 0.6f, 0.8f, 1.0f};
        if (a.acf_autofbrkEQ && setting >= 1 && setting <= 4) f.parkbrake = autobrake_levels[setting - 1];
        if (AP_any_mode_engaged()) CORE_run_key_slot(2, KEY_SLOT_AUTOPILOT_OFF);
    }

    // Rejected take-off: full brake once, when the last throttle comes back below 0.1.
    const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);
    float least = engines > 0 ? f.ENGN_thro[0] : 1.0f;
    for (int n = 1; n < engines; ++n) least = UTIL_min(least, f.ENGN_thro[n]);
    const bool low = least < 0.1f;
    if (setting == -1 && low && !s.throttles_low_before) f.parkbrake = 1.0f;
    s.throttles_low_before = low;

    if (first_touch && a.acf_rev_on_touchdown && f.indicated_airspeed > 0.5f * a.acf_est_Vs)
        CORE_run_key_slot(0, KEY_SLOT_REVERSERS);

    if (!wheels_known) return;
    s.onground_any_before = f.onground_any;
    s.onground_all_before = f.onground_all;
    if (f.onground_all)
        s.autobrake_armed = 0;
    else if (!f.onground_any)
        s.autobrake_armed = 1;
    else if (a.acf_is_taildragger && f.theta < a.acf_the_eqlbm - 5.0f && f.Q < 0.0f)
        f.parkbrake *= 1.0f - 2.0f * dt;   // brakes fade against a nose-over
}

void actuators(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    governing_state& s = governing;
    const float dt = sim_operation_misc.frame_rate_period;

    if (a.acf_autosweepEQ) f.swdirqst = 1.0f - std::sqrt(UTIL_max(f.flaprat, 0.0f));
    f.slatrqst = f.flaprqst > 0.01f ? 1.0f : 0.0f;
    if (a.acf_flaps_with_gearEQ) f.flaprqst = static_cast<float>(sim_cockpit_switches.gear_handle_status);
    if (a.acf_flaps_with_vecEQ) {
        const float span = a.acf_flap_vect_hi - a.acf_flap_vect_lo;
        const float x = span != 0.0f ? clamp_or((f.vect_ratio - a.acf_flap_vect_lo) / span, 0.0f, 1.0f, 0.5f) : 0.5f;
        f.flaprqst = x * x;
    }

    // A flap time of 0 moves the flaps at once.
    const float flap_step = !a.acf_flapEQ ? 0.0f : (a.acf_flap_deftime > 0.0f ? dt / a.acf_flap_deftime : 1.0f);
    const float slat_step = !a.acf_slatEQ ? 0.0f : (a.acf_flap_deftime > 0.0f ? 4.0f * dt / a.acf_flap_deftime : 1.0f);
    const float sweep_step = UTIL_max(0.1f * dt, 0.0f);
    const float vector_step = UTIL_max(a.acf_vect_rate * dt, 0.0f);

    bool moving = false;
    if (PANEL_has_power()) {
        if (a.acf_varsweepEQ || a.acf_vardihedEQ || a.acf_sweep_extraEQ)
            moving |= move_towards(f.swdi, f.swdirqst, sweep_step);
        if (a.acf_vectEQ) moving |= move_towards(f.vect_ratio, f.vectrqst, vector_step);
        if (a.acf_flapEQ) moving |= move_towards(f.flaprat, f.flaprqst, UTIL_max(flap_step, 0.0f));
        if (a.acf_slatEQ && !FLT_slot_failed(p, FAIL_SLOT_SLATS))
            move_towards(f.slatrat, f.slatrqst, UTIL_max(slat_step, 0.0f));
    }

    bool starter = false;
    if (PANEL_has_power()) {
        const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);
        for (int n = 0; n < engines; ++n)
            if (ENGINE_type_is_piston(a.acf_en_type[n]) && sim_cockpit_engine.starter_duration[n] > 0.01f) starter = true;
    }

    if (moving && !s.actuator_moving_before) SOUND_play(SOUND_SLOT_ACTUATOR, 1, 1.0f, 1.0f);
    if (!moving && s.actuator_moving_before) SOUND_stop(SOUND_SLOT_ACTUATOR);
    if (starter && !s.starter_running_before) SOUND_play(SOUND_SLOT_STARTER, 1, 1.0f, 1.0f);
    if (!starter && s.starter_running_before) SOUND_stop(SOUND_SLOT_STARTER);
    s.actuator_moving_before = moving;
    s.starter_running_before = starter;
}

}  // namespace

void GOV_thrust_point_positions(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    const int points = bounded_count(a.acf_num_thrustpoints, FLT_ENGINES);
    for (int n = 0; n < points; ++n) {
        const float v = a.thrust_vector_angle[n] * DEG_TO_RAD_FLOAT;
        f.POINT_XYZ[3 * n] = a.acf_Xarm[n];
        f.POINT_XYZ[3 * n + 1] = a.acf_Yarm[n] - a.acf_vectarmZ * std::sin(v) + a.acf_vectarmY * std::cos(v);
        f.POINT_XYZ[3 * n + 2] = a.acf_Zarm[n] + a.acf_vectarmZ * std::cos(v) + a.acf_vectarmY * std::sin(v);
    }
}

bool GOV_thrust_point_present(int p, int n)
{
    if (p < 0 || p >= FLT_SLOTS || n < 0 || n >= FLT_ENGINES) return false;
    const acf_struct& a = pln[p];
    if (FLT_slot_failed(p, FAIL_SLOT_ENGINE_BASE + n)) return false;
    if (a.acf_hide_prop_at_90_vect && !(a.thrust_vector_angle[n] < 90.0f)) return false;
    if (n < a.acf_num_engines) return ACF_engine_has_prop(p, n) || a.acf_en_type[n] == ENGINE_TIP_ROCKET;
    return n < a.acf_num_thrustpoints;
}

void GOV_propulsion(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    fadec_governor(p);
    const int points = bounded_count(a.acf_num_thrustpoints, FLT_ENGINES);
    for (int n = 0; n < points; ++n)
        if (GOV_thrust_point_present(p, n)) propeller_pitch(p, n);
    if (FLT_slot_failed(p, FAIL_SLOT_THROTTLE))
        for (float& t : f.ENGN_thro) t = 0.0f;
    differential_collective(p);
}

void GOV_ground_and_surfaces(int p)
{
    ground_automation(p);
    actuators(p);
    GOV_thrust_point_positions(p);
}

void GOV_auto_slats_and_gear(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    if (a.acf_slatEQ && !FLT_slot_failed(p, FAIL_SLOT_SLATS) && a.acf_autoslatEQ &&
        f.indicated_airspeed > UNIT.mps_to_kts * a.acf_est_Vs * 0.25f) {
        for (int n = FIRST_WING_PART; n <= LAST_AUTO_SLAT_PART; ++n) {
            if (!wing_part_present(p, n) || !(std::fabs(a.acf_dihednow[n]) < 45.0f)) continue;
            if (f.alpha_el[n * ALPHA_VALUES_PER_PART] > a.acf_alpha_max[n] - 5.0f) f.slatrat = 1.0f;
        }
    }
    GEAR_deploy_step(p, sim_cockpit_switches.gear_handle_status);
}
