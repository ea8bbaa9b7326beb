#include "panel/calls_standin.h"

std::vector<std::string> panel_standin_calls;
