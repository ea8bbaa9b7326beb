// Stand-in of the cloud update until the cloud field is built: there are no
// clouds, and the field's point stays where the origin shift leaves it.
#include "scene/cloud_field.h"
#include "scene/scene_draw.h"

cloud_field_point_record cloud_field_point{};

void CLOUD_update_draw() {}
