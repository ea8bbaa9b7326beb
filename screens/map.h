// The map window of the operator screens (15, 18 and 23) and its symbols: a
// north-up chart of the loaded scenery area drawn through the map view
// (world/runway_outline.h), and the single symbols the settings screens also
// use (the weather screen's aircraft mark, the airport diagram's runways).
//
// Reads: the map view, screen_settings.map_type (the map type) and
// .map_zoom, chart_airport, the terrain grid and land use, the airport,
// navaid, fix, airway and object tables with their in-area flags, the ships,
// the fires, the planes and the replay ring. Writes: GL state, the projected
// grid and the visible window below, the flight-path pen, the kept ground
// picture (two pairs of textures with a framebuffer object on each; the depth
// buffer inside the map only while the cells are drawn in full, put back after) and (for one call) the scene's terrain cell window.
#pragma once

#include <cstdint>

#include "world/terrain_grid.h"

// Draws the map into the rectangle (map_origin_x, map_origin_y)..(map_right,
// map_top); the overlay flag goes to the textured ground (type 4).
void MAP_draw_window(int overlay);
// World x (east) and z (south) to screen units of the map view.
float MAP_x_to_screen(float x);
float MAP_z_to_screen(float z);

// The map window's own grid of projected points (screen x, y, 0), laid out
// like the terrain grid; valid inside the visible window of the last call.
extern terrain_vertex map_projected_grid[TERRAIN_GRID_POINTS];
struct map_visible_window_record {
    int32_t low_row, low_column, high_row, high_column;
};
extern map_visible_window_record map_visible_window;

// Draws a map symbol at the screen point (x, y) in colour row `colour`. With
// the navaid flag set `obj_type` is the navaid's kind and `index` its navaid
// index; otherwise `obj_type` is 3 object, 97 fix, 98 airport, 99 aircraft of
// plane slot `index`, 100 and 101 the ships, 102 and 103 the oil platforms,
// 104 a forest fire. Any other combination is a fatal error.
void MAP_draw_object(float x, float y, int colour, int navaid_flag, int obj_type, int index);
// Draws airport `airport` (airport-table index) as its runway outlines, or
// below zoom 15 as a symbol at (x, y), with its name above zoom 4 when
// `label` is set; with `draw` clear only the label anchor is worked out.
void MAP_draw_airport(float x, float y, int colour, int airport, int draw, int label);
// One step of the recorded flight path: from the previous point to (x, y)
// for replay-ring slot `slot` (0..8999); `first` starts a path.
void MAP_draw_flight_path(int first, float x, float y, int slot, int alternate);

// The flight-path pen, kept from call to call.
struct map_pen_record {
    float previous_x = 0.0f, previous_y = 0.0f;
    int32_t alternation = 0;
};
extern map_pen_record map_pen;
void MAP_pen_reset();

// The settings screens' runway diagram of airport `airport` fitted into the
// box (x1, y1)..(x2, y2).
void SETUP_draw_airport_diagram(int airport, float x1, float y1, float x2, float y2);

// The map's ground cells (types other than 4, with at least a few thousand
// cells in view) are kept as a picture from call to call and drawn again only
// when something they are made from changes. When only the map's reference
// point moved since the last call, the picture is shifted by whole pixels
// (rounding the move to the nearest pixel) and only the cells of the strips
// it uncovers are drawn; when the map comes to rest the cells are drawn in
// full again, so a map at rest has exactly the pixels of a full redraw.
// `enabled` clear makes every call draw the cells and leaves the kept picture
// alone; the counts say how many calls drew the cells, drew the kept picture
// or shifted it, and how many cells were drawn in all.
struct map_ground_cache_record {
    bool enabled = true;
    int32_t redraws = 0, reuses = 0, shifts = 0;
    int64_t cells = 0;
};
extern map_ground_cache_record map_ground_cache;
// Forgets the kept picture (the next call draws the cells) and the counts.
void MAP_ground_cache_reset();
