// Stand-in of the scenery objects until the object placement is built: no
// object stands in the loaded area.
#include "world/objects.h"

std::vector<scenery_object_record> scenery_objects;
std::vector<object_placement> object_placements;
