// Writes the world images the start-up and the terrain need, drawn by code:
//   - the sixteen frames of the sea, "TERRAIN:WATER -90+90 -180+180:SEA01.BMP"
//     .. "SEA16.BMP" (128 x 128, tiling, one wave cycle over the sixteen);
//   - every land texture the land-use table names, with its four mask images
//     "_C1" .. "_C4" (the texture 256 x 256 and tiling; the masks 128 x 128,
//     and 128 x 64 for "_C4", four 64 x 64 border masks in their brightness,
//     two in "_C4");
//   - the sky colour table "skycolors.bmp" (256 x 256);
//   - the intro picture "intro.bmp" (1024 x 768), shown while the program starts;
//   - the synthetic-vision grids "WORLD:HITS1.BMP" (land) and "HITS2.BMP" (water).
// All are uncompressed 24-bit BMP files below "<program folder>/Resources/bitmaps/".
//
// usage: gen_world_bitmaps <land-use table> <program folder>/
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/ogl_image.h"
#include "tools/rgb_image.h"
#include "tools/tiling_noise.h"
#include "core/random.h"
#include "core/units.h"
#include "tools/tool_args.h"

namespace {

using image = rgb_image;

bool write_bmp(const std::filesystem::path& path, const image& im) { return write_rgb_bmp(path, im, 255.0f); }

// Several octaves over a square picture of `size` texels: 0..1, tiling.
class fractal {
public:
    fractal(int size, int first_period, int octaves, uint32_t seed) : size_(size)
    {
        int p = first_period;
        for (int o = 0; o < octaves; ++o, p *= 2) {
            layers_.emplace_back(p, seed + 977u * uint32_t(o));
            periods_.push_back(p);
        }
    }
    float at(int x, int y) const
    {
        float sum = 0.0f, weight = 0.0f, amp = 1.0f;
        for (size_t o = 0; o < layers_.size(); ++o) {
            const float cells = static_cast<float>(periods_[o]) / static_cast<float>(size_);
            sum += amp * layers_[o].at(static_cast<float>(x) * cells, static_cast<float>(y) * cells);
            weight += amp;
            amp *= 0.5f;
        }
        return weight > 0 ? sum / weight : 0.0f;
    }

private:
    int size_;
    std::vector<tiling_noise> layers_;
    std::vector<int> periods_;
};

rgb mix(rgb a, rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
rgb scale(rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }

// ---------------------------------------------------------------------------
// The sea.

image sea_frame(int frame, int frames)
{
    constexpr int SIZE = 128;
    image im(SIZE, SIZE);
    const fractal swell(SIZE, 4, 4, 4242);
    // Waves with whole wave numbers across the tile keep it seamless; each
    // moves a whole number of its periods over the sixteen frames.
    struct wave {
        int kx, ky, speed;
        float amp;
    };
    const wave waves[] = {{3, 1, 1, 0.35f}, {-2, 3, 2, 0.25f}, {5, -4, 3, 0.15f}, {1, 7, -2, 0.12f}, {9, 2, 4, 0.08f}};
    const double phase = TWO_PI_DOUBLE * frame / frames;
    const rgb deep{22, 58, 92}, light{70, 120, 150};
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            double h = 0;
            for (const wave& w : waves)
                h += w.amp * std::sin(TWO_PI_DOUBLE * (w.kx * x + w.ky * y) / SIZE - w.speed * phase);
            const float t = std::clamp(0.5f + 0.45f * static_cast<float>(h) + 0.3f * (swell.at(x, y) - 0.5f), 0.0f, 1.0f);
            im.at(x, y) = mix(deep, light, t * t);
        }
    return im;
}

// ---------------------------------------------------------------------------
// Land textures, chosen by a word in the texture's name.

image land_texture(const std::string& name, uint32_t seed)
{
    constexpr int SIZE = 256;
    image im(SIZE, SIZE);
    const fractal broad(SIZE, 4, 5, seed);
    const fractal fine(SIZE, 32, 3, seed + 11);
    auto has = [&](const char* word) { return name.find(word) != std::string::npos; };

    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const float b = broad.at(x, y), f = fine.at(x, y);
            rgb c;
            if (has("FARM")) {
                // A patchwork of fields, four by four, with furrows.
                const int fx = x / 64, fy = y / 64;
                UTIL_srand(seed + uint32_t(fy * 4 + fx) * 31u);
                static const rgb crops[] = {{118, 140, 62}, {160, 150, 84}, {104, 124, 58}, {140, 112, 74}, {176, 168, 96}};
                c = crops[UTIL_rand() % 5];
                const bool furrow = ((UTIL_rand() % 2) ? x : y) % 4 == 0;
                if (furrow) c = scale(c, 0.9f);
                if (x % 64 == 0 || y % 64 == 0) c = {96, 104, 62};   // hedges
                c = scale(c, 0.9f + 0.2f * b);
            } else if (has("FOREST")) {
                c = mix(rgb{28, 52, 26}, rgb{66, 96, 48}, std::clamp(0.3f * b + 0.9f * (f - 0.2f), 0.0f, 1.0f));
            } else if (has("SCRUB")) {
                c = mix(rgb{112, 108, 70}, rgb{86, 100, 56}, std::clamp(1.6f * (f - 0.3f), 0.0f, 1.0f));
                c = scale(c, 0.85f + 0.3f * b);
            } else if (has("DESERT")) {
                const float ripple = 0.5f + 0.5f * static_cast<float>(std::sin(TWO_PI_DOUBLE * (6 * x + 2 * y) / SIZE + 5.0 * b));
                c = mix(rgb{196, 168, 120}, rgb{222, 200, 150}, 0.6f * ripple + 0.4f * f);
            } else if (has("ROCK")) {
                c = mix(rgb{96, 90, 84}, rgb{158, 150, 138}, std::clamp(0.6f * b + 0.7f * (f - 0.25f), 0.0f, 1.0f));
            } else if (has("SNOW")) {
                c = mix(rgb{214, 220, 232}, rgb{246, 248, 252}, std::clamp(0.5f * b + 0.5f * f, 0.0f, 1.0f));
            } else if (has("URBAN_AIRPORT")) {
                // Airport grounds in town: grass between aprons and service roads.
                c = mix(rgb{86, 112, 58}, rgb{112, 134, 72}, std::clamp(0.6f * b + 0.5f * (f - 0.25f), 0.0f, 1.0f));
                if ((x / 64 + y / 64) % 3 == 0) c = scale(rgb{132, 132, 128}, 0.92f + 0.16f * f);   // aprons
                if (x % 128 < 6 || y % 128 < 6) c = {88, 88, 90};                                  // roads
            } else if (has("URBAN")) {
                // Blocks between streets, roofs of varied grey and red; the core's blocks are
                // small and dark, the commercial ones large and pale, the squares hold parks.
                const int block = has("URBAN_CORE") ? 16 : (has("URBAN_BLOCKS") ? 64 : 32);
                const int bx = x / block, by = y / block;
                UTIL_srand(seed + uint32_t(by * 16 + bx) * 17u);
                static const rgb roofs[] = {{120, 118, 116}, {150, 146, 140}, {138, 96, 82}, {104, 106, 110}, {166, 160, 150}};
                c = roofs[UTIL_rand() % 5];
                if (has("URBAN_CORE")) c = scale(c, 0.8f);
                if (has("URBAN_BLOCKS")) c = mix(c, rgb{190, 188, 182}, 0.35f);
                if (has("URBAN_SQUARES") && (bx + by) % 2 == 0) c = mix(rgb{70, 104, 50}, rgb{98, 128, 64}, f);   // parks
                const int street = block / 8;
                if (x % block < street || y % block < street) c = {82, 82, 84};   // streets
                else if ((x / 8 + y / 8) % 3 == 0) c = scale(c, 0.85f);
                c = scale(c, 0.9f + 0.2f * f);
            } else if (has("WETLAND")) {
                const bool water = b < 0.42f;
                c = water ? mix(rgb{52, 72, 84}, rgb{70, 92, 100}, f) : mix(rgb{72, 96, 60}, rgb{100, 118, 70}, f);
            } else if (has("TUNDRA")) {
                c = mix(rgb{118, 116, 90}, rgb{160, 150, 118}, std::clamp(0.5f * b + 0.6f * (f - 0.2f), 0.0f, 1.0f));
            } else {   // grass and anything unnamed
                c = mix(rgb{72, 104, 46}, rgb{110, 138, 66}, std::clamp(0.6f * b + 0.5f * (f - 0.25f), 0.0f, 1.0f));
            }
            im.at(x, y) = c;
        }
    return im;
}

