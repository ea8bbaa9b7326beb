// The project's own default world: a seeded procedural heightmap and land use
// for the areas of the default airports (the Earth's coast and mountains
// around the default airports, the Mars area around the default Mars base),
// with objects and linear features, cut into ENV tiles of version 650.
//
// Heights come from the airports' field elevations spread over the land,
// mountain ridges and value noise, the sea and a coast to the south-west,
// and ease to each airport's field elevation around it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/env/env_writer.h"

namespace envgen {

struct runway {
    double lat = 0.0, lon = 0.0;   // the runway row's point
    double heading_deg = 0.0;
    double length_m = 0.0;
    double width_m = 0.0;
    bool taxiway = false;          // a row whose number begins with 'x'
};

struct airport {
    std::string id;
    int kind = 1;                  // 1 airport, 16 seaplane base, 17 heliport
    double elevation_m = 0.0;
    std::vector<runway> runways;   // at least one
};

// The airports of an "apt.dat" (rows 1, 16 and 17 with their runway rows).
// False when the file cannot be read.
bool read_airports(const std::string& path, std::vector<airport>& out);

// Land-use codes the generator writes.
constexpr int32_t LU_URBAN = 1;
constexpr int32_t LU_FARMLAND = 4;
constexpr int32_t LU_SCRUB = 10;
constexpr int32_t LU_OCEAN = 14;
constexpr int32_t LU_LAKE = 15;
constexpr int32_t LU_FOREST = 18;
constexpr int32_t LU_DESERT = 22;
constexpr int32_t LU_SNOW = 27;
constexpr int32_t LU_ROCK = 32;

class world {
public:
    world(int planet, std::vector<airport> airports);

    int planet() const { return planet_; }
    const std::vector<airport>& airports() const { return airports_; }

    // Elevation (metres) and land-use code of a place.
    double height_m(double lat, double lon) const;
    int32_t landuse(double lat, double lon) const;

    // The tile with its south-west corner at (south, west), version 650,
    // byte order 'i'.
    env::tile build_tile(int south, int west) const;

    // The tiles of every loaded area a listed airport starts in (the area's
    // south-west corner is the airport's position less the area's half span,
    // rounded half away from zero), sorted.
    std::vector<std::pair<int, int>> start_area_tiles(const std::vector<std::string>& ids) const;

private:
    struct place {
        double x_km, y_km;   // east and north of the world's reference point
    };
    struct feature {
        int section;
        std::vector<env::seg_point> points;
    };

    place to_km(double lat, double lon) const;
    bool is_land(double lat, double lon, int& lake) const;
    double base_height(double lat, double lon) const;
    int32_t landuse_at(double lat, double lon, double height_m) const;
    void add_features();
    void add_objects();
    void clip_into(env::tile& t) const;

    int planet_;
    std::vector<airport> airports_;
    double ref_lat_, ref_lon_, km_per_deg_lat_, km_per_deg_lon_;
    std::vector<feature> features_;
    std::vector<env::object_record> objects_;
};

}  // namespace envgen
