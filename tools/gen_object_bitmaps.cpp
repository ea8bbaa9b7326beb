// Draws the textures of the scenery objects, by code, as uncompressed 24-bit
// BMP files of 256 x 256 texels (texel row 0 is texture t = 0):
//   - "WORLD:BUILDINGS:BUILDINGS.BMP": the procedural buildings' walls and
//     roofs: the control tower's shaft (s 0..0.25, t 0..0.39), cab glass
//     (t 0.39..0.48) and cab rim (t 0.48..0.5); the tall buildings' facades
//     (s 0.25..0.5, 0.5..0.625, 0.625..0.75, 0.75..0.875, t 0..0.5); the
//     blocks' walls (s 0.875..1, t 0..0.5); the tall buildings' landable roof
//     (s 0..0.5, t 0.5..1) and the roof of towers and blocks (s 0.5..1,
//     t 0.5..1);
//   - "WORLD:BUILDINGS:BUILDINGS_LIT.BMP": the same places with the windows
//     lit and everything else black (it is added at night);
//   - "WORLD:BUILDINGS:SURFACES.BMP": the navaid huts and antennas (s 0..0.25,
//     t 0..0.5, white-painted concrete), the hangar and the chimneys and
//     cooling towers (s 0..0.25, t 0.5..1, grey sheet metal and concrete),
//     also the ships' gallery and walls; the ships' funnels (s 0.25..0.5),
//     hull (s 0.5..0.75) and the carrier's island (s 0.75..1), all in
//     t 0.5..1; the airport signs' cells (s 0.5..0.75, t 0..0.5, four cells
//     across and four up, each s 1/16 by t 1/8: the digits 0..9 and the side
//     letters L and R, white on red, the distances 1..3 white on black, and a
//     blank red cell), the signs' sides, back and top (s 0.75..1, t 0..0.25),
//     the windsock's orange and white bands (s 0.75..1 from mouth to tip,
//     t 0.25..0.5 round it) and the buoys, also the oil platforms' columns
//     (s 0.25..0.5, t 0..0.5);
//   - the day and "LIT" textures of the KSBD scenery package's objects in its
//     "custom object textures" folder.
//
// usage: gen_object_bitmaps <program folder>/
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
#include "tools/pixel_font.h"
#include "tools/tool_args.h"

namespace {

constexpr int SIZE = 256;

struct rgb {
    float r, g, b;
};

struct image {
    std::vector<rgb> px = std::vector<rgb>(size_t(SIZE) * SIZE, rgb{0, 0, 0});
    rgb& at(int x, int y) { return px[size_t(y) * SIZE + size_t(x)]; }
    // Fills the texels of the rectangle s0..s1, t0..t1 (texture coordinates).
    template <class F>
    void fill(float s0, float s1, float t0, float t1, F colour)
    {
        const int x0 = static_cast<int>(std::lround(s0 * SIZE)), x1 = static_cast<int>(std::lround(s1 * SIZE));
        const int y0 = static_cast<int>(std::lround(t0 * SIZE)), y1 = static_cast<int>(std::lround(t1 * SIZE));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) at(x, y) = colour(x - x0, y - y0, x1 - x0, y1 - y0);
    }
};

bool write_bmp(const std::filesystem::path& path, const image& im)
{
    return write_float_bmp(path, SIZE, SIZE, im.px);
}

// A little grain so that large surfaces do not look flat.
float grain(int x, int y)
{
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<float>(h % 1000u) / 1000.0f * 0.08f - 0.04f;
}

rgb shade(rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }

