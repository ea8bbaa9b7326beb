// Writes the sky's pictures, drawn by code (24-bit BMP; the program takes
// each one's brightness as its alpha when it loads it):
//   WORLD/CLOUDS/CLOUD.BMP          one soft cloud puff (128 x 128)
//   WORLD/CLOUDS/CLD_CUMULUS.BMP    six cloud pictures in two columns and three
//                                   rows, the rows split at t 0.3262 and 0.6875 (256 x 256)
//   WORLD/CLOUDS/CLD_CIRRUS1..4.BMP tileable streaks of high cloud (256 x 256)
//   WORLD/MOON/MOON01..23.BMP       the moon from new to full and back (64 x 64);
//                                   22 phases are shown, the 23rd is the new moon again
//
// usage: gen_cloud_bitmaps <bitmaps folder>   (the folder holding WORLD/)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/random.h"
#include "graphics/ogl_image.h"
#include "tools/bmp_writer.h"
#include "tools/tiling_noise.h"
#include "tools/tool_args.h"

namespace {

constexpr float PI = 3.14159265f;

// A square grey picture, rows bottom first, values 0..1.
struct picture {
    int w, h;
    std::vector<float> v;
    picture(int width, int height) : w(width), h(height), v(size_t(width) * size_t(height), 0.0f) {}
    float& at(int x, int y) { return v[size_t(y) * size_t(w) + size_t(x)]; }
};

bool write_bmp(const std::filesystem::path& path, const picture& p)
{
    return write_bmp_file(path, p.w, p.h, [&](int x, int y, uint8_t* bgr) {
        const float v = std::clamp(p.v[size_t(y) * size_t(p.w) + size_t(x)], 0.0f, 1.0f);
        bgr[0] = bgr[1] = bgr[2] = static_cast<uint8_t>(std::lround(v * 255.0f));
    });
}

// Octaves of tiling noise over [0, 1) x [0, 1): 0..1.
float fractal(const std::vector<tiling_noise>& octaves, int first_period, float u, float v)
{
    float sum = 0.0f, weight = 0.0f, amp = 1.0f;
    int p = first_period;
    for (const tiling_noise& n : octaves) {
        sum += amp * n.at(u * p, v * p);
        weight += amp;
        amp *= 0.55f;
        p *= 2;
    }
    return sum / weight;
}

std::vector<tiling_noise> octaves(int first_period, int count, uint32_t seed)
{
    std::vector<tiling_noise> o;
    for (int k = 0, p = first_period; k < count; ++k, p *= 2) o.emplace_back(p, seed + 131u * uint32_t(k));
    return o;
}

float smoothstep(float a, float b, float x)
{
    const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// A cloud in the box (x0, y0)..(x1, y1) of the picture: a few round lobes on
// a flatter base, frayed by noise. u, v are -1..1 across the box.
void cloud_in_box(picture& p, int x0, int y0, int x1, int y1, uint32_t seed, float flat)
{
    const auto n = octaves(4, 4, seed);
    UTIL_srand(seed * 7u + 3u);
    struct lobe {
        float u, v, r;
    };
    std::vector<lobe> lobes;
    const int count = 4 + UTIL_rand() % 3;
    for (int k = 0; k < count; ++k) {
        const float u = -0.55f + 1.1f * k / (count - 1) + 0.1f * (UTIL_rand() / float(UTIL_RAND_MAX) - 0.5f);
        const float r = 0.3f + 0.15f * UTIL_rand() / float(UTIL_RAND_MAX);
        lobes.push_back({u, -0.35f + r * (1.0f - flat), r});
    }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float u = 2.0f * (x - x0 + 0.5f) / float(x1 - x0) - 1.0f;
            const float v = 2.0f * (y - y0 + 0.5f) / float(y1 - y0) - 1.0f;
            float d = 0.0f;
            for (const lobe& l : lobes) {
                const float du = (u - l.u) / l.r, dv = (v - l.v) / l.r;
                d = std::max(d, 1.0f - std::sqrt(du * du + dv * dv));
            }
            const float base = v > -0.55f ? 1.0f : smoothstep(-0.8f, -0.55f, v);
            const float edge = std::min({1.0f - std::fabs(u), 1.0f - std::fabs(v)});
            const float frayed = d + 0.35f * (fractal(n, 4, u * 0.5f + 0.5f, v * 0.5f + 0.5f) - 0.5f);
            const float shade = 0.75f + 0.25f * smoothstep(-0.6f, 0.6f, v);   // lighter on top
            p.at(x, y) = smoothstep(0.0f, 0.35f, frayed) * base * smoothstep(0.0f, 0.08f, edge) * shade;
        }
}

picture puff()
{
    picture p(128, 128);
    const auto n = octaves(4, 4, 501);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const float u = 2.0f * (x + 0.5f) / p.w - 1.0f, v = 2.0f * (y + 0.5f) / p.h - 1.0f;
            const float r = std::sqrt(u * u + v * v);
            const float soft = std::pow(std::clamp(1.0f - r, 0.0f, 1.0f), 1.4f);
            p.at(x, y) = soft * (0.75f + 0.5f * (fractal(n, 4, (x + 0.5f) / p.w, (y + 0.5f) / p.h) - 0.5f));
        }
    return p;
}

