// The calls the stand-ins of this subsystem received, in order, written as
// "NAME(arg,arg)". Tests read and clear it.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> screens_standin_calls;
