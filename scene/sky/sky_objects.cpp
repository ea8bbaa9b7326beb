// The sun, moon, stars and meteors; the thermals; the lightning bolt.
//
// Reads: the camera and view angles, visibility_effective_m, the sun and moon
// positions and elevations, the user's latitude, the day of the year, the
// planet, the meteorite density, sun_glare, the cockpit light levels, the
// frame period and the ten-second flag; the star lists; the thermal settings,
// the terrain grid and window, scene_cockpit_light_rgb, the random table; the
// lightning strike. Writes: sky_meteor.
#include "scene/sky/sky_objects.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/weather.h"
#include "graphics/lights.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/scene_state.h"
#include "scene/sky/star_field.h"
#include "world/terrain_grid.h"

meteor_record sky_meteor;

namespace {

constexpr float BODY_DISTANCE_M = 10000.0f;
constexpr int MOON_PHASES_USED = 22;
constexpr int LIGHTNING_COLOUR = 109;

float clamp01(float v) { return UTIL_clamp_nan_low(v, 0.0f, 1.0f); }

// One body at its place on the sky, its disc and, while the sun glares, the halo.
void body(float azimuth, float declination, float half, int slot, int row, float alpha, float s0, float s1, float t0,
          float t1)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const float lat = flt[0].latitude;
    // Angles that are no number would turn the matrix into no numbers and the
    // quad would land anywhere on the screen: such a body is not drawn.
    if (!std::isfinite(azimuth) || !std::isfinite(declination) || !std::isfinite(lat)) return;
    glPushMatrix();
    glTranslatef(v.view_x, v.view_y, v.view_z);
    glRotatef(lat, 1.0f, 0.0f, 0.0f);
    glRotatef(azimuth, 0.0f, 0.0f, 1.0f);
    glRotatef(-declination, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, BODY_DISTANCE_M, 0.0f);
    glRotatef(declination, 1.0f, 0.0f, 0.0f);
    glRotatef(-azimuth, 0.0f, 0.0f, 1.0f);
    glRotatef(-lat, 1.0f, 0.0f, 0.0f);
    glRotatef(-v.view_heading, 0.0f, 1.0f, 0.0f);
    glRotatef(v.view_pitch, 1.0f, 0.0f, 0.0f);
    const tex_quad_corner disc[4] = {{-half, -half, s0, t0}, {-half, half, s0, t1}, {half, half, s1, t1}, {half, -half, s1, t0}};
    OGL_draw_tex_quad(slot, row, alpha, disc, 1, STATE_BLEND);
    if (sun_glare > 0.0f) {
        const float h = 5.0f * half;
        const tex_quad_corner halo[4] = {{-h, -h, 0.5f, 0.0f}, {-h, h, 0.5f, 1.0f}, {h, h, 1.0f, 1.0f}, {h, -h, 1.0f, 0.0f}};
        OGL_draw_tex_quad(TEX_SLOT_LIGHTS, 49, sun_glare, halo, 1, STATE_BLEND);
    }
    glPopMatrix();
}

}  // namespace

void SKYOBJ_reset()
{
    sky_meteor = meteor_record{};
}
ORVELL_RESET(SKYOBJ_reset, scene);

int SKYOBJ_meteor_threshold(int32_t density)
{
    switch (density) {
    case 1: return 600;
    case 2: return 300;
    case 3: return 150;
    case 4: return 30;
    default: return 300;
    }
}

// A negative day would give a remainder below 0 and a slot before the moon
// pictures: the remainder is taken into 0..21.
int SKYOBJ_moon_slot(int32_t day)
{
    return TEX_SLOT_MOON_FIRST + ((day % MOON_PHASES_USED) + MOON_PHASES_USED) % MOON_PHASES_USED;
}

