// The star field: four lists of 8000 points on a sphere of radius 1555 about
// the origin. The points are kept here; when an OpenGL context exists each
// list is also compiled into a display list (star_lists) that the sky drawing
// calls between its own begin and end of points. The simulation defaults
// build it once at start-up.
#pragma once

#include <cstdint>

constexpr int STAR_LIST_COUNT = 4;
constexpr int STARS_PER_LIST = 8000;
constexpr float STAR_RADIUS = 1555.0f;
extern float star_points[STAR_LIST_COUNT][STARS_PER_LIST][3];
extern uint32_t star_lists[STAR_LIST_COUNT];   // 0 when no list was compiled

// Fills the star points (four lists) from the random generator and, when an
// OpenGL context exists, compiles them into star_lists.
void DEFAULTS_build_stars();
// Deletes the compiled star lists (a new build replaces the old ones).
void DEFAULTS_free_star_lists();
