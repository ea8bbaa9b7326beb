// The particle list and the forest fires.
#include "scene/effects/particles.h"

#include <GL/gl.h>

#include <cmath>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "world/fires.h"
#include "scene/view_setup.h"

fire_layout_record fire_layout{};

namespace {

constexpr float PARTICLE_CULL_MARGIN_M = 100.0f;
constexpr float FIRE_PUT_OUT_RANGE_M = 100.0f;

// Draws a particle in view; one faded or shrunk away is aged past its life.
void draw_particle(particle_record& p, float dt)
{
    p.angle += (p.vx + p.vy + p.vz) * dt;
    float alpha = (1.0f - p.age / p.life) * p.opacity;
    if (alpha < 0.01f) p.age = p.life + 1.0f;
    if (p.size < 0.1f) p.age = p.life + 1.0f;
    alpha = UTIL_clamp(alpha, 0.0f, 1.0f);
    OGL_apply_color(p.color, alpha);

    const sim_graphics_view_block& v = sim_graphics_view;
    const float theta = (sim_private_camera.phi + p.angle) * DEG_TO_RAD_FLOAT;
    const float ct = std::cos(theta), st = std::sin(theta);
    const float h = v.view_heading * DEG_TO_RAD_FLOAT, pitch = v.view_pitch * DEG_TO_RAD_FLOAT;
    const float sh = std::sin(h), ch = std::cos(h), sp = std::sin(pitch), cp = std::cos(pitch);
    const float right[3] = {ch, 0.0f, sh};
    const float up[3] = {-sp * sh, cp, sp * ch};
    const float S = p.size;
    const float corners[4][2] = {{-S, -S}, {-S, S}, {S, S}, {S, -S}};
    const float tex[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};
    for (int k = 0; k < 4; ++k) {
        const float u = corners[k][0] * ct + corners[k][1] * st;
        const float w = -corners[k][0] * st + corners[k][1] * ct;
        glTexCoord2f(tex[k][0], tex[k][1]);
        glVertex3f(p.x + u * right[0] + w * up[0], p.y + u * right[1] + w * up[1], p.z + u * right[2] + w * up[2]);
    }
}

// Ages and moves one particle; falling water puts out the fires near it.
void age_and_move(particle_record& p, float dt)
{
    p.age += dt;
    if (p.age >= p.life) p.active = 0;
    p.x += (wind_vector[0] + p.vx) * dt;
    p.y += (wind_vector[1] + p.vy) * dt;
    p.z += (wind_vector[2] + p.vz) * dt;
    const float keep = 1.0f - (p.heavy_drag ? 4.0f : 3.0f) * dt;
    p.vx *= keep, p.vy *= keep, p.vz *= keep;
    p.size += p.growth * dt;
    if (p.y < p.floor_y + p.size) {
        p.y = p.floor_y + p.size;
        const int w = UTIL_rand() * 360 / 32768;
        p.vx += degree_sin[w] * p.vy;
        p.vz += degree_cos[w] * p.vy;
        p.vy = dt * p.growth * 2.0f;
        if (p.color == PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR) p.color = 0;
    }
    if (p.color == PARTICLE_COLOR_WATER) {
        p.y -= 5.0f * dt;
        fire_table_record& f = fire_table;
        for (int k = 0; k < FIRE_COUNT; ++k) {
            const float dx = f.x[k] - p.x, dy = f.y[k] - p.y, dz = f.z[k] - p.z;
            if (std::sqrt(dx * dx + dy * dy + dz * dz) < FIRE_PUT_OUT_RANGE_M) f.burning[k] = 0;
        }
    } else if (p.color != PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR) {
        p.y += 1.0f * dt;
    }
}

void build_fire_layout()
{
    fire_layout_record& l = fire_layout;
    // Fires 1..8 stand about c(i) metres down the wind from fire 0, within
    // 40 m of that place along and across the wind. The cross-wind draws fill
    // fires 0..8 and the placement reads fires 1..9, so fire 0's draw is never
    // read and fire 9, with no offsets of its own, stands on fire 0.
    constexpr float c[FIRE_COUNT - 1] = {0.0f, 50.0f, 150.0f, 200.0f, 250.0f, 300.0f, 350.0f, 400.0f, 450.0f};
    for (int i = 1; i < FIRE_COUNT - 1; ++i) l.along[i] = UTIL_rand() * 80.0f / 32767.0f - 40.0f + c[i];
    for (int i = 0; i < FIRE_COUNT - 1; ++i) l.across[i] = UTIL_rand() * 80.0f / 32767.0f - 40.0f;
    l.along[FIRE_COUNT - 1] = l.across[FIRE_COUNT - 1] = 0.0f;
    for (int i = 0; i < FIRE_COUNT; ++i) l.phase[i] = UTIL_rand() * 12 / 32768;
    l.built = 1;
}

// The animation frame of the frame clock: ten a second through twelve. The
// remainder is taken on the float, which gives the same frame as truncating
// to a whole number first without overflowing an int on a long run; a clock
// that is no number would make the cast undefined and shows frame 0.
int fire_frame()
{
    const float tenths = frame_clock * 10.0f;
    if (!std::isfinite(tenths)) return 0;
    return static_cast<int>(std::fmod(std::fabs(tenths), 12.0f));
}

}  // namespace

