// The date, time and weather screens driven frame by frame on the offscreen
// context: the zulu time from the local time and longitude, the date and
// visibility read-outs, the storm rule, cloud layers, wind layers, the
// runway condition from rain, waves and a new storm pattern.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "core/app_mode.h"
#include "core/random.h"
#include "core/screen.h"
#include "core/hooks.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "core/simvars/weather.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "screens/weather_text.h"
#include "world/terrain_grid.h"
#include "tests/screens/screen_fixture.h"

namespace {

class DateWeather : public ScreenTest {
protected:
    void arrange() override
    {
        flt[0] = flt_struct{};
        text(215, "L%04d");
        text(216, "Z%04d");
        text(721, "DEC");
        text(217, "NMFOG");
        text(101, "Clear-Thin-Scattered-Broken-Storms");
        text(184, "Dry-Wet-Puddles");
        text(185, "Dry-Snow-Ice");
    }
};

}  // namespace

TEST_F(DateWeather, ZuluTimeFollowsTheLocalTimeAndTheLongitudesZone)
{
    sim_time.local_time_sec = 23.0f * 3600.0f + 30.0f * 60.0f;
    flt[0].longitude = 170.0f;
    SETUP_date_time();   // a frame shows the zulu time of the frame before
    const auto lines = printed(SETUP_date_time);
    EXPECT_EQ(sim_time.zulu_time_sec, 45000.0f);
    EXPECT_TRUE(shows(lines, "L2330"));
    EXPECT_TRUE(shows(lines, "Z1230"));

    // Half a zone rounds away from zero; the correction adds whole hours.
    EXPECT_EQ(SETUP_zulu_time(36000.0f, 0.0f, 7.5f), 32400.0f);
    EXPECT_EQ(SETUP_zulu_time(36000.0f, 0.0f, -7.5f), 39600.0f);
    EXPECT_EQ(SETUP_zulu_time(36000.0f, 2.0f, 0.0f), 43200.0f);
    EXPECT_EQ(SETUP_zulu_time(3600.0f, 0.0f, 30.0f), 82800.0f);   // wraps below midnight
    // The correction field takes -24 to 24 hours.
    for (const auto& [typed, kept] : {std::pair{-20.0f, -20.0f}, {-30.0f, -24.0f}, {30.0f, 24.0f}}) {
        screen_settings.zone_offset_hours = typed;
        SETUP_date_time();
        EXPECT_EQ(screen_settings.zone_offset_hours, kept) << typed;
    }
    screen_settings.zone_offset_hours = 0.0f;
    // Values from outside: a huge time ends inside the day, one that is not a number gives 0.
    const float huge = SETUP_zulu_time(3.0e38f, 0.0f, 0.0f);
    EXPECT_TRUE(huge >= 0.0f && huge <= 86400.0f);
    EXPECT_EQ(SETUP_zulu_time(std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f), 0.0f);
    sim_time.local_time_sec = std::numeric_limits<float>::infinity();
    SETUP_date_time();
    EXPECT_TRUE(sim_time.zulu_time_sec >= 0.0f && sim_time.zulu_time_sec <= 86400.0f);
}

