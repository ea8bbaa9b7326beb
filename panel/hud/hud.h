// The head-up display: drawn over the 3-D picture in the forward views and
// over the synthetic-vision picture, and its symbols placed on the world
// (terrain mesh, runway outlines and approach brackets) drawn inside the
// current 3-D projection.
//
// Reads: the panel's power, HUD_brightness, the user's velocity in body axes,
// theta, phi, psi, magpsi, the indicated airspeed and altitude, the height
// above ground, NAV 1's kind and deflections, the view's zoom and field of
// view, the camera, the screen's side margin and 2-D origin, the loaded
// area's bounds, the camera's terrain cell, the terrain grid, the nearby
// airports and the runway geometry table. Keeps no state.
#pragma once

#include <cstdint>

// HUD modes: 0 the 3-D view's display, 1 the reduced set over synthetic vision.
constexpr int HUD_MODE_VIEW = 0;
constexpr int HUD_MODE_SYNTHETIC = 1;

// Draws the head-up display in the box (x0, y0)..(x1, y1), interface units
// about the current 2-D origin.
void HUD_draw(float x0, float y0, float x1, float y1, int mode);
// Draws the symbols placed on the world, in the caller's 3-D projection.
void HUD_draw_world_symbols(int mode);

// The block of terrain cells and the local rectangle ahead of a viewpoint
// within `distance_m`: from the viewer's cell and its local x, z (truncated),
// looking along `heading_deg`. The box reaches 2 cells (0 m) behind the
// viewer. The cell bounds are not limited to the grid.
struct hud_view_box {
    int cell_x_lo, cell_z_lo, cell_x_hi, cell_z_hi;
    float x_lo, z_lo, x_hi, z_hi;
};
void HUD_view_box(int cell_x, int cell_z, int x, int z, int* cell_x_lo, int* cell_z_lo, int* cell_x_hi,
                  int* cell_z_hi, float* x_lo, float* z_lo, float* x_hi, float* z_hi, float heading_deg,
                  float distance_m);
hud_view_box HUD_view_box(int cell_x, int cell_z, int x, int z, float heading_deg, float distance_m);

// Whether a runway of the runway geometry table is near the box: its first
// cross-section's left edge or its last cross-section's right edge lies within
// the box's local rectangle widened by 2000 m (bounds included). Taxiways,
// and runways without geometry, are never near.
bool HUD_runway_near_box(int airport, int runway, const hud_view_box& box);
