// The scene pass ages the particles once a frame and frees those past their
// life. Benchmarks that run the simulation without drawing expire them here
// instead, so the list the plane step spawns into holds what a running
// program's list holds rather than every particle since the start.
#pragma once

#include "scene/effects/particles.h"

namespace bench {

inline void expire_particles(float dt)
{
    for (particle_record& p : particle_list) {
        if (!p.active) continue;
        p.age += dt;
        if (p.age >= p.life) p.active = 0;
    }
}

}  // namespace bench