TEST_F(DateWeather, TheDateAndVisibilityReadOuts)
{
    sim_time.local_date_days = 359;
    EXPECT_TRUE(shows(printed(SETUP_date_time), "DEC30"));
    EXPECT_EQ(sim_time.local_date_days, 359);
    // The time slider (x 36, 500 long) spans the day, the date slider the 360 days 0..359.
    drag(SETUP_date_time, 36.0f + 0.75f * 500.0f, 200.0f);
    EXPECT_NEAR(sim_time.local_time_sec, 64800.0f, 200.0f);
    drag(SETUP_date_time, 36.0f + 0.5f * 500.0f, 80.0f);
    EXPECT_NEAR(sim_time.local_date_days, 179, 1);
    sim_time.local_date_days = 5000;   // from a peer: shown as day 0, never read past the month texts
    text(710, "JAN");
    EXPECT_TRUE(shows(printed(SETUP_date_time), "JAN1"));

    char vis[TEXT_SIZE];
    SETUP_visibility_text(0.45f, vis);
    EXPECT_STREQ(vis, ".4NMFOG");
    text(224, " CLEAR");
    SETUP_visibility_text(12.34f, vis);
    EXPECT_STREQ(vis, "12.3 CLEAR");
    // The word of each visibility band, the band's lower edge included.
    const char* words[8] = {" A", " B", " C", " D", " E", " F", " G", " H"};
    for (int k = 0; k < 8; ++k) text(217 + k, words[k]);
    for (auto [nm, shown] : {std::pair{0.45f, ".4 A"}, {0.5f, ".5 B"}, {1.0f, "1.0 C"}, {2.9f, "2.9 D"}, {3.0f, "3.0 E"},
                             {4.9f, "4.9 E"}, {5.0f, "5.0 F"}, {7.0f, "7.0 G"}, {9.9f, "9.9 G"}, {10.0f, "10.0 H"}}) {
        SETUP_visibility_text(nm, vis);
        EXPECT_STREQ(vis, shown) << nm;
    }
    // The five words of rain, storms and turbulence (from 225; microbursts from
    // 230) step at 0.8, 0.6, 0.4 and 0.2, each edge in the lower word; the rate
    // of change at 0.5, 0.1, -0.1 and -0.5.
    for (int k = 225; k <= 239; ++k) text(k, std::to_string(k).c_str());
    for (auto [share, entry] : {std::pair{0.9f, 225}, {0.8f, 226}, {0.61f, 226}, {0.6f, 227}, {0.41f, 227}, {0.4f, 228},
                                {0.21f, 228}, {0.2f, 229}, {0.0f, 229}}) {
        SETUP_weather_word(share, 225, vis);
        EXPECT_EQ(std::string(vis), std::to_string(entry)) << share;
        SETUP_weather_word(share, 230, vis);
        EXPECT_EQ(std::string(vis), std::to_string(entry + 5)) << share;
    }
    for (auto [rate, entry] : {std::pair{0.6f, 235}, {0.5f, 236}, {0.11f, 236}, {0.1f, 237}, {-0.09f, 237},
                               {-0.1f, 238}, {-0.49f, 238}, {-0.5f, 239}, {-1.0f, 239}}) {
        SETUP_change_word(rate, vis);
        EXPECT_EQ(std::string(vis), std::to_string(entry)) << rate;
    }

    text(217, "NMFOG");
    SETUP_visibility_text(std::numeric_limits<float>::quiet_NaN(), vis);
    EXPECT_STREQ(vis, ".0NMFOG");

    // A format that does not hold exactly one integer conversion is drawn plain.
    text(215, "L%s%n");
    sim_time.local_time_sec = 3600.0f;
    EXPECT_TRUE(shows(printed(SETUP_date_time), "L%s%n"));
}

TEST_F(DateWeather, RainAndThunderstormsNeedAStormLayer)
{
    weather_screen.weather_tab = 0;
    sim_weather.cloud_type[0] = 4;
    sim_weather.rain_percent = 0.3f;
    // The thunderstorm slider (x 135, 156 long, 0..1) dragged to 0.7 raises rain with it.
    drag(SETUP_weather, 135.0f + 0.7f * 156.0f, 190.0f);
    EXPECT_NEAR(sim_weather.thunderstorm_percent, 0.7f, 0.01f);
    EXPECT_EQ(sim_weather.rain_percent, sim_weather.thunderstorm_percent);
    // Rain dragged below the storms lowers them.
    drag(SETUP_weather, 135.0f + 0.2f * 156.0f, 240.0f);
    EXPECT_NEAR(sim_weather.rain_percent, 0.2f, 0.01f);
    EXPECT_EQ(sim_weather.thunderstorm_percent, sim_weather.rain_percent);

    // A storm layer in the second place keeps them too.
    sim_weather.cloud_type[0] = 1;
    sim_weather.cloud_type[1] = 4;
    SETUP_weather();
    EXPECT_NEAR(sim_weather.rain_percent, 0.2f, 0.01f);
    sim_weather.cloud_type[1] = 0;
    SETUP_weather();
    EXPECT_EQ(sim_weather.rain_percent, 0.0f);
    EXPECT_EQ(sim_weather.thunderstorm_percent, 0.0f);
}

