// Cockpit-control setters of the user's plane (slot 0) beside the engine
// controls of flightmodel/control/engine_controls.h: the lights, the parking brake,
// the trims, the flap, speed-brake, sweep and thrust-vector requests, the
// displacement ratio, the ignition switches, carburettor heat, cowl flaps,
// the propeller mode, the collective pitch, the overspeed test, the jettison
// of the load, the manoeuvring rockets and the drop tanks.
//
// The cockpit panel changes these through here (and with it the keys, the
// joystick buttons and the serial console that work its switches), so the
// drawers read the flight record read-only. A request that is not a number
// leaves the control as it is; an engine index outside 0..7 changes nothing.
//
// Reads: pln[0] pitch limits, jettison option and weapon slots; flt[0]
// m_jettison. Writes: the flight record's fields named below; the released
// flag of pln[0]'s drop tanks and the steering of its weapons.
// The implementation lives in flightmodel/control/cockpit_controls.cpp.
#pragma once

// The lights of the flight record.
enum cockpit_light { LIGHT_LANDING, LIGHT_TAXI, LIGHT_NAV, LIGHT_BEACON, LIGHT_STROBE };
// landing_lights_on, taxi_light_on, nav_lights_on, beacon_lights_on or
// strobe_lights_on = on (0 or 1).
void CTRL_set_light(cockpit_light light, int on);
// Whether that light is on.
int CTRL_light_on(cockpit_light light);

// parkbrake = ratio within 0..1.
void CTRL_set_parking_brake(float ratio);

// The trims: elevator, aileron and rudder as given (signed; the flight
// controls hold them to the aircraft's trim limits), the rotor's within 0..1.
enum trim_axis { TRIM_ELEVATOR, TRIM_AILERON, TRIM_RUDDER, TRIM_ROTOR };
void CTRL_set_trim(trim_axis axis, float value);

// flaprqst within 0..1; sbrkrqst within -0.5..1 (below 0 armed); swdirqst
// and vectrqst within 0..1; displace_rat as given.
void CTRL_set_flap_request(float ratio);
void CTRL_set_speedbrake_request(float ratio);
void CTRL_set_sweep_request(float ratio);
void CTRL_set_vector_request(float ratio);
void CTRL_set_displacement(float ratio);

// ignition_on[n] = position within 0..3 (off, right, left, both).
void ENGN_set_ignition(int n, int position);
// ENGN_heat[n] and ENGN_cowl[n] within 0..1.
void ENGN_set_carb_heat(int n, float ratio);
void ENGN_set_cowl_flaps(int n, float ratio);
// ENGN_propmode[n] = mode, one of the propeller modes 0..3.
void ENGN_set_prop_mode(int n, int mode);
// POINT_pitch_deg[n] = degrees within acf_min_pitch[n]..acf_max_pitch[n] at
// once (the collective lever sets the blade pitch directly).
void ENGN_set_collective_pitch(int n, float degrees);
// prop_ospeed_test_timeout = the frame-clock time until which the overspeed
// governor test runs.
void ENGN_set_overspeed_test(float until);

// The jettison button: a water load starts dropping while there is water
// aboard (water_drop_on); any other load is gone at once (m_jettison = 0).
void FLT_jettison_load();
// The manoeuvring rocket of plane p: rocket_mode = mode, firing until the
// frame-clock time `until` (rocket_timeout). A plane outside 0..9 is ignored.
void FLT_fire_rocket(int plane, int mode, float until);
// Every drop tank the user's plane still carries is released.
void WPN_release_drop_tanks();
// The steering commands of the user's weapon in slot `slot` (the weapon
// camera's stick): wpn_yaw_cmd and wpn_pitch_cmd within -1..1. A slot outside
// 0..23 is ignored.
void WPN_set_steering(int slot, float yaw, float pitch);
