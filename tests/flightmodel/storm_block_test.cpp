// A storm block is the value noise of its rectangle, lo -2 to hi 3 over
// octaves 1 to 4, seeded 90 a block east and 1 a block south, limited to 0..1.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/constants.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/environment/noise.h"

TEST(StormBlock, NoiseOfTheRectangleLimitedToOne)
{
    CONST_fill_random_table();
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    // A seed whose first entry lands the first octave's centre inside 0..1.
    int seed = 0;
    while (!(random_table[seed] > 0.45f && random_table[seed] < 0.75f)) ++seed;
    weather_seed = seed;

    // Block (0, 0), columns 0..85 and rows 0..128: the first octave's first
    // sub-cell (42 x 64 cells) has its centre at (21, 32), which no finer
    // octave touches: (-2 + 5 r) / 2.
    std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
    ATMO_storm_grid_tile(0, 0);
    EXPECT_NEAR(storm_grid[21 * 256 + 32], (-2.0f + 5.0f * random_table[seed]) / 2.0f, 1e-6f);

    // Block (2, 1), columns 170..255 and rows 128..255, seed 181 on.
    std::vector<float> expect(256 * 256, 0.0f);
    UTIL_noise_fill(170, 128, 255, 255, expect.data(), 256, -2.0f, 3.0f, 1, 4, 181 + seed);
    std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
    ATMO_storm_grid_tile(2, 1);
    int differ = 0;
    for (int x = 170; x <= 255; ++x)
        for (int z = 128; z <= 255; ++z)
            differ += storm_grid[x * 256 + z] != std::clamp(expect[x * 256 + z], 0.0f, 1.0f);
    EXPECT_EQ(differ, 0);
    weather_seed = 0;
    std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
}
