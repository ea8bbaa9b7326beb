// Draws by code, as uncompressed 24-bit BMP files (texel row 0 is t = 0):
//   - "WORLD:BUILDINGS:DECK.BMP", 256 x 512: the carrier's flight deck over
//     x -35..36 and z 160..-154 of the ship (s = (x + 35) / 71,
//     t = (z - 160) / -314): grey non-skid with the angled landing area's
//     edge lines and centre line, the bow catapult tracks and the deck numbers;
//   - "WORLD:CHUTE.BMP", 128 x 128: the canopy's orange and white gores;
//   - "WORLD:OVERLAYS:ICE.BMP", "SCRATCHES.BMP" and "WINDAMAGE.BMP",
//     128 x 128: frost crystals, fine scratches and a crack star, bright where
//     they show (the textures take their alpha from the brightness).
//
// usage: gen_sea_bitmaps <program folder>/
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/random.h"
#include "graphics/ogl_image.h"
#include "tools/rgb_image.h"
#include "tools/tool_args.h"

namespace {

constexpr float PI = 3.14159265f;

using image = rgb_image;

bool write_bmp(const std::filesystem::path& path, const image& im) { return write_rgb_bmp(path, im, 1.0f); }

float noise() { return (UTIL_rand() % 1000) / 1000.0f; }

// A line between two points of the image, w texels wide.
void line(image& im, float x0, float y0, float x1, float y1, float w, rgb c)
{
    const int steps = static_cast<int>(std::hypot(x1 - x0, y1 - y0) * 2.0f) + 1;
    for (int k = 0; k <= steps; ++k) {
        const float x = x0 + (x1 - x0) * k / steps, y = y0 + (y1 - y0) * k / steps;
        for (int dx = -int(w); dx <= int(w); ++dx)
            for (int dy = -int(w); dy <= int(w); ++dy)
                if (dx * dx + dy * dy <= w * w) im.put(int(x) + dx, int(y) + dy, c);
    }
}

image deck()
{
    image im(256, 512);
    // Ship metres to texels: s = (x + 35) / 71, t = (z - 160) / -314.
    auto tx = [&](float x) { return (x + 35.0f) / 71.0f * im.width; };
    auto ty = [&](float z) { return (z - 160.0f) / -314.0f * im.height; };
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            const float g = 0.30f + 0.04f * noise();
            im.at(x, y) = {g, g, g * 1.04f};
        }
    const rgb white{0.92f, 0.92f, 0.9f}, yellow{0.9f, 0.8f, 0.2f}, red{0.8f, 0.15f, 0.1f};
    // The angled landing area: its two edge lines and the dashed centre line.
    line(im, tx(-10.5f), ty(158.73f), tx(-10.5f - 1.2894737f * 19), ty(158.73f - 10.775263f * 19), 1.0f, white);
    line(im, tx(13.0f), ty(154.94f), tx(13.0f - 1.4947618f * 21), ty(154.94f - 10.759048f * 21), 1.0f, white);
    for (int k = 0; k < 20; k += 2)
        line(im, tx(1.25f - 1.33f * k), ty(156.835f - 10.25f * k), tx(1.25f - 1.33f * (k + 1)),
             ty(156.835f - 10.25f * (k + 1)), 0.6f, white);
    // The wires across the landing area.
    for (float z : {130.0f, 118.0f, 106.0f, 94.0f}) line(im, tx(-20.0f), ty(z), tx(8.0f), ty(z - 4.0f), 0.5f, yellow);
    // The bow catapult tracks and the run-off line at the bow.
    for (float x : {-12.5f, 8.0f}) line(im, tx(x), ty(-50.0f), tx(x), ty(-150.0f), 0.6f, yellow);
    line(im, tx(-15.0f), ty(-152.0f), tx(15.0f), ty(-152.0f), 1.0f, red);
    // The foul line of the island side.
    line(im, tx(19.0f), ty(100.0f), tx(19.0f), ty(-60.0f), 0.5f, yellow);
    return im;
}

image chute()
{
    image im(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const bool orange = (x / 16) % 2 == 0;
            im.at(x, y) = orange ? rgb{0.95f, 0.45f, 0.1f} : rgb{0.95f, 0.95f, 0.92f};
        }
    return im;
}

image ice()
{
    image im(128, 128);
    for (int n = 0; n < 60; ++n) {
        const float cx = noise() * 128, cy = noise() * 128, r = 3 + 8 * noise();
        for (int arm = 0; arm < 6; ++arm) {
            const float a = arm * PI / 3.0f + noise() * 0.2f;
            const float b = 0.6f + 0.4f * noise();
            line(im, cx, cy, cx + r * std::cos(a), cy + r * std::sin(a), 0.4f, {b, b, b});
        }
    }
    for (rgb& p : im.px) p.r = p.g = p.b = std::max(p.r, 0.15f + 0.1f * noise());
    return im;
}

image scratches()
{
    image im(128, 128);
    for (int n = 0; n < 40; ++n) {
        const float x = noise() * 128, y = noise() * 128, a = noise() * PI, l = 10 + 30 * noise(), b = 0.4f + 0.6f * noise();
        line(im, x, y, x + l * std::cos(a), y + l * std::sin(a), 0.3f, {b, b, b});
    }
    return im;
}

image crack()
{
    image im(128, 128);
    for (int arm = 0; arm < 9; ++arm) {
        float x = 64, y = 64, a = arm * 2.0f * PI / 9.0f;
        for (int k = 0; k < 6; ++k) {
            const float l = 4 + 6 * noise();
            const float nx = x + l * std::cos(a), ny = y + l * std::sin(a);
            line(im, x, y, nx, ny, 0.5f, {0.9f, 0.9f, 0.9f});
            x = nx, y = ny, a += (noise() - 0.5f) * 0.8f;
        }
    }
    for (int r : {10, 22})
        for (int k = 0; k < 64; ++k) {
            const float a = k * 2 * PI / 64;
            im.put(64 + int(r * std::cos(a)), 64 + int(r * std::sin(a)), {0.7f, 0.7f, 0.7f});
        }
    return im;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_sea_bitmaps <program folder>/")) return 2;
    UTIL_srand(4242);
    const std::filesystem::path world = std::filesystem::path(argv[1]) / "Resources" / "bitmaps" / "WORLD";
    bool ok = write_bmp(world / "BUILDINGS" / "DECK.BMP", deck());
    ok = write_bmp(world / "CHUTE.BMP", chute()) && ok;
    ok = write_bmp(world / "OVERLAYS" / "ICE.BMP", ice()) && ok;
    ok = write_bmp(world / "OVERLAYS" / "SCRATCHES.BMP", scratches()) && ok;
    ok = write_bmp(world / "OVERLAYS" / "WINDAMAGE.BMP", crack()) && ok;
    if (!ok) {
        std::fprintf(stderr, "gen_sea_bitmaps: cannot write below %s\n", world.string().c_str());
        return 1;
    }
    return 0;
}
