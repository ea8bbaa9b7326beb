// The flight model's small math kit: a 3-vector with its dot and cross
// products and length, the force adders through which every contribution
// reaches a plane's force and moment totals, and the rotations between body,
// local, propeller, ship and camera axes.
//
// Body axes: x right, y up, z aft, arms from the centre of gravity (m). Local
// axes: x east, y up, z south. A body-axis force (Fx, Fy, Fz) = (side, normal,
// axial) at the arm (x, y, z) adds the moments
//     L += Fx*y - Fy*x      (roll, right wing down positive)
//     M += Fz*y - Fy*z      (pitch, nose up positive)
//     N += Fz*x - Fx*z      (yaw, nose right positive)
//
// Reads: flt[p] cached sines and cosines of theta, psi (track_sin/cos), phi,
// alpha, beta; sidecant/vertcant; the ship table (world/ships.h); the camera's
// cached angles (core/camera.h).
// Writes: flt[p] force totals (aero, prop, gear), L, M, N, force_XYZ.
#pragma once

#include <cmath>

#include "core/camera.h"   // PHYS_turn_to_local, PHYS_rotate_by_camera

// A vector in body or local axes. The products are worked component by
// component in the order written here, as the force models always wrote them.
struct vec3 {
    float x, y, z;
};
// The three floats at p (a point or velocity kept as an array in the records).
inline vec3 vec3_at(const float* p) { return {p[0], p[1], p[2]}; }
inline vec3 operator+(vec3 a, vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline vec3 operator*(float k, vec3 a) { return {k * a.x, k * a.y, k * a.z}; }
inline float dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline vec3 cross(vec3 a, vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(vec3 a) { return std::sqrt(dot(a, a)); }

// One force component at a point (a, b: the two arm coordinates the moment
// rule needs). Gear and prop totals are in body axes.
void PHYS_add_gear_axial(int p, float F, float x, float y);    // M += F*y, N += F*x
void PHYS_add_gear_side(int p, float F, float y, float z);     // L += F*y, N -= F*z
void PHYS_add_gear_normal(int p, float F, float x, float z);   // L -= F*x, M -= F*z
void PHYS_add_prop_axial(int p, float F, float x, float y);
void PHYS_add_prop_side(int p, float F, float y, float z);
void PHYS_add_prop_normal(int p, float F, float x, float z);

// Moment-only adders for callers that keep their own sums.
void PHYS_add_axial_moment(float F, float x, float y, float* pitch_sum, float* yaw_sum);
void PHYS_add_side_moment(float F, float y, float z, float* roll_sum, float* yaw_sum);
void PHYS_add_normal_moment(float F, float x, float z, float* roll_sum, float* pitch_sum);

// A force in flight-path axes (A along the relative wind, positive aft; B side;
// C normal) on plane 0 at (x, y, z): added to the aero totals unchanged, its
// moment taken in body axes with plane 0's cached alpha and beta. With
// surface >= 0 and element >= 0 (B, C, A) is kept in force_XYZ[10*surface+element].
void PHYS_add_element_aero_force(float A, float B, float C, float x, float y, float z, int surface, int element);

// The same force and moment rules with explicit sines and cosines and the
// caller's own totals (weapons in flight).
void PHYS_add_wind_force(float sin_a, float cos_a, float sin_b, float cos_b, float A, float x, float B, float y,
                         float C, float z, float* A_total, float* L_total, float* B_total, float* M_total,
                         float* C_total, float* N_total);

// Rotations: (input vector, output addresses, selector).
// Body axes of plane p to local axes (roll, then pitch, then heading) and back.
void PHYS_body_to_local(float x, float y, float z, float* ox, float* oy, float* oz, int p);
void PHYS_local_to_body(float x, float y, float z, float* ox, float* oy, float* oz, int p);
// Propeller n of plane p's tilted axes to body axes (side cant, then vertical cant).
void PHYS_rotate_by_cyclic(float x, float y, float z, float* ox, float* oy, float* oz, int p, int n);

// Ship k's axes (x starboard, y up, z aft) to local axes by its roll, pitch and
// heading from the ship table (sines and cosines taken on each call); a ship
// outside 0..5 leaves the vector as it is.
void PHYS_ship_to_local(float x, float y, float z, float* ox, float* oy, float* oz, int k);


