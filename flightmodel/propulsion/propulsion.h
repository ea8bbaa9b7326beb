// The engines of the user's plane (slot 0) as the force build-up calls them:
// jet engines, propeller engines with their clutches, shafts and spools, the
// propeller and rotor blade elements, and the trim of the engine torque's roll.
//
// Reads: pln[0] engine, propeller, rotor and thrust-vector words, the element
// tables of parts 0..7 and their airfoils; flt[0] air data, rates, controls,
// engine and thrust-point fields, failures; sim_weather rho and sigma,
// sim_physics ambient pressure; the cockpit switches (ignition, idle speed,
// starter, clutch, pre-rotation); the frame period and clock, the random
// table, the land-use grid, the terrain height and the surface flags; the
// report flag.
// Writes: flt[0] engine fields (sigma, torque, power, speeds, N1, manifold
// and pressure ratios, jet wash), thrust-point fields (thrust, speeds,
// torques, pitch and disc values, washes, coning, efficiency), the rotor
// disc's tilts and rates, per-element flow values of parts 0..7, force_XYZ of
// parts 0..7, the propulsive totals and L, M, N, lift_fan_total_power, the
// prop-strike failure entries; the clutch engagement ratios; prop_state.
#pragma once

#include "flightmodel/flt.h"
#include "flightmodel/propulsion/engine_systems.h"

// Values the engines keep from one frame to the next that the flight-model
// record does not hold. The engine systems step keeps its own beside them.
struct propulsion_state {
    // The throttle after its response lag, per engine (0..1 and a little
    // above with the drive-by-wire idle push).
    float spooled_throttle[FLT_ENGINES];
    // Seconds each engine has been running (0 while stopped).
    float run_time_sec[FLT_ENGINES];
    // The battery the generators charge, re-chosen once a second.
    int weakest_battery;
    // 1 while engine n idles on the ground: its power lever closed with every
    // wheel on the ground, its propeller in beta (set by the governor's ground
    // idle). The engine then runs at its low idle, whatever the idle switch.
    int32_t ground_idle[FLT_ENGINES];
};
extern propulsion_state prop_state;

// Back to a fresh start: everything kept between frames is zero.
void ENGN_propulsion_reset();

// Jet engine e (types 4 and 5) for one frame; the build-up calls it only
// while there is air (rho > 0).
void ENGN_jet_engines(int e);

// Every propeller engine with its blade elements for one frame; called only
// while there is air.
void ENGN_prop_engines();

// The aerodynamic trim of the engine torque's roll (stage 20 of the
// build-up): adds to L for each present thrust point that applies it.
void ENGN_torque_roll_trim();

// 1 when thrust point e's rotor is a free rotor (propeller types 3 and 7 on an
// aircraft whose rotors turn freely, as on an autogyro); 0 otherwise and for
// an index outside 0..7.
int PROP_is_rotor(int e);

// Thrust (N) jet engine e could deliver now at its throttle, before the
// spool, speed and Mach derates; 0 when it is not running or e is outside 0..7.
float ENGN_jet_thrust_avail(int e);

// The torque (N m) engine n delivers to its shaft through its clutch at the
// engine-side shaft speed (rad/s); advances the engine's own speed on the way.
float ENGN_torque_clutch(int n, float shaft_speed_radps);

// Advances the N1 spool (percent) of turbine n (engine types 2, 4 and 5) by
// one frame; other types and indices outside 0..7 are left alone.
void ENGN_spool(int n);

// Blade-element forces and moments of thrust point n's propeller or rotor for
// one frame, with its washes, cyclic, disc dynamics and the prop strike.
void PROP_blade_element_forces(int n);