// The border masks. A cell's corners, in texture coordinates (s along the
// columns, t along the rows): c0 (0, 0), c1 (0, 1), c2 (1, 1), c3 (1, 0).
// A mask is bright where the corners that carry the overlay texture are.
float corner_weight(int corner, float s, float t)
{
    switch (corner) {
    case 0: return (1 - s) * (1 - t);
    case 1: return (1 - s) * t;
    case 2: return s * t;
    default: return s * (1 - t);
    }
}

void draw_mask(image& im, int col0, int row0, int size, const std::vector<int>& corners, const fractal& wobble)
{
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float s = (static_cast<float>(x) + 0.5f) / static_cast<float>(size);
            const float t = (static_cast<float>(y) + 0.5f) / static_cast<float>(size);
            float w = 0;
            for (int c : corners) w += corner_weight(c, s, t);
            w += 0.25f * (wobble.at(col0 + x, row0 + y) - 0.5f);
            const float a = std::clamp((w - 0.3f) / 0.4f, 0.0f, 1.0f);
            const float v = 255.0f * a * a * (3.0f - 2.0f * a);
            im.at(col0 + x, row0 + y) = rgb{v, v, v};
        }
}

// Quadrants: 0 columns 0..S-1 rows 0..S-1; 1 columns 0..S-1 rows S..2S-1;
// 2 columns S..2S-1 rows S..2S-1; 3 columns S..2S-1 rows 0..S-1.
image mask_image(const std::array<std::vector<int>, 4>& quadrants, uint32_t seed)
{
    constexpr int S = 64;
    image im(2 * S, 2 * S);
    const fractal wobble(2 * S, 8, 3, seed);
    const int cols[4] = {0, 0, S, S}, rows[4] = {0, S, S, 0};
    for (int q = 0; q < 4; ++q) draw_mask(im, cols[q], rows[q], S, quadrants[q], wobble);
    return im;
}

