// The engines of the user's plane as the force build-up calls them.
//
// Reads and writes: flt[0] engine, thrust-point and propeller fields; adds
// thrust and torque through the propulsive adders of flightmodel/phys.h.
#pragma once

// Jet engine e (types 4 and 5) for one frame; the build-up calls it only
// while there is air (rho > 0).
void ENGN_jet_engines(int e);

// Every propeller engine with its blade elements for one frame; called only
// while there is air.
void ENGN_prop_engines();

// The aerodynamic trim of the engine torque's roll (stage 20 of the
// build-up): adds to L for each present thrust point that applies it.
void ENGN_torque_roll_trim();

// 1 when engine e's propeller of the user's plane is a gyro or helicopter
// rotor (propeller types 3 and 7) on an aircraft flown by its rotor.
int PROP_is_rotor(int e);
