#include "flightmodel/effects/engine_trail_list.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "flightmodel/flt.h"

engine_trail_ring engine_trails[ENGINE_TRAIL_STREAMS] = {};
float start_ground_y = 0.0f;

namespace {

int wrap_sample(int k) { return ((k % ENGINE_TRAIL_SAMPLES) + ENGINE_TRAIL_SAMPLES) % ENGINE_TRAIL_SAMPLES; }

float random_factor(float span, float base) { return UTIL_rand() * span / 32767.0f + base; }

// How fast an engine's trail turns: a propeller's (engine types 0-3 and 8) by
// its wash swirl over its radius and its turning direction, any other engine a
// fixed turn away from the centre line (none on it). A propeller part of no
// radius would divide by zero and give the samples a phase that is no number:
// its trail does not turn.
float engine_spin(int e)
{
    const acf_struct& a = pln[0];
    if (ACF_engine_has_prop(0, e)) {
        const float radius = a.acf_semilen_SEG[e];
        if (!(radius > 0.0f)) return 0.0f;
        const float spin = std::fabs(flt[0].POINT_side_wash[e]) / radius * (a.acf_prop_dir[e] < 0.0f ? -1.0f : 1.0f);
        return std::isfinite(spin) ? spin : 0.0f;
    }
    const float arm = a.acf_Xarm[e];
    if (!(std::fabs(arm) > 0.01f)) return 0.0f;
    return -1.5f * (arm < 0.0f ? -1.0f : 1.0f);
}

}  // namespace

void PARTICLE_clear_engine_trails()
{
    for (engine_trail_ring& r : engine_trails) r = engine_trail_ring{};
    start_ground_y = 0.0f;
}
ORVELL_RESET(PARTICLE_clear_engine_trails, flight);

void PARTICLE_engine_emitters(float x, float y, float z, float vx, float vy, float vz, float radius, float growth,
                              float life, int engine)
{
    // An engine index outside 0..7 would write past the eight rings: it records nothing.
    if (!(radius >= 0.01f) || engine < 0 || engine >= ENGINE_TRAIL_STREAMS) return;
    const float spin = engine_spin(engine);
    engine_trail_ring& ring = engine_trails[engine];
    const int h = wrap_sample(ring.head);
    const int previous = wrap_sample(h - 1), next = wrap_sample(h + 1);
    ring.head = next;
    engine_trail_sample& t = ring.samples[h];
    t.valid = 1;
    ring.samples[next].valid = 0;
    t.age = 0.0f;
    t.life = life;
    t.pos[0] = x, t.pos[1] = y, t.pos[2] = z;
    t.vel[0] = vx, t.vel[1] = vy, t.vel[2] = vz;

    float yaw = 0.0f, pitch = 0.0f;
    const engine_trail_sample& p = ring.samples[previous];
    if (p.valid) {
        const float dx = x - p.pos[0], dy = y - p.pos[1], dz = z - p.pos[2];
        yaw = std::atan2(-dx, dz);
        // atan(-dy / horizontal distance), which atan2 gives too, and gives an
        // angle where both are 0 (two samples at one place) instead of a 0/0.
        pitch = std::atan2(-dy, std::sqrt(dx * dx + dz * dz));
    }
    t.yaw_sin = std::sin(yaw), t.yaw_cos = std::cos(yaw);
    t.pitch_sin = std::sin(pitch), t.pitch_cos = std::cos(pitch);

    t.growth = random_factor(0.5f, 0.75f) * growth;
    t.radius = random_factor(1.0f, 0.5f) * radius;
    t.spin = spin;
    t.phase = random_factor(0.2f, -0.1f);
}
