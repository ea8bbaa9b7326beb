// The origin shift of the scene build's one-degree modes.
#include "world/origin_shift.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/hooks.h"
#include "core/numeric.h"
#include "core/replay.h"
#include "core/simvars/graphics.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/attitude.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/weapons/weapons.h"
#include "links/plugin_host.h"
#include "world/ships.h"
#include "world/terrain_grid.h"

namespace {

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// The old origin of a move and the frame from it to the current one.
struct shift_frame {
    float old_lat_ref, old_lon_ref;
    origin_rebase_frame f;
};
shift_frame frame_of(const origin_shift_step& s, int p)
{
    const float old_lat_ref = lat_ref + static_cast<float>(s.lat);
    const float old_lon_ref = lon_ref + static_cast<float>(s.lon);
    return {old_lat_ref, old_lon_ref,
            {old_lat_ref + reference_lat_offset[p], old_lon_ref + reference_lon_offset[p],
             lat_ref + reference_lat_offset[p], lon_ref + reference_lon_offset[p]}};
}

int planes_in_play()
{
    return std::clamp(PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0), 0, FLT_SLOTS);
}

// The storm grid moved by whole cells: + shifts toward higher indices.
void shift_storm_grid(int along_first, int along_second)
{
    constexpr int D = STORM_GRID_DIM;
    auto cell = [](int a, int b) -> float& { return storm_grid[a * D + b]; };
    if (along_first > 0)
        for (int a = D - 1; a >= along_first; --a)
            for (int b = 0; b < D; ++b) cell(a, b) = cell(a - along_first, b);
    if (along_first < 0)
        for (int a = 0; a < D + along_first; ++a)
            for (int b = 0; b < D; ++b) cell(a, b) = cell(a - along_first, b);
    if (along_second > 0)
        for (int a = 0; a < D; ++a)
            for (int b = D - 1; b >= along_second; --b) cell(a, b) = cell(a, b - along_second);
    if (along_second < 0)
        for (int a = 0; a < D; ++a)
            for (int b = 0; b < D + along_second; ++b) cell(a, b) = cell(a, b - along_second);
}

// The planes in play carried from one frame to the other: position and
// velocity, and the heading turned with the frame's north at the plane (the
// attitude's quaternion follows), so that the nose keeps pointing along the
// path the velocity now gives.
void carry_planes(const origin_rebase_frame& f, int planes)
{
    for (int n = 0; n < planes; ++n) {
        flt_struct& fl = flt[n];
        const double turn = f.heading_turn_deg(fl.local_x, fl.local_y, fl.local_z);
        f.point(fl.local_x, fl.local_y, fl.local_z);
        f.vector(fl.local_vx, fl.local_vy, fl.local_vz);
        fl.local_x_d = fl.local_x;
        fl.local_y_d = fl.local_y;
        fl.local_z_d = fl.local_z;
        if (std::isfinite(turn)) {
            fl.psi = UTIL_wrap_360(fl.psi + static_cast<float>(turn));
            PHYS_euler_to_quat(fl.theta, fl.psi, fl.phi, fl.q);
        }
    }
}

}  // namespace

double origin_rebase_frame::heading_turn_deg(double x, double y, double z) const
{
    // The point and one a metre north of it, both taken about the new centre.
    const geo_point here = GEO_local_to_latlon_about(old_lat, old_lon, x, y, z);
    const geo_point north = GEO_local_to_latlon_about(old_lat, old_lon, x, y, z - 1.0);
    double ax, ay, az, bx, by, bz;
    GEO_latlon_to_local_about(new_lat, new_lon, here, ax, ay, az);
    GEO_latlon_to_local_about(new_lat, new_lon, north, bx, by, bz);
    return std::atan2(bx - ax, -(bz - az)) * RAD_TO_DEG_DOUBLE;
}

int32_t APT_pack_reference(float lat, float lon)
{
    auto digit = [](float v) { return v < 0.0f ? 1 : 2; };
    auto whole = [](float v, int cap) { return std::clamp(GEO_round(std::fabs(v)), 0, cap); };
    return digit(lat) * 1000000 + whole(lat, 99) * 10000 + digit(lon) * 1000 + whole(lon, 999);
}

