// The simulation defaults: the values a first start flies with, the star
// field, the key file, the radio-chatter slots and the sound device.

#include <cmath>
#include <filesystem>

#include "aircraft/flight_start.h"
#include "flightmodel/plane_step.h"
#include "links/movie.h"
#include "links/serial_calibration.h"
#include "links/sound.h"
#include "platform/plat_sound.h"
#include "shell/defaults.h"
#include "scene/sky/star_field.h"
#include "core/folders.h"
#include "shell/lang.h"
#include "core/random.h"
#include "tests/shell/cycle_fixture.h"

namespace {

// An uncompressed 24-bit picture of the given size, every pixel grey.
std::string grey_bmp(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    std::string b(54 + static_cast<size_t>(row) * height, '\x80');
    b.replace(0, 2, "BM");
    // File size, reserved, pixel offset, info size, width, height, planes and bits, then six zero words.
    const uint32_t words[13] = {static_cast<uint32_t>(b.size()), 0, 54, 40, static_cast<uint32_t>(width),
                                static_cast<uint32_t>(height), 1 | 24 << 16};
    for (int w = 0; w < 13; ++w)
        for (int k = 0; k < 4; ++k) b[2 + 4 * w + k] = static_cast<char>(words[w] >> (8 * k) & 0xFF);
    return b;
}

class Defaults : public SimState {
protected:
    void SetUp() override
    {
        SimState::SetUp();
        dir_.write("Resources/keys/ORVELL.TXT", read_file_bytes(data_folder() / "keys" / "ORVELL.TXT"));
        dir_.write("Resources/bitmaps/skycolors.bmp", grey_bmp(137, 254));
        set_program_folder(dir_.prefix());
        std::memcpy(default_start_airport, "KSBD", 5);
        std::strcpy(default_aircraft_path, "AIRCRAFT:Trainer.acf");
        std::strcpy(default_aircraft_name, "Trainer.acf");
    }
    void TearDown() override
    {
        DEFAULTS_free_star_lists();
        SimState::TearDown();
    }
    // One short 22,050 Hz recording: a 16-bit mono click.
    void one_recording()
    {
        std::string wav("RIFF\x2a\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x06\0\0\0"
                        "\0\x40\0\xc0\0\0",
                        50);
        dir_.write("Resources/sounds/radio chatter/ONE.WAV", wav);
    }

