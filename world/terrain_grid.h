// The terrain vertex grid of the loaded scenery: the local position of every
// grid point, i east 0..450 and j north 0..400, point i x 401 + j (the same
// cells as the land-use grid).
#pragma once

#include "core/constants.h"

struct terrain_vertex {
    float x, y, z;
};
extern terrain_vertex terrain_vertex_grid[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS];
