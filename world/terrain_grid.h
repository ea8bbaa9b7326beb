// The terrain vertex grid of the loaded scenery: the local position of every
// grid point, i east 0..450 and j north 0..400, point i x 401 + j (the same
// cells as the land-use grid). Cells in use: 450 x 400 on the Earth, 384 x 320
// on Mars. The grid is deformed: x and z of each point are stored, so points
// of one column need not share their x.
#pragma once

#include "core/constants.h"

struct terrain_vertex {
    float x, y, z;
};
extern terrain_vertex terrain_vertex_grid[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS];

// Lays the grid of the loaded area (lat_ref, lon_ref); the scene build calls it.
void TERRAIN_build_grid();
