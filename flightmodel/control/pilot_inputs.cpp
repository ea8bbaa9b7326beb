// Pilot inputs, the auto-flight showcase, the engine pre-step and the stick
// shaping of the control step.
#include "flightmodel/control/pilot_inputs.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/control/control_math.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_step.h"
#include "links/joystick.h"
#include "world/airport_state.h"
#include "world/navdb.h"

pilot_input_state pilot_inputs{};

ORVELL_RESET_RECORD(INPUT_reset_state, pilot_inputs, flight);

namespace {
joystick_poll_fn joystick_poll = JOY_poll;
}

void INPUT_set_joystick_poll(joystick_poll_fn poll) { joystick_poll = poll ? poll : JOY_poll; }

namespace {

// What the throttle axis drives this frame.
enum class throttle_target { none, throttles, speedbrake };

// The collective rotor's thrust point, bounded to the engine slots.
int collective_index(const acf_struct& a) { return bounded_count(a.acf_collective_rotor_index, FLT_ENGINES - 1); }

// The throttle lever's position as the axis would give it: the first
// engine's throttle over its limit in the present mode, or the speedbrake.
// A limit of 0 (an engine reversed by a failure without a reverser) reads 0.
float lever_equivalent(const acf_struct& a, const flt_struct& f, throttle_target target)
{
    switch (target) {
    case throttle_target::throttles: {
        const float max = f.ENGN_propmode[0] == PROPMODE_REVERSE ? a.acf_throtmax_REV : a.acf_throtmax_FWD;
        return ratio_or(f.ENGN_thro[0], max, 0.0f);
    }
    case throttle_target::speedbrake: return 1.0f - f.sbrkrqst;
    default: return 0.0f;
    }
}

// The collective pitch as the axis would give it: 0 at the maximum pitch, 1 at the minimum.
float pitch_equivalent(const acf_struct& a, const flt_struct& f, int k)
{
    if (a.acf_min_pitch[k] == a.acf_max_pitch[k]) return 0.5f;
    return ratio_or(f.POINT_pitch_deg[k] - a.acf_max_pitch[k], a.acf_min_pitch[k] - a.acf_max_pitch[k], 0.5f);
}

// The joystick takes a lever when its axis moves more than 0.03 from where it
// last took it, and lets go when something else moved the lever by more than 0.001.
void takeover(float axis, float& last_moved, float lever_now, float lever_before, int32_t& taken)
{
    if (std::fabs(axis - last_moved) > 0.03f) {
        taken = 1;
        last_moved = axis;
    } else if (std::fabs(lever_now - lever_before) > 0.001f) {
        taken = 0;
    }
}

// The heading of the first runway of the airport the traffic approaches;
// false when there is no such airport or runway: the airport index is kept by
// the traffic code and a plug-in may write it, so reading the table at it
// unchecked would read past the table; the showcase keeps its heading instead.
bool traffic_runway_heading(float& heading)
{
    const int32_t index = traffic_runway_state.traffic_airport;
    if (index < 0 || static_cast<size_t>(index) >= airport_table.size()) return false;
    const airport_record& apt = airport_table[static_cast<size_t>(index)];
    if (apt.runways.empty()) return false;
    heading = apt.runways.front().heading;
    return std::isfinite(heading);
}

void restart_flight() { FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY); }

}  // namespace

void INPUT_view_cycling()
{
    if (!auto_view_cycle_on || !(frame_clock > pilot_inputs.next_view_change_time)) return;
    const int r = UTIL_rand();
    CORE_run_command(VIEW_FIRST + ((r * (VIEW_LAST - VIEW_FIRST + 1)) >> 15));
    if (sim_graphics_view.view_type < VIEW_TOWER) CORE_run_command(VIEW_FORWARD);
    pilot_inputs.next_view_change_time = frame_clock + 10.0f + 20.0f * UTIL_rand_fraction();
}

