// Shared by the sound generators: 22,050 Hz 16-bit mono WAV files, white
// noise from the program's generator, and speech from the synthesiser when
// the tool is built with it (ORVELL_HAVE_ESPEAK).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/random.h"

#ifdef ORVELL_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace wav {

constexpr int RATE = 22050;

inline float noise() { return static_cast<float>(UTIL_rand()) / 16383.5f - 1.0f; }

#ifdef ORVELL_HAVE_ESPEAK
inline std::vector<int16_t>& spoken_buffer()
{
    static std::vector<int16_t> spoken;
    return spoken;
}

inline int collect(short* samples, int count, espeak_EVENT*)
{
    if (samples && count > 0) spoken_buffer().insert(spoken_buffer().end(), samples, samples + count);
    return 0;
}
#endif

// Speech from the synthesiser resampled to RATE, -1..1; empty when there is none.
inline std::vector<float> speak(const char* text, int words_per_minute = 190)
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
        }
    }
    if (synth_rate <= 0) return out;
    espeak_SetParameter(espeakRATE, words_per_minute, 0);
    std::vector<int16_t>& spoken = spoken_buffer();
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
    (void)words_per_minute;
#endif
    return out;
}

inline void finish_speech()
{
#ifdef ORVELL_HAVE_ESPEAK
    espeak_Terminate();
#endif
}

inline void put_le(std::vector<uint8_t>& b, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Writes the samples (-1..1, clipped) as a 16-bit mono PCM file.
inline bool write(const std::filesystem::path& path, const std::vector<float>& samples)
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
    for (float v : samples) put_le(b, static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))), 2);
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

}  // namespace wav
