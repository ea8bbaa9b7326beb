// The autopilot, autothrottle and flight director of the user's plane: mode
// entries and captures, the speed-unit switch at 28,000 ft, the power check
// and the disconnect horn, the autothrottle, and the lateral and vertical
// laws that set the flight-director commands and, with the servos on, the
// yoke roll and heading inputs and the elevator trim.
//
// Reads: pln[p] autopilot presets, trim limits, warning equipment; flt[p]
// speeds, Mach, heading, attitude, rates, heights, vertical speed and
// acceleration, failure slot 47; the mode words and targets; the receivers
// (course, slope, deflections) chosen by HSI_selector; gyro_pitch[0] and
// gyro_heading[0]; the speed of sound and density ratio at the plane;
// magnetic variation; the overrides; the frame clock and period.
// Writes: the mode words, targets, backcourse_on, the flight-director
// commands; flt[p] ENGN_thro, elv_trim; the yoke roll and heading ratios.
// Plays sound slot 40 when the autopilot drops out.
#pragma once

#include <cstdint>

#include "flightmodel/control/pilot_inputs.h"

struct autopilot_state {
    int32_t primed;                 // the previous values below have been taken once
    int32_t airspeed_mode_before = 9;   // the three published mode words of the previous frame (9 off)
    int32_t heading_mode_before = 9;
    int32_t altitude_mode_before = 9;
    int32_t engaged_before;
    float speed_before;             // the speed of the speed law (knots, or Mach-derived)
    float hdef_before;              // receiver deflection
    float psi_before;
    float heading_integral;         // I1, degrees
    float roll_integral;            // I2
    float pitch_integral;           // I3, degrees
    float trim_integral;            // T
    float engaged_at;               // frame clock when the vertical law came on
    float trim_at_engagement;
    float gyro_pitch_before;
    float on_ground_sec;            // how long the wheels have been on the ground, in all, on a coupled approach
    float elevation_before;         // the plane's elevation on the previous frame (m)
    float climb_rate;               // its rate of change (m/s)
    int32_t yoke_driven;            // the lateral law's servos wrote the yoke on the last frame
};
extern autopilot_state autopilot;
void AP_reset_state();
// Takes the mode words as they stand as already engaged, as a flight
// restored with its autopilot on left them: no mode captures its target
// afresh, and the laws start from the present attitude and trim.
void AP_resume_modes();

// One frame of the autopilot for plane p, after the stick shaping.
void AP_step(int p, const control_gains& gains);

// The receiver entry the autopilot tracks for an HSI selector value: 0 NAV1,
// 1 NAV2, 2 the GPS (entry 4); the other values their own entry, and a value
// outside the receiver entries NAV1.
int AP_receiver_index(int32_t hsi_selector);
