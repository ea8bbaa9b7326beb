// The two ring effects beside the particles, in local coordinates: the engine
// trails of the user's engines (a flow picture) and the wakes on the water
// behind the ships and the user's aircraft.
#pragma once

#include <cstdint>

constexpr int ENGINE_TRAIL_STREAMS = 8;
constexpr int ENGINE_TRAIL_SAMPLES = 1000;

struct engine_trail_sample {
    uint8_t valid;          // 0 also cuts the trail between this sample and its neighbours
    float age, life;        // s
    float pos[3];           // m
    float vel[3];           // m/s
    float growth;           // m/s
    float radius;           // m
    float spin;             // rad/s
    float phase;            // rad
    float yaw_sin, yaw_cos;
    float pitch_sin, pitch_cos;
    float corners[4][3];    // rebuilt every frame
};

struct engine_trail_ring {
    int32_t head;           // the sample written last
    engine_trail_sample samples[ENGINE_TRAIL_SAMPLES];
};
extern engine_trail_ring engine_trails[ENGINE_TRAIL_STREAMS];

// Wakes: one ring per sea-object slot (0 and 1 the ships, 2 the user's
// aircraft on the water), each of 30 segments of three points (side A,
// centre, side B).
constexpr int WAKE_SLOTS = 6;
constexpr int WAKE_SEGMENTS = 30;
struct wake_point {
    float x, z;
    float vx, vz;
    float half_sin, half_cos;   // half-width times the sine and cosine of the heading at emission
    float age;
};
struct wake_ring {
    int32_t head;
    float last_x, last_z;       // where the last segment was emitted
    int32_t live[WAKE_SEGMENTS];
    wake_point points[WAKE_SEGMENTS][3];
};
extern wake_ring wakes[WAKE_SLOTS];
