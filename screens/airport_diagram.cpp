// The airport list's runway diagram: the runways of one airport fitted into a
// box through the map view, the airport filling 90 % of it.
#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "screens/map.h"
#include "world/navdb.h"
#include "world/runway_outline.h"

void SETUP_draw_airport_diagram(int airport, float x1, float y1, float x2, float y2)
{
    // An index outside the airport table would read past it; an airport
    // without runways has no extent to draw: either draws nothing.
    const airport_record* apt = APT_table_at(airport);
    if (!apt || apt->runways.empty()) return;
    const float saved_lat = lat_ref, saved_lon = lon_ref;
    lat_ref = static_cast<float>(std::round(apt->runways[0].lat));
    lon_ref = static_cast<float>(std::round(apt->runways[0].lon));

    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double R = static_cast<double>(sim_physics.earth_radius_m) + apt->elevation;
    const double phi_c = (static_cast<double>(lat_ref) + reference_lat_offset[planet]) * DEG_TO_RAD_DOUBLE;
    const double lam_c = (static_cast<double>(lon_ref) + reference_lon_offset[planet]) * DEG_TO_RAD_DOUBLE;
    double min_x = 9.9e9, min_z = 9.9e9, max_x = -9.9e9, max_z = -9.9e9;
    // The runway index is a local of its own: no code of this program reads
    // a shared loop word after the diagram.
    for (int r = 0; r < static_cast<int>(apt->runways.size()); ++r) {
        float lat[4], lon[4], h[4];
        APT_runway_outline(airport, r, lat, lon, h, 0);
        for (int k = 0; k < 4; ++k) {
            const double phi = lat[k] * DEG_TO_RAD_DOUBLE;
            double dl = lon[k] * DEG_TO_RAD_DOUBLE - lam_c;
            if (dl < -PI_DOUBLE) dl += TWO_PI_DOUBLE;
            if (dl > PI_DOUBLE) dl -= TWO_PI_DOUBLE;
            const double x = R * std::cos(phi) * std::sin(dl);
            const double z = -R * (std::cos(phi_c) * std::sin(phi) - std::sin(phi_c) * std::cos(phi) * std::cos(dl));
            // A corner that is not a number (a damaged airport record) would make
            // the whole box, and so the view, not a number; it is left out.
            if (!std::isfinite(x) || !std::isfinite(z)) continue;
            min_x = std::min(min_x, x), max_x = std::max(max_x, x);
            min_z = std::min(min_z, z), max_z = std::max(max_z, z);
        }
    }
    // A diagram without extent (no corner, or every corner on one point)
    // draws nothing: its scale would divide by a zero extent and be infinite.
    const double sx = max_x > min_x ? (x2 - x1) / (max_x - min_x) : HUGE_VAL;
    const double sz = max_z > min_z ? (y2 - y1) / (max_z - min_z) : HUGE_VAL;
    const double scale = 0.9 * std::min(sx, sz);
    if (std::isfinite(scale) && scale > 0.0) {
        map_origin_x = (x1 + x2) / 2.0f;
        map_origin_y = (y1 + y2) / 2.0f;
        map_ref_x = static_cast<float>((min_x + max_x) / 2.0);
        map_ref_z = static_cast<float>((min_z + max_z) / 2.0);
        map_scale = static_cast<float>(scale);
        screen_settings.map_zoom = 100.0f;
        MAP_draw_airport(0.0f, 0.0f, 48, airport, 1, 0);
    }
    screen_settings.map_zoom = 1.0f;
    lat_ref = saved_lat, lon_ref = saved_lon;
}
