// Shared tables filled once at start-up: the random table, the published
// physics constants, the unit conversion constants, the degree sine and
// cosine tables, and the per-planet constants every module uses.
#pragma once

#include <cstdint>

constexpr double PI_DOUBLE = 3.14159265358979;
constexpr double DEG_TO_RAD_DOUBLE = 0.017453292519943278;
constexpr double RAD_TO_DEG_DOUBLE = 57.29577951308238;
constexpr double TWO_PI_DOUBLE = 6.28318530717958;
constexpr float METRES_PER_NM = 1852.0f;

constexpr int RANDOM_TABLE_SIZE = 10000;
extern float random_table[RANDOM_TABLE_SIZE];

// Published physics constants.
extern float pi, double_pi, half_pi, R, speed_light_m_sec;

// Unit conversion constants: g_conv, then each factor followed by its reciprocal.
struct unit_constants {
    float g_conv;
    float lbs_to_kgs, kgs_to_lbs;
    float ft_to_mtrs, mtrs_to_ft;
    float hp_to_watts, watts_to_hp;
    float degf_to_degc, degc_to_degf;
    float rad_to_deg, deg_to_rad;
    float kts_to_ftps, ftps_to_kts;
    float kts_to_mps, mps_to_kts;
    float rpm_to_radps, radps_to_rpm;
    float fpm_to_mps, mps_to_fpm;
    float nm_to_mtrs, mtrs_to_nm;
    float sqft_to_sqm, sqm_to_sqft;
    float lbf_to_n, n_to_lbf;
    float ftlbf_to_nm, nm_to_ftlbf;
    float slugft3_to_kgm3, kgm3_to_slugft3;
    float psf_to_pa, pa_to_psf;
    float lbft2_to_kgm2, kgm2_to_lbft2;
    float pa_to_inhg, inhg_to_pa;
    float mb_to_inhg, inhg_to_mb;
    float kts_to_mph, mph_to_kts;
};
static_assert(sizeof(unit_constants) == 39 * 4);
extern unit_constants units;

constexpr int DEGREE_TABLE_SIZE = 361;
extern float degree_sin[DEGREE_TABLE_SIZE];
extern float degree_cos[DEGREE_TABLE_SIZE];

// Per-planet constants (index 0 Earth, 1 Mars).
constexpr int PLANET_EARTH = 0;
constexpr int PLANET_MARS = 1;
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