    temp_folder dir_;
};

TEST_F(Defaults, FirstStartRadiosClocksAndWeather)
{
    one_recording();
    SIM_init_defaults();
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    for (int32_t hz : {r.com1_freq_hz, r.com2_stdby_freq_hz}) EXPECT_EQ(hz, 12100);
    for (int32_t hz : {r.nav1_freq_hz, r.nav2_stdby_freq_hz, r.dme_freq_hz}) EXPECT_EQ(hz, 11170);
    for (int32_t hz : {r.adf1_freq_hz, r.adf2_stdby_freq_hz}) EXPECT_EQ(hz, 210);
    EXPECT_EQ(r.transponder_code, 1200);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.barometer_setting, 29.92f);
    EXPECT_EQ(sim_time.local_time_sec, 66600.0f);
    EXPECT_EQ(sim_time.zulu_time_sec, 9000.0f);
    EXPECT_EQ(sim_time.local_date_days, 90);
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 5556.0f);
    // Each wind layer's direction is 60 r and its speed 6 + 6 r, r a whole draw
    // over 32767: a shifted or rescaled rule leaves that grid whatever the draw.
    for (int i = 0; i < WIND_LAYERS; ++i)
        for (double draw : {sim_weather.wind_direction_degt[i] * 32767.0 / 60.0,
                            (sim_weather.wind_speed_kt[i] - 6.0) * 32767.0 / 6.0}) {
            EXPECT_TRUE(draw > -0.02 && draw < 32767.02) << i << " " << draw;
            EXPECT_NEAR(draw, std::round(draw), 0.02) << i;
        }
    EXPECT_EQ(std::string(net_ip_text[0]), "255.255.255.0");
    EXPECT_EQ(std::string(pln[0].acf_file_path), dir_.prefix() + "AIRCRAFT:Trainer.acf");
    // The approaches from orbit fly the fleet's orbiter, not the default aircraft.
    EXPECT_EQ(std::string(screen_settings.situation_acf_paths[0]),
              dir_.prefix() + "AIRCRAFT:SPACE SHIPS:ORVELL ORBITER:ORVELL ORBITER.ACF");
    EXPECT_EQ(std::string(start_selection.airport_id), "KSBD");
    EXPECT_EQ(key_assignment_table[0], 'p');   // the key file was read

    // The other start values: the cloud and wind layers in feet, the sea, the
    // planet grid's centre, the failure rate and the joystick extremes.
    struct start_value { const char* name; float value, want; };
    const sim_weather_block& w = sim_weather;
    const start_value values[] = {
        {"temperature", w.temperature_sealevel_c, -5.0f},
        {"rain", w.rain_percent, 1.0f},
        {"turbulence share", w.wind_turbulence_percent, 0.3f},
        {"cloud type 0", static_cast<float>(w.cloud_type[0]), 4.0f},
        {"cloud type 1", static_cast<float>(w.cloud_type[1]), 0.0f},
        {"base 0", w.cloud_base_msl_m[0], 1524.0f},
        {"tops 0", w.cloud_tops_msl_m[0], 2438.4f},
        {"base 1", w.cloud_base_msl_m[1], 6096.0f},
        {"tops 1", w.cloud_tops_msl_m[1], 6096.0f},
        {"wind altitude 0", w.wind_altitude_msl_m[0], 1524.0f},
        {"wind altitude 1", w.wind_altitude_msl_m[1], 2286.0f},
        {"wind altitude 2", w.wind_altitude_msl_m[2], 7620.0f},
        {"wave amplitude", w.wave_amplitude, 1.0f},
        {"wave length", w.wave_length, 12.0f},
        {"wave speed", w.wave_speed, 4.32540f},   // sqrt(12 / 0.3048) x 1.34 kt
        {"thermal rate", w.thermal_rate_ms, 500.0f},
        {"thermal altitude", w.thermal_altitude_msl_m, 10000.0f},
        {"planes", static_cast<float>(sim_graphics_settings.draw_aircrafts), 5.0f},
        {"HUD brightness", sim_cockpit_electrical.HUD_brightness, 0.75f},
        {"situation altitude", situation_altitude, 1524.0f},
        {"situation speed", situation_speed, 102.8888f},
        {"data rate", sim_network_dataout.network_data_rate, 20.0f},
        {"frame period", sim_operation_misc.frame_rate_period, 0.05f},
        {"systems period", screen_settings.systems_period, 0.08f},
        {"field of view", sim_graphics_view.field_of_view_deg, 70.0f},
        {"movie width", static_cast<float>(movie_width), 320.0f},
        {"movie height", static_cast<float>(movie_height), 240.0f},
        {"audio panel", static_cast<float>(sim_cockpit_switches.audio_panel_out), 10.0f},
        {"GPS VOR index", static_cast<float>(sim_cockpit_gps.vor_index), 2100.0f},
        {"GPS NDB index", static_cast<float>(sim_cockpit_gps.ndb_index), 700.0f},
        {"GPS destination index", static_cast<float>(sim_cockpit_gps.destination_index), 1600.0f},
        {"GPS airport index", static_cast<float>(sim_cockpit_gps.airport_index), 1600.0f},
        {"meteorites", static_cast<float>(w.meteorite_density), 2.0f},
        {"marker panel", static_cast<float>(sim_cockpit_switches.marker_panel_out), 1.0f},
        {"master volume", screen_settings.sound_volume, 1.0f},
        {"time ratio", sim_operation_misc.time_ratio, 1.0f},
        {"map zoom", screen_settings.map_zoom, 1.0f},
        {"radio chatter", static_cast<float>(screen_settings.radio_chatter_on), 1.0f},
        {"EFIS range", static_cast<float>(sim_cockpit_switches.EFIS_map_range_selector), 2.0f},
        {"autogen distance", static_cast<float>(sim_graphics_settings.autogen_distance), 6.0f},
        {"real weather period", sim_operation_prefs_realweather.check_real_weather_time_sec, 300.0f},
        {"real weather visibility", sim_operation_prefs_realweather.real_weather_max_vis_nm, 15.0f},
        {"grid centre row", static_cast<float>(flt[0].i), 225.0f},
        {"grid centre column", static_cast<float>(flt[0].j), 200.0f},
        {"failure rate", sim_operation_failures.mean_time_between_failure_hrs, 250.0f},
        {"axis minimum", sim_joystick.joystick_axis_minimum[14], 9.9e9f},
        {"axis maximum", sim_joystick.joystick_axis_maximum[0], -9.9e9f},
        {"situation values", screen_settings.situation_start_values[1][1], 45000.0f},
        {"first situation values", screen_settings.situation_start_values[0][1], 25000.0f},
        {"serial channel low", serial_axis_lo[8], 9999.9f},
        {"serial channel high", serial_axis_hi[0], -9999.9f},
    };
    for (const start_value& v : values) EXPECT_NEAR(v.value, v.want, std::fabs(v.want) * 1e-5f) << v.name;
    for (int i = 0; i < WIND_LAYERS; ++i) {
        EXPECT_TRUE(w.shear_direction_degt[i] >= 20.0f && w.shear_direction_degt[i] <= 30.0f);
        EXPECT_TRUE(w.shear_speed_kt[i] >= 4.0f && w.shear_speed_kt[i] <= 6.0f);
        EXPECT_TRUE(w.turbulence[i] >= 1.0f && w.turbulence[i] <= 2.0f);
    }
    EXPECT_TRUE(weather_seed >= 0 && weather_seed <= 1000);
    // The ship and platform models the defaults fill: island level 2, the
    // ball's base light, the frigate's bow and starboard quarter, platform B's
    // helicopter deck (block 5, 97 m up, narrowed at its foot).
    const ship_model_tables_record& t = ship_model_tables;
    EXPECT_FLOAT_EQ(t.carrier_island[2 * 8 + 4].y, 26.97f);
    EXPECT_FLOAT_EQ(t.carrier_lights[66].x, -35.0f);
    EXPECT_FLOAT_EQ(t.carrier_lights[66].y, 23.0f);
    EXPECT_NEAR(t.carrier_lights[40].z, 156.835f + 20.0f * (-58.5f - 156.835f) / 21.0f, 1e-3f);
    EXPECT_FLOAT_EQ(t.frigate_hull[13].z, -100.0f);
    EXPECT_FLOAT_EQ(t.frigate_hull[FRIGATE_HULL - 1].x, 12.0f);
    EXPECT_FLOAT_EQ(t.frigate_hull[FRIGATE_HULL - 1].z, 84.0f);
    EXPECT_FLOAT_EQ(t.platform_b[5 * 8 + 4].y, 97.0f);
    EXPECT_FLOAT_EQ(t.platform_b[5 * 8 + 4].z, 104.0f);
    EXPECT_FLOAT_EQ(t.platform_b[5 * 8].x, -14.0f * 0.95f);
}

