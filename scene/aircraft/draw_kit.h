// What the aircraft drawers share: the texture-coordinate rule, the element
// strip, safe angles and counts, and the stages ACF_draw_plane runs.
#pragma once

#include <cmath>

#include "scene/aircraft/part_geometry.h"

// Blades drawn of one propeller at most: a blade count such as 1e9 read from
// an aircraft file would otherwise keep one frame drawing blades for minutes.
constexpr int ACF_MAX_BLADES = 100;
constexpr float ACF_DISC_SPEED_RADPS = 15.0f;   // above it a propeller is a disc

// An angle or length from the records as drawn: a value that is not a number
// (from a peer or a plug-in) would turn the matrix or the vertices into no
// numbers and throw the part anywhere on the screen; it counts as 0.
inline float ACF_finite(float v) { return std::isfinite(v) ? v : 0.0f; }

// Blades of engine e of plane n, held to 0..100 (0 for a count that is not a number).
float ACF_blade_count(int n, int e);

// The texture coordinate `st` for every texture unit in use: the plain
// coordinate with one unit, the coordinate of each unit 0..count-1 with two
// to four, none without texturing.
void ACF_tex_coord(const float st[2]);

// One GL triangle strip over element e of part p: for each outline point k
// of `points` the normal of (row 2e, k), then texture coordinate and vertex
// of (row 2e + 1, k), then those of (row 2e, k).
void ACF_element_strip(const acf_part_geometry& g, int p, int e, const int* points, int count);

// The branches of ACF_draw_part, each inside the caller's push and pop.
void ACF_draw_wing(int n, int p);            // 8..27, with controls
void ACF_draw_plain_surface(int n, int p);   // 28..43
void ACF_draw_propeller(int n, int p);       // 0..7
void ACF_draw_body(int n, int p);            // 44..60
void ACF_draw_gear(int n, int p);            // 67..72

// The hub of propeller e of plane n from the aircraft frame: its arm moved by
// the vectoring pivot's offset turned through the engine's cants.
void ACF_hub_frame(int n, int e);

// One movable panel of rows (r, r + 1) of part p, hinged at the fractional
// outline position, spanning in outline direction `step` (+1 or -1), turned
// by `angle` degrees (times the part's side sign).
void ACF_draw_control_strip(int n, int p, int r, float position, int step, float angle);

// The stages of ACF_draw_plane after its model pass.
void ACF_draw_light_stage(int n);
void ACF_draw_jato_flame();                  // plane 0's take-off rockets
void ACF_draw_thrust_stage(int n);           // discs and exhaust flames
void ACF_draw_force_overlay();               // plane 0's forces
