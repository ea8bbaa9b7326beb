// The weather's cloud layers in the 3-D scene, each drawn the way its type
// asks: a thin high layer (type 1) as one textured sheet curved with the
// planet and drifting with the wind, the puff types (2, 3) through the puff
// billboards, and an overcast (4) as a field of large camera-facing sheets
// over a latitude and longitude grid, walked from far to near.
//
// Reads: the layer's type, base and tops; the camera, its latitude,
// longitude and elevation, the ground under it, the view octant; fog_end;
// lat_ref and lon_ref; scene_cockpit_light_rgb; the wind at the layer; the
// frame period; the random table; the lightning strike of the moment.
// Writes: the thin layer's drift (cloud_sheet_drift).
#include "scene/sky/sky_objects.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/weather.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/systems/weather.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/scene_state.h"
#include "scene/sky/cloud_field.h"

cloud_sheet_drift_record cloud_sheet_drift;
ORVELL_RESET_RECORD(CLOUD_sheet_drift_reset, cloud_sheet_drift, scene);

namespace {

constexpr float THIN_DLAT = 0.06f, THIN_DLON = 0.1f;
constexpr float GRID_DLAT = 0.01f, GRID_DLON = 0.015f;
constexpr float OVERCAST_RAISE_M = 500.0f;
constexpr float BOLT_REACH_M = 10000.0f;
constexpr float TURN_REACH_M = 4000.0f;

float noise(long long i)
{
    return random_table[static_cast<size_t>(((i % RANDOM_TABLE_SIZE) + RANDOM_TABLE_SIZE) % RANDOM_TABLE_SIZE)];
}

// The camera's grid of a layer: whole steps of (dlat, dlon) from the first to
// the last index in each direction, inside the loaded block.
struct layer_grid {
    float dlat, dlon;
    long long lat0, lat1, lon0, lon1;   // indices: latitude = index x dlat
};

bool grid_of(float range_m, float dlat, float dlon, layer_grid& g)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    // A camera position or range that is no number has no grid: the cast of
    // its bounds to whole steps would be undefined, so nothing is drawn.
    if (!std::isfinite(v.view_latitude_deg) || !std::isfinite(v.view_longitude_deg) || !std::isfinite(range_m))
        return false;
    const int p = WORLD_planet();
    // Near a pole the span of a degree of longitude shrinks to nothing: the
    // cosine is held at 0.01 so the grid stays bounded.
    const float c = std::max(std::cos(v.view_latitude_deg * DEG_TO_RAD_FLOAT), 0.01f);
    const float r_nm = range_m / UNIT.nm_to_mtrs;
    const double k = std::round((2.0 * dlat + r_nm / (60.0 * c)) / dlat);
    const double n = std::round((2.0 * dlon + r_nm / 60.0) / dlon);
    // The bounds, raised or lowered a whole step at a time until inside the
    // block, worked out directly: the same grid lines without the loop.
    const double eps = 1e-4;
    const double lat_lo = std::ceil(lat_ref / dlat - eps), lat_hi = std::floor((lat_ref + WORLD_AREA_LAT_SPAN[p]) / dlat + eps);
    const double lon_lo = std::ceil(lon_ref / dlon - eps), lon_hi = std::floor((lon_ref + WORLD_AREA_LON_SPAN[p]) / dlon + eps);
    const double a0 = std::max(std::round((v.view_latitude_deg - k * dlat) / dlat), lat_lo);
    const double a1 = std::min(std::round((v.view_latitude_deg + k * dlat) / dlat), lat_hi);
    const double b0 = std::max(std::round((v.view_longitude_deg - n * dlon) / dlon), lon_lo);
    const double b1 = std::min(std::round((v.view_longitude_deg + n * dlon) / dlon), lon_hi);
    if (!(a0 <= a1) || !(b0 <= b1)) return false;
    g = {dlat, dlon, static_cast<long long>(a0), static_cast<long long>(a1), static_cast<long long>(b0),
         static_cast<long long>(b1)};
    return true;
}

void light_colour(float alpha)
{
    const float g = gload_dim_factor;
    glColor4f(scene_cockpit_light_rgb[0] * g, scene_cockpit_light_rgb[1] * g, scene_cockpit_light_rgb[2] * g, alpha);
}

