// Draws, by code, the pictures of the ground passes, as uncompressed 24-bit
// BMP files below "<program folder>/Resources/bitmaps/". Each carries its
// transparency the way its slot is loaded: magenta (255, 0, 255) for the
// colour-keyed ones, brightness for the ones whose alpha is their brightness.
//   WORLD/ROADS/HIGHWAY.BMP, TRAIL.BMP, RAILROAD.BMP: s across the ribbon
//     (magenta shoulders), t along it (one picture per four half-widths);
//   WORLD/ROADS/..._BRIDGE.BMP: the deck in s 0.25..0.75, the side walls in
//     s 0..0.25 and 0.75..1;
//   WORLD/ROADS/RIVERBANK.BMP: a river's banks, bright (opaque) across the
//     middle of t and fading to its edges;
//   RUNWAYS/TAXILINE.BMP: a yellow line;
//   WORLD/OVERLAYS/LANDING LIGHT.BMP: the landing light's splash, u across and
//     v along the beam (near edge at v 0), dim outside;
//   WORLD/MOVIE.BMP: 1024 x 1024, 5 x 7 numbered frames of 204 x 146, frame 0
//     at the lowest s and t, row by row;
//   WORLD/TREES/TREE_SIDE.BMP: an 8 x 8 atlas of trees (brightness);
//   WORLD/TREES/TREE1_0_0.BMP: the forest's shadow (brightness), four
//     quarters; TREE1_1_0 .. TREE1_5_0: the canopy 3 to 18 m up (magenta
//     between the crowns), the same four quarters, thinning with height;
//   WORLD/PERSON.BMP: a figure's head (t 0.75..1), body (s 0..0.75, t
//     0.35..0.75), arms (s 0.75..1) and legs (t 0..0.35).
//
// usage: gen_ground_bitmaps <program folder>/
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/random.h"
#include "graphics/ogl_image.h"
#include "tools/rgb_image.h"
#include "tools/pixel_font.h"
#include "tools/tool_args.h"

