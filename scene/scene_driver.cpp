// One pass of the 3-D scene for the current display projection: the camera,
// visibility, sky, fog and light, the view set-up, then every drawer of the
// world in a fixed order under fixed gates, the aircraft and what hangs on
// them, and the 2-D layers that sit on the 3-D picture. Between passes it
// keeps only the nearest-airport sweep (and the camera's smoothing).
#include "scene/scene_driver.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/hooks.h"
#include "core/constants.h"
#include "core/draw_phases.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "core/time_probe.h"
#include "core/units.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/weather.h"
#include "flightmodel/weapons/weapons.h"
#include "scene/weapons/weapon_draw.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "panel/hud/hud.h"
#include "scene/camera.h"
#include "scene/drawers.h"
#include "scene/effects/overlay.h"
#include "scene/plane_range.h"
#include "scene/sky_light.h"
#include "scene/view_effects.h"
#include "scene/view_setup.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

static_assert(SCENE_AIRPORT_SLOTS == LOCAL_AIRPORT_MAX);

namespace {

constexpr int SLOT_MONITOR_EXTERNAL_VIEW = 6;     // network slots of a display slaved to a master
constexpr int SLOT_MONITOR_EXTERNAL_COCKPIT = 7;

void probe(const char* label)
{
    if (log_frame_timing) UTIL_time_probe(label, 0);
}

bool view_is(std::initializer_list<int32_t> types)
{
    return std::find(types.begin(), types.end(), sim_graphics_view.view_type) != types.end();
}

// The previous pass's footprint as a box, widened and held inside the area:
// the cull box of this pass.
void footprint_box() { SCENE_form_footprint_box(SCENE_PASS_CULL_MARGIN_M); }

// A slice of the near-airport list a pass, its nearest airport
// published when the sweep reaches the end of the list.
void airport_sweep()
{
    airport_sweep_record& s = scene_airport_sweep;
    // A list longer than the visibility bytes would have the sweep write past
    // them: only the first SCENE_AIRPORT_SLOTS entries are swept.
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    if (s.cursor == -10 && s.candidate < 0) s.candidate = start_selection.airport_index;
    s.cursor += 10;
    if (s.cursor >= last) s.cursor = 0;
    int end = std::min(s.cursor + 10, last);
    if (flying_frame_count < 2) {
        s.cursor = 0;
        s.best = 9.9e9f;
        end = last;
    }
    const flt_struct& f = flt[0];
    for (int n = s.cursor; n <= end; ++n) {
        const int32_t a = local_airport_list[n];
        scene_airport_visible[n] = 0;
        // An entry naming no airport of the table, or an airport without a
        // runway, would have its first runway read past the table: it is
        // passed over (not seen, never the candidate).
        if (a < 0 || static_cast<size_t>(a) >= airport_table.size() || airport_table[static_cast<size_t>(a)].runways.empty())
            continue;
        const airport_record& apt = airport_table[static_cast<size_t>(a)];
        const runway_record& rw = apt.runways[0];
        // The runway's centre point is the midpoint of its two ends, the same
        // point as the midpoint of its first segment's start and last segment's end.
        float x, y, z;
        GEO_latlon_to_local(x, y, z, rw.lat, rw.lon, apt.elevation);
        bool seen = x >= scene_footprint_box[0] && x <= scene_footprint_box[1] && z >= scene_footprint_box[2] &&
                    z <= scene_footprint_box[3];
        for (int k = 0; k < 4 && seen; ++k) {
            const ground_point& p = view_footprint[k];
            const ground_point& q = view_footprint[(k + 1) % 4];
            seen = GEO_circle_inside_edge(p.x, p.z, q.x, q.z, x, z, scene_cull_margin);
        }
        scene_airport_visible[n] = seen ? 1 : 0;
        const float dlat = rw.lat - f.latitude, dlon = rw.lon - f.longitude;
        if (dlat * dlat + dlon * dlon < s.best) {
            s.best = dlat * dlat + dlon * dlon;
            s.candidate = a;
            s.candidate_position = n;
        }
    }
    if (end != last) return;
    s.best = 9.9e9f;
    const int32_t a = s.candidate;
    // A candidate without a runway (a current airport that has none) would have
    // the runway-end sign read past its runway list: the last result stays.
    if (a < 0 || static_cast<size_t>(a) >= airport_table.size() || airport_table[static_cast<size_t>(a)].runways.empty())
        return;
    const airport_record& apt = airport_table[static_cast<size_t>(a)];
    nearest_airport_record& out = scene_nearest_airport;
    out.airport_index = a;
    out.list_position = s.candidate_position;
    std::memcpy(out.id, apt.id, sizeof out.id);
    out.id[sizeof out.id - 1] = 0;
    const float off_wind = UTIL_wrap_180(sim_weather.wind_direction_degt[0] - apt.runways[0].heading);
    out.runway_end_sign = std::fabs(off_wind) < 90.0f ? 1 : -1;
    // The time block of this system holds no runway-choice word (the ATC
    // works its runway out afresh each time it is asked), so there is none to reset.
    if (out.list_position >= 0 && out.list_position < SCENE_AIRPORT_SLOTS) scene_airport_visible[out.list_position] = 1;
}

// The cloud layers on one side of the camera, and the thermals when their top
// is on that side: with `above` set those above the camera (drawn after the
// ground), otherwise those below it (drawn after the ground cover).
void clouds_and_thermals(bool above)
{
    const int far = scene_gates.farther_layer, near = scene_gates.nearer_layer;
    const auto on_this_side = [above](int layer) { return (scene_cloud_bands[layer].rel < 0.0f) == above; };
    if (on_this_side(far) && !scene_gates.skip_farther) SKYOBJ_draw_clouds(far);
    if (on_this_side(near)) SKYOBJ_draw_clouds(near);
    const float thermal_top = sim_weather.thermal_altitude_msl_m * UNIT.ft_to_mtrs + scene_ground_elevation;
    if ((sim_graphics_view.view_elevation_m_msl < thermal_top) == above) SKYOBJ_draw_thermals();
}

// The near world, drawn while the camera is low enough to see it. None of
// these drawers finds the ground under the user's plane (the runways, decks,
// wires, catapult, roofs and roads): the simulation does, every frame, for
// every object near the plane (flightmodel/ground/surface_under.h). Left to
// the drawing, a plug-in that takes a phase, a closed detail gate or a
// camera turned away would take the deck or runway from under the plane,
// and it would fall through to the sea or the terrain below.
void world_level()
{
    const sim_graphics_settings_block& g = sim_graphics_settings;
    const bool lines = g.draw_vectors || g.draw_taxilines;
    LIGHTS_fraction();
    probe("3scene4");
    if (PLUGIN_call_draw_hook(DRAW_PHASE_GROUND_BEFORE) != 0 && scene_gates.detail) {
        // The ground reaches the window's bottom edge whatever the near plane.
        // A camera within a few near-plane distances of the ground (the
        // near plane held at its least, below the nose on a runway) would see
        // the ground under the lowest rows cut away along a straight edge,
        // the sky backdrop showing under it; with depth clamping that ground
        // is drawn at the near plane's depth, in the order drawn, so the
        // runway still lies over the terrain. Higher up nothing is cut, and
        // the clamp would let ground past the far plane through.
        const bool clamp = sim_graphics_view.view_y - scene_ground_elevation < 3.0f * scene_projection.near_m;
        if (clamp) glEnable(GL_DEPTH_CLAMP);
        SURFACE_draw_patch(terrain_vertex_grid, 3, 0, 1);
        if (lines) ROADS_draw_traffic();
        WORLDOBJ_draw_objects();
        WPN_draw_impact_marks();
        if (lines) TAXILINES_draw();
        if (clamp) glDisable(GL_DEPTH_CLAMP);
    }
    PLUGIN_call_draw_hook(DRAW_PHASE_GROUND_AFTER);
    probe("3scene5");
    clouds_and_thermals(true);
    if (PLUGIN_call_draw_hook(DRAW_PHASE_COVER_BEFORE) != 0) {
        probe("3scene6");
        if (scene_gates.detail && (g.draw_obstacles || g.autogen_level)) TERRAIN_draw();
        probe("3scene7");
        if (scene_gates.detail) {
            SHIPS_draw();
            LIGHTS_draw();
        }
        if (scene_gates.fire && g.draw_forestfires) PARTICLE_draw_fires();
        if (scene_gates.lightning_bolt) SKYOBJ_draw_lightning();
    }
    PLUGIN_call_draw_hook(DRAW_PHASE_COVER_AFTER);
    probe("3scene8");
    clouds_and_thermals(false);
}

// The aircraft's own cockpit geometry seen from the pilot's eye, in
// the views it asks for.
void cockpit_redraw()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const acf_struct& a = pln[0];
    if (v.view_is_external) return;
    const bool asked = (a.acf_draw_geo_frnt_views && VIEW_is_forward(v.view_type)) ||
                       (a.acf_draw_geo_side_views && v.view_type >= VIEW_LEFT_45 && v.view_type <= VIEW_RIGHT_75) ||
                       (a.acf_draw_geo_side_views && (std::fabs(v.field_of_view_horizontal_deg) > 0.01f ||
                                                      std::fabs(v.field_of_view_horizontal_ratio) > 0.01f));
    if (!asked) return;
    const scene_projection_record& s = scene_projection;
    const float k = v.field_of_view_deg / 90.0f;
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    OGL_set_projection(PROJECTION_3D, s.frustum[0] * k, s.frustum[1] * k, s.frustum[2] * k, s.frustum[3] * k,
                       MACIBM_ui_to_window_x(s.screen[0]), MACIBM_ui_to_window_y(s.screen[1]),
                       MACIBM_ui_to_window_x(s.screen[2]), MACIBM_ui_to_window_y(s.screen[3]), 0.1f, 200.0f, 200.0f,
                       v.view_zoom);
    glRotatef(view_offset_pitch, -1.0f, 0.0f, 0.0f);
    glRotatef(view_offset_heading, 0.0f, 1.0f, 0.0f);
    glTranslatef(-a.acf_peX, -a.acf_peY, -a.acf_peZ);
    ACF_draw_plane(0, 1);
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    for (int slot = 0; slot < ACF_WPN_SLOTS; ++slot)
        if (a.acf_wpn_slot[slot].wpn_type != 0) ACF_draw_weapon(0, slot, 1);
    glPopMatrix();
}

