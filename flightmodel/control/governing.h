// Propeller and rotor governing, surfaces and ground automation of the
// control step: the FADEC throttle governor, each thrust point's propeller
// or rotor pitch (tip-speed schedule, speed with vectoring, fixed, manual,
// governed with feathering, beta, ground idle and reverse), the throttle
// failure and the differential collective; after the control mixing the automatic
// speedbrake, autobrake, rejected-take-off brake, reverse on touch-down,
// tail-dragger brake relief, the flap, slat, sweep and vector actuators with
// their sounds, the thrust-point positions, automatic slats and the gear.
//
// Reads: pln[p] engines, propellers, speeds, tip Mach schedule, vectoring,
// arms, equipment words, flap time, wing parts; flt[p] engine and propeller
// speeds and accelerations, modes, power, throttles, deflections, ground
// contact, attitude, airspeed, element angles of attack, failure slots 30,
// 31, 49, 58..65, 138..157; prop_sync_on, auto_feather_mode,
// auto_brake_settings, gear_handle_status, starter_duration, fadec_on; the
// speed of sound; the frame clock and period; panel power.
// Writes: flt[p] ENGN_thro, ENGN_prop, ENGN_propmode, POINT_pitch_deg,
// POINT_XYZ, sbrkrqst, parkbrake, flap, slat, sweep and vector requests and
// ratios; pln[p] gear deployment (through the gear step); for the user's
// plane prop_state.ground_idle (the ground idle's beta). Issues the
// reverser and autopilot-disconnect keys; plays sound slots 23 and 24.
#pragma once

#include <cstdint>

struct governing_state {
    int32_t onground_any_before = 1;
    int32_t onground_all_before = 1;
    int32_t autobrake_armed = 0;          // set while airborne, used at the first full touch-down
    int32_t throttles_low_before = 1;     // all throttles below 0.1 in the previous frame
    int32_t wheels_known = 0;             // the wheels read are a step's contact, not what the start left
    int32_t actuator_moving_before;
    int32_t starter_running_before;
};
extern governing_state governing;
void GOV_reset_state();

// FADEC governor, propeller and rotor pitches, throttle failure, differential collective.
void GOV_propulsion(int p);
// Ground automation, actuators and their sounds, thrust-point positions.
void GOV_ground_and_surfaces(int p);
// The thrust points' positions from the engines' arms and vector angles.
void GOV_thrust_point_positions(int p);
// Automatic slats, then the gear step.
void GOV_auto_slats_and_gear(int p);

// Thrust point n (0..7) of plane p takes part: not failed, not hidden at full
// vectoring, and an engine with a propeller (or blade rockets), or a thrust
// point beyond the engines.
bool GOV_thrust_point_present(int p, int n);
