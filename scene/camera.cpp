#include "scene/camera.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/physics.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "flightmodel/phys.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/ogl_state.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "scene/scene_state.h"
#include "world/ships.h"
#include "world/navdb.h"

camera_smoothing_record camera_smoothing{};

ORVELL_RESET_RECORD(CAMERA_reset, camera_smoothing, scene);

namespace {

constexpr float ZOOM_MIN = 1.0f;
constexpr float ZOOM_MAX = 400.0f;
constexpr float TOWER_FALLBACK_HEIGHT_M = 20.0f;       // above the airport when it has no tower
constexpr float CARRIER_ISLAND[3] = {28.0f, 35.0f, 11.0f};   // starboard, up, astern of the carrier's origin
constexpr float CAMERA_MIN_HEIGHT_M = 1.7f;            // an outside camera stays this far above the ground
constexpr float HORIZON_ROLL_ELEVATION_M = 50000.0f;   // above it an outside camera rolls with the latitude
constexpr float NEAR_HEIGHT_SWITCH_M = 30000.0f;
constexpr float FAR_RADIUS_MIN_M = 1655.0f;
constexpr float SQRT2 = 1.41421356f;

// Into -pi..pi by the nearest whole number of turns (what is not finite becomes 0).
float within_pi(float a) { return static_cast<float>(UTIL_wrap_nearest(static_cast<double>(a), TWO_PI_DOUBLE)); }

// The plane's size across and along: the radius the camera keeps from it.
float plane_size(int n) { return std::sqrt(pln[n].acf_size_x * pln[n].acf_size_x + pln[n].acf_size_z * pln[n].acf_size_z); }

// What the camera follows: a released weapon of the user's aircraft, or the plane.
struct followed_object {
    float x, y, z;
    float pitch, heading, roll;            // degrees
    float path_heading, path_pitch, speed; // degrees, degrees, m/s
};

followed_object followed()
{
    const int w = scene_followed_weapon;
    if (w >= 0 && w < ACF_WPN_SLOTS) {
        const wpn_slot_record& s = pln[0].acf_wpn_slot[w];
        const float h = std::sqrt(s.wpn_vel[0] * s.wpn_vel[0] + s.wpn_vel[2] * s.wpn_vel[2]);
        return {s.wpn_pos[0], s.wpn_pos[1], s.wpn_pos[2], s.wpn_theta, s.wpn_psi, s.wpn_phi,
                std::atan2(s.wpn_vel[0], -s.wpn_vel[2]) * RAD_TO_DEG_FLOAT, std::atan2(s.wpn_vel[1], h) * RAD_TO_DEG_FLOAT,
                std::sqrt(h * h + s.wpn_vel[1] * s.wpn_vel[1])};
    }
    const flt_struct& f = flt[0];
    return {f.local_x, f.local_y, f.local_z, f.theta, f.psi, f.phi, f.hpath, f.vpath, f.groundspeed};
}

void zoom_distance_weapon()
{
    sim_graphics_view_block& v = sim_graphics_view;
    const float dt = sim_operation_misc.frame_rate_period;
    const float step = v.view_zoom * dt * 4.0f;
    const float target = view_zoom_target;
    if (v.view_zoom < target)
        v.view_zoom = std::min(v.view_zoom + step, target);
    else if (v.view_zoom > target)
        v.view_zoom = std::max(v.view_zoom - step, target);
    v.view_zoom = UTIL_clamp_nan_low(v.view_zoom, ZOOM_MIN, ZOOM_MAX);

    view_distance = UTIL_clamp_nan_low(view_distance, 1.5f * plane_size(0), 3.0f * sim_physics.earth_radius_m);

    scene_followed_weapon = -1;
    if (view_follow_weapon)
        for (int s = 0; s < ACF_WPN_SLOTS; ++s)
            if (pln[0].acf_wpn_slot[s].wpn_type != 0 && WPN_released(0, s)) scene_followed_weapon = s;
}

void tower_camera(const followed_object& o, float dt)
{
    // With no current airport there is no tower to read (index -1 would read
    // before the table): the camera stays where it is.
    const int32_t a = SCENE_current_airport();
    if (a < 0) return;
    const airport_record* apt = &airport_table[static_cast<size_t>(a)];
    float p[3];
    if (std::fabs(apt->tower_lat) > 0.01f || std::fabs(apt->tower_lon) > 0.01f)
        GEO_latlon_to_local(p[0], p[1], p[2], apt->tower_lat, apt->tower_lon, apt->elevation + apt->tower_height);
    else if (!apt->runways.empty())   // the airport's reference point is its first runway's position
        GEO_latlon_to_local(p[0], p[1], p[2], apt->runways[0].lat, apt->runways[0].lon,
                            apt->elevation + TOWER_FALLBACK_HEIGHT_M);
    else   // no tower and no runway: no point to view from (reading one would read past the empty list)
        return;

    sim_graphics_view_block& v = sim_graphics_view;
    const float to_tower = std::hypot(o.x - p[0], o.z - p[2]);
    const float to_carrier = std::hypot(o.x - ship_x[SHIP_CARRIER], o.z - ship_z[SHIP_CARRIER]);
    if (to_carrier < to_tower) {
        float d[3];
        PHYS_ship_to_local(CARRIER_ISLAND[0], CARRIER_ISLAND[1], CARRIER_ISLAND[2], &d[0], &d[1], &d[2], SHIP_CARRIER);
        v.view_x = ship_x[SHIP_CARRIER] + d[0];
        v.view_y = ship_y[SHIP_CARRIER] + d[1];
        v.view_z = ship_z[SHIP_CARRIER] + d[2];
        return;
    }
    v.view_x = v.view_x * (1.0f - dt) + p[0] * dt;
    v.view_y = v.view_y * (1.0f - dt) + p[1] * dt;
    v.view_z = v.view_z * (1.0f - dt) + p[2] * dt;
}

// The camera on a sphere of radius d around the object.
void around(const followed_object& o, float d, float a, float b, float up_sign)
{
    sim_graphics_view_block& v = sim_graphics_view;
    v.view_x = o.x + d * -std::sin(a) * std::cos(b);
    v.view_y = o.y + d * up_sign * std::sin(b);
    v.view_z = o.z + d * std::cos(a) * std::cos(b);
}

// Moves an angle toward its wanted value by the wrapped difference times k.
float toward(float angle, float wanted, float k) { return angle + UTIL_wrap_180(wanted - angle) * k; }

void built_in_camera(const followed_object& o, float dt)
{
    sim_graphics_view_block& v = sim_graphics_view;
    sim_private_camera_block& c = sim_private_camera;
    camera_smoothing_record& s = camera_smoothing;
    s.camera_distance_smoothed += (view_distance - s.camera_distance_smoothed) * dt;
    // A smoothed distance that has become no number would never recover and
    // put the camera nowhere: it restarts from the wanted distance.
    if (!std::isfinite(s.camera_distance_smoothed)) s.camera_distance_smoothed = view_distance;
    s.camera_orbit_heading =
        within_pi(s.camera_orbit_heading + within_pi(view_orbit_heading - s.camera_orbit_heading) * dt * 4.0f);
    s.camera_orbit_pitch = within_pi(s.camera_orbit_pitch + within_pi(view_orbit_pitch - s.camera_orbit_pitch) * dt * 4.0f);
    const float d = s.camera_distance_smoothed;

    const int type = v.view_type;
    if (type == VIEW_CHASE) {
        const float h = SCENE_interp(o.speed, 10.0f, UTIL_wrap_180(o.heading), 20.0f, UTIL_wrap_180(o.path_heading));
        const float p = SCENE_interp(o.speed, 10.0f, UTIL_wrap_180(o.pitch), 20.0f, UTIL_wrap_180(o.path_pitch));
        around(o, d, h * DEG_TO_RAD_FLOAT + s.camera_orbit_heading, p * DEG_TO_RAD_FLOAT - s.camera_orbit_pitch, -1.0f);
    } else if (VIEW_is_orbit(type)) {
        around(o, d, s.camera_orbit_heading, s.camera_orbit_pitch, 1.0f);
    }

    if (!v.view_is_external) {
        if (scene_followed_weapon >= 0) {
            v.view_x = o.x, v.view_y = o.y, v.view_z = o.z;
        } else {
            const acf_struct& a = pln[0];
            float e[3];
            PHYS_body_to_local(a.acf_peX, a.acf_peY, a.acf_peZ, &e[0], &e[1], &e[2], 0);
            v.view_x = o.x + e[0], v.view_y = o.y + e[1], v.view_z = o.z + e[2];
        }
        return;
    }

    v.view_y = std::max(v.view_y, scene_ground_elevation + CAMERA_MIN_HEIGHT_M);
    const float dx = v.view_x - o.x, dy = v.view_y - o.y, dz = v.view_z - o.z;
    const float want_pitch = -std::atan2(dy, std::hypot(dx, dz)) * RAD_TO_DEG_FLOAT;
    const float want_heading = -std::atan2(dx, dz) * RAD_TO_DEG_FLOAT;
    const float want_roll = v.view_elevation_m_msl > HORIZON_ROLL_ELEVATION_M ? -flt[0].latitude : 0.0f;
    const float k = 6.0f * dt;
    c.the = UTIL_wrap_180(toward(c.the, want_pitch, k));
    c.psi = UTIL_wrap_360(toward(c.psi, want_heading, k));
    c.phi = UTIL_wrap_180(toward(c.phi, want_roll, k));
}

// Pitch within -90..90 by looking the other way; heading 0..360.
void normalise_angles()
{
    sim_private_camera_block& c = sim_private_camera;
    c.the = UTIL_wrap_180(c.the);
    c.phi = UTIL_wrap_180(c.phi);
    c.psi = UTIL_wrap_360(c.psi);
    if (c.the > 90.0f || c.the < -90.0f) {
        c.the = (c.the > 90.0f ? 180.0f : -180.0f) - c.the;
        c.psi = UTIL_wrap_360(c.psi + 180.0f);
        c.phi = UTIL_wrap_360(180.0f - c.phi);
    }
}

}  // namespace

