#include "screens/calls_standin.h"

std::vector<std::string> screens_standin_calls;
