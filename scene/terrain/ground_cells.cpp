#include "scene/terrain/ground_cells.h"

#include <algorithm>

#include "core/constants.h"
#include "world/terrain_grid.h"

bool GROUND_hold_window(const terrain_window_record& in, terrain_window_record& out)
{
    const int last_i = COVER_last_column(), last_j = COVER_last_row();
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
