// The light queue of the road vehicles: each frame the road traffic and the
// terrain cover queue every vehicle near the camera, and the queue is drawn
// after the terrain and the ships (LIGHTS_fraction and LIGHTS_draw,
// scene/drawers.h).
#pragma once

#include <cstdint>
#include <vector>

// One queued vehicle.
struct light_record {
    int32_t kind;       // 0..7 ordinary vehicles, 8 a blue roof flasher, 9 a long vehicle with red flashers
    float x, y, z;      // m, the body's centre at road level
    float heading;      // degrees
    float dist_sq;      // squared horizontal distance from the camera when queued, m^2
    uint8_t lit;        // shows lights, culled at the far limit; else body only, near limit
    uint8_t brake;
    uint8_t turn;       // 0 left blinks, 2 right blinks, other none
};

// The queue: records 0 .. light_count - 1 are this frame's; the storage only grows.
extern std::vector<light_record> light_queue;
extern int32_t light_count;
// The squared culling distances LIGHTS_fraction sets for the frame, m^2.
extern float light_near_limit_sq;
extern float light_far_limit_sq;

// Queues one vehicle unless it lies beyond its distance limit. The kind is
// the code's remainder by 10; kinds 8 and 9 whose random-table entry at the
// code is above 0.4 become the code's remainder by 8.
void LIGHTS_add(int code, float x, float y, float z, float heading, uint8_t lit, uint8_t brake, uint8_t turn);
