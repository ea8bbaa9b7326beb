#include "world/segments.h"

#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "flightmodel/ground/terrain_query.h"
#include "world/landuse_grid.h"

std::vector<terrain_point_lists> terrain_lists;
int32_t terrain_list_slot[TERRAIN_GRID_POINTS];

namespace {

// The slot array starts out all -1 (no lists) before the first clear.
const bool slots_ready = [] {
    std::fill(std::begin(terrain_list_slot), std::end(terrain_list_slot), -1);
    return true;
}();

bool in_grid(int i, int j) { return i >= 0 && i < TERRAIN_GRID_ROWS && j >= 0 && j < TERRAIN_GRID_COLS; }

terrain_point_lists* lists_of(int i, int j)
{
    if (!in_grid(i, j)) return nullptr;
    const int32_t slot = terrain_list_slot[TERRAIN_index(i, j)];
    return slot < 0 ? nullptr : &terrain_lists[static_cast<size_t>(slot)];
}

terrain_point_lists& lists_for_writing(int i, int j)
{
    int32_t& slot = terrain_list_slot[TERRAIN_index(i, j)];
    if (slot < 0) {
        slot = static_cast<int32_t>(terrain_lists.size());
        terrain_lists.emplace_back();
        terrain_lists.back().point = TERRAIN_index(i, j);
    }
    return terrain_lists[static_cast<size_t>(slot)];
}

bool is_water(int32_t code) { return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B; }

// The land use of grid point (i, j). The corners of a cell on the grid's last
// row or column lie one past the grid and would be read past the land-use
// table; they read the nearest point inside it instead.
int32_t landuse_at(int i, int j)
{
    i = util_clamp_int(i, 0, TERRAIN_GRID_ROWS - 1);
    j = util_clamp_int(j, 0, TERRAIN_GRID_COLS - 1);
    return landuse_grid[TERRAIN_index(i, j)];
}

}  // namespace

std::vector<segment_point>* SEG_list(int kind, int i, int j)
{
    if (kind < 0 || kind >= SEG_SECTIONS) return nullptr;
    terrain_point_lists* l = lists_of(i, j);
    return l ? &l->seg[kind] : nullptr;
}

std::vector<segment_point>& SEG_list_for_writing(int kind, int i, int j) { return lists_for_writing(i, j).seg[kind]; }

const std::vector<traffic_record>* SEG_traffic(int i, int j)
{
    const terrain_point_lists* l = lists_of(i, j);
    return l ? &l->traffic : nullptr;
}

std::vector<traffic_record>& SEG_traffic_for_writing(int i, int j) { return lists_for_writing(i, j).traffic; }

void SEG_clear_lists()
{
    (void)slots_ready;
    for (const terrain_point_lists& l : terrain_lists) terrain_list_slot[l.point] = -1;
    terrain_lists.clear();
}

void build_seg(int kind, float x, float z, int& row, int& column, int row0, int col0, int clamp, int end)
{
    if (kind < 0 || kind >= SEG_SECTIONS) return;   // no list for other kinds
    const int given_row = row, given_column = column;
    const float h = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &row, &column, 0, "build_seg");

    const bool water = is_water(landuse_at(row, column)) || is_water(landuse_at(row, column + 1)) ||
                       is_water(landuse_at(row + 1, column + 1)) || is_water(landuse_at(row + 1, column));
    const bool raised = water && kind < 3;

    if (clamp) {
        const terrain_extent e = TERRAIN_extent();
        row = util_clamp_int(row, row0, row0 + e.tile_n - 1);
        column = util_clamp_int(column, col0, col0 + e.tile_m - 1);
    } else {
        row = given_row;
        column = given_column;
    }
    // A cell outside the grid (a caller's cell with clamp 0, or a window placed
    // past the grid) has no lists; storing there would write past them.
    if (!in_grid(row, column)) return;

    segment_point p{};
    p.x = x;
    p.y = raised ? h + SEG_RAISE_M : h;
    p.z = z;
    p.span_flag = end ? SEG_END : (raised ? SEG_RAISED : SEG_ON_LAND);
    SEG_list_for_writing(kind, row, column).push_back(p);
}

int ENV_seg_cross(float g, float d, float x0, float z0, float x1, float y1, float z1, float x2, float y2, float z2,
                  float& out_x, float& out_y, float& out_z)
{
    const float X1 = x1 - x0, Z1 = z1 - z0;
    const float EX = x2 - x1, EZ = z2 - z1;
    const float divisor = EX - g * EZ;
    // An edge along the line has no finite t, so no crossing (the same answer
    // the range test below gives, without dividing by zero).
    if (divisor == 0.0f) return 0;
    const float t = (g * Z1 - X1) / divisor;
    if (!(t >= 0.0f && t <= 1.0f)) return 0;
    const float X = X1 + t * EX;
    const float dd = (d < -1.0f || d > 1.0f) ? d : (d < 0.0f ? -1.0f : 1.0f);
    const float along = X / dd;
    if (!(along >= 0.0f && along <= 1.0f)) return 0;
    out_x = x0 + X;
    out_y = y1 + t * (y2 - y1);
    out_z = z0 + Z1 + t * EZ;
    return 1;
}
