// The airport scene build around the loaded area. So far it sets the area's
// bounds, marks what lies in the area, fills the nearby-airport list and the
// two navaid start lists (VORs, NDBs) that the start menus and the quit
// command read, and builds the terrain from the scenery tiles; runway
// geometry, buildings, navaid huts and menus are not built yet.
#include "world/apt_scene.h"

#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "world/navdb.h"
#include "world/scene_terrain.h"

int32_t local_airport_list[LOCAL_AIRPORT_MAX] = {};
int32_t local_airport_last = -1;
int32_t navaid_start_list[NAVAID_START_LISTS][NAVAID_START_MAX] = {};
int32_t navaid_start_last[NAVAID_START_LISTS] = {-1, -1};

namespace {

// The loaded area: whole degrees from lat_ref/lon_ref over twice the planet's
// centre offsets (2 x 3 degrees on the Earth, 5 x 6 on Mars), bounds inclusive.
bool in_area(float lat, float lon)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    return lat >= lat_ref && lat <= lat_ref + 2.0f * reference_lat_offset[planet] && lon >= lon_ref &&
           lon <= lon_ref + 2.0f * reference_lon_offset[planet];
}

void append(int32_t* list, int32_t& last, int capacity, int32_t index)
{
    if (last < capacity - 1) list[++last] = index;
}

// The storm grid's blocks over the area's whole-degree cells: all of them on
// a full rebuild (mode 1), the newly exposed column or row on a shift (2 west,
// 3 east, 4 north, 5 south).
void storm_blocks(int mode)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const int columns = static_cast<int>(2.0f * reference_lon_offset[planet]);
    const int rows = static_cast<int>(2.0f * reference_lat_offset[planet]);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            const bool exposed = mode == 1 || (mode == 2 && c == 0) || (mode == 3 && c == columns - 1) ||
                                 (mode == 4 && r == rows - 1) || (mode == 5 && r == 0);
            if (exposed) ATMO_storm_grid_tile(c, r);
        }
}

}  // namespace

void APT_build_scene(int flag)
{
    APT_set_area_bounds();
    local_airport_last = -1;
    for (size_t i = 0; i < airport_table.size(); ++i) {
        airport_record& a = airport_table[i];
        a.local = !a.runways.empty() && in_area(a.runways[0].lat, a.runways[0].lon) ? 1 : 0;
        if (a.local) append(local_airport_list, local_airport_last, LOCAL_AIRPORT_MAX, static_cast<int32_t>(i));
    }

    navaid_start_last[0] = navaid_start_last[1] = -1;
    for (size_t i = 0; i < navaid_table.size(); ++i) {
        navaid_record& n = navaid_table[i];
        // The ships' landing aids travel with their ships and always count as near.
        const bool ship = sim_graphics_scenery.current_planet == PLANET_EARTH && i < NAV_SHIP_NAVAIDS;
        if (ship) continue;
        n.local = in_area(n.lat, n.lon) ? 1 : 0;
        if (!n.local) continue;
        if (n.kind == NAV_VOR) append(navaid_start_list[0], navaid_start_last[0], NAVAID_START_MAX, static_cast<int32_t>(i));
        if (n.kind == NAV_NDB) append(navaid_start_list[1], navaid_start_last[1], NAVAID_START_MAX, static_cast<int32_t>(i));
    }
    for (fix_record& f : fix_table) f.local = in_area(f.lat, f.lon) ? 1 : 0;

    storm_blocks(flag);
    TERRAIN_reset();
    TERRAIN_build_sphere_grid();
    ENV_load_area_tiles(flag);
}
