// Writes the scenery tiles of the default data folder: version-650 ENV tiles
// of the project's procedural world for every loaded area a default Earth
// airport starts in, and for the Mars area around the default Mars base.
//
// usage: gen_world_tiles <Earth apt.dat> <Mars apt.dat> <program folder>/
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/env/world_gen.h"
#include "tools/tool_args.h"

namespace {

constexpr const char* MARS_BASE = "MAR1";

int write_planet(int planet, const char* apt_path, const std::filesystem::path& folder,
                 const std::vector<std::string>& ids)
{
    std::vector<envgen::airport> airports;
    if (!envgen::read_airports(apt_path, airports)) {
        std::fprintf(stderr, "gen_world_tiles: cannot read %s\n", apt_path);
        return -1;
    }
    const envgen::world w(planet, airports);
    int written = 0;
    for (const auto& [south, west] : w.start_area_tiles(ids)) {
        const std::filesystem::path path = folder / env::tile_file_name(south, west);
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (!env::write_file(path.string(), w.build_tile(south, west))) {
            std::fprintf(stderr, "gen_world_tiles: cannot write %s\n", path.string().c_str());
            return -1;
        }
        ++written;
    }
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 3, "gen_world_tiles <Earth apt.dat> <Mars apt.dat> <program folder>/")) return 2;
    const std::filesystem::path resources = std::filesystem::path(argv[3]) / "Resources";
    const int earth = write_planet(0, argv[1], resources / "Earth nav data", {});
    const int mars = write_planet(1, argv[2], resources / "Mars nav data", {MARS_BASE});
    if (earth < 0 || mars < 0) return 1;
    std::printf("gen_world_tiles: wrote %d Earth and %d Mars tiles\n", earth, mars);
    return 0;
}
