// Stand-in of the scenery area until the airport scene build is built: the
// Earth's 2 x 3 degree area at the equator, at the scale that fits it in the
// operator map.
#include "world/scenery_area.h"

#include "core/units.h"

namespace {
constexpr float HALF_WIDTH = 1.5f * 60.15f * UNIT.nm_to_mtrs;    // metres
constexpr float HALF_HEIGHT = 1.0f * 61.15f * UNIT.nm_to_mtrs;
constexpr float SCALE = (1024.0f - 15.0f - 119.0f) / (2.0f * HALF_WIDTH);
}  // namespace

scenery_area_record scenery_area = {-HALF_WIDTH, HALF_WIDTH, -HALF_HEIGHT, HALF_HEIGHT};
float map_base_scale = SCALE;
float map_base_scale_inverse = 1.0f / SCALE;
