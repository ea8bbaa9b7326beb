// The ships' motion: sailing, steering away from land, the land test of the
// grid blocks, and the cases that leave a ship where it is.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>

#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/environment/ship_motion.h"
#include "world/ships.h"
#include "core/constants.h"
#include "tests/support/terrain_support.h"
#include "world/landuse_grid.h"

namespace {

// A carrier inside the loaded area on open water.
class Ships : public ::testing::Test {
protected:
    void SetUp() override
    {
        lat_ref = 34.0f;
        lon_ref = -118.0f;
        PLANET_set_constants(0);
        sim_operation_misc.frame_rate_period = 0.05f;
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
        ship_x[0] = ship_z[0] = ship_vx[0] = ship_vz[0] = 0.0f;
        ship_heading[0] = 90.0f;
        ship_cell_row[0] = ship_cell_col[0] = 200;
        TEST_lay_flat_grid(0.0f);   // the ship at the origin lies in cell (200, 200)
    }
    void TearDown() override { std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0); }
};

}  // namespace

TEST_F(Ships, SailsStraightOnOpenWaterAndTurnsAwayFromLand)
{
    SHIPS_step(0);
    EXPECT_NEAR(ship_x[0], 15.0f * 0.05f, 1e-4f);
    EXPECT_EQ(ship_turn_rate[0], 0.0f);
    EXPECT_EQ(ship_heading[0], 90.0f);

    for (int r = 200; r <= 201; ++r)   // a dry block two cells towards +column
        for (int c = 202; c <= 203; ++c) landuse_grid[r * TERRAIN_GRID_COLS + c] = 3;
    SHIPS_step(0);
    EXPECT_FLOAT_EQ(ship_turn_rate[0], 3.0f);
    EXPECT_FLOAT_EQ(ship_heading[0], 90.15f);

    // Outside the loaded area, or while replaying, the ship does not move.
    const float x = ship_x[0];
    sim_operation_prefs.replay_mode = 5;
    SHIPS_step(0);
    EXPECT_EQ(ship_x[0], x);
    sim_operation_prefs.replay_mode = 0;
    ship_x[0] = 1.0e7f;
    SHIPS_step(0);
    EXPECT_EQ(ship_x[0], 1.0e7f);
}

TEST_F(Ships, CellsOutsideTheGridCountAsLand)
{
    const int row_col_dry[][3] = {{200, 200, 0},  {450, 200, 0},   // row 450 is water, row 451 outside
                                  {451, 200, 1},  {-1, 200, 0},    // both rows outside: land; row 0 is water
                                  {-2, 200, 1},   {100000, -100000, 1}};
    for (const auto& c : row_col_dry) EXPECT_EQ(SHIPS_block_is_dry(c[0], c[1]), c[2]) << c[0] << "," << c[1];
    ship_cell_row[0] = 2000000;   // a cell no query could give: counted as land, never read
    ship_cell_col[0] = -7;
    ship_heading[0] = 0.0f;
    SHIPS_step(0);
    EXPECT_GT(ship_turn_rate[0], 0.0f);
}

TEST_F(Ships, ShipCellsAtTheEndsOfTheIntegerRangeCountAsLand)
{
    for (int r : {INT_MAX, INT_MIN})
        for (int c : {INT_MAX, INT_MIN, 200}) EXPECT_EQ(SHIPS_block_is_dry(r, c), 1) << r << "," << c;
    EXPECT_EQ(SHIPS_block_is_dry(200, 200), 0);
    ship_x[0] = ship_z[0] = 0.0f;
    ship_heading[0] = 0.0f;
    ship_cell_row[0] = INT_MAX;
    ship_cell_col[0] = INT_MIN;
    SHIPS_step(0);   // land towards +row with the bow at 0 degrees: the ship turns
    EXPECT_FLOAT_EQ(ship_turn_rate[0], 3.0f);
    EXPECT_EQ(ship_cell_row[0], 200);
}

// Land within six cells of an edge of the grid turns a ship only while its bow
// points that way (0.2 x speed degrees a second, heading increasing); the swell
// rocks it by the wave amplitude at 0.7 rad/s, three times as far in roll.
TEST_F(Ships, EachEdgeTurnsTheShipInItsOwnHeadingSectorAndTheSwellRocksIt)
{
    struct edge_case { int ship, row, col; float heading, turn; };
    const edge_case cases[] = {
        {0, 6, 200, 270.0f, 3.0f},   {0, 6, 200, 180.0f, 3.0f},   {0, 6, 200, 90.0f, 0.0f},    // towards -row
        {0, 7, 200, 270.0f, 0.0f},                                                             // seven rows in: open
        {0, 444, 200, 0.0f, 3.0f},   {0, 444, 200, 180.0f, 3.0f}, {0, 444, 200, 270.0f, 0.0f}, // towards +row
        {0, 443, 200, 90.0f, 0.0f},
        {0, 200, 394, 300.0f, 3.0f}, {0, 200, 394, 90.0f, 3.0f},  {0, 200, 394, 180.0f, 0.0f}, // towards +column
        {0, 200, 6, 90.0f, 3.0f},    {0, 200, 6, 270.0f, 3.0f},   {0, 200, 6, 0.0f, 0.0f},     // towards -column
        {1, 6, 200, 200.0f, 2.0f},                                                             // the frigate: 10 m/s
    };
    for (const edge_case& e : cases) {
        const int k = e.ship;
        ship_x[k] = ship_z[k] = ship_vx[k] = ship_vz[k] = 0.0f;
        ship_heading[k] = e.heading;
        ship_cell_row[k] = e.row;
        ship_cell_col[k] = e.col;
        SHIPS_step(k);
        EXPECT_FLOAT_EQ(ship_turn_rate[k], e.turn) << e.row << "," << e.col << " at " << e.heading;
        EXPECT_NEAR(ship_heading[k], e.heading + e.turn * 0.05f, 1e-4f);
    }

    // At t = 1 s with amplitude 2: sin 0.7 = 0.644218, cos 0.7 = 0.764842.
    sim_network_misc.network_time_sec = 1.0f;
    sim_weather.wave_amplitude = 2.0f;
    SHIPS_step(0);
    EXPECT_NEAR(ship_pitch[0], 0.644218f, 1e-5f);
    EXPECT_NEAR(ship_pitch_rate[0], 0.535390f, 1e-5f);
    EXPECT_NEAR(ship_roll[0], 1.932653f, 1e-5f);
    EXPECT_NEAR(ship_roll_rate[0], 1.606168f, 1e-5f);
}
