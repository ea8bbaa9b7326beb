#include "flightmodel/effects/particle_list.h"

#include "core/random.h"
#include "core/reset_registry.h"

std::vector<particle_record> particle_list;
ORVELL_RESET_RECORD(PARTICLE_list_reset, particle_list, scene);

namespace {

// A factor 0.85..1.15 from a fresh random number.
float variation() { return UTIL_rand() * 0.3f / 32767.0f + 0.85f; }

}  // namespace

void PARTICLE_spawn(float x, float y, float z, float vx, float vy, float vz, float floor_y, float size, float growth,
                    float life, int color, float opacity, int heavy_drag)
{
    if (!(life >= 1.0f)) return;   // also refuses a life that is no number, which would never end
    particle_record* p = nullptr;
    for (particle_record& r : particle_list)
        if (!r.active) {
            p = &r;
            break;
        }
    if (!p) p = &particle_list.emplace_back(particle_record{});
    const float kv = variation();
    const float ks = variation();
    const float kg = UTIL_rand() * 0.1f / 32767.0f + 0.1f;
    const float kl = variation();
    const float angle = UTIL_rand() * 360.0f / 32767.0f;
    *p = particle_record{};
    p->active = 1;
    p->x = x, p->y = y, p->z = z;
    p->vx = vx * kv, p->vy = vy * kv, p->vz = vz * kv;
    p->floor_y = floor_y;
    p->size = size * ks;
    p->growth = size * growth * kg;
    p->life = life * kl;
    p->color = color;
    p->opacity = opacity;
    p->angle = angle;
    p->age = 0.0f;
    p->heavy_drag = heavy_drag;
}
