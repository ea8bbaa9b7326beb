#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "flightmodel/atmosphere.h"
#include "shell/random.h"
#include "shell/simvars.h"

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

    static void set_layers(const float alt[3], const float dir[3], const float speed[3])
    {
        for (int i = 0; i < 3; ++i) {
            sim_weather.wind_altitude_msl_m[i] = alt[i];
            sim_weather.wind_direction_degt[i] = dir[i];
            sim_weather.wind_speed_kt[i] = speed[i];
            sim_weather.shear_speed_kt[i] = 2.0f * speed[i];
            sim_weather.shear_direction_degt[i] = static_cast<float>(10 * i);
            sim_weather.turbulence[i] = static_cast<float>(i);
        }
    }
};

// The Earth table point by point, worked out in double: ft and slug/ft3.
double earth_density_by_hand(double alt_m)
{
    const double ft[] = {0, 10000, 20000, 30000, 40000};
    const double rho[] = {0.0023769, 0.001756, 0.001267, 0.0008907, 0.0005873};
    const double h = alt_m / 0.3048;
    for (int k = 0; k < 4; ++k)
        if (ft[k] <= h && h <= ft[k + 1])
            return (rho[k] + (rho[k + 1] - rho[k]) * (h - ft[k]) / (ft[k + 1] - ft[k])) * 514.939;
    return -1.0;
}

}  // namespace

TEST_F(Atmosphere, EarthDensityTemperatureAndPressureFollowTheTables)
{
    struct standard_point {
        float alt, rho_1976, t_1976, p_ratio_1976;
    };
    const standard_point points[] = {
        {0.0f, 1.22500f, 15.0f, 1.0f},
        {1000.0f, 1.11170f, 8.5f, 0.88700f},
        {5000.0f, 0.73640f, -17.5f, 0.53341f},
        {11000.0f, 0.36480f, -56.5f, 0.22337f},
    };
    const double t_by_hand[] = {15.0, 15.0 - 71.5 * 1000.0 / 11019.0, 15.0 - 71.5 * 5000.0 / 11019.0,
                                15.0 - 71.5 * 11000.0 / 11019.0};
    const float rho0 = ATMO_density_at_alt(0, 0.0f);
    EXPECT_NEAR(rho0, 1.22396f, 2e-5f);
    EXPECT_NEAR(ATMO_SLUGFT3_TO_KGM3, 514.939, 1e-3);
    EXPECT_FLOAT_EQ(ATMO_temp_pressure(), 1.0f);

    int i = 0;
    for (const standard_point& s : points) {
        const float rho = ATMO_density_at_alt(0, s.alt);
        const float t = ATMO_temp_at_alt(s.alt);
        EXPECT_NEAR(rho, earth_density_by_hand(s.alt), 1e-5 * rho0) << s.alt;
        EXPECT_NEAR(t, t_by_hand[i], 1e-4) << s.alt;
        // The pressure ratio of the ideal gas from the density and temperature ratios.
        const float p_ratio = (rho / rho0) * ((t + 273.15f) / 288.15f);
        std::printf("  %6.0f m: density %.5f (1976 %.5f, %+.2f%%)  temperature %7.2f C (1976 %6.1f)  "
                    "pressure ratio %.4f (1976 %.4f)\n",
                    s.alt, rho, s.rho_1976, 100.0 * (rho - s.rho_1976) / s.rho_1976, t, s.t_1976, p_ratio,
                    s.p_ratio_1976);
        ++i;
    }

    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(11019.0f), -56.5f);
    EXPECT_NEAR(ATMO_temp_at_alt(-500.0f), 18.2444f, 1e-3f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(30000.0f), -56.5f + 54.0f * 4900.0f / 22250.0f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(90000.0f), -92.5f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(0, 120396.1f), 0.0f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(0, -100.0f), rho0);

    // A warm, low-pressure day: the sea-level ratio and the shifted profile.
    sim_physics.earth_pressure_p = 98000.0f;
    sim_weather.temperature_sealevel_c = 30.0f;
    EXPECT_NEAR(ATMO_temp_pressure(), (98000.0 / 101325.0) / (303.15 / 288.15), 1e-6);
    EXPECT_NEAR(ATMO_temp_at_alt(11019.0f), -41.5f, 1e-4f);
}

