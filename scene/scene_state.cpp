#include "scene/scene_state.h"

#include <algorithm>
#include <cstring>

#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "scene/camera.h"
#include "world/scene_origin.h"
#include "scene/sky/cloud_field.h"
#include "scene/sky/sky_objects.h"
#include "scene/sky_light.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

float view_zoom_target = 1.0f;
float view_distance = 0.0f;
float view_orbit_heading = 0.0f;
float view_orbit_pitch = 0.0f;
float view_fixed_point[3] = {};
float view_fixed_velocity[3] = {};
int32_t view_follow_weapon = 0;
int32_t scene_followed_weapon = -1;

float scene_ground_elevation = 0.0f;
camera_cell_record camera_cell{};
float view_offset_pitch = 0.0f;
float view_offset_heading = 0.0f;
float view_offset_roll = 0.0f;
scene_projection_record scene_projection{};

cloud_band_record scene_cloud_bands[2] = {};
scene_gates_record scene_gates{};
int32_t scene_dominant_layer = 0;
float scene_sun_elevation = 0.0f;
float scene_moon_elevation = 0.0f;
float sky_ramp[SKY_BANDS][3] = {};
float surface_tint[3] = {};
float sun_ambient_rgba[4] = {};
float sun_diffuse_rgba[4] = {};
float sun_angles[3] = {};
float scene_ambient_rgb[3] = {};
float scene_diffuse_rgb[3] = {};
float scene_cockpit_light_rgb[3] = {};
float scene_atmosphere_factor = 1.0f;
float fog_start = 0.0f;
float fog_end = 0.0f;

int32_t view_quarter_turn_neg = 0;
int32_t view_quarter_turn_pos = 0;
ground_point view_footprint[4] = {};
int32_t view_octant = 1;
float sun_tangents[2] = {};
float sun_glare = 0.0f;
terrain_window_record terrain_window{};
uint8_t cell_visible[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS] = {};
scene_draw_count_record scene_draw_counts{};
float scene_cull_margin = SCENE_PASS_CULL_MARGIN_M;
float scene_footprint_box[4] = {};

airport_sweep_record scene_airport_sweep{-10, 9.9e9f, -1, -1};
uint8_t scene_airport_visible[SCENE_AIRPORT_SLOTS] = {};
nearest_airport_record scene_nearest_airport{-1, -1, {}, 1};


void SCENE_clear_state()
{
    view_zoom_target = 1.0f;
    view_distance = 0.0f;
    view_orbit_heading = view_orbit_pitch = 0.0f;
    for (int k = 0; k < 3; ++k) view_fixed_point[k] = view_fixed_velocity[k] = 0.0f;
    view_follow_weapon = 0;
    scene_followed_weapon = -1;   // no weapon followed, as at the program's start

    scene_ground_elevation = 0.0f;
    camera_cell = {};
    view_offset_pitch = view_offset_heading = view_offset_roll = 0.0f;
    scene_projection = {};

    for (cloud_band_record& b : scene_cloud_bands) b = {};
    scene_world_visible = 1;
    scene_gates = {};
    scene_dominant_layer = 0;
    scene_sun_elevation = scene_moon_elevation = 0.0f;
    std::memset(sky_ramp, 0, sizeof sky_ramp);
    for (int k = 0; k < 3; ++k)
        surface_tint[k] = sun_angles[k] = scene_ambient_rgb[k] = scene_diffuse_rgb[k] = scene_cockpit_light_rgb[k] = 0.0f;
    for (int k = 0; k < 4; ++k) sun_ambient_rgba[k] = sun_diffuse_rgba[k] = 0.0f;
    scene_atmosphere_factor = 1.0f;
    fog_start = fog_end = 0.0f;

    for (ground_point& p : view_footprint) p = {};
    view_octant = 1;
    for (float& v : sun_tangents) v = 0.0f;
    sun_glare = 0.0f;
    terrain_window = {};
    std::memset(cell_visible, 0, sizeof cell_visible);
    scene_draw_counts = {};
    scene_cull_margin = SCENE_PASS_CULL_MARGIN_M;
    for (float& v : scene_footprint_box) v = 0.0f;

    scene_airport_sweep = {-10, 9.9e9f, -1, -1};
    std::memset(scene_airport_visible, 0, sizeof scene_airport_visible);
    scene_nearest_airport = {-1, -1, {}, 1};

    view_quarter_turn_neg = view_quarter_turn_pos = 0;
}
ORVELL_RESET(SCENE_clear_state, scene);

float SCENE_interp(float x, float x0, float y0, float x1, float y1)
{
    if (x0 == x1) return 0.5f * (y0 + y1);
    if (y0 == y1) return y0;
    const float y = y0 + (x - x0) * (y1 - y0) / (x1 - x0);
    return y0 < y1 ? UTIL_clamp(y, y0, y1) : UTIL_clamp(y, y1, y0);
}

int32_t SCENE_current_airport()
{
    for (const int32_t a : {scene_nearest_airport.airport_index, start_selection.airport_index})
        if (a >= 0 && static_cast<size_t>(a) < airport_table.size() && !airport_table[static_cast<size_t>(a)].runways.empty())
            return a;
    return -1;
}

void SCENE_form_footprint_box(float margin)
{
    scene_cull_margin = margin;
    float min_x = view_footprint[0].x, max_x = min_x, min_z = view_footprint[0].z, max_z = min_z;
    for (const ground_point& g : view_footprint) {
        min_x = std::min(min_x, g.x), max_x = std::max(max_x, g.x);
        min_z = std::min(min_z, g.z), max_z = std::max(max_z, g.z);
    }
    // A reversed area (not laid out yet) must not make std::clamp's bounds cross.
    const scenery_area_record& a = scenery_area;
    const float x0 = std::min(a.x0, a.x1), x1 = std::max(a.x0, a.x1);
    const float z0 = std::min(a.z0, a.z1), z1 = std::max(a.z0, a.z1);
    scene_footprint_box[0] = std::clamp(min_x - margin, x0, x1);
    scene_footprint_box[1] = std::clamp(max_x + margin, x0, x1);
    scene_footprint_box[2] = std::clamp(min_z - margin, z0, z1);
    scene_footprint_box[3] = std::clamp(max_z + margin, z0, z1);
}
