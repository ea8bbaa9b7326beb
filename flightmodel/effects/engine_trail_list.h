// The engine trails of the user's engines (a flow picture shown while the
// force visualisation level is 5): one ring of samples per engine, which the
// flight model emits into; the scene's trail pass (scene/effects/trails.h)
// moves, grows, spins and draws them and empties them at start-up.
//
// Reads: the user's plane (pln[0] engines and propellers, flt[0] side wash),
// the random generator. Writes: the rings and the flight start's ground level.
#pragma once

#include <cstdint>

constexpr int ENGINE_TRAIL_STREAMS = 8;
constexpr int ENGINE_TRAIL_SAMPLES = 1000;

struct engine_trail_sample {
    uint8_t valid;          // 0 also cuts the trail between this sample and its neighbours
    float age, life;        // s
    float pos[3];           // m
    float vel[3];           // m/s
    float growth;           // radius increase per second
    float radius;           // half the side of the square, m
    float spin;             // rad/s
    float phase;            // rad, 0..2 pi
    float yaw_sin, yaw_cos;     // direction of travel when emitted
    float pitch_sin, pitch_cos;
    float corners[4][3];    // the square in local coordinates, rebuilt every frame
};

// One ring per engine; the head is the sample the next emission writes (the
// one after the newest, always invalid).
struct engine_trail_ring {
    int32_t head;
    engine_trail_sample samples[ENGINE_TRAIL_SAMPLES];
};
extern engine_trail_ring engine_trails[ENGINE_TRAIL_STREAMS];

// The ground level of the flight start (written by the flight start): the
// trails' floor and the height of the user's wake.
extern float start_ground_y;

// One sample of engine `engine`'s ring at (x, y, z) moving with (vx, vy, vz):
// radius, growth per second and life; a radius below 0.01 or an engine
// outside 0..7 records nothing.
void PARTICLE_engine_emitters(float x, float y, float z, float vx, float vy, float vz, float radius, float growth,
                              float life, int engine);
// Every ring empty and the start's ground height 0 (the flight start).
void PARTICLE_clear_engine_trails();