image diagonal_mask_image(uint32_t seed)
{
    constexpr int S = 64;
    image im(2 * S, S);
    const fractal wobble(2 * S, 8, 3, seed);
    draw_mask(im, 0, 0, S, {1, 3}, wobble);
    draw_mask(im, S, 0, S, {0, 2}, wobble);
    return im;
}

// ---------------------------------------------------------------------------
// The sky colour table: ten sky states in columns 14 wide. Per state: its
// light colour in rows 0..15, the first (ambient) colour in rows 16..22 of
// the left half and the second (sunlight) colour in the right half, then the
// ten bands from the horizon up at rows 33 + 24.56 j, blended between.

struct sky_state {
    rgb horizon, zenith, first, second, light;
};

image sky_colours()
{
    const sky_state states[10] = {
        {{196, 212, 230}, {58, 108, 188}, {196, 198, 210}, {255, 250, 236}, {255, 255, 246}},   // Earth, day
        {{236, 190, 140}, {72, 102, 162}, {188, 160, 142}, {255, 212, 164}, {242, 204, 164}},   // low sun
        {{150, 102, 92}, {30, 40, 82}, {90, 82, 102}, {162, 112, 92}, {142, 112, 112}},        // dusk
        {{20, 26, 42}, {3, 5, 16}, {26, 26, 42}, {32, 32, 46}, {42, 42, 62}},                  // night
        {{172, 176, 182}, {150, 156, 162}, {176, 178, 182}, {214, 214, 216}, {210, 210, 212}},  // overcast, day
        {{152, 142, 136}, {120, 120, 126}, {140, 132, 128}, {180, 164, 150}, {170, 158, 150}},  // overcast, low sun
        {{82, 76, 80}, {60, 60, 66}, {70, 66, 72}, {96, 88, 88}, {92, 86, 88}},                // overcast, dusk
        {{16, 16, 20}, {8, 8, 10}, {18, 18, 22}, {22, 22, 26}, {28, 28, 34}},                  // overcast, night
        {{212, 172, 130}, {168, 120, 90}, {182, 150, 120}, {242, 212, 172}, {232, 202, 170}},  // Mars, day
        {{26, 16, 12}, {5, 3, 3}, {24, 18, 16}, {30, 22, 18}, {36, 28, 24}},                   // Mars, night
    };
    image im(256, 256);
    for (int i = 0; i < 10; ++i) {
        const sky_state& s = states[i];
        for (int dx = 0; dx < 14; ++dx) {
            const int x = 14 * i + dx;
            for (int y = 0; y < 256; ++y) {
                rgb c;
                if (y < 16) {
                    c = s.light;
                } else if (y < 23) {
                    c = dx < 7 ? s.first : s.second;
                } else {
                    // Band j sits at row 33 + 24.555555 j: horizon at j = 0, zenith at j = 9.
                    const float j = std::clamp((static_cast<float>(y) - 33.0f) / 24.555555f, 0.0f, 9.0f);
                    const float t = j / 9.0f;
                    c = mix(s.horizon, s.zenith, std::sqrt(t));
                }
                im.at(x, y) = c;
            }
        }
    }
    return im;
}

