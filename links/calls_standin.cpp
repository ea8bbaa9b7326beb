#include "links/calls_standin.h"

std::vector<std::string> links_standin_calls;
