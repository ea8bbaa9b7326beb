// Rope geometry and the pull of a rope on the user's plane at its hook.
//
// Reads: flt[0] attitude sines and cosines. Writes: flt[0] propulsive sums.
#pragma once

// The rope from (x0, y0, z0) to (x1, y1, z1), local axes: its vector, length
// and elevation (degrees, positive when the second point lies below the first;
// +-90 for two points on one vertical line).
void ROPE_geometry(float x0, float x1, float y0, float y1, float z0, float z1, float* dx, float* dy, float* dz,
                   float* length, float* elevation_deg);

// Pulls plane 0 along the rope (dx, dy, dz) of that length (as ROPE_geometry
// gives them, from the plane towards the far end) with the tension (N) at
// the hook (body axes); a rope shorter than 1 m counts as 1 m in the divisor.
// Writes the force's body components and adds them to the propulsive sums.
void ROPE_apply_tension(float tension, float length, float hook_x, float hook_y, float hook_z, float dx, float dy,
                        float dz, float* side, float* normal, float* axial);
