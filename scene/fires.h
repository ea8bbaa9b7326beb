// The forest fires of the scene: whether one burns in the loaded area, and
// where the first one is (local metres).
#pragma once

#include <cstdint>

struct forest_fire_record {
    int32_t exists;
    float x, y, z;
};
extern forest_fire_record forest_fire;
