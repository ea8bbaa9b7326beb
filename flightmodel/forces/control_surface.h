// Control-surface and flap increments of one wing element: a change of its
// angle of attack and of its lift, drag and moment coefficients for one
// surface kind. Plane slot 0 only.
//
// Reads: pln[0] acf_al_D_al0, the part's airfoil lift slopes and root
// thickness, acf_con_smooth, flap detents and increments, acf_part_is_left,
// the surface chord ratios; flt[0] alpha_el and failures 28 (left flap) and
// 29 (right flap). Writes: only the caller's sums.
#pragma once

// Surface kinds, one numbering for chord ratios, increments and deflections.
constexpr int SURF_AILERON1 = 0;
constexpr int SURF_AILERON2 = 1;
constexpr int SURF_SPOILER = 2;
constexpr int SURF_DRAG_RUDDER = 3;
constexpr int SURF_ELEVATOR = 4;
constexpr int SURF_RUDDER = 5;
constexpr int SURF_FLAPS = 6;
constexpr int SURF_SPEEDBRAKE = 7;
constexpr int SURF_KINDS = 8;

// Adds the increments of surface `kind` deflected by `deflection` degrees on
// element e of part p to the four running sums. `name` is the surface's label
// for the caller's report; square_flag squares acf_al_D_al0 (drag rudder and
// ailerons).
void FM_control_surface_coeffs(int p, int e, int kind, float deflection, float* dalpha, float* dcl, float* dcd,
                               float* dcm, const char* name, int square_flag);

// Flap effectiveness 0..1 of a deflection in degrees: (0, 0), (20, 0.7),
// (45, 0.8), (90, 1.0), held outside.
float FM_flap_curve(float deflection);
