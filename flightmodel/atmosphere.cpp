#include "flightmodel/atmosphere.h"

#include <cmath>

#include "core/constants.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"

float storm_grid[STORM_GRID_CELLS]{};
void ATMOS_storm_grid_reset()
{
    for (float& c : storm_grid) c = 0.0f;
}
ORVELL_RESET(ATMOS_storm_grid_reset, program);

namespace {

struct alt_density {
    float alt_m;
    float rho;
};

constexpr float FT = UNIT.ft_to_mtrs;
constexpr float SLUG = UNIT.slugft3_to_kgm3;

// Earth: altitudes in ft, densities in slug/ft3, both converted at build time.
constexpr alt_density earth_table[] = {
    {0.0f * FT, 0.0023769f * SLUG},      {10000.0f * FT, 0.001756f * SLUG},
    {20000.0f * FT, 0.001267f * SLUG},   {30000.0f * FT, 0.0008907f * SLUG},
    {40000.0f * FT, 0.0005873f * SLUG},  {50000.0f * FT, 0.0003639f * SLUG},
    {60000.0f * FT, 0.0002256f * SLUG},  {70000.0f * FT, 0.0001399f * SLUG},
    {80000.0f * FT, 0.00008594f * SLUG}, {90000.0f * FT, 0.00005253f * SLUG},
    {100000.0f * FT, 0.00003211f * SLUG}, {110000.0f * FT, 0.00002001f * SLUG},
    {120000.0f * FT, 0.0000127f * SLUG},  {130000.0f * FT, 0.00000819f * SLUG},
    {140000.0f * FT, 0.000005364f * SLUG}, {150000.0f * FT, 0.000003564f * SLUG},
    {160000.0f * FT, 0.000002433f * SLUG}, {170000.0f * FT, 0.000001693f * SLUG},
    {180000.0f * FT, 0.0000012f * SLUG},  {190000.0f * FT, 8.589e-07f * SLUG},
    {200000.0f * FT, 6.061e-07f * SLUG},  {206000.0f * FT, 5e-07f * SLUG},
    {212000.0f * FT, 4e-07f * SLUG},      {221000.0f * FT, 3e-07f * SLUG},
    {232500.0f * FT, 2e-07f * SLUG},      {253000.0f * FT, 1e-07f * SLUG},
    {259000.0f * FT, 8e-08f * SLUG},      {268000.0f * FT, 6e-08f * SLUG},
    {280000.0f * FT, 4e-08f * SLUG},      {300000.0f * FT, 2e-08f * SLUG},
    {395000.0f * FT, 0.0f},
};
static_assert(sizeof(earth_table) / sizeof(earth_table[0]) == 31);

// Mars: metres and kg/m3 as they stand.
constexpr alt_density mars_table[] = {
    {-25000.0f, 0.074f},     {0.0f, 0.01505f},       {5000.0f, 0.009861f},   {10000.0f, 0.006319f},
    {15000.0f, 0.004034f},   {20000.0f, 0.002588f},  {25000.0f, 0.001603f},  {30000.0f, 0.0009217f},
    {35000.0f, 0.0005215f},  {40000.0f, 0.0002699f}, {45000.0f, 0.0001001f}, {50000.0f, 0.0000402f},
    {55000.0f, 0.0f},
};
static_assert(sizeof(mars_table) / sizeof(mars_table[0]) == 13);

template <std::size_t N>
float table_lookup(const alt_density (&t)[N], float alt)
{
    if (alt < t[0].alt_m) return t[0].rho;
    for (std::size_t k = 0; k + 1 < N; ++k) {
        if (t[k].alt_m <= alt && alt <= t[k + 1].alt_m) {
            const float span = t[k + 1].alt_m - t[k].alt_m;
            if (span == 0.0f) return (t[k].rho + t[k + 1].rho) * 0.5f;
            return t[k].rho + (t[k + 1].rho - t[k].rho) * (alt - t[k].alt_m) / span;
        }
    }
    return t[N - 1].rho;   // above the last point (and a NaN altitude)
}

// Straight line through (x0, y0) and (x1, y1) evaluated at x.
float line(float x0, float y0, float x1, float y1, float x) { return y0 + (y1 - y0) * (x - x0) / (x1 - x0); }

}  // namespace

