// Weather at the user's plane: real weather from the reports, the wind the
// plane flies in, precipitation, storms and lightning.
#include <string>

#include "core/folders.h"
#include "core/random.h"
#include "flightmodel/systems/weather.h"
#include "tests/flightmodel/systems_fixture.h"

namespace {

constexpr int SOUND_THUNDER = 21;

class SystemsWeather : public SystemsState {
protected:
    void SetUp() override
    {
        SystemsState::SetUp();
        saved_program_folder_ = program_folder;
        FOLDERS_init_from((folder_.prefix() + "orvell").c_str());
        airport_id_index.clear();
        airport_id_index[NAV_id_key("KSBD")] = add_airport("KSBD", 34.0f, -117.0f, 90.0f, 3000.0f, 300.0f);
        place(34.0f, -117.0f, 1000.0f);
        flt[0].y_agl = 700.0f;
        sim_operation_prefs_realweather.check_real_weather_time_sec = 600.0f;
        sim_operation_prefs_realweather.real_weather_max_vis_nm = 25.0f;
    }
    void TearDown() override
    {
        airport_id_index.clear();
        FOLDERS_init_from((saved_program_folder_ + "orvell").c_str());
        // The real weather these tests switch on, and what it read, do not
        // blow through the flights of the tests after them.
        sim_weather.use_real_weather_bool = 0;
        SystemsState::TearDown();
    }

    temp_folder folder_;
    std::string saved_program_folder_;
};

}  // namespace

TEST_F(SystemsWeather, AThunderstormReportRaisesMicroburstsAndWetsTheRunway)
{
    folder_.write("metar.rwx", "METAR KSBD 061853Z 27015G25KT 10SM -TSRA OVC080 A2992 15/10\n");
    sim_weather.use_real_weather_bool = 1;
    sim_weather.wind_turbulence_percent = 0.4f;
    frames(1);
    const sim_weather_block& w = sim_weather;
    EXPECT_EQ(w.has_real_weather_bool, 1);
    EXPECT_FLOAT_EQ(w.microburst_probability, 0.75f);
    EXPECT_EQ(w.runway_friction, 2);
    EXPECT_FLOAT_EQ(weather_stage.weather_target.thunderstorm_percent, 0.75f);
    // The layers built up from the reported surface wind.
    EXPECT_EQ(w.wind_turbulence_percent, 0.0f);
    EXPECT_FLOAT_EQ(w.wind_speed_kt[0], 15.0f);
    EXPECT_FLOAT_EQ(w.turbulence[0], 3.0f);
    EXPECT_FLOAT_EQ(w.wind_speed_kt[1], 30.0f);
    EXPECT_FLOAT_EQ(w.wind_speed_kt[2], 60.0f);
    EXPECT_FLOAT_EQ(w.wind_altitude_msl_m[2], terrain_height_m + 12000.0f);
    // Gusting 10 kt above the wind: layer 0 shears 10 kt from 20 degrees, layer 1
    // half of it from twice its own speed with a tenth of it as turbulence, layer 2 none.
    // Every layer blows from the reported direction (turned to true north).
    const struct { float shear_speed, shear_direction, turbulence, altitude; } layers[] = {
        {10.0f, 20.0f, 3.0f, 4000.0f},
        {5.0f, 10.0f, 0.5f, 8000.0f},
        {0.0f, 0.0f, 0.0f, 12000.0f},
    };
    for (int k = 0; k < WIND_LAYERS; ++k) {
        EXPECT_FLOAT_EQ(w.wind_direction_degt[k], w.wind_direction_degt[0]) << k;
        EXPECT_FLOAT_EQ(w.shear_speed_kt[k], layers[k].shear_speed) << k;
        EXPECT_FLOAT_EQ(w.shear_direction_degt[k], layers[k].shear_direction) << k;
        EXPECT_FLOAT_EQ(w.turbulence[k], layers[k].turbulence) << k;
        EXPECT_FLOAT_EQ(w.wind_altitude_msl_m[k], terrain_height_m + layers[k].altitude) << k;
    }
    EXPECT_NEAR(sim_physics.earth_pressure_p, 29.92f * 3386.53f, 1.0f);

    // The next read waits for the check interval (or another whole degree).
    folder_.write("metar.rwx", "METAR KSBD 061853Z 27015KT 10SM RA OVC080 A2992 15/10\n");
    frames(20);
    EXPECT_FLOAT_EQ(w.microburst_probability, 0.75f);
}