void overcast_field(int L, float Y, float R, const layer_grid& g)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_CUMULUS, 0);
    const float R2 = R * R;
    const weather_stage_state& w = weather_stage;
    // A bolt point that is no number would make every sheet's colour no number.
    const bool bolt = w.lightning_flash != 0 && std::isfinite(w.lightning_bolts[0][0][0]) &&
                      std::isfinite(w.lightning_bolts[0][0][2]);

    const auto sheet = [&](long long ia, long long ib) {
        const float lat = static_cast<float>(ia) * g.dlat, lon = static_cast<float>(ib) * g.dlon;
        const long long q = std::llround(L + std::fabs(10.0f * lat / g.dlat) + std::fabs(lon / g.dlon));
        if (static_cast<int>(10.0f * noise(q)) + 1 >= 9) return;
        float x, y, z;
        GEO_latlon_to_local(x, y, z, lat, lon, Y + OVERCAST_RAISE_M);
        x += 3000.0f * noise(2 * q) - 1500.0f;
        z += 3000.0f * noise(5 * q) - 1500.0f;
        const float f = ((v.view_x - x) * (v.view_x - x) + (v.view_z - z) * (v.view_z - z)) / R2;
        if (!(f < 1.0f)) return;
        const float hw = 1000.0f * (0.5f * noise(7 * q) + 0.75f);
        const float hh = 1000.0f * (0.5f * noise(9 * q) + 0.5f);
        int ci = 0, cj = 0;
        const float ground = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &ci, &cj, 0, "cloud");
        const float spread = UTIL_clamp_nan_low(((y - ground) - 1000.0f - 75.0f) * 0.5f, 0.0f, 500.0f);
        y = y - spread + 2.0f * spread * noise(q);

        const float gd = gload_dim_factor;
        float rgb[3] = {scene_cockpit_light_rgb[0] * gd, scene_cockpit_light_rgb[1] * gd, scene_cockpit_light_rgb[2] * gd};
        if (bolt) {
            const float D = std::hypot(x - w.lightning_bolts[0][0][0], z - w.lightning_bolts[0][0][2]);
            if (D < BOLT_REACH_M) {
                const float k = 1.0f - D / BOLT_REACH_M;
                for (int c = 0; c < 3; ++c) rgb[c] = gd * (scene_cockpit_light_rgb[c] * (1.0f - k) + k);
            }
        }
        glColor4f(rgb[0], rgb[1], rgb[2], 1.0f - f);

        float yaw = std::atan2(-(v.view_x - x), v.view_z - z) * RAD_TO_DEG_FLOAT;
        const float D2 = std::hypot(v.view_x - x, v.view_z - z);
        if (D2 < TURN_REACH_M)
            yaw += UTIL_wrap_180(v.view_heading - yaw) *
                   UTIL_clamp((D2 - hw) * (-1.0f / (TURN_REACH_M - hw)) + 1.0f, 0.0f, 1.0f);
        const int cell = static_cast<int>(((static_cast<long long>(ci) + cj) % 6 + 6) % 6);
        SKYOBJ_draw_cumulus_cell(x, y, z, yaw, v.view_pitch, hw, hh, cell);
    };

    // From far to near by the octant.
    const int oct = view_octant;
    const bool lon_down = oct >= 1 && oct <= 4, lat_down = oct < 3 || oct > 6;
    const bool lon_outer = oct == 2 || oct == 3 || oct == 6 || oct == 7;
    const long long la = lat_down ? g.lat1 : g.lat0, lb = lat_down ? g.lat0 : g.lat1, dl = lat_down ? -1 : 1;
    const long long oa = lon_down ? g.lon1 : g.lon0, ob = lon_down ? g.lon0 : g.lon1, dn = lon_down ? -1 : 1;
    CLOUD_walk_cells(la, lb, dl, oa, ob, dn, lon_outer, sheet);
}

}  // namespace

