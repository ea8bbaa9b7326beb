// Shared tables filled once at start-up: the random table, the published
// physics constants, the unit conversion constants, the degree sine and
// cosine tables, and the per-planet constants every module uses.
#pragma once

#include <cstdint>

#include "core/units.h"

constexpr int RANDOM_TABLE_SIZE = 10000;
extern float random_table[RANDOM_TABLE_SIZE];

// Published physics constants.
extern float pi, double_pi, half_pi, R, speed_light_m_sec;

// Unit conversion constants (the set of core/units.h, stored at start-up).
extern unit_constants units;

constexpr int DEGREE_TABLE_SIZE = 361;
extern float degree_sin[DEGREE_TABLE_SIZE];
extern float degree_cos[DEGREE_TABLE_SIZE];

// Per-planet constants (index 0 Earth, 1 Mars).
constexpr int PLANET_EARTH = 0;
constexpr int PLANET_MARS = 1;

// Each planet's own constants (index 0 the Earth, 1 Mars): what choosing the
// planet sets, and what stands in for a stored value no flight can use.
constexpr float PLANET_GRAVITY_MU[2] = {3.986012e14f, 4.2845e13f};   // m3/s2
constexpr float PLANET_RADIUS_M[2] = {6378145.0f, 3396200.0f};
constexpr float PLANET_AIR_VISCOSITY[2] = {1.7894e-05f, 1.7894e-05f};
constexpr float PLANET_WATER_DENSITY[2] = {1000.0f, 1000.0f};        // kg/m3
constexpr float PLANET_SEA_LEVEL_DENSITY[2] = {1.225f, 0.01505f};    // kg/m3
constexpr float PLANET_BAROMETER_INHG[2] = {29.92f, 0.3676f};
// The sea-level air of each planet's standard atmosphere: the air the
// atmosphere's density table is for, and what choosing the planet sets.
constexpr float STANDARD_SEA_LEVEL_PRESSURE_PA[2] = {101325.0f, 920.0f};
constexpr float STANDARD_SEA_LEVEL_TEMP_C[2] = {15.0f, -60.0f};

// Selects the planet (0 the Earth, 1 Mars) and loads its own constants into
// the published physics values, the barometer setting and the weather's
// sea-level temperature; another number only selects.
void PLANET_set_constants(int planet);

// The interface languages, each a folder of texts and menus.
constexpr int LANGUAGE_COUNT = 7;
constexpr float reference_lat_offset[2] = {1.0f, 2.5f};   // centre of the local frame from lat_ref
constexpr float reference_lon_offset[2] = {1.5f, 3.0f};   // centre of the local frame from lon_ref
constexpr float max_visibility_nm[2] = {25.0f, 60.0f};
extern float max_visibility_m[2];                          // 46,300 and 111,120 m
constexpr int grid_rows[2] = {450, 384};
constexpr int grid_cols[2] = {400, 320};
constexpr int block_rows[2] = {150, 64};
constexpr int block_cols[2] = {200, 64};
constexpr int row_blocks[2] = {3, 6};
constexpr int col_blocks[2] = {2, 5};
constexpr int TERRAIN_GRID_ROWS = 451;
constexpr int TERRAIN_GRID_COLS = 401;

// Fills the random table from the generator's initial state.
void CONST_fill_random_table();
// Stirs the generator with the start time t (seconds), as the start-up does.
void CONST_stir_random(double t);
// Stores the physics constants, the unit constants and the degree tables.
void CONST_fill_constants();
// Runs the ten dimension checks of the terrain grid constants; a failure raises "Array dim bad!".
void CONST_dimension_self_check();

// A terrain grid layout (index 0 Earth, 1 Mars), so the checks can be run on any layout.
struct grid_layout {
    int grid_rows[2], grid_cols[2], block_rows[2], block_cols[2], row_blocks[2], col_blocks[2];
};
void CONST_dimension_self_check(const grid_layout& layout);
