#include "scene/sky_light.h"

#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/weather.h"
#include "graphics/ogl_state.h"
#include "links/hardware.h"
#include "panel/panel.h"
#include "world/fires.h"
#include "scene/scene_state.h"
#include "world/navdb.h"
#include "world/sky_colors.h"

sky_light_state sky_light_kept{};

ORVELL_RESET_RECORD(SKY_reset, sky_light_kept, scene);

namespace {

constexpr float CLOUD_TOP_MARGIN_M = 121.92f;    // 400 ft below the top the layer is solid
constexpr float CLOUD_PAD_MAX_M = 121.92f;
constexpr float CLOUD_PAD_FIDE_M = 7.62f;        // 25 ft
constexpr float IN_CLOUD_VISIBILITY_M = 185.2f;  // a tenth of a nautical mile
constexpr float SKY_FADE_VISIBILITY_M = 12964.0f;
constexpr int OVERCAST = 4;                      // the cloud type that closes the sky
constexpr int DUSK_TINT_ROW = 108;

// The lightning strike of the moment, as the weather at the plane leaves it:
// its flash flickers on while the bolt shows, at its distance in nautical miles.
// A distance that is no number would make the whitening no number; it counts
// as 30, the distance at which a bolt whitens nothing.
bool bolt_active() { return weather_stage.lightning_flash != 0; }
float bolt_distance_nm() { return std::isfinite(weather_stage.lightning_distance) ? weather_stage.lightning_distance : 30.0f; }

bool overcast(int layer) { return sim_weather.cloud_type[layer] == OVERCAST; }

float elevation() { return sim_graphics_view.view_elevation_m_msl; }

void cloud_bands()
{
    const int32_t a = SCENE_current_airport();
    const float airport_elevation = a >= 0 ? airport_table[static_cast<size_t>(a)].elevation : 0.0f;
    for (int i = 0; i < 2; ++i) {
        cloud_band_record& b = scene_cloud_bands[i];
        const float base = sim_weather.cloud_base_msl_m[i];
        b.top = sim_weather.cloud_tops_msl_m[i];
        b.top4 = b.top - CLOUD_TOP_MARGIN_M;
        if (fide_mode) {
            b.padded_base = base + CLOUD_PAD_FIDE_M;
            b.lower_edge = base - CLOUD_PAD_FIDE_M;
        } else {
            b.lower_edge = base;
            b.padded_base =
                base + CLOUD_PAD_MAX_M * UTIL_clamp((base - airport_elevation - 75.0f) * 0.004285714f + 0.25f, 0.25f, 1.0f);
        }
        b.rel = elevation() - b.lower_edge;
        b.mid = elevation() - 0.5f * (b.lower_edge + b.top);
    }
    scene_gates.nearer_layer = std::fabs(scene_cloud_bands[0].mid) < std::fabs(scene_cloud_bands[1].mid) ? 0 : 1;
    scene_gates.farther_layer = 1 - scene_gates.nearer_layer;
    scene_dominant_layer = sim_weather.cloud_type[1] > sim_weather.cloud_type[0] ? 1 : 0;
}

// A value inside an overcast layer: down to 185.2 m from the lower edge to the
// padded base, 185.2 m up to 400 ft below the top, back to itself at the top.
float in_cloud(float value, const cloud_band_record& b)
{
    const float e = elevation();
    if (e >= b.lower_edge && e < b.padded_base) return SCENE_interp(e, b.lower_edge, value, b.padded_base, IN_CLOUD_VISIBILITY_M);
    if (e >= b.padded_base && e <= b.top4) return IN_CLOUD_VISIBILITY_M;
    if (e > b.top4 && e <= b.top) return SCENE_interp(e, b.top4, IN_CLOUD_VISIBILITY_M, b.top, value);
    return value;
}

// The sky-table rows the sun elevation blends and the weight of the first.
struct row_blend {
    int p, q;
    float wp;
};

row_blend rows_for(float e, bool mars, bool under_overcast)
{
    if (mars) {
        if (e >= 9.0f) return {8, 8, 1.0f};
        if (e >= -6.0f) return {8, 9, UTIL_clamp((e - 9.0f) * 0.0666667f + 1.0f, 0.0f, 1.0f)};
        return {9, 9, 1.0f};
    }
    const int set = under_overcast ? 4 : 0;
    if (e >= 9.0f) return {set, set, 1.0f};
    if (e >= 4.0f) return {set, set + 1, UTIL_clamp((e - 9.0f) * 0.2f + 1.0f, 0.0f, 1.0f)};
    if (e >= -1.0f) return {set + 1, set + 2, UTIL_clamp((e - 4.0f) * 0.2f + 1.0f, 0.0f, 1.0f)};
    if (e >= -6.0f) return {set + 2, set + 3, UTIL_clamp((e + 1.0f) * 0.2f + 1.0f, 0.0f, 1.0f)};
    return {set + 3, set + 3, 1.0f};
}

void blend(const float a[3], const float b[3], float wp, float out[3])
{
    for (int k = 0; k < 3; ++k) out[k] = wp * a[k] + (1.0f - wp) * b[k];
}

// Moves a colour toward a target by k (0 leaves it, 1 makes it the target).
void move_toward(float c[3], const float target[3], float k)
{
    for (int n = 0; n < 3; ++n) c[n] += (target[n] - c[n]) * k;
}

void sun_and_moon()
{
    const flt_struct& f = flt[0];
    sim_graphics_scenery_block& g = sim_graphics_scenery;
    const float h = UTIL_wrap_closed(sim_time.zulu_time_sec / 3600.0f + f.longitude / 360.0f * 24.0f, 24.0f);
    const int32_t days = sim_time.local_date_days;
    const int64_t d = ((static_cast<int64_t>(days) - 262) % 360 + 360) % 360;
    g.sun_declination = -23.5f * std::sin(TWO_PI_FLOAT * static_cast<float>(d) / 360.0f);
    g.moon_declination = g.sun_declination;
    g.sun_azimuth = UTIL_wrap_180((h - 12.0f) / 24.0f * 360.0f);
    g.moon_azimuth = UTIL_wrap_180(h / 24.0f * 360.0f);
    const float lat = f.latitude * DEG_TO_RAD_FLOAT;
    float a = (h - 6.0f) / 24.0f * 360.0f;
    if (a > 90.0f) a = 180.0f - a;
    float b = (h - 18.0f) / 24.0f * 360.0f;
    if (b < -90.0f) b = -180.0f - b;
    scene_sun_elevation = UTIL_clamp_nan_low(a * std::cos(lat) + g.sun_declination * std::sin(lat), -90.0f, 90.0f);
    scene_moon_elevation = UTIL_clamp_nan_low(b * std::cos(lat) + g.sun_declination * std::sin(lat), -90.0f, 90.0f);
}

// Square root of the air density at the camera over the sea-level density.
// A sea-level density of 0 would divide by zero (taken as the sea-level air,
// factor 1), and a ratio that is no number or below 0 would give a root that
// is no number and a sky of no colour (taken as no air, factor 0).
float atmosphere_factor()
{
    const float rho0 = sim_physics.rho_sea_level;
    if (!(rho0 > 0.0f)) return 1.0f;
    const float ratio = ATMO_density_at_alt(WORLD_planet(), elevation()) / rho0;
    return std::isfinite(ratio) && ratio > 0.0f ? std::sqrt(ratio) : 0.0f;
}

}  // namespace

