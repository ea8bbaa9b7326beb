// Draws the runway pictures the world texture set loads into slots 50..174,
// by code, as uncompressed 24-bit BMP files of 128 x 128 texels under
// "<program folder>/Resources/bitmaps/RUNWAYS/":
//   - for the asphalt and the concrete pavement each: the blast pad
//     ("RWAY_BLAS"), the displaced threshold's rows ("RWAY_DIS1" .. "DIS3"),
//     the threshold bars ("RWAY_THR1", wide "RWAY_THR2"), the side letters
//     and the blank letter row ("NUMBERS:RWAY_L", "_C", "_R", "_SPACE"), the
//     numbers 1..36 ("NUMBERS:RWAY_1" ..), the start of the centre line
//     ("NUMBERS:RWAY_SEMI"), the aiming point and the touchdown zone marks
//     ("RWAY_FDMK", "RWAY_TDZ1" .. "TDZ3"), the turn pad and the plain
//     pavement ("RWAY_TURN", "RWAY_PAVE"), the centre-line row ("RWAY_LINE"),
//     the blast shoulders of both sides ("RWAY_LAT_L_BLAST", "_R_") and the
//     helipad ("HELIPAD");
//   - the grass, dirt, gravel and lakebed strips ("RWAY_LINE", threshold row
//     "RWAY_THR1"), and the grass and dirt helipads, in magenta (the key
//     colour) wherever the ground around them shows;
//   - the skid marks "SKIDS.BMP", white where the pavement keeps its colour.
// A picture is one section of a strip: s runs across from the left edge, t
// along from the threshold, rows from the bottom; numbers and letters stand
// upright for a pilot on the approach.
//
// usage: gen_runway_bitmaps <program folder>/
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

constexpr int SIDE = 128;

struct rgb {
    float r, g, b;
};
constexpr rgb WHITE = {0.93f, 0.93f, 0.9f};
constexpr rgb YELLOW = {0.92f, 0.78f, 0.15f};
constexpr rgb KEY = {1.0f, 0.0f, 1.0f};

struct image {
    std::vector<rgb> px = std::vector<rgb>(size_t(SIDE) * SIDE);
    rgb& at(int x, int y) { return px[size_t(y) * SIDE + size_t(x)]; }
    // Fills the texels whose centres (s, t in 0..1) fall inside the box.
    void box(float s0, float t0, float s1, float t1, rgb c)
    {
        for (int y = 0; y < SIDE; ++y)
            for (int x = 0; x < SIDE; ++x) {
                const float s = (x + 0.5f) / SIDE, t = (y + 0.5f) / SIDE;
                if (s >= s0 && s < s1 && t >= t0 && t < t1) at(x, y) = c;
            }
    }
};

bool write_bmp(const std::filesystem::path& path, const image& im)
{
    return write_float_bmp(path, SIDE, SIDE, im.px);
}

// Pavement: a base colour with fine grain that tiles along t.
image pavement(rgb base, uint32_t seed)
{
    image im;
    UTIL_srand(seed);
    for (rgb& p : im.px) {
        const float k = 1.0f + (UTIL_rand() / 32767.0f - 0.5f) * 0.12f;
        p = {base.r * k, base.g * k, base.b * k};
    }
    return im;
}

// An unpaved strip: its surface in the middle, the edges ragged, the ground beyond in the key colour.
image unpaved(rgb base, uint32_t seed)
{
    image im = pavement(base, seed);
    for (int y = 0; y < SIDE; ++y) {
        const int ragged = 3 + static_cast<int>(2.0f * std::sin(y * 0.35f) + 2.0f * std::sin(y * 0.9f + 1.0f));
        for (int x = 0; x < SIDE; ++x)
            if (x < ragged || x >= SIDE - ragged) im.at(x, y) = KEY;
    }
    return im;
}

// A text of the project's pixel font centred across the picture, 7/8 of its
// length tall: each font column three texels wide, each row sixteen high.
void centred_text(image& im, const std::string& text)
{
    constexpr int CW = 3, RH = 16, GAP = 4, BOTTOM = 8;
    int width = -GAP;
    for (char c : text)
        if (const pixel_glyph* g = pixel_font_find(c, false)) width += pixel_glyph_width(*g) * CW + GAP;
    int x0 = (SIDE - width) / 2;
    for (char c : text) {
        const pixel_glyph* g = pixel_font_find(c, false);
        if (!g) continue;
        pixel_glyph_dots(*g, [&](int col, int up) {
            for (int y = 0; y < RH; ++y)
                for (int x = 0; x < CW; ++x) im.at(x0 + col * CW + x, BOTTOM + up * RH + y) = WHITE;
        });
        x0 += pixel_glyph_width(*g) * CW + GAP;
    }
}

