// Stand-ins of the scene's drawers until their own issues draw them: they
// draw nothing, with one exception that carries behaviour the rest of the
// program already relies on: the world-objects pass finds the paved runway
// under the user's plane (the flat surface at the airport's elevation, with
// the runway's surface code, roughness and index) from the runways of the
// nearby airports; water runways are left to the water.
#include "scene/drawers.h"

#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "flightmodel/flt.h"
#include "scene/surface_state.h"
#include "world/apt_scene.h"
#include "world/navdb.h"

namespace {

bool over_runway(const runway_record& r, float elevation, float px, float pz)
{
    float rx, ry, rz;
    GEO_latlon_to_local(rx, ry, rz, r.lat, r.lon, elevation);
    const double h = r.heading * DEG_TO_RAD_DOUBLE;
    const double dx = px - rx, dz = pz - rz;
    const double along = dx * std::sin(h) - dz * std::cos(h);
    const double across = dx * std::cos(h) + dz * std::sin(h);
    return std::fabs(along) <= 0.5 * r.length && std::fabs(across) <= 0.5 * r.width;
}

}  // namespace

void PARTICLE_draw_fires() {}
void PARTICLE_draw() {}
void PARTICLE_draw_engine_trails() {}
void WORLDOBJ_draw_ground_quad() {}

void WORLDOBJ_draw_objects()
{
    const flt_struct& f = flt[0];
    const int last = local_airport_last < LOCAL_AIRPORT_MAX ? local_airport_last : LOCAL_AIRPORT_MAX - 1;
    for (int n = 0; n <= last; ++n) {
        const int32_t a = local_airport_list[n];
        if (a < 0 || static_cast<size_t>(a) >= airport_table.size()) continue;
        const airport_record& apt = airport_table[static_cast<size_t>(a)];
        for (size_t k = 0; k < apt.runways.size(); ++k) {
            const runway_record& r = apt.runways[k];
            if (r.surface_code == SURFACE_WATER || !over_runway(r, apt.elevation, f.local_x, f.local_z)) continue;
            float lat, lon, elev, x, y, z;
            GEO_local_to_latlon(lat, lon, elev, f.local_x, f.local_y, f.local_z);
            GEO_latlon_to_local(x, y, z, lat, lon, apt.elevation);
            surface_state.flat_surface_on = 1;
            surface_state.flat_surface_height = y;
            surface_state.surface_code = r.surface_code;
            surface_state.surface_roughness = r.smoothness;
            surface_state.runway_under_plane = static_cast<int32_t>(k);
            return;
        }
    }
}
