// The environment at the user's plane (stages 4 and 5 of the systems step):
// the moving navaids of the two ships, the air at the plane and the magnetic
// variation.
//
// Reads: the camera position (the view), the ship table, lat_ref/lon_ref, flt[0] position,
// attitude and Mach number, the planet and its constants.
// Writes: navaid records 0..5 (position), camera_rel_carrier; the weather
// block's temperatures, rho, sigma and speed of sound, sim_physics.g_sealevel
// (the local gravity), sim_physics.ambient_pressure; magnetic_variation and flt[0].magpsi.
#pragma once

// The carrier's navaid antenna in the carrier's own frame (x right, y up,
// z aft, metres): on the deck, aft of the middle.
extern const float carrier_nav_offset[3];
// The camera relative to the carrier's deck, for the landing-signal calls.
extern float camera_rel_carrier[3];

// The magnetic variation on a 5-degree grid: row r for latitude -90 + 5r
// (0..36), column c for longitude -180 + 5c (0..72); magnetic heading = true
// heading + value.
constexpr int MAGVAR_ROWS = 37;
constexpr int MAGVAR_COLS = 73;
extern const float magvar_table[MAGVAR_ROWS][MAGVAR_COLS];

// Stage 4 (the Earth only): camera relative to the carrier, ship navaids.
void SYSTEMS_ship_navaids();
// Stage 5: atmosphere at the plane, then magnetic variation and heading.
void SYSTEMS_air_at_plane();
void SYSTEMS_magnetic_variation();
// The variation (degrees) at a latitude and longitude from the table, by
// bilinear interpolation inside the table's cell.
float SYSTEMS_magvar_at(float latitude, float longitude);
