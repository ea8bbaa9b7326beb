// Writes the aircraft sounds of the default data folder, the 53 files of
// sound slots 0..58, as 22,050 Hz 16-bit mono WAV files in
// "<program folder>/Resources/sounds/": engines, propellers and rotors as
// seamless loops of tones and shaped noise; weather, ground and warning
// sounds; Morse tones for the marker beacons; the ground-proximity words and
// altitude callouts spoken by the speech synthesiser when the tool is built
// with it, otherwise a tone of their rhythm.
//
// usage: gen_aircraft_sounds <program folder>/
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/random.h"
#include "tools/wav_tools.h"
#include "tools/tool_args.h"

namespace {

using wav::RATE;
using wav::noise;
constexpr double TWO_PI = 6.28318530717958;

using samples = std::vector<float>;

int count(double seconds) { return static_cast<int>(seconds * RATE); }

// One-pole low-pass filter state.
struct low_pass {
    float k, y = 0.0f;
    explicit low_pass(double cutoff_hz) : k(static_cast<float>(1.0 - std::exp(-TWO_PI * cutoff_hz / RATE))) {}
    float operator()(float x) { return y += k * (x - y); }
};

// Folds the last `fade` samples of a take into its head, so the result (the
// take less those samples) repeats without a click: the loop's last sample is
// followed, on the way round, by the sample that followed it in the take.
samples seamless(samples take, size_t fade)
{
    if (take.size() <= 2 * fade) return take;
    const size_t n = take.size() - fade;
    for (size_t i = 0; i < fade; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(fade);
        take[i] = take[i] * t + take[n + i] * (1.0f - t);
    }
    take.resize(n);
    return take;
}

// A loop of whole periods of `base_hz` that repeats without a click: f(t)
// for t in seconds, taken a tenth longer and folded round.
samples loop(double seconds, double base_hz, const std::function<float(double)>& f)
{
    const double periods = std::max(1.0, std::round(seconds * base_hz));
    const int n = static_cast<int>(std::round(periods / base_hz * RATE));
    const int fade = n / 10;
    samples s(static_cast<size_t>(n + fade));
    for (int i = 0; i < n + fade; ++i) s[static_cast<size_t>(i)] = f(static_cast<double>(i) / RATE);
    return seamless(std::move(s), static_cast<size_t>(fade));
}

samples tone(double seconds, double hz, float level, double attack = 0.005)
{
    samples s(static_cast<size_t>(count(seconds)));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        const double env = std::min({1.0, t / attack, (seconds - t) / attack});
        s[i] = static_cast<float>(level * env * std::sin(TWO_PI * hz * t));
    }
    return s;
}

samples silence(double seconds) { return samples(static_cast<size_t>(count(seconds)), 0.0f); }

