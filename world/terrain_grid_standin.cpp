// Stand-in storage of the terrain vertex grid until the scenery tile build
// fills it.
#include "world/terrain_grid.h"

terrain_vertex terrain_vertex_grid[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS] = {};
