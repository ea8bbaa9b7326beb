#include "world/terrain_grid.h"

terrain_vertex terrain_vertex_grid[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS] = {};
