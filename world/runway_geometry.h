// The runway geometry of the nearby airports: per runway the marked strip (a
// row of cross-sections, each with the texture slot of the strip piece that
// starts there) and the light list (runway, approach and glide-slope lights
// with their kinds), both on the planet's curved surface in the local frame.
//
// Also the checked look-ups of the nearby airports, their runways and their
// geometry, and each runway's quad with its inside test, which the drawing
// and the ground under the user's plane share.
//
// Reads: the airport and runway records, the nearby-airport list,
// lat_ref/lon_ref, the planet and its radius. Writes: the runway geometry table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/navdb.h"

struct runway_section {
    int32_t texture_slot;
    float left[3];       // x, y, z of the left edge (looking from the first end)
    float right[3];
};
static_assert(sizeof(runway_section) == 28);
static_assert(offsetof(runway_section, left) == 4);

// A light kind is a base code plus 1000 when it is seen from the first end's
// approach, 2000 from the other end's, the base alone from everywhere.
struct runway_light {
    int32_t kind;
    float x, y, z;
};
static_assert(sizeof(runway_light) == 16);

struct runway_geometry_record {
    std::vector<runway_section> sections;   // at least one
    std::vector<runway_light> lights;
};

// One entry per built runway; a runway record's geometry_index names its entry.
extern std::vector<runway_geometry_record> runway_geometry_table;

// The airport of entry n of the nearby-airport list, with its table index; null when either index is bad.
const airport_record* APT_near_airport(int n, int& airport_index);
// Runway r's geometry record; null when the runway or its geometry index is
// bad or it holds no section.
const runway_geometry_record* APT_runway_geometry(const airport_record& a, int r);
// Runway designators: a first character 'x' is a taxiway or apron.
inline bool APT_is_runway(const runway_record& r) { return r.number[0] != 'x'; }

// A runway's quad: A the last section's left point, B its right point, C the
// first section's right point, D its left point.
struct runway_quad {
    const float* A;
    const float* B;
    const float* C;
    const float* D;
};
runway_quad APT_runway_quad(const runway_geometry_record& g);
// (x, z) lies strictly inside the quad (on an edge is outside).
bool APT_inside_runway(const runway_quad& q, float x, float z);

// Light base codes.
constexpr int32_t LIGHT_RUNWAY_END = 58;
constexpr int32_t LIGHT_THRESHOLD = 64;
constexpr int32_t LIGHT_EDGE_CAUTION = 65;
constexpr int32_t LIGHT_ALL_AROUND = 73;
constexpr int32_t LIGHT_SINGLE_APPROACH = 104;
constexpr int32_t LIGHT_THRESHOLD_OUTER = 105;
constexpr int32_t LIGHT_CENTRELINE = 106;
constexpr int32_t LIGHT_CENTRELINE_END = 107;
constexpr int32_t LIGHT_EDGE = 110;
constexpr int32_t LIGHT_APPROACH = 111;
constexpr int32_t LIGHT_FACING_END0 = 1000;
constexpr int32_t LIGHT_FACING_END1 = 2000;

// Rows of a strip are capped here: only a damaged width can ask for more.
constexpr int RUNWAY_MAX_ROWS = 4096;

// Appends the entry of runway `runway` of airport `airport` and fills its
// sections. A runway whose width or length is not a positive number gets one
// section at its point (and no lights).
void APT_build_runway_strip(int airport, int runway, int table_index);
// Fills the lights of entry `table_index` from its first and last sections.
void APT_build_runway_lights(int airport, int runway, int table_index);
// Appends one light at (x, z) `height` above the airport's elevation; facing 0
// adds 1000, 1 adds 2000, 2 nothing. With test set, a light over another
// runway or taxiway of the airport is dropped.
void APT_add_runway_light(float x, float height, float z, int base_kind, int airport, int table_index, int facing,
                          int test);
// 1 when (x, z) lies on a runway of the airport (its outline widened by 5 m)
// other than the one of entry `skip_index` (-1 skips none); taxiways only
// with include_taxiways.
int APT_point_on_runway(int airport, int skip_index, int include_taxiways, float x, float z);

// The decoded lengths of a runway record, metres: overruns and displaced
// thresholds of its two ends (end 0 the whole part of the packed feet, end 1
// the fraction x 10,000).
struct runway_lengths {
    float overrun[2];
    float displaced[2];
};
runway_lengths APT_runway_lengths(float packed_displaced, float packed_overruns);