int ACF_near_plane_tenth(const acf_struct& a) { return a.acf_unpub_640004; }

void CAMERA_place()
{
    zoom_distance_weapon();
    if (sim_operation_override.override_camera) return;

    sim_graphics_view_block& v = sim_graphics_view;
    sim_private_camera_block& c = sim_private_camera;
    const float dt = sim_operation_misc.frame_rate_period;
    const followed_object o = followed();
    const int type = v.view_type;
    if (type == VIEW_TOWER) {
        tower_camera(o, dt);
    } else if (type == VIEW_FLYBY_DRIFT) {
        for (int k = 0; k < 3; ++k) view_fixed_point[k] += view_fixed_velocity[k] * dt;
        v.view_x = view_fixed_point[0], v.view_y = view_fixed_point[1], v.view_z = view_fixed_point[2];
    } else if (type == VIEW_FLYBY) {
        const float rate = UTIL_clamp(dt * 4.0f * v.view_zoom, 0.0f, 1.0f - dt);
        v.view_x = v.view_x * (1.0f - rate) + view_fixed_point[0] * rate;
        v.view_y = v.view_y * (1.0f - rate) + view_fixed_point[1] * rate;
        v.view_z = v.view_z * (1.0f - rate) + view_fixed_point[2] * rate;
    } else if (!v.view_is_external) {
        c.the = o.pitch, c.psi = o.heading, c.phi = o.roll;
    }

    if (PLUGIN_call_camera_hook(&v.view_x, &v.view_y, &v.view_z, &c.the, &c.psi, &c.phi, &v.view_zoom) != 0)
        built_in_camera(o, dt);
    normalise_angles();
}

