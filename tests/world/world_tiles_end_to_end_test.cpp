// The program started on a copy of the generated default data folder, as
// ./run.sh starts it: the six tiles around the start airport make the ground
// the terrain query stands on, with the heights and land use of the project's
// procedural world, and its highways the road under the plane.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "core/geo.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/surface_under.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/ground/terrain_query.h"
#include "tests/support/startup_program.h"
#include "core/folders.h"
#include "tests/world/tile_test_util.h"
#include "tests/world/world_test_util.h"
#include "world/env_tile.h"
#include "tools/env/world_gen.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/segments.h"
#include "world/terrain_grid.h"

namespace {

bool is_water_code(int32_t c) { return c == LANDUSE_WATER_A || c == LANDUSE_WATER_B; }

class DefaultWorld : public started_program_noting_failure {
protected:
    static double elevation_at(const terrain_vertex& v)
    {
        return GEO_local_to_latlon_about(lat_ref + 1.0, lon_ref + 1.5, v.x, v.y, v.z).elev;
    }
    static bool water(int i, int j)
    {
        return is_water_code(landuse_grid[TERRAIN_index(i, j)]);
    }
    // Point (i, j) is a corner of a cell flattened under a runway or of a cell with water.
    static bool touched(int i, int j)
    {
        for (int ci = std::max(i - 1, 0); ci <= std::min(i, 449); ++ci)
            for (int cj = std::max(j - 1, 0); cj <= std::min(j, 399); ++cj) {
                if (terrain_airport_cell[TERRAIN_index(ci, cj)]) return true;
                if (water(ci, cj) || water(ci + 1, cj) || water(ci, cj + 1) || water(ci + 1, cj + 1)) return true;
            }
        return false;
    }
};

// A span whose two cross sections run the same way (no sharp bend at either end).
bool straight(const segment_point& p, const segment_point& q)
{
    const float ax = p.edge_x - p.x, az = p.edge_z - p.z, bx = q.edge_x - q.x, bz = q.edge_z - q.z;
    return ax * bx + az * bz > 0.98f * std::hypot(ax, az) * std::hypot(bx, bz);
}

}  // namespace

TEST_F(DefaultWorld, TheTilesAroundTheStartAirportMakeTheGeneratedGround)
{
    for (const alert_record& a : alerts) ADD_FAILURE() << "alert: " << a.lines[0] << " / " << a.lines[1];
    ASSERT_EQ(lat_ref, 33.0f);
    ASSERT_EQ(lon_ref, -119.0f);

    // All six tiles were read: no window is the default grid's water.
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 3; ++b) {
            int land = 0;
            for (int i = 0; i <= 150; i += 10)
                for (int j = 0; j <= 200; j += 10) land += !water(b * 150 + i, a * 200 + j);
            EXPECT_GT(land, 0) << "tile " << 33 + a << " N " << 119 - b << " W";
        }

    // The terrain under the start runway is the field's elevation, 1,159 ft.
    ASSERT_GE(start_selection.airport_index, 0);
    const airport_record& ksbd = airport_table[static_cast<size_t>(start_selection.airport_index)];
    ASSERT_STREQ(ksbd.id, "KSBD");
    float x, y, z;
    GEO_latlon_to_local(x, y, z, ksbd.runways[0].lat, ksbd.runways[0].lon, ksbd.elevation);
    int i = 0, j = 0;
    const float h = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &i, &j, 0, "test");
    EXPECT_TRUE(terrain_airport_cell[TERRAIN_index(i, j)]);
    EXPECT_NEAR(elevation_at({x, h, z}), 353.3, 0.05);

    // Elsewhere the grid holds the generator's heights (whole metres) and land use (towns become city).
    std::vector<envgen::airport> airports;
    ASSERT_TRUE(envgen::read_airports(default_nav_file("apt.dat").string(), airports));
    const envgen::world w(0, airports);
    int compared = 0, wrong_height = 0, wrong_use = 0;
    for (int gi = 0; gi <= 450; gi += 5)
        for (int gj = 0; gj <= 400; gj += 5) {
            if (touched(gi, gj)) continue;
            const int south = 33 + std::min(gj / 200, 1), west = -119 + std::min(gi / 150, 2);
            // The place as the tile holds it.
            const int32_t packed = env::pack_point(south + (gj - (south - 33) * 200) / 200.0,
                                                 west + (gi - (west + 119) * 150) / 150.0, south, west);
            const double lat = south + (packed / 10000) / 9999.0, lon = west + (packed % 10000) / 9999.0;
            const double expected = std::round(w.height_m(lat, lon));
            const double got = elevation_at(terrain_vertex_grid[TERRAIN_index(gi, gj)]);
            if (std::fabs(got - expected) > 0.05) ++wrong_height;
            const int32_t use = w.landuse(lat, lon), code = landuse_grid[TERRAIN_index(gi, gj)];
            if (use == envgen::LU_URBAN ? (code < 80 || code > 84) : code != use) ++wrong_use;
            ++compared;
        }
    EXPECT_GT(compared, 4000);
    EXPECT_EQ(wrong_height, 0);
    EXPECT_EQ(wrong_use, 0);
}