// A facade: wall colour with a grid of windows (cols x rows per rectangle);
// `lit` draws only the windows that are lit at night, in warm light.
struct facade {
    rgb wall, glass;
    int cols, rows;
    float window_w, window_h;   // share of a cell
    uint32_t seed;
    bool lit;
    rgb operator()(int x, int y, int w, int h) const
    {
        const float cx = static_cast<float>(x) * cols / w, cy = static_cast<float>(y) * rows / h;
        const float fx = cx - std::floor(cx), fy = cy - std::floor(cy);
        const bool window = std::fabs(fx - 0.5f) < window_w * 0.5f && std::fabs(fy - 0.5f) < window_h * 0.5f;
        const int cell = static_cast<int>(cx) * 131 + static_cast<int>(cy) * 71 + static_cast<int>(seed);
        if (lit) {
            if (!window || (cell * 2654435761u >> 28) % 3 == 0) return {0, 0, 0};
            return {0.95f, 0.82f, 0.5f};
        }
        return window ? shade(glass, 1.0f + grain(x, y)) : shade(wall, 1.0f + grain(x, y));
    }
};

rgb plain(rgb c, int x, int y) { return shade(c, 1.0f + grain(x, y)); }

// Horizontal bands: sheet metal ribs.
rgb ribbed(rgb c, int x, int y, int period)
{
    const float rib = (x % period) < period / 4 ? 0.85f : 1.0f;
    return shade(c, rib + grain(x, y));
}

void draw_buildings(image& im, bool lit)
{
    const rgb concrete{0.72f, 0.70f, 0.66f}, dark_glass{0.15f, 0.22f, 0.30f}, roof{0.35f, 0.34f, 0.33f};
    // Control tower: shaft, cab glass, cab rim.
    im.fill(0.0f, 0.25f, 0.0f, 0.39f, facade{concrete, dark_glass, 2, 8, 0.3f, 0.35f, 1, lit});
    im.fill(0.0f, 0.25f, 0.39f, 0.48f, [&](int x, int y, int, int) {
        return lit ? rgb{0.5f, 0.6f, 0.45f} : plain({0.25f, 0.38f, 0.42f}, x, y);
    });
    im.fill(0.0f, 0.25f, 0.48f, 0.5f, [&](int x, int y, int, int) { return lit ? rgb{0, 0, 0} : plain(concrete, x, y); });
    // Tall buildings' facades.
    im.fill(0.25f, 0.5f, 0.0f, 0.5f, facade{{0.55f, 0.52f, 0.48f}, dark_glass, 8, 20, 0.6f, 0.55f, 2, lit});
    im.fill(0.5f, 0.625f, 0.0f, 0.5f, facade{{0.62f, 0.60f, 0.58f}, {0.20f, 0.26f, 0.32f}, 4, 24, 0.7f, 0.6f, 3, lit});
    im.fill(0.625f, 0.75f, 0.0f, 0.5f, facade{{0.45f, 0.40f, 0.36f}, {0.18f, 0.20f, 0.24f}, 4, 18, 0.5f, 0.5f, 4, lit});
    im.fill(0.75f, 0.875f, 0.0f, 0.5f, facade{{0.30f, 0.42f, 0.50f}, {0.12f, 0.18f, 0.25f}, 4, 30, 0.85f, 0.7f, 5, lit});
    // Blocks.
    im.fill(0.875f, 1.0f, 0.0f, 0.5f, facade{{0.78f, 0.74f, 0.66f}, dark_glass, 3, 10, 0.5f, 0.45f, 6, lit});
    // Roofs: the landable roof of the tall buildings with its pad mark, and the plain roof.
    im.fill(0.0f, 0.5f, 0.5f, 1.0f, [&](int x, int y, int w, int h) {
        if (lit) return rgb{0, 0, 0};
        const float dx = static_cast<float>(x) - w * 0.5f, dy = static_cast<float>(y) - h * 0.5f;
        const float r = std::sqrt(dx * dx + dy * dy);
        const bool ring = std::fabs(r - w * 0.35f) < 2.0f;
        const bool letter = (std::fabs(dx) < 10.0f && std::fabs(dx) > 6.0f && std::fabs(dy) < 18.0f) ||
                            (std::fabs(dy) < 2.0f && std::fabs(dx) < 10.0f);
        return (ring || letter) ? rgb{0.9f, 0.9f, 0.9f} : plain(roof, x, y);
    });
    im.fill(0.5f, 1.0f, 0.5f, 1.0f, [&](int x, int y, int, int) { return lit ? rgb{0, 0, 0} : plain(roof, x, y); });
}