void CAMERA_locate()
{
    sim_graphics_view_block& v = sim_graphics_view;
    GEO_local_to_latlon(v.view_latitude_deg, v.view_longitude_deg, v.view_elevation_m_msl, v.view_x, v.view_y, v.view_z);

    const int p = WORLD_planet();
    const float lat = v.view_latitude_deg, lon = v.view_longitude_deg;
    const bool inside = lat >= lat_ref + WORLD_PROBE_MARGIN_LAT[p] &&
                        lat <= lat_ref + WORLD_AREA_LAT_SPAN[p] - WORLD_PROBE_MARGIN_LAT[p] &&
                        lon >= lon_ref + WORLD_PROBE_MARGIN_LON[p] &&
                        lon <= lon_ref + WORLD_AREA_LON_SPAN[p] - WORLD_PROBE_MARGIN_LON[p];
    if (inside) {
        float scratch[3];
        int column = camera_cell.column, row = camera_cell.row;
        // The probe with the surface extras answers with what lies under the
        // user's plane (its runway's height, a deck), wherever the camera is.
        // A camera away from the plane, at a runway's end with the plane rolled
        // down a sloping runway, would be held above the plane's runway, under
        // the ground it stands on, and see none of it: it stays above both.
        const float surface = TERRAIN_height_at(v.view_x, v.view_z, &scratch[0], &scratch[1], &scratch[2], &column,
                                                &row, 1, "FIND LAT/LON/H WITH VIEW local_y_vp");
        const float terrain = TERRAIN_height_at(v.view_x, v.view_z, nullptr, nullptr, nullptr, &column, &row, 0,
                                                "FIND LAT/LON/H WITH VIEW local_y_vp");
        scene_ground_elevation = std::max(surface, terrain);
        camera_cell.column = column;
        camera_cell.row = row;
    } else {
        // Interpolated across the area and truncated. The interpolation reaches
        // the grid's width (450) at the far edge, one past its last cell, and a
        // position that is no number has no cell: both are held on the grid's
        // cells so that the drawers that index by the cell stay inside it.
        const float columns = static_cast<float>(SCENE_GRID_COLUMNS[p]), rows = static_cast<float>(SCENE_GRID_ROWS[p]);
        const float ci = SCENE_interp(lon, lon_ref, 0.0f, lon_ref + WORLD_AREA_LON_SPAN[p], columns);
        const float ri = SCENE_interp(lat, lat_ref, 0.0f, lat_ref + WORLD_AREA_LAT_SPAN[p], rows);
        camera_cell.column = static_cast<int32_t>(UTIL_clamp_nan_low(ci, 0.0f, columns - 1.0f));
        camera_cell.row = static_cast<int32_t>(UTIL_clamp_nan_low(ri, 0.0f, rows - 1.0f));
        if (VIEW_is_orbit(v.view_type) && view_distance > sim_physics.earth_radius_m) scene_ground_elevation = -view_distance;
    }
    // The probe's cell too, for the same reason.
    camera_cell.column = util_clamp_int(camera_cell.column, 0, SCENE_GRID_COLUMNS[p] - 1);
    camera_cell.row = util_clamp_int(camera_cell.row, 0, SCENE_GRID_ROWS[p] - 1);
}

