// Writes the radio-chatter recordings of the default data folder: short
// air-traffic phrases spoken by the speech synthesiser and passed through a
// radio-like filter with a squelch burst at each end, as 16-bit mono WAV files
// "<program folder>/Resources/sounds/radio chatter/CHATTERnn.WAV". Built
// without the synthesiser, the tool writes the squelch bursts and a murmur of
// filtered noise in the rhythm of speech instead, so the folder is never empty.
//
// usage: gen_radio_chatter <program folder>/
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/units.h"

#include "tools/wav_tools.h"
#include "tools/tool_args.h"

namespace {

using wav::RATE;
using wav::noise;

const char* const PHRASES[] = {
    "Orvell four two, climb and maintain five thousand.",
    "Trainer one seven alpha, turn left heading two seven zero.",
    "Cessna three niner, contact departure one two five point three five.",
    "November six one, runway two four, cleared to land.",
    "Skyline two one, descend and maintain three thousand, expect the ILS.",
    "Trainer five bravo, traffic twelve o'clock, four miles, opposite direction.",
    "Speedbird eight, squawk four five two one.",
    "November two two, wind two six zero at eight, runway two six, cleared for takeoff.",
    "Orvell one one, reduce speed to one eight zero knots.",
    "Citation four, hold short of runway three one.",
    "Trainer niner, say altitude.",
    "November eight four, radar contact, four miles south of the field.",
    "Skyline six, proceed direct to the outer marker.",
    "Orvell seven, taxi to runway two four via alpha.",
    "Trainer two, the altimeter two niner niner two.",
    "November one one, frequency change approved, good day.",
};

// Without a synthesiser: filtered noise that comes and goes like syllables.
std::vector<float> murmur(size_t words)
{
    std::vector<float> out;
    for (size_t w = 0; w < words; ++w) {
        const int syllables = 1 + UTIL_rand() % 3;
        for (int s = 0; s < syllables; ++s) {
            const int n = RATE / 8 + UTIL_rand() % (RATE / 10);
            const float pitch = 110.0f + static_cast<float>(UTIL_rand() % 60);
            for (int i = 0; i < n; ++i) {
                const float env = std::sin(PI_FLOAT * static_cast<float>(i) / static_cast<float>(n));
                const float voice = std::sin(6.2831853f * pitch * static_cast<float>(i) / RATE);
                out.push_back(0.35f * env * (0.6f * voice + 0.4f * noise()));
            }
        }
        out.insert(out.end(), RATE / 20, 0.0f);
    }
    return out;
}

// The radio: a band from about 300 to 3000 Hz, a little hiss, clipped, and a
// squelch burst before and after.
std::vector<float> radio(const std::vector<float>& voice)
{
    std::vector<float> s;
    auto burst = [&](int n) {
        for (int i = 0; i < n; ++i) s.push_back(0.25f * noise());
    };
    burst(RATE / 25);
    s.insert(s.end(), RATE / 10, 0.0f);
    float hp_prev_in = 0, hp_prev_out = 0, lp = 0;
    const float hp_a = 0.92f, lp_a = 0.45f;
    for (float v : voice) {
        const float hp = hp_a * (hp_prev_out + v - hp_prev_in);
        hp_prev_in = v;
        hp_prev_out = hp;
        lp += lp_a * (hp - lp);
        s.push_back(std::clamp(1.8f * lp + 0.02f * noise(), -0.9f, 0.9f));
    }
    s.insert(s.end(), RATE / 10, 0.0f);
    burst(RATE / 15);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_radio_chatter <program folder>/")) return 2;
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "Resources" / "sounds" / "radio chatter";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    UTIL_srand(4711);
    int written = 0, synthesised = 0;
    for (const char* phrase : PHRASES) {
        std::vector<float> voice = wav::speak(phrase);
        if (voice.empty()) {
            const size_t words = static_cast<size_t>(std::count(phrase, phrase + std::strlen(phrase), ' ') + 1);
            voice = murmur(words);
        } else {
            ++synthesised;
        }
        char name[32];
        std::snprintf(name, sizeof name, "CHATTER%02d.WAV", written + 1);
        if (!wav::write(folder / name, radio(voice))) {
            std::fprintf(stderr, "gen_radio_chatter: cannot write %s\n", (folder / name).string().c_str());
            return 1;
        }
        ++written;
    }
    wav::finish_speech();
    std::printf("gen_radio_chatter: wrote %d recordings (%d spoken)\n", written, synthesised);
    return 0;
}
