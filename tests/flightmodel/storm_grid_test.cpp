// The storm grid: its cells over the loaded area, its blocks per planet, the
// noise rebuilt from the storm seed, and bad blocks and seeds from peers.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <vector>

#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/environment/noise.h"
#include "world/scenery_area.h"

namespace {

constexpr float UNTOUCHED = -5.0f;

class Storms : public ::testing::Test {
protected:
    void SetUp() override
    {
        CONST_fill_random_table();
        saved_ = scenery_area;
        scenery_area = {-1000.0f, 1000.0f, -500.0f, 500.0f};
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        weather_seed = 417;
        std::fill(std::begin(storm_grid), std::end(storm_grid), UNTOUCHED);
    }
    void TearDown() override
    {
        scenery_area = saved_;
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
    }

    // The columns and rows a rebuild wrote.
    struct span {
        int x0 = 999, x1 = -1, z0 = 999, z1 = -1;
    };
    static span written()
    {
        span s;
        for (int x = 0; x < STORM_GRID_DIM; ++x)
            for (int z = 0; z < STORM_GRID_DIM; ++z)
                if (storm_grid[x * STORM_GRID_DIM + z] != UNTOUCHED) {
                    s.x0 = std::min(s.x0, x), s.x1 = std::max(s.x1, x);
                    s.z0 = std::min(s.z0, z), s.z1 = std::max(s.z1, z);
                }
        return s;
    }
    scenery_area_record saved_{};
};

}  // namespace

TEST_F(Storms, CellsAcrossTheArea)
{
    EXPECT_EQ(ATMO_storm_cell_x(-1000.0f), 0);
    EXPECT_EQ(ATMO_storm_cell_x(999.9f), 254);
    EXPECT_EQ(ATMO_storm_cell_x(1000.0f), 255);
    EXPECT_EQ(ATMO_storm_cell_x(-5000.0f), 0);   // west of the area
    EXPECT_EQ(ATMO_storm_cell_x(5000.0f), 255);  // east of it
    EXPECT_EQ(ATMO_storm_cell_z(500.0f), 0);     // the south edge
    EXPECT_EQ(ATMO_storm_cell_z(-500.0f), 255);  // the north edge
    EXPECT_EQ(ATMO_storm_cell_z(-9000.0f), 255); // north of the area
    EXPECT_EQ(ATMO_storm_cell_z(0.0f), 127);
    EXPECT_EQ(ATMO_storm_cell_x(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ATMO_storm_cell_z(3e38f), 0);

    scenery_area = {7.0f, 7.0f, 3.0f, 3.0f};
    for (float v : {-1e6f, 0.0f, 7.0f, 1e6f}) {
        EXPECT_EQ(ATMO_storm_cell_x(v), 127);
        EXPECT_EQ(ATMO_storm_cell_z(v), 127);
    }
}

TEST_F(Storms, BlocksCoverTheirShareOfTheGridAndShareTheirBorders)
{
    ATMO_storm_grid_tile(2, 1);
    span s = written();
    EXPECT_EQ(s.x0, 170);
    EXPECT_EQ(s.x1, 255);
    EXPECT_EQ(s.z0, 128);
    EXPECT_EQ(s.z1, 255);

    std::fill(std::begin(storm_grid), std::end(storm_grid), UNTOUCHED);
    ATMO_storm_grid_tile(0, 0);
    s = written();
    EXPECT_EQ(s.x0, 0);
    EXPECT_EQ(s.x1, 85);
    EXPECT_EQ(s.z0, 0);
    EXPECT_EQ(s.z1, 128);

    // Every block of the Earth: the whole grid, every cell 0..1, some storm somewhere.
    std::fill(std::begin(storm_grid), std::end(storm_grid), UNTOUCHED);
    for (int bx = 0; bx < 3; ++bx)
        for (int bz = 0; bz < 2; ++bz) ATMO_storm_grid_tile(bx, bz);
    float lo = 2.0f, hi = -2.0f;
    for (float c : storm_grid) lo = std::min(lo, c), hi = std::max(hi, c);
    EXPECT_GE(lo, 0.0f);
    EXPECT_LE(hi, 1.0f);
    EXPECT_GT(hi, 0.0f);

    // Mars has 6 x 5 blocks.
    sim_graphics_scenery.current_planet = PLANET_MARS;
    std::fill(std::begin(storm_grid), std::end(storm_grid), UNTOUCHED);
    ATMO_storm_grid_tile(5, 4);
    s = written();
    EXPECT_EQ(s.x0, 5 * 256 / 6);
    EXPECT_EQ(s.z0, 4 * 256 / 5);
    EXPECT_EQ(s.x1, 255);
}

TEST_F(Storms, TheSeedMakesThePattern)
{
    ATMO_storm_grid_tile(1, 1);
    const std::vector<float> first(std::begin(storm_grid), std::end(storm_grid));
    ATMO_storm_grid_tile(1, 1);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), std::begin(storm_grid)));
    weather_seed = 418;
    ATMO_storm_grid_tile(1, 1);
    EXPECT_FALSE(std::equal(first.begin(), first.end(), std::begin(storm_grid)));
}

