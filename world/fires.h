// The forest fires of the world: the fire table the airport scene build sets
// up (whether fires burn in the loaded area, and where fire 0 stands; the
// other fires are laid out around it by the scene's fire drawer), local
// metres. The flight start places the water bomber by it.
#pragma once

#include <cstdint>

constexpr int FIRE_COUNT = 10;

struct fire_table_record {
    int32_t present;                 // the scene build found a place for the fires
    int32_t burning[FIRE_COUNT];     // non-zero: burning
    float x[FIRE_COUNT];
    float y[FIRE_COUNT];
    float z[FIRE_COUNT];
};
extern fire_table_record fire_table;
