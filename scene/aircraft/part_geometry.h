// The part geometry arrays: the meshes, normals, hinge lines and paint
// coordinates that the aircraft preparation builds for a plane slot and that
// the aircraft drawers read. They live in the aircraft record's drawing
// geometry region (pln[n].acf_draw_geo), so each plane slot has its own and
// nothing is allocated or copied.
//
// Grid of a part (rows R, points per row N):
//  - propellers 0..7 and lifting surfaces 8..43: R = 2 x acf_els, N = 14;
//    row 2e is the inner station of element e, row 2e + 1 its outer station;
//    the points run round the airfoil from the leading edge over the upper
//    side to the trailing edge (0..6) and back along the lower side (7..13);
//  - bodies 44..60: R = 12, N = 18; bodies 61..66: R = 8, N = 10; a body row
//    is a ring whose last point repeats its first, and whose points N/2 - 1
//    and N/2 coincide (the seam underneath);
//  - landing gear 67..72: no grid.
// Entries beyond a part's grid, and the grids of parts not fitted, keep what
// they held.
#pragma once

#include <cstddef>

#include "aircraft/acf_struct.h"

constexpr int GEO_ROWS = 20;              // rows of the per-part arrays
constexpr int GEO_POINTS = 18;            // points of the per-part arrays
constexpr int GEO_HINGE_PARTS = 44;       // parts 0..43 have elements with hinges
constexpr int GEO_WPN_ROWS = 12;          // rows of a weapon body
constexpr int GEO_FOIL_POINTS = 14;       // points round an airfoil outline
constexpr int GEO_BODY_ROWS = 12;         // bodies 44..60
constexpr int GEO_SMALL_BODY_ROWS = 8;    // bodies 61..66
constexpr int GEO_SMALL_BODY_POINTS = 10;
constexpr int GEO_SMALL_BODY_FIRST = 61;

struct acf_part_geometry {
    float part_vertex[ACF_NUM_PARTS][GEO_ROWS][GEO_POINTS][3];       // metres
    float part_normal[ACF_NUM_PARTS][GEO_ROWS][GEO_POINTS][3];       // unit vectors
    float element_hinge[GEO_HINGE_PARTS][ACF_ELS_PER_PART][2][3];    // inner and outer hinge point
    float element_hinge_axis[GEO_HINGE_PARTS][ACF_ELS_PER_PART][3];  // (outer - inner) per element length
    float weapon_normal[ACF_WPN_SLOTS][GEO_WPN_ROWS][GEO_POINTS][3];
    float part_texcoord[ACF_NUM_PARTS][GEO_ROWS][GEO_POINTS][2];     // s, t on the part's paint bitmap
    float weapon_texcoord[ACF_WPN_SLOTS][GEO_WPN_ROWS][GEO_POINTS][2];  // s, t on the weapon's bitmap
};
static_assert(sizeof(acf_part_geometry) == 960480);
static_assert(sizeof(acf_part_geometry) <= ACF_DRAW_GEO_SIZE);
static_assert(offsetof(acf_struct, acf_draw_geo) % alignof(acf_part_geometry) == 0);

// The geometry of plane slot `plane` (0..9), laid over its record; nullptr
// for a slot out of range.
acf_part_geometry* ACF_geometry(int plane);

// Rows of part `part`'s grid in plane `plane` (0 for gear and bad indices;
// a lifting part's element count is held to 0..10).
int ACF_mesh_rows(int plane, int part);
// Points per row of part `part`'s grid (0 for gear and bad indices).
int ACF_mesh_points(int part);
// Elements of lifting part or propeller `part`, held to 0..10 (0 for other
// parts): acf_els comes from the file, and a larger count would index past
// the ten-element tables.
int ACF_mesh_elements(int plane, int part);
