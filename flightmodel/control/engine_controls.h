// Engine-control setters of the user's plane (slot 0), the FADEC tests, the
// engine fuel-flow law and the clamped two-point interpolation.
//
// Every input path (held keys, joystick axes and buttons, the serial cockpit,
// the panel's lever quadrant, the own-plane control step) changes the engine
// controls through these setters, so each control stays inside the aircraft's
// limits. The setters ignore an engine or thrust-point index outside 0..7 and a
// request that is not a number (the control keeps its value).
//
// Reads: pln[0] engine limits, propeller pitches and types, FADEC fitting
// words; flt[0] ENGN_propmode, ENGN_thro_use, ENGN_sigma, ENGN_burning and the
// failure table; sim_cockpit_engine.fadec_on; the frame period.
// Writes: flt[0] ENGN_thro, ENGN_prop, ENGN_mixt, ENGN_propmode, POINT_pitch_deg.
// The implementation lives in flightmodel/control/engine_controls.cpp.
#pragma once

// ENGN_thro[n] = value within 0..acf_throtmax_FWD, or 0..acf_throtmax_REV in reverse (mode 3).
void ENGN_set_throttle(int n, float value);
// ENGN_prop[n] = value within acf_RSC_mingreen_prp..acf_RSC_redline_prp.
void ENGN_set_prop_rpm(int n, float value);
// ENGN_mixt[n] = value within 0..1.
void ENGN_set_mixture(int n, float value);
// POINT_pitch_deg[n] towards `degrees` within the range of the propeller mode
// (feathered, normal, beta 0, reverse -90..min); governed propellers (types 1,
// 4, 7) move at most 30 degrees per second, the others jump.
void ENGN_set_prop_pitch(int n, float degrees);

// One lever with forward, beta and reverse zones: with `write` set, lever x
// (0..1) selects engine n's mode and throttle. Returns the lever position of
// the engine's present mode and throttle, written or not.
float ENGN_lever_to_throttle(float x, int n, int write);

// 1 when engine n of plane p is present, not failed and of a type that can have FADEC.
int ENGN_has_fadec(int p, int n);
// 1 when the FADEC switch of engine n is on and its FADEC (failure slot 130 + n) has not failed.
int ENGN_fadec_active(int p, int n);

// Fuel flow of engine n of the user's plane for an output (power for
// propeller engines, thrust for jets): consumption rising at part throttle,
// an idle floor, the afterburner's share burning at twice the rate.
float ENGN_fuel_flow(float output, int n);

// Engine type of engine n of plane p is 8, respectively 2 (0 for indices out of range).
int ENGN_type_is_8(int p, int n);
int ENGN_type_is_2(int p, int n);

// The line through (x1, y1) and (x2, y2) at x; unless `extrapolate` is set,
// kept between y1 and y2. Equal x1 and x2 give the mean of y1 and y2.
float UTIL_interp_clamped(float x1, float y1, float x2, float y2, float x, int extrapolate);
