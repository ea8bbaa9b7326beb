#include "flightmodel/phys.h"

#include <cmath>

#include "core/constants.h"
#include "flightmodel/flt.h"
#include "world/ships.h"

namespace {

// Plane slots outside 0..9 touch nothing (they would read and write past the
// plane records); a rotation for one returns its input.
flt_struct* plane(int p) { return (p >= 0 && p < FLT_SLOTS) ? &flt[p] : nullptr; }

enum body_axis { AXIAL, SIDE, NORMAL };

// Adds force F along one body axis to the running total `sum` of plane p, and
// its moments about the other two axes from the arms u and v (x and y for an
// axial force, y and z for a side force, x and z for a normal one).
void add_force(int p, float flt_struct::*sum, body_axis axis, float F, float u, float v)
{
    flt_struct* f = plane(p);
    if (!f) return;
    f->*sum += F;
    switch (axis) {
    case AXIAL: PHYS_add_axial_moment(F, u, v, &f->M, &f->N); break;
    case SIDE: PHYS_add_side_moment(F, u, v, &f->L, &f->N); break;
    case NORMAL: PHYS_add_normal_moment(F, u, v, &f->L, &f->M); break;
    }
}

}  // namespace

void PHYS_add_gear_axial(int p, float F, float x, float y) { add_force(p, &flt_struct::faxil_gear, AXIAL, F, x, y); }
void PHYS_add_gear_side(int p, float F, float y, float z) { add_force(p, &flt_struct::fside_gear, SIDE, F, y, z); }
void PHYS_add_gear_normal(int p, float F, float x, float z) { add_force(p, &flt_struct::fnrml_gear, NORMAL, F, x, z); }
void PHYS_add_prop_axial(int p, float F, float x, float y) { add_force(p, &flt_struct::faxil_prop, AXIAL, F, x, y); }
void PHYS_add_prop_side(int p, float F, float y, float z) { add_force(p, &flt_struct::fside_prop, SIDE, F, y, z); }
void PHYS_add_prop_normal(int p, float F, float x, float z) { add_force(p, &flt_struct::fnrml_prop, NORMAL, F, x, z); }

void PHYS_add_axial_moment(float F, float x, float y, float* pitch_sum, float* yaw_sum)
{
    *pitch_sum += F * y;
    *yaw_sum += F * x;
}

void PHYS_add_side_moment(float F, float y, float z, float* roll_sum, float* yaw_sum)
{
    *roll_sum += F * y;
    *yaw_sum -= F * z;
}

void PHYS_add_normal_moment(float F, float x, float z, float* roll_sum, float* pitch_sum)
{
    *roll_sum -= F * x;
    *pitch_sum -= F * z;
}

void PHYS_add_wind_force(float sin_a, float cos_a, float sin_b, float cos_b, float A, float x, float B, float y,
                         float C, float z, float* A_total, float* L_total, float* B_total, float* M_total,
                         float* C_total, float* N_total)
{
    *A_total += A;
    *B_total += B;
    *C_total += C;
    // The force in body axes: (side, normal, axial).
    const float Fx = A * sin_b + B * cos_b;
    const float Fy = A * sin_a + C * cos_a;
    const float Fz = (A * cos_a - C * sin_a) * cos_b - B * sin_b;
    *L_total += Fx * y - Fy * x;
    *M_total += Fz * y - Fy * z;
    *N_total += Fz * x - Fx * z;
}

void PHYS_add_element_aero_force(float A, float B, float C, float x, float y, float z, int surface, int element)
{
    flt_struct& f = flt[0];
    // A part or element beyond the 73 x 10 slots would write past force_XYZ.
    if (surface >= 0 && element >= 0 && surface < FLT_PARTS && element < 10) {
        float* slot = &f.force_XYZ[3 * (10 * surface + element)];
        slot[0] = B;
        slot[1] = C;
        slot[2] = A;
    }
    PHYS_add_wind_force(f.sin_alpha, f.cos_alpha, f.sin_beta, f.cos_beta, A, x, B, y, C, z, &f.faxil_aero, &f.L,
                        &f.fside_aero, &f.M, &f.fnrml_aero, &f.N);
}

void PHYS_body_to_local(float x, float y, float z, float* ox, float* oy, float* oz, int p)
{
    const flt_struct* f = plane(p);
    if (!f) {
        *ox = x, *oy = y, *oz = z;
        return;
    }
    PHYS_turn_to_local(x, y, z, ox, oy, oz, f->sin_theta, f->cos_theta, f->track_sin, f->track_cos, f->sin_phi,
                       f->cos_phi);
}

void PHYS_local_to_body(float x, float y, float z, float* ox, float* oy, float* oz, int p)
{
    const flt_struct* f = plane(p);
    if (!f) {
        *ox = x, *oy = y, *oz = z;
        return;
    }
    const float x1 = x * f->track_cos + z * f->track_sin;
    const float z1 = z * f->track_cos - x * f->track_sin;
    const float y2 = z1 * f->sin_theta + y * f->cos_theta;
    *oz = z1 * f->cos_theta - y * f->sin_theta;
    *ox = x1 * f->cos_phi - y2 * f->sin_phi;
    *oy = x1 * f->sin_phi + y2 * f->cos_phi;
}

void PHYS_rotate_by_cyclic(float x, float y, float z, float* ox, float* oy, float* oz, int p, int n)
{
    const flt_struct* f = plane(p);
    if (!f || n < 0 || n >= FLT_ENGINES) {
        *ox = x, *oy = y, *oz = z;
        return;
    }
    const float side = f->sidecant[n] * DEG_TO_RAD_FLOAT;
    const float vert = f->vertcant[n] * DEG_TO_RAD_FLOAT;
    const float s1 = std::sin(side), c1 = std::cos(side);
    const float s2 = std::sin(vert), c2 = std::cos(vert);
    const float t = x * s1 + z * c1;
    *ox = x * c1 - z * s1;
    *oy = y * c2 - t * s2;
    *oz = y * s2 + t * c2;
}

void PHYS_ship_to_local(float x, float y, float z, float* ox, float* oy, float* oz, int k)
{
    if (k < 0 || k >= SEA_OBJECT_SLOTS) {
        *ox = x, *oy = y, *oz = z;
        return;
    }
    const float d = DEG_TO_RAD_FLOAT;
    const float theta = ship_pitch[k] * d, psi = ship_heading[k] * d, phi = ship_roll[k] * d;
    PHYS_turn_to_local(x, y, z, ox, oy, oz, std::sin(theta), std::cos(theta), std::sin(psi), std::cos(psi),
                       std::sin(phi), std::cos(phi));
}