TEST_F(Atmosphere, MarsTablesAndOtherPlanets)
{
    sim_graphics_scenery.current_planet = 1;
    sim_physics.earth_pressure_p = 920.0f;
    sim_weather.temperature_sealevel_c = -60.15f;
    EXPECT_NEAR(ATMO_temp_pressure(), 213.15 / 213.0, 1e-5);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(1, 0.0f), 0.01505f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(1, 2500.0f), (0.01505f + 0.009861f) * 0.5f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(1, -30000.0f), 0.074f);
    EXPECT_FLOAT_EQ(ATMO_density_at_alt(1, 60000.0f), 0.0f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(1000.0f), -60.15f);
    EXPECT_NEAR(ATMO_temp_at_alt(22500.0f), -60.15f - 71.0f * 0.5f, 1e-4f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(50000.0f), -131.15f);

    // The four heights of the Earth comparison, worked out by hand from the Mars table.
    const struct {
        float alt;
        double rho, t;
    } mars[] = {
        {0.0f, 0.01505, -60.15},
        {1000.0f, 0.01505 + (0.009861 - 0.01505) * 0.2, -60.15},
        {5000.0f, 0.009861, -60.15},
        {11000.0f, 0.006319 + (0.004034 - 0.006319) * 0.2, -60.15 - 71.0 * 6000.0 / 35000.0},
    };
    const float rho0 = ATMO_density_at_alt(1, 0.0f);
    for (const auto& m : mars) {
        const float rho = ATMO_density_at_alt(1, m.alt);
        const float t = ATMO_temp_at_alt(m.alt);
        EXPECT_NEAR(rho, m.rho, 1e-7) << m.alt;
        EXPECT_NEAR(t, m.t, 1e-4) << m.alt;
        std::printf("  Mars %6.0f m: density %.6f  temperature %7.2f C  pressure ratio %.4f\n", m.alt, rho, t,
                    (rho / rho0) * ((t + 273.15f) / 213.0f));
    }

    sim_graphics_scenery.current_planet = 2;
    EXPECT_FLOAT_EQ(ATMO_temp_pressure(), 1.0f);
    EXPECT_FLOAT_EQ(ATMO_temp_at_alt(1000.0f), 0.0f);
}

TEST_F(Atmosphere, WindBetweenLayersTakesTheShorterArcAcrossNorth)
{
    const float alt[3] = {1000.0f, 2000.0f, 3000.0f};
    const float dir[3] = {350.0f, 10.0f, 90.0f};
    const float speed[3] = {10.0f, 20.0f, 40.0f};
    set_layers(alt, dir, speed);
    float s, d, ss, sd, t;

    ATMO_wind_at_alt(500.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(s, 10.0f);
    EXPECT_FLOAT_EQ(d, 350.0f);

    ATMO_wind_at_alt(1500.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(s, 15.0f);
    EXPECT_NEAR(std::fmod(d, 360.0f), 0.0f, 1e-4f);   // through north, not through 180
    EXPECT_FLOAT_EQ(ss, 30.0f);
    EXPECT_FLOAT_EQ(sd, 5.0f);
    EXPECT_FLOAT_EQ(t, 0.5f);

    ATMO_wind_at_alt(1250.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(d, 355.0f);
    ATMO_wind_at_alt(1750.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(d, 5.0f);

    ATMO_wind_at_alt(2000.0f, &s, &d, &ss, &sd, &t);   // exactly at a1: layer 1's values
    EXPECT_FLOAT_EQ(s, 20.0f);
    EXPECT_FLOAT_EQ(d, 10.0f);
    ATMO_wind_at_alt(2500.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(d, 50.0f);
    ATMO_wind_at_alt(9000.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(s, 40.0f);
    EXPECT_FLOAT_EQ(d, 90.0f);

    // Directions given outside the compass come back on it.
    sim_weather.wind_direction_degt[0] = -30.0f;
    ATMO_wind_at_alt(0.0f, &s, &d, &ss, &sd, &t);
    EXPECT_FLOAT_EQ(d, 330.0f);
}

TEST_F(Atmosphere, LayerDrift)
{
    const float alt[3] = {1000.0f, 2000.0f, 3000.0f};
    const float dir[3] = {10.0f, 350.0f, 200.0f};
    const float speed[3] = {10.0f, 20.0f, 40.0f};
    set_layers(alt, dir, speed);
    const sim_weather_block start = sim_weather;

    UTIL_srand(7);
    sim_weather.wind_turbulence_percent = 0.5f;
    ATMO_turbulence(0.0f);   // blend 0 keeps everything
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[i], start.wind_direction_degt[i]);
        EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[i], start.wind_speed_kt[i]);
        EXPECT_FLOAT_EQ(sim_weather.turbulence[i], start.turbulence[i]);
    }

    // No turbulence setting: layer 0 goes to 0 except its direction; the
    // other layers turn towards layer 0 the shorter way round.
    sim_weather.wind_turbulence_percent = 0.0f;
    ATMO_turbulence(1.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[0], 10.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[0], 0.0f);
    EXPECT_FLOAT_EQ(sim_weather.shear_speed_kt[0], 0.0f);
    EXPECT_FLOAT_EQ(sim_weather.turbulence[0], 0.0f);
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[1], 10.0f);

    set_layers(alt, dir, speed);
    ATMO_turbulence(0.5f);
    EXPECT_NEAR(std::fmod(sim_weather.wind_direction_degt[1], 360.0f), 0.0f, 1e-4f);   // 350 -> 0, not 180
    EXPECT_FLOAT_EQ(sim_weather.wind_direction_degt[2], 285.0f);   // 200 -> 10 the short way: through 360
    EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[2], 20.0f);
}
