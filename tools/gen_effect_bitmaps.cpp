// Draws the pictures of the scene's effects and road vehicles, by code, as
// uncompressed 24-bit BMP files under "<program folder>/Resources/bitmaps/WORLD/"
// (texel row 0 is texture t = 0). Those loaded with their alpha from their
// brightness are black wherever nothing shows.
//   - "ROADS:CARS.BMP", 256 x 256: seven vehicle strips of 33 texel rows every
//     34 (strip m from row 34 m): s runs along the body from its front (s 0)
//     to its rear, t from the road up; cars of four colours, a police car, a
//     fire engine and a van. The whole picture also serves the tug.
//   - "FIRE:FIRE.BMP", 64 x 1024: twelve flame frames stacked from the bottom
//     (frame f from t = f / 12), flames rising from the bottom of each frame.
//   - "OVERLAYS:SMOKE.BMP", 64 x 64: a soft round puff.
//   - "OVERLAYS:WAKE.BMP", 64 x 64: foam streaming along t, full across
//     s 0..0.5 and fading out toward s 1 (the centre band uses s 0..0.5, the
//     side bands run from their inner edge at 0.5 to their outer edge at 1).
//   - "OVERLAYS:BSNOW.BMP", 128 x 128: thin streaks of blowing snow along s.
//   - "OVERLAYS:FENCE.BMP", 64 x 64: one metre of chain-link fence 4 m high
//     (s along the fence, t up): a post at s 0, rails top and bottom, the mesh.
//
// usage: gen_effect_bitmaps <program folder>/
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
#include "tools/tool_args.h"

namespace {

struct rgb {
    float r, g, b;
};

struct image {
    int w, h;
    std::vector<rgb> px;
    image(int width, int height) : w(width), h(height), px(size_t(width) * height, rgb{0, 0, 0}) {}
    rgb& at(int x, int y) { return px[size_t(y) * w + size_t(x)]; }
};

bool write_bmp(const std::filesystem::path& path, const image& im)
{
    return write_float_bmp(path, im.w, im.h, im.px);
}

float noise() { return static_cast<float>(UTIL_rand()) / 32767.0f; }

// Seven vehicle strips: body colour below the window line, glass above it
// between the pillars, dark wheels near the road, lights at both ends.
image cars()
{
    image im(256, 256);
    const rgb bodies[7] = {{0.75f, 0.1f, 0.1f}, {0.15f, 0.25f, 0.7f},  {0.9f, 0.9f, 0.88f}, {0.2f, 0.45f, 0.25f},
                           {0.95f, 0.95f, 0.95f}, {0.8f, 0.08f, 0.05f}, {0.85f, 0.8f, 0.65f}};
    for (int m = 0; m < 7; ++m)
        for (int r = 0; r < 33; ++r) {
            const float t = (r + 0.5f) / 33.0f;   // 0 at the road, 1 at the roof
            for (int x = 0; x < 256; ++x) {
                const float s = (x + 0.5f) / 256.0f;   // 0 at the front
                rgb c = bodies[m];
                const float shade = 0.9f + 0.1f * noise();
                c = {c.r * shade, c.g * shade, c.b * shade};
                const bool glass = t > 0.55f && t < 0.9f && s > 0.12f && s < 0.88f && std::fmod(s * 4.0f, 1.0f) > 0.08f;
                if (glass) c = {0.2f, 0.25f, 0.32f};
                if (m == 4 && t > 0.25f && t < 0.45f) c = {0.1f, 0.15f, 0.6f};   // the police car's band
                for (const float wheel : {0.2f, 0.8f}) {
                    const float dx = (s - wheel) * 4.5f, dy = t - 0.12f;
                    if (dx * dx + dy * dy < 0.018f) c = {0.06f, 0.06f, 0.06f};
                }
                if (t > 0.3f && t < 0.45f && (s < 0.03f || s > 0.97f))   // headlights, tail lights
                    c = s < 0.5f ? rgb{1.0f, 1.0f, 0.9f} : rgb{0.8f, 0.05f, 0.05f};
                im.at(x, 34 * m + r) = c;
            }
        }
    // The rows between and above the strips: dark grey, as a body's underside.
    for (int y = 0; y < 256; ++y)
        if (y >= 7 * 34 || y % 34 == 33)
            for (int x = 0; x < 256; ++x) im.at(x, y) = {0.15f, 0.15f, 0.15f};
    return im;
}

// Twelve flame frames: tongues of fire whose heights and sway follow the frame.
image fire()
{
    image im(64, 1024);
    for (int y = 0; y < 1024; ++y) {
        const int frame = y * 12 / 1024;
        const float f0 = frame * 1024.0f / 12.0f, f1 = (frame + 1) * 1024.0f / 12.0f;
        const float t = (y + 0.5f - f0) / (f1 - f0);   // 0 at the frame's foot, 1 at its top
        const float phase = frame * 6.2831853f / 12.0f;
        for (int x = 0; x < 64; ++x) {
            const float s = (x + 0.5f) / 64.0f;
            float heat = 0.0f;
            for (int k = 0; k < 4; ++k) {
                const float centre = 0.2f + 0.2f * k + 0.05f * std::sin(phase * (k + 1) + t * 5.0f);
                const float top = 0.55f + 0.35f * (0.5f + 0.5f * std::sin(phase * 2.0f + k * 1.7f));
                const float width = 0.12f * (1.0f - t / top);
                if (t < top && std::fabs(s - centre) < width) heat = std::max(heat, 1.0f - t / top);
            }
            heat *= 0.85f + 0.15f * noise();
            im.at(x, y) = {std::min(1.0f, heat * 1.6f), heat * heat * 1.1f, heat * heat * heat * 0.5f};
        }
    }
    return im;
}

// A round puff, bright in the middle and fading to nothing at the edge.
image smoke()
{
    image im(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = (x + 0.5f) / 32.0f - 1.0f, dy = (y + 0.5f) / 32.0f - 1.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float v = r < 1.0f ? (1.0f - r * r) * (0.8f + 0.2f * noise()) : 0.0f;
            im.at(x, y) = {v, v, v};
        }
    return im;
}

// Foam streaks along t: full over s 0..0.5, fading out to s 1.
image wake()
{
    image im(64, 64);
    std::vector<float> streak(64);
    for (float& v : streak) v = 0.5f + 0.5f * noise();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float s = (x + 0.5f) / 64.0f;
            const float profile = s <= 0.5f ? 1.0f : 2.0f * (1.0f - s);
            const float v = profile * streak[size_t(x)] * (0.75f + 0.25f * noise());
            im.at(x, y) = {v, v, v};
        }
    return im;
}