samples join(std::initializer_list<samples> parts)
{
    samples out;
    for (const samples& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Noise through a low-pass filter, shaped by env(t).
samples shaped_noise(double seconds, double cutoff_hz, const std::function<float(double)>& env)
{
    low_pass lp(cutoff_hz);
    samples s(static_cast<size_t>(count(seconds)));
    for (size_t i = 0; i < s.size(); ++i) s[i] = env(static_cast<double>(i) / RATE) * lp(noise());
    return s;
}

// Random impacts: short decaying clicks, `per_second` of them.
samples impacts(double seconds, double per_second, float level, double cutoff_hz)
{
    samples s(static_cast<size_t>(count(seconds)), 0.0f);
    low_pass lp(cutoff_hz);
    const int hits = static_cast<int>(seconds * per_second);
    for (int h = 0; h < hits; ++h) {
        const size_t at = static_cast<size_t>(UTIL_rand()) * s.size() / 32768;
        const float strength = level * (0.4f + 0.6f * static_cast<float>(UTIL_rand()) / 32767.0f);
        for (int k = 0; k < count(0.02) && at + static_cast<size_t>(k) < s.size(); ++k)
            s[at + static_cast<size_t>(k)] += strength * std::exp(-k / 60.0f) * noise();
    }
    for (float& v : s) v = lp(v);
    return s;
}

// A spoken phrase, or without the synthesiser a two-tone rhythm of its words.
samples spoken(const char* text, double fallback_hz)
{
    samples v = wav::speak(text, 175);
    if (!v.empty()) {
        float peak = 0.0f;
        for (float x : v) peak = std::max(peak, std::fabs(x));
        if (peak > 0.0f)
            for (float& x : v) x *= 0.8f / peak;
        return v;
    }
    samples out;
    int words = 1;
    for (const char* c = text; *c; ++c) words += *c == ' ' ? 1 : 0;
    for (int w = 0; w < words; ++w) {
        samples t = tone(0.18, fallback_hz * (w % 2 ? 1.25 : 1.0), 0.5f);
        out.insert(out.end(), t.begin(), t.end());
        samples gap = silence(0.06);
        out.insert(out.end(), gap.begin(), gap.end());
    }
    return out;
}

// Morse elements of a marker beacon tone: dots or dashes with their gaps.
samples morse(double hz, bool dash)
{
    return join({tone(dash ? 0.25 : 0.08, hz, 0.5f), silence(dash ? 0.125 : 0.08)});
}

struct sound {
    const char* name;
    std::function<samples()> make;
};

// Engine, propeller and rotor loops: a fundamental with harmonics and noise.
samples engine_loop(double hz, const std::vector<float>& harmonics, float noise_level, double noise_cutoff)
{
    low_pass lp(noise_cutoff);
    return loop(1.0, hz, [&](double t) {
        float v = 0.0f;
        for (size_t h = 0; h < harmonics.size(); ++h)
            v += harmonics[h] * static_cast<float>(std::sin(TWO_PI * hz * static_cast<double>(h + 1) * t));
        return 0.6f * v + noise_level * lp(noise());
    });
}

// Blade passes: bursts of noise at the blade-pass rate.
samples blade_loop(double pass_hz, double cutoff_hz, float sharpness)
{
    low_pass lp(cutoff_hz);
    return loop(1.0, pass_hz, [&](double t) {
        const double phase = std::fmod(t * pass_hz, 1.0);
        // Each pass swells in quickly and dies away: no step between passes.
        const float pulse = static_cast<float>(std::min(1.0, phase / 0.04) * std::exp(-phase * sharpness));
        return 0.7f * pulse * lp(noise()) + 0.2f * pulse * static_cast<float>(std::sin(TWO_PI * pass_hz * 2 * t));
    });
}

std::vector<sound> all_sounds()
{
    return {
        // Engines (slots 0..7 by engine type).
        {"ENGINE_RECIP.WAV", [] { return engine_loop(36.0, {0.5f, 0.35f, 0.25f, 0.12f, 0.08f}, 0.35f, 900); }},
        {"ENGINE_TURBO.WAV",
         [] {
             low_pass lp(2500);
             return loop(1.0, 110.0, [&](double t) {
                 return 0.25f * static_cast<float>(std::sin(TWO_PI * 1650 * t)) +
                        0.15f * static_cast<float>(std::sin(TWO_PI * 110 * t)) + 0.4f * lp(noise());
             });
         }},
        {"ENGINE_ELEC.WAV", [] { return engine_loop(400.0, {0.4f, 0.2f, 0.1f}, 0.05f, 3000); }},
        {"ENGINE_LO_JET.WAV", [] { return loop(1.0, 1.0, [lp = low_pass(500)](double) mutable { return 0.8f * lp(noise()); }); }},
        {"ENGINE_HI_JET.WAV",
         [] {
             low_pass lp(1200);
             return loop(1.0, 100.0, [&](double t) {
                 return 0.6f * lp(noise()) + 0.12f * static_cast<float>(std::sin(TWO_PI * 2500 * t));
             });
         }},
        {"ENGINE_ROC.WAV", [] { return loop(1.0, 1.0, [lp = low_pass(4000)](double) mutable { return 0.9f * lp(noise()); }); }},
        // Propellers and rotors (slots 8..15 by propeller type).
        {"PROP_PLANE.WAV", [] { return blade_loop(80.0, 1500, 4.0f); }},
        {"ROTOR_GYRO.WAV", [] { return blade_loop(12.0, 700, 7.0f); }},
        {"ROTOR_LIFTFAN.WAV", [] { return blade_loop(220.0, 3000, 2.0f); }},
        {"ROTOR_HELO.WAV", [] { return blade_loop(13.0, 600, 9.0f); }},
        // The fixed sounds of slots 16..58, in slot order.
        {"REV_THRUST.WAV", [] { return loop(1.0, 1.0, [lp = low_pass(800)](double) mutable { return 0.9f * lp(noise()); }); }},
        {"RUMBLE.WAV", [] { return loop(1.0, 1.0, [lp = low_pass(120)](double) mutable { return 1.0f * lp(noise()) * 2.5f; }); }},
        {"WIND.WAV", [] { return loop(2.0, 0.5, [lp = low_pass(600)](double t) mutable {
                             return 0.6f * lp(noise()) * static_cast<float>(0.75 + 0.25 * std::sin(TWO_PI * 0.5 * t)); }); }},
        {"RAIN.WAV", [] { return seamless(impacts(2.2, 400, 0.5f, 6000), static_cast<size_t>(count(0.2))); }},
        {"HAIL.WAV", [] { return seamless(impacts(2.2, 120, 0.9f, 4000), static_cast<size_t>(count(0.2))); }},
        {"THUNDER.WAV", [] { return shaped_noise(3.5, 150, [](double t) { return static_cast<float>(2.5 * std::min(1.0, t / 0.05) * std::exp(-t * 1.2)); }); }},
        {"STAL.WAV", [] { return loop(1.0, 420.0, [](double t) {
                             return 0.35f * static_cast<float>(std::sin(TWO_PI * 420 * t) + 0.3 * std::sin(TWO_PI * 1260 * t)); }); }},
        // The starter's whine, looped while the starter turns.
        {"ENG_START.WAV", [] {
             low_pass lp(1500);
             return loop(1.0, 10.0, [&](double t) {
                 const double wobble = 0.8 + 0.2 * std::sin(TWO_PI * 10.0 * t);
                 return static_cast<float>(wobble * (0.3 * std::sin(TWO_PI * 600.0 * t) + 0.15 * std::sin(TWO_PI * 1200.0 * t))) +
                        0.15f * lp(noise());
             });
         }},
        {"FLAP.WAV", [] { return engine_loop(150.0, {0.3f, 0.2f, 0.1f}, 0.1f, 2000); }},
        {"DESC.WAV", [] { return tone(1.0, 300.0, 0.4f, 0.02); }},
        {"CLIM.WAV", [] { return join({tone(0.15, 700.0, 0.4f), silence(0.1)}); }},
        {"GEAR.WAV", [] { return join({engine_loop(95.0, {0.3f, 0.2f}, 0.2f, 1500), engine_loop(95.0, {0.3f, 0.2f}, 0.2f, 1500)}); }},
        {"LRUN.WAV", [] { return loop(1.0, 1.0, [lp = low_pass(250)](double) mutable { return 1.6f * lp(noise()); }); }},
        {"LWET.WAV", [] { return loop(1.0, 1.0, [lp = low_pass(2500)](double) mutable { return 0.5f * lp(noise()); }); }},
        {"LOFF.WAV", [] { return join({impacts(1.0, 30, 0.9f, 300), shaped_noise(1.0, 200, [](double) { return 1.2f; })}); }},
        {"LWAT.WAV", [] { return loop(2.0, 0.5, [lp = low_pass(1500)](double t) mutable {
                             return 0.6f * lp(noise()) * static_cast<float>(0.6 + 0.4 * std::sin(TWO_PI * 0.5 * t)); }); }},
        {"BOOM.WAV", [] { return shaped_noise(2.5, 400, [](double t) { return static_cast<float>(3.0 * std::exp(-t * 2.0)); }); }},
        {"HAIL_IMPACT.WAV", [] { return impacts(0.5, 20, 1.0f, 5000); }},
        {"SINK.WAV", [] { return spoken("sink rate", 600); }},
        {"PULL.WAV", [] { return spoken("pull up", 600); }},
        {"GWRN.WAV", [] { return spoken("too low, gear", 600); }},
        {"GLID.WAV", [] { return spoken("glideslope", 600); }},
        {"MINI.WAV", [] { return spoken("minimums", 600); }},
        {"WSHR.WAV", [] { return spoken("windshear", 600); }},
        {"CAUT.WAV", [] { return join({tone(0.25, 1000.0, 0.4f), tone(0.25, 800.0, 0.4f), silence(0.05)}); }},
        {"1000FT.WAV", [] { return spoken("one thousand", 500); }},
        {"500FT.WAV", [] { return spoken("five hundred", 500); }},
        {"400FT.WAV", [] { return spoken("four hundred", 500); }},
        {"300FT.WAV", [] { return spoken("three hundred", 500); }},
        {"200FT.WAV", [] { return spoken("two hundred", 500); }},
        {"100FT.WAV", [] { return spoken("one hundred", 500); }},
        {"50FT.WAV", [] { return spoken("fifty", 500); }},
        {"40FT.WAV", [] { return spoken("forty", 500); }},
        {"30FT.WAV", [] { return spoken("thirty", 500); }},
        {"20FT.WAV", [] { return spoken("twenty", 500); }},
        {"10FT.WAV", [] { return spoken("ten", 500); }},
        // Marker beacons: outer 400 Hz dashes, middle 1,300 Hz dot-dash, inner 3,000 Hz dots.
        {"MDOT.WAV", [] { return morse(1300.0, false); }},
        {"MDAS.WAV", [] { return morse(1300.0, true); }},
        {"DASH_OUTER.WAV", [] { return morse(400.0, true); }},
        {"DOT_MIDDLE.WAV", [] { return morse(1300.0, false); }},
        {"DASH_MIDDLE.WAV", [] { return morse(1300.0, true); }},
        {"DOT_INNER.WAV", [] { return morse(3000.0, false); }},
        {"TCAS.WAV", [] { return spoken("traffic, traffic", 700); }},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_aircraft_sounds <program folder>/")) return EXIT_FAILURE;
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "Resources" / "sounds";
    UTIL_srand(2718);
    int written = 0;
    for (const sound& s : all_sounds()) {
        if (!wav::write(folder / s.name, s.make())) {
            std::fprintf(stderr, "gen_aircraft_sounds: cannot write %s\n", (folder / s.name).string().c_str());
            return EXIT_FAILURE;
        }
        ++written;
    }
    wav::finish_speech();
    std::printf("gen_aircraft_sounds: wrote %d sounds\n", written);
    return written == 53 ? EXIT_SUCCESS : EXIT_FAILURE;
}
