// The traffic's airport and runway: chosen whenever the area's airport list
// is built and at every flight start, so the traffic flies to the airport the
// user is at (or nearest to), on the runway the controllers give for the wind.
#include "world/airport_state.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "world/apt_scene.h"
#include "world/atc.h"
#include "world/navdb.h"

traffic_runway_record traffic_runway_state{TRAFFIC_NO_AIRPORT, -1, 1, -1, 0.0f};

namespace {

// A runway the traffic can use: not marked 'x' (taxiways, closed strips) and
// with a place.
bool usable(const runway_record& r) { return r.number[0] != 'x' && std::isfinite(r.lat) && std::isfinite(r.lon); }

struct position {
    double lat, lon;
};

// Squared distance in degrees of latitude, the longitude shortened by the
// cosine of the latitude (enough to tell the nearest of an area's airports).
double distance_sq(const position& from, const runway_record& r)
{
    const double dlat = r.lat - from.lat;
    const double dlon = UTIL_wrap_nearest(r.lon - from.lon, 360.0) * std::cos(from.lat * DEG_TO_RAD_DOUBLE);
    return dlat * dlat + dlon * dlon;
}

// The user's plane, or the centre of the loaded area while the plane is not in
// it (before the first flight start places it, its position is no guide).
position reference_point()
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double lat0 = lat_ref, lon0 = lon_ref;
    const double height = 2.0 * reference_lat_offset[p], width = 2.0 * reference_lon_offset[p];
    const double lat = flt[0].latitude;
    const double lon = flt[0].longitude;
    const double east = UTIL_wrap_nearest(lon - lon0, 360.0);
    const bool in_area = std::isfinite(lat) && std::isfinite(lon) && lat >= lat0 && lat <= lat0 + height &&
                         east >= 0.0 && east <= width;
    if (in_area) return {lat, flt[0].longitude};
    return {lat0 + 0.5 * height, lon0 + 0.5 * width};
}

}  // namespace

void APT_choose_traffic_runway()
{
    traffic_runway_record& t = traffic_runway_state;
    t.traffic_airport = TRAFFIC_NO_AIRPORT;
    t.traffic_runway = t.active_runway = -1;
    t.traffic_runway_end = 1;

    const position from = reference_point();
    double best = std::numeric_limits<double>::infinity();
    int chosen = TRAFFIC_NO_AIRPORT;
    const int last = std::clamp(local_airport_last, -1, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n) {
        const int ai = local_airport_list[n];
        if (ai < 0 || static_cast<size_t>(ai) >= airport_table.size()) continue;
        for (const runway_record& r : airport_table[static_cast<size_t>(ai)].runways) {
            if (!usable(r)) continue;
            const double d = distance_sq(from, r);
            if (d < best) {
                best = d;
                chosen = ai;
            }
        }
    }
    if (chosen == TRAFFIC_NO_AIRPORT) return;

    int runway = 0, end = 1, localizer_found = 0, localizer = -1;
    ATC_active_runway(chosen, runway, end, localizer_found, localizer, 1);
    const auto& runways = airport_table[static_cast<size_t>(chosen)].runways;
    // In calm wind the controllers name the first row, which may be one the
    // traffic cannot use: then the first usable runway, its first end.
    if (runway < 0 || static_cast<size_t>(runway) >= runways.size() || !usable(runways[static_cast<size_t>(runway)])) {
        runway = static_cast<int>(std::find_if(runways.begin(), runways.end(), usable) - runways.begin());
        end = 1;
    }
    t.traffic_airport = chosen;
    t.traffic_runway = t.active_runway = runway;
    t.traffic_runway_end = end < 0 ? -1 : 1;
}
