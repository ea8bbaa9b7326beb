#include "world/calls_standin.h"

std::vector<std::string> world_standin_calls;
