// Engine trails and wakes.
#include "scene/effects/trails.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "flightmodel/ground/surface_state.h"
#include "scene/view_setup.h"
#include "world/landuse_grid.h"
#include "world/scenery_area.h"

wake_ring wakes[WAKE_SLOTS] = {};

namespace {

constexpr float TWO_PI = 6.2831853f;
constexpr float TRAIL_CULL_MARGIN_M = 5000.0f;
constexpr float WAKE_CULL_MARGIN_M = 100.0f;

// Spacing and the half-widths of the sides and the centre, per wake.
struct wake_size {
    float spacing, side, centre;
};
constexpr wake_size wake_sizes[3] = {{75.0f, 30.0f, 40.0f}, {50.0f, 20.0f, 25.0f}, {4.0f, 2.0f, 3.0f}};

int wrap_sample(int k) { return ((k % ENGINE_TRAIL_SAMPLES) + ENGINE_TRAIL_SAMPLES) % ENGINE_TRAIL_SAMPLES; }
int wrap_segment(int k) { return ((k % WAKE_SEGMENTS) + WAKE_SEGMENTS) % WAKE_SEGMENTS; }

float random_factor(float span, float base) { return UTIL_rand() * span / 32767.0f + base; }

void rebuild_corners(engine_trail_sample& t)
{
    const float c = std::cos(-t.phase), s = std::sin(-t.phase), R = t.radius;
    const float local[4][2] = {{-R * c - R * s, -R * c + R * s},
                               {-R * c + R * s, R * c + R * s},
                               {R * c + R * s, R * c - R * s},
                               {R * c - R * s, -R * c - R * s}};
    const scenery_area_record& area = scenery_area;
    for (int k = 0; k < 4; ++k) {
        const float u = local[k][0], v = local[k][1];
        const float y = v * t.pitch_cos, zp = v * t.pitch_sin;
        float* out = t.corners[k];
        out[0] = u * t.yaw_cos - zp * t.yaw_sin + t.pos[0];
        out[1] = y + t.pos[1];
        out[2] = zp * t.yaw_cos + u * t.yaw_sin + t.pos[2];
        if (!(out[0] >= area.x0 && out[0] <= area.x1) || !(out[2] >= area.z0 && out[2] <= area.z1)) t.valid = 0;
    }
}

// The cells beside the aircraft's own one lie past the grid's edge when it
// sits on the last row or column: such a cell reads the edge cell instead of
// memory past the grid.
bool water_at(int i, int j)
{
    i = std::clamp(i, 0, TERRAIN_GRID_ROWS - 1);
    j = std::clamp(j, 0, TERRAIN_GRID_COLS - 1);
    const int32_t code = landuse_grid[i * TERRAIN_GRID_COLS + j];
    return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B;
}

// The user's aircraft sits on water: its cell or one of the three cells beside it.
bool user_on_water()
{
    const int i = flt[0].i, j = flt[0].j;
    return water_at(i, j) || water_at(i, j + 1) || water_at(i + 1, j + 1) || water_at(i + 1, j);
}

void emit_segment(wake_ring& w, const wake_size& d, float x, float z, float speed, float heading)
{
    w.last_x = x;
    w.last_z = z;
    w.head = wrap_segment(w.head + 1);
    const float v = 0.25f * speed, o = 0.3f * d.spacing;
    const float s = std::sin(heading * DEG_TO_RAD_FLOAT), c = std::cos(heading * DEG_TO_RAD_FLOAT);
    wake_point* p = w.points[w.head];
    p[0] = {x + o * c, z + o * s, -v * c, -v * s, d.side * s, d.side * c, 0.0f};
    p[1] = {x, z, 0.0f, 0.0f, d.centre * s, d.centre * c, 0.0f};
    p[2] = {x - o * c, z - o * s, v * c, v * s, d.side * s, d.side * c, 0.0f};
    w.live[w.head] = 1;
}

}  // namespace

void TRAILS_reset()
{
    for (wake_ring& w : wakes) w = wake_ring{};
}
ORVELL_RESET(TRAILS_reset, scene);

