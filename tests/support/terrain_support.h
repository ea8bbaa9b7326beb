// Terrain grids made by the tests: the terrain vertex grid and the scenery
// area bounds filled directly, with the cells of the current planet.
#pragma once

#include <functional>

// A regular grid of square cells of `cell_m` metres whose cell (centre_i,
// centre_j) has the local origin at its middle; heights from `height(x, z)`.
void TEST_lay_grid(float cell_m, int centre_i, int centre_j, const std::function<float(float x, float z)>& height);

// A flat grid at `height`, 100 m cells, the origin in the middle of cell (200, 200).
void TEST_lay_flat_grid(float height);