TEST_F(Defaults, OneRecordingFillsAllFiftyChatterSlotsAndNoneIsFatal)
{
    one_recording();
    SIM_init_defaults();
    int loads = 0;
    for (int s = 59; s <= 108; ++s) loads += sound_slots.loaded[s];
    EXPECT_EQ(loads, 50);

    // An empty chatter folder, or one with only a folder in it.
    std::filesystem::remove(dir_.path() / "Resources/sounds/radio chatter/ONE.WAV");
    DEFAULTS_free_star_lists();
    EXPECT_EQ(expect_fatal([] { SIM_init_defaults(); }).code, 17);
    std::filesystem::create_directories(dir_.path() / "Resources/sounds/radio chatter/sub");
    EXPECT_EQ(expect_fatal([] { SIM_init_defaults(); }).code, 17);
}

TEST_F(Defaults, StarsLieOnTheSphere)
{
    UTIL_srand(1);
    DEFAULTS_build_stars();
    for (int l = 0; l < STAR_LIST_COUNT; ++l)
        for (int i = 0; i < STARS_PER_LIST; ++i) {
            const float* p = star_points[l][i];
            ASSERT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1555.0f, 0.01f) << l << " " << i;
        }
    EXPECT_NE(star_points[0][0][0], star_points[1][0][0]);   // the lists hold different points
    // The first star from the generator's first draws 16838, 5758, 10113: each
    // x 3110 / 32767 - 1555 gives (43.14, -1008.49, -595.15), pushed out to 1555.
    const float first[3] = {57.2444f, -1338.2857f, -789.7718f};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(star_points[0][0][k], first[k], 0.01f) << k;
}

TEST(PlatSound, NullDeviceTakesSlotsAndANoDeviceMachineRunsSilent)
{
    static int logged = 0;
    PLAT_sound_set_log([](const char*) { ++logged; });
    PLAT_sound_close();
    EXPECT_TRUE(PLAT_sound_open(nullptr));   // the tests run on OpenAL's null output
    const int16_t tone[64] = {0, 1000, 2000, 1000, 0, -1000};
    EXPECT_TRUE(PLAT_sound_load(3, tone, sizeof tone, 1, 16, 22050));
    EXPECT_FALSE(PLAT_sound_load(3, tone, sizeof tone, 3, 16, 22050));
    EXPECT_FALSE(PLAT_sound_load(109, tone, sizeof tone, 1, 16, 22050));
    PLAT_sound_play(3, true);
    EXPECT_TRUE(PLAT_sound_is_playing(3));
    PLAT_sound_set_pitch(3, 100.0f);
    PLAT_sound_set_pan(3, -3.0f);
    PLAT_sound_set_gain(3, NAN);
    EXPECT_EQ(PLAT_sound_slot(3).pitch, PLAT_SOUND_PITCH_MAX);
    EXPECT_EQ(PLAT_sound_slot(3).pan, -1.0f);
    EXPECT_EQ(PLAT_sound_slot(3).gain, 0.0f);
    PLAT_sound_stop(3);
    EXPECT_FALSE(PLAT_sound_is_playing(3));
    PLAT_sound_close();

    EXPECT_FALSE(PLAT_sound_open("no such sound device"));
    EXPECT_TRUE(PLAT_sound_is_silent());
    EXPECT_TRUE(PLAT_sound_load(0, tone, sizeof tone, 1, 16, 22050));
    PLAT_sound_play(-5, false);
    PLAT_sound_close();
    PLAT_sound_open("no such sound device");
    PLAT_sound_close();
    EXPECT_EQ(logged, 1);   // said once
    PLAT_sound_set_log(nullptr);
}

}  // namespace