void SKYOBJ_draw_cloud_sheet(int L, float Y, float lat0, float lon0, float lat1, float lon1, float dlat, float dlon,
                             float u, float v, float R2)
{
    const sim_graphics_view_block& view = sim_graphics_view;
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_CIRRUS, 0);
    // A step of 0 would never reach the end of the rows, and a range of 0
    // would divide by zero: nothing is drawn then. The counts are the whole
    // steps from the first line while below the last; the small tolerance
    // keeps a float rounding at the last line from adding a row past it.
    if (!(dlat > 0.0f) || !(dlon > 0.0f) || !(R2 > 0.0f)) return;
    const long long rows = std::llround(std::ceil((lat1 - lat0) / dlat - 1e-4f));
    const long long cols = std::llround(std::ceil((lon1 - lon0) / dlon - 1e-4f));
    const auto vertex = [&](float lat, float lon, float s, float t) {
        float x, y, z;
        GEO_latlon_to_local(x, y, z, lat, lon, Y);
        const float dx = x - view.view_x, dz = z - view.view_z;
        light_colour(UTIL_clamp(1.0f - (dx * dx + dz * dz) / R2, 0.0f, 1.0f));
        glTexCoord2f(s, t);
        glVertex3f(x, y, z);
    };
    for (long long i = 0; i < rows; ++i) {
        const float lat = lat0 + static_cast<float>(i) * dlat;
        glBegin(GL_QUAD_STRIP);
        for (long long j = 0; j < cols; ++j) {
            const float lon = lon0 + static_cast<float>(j) * dlon;
            const float s = static_cast<float>(j) + 1.0f + u;
            vertex(lat, lon, s, static_cast<float>(i) + 1.0f + v);
            vertex(lat + dlat, lon, s, static_cast<float>(i) + 2.0f + v);
        }
        glEnd();
    }
}

void SKYOBJ_draw_clouds(int L)
{
    if (L < 0 || L >= CLOUD_LAYERS) return;
    const sim_weather_block& wx = sim_weather;
    const sim_graphics_view_block& v = sim_graphics_view;
    const int type = wx.cloud_type[L];
    if (type < 1 || type > 4) return;
    const float base = wx.cloud_base_msl_m[L], tops = wx.cloud_tops_msl_m[L];
    // A base or tops that is no number would place every sheet nowhere.
    if (!std::isfinite(base) || !std::isfinite(tops)) return;

    // The middle and the height to draw at.
    const float m = (base + tops) / 2.0f;
    float Y = m;
    if (type == 4) Y = v.view_elevation_m_msl < m ? base : tops;
    Y += 0.02f * (v.view_y - scene_ground_elevation);

    // The range.
    const int p = WORLD_planet();
    const float R = UTIL_clamp_nan_low(fog_end, 0.0f, max_visibility_m[p]);

    if (type == 2 || type == 3) {
        CLOUD_draw_layer(L);
        return;
    }
    // A camera height that is no number would place every sheet nowhere.
    if (!std::isfinite(Y)) return;
    layer_grid g{};
    if (!grid_of(R, type == 1 ? THIN_DLAT : GRID_DLAT, type == 1 ? THIN_DLON : GRID_DLON, g)) return;

    if (type == 1) {
        // The sheet slides with the wind at its middle. A wind speed or
        // direction that is no number (or a direction beyond any int) would
        // make the drift no number or the whole-degree cast undefined: such
        // a wind counts as calm, from 0 degrees.
        float speed = 0.0f, dir = 0.0f, shear = 0.0f, shear_dir = 0.0f, turb = 0.0f;
        ATMO_wind_at_alt(m, &speed, &dir, &shear, &shear_dir, &turb);
        const float s = std::isfinite(speed) ? speed * UNIT.kts_to_mps : 0.0f;
        int d = std::isfinite(dir) && std::fabs(dir) < 1e6f ? static_cast<int>(dir) : 0;
        d = ((d % 360) + 360) % 360;
        const float east = -s * degree_sin[d], south = s * degree_cos[d];
        const float c = std::max(std::cos(v.view_latitude_deg * DEG_TO_RAD_FLOAT), 0.01f);
        const float dt = sim_operation_misc.frame_rate_period;
        cloud_sheet_drift.u = UTIL_wrap_open(cloud_sheet_drift.u - east / (g.dlon * UNIT_MTRS_PER_DEG_LAT * c) * dt, 1.0f);
        cloud_sheet_drift.v = UTIL_wrap_open(cloud_sheet_drift.v + south / (g.dlat * UNIT_MTRS_PER_DEG_LAT) * dt, 1.0f);
        glDisable(GL_FOG);
        SKYOBJ_draw_cloud_sheet(L, Y, static_cast<float>(g.lat0) * g.dlat, static_cast<float>(g.lon0) * g.dlon,
                                static_cast<float>(g.lat1) * g.dlat, static_cast<float>(g.lon1) * g.dlon, g.dlat,
                                g.dlon, cloud_sheet_drift.u, cloud_sheet_drift.v, R * R);
        glEnable(GL_FOG);
        return;
    }
    overcast_field(L, Y, R, g);
}