void edge_lines(image& im, rgb c)
{
    im.box(0.02f, 0.0f, 0.04f, 1.0f, c);
    im.box(0.96f, 0.0f, 0.98f, 1.0f, c);
}

void centre_dash(image& im, float t0, float t1) { im.box(0.485f, t0, 0.515f, t1, WHITE); }

// Touchdown-zone bars: `bars` of them on each side of the centre line.
void zone_bars(image& im, int bars)
{
    for (int k = 0; k < bars; ++k) {
        const float s = 0.12f + k * 0.06f;
        im.box(s, 0.2f, s + 0.035f, 0.8f, WHITE);
        im.box(1.0f - s - 0.035f, 0.2f, 1.0f - s, 0.8f, WHITE);
    }
}

// Chevrons pointing to the threshold (toward t = 1).
void chevron(image& im, rgb c)
{
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x) {
            const float s = (x + 0.5f) / SIDE, t = (y + 0.5f) / SIDE;
            const float v = t + std::fabs(s - 0.5f) * 0.8f;
            if (std::fmod(v, 0.5f) < 0.12f && s > 0.06f && s < 0.94f) im.at(x, y) = c;
        }
}

// Arrowheads pointing to the threshold.
void arrowheads(image& im)
{
    for (float centre : {0.25f, 0.5f, 0.75f})
        for (int y = 0; y < SIDE; ++y)
            for (int x = 0; x < SIDE; ++x) {
                const float s = (x + 0.5f) / SIDE, t = (y + 0.5f) / SIDE;
                const float off = std::fabs(s - centre);
                if (t > 0.45f && t < 0.9f && off < (0.9f - t) * 0.18f) im.at(x, y) = WHITE;
            }
}

// Diagonal stripes of a blast shoulder; the runway's edge (s 0 on the left, 1 on the right) keeps a line.
image shoulder(rgb base, uint32_t seed, bool left)
{
    image im = pavement(base, seed);
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x) {
            const float s = (x + 0.5f) / SIDE, t = (y + 0.5f) / SIDE;
            const float v = (left ? s : 1.0f - s) + t;
            if (std::fmod(v, 0.5f) < 0.1f) im.at(x, y) = YELLOW;
        }
    if (left)
        im.box(0.0f, 0.0f, 0.05f, 1.0f, WHITE);
    else
        im.box(0.95f, 0.0f, 1.0f, 1.0f, WHITE);
    return im;
}

// A helipad: its surface in a circle (the key colour outside when `keyed`), a ring and an H.
image helipad(rgb base, uint32_t seed, bool keyed)
{
    image im = pavement(base, seed);
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x) {
            const float s = (x + 0.5f) / SIDE - 0.5f, t = (y + 0.5f) / SIDE - 0.5f;
            const float r = std::sqrt(s * s + t * t);
            if (r > 0.48f && keyed) im.at(x, y) = KEY;
            else if (r > 0.40f && r < 0.45f) im.at(x, y) = WHITE;
        }
    im.box(0.33f, 0.27f, 0.40f, 0.73f, WHITE);
    im.box(0.60f, 0.27f, 0.67f, 0.73f, WHITE);
    im.box(0.40f, 0.47f, 0.60f, 0.53f, WHITE);
    return im;
}

image skids()
{
    image im;
    for (rgb& p : im.px) p = {1.0f, 1.0f, 1.0f};
    UTIL_srand(9001);
    // Rubber left by the main wheels either side of the centre line.
    for (int streak = 0; streak < 60; ++streak) {
        const float s = 0.34f + (UTIL_rand() / 32767.0f) * 0.32f;
        const float t0 = UTIL_rand() / 32767.0f, len = 0.1f + (UTIL_rand() / 32767.0f) * 0.5f;
        const float dark = 0.55f + (UTIL_rand() / 32767.0f) * 0.35f;
        const int x = static_cast<int>(s * SIDE);
        for (int y = static_cast<int>(t0 * SIDE); y < static_cast<int>((t0 + len) * SIDE); ++y)
            for (int dx = 0; dx < 2; ++dx) {
                rgb& p = im.at(std::min(x + dx, SIDE - 1), y % SIDE);
                p = {std::min(p.r, dark), std::min(p.g, dark), std::min(p.b, dark)};
            }
    }
    return im;
}

struct surface {
    const char* folder;
    rgb base;
};

