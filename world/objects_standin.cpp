// Stand-in of the scenery objects until the object files and builders are
// built: every call records an object of its own with the name, kind and size
// it was given, and places it on the terrain when autogen is 0.
#include "world/objects.h"

#include "flightmodel/terrain_query.h"

std::vector<scenery_object_record> scenery_objects;
std::vector<object_placement> object_placements;

int OBJ_build_obs(float x, float z, float heading_deg, float size_m, const char* name, int kind, int autogen)
{
    const int32_t object_class = (kind >= 90 && kind <= 93) ? OBJECT_KIND_ROOFTOP_PAD : 2;
    scenery_objects.push_back({object_class, name ? name : "", kind, size_m});
    const int32_t index = static_cast<int32_t>(scenery_objects.size()) - 1;
    if (autogen == 0) {
        const float y = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "build obs");
        object_placements.push_back({x, y, z, index, heading_deg});
    }
    return index;
}