// ---------------------------------------------------------------------------
// The intro picture: a morning sky over a plain, a runway running to the
// horizon and a low-wing trainer climbing away, seen from behind.

bool inside_polygon(const std::vector<std::array<float, 2>>& poly, float x, float y)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const float xi = poly[i][0], yi = poly[i][1], xj = poly[j][0], yj = poly[j][1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

image intro_picture()
{
    constexpr int W = 1024, H = 768;
    constexpr float HORIZON = 300.0f;   // rows from the bottom
    image im(W, H);
    const fractal clouds(1024, 6, 6, 777);
    const fractal ground(1024, 16, 5, 778);
    const rgb sky_low{236, 214, 182}, sky_high{70, 118, 190}, field_near{70, 98, 48}, field_far{132, 146, 120};

    // The runway: a trapezoid from the bottom edge to a point near the horizon.
    const std::vector<std::array<float, 2>> runway = {{392, 0}, {632, 0}, {520, HORIZON - 6}, {504, HORIZON - 6}};
    // The trainer from behind: fuselage, low wing with dihedral, tailplane and fin.
    const float cx = 640, cy = 540;
    const std::vector<std::vector<std::array<float, 2>>> plane = {
        {{cx - 230, cy + 10}, {cx - 14, cy - 14}, {cx + 14, cy - 14}, {cx + 230, cy + 10}, {cx + 230, cy + 20},
         {cx + 14, cy - 2}, {cx - 14, cy - 2}, {cx - 230, cy + 20}},                                   // wing
        {{cx - 18, cy - 20}, {cx + 18, cy - 20}, {cx + 22, cy + 24}, {cx - 22, cy + 24}},               // fuselage
        {{cx - 80, cy + 30}, {cx + 80, cy + 30}, {cx + 80, cy + 38}, {cx - 80, cy + 38}},               // tailplane
        {{cx - 4, cy + 30}, {cx + 4, cy + 30}, {cx + 3, cy + 92}, {cx - 3, cy + 88}},                   // fin
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
            rgb c;
            if (fy >= HORIZON) {
                const float t = std::pow((fy - HORIZON) / (H - HORIZON), 0.6f);
                c = mix(sky_low, sky_high, t);
                const float n = clouds.at(x, (y * 3) % 1024);
                const float cover = std::clamp((n - 0.55f) * 4.0f, 0.0f, 0.8f) * (1.0f - 0.5f * t);
                c = mix(c, rgb{248, 244, 238}, cover);
                const float sun = std::hypot(fx - 250.0f, fy - 380.0f);
                if (sun < 120.0f) c = mix(c, rgb{255, 250, 230}, std::pow(1.0f - sun / 120.0f, 2.0f));
            } else {
                const float depth = (HORIZON - fy) / HORIZON;   // 0 at the horizon, 1 at the bottom
                c = mix(field_far, field_near, std::pow(depth, 0.7f));
                c = scale(c, 0.85f + 0.3f * ground.at(x, y));
                if (inside_polygon(runway, fx, fy)) {
                    c = mix(rgb{120, 122, 126}, rgb{70, 72, 76}, depth);
                    const float centre = std::fabs(fx - 512.0f) / (8.0f + 112.0f * depth);
                    if (centre < 0.035f && static_cast<int>((1.0f - depth) * (1.0f - depth) * 60.0f) % 2 == 0)
                        c = rgb{236, 236, 230};
                }
            }
            for (const auto& part : plane)
                if (inside_polygon(part, fx, fy)) c = rgb{46, 52, 64};
            im.at(x, y) = c;
        }
    return im;
}

// ---------------------------------------------------------------------------
// The land-use table: the textures of its 80 rows, in the order they are first
// named, with the water flag of the row that named each first.

struct named_texture {
    std::string name;
    bool water;
};

bool read_land_use(const char* path, std::vector<named_texture>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    for (int i = 0; i < 7; ++i)   // the header and the five comment lines
        if (!std::getline(in, line)) return false;
    for (int r = 0; r < 80 && std::getline(in, line); ++r) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string label;
        int code = -1;
        if (!(fields >> label >> code)) return false;
        std::string texture;
        std::getline(fields, texture);
        texture.erase(0, texture.find_first_not_of(" \t"));
        if (std::none_of(out.begin(), out.end(), [&](const named_texture& t) { return t.name == texture; }))
            out.push_back({texture, code == 14 || code == 15});
    }
    return true;
}

