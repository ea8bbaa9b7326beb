// The one height service of the program: the surface height under a point of
// the local frame, and whether a point lies inside the loaded scenery area.
//
// Reads: the terrain vertex grid and the scenery area bounds (world/), the
// current planet, lat_ref/lon_ref and the planet radius; with extras also the
// surface state under the user's plane (flightmodel/ground/surface_under.h
// finds it each step) and the ship table and deck heights (world/).
// Writes: only the caller's cell hint and, with extras, the three surface
// velocity outputs.
#pragma once

// Surface height (m, local y) under the local point (x, z).
//
// The cell hint (*cell_i east 0..N_i - 1, *cell_j north 0..N_j - 1) is the
// cell to start from; (0, 0) means none. It is clamped before any read and
// overwritten with the cell found. Either pointer may be null (no hint kept).
//
// With extras 0 the bare terrain is returned and vx, vy, vz are not touched.
// With extras non-zero the surface under the user's plane counts too: the
// runway, platform or object top, a ship's deck (vx, vy, vz then get the
// deck's velocity, m/s; 0 elsewhere) and small bumps by surface kind. Null
// velocity pointers are allowed. The tag names the caller; it has no effect.
float TERRAIN_height_at(float x, float z, float* vx, float* vy, float* vz, int* cell_i, int* cell_j, int extras,
                        const char* tag);

// 1 when the local point lies inside the loaded scenery area (lat_ref ..
// lat_ref + 2 and lon_ref .. lon_ref + 3 degrees on the Earth, 5 and 6 on
// Mars) shrunk by margin degrees on every side, all bounds inclusive; else 0.
int TERRAIN_point_in_area(float x, float y, float z, float margin);
