#include "core/constants.h"

#include <algorithm>
#include <cmath>

#include "core/alert.h"
#include "core/random.h"

float random_table[RANDOM_TABLE_SIZE];

float pi, double_pi, half_pi, R, speed_light_m_sec;

unit_constants units;

float degree_sin[DEGREE_TABLE_SIZE];
float degree_cos[DEGREE_TABLE_SIZE];

float max_visibility_m[2] = {max_visibility_nm[0] * METRES_PER_NM, max_visibility_nm[1] * METRES_PER_NM};

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
    if (!std::isfinite(t) || t < 0.0) t = 0.0;
    while (t > 32000.0) {
        t /= 2.0;
        UTIL_rand();
    }
    const int extra = static_cast<int>(t) % 100;
    for (int i = 0; i < extra; ++i) UTIL_rand();
}

namespace {

// 1.0 divided by the stored factor, rounded once to float.
float reciprocal(float factor) { return static_cast<float>(1.0 / factor); }

}  // namespace

void CONST_fill_constants()
{
    pi = 3.1415927f;
    double_pi = 6.2831855f;
    half_pi = 1.5707964f;
    R = 287.0f;
    speed_light_m_sec = 299792448.0f;

    unit_constants& u = units;
    u.g_conv = 9.7982788f;   // the simulator's own value, not the standard 9.80665
    u.lbs_to_kgs = 0.45359251f;
    u.kgs_to_lbs = reciprocal(u.lbs_to_kgs);
    u.ft_to_mtrs = 0.3048f;
    u.mtrs_to_ft = reciprocal(u.ft_to_mtrs);
    u.hp_to_watts = 745.7f;
    u.watts_to_hp = reciprocal(u.hp_to_watts);
    u.degf_to_degc = 5.0f / 9.0f;
    u.degc_to_degf = reciprocal(u.degf_to_degc);
    u.rad_to_deg = 180.0f / pi;
    u.deg_to_rad = reciprocal(u.rad_to_deg);
    u.kts_to_ftps = 1.6878098f;
    u.ftps_to_kts = reciprocal(u.kts_to_ftps);
    u.kts_to_mps = u.kts_to_ftps * u.ft_to_mtrs;
    u.mps_to_kts = reciprocal(u.kts_to_mps);
    u.rpm_to_radps = u.deg_to_rad * 6.0f;
    u.radps_to_rpm = reciprocal(u.rpm_to_radps);
    u.fpm_to_mps = u.ft_to_mtrs / 60.0f;
    u.mps_to_fpm = reciprocal(u.fpm_to_mps);
    // Feet per nautical mile is a double literal: the product rounds once, to exactly 1852.
    u.nm_to_mtrs = static_cast<float>(u.ft_to_mtrs * 6076.1155);
    u.mtrs_to_nm = reciprocal(u.nm_to_mtrs);
    u.sqft_to_sqm = u.ft_to_mtrs * u.ft_to_mtrs;
    u.sqm_to_sqft = reciprocal(u.sqft_to_sqm);
    u.lbf_to_n = u.lbs_to_kgs * u.g_conv;
    u.n_to_lbf = reciprocal(u.lbf_to_n);
    u.ftlbf_to_nm = u.lbf_to_n * u.ft_to_mtrs;
    u.nm_to_ftlbf = reciprocal(u.ftlbf_to_nm);
    const float ft4 = u.ft_to_mtrs * u.ft_to_mtrs * u.ft_to_mtrs * u.ft_to_mtrs;
    u.slugft3_to_kgm3 = u.g_conv * u.lbs_to_kgs / ft4;
    u.kgm3_to_slugft3 = reciprocal(u.slugft3_to_kgm3);
    u.psf_to_pa = u.lbf_to_n / u.sqft_to_sqm;
    u.pa_to_psf = reciprocal(u.psf_to_pa);
    u.lbft2_to_kgm2 = u.sqft_to_sqm * u.lbs_to_kgs;
    u.kgm2_to_lbft2 = reciprocal(u.lbft2_to_kgm2);
    u.pa_to_inhg = 0.00029528743f;
    u.inhg_to_pa = reciprocal(u.pa_to_inhg);
    u.mb_to_inhg = 0.029528745f;
    u.inhg_to_mb = reciprocal(u.mb_to_inhg);
    u.kts_to_mph = 1.1507795f;
    u.mph_to_kts = reciprocal(u.kts_to_mph);

    for (int i = 0; i < DEGREE_TABLE_SIZE; ++i) {
        const float x = static_cast<float>(i) * u.deg_to_rad;
        degree_sin[i] = static_cast<float>(std::sin(static_cast<double>(x)));
        degree_cos[i] = static_cast<float>(std::cos(static_cast<double>(x)));
    }
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