TEST_F(DateWeather, CloudLayersKeepTheirThickness)
{
    // A thin (type 1) layer's base follows its tops: the thousands digit of the tops stepped up.
    sim_weather.cloud_type[0] = 1;
    sim_weather.cloud_tops_msl_m[0] = sim_weather.cloud_base_msl_m[0] = 5000.0f * 0.3048f;
    click(SETUP_weather, 125.0f + 15.0f, 560.0f);
    EXPECT_NEAR(sim_weather.cloud_tops_msl_m[0], 6000.0f * 0.3048f, 0.01f);
    EXPECT_NEAR(sim_weather.cloud_base_msl_m[0], 6000.0f * 0.3048f, 0.01f);

    // Another type keeps exactly 1000 ft; a storm layer only grows when it would get thinner.
    sim_weather.cloud_type[1] = 2;
    sim_weather.cloud_tops_msl_m[1] = 9000.0f * 0.3048f;
    sim_weather.cloud_base_msl_m[1] = 3000.0f * 0.3048f;
    click(SETUP_weather, 125.0f + 15.0f, 670.0f);   // tops 10,000 ft
    EXPECT_NEAR(sim_weather.cloud_base_msl_m[1], 9000.0f * 0.3048f, 0.01f);
    sim_weather.cloud_type[1] = 4;
    click(SETUP_weather, 125.0f + 15.0f, 670.0f);   // tops 11,000 ft, base stays
    EXPECT_NEAR(sim_weather.cloud_tops_msl_m[1], 11000.0f * 0.3048f, 0.01f);
    EXPECT_NEAR(sim_weather.cloud_base_msl_m[1], 9000.0f * 0.3048f, 0.01f);

    // Raising the base of a layer that is not a storm brings its tops down to 1000 ft above it.
    sim_weather.cloud_type[0] = 2;
    sim_weather.cloud_tops_msl_m[0] = 9000.0f * 0.3048f;
    sim_weather.cloud_base_msl_m[0] = 3000.0f * 0.3048f;
    click(SETUP_weather, 125.0f + 15.0f, 510.0f);   // base 4,000 ft
    EXPECT_NEAR(sim_weather.cloud_base_msl_m[0], 4000.0f * 0.3048f, 0.01f);
    EXPECT_NEAR(sim_weather.cloud_tops_msl_m[0], 5000.0f * 0.3048f, 0.01f);
}

TEST_F(DateWeather, WindLayersStackAndRainSetsTheRunway)
{
    const float feet[3] = {2000.0f, 2500.0f, 2600.0f};
    for (int i = 0; i < 3; ++i) sim_weather.wind_altitude_msl_m[i] = feet[i] * 0.3048f;
    sim_weather.cloud_type[0] = 4;
    sim_weather.rain_percent = 0.3f;
    sim_weather.real_weather_request = 1;
    SETUP_weather();
    EXPECT_EQ(sim_weather.real_weather_request, 0);   // the weather tab clears the real-weather request
    EXPECT_NEAR(sim_weather.wind_altitude_msl_m[0], 609.6f, 0.01f);
    EXPECT_NEAR(sim_weather.wind_altitude_msl_m[1], 914.4f, 0.01f);
    EXPECT_NEAR(sim_weather.wind_altitude_msl_m[2], 1219.2f, 0.01f);

    // The turbulence knob (x 135, 156 long) held where it stands leaves the
    // layers' winds; moved to none, it draws them halfway toward calm.
    sim_weather.wind_turbulence_percent = 0.5f;
    sim_weather.wind_speed_kt[1] = 20.0f;
    drag(SETUP_weather, 135.0f + 0.5f * 156.0f, 140.0f);
    EXPECT_EQ(sim_weather.wind_speed_kt[1], 20.0f);
    drag(SETUP_weather, 135.0f, 140.0f);
    EXPECT_EQ(sim_weather.wind_speed_kt[1], 10.0f);

    struct step {
        float rain;
        int before, after;
    };
    const step steps[] = {{0.5f, 0, 1}, {0.9f, 1, 2}, {0.5f, 2, 1}, {0.3f, 1, 0}, {0.35f, 2, 2}, {0.75f, 1, 1}};
    for (const step& s : steps) {
        sim_weather.rain_percent = s.rain;
        sim_weather.runway_friction = s.before;
        SETUP_weather();
        EXPECT_EQ(sim_weather.runway_friction, s.after) << s.rain;
    }

    // The real-weather fields hold 60..900 seconds and 5..25 nautical miles.
    sim_operation_prefs_realweather_block& rw = sim_operation_prefs_realweather;
    for (const auto& [secs, miles, held_secs, held_miles] :
         {std::tuple{10.0f, 2.0f, 60.0f, 5.0f}, {1000.0f, 30.0f, 900.0f, 25.0f}}) {
        rw.check_real_weather_time_sec = secs, rw.real_weather_max_vis_nm = miles;
        SETUP_weather();
        EXPECT_EQ(rw.check_real_weather_time_sec, held_secs);
        EXPECT_EQ(rw.real_weather_max_vis_nm, held_miles);
    }

    // A lowest layer of 500 ft is raised to 1000 ft, the others follow.
    sim_weather.wind_altitude_msl_m[0] = 500.0f * 0.3048f;
    SETUP_weather();
    EXPECT_NEAR(sim_weather.wind_altitude_msl_m[0], 304.8f, 0.01f);

    // The condition list reads wet above 0 degrees C, frozen at 0 and below.
    sim_weather.runway_friction = 1;
    for (const auto& [celsius, shown] : {std::pair{0.5f, "Wet"}, {0.0f, "Snow"}}) {
        sim_weather.temperature_sealevel_c = celsius;
        EXPECT_TRUE(shows(printed(SETUP_weather, 101), shown)) << celsius;
    }
}