// A thunderstorm report sets a thunderstorm target of 0.75; each frame the
// weather moves 0.05 x 0.005 of the way there: after 200 frames from 0.25 it
// stands at 0.75 - 0.5 x (1 - 0.00025)^200 = 0.75 - 0.5 x 0.951223 = 0.27439.
// Without reports, a change rate of -2 (worse) over 100 frames of 0.05 s makes
// d = -0.1 a frame: the tops of layer 0 grow by 1.0001^100 (3000 -> 3030.15),
// its base and the visibility shrink by 0.9999^100 (1000 -> 990.05, 10000 ->
// 9900.5), rain rises 100 x 0.0001 (0.2 -> 0.21) and the thunderstorms 100 x
// 0.00005 (0.2 -> 0.205).
TEST_F(SystemsWeather, ReportsAreEasedInAndTheWeatherDriftsByItsRateOfChange)
{
    sim_weather_block& w = sim_weather;
    folder_.write("metar.rwx", "METAR KSBD 061853Z 27015G25KT 10SM -TSRA OVC080 A2992 15/10\n");
    w.use_real_weather_bool = 1;
    w.thunderstorm_percent = 0.25f;
    frames(200);
    ASSERT_FLOAT_EQ(weather_stage.weather_target.thunderstorm_percent, 0.75f);
    EXPECT_NEAR(w.thunderstorm_percent, 0.27439f, 2e-4f);

    w.use_real_weather_bool = w.has_real_weather_bool = 0;
    w.rate_change_percent = -2.0f;
    w.cloud_tops_msl_m[0] = 3000.0f, w.cloud_base_msl_m[0] = 1000.0f, w.visibility_reported_m = 10000.0f;
    w.rain_percent = w.thunderstorm_percent = w.wind_turbulence_percent = w.microburst_probability = 0.2f;
    frames(100);
    EXPECT_NEAR(w.cloud_tops_msl_m[0], 3030.15f, 0.05f);
    EXPECT_NEAR(w.cloud_base_msl_m[0], 990.05f, 0.02f);
    EXPECT_NEAR(w.visibility_reported_m, 9900.5f, 0.2f);
    EXPECT_NEAR(w.rain_percent, 0.21f, 1e-4f);
    EXPECT_NEAR(w.thunderstorm_percent, 0.205f, 1e-4f);
    EXPECT_NEAR(w.microburst_probability, 0.205f, 1e-4f);
}

TEST_F(SystemsWeather, NoReportLeavesTheWeatherAsItWas)
{
    sim_weather.use_real_weather_bool = 1;
    sim_weather.visibility_reported_m = 9000.0f;
    sim_weather.rain_percent = 0.5f;
    sim_weather.wind_speed_kt[0] = 12.0f;
    frames(40);
    EXPECT_EQ(sim_weather.has_real_weather_bool, 0);
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 9000.0f);
    EXPECT_FLOAT_EQ(sim_weather.rain_percent, 0.5f);
    EXPECT_FLOAT_EQ(sim_weather.wind_speed_kt[0], 12.0f);
}

TEST_F(SystemsWeather, TheWindAtThePlaneKeepsItsOwnWordsInMetresPerSecond)
{
    for (int k = 0; k < WIND_LAYERS; ++k) {
        sim_weather.wind_altitude_msl_m[k] = 1000.0f * static_cast<float>(k + 1);
        sim_weather.wind_direction_degt[k] = 270.0f;
        sim_weather.wind_speed_kt[k] = 20.0f;
    }
    frames(400);   // 20 s of frames: the smoothed wind has caught up with the samples
    const float ms = 20.0f * 0.514444f;
    EXPECT_NEAR(wind_vector[0], ms, 0.01f);   // from the west, blowing east
    EXPECT_NEAR(wind_vector[2], 0.0f, 0.01f);
    EXPECT_NEAR(sim_weather.wind_direction_at_plane_degt, 270.0f, 0.1f);
    EXPECT_NEAR(sim_weather.wind_speed_at_plane_ms, ms, 0.01f);
    // The layers are what the wind is made from: they do not drain into it.
    EXPECT_EQ(sim_weather.wind_speed_kt[0], 20.0f);
    EXPECT_EQ(sim_weather.wind_direction_degt[0], 270.0f);
}

