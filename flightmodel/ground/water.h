// Water: the height of the wavy water surface, and the force of the water on
// one panel of a float or hull (buoyancy, damping, planing and side force).
//
// Reads: sim_weather wave_amplitude, wave_length, wave_speed, wave_dir;
// sim_time.total_running_time_sec; water_level_m (the still water at the
// origin, curving down with the planet away from it) and the planet's radius;
// terrain_height_m (the mesh under the plane: a lake's surface);
// sim_physics.rho_water; the degree sine and cosine tables; flt[0] position,
// velocity, body rates, heading, attitude sines and cosines, m_total; pln[0]
// body points.
// Writes: flt[0] gear force sums and moments.
#pragma once

// Local y of the still water at the local point (x, z) whose terrain mesh lies
// at `mesh_y`: the sea's level, curving down with the planet away from the
// origin, or the mesh where it lies higher, as a lake above the sea does (its
// surface is drawn at its own height, and the ground contact is off over water).
float WATER_still_level(float x, float z, float mesh_y);

// Height of the water surface at the local point (x, z) now, for still water
// at height y: y itself when the waves are below 0.1 ft or their length is not
// above 0.
float WAVE_height(float x, float y, float z);

// Local y of the surface under the user's plane that its height above the
// ground is measured to: over water (the water stage's test: water land use
// in its cell, no runway, deck or flat top) the water's wavy surface at the
// plane, elsewhere terrain_height_m. Reads flt[0] position and cell, the
// surface state and terrain_height_m.
float WATER_surface_under_plane();

// The water's force on panel (part, section, point) of the user's plane, whose
// centre is (x, y, z) in body axes; added at the centre to the gear sums.
// Returns 1 when the panel is in the water, else 0 and nothing is added.
// Part, section and point outside the body arrays (the point needs both
// neighbours) give 0.
int FM_water_forces(int part, int section, int point, float x, float y, float z);
