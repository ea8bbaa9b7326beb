// The simulation defaults: the values a first start flies with, the star
// field, the ship models, the key file and the radio-chatter slots.

#include <cmath>
#include <filesystem>

#include "links/sound.h"
#include "platform/plat_sound.h"
#include "links/serial_calibration.h"
#include "shell/defaults.h"
#include "shell/folders.h"
#include "shell/lang.h"
#include "shell/random.h"
#include "tests/shell/cycle_fixture.h"

namespace {

// An uncompressed 24-bit picture of the given size, every pixel grey.
std::string grey_bmp(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    std::string b(54 + static_cast<size_t>(row) * height, '\x80');
    auto put32 = [&b](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[27] = 0;
    b[28] = 24;
    b[29] = 0;
    for (size_t at = 30; at < 54; at += 4) put32(at, 0);
    return b;
}

class Defaults : public SimState {
protected:
    void SetUp() override
    {
        SimState::SetUp();
        saved_folder_ = program_folder;
        const std::filesystem::path keys =
            std::filesystem::path(ORVELL_FIXTURES).parent_path().parent_path() / "data" / "keys" / "ORVELL.TXT";
        dir_.write("Resources/keys/ORVELL.TXT", read_file_bytes(keys));
        dir_.write("Resources/bitmaps/skycolors.bmp", grey_bmp(137, 254));
        FOLDERS_init_from((dir_.prefix() + "orvell").c_str());
        std::memcpy(default_start_airport, "KSBD", 5);
        std::strcpy(default_aircraft_path, "AIRCRAFT:Trainer.acf");
        std::strcpy(default_aircraft_name, "Trainer.acf");
    }
    void TearDown() override
    {
        DEFAULTS_free_star_lists();
        FOLDERS_init_from((saved_folder_ + "orvell").c_str());
        SimState::TearDown();
    }
    void one_recording() { dir_.write("Resources/sounds/radio chatter/ONE.WAV", "RIFF"); }

    std::string saved_folder_;
    temp_folder dir_;
};

TEST_F(Defaults, FirstStartRadiosClocksAndWeather)
{
    one_recording();
    SIM_init_defaults();
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    EXPECT_EQ(r.com1_freq_hz, 12100);
    EXPECT_EQ(r.com2_stdby_freq_hz, 12100);
    EXPECT_EQ(r.nav1_freq_hz, 11170);
    EXPECT_EQ(r.nav2_stdby_freq_hz, 11170);
    EXPECT_EQ(r.dme_freq_hz, 11170);
    EXPECT_EQ(r.adf1_freq_hz, 210);
    EXPECT_EQ(r.adf2_stdby_freq_hz, 210);
    EXPECT_EQ(r.transponder_code, 1200);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.barometer_setting, 29.92f);
    EXPECT_EQ(sim_graphics_view.field_of_view_deg, 70.0f);
    EXPECT_EQ(sim_time.local_time_sec, 66600.0f);
    EXPECT_EQ(sim_time.zulu_time_sec, 9000.0f);
    EXPECT_EQ(sim_time.local_date_days, 90);
    EXPECT_FLOAT_EQ(sim_weather.visibility_reported_m, 5556.0f);
    EXPECT_FLOAT_EQ(sim_weather.cloud_tops_msl_m[0], 2438.4f);
    for (int i = 0; i < WIND_LAYERS; ++i) {
        EXPECT_GE(sim_weather.wind_direction_degt[i], 0.0f);
        EXPECT_LE(sim_weather.wind_direction_degt[i], 60.0f);
        EXPECT_GE(sim_weather.wind_speed_kt[i], 6.0f);
        EXPECT_LE(sim_weather.wind_speed_kt[i], 12.0f);
        EXPECT_GE(sim_weather.shear_direction_degt[i], 20.0f);
        EXPECT_LE(sim_weather.shear_speed_kt[i], 6.0f);
        EXPECT_GE(sim_weather.turbulence[i], 1.0f);
        EXPECT_LE(sim_weather.turbulence[i], 2.0f);
    }
    EXPECT_GE(weather_seed, 0);
    EXPECT_LE(weather_seed, 1000);
    EXPECT_EQ(flt[0].i, 225);
    EXPECT_EQ(flt[0].j, 200);
    EXPECT_EQ(sim_joystick.joystick_axis_minimum[14], 9.9e9f);
    EXPECT_EQ(serial_axis_hi[8], -9999.9f);
    EXPECT_EQ(sim_operation_sound.has_sound, 1);
    EXPECT_EQ(std::string(net_port_text[19]), "49000");
    EXPECT_EQ(std::string(net_ip_text[0]), "255.255.255.0");
    EXPECT_EQ(std::string(pln[0].acf_file_path), dir_.prefix() + "AIRCRAFT:Trainer.acf");
    EXPECT_EQ(std::string(start_selection.airport_id), "KSBD");
    EXPECT_EQ(std::string(screen_settings.situation_acf_paths[4]),
              dir_.prefix() + "AIRCRAFT:Heavy Metal:B-52G NASA:B-52G NASA.ACF");
    EXPECT_EQ(screen_settings.situation_start_values[1][1], 45000.0f);
    EXPECT_EQ(key_assignment_table[0], 'p');   // the key file was read
    EXPECT_TRUE(called(scene_standin_calls, "LIGHTS_build_model()"));
}

TEST_F(Defaults, OneRecordingFillsAllFiftyChatterSlots)
{
    one_recording();
    SIM_init_defaults();
    int loads = 0;
    for (int s = 59; s <= 108; ++s) loads += count_calls(links_standin_calls, "SOUND_load_wav(" + std::to_string(s) + ",ONE.WAV)");
    EXPECT_EQ(loads, 50);
}

TEST_F(Defaults, AnEmptyOrFolderOnlyChatterFolderIsFatal)
{
    std::filesystem::create_directories(dir_.path() / "Resources/sounds/radio chatter");
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
}

TEST_F(Defaults, CarrierTablesHoldTheirHullDeckAndIsland)
{
    DEFAULTS_build_ship_models();
    const ship_model_tables_record& t = ship_model_tables;
    EXPECT_EQ(t.carrier_hull_side[0].x, -8.0f);
    EXPECT_EQ(t.carrier_hull_side[13].z, 155.0f);
    EXPECT_EQ(t.carrier_deck_edge[23].x, 36.0f);
    // Island level 2 (a 5.97, b 8, c 12): corner 2 at (36, 26.97, -1).
    EXPECT_FLOAT_EQ(t.carrier_island[2 * 8 + 4].x, 36.0f);
    EXPECT_FLOAT_EQ(t.carrier_island[2 * 8 + 4].y, 26.97f);
    EXPECT_FLOAT_EQ(t.carrier_island[2 * 8 + 4].z, -1.0f);
    EXPECT_FLOAT_EQ(t.carrier_marks[0][19].x, -10.5f - 1.2894737f * 19);
    EXPECT_EQ(t.frigate_hull[0].z, 82.0f);
    EXPECT_EQ(t.frigate_hull[25].x, 12.0f);   // back at the bow on the starboard side
    EXPECT_FLOAT_EQ(t.platform_b[5 * 8].x, 20.0f - 12.0f * 0.95f);   // box 5, bottom narrowed
}

TEST(PlatSound, NullDeviceTakesSlotsAndANoDeviceMachineRunsSilent)
{
    static int logged = 0;
    PLAT_sound_set_log([](const char*) { ++logged; });
    PLAT_sound_close();
    const bool device = PLAT_sound_open(nullptr);   // the tests run on OpenAL's null output
    EXPECT_TRUE(device);
    const int16_t tone[64] = {0, 1000, 2000, 1000, 0, -1000};
    EXPECT_TRUE(PLAT_sound_load(3, tone, sizeof tone, 1, 16, 22050));
    EXPECT_FALSE(PLAT_sound_load(3, tone, sizeof tone, 3, 16, 22050));
    EXPECT_FALSE(PLAT_sound_load(109, tone, sizeof tone, 1, 16, 22050));
    PLAT_sound_play(3, true);
    EXPECT_TRUE(PLAT_sound_is_playing(3));
    PLAT_sound_set_pitch(3, 100.0f);
    PLAT_sound_set_pan(3, -3.0f);
    PLAT_sound_set_gain(3, NAN);
    EXPECT_EQ(PLAT_sound_slot(3).pitch, 4.0f);
    EXPECT_EQ(PLAT_sound_slot(3).pan, -1.0f);
    EXPECT_EQ(PLAT_sound_slot(3).gain, 0.0f);
    PLAT_sound_stop(3);
    EXPECT_FALSE(PLAT_sound_is_playing(3));
    PLAT_sound_close();

    EXPECT_FALSE(PLAT_sound_open("no such sound device"));
    EXPECT_TRUE(PLAT_sound_is_silent());
    EXPECT_TRUE(PLAT_sound_load(0, tone, sizeof tone, 1, 16, 22050));
    PLAT_sound_play(0, true);
    EXPECT_TRUE(PLAT_sound_is_playing(0));
    PLAT_sound_play(-5, false);
    PLAT_sound_close();
    PLAT_sound_open("no such sound device");
    PLAT_sound_close();
    EXPECT_EQ(logged, 1);   // said once
    PLAT_sound_set_log(nullptr);
}

}  // namespace
