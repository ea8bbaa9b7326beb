// Stand-in storage of the land-use grid until the scenery tile build fills it.
#include "world/landuse_grid.h"

int32_t landuse_grid[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS] = {};
