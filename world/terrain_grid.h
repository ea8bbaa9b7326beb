// The terrain vertex grid of the loaded scenery and the values kept beside
// each of its points: i runs east 0..450 and j north 0..400, point (i, j) is
// entry i x 401 + j (the land-use grid uses the same entries). Cells in use:
// 450 x 400 on the Earth, 384 x 320 on Mars; cell (i, j) has the corners
// c0 = (i, j), c1 = (i, j + 1), c2 = (i + 1, j + 1), c3 = (i + 1, j), and its
// values are kept at its first corner.
//
// The grid is deformed: x and z of each point are stored, so points of one
// column need not share their x. The scenery tiles fill it (world/env_tile.h);
// the scene build resets it and lays the default grid first.
#pragma once

#include <cstdint>

#include "core/constants.h"

constexpr int TERRAIN_GRID_POINTS = TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS;

inline int TERRAIN_index(int i, int j) { return i * TERRAIN_GRID_COLS + j; }

struct terrain_vertex {
    float x, y, z;
};
static_assert(sizeof(terrain_vertex) == 12);

// Local position of every point (x east, y up, z south, metres).
extern terrain_vertex terrain_vertex_grid[TERRAIN_GRID_POINTS];
// The same points on the planet's sphere at height 0: the default grid a
// point keeps while no tile covers it.
extern terrain_vertex terrain_sphere_grid[TERRAIN_GRID_POINTS];
// Texture code of every point from its tile: 100 a + 10 b + c (texture tile
// position a, b and span c + 1); 0 for custom textures.
extern int32_t terrain_texture_code[TERRAIN_GRID_POINTS];
// Texture coordinates (s, t) of each cell at c0, c1, c2, c3: s0 t0 s1 t1 ...
extern float terrain_cell_tex[TERRAIN_GRID_POINTS][8];
// The cell split code (0..6) of each cell. No tile writes it: 0 after each build.
extern int32_t terrain_cell_split[TERRAIN_GRID_POINTS];
// 1 for a cell flattened under a land airport.
extern uint8_t terrain_airport_cell[TERRAIN_GRID_POINTS];

// The highest and lowest tile elevation read since the last reset (metres),
// widened by a metre each way once all tiles are read.
extern float terrain_elevation_high;
extern float terrain_elevation_low;

// Grid extent of the current planet: last index along i and j, and the grid
// points of one tile (N along i, M along j).
struct terrain_extent {
    int last_i, last_j;
    int tile_n, tile_m;
};
terrain_extent TERRAIN_extent();
