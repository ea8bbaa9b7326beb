#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flightmodel/atmosphere.h"
#include "core/random.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"

namespace {

class Atmosphere : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_weather = {};
        sim_physics.earth_pressure_p = 101325.0f;
        sim_weather.temperature_sealevel_c = 15.0f;
        sim_graphics_scenery.current_planet = 0;
    }
    void TearDown() override { sim_graphics_scenery.current_planet = 0; }

    // Three wind layers at 1,000, 2,000 and 3,000 m.
    static void set_layers(float d0, float d1, float d2)
    {
        const float dir[3] = {d0, d1, d2}, speed[3] = {10.0f, 20.0f, 40.0f};
        for (int i = 0; i < 3; ++i) {
            sim_weather.wind_altitude_msl_m[i] = 1000.0f * (i + 1);
            sim_weather.wind_direction_degt[i] = dir[i];
            sim_weather.wind_speed_kt[i] = speed[i];
            sim_weather.shear_speed_kt[i] = 2.0f * speed[i];
            sim_weather.shear_direction_degt[i] = static_cast<float>(10 * i);
            sim_weather.turbulence[i] = static_cast<float>(i);
        }
    }
};

}  // namespace

TEST_F(Atmosphere, EarthDensityTemperatureAndPressureFollowTheTables)
{
    // Expected values worked out by hand from the table (slug/ft3 every 10,000 ft,
    // linear between) and the lapse of 71.5 degrees to 11,019 m; beside them the
    // U.S. Standard Atmosphere 1976, printed for comparison only.
    const struct { float alt; double rho, t, rho_1976, p_ratio_1976; } points[] = {
        {0.0f, 1.223959, 15.0, 1.22500, 1.0},
        {1000.0f, 1.119062, 8.51121, 1.11170, 0.88700},
        {5000.0f, 0.742972, -17.44396, 0.73640, 0.53341},
        {11000.0f, 0.363522, -56.37671, 0.36480, 0.22337},
    };
    EXPECT_FLOAT_EQ(ATMO_temp_pressure(), 1.0f);
    const float rho0 = ATMO_density_at_alt(0, 0.0f);
    for (const auto& s : points) {
        const float rho = ATMO_density_at_alt(0, s.alt);
        const float t = ATMO_temp_at_alt(s.alt);
        EXPECT_NEAR(rho, s.rho, 2e-5) << s.alt;
        EXPECT_NEAR(t, s.t, 1e-4) << s.alt;
        std::printf("  %6.0f m: density %.5f (1976 %.5f, %+.2f%%)  pressure ratio %.4f (1976 %.4f)\n", s.alt, rho,
                    s.rho_1976, 100.0 * (rho - s.rho_1976) / s.rho_1976, (rho / rho0) * ((t + 273.15f) / 288.15f),
                    s.p_ratio_1976);
    }

    // Beyond the table's ends.
    EXPECT_NEAR(ATMO_temp_at_alt(-500.0f), 18.2444f, 1e-3f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(30000.0f), -56.5f + 54.0f * 4900.0f / 22250.0f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(90000.0f), -92.5f);
    // The stratopause stays at -2.5 from 47,350 m to 53,445 m, then falls 90 degrees to 80,772 m.
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(50000.0f), -2.5f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(53200.0f), -2.5f);
    EXPECT_NEAR(ATMO_temp_at_alt(60000.0f), -2.5f - 90.0f * 6555.0f / 27327.0f, 1e-3f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(20000.0f), -56.5f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(0, 120396.1f), 0.0f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(0, -100.0f), rho0);

    // A warm, low-pressure day: the sea-level ratio and the shifted profile.
    sim_physics.earth_pressure_p = 98000.0f;
    sim_weather.temperature_sealevel_c = 30.0f;
    EXPECT_NEAR(ATMO_temp_pressure(), (98000.0 / 101325.0) / (303.15 / 288.15), 1e-6);
    EXPECT_NEAR(ATMO_temp_at_alt(11019.0f), -41.5f, 1e-4f);
}