// The head-up display's box for this frame, false when it is left out. While
// the replay bar is shown, a box reaching up to the bar (the heading tape's
// figures stand two units above the box's top) would draw its heading figures
// over the bar's buttons and hide them: it is drawn shorter by the same
// amount at both ends, so its figures stay off the buttons and its boresight
// stays on the view's centre; a box whose centre lies within 30 units of the
// bar has no room left for its tapes and is left out meanwhile.
bool hud_box_clear_of_bar(float box[4])
{
    constexpr float FIGURES_ABOVE_TOP = 2.0f;
    std::copy(scene_projection.hud_box, scene_projection.hud_box + 4, box);
    const float* bar = REPLAY_BAR_BOX;
    const float top = bar[1] - FIGURES_ABOVE_TOP;
    if (!REPLAY_bar_shown() || box[0] >= bar[2] || box[2] <= bar[0] || box[3] <= top) return true;
    const float cy = 0.5f * (box[1] + box[3]), half = top - cy;
    if (!(half >= 30.0f)) return false;
    box[1] = cy - half, box[3] = cy + half;
    return true;
}

}  // namespace

void SCENE_draw_3d()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const scene_projection_record& s = scene_projection;

    // A display slaved to a master shows the master's outside or cockpit view.
    if (net_slot_enabled[SLOT_MONITOR_EXTERNAL_VIEW] && v.view_type != VIEW_FORWARD_NO_PANEL)
        CORE_run_command(VIEW_FORWARD_NO_PANEL);
    if (net_slot_enabled[SLOT_MONITOR_EXTERNAL_COCKPIT] && v.view_type != VIEW_FORWARD) CORE_run_command(VIEW_FORWARD);
    // The camera, where it is on the planet and the ground under it.
    CAMERA_place();
    CAMERA_locate();
    // Cloud bands, visibility and gates.
    SKY_visibility_and_gates();
    probe("3scene0");
    // The footprint box and the nearest airport.
    footprint_box();
    airport_sweep();
    probe("3scene1");
    // Sun and moon, sky bands, light.
    SKY_sun_and_light();
    // Boxes, near and far, fog, projection and head angles.
    CAMERA_boxes();
    const plane_run_record run = SCENE_plane_run();
    CAMERA_near_and_far(run.first, run.last);
    SKY_fog();
    CAMERA_project();
    // The view, the sky backdrop, the sun light and the fog.
    probe("3scene2");
    VIEW_setup_scene(s.far_radius_m, s.offset_heading_rad, s.offset_pitch_rad, v.visibility_terrain_m,
                     v.view_y - scene_ground_elevation);
    probe("3scene3");
    // Sun, moon and stars.
    if (scene_gates.sun)
        SKYOBJ_draw_sun_moon_stars(sky_ramp[7][0] * scene_atmosphere_factor, sky_ramp[7][1] * scene_atmosphere_factor,
                                   sky_ramp[7][2] * scene_atmosphere_factor, s.screen[0], 0.0f, s.screen[2], s.screen[3]);
    // The globe, from high up.
    if (scene_gates.globe) {
        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        if (const uint32_t list = APT_globe_display_list(); list != 0) {
            glCallList(list);
            bound_texture[0] = TEX_SLOT_PLANET_2;   // the list binds its textures itself
        }
    }
    // The near world.
    if (scene_world_visible) world_level();
    // Planes, particles, fences, weapons, attachments.
    SCENE_draw_plane_range(run.first, run.last);
    PARTICLE_draw();
    if (v.visibility_math_level == 5) PARTICLE_draw_engine_trails();
    // The ground quads around the camera: in this system the airport fences,
    // the world-object pass's own quads (the textured ground itself is drawn
    // by the surface mesh for every visible cell). Only on the Earth, and only
    // where the ground detail is drawn.
    if (scene_world_visible && scene_gates.detail && sim_graphics_scenery.current_planet == PLANET_EARTH)
        WORLDOBJ_draw_fences();
    WPN_draw();
    SCENE_draw_attachments();
    // The head-up display's symbols on the world, in the forward views and
    // the head-up display's own view.
    const bool hud_view = VIEW_is_forward(v.view_type) || v.view_type == VIEW_HUD;
    float hud_box[4];
    const bool hud_room = hud_box_clear_of_bar(hud_box);
    if (acf_HUD_type == HUD_KIND_WORLD && sim_cockpit_electrical.HUD_on && hud_view && hud_room) {
        OGL_scissor_on(hud_box[0], hud_box[1], hud_box[2] - hud_box[0], hud_box[3] - hud_box[1]);
        HUD_draw_world_symbols(0);
        OGL_scissor_off();
    }
    // Rain and snow streaming past.
    const flt_struct& f = flt[0];
    // The edges go as top, bottom, left, right: the points take them third, second, fourth, first.
    // The weather's rain_amount and snow_amount are its precip_rain and precip_snow.
    VIEW_draw_air_points(s.screen[0], 0.0f, s.screen[2], s.screen[3], s.frustum[3], s.frustum[1], s.frustum[0],
                         s.frustum[2], f.local_vx, f.local_vy, f.local_vz, sim_weather.precip_rain, sim_weather.precip_snow, 0);
    // The cockpit seen from the pilot's eye.
    cockpit_redraw();
    // The 2-D layers: windshield and head-up display.
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    const int inside = VIEW_is_forward(v.view_type) || view_is({VIEW_HUD, VIEW_FORWARD_NO_PANEL});
    VIEW_draw_windshield(inside, s.screen[0], 0.0f, s.screen[2], s.screen[3], weather_stage.windshield_impact_rate,
                         f.window_ice, 0);
    // The aircraft's own head-up display, when it has one and it is on, in the
    // forward views that show it; the head-up display's own view shows one in
    // any case.
    if (((hud_view && acf_HUD_type != HUD_KIND_NONE && sim_cockpit_electrical.HUD_on) || v.view_type == VIEW_HUD) && hud_room)
        HUD_draw(hud_box[0], hud_box[1], hud_box[2], hud_box[3], 0);
    // The yaw string streams back 50 units. The flight model of this system
    // keeps no yaw-string deflection pair; the sideslip angle stands in for it:
    // the pair is (-sin, cos) of the sideslip, straight up with none.
    const acf_struct& a = pln[0];
    if (f.groundspeed > 1.0f && a.acf_yawstringx > 0.0f && a.acf_yawstringy > 0.0f &&
        VIEW_is_forward(v.view_type)) {
        const float beta = f.beta * DEG_TO_RAD_FLOAT;
        OGL_draw_line(21, 1.0f, a.acf_yawstringx, a.acf_yawstringy, a.acf_yawstringx - 50.0f * std::sin(beta),
                      a.acf_yawstringy + 50.0f * std::cos(beta));
    }
    probe("3scene9");
}
