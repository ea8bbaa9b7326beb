// The scenery objects placed in the loaded area: each placement names an
// object record and gives its local position.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t OBJECT_KIND_ROOFTOP_PAD = 3;   // object class of a rooftop landing site

// The raised helipad of a rooftop heliport; its size is its exact height.
constexpr const char* OBJ_HELIPAD_NAME = "HELIPAD SO GIVE EXACT HEIGHT!";

struct scenery_object_record {
    int32_t kind;                 // object class: 3 for buildings with a landable roof
    std::string name;             // the name it was built under
    int32_t build_kind;           // kind passed to OBJ_build_obs (8 an object file)
    float size_m;                 // size passed to OBJ_build_obs
};

struct object_placement {
    float x, y, z;
    int32_t object;   // index into scenery_objects
    float heading_deg;
};

extern std::vector<scenery_object_record> scenery_objects;
extern std::vector<object_placement> object_placements;

// Builds (or finds) the object `name` of the given kind and size and, when
// autogen is 0, places it at the local point (x, z) on the terrain, turned to
// the heading. Returns the object's index.
int OBJ_build_obs(float x, float z, float heading_deg, float size_m, const char* name, int kind, int autogen);