namespace {

namespace fs = std::filesystem;

constexpr rgb KEY{255, 0, 255};
constexpr rgb BLACK{0, 0, 0};
using image = rgb_image;

bool write_bmp(const std::filesystem::path& path, const image& im) { return write_rgb_bmp(path, im, 255.0f); }

rgb mix(rgb a, rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
rgb scale(rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
bool is_key(const rgb& c) { return c.r == KEY.r && c.g == KEY.g && c.b == KEY.b; }

// A repeatable grain 0..1 per texel.
float grain(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float smooth(float e0, float e1, float x)
{
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// ---------------------------------------------------------------------------
// Roads: s across (x), t along (y).

void shoulders(image& im, int px)
{
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            if (x < px || x >= im.width - px) im.at(x, y) = KEY;
}

// A road picture w x h: texel(x, y, s, t) gives each texel (s across the
// road, t along it, both 0..1 at texel centres); the shoulders are then
// keyed out.
template <class Texel>
image road_strip(int w, int h, Texel texel)
{
    image im(w, h);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            im.at(x, y) = texel(x, y, (x + 0.5f) / im.width, (y + 0.5f) / im.height);
    shoulders(im, 3);
    return im;
}

image highway()
{
    return road_strip(128, 256, [](int x, int y, float s, float t) {
        rgb c = scale(rgb{92, 92, 96}, 0.9f + 0.2f * grain(x, y, 1));
        if (std::fabs(s - 0.5f) < 0.03f) c = rgb{150, 146, 130};                       // the median
        if (std::fabs(s - 0.08f) < 0.008f || std::fabs(s - 0.92f) < 0.008f) c = rgb{228, 228, 220};   // edge lines
        // Lane dashes between the two lanes of each side.
        const bool dash = std::fmod(t * 4.0f, 1.0f) < 0.45f;
        if (dash && (std::fabs(s - 0.285f) < 0.006f || std::fabs(s - 0.715f) < 0.006f)) c = rgb{236, 236, 230};
        return c;
    });
}

image trail()
{
    return road_strip(64, 128, [](int x, int y, float s, float) {
        rgb c = mix(rgb{118, 104, 84}, rgb{96, 94, 92}, smooth(0.15f, 0.3f, std::fabs(s - 0.5f) < 0.3f ? 1.0f : 0.0f));
        c = scale(c, 0.85f + 0.3f * grain(x, y, 2));
        // Worn wheel tracks.
        if (std::fabs(s - 0.3f) < 0.05f || std::fabs(s - 0.7f) < 0.05f) c = scale(c, 0.85f);
        return c;
    });
}

image railroad()
{
    return road_strip(64, 128, [](int x, int y, float s, float t) {
        rgb c = scale(rgb{122, 116, 106}, 0.75f + 0.45f * grain(x, y, 3));   // ballast
        const bool sleeper = std::fmod(t * 20.0f, 1.0f) < 0.35f && std::fabs(s - 0.5f) < 0.22f;
        if (sleeper) c = scale(rgb{84, 64, 46}, 0.9f + 0.2f * grain(x, y, 4));
        if (std::fabs(s - 0.38f) < 0.018f || std::fabs(s - 0.62f) < 0.018f) c = rgb{176, 176, 184};   // rails
        return c;
    });
}

// A bridge: the road's picture squeezed into the deck, concrete walls with a rail.
image bridge(const image& road)
{
    image im(road.width, road.height);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            const float s = (x + 0.5f) / im.width, t = (y + 0.5f) / im.height;
            if (s >= 0.25f && s < 0.75f) {
                const int rx = std::clamp(static_cast<int>((s - 0.25f) * 2.0f * road.width), 0, road.width - 1);
                rgb c = road.px[size_t(y) * size_t(road.width) + size_t(rx)];
                if (is_key(c)) c = rgb{140, 138, 132};   // the deck's kerb where the road had its shoulder
                im.at(x, y) = c;
                continue;
            }
            // Wall: s runs from the wall's foot (outer edge) to the deck's edge.
            const float up = s < 0.25f ? s / 0.25f : (1.0f - s) / 0.25f;
            rgb c = scale(rgb{168, 164, 156}, 0.85f + 0.2f * grain(x, y, 5));
            if (up > 0.85f) c = rgb{110, 112, 118};                                // the railing
            if (std::fmod(t * 8.0f, 1.0f) < 0.05f) c = scale(c, 0.8f);              // joints
            im.at(x, y) = c;
        }
    return im;
}

image riverbank()
{
    image im(128, 128);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            const float s = (x + 0.5f) / im.width, t = (y + 0.5f) / im.height;
            const float wobble = 0.04f * std::sin(6.2831853f * (2.0f * s)) + 0.03f * std::sin(6.2831853f * (5.0f * s + 0.3f));
            const float edge = std::min(t, 1.0f - t) + wobble;
            const float v = 255.0f * smooth(0.04f, 0.16f, edge);
            im.at(x, y) = rgb{v, v, v};
        }
    return im;
}

image taxiline()
{
    image im(16, 64);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) im.at(x, y) = scale(rgb{238, 196, 40}, 0.9f + 0.1f * grain(x, y, 6));
    return im;
}

image landing_light()
{
    image im(128, 128);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            const float u = (x + 0.5f) / im.width - 0.5f, v = (y + 0.5f) / im.height;
            // Brightest a third of the way along, narrowing towards the far end.
            const float across = u / (0.22f + 0.22f * v);
            const float along = (v - 0.35f) / (v < 0.35f ? 0.35f : 0.65f);
            const float r = std::sqrt(across * across + along * along);
            const float spot = std::pow(std::clamp(1.0f - r, 0.0f, 1.0f), 0.8f);
            const float value = 255.0f * (0.25f + 0.75f * spot);
            im.at(x, y) = rgb{value, value, value * 0.92f};
        }
    return im;
}

// ---------------------------------------------------------------------------
// The movie: 35 frames, each a screen of its own colour with its number and a
// small aircraft crossing it.

void text(image& im, int x0, int y0, int k, const std::string& s, rgb c)
{
    int x = x0;
    for (char ch : s) {
        const pixel_glyph* g = pixel_font_find(static_cast<unsigned char>(ch), false);
        if (!g) continue;
        pixel_glyph_dots(*g, [&](int col, int up) {
            for (int dy = 0; dy < k; ++dy)
                for (int dx = 0; dx < k; ++dx) im.put(x + col * k + dx, y0 + up * k + dy, c);
        });
        x += (pixel_glyph_width(*g) + 1) * k;
    }
}

image movie()
{
    image im(1024, 1024, rgb{16, 16, 20});
    constexpr int FW = 204, FH = 146;
    for (int f = 0; f < 35; ++f) {
        const int x0 = (f % 5) * FW, y0 = (f / 5) * FH;
        const float hue = f / 35.0f;
        const rgb sky = mix(rgb{60, 120, 200}, rgb{230, 140, 70}, hue);
        for (int y = 0; y < FH; ++y)
            for (int x = 0; x < FW; ++x) {
                rgb c = y < FH / 4 ? rgb{70, 110, 50} : mix(sky, scale(sky, 0.6f), float(y) / FH);
                if (x < 3 || y < 3 || x >= FW - 3 || y >= FH - 3) c = rgb{20, 20, 24};
                im.at(x0 + x, y0 + y) = c;
            }
        // A small aircraft crossing the frame.
        const int px = x0 + 14 + f * (FW - 40) / 34, py = y0 + FH / 2 + static_cast<int>(18 * std::sin(f * 0.4f));
        for (int dx = -12; dx <= 12; ++dx) im.put(px + dx, py, rgb{240, 240, 240});
        for (int dy = -8; dy <= 8; ++dy) im.put(px + 2, py + dy, rgb{240, 240, 240});
        for (int dy = -3; dy <= 3; ++dy) im.put(px - 10, py + dy, rgb{240, 240, 240});
        text(im, x0 + 10, y0 + FH - 52, 5, std::to_string(f), rgb{255, 255, 255});
    }
    return im;
}

// ---------------------------------------------------------------------------
// Trees.

// A tree in a 32 x 32 cell at (x0, y0): crown shape by kind, bright greens
// (its alpha is its brightness), a trunk.
void tree_cell(image& im, int x0, int y0, int k)
{
    const int kind = k % 4;
    UTIL_srand(500 + k);
    const rgb leaf = mix(rgb{150, 214, 110}, rgb{196, 236, 150}, UTIL_rand() / float(UTIL_RAND_MAX));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float u = (x + 0.5f) / 16.0f - 1.0f, t = (y + 0.5f) / 32.0f;   // t 0 at the foot
            bool crown = false;
            switch (kind) {
            case 0: crown = t > 0.18f && std::fabs(u) < (1.0f - t) * 0.95f; break;                      // conifer
            case 1: crown = (u * u) / 0.8f + (t - 0.6f) * (t - 0.6f) / 0.12f < 1.0f; break;              // broadleaf
            case 2: crown = (u * u) / 0.12f + (t - 0.55f) * (t - 0.55f) / 0.18f < 1.0f; break;           // poplar
            default: crown = (u * u) / 0.6f + (t - 0.5f) * (t - 0.5f) / 0.1f < 1.0f && t > 0.2f; break;  // bush
            }
            const bool trunk = std::fabs(u) < 0.09f && t < 0.45f;
            rgb c = BLACK;
            if (trunk) c = rgb{170, 140, 110};
            if (crown) c = scale(leaf, 0.82f + 0.26f * grain(x + x0, y + y0, 8));
            // A soft rim: the edge texels are darker, so fainter.
            im.at(x0 + x, y0 + y) = c;
        }
}

