// Stand-in of the terrain queries until the terrain is built: flat terrain at
// the height and cell given in `terrain_standin`; the area test is the real one.
#include "flightmodel/terrain_query.h"

#include "flightmodel/terrain_query_standin.h"
#include "core/geo.h"
#include "core/simvars.h"

terrain_standin_answer terrain_standin;

float TERRAIN_height_at(float x, float z, float* scratch_a, float* scratch_b, float* scratch_c, int* cell_row,
                        int* cell_col, int flag, const char* tag)
{
    if (scratch_a) *scratch_a = 0.0f;
    if (scratch_b) *scratch_b = 0.0f;
    if (scratch_c) *scratch_c = 0.0f;
    if (cell_row) *cell_row = terrain_standin.cell_row;
    if (cell_col) *cell_col = terrain_standin.cell_col;
    return terrain_standin.height;
}

int TERRAIN_point_in_area(float x, float y, float z, float margin)
{
    float lat = 0.0f, lon = 0.0f, elev = 0.0f;
    GEO_local_to_latlon(lat, lon, elev, x, y, z);
    const bool mars = sim_graphics_scenery.current_planet == 1;
    const float height = mars ? 5.0f : 2.0f;
    const float width = mars ? 6.0f : 3.0f;
    return lat >= lat_ref + margin && lat <= lat_ref + height - margin && lon >= lon_ref + margin &&
                   lon <= lon_ref + width - margin
               ? 1
               : 0;
}
