// Stand-in of the terrain texture definitions until the terrain pass is
// built: it records each call and reads nothing.
#include "scene/terrain/terrain_definitions.h"

#include <string>

#include "scene/calls_standin.h"

void TERRAIN_setup_textures(const char* path, int t)
{
    scene_standin_calls.push_back("TERRAIN_setup_textures(" + std::string(path ? path : "") + "," + std::to_string(t) +
                                  ")");
}