TEST_F(SystemsWeather, PrecipitationSplitsByTemperatureAndStormsTurnItToHail)
{
    sim_weather_block& w = sim_weather;
    w.cloud_type[0] = 4;
    w.cloud_base_msl_m[0] = 2000.0f;
    w.cloud_tops_msl_m[0] = 3000.0f;
    w.rain_percent = 0.8f;
    flt[0].elevation = 1000.0f;
    sim_graphics_view.view_elevation_m_msl = 1000.0f;
    w.temperature_ambient_c = 0.0f;
    flt[0].true_airspeed = 100.0f;
    WEATHER_precipitation();
    EXPECT_FLOAT_EQ(weather_stage.windshield_impact_rate, 1.6f);   // 0.8 of full precipitation over 100 m a second
    EXPECT_FLOAT_EQ(w.precip_rain, 0.4f);
    EXPECT_FLOAT_EQ(w.precip_snow, 0.4f);
    EXPECT_EQ(w.precip_hail, 0.0f);
    EXPECT_EQ(weather_stage.storm_level, 0.0f);   // below the cloud: no storm at the plane

    // In the middle of a full storm cloud the precipitation is hail.
    std::fill(std::begin(storm_grid), std::end(storm_grid), 1.0f);
    w.thunderstorm_percent = 1.0f;
    w.temperature_ambient_c = 5.0f;
    flt[0].elevation = 2500.0f;
    sim_graphics_view.view_elevation_m_msl = 2500.0f;
    WEATHER_precipitation();
    EXPECT_FLOAT_EQ(weather_stage.storm_level, 1.0f);
    EXPECT_EQ(w.precip_rain, 0.0f);
    EXPECT_EQ(w.precip_snow, 0.0f);
    EXPECT_NEAR(w.precip_hail, 0.8f * (500.0f / 304.8f > 1.0f ? 1.0f : 500.0f / 304.8f), 1e-6f);
    EXPECT_FLOAT_EQ(weather_stage.windshield_impact_rate, 1.6f);   // hail strikes as hard as the rain it replaced
}

TEST_F(SystemsWeather, ThunderByDistanceOfTheStrike)
{
    std::fill(std::begin(storm_grid), std::end(storm_grid), 1.0f);
    sim_weather.thunderstorm_percent = 0.5f;
    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_base_msl_m[0] = 1000.0f;
    sim_weather.cloud_tops_msl_m[0] = 3000.0f;
    frame_clock = 100.0f;
    WEATHER_lightning_strike(4.0f, 0.0f);
    ASSERT_EQ(sounds.count(SOUND_THUNDER), 1);
    EXPECT_EQ(sounds.plays.back().a, 1.0f);
    EXPECT_EQ(sounds.plays.back().b, 1.0f);
    EXPECT_GE(weather_stage.lightning_flash_end, 100.4f);
    // The first bolt starts mid-cloud 4 nm north of the plane and comes down.
    EXPECT_FLOAT_EQ(weather_stage.lightning_bolts[0][0][1], 2000.0f);
    EXPECT_NEAR(weather_stage.lightning_bolts[0][0][2], flt[0].local_z - 4.0f * 1852.0f, 0.5f);
    EXPECT_LT(weather_stage.lightning_bolts[0][19][1], 2000.0f);
    EXPECT_FLOAT_EQ(weather_stage.lightning_bolts[1][0][1], weather_stage.lightning_bolts[0][13][1]);

    sounds.clear();
    WEATHER_lightning_strike(25.0f, 1.0f);
    EXPECT_EQ(sounds.count(SOUND_THUNDER), 0);
    EXPECT_FLOAT_EQ(weather_stage.lightning_distance, 25.0f);

    // Where the storm is weak there is no strike at all.
    std::fill(std::begin(storm_grid), std::end(storm_grid), 0.3f);
    weather_stage.lightning_flash_end = 0.0f;
    WEATHER_lightning_strike(4.0f, 0.0f);
    EXPECT_EQ(sounds.count(SOUND_THUNDER), 0);
    EXPECT_EQ(weather_stage.lightning_flash_end, 0.0f);
}

