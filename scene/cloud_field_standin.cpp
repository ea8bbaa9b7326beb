// Stand-in of the cloud update until the cloud field is built: there are no clouds.
#include "scene/scene_draw.h"

void CLOUD_update_draw() {}
