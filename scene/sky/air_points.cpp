// Rain and snow close around the camera: a fixed cloud of 2,000 points in a
// 20 m box, repeated in the neighbouring boxes the view reaches, streaming
// past with the plane's motion through the air and falling at a rain or snow
// speed, faded out towards 20 m ahead. None falls while the amount stays
// within what the weather screen calls "none".
//
// Reads: the view angles with their sines and cosines, the head angles, the
// camera angles, the quarter turns, view_zoom and field_of_view_deg, the
// local wind, the cockpit light levels, the user's lights, the frame period,
// gload_dim_factor. Writes: air_points (its air_drift every frame).
#include "scene/sky/air_points.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "graphics/ogl_state.h"
#include "scene/camera.h"
#include "scene/scene_state.h"
#include "scene/view_effects.h"
#include "scene/view_setup.h"

air_points_record air_points;
ORVELL_RESET_RECORD(VIEW_air_points_reset, air_points, scene);

namespace {

struct air_point_vertex {
    float x, y, z, r, g, b, a;
};
std::vector<air_point_vertex> air_point_scratch;   // kept between frames for its capacity

}  // namespace

namespace {

constexpr float BOX_M = 20.0f;
constexpr float HALF_BOX_M = 10.0f;
constexpr float FADE_M = 20.0f;
constexpr float RAIN_FALL_KT = 20.0f;
constexpr float SNOW_FALL_KT = 3.0f;
constexpr float RAIN_GREY = 0.75f;
constexpr float SNOW_GREY = 1.0f;
constexpr float LIGHT_EXPONENT = 0.4f;

// Into -10..10 by whole boxes. A drift of no number (a velocity or frame
// period of no number) would stay so for good and put every point nowhere:
// it starts again from 0.
float box_drift(float v) { return std::isfinite(v) ? UTIL_wrap_from(v, -HALF_BOX_M, BOX_M) : 0.0f; }

}  // namespace

void VIEW_reset_effects()
{
    VIEW_draw_air_points(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    VIEW_draw_windshield(0, 0, 0, 0, 0, 0, 0, 1);
}

void VIEW_draw_air_points(float left, float bottom, float right, float top, float e0, float e1, float e2, float e3,
                          float vx, float vy, float vz, float rain_amount, float snow_amount, int reset)
{
    air_points_record& a = air_points;
    if (reset) {
        for (auto& p : a.points)
            for (float& c : p) c = -HALF_BOX_M + BOX_M * static_cast<float>(UTIL_rand()) / UTIL_RAND_MAX;
        return;
    }
    const sim_graphics_view_block& v = sim_graphics_view;

    // 1. The projection: the caller's edges widened by the field of view, 4 cm to 40 m.
    const float k = v.field_of_view_deg / 90.0f;
    OGL_set_projection(PROJECTION_3D, e2 * k, e1 * k, e3 * k, e0 * k, MACIBM_ui_to_window_x(left),
                       MACIBM_ui_to_window_y(bottom), MACIBM_ui_to_window_x(right), MACIBM_ui_to_window_y(top), 0.04f,
                       40.0f, 40.0f, v.view_zoom);
    // 2. Turned as the camera looks, centred on the eye.
    glRotatef(view_offset_pitch, -1.0f, 0.0f, 0.0f);
    glRotatef(view_offset_heading, 0.0f, 1.0f, 0.0f);
    VIEW_turn_to_camera();

    // 3. Rain or snow.
    const bool is_rain = rain_amount > snow_amount;
    const float fall = (is_rain ? RAIN_FALL_KT : SNOW_FALL_KT) * UNIT.kts_to_mps;
    const float grey = is_rain ? RAIN_GREY : SNOW_GREY;
    vy += fall;

    // 4. The colour: darkened with the light unless the plane's own lights shine.
    const flt_struct& f = flt[0];
    float rgb[3] = {grey, grey, grey};
    // A negative light level (or one of no number) would make the power a NaN
    // colour: it counts as 0, no light.
    const auto lit = [](float level) { return level > 0.0f ? std::pow(level, LIGHT_EXPONENT) : 0.0f; };
    if (!f.landing_lights_on && !f.taxi_light_on && !f.strobe_flash) {
        const sim_graphics_misc_block& m = sim_graphics_misc;
        rgb[0] *= lit(m.cockpit_light_level_r);
        rgb[1] *= lit(m.cockpit_light_level_g);
        rgb[2] *= lit(m.cockpit_light_level_b);
    }
    rgb[0] = UTIL_clamp_nan_low(rgb[0] + f.beacon_brightness, 0.0f, 1.0f);

    // 5, 6.
    const float rel[3] = {vx - wind_vector[0], vy - wind_vector[1], vz - wind_vector[2]};
    if (!(rain_amount + snow_amount > 0.0f)) return;

    // 7. The boxes the view volume reaches.
    const float* box = frustum_box;
    int lo[3], hi[3];
    for (int n = 0; n < 3; ++n) {
        lo[n] = box[n] < 0.0f ? -1 : 0;
        hi[n] = box[n + 3] > 0.0f ? 1 : 0;
    }
    // 8.
    const float dt = sim_operation_misc.frame_rate_period;
    for (int n = 0; n < 3; ++n) a.air_drift[n] = box_drift(a.air_drift[n] + rel[n] * dt);

    // The field has one density: drawn for any amount above 0, a pilot who
    // set the weather screen's rain to its lowest word, "little or none" (up
    // to WEATHER_SHARE_NONE), would still fly through the heaviest rain or
    // snow. Such an amount streams the field but draws no point.
    if (!(rain_amount + snow_amount > WEATHER_SHARE_NONE)) return;

    // 9, 10.
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const float sH = v.view_heading_sin, cH = v.view_heading_cos, sP = v.view_pitch_sin, cP = v.view_pitch_cos;
    const float g = gload_dim_factor;
    // The points of every box go to the renderer as one array: a point at a
    // time costs the renderer a call per point and per colour. The points,
    // their order and their colours are those of one point block a box.
    std::vector<air_point_vertex>& out = air_point_scratch;
    out.clear();
    for (int i = lo[0]; i <= hi[0]; ++i)
        for (int j = lo[1]; j <= hi[1]; ++j)
            for (int kk = lo[2]; kk <= hi[2]; ++kk) {
                const float off[3] = {BOX_M * i - a.air_drift[0], BOX_M * j - a.air_drift[1], BOX_M * kk - a.air_drift[2]};
                for (const auto& q : a.points) {
                    const float p[3] = {off[0] + q[0], off[1] + q[1], off[2] + q[2]};
                    if (!(p[0] > box[0] && p[0] < box[3] && p[1] > box[1] && p[1] < box[4] && p[2] > box[2] &&
                          p[2] < box[5]))
                        continue;
                    const float d = (p[2] * cH - p[0] * sH) * cP - p[1] * sP;
                    if (!(d > -FADE_M && d < 0.0f)) continue;
                    out.push_back({p[0], p[1], p[2], rgb[0] * g, rgb[1] * g, rgb[2] * g, 1.0f + d / FADE_M});
                }
            }
    if (out.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(air_point_vertex), &out[0].x);
    glColorPointer(4, GL_FLOAT, sizeof(air_point_vertex), &out[0].r);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(out.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // The current colour after an array draw is not defined: set it as
    // drawing point by point would have left it.
    glColor4f(out.back().r, out.back().g, out.back().b, out.back().a);
}
