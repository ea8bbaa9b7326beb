// The scenery tiles: one Earth tile of the project's procedural world (its
// terrain, objects and linear features, an airport with three runways on it)
// read from its file and built into the grid; and the ground textures'
// point and cell passes over the whole Earth grid.

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/folders.h"
#include "tools/bench/bench_gl.h"
#include "core/geo.h"
#include "core/constants.h"
#include "tools/env/world_gen.h"
#include "world/apt_scene.h"
#include "world/env_tile.h"
#include "world/landuse.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/scene_terrain.h"
#include "world/segments.h"
#include "world/terrain_textures.h"

namespace {

constexpr int SOUTH = 34, WEST = -118;

void set_up_area()
{
    static bool done = false;
    if (done) return;
    done = true;
    bench_gl_context();   // the tile's objects compile display lists
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvell-bench-tiles-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // The folder goes again when the benchmark ends.
    static const struct remover {
        std::filesystem::path path;
        ~remover()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } cleanup{folder};
    FOLDERS_init_from((folder / "orvell").string().c_str());
    PLANET_set_constants(PLANET_EARTH);
    lat_ref = 33.0f;
    lon_ref = -119.0f;

    // One airport with three runways in the tile, near the scene.
    envgen::airport a;
    a.id = "BNCH";
    a.elevation_m = 353.0;
    for (double heading : {72.0, 162.0, 72.0}) a.runways.push_back({34.10 + heading / 10000.0, -117.23, heading, 3000.0, 60.0, false});
    airport_record rec{};
    std::strcpy(rec.id, "BNCH");
    rec.kind = APT_KIND_AIRPORT;
    rec.elevation = 353.0f;
    for (const envgen::runway& r : a.runways) {
        runway_record rw{};
        rw.lat = static_cast<float>(r.lat);
        rw.lon = static_cast<float>(r.lon);
        rw.heading = static_cast<float>(r.heading_deg);
        rw.length = 3000.0f;
        rw.width = 60.0f;
        rec.runways.push_back(rw);
    }
    airport_table.push_back(rec);
    local_airport_list[0] = 0;
    local_airport_last = 0;

    const envgen::world w(PLANET_EARTH, {a});
    const std::filesystem::path tile = folder / "Resources" / "Earth nav data" / env::tile_file_name(SOUTH, WEST);
    std::filesystem::create_directories(tile.parent_path());
    env::write_file(tile.string(), w.build_tile(SOUTH, WEST));
    APT_set_area_bounds();
    TERRAIN_reset();
    TERRAIN_build_sphere_grid();
}

void BM_ReadAndBuildEarthTile(benchmark::State& state)
{
    set_up_area();
    for (auto _ : state) {
        state.PauseTiming();
        SEG_clear_lists();
        OBJ_clear_table();
        state.ResumeTiming();
        ENV_load_tile(SOUTH, WEST, 150, 200, 1);
    }
    size_t points = 0;
    for (const terrain_point_lists& l : terrain_lists)
        for (const auto& list : l.seg) points += list.size();
    state.counters["feature points"] = static_cast<double>(points);
    state.counters["objects"] = static_cast<double>(placement_list.size());
    int flagged = 0;
    for (uint8_t f : terrain_airport_cell) flagged += f;
    state.counters["runway cells"] = flagged;
}
BENCHMARK(BM_ReadAndBuildEarthTile)->Unit(benchmark::kMillisecond);

void BM_GroundTexturePasses(benchmark::State& state)
{
    set_up_area();
    ENV_load_tile(SOUTH, WEST, 150, 200, 1);
    // Land uses mapped onto ten textures whose images need no loading.
    LANDUSE_clear();
    for (int c = 0; c < LANDUSE_CODES; ++c) landuse_code_texture[c] = c % 10;
    for (auto _ : state) TERRAIN_load_tile_textures();
}
BENCHMARK(BM_GroundTexturePasses)->Unit(benchmark::kMillisecond);

}  // namespace
