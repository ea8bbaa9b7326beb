// Orientation integration: attitude held as Euler angles in degrees (pitch
// theta, heading psi, roll phi) and as a unit quaternion (q0 scalar, q1 roll,
// q2 pitch, q3 heading part). Used by the user's plane, the flight start and
// the weapons.
//
// Reads: the step record's length (the frame period outside the integration).
#pragma once

#include "flightmodel/flt.h"

// The quaternion of Euler angles in degrees.
void PHYS_euler_to_quat(float theta, float psi, float phi, float q[4]);

// Advances q by the body rates (rad/s) over one integration step, renormalises it
// and writes the angles back: heading 0..360, pitch and roll -180..180.
void PHYS_integrate_quat(float P, float Q, float R, float* theta, float* psi, float* phi, float q[4]);

// The sines and cosines of a plane's pitch, heading and roll that the frame
// rotations read (sin_theta, cos_theta, track_sin, track_cos, sin_phi,
// cos_phi), from its Euler angles.
void PHYS_cache_attitude(flt_struct& f);