// Sign cell n: a character of the pixel font, two texels a column and three a row.
void sign_cell(image& im, int n, int code, rgb ink, rgb paper)
{
    const float s0 = 0.5f + static_cast<float>(n % 4) * 0.0625f, t0 = static_cast<float>(n / 4) * 0.125f;
    const pixel_glyph* g = code ? pixel_font_find(code, false) : nullptr;
    const int w = g ? pixel_glyph_width(*g) : 0;
    im.fill(s0, s0 + 0.0625f, t0, t0 + 0.125f, [&](int x, int y, int cw, int ch) {
        const bool frame = x == 0 || y == 0 || x == cw - 1 || y == ch - 1;
        const int col = (x - (cw - 2 * w) / 2) / 2, row = 6 - (y - (ch - 21) / 2) / 3;
        const bool inked = g && x >= (cw - 2 * w) / 2 && y >= (ch - 21) / 2 && pixel_glyph_ink(*g, col, row);
        if (frame) return rgb{0.9f, 0.9f, 0.9f};
        return inked ? ink : paper;
    });
}

// The runway and distance signs, the windsock and the buoys.
void draw_airport_signs(image& im)
{
    const rgb white{0.95f, 0.95f, 0.95f}, red{0.75f, 0.08f, 0.08f}, black{0.06f, 0.06f, 0.06f};
    for (int n = 0; n <= 9; ++n) sign_cell(im, n, '0' + n, white, red);
    sign_cell(im, 10, 'L', white, red);
    sign_cell(im, 11, 'R', white, red);
    for (int k = 1; k <= 3; ++k) sign_cell(im, 11 + k, '0' + k, white, black);
    sign_cell(im, 15, 0, white, red);
    im.fill(0.75f, 1.0f, 0.0f, 0.25f, [](int x, int y, int, int) { return plain({0.18f, 0.18f, 0.2f}, x, y); });
    im.fill(0.75f, 1.0f, 0.25f, 0.5f, [](int x, int, int w, int) {
        return (x * 5 / w) % 2 == 0 ? rgb{0.95f, 0.42f, 0.05f} : rgb{0.95f, 0.95f, 0.92f};
    });
    im.fill(0.25f, 0.5f, 0.0f, 0.5f, [](int x, int y, int, int h) {
        return y > h * 0.55f && y < h * 0.7f ? plain({0.92f, 0.92f, 0.9f}, x, y) : plain({0.85f, 0.25f, 0.08f}, x, y);
    });
}

void draw_surfaces(image& im)
{
    // Painted concrete of the huts, with a door.
    im.fill(0.0f, 0.25f, 0.0f, 0.5f, [](int x, int y, int w, int h) {
        const bool door = x > w * 0.4f && x < w * 0.6f && y < h * 0.45f;
        return door ? plain({0.35f, 0.35f, 0.38f}, x, y) : plain({0.88f, 0.88f, 0.85f}, x, y);
    });
    // Grey sheet metal of the hangars and the concrete of the chimneys.
    im.fill(0.0f, 0.25f, 0.5f, 1.0f, [](int x, int y, int, int) { return ribbed({0.58f, 0.60f, 0.62f}, x, y, 8); });
    // The ships' funnels and platform tops (s 0.25..0.5): grey with a black cap band.
    im.fill(0.25f, 0.5f, 0.0f, 1.0f, [](int x, int y, int, int h) {
        return (y % (h / 2)) > h / 2 * 0.85f ? plain({0.12f, 0.12f, 0.12f}, x, y) : plain({0.55f, 0.55f, 0.55f}, x, y);
    });
    // The ships' hull (s 0.5..0.75): haze grey above a red boot top at the waterline (t 0.5 and 1).
    im.fill(0.5f, 0.75f, 0.0f, 1.0f, [](int x, int y, int, int h) {
        const float t = float(y % (h / 2)) / (h / 2);
        return t < 0.08f ? plain({0.45f, 0.12f, 0.1f}, x, y) : plain({0.50f, 0.53f, 0.56f}, x, y);
    });
    // The carrier's island (s 0.75..1): grey walls with dark window bands at
    // the band edges .234, .398 and .914 of each half.
    im.fill(0.75f, 1.0f, 0.0f, 1.0f, [](int x, int y, int, int h) {
        const float t = float(y % (h / 2)) / (h / 2);
        const bool window = std::fabs(t - 0.3f) < 0.04f || std::fabs(t - 0.85f) < 0.04f || std::fabs(t - 0.95f) < 0.02f;
        return window ? plain({0.15f, 0.18f, 0.22f}, x, y) : plain({0.55f, 0.57f, 0.6f}, x, y);
    });
    // The lower halves of those columns: the airport's signs, windsock and buoys.
    draw_airport_signs(im);
}

