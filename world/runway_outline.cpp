#include "world/runway_outline.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/text_util.h"
#include "world/navdb.h"

float map_origin_x = 0.0f;
float map_origin_y = 0.0f;
float map_ref_x = 0.0f;
float map_ref_z = 0.0f;
float map_scale = 1.0f;
float map_right = 0.0f;
float map_top = 0.0f;

airport_label_anchor_record airport_label_anchor{};

float window_origin_x = 0.0f;
float window_origin_y = 0.0f;

// The map's and the window's frame as the program starts.
void APT_outline_frame_reset()
{
    map_origin_x = map_origin_y = map_ref_x = map_ref_z = 0.0f;
    map_scale = 1.0f;
    map_right = map_top = 0.0f;
    airport_label_anchor = airport_label_anchor_record{};
    window_origin_x = window_origin_y = 0.0f;
}
ORVELL_RESET(APT_outline_frame_reset, program);

void APT_outline_gl_vertex(float x, float y) { glVertex2f(x, y); }

outline_vertex_fn apt_outline_vertex = APT_outline_gl_vertex;

void APT_runway_outline(int airport, int runway, float latitudes[4], float longitudes[4], float heights[4],
                        int emit)
{
    // An index outside the tables would read past them: nothing is given or drawn.
    if (airport < 0 || airport >= static_cast<int>(airport_table.size())) return;
    const airport_record& apt = airport_table[static_cast<size_t>(airport)];
    if (runway < 0 || runway >= static_cast<int>(apt.runways.size())) return;
    const runway_record& rwy = apt.runways[static_cast<size_t>(runway)];

    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double R = sim_physics.earth_radius_m;
    const double H = R + apt.elevation;

    // The runway point in the local frame.
    const double phi_ref_deg = static_cast<double>(lat_ref) + reference_lat_offset[planet];
    const double phi_ref = phi_ref_deg * DEG_TO_RAD_DOUBLE;
    const double lam_ref = static_cast<double>(lon_ref) + reference_lon_offset[planet];
    const double phi = rwy.lat * DEG_TO_RAD_DOUBLE;
    double d = rwy.lon * DEG_TO_RAD_DOUBLE - lam_ref * DEG_TO_RAD_DOUBLE;
    if (d < -PI_DOUBLE) d += TWO_PI_DOUBLE;
    if (d > PI_DOUBLE) d -= TWO_PI_DOUBLE;
    const double X = H * std::cos(phi) * std::cos(d);
    const double Y = H * std::cos(phi) * std::sin(d);
    const double Z = H * std::sin(phi);
    const double x0 = Y;
    const double y0 = X * std::cos(phi_ref) + Z * std::sin(phi_ref) - R;
    const double z0 = X * std::sin(phi_ref) - Z * std::cos(phi_ref);

    // Heading on the local grid.
    const double psi = (static_cast<double>(rwy.heading) + GEO_grid_convergence(rwy.lat, rwy.lon)) * DEG_TO_RAD_DOUBLE;
    const double s = std::sin(psi);
    const double c = std::cos(psi);

    // Half width, and the reach beyond the centre to each end with its stopway.
    const double half_width = rwy.width * 0.5;
    const double half_length = rwy.length * 0.5;
    const double n = std::trunc(static_cast<double>(rwy.stopways));
    const double e1 = half_length + n * FT_TO_M_DOUBLE;
    const double e2 = half_length + (static_cast<double>(rwy.stopways) - n) * 10000.0 * FT_TO_M_DOUBLE;
    const double across[4] = {-half_width, half_width, -half_width, half_width};
    const double along[4] = {e1, e1, -e2, -e2};

    float sx[4], sy[4];
    for (int k = 0; k < 4; ++k) {
        const double xk = across[k] * c - along[k] * s + x0;
        const double zk = across[k] * s + along[k] * c + z0;
        // The corner's place on the planet, from its whole position about the
        // frame centre: a corner past a pole keeps its side of the polar axis.
        const geo_point g = GEO_local_to_latlon_about(phi_ref_deg, lam_ref, xk, y0, zk);
        heights[k] = static_cast<float>(g.elev);
        latitudes[k] = static_cast<float>(g.lat);
        longitudes[k] = static_cast<float>(g.lon);
        sx[k] = static_cast<float>((xk - map_ref_x) * map_scale + map_origin_x);
        sy[k] = static_cast<float>(map_origin_y - (zk - map_ref_z) * map_scale);
    }

    airport_label_anchor.min_y = std::min({airport_label_anchor.min_y, sy[0], sy[1], sy[2], sy[3]});
    airport_label_anchor.sum_x += sx[0] + sx[1] + sx[2] + sx[3];
    airport_label_anchor.count += 4.0f;

    if (emit && apt_outline_vertex) {
        static constexpr int order[4] = {2, 3, 1, 0};
        for (const int k : order) apt_outline_vertex(window_origin_x + sx[k], window_origin_y + sy[k]);
    }
}
