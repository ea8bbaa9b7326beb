// The linear features of the scenery tiles (highways, trails, railroads,
// power lines, taxi lines, rivers) as points in lists hung off the terrain
// grid points: section k of a tile puts its points into list k of the grid
// point whose cell holds them; list 6 holds the road-traffic records of
// section 0. Most points carry no list, so a point's lists exist only once
// something is put into them.
#pragma once

#include <cstdint>
#include <vector>

#include "world/terrain_grid.h"

constexpr int SEG_SECTIONS = 6;   // lists 0..5 of segment points

// Markers (word 8 of a segment point).
constexpr float SEG_ON_LAND = 1.0f;
constexpr float SEG_RAISED = 2.0f;          // raised over water (sections 0..2)
constexpr float SEG_BEFORE_RAISED = 3.0f;   // a land point followed by a raised one
constexpr float SEG_END = -999.0f;          // last point of a chain or of a piece inside one cell; a tower without wire
constexpr float SEG_RAISE_M = 15.0f;

// One point of a feature, 12 words. While a tile is read words 0..2 are the
// point on the centre line; once its section is finished words 0..2 and 3..5
// are the feature's two edges.
// In the drawing passes' terms x, y, z is the edge point `a` and edge_x,
// edge_y, edge_z the edge point `b`.
struct segment_point {
    float x, y, z;                 // local metres; y the terrain height, + 15 when raised
    float edge_x, edge_y, edge_z;  // the other edge
    float heading;                 // compass heading to the next point in degrees (towers: to the next tower)
    float tex_len;                 // the span's length in texture repeats (rivers: running total)
    float span_flag;               // SEG_ON_LAND, SEG_RAISED, ... or SEG_END
    float normal[3];               // roads: the surface normal; towers: row, column and list index of the next tower
};
static_assert(sizeof(segment_point) == 48);

// A car on a section-0 segment: the index of its first point in list 0, the
// position along the segment (0.01..0.99) and a signed speed factor.
struct traffic_record {
    int32_t seg;
    float frac;
    float dir;
};
static_assert(sizeof(traffic_record) == 12);

struct terrain_point_lists {
    int32_t point;                                  // grid entry i x 401 + j
    std::vector<segment_point> seg[SEG_SECTIONS];
    std::vector<traffic_record> traffic;
};

// The lists of the points that carry any, and per grid point its index into
// them (-1 none).
extern std::vector<terrain_point_lists> terrain_lists;
extern int32_t terrain_list_slot[TERRAIN_GRID_POINTS];

// List `kind` (0..5) of point (i, j); null while the point has none.
std::vector<segment_point>* SEG_list(int kind, int i, int j);
// The same, made when missing (i, j inside the grid, kind 0..5).
std::vector<segment_point>& SEG_list_for_writing(int kind, int i, int j);
// The traffic records of point (i, j); null while it has none.
const std::vector<traffic_record>* SEG_traffic(int i, int j);
std::vector<traffic_record>& SEG_traffic_for_writing(int i, int j);
// Empties every point's seven lists.
void SEG_clear_lists();

// Appends one point of section `kind` (0..5) at (x, z), draped on the terrain:
// its height from the terrain query, raised 15 m over water for sections 0..2.
// row and column: in, the cell to use with clamp 0 (and the query's hint);
// out, the cell the point went into. With clamp set the query's cell is held
// inside the tile window that starts at (row0, col0). end marks a chain end.
// Another kind, or a cell outside the grid, stores nothing.
void build_seg(int kind, float x, float z, int& row, int& column, int row0, int col0, int clamp, int end);

// Where the edge (x1, y1, z1)..(x2, y2, z2) crosses the segment line through
// (x0, z0) with dx/dz = g, within the segment's x extent d (from (x0, z0)).
// 1 with the crossing in out_x, out_y, out_z; 0 when they do not cross.
int ENV_seg_cross(float g, float d, float x0, float z0, float x1, float y1, float z1, float x2, float y2, float z2,
                  float& out_x, float& out_y, float& out_z);