TEST_F(Storms, BadBlocksAndSeedsStayInsideTheTables)
{
    for (auto [bx, bz] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {INT_MAX, INT_MIN}}) ATMO_storm_grid_tile(bx, bz);
    EXPECT_EQ(written().x1, -1);   // nothing written

    for (int seed : {-1, -999999, INT_MIN, INT_MAX, 123456789}) {
        weather_seed = seed;
        ATMO_storm_grid_tile(2, 1);
        for (float c : storm_grid) ASSERT_TRUE(c == UNTOUCHED || (c >= 0.0f && c <= 1.0f)) << seed;
    }
    weather_seed = 0;
}

TEST(ValueNoise, OctaveZeroIsAPyramidOverTheRectangle)
{
    CONST_fill_random_table();
    std::vector<float> grid(17 * 17, 0.0f);
    UTIL_noise_fill(0, 0, 16, 16, grid.data(), 17, 1.0f, 1.0f, 0, 0, 5);
    // Centre half the amplitude (lo = hi = 1, octave 0), borders untouched,
    // falling off toward them.
    EXPECT_FLOAT_EQ(grid[8 * 17 + 8], 0.5f);
    EXPECT_EQ(grid[0 * 17 + 5], 0.0f);
    EXPECT_EQ(grid[16 * 17 + 5], 0.0f);
    EXPECT_GT(grid[8 * 17 + 4], 0.0f);
    EXPECT_LT(grid[8 * 17 + 4], 0.5f);
    EXPECT_GT(grid[6 * 17 + 6], grid[3 * 17 + 3]);

    // Rectangles outside the grid's rows, empty ones and octaves past 15 change nothing.
    const std::vector<float> before = grid;
    UTIL_noise_fill(0, 0, 16, 17, grid.data(), 17, 1.0f, 1.0f, 0, 0, 5);
    UTIL_noise_fill(-1, 0, 16, 16, grid.data(), 17, 1.0f, 1.0f, 0, 0, 5);
    UTIL_noise_fill(5, 5, 4, 16, grid.data(), 17, 1.0f, 1.0f, 0, 0, 5);
    UTIL_noise_fill(0, 0, 16, 16, grid.data(), 17, 1.0f, 1.0f, 0, 40, 5);
    EXPECT_EQ(grid, before);
}

