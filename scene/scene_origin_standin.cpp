// Stand-in of the origin re-centring until the scene is built: the call is recorded.
#include "scene/scene_origin.h"

#include <cstdio>

#include "scene/calls_standin.h"

void SCENE_recenter_origin(float latitude, float longitude)
{
    char text[96];
    std::snprintf(text, sizeof text, "SCENE_recenter_origin(%.3f,%.3f)", latitude, longitude);
    scene_standin_calls.push_back(text);
}