image tree_side()
{
    image im(256, 256);
    for (int k = 0; k < 64; ++k) tree_cell(im, (k % 8) * 32, (k / 8) * 32, k);
    return im;
}

struct crown {
    float x, y;     // texels inside the quarter
    float radius;   // at the foot of the canopy
    float height;   // m
};

// The same trees for every layer, per quarter of the canopy textures.
std::vector<crown> canopy_trees(int quarter)
{
    std::vector<crown> out;
    UTIL_srand(900 + quarter);
    const int count = 55 + 15 * quarter;
    for (int n = 0; n < count; ++n) {
        crown c;
        c.x = 6 + 116.0f * UTIL_rand() / UTIL_RAND_MAX;
        c.y = 6 + 116.0f * UTIL_rand() / UTIL_RAND_MAX;
        c.radius = 5.0f + 5.0f * UTIL_rand() / UTIL_RAND_MAX;
        c.height = 8.0f + 12.0f * UTIL_rand() / UTIL_RAND_MAX;
        out.push_back(c);
    }
    return out;
}

// Layer 0: the shadow (brightness = darkness of the shadow); layers 1..5 the
// crowns cut at 3 L + 3 m, narrowing to their tops.
image canopy_layer(int L)
{
    image im(256, 256, L == 0 ? BLACK : KEY);
    const float level = 3.0f * L + 3.0f;
    for (int q = 0; q < 4; ++q) {
        const int ox = (q % 2) * 128, oy = (q / 2) * 128;
        for (const crown& c : canopy_trees(q)) {
            if (L > 0 && c.height < level) continue;
            const float r = L == 0 ? c.radius * 1.1f : c.radius * std::sqrt(std::max(0.05f, 1.0f - level / c.height));
            for (int y = int(c.y - r) - 1; y <= int(c.y + r) + 1; ++y)
                for (int x = int(c.x - r) - 1; x <= int(c.x + r) + 1; ++x) {
                    if (x < 0 || y < 0 || x >= 128 || y >= 128) continue;
                    const float d = std::hypot(x + 0.5f - c.x, y + 0.5f - c.y) / r;
                    if (d > 1.0f) continue;
                    rgb& p = im.at(ox + x, oy + y);
                    if (L == 0) {
                        const float v = 150.0f * (1.0f - smooth(0.6f, 1.0f, d));
                        p = rgb{std::max(p.r, v), std::max(p.g, v), std::max(p.b, v)};
                    } else {
                        const float shade = 0.7f + 0.3f * (1.0f - d) + 0.06f * L;
                        p = scale(mix(rgb{46, 86, 38}, rgb{78, 118, 52}, grain(x, y, 10 + q)), shade);
                    }
                }
        }
    }
    return im;
}

