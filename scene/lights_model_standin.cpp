// Stand-in of the light-model build until the scene's lights are built: the call is recorded.
#include "scene/lights_model.h"

#include "scene/calls_standin.h"

void LIGHTS_build_model() { scene_standin_calls.push_back("LIGHTS_build_model()"); }