void INPUT_pilot_inputs(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    sim_joystick_block& joy = sim_joystick;
    pilot_input_state& s = pilot_inputs;
    const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);
    const int points = bounded_count(a.acf_num_thrustpoints, FLT_ENGINES);
    const int k = collective_index(a);

    bool has_prop_axis = false;
    for (int32_t role : joy.joystick_axis_assignments)
        if (role == AXIS_ROLE_PROP) has_prop_axis = true;
    const bool collective_follows_throttle =
        a.acf_has_collective_rotor && !has_prop_axis && a.acf_min_pitch[k] < a.acf_max_pitch[k];

    throttle_target target = throttle_target::throttles;
    if (a.acf_num_engines == 0 ||
        (a.acf_en_type[0] == ENGINE_ROCKET && a.acf_m_fuel_tot < 0.01f && a.acf_sbrkEQ))
        target = throttle_target::speedbrake;

    const float prop_before = f.ENGN_prop[0], mixture_before = f.ENGN_mixt[0], heat_before = f.ENGN_heat[0];
    const float left_before = f.l_brake_add, right_before = f.r_brake_add;
    const float vector_before = f.vectrqst, sweep_before = f.swdirqst;
    joystick_poll(&joy.yolk_pitch_ratio, &joy.yolk_roll_ratio, &joy.yolk_heading_ratio, &s.throttle_axis_value,
             &s.prop_axis_value, &f.l_brake_add, &f.r_brake_add, &f.ENGN_prop[0], &f.ENGN_mixt[0], &f.ENGN_heat[0],
             &f.vectrqst, &f.swdirqst, 1);

    // The yoke ratios are scaled by the published control_authority (1.0 by
    // default, lowered by plug-ins), the factor the flight model's services
    // promise. Whatever the poll or a plug-in left, only numbers go on: a NaN
    // axis or ratio would otherwise spread into every control deflection and
    // throttle of the plane; it is read as centred (or as the lever it held).
    joy.yolk_pitch_ratio = finite_or(joy.yolk_pitch_ratio, 0.0f) * control_authority;
    joy.yolk_roll_ratio = finite_or(joy.yolk_roll_ratio, 0.0f) * control_authority;
    joy.yolk_heading_ratio = finite_or(joy.yolk_heading_ratio, 0.0f) * control_authority;
    s.throttle_axis_value = finite_or(s.throttle_axis_value, s.throttle_last_moved);
    s.prop_axis_value = finite_or(s.prop_axis_value, s.prop_last_moved);
    f.ENGN_prop[0] = finite_or(f.ENGN_prop[0], prop_before);
    f.ENGN_mixt[0] = finite_or(f.ENGN_mixt[0], mixture_before);
    f.ENGN_heat[0] = finite_or(f.ENGN_heat[0], heat_before);
    f.l_brake_add = finite_or(f.l_brake_add, left_before);
    f.r_brake_add = finite_or(f.r_brake_add, right_before);
    f.vectrqst = finite_or(f.vectrqst, vector_before);
    f.swdirqst = finite_or(f.swdirqst, sweep_before);

    if (collective_follows_throttle) {
        s.prop_axis_value = s.throttle_axis_value;
        target = throttle_target::none;
    }

    if (!joy.eq_cirrusII_fun && !joy.eq_cirrusII_app) {
        takeover(s.throttle_axis_value, s.throttle_last_moved, lever_equivalent(a, f, target), s.throttle_lever_before,
                 s.throttle_taken);
        takeover(s.prop_axis_value, s.prop_last_moved, pitch_equivalent(a, f, k), s.prop_lever_before, s.prop_taken);

        if (s.throttle_taken) {
            if (target == throttle_target::speedbrake) {
                f.sbrkrqst = 1.0f - s.throttle_axis_value;
            } else if (target == throttle_target::throttles) {
                for (int n = 0; n < engines; ++n) {
                    if (ENGN_has_fadec(p, n) && ENGN_fadec_active(p, n)) continue;
                    const float max = f.ENGN_propmode[n] == PROPMODE_REVERSE ? a.acf_throtmax_REV : a.acf_throtmax_FWD;
                    ENGN_set_throttle(n, s.throttle_axis_value * max);
                }
            }
        }
        if (s.prop_taken)
            for (int n = 0; n < points; ++n)
                if (a.acf_prop_type[n] == PROP_COLLECTIVE_ROTOR)
                    ENGN_set_prop_pitch(n, a.acf_max_pitch[n] + s.prop_axis_value * (a.acf_min_pitch[n] - a.acf_max_pitch[n]));

        // Single levers drive every engine.
        if (f.ENGN_prop[0] != prop_before)
            for (int n = 1; n < FLT_ENGINES; ++n)
                if (a.acf_prop_type[n] == a.acf_prop_type[0]) f.ENGN_prop[n] = f.ENGN_prop[0];
        if (f.ENGN_mixt[0] != mixture_before)
            for (int n = 1; n < FLT_ENGINES; ++n) f.ENGN_mixt[n] = f.ENGN_mixt[0];
        if (f.ENGN_heat[0] != heat_before)
            for (int n = 1; n < FLT_ENGINES; ++n) f.ENGN_heat[n] = f.ENGN_heat[0];

        s.throttle_lever_before = lever_equivalent(a, f, target);
        s.prop_lever_before = pitch_equivalent(a, f, k);
    }

    // Both toe brakes pressed and released: the parking brake lets go.
    if (left_before + right_before > 1.0f && f.l_brake_add + f.r_brake_add < 1.0f) f.parkbrake = 0.0f;

    // Without nose-wheel steering and toe brakes, the stick (or the pedals) brakes one side.
    if (a.acf_nw_steerdeg1 < 0.01f && !joy.eq_ped_wibrk) {
        const float source = joy.eq_ped_nobrk ? joy.yolk_heading_ratio : joy.yolk_roll_ratio;
        f.l_brake_add = UTIL_clamp(-source, 0.0f, 1.0f);
        f.r_brake_add = UTIL_clamp(source, 0.0f, 1.0f);
    }
}

