// What the panel's switches, knobs, levers and trim wheels keep between
// frames, one record per module with its reset, and the deadlines the
// momentary buttons write for their readers.
#pragma once

#include <cstdint>

// Switch bank: the weapons arming selector's position, shared by every
// arming selector type on the panel.
struct switch_bank_memory {
    int32_t weapon_select_pos = 0;
};
extern switch_bank_memory switch_mem;
void SWITCHES_reset();

// Trim wheels, one entry per wheel (elevator, rotor, rudder, aileron): the
// frame-clock time until which the wheel picture turns, the frames it advances
// per call and its phase 0..3 (the whole part is the picture shown).
constexpr int TRIM_WHEELS = 4;
constexpr int TRIM_WHEEL_ELEVATOR = 0;
constexpr int TRIM_WHEEL_ROTOR = 1;
constexpr int TRIM_WHEEL_RUDDER = 2;
constexpr int TRIM_WHEEL_AILERON = 3;
struct trim_wheel_memory {
    float trim_spin_until[TRIM_WHEELS] = {};
    float trim_spin_rate[TRIM_WHEELS] = {};
    float trim_spin_phase[TRIM_WHEELS] = {};
};
extern trim_wheel_memory trim_mem;
void TRIM_WHEELS_reset();

// Frame-clock deadlines of the held test and display buttons: a reader
// treats a deadline later than the frame clock as a button held down. The
// ammeter button's, published, is volt_display_timeout (core/simvars/cockpit.h).
extern float autopilot_test_timeout;    // autopilot lamp test
