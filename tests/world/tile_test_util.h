// Scenery tiles in the world tests: an area set up on a program folder in a
// temporary folder, tiles written there with the project's writer and read
// into the grid as the scene build reads them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/graphics/gl_context.h"
#include "tests/support/machine.h"
#include "tests/support/test_support.h"
#include "tools/env/env_writer.h"

// The area with its south-west corner at (lat_ref, lon_ref) on the planet:
// the program folder in `folder`, the planet's constants, the area's bounds,
// the terrain reset and the default grid; no airports near.
void tiles_use_area(const temp_folder& folder, int planet, float lat_ref, float lon_ref);

// Writes the tile's bytes into the planet's navigation-data folder, or into
// the tiles folder of a custom scenery package when one is named.
void tiles_write(const temp_folder& folder, int planet, int south, int west, const std::string& bytes,
                 const std::string& package = "");
void tiles_write(const temp_folder& folder, int planet, const env::tile& t, const std::string& package = "");

// Reads the tile (south, west) into its window of the area, forced.
void tiles_read(int south, int west);

// A tile of even ground: every point at the elevation with the land-use type
// (rotation 4, span 1).
env::tile flat_tile(int planet, int south, int west, double elevation_m, int type);

// The bytes of a tile.
std::string tile_bytes(const env::tile& t);

// A test on the Earth area south-west of (33, -119) in a temporary program
// folder, with the OpenGL context the scene build needs; skipped without one.
class area_test : public ::testing::Test {
protected:
    temp_folder tmp;
    void SetUp() override
    {
        MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
        tiles_use_area(tmp, 0, 33.0f, -119.0f);
    }
};