void APT_unpack_reference(int32_t packed, float& lat, float& lon)
{
    const int32_t s_lat = packed / 1000000, a_lat = (packed / 10000) % 100;
    const int32_t s_lon = (packed / 1000) % 10, a_lon = packed % 1000;
    lat = static_cast<float>(s_lat == 1 ? -a_lat : a_lat);
    lon = static_cast<float>(s_lon == 1 ? -a_lon : a_lon);
}

origin_shift_step APT_origin_shift_step(int mode)
{
    switch (mode) {
    case 2: return {1, 0};
    case 3: return {-1, 0};
    case 4: return {0, -1};
    case 5: return {0, 1};
    default: return {0, 0};
    }
}

bool APT_origin_shift_frame(int mode, origin_rebase_frame& frame)
{
    const origin_shift_step s = APT_origin_shift_step(mode);
    if (s.lon == 0 && s.lat == 0) return false;
    frame = frame_of(s, planet()).f;
    return true;
}

void APT_shift_origin(int mode)
{
    const origin_shift_step s = APT_origin_shift_step(mode);
    if (s.lon == 0 && s.lat == 0) return;
    const int p = planet();
    const shift_frame sf = frame_of(s, p);
    const origin_rebase_frame& f = sf.f;
    const int planes = planes_in_play();

    // 1. The scene's records: the camera's terrain cell and the drawn window,
    // the wakes (at the ships' heights before the ships move), particles,
    // fires, the camera, the engine trails and the cloud grid's origin. They
    // are carried over here, ahead of the planes rather than between them:
    // each record is re-based on its own and reads nothing another step
    // writes (the wakes read the ships' heights, which move later), so the
    // outcome is the same as in the listed order.
    CORE_shift_scene_origin(mode);

    // 2. The planes' terrain cells; a degree is the planet's grid points per degree.
    const terrain_extent e = TERRAIN_extent();
    const int column_shift = s.lon * e.tile_n, row_shift = s.lat * e.tile_m;
    // Held inside the grid: a cell moved off it would be read past the grid's end.
    for (int n = 0; n < planes; ++n) {
        flt[n].i = std::clamp(flt[n].i + column_shift, 0, e.last_i);
        flt[n].j = std::clamp(flt[n].j + row_shift, 0, e.last_j);
    }

    // 3. The planes in play.
    carry_planes(f, planes);

    // 4. The sea objects.
    for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) f.point(ship_x[k], ship_y[k], ship_z[k]);

    // 5. The replay ring, each record from the origin it was recorded about.
    const int32_t packed = APT_pack_reference(lat_ref, lon_ref);
    for (plane_state_record& r : replay_ring) {
        if (!(r.network_time_sec > 0.01f)) continue;
        float ref_lat = 0.0f, ref_lon = 0.0f;
        APT_unpack_reference(r.ref_point, ref_lat, ref_lon);
        PLANE_rebase_position(r.local_x, r.local_y, r.local_z, ref_lat, ref_lon);
        r.ref_point = packed;
    }

    // 6, 7. Weapons in flight and released weapons.
    WPN_rebase(sf.old_lat_ref, sf.old_lon_ref);

    // 8. The storm grid by one degree's worth of cells.
    const int lon_span = static_cast<int>(2.0f * reference_lon_offset[p]);
    const int lat_span = static_cast<int>(2.0f * reference_lat_offset[p]);
    shift_storm_grid(s.lon * (STORM_GRID_DIM / lon_span), s.lat * (STORM_GRID_DIM / lat_span));
}

void APT_carry_over_jump(float old_lat_ref, float old_lon_ref)
{
    if (!std::isfinite(old_lat_ref) || !std::isfinite(old_lon_ref)) return;
    const int p = planet();
    const origin_rebase_frame f{old_lat_ref + reference_lat_offset[p], old_lon_ref + reference_lon_offset[p],
                                lat_ref + reference_lat_offset[p], lon_ref + reference_lon_offset[p]};
    carry_planes(f, planes_in_play());
    WPN_rebase(old_lat_ref, old_lon_ref);
}
