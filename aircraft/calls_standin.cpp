#include "aircraft/calls_standin.h"

std::vector<std::string> aircraft_standin_calls;