void SKY_visibility_and_gates()
{
    sim_graphics_view_block& v = sim_graphics_view;
    const int p = WORLD_planet();
    const float e = elevation();
    const float far_visibility = SCENE_WORLD_ALTITUDE_M[p];
    const float previous_effective = v.visibility_effective_m;
    cloud_bands();

    v.visibility_terrain_m = sim_weather.visibility_reported_m * v.visibility_framerate_ratio;

    scene_world_visible = e < SCENE_WORLD_ALTITUDE_M[p] ? 1 : 0;
    scene_gates.globe = e > SCENE_GLOBE_ALTITUDE_M[p] ? 1 : 0;
    bool below_top4 = false, above_padded_base = false;
    for (int i = 0; i < 2; ++i) {
        if (!overcast(i)) continue;
        below_top4 = below_top4 || e < scene_cloud_bands[i].top4;
        above_padded_base = above_padded_base || e > scene_cloud_bands[i].padded_base;
    }
    scene_gates.sun = below_top4 ? 0 : 1;
    scene_gates.detail = scene_world_visible && flt[0].y_agl < v.visibility_terrain_m && !above_padded_base ? 1 : 0;
    scene_gates.fire = scene_gates.detail && fire_table.present && sim_physics.earth_temp_c > 0.0f &&
                               sim_weather.rain_percent == 0.0f
                           ? 1
                           : 0;
    scene_gates.lightning_bolt =
        !scene_gates.sun && previous_effective > 1000.0f && bolt_active() ? 1 : 0;
    scene_gates.skip_farther = overcast(scene_gates.nearer_layer) &&
                                       (scene_cloud_bands[0].mid < 0.0f) == (scene_cloud_bands[1].mid < 0.0f)
                                   ? 1
                                   : 0;

    // The horizon distance, from the camera's distance to the planet's centre.
    const float R = sim_physics.earth_radius_m;
    const float r = UTIL_clamp_nan_low(R + e, 1.001f * R, 1000.0f * R);
    const float horizon = std::sqrt(r * r - R * R) * std::sin(std::acos(UTIL_clamp(R / r, -1.0f, 1.0f)));

    const cloud_band_record& dominant = scene_cloud_bands[scene_dominant_layer];
    const float ratio = v.visibility_framerate_ratio;
    v.visibility_effective_m =
        ratio * SCENE_interp(e, dominant.lower_edge, sim_weather.visibility_reported_m, dominant.top, far_visibility);
    if (scene_gates.globe)
        v.visibility_effective_m =
            ratio * SCENE_interp(e, SCENE_GLOBE_ALTITUDE_M[p], far_visibility, SCENE_UPPER_ALTITUDE_M[p], horizon);
    for (int i = 0; i < 2; ++i) {
        if (!overcast(i)) continue;
        v.visibility_terrain_m = in_cloud(v.visibility_terrain_m, scene_cloud_bands[i]);
        v.visibility_effective_m = in_cloud(v.visibility_effective_m, scene_cloud_bands[i]);
    }
}

