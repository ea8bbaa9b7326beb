// Whether a local point lies inside the loaded scenery area.
#include "flightmodel/terrain_query.h"

#include "core/geo.h"
#include "core/simvars.h"

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