TEST_F(DateWeather, WavesAndANewStormPattern)
{
    weather_screen.weather_tab = 1;
    sim_weather.wave_amplitude = 1.0f;
    SETUP_weather();
    EXPECT_NEAR(sim_weather.wave_length, 12.0f, 1e-4f);
    EXPECT_NEAR(sim_weather.wave_speed, 4.33f, 0.01f);

    weather_screen.weather_tab = 0;
    for (int planet : {0, 1}) {
        sim_graphics_scenery.current_planet = planet;
        std::fill(std::begin(storm_grid), std::end(storm_grid), -1.0f);
        UTIL_srand(1);
        click(SETUP_weather, 824.0f, 28.0f);
        EXPECT_EQ(weather_seed, 514);
        // Every block of the area (3 x 2 on the Earth, 6 x 5 on Mars) is built again.
        EXPECT_EQ(std::count(std::begin(storm_grid), std::end(storm_grid), -1.0f), 0) << planet;
    }
    // On Mars the weather tab keeps clouds, rain and real weather off.
    sim_weather.cloud_type[0] = 4;
    sim_weather.rain_percent = 0.5f;
    sim_weather.use_real_weather_bool = 1;
    SETUP_weather();
    EXPECT_EQ(sim_weather.cloud_type[0], 0);
    EXPECT_EQ(sim_weather.rain_percent, 0.0f);
    EXPECT_EQ(sim_weather.use_real_weather_bool, 0);
}

namespace {
std::string mode_reason;
}  // namespace

// The airport list's two buttons leave for the flying view, the left one
// (x 43) as a cancel, the right one (x 247) as the choice that places the
// aircraft at the airport.
TEST_F(DateWeather, TheAirportListsButtonsCancelOrSelect)
{
    const hook_override set_mode(core_hooks.CORE_set_mode,
                                 [](int32_t mode, const char* reason) { app_mode = mode, mode_reason = reason; });
    for (const auto& [x, reason] : {std::pair{43.0f, "cancel airport"}, {247.0f, "select airport"}}) {
        app_mode = MODE_AIRPORT_LIST;
        mode_reason.clear();
        click(SETUP_airport_select, x, 28.0f);
        EXPECT_EQ(app_mode, MODE_FLYING) << x;
        EXPECT_EQ(mode_reason, reason) << x;
    }
}