void CAMERA_boxes()
{
    scene_projection_record& s = scene_projection;
    const int type = sim_graphics_view.view_type;
    const float extra_w = screen.ui_side_margin, extra_h = screen.ui_top_margin;
    const acf_struct& a = pln[0];
    const bool own_box = (type >= VIEW_FORWARD && type <= VIEW_BACK) || type == VIEW_ORBIT_PANEL;
    const float box[4] = {a.acf_HUD_cntrx - a.acf_HUD_delx, a.acf_HUD_cntry - a.acf_HUD_dely,
                          a.acf_HUD_cntrx + a.acf_HUD_delx, a.acf_HUD_cntry + a.acf_HUD_dely};
    // A box from a damaged aircraft file (a corner a million units or more
    // away, or not a number) would overflow the head-up display's integer
    // scissor rectangle: the default box stands in for it.
    const bool usable = std::all_of(box, box + 4, [](float f) { return std::fabs(f) < 1.0e6f; });
    if (own_box && usable && VIEW_has_panel_picture(type)) {
        std::copy(box, box + 4, s.hud_box);
    } else if (own_box && usable) {
        // The forward views without the panel look where the aircraft points.
        // The aircraft's box stands high, above its panel, and the view's
        // centre is the box's: without the panel that put the horizon of
        // level flight in the window's top quarter and filled the rest with
        // the ground under the nose. The box keeps its size but is centred in
        // the window, so the horizon lies near the window's middle.
        const float cx = 512.0f, cy = 0.5f * (768.0f + extra_h);
        s.hud_box[0] = cx - a.acf_HUD_delx, s.hud_box[2] = cx + a.acf_HUD_delx;
        s.hud_box[1] = cy - a.acf_HUD_dely, s.hud_box[3] = cy + a.acf_HUD_dely;
    } else {
        s.hud_box[0] = 200.0f, s.hud_box[2] = 824.0f;
        s.hud_box[1] = 0.5f * extra_h + 50.0f, s.hud_box[3] = 0.5f * extra_h + 718.0f;
    }
    s.screen[0] = -extra_w, s.screen[1] = 0.0f;
    s.screen[2] = 1024.0f + extra_w, s.screen[3] = 768.0f + extra_h;
}

