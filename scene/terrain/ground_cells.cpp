#include "scene/terrain/ground_cells.h"

#include <algorithm>

#include "core/constants.h"
#include "scene/view_setup.h"
#include "world/terrain_grid.h"

int GROUND_last_column() { return std::clamp(TERRAIN_extent().last_i - 1, 0, TERRAIN_GRID_ROWS - 2); }
int GROUND_last_row() { return std::clamp(TERRAIN_extent().last_j - 1, 0, TERRAIN_GRID_COLS - 2); }

bool GROUND_hold_window(const terrain_window_record& in, terrain_window_record& out)
{
    const int last_i = GROUND_last_column(), last_j = GROUND_last_row();
    out.first_column = std::clamp(in.first_column, 0, last_i);
    out.last_column = std::clamp(in.last_column, 0, last_i);
    out.first_row = std::clamp(in.first_row, 0, last_j);
    out.last_row = std::clamp(in.last_row, 0, last_j);
    return in.first_column <= in.last_column && in.first_row <= in.last_row;
}

bool GROUND_cell_visible(int i, int j)
{
    if (i < 0 || i >= TERRAIN_GRID_ROWS || j < 0 || j >= TERRAIN_GRID_COLS) return false;
    return cell_visible[TERRAIN_index(i, j)] != 0;
}

float GROUND_random(long index)
{
    long i = index % RANDOM_TABLE_SIZE;
    if (i < 0) i += RANDOM_TABLE_SIZE;
    return random_table[i];
}

namespace {

// The height at (x, z) of the plane through three points.
float plane_height(const terrain_vertex& a, const terrain_vertex& b, const terrain_vertex& c, float x, float z)
{
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (ny == 0.0f) return a.y;
    return a.y - (nx * (x - a.x) + nz * (z - a.z)) / ny;
}

}  // namespace

float GROUND_height_in_cell(int i, int j, float x, float z)
{
    i = std::clamp(i, 0, TERRAIN_GRID_ROWS - 2);
    j = std::clamp(j, 0, TERRAIN_GRID_COLS - 2);
    const terrain_vertex& v00 = terrain_vertex_grid[TERRAIN_index(i, j)];
    const terrain_vertex& v01 = terrain_vertex_grid[TERRAIN_index(i, j + 1)];
    const terrain_vertex& v10 = terrain_vertex_grid[TERRAIN_index(i + 1, j)];
    const terrain_vertex& v11 = terrain_vertex_grid[TERRAIN_index(i + 1, j + 1)];
    if (VIEW_circle_inside_edge(v01.x, v01.z, v10.x, v10.z, x, z, 0.0f)) return plane_height(v00, v10, v01, x, z);
    return plane_height(v11, v01, v10, x, z);
}
