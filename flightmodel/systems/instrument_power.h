// The PANEL_ names below are the published names of these calls, kept though
// the code lives in the simulation: the panel, the links and the systems all
// call them by these names.
//
// Instrument power of the user's aircraft: whether the panel, and the avionics
// behind their switch, have electrical power. Whoever asks, plane 0 is judged;
// the systems, the autopilot, the radios and the panel all ask here.
//
// Reads: pln[0] (engine count), flt[0] (battery volts, N1, failures), the
// cockpit's battery, avionics and inverter switches.
#pragma once

// Electrical power available to the instruments, 0..1.
float PANEL_power_level();
// 1 when the power level is above 0.01.
int PANEL_has_power();
// 1 when the avionics switch is on and the power level is above 0.01.
int PANEL_avionics_powered();
// 1 when some engine has its inverter switched on and that inverter
// (failure slot 122 + engine) has not failed; an aircraft without engines
// counts engine 0, as the power level does.
int PANEL_inverter_on();
