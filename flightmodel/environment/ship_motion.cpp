#include "flightmodel/environment/ship_motion.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "flightmodel/ground/terrain_query.h"
#include "world/ship_decks.h"
#include "world/ships.h"
#include "world/landuse_grid.h"

namespace {

int planet_index() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

bool is_water(int32_t code) { return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B; }

}  // namespace

int SHIPS_block_is_dry(int row, int col)
{
    const int p = planet_index();
    const int last_row = grid_rows[p];
    const int last_col = grid_cols[p];
    // Cells outside the land-use grid would be read past its end; they count as land.
    if (row < -1 || row > last_row || col < -1 || col > last_col) return 1;   // wholly outside: land
    for (int dr = 0; dr <= 1; ++dr)
        for (int dc = 0; dc <= 1; ++dc) {
            const int r = row + dr;
            const int c = col + dc;
            if (r < 0 || r > last_row || c < 0 || c > last_col) continue;   // outside the grid: land
            if (is_water(landuse_grid[r * TERRAIN_GRID_COLS + c])) return 0;
        }
    return 1;
}

void SHIPS_step(int k)
{
    if (k < 0 || k > SHIP_FRIGATE) return;
    if (!TERRAIN_point_in_area(ship_x[k], ship_y[k], ship_z[k], 0.0f)) return;
    const float dt = sim_operation_misc.frame_rate_period;
    const bool replaying = sim_operation_prefs.replay_mode != 0;
    if (!replaying) {
        const float speed = k == SHIP_CARRIER ? CARRIER_SPEED_MPS : FRIGATE_SPEED_MPS;
        const double h = ship_heading[k] * DEG_TO_RAD_DOUBLE;
        ship_x[k] += static_cast<float>((speed * std::sin(h) + ship_vx[k]) * dt);
        ship_z[k] += static_cast<float>((-speed * std::cos(h) + ship_vz[k]) * dt);

        const int p = planet_index();
        // Cells well outside the grid all count as land; held near it so the
        // neighbour arithmetic below cannot overflow.
        const int r = std::clamp(ship_cell_row[k], -8, grid_rows[p] + 8);
        const int c = std::clamp(ship_cell_col[k], -8, grid_cols[p] + 8);
        auto dry = [](int row, int col) { return SHIPS_block_is_dry(row, col) != 0; };
        const bool land_plus_row = r >= grid_rows[p] - 6 || dry(r, c) || dry(r + 1, c) || dry(r + 2, c);
        const bool land_minus_row = r <= 6 || dry(r, c) || dry(r - 1, c) || dry(r - 2, c);
        const bool land_plus_col = c >= grid_cols[p] - 6 || dry(r, c) || dry(r, c + 1) || dry(r, c + 2);
        const bool land_minus_col = c <= 6 || dry(r, c) || dry(r, c - 1) || dry(r, c - 2);
        const float hd = ship_heading[k];
        ship_turn_rate[k] = 0.0f;
        if ((land_minus_row && hd >= 180.0f && hd <= 360.0f) ||
            (land_plus_col && ((hd >= 270.0f && hd <= 360.0f) || (hd >= 0.0f && hd <= 90.0f))) ||
            (land_plus_row && hd >= 0.0f && hd <= 180.0f) || (land_minus_col && hd >= 90.0f && hd <= 270.0f))
            ship_turn_rate[k] = 0.2f * speed;
        ship_heading[k] = UTIL_wrap_closed(ship_heading[k] + ship_turn_rate[k] * dt, 360.0f);
    }
    if (TERRAIN_point_in_area(ship_x[k], ship_y[k], ship_z[k], 0.0f)) {
        float scratch[3];
        int row = ship_cell_row[k], col = ship_cell_col[k];
        ship_y[k] =
            TERRAIN_height_at(ship_x[k], ship_z[k], &scratch[0], &scratch[1], &scratch[2], &row, &col, 0, "ships");
        ship_cell_row[k] = row;
        ship_cell_col[k] = col;
    }
    const double t = sim_network_misc.network_time_sec;
    const double a = sim_weather.wave_amplitude;
    ship_pitch[k] = static_cast<float>(0.5 * a * std::sin(0.7 * t));
    ship_pitch_rate[k] = static_cast<float>(0.7 * 0.5 * a * std::cos(0.7 * t));
    ship_roll[k] = static_cast<float>(1.5 * a * std::sin(0.7 * t));
    ship_roll_rate[k] = static_cast<float>(0.7 * 1.5 * a * std::cos(0.7 * t));
}