// Thin snow streaks along s on black.
image blowing_snow()
{
    image im(128, 128);
    for (int k = 0; k < 90; ++k) {
        const int y = UTIL_rand() % 128, x0 = UTIL_rand() % 128, length = 8 + UTIL_rand() % 24;
        const float v = 0.5f + 0.5f * noise();
        for (int i = 0; i < length; ++i) {
            const float fade = 1.0f - static_cast<float>(i) / length;
            rgb& p = im.at((x0 + i) % 128, y);
            p.r = p.g = p.b = std::max(p.r, v * fade);
        }
    }
    return im;
}

// One metre of fence: a post, two rails and the diamond mesh, on black.
image fence()
{
    image im(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float v = 0.0f;
            if (((x + y) % 8 == 0) || ((x - y + 64) % 8 == 0)) v = 0.55f;   // the mesh
            if (y < 2 || y > 60) v = 0.7f;                                  // the rails
            if (x < 3) v = 0.75f;                                           // the post
            im.at(x, y) = {v, v, v * 1.02f};
        }
    return im;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_effect_bitmaps <program folder>/")) return 2;
    UTIL_srand(1);
    const std::filesystem::path world = std::filesystem::path(argv[1]) / "Resources" / "bitmaps" / "WORLD";
    const bool ok = write_bmp(world / "ROADS" / "CARS.BMP", cars()) && write_bmp(world / "FIRE" / "FIRE.BMP", fire()) &&
                    write_bmp(world / "OVERLAYS" / "SMOKE.BMP", smoke()) &&
                    write_bmp(world / "OVERLAYS" / "WAKE.BMP", wake()) &&
                    write_bmp(world / "OVERLAYS" / "BSNOW.BMP", blowing_snow()) &&
                    write_bmp(world / "OVERLAYS" / "FENCE.BMP", fence());
    if (!ok) {
        std::fprintf(stderr, "gen_effect_bitmaps: cannot write the effect pictures below %s\n", argv[1]);
        return 1;
    }
    std::printf("gen_effect_bitmaps: wrote 6 images\n");
    return 0;
}
