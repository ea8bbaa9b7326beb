// The two gyro systems of the user's plane, 0 vacuum-driven and 1 electric:
// what the attitude and heading instruments and the autopilot read. The
// systems step spins them up and down and lets them follow the attitude.
#pragma once

constexpr int GYRO_SYSTEMS = 2;
constexpr int GYRO_VACUUM = 0;
constexpr int GYRO_ELECTRIC = 1;

extern float gyro_power[GYRO_SYSTEMS];         // driving power 0..1
extern float gyro_spin[GYRO_SYSTEMS];          // spin 0..1
extern float gyro_pitch[GYRO_SYSTEMS];         // indicated pitch, degrees, -55..55
extern float gyro_heading[GYRO_SYSTEMS];       // indicated heading, degrees, 0..360
extern float gyro_roll[GYRO_SYSTEMS];          // indicated roll, degrees
extern float gyro_pitch_error[GYRO_SYSTEMS];   // start-up errors, degrees
extern float gyro_roll_error[GYRO_SYSTEMS];
