// What the stand-in particle service keeps of the particles spawned: how many
// of each kind and the last one of each kind, and the engine trail entries.
#pragma once

constexpr int PARTICLE_STANDIN_KINDS = 64;

struct particle_standin_spawn {
    float x, y, z, vx, vy, vz, ground, a, b, c, intensity;
    int kind, flag;
};

struct particle_standin_record {
    int spawned[PARTICLE_STANDIN_KINDS];               // by kind (kinds outside 0..63 are not counted)
    particle_standin_spawn last[PARTICLE_STANDIN_KINDS];
    int emitter_entries[8];                            // trail entries per engine
};
extern particle_standin_record particle_standin;
void PARTICLE_standin_clear();