// The synthetic-vision grids, "WORLD:HITS1.BMP" (land) and "WORLD:HITS2.BMP"
// (water): one cell of the terrain per texture repeat, a flat colour with a
// lighter line along two of its edges, so the repeats draw a grid.
image synthetic_vision_grid(bool water)
{
    constexpr int side = 64;
    image im(side, side);
    const rgb fill = water ? rgb{28, 70, 150} : rgb{70, 120, 50};
    const rgb line = water ? rgb{120, 170, 240} : rgb{170, 220, 120};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) im.at(x, y) = (x < 2 || y < 2) ? line : fill;
    return im;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 2, "gen_world_bitmaps <land-use table> <program folder>/")) return 2;
    const std::filesystem::path bitmaps = std::filesystem::path(argv[2]) / "Resources" / "bitmaps";
    int written = 0;
    auto put = [&](const std::filesystem::path& p, const image& im) {
        if (!write_bmp(p, im)) {
            std::fprintf(stderr, "gen_world_bitmaps: cannot write %s\n", p.string().c_str());
            return false;
        }
        ++written;
        return true;
    };

    const std::filesystem::path sea = bitmaps / "terrain" / "WATER -90+90 -180+180";
    for (int k = 1; k <= 16; ++k) {
        char file[16];
        std::snprintf(file, sizeof file, "SEA%02d.BMP", k);
        if (!put(sea / file, sea_frame(k - 1, 16))) return 1;
    }

    std::vector<named_texture> textures;
    if (!read_land_use(argv[1], textures)) {
        std::fprintf(stderr, "gen_world_bitmaps: cannot read the land-use table %s\n", argv[1]);
        return 1;
    }
    uint32_t seed = 1000;
    for (const named_texture& t : textures) {
        if (t.water) continue;
        // "region:NAME" becomes the file "terrain/region/NAME0_000...".
        std::string relative = t.name;
        std::replace(relative.begin(), relative.end(), ':', '/');
        const std::filesystem::path base = bitmaps / "terrain" / (relative + "0_000");
        seed += 100;
        if (!put(base.string() + ".BMP", land_texture(t.name, seed))) return 1;
        if (!put(base.string() + "_C1.BMP", mask_image({{{0, 1, 3}, {0, 1, 2}, {1, 2, 3}, {0, 2, 3}}}, seed + 1)))
            return 1;
        if (!put(base.string() + "_C2.BMP", mask_image({{{2}, {3}, {0}, {1}}}, seed + 2))) return 1;
        if (!put(base.string() + "_C3.BMP", mask_image({{{0, 3}, {0, 1}, {1, 2}, {2, 3}}}, seed + 3))) return 1;
        if (!put(base.string() + "_C4.BMP", diagonal_mask_image(seed + 4))) return 1;
    }

    if (!put(bitmaps / "skycolors.bmp", sky_colours())) return 1;
    if (!put(bitmaps / "intro.bmp", intro_picture())) return 1;
    if (!put(bitmaps / "WORLD" / "HITS1.BMP", synthetic_vision_grid(false))) return 1;
    if (!put(bitmaps / "WORLD" / "HITS2.BMP", synthetic_vision_grid(true))) return 1;
    std::printf("gen_world_bitmaps: wrote %d images\n", written);
    return 0;
}
