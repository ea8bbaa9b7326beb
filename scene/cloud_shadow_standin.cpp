// Stand-in of the cloud shadows until the cloud field renders them: there is
// no shadow picture.
#include "scene/cloud_shadow.h"

int32_t cloud_shadow_texture = 0;
float cloud_shadow_mapping[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float cloud_shadow_base = 0.0f;
