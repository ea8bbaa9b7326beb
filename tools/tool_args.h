// The command line of a generator that takes a fixed number of arguments.
#pragma once

#include <cstdio>

// True when the command line holds exactly `count` arguments; otherwise
// false, after "usage: " and `usage` on the error output.
inline bool tool_arguments(int argc, int count, const char* usage)
{
    if (argc == count + 1) return true;
    std::fprintf(stderr, "usage: %s\n", usage);
    return false;
}
