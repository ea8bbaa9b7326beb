// The simulation defaults: the values a first start flies with, the star
// field, the key file, the radio-chatter slots and the sound device.

#include <cmath>
#include <filesystem>

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
    for (int i = 0; i < WIND_LAYERS; ++i) {
        EXPECT_TRUE(sim_weather.wind_direction_degt[i] >= 0.0f && sim_weather.wind_direction_degt[i] <= 60.0f);
        EXPECT_TRUE(sim_weather.wind_speed_kt[i] >= 6.0f && sim_weather.wind_speed_kt[i] <= 12.0f);
    }
    EXPECT_EQ(std::string(net_ip_text[0]), "255.255.255.0");
    EXPECT_EQ(std::string(pln[0].acf_file_path), dir_.prefix() + "AIRCRAFT:Trainer.acf");
    EXPECT_EQ(std::string(start_selection.airport_id), "KSBD");
    EXPECT_EQ(key_assignment_table[0], 'p');   // the key file was read
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
