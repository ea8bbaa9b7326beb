// Writes the light sprite atlas "LIGHTS.BMP" (256 x 128, 24-bit). The program
// loads it with its brightness as alpha and its colour forced to white, and the
// lights cut three pictures from it (texture coordinates s, t):
//   s 0..0.25,   t 0..0.5   an ordinary light: a round glow with a bright core
//   s 0.25..0.5, t 0.5..1   the second picture: a glow with four star spikes
//   s 0.25..0.5, t 0..0.5   the ground splash: a wide, soft pool of light
//   s 0..0.25,   t 0.5..1   the sun's disc: round, bright to its edge
//   s 0.5..1,    t 0..1     the sun's glare halo: a broad glow with faint rays
//
// usage: gen_light_sprites <output.bmp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "graphics/ogl_image.h"
#include "tools/tool_args.h"

namespace {

constexpr int WIDTH = 256;
constexpr int HEIGHT = 128;
constexpr int CELL = 64;

// Brightness 0..1 at (u, v), each -1..1 from the cell centre.
float glow(float u, float v)
{
    const float r = std::sqrt(u * u + v * v);
    if (r >= 1.0f) return 0.0f;
    const float halo = std::pow(1.0f - r, 2.2f);
    const float core = std::exp(-r * r * 60.0f);
    return std::min(1.0f, 0.75f * halo + core);
}

float star(float u, float v)
{
    const float r = std::sqrt(u * u + v * v);
    if (r >= 1.0f) return 0.0f;
    const float spikes = std::exp(-std::fabs(u) * 40.0f) + std::exp(-std::fabs(v) * 40.0f);
    return std::min(1.0f, glow(u, v) + 0.6f * spikes * (1.0f - r));
}

float splash(float u, float v)
{
    const float r = std::sqrt(u * u + v * v);
    if (r >= 1.0f) return 0.0f;
    return 0.55f * std::pow(std::cos(r * 1.5707964f), 2.0f);
}

float sun_disc(float u, float v)
{
    const float r = std::sqrt(u * u + v * v);
    if (r >= 1.0f) return 0.0f;
    const float edge = std::clamp((0.9f - r) / 0.15f, 0.0f, 1.0f);   // a soft rim
    return std::min(1.0f, edge + 0.35f * std::exp(-(r - 0.8f) * (r - 0.8f) * 40.0f));
}

float glare(float u, float v)
{
    const float r = std::sqrt(u * u + v * v);
    if (r >= 1.0f) return 0.0f;
    const float rays = 0.5f + 0.5f * std::cos(12.0f * std::atan2(v, u));
    return std::min(1.0f, std::pow(1.0f - r, 2.5f) * (0.8f + 0.2f * rays) + 0.6f * std::exp(-r * r * 30.0f));
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_light_sprites <output.bmp>")) return 2;
    // Rows bottom first, as the file stores them.
    std::vector<float> level(size_t(WIDTH) * HEIGHT, 0.0f);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const int cx = x / CELL, cy = y / CELL;
            const float u = (static_cast<float>(x % CELL) + 0.5f) / (CELL / 2.0f) - 1.0f;
            const float v = (static_cast<float>(y % CELL) + 0.5f) / (CELL / 2.0f) - 1.0f;
            float b = 0.0f;
            if (cx == 0 && cy == 0) b = glow(u, v);
            if (cx == 1 && cy == 1) b = star(u, v);
            if (cx == 1 && cy == 0) b = splash(u, v);
            if (cx == 0 && cy == 1) b = sun_disc(u, v);
            if (cx >= 2) {   // the right half is one picture
                const float hu = (static_cast<float>(x - 2 * CELL) + 0.5f) / CELL - 1.0f;
                const float hv = (static_cast<float>(y) + 0.5f) / CELL - 1.0f;
                b = glare(hu, hv);
            }
            level[size_t(y) * WIDTH + size_t(x)] = b;
        }

    FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::fprintf(stderr, "gen_light_sprites: cannot write %s\n", argv[1]);
        return 1;
    }
    uint8_t header[BMP_HEADER_SIZE];
    BMP_make_header(header, WIDTH, HEIGHT);
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    std::vector<uint8_t> row(BMP_row_bytes(WIDTH), 0);
    for (int y = 0; y < HEIGHT && ok; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const auto b = static_cast<uint8_t>(std::lround(std::clamp(level[size_t(y) * WIDTH + size_t(x)], 0.0f, 1.0f) * 255.0f));
            row[size_t(x) * 3 + 0] = b;
            row[size_t(x) * 3 + 1] = b;
            row[size_t(x) * 3 + 2] = b;
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    if (std::fclose(f) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "gen_light_sprites: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
