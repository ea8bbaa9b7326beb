#include "core/geo.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/constants.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"

float lat_ref = 0.0f;
float lon_ref = 0.0f;
float water_level_m = 0.0f;
int32_t net_origin_by_network = 0;
start_selection_record start_selection{};
// No start chosen until the preferences or the user choose one.
ORVELL_RESET_RECORD(START_selection_reset, start_selection, program);

// The sea at 0 m and the origin free to follow the plane.
void GEO_water_and_origin_reset()
{
    water_level_m = 0.0f;
    net_origin_by_network = 0;
}
ORVELL_RESET(GEO_water_and_origin_reset, program);

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

// The sine and cosine of the last angle asked for. Grids are converted row by
// row, so one of the three angles of a conversion seldom changes from one
// point to the next, and another never does; the same angle, bit for bit,
// gives the same values it gave before.
struct sine_memo {
    uint64_t bits = 0;
    bool valid = false;
    double sine = 0.0, cosine = 0.0;

    void of(double angle, double& s, double& c)
    {
        const uint64_t b = std::bit_cast<uint64_t>(angle);
        if (!valid || b != bits) {
            sine = std::sin(angle);
            cosine = std::cos(angle);
            bits = b;
            valid = true;
        }
        s = sine;
        c = cosine;
    }
};
thread_local sine_memo centre_memo, latitude_memo, longitude_memo;

}  // namespace

geo_point GEO_local_to_latlon_about(double centre_lat, double centre_lon, double x, double y, double z)
{
    const double planet_r = sim_physics.earth_radius_m;
    const double a0 = centre_lat * DEG_TO_RAD_DOUBLE;
    const double p = z * std::sin(a0) + y * std::cos(a0) + planet_r * std::cos(a0);
    const double q = z * std::cos(a0) - y * std::sin(a0) - planet_r * std::sin(a0);
    const double r = std::sqrt(p * p + x * x + q * q);
    // A point at the planet's centre would give a latitude and longitude that
    // are not numbers, and with them every later position: it takes the centre's.
    if (r == 0.0) return {centre_lat, centre_lon, r - planet_r};
    // (p, x) is the point's place in its latitude circle, p towards the
    // centre's meridian and x east: the longitude difference is taken from
    // both, so a point more than 90 degrees from the centre's meridian (past a
    // pole, or far round the planet) keeps its side of the polar axis. A point
    // on the axis takes the centre's longitude.
    const double lat = std::atan2(-q, std::hypot(p, x));
    const double dl = std::atan2(x, p);
    return {lat * RAD_TO_DEG_DOUBLE, dl * RAD_TO_DEG_DOUBLE + centre_lon, r - planet_r};
}

void GEO_latlon_to_local_about(double centre_lat, double centre_lon, const geo_point& g, double& x, double& y,
                               double& z)
{
    const double planet_r = sim_physics.earth_radius_m;
    const double r = planet_r + g.elev;
    const double a0 = centre_lat * DEG_TO_RAD_DOUBLE;
    double dl = g.lon * DEG_TO_RAD_DOUBLE - centre_lon * DEG_TO_RAD_DOUBLE;
    if (dl < -PI_DOUBLE) dl += TWO_PI_DOUBLE;
    if (dl > PI_DOUBLE) dl -= TWO_PI_DOUBLE;
    const double f = g.lat * DEG_TO_RAD_DOUBLE;
    double sin_a0, cos_a0, sin_f, cos_f, sin_dl, cos_dl;
    centre_memo.of(a0, sin_a0, cos_a0);
    latitude_memo.of(f, sin_f, cos_f);
    longitude_memo.of(dl, sin_dl, cos_dl);

    // The point on the sphere, then rotated so the centre's vertical becomes y.
    const double a = r * cos_f * cos_dl - planet_r * cos_a0;
    const double b = planet_r * sin_a0 - r * sin_f;
    x = r * cos_f * sin_dl;
    y = a * cos_a0 - b * sin_a0;
    z = a * sin_a0 + b * cos_a0;
}

void GEO_latlon_to_local(float& x, float& y, float& z, double latitude, double longitude, double elevation)
{
    const frame_centre c = centre();
    double lx, ly, lz;
    GEO_latlon_to_local_about(c.lat_deg, c.lon_deg, {latitude, longitude, elevation}, lx, ly, lz);
    x = static_cast<float>(lx);
    y = static_cast<float>(ly);
    z = static_cast<float>(lz);
}

void GEO_local_to_latlon(float& latitude, float& longitude, float& elevation, double x, double y, double z)
{
    const frame_centre c = centre();
    const geo_point g = GEO_local_to_latlon_about(c.lat_deg, c.lon_deg, x, y, z);
    latitude = static_cast<float>(g.lat);
    longitude = static_cast<float>(g.lon);
    elevation = static_cast<float>(g.elev);
}

int GEO_round(float value)
{
    // Half away from zero; the addition is done in double so values just below
    // one half are not rounded up by the float sum. A value beyond an int, or
    // not a number, would make the cut undefined: it gives the nearest int, or 0.
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

bool GEO_circle_inside_edge(float x1, float z1, float x2, float z2, float cx, float cz, float r)
{
    const float dx = x2 - x1, dz = z2 - z1;
    if (std::fabs(dz) > std::fabs(dx)) {
        const float xe = x1 + (cz - z1) * dx / dz;
        return dz > 0.0f ? cx - r < xe : cx + r > xe;
    }
    if (dx != 0.0f) {
        const float ze = z1 + (cx - x1) * dz / dx;
        return dx > 0.0f ? cz + r > ze : cz - r < ze;
    }
    return false;
}