void paved_set(const std::filesystem::path& root, const surface& sf, uint32_t seed, int& written, int& failed)
{
    const std::filesystem::path dir = root / sf.folder;
    auto save = [&](const std::string& name, const image& im) { (write_bmp(dir / name, im) ? written : failed)++; };
    auto plain = [&] { return pavement(sf.base, seed++); };

    image im = plain();
    chevron(im, YELLOW);
    save("RWAY_BLAS.BMP", im);
    im = plain();
    centre_dash(im, 0.2f, 0.8f);
    save("RWAY_DIS1.BMP", im);
    im = plain();
    centre_dash(im, 0.0f, 0.45f);
    arrowheads(im);
    save("RWAY_DIS2.BMP", im);
    im = plain();
    arrowheads(im);
    im.box(0.04f, 0.9f, 0.96f, 0.97f, WHITE);
    save("RWAY_DIS3.BMP", im);
    for (int wide = 0; wide < 2; ++wide) {
        im = plain();
        const int bars = wide ? 8 : 4;
        for (int k = 0; k < bars; ++k) {
            const float s = 0.06f + k * (0.38f / bars);
            im.box(s, 0.1f, s + 0.025f, 0.9f, WHITE);
            im.box(1.0f - s - 0.025f, 0.1f, 1.0f - s, 0.9f, WHITE);
        }
        save(wide ? "RWAY_THR2.BMP" : "RWAY_THR1.BMP", im);
    }
    for (const char* letter : {"L", "C", "R"}) {
        im = plain();
        centred_text(im, letter);
        save(std::string("NUMBERS/RWAY_") + letter + ".BMP", im);
    }
    save("NUMBERS/RWAY_SPACE.BMP", plain());
    for (int n = 1; n <= 36; ++n) {
        im = plain();
        char text[3];
        std::snprintf(text, sizeof text, "%02d", n);
        centred_text(im, text);
        save("NUMBERS/RWAY_" + std::to_string(n) + ".BMP", im);
    }
    im = plain();
    centre_dash(im, 0.5f, 1.0f);
    save("NUMBERS/RWAY_SEMI.BMP", im);
    im = plain();
    im.box(0.2f, 0.1f, 0.32f, 0.9f, WHITE);
    im.box(0.68f, 0.1f, 0.8f, 0.9f, WHITE);
    centre_dash(im, 0.0f, 0.5f);
    save("RWAY_FDMK.BMP", im);
    for (int k = 1; k <= 3; ++k) {
        im = plain();
        zone_bars(im, k);
        centre_dash(im, 0.0f, 0.5f);
        save("RWAY_TDZ" + std::to_string(k) + ".BMP", im);
    }
    im = plain();
    im.box(0.49f, 0.0f, 0.51f, 1.0f, YELLOW);
    save("RWAY_TURN.BMP", im);
    im = plain();
    edge_lines(im, WHITE);
    save("RWAY_PAVE.BMP", im);
    im = plain();
    edge_lines(im, WHITE);
    centre_dash(im, 0.0f, 0.5f);
    save("RWAY_LINE.BMP", im);
    save("RWAY_LAT_L_BLAST.BMP", shoulder(sf.base, seed++, true));
    save("RWAY_LAT_R_BLAST.BMP", shoulder(sf.base, seed++, false));
    save("HELIPAD.BMP", helipad(sf.base, seed++, false));
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_runway_bitmaps <program folder>/")) return 2;
    const std::filesystem::path root = std::filesystem::path(argv[1]) / "Resources" / "bitmaps" / "RUNWAYS";
    int written = 0, failed = 0;
    paved_set(root, {"ASPHALT", {0.24f, 0.24f, 0.25f}}, 100, written, failed);
    paved_set(root, {"CONCRETE", {0.62f, 0.61f, 0.58f}}, 200, written, failed);

    const surface soft[] = {{"GRASS", {0.30f, 0.47f, 0.20f}},
                            {"DIRT", {0.50f, 0.38f, 0.25f}},
                            {"GRAV", {0.55f, 0.53f, 0.49f}},
                            {"LAKEBED", {0.78f, 0.74f, 0.64f}}};
    uint32_t seed = 300;
    for (const surface& sf : soft) {
        const std::filesystem::path dir = root / sf.folder;
        image line = unpaved(sf.base, seed++);
        (write_bmp(dir / "RWAY_LINE.BMP", line) ? written : failed)++;
        image threshold = unpaved(sf.base, seed++);
        // White markers at the corners of the threshold.
        threshold.box(0.06f, 0.4f, 0.14f, 0.6f, WHITE);
        threshold.box(0.86f, 0.4f, 0.94f, 0.6f, WHITE);
        (write_bmp(dir / "RWAY_THR1.BMP", threshold) ? written : failed)++;
        if (sf.folder == std::string("GRASS") || sf.folder == std::string("DIRT"))
            (write_bmp(dir / "HELIPAD.BMP", helipad(sf.base, seed++, true)) ? written : failed)++;
    }
    (write_bmp(root / "SKIDS.BMP", skids()) ? written : failed)++;
    if (failed) {
        std::fprintf(stderr, "gen_runway_bitmaps: %d pictures could not be written\n", failed);
        return 1;
    }
    std::printf("gen_runway_bitmaps: %d pictures\n", written);
    return 0;
}