// Every point of both density tables, read at its own altitude: Earth in ft
// and slug/ft3 (1 ft = 0.3048 m, 1 slug/ft3 = 514.939 kg/m3), Mars in m and kg/m3.
TEST_F(Atmosphere, DensityAtEveryTablePoint)
{
    const double earth[][2] = {
        {0, 0.0023769},       {10000, 0.001756},     {20000, 0.001267},     {30000, 0.0008907},
        {40000, 0.0005873},   {50000, 0.0003639},    {60000, 0.0002256},    {70000, 0.0001399},
        {80000, 0.00008594},  {90000, 0.00005253},   {100000, 0.00003211},  {110000, 0.00002001},
        {120000, 0.0000127},  {130000, 0.00000819},  {140000, 0.000005364}, {150000, 0.000003564},
        {160000, 0.000002433}, {170000, 0.000001693}, {180000, 0.0000012},  {190000, 8.589e-07},
        {200000, 6.061e-07},  {206000, 5e-07},       {212000, 4e-07},       {221000, 3e-07},
        {232500, 2e-07},      {253000, 1e-07},       {259000, 8e-08},       {268000, 6e-08},
        {280000, 4e-08},      {300000, 2e-08},       {395000, 0}};
    for (const auto& e : earth) {
        const double want = e[1] * 514.939;
        EXPECT_NEAR(ATMO_density_at_alt(0, static_cast<float>(e[0] * 0.3048)), want, want * 1e-4 + 1e-12) << e[0];
    }
    const double mars[][2] = {{-25000, 0.074},     {0, 0.01505},       {5000, 0.009861},   {10000, 0.006319},
                              {15000, 0.004034},   {20000, 0.002588},  {25000, 0.001603},  {30000, 0.0009217},
                              {35000, 0.0005215},  {40000, 0.0002699}, {45000, 0.0001001}, {50000, 0.0000402},
                              {55000, 0}};
    for (const auto& m : mars)
        EXPECT_NEAR(ATMO_density_at_alt(1, static_cast<float>(m[0])), m[1], m[1] * 1e-4 + 1e-12) << m[0];
    // Half way along a segment: 65,000 ft is the mean of the 60,000 and 70,000 ft points.
    EXPECT_NEAR(ATMO_density_at_alt(0, 65000.0f * 0.3048f), 0.5 * (0.0002256 + 0.0001399) * 514.939, 1e-6);
}

TEST_F(Atmosphere, MarsTablesAndOtherPlanets)
{
    sim_graphics_scenery.current_planet = 1;
    sim_physics.earth_pressure_p = 920.0f;
    sim_weather.temperature_sealevel_c = -60.15f;
    EXPECT_NEAR(ATMO_temp_pressure(), 213.15 / 213.0, 1e-5);
    // Worked out by hand from the Mars table (every 5,000 m) and its lapse.
    const struct { float alt; double rho, t; } mars[] = {
        {-30000.0f, 0.074, -60.15},
        {1000.0f, 0.01505 + (0.009861 - 0.01505) * 0.2, -60.15},
        {5000.0f, 0.009861, -60.15},
        {11000.0f, 0.006319 + (0.004034 - 0.006319) * 0.2, -60.15 - 71.0 * 6000.0 / 35000.0},
        {60000.0f, 0.0, -131.15},
    };
    for (const auto& m : mars) {
        EXPECT_NEAR(ATMO_density_at_alt(1, m.alt), m.rho, 1e-7) << m.alt;
        EXPECT_NEAR(ATMO_temp_at_alt(m.alt), m.t, 1e-4) << m.alt;
    }
    EXPECT_NEAR(ATMO_temp_at_alt(22500.0f), -60.15f - 71.0f * 0.5f, 1e-4f);

    sim_graphics_scenery.current_planet = 2;
    EXPECT_FLOAT_EQ(ATMO_temp_pressure(), 1.0f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(1000.0f), 0.0f);
}

