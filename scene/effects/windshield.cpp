// The windshield of the cockpit views: how strongly the sun dazzles the pilot
// (sun_glare, also read by the overlay and the sun drawer), and over the
// window rectangle the damage marks of impacts, the sunlit scratches and the
// frost.
#include <algorithm>
#include <cmath>

#include <GL/gl.h>

#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/sound.h"
#include "scene/effects/overlay.h"
#include "scene/scene_state.h"
#include "scene/view_effects.h"

namespace {

constexpr int MARKS_MAX = 50;
constexpr int ROW_MARK = 21;
constexpr int ROW_FROST = 7;
constexpr int ROW_GLARE = 112;

struct windshield_state {
    int32_t count = 0;
    float x[MARKS_MAX] = {}, y[MARKS_MAX] = {}, size[MARKS_MAX] = {}, angle[MARKS_MAX] = {};
    float ice_t_extent = 0.0f;
    int32_t ice_extent_done = 0;
};
windshield_state ws;

}  // namespace

void VIEW_windshield_reset() { ws = windshield_state{}; }
ORVELL_RESET(VIEW_windshield_reset, scene);

namespace {

float unit_random() { return static_cast<float>(UTIL_rand()) / UTIL_RAND_MAX; }

// An angle off the sun in -180..180. One that is not a number (a camera angle
// not yet set) would make the glare a NaN: it counts as far off as can be.
float off_sun(float a) { return std::isfinite(a) ? UTIL_wrap_pm180(a) : 180.0f; }

void work_out_glare()
{
    // The sun's direction: (0, 1, 0) turned about x by the third angle, z by the second, x by the first.
    const float a0 = sun_angles[0] * DEG_TO_RAD_FLOAT, a1 = sun_angles[1] * DEG_TO_RAD_FLOAT,
                a2 = sun_angles[2] * DEG_TO_RAD_FLOAT;
    float x = 0.0f, y = std::cos(a2), z = std::sin(a2);
    const float x1 = x * std::cos(a1) - y * std::sin(a1), y1 = x * std::sin(a1) + y * std::cos(a1);
    x = x1, y = y1;
    const float y2 = y * std::cos(a0) - z * std::sin(a0), z2 = y * std::sin(a0) + z * std::cos(a0);
    y = y2, z = z2;
    const float heading = std::atan2(x, -z) * RAD_TO_DEG_FLOAT;
    const float elevation = std::atan2(y, std::sqrt(x * x + z * z)) * RAD_TO_DEG_FLOAT;

    const sim_graphics_view_block& v = sim_graphics_view;
    const float dp = off_sun(v.view_pitch - elevation), dh = off_sun(v.view_heading - heading);
    const float a = std::sqrt(dp * dp + dh * dh);
    const sim_graphics_misc_block& m = sim_graphics_misc;
    sun_glare = (m.cockpit_light_level_r + m.cockpit_light_level_g + m.cockpit_light_level_b) * (1.0f - 0.05f * a) * 0.33f;

    const sim_weather_block& w = sim_weather;
    const int layer = w.cloud_type[1] > w.cloud_type[0] ? 1 : 0;
    if (w.cloud_type[layer] == 4 && flt[0].elevation < w.cloud_tops_msl_m[layer]) sun_glare = 0.0f;
}

void overlay_quad(int slot, int row, float alpha, float x1, float y1, float x2, float y2, float s, float t)
{
    const tex_quad_corner c[4] = {{x1, y1, 0.0f, 0.0f}, {x1, y2, 0.0f, t}, {x2, y2, s, t}, {x2, y1, s, 0.0f}};
    OGL_draw_tex_quad(slot, row, alpha, c, 1, STATE_BLEND);
}

// The scratches lit in the sun's diffuse colour, through colour row 112.
void glare_quad(float x1, float y1, float x2, float y2)
{
    OGL_set_color(ROW_GLARE, sun_diffuse_rgba[0], sun_diffuse_rgba[1], sun_diffuse_rgba[2]);
    overlay_quad(TEX_SLOT_SCRATCHES, ROW_GLARE, std::clamp(sun_glare, 0.0f, 1.0f), x1, y1, x2, y2, 12.0f, 8.0f);
}

}  // namespace

void VIEW_draw_windshield(int draw, float x1, float y1, float x2, float y2, float impact_rate, float window_ice,
                          int reset)
{
    if (reset) {
        ws.count = 0;
        return;
    }
    work_out_glare();
    if (!draw) return;

    if (impact_rate > 0.5f) {
        const float u = unit_random();
        if (sim_operation_misc.frame_rate_period * impact_rate > u && ws.count < MARKS_MAX) {
            SOUND_play(SOUND_SLOT_CRACK, 0, 1.0f, 1.0f);
            const int n = ws.count++;
            ws.x[n] = x1 + (x2 - x1) * unit_random();
            ws.y[n] = y1 + (y2 - y1) * unit_random();
            ws.size[n] = 10.0f + 30.0f * unit_random();
            ws.angle[n] = 360.0f * unit_random();
        }
    }
    for (int n = 0; n < ws.count; ++n) {
        const float s = ws.size[n];
        const tex_quad_corner c[4] = {{-s, -s, 0, 0}, {-s, s, 0, 1}, {s, s, 1, 1}, {s, -s, 1, 0}};
        glPushMatrix();
        glTranslatef(ws.x[n], ws.y[n], 0.0f);
        glRotatef(ws.angle[n], 0.0f, 0.0f, 1.0f);
        OGL_draw_tex_quad(TEX_SLOT_WINDOW_DAMAGE, ROW_MARK, 1.0f, c, 1, STATE_BLEND);
        glPopMatrix();
    }

    if (sun_glare > 0.0f) glare_quad(x1, y1, x2, y2);
    if (window_ice > 0.0f) {
        // A window of no width would give a frost extent that is not a number,
        // kept for the rest of the run: the extent waits for a window with a width.
        if (!ws.ice_extent_done && x2 != x1) {
            ws.ice_t_extent = 3.0f * (y2 - y1) / (x2 - x1);
            ws.ice_extent_done = 1;
        }
        overlay_quad(TEX_SLOT_ICE, ROW_FROST, std::clamp(std::sqrt(window_ice), 0.0f, 1.0f), x1, y1, x2, y2, 3.0f,
                     ws.ice_t_extent);
    }
}

int VIEW_windshield_marks() { return ws.count; }
