#include "world/scene_origin.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/units.h"
#include "world/apt_scene.h"
#include "world/origin_shift.h"

scene_origin_state scene_origin{0, 0, 0, 1};
int32_t scene_world_visible = 1;

int WORLD_planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

void WORLD_origin_reset()
{
    scene_origin = {0, 0, 0, 1};
    scene_world_visible = 1;
}
ORVELL_RESET(WORLD_origin_reset, scene);

namespace {

constexpr int REBUILD_FULL = 1;
constexpr int REBUILD_WEST = 2;
constexpr int REBUILD_EAST = 3;
constexpr int REBUILD_NORTH = 4;
constexpr int REBUILD_SOUTH = 5;

// Into [-half, half] by the nearest whole number of steps of 2 x half; what is
// not finite becomes NaN.
float around(float v, float half)
{
    return std::isfinite(v) ? static_cast<float>(UTIL_wrap_nearest(static_cast<double>(v), 2.0 * half)) : NAN;
}

// A whole degree (halves away from zero), longitudes kept in -180..180.
float whole_longitude(float v) { return around(static_cast<float>(GEO_round(v)), 180.0f); }

// A whole degree of latitude for the corner, kept between the corners of the
// areas centred at the poles (-91 and 89 on the Earth). Brought back by 180
// instead, a step south from -90 would give 89: the area at the North Pole
// for a plane beside the South Pole.
float whole_latitude(float v, float half_height)
{
    const float lowest = static_cast<float>(GEO_round(-90.0f - half_height));
    const float highest = static_cast<float>(GEO_round(90.0f - half_height));
    return std::clamp(static_cast<float>(GEO_round(v)), lowest, highest);
}

// Beyond this latitude a degree of longitude is less than half its length at
// the equator, and less and less towards a pole (a few metres beside it).
// There the area moves east or west by how far the plane is from its centre,
// not by degrees of longitude alone, and in one move onto the plane rather
// than in steps of a degree: each step would move it by less than the plane
// flies between two frames, and a plane circling near a pole rebuilt the
// scene several times a second.
constexpr float POLAR_LATITUDE = 60.0f;

// Near a pole: true when the position lies further from the area's centre
// than the area lets it. East-west: past the window's degrees and the half
// degree a move onto the plane may leave it off the centre (so a move is not
// at once followed by another), and past the window's length at
// POLAR_LATITUDE. In any direction: further than the far window's degrees of
// arc, so a place on the far side of the pole, or at the other pole, is as
// far as it is and not as far as its latitude says.
bool polar_far_off(int planet, float latitude, float longitude, float dlon_from_centre)
{
    const double radius = sim_physics.earth_radius_m;
    const double window_deg = WORLD_AREA_LON_SPAN[planet] / 2.0f - WORLD_PROBE_MARGIN_LON[planet];
    const double window_m = window_deg * std::cos(POLAR_LATITUDE * DEG_TO_RAD_DOUBLE) * DEG_TO_RAD_DOUBLE * radius;
    const double far_deg = WORLD_AREA_LAT_SPAN[planet] / 2.0f - WORLD_PROBE_MARGIN_LAT[planet] + 1.0f;
    double x, y, z;
    GEO_latlon_to_local_about(lat_ref + reference_lat_offset[planet], lon_ref + reference_lon_offset[planet],
                              {latitude, longitude, 0.0}, x, y, z);
    const bool east_west = std::fabs(dlon_from_centre) > window_deg + 0.5 && std::fabs(x) > window_m;
    // The arc from the centre: the angle between the point and the centre's
    // vertical, seen from the planet's centre.
    const double arc_deg = std::atan2(std::hypot(x, z), y + radius) * RAD_TO_DEG_DOUBLE;
    return east_west || arc_deg > far_deg;
}

// Truncated toward zero. A corner that is no number (or beyond any int) would
// make the conversion undefined: it counts as 0.
int32_t whole(float v) { return std::fabs(v) < 1.0e6f ? static_cast<int32_t>(v) : 0; }

void note_corner()
{
    scene_origin.noted = 1;
    scene_origin.noted_lat = whole(lat_ref);
    scene_origin.noted_lon = whole(lon_ref);
}

}  // namespace

void SCENE_recenter_origin(float latitude, float longitude)
{
    if (!scene_origin.noted) note_corner();

    const int p = WORLD_planet();
    const float H = WORLD_AREA_LAT_SPAN[p], W = WORLD_AREA_LON_SPAN[p];
    const float m_lat = WORLD_PROBE_MARGIN_LAT[p], m_lon = WORLD_PROBE_MARGIN_LON[p];
    const float dlon = around(longitude - lon_ref, 180.0f);
    const float dlat = around(latitude - lat_ref, 90.0f);

    const bool polar = std::fabs(latitude) > POLAR_LATITUDE;
    const bool far_lat = dlat < m_lat - 1.0f || dlat > H - m_lat + 1.0f;
    const bool far_off = polar ? far_lat || polar_far_off(p, latitude, longitude, around(dlon - 0.5f * W, 180.0f))
                               : far_lat || dlon < m_lon - 1.0f || dlon > W - m_lon + 1.0f;
    const float south = whole_latitude(lat_ref - 1.0f, 0.5f * H), north = whole_latitude(lat_ref + 1.0f, 0.5f * H);
    int reason = 0;
    if (far_off) {
        const float old_lat_ref = lat_ref, old_lon_ref = lon_ref;
        lon_ref = static_cast<float>(GEO_round(longitude - 0.5f * W));
        lat_ref = static_cast<float>(GEO_round(latitude - 0.5f * H));
        // The planes go with the jump: left at their old local positions they
        // would stand in the new frame somewhere else, a plane crossing a pole
        // mirrored back to the side it came from.
        if (lat_ref != old_lat_ref || lon_ref != old_lon_ref) APT_carry_over_jump(old_lat_ref, old_lon_ref);
        reason = REBUILD_FULL;
    } else if (!polar && dlon < m_lon) {
        lon_ref = whole_longitude(lon_ref - 1.0f);
        reason = REBUILD_WEST;
    } else if (!polar && dlon > W - m_lon) {
        lon_ref = whole_longitude(lon_ref + 1.0f);
        reason = REBUILD_EAST;
    } else if (dlat < m_lat && south != lat_ref) {
        lat_ref = south;
        reason = REBUILD_SOUTH;
    } else if (dlat > H - m_lat && north != lat_ref) {
        lat_ref = north;
        reason = REBUILD_NORTH;
    } else if (scene_world_visible && !scene_origin.was_world_visible &&
               (scene_origin.noted_lat != whole(lat_ref) || scene_origin.noted_lon != whole(lon_ref))) {
        reason = REBUILD_FULL;
    }
    if (reason != 0) APT_build_scene(reason);

    if (scene_world_visible) note_corner();
    scene_origin.was_world_visible = scene_world_visible;
}
