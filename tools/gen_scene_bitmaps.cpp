// Writes the pictures the scene's aircraft drawers bind, drawn by code:
//   - the four exhaust flames "WORLD:FIRE:FLAME_BURNER_FAST.BMP" (the burner
//     of an aircraft built for Mach 2 and more: bluish with shock diamonds),
//     "FLAME_BURNER_SLOW.BMP" (an orange burner), "FLAME_ROCKET_LIQ.BMP" (a
//     white-hot liquid rocket) and "FLAME_ROCKET_SOL.BMP" (a streaky solid
//     rocket), 128 x 64: s (across) runs from the nozzle's centre (0) over
//     its ring (0.1) to the tail (1), t (up) around the flame;
//   - the propeller disc "WORLD:OVERLAYS:PROP_DISC.BMP", 128 x 128: a disc
//     about (0.5, 0.5) filling the picture, denser toward the blade tips.
// The program loads them with their brightness as alpha, so black is clear.
// All are uncompressed 24-bit BMP files below "<program folder>/Resources/bitmaps/".
//
// usage: gen_scene_bitmaps <program folder>/
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/ogl_image.h"
#include "tools/rgb_image.h"
#include "tools/tool_args.h"

namespace {

constexpr float PI = 3.14159265f;

using image = rgb_image;

bool write_bmp(const std::filesystem::path& path, const image& im) { return write_rgb_bmp(path, im, 1.0f); }

// How one flame looks: its colour at the nozzle and at the tail, how fast it
// fades, its shock diamonds and its streaks.
struct flame_style {
    const char* file;
    rgb hot, cool;
    float fade;        // brightness falls as (1 - u)^fade along the flame
    int diamonds;      // bright bands along the flame (0 none)
    float streaks;     // depth of the lengthwise streaks round the flame
};

constexpr int FLAME_W = 128, FLAME_H = 64;
constexpr float NOZZLE_S = 0.1f;

// Streaks round the flame that repeat on its mirrored halves (t 0..1 and back).
float streak(float t, float depth, int seed)
{
    const float a = t * PI;
    const float wave = 0.5f + 0.25f * std::sin(a * 7.0f + static_cast<float>(seed)) +
                       0.25f * std::sin(a * 13.0f + 2.0f * static_cast<float>(seed));
    return 1.0f - depth * wave;
}

image flame(const flame_style& st, int seed)
{
    image im(FLAME_W, FLAME_H);
    for (int y = 0; y < FLAME_H; ++y)
        for (int x = 0; x < FLAME_W; ++x) {
            const float s = (static_cast<float>(x) + 0.5f) / FLAME_W;
            const float t = (static_cast<float>(y) + 0.5f) / FLAME_H;
            float bright, mix;
            if (s < NOZZLE_S) {   // the nozzle seen from behind: hot from the centre to the ring
                bright = 1.0f - 0.2f * s / NOZZLE_S;
                mix = 0.0f;
            } else {
                const float u = (s - NOZZLE_S) / (1.0f - NOZZLE_S);   // 0 at the nozzle, 1 at the tail
                bright = std::pow(1.0f - u, st.fade) * streak(t, st.streaks * u, seed);
                if (st.diamonds > 0)
                    bright *= 0.55f + 0.45f * std::pow(std::cos(u * PI * static_cast<float>(st.diamonds)), 2.0f);
                mix = u;
            }
            if (x == FLAME_W - 1) bright = 0.0f;   // the tail ends in nothing
            im.at(x, y) = {bright * (st.hot.r + (st.cool.r - st.hot.r) * mix),
                           bright * (st.hot.g + (st.cool.g - st.hot.g) * mix),
                           bright * (st.hot.b + (st.cool.b - st.hot.b) * mix)};
        }
    return im;
}

constexpr int DISC_SIDE = 128;

// The propeller disc: clear outside the blade circle, a faint blur near the
// hub growing denser toward the tips, with a soft edge.
image prop_disc()
{
    image im(DISC_SIDE, DISC_SIDE);
    for (int y = 0; y < DISC_SIDE; ++y)
        for (int x = 0; x < DISC_SIDE; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / DISC_SIDE - 0.5f;
            const float v = (static_cast<float>(y) + 0.5f) / DISC_SIDE - 0.5f;
            const float r = std::sqrt(u * u + v * v) / 0.5f;   // 1 at the tips
            if (r >= 1.0f) continue;
            float b = 0.25f + 0.6f * r * r;
            if (r < 0.12f) b = 0.5f;                                  // the hub
            if (r > 0.9f) b *= std::clamp((1.0f - r) / 0.1f, 0.0f, 1.0f) * 0.4f + 0.6f;   // soft edge
            if (r > 0.97f) b *= (1.0f - r) / 0.03f;
            im.at(x, y) = {b, b, b};
        }
    return im;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_scene_bitmaps <program folder>/")) return 2;
    const std::filesystem::path bitmaps = std::filesystem::path(argv[1]) / "Resources" / "bitmaps" / "WORLD";
    const flame_style flames[] = {
        {"FLAME_BURNER_FAST.BMP", {0.85f, 0.9f, 1.0f}, {0.3f, 0.4f, 1.0f}, 1.2f, 5, 0.2f},
        {"FLAME_BURNER_SLOW.BMP", {1.0f, 0.85f, 0.5f}, {1.0f, 0.35f, 0.05f}, 1.5f, 0, 0.35f},
        {"FLAME_ROCKET_LIQ.BMP", {1.0f, 1.0f, 0.9f}, {1.0f, 0.75f, 0.35f}, 0.9f, 3, 0.15f},
        {"FLAME_ROCKET_SOL.BMP", {1.0f, 0.8f, 0.45f}, {0.9f, 0.3f, 0.1f}, 1.1f, 0, 0.6f},
    };
    bool ok = true;
    int seed = 1;
    for (const flame_style& st : flames) ok = write_bmp(bitmaps / "FIRE" / st.file, flame(st, seed++)) && ok;
    ok = write_bmp(bitmaps / "OVERLAYS" / "PROP_DISC.BMP", prop_disc()) && ok;
    if (!ok) {
        std::fprintf(stderr, "gen_scene_bitmaps: cannot write below %s\n", bitmaps.string().c_str());
        return 1;
    }
    return 0;
}
