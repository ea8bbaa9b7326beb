// Body aerodynamics: fuselages, nacelles, floats and stores as blunt bodies
// with three reference areas and a crossflow model (the build-up's body stage
// is in stages.h).
//
// Reads: sim_weather rho and speed of sound. Writes: the caller's outputs and
// the report stream while a report is requested.
#pragma once

// Vertical, side and drag forces (N) of one body: the angles in radians
// (angle of attack, sideslip, total angle to the flow), the speed in m/s.
void FM_body_drag(float front_area, float side_area, float top_area, float cd_base, float speed, float angle_vert,
                  float* force_vert, float angle_side, float* force_side, float angle_total, float* force_drag);
