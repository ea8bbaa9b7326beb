// The particle service of the scene: smoke, spray, dust and exhaust puffs the
// flight model spawns, and the trail ring of each engine's heat and exhaust.
#pragma once

#include <cstdint>
#include <vector>

// Stores one particle at (x, y, z) moving with (vx, vy, vz) above the ground
// height `ground`, with the size factors a, b, c, its kind, intensity and
// flag; spawns nothing when c < 1.
void PARTICLE_spawn(float x, float y, float z, float vx, float vy, float vz, float ground, float a, float b, float c,
                    int kind, float intensity, int flag);

// One entry of engine e's trail ring for the heat and exhaust trail drawer.
void PARTICLE_engine_emitters(float x, float y, float z, float vx, float vy, float vz, float s, float s2, float c,
                              int e);

// The engine trail state (2,000 words), cleared by a flight start.
constexpr int ENGINE_TRAIL_WORDS = 2000;
extern float engine_trail_records[ENGINE_TRAIL_WORDS];

// The smoke particles of the world, in local coordinates; a record lives while
// its age lies strictly between 0 and its life. Free records are reused, so
// the list never shrinks.
struct particle_record {
    uint8_t active;
    float x, y, z;          // m
    float vx, vy, vz;       // m/s
    float floor_y;          // the ground under the particle
    float size;             // half the side of the drawn square, m
    float growth;           // m/s
    float life;             // s
    int32_t color;          // colour-table row
    float opacity;
    float angle;            // degrees
    float age;              // s
    int32_t heavy_drag;
};
extern std::vector<particle_record> particle_list;