void PARTICLE_draw_engine_trails()
{
    const float dt = sim_operation_misc.frame_rate_period;
    // Below 4 m/s the trails drift 4 m/s down the wind; a wind that is no
    // number would carry every sample to no place, so it drifts the same way.
    float drift[3] = {wind_vector[0], wind_vector[1], wind_vector[2]};
    if (!(std::sqrt(drift[0] * drift[0] + drift[1] * drift[1] + drift[2] * drift[2]) >= 4.0f)) {
        const float d = sim_weather.wind_direction_degt[0] * DEG_TO_RAD_FLOAT;
        drift[0] = -4.0f * std::sin(d);
        drift[2] = 4.0f * std::cos(d);
    }
    VIEW_cull_box(TRAIL_CULL_MARGIN_M);
    const bool seen = VIEW_cull_visible(flt[0].local_x, flt[0].local_z);
    // The count comes from the aircraft file: held to the eight rings so that
    // no index runs past them.
    const int engines = std::clamp(pln[0].acf_num_engines, 0, ENGINE_TRAIL_STREAMS);

    if (seen && !sim_time.paused) {
        for (int e = 0; e < engines; ++e)
            for (engine_trail_sample& t : engine_trails[e].samples) {
                if (!t.valid) continue;
                t.age += dt;
                if (t.age > t.life) t.valid = 0;
                for (int k = 0; k < 3; ++k) t.pos[k] += (t.vel[k] + drift[k]) * dt;
                const float keep = 1.0f - 3.0f * dt;
                for (float& v : t.vel) v *= keep;
                t.radius += random_factor(0.5f, 0.75f) * t.growth * dt;
                t.phase = UTIL_wrap_floor(t.phase + random_factor(0.5f, 0.75f) * t.spin * dt, TWO_PI);
                t.pos[1] = std::max(t.pos[1], start_ground_y + t.radius);
                rebuild_corners(t);
            }
    }

    // The whole pass, its GL state included, acts only while the user's
    // aircraft is in view.
    if (!seen) return;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    const float g = gload_dim_factor;
    for (int e = 0; e < engines; ++e) {
        const engine_trail_ring& ring = engine_trails[e];
        for (int j = 0; j < ENGINE_TRAIL_SAMPLES; ++j) {
            const engine_trail_sample& t = ring.samples[j];
            const engine_trail_sample& n = ring.samples[wrap_sample(j + 1)];
            if (!t.valid || !n.valid) continue;
            const float f = t.age / (t.life + 0.01f);
            const float a = f < 0.04f ? 25.0f * f : 1.04f - f;
            glColor4f(g, g * (1.0f - f), 0.0f, 0.25f * a);
            glBegin(GL_LINE_STRIP);
            for (int k : {0, 1, 2, 3, 0}) glVertex3fv(t.corners[k]);
            glEnd();
            glBegin(GL_LINES);
            for (int k = 0; k < 4; ++k) {
                glVertex3fv(t.corners[k]);
                glVertex3fv(n.corners[k]);
            }
            glEnd();
        }
    }
}

void PARTICLE_draw_wakes(int wake, float x, float y, float z, float speed, float heading)
{
    // Only wakes 0-2 have dimensions; any other index would read past the
    // dimension table and the wake slots: it draws nothing.
    if (wake < 0 || wake > 2) return;
    const scenery_area_record& area = scenery_area;
    if (!(x >= area.x0 && x <= area.x1 && z >= area.z0 && z <= area.z1)) return;
    wake_ring& w = wakes[wake];
    const wake_size& d = wake_sizes[wake];
    const float D = std::hypot(x - w.last_x, z - w.last_z);
    if (D > 10.0f * d.spacing)
        for (int32_t& live : w.live) live = 0;

    const flt_struct& user = flt[0];
    const bool may_emit = wake != WAKE_USER || (user.onground_any && user_on_water());
    if (may_emit && D > d.spacing) emit_segment(w, d, x, z, speed, heading);
    if (wake == WAKE_USER) {
        const surface_state_record& s = surface_state;
        if (!user.onground_any || s.on_carrier || s.on_frigate || s.flat_surface_on)
            w.live[wrap_segment(w.head)] = 0;
    }

    const float dt = sim_operation_misc.frame_rate_period;
    if (!sim_time.paused)
        for (auto& segment : w.points) {
            for (int p : {0, 2}) {
                segment[p].x += segment[p].vx * dt;
                segment[p].z += segment[p].vz * dt;
            }
            for (wake_point& p : segment) p.age += dt;
        }

    VIEW_cull_box(WAKE_CULL_MARGIN_M);
    OGL_bind_tex(TEX_SLOT_WAKE, 0);
    glBegin(GL_QUADS);
    const sim_graphics_view_block& v = sim_graphics_view;
    if (std::hypot(v.view_x - x, v.view_z - z) < v.visibility_terrain_m + 1000.0f) {
        // A slow owner fades its wake over a longer time; one that does not move
        // never fades it. A negative speed would make the fade time negative and
        // the alpha no number: such a wake is drawn unfaded.
        const float fade = 30.0f * d.spacing / speed;
        constexpr float s_range[3][2] = {{1.0f, 0.5f}, {0.0f, 0.5f}, {0.5f, 1.0f}};
        const int head = wrap_segment(w.head);
        for (int p = 0; p < 3; ++p)
            for (int k = 0; k < WAKE_SEGMENTS; ++k) {
                if (k == head || !w.live[k]) continue;
                const wake_point& a = w.points[k][p];
                const wake_point& b = w.points[wrap_segment(k + 1)][p];
                const float alpha = fade > 0.0f ? UTIL_clamp(1.0f - std::sqrt(a.age / fade), 0.0f, 1.0f) : 1.0f;
                if (!VIEW_cull_visible(a.x, a.z) && !VIEW_cull_visible(b.x, b.z)) continue;
                OGL_apply_color(0, alpha);
                glTexCoord2f(s_range[p][0], 0.0f);
                glVertex3f(a.x - a.half_cos, y, a.z - a.half_sin);
                glTexCoord2f(s_range[p][0], 1.0f);
                glVertex3f(b.x - b.half_cos, y, b.z - b.half_sin);
                glTexCoord2f(s_range[p][1], 1.0f);
                glVertex3f(b.x + b.half_cos, y, b.z + b.half_sin);
                glTexCoord2f(s_range[p][1], 0.0f);
                glVertex3f(a.x + a.half_cos, y, a.z + a.half_sin);
            }
    }
    glEnd();
}
