// sim/flightmodel/: the values that are not per plane, and the terrain
// height and surface code under the user's plane.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/flightmodel/misc/ (the grid cell i, j is the flight-model record's).
struct sim_flightmodel_misc_block {
    int32_t stab_ptch_test;           // stability tests requested by the commands
    int32_t stab_hdng_test;
};
extern sim_flightmodel_misc_block sim_flightmodel_misc;

// sim/flightmodel/position/: the position values that are not per plane.
struct sim_flightmodel_position_block {
    float magnetic_variation;   // degrees at the user's plane; magnetic = true + variation
};
extern sim_flightmodel_position_block sim_flightmodel_position;

// Terrain height (local y, m) under the user's plane, written by the
// simulation's frame from the terrain query once a frame.
extern float terrain_height_m;

// Surface code under the user's plane, set by the terrain and scenery code;
// the shared-memory record carries it.
extern int32_t ground_type_word;
