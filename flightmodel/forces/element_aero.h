// Wing-element aerodynamics: the force and pitching moment of one element (a
// spanwise strip of a wing, stabiliser, fin, or of a propeller or rotor blade)
// from its local flow, through the part's airfoil tables below the speed of
// sound and linearised double-wedge theory above it. Plane slot 0 only.
//
// Reads: pln[0] element areas and chords, aspect ratio, span efficiency,
// multipliers, stall angle, slats, airfoil names and working tables; flt[0]
// v_el, alpha_el, del_dir, Q_centroid_MULT, CL/CD_grndeffect, slatrat, beta,
// machno, prop_ice, frm_ice; sim_weather rho and speed of sound,
// sim_physics.mu_air; dump_next_cycle.
// Writes: flt[0].stalled; the report stream while a report is requested.
#pragma once

// Index of blade slot b of element e of part p in the per-element flow arrays
// (4 slots an element; wings use slot 0).
constexpr int FM_flow_index(int p, int e, int b) { return 4 * (10 * p + e) + b; }

// Lift and drag (N) along the element's force axes and pitching moment (N m)
// of blade slot b of element e of part p, with the control-surface
// increments dcl, dcd, dcm added to the coefficients. Returns the final lift
// coefficient. Indices outside the tables give zero forces and 0.
float FM_element_forces(float dcl, float dcd, float dcm, float* lift, float* drag, float* moment, int p, int e,
                        int b);

// Subsonic coefficients at the element's angle of attack (thickness ratio
// unused on this path).
void FM_element_coeffs(float thickness_ratio, float mach_div, float mach, float dcl, float dcd, float dcm, float* cl,
                       float* cd, float* cm, int p, int e, int b);

// Supersonic coefficients of a double-wedge section.
void FM_supersonic_coeffs(float thickness_ratio, float mach, float dcl, float dcd, float dcm, float* cl, float* cd,
                          float* cm, int p, int e, int b);

// One airfoil table (end a: 0 root, 1 tip; member r: 0 low, 1 high Reynolds
// number) of part p at angle of attack alpha (degrees). Sets flt[0].stalled[p].
void FM_airfoil_lookup(float alpha, float* cl, float* cd, float* cm, int p, int a, int r, int e, int b);
