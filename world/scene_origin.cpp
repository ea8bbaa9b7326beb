#include "world/scene_origin.h"

#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
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

// A whole degree (halves away from zero), longitudes kept in -180..180 and
// latitudes in -90..90.
float whole_longitude(float v) { return around(static_cast<float>(GEO_round(v)), 180.0f); }
float whole_latitude(float v) { return around(static_cast<float>(GEO_round(v)), 90.0f); }

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

    int reason = 0;
    if (dlon < m_lon - 1.0f || dlon > W - m_lon + 1.0f || dlat < m_lat - 1.0f || dlat > H - m_lat + 1.0f) {
        const float old_lat_ref = lat_ref, old_lon_ref = lon_ref;
        lon_ref = static_cast<float>(GEO_round(longitude - 0.5f * W));
        lat_ref = static_cast<float>(GEO_round(latitude - 0.5f * H));
        // The planes go with the jump: left at their old local positions they
        // would stand in the new frame somewhere else, a plane crossing a pole
        // mirrored back to the side it came from.
        if (lat_ref != old_lat_ref || lon_ref != old_lon_ref) APT_carry_over_jump(old_lat_ref, old_lon_ref);
        reason = REBUILD_FULL;
    } else if (dlon < m_lon) {
        lon_ref = whole_longitude(lon_ref - 1.0f);
        reason = REBUILD_WEST;
    } else if (dlon > W - m_lon) {
        lon_ref = whole_longitude(lon_ref + 1.0f);
        reason = REBUILD_EAST;
    } else if (dlat < m_lat) {
        lat_ref = whole_latitude(lat_ref - 1.0f);
        reason = REBUILD_SOUTH;
    } else if (dlat > H - m_lat) {
        lat_ref = whole_latitude(lat_ref + 1.0f);
        reason = REBUILD_NORTH;
    } else if (scene_world_visible && !scene_origin.was_world_visible &&
               (scene_origin.noted_lat != whole(lat_ref) || scene_origin.noted_lon != whole(lon_ref))) {
        reason = REBUILD_FULL;
    }
    if (reason != 0) APT_build_scene(reason);

    if (scene_world_visible) note_corner();
    scene_origin.was_world_visible = scene_world_visible;
}
