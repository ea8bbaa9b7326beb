// The control step of the user's plane: pilot inputs, autopilot, artificial
// stability, propeller and engine governing, surfaces and ground automation
// turned into the control deflections, trims, throttles, propeller pitches,
// surface positions and brakes the force build-up reads. It integrates nothing.
//
// Reads: pln[p]; flt[p] attitude, rates, speeds, heights, engines, failures;
// the joystick block (through the joystick poll); the autopilot, cockpit
// switches, radios and gyros; the frame clock and period.
// Writes: flt[p] FC_ptch, FC_roll, FC_hdng, trims, ENGN_thro, ENGN_prop,
// ENGN_propmode, POINT_pitch_deg, POINT_XYZ, brake, flap, slat, sweep and
// vector requests and ratios; the yoke and artificial-stability ratios; the
// autopilot mode words, targets and flight-director commands; pln[p] gear
// deployment (through the gear step).
//
// Nothing here allocates, builds text or touches files: it runs every frame.
#pragma once

#include <cstdint>

// Switches toggled by commands 1214 and 1215: the program flies itself (the
// auto-flight showcase), and the view changes by itself every 10 to 30 s.
extern int32_t auto_flight_on;
extern int32_t auto_view_cycle_on;

// One frame of the control step of plane p (always 0).
void FLTMOD_own_physics(int p);

// Both switches off.
void CONTROL_switches_reset();
