// The scenery tile reader over a tile file of arbitrary bytes, in the loaded
// area's south-west corner. A fatal alert naming the damage is the reader's
// answer; a crash, an out-of-bounds access or undefined behaviour is not.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/geo.h"
#include "screens/setup.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/apt_scene.h"
#include "world/env_tile.h"
#include "world/navdb.h"
#include "world/scene_terrain.h"
#include "world/terrain_grid.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"

namespace {

constexpr int SOUTH = 33, WEST = -119;

void use_area()
{
    NAV_clear_tables();
    sim_graphics_scenery.current_planet = 0;
    sim_physics.earth_radius_m = 6378145.0f;
    screen_settings.scenery_load_switch = 0;
    PLANET_set_constants(0);
    lat_ref = static_cast<float>(SOUTH);
    lon_ref = static_cast<float>(WEST);
    local_airport_last = -1;
    scenery_switch = 1;
    APT_set_area_bounds();
    TERRAIN_reset();
    TERRAIN_build_sphere_grid();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    static const std::string tile = fuzz_program_folder() + "Resources/Earth nav data/+30-120/+33-119.env";
    return fuzz_read_file(tile, data, size, [] {
        use_area();
        ENV_load_tile(SOUTH, WEST, 0, 0, 1);
    });
}
