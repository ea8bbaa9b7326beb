// The project's own sound set as the build writes it: every file is 22,050 Hz
// PCM, not silent, loads through the sound reader, and every loop's end
// meets its start.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "tests/links/sound_fixture.h"

namespace {

namespace fs = std::filesystem;

struct pcm {
    bool ok = false;
    uint32_t rate = 0;
    int format = 0, channels = 0, bits = 0;
    std::vector<float> samples;   // -1..1
};

pcm read_pcm(const fs::path& p)
{
    pcm r;
    const std::string b = read_file_bytes(p);
    auto u32 = [&](size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
                                       uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24; };
    auto u16 = [&](size_t at) { return int(uint8_t(b[at])) | int(uint8_t(b[at + 1])) << 8; };
    if (b.size() < 44 || b.compare(0, 4, "RIFF") || b.compare(8, 4, "WAVE") || b.compare(12, 4, "fmt ")) return r;
    r.format = u16(20);
    r.channels = u16(22);
    r.rate = u32(24);
    r.bits = u16(34);
    const size_t data = b.find("data", 36);
    if (data == std::string::npos || r.bits != 16) return r;
    const size_t n = std::min<size_t>(u32(data + 4), b.size() - data - 8) / 2;
    for (size_t i = 0; i < n; ++i) r.samples.push_back(static_cast<int16_t>(u16(data + 8 + 2 * i)) / 32768.0f);
    r.ok = true;
    return r;
}

const std::set<std::string> LOOPS = {
    "ENGINE_RECIP.WAV", "ENGINE_TURBO.WAV", "ENGINE_ELEC.WAV", "ENGINE_LO_JET.WAV", "ENGINE_HI_JET.WAV",
    "ENGINE_ROC.WAV", "PROP_PLANE.WAV", "ROTOR_GYRO.WAV", "ROTOR_LIFTFAN.WAV", "ROTOR_HELO.WAV", "REV_THRUST.WAV",
    "RUMBLE.WAV", "WIND.WAV", "RAIN.WAV", "HAIL.WAV", "STAL.WAV", "ENG_START.WAV", "FLAP.WAV"};

class SoundSet : public sound_fixture {};

}  // namespace

TEST_F(SoundSet, EveryFileIsAudiblePcmAndEveryLoopRepeatsWithoutAClick)
{
    const fs::path sounds = fs::path(ORVELL_DATA_FOLDER) / "Resources" / "sounds";
    ASSERT_TRUE(fs::is_directory(sounds));
    FOLDERS_init_from((std::string(ORVELL_DATA_FOLDER) + "orvell").c_str());
    int files = 0, loops = 0;
    for (const auto& e : fs::directory_iterator(sounds)) {
        if (!e.is_regular_file()) continue;
        const std::string name = e.path().filename().string();
        ++files;
        const pcm w = read_pcm(e.path());
        ASSERT_TRUE(w.ok) << name;
        EXPECT_EQ(w.format, 1) << name;
        EXPECT_EQ(w.rate, 22050u) << name;
        EXPECT_EQ(w.channels, 1) << name;
        double energy = 0.0, steps = 0.0;
        for (size_t i = 0; i < w.samples.size(); ++i) {
            energy += double(w.samples[i]) * w.samples[i];
            if (i) steps += std::pow(double(w.samples[i]) - w.samples[i - 1], 2.0);
        }
        EXPECT_GT(std::sqrt(energy / w.samples.size()), 0.01) << name << " is silent";
        if (LOOPS.count(name)) {
            ++loops;
            // The step from the last sample round to the first is no larger
            // than the sound's own steps are.
            const double typical = std::sqrt(steps / (w.samples.size() - 1));
            EXPECT_LE(std::fabs(w.samples.back() - w.samples.front()), 4.0 * typical + 0.002) << name;
        }
        SOUND_load_wav(16, name.c_str());
        EXPECT_EQ(sound_slots.loaded[16], 1) << name;
    }
    EXPECT_EQ(files, 53);
    EXPECT_EQ(loops, static_cast<int>(LOOPS.size()));

    // The chatter too.
    int chatter = 0;
    for (const auto& e : fs::directory_iterator(sounds / "radio chatter")) {
        const pcm w = read_pcm(e.path());
        EXPECT_TRUE(w.ok && w.format == 1 && w.rate == 22050u) << e.path();
        SOUND_load_wav(59 + chatter % 50, e.path().filename().string().c_str());
        ++chatter;
    }
    EXPECT_GE(chatter, 1);
    EXPECT_TRUE(recorded_alerts.empty());
}