TEST(ValueNoise, InteriorCellsAverageTheirTwoLinesWorkedByHand)
{
    // Octave 0 over 0..4 with lo = hi = 1: centre (2, 2) gets 0.5; the centre
    // row and column run straight to the untouched borders; an interior cell is
    // the mean of its line along x and its line along z, times the pyramid
    // (1 - |x - 2| / 4)(1 - |z - 2| / 4). One border cell, (0, 1), holds 1.
    CONST_fill_random_table();
    std::vector<float> grid(5 * 5, 0.0f);
    auto at = [&grid](int x, int z) { return grid[static_cast<size_t>(x * 5 + z)]; };
    grid[0 * 5 + 1] = 1.0f;
    UTIL_noise_fill(0, 0, 4, 4, grid.data(), 5, 1.0f, 1.0f, 0, 0, 3);
    EXPECT_FLOAT_EQ(at(2, 2), 0.5f);
    EXPECT_FLOAT_EQ(at(1, 2), 0.25f);
    EXPECT_FLOAT_EQ(at(2, 3), 0.25f);
    // (1, 1): along x from (0, 1) = 1 to (2, 1) = 0.25 gives 0.625, along z
    // from (1, 0) = 0 to (1, 2) = 0.25 gives 0.125: (0.625 + 0.125) / 2 x 0.75 x 0.75.
    EXPECT_FLOAT_EQ(at(1, 1), 0.375f * 0.5625f);
    EXPECT_FLOAT_EQ(at(3, 3), 0.125f * 0.5625f);
    EXPECT_FLOAT_EQ(at(0, 1), 1.0f);   // borders stay

    // Octave 1 (amplitude 1/2, no pyramid): four sub-cells of 4, each centre + 0.5.
    std::vector<float> wide(9 * 9, 0.0f);
    UTIL_noise_fill(0, 0, 8, 8, wide.data(), 9, 1.0f, 1.0f, 1, 1, 3);
    for (int c : {2 * 9 + 2, 6 * 9 + 2, 2 * 9 + 6, 6 * 9 + 6}) EXPECT_FLOAT_EQ(wide[static_cast<size_t>(c)], 0.5f) << c;
    EXPECT_FLOAT_EQ(wide[1 * 9 + 1], 0.125f);   // both lines run from 0 to 0.25 at the half-way cell

    // With lo 0 and hi 1 each centre takes half its random entry, sub-cell
    // (i, j) reading entry seed + 2j + i: (6, 2) is i = 1, (2, 6) is j = 1.
    std::fill(wide.begin(), wide.end(), 0.0f);
    UTIL_noise_fill(0, 0, 8, 8, wide.data(), 9, 0.0f, 1.0f, 1, 1, 40);
    ASSERT_NE(random_table[41], random_table[42]);
    EXPECT_FLOAT_EQ(wide[2 * 9 + 2], 0.5f * random_table[40]);
    EXPECT_FLOAT_EQ(wide[6 * 9 + 2], 0.5f * random_table[41]);
    EXPECT_FLOAT_EQ(wide[2 * 9 + 6], 0.5f * random_table[42]);
    EXPECT_FLOAT_EQ(wide[6 * 9 + 6], 0.5f * random_table[43]);
}

TEST_F(Storms, EachBlockSeedsItsNoiseNinetyAcrossAndOneDown)
{
    // Blocks of equal size differ only by their seed: one block east is the
    // storm seed plus 90, one block south (Mars, 51 rows a block) plus 1.
    const auto block = [](int bx, int bz, int seed) {
        weather_seed = seed;
        std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
        ATMO_storm_grid_tile(bx, bz);
        return std::vector<float>(std::begin(storm_grid), std::end(storm_grid));
    };
    const auto same = [](const std::vector<float>& a, const std::vector<float>& b, int dx, int dz, int w, int h) {
        int differ = 0;
        for (int x = 0; x <= w; ++x)
            for (int z = 0; z <= h; ++z)
                differ += a[static_cast<size_t>(x * 256 + z)] != b[static_cast<size_t>((x + dx) * 256 + z + dz)];
        return differ;
    };
    const auto east = block(1, 0, 300), west = block(0, 0, 390);
    EXPECT_EQ(same(west, east, 85, 0, 85, 128), 0);
    EXPECT_GT(same(block(0, 0, 391), east, 85, 0, 85, 128), 0);

    sim_graphics_scenery.current_planet = PLANET_MARS;
    const auto south = block(0, 1, 300), north = block(0, 0, 301);
    EXPECT_EQ(same(north, south, 0, 51, 42, 51), 0);
    EXPECT_GT(same(block(0, 0, 302), south, 0, 51, 42, 51), 0);
    weather_seed = 0;
}
