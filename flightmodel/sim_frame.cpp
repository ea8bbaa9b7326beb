#include "flightmodel/sim_frame.h"

#include <algorithm>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/hooks.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "flightmodel/environment/ship_motion.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/surface_under.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/systems.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "world/scene_origin.h"
#include "world/ships.h"

namespace {

constexpr int NET_ROLE_MULTIPLAYER = 0;   // the multiplayer peer's slot
constexpr int PLUGIN_EVENT_FLYING_FRAME = 0;

int planet_index() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// The user plane's velocity turned from the axes at the origin into the axes
// at the plane's own position; returns the vertical speed.
float velocity_at_plane(flt_struct& f)
{
    const int p = planet_index();
    const double c_lat = static_cast<double>(lat_ref) + reference_lat_offset[p];
    const double c_lon = static_cast<double>(lon_ref) + reference_lon_offset[p];
    const double d_lat = UTIL_wrap_between(f.latitude - c_lat, -90.0, 90.0);
    const double d_lon = UTIL_wrap_pm180(f.longitude - c_lon);
    // The frame mirrored about the centre: centred on C - D.
    const double m_lat = c_lat - d_lat;
    const double m_lon = c_lon - d_lon;
    const geo_point v = GEO_local_to_latlon_about(m_lat, m_lon, f.local_vx, f.local_vy, f.local_vz);
    // The reference goes back to whole degrees.
    lat_ref = static_cast<float>(GEO_round(lat_ref));
    lon_ref = static_cast<float>(GEO_round(lon_ref));
    double px, py, pz, qx, qy, qz;
    GEO_latlon_to_local_about(c_lat, c_lon, v, px, py, pz);
    GEO_latlon_to_local_about(c_lat, c_lon, {m_lat, m_lon, 0.0}, qx, qy, qz);
    f.ve = static_cast<float>(px - qx);
    f.vs = static_cast<float>(pz - qz);
    return static_cast<float>(py - qy);
}

void plane_positions()
{
    const int n = FLTMOD_planes_to_run();
    const float dt = sim_operation_misc.frame_rate_period;
    for (int i = n - 1; i >= 0; --i) {
        flt_struct& f = flt[i];
        GEO_local_to_latlon(f.latitude, f.longitude, f.elevation, f.local_x, f.local_y, f.local_z);
        // Every plane's longitude within -180..180 (a peer's plane, read by
        // plug-ins and the map, as the user's): the conversion gives it within
        // half a turn of the area's centre, which may lie past 180.
        f.latitude = static_cast<float>(UTIL_wrap_between(static_cast<double>(f.latitude), -90.0, 90.0));
        f.longitude = static_cast<float>(UTIL_wrap_pm180(static_cast<double>(f.longitude)));
        if (i != 0) continue;

        const float v = velocity_at_plane(f);
        // `net_origin_by_network` is the origin-held flag, under the name of
        // the network handler that sets it.
        if (!net_origin_by_network) SCENE_recenter_origin(f.latitude, f.longitude);
        f.h_ind = f.elevation + (sim_cockpit_misc.barometer_setting - sim_physics.earth_pressure_p * UNIT_PA_TO_INHG_SHORT) *
                                    1000.0f * UNIT.ft_to_mtrs;
        f.vh_ind = v * dt + (1.0f - dt) * f.vh_ind;
        float scratch[3];
        int row = f.i, col = f.j;
        terrain_height_m = TERRAIN_height_at(f.local_x, f.local_z, &scratch[0], &scratch[1], &scratch[2], &row, &col, 1,
                                             "update_plane_cycle local_y_cg");
        f.i = row;
        f.j = col;
        f.y_agl = f.local_y - pln[0].acf_h_eqlbm - WATER_surface_under_plane();
    }
}

}  // namespace

int FLTMOD_planes_to_run()
{
    const int n = PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0);
    return std::clamp(n, 0, FLT_SLOTS);
}

sim_frame_ran FLTMOD_sim_frame()
{
    if (app_mode == MODE_FLYING) {
        GROUND_launch_releases();
        GROUND_surface_under_plane();
    }
    plane_positions();
    sim_frame_ran ran;
    if (app_mode != MODE_FLYING) return ran;
    ran.flying = true;

    PLUGIN_call_event_hook(PLUGIN_EVENT_FLYING_FRAME, frame_clock, 0, 0, 0);
    if (sim_graphics_scenery.current_planet == PLANET_MARS && net_slot_enabled[NET_ROLE_MULTIPLAYER] == 0)
        sim_graphics_settings.draw_aircrafts = 1;
    ran.paused = sim_time.paused != 0;
    if (sim_operation_prefs.replay_mode == 0 && !ran.paused) SYSTEMS_own_plane_update();

    const int n = FLTMOD_planes_to_run();
    for (int i = n - 1; i >= 0; --i) {
        if (!ran.paused) FLTMOD_plane_step(i);
        CORE_plane_stepped(i);
    }

    if (!ran.paused && sim_graphics_settings.draw_ships) {
        SHIPS_step(SHIP_CARRIER);
        SHIPS_step(SHIP_FRIGATE);
    }
    return ran;
}
