// The simulation defaults: the one-time set-up of the simulation at start-up,
// after the window, the folder table and the language texts exist and before
// the general and pilot preferences are read (which then overwrite whatever
// they store). It opens sound and speech, builds the star field and the
// built-in ship and platform models, reads the key file, loads the sky
// colours, fills the radio-chatter sound slots and gives the simulation
// settings their start values.
#pragma once

#include <cstdint>

// The built-in ship and platform models (ship_model_tables) belong to the
// ships of the scene; the defaults fill them at start-up.
#include "scene/sea/ship_tables.h"

// The star field: four lists of 8000 points on a sphere of radius 1555 about
// the origin. The points are kept here; when an OpenGL context exists each
// list is also compiled into a display list (star_lists) that the sky drawing
// calls between its own begin and end of points.
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
// Fills ship_model_tables (SHIPS_build_model_tables).
void DEFAULTS_build_ship_models();

// The whole set-up, once, at start-up.
void SIM_init_defaults();