void CAMERA_near_and_far(int first, int last)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    scene_projection_record& s = scene_projection;
    const int p = WORLD_planet();

    const float h = v.view_elevation_m_msl > NEAR_HEIGHT_SWITCH_M ? v.view_elevation_m_msl
                                                                  : (v.view_y - scene_ground_elevation) * 0.25f;
    // The room before the nearest thing drawn that the near plane must not cut:
    // each plane of the pass (its distance less 1.25 times its size) and the
    // followed weapon (its distance less 10 m).
    float clear = FLT_MAX;
    for (int n = std::max(first, 0); n <= last && n < FLT_SLOTS; ++n) {
        const flt_struct& f = flt[n];
        const float d = std::sqrt((f.local_x - v.view_x) * (f.local_x - v.view_x) +
                                  (f.local_y - v.view_y) * (f.local_y - v.view_y) +
                                  (f.local_z - v.view_z) * (f.local_z - v.view_z));
        clear = std::min(clear, d - 1.25f * plane_size(n));
    }
    const int w = scene_followed_weapon;
    if (w >= 0 && w < ACF_WPN_SLOTS) {
        const float* q = pln[0].acf_wpn_slot[w].wpn_pos;
        clear = std::min(clear, std::sqrt((q[0] - v.view_x) * (q[0] - v.view_x) + (q[1] - v.view_y) * (q[1] - v.view_y) +
                                          (q[2] - v.view_z) * (q[2] - v.view_z)) - 10.0f);
    }
    // A quarter of the height above the ground (h), for the depth buffer's
    // sake, drawn in towards a plane nearer than that down to a sixteenth of
    // the height; but never beyond the nearest plane, or a chase camera high
    // over the ground would cut away the very aircraft it follows.
    const float m = std::min(h, clear);
    const float near_max = SCENE_interp(v.view_elevation_m_msl, SCENE_GLOBE_ALTITUDE_M[p], 100.0f,
                                        SCENE_UPPER_ALTITUDE_M[p], 1000.0f);
    s.near_m = UTIL_clamp_nan_low(std::min(std::max(0.25f * std::fabs(h), m), clear), 2.0f,
                                  UTIL_clamp_nan_low(near_max, 100.0f, 1000.0f));
    // A machine driving the first external monitor brings the near plane in
    // tenfold when the aircraft asks for it (a cockpit seen from close by).
    if (net_slot_enabled[NET_SLOT_MONITOR_1] && ACF_near_plane_tenth(pln[0])) s.near_m *= 0.1f;

    // A field of view of 180 degrees or more would make the tangents infinite
    // or turn them round, and one of 0 would give an empty frustum that GL
    // refuses: it is held to 1..179 here and in the frustum.
    const float half_fov = 0.5f * UTIL_clamp_nan_low(v.field_of_view_deg, 1.0f, 179.0f) * DEG_TO_RAD_FLOAT;
    s.offset_heading_rad = std::atan(std::tan(half_fov) * v.field_of_view_horizontal_ratio);
    s.offset_pitch_rad = std::atan(std::tan(half_fov) * v.field_of_view_vertical_ratio);
    // Ratios that are no number would make the far plane no number: taken as 0.
    if (!std::isfinite(s.offset_heading_rad)) s.offset_heading_rad = 0.0f;
    if (!std::isfinite(s.offset_pitch_rad)) s.offset_pitch_rad = 0.0f;

    // The comparison also gives the least radius to a visibility that is no number.
    const float far_radius = 1.25f * SQRT2 * v.visibility_effective_m;
    s.far_radius_m = far_radius > FAR_RADIUS_MIN_M ? far_radius : FAR_RADIUS_MIN_M;
    s.far_plane_m = s.far_radius_m * (1.0f + std::sin(half_fov) * std::sin(s.offset_heading_rad)) * 1.15f;
}

