// Body aerodynamics: fuselages, nacelles, floats and stores as blunt bodies
// with three reference areas and a crossflow model, and the build-up's body
// stage over parts 44..66 (subsonic crossflow, supersonic panel forces).
//
// Reads: sim_weather rho and speed of sound; for the body stage pln[0] body
// geometry, areas, arms, engines; flt[0] air velocity, DVinc, disc tilts.
// Writes: the caller's outputs; the body stage adds through the element aero
// adder. Both write the report stream while a report is requested.
#pragma once

// Vertical, side and drag forces (N) of one body: the angles in radians
// (angle of attack, sideslip, total angle to the flow), the speed in m/s.
void FM_body_drag(float front_area, float side_area, float top_area, float cd_base, float speed, float angle_vert,
                  float* force_vert, float angle_side, float* force_side, float angle_total, float* force_drag);

// Stage 13 of the build-up: every present body of plane 0.
void FM_body_stage();
