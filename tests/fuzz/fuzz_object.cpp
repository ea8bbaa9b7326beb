// The object file reader over a file of arbitrary bytes, as a scenery tile
// places an object: built and placed on the terrain of a loaded area, then
// drawn as the terrain pass draws the placements, near (with its smoke, by
// day) and far (at night), gathered and one at a time.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "scene/effects/particles.h"
#include "scene/terrain/terrain_pass.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/apt_scene.h"
#include "world/env_tile.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/scene_terrain.h"
#include "world/terrain_grid.h"

namespace {

bool use_area()
{
    NAV_clear_tables();
    PLANET_set_constants(PLANET_EARTH);
    lat_ref = 33.0f;
    lon_ref = -119.0f;
    local_airport_last = -1;
    scenery_switch = 1;
    APT_set_area_bounds();
    TERRAIN_reset();
    TERRAIN_build_sphere_grid();
    return true;
}

void draw_placements(bool gathered)
{
    if (gathered) TERRAIN_objects_begin();
    for (const object_placement& p : placement_list) TERRAIN_draw_object(p.object, p.x, p.y, p.z, p.heading);
    if (gathered) TERRAIN_objects_end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    static const bool area = use_area();
    (void)area;
    static const std::string file = fuzz_program_folder() + "fuzz.obj";
    return fuzz_read_file(file, data, size, [] {
        OBJ_clear_table();
        TERRAIN_objects_reset();
        particle_list.clear();
        if (OBJ_build_obs(100.0f, 200.0f, 30.0f, 0.0f, file.c_str(), 8, 0) < 0 || placement_list.empty()) return;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 1);
        sim_graphics_view.view_x = 110.0f, sim_graphics_view.view_y = 20.0f, sim_graphics_view.view_z = 200.0f;
        sim_graphics_scenery.percent_lights_on = 0.0f;
        draw_placements(true);
        draw_placements(false);
        sim_graphics_view.view_x = 3000.0f;
        sim_graphics_scenery.percent_lights_on = 1.0f;
        draw_placements(true);
    });
}