void SKYOBJ_draw_sun_moon_stars(float r, float g, float b, float x0, float y0, float x1, float y1)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const sim_graphics_scenery_block& sky = sim_graphics_scenery;
    const float vis_nm = v.visibility_effective_m / UNIT.nm_to_mtrs;
    const float gd = gload_dim_factor;

    // 1. The stars come out once the sky is dark enough.
    const float s = r + g + b;
    const float a = (1.0f - 2.0f * s) * clamp01(0.1f * vis_nm);
    if (a > r || a > g || a > b) {
        // 2.
        OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        glPushMatrix();
        glTranslatef(v.view_x, v.view_y, v.view_z);
        static constexpr float SHARE[STAR_LIST_COUNT] = {0.8f, 0.6f, 0.4f, 0.2f};
        glBegin(GL_POINTS);
        for (int k = 0; k < STAR_LIST_COUNT; ++k) {
            glColor4f(gd, gd, gd, SHARE[k] * a);
            if (star_lists[k] != 0) glCallList(star_lists[k]);
        }
        glEnd();

        // 3. Now and then a meteor starts.
        meteor_record& m = sky_meteor;
        if (interval_ticks[INTERVAL_TEN_SECONDS]) {
            const int q = UTIL_rand();
            if (static_cast<float>(SKYOBJ_meteor_threshold(sim_weather.meteorite_density)) * q / UTIL_RAND_MAX < 10.0f) {
                const float q1 = static_cast<float>(UTIL_rand()), q2 = static_cast<float>(UTIL_rand());
                const float q3 = static_cast<float>(UTIL_rand()), q4 = static_cast<float>(UTIL_rand());
                m.mx = x0 + (x1 - x0) * q1 / UTIL_RAND_MAX;
                m.dx = 32.0f * q2 / UTIL_RAND_MAX - 16.0f;
                m.my = y0 + (y1 - y0) * q3 / UTIL_RAND_MAX;
                m.dy = 12.0f * q4 / UTIL_RAND_MAX - 16.0f;
                m.t = 0.0f;
            }
        }
        // 4. It moves by its step every frame for 2 seconds.
        if (m.t < 2.0f) {
            m.mx += m.dx, m.my += m.dy;
            m.t += sim_operation_misc.frame_rate_period;
            float c[3] = {gd, gd, gd};
            if (std::fabs(m.t - 1.0f) < 1.0f) {
                c[0] *= sim_graphics_misc.cockpit_light_level_r;
                c[1] *= sim_graphics_misc.cockpit_light_level_g;
                c[2] *= sim_graphics_misc.cockpit_light_level_b;
            }
            glColor4f(c[0], c[1], c[2], 1.0f);
            glBegin(GL_LINES);
            glVertex3f(m.mx, m.my, 0.0f);
            glVertex3f(m.mx + m.dx, m.my + m.dy, 0.0f);
            glEnd();
        }
        // 5.
        glPopMatrix();
    }

    // 6. How bright the bodies are.
    const float sun = clamp01((vis_nm - 3.0f) * 0.5f) * clamp01((scene_sun_elevation + 5.0f) * 0.1f);
    const float moon = sky.current_planet == PLANET_MARS
                           ? 0.0f
                           : clamp01((vis_nm - 3.0f) / 7.0f) * clamp01((scene_moon_elevation + 5.0f) * 0.1f) *
                                 clamp01(1.0f - 0.4f * s);
    // 7.
    if (sun > 0.01f)
        body(sky.sun_azimuth, sky.sun_declination, sky_meteor.sun_half_m, TEX_SLOT_LIGHTS, 108, sun, 0.0f, 0.25f, 0.5f,
             1.0f);
    if (moon > 0.01f)
        body(sky.moon_azimuth, sky.moon_declination, sky_meteor.moon_half_m, SKYOBJ_moon_slot(sim_time.local_date_days),
             49, moon, 0.0f, 1.0f, 0.0f, 1.0f);
}

