// What the rest of the program calls in the cockpit panel: power, switches
// operated without drawing, the GPS keys, the transponder ident, the trim
// wheels, the radio tuners and the weather-radar texture.
#pragma once

#include <cstdint>

// Non-zero when battery or generators supply the panel.
int PANEL_has_power();
// Non-zero when the avionics switch is on and the panel has power.
int PANEL_avionics_powered();
// Non-zero when some engine has its inverter switched on and that inverter
// (failure slot 122 + engine) has not failed.
int PANEL_inverter_on();
// Electrical power available to the instruments, 0..1 (0 while the electrical
// system has failed).
float PANEL_power_level();
// Makes instrument type `type` current and operates its switch as one click
// would, without drawing (11 jettison, 20 gear handle, 446 clutch).
void PANEL_switches(int type, int item);
// 0 draws the GPS; 10..13 act as its destination-type buttons, -3..3 as its
// index-step buttons, without drawing.
void PANEL_gps(int code);
// 1: the transponder's ident button.
void PANEL_transponder(int code);
// One step of a trim: 20/21 elevator +/-, 22/23 rotor +/-, 24/26 rudder -/+,
// 27/29 aileron -/+ (25 and 28 nothing); 0.05 x frame period when held, else 0.001.
void PANEL_trim_wheels(int command, int held);
// Radio tuners. NAV and COM values are MHz x 100 + hundredths: part 1 moves the
// MHz (NAV 108..117, COM 118..136, wrapping), part 2 the hundredths (0..99,
// wrapping, ending in 0, 2, 5 or 7). ADF: decimal digit 1..3 (hundreds, tens,
// units), wrapping 0..9. Squawk: octal digit 1..4 (thousands .. units), 0..7.
void PANEL_tune_freq_digit(int32_t* freq, int step, int part);
void PANEL_tune_com_digit(int32_t* freq, int step, int part);
void PANEL_tune_adf_digit(int32_t* freq, int step, int digit);
void PANEL_tune_squawk_digit(int32_t* code, int step, int digit);
// Fires the rocket of plane p: the rocket mode becomes `type` and the rocket
// timeout the frame clock + d.
void PANEL_rocket_switch(int plane, int type, float d);
// The clock's stopwatch: a non-zero toggle starts or stops it, (0, non-zero)
// resets it; (0, 0) draws. Returns non-zero when a command was performed.
int PANEL_clock_timer(int toggle_cmd, int reset_cmd);
// Rebuilds the weather-radar texture.
void PANEL_radar_texture();

// The per-frame panel pass: draws every instrument of the user's aircraft and
// handles its clicks (the pointer already mapped through the panel zoom).
void PANEL_update();
