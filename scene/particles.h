// The particle service of the scene: smoke, spray, dust and exhaust puffs the
// flight model spawns, and the trail ring of each engine's heat and exhaust.
#pragma once

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