// The KSBD package: its terminal buildings and its hangar.
void draw_package(image& day, image& lit, bool hangar)
{
    if (hangar) {
        // Walls s 0..0.5 (t 0..1), doors s 0.5..1.
        day.fill(0.0f, 0.5f, 0.0f, 1.0f, [](int x, int y, int, int) { return ribbed({0.66f, 0.55f, 0.40f}, x, y, 10); });
        day.fill(0.5f, 1.0f, 0.0f, 1.0f, [](int x, int y, int w, int) {
            return (x % (w / 4)) < 2 ? rgb{0.2f, 0.2f, 0.2f} : ribbed({0.70f, 0.72f, 0.74f}, x, y, 6);
        });
        lit.fill(0.0f, 1.0f, 0.0f, 1.0f, [](int, int y, int, int h) {
            return y > h * 0.9f ? rgb{0.6f, 0.55f, 0.4f} : rgb{0, 0, 0};   // the lamps along the eaves
        });
        return;
    }
    // Terminal: glass front s 0..0.5, plain wall s 0.5..1 (t 0..0.75), roof t 0.75..1.
    const rgb wall{0.85f, 0.80f, 0.70f}, glass{0.20f, 0.30f, 0.38f};
    day.fill(0.0f, 0.5f, 0.0f, 0.75f, facade{wall, glass, 6, 3, 0.85f, 0.7f, 7, false});
    lit.fill(0.0f, 0.5f, 0.0f, 0.75f, facade{wall, glass, 6, 3, 0.85f, 0.7f, 7, true});
    day.fill(0.5f, 1.0f, 0.0f, 0.75f, facade{wall, glass, 4, 3, 0.3f, 0.4f, 8, false});
    lit.fill(0.5f, 1.0f, 0.0f, 0.75f, facade{wall, glass, 4, 3, 0.3f, 0.4f, 8, true});
    day.fill(0.0f, 1.0f, 0.75f, 1.0f, [](int x, int y, int, int) { return plain({0.40f, 0.38f, 0.36f}, x, y); });
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_object_bitmaps <program folder>/")) return 2;
    const std::filesystem::path root(argv[1]);
    const std::filesystem::path buildings = root / "Resources" / "bitmaps" / "WORLD" / "BUILDINGS";
    const std::filesystem::path package = root / "Custom Scenery" / "Orvell KSBD" / "custom object textures";

    image day, lit, surfaces;
    draw_buildings(day, false);
    draw_buildings(lit, true);
    draw_surfaces(surfaces);
    bool ok = write_bmp(buildings / "BUILDINGS.BMP", day) && write_bmp(buildings / "BUILDINGS_LIT.BMP", lit) &&
              write_bmp(buildings / "SURFACES.BMP", surfaces);
    for (const bool hangar : {false, true}) {
        image d, l;
        draw_package(d, l, hangar);
        const std::string name = hangar ? "ksbd_hangar" : "ksbd_terminal";
        ok = ok && write_bmp(package / (name + ".bmp"), d) && write_bmp(package / (name + "LIT.bmp"), l);
    }
    if (!ok) {
        std::fprintf(stderr, "gen_object_bitmaps: cannot write the object textures below %s\n", argv[1]);
        return 1;
    }
    return 0;
}