TEST(DefaultTiles, TheDataFolderHoldsTheStartAreasAndTheMarsBaseWithoutWater)
{
    namespace fs = std::filesystem;
    int earth = 0, mars = 0;
    for (const auto& e : fs::recursive_directory_iterator(ORVELL_DATA_FOLDER "Resources/Earth nav data"))
        earth += e.path().extension() == ".env";
    for (const auto& e : fs::recursive_directory_iterator(ORVELL_DATA_FOLDER "Resources/Mars nav data"))
        mars += e.path().extension() == ".env";
    EXPECT_EQ(earth, 20);
    EXPECT_EQ(mars, 30);

    // The Mars base's area: every tile read, none of it water.
    temp_folder tmp;
    tiles_use_area(tmp, 1, -7.0f, 134.0f);
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 6; ++b) ENV_load_tile(-7 + a, 134 + b, b * 64, a * 64, 1);
    EXPECT_TRUE(recorded_alerts.empty());
    for (int i = 0; i <= 384; ++i)
        for (int j = 0; j <= 320; ++j) ASSERT_FALSE(is_water_code(landuse_grid[TERRAIN_index(i, j)])) << i << "," << j;
}

TEST_F(DefaultWorld, TheTrainerOnAGeneratedHighwayStandsOnRoad)
{
    // The first highway span of the area, and the plane on its middle.
    int si = -1, sj = -1;
    size_t sk = 0;
    for (const terrain_point_lists& l : terrain_lists) {
        const std::vector<segment_point>& h = l.seg[0];
        for (size_t k = 0; k + 1 < h.size() && si < 0; ++k)
            if (h[k].span_flag == SEG_ON_LAND && std::hypot(h[k + 1].x - h[k].x, h[k + 1].z - h[k].z) > 20.0f &&
                straight(h[k], h[k + 1])) {
                si = l.point / TERRAIN_GRID_COLS, sj = l.point % TERRAIN_GRID_COLS, sk = k;
            }
        if (si >= 0) break;
    }
    ASSERT_GE(si, 0) << "no highway in the loaded area";
    const std::vector<segment_point>& h = *SEG_list(0, si, sj);
    const segment_point &p = h[sk], &q = h[sk + 1];
    flt_struct& f = flt[0];
    f.local_x = 0.25f * (p.x + q.x + p.edge_x + q.edge_x);
    f.local_z = 0.25f * (p.z + q.z + p.edge_z + q.edge_z);
    f.i = si, f.j = sj;
    sim_graphics_settings.draw_vectors = 1;
    GROUND_surface_under_plane();
    EXPECT_EQ(surface_state.surface_code, SURFACE_DECK);

    // Off the road the surface is plain ground again.
    f.local_x += 200.0f;
    GROUND_surface_under_plane();
    EXPECT_EQ(surface_state.surface_code, SURFACE_NONE);
}