void ATMO_wind_at_alt(float altitude_m, float* speed, float* direction, float* shear_speed,
                      float* shear_direction, float* turbulence)
{
    const sim_weather_block& w = sim_weather;
    const float* alt = w.wind_altitude_msl_m;

    auto layer = [&](int k) {
        *speed = w.wind_speed_kt[k];
        *direction = w.wind_direction_degt[k];
        *shear_speed = w.shear_speed_kt[k];
        *shear_direction = w.shear_direction_degt[k];
        *turbulence = w.turbulence[k];
    };
    // Directions blend as plain numbers, like the other values: no wrap at 360.
    auto between = [&](int k) {
        const float a0 = alt[k], a1 = alt[k + 1];
        const float f = (a1 == a0) ? 0.5f : (altitude_m - a0) / (a1 - a0);
        auto mix = [&](const float* v) { return v[k] + (v[k + 1] - v[k]) * f; };
        *speed = mix(w.wind_speed_kt);
        *direction = mix(w.wind_direction_degt);
        *shear_speed = mix(w.shear_speed_kt);
        *shear_direction = mix(w.shear_direction_degt);
        *turbulence = mix(w.turbulence);
    };

    if (altitude_m < alt[0]) layer(0);
    else if (altitude_m < alt[1]) between(0);
    else if (altitude_m < alt[2]) between(1);
    else layer(2);
}

float ATMO_temp_pressure()
{
    const float p = sim_physics.earth_pressure_p;
    const float t = sim_weather.temperature_sealevel_c;
    switch (sim_graphics_scenery.current_planet) {
    case PLANET_EARTH: return (p / 101325.0f) / ((t + 273.15f) / 288.15f);
    case PLANET_MARS: return (p / 920.0f) / ((t + 273.15f) / 213.15f);
    default: return 1.0f;
    }
}

float ATMO_density_at_alt(int planet, float altitude_m)
{
    if (planet == PLANET_MARS) return table_lookup(mars_table, altitude_m);
    return table_lookup(earth_table, altitude_m);
}

float ATMO_temp_at_alt(float altitude_m)
{
    const float sea = sim_weather.temperature_sealevel_c;
    const float h = altitude_m;
    switch (sim_graphics_scenery.current_planet) {
    case PLANET_EARTH: {
        float t;
        if (h < 11019.0f) t = line(0.0f, 15.0f, 11019.0f, -56.5f, h);
        else if (h < 25100.0f) t = -56.5f;
        else if (h < 47350.0f) t = line(25100.0f, -56.5f, 47350.0f, -2.5f, h);
        else if (h < 53445.0f) t = -2.5f;
        else if (h < 80772.0f) t = line(53445.0f, -2.5f, 80772.0f, -92.5f, h);
        else t = -92.5f;
        return t + (sea - 15.0f);
    }
    case PLANET_MARS: {
        float t;
        if (h < 5000.0f) t = -60.15f;
        else if (h < 40000.0f) t = line(5000.0f, -60.15f, 40000.0f, -131.15f, h);
        else t = -131.15f;
        return t + (sea + 60.15f);
    }
    default: return 0.0f;
    }
}

void ATMO_turbulence(float b)
{
    sim_weather_block& w = sim_weather;
    const float setting = w.wind_turbulence_percent;
    // A negative setting (from a file or a peer) would make the power NaN and
    // the NaN would spread into every layer's wind; it counts as 0 like 0 does.
    const float m = setting > 0.0f ? std::pow(setting, 1.5f) : 0.0f;
    const float keep = 1.0f - b;

    for (int i = 0; i < WIND_LAYERS; ++i) {
        // Direction: the target lies around layer 0's direction as it is now
        // (for layers 1 and 2, after layer 0's own step).
        const float target = w.wind_direction_degt[0] + (2.0f * UTIL_rand_fraction() - 1.0f) * m * 90.0f;
        w.wind_direction_degt[i] = UTIL_clamp(keep * w.wind_direction_degt[i] + b * target, 0.0f, 360.0f);

        w.shear_direction_degt[i] =
            UTIL_clamp(keep * w.shear_direction_degt[i] + b * UTIL_rand_fraction() * m * 150.0f, 0.0f, 180.0f);
        w.wind_speed_kt[i] = UTIL_clamp(keep * w.wind_speed_kt[i] + b * UTIL_rand_fraction() * m * 90.0f, 0.0f, 100.0f);
        w.shear_speed_kt[i] =
            UTIL_clamp(keep * w.shear_speed_kt[i] + b * UTIL_rand_fraction() * m * 30.0f, 0.0f, 50.0f);
        w.turbulence[i] = UTIL_clamp(keep * w.turbulence[i] + b * UTIL_rand_fraction() * m * 15.0f, 0.0f, 9.0f);
    }
}