void INPUT_auto_flight(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    sim_joystick_block& joy = sim_joystick;
    pilot_input_state& s = pilot_inputs;
    const float dt = sim_operation_misc.frame_rate_period;
    const float terrain_ft = terrain_height_m * UNIT.mtrs_to_ft;

    if (f.y_agl < 10.0f) {
        ap.airspeed_mode = AP_OFF;
        ap.heading_mode = AP_HEADING_HOLD;
        ap.altitude_mode = AP_OFF;
        float runway_heading = 0.0f;
        if (traffic_runway_heading(runway_heading))
            ap.heading_mag = sim_flightmodel_position.magnetic_variation + runway_heading;
        ap.vertical_velocity = f.vh_ind * UNIT.mps_to_fpm;
        ap.current_altitude = terrain_ft + 1000.0f;
        s.heading_timer = s.altitude_timer = frame_clock + 10.0f;
        joy.yolk_pitch_ratio = 0.2f;
        // Steer the shorter way round to the runway heading: the plain
        // difference would, for a runway at 357 with the plane at 2 degrees,
        // swing the nose 355 degrees to the right instead of 5 to the left.
        joy.yolk_heading_ratio = (UTIL_wrap_pm180(ap.heading_mag - f.magpsi) - f.R * 0.1f) * 0.5f;
        f.elv_trim = 0.0f;
        f.parkbrake = 0.0f;
        f.flaprqst = 0.33f;
        sim_cockpit_switches.gear_handle_status = 1;
        s.auto_throttle_ratio = 1.0f;
        if (f.groundspeed < 1.0f && std::fabs(f.phi) > 135.0f) restart_flight();
    } else {
        ap.heading_mode = AP_HEADING_HOLD;
        ap.altitude_mode = AP_ALTITUDE_HOLD;
        ap.airspeed_mode = AP_OFF;
        if (frame_clock > s.heading_timer) {
            ap.heading_mag = 360.0f * UTIL_rand_fraction();
            s.heading_timer = frame_clock + 30.0f + 90.0f * UTIL_rand_fraction();
        }
        if (frame_clock > s.altitude_timer) {
            ap.current_altitude = terrain_ft + 2000.0f + 3000.0f * UTIL_rand_fraction();
            s.altitude_timer = frame_clock + 30.0f + 90.0f * UTIL_rand_fraction();
        }
        ap.current_altitude = UTIL_max(ap.current_altitude, terrain_ft + 3000.0f);
        const float ias = f.indicated_airspeed;
        if (ias > a.acf_Vno) s.auto_throttle_ratio *= 1.0f - 0.1f * dt;
        if (ias < a.acf_Vno) s.auto_throttle_ratio *= 1.0f + 0.1f * dt;
        s.auto_throttle_ratio = clamp_or(s.auto_throttle_ratio, 0.0f, 1.0f, 1.0f);
        ap.vertical_velocity = UNIT.kts_to_mps * f.groundspeed * UNIT.mps_to_fpm * 0.25f;
        if (f.y_agl > 50.0f && f.h_ind < ap.current_altitude * UNIT.ft_to_mtrs && ias * UNIT.kts_to_mps < 2.0f * a.acf_est_Vs &&
            s.auto_throttle_ratio > 0.99f) {
            // Climbing slowly at full power: climb less, the closer to the stall.
            const float vs_kt = UNIT.mps_to_kts * a.acf_est_Vs;
            const float share = vs_kt != 0.0f ? UTIL_clamp((ias - vs_kt) / vs_kt, 0.0f, 1.0f) : 0.5f;
            ap.vertical_velocity *= share;
        }
        joy.yolk_pitch_ratio *= 1.0f - 0.1f * dt;
        joy.yolk_heading_ratio *= 1.0f - 0.2f * dt;
        f.flaprqst = 0.0f;
        sim_cockpit_switches.gear_handle_status = 0;
    }

    const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);
    for (int n = 0; n < engines; ++n) ENGN_set_throttle(n, s.auto_throttle_ratio * a.acf_throtmax_FWD);

    for (int slot = 0; slot < FAILURE_SLOTS; ++slot)
        if (f.failures[slot] == FAILURE_STATE_FAILED) {
            restart_flight();
            break;
        }

    if (a.acf_num_engines > 0 && f.m_fuel1 + f.m_fuel2 + f.m_fuel3 < 0.01f) {
        float* tanks[3] = {&f.m_fuel1, &f.m_fuel2, &f.m_fuel3};
        const int count = bounded_count(a.acf_num_tanks, 3);
        for (int i = 0; i < count; ++i)
            *tanks[i] = UTIL_max(0.0f, a.acf_m_fuel_tot * UTIL_min(0.5f / static_cast<float>(a.acf_num_tanks), a.acf_tank_rat[i]));
        restart_flight();
    }
}

