#include "core/geo.h"

#include <cmath>
#include <limits>

#include "core/constants.h"
#include "core/simvars.h"

float lat_ref = 0.0f;
float lon_ref = 0.0f;
start_selection_record start_selection{};

namespace {

struct frame_centre {
    double lat_deg, lon_deg;
};

frame_centre centre()
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    return {static_cast<double>(lat_ref) + reference_lat_offset[p],
            static_cast<double>(lon_ref) + reference_lon_offset[p]};
}

// asin of a value that rounding may have carried just past +-1.
double asin_clamped(double v) { return std::asin(v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v)); }

}  // namespace

void GEO_latlon_to_local(float& x, float& y, float& z, double latitude, double longitude, double elevation)
{
    const frame_centre c = centre();
    const double planet_r = sim_physics.earth_radius_m;
    const double r = planet_r + elevation;
    const double a0 = c.lat_deg * DEG_TO_RAD_DOUBLE;
    double dl = longitude * DEG_TO_RAD_DOUBLE - c.lon_deg * DEG_TO_RAD_DOUBLE;
    if (dl < -PI_DOUBLE) dl += TWO_PI_DOUBLE;
    if (dl > PI_DOUBLE) dl -= TWO_PI_DOUBLE;
    const double f = latitude * DEG_TO_RAD_DOUBLE;

    // The point on the sphere, then rotated so the centre's vertical becomes y.
    const double a = r * std::cos(f) * std::cos(dl) - planet_r * std::cos(a0);
    const double b = planet_r * std::sin(a0) - r * std::sin(f);
    x = static_cast<float>(r * std::cos(f) * std::sin(dl));
    y = static_cast<float>(a * std::cos(a0) - b * std::sin(a0));
    z = static_cast<float>(a * std::sin(a0) + b * std::cos(a0));
}

void GEO_local_to_latlon(float& latitude, float& longitude, float& elevation, double x, double y, double z)
{
    const frame_centre c = centre();
    const double planet_r = sim_physics.earth_radius_m;
    const double a0 = c.lat_deg * DEG_TO_RAD_DOUBLE;
    const double p = z * std::sin(a0) + y * std::cos(a0) + planet_r * std::cos(a0);
    const double q = z * std::cos(a0) - y * std::sin(a0) - planet_r * std::sin(a0);
    const double r = std::sqrt(p * p + x * x + q * q);
    elevation = static_cast<float>(r - planet_r);
    if (r == 0.0) {
        // The planet's centre has no direction: report the frame centre.
        latitude = static_cast<float>(c.lat_deg);
        longitude = static_cast<float>(c.lon_deg);
        return;
    }
    const double lat = asin_clamped(-q / r);
    latitude = static_cast<float>(lat * RAD_TO_DEG_DOUBLE);
    const double ring = r * std::cos(lat);   // radius of the latitude circle
    const double dl = ring > 0.0 ? asin_clamped(x / ring) : 0.0;
    longitude = static_cast<float>(dl * RAD_TO_DEG_DOUBLE + c.lon_deg);
}

int GEO_round(float value)
{
    // Half away from zero; the addition is done in double so values just below
    // one half are not rounded up by the float sum.
    const double v = value < 0.0f ? static_cast<double>(value) - 0.5 : static_cast<double>(value) + 0.5;
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

float GEO_grid_convergence(float lat, float lon)
{
    // True north and the local grid's north differ by the longitude distance
    // from the frame centre times the sine of the latitude.
    const double centre_lon = static_cast<double>(lon_ref) + reference_lon_offset[sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH];
    return static_cast<float>((centre_lon - lon) * std::sin(lat * DEG_TO_RAD_DOUBLE));
}

void UTIL_cross_normalize(const float a[3], const float b[3], float out[3])
{
    const float cx = a[1] * b[2] - a[2] * b[1];
    const float cy = a[2] * b[0] - a[0] * b[2];
    const float cz = a[0] * b[1] - a[1] * b[0];
    const float len = std::sqrt(cx * cx + cy * cy + cz * cz);
    if (len == 0.0f) {
        out[0] = 0.0f;
        out[1] = 1.0f;
        out[2] = 0.0f;
        return;
    }
    out[0] = cx / len;
    out[1] = cy / len;
    out[2] = cz / len;
}
