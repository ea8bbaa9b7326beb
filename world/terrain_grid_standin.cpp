// Stand-in of the terrain build until the scenery tiles are read: the grid is
// a regular lattice of the loaded area in latitude and longitude (the grid
// points per degree of the planet) on the planet's sphere, all at the
// elevation of the current airport (sea level without one).
#include "world/terrain_grid.h"

#include "core/geo.h"
#include "core/simvars.h"
#include "world/navdb.h"

void TERRAIN_build_grid()
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const double per_deg_lon = grid_rows[p] / (2.0 * reference_lon_offset[p]);
    const double per_deg_lat = grid_cols[p] / (2.0 * reference_lat_offset[p]);
    const int32_t a = start_selection.airport_index;
    const double elevation =
        a >= 0 && static_cast<size_t>(a) < airport_table.size() ? airport_table[static_cast<size_t>(a)].elevation : 0.0;
    for (int i = 0; i <= grid_rows[p]; ++i)
        for (int j = 0; j <= grid_cols[p]; ++j) {
            terrain_vertex& v = terrain_vertex_grid[i * TERRAIN_GRID_COLS + j];
            GEO_latlon_to_local(v.x, v.y, v.z, lat_ref + j / per_deg_lat, lon_ref + i / per_deg_lon, elevation);
        }
}