void SKY_sun_and_light()
{
    const flt_struct& f = flt[0];
    const int p = WORLD_planet();
    const bool mars = p == PLANET_MARS;
    const float e_cam = elevation();
    const sim_graphics_view_block& v = sim_graphics_view;
    sun_and_moon();

    bool under_overcast = false;
    for (int i = 0; i < 2; ++i) under_overcast = under_overcast || (overcast(i) && scene_cloud_bands[i].mid < 0.0f);
    const float e = scene_sun_elevation;
    const row_blend r = rows_for(e, mars, under_overcast);
    float t = 0.0f;
    if (e >= -1.0f && e < 4.0f) t = 1.0f - r.wp;
    if (e >= -6.0f && e < -1.0f) t = r.wp;
    OGL_set_color(DUSK_TINT_ROW, 1.0f, 1.0f - 0.5f * t, 1.0f - 0.75f * t);

    // The bands: blended, thinned with the air, faded with the visibility.
    const float s = atmosphere_factor();
    scene_atmosphere_factor = s;
    const float band_air[4] = {1.0f, 0.25f * s + 0.75f, 0.5f * s + 0.5f, 0.75f * s + 0.25f};
    const float space = SCENE_interp(e_cam, SCENE_UPPER_ALTITUDE_M[p], 1.0f, 2.0f * SCENE_UPPER_ALTITUDE_M[p], 0.0f);
    for (int i = 0; i < SKY_BANDS; ++i) {
        blend(sky_gradient_table[r.p][i], sky_gradient_table[r.q][i], r.wp, sky_ramp[i]);
        for (float& c : sky_ramp[i]) c *= (i < 4 ? band_air[i] : s) * space;
    }
    for (int i = 1; i < SKY_BANDS; ++i)
        for (int k = 0; k < 3; ++k)
            sky_ramp[i][k] = SCENE_interp(v.visibility_effective_m, SKY_FADE_VISIBILITY_M, sky_ramp[i][k],
                                          IN_CLOUD_VISIBILITY_M, sky_ramp[0][k]);

    // Inside an overcast layer the sky turns to the cloud's own grey.
    const row_blend grey = rows_for(e, false, true);
    float under[3], over[3];
    blend(sky_gradient_table[grey.p][5], sky_gradient_table[grey.q][5], grey.wp, under);
    for (int k = 0; k < 3; ++k) {
        under[k] *= 0.65f;
        over[k] = UTIL_clamp(1.3f * under[k], 0.0f, 1.0f);
    }
    for (int l = 0; l < 2; ++l) {
        if (!overcast(l)) continue;
        const cloud_band_record& b = scene_cloud_bands[l];
        for (float(&band)[3] : sky_ramp)
            for (int k = 0; k < 3; ++k) {
                if (e_cam >= b.lower_edge && e_cam < b.padded_base)
                    band[k] = SCENE_interp(e_cam, b.lower_edge, band[k], b.padded_base, under[k]);
                else if (e_cam >= b.padded_base && e_cam <= b.top4)
                    band[k] = SCENE_interp(e_cam, b.padded_base, under[k], b.top4, over[k]);
                else if (e_cam > b.top4 && e_cam <= b.top)
                    band[k] = SCENE_interp(e_cam, b.top4, over[k], b.top, band[k]);
            }
    }

    // Light colours, then red-out, lightning and the strobe on everything.
    float first[3], second[3];
    blend(sky_state_colour_table[r.p], sky_state_colour_table[r.q], r.wp, surface_tint);
    blend(sky_pair_table[r.p][0], sky_pair_table[r.q][0], r.wp, first);
    blend(sky_pair_table[r.p][1], sky_pair_table[r.q][1], r.wp, second);
    auto tint_all = [&](const float target[3], float k) {
        for (float(&band)[3] : sky_ramp) move_toward(band, target, k);
        move_toward(surface_tint, target, k);
        move_toward(first, target, k);
        move_toward(second, target, k);
    };
    const float dt = sim_operation_misc.frame_rate_period;
    float g = 0.0f;
    if (!v.view_is_external)
        g = UTIL_clamp(sim_weather.sigma * 2000.0f * (f.groundspeed - 4000.0f) / 4000.0f, 0.0f, 1.0f);
    if (sim_graphics_settings.dim_gload) {
        float& redout = sky_light_kept.redout;
        const float target = UTIL_clamp(-(f.g_nrml + 2.5f), 0.0f, 1.0f);
        redout = (1.0f - 0.5f * dt) * redout + target * 0.5f * dt;
        // A red-out that has become no number would stay so and paint the sky
        // with no colour from then on: it starts again from 0.
        if (!std::isfinite(redout)) redout = 0.0f;
        g = UTIL_clamp(g + redout, 0.0f, 1.0f);
    }
    const float red[3] = {1.0f, 0.0f, 0.0f};
    const float white[3] = {1.0f, 1.0f, 1.0f};
    if (g > 0.0f) tint_all(red, g);
    const bool bolt = bolt_active();
    if (!scene_gates.sun && bolt)
        tint_all(white, UTIL_clamp((30.0f - bolt_distance_nm()) * 0.01f, 0.0f, 0.3f));
    const double tenth = std::nearbyint(static_cast<double>(sim_network_misc.network_time_sec) * 10.0);
    if (f.strobe_lights_on && std::isfinite(tenth) && std::fmod(tenth, 10.0) == 0.0 && PANEL_has_power()) {
        const float k = 1.0f - v.visibility_effective_m * 0.002699784f;
        if (k > 0.0f) tint_all(white, k);
    }

    // The lights of the world and the cockpit follow the daylight.
    sim_graphics_misc_block& m = sim_graphics_misc;
    m.cockpit_light_level_r = 0.5f * (first[0] + second[0]);
    m.cockpit_light_level_g = 0.5f * (first[1] + second[1]);
    m.cockpit_light_level_b = 0.5f * (first[2] + second[2]);
    const float level = (m.cockpit_light_level_r + m.cockpit_light_level_g + m.cockpit_light_level_b) * 0.33f;
    sim_graphics_scenery.percent_lights_on = UTIL_clamp((level - 0.5f) * -10.0f, 0.0f, 1.0f);
    if (!bolt)
        sim_cockpit_electrical.cockpit_lights_on = sim_graphics_scenery.percent_lights_on > 0.25f &&
                                                           !FLT_slot_failed(0, 43) && !FLT_slot_failed(0, 44) &&
                                                           PANEL_has_power()
                                                       ? 1
                                                       : 0;
    for (int k = 0; k < 3; ++k) {
        scene_ambient_rgb[k] = 0.4f * first[k];
        scene_diffuse_rgb[k] = 0.6f * second[k];
    }
    scene_cockpit_light_rgb[0] = m.cockpit_light_level_r;
    scene_cockpit_light_rgb[1] = m.cockpit_light_level_g;
    scene_cockpit_light_rgb[2] = m.cockpit_light_level_b;

    const float ambient = UTIL_clamp((s - 1.0f) * 0.4f + 0.4f, 0.0f, 0.4f) * gload_dim_factor;
    const float diffuse = UTIL_clamp((s - 1.0f) * -0.4f + 0.6f, 0.6f, 1.0f) * gload_dim_factor;
    for (int k = 0; k < 3; ++k) {
        sun_ambient_rgba[k] = first[k] * ambient;
        sun_diffuse_rgba[k] = second[k] * diffuse;
    }
    sun_ambient_rgba[3] = sun_diffuse_rgba[3] = 1.0f;

    // The light comes from the sun by day, from the moon by night.
    const sim_graphics_scenery_block& sky = sim_graphics_scenery;
    const float w0 = UTIL_clamp((scene_sun_elevation + 5.0f) * 0.2f + 1.0f, 0.0f, 1.0f);
    const float w = UTIL_clamp(w0 + (1.0f - s) * (1.0f - w0), w0, 1.0f);
    sun_angles[0] = f.latitude;
    sun_angles[1] = sky.sun_azimuth * w + sky.moon_azimuth * (1.0f - w);
    sun_angles[2] = -sky.sun_declination * w + sky.moon_declination * (1.0f - w);
}

void SKY_fog()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const int p = WORLD_planet();
    const float e = elevation();
    const float low = SCENE_GLOBE_ALTITUDE_M[p], high = SCENE_UPPER_ALTITUDE_M[p];
    fog_end = SCENE_interp(e, low, v.visibility_terrain_m, high, 2.0f * v.visibility_effective_m);
    // A visibility or camera height that is no number or endless (from a peer
    // or a plug-in) would hand GL fog distances of no number, and its fog would
    // stay undefined for this pass and every later drawing that keeps it: such
    // a fog ends where a cloud's does, and starts within it.
    if (!std::isfinite(fog_end)) fog_end = IN_CLOUD_VISIBILITY_M;
    float c = (0.75f - 0.5f * scene_atmosphere_factor) * fog_end *
              UTIL_clamp((fog_end - 1000.0f) * 0.000111111f, 0.0f, 1.0f);
    c = SCENE_interp(e, low, c, high, e);
    fog_start = UTIL_clamp_nan_low(c, 0.1f * fog_end, 0.9f * fog_end);
}