void SKYOBJ_draw_thermals()
{
    const sim_weather_block& wx = sim_weather;
    const sim_graphics_view_block& v = sim_graphics_view;
    if (!(wx.thermal_percent >= 0.01f)) return;
    const float top_m = wx.thermal_altitude_msl_m * UNIT.ft_to_mtrs;
    // A thermal top that is no number would put every sprite at no height,
    // anywhere on the screen: none is drawn.
    if (!std::isfinite(top_m)) return;

    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_CUMULUS, 0);

    const int p = WORLD_planet();
    const float R = UTIL_clamp_nan_low(v.visibility_effective_m, 0.0f, max_visibility_m[p]);
    if (!(R > 0.0f)) return;   // no sprite could pass f < 1: the same as visiting every cell
    const int n = SCENE_GRID_ROWS[p];
    const float w = 0.75f * (terrain_vertex_grid[0].z - terrain_vertex_grid[static_cast<size_t>(n - 1)].z) / static_cast<float>(n);
    const float H = 4.0f * w;
    const float gd = gload_dim_factor;

    // Only the cells of the terrain window. A window reaching past the grid
    // would read grid points past its end: it is held to the grid.
    const terrain_window_record& tw = terrain_window;
    const int c0 = std::max(tw.first_column, 0), c1 = std::min(tw.last_column, SCENE_GRID_COLUMNS[p]);
    const int r0 = std::max(tw.first_row, 0), r1 = std::min(tw.last_row, SCENE_GRID_ROWS[p]);
    for (int c = c0; c < c1; ++c)
        for (int r = r0; r < r1; ++r) {
            if (!(random_table[static_cast<size_t>((int64_t(r) * c) % RANDOM_TABLE_SIZE)] < wx.thermal_percent)) continue;
            const size_t k = size_t(c) * TERRAIN_GRID_COLS + size_t(r);
            const terrain_vertex& A = terrain_vertex_grid[k];
            const terrain_vertex& B = terrain_vertex_grid[k + TERRAIN_GRID_COLS + 1];
            const float x = 0.5f * (A.x + B.x), z = 0.5f * (A.z + B.z), y = 0.5f * (A.y + B.y) + top_m;
            const float ddx = v.view_x - x, ddz = v.view_z - z;
            const float f = (ddx * ddx + ddz * ddz) / (R * R);
            if (!(f < 1.0f)) continue;
            glColor4f(scene_cockpit_light_rgb[0] * gd, scene_cockpit_light_rgb[1] * gd, scene_cockpit_light_rgb[2] * gd,
                      1.0f - f);
            float yaw = std::atan2(-ddx, ddz) * RAD_TO_DEG_FLOAT;
            const float D = std::sqrt(ddx * ddx + ddz * ddz);
            if (D < H) yaw += UTIL_wrap_180(v.view_heading - yaw) * UTIL_clamp(1.0f - (D - w) / (H - w), 0.0f, 1.0f);
            const int cell = (c + r) % 6;
            SKYOBJ_draw_cumulus_cell(x, y, z, yaw, v.view_pitch, w, w, cell);
        }
}

void SKYOBJ_draw_cumulus_cell(float x, float y, float z, float yaw_deg, float pitch_deg, float half_w, float half_h,
                              int cell)
{
    // The cumulus picture holds six clouds in two columns of three rows.
    static constexpr float T[4] = {0.0f, 0.3262f, 0.6875f, 1.0f};
    const float s0 = cell < 3 ? 0.0f : 0.5f, s1 = s0 + 0.5f;
    const float t0 = T[cell % 3], t1 = T[cell % 3 + 1];
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(-yaw_deg, 0.0f, 1.0f, 0.0f);
    glRotatef(pitch_deg, 1.0f, 0.0f, 0.0f);
    OGL_flat_quad_tex(half_w, half_h, s0, t0, s1, t1);
    glPopMatrix();
}

// The bolt record is the weather stage's and keeps the weather step's names:
// lightning_flash is the bolt's active flag (bolt_active), lightning_flash_end
// its bolt_end_time, lightning_bolts its bolt_points, four branches of 20.
void SKYOBJ_draw_lightning()
{
    const auto& bolts = weather_stage.lightning_bolts;
    // A point of no number would send a line to no place, which the renderer
    // may draw as a streak across the whole screen: such a bolt is not drawn.
    for (const auto& branch : bolts)
        for (const auto& point : branch)
            for (const float c : point)
                if (!std::isfinite(c)) return;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    if (draw_to_pixel_buffer) {
        OGL_row_to_bytes(LIGHTNING_COLOUR, pixel_byte_colour);
    } else {
        const float g = gload_dim_factor;
        glColor3f(colour_table[LIGHTNING_COLOUR][0] * g, colour_table[LIGHTNING_COLOUR][1] * g,
                  colour_table[LIGHTNING_COLOUR][2] * g);
    }
    glBegin(GL_LINES);
    for (const auto& branch : bolts)
        for (int p = 0; p + 1 < LIGHTNING_BOLT_POINTS; ++p) {
            glVertex3fv(branch[p]);
            glVertex3fv(branch[p + 1]);
        }
    glEnd();
}
