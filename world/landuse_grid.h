// The land-use word of every terrain grid point of the loaded scenery:
// TERRAIN_GRID_ROWS rows of TERRAIN_GRID_COLS words (shell/constants.h),
// row-major. Codes 14 and 15 are water.
#pragma once

#include <cstdint>

#include "core/constants.h"

constexpr int32_t LANDUSE_WATER_A = 14;
constexpr int32_t LANDUSE_WATER_B = 15;

extern int32_t landuse_grid[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS];
