// Reset of any plane slot at a start point: a fresh flight-model record at
// the given place, attitude and speed, engines running, gear by type. The
// special flight starts place their second aircraft with it, the traffic its
// planes.
#include <cmath>

#include "aircraft/acf_choose.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/random.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "world/scenery_area.h"

namespace {

// Whole cell (0..cells - 1) of a coordinate between two bounds; the middle
// cell when the bounds are equal. A plane outside the area (or at a position
// that is not a number) is held to the grid's edge: its cell would lie past
// the grid that the terrain and water checks index with it.
int grid_cell(float v, float first, float last, int cells)
{
    const double span = static_cast<double>(last) - static_cast<double>(first);
    double f = span == 0.0 ? (cells - 1) * 0.5 : (cells - 1) * (static_cast<double>(v) - first) / span;
    if (!(f >= 0.0)) f = 0.0;   // NaN too
    if (f > cells - 1) f = cells - 1;
    return static_cast<int>(f);
}

}  // namespace

void FLIGHT_reset_at_start(int slot, float theta, float psi, float phi, float x, float y, float z, float groundspeed)
{
    if (slot < 0 || slot >= FLT_SLOTS) return;
    ACF_choose_and_load(slot);
    flt_struct& f = flt[slot];
    f = flt_struct{};
    f.theta = theta;
    f.psi = psi;
    f.phi = phi;
    f.local_x = x;
    f.local_y = y;
    f.local_z = z;
    f.local_x_d = x;
    f.local_y_d = y;
    f.local_z_d = z;
    f.groundspeed = groundspeed;
    const double h = psi * DEG_TO_RAD_DOUBLE;
    f.local_vx = groundspeed * static_cast<float>(std::sin(h));
    f.local_vy = 0.0f;
    f.local_vz = -groundspeed * static_cast<float>(std::cos(h));

    // i runs east over the columns, j north over the rows. j counts from the
    // south edge (z1), because the terrain grid's row 0 is its south edge:
    // counted from the north edge (z0) the cell would be mirrored north to
    // south, so the water check that reads the land use at this cell would
    // read a cell on the other side of the area, and the ground search would
    // start far from the plane.
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    f.i = grid_cell(x, scenery_area.x0, scenery_area.x1, grid_rows[p]);
    f.j = grid_cell(z, scenery_area.z1, scenery_area.z0, grid_cols[p]);

    acf_struct& a = pln[slot];
    for (int g = PART_GEAR_FIRST; g <= PART_GEAR_LAST; ++g) {
        a.acf_gear_deploy[g] = a.acf_gear_retract ? 0.0f : 1.0f;
        a.acf_gear_def[g] = 0.0f;
    }
    const float sound = sim_weather.speed_of_sound_ms;
    for (int e = 0; e < FLT_ENGINES; ++e) {
        f.ENGN_running[e] = 1;
        f.ENGN_thro[e] = 1.0f;
        f.ENGN_thro_use[e] = 1.0f;
        f.ENGN_tacrad[e] = 99.9f;
        f.POINT_tacrad[e] = 99.9f;
        f.DVinc[e] = sound * (ENGINE_type_drives_prop(a.acf_en_type[e]) ? 0.1f : 0.75f);
    }
    f.ai_app_mode = UTIL_rand() * 3 / (UTIL_RAND_MAX + 1);
}