void INPUT_engine_prestep(int p)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);
    for (int n = 0; n < engines; ++n) {
        const int32_t type = a.acf_en_type[n];
        if (FLT_slot_failed(p, FAIL_SLOT_REVERSER_BASE + n)) f.ENGN_propmode[n] = PROPMODE_REVERSE;
        if (ENGINE_type_drives_prop(type) && f.ENGN_prop[n] < 0.75f * a.acf_RSC_redline_prp &&
            f.ENGN_propmode[n] == PROPMODE_REVERSE) {
            f.ENGN_propmode[n] = PROPMODE_NORMAL;
            f.ENGN_thro[n] = 0.0f;
        }
        if (!a.acf_has_idlespeed && (type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED))
            sim_cockpit_engine.idle_speed[n] = f.ENGN_mixt[n] > 0.25f ? 1 : 0;
        f.ENGN_burning[n] = ENGINE_type_is_jet(type) && a.acf_burnerinc > 1.0f && f.ENGN_running[n] &&
                                    f.ENGN_thro_use[n] > 0.99f && f.ENGN_N1_[n] > 99.0f &&
                                    f.ENGN_propmode[n] != PROPMODE_REVERSE &&
                                    sim_cockpit_autopilot.airspeed_mode != AP_AUTOTHROTTLE &&
                                    (f.vect_ratio <= 0.01f || a.acf_lift_fan_rat <= 0.01f)
                                ? 1
                                : 0;
    }
}

control_gains INPUT_stick_shaping(int p)
{
    const acf_struct& a = pln[p];
    const flt_struct& f = flt[p];
    sim_joystick_block& joy = sim_joystick;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    control_gains out{};

    if (std::fabs(a.acf_roll_yaw_link) > 0.01f) joy.yolk_heading_ratio += joy.yolk_roll_ratio * a.acf_roll_yaw_link;
    out.pilot_roll = joy.yolk_roll_ratio;
    out.pilot_heading = joy.yolk_heading_ratio;

    if (!sim_operation_override.override_flightdir) {
        if (ap.altitude_mode == AP_OFF && ap.vnav_mode == AP_OFF) ap.flight_director_pitch = 0.0f;
        if (ap.heading_mode == AP_OFF && ap.hnav_mode == AP_OFF) ap.flight_director_roll = 0.0f;
    }

    // The laws soften with the square of the speed above twice the stall speed.
    // Without a stall speed any speed is past every bound (the ratio is held at
    // its ceiling); standing still there the ratio would be 0/0, a NaN that
    // would spread into the laws, and is taken as 0 instead (full gain).
    const float speed_mps = UNIT.kts_to_mps * f.indicated_airspeed;
    if (a.acf_has_collective_rotor) {
        out.g = 1.0f;
        out.k = 0.25f;
    } else {
        const float over = ratio_or(speed_mps, 2.0f * a.acf_est_Vs, speed_mps != 0.0f ? 10.0f : 0.0f);
        out.g = 1.0f / clamp_or(over * over, 1.0f, 100.0f, 1.0f);
        out.k = 1.0f;
    }

    if (sim_operation_prefs.auto_coordinate_helos && a.acf_prop_type[1] == PROP_TAIL_ROTOR) {
        // Without a stall speed the ratio is past its bounds on the side of the
        // speed's sign (standing still, 0/0, it is taken as 1).
        const float r = clamp_or(ratio_or(speed_mps, a.acf_est_Vs, speed_mps < 0.0f ? 0.0f : 1.0f), 0.0f, 1.0f, 0.0f);
        joy.yolk_heading_ratio = -(f.beta * r * 0.1f + (1.0f - r) * f.R * 0.05f) * out.g;
    }
    return out;
}
