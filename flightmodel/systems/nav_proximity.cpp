// Navaid proximity.
#include "flightmodel/systems/nav_proximity.h"

#include <cmath>
#include <cstring>

#include "flightmodel/flt.h"
#include "world/navdb.h"

namespace {
constexpr float NEARER_TOLERANCE_DEG = 0.1f;
}

int NAV_nearer_than_best(int navaid_index, float* best)
{
    // An index outside the navaid table would read past it: such a navaid is
    // never nearer.
    if (!best || navaid_index < 0 || navaid_index >= static_cast<int>(navaid_table.size())) return 0;
    const navaid_record& n = navaid_table[static_cast<size_t>(navaid_index)];
    const float dlon = flt[0].longitude - n.lon;
    const float dlat = flt[0].latitude - n.lat;
    const float d = std::sqrt(dlon * dlon + dlat * dlat);
    if (d < *best + NEARER_TOLERANCE_DEG) {
        *best = d;
        return 1;
    }
    return 0;
}
