// Stand-in of the particle service until the scene's effects are built: no
// particle is drawn; each spawn is counted by kind and the last kept.
#include "scene/particles.h"
#include "scene/particles_standin.h"

float engine_trail_records[ENGINE_TRAIL_WORDS] = {};
std::vector<particle_record> particle_list;
particle_standin_record particle_standin{};

void PARTICLE_standin_clear() { particle_standin = particle_standin_record{}; }

void PARTICLE_spawn(float x, float y, float z, float vx, float vy, float vz, float ground, float a, float b, float c,
                    int kind, float intensity, int flag)
{
    if (c < 1.0f || kind < 0 || kind >= PARTICLE_STANDIN_KINDS) return;
    ++particle_standin.spawned[kind];
    particle_standin.last[kind] = {x, y, z, vx, vy, vz, ground, a, b, c, intensity, kind, flag};
}

void PARTICLE_engine_emitters(float, float, float, float, float, float, float, float, float, int e)
{
    if (e >= 0 && e < 8) ++particle_standin.emitter_entries[e];
}