void CAMERA_project()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    scene_projection_record& s = scene_projection;
    const float k = UTIL_clamp_nan_low(v.field_of_view_deg, 1.0f, 179.0f) / 90.0f;
    float screen_box[4] = {s.screen[0], s.screen[1], s.screen[2], s.screen[3]};
    if (v.number_elumens_projections != 0) {
        s.frustum[0] = s.frustum[1] = -k;
        s.frustum[2] = s.frustum[3] = k;
        // A scale word of 0 would divide by zero: taken as 1.
        const float scale = static_cast<float>(std::max(screen.rendering_res, 1));
        screen_box[0] = screen_box[1] = 0.0f;
        screen_box[2] = static_cast<float>(v.elumens_tex_width) / scale;
        screen_box[3] = static_cast<float>(v.elumens_tex_height) / scale;
    } else {
        const float H = 768.0f + screen.ui_top_margin;
        const float c = 0.5f * (s.hud_box[1] + s.hud_box[3]);
        // Ratios that are no number would leave GL a frustum of no numbers: taken as 0.
        const float hr = std::isfinite(v.field_of_view_horizontal_ratio) ? v.field_of_view_horizontal_ratio : 0.0f;
        const float vr = std::isfinite(v.field_of_view_vertical_ratio) ? v.field_of_view_vertical_ratio : 0.0f;
        s.frustum[0] = (hr - 1.0f) * k;
        s.frustum[1] = (vr - 2.0f * c / H) * k;
        s.frustum[2] = (hr + 1.0f) * k;
        s.frustum[3] = (vr + 2.0f * (H - c) / H) * k;
    }
    OGL_set_projection(PROJECTION_3D, s.frustum[0], s.frustum[1], s.frustum[2], s.frustum[3], screen_box[0],
                       screen_box[1], screen_box[2], screen_box[3], s.near_m, fog_end, s.far_plane_m, v.view_zoom);

    // The pilot's head: the side views turn it, the two lower forward views lower it.
    float heading = 0.0f, pitch = 0.0f;
    switch (v.view_type) {
    case VIEW_LEFT_45: heading = -45.0f; break;
    case VIEW_RIGHT_45: heading = 45.0f; break;
    case VIEW_LEFT_90: heading = -90.0f; break;
    case VIEW_RIGHT_90: heading = 90.0f; break;
    case VIEW_LEFT_135: heading = -135.0f; break;
    case VIEW_RIGHT_135: heading = 135.0f; break;
    case VIEW_BACK: heading = 180.0f; break;
    case VIEW_LEFT_15: heading = -15.0f; break;
    case VIEW_RIGHT_75: heading = 75.0f; break;
    case VIEW_FORWARD_HUD: pitch = -4.0f; break;
    case VIEW_FORWARD_NOTHING: pitch = -8.0f; break;
    default: break;
    }
    view_offset_heading = v.field_of_view_horizontal_deg + heading;
    view_offset_pitch = v.field_of_view_vertical_deg + pitch;
    view_offset_roll = v.field_of_view_roll_deg;
}
