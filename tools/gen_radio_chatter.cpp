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

#ifdef ORVELL_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace {

constexpr int RATE = 22050;

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

#ifdef ORVELL_HAVE_ESPEAK
std::vector<int16_t> spoken;

int collect(short* wav, int count, espeak_EVENT*)
{
    if (wav && count > 0) spoken.insert(spoken.end(), wav, wav + count);
    return 0;
}
#endif

// Speech from the synthesiser at its own rate, resampled to RATE; empty
// when there is none.
std::vector<float> speak(const char* text)
{
    std::vector<float> out;
#ifdef ORVELL_HAVE_ESPEAK
    static int synth_rate = 0;
    if (synth_rate == 0) {
        synth_rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        if (synth_rate <= 0) {
            synth_rate = -1;
        } else {
            espeak_SetSynthCallback(collect);
            espeak_SetVoiceByName("en");
            espeak_SetParameter(espeakRATE, 190, 0);
        }
    }
    if (synth_rate <= 0) return out;
    spoken.clear();
    espeak_Synth(text, std::strlen(text) + 1, 0, POS_CHARACTER, 0, espeakCHARS_AUTO, nullptr, nullptr);
    espeak_Synchronize();
    const double step = static_cast<double>(synth_rate) / RATE;
    for (double pos = 0; pos + 1 < static_cast<double>(spoken.size()); pos += step) {
        const size_t i = static_cast<size_t>(pos);
        const double f = pos - static_cast<double>(i);
        out.push_back(static_cast<float>(((1 - f) * spoken[i] + f * spoken[i + 1]) / 32768.0));
    }
#else
    (void)text;
#endif
    return out;
}

float noise() { return static_cast<float>(UTIL_rand()) / 16383.5f - 1.0f; }

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
std::vector<int16_t> radio(const std::vector<float>& voice)
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
    std::vector<int16_t> out(s.size());
    for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<int16_t>(std::lround(s[i] * 32767.0f));
    return out;
}

void put_le(std::vector<uint8_t>& b, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool write_wav(const std::filesystem::path& path, const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> b;
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put_le(b, 36 + data_bytes, 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_le(b, 16, 4);
    put_le(b, 1, 2);          // PCM
    put_le(b, 1, 2);          // mono
    put_le(b, RATE, 4);
    put_le(b, RATE * 2, 4);   // bytes per second
    put_le(b, 2, 2);          // bytes per frame
    put_le(b, 16, 2);         // bits per sample
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put_le(b, data_bytes, 4);
    for (int16_t v : samples) put_le(b, static_cast<uint16_t>(v), 2);
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_radio_chatter <program folder>/\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "Resources" / "sounds" / "radio chatter";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    UTIL_srand(4711);
    int written = 0, synthesised = 0;
    for (const char* phrase : PHRASES) {
        std::vector<float> voice = speak(phrase);
        if (voice.empty()) {
            const size_t words = static_cast<size_t>(std::count(phrase, phrase + std::strlen(phrase), ' ') + 1);
            voice = murmur(words);
        } else {
            ++synthesised;
        }
        char name[32];
        std::snprintf(name, sizeof name, "CHATTER%02d.WAV", written + 1);
        if (!write_wav(folder / name, radio(voice))) {
            std::fprintf(stderr, "gen_radio_chatter: cannot write %s\n", (folder / name).string().c_str());
            return 1;
        }
        ++written;
    }
#ifdef ORVELL_HAVE_ESPEAK
    espeak_Terminate();
#endif
    std::printf("gen_radio_chatter: wrote %d recordings (%d spoken)\n", written, synthesised);
    return 0;
}
