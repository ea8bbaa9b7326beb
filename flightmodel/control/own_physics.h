// The control step of the user's plane: pilot inputs, autopilot, artificial
// stability, propeller and engine governing, surfaces and ground automation
// turned into the control deflections, trims and throttles the force
// build-up reads. It integrates nothing.
//
// Reads and writes: pln[p], flt[p] controls, engines, surfaces and brakes;
// the joystick block; the autopilot and cockpit switches.
#pragma once

// One frame of the control step of plane p (always 0).
void FLTMOD_own_physics(int p);
