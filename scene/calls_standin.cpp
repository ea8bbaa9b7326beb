#include "scene/calls_standin.h"

std::vector<std::string> scene_standin_calls;
