// The range each planet constant and the sea-level air can take on the
// planet flown: one table, read wherever such a value comes in (the
// preference and situation files, the planet and weather screens).
//
// Reads and writes sim_physics (PLANET_hold_values).
#pragma once

#include <cstdint>

#include "core/simvars/physics.h"

// One value of sim_physics and its range on each planet (index 0 the Earth,
// 1 Mars), with the planet's own value that stands in for one outside it.
struct planet_value_range {
    float sim_physics_block::*value;
    float low[2];
    float high[2];
    float own[2];
};
constexpr int PLANET_VALUE_COUNT = 7;
extern const planet_value_range planet_value_ranges[PLANET_VALUE_COUNT];

// The range of `value` on `planet` (any planet but Mars counts as the Earth).
// A member that has no row gets the widest float range.
void PLANET_value_bounds(float sim_physics_block::*value, int32_t planet, float& low, float& high);

// Puts the planet's own value in place of each value outside its range on
// `planet` (a value that is no number always is); true when one was.
bool PLANET_hold_values(int32_t planet);