ORVELL_RESET_RECORD(PARTICLE_reset, fire_layout, scene);

void PARTICLE_draw()
{
    const float dt = sim_operation_misc.frame_rate_period;
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_SMOKE, 0);
    VIEW_cull_box(PARTICLE_CULL_MARGIN_M);
    glBegin(GL_QUADS);
    for (size_t k = particle_list.size(); k-- > 0;) {
        particle_record& p = particle_list[k];
        if (!p.active) continue;
        if (p.color != PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR && VIEW_cull_visible(p.x, p.z)) draw_particle(p, dt);
        age_and_move(p, dt);
    }
    glEnd();
}

void PARTICLE_draw_fires()
{
    if (!fire_layout.built) build_fire_layout();
    fire_table_record& f = fire_table;
    const float theta = (sim_weather.wind_direction_degt[0] + 90.0f) * DEG_TO_RAD_FLOAT;
    const float s = std::sin(theta), c = std::cos(theta);
    for (int i = 1; i < FIRE_COUNT; ++i) {
        f.x[i] = f.x[0] + fire_layout.along[i] * s - fire_layout.across[i] * c;
        f.z[i] = f.z[0] - fire_layout.along[i] * c + fire_layout.across[i] * s;
    }
    for (int i = 0; i < FIRE_COUNT; ++i)
        f.y[i] = TERRAIN_height_at(f.x[i], f.z[i], nullptr, nullptr, nullptr, nullptr, nullptr, 0, "fires");

    VIEW_cull_box(PARTICLE_CULL_MARGIN_M);
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_FIRE, 0);
    const int n = fire_frame();
    for (int i = 0; i < FIRE_COUNT; ++i) {
        if (!f.burning[i] || !VIEW_cull_visible(f.x[i], f.z[i])) continue;
        const float t0 = static_cast<float>((n + fire_layout.phase[i]) % 12) / 12.0f, t1 = t0 + 0.0833f;
        glPushMatrix();
        glTranslatef(f.x[i], f.y[i], f.z[i]);
        glRotatef(-sim_graphics_view.view_heading, 0.0f, 1.0f, 0.0f);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, t0);
        glVertex3f(-35.0f, 0.0f, 0.0f);
        glTexCoord2f(0.0f, t1);
        glVertex3f(-35.0f, 52.5f, 0.0f);
        glTexCoord2f(1.0f, t1);
        glVertex3f(35.0f, 52.5f, 0.0f);
        glTexCoord2f(1.0f, t0);
        glVertex3f(35.0f, 0.0f, 0.0f);
        glEnd();
        glPopMatrix();
    }
    if (interval_ticks[INTERVAL_TWO_SECONDS]) {
        const int i = UTIL_rand() * 10 / 32768;
        PARTICLE_spawn(f.x[i], f.y[i] + 20.0f, f.z[i], 0.0f, 30.0f, 0.0f, f.y[i], 10.0f, 2.5f, 100.0f, 7, 1.0f, 0);
    }
}