TEST_F(Atmosphere, WindBetweenLayersBlendsDirectionsAsPlainNumbers)
{
    set_layers(350.0f, 10.0f, 90.0f);
    const struct { float alt, speed, dir; } cases[] = {
        {500.0f, 10.0f, 350.0f},  {1250.0f, 12.5f, 265.0f}, {1500.0f, 15.0f, 180.0f},  // no wrap at 360
        {1750.0f, 17.5f, 95.0f},  {2000.0f, 20.0f, 10.0f},  {2500.0f, 30.0f, 50.0f},
        {9000.0f, 40.0f, 90.0f},
    };
    float s, d, ss, sd, t;
    for (const auto& c : cases) {
        ATMO_wind_at_alt(c.alt, &s, &d, &ss, &sd, &t);
        EXPECT_FLOAT_EQ(s, c.speed) << c.alt;
        EXPECT_NEAR(d, c.dir, 1e-4f) << c.alt;
    }
    ATMO_wind_at_alt(1500.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(ss, 30.0f);
    EXPECT_FLOAT_EQ(sd, 5.0f);
    EXPECT_FLOAT_EQ(t, 0.5f);

    // Two layers at one altitude: from that altitude on the upper segment
    // applies, so the wind is layer 1's, not the mean of layers 0 and 1.
    sim_weather.wind_altitude_msl_m[0] = 2000.0f;
    ATMO_wind_at_alt(2000.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(s, 20.0f);
    EXPECT_FLOAT_EQ(t, 1.0f);
    ATMO_wind_at_alt(1999.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(s, 10.0f);
    sim_weather.wind_altitude_msl_m[0] = 1000.0f;

    // A layer's direction is passed on as it stands.
    sim_weather.wind_direction_degt[0] = -30.0f;
    ATMO_wind_at_alt(0.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(d, -30.0f);
}

TEST_F(Atmosphere, LayerDriftBlendsTowardsLayerZero)
{
    UTIL_srand(7);
    set_layers(10.0f, 350.0f, 200.0f);
    sim_weather.wind_turbulence_percent = 0.5f;
    ATMO_turbulence(0.0f);   // blend 0 keeps everything
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[1], 350.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[2], 40.0f);
    EXPECT_FLOAT_EQ(sim_weather.turbulence[2], 2.0f);

    // No turbulence setting: layer 0 goes (here half way) to 0 except its
    // direction; the other layers' directions blend towards layer 0's as plain numbers.
    sim_weather.wind_turbulence_percent = 0.0f;
    ATMO_turbulence(0.5f);
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[0], 10.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[0], 5.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[1], 180.0f);   // half way from 350 to 10
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[2], 105.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[2], 20.0f);

    // A full blend at a setting of 4 (m = 8) aims far past every limit: each
    // value ends inside its own range, and the highest draws sit on its top.
    sim_weather.wind_turbulence_percent = 4.0f;
    ATMO_turbulence(1.0f);
    const struct { const float* v; float top; } ranges[] = {
        {sim_weather.shear_direction_degt, 180.0f}, {sim_weather.wind_speed_kt, 100.0f},
        {sim_weather.shear_speed_kt, 50.0f}, {sim_weather.turbulence, 9.0f}};
    for (const auto& r : ranges) {
        float highest = 0.0f;
        for (int i = 0; i < 3; ++i) {
            EXPECT_GE(r.v[i], 0.0f);
            EXPECT_LE(r.v[i], r.top);
            highest = std::max(highest, r.v[i]);
        }
        EXPECT_FLOAT_EQ(highest, r.top);
    }
    for (float d : sim_weather.wind_direction_degt) {   // a plain blend held to 0..360
        EXPECT_GE(d, 0.0f);
        EXPECT_LE(d, 360.0f);
    }
}

// The drift's step scales with the setting to the power 1.5: a setting of
// 0.25 gives 0.125 of each quantity's full span.
TEST_F(Atmosphere, LayerDriftScalesWithTheSettingToThePowerOneAndAHalf)
{
    set_layers(100.0f, 100.0f, 100.0f);
    sim_weather.wind_turbulence_percent = 0.25f;
    UTIL_srand(11);
    float r[5];
    for (float& v : r) v = UTIL_rand_fraction();
    UTIL_srand(11);
    ATMO_turbulence(1.0f);
    const float m = 0.125f;
    EXPECT_NEAR(sim_weather.wind_direction_degt[0], 100.0f + (2.0f * r[0] - 1.0f) * m * 90.0f, 1e-3f);
    EXPECT_NEAR(sim_weather.shear_direction_degt[0], r[1] * m * 150.0f, 1e-4f);
    EXPECT_NEAR(sim_weather.wind_speed_kt[0], r[2] * m * 90.0f, 1e-4f);
    EXPECT_NEAR(sim_weather.shear_speed_kt[0], r[3] * m * 30.0f, 1e-4f);
    EXPECT_NEAR(sim_weather.turbulence[0], r[4] * m * 15.0f, 1e-4f);
}
