// The project's ENV scenery tile writer: one tile of one degree of latitude by
// one degree of longitude, in the versions 6, 61, 631 and 650 and in either
// byte order ('i' least significant byte first, 'a' most significant first).
//
// A tile is described in memory (its terrain points, objects, linear features
// and custom texture names) and encoded into the bytes of the file. The
// generators of the default data folder and the tests use it; it depends on
// nothing of the program.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace env {

// Grid points of one tile per planet: N + 1 rows (longitude steps) by M + 1
// columns (latitude steps).
constexpr int EARTH_TILE_ROWS = 150;   // N
constexpr int EARTH_TILE_COLS = 200;   // M
constexpr int MARS_TILE_ROWS = 64;
constexpr int MARS_TILE_COLS = 64;

constexpr int SECTIONS = 6;            // linear feature sections of version 650
constexpr int NAME_BYTES = 150;        // object and texture name fields
constexpr int MAX_TEXTURE_NAMES = 500;
constexpr int32_t OBJECT_LIST_END = 99;
constexpr int32_t SECTION_END = 99;

// Section widths as the program builds them: highways, trails, railroads,
// power lines, taxi lines (coded as float pairs), rivers.
enum section_kind : int { HIGHWAYS = 0, TRAILS = 1, RAILROADS = 2, POWER_LINES = 3, TAXI_LINES = 4, RIVERS = 5 };

struct grid_point {
    double lat = 0.0;          // degrees
    double lon = 0.0;
    double elevation_m = 0.0;
    int32_t landuse_word = 0;  // as stored (see landuse_word / landuse_word_v6)
};

struct object_record {
    int32_t type = 2;          // 2 block, 3 radio tower, 5 cooling tower, 6 stacks, 8 custom (1, 4 skipped)
    float lat = 0.0f;
    float lon = 0.0f;
    float value = 0.0f;        // height in feet (types 2-6), heading in degrees (type 8)
    std::string name;          // type 8: object file name
};

struct seg_point {
    double lat = 0.0;
    double lon = 0.0;
};
using chain = std::vector<seg_point>;

struct tile {
    int32_t version = 650;     // 6, 61, 631 or 650
    char order = 'i';          // 'i' or 'a'
    int south = 0;             // whole degrees of the south-west corner
    int west = 0;
    int rows = EARTH_TILE_ROWS;
    int cols = EARTH_TILE_COLS;
    std::vector<grid_point> grid;                       // point (i, j) at i * (cols + 1) + j
    std::vector<object_record> objects;
    std::array<std::vector<chain>, SECTIONS> sections;  // chains per section
    std::vector<std::string> textures;                  // position p names land-use type 1000 + p

    grid_point& at(int i, int j) { return grid[static_cast<size_t>(i) * static_cast<size_t>(cols + 1) + j]; }
    const grid_point& at(int i, int j) const
    {
        return grid[static_cast<size_t>(i) * static_cast<size_t>(cols + 1) + j];
    }
};

// An empty tile of the planet (0 Earth, 1 Mars) with its grid laid out: point
// (i, j) at the latitude south + j / M and longitude west + i / N, elevation 0,
// land-use word 0.
tile make_tile(int planet, int south, int west, int32_t version = 650, char order = 'i');

// The packed point of a position inside the tile: q x 10000 + r, with q the
// latitude and r the longitude step (0..9999 across the tile, both edges
// included), rounded to the nearest step and held inside the tile.
int32_t pack_point(double lat, double lon, int south, int west);

// Land-use words. Versions 61 and later: texture tile position a, b, span
// c + 1, rotation 0..4 and land-use type (0..96, or 1000 + texture position).
int32_t landuse_word(int a, int b, int c, int rotation, int32_t type);
// Version 6: the old type t (0..15, or 2000 and above), rotation 0..4.
int32_t landuse_word_v6(int a, int b, int c, int rotation, int32_t old_type);

// The bytes of the tile's file. Chains of the packed sections end with a
// negative code; a chain end at the tile's south-west corner (code 0, which
// has no negative) and an inner point whose code would read as the section's
// end marker (99) are moved one longitude step east.
std::vector<uint8_t> encode(const tile& t);

// Writes the file (its folder must exist). False when it cannot be written.
bool write_file(const std::string& path, const tile& t);

// The tile's relative file name under the navigation-data folder, with '/'
// between the ten-degree folder and the tile: "+30-120/+34-118.env".
std::string tile_file_name(int south, int west);

}  // namespace env
