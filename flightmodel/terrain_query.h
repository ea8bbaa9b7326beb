// Terrain queries about local points.
#pragma once

// Terrain height (m) under the local point (x, z); writes the land-use grid
// row and column of the point. The scratch outputs may be null; the tag names
// the caller in diagnostics.
float TERRAIN_height_at(float x, float z, float* scratch_a, float* scratch_b, float* scratch_c, int* cell_row,
                        int* cell_col, int flag, const char* tag);

// 1 when the local point lies inside the loaded scenery area (lat_ref ..
// lat_ref + 2 and lon_ref .. lon_ref + 3 degrees on the Earth, 5 and 6 on
// Mars) shrunk by margin degrees on every side, else 0.
int TERRAIN_point_in_area(float x, float y, float z, float margin);
