#include "scene/scene_origin_shift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/simvars.h"
#include "world/fires.h"
#include "scene/effects/particles.h"
#include "scene/scene_state.h"
#include "scene/sky/cloud_field.h"
#include "scene/effects/trails.h"
#include "world/origin_shift.h"
#include "world/ships.h"
#include "world/terrain_grid.h"

namespace {

void wrap_into(float& v, float half)
{
    if (!(half > 0.0f) || !std::isfinite(v)) return;
    const float span = 2.0f * half;
    if (v > half || v < -half) v -= span * std::floor((v + half) / span);
}

}  // namespace

void SCENE_shift_origin(int mode)
{
    origin_rebase_frame f{};
    if (!APT_origin_shift_frame(mode, f)) return;

    // The camera's terrain cell and the drawn window; a degree is the planet's
    // grid points per degree. They are held inside the grid's cells: a cell
    // moved off it would be read past the grid's end.
    const origin_shift_step s = APT_origin_shift_step(mode);
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

    // Wakes and the last wake positions, at their ships' heights.
    for (int k = 0; k < SEA_OBJECT_SLOTS && k < WAKE_SLOTS; ++k) {
        for (auto& segment : wakes[k].points)
            for (wake_point& w : segment) f.point_xz(w.x, ship_y[k], w.z);
    }
    for (int k = 0; k < SEA_OBJECT_SLOTS && k < WAKE_SLOTS; ++k) f.point_xz(wakes[k].last_x, ship_y[k], wakes[k].last_z);

    // Live particles; their floor moves with them.
    for (particle_record& r : particle_list) {
        if (!(r.age > 0.0f && r.age < r.life)) continue;
        const float y0 = r.y;
        f.point(r.x, r.y, r.z);
        r.floor_y += r.y - y0;
    }

    // Fires and the camera.
    for (int k = 0; k < FIRE_COUNT; ++k) f.point(fire_table.x[k], fire_table.y[k], fire_table.z[k]);
    f.point(sim_graphics_view.view_x, sim_graphics_view.view_y, sim_graphics_view.view_z);
    f.point(view_fixed_point);

    // Engine trails.
    for (engine_trail_ring& ring : engine_trails)
        for (engine_trail_sample& t : ring.samples)
            if (t.valid) f.point(t.pos);

    // The cloud grid's origin, kept within one cell of the field.
    cloud_grid_origin_record& c = cloud_grid_origin;
    if (cloud_cell_box.hx > 0.0f && cloud_cell_box.hz > 0.0f) {
        f.point(c.x, c.y, c.z);
        wrap_into(c.x, cloud_cell_box.hx);
        wrap_into(c.z, cloud_cell_box.hz);
        c.y = 0.0f;
    }
}
