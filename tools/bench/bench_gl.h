// An OpenGL context for the benchmarks that build display lists: the tests'
// 1024 x 768 window (the offscreen driver when there is no display), probed
// and set to the program's default state.
#pragma once

#include <cstdlib>

#include "tests/graphics/gl_context.h"

inline bool bench_gl_context()
{
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return ensure_gl_context();
}