// Random weather draws its numbers in a fixed order: storminess, the rate of
// change, rain, storms, microbursts and turbulence, fifteen draws for the
// wind layers, four cloud heights, two cloud types, the visibility, the
// temperature and the pressure; then the screen closes.
TEST_F(DateWeather, RandomWeatherDrawsInItsOrder)
{
    sim_graphics_scenery.current_planet = 0;
    terrain_elevation_low = 0.0f;
    UTIL_srand(4);   // a stormy draw: the first cloud type is held at 4
    float r[31];
    for (float& v : r) v = static_cast<float>(UTIL_rand()) / 32767.0f;
    UTIL_srand(4);
    // The button leaves the screen through the mode switch.
    app_mode = MODE_WEATHER;
    {
        const hook_override set_mode(core_hooks.CORE_set_mode, [](int32_t mode, const char*) { app_mode = mode; });
        click(SETUP_weather, screen.screen_area_width * 0.5f, 28.0f);
    }
    const float s = r[0] * r[0], b = 0.99f * r[1] + 0.01f, c = 2.0f * r[2] - 1.0f;
    EXPECT_NEAR(sim_weather.rate_change_percent, c >= 0.0f ? c * c : -c * c, 1e-5f);
    EXPECT_NEAR(sim_weather.rain_percent, (r[3] + 0.5f) * b, 1e-5f);
    EXPECT_NEAR(sim_weather.thunderstorm_percent, (r[4] + 0.5f) * b, 1e-5f);
    EXPECT_NEAR(sim_weather.microburst_probability, (r[5] + 0.5f) * s, 1e-5f);
    EXPECT_NEAR(sim_weather.wind_turbulence_percent, (r[6] + 0.5f) * s, 1e-5f);
    // Cloud heights between 15.2 m above the lowest ground and 30,000 ft.
    const float offsets[4] = {0.5f, 0.75f, 1.0f, 1.25f};
    const float heights[4] = {sim_weather.cloud_base_msl_m[0], sim_weather.cloud_tops_msl_m[0],
                              sim_weather.cloud_base_msl_m[1], sim_weather.cloud_tops_msl_m[1]};
    for (int k = 0; k < 4; ++k) {
        const float f = std::clamp(1.0f - b * (0.25f * r[22 + k] + offsets[k]), 0.0f, 1.0f);
        EXPECT_NEAR(heights[k], 15.2f + (9144.0f - 15.2f) * f, 0.05f) << k;
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(sim_weather.cloud_type[i], static_cast<int>(std::min(4.0f * b * (0.5f + 1.5f * r[26 + i]), 4.0f))) << i;
    EXPECT_NEAR(sim_weather.temperature_sealevel_c, 40.0f * r[29] - 10.0f, 1e-4f);
    EXPECT_NEAR(sim_physics.earth_pressure_p, (0.4f * r[30] + 29.8f) * 3386.53f, 0.5f);
    EXPECT_EQ(app_mode, MODE_FLYING);
}

// Temperature and pressure are edited in the unit chosen and stored in degrees
// Celsius and pascals: a frame without a click gives them back unchanged, and
// a click on the last digit steps 1 degree F or C, 0.01 inch or 1 millibar.
TEST_F(DateWeather, TemperatureAndPressureInEitherUnit)
{
    weather_screen.weather_tab = 0;
    // In inches: (101300 x 0.00029529 + 0.01) x 3386.53 = 101334.71 Pa.
    struct unit_case { int temperature_unit, pressure_units_metric; float degrees_step, pascals_step; };
    for (const unit_case& u : {unit_case{0, 0, 1.0f / 1.8f, 34.71f}, unit_case{1, 1, 1.0f, 100.0f}}) {
        screen_settings.temperature_unit = u.temperature_unit;
        screen_settings.pressure_units_metric = u.pressure_units_metric;
        sim_weather.temperature_sealevel_c = 15.0f;
        sim_physics.earth_pressure_p = 101300.0f;
        SETUP_weather();
        EXPECT_NEAR(sim_weather.temperature_sealevel_c, 15.0f, 1e-3f) << u.temperature_unit;
        EXPECT_NEAR(sim_physics.earth_pressure_p, 101300.0f, 0.05f) << u.pressure_units_metric;
        click(SETUP_weather, 185.0f, 405.0f);   // the temperature's last digit, upper half
        EXPECT_NEAR(sim_weather.temperature_sealevel_c, 15.0f + u.degrees_step, 1e-3f) << u.temperature_unit;
        click(SETUP_weather, 185.0f, 355.0f);   // the pressure's last digit
        EXPECT_NEAR(sim_physics.earth_pressure_p, 101300.0f + u.pascals_step, 0.1f) << u.pressure_units_metric;
        for (int k = 0; k < 60; ++k) SETUP_weather();   // a second of frames without a click changes nothing
        EXPECT_NEAR(sim_physics.earth_pressure_p, 101300.0f + u.pascals_step, 0.1f) << u.pressure_units_metric;

        // Each is held to the sea-level air the planet flown can have, the
        // preferences' range: the first digits stepped down as far as they go
        // leave the Earth at 800 hPa and -90 degrees C, Mars at 3 hPa; up,
        // Mars at 15 hPa.
        for (int k = 0; k < 3; ++k) {
            click(SETUP_weather, 165.0f, 395.0f);
            click(SETUP_weather, 155.0f, 345.0f);
        }
        EXPECT_NEAR(sim_weather.temperature_sealevel_c, -90.0f, 0.3f) << u.temperature_unit;
        EXPECT_NEAR(sim_physics.earth_pressure_p, 80000.0f, 2.0f) << u.pressure_units_metric;
        sim_graphics_scenery.current_planet = 1;
        sim_physics.earth_pressure_p = 920.0f;
        click(SETUP_weather, 155.0f, 345.0f);
        EXPECT_NEAR(sim_physics.earth_pressure_p, 300.0f, 2.0f) << u.pressure_units_metric;
        click(SETUP_weather, 155.0f, 355.0f);
        EXPECT_NEAR(sim_physics.earth_pressure_p, 1500.0f, 2.0f) << u.pressure_units_metric;
        sim_graphics_scenery.current_planet = 0;
    }
    screen_settings.temperature_unit = screen_settings.pressure_units_metric = 0;
}