// The three microburst shapes, 20 m/s outflow and 10 m/s downdraft, over a
// burst from 100 s to 120 s, the plane heading east: kind 1 blows out (a head
// wind turning to a tail wind, here its peak from the east), kind 2 the other
// way, kind 3 a full swing with the downdraft (cos 2 pi q - 1) / 2.
// Below 300 m a microburst starts when rnd() x (300 - 240 p) seconds lies
// within the frame: with p = 1, when 60 rnd() is at most dt.
TEST_F(SystemsWeather, AMicroburstStartsWhenItsDrawFallsWithinTheFrame)
{
    sim_weather.microburst_probability = 1.0f;
    flt[0].y_agl = 100.0f;
    UTIL_srand(5);
    const float wait = 60.0f * UTIL_rand_fraction();
    for (const auto& [dt, starts] : {std::pair{wait * 1.01f + 1e-4f, true}, {wait * 0.99f - 1e-4f, false}}) {
        weather_stage.microburst_kind = 0;
        sim_operation_misc.frame_rate_period = dt;
        UTIL_srand(5);
        WEATHER_microburst();
        EXPECT_EQ(weather_stage.microburst_kind != 0, starts) << wait;
    }
    weather_stage.microburst_kind = 0;
}

TEST_F(SystemsWeather, MicroburstShapesByKind)
{
    flt[0].psi = 90.0f;
    sim_weather.microburst_probability = 0.0f;
    const struct { int kind; float now, x, y; } cases[] = {
        {1, 110.0f, -20.0f, 0.0f}, {2, 110.0f, 20.0f, 0.0f}, {3, 105.0f, -20.0f, -5.0f}, {3, 110.0f, 0.0f, -10.0f},
    };
    for (const auto& c : cases) {
        weather_stage.microburst_kind = c.kind;
        weather_stage.microburst_start = 100.0f, weather_stage.microburst_end = 120.0f;
        weather_stage.microburst_outflow = 20.0f, weather_stage.microburst_downdraft = 10.0f;
        sim_time.total_running_time_sec = c.now;
        WEATHER_microburst();
        EXPECT_NEAR(weather_stage.microburst_wind[0], c.x, 1e-3f) << c.kind << " " << c.now;
        EXPECT_NEAR(weather_stage.microburst_wind[1], c.y, 1e-3f) << c.kind << " " << c.now;
        EXPECT_NEAR(weather_stage.microburst_wind[2], 0.0f, 1e-3f) << c.kind << " " << c.now;
        EXPECT_EQ(weather_stage.microburst_active, 1);
    }
    weather_stage.microburst_kind = 0;
}

// Inside a full storm cloud from 2,000 to 3,000 m the storm at the plane is
// the in-cloud factor: below the middle sqrt(0.5 + 0.5 (h - 2000) / 152.4)
// at least sqrt(0.5), above it sqrt((3000 - h) / 152.4) at most 1.
TEST_F(SystemsWeather, StormLevelRisesIntoTheCloudAndFadesNearItsTops)
{
    sim_weather_block& w = sim_weather;
    w.cloud_type[0] = 4;
    w.cloud_base_msl_m[0] = 2000.0f;
    w.cloud_tops_msl_m[0] = 3000.0f;
    w.thunderstorm_percent = 1.0f;
    std::fill(std::begin(storm_grid), std::end(storm_grid), 1.0f);
    const struct { float h, level; } cases[] = {
        {2000.0f, 0.70711f}, {2050.0f, 0.81489f}, {2200.0f, 1.0f}, {2900.0f, 0.81004f}, {3000.0f, 0.0f},
    };
    for (const auto& c : cases) {
        flt[0].elevation = c.h;
        sim_graphics_view.view_elevation_m_msl = c.h;
        WEATHER_precipitation();
        EXPECT_NEAR(weather_stage.storm_level, c.level, 1e-4f) << c.h;
    }
    std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
}
