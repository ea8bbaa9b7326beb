// The land-use table reader over a "LAND_USE.TXT" of arbitrary bytes in the
// bitmaps folder's terrain folder, beside region folders that hold the
// border masks of the textures the default table names (empty files: the
// reader checks only that they are there). What it read is then used as the
// terrain uses it: the texture of every land-use code, and the files of every
// texture chosen among the region folders at a few places.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/folders.h"
#include "core/text_util.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/landuse.h"
#include "world/terrain_textures.h"

namespace {

// The default region, and a smaller one that wins where it covers the place.
constexpr const char* regions[] = {"-90+90 -180+180", "+30+40 -120-110"};
constexpr const char* textures[] = {"WATER", "URBAN",  "URBAN_CORE", "URBAN_BLOCKS", "URBAN_SQUARES",
                                    "URBAN_AIRPORT", "GRASS", "FARMLAND", "SCRUB", "FOREST", "WETLAND",
                                    "DESERT", "ROCK", "SNOW", "TUNDRA"};
constexpr float places[3][2] = {{34.0f, -117.0f}, {-45.0f, 170.0f}, {35.0f, -115.0f}};

std::string set_up()
{
    static const uint8_t empty = 0;
    const std::string terrain = fuzz_program_folder() + "Resources/bitmaps/terrain/";
    for (const char* region : regions) {
        std::filesystem::create_directories(terrain + region);
        for (const char* texture : textures)
            for (const char* suffix : {"0_000_C1.BMP", "0_000_C2.BMP", "0_000_C3.BMP", "0_000_C4.BMP"})
                fuzz_write_file(terrain + region + "/" + texture + suffix, &empty, 0);
    }
    return std::string(folder_table[FOLDER_BITMAPS]) + "TERRAIN:LAND_USE.TXT";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = set_up();
    return fuzz_read_file(file, data, size, [] {
        LANDUSE_read_table();
        for (int code = -1; code <= LANDUSE_CODES; ++code) (void)UTIL_landuse_texture(code);
        for (const auto& p : places)
            for (int t = 0; t < landuse_texture_count; ++t) {
                char base[TEXT_SIZE] = {};
                char variants[4][TEXT_SIZE] = {};
                TERRAIN_find_texture_file(t, base, variants, p[0], p[1]);
            }
    });
}
