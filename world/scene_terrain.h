// The terrain stretch of the airport scene build: the area bounds, the
// terrain reset, the default grid on the planet's sphere and the scenery
// tiles of the loaded area with their ground textures.
#pragma once

// The loaded area in the local frame (scenery_area) and the operator map's
// scale, from lat_ref and the planet.
void APT_set_area_bounds();
// Empties what the tiles build: airport-cell flags, land use, segment and
// traffic lists, the object placements, cell split codes, texture corners
// (plain), texture codes and the elevation extremes.
void TERRAIN_reset();
// Lays every grid point on the planet's sphere at height 0 (the sphere grid
// and the default terrain grid under any tile without a file).
void TERRAIN_build_sphere_grid();
// Reads the tiles of every whole-degree cell of the area (forced in mode 1),
// widens the elevation extremes by a metre and loads the ground textures.
void ENV_load_area_tiles(int mode);
