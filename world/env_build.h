// The world build of one scenery tile, step by step, as the tile reader hands
// it what it reads: grid points, untangling, city and water land use, ground
// flattened under runways, objects, linear features and custom textures.
// Only the tile reader calls these.
#pragma once

#include <cstdint>

#include "world/env_tile.h"

struct env_tile_window {
    int south, west;     // whole degrees of the tile's south-west corner
    int row0, col0;      // first grid point of the tile window (i east, j north)
    int n, m;            // grid steps of one tile along i and j
    int32_t version;     // of the file, 0 without one
    const char* path;    // the file read, for the alerts ("" without one)
};

// Set by every refusal of the tile being read (a notice naming the file was
// raised); the reader stops at once and leaves the rest of the tile out.
extern bool env_tile_refused;

// Starts a tile: forgets the previous segment point and power-line tower and
// the points renumbered to custom textures.
void ENV_build_begin(const env_tile_window& w);

// One grid record of a file: point (row0 + i, col0 + j) at (lat, lon,
// elevation) with its land-use word. Refuses a point outside its tile or
// outside the loaded area widened by a tenth, and a land-use type that names
// no texture (fatal alerts naming the file).
void ENV_build_grid_record(const env_tile_window& w, int i, int j, double lat, double lon, double elevation_m,
                           int32_t landuse_word);
// The grid of a tile without a file: water and plain texture corners over the
// window; its points must lie inside the loaded area widened by a tenth.
void ENV_build_default_window(const env_tile_window& w);
// The terrain once the grid is in: folded points untangled, then, for a tile
// read from a file, city land use (Earth), water cells flattened and the
// ground flattened under the runways of the nearby airports.
void ENV_build_terrain(const env_tile_window& w, bool file);

// One object record.
void ENV_build_object(const env_tile_window& w, int32_t type, float lat, float lon, float value, const char* name);

// One point of section `kind`, then the finishing of a section
// once its last point is in.
void ENV_build_segment_point(const env_tile_window& w, int kind, double lat, double lon, bool chain_end);
void ENV_build_finish_section(const env_tile_window& w, int kind);

// The tile's custom texture names (500 of 150 bytes, each terminated).
void ENV_build_custom_textures(const env_tile_window& w, const char (*names)[ENV_NAME_BYTES]);
