// An airport's beacon tower with its turning light, its windsocks and the
// lights of its runways: edge and centre lights by colour, approach-slope
// lights white above their glide angle and red below, sequenced flashers and
// strobes.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/airport_draw.h"
#include "scene/airport/worldobj.h"
#include "world/apt_scene.h"

namespace {

constexpr float BEACON_TOWER_M = 20.0f;
constexpr int LIGHT_PLAIN = 105;
constexpr int LIGHT_HALO = 107;

float random_entry(int index)
{
    int i = index % RANDOM_TABLE_SIZE;
    if (i < 0) i += RANDOM_TABLE_SIZE;
    return random_table[i];
}

// The colour-table row of a light code. A code from the scenery file outside
// the table would read past its end: such a code takes row 0, as every colour does.
const float* row_colour(int code) { return colour_table[code >= 0 && code < COLOUR_ROWS ? code : 0]; }

double sphere_radius(const airport_record& a) { return static_cast<double>(sim_physics.earth_radius_m) + a.elevation; }

float signed_square(float w) { return w * std::fabs(w); }

void beacon(const airport_record& a, int airport_index)
{
    if (!(std::fabs(a.beacon_lat) > 0.01f || std::fabs(a.beacon_lon) > 0.01f)) return;
    float p[3];
    AIRPORT_on_sphere(a.beacon_lat, a.beacon_lon, sphere_radius(a), p);
    const float x = p[0], foot = p[1], z = p[2];
    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    // A triangular lattice narrowing upward, its bays in alternating colours.
    glBegin(GL_LINE_STRIP);
    int bay = 0;
    for (float y = foot; y < foot + BEACON_TOWER_M; y += 2.0f, ++bay) {
        OGL_apply_color(bay % 2 == 0 ? 23 : 14, 1.0f);
        const float f = 0.5f - 0.3f * (y - foot) / BEACON_TOWER_M;
        const float front[2] = {x, z + 5.0f * f}, left[2] = {x - 4.33f * f, z - 2.5f * f},
                    right[2] = {x + 4.33f * f, z - 2.5f * f};
        const float top = y + 2.0f;
        const struct {
            const float* c;
            float y;
        } steps[10] = {{front, top}, {left, y},  {left, top},  {right, y},     {right, top},
                       {front, y},   {front, top}, {left, top}, {right, top}, {front, top}};
        for (const auto& s : steps) glVertex3f(s.c[0], s.y, s.c[1]);
    }
    glEnd();

    if (!(sim_graphics_scenery.percent_lights_on > 0.0f)) return;
    const float t = static_cast<float>(airport_index) + sim_time.total_running_time_sec;
    const float q1 = signed_square(std::sin(t)), q2 = signed_square(std::sin(2.0f * t));
    float r = q1 < 0.0f ? 0.0f : 1.0f, g = 1.0f, b = q1 < 0.0f ? 0.0f : 1.0f, alpha = std::fabs(q1);
    switch (a.beacon_type) {
    case 2: r = 1.0f; break;
    case 3:
        if (q1 < 0.0f) {
            if (q2 > 0.0f) r = 1.0f;
            alpha = std::fabs(q2);
        }
        break;
    case 4:
        if (q1 > 0.0f) alpha = std::fabs(q2);
        break;
    case 5:
        r = g = b = 1.0f;
        alpha = interval_ticks[INTERVAL_HALF_SECOND] ? 1.0f : 0.0f;
        break;
    default: break;
    }
    OGL_lights_begin(0);
    OGL_lights_frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    OGL_draw_light(x, foot + 23.0f, z, r, g, b, alpha, 4.0f, -1, airport_index, LIGHT_PLAIN);
    OGL_lights_end();
}

void windsock(const airport_record& a, const windsock_record& w)
{
    float p[3];
    AIRPORT_on_sphere(w.lat, w.lon, sphere_radius(a), p);
    glPushMatrix();
    glTranslatef(p[0], p[1] + 5.0f, p[2]);
    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_apply_color(21, 1.0f);
    glBegin(GL_LINES);
    glVertex3f(0.0f, -5.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    OGL_set_state(STATE_FOG_ON, 1, w.lit ? STATE_LIGHTING_OFF : STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON,
                  STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    const float wind = std::hypot(wind_vector[0], wind_vector[2]);
    const float flutter = 0.5f * wind * std::sin(2.0f * sim_time.total_running_time_sec);
    const float direction = std::atan2(wind_vector[0], wind_vector[2]) / DEG_TO_RAD_FLOAT;
    const float droop = UTIL_clamp(wind * 9.0f - 90.0f, -90.0f, 0.0f);
    glRotatef(direction + flutter, 0.0f, 1.0f, 0.0f);
    glRotatef(flutter + droop, -1.0f, 0.0f, 0.0f);
    glRotatef(flutter, 0.0f, 0.0f, 1.0f);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUAD_STRIP);
    for (int deg = 0; deg <= 360; deg += 45) {
        const float s = degree_sin[deg], c = degree_cos[deg];
        const float t = deg / 1440.0f + 0.25f;
        glNormal3f(s, c, 0.0f);
        glTexCoord2f(0.75f, t);
        glVertex3f(0.6f * s, 0.6f * c, 0.5f);
        glTexCoord2f(1.0f, t);
        glVertex3f(0.2f * s, 0.2f * c, 2.5f);
    }
    glEnd();
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}

// The brightness of an airport's runway lights from its light state, which
// above 9 follows the light of the day and the airport's own random entry.
float runway_brightness(int n, int airport_index)
{
    int32_t& state = near_airport_light_state[n];
    if (state > 9)
        state = sim_graphics_scenery.percent_lights_on <= 0.0f
                    ? 10
                    : 11 + static_cast<int32_t>(std::lround(3.0f * random_entry(airport_index)));
    switch (state % 10) {
    case 0: return 0.0f;
    case 1: return 0.6f;
    case 2: return 0.8f;
    case 3: return 1.0f;
    default: return 0.5f;
    }
}

// Which of the ten places along its run a sequenced flasher shows now.
int flasher_step()
{
    const double tenths = std::round(10.0 * static_cast<double>(sim_network_misc.network_time_sec));
    // A clock that is no number would make the step NaN and its cast to int
    // undefined: the flasher then stays on its first place.
    if (!std::isfinite(tenths)) return 0;
    const double n = std::fmod(tenths, 10.0);
    return static_cast<int>(n < 0.0 ? n + 10.0 : n);
}

void runway_lights(const airport_record& a, int n, int airport_index)
{
    const float b = runway_brightness(n, airport_index);
    const sim_graphics_view_block& v = sim_graphics_view;
    const float lift = worldobj_state.lift;
    glPushMatrix();
    glTranslatef(-lift * v.view_heading_sin * v.view_pitch_cos, -lift * v.view_pitch_sin,
                 lift * v.view_heading_cos * v.view_pitch_cos);
    OGL_lights_begin(0);
    OGL_lights_frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    const int step = flasher_step();
    for (size_t r = 0; r < a.runways.size(); ++r) {
        // A runway whose geometry index lies outside the geometry table would be
        // read past the table's end: it shows no lights.
        const runway_geometry_record* g = APT_runway_geometry(a, static_cast<int>(r));
        if (!g) continue;
        const runway_record& rw = a.runways[r];
        const int facing = std::fabs(UTIL_wrap_nearest(v.view_heading - rw.heading, 360.0f)) >= 90.0f ? 1 : 0;
        for (size_t j = 0; j < g->lights.size(); ++j) {
            const runway_light& l = g->lights[j];
            int code = l.kind, direction = 2;
            if (code >= 2000) {
                code -= 2000;
                direction = 1;
            }
            if (code >= 1000) {
                code -= 1000;
                direction = 0;
            }
            if (direction != 2 && direction != facing) continue;
            const int flicker = static_cast<int>(j);
            const float slope = WORLDOBJ_slope_angle(code);
            if (slope > 0.0f) {
                const float dx = v.view_x - l.x, dz = v.view_z - l.z;
                // atan2 gives atan(height / distance), and an angle too where the
                // distance is 0 (the camera straight above the light).
                const float elevation = std::atan2(v.view_y - l.y, std::sqrt(dx * dx + dz * dz)) / DEG_TO_RAD_FLOAT;
                const bool white = elevation >= slope;
                OGL_draw_light(l.x, l.y, l.z, 1.0f, white ? 1.0f : 0.0f, white ? 1.0f : 0.0f, 1.0f, 2.0f, -1, flicker,
                               LIGHT_HALO);
                continue;
            }
            if (!(b > 0.0f)) continue;
            if (code == LIGHT_SINGLE_APPROACH) {
                const float h = (facing * 180.0f + rw.heading) * DEG_TO_RAD_FLOAT;
                const float d = 50.0f * static_cast<float>(step);
                OGL_draw_light(l.x + std::sin(h) * d, l.y, l.z - std::cos(h) * d, 1.0f, 1.0f, 1.0f, 1.0f, 3.0f, -1,
                               flicker, LIGHT_HALO);
            }
            if (code == LIGHT_THRESHOLD_OUTER && interval_ticks[INTERVAL_HALF_SECOND])
                OGL_draw_light(l.x, l.y, l.z, 1.0f, 1.0f, 1.0f, 1.0f, 6.0f, -1, flicker, LIGHT_HALO);
            const float* c = row_colour(code);
            const int type = code == LIGHT_CENTRELINE || code == LIGHT_CENTRELINE_END ? LIGHT_PLAIN : LIGHT_HALO;
            OGL_draw_light(l.x, l.y, l.z, c[0], c[1], c[2], b, 1.0f, -1, flicker, type);
        }
    }
    OGL_lights_end();
    glPopMatrix();
}

}  // namespace

void AIRPORT_draw_lights(int n)
{
    int airport_index = -1;
    const airport_record* a = APT_near_airport(n, airport_index);
    if (!a) return;
    beacon(*a, airport_index);
    for (const windsock_record& w : a->windsocks) windsock(*a, w);
    runway_lights(*a, n, airport_index);
}
