// Annunciators and gyros of the user's plane (stage 12 of the systems step):
// the caution lamps from the systems state and the failure table, the master
// caution with its blink and lamp test, and the two gyro systems (0 vacuum,
// 1 electric, flightmodel/systems/gyros.h) with their spin, start-up errors
// and failures.
//
// Reads: the autopilot mode words, the vacuum, generators, tanks, hydraulics,
// engine switches and values, engine_power_ratio, the failure table, panel
// power and inverters, flt[0] attitude and magnetic heading, the clocks.
// Writes: sim_cockpit_warnings_annunciators, the master caution words of
// sim_cockpit_warnings, the gyro table.
#pragma once

#include <cstdint>

struct annunciator_state {
    int32_t ap_was_engaged = 0;
    float ap_disconnect_until = -9999.9f;   // frame clock
};
extern annunciator_state annunciators;
void ANNUNCIATORS_reset();
// Every gyro at rest, not spinning.
void GYROS_reset();

// Stage 12: annunciators, then the gyros' start-up errors and the gyros.
void SYSTEMS_annunciators_and_gyros();
void ANNUNCIATORS_update();
void GYROS_update();
