// The airport scene build: a full rebuild over one large airport (ten
// precision runways with approach lights, 300 taxiway rows, 200 start
// positions) and 199 small ones without scenery tiles; and the default data
// folder's area around KSBD with its tiles, objects and the KSBD package.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/folders.h"
#include "core/geo.h"
#include "core/menu_table.h"
#include "core/constants.h"
#include "shell/menus.h"
#include "tools/bench/bench_gl.h"
#include "world/apt_scene.h"
#include "world/env_tile.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/runway_geometry.h"
#include "shell/main.h"

namespace {

runway_record runway(float lat, float lon, const char* number, float heading, float length, float width,
                     int lights)
{
    runway_record r{};
    r.lat = lat, r.lon = lon, r.heading = heading, r.length = length, r.width = width;
    std::snprintf(r.number, sizeof r.number, "%.3s", number);
    r.lighting_code = lights;
    r.surface_code = 161;
    r.markings_code = number[0] == 'x' ? 0 : 3;
    return r;
}

void large_and_small_airports()
{
    NAV_clear_tables();
    airport_record big{};
    std::strcpy(big.id, "BIG");
    std::strcpy(big.name, "The large airport");
    big.kind = APT_KIND_AIRPORT;
    big.buildings_flag = 1;
    big.tower_lat = 34.02f, big.tower_lon = -117.52f, big.tower_height = 60.0f;
    for (int k = 0; k < 10; ++k) {
        char number[4];
        std::snprintf(number, sizeof number, "%02d%c", 1 + k * 3, "LCR"[k % 3]);
        big.runways.push_back(runway(34.0f + 0.01f * k, -117.5f, number, 10.0f + 30.0f * k, 3500.0f, 60.0f, 357357));
    }
    for (int k = 0; k < 300; ++k)
        big.runways.push_back(runway(33.95f + 0.0005f * k, -117.55f, "xxx", 90.0f, 400.0f, 23.0f, 0));
    for (int s = 0; s < 200; ++s) {
        start_position_record st{};
        st.lat = 34.0f, st.lon = -117.5f + 0.0001f * s;
        std::snprintf(st.name, sizeof st.name, "Gate %d", s);
        big.starts.push_back(st);
    }
    airport_table.push_back(big);
    for (int k = 0; k < 199; ++k) {
        airport_record a{};
        std::snprintf(a.id, sizeof a.id, "S%03d", k);
        std::snprintf(a.name, sizeof a.name, "Small airport %d", k);
        a.kind = APT_KIND_AIRPORT;
        a.runways.push_back(runway(33.1f + 0.009f * k, -118.9f + 0.013f * k, "09x", 90.0f, 1000.0f, 30.0f, 121121));
        a.starts.push_back({a.runways[0].lat, a.runways[0].lon, 90.0f, "Ramp"});
        airport_table.push_back(a);
    }
}

void common_set_up(const std::filesystem::path& program)
{
    bench_gl_context();
    FOLDERS_init_from(program.string().c_str());
    PLANET_set_constants(PLANET_EARTH);
    OBJ_clear_table();
    lat_ref = 33.0f;
    lon_ref = -119.0f;
}

void BM_FullRebuildWithoutTiles(benchmark::State& state)
{
    // An empty program folder: no tile is found, every window is the default grid.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvell-bench-scene-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    common_set_up(folder / "orvell");
    large_and_small_airports();
    for (auto _ : state) APT_build_scene(1);
    state.counters["airports"] = local_airport_last + 1;
    state.counters["runway entries"] = static_cast<double>(runway_geometry_table.size());
    size_t lights = 0;
    for (const runway_geometry_record& e : runway_geometry_table) lights += e.lights.size();
    state.counters["lights"] = static_cast<double>(lights);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_FullRebuildWithoutTiles)->Unit(benchmark::kMillisecond);

void BM_DefaultAreaWithTiles(benchmark::State& state)
{
    // The default data folder is the build folder, where the benchmark lies.
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "orvell";
    common_set_up(program);
    if (!std::filesystem::exists(program.parent_path() / "Resources")) {
        state.SkipWithError("the default data folder is not built");
        return;
    }
    NAV_load_databases();
    scenery_switch = 1;
    for (auto _ : state) APT_build_scene(1);
    state.counters["airports"] = local_airport_last + 1;
    state.counters["placements"] = static_cast<double>(placement_list.size());
}
BENCHMARK(BM_DefaultAreaWithTiles)->Unit(benchmark::kMillisecond);

}  // namespace
