// A program folder with sound files, the sound layer opened on OpenAL's null
// output, and the switches at their defaults: sound and chatter on, master
// volume 1, inside the cockpit, no headset.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/folders.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/sound.h"
#include "platform/plat_sound.h"
#include "tests/support/test_support.h"

// The bytes of a WAV file: RIFF, WAVE, a format block of `format_bytes`
// (16 for plain PCM) and a data chunk.
inline std::string wav_bytes(const std::vector<int16_t>& samples, uint32_t rate = 22050, uint16_t format = 1,
                             uint32_t format_bytes = 16, int channels = 1, int bits = 16)
{
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    std::string fmt = u16(format) + u16(uint16_t(channels)) + u32(rate) + u32(rate * block) + u16(block) +
                      u16(uint16_t(bits));
    fmt.resize(format_bytes, '\0');
    std::string data;
    for (int16_t s : samples) data += u16(static_cast<uint16_t>(s));
    const std::string body = "WAVEfmt " + u32(format_bytes) + fmt + "data" + u32(uint32_t(data.size())) + data;
    return "RIFF" + u32(uint32_t(body.size())) + body;
}

// A 440 Hz tone of `seconds`.
inline std::vector<int16_t> tone_samples(double seconds)
{
    std::vector<int16_t> s(static_cast<size_t>(seconds * 22050));
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(8000 * ((i / 25) % 2 ? 1 : -1));
    return s;
}

class sound_fixture : public ::testing::Test {
protected:
    temp_folder dir;

    void SetUp() override
    {
        clear_alerts();
        FOLDERS_init_from((dir.prefix() + "orvell").c_str());
        std::memset(&pln[0], 0, sizeof pln[0]);
        std::memset(&flt[0], 0, sizeof flt[0]);
        sim_operation_sound = sim_operation_sound_block{};
        sim_operation_sound.sound_on = 1;
        screen_settings.radio_chatter_on = 1;
        screen_settings.sound_volume = 1.0f;
        sim_operation_prefs.has_headset_on = 0;
        sim_graphics_view.view_is_external = 0;
        sim_weather.precip_rain = 0.0f;
        sim_weather.precip_hail = 0.0f;
        PLAT_sound_close();
        sim_operation_sound.has_sound = SOUND_init_dsound();
        SOUND_engine_reset();
    }
    void TearDown() override
    {
        PLAT_sound_close();
        SOUND_reset();
    }

    // Writes "RESOURCES/SOUNDS/<name>" (or the chatter folder for chatter slots).
    void put_sound(const std::string& name, const std::string& bytes, bool chatter = false)
    {
        dir.write(std::string("Resources/sounds/") + (chatter ? "radio chatter/" : "") + name, bytes);
    }
    void load_tone(int slot, double seconds = 0.5)
    {
        put_sound("T" + std::to_string(slot) + ".WAV", wav_bytes(tone_samples(seconds)), slot >= 59);
        SOUND_load_wav(slot, ("T" + std::to_string(slot) + ".WAV").c_str());
    }
};