// ---------------------------------------------------------------------------

image person()
{
    image im(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float s = (x + 0.5f) / 64.0f, t = (y + 0.5f) / 64.0f;
            rgb c;
            if (t >= 0.75f) {
                c = t > 0.93f ? rgb{70, 50, 36} : rgb{222, 180, 150};            // hair over the face
            } else if (t >= 0.35f) {
                if (s >= 0.75f)
                    c = t < 0.45f ? rgb{222, 180, 150} : rgb{236, 110, 30};     // hands, sleeves
                else
                    c = std::fabs(t - 0.55f) < 0.03f ? rgb{230, 230, 200} : rgb{246, 124, 28};   // the vest's band
            } else {
                c = t < 0.05f ? rgb{30, 28, 26} : rgb{52, 56, 70};               // shoes, trousers
            }
            im.at(x, y) = scale(c, 0.92f + 0.08f * grain(x, y, 9));
        }
    return im;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_ground_bitmaps <program folder>/")) return 2;
    const fs::path bitmaps = fs::path(argv[1]) / "Resources" / "bitmaps";
    const fs::path roads = bitmaps / "WORLD" / "ROADS";
    const fs::path trees = bitmaps / "WORLD" / "TREES";
    int written = 0;
    bool ok = true;
    auto put = [&](const fs::path& p, const image& im) {
        if (!ok) return;
        ok = write_bmp(p, im);
        if (!ok) std::fprintf(stderr, "gen_ground_bitmaps: cannot write %s\n", p.string().c_str());
        ++written;
    };
    const image hw = highway(), tr = trail(), rr = railroad();
    put(roads / "HIGHWAY.BMP", hw);
    put(roads / "HIGHWAY_BRIDGE.BMP", bridge(hw));
    put(roads / "TRAIL.BMP", tr);
    put(roads / "TRAIL_BRIDGE.BMP", bridge(tr));
    put(roads / "RAILROAD.BMP", rr);
    put(roads / "RAILROAD_BRIDGE.BMP", bridge(rr));
    put(roads / "RIVERBANK.BMP", riverbank());
    put(bitmaps / "RUNWAYS" / "TAXILINE.BMP", taxiline());
    put(bitmaps / "WORLD" / "OVERLAYS" / "LANDING LIGHT.BMP", landing_light());
    put(bitmaps / "WORLD" / "MOVIE.BMP", movie());
    put(trees / "TREE_SIDE.BMP", tree_side());
    for (int L = 0; L <= 5; ++L) put(trees / ("TREE1_" + std::to_string(L) + "_0.BMP"), canopy_layer(L));
    put(bitmaps / "WORLD" / "PERSON.BMP", person());
    if (!ok) return 1;
    std::printf("gen_ground_bitmaps: wrote %d images\n", written);
    return 0;
}
