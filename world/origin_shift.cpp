// The origin shift of the scene build's one-degree modes.
#include "world/origin_shift.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/weapons/weapons.h"
#include "links/plugin_host.h"
#include "scene/sky/cloud_field.h"
#include "scene/fires.h"
#include "scene/particles.h"
#include "scene/scene_state.h"
#include "world/ships.h"
#include "scene/trails.h"
#include "world/terrain_grid.h"

namespace {

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// Degrees from the new reference back to the old one, per mode.
struct shift {
    int lon, lat;
};
shift shift_of(int mode)
{
    switch (mode) {
    case 2: return {1, 0};
    case 3: return {-1, 0};
    case 4: return {0, -1};
    case 5: return {0, 1};
    default: return {0, 0};
    }
}

// A point or a velocity taken about the old area centre, about the new one.
struct rebase_frame {
    double old_lat, old_lon, new_lat, new_lon;

    void point(float& x, float& y, float& z) const
    {
        const geo_point g = GEO_local_to_latlon_about(old_lat, old_lon, x, y, z);
        double nx, ny, nz;
        GEO_latlon_to_local_about(new_lat, new_lon, g, nx, ny, nz);
        x = static_cast<float>(nx), y = static_cast<float>(ny), z = static_cast<float>(nz);
    }
    void point(float* p) const { point(p[0], p[1], p[2]); }
    // A velocity turns with the frame: its end point, less the old centre, both re-based.
    void vector(float& x, float& y, float& z) const
    {
        float ox = 0.0f, oy = 0.0f, oz = 0.0f;
        point(ox, oy, oz);
        point(x, y, z);
        x -= ox, y -= oy, z -= oz;
    }
};

int planes_in_play()
{
    return std::clamp(PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0), 0, FLT_SLOTS);
}

// Re-bases (x, z) at height y, leaving y where it was.
void point_xz(const rebase_frame& f, float& x, float y, float& z)
{
    float yy = y;
    f.point(x, yy, z);
}

void wrap_into(float& v, float half)
{
    if (!(half > 0.0f) || !std::isfinite(v)) return;
    const float span = 2.0f * half;
    if (v > half || v < -half) v -= span * std::floor((v + half) / span);
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

}  // namespace

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

void APT_shift_origin(int mode)
{
    const shift s = shift_of(mode);
    if (s.lon == 0 && s.lat == 0) return;
    const int p = planet();
    const float old_lat_ref = lat_ref + static_cast<float>(s.lat);
    const float old_lon_ref = lon_ref + static_cast<float>(s.lon);
    const rebase_frame f{old_lat_ref + reference_lat_offset[p], old_lon_ref + reference_lon_offset[p],
                         lat_ref + reference_lat_offset[p], lon_ref + reference_lon_offset[p]};
    const int planes = planes_in_play();

    // 1. Terrain cells: the camera's cell and the drawn window, and the planes'
    // cells; a degree is the planet's grid points per degree.
    const terrain_extent e = TERRAIN_extent();
    const int column_shift = s.lon * e.tile_n, row_shift = s.lat * e.tile_m;
    auto column = [&](int32_t& c) { c = std::clamp(c + column_shift, 0, e.last_i - 1); };
    auto row = [&](int32_t& r) { r = std::clamp(r + row_shift, 0, e.last_j - 1); };
    column(camera_cell.column);
    row(camera_cell.row);
    column(terrain_window.first_column);
    column(terrain_window.last_column);
    row(terrain_window.first_row);
    row(terrain_window.last_row);
    for (int n = 0; n < planes; ++n) {
        flt[n].i = std::clamp(flt[n].i + column_shift, 0, e.last_i);
        flt[n].j = std::clamp(flt[n].j + row_shift, 0, e.last_j);
    }

    // 2. The planes in play.
    for (int n = 0; n < planes; ++n) {
        flt_struct& fl = flt[n];
        f.point(fl.local_x, fl.local_y, fl.local_z);
        f.vector(fl.local_vx, fl.local_vy, fl.local_vz);
        fl.local_x_d = fl.local_x;
        fl.local_y_d = fl.local_y;
        fl.local_z_d = fl.local_z;
    }

    // 3, 4. Wakes, the last wake positions and the sea objects.
    for (int k = 0; k < SEA_OBJECT_SLOTS && k < WAKE_SLOTS; ++k) {
        for (auto& segment : wakes[k].points)
            for (wake_point& w : segment) point_xz(f, w.x, ship_y[k], w.z);
    }
    for (int k = 0; k < SEA_OBJECT_SLOTS && k < WAKE_SLOTS; ++k) point_xz(f, wakes[k].last_x, ship_y[k], wakes[k].last_z);
    for (int k = 0; k < SEA_OBJECT_SLOTS; ++k)
        if (std::fabs(ship_x[k]) < 1.0e9f && std::fabs(ship_z[k]) < 1.0e9f) f.point(ship_x[k], ship_y[k], ship_z[k]);

    // 5. Live particles; their floor moves with them.
    for (particle_record& r : particle_list) {
        if (!(r.age > 0.0f && r.age < r.life)) continue;
        const float y0 = r.y;
        f.point(r.x, r.y, r.z);
        r.floor_y += r.y - y0;
    }

    // 6. Fires and the camera.
    for (int k = 0; k < FIRE_COUNT; ++k) f.point(fire_table.x[k], fire_table.y[k], fire_table.z[k]);
    f.point(sim_graphics_view.view_x, sim_graphics_view.view_y, sim_graphics_view.view_z);
    f.point(view_fixed_point);

    // 7. Engine trails.
    for (engine_trail_ring& ring : engine_trails)
        for (engine_trail_sample& t : ring.samples)
            if (t.valid) f.point(t.pos);

    // 8. The replay ring, each record from the origin it was recorded about.
    const int32_t packed = APT_pack_reference(lat_ref, lon_ref);
    for (plane_state_record& r : replay_ring) {
        if (!(r.network_time_sec > 0.01f)) continue;
        float ref_lat = 0.0f, ref_lon = 0.0f;
        APT_unpack_reference(r.ref_point, ref_lat, ref_lon);
        PLANE_rebase_position(r.local_x, r.local_y, r.local_z, ref_lat, ref_lon);
        r.ref_point = packed;
    }

    // 9, 10. Weapons in flight and released weapons.
    WPN_rebase(old_lat_ref, old_lon_ref);

    // 11. The cloud grid's origin, kept within one cell of the field.
    cloud_grid_origin_record& c = cloud_grid_origin;
    if (cloud_cell_box.hx > 0.0f && cloud_cell_box.hz > 0.0f) {
        f.point(c.x, c.y, c.z);
        wrap_into(c.x, cloud_cell_box.hx);
        wrap_into(c.z, cloud_cell_box.hz);
        c.y = 0.0f;
    }

    // 12. The storm grid by one degree's worth of cells.
    const int lon_span = static_cast<int>(2.0f * reference_lon_offset[p]);
    const int lat_span = static_cast<int>(2.0f * reference_lat_offset[p]);
    shift_storm_grid(s.lon * (STORM_GRID_DIM / lon_span), s.lat * (STORM_GRID_DIM / lat_span));
}