picture cumulus()
{
    picture p(256, 256);
    // Row boundaries at t 0.3262 and 0.6875 (t from the bottom).
    const int rows[4] = {0, static_cast<int>(std::lround(0.3262f * 256)), static_cast<int>(std::lround(0.6875f * 256)), 256};
    for (int col = 0; col < 2; ++col)
        for (int row = 0; row < 3; ++row)
            cloud_in_box(p, col * 128 + 2, rows[row] + 2, col * 128 + 126, rows[row + 1] - 2, 900u + 10u * uint32_t(col * 3 + row),
                         0.2f * row);
    return p;
}

picture cirrus(int number)
{
    picture p(256, 256);
    const auto n = octaves(2, 5, 700u + 17u * uint32_t(number));
    const auto fine = octaves(16, 3, 760u + 17u * uint32_t(number));
    const float slant = 0.15f * (number - 2.5f);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const float u = (x + 0.5f) / p.w, v = (y + 0.5f) / p.h;
            // Streaks: the noise stretched along x (whole periods, so the picture tiles).
            const float band = fractal(n, 2, u, v);
            const float streak = 0.5f + 0.5f * std::sin(2.0f * PI * (4.0f * v + slant * std::sin(2.0f * PI * u) + 0.8f * band));
            const float wisps = fractal(fine, 16, u, v);
            p.at(x, y) = smoothstep(0.35f, 0.9f, band) * (0.45f + 0.55f * streak) * (0.7f + 0.3f * wisps);
        }
    return p;
}

// The moon of phase k (1..23): lit from new (1) through full (12) back toward new.
picture moon(int k)
{
    picture p(64, 64);
    const float a = 2.0f * PI * static_cast<float>((k - 1) % 22) / 22.0f;
    const float sx = std::sin(a), sz = -std::cos(a);   // the sunlight's direction as seen: z toward the viewer
    const auto n = octaves(4, 3, 333);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const float u = 2.0f * (x + 0.5f) / p.w - 1.0f, v = 2.0f * (y + 0.5f) / p.h - 1.0f;
            const float rr = u * u + v * v;
            if (rr >= 1.0f) continue;
            const float z = std::sqrt(1.0f - rr);
            const float lit = smoothstep(-0.05f, 0.1f, u * sx + z * sz);
            const float maria = 0.8f + 0.2f * fractal(n, 4, (x + 0.5f) / p.w, (y + 0.5f) / p.h);
            const float rim = smoothstep(1.0f, 0.9f, std::sqrt(rr));
            p.at(x, y) = lit * maria * rim;
        }
    return p;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_cloud_bitmaps <bitmaps folder>")) return 2;
    namespace fs = std::filesystem;
    const fs::path world = fs::path(argv[1]) / "WORLD";
    std::error_code ec;
    fs::create_directories(world / "CLOUDS", ec);
    fs::create_directories(world / "MOON", ec);
    bool ok = write_bmp(world / "CLOUDS" / "CLOUD.BMP", puff()) && write_bmp(world / "CLOUDS" / "CLD_CUMULUS.BMP", cumulus());
    for (int k = 1; k <= 4 && ok; ++k) ok = write_bmp(world / "CLOUDS" / ("CLD_CIRRUS" + std::to_string(k) + ".BMP"), cirrus(k));
    for (int k = 1; k <= 23 && ok; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "MOON%02d.BMP", k);
        ok = write_bmp(world / "MOON" / name, moon(k));
    }
    if (!ok) {
        std::fprintf(stderr, "gen_cloud_bitmaps: cannot write under %s\n", world.c_str());
        return 1;
    }
    return 0;
}
