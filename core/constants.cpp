#include "core/constants.h"

#include <algorithm>
#include <cmath>

#include "core/alert.h"
#include "core/random.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"

float random_table[RANDOM_TABLE_SIZE];

float pi, double_pi, half_pi, R, speed_light_m_sec;

unit_constants units;

float degree_sin[DEGREE_TABLE_SIZE];
float degree_cos[DEGREE_TABLE_SIZE];

float max_visibility_m[2] = {max_visibility_nm[0] * UNIT.nm_to_mtrs, max_visibility_nm[1] * UNIT.nm_to_mtrs};

// The layout the terrain code is built for must fit the terrain vertex grid.
static_assert(grid_rows[0] + 1 == TERRAIN_GRID_ROWS && grid_cols[0] + 1 == TERRAIN_GRID_COLS);

void CONST_fill_random_table()
{
    // From the generator's initial state, so the table is the same on every run.
    UTIL_srand(1);
    for (float& entry : random_table) entry = static_cast<float>(UTIL_rand() * 0.9999 / UTIL_RAND_MAX);
}

void CONST_stir_random(double t)
{
    // A clock that is not a finite number would never halve below 32000 and
    // the loop would not end; such a clock (or one before 0) counts as 0.
    if (!std::isfinite(t) || t < 0.0) t = 0.0;
    while (t > 32000.0) {
        t /= 2.0;
        UTIL_rand();
    }
    const int extra = static_cast<int>(t) % 100;
    for (int i = 0; i < extra; ++i) UTIL_rand();
}

void CONST_fill_constants()
{
    pi = PI_FLOAT;
    double_pi = TWO_PI_FLOAT;
    half_pi = HALF_PI_FLOAT;
    R = 287.0f;
    speed_light_m_sec = 299792448.0f;

    units = UNIT;

    for (int i = 0; i < DEGREE_TABLE_SIZE; ++i) {
        const float x = static_cast<float>(i) * units.deg_to_rad;
        degree_sin[i] = static_cast<float>(std::sin(static_cast<double>(x)));
        degree_cos[i] = static_cast<float>(std::cos(static_cast<double>(x)));
    }
}

void PLANET_set_constants(int planet)
{
    sim_graphics_scenery.current_planet = planet;
    if (planet != PLANET_EARTH && planet != PLANET_MARS) return;
    const int p = planet;
    sim_physics.earth_mu = PLANET_GRAVITY_MU[p];
    sim_physics.earth_radius_m = PLANET_RADIUS_M[p];
    sim_physics.mu_air = PLANET_AIR_VISCOSITY[p];
    sim_physics.rho_water = PLANET_WATER_DENSITY[p];
    sim_physics.earth_temp_c = STANDARD_SEA_LEVEL_TEMP_C[p];
    sim_physics.earth_pressure_p = STANDARD_SEA_LEVEL_PRESSURE_PA[p];
    sim_physics.rho_sea_level = PLANET_SEA_LEVEL_DENSITY[p];
    sim_cockpit_misc.barometer_setting = PLANET_BAROMETER_INHG[p];
    // The sea-level temperature is one value published under two names,
    // earth_temp_c and the weather's temperature_sealevel_c; the weather
    // keeps its own store, so a preset is written to both.
    sim_weather.temperature_sealevel_c = sim_physics.earth_temp_c;
}

void CONST_dimension_self_check(const grid_layout& g)
{
    auto larger = [](const int v[2]) { return std::max(v[0], v[1]); };
    const struct {
        bool ok;
        const char* number;
    } tests[] = {
        {larger(g.block_rows) == 150, " 5"},
        {larger(g.block_cols) == 200, " 6"},
        {larger(g.col_blocks) == 5, " 7"},
        {larger(g.row_blocks) == 6, " 8"},
        {larger(g.grid_rows) + 1 == TERRAIN_GRID_ROWS, " 9"},
        {larger(g.grid_cols) + 1 == TERRAIN_GRID_COLS, "10"},
        {g.block_rows[0] * g.row_blocks[0] < TERRAIN_GRID_ROWS, "11"},
        {g.block_cols[0] * g.col_blocks[0] < TERRAIN_GRID_COLS, "12"},
        {g.block_rows[1] * g.row_blocks[1] < TERRAIN_GRID_ROWS, "11"},
        {g.block_cols[1] * g.col_blocks[1] < TERRAIN_GRID_COLS, "12"},
    };
    for (const auto& t : tests)
        if (!t.ok) MACIBM_nuke_alert(0, "Array dim bad!", t.number, "", "", ALERT_FATAL);
}

void CONST_dimension_self_check()
{
    grid_layout g{};
    for (int p = 0; p < 2; ++p) {
        g.grid_rows[p] = grid_rows[p];
        g.grid_cols[p] = grid_cols[p];
        g.block_rows[p] = block_rows[p];
        g.block_cols[p] = block_cols[p];
        g.row_blocks[p] = row_blocks[p];
        g.col_blocks[p] = col_blocks[p];
    }
    CONST_dimension_self_check(g);
}
