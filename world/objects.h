// The scenery objects placed in the loaded area: each placement names an
// object record and gives its local position.
#pragma once

#include <cstdint>
#include <vector>

constexpr int32_t OBJECT_KIND_ROOFTOP_PAD = 3;   // a rooftop landing site

struct scenery_object_record {
    int32_t kind;
};

struct object_placement {
    float x, y, z;
    int32_t object;   // index into scenery_objects
};

extern std::vector<scenery_object_record> scenery_objects;
extern std::vector<object_placement> object_placements;
