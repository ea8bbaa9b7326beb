// The scenery tile reader over a tile file of arbitrary bytes, in the loaded
// area's south-west corner, read as an Earth tile of a custom scenery package
// (whose tiles may name the package's own objects) and as a Mars tile of the
// program's own navigation data, with Mars loaded (the program's own Earth
// tiles go through the same reader as a package's). A fatal
// alert naming the damage is the reader's answer; a crash, an out-of-bounds
// access or undefined behaviour is not.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/geo.h"
#include "core/constants.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/apt_scene.h"
#include "world/env_tile.h"
#include "world/navdb.h"
#include "world/scene_terrain.h"
#include "world/terrain_grid.h"
#include "core/simvars/graphics.h"
#include "core/simvars/screen_settings.h"

namespace {

constexpr int SOUTH = 33, WEST = -119;
constexpr const char* TILE = "+30-120/+33-119.env";
constexpr const char* PACKAGE = "Custom Scenery/Fuzz package/";

// An object a package tile may name.
constexpr char PACKAGE_OBJECT[] = "I\n2 version\nNONE // no texture\n"
                                  "4 0 1 0 1\n-5 0 -5 0 0\n5 0 -5 1 0\n5 9 -5 1 1\n-5 9 -5 0 1\n99\n";

struct place {
    const char* folder;   // under the program folder
    int planet;
};
constexpr place PLACES[] = {
    {"Custom Scenery/Fuzz package/Earth nav data/", PLANET_EARTH},
    {"Resources/Mars nav data/", PLANET_MARS},
};

void use_area(int planet)
{
    NAV_clear_tables();
    screen_settings.scenery_load_switch = 0;
    PLANET_set_constants(planet);
    lat_ref = static_cast<float>(SOUTH);
    lon_ref = static_cast<float>(WEST);
    local_airport_last = -1;
    scenery_switch = 1;
    APT_set_area_bounds();
    TERRAIN_reset();
    TERRAIN_build_sphere_grid();
}

std::string make_folders()
{
    const std::string root = fuzz_program_folder();
    for (const place& p : PLACES) std::filesystem::create_directories(root + p.folder + "+30-120");
    std::filesystem::create_directories(root + PACKAGE + "custom objects");
    fuzz_write_file(root + PACKAGE + "custom objects/fuzz.obj", reinterpret_cast<const uint8_t*>(PACKAGE_OBJECT),
                    sizeof PACKAGE_OBJECT - 1);
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    static const std::string root = make_folders();
    // Each place in turn holds the tile, alone.
    for (const place& p : PLACES) {
        const std::string file = root + p.folder + TILE;
        fuzz_read_file(file, data, size, [&] {
            use_area(p.planet);
            ENV_load_tile(SOUTH, WEST, 0, 0, 1);
        });
        std::filesystem::remove(file);
    }
    return 0;
}
