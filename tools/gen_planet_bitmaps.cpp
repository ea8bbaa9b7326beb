// Writes the planet pictures the globe screen and the planet seen from high
// up are drawn with, each planet in two halves of 1024 x 1024 texels:
//   - "EARTH1.BMP" the western half (longitude -180 to 0 across), "EARTH2.BMP"
//     the eastern (0 to 180), latitude -90 at the bottom to 90 at the top:
//     the sea, the land masses of the coast outlines (a text file of
//     longitudes and latitudes) coloured by their climate belts and dry
//     regions, the ice of Antarctica, Greenland and the polar seas;
//   - "MARS1.BMP" and "MARS2.BMP" likewise: the rusty ground with the dark
//     and bright regions and the great volcanoes and canyon, and the caps.
// Uncompressed 24-bit BMP files in "<program folder>/Resources/bitmaps/".
//
// usage: gen_planet_bitmaps <coast outlines> <program folder>/
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/rgb_image.h"
#include "tools/tiling_noise.h"
#include "tools/tool_args.h"

namespace {

constexpr int HALF = 1024;           // texels per half, each way
constexpr int WIDE = 2 * HALF;       // the whole round of longitude

struct outline {
    bool land = true;
    bool ice = false;                // under ice all over
    std::vector<std::pair<float, float>> points;   // longitude, latitude
};

bool read_outlines(const char* path, std::vector<outline>& out)
{
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    outline* current = nullptr;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        if (first == "land" || first == "water") {
            out.push_back({});
            current = &out.back();
            current->land = first == "land";
            std::string name;
            std::getline(words >> std::ws, name);
            current->ice = name == "Greenland" || name == "Antarctica";
        } else if (first == "end") {
            current = nullptr;
        } else if (current) {
            std::istringstream numbers(line);
            float lon, lat;
            while (numbers >> lon >> lat) current->points.emplace_back(lon, lat);
        }
    }
    return !out.empty();
}

float latitude_of_row(int y) { return -90.0f + (static_cast<float>(y) + 0.5f) * 180.0f / HALF; }
float longitude_of_column(int x) { return -180.0f + (static_cast<float>(x) + 0.5f) * 360.0f / WIDE; }

// What lies at each texel of the whole round: 0 sea, 1 land, 2 land under ice.
// Each outline is filled row by row between its crossings of the row's
// latitude (even-odd), its columns wrapped round the date line.
std::vector<uint8_t> land_mask(const std::vector<outline>& outlines)
{
    std::vector<uint8_t> mask(size_t(WIDE) * HALF, 0);
    for (const outline& o : outlines) {
        const size_t n = o.points.size();
        for (int y = 0; y < HALF; ++y) {
            const float lat = latitude_of_row(y);
            std::vector<float> crossings;
            for (size_t i = 0; i < n; ++i) {
                const auto [lon0, lat0] = o.points[i];
                const auto [lon1, lat1] = o.points[(i + 1) % n];
                if ((lat0 <= lat) != (lat1 <= lat))
                    crossings.push_back(lon0 + (lat - lat0) * (lon1 - lon0) / (lat1 - lat0));
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
                // Columns whose centres lie between the two crossings.
                const int from = static_cast<int>(std::ceil((crossings[k] + 180.0f) * WIDE / 360.0f - 0.5f));
                const int to = static_cast<int>(std::floor((crossings[k + 1] + 180.0f) * WIDE / 360.0f - 0.5f));
                for (int x = from; x <= to; ++x)
                    mask[size_t(y) * WIDE + size_t(((x % WIDE) + WIDE) % WIDE)] = o.land ? (o.ice ? 2 : 1) : 0;
            }
        }
    }
    return mask;
}

// Noise over the globe that closes round the date line: 0..1.
class globe_noise {
public:
    explicit globe_noise(uint32_t seed)
    {
        for (int o = 0; o < 6; ++o) layers_.emplace_back(8 << o, seed + 131u * uint32_t(o));
    }
    float at(int x, int y) const
    {
        float sum = 0.0f, weight = 0.0f, amp = 1.0f;
        for (size_t o = 0; o < layers_.size(); ++o) {
            const float cells = static_cast<float>(8 << o) / WIDE;
            sum += amp * layers_[o].at(static_cast<float>(x) * cells, static_cast<float>(y) * cells);
            weight += amp;
            amp *= 0.55f;
        }
        return sum / weight;
    }

private:
    std::vector<tiling_noise> layers_;
};

rgb mix(rgb a, rgb b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
rgb scale(rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
float smooth(float edge0, float edge1, float v)
{
    const float t = std::clamp((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// A region of the ground as an ellipse in degrees; its weight falls from 1
// at the middle to 0 at the rim, the rim made ragged by the noise.
struct region {
    float lon, lat, half_lon, half_lat, strength;
};
float weight(const region& r, float lon, float lat, float ragged)
{
    float dlon = std::fabs(lon - r.lon);
    if (dlon > 180.0f) dlon = 360.0f - dlon;
    const float d = std::hypot(dlon / r.half_lon, (lat - r.lat) / r.half_lat) + (ragged - 0.5f) * 1.4f;
    return r.strength * smooth(1.1f, 0.3f, d);
}

// The dry regions: the great deserts and the dry plains beside them.
constexpr region DRY[] = {
    {0, 24, 18, 8, 0.9f},    {24, 22, 16, 8, 0.9f},  {47, 22, 11, 8, 0.9f},   {58, 30, 9, 5, 0.8f},
    {71, 27, 5, 4, 0.8f},    {92, 41, 20, 6, 0.9f},  {64, 43, 9, 5, 0.6f},    {132, -25, 15, 8, 1.0f},
    {19, -24, 7, 7, 0.8f},   {-70, -23, 3, 8, 0.8f}, {-113, 33, 7, 6, 0.8f},  {-68, -44, 4, 7, 0.6f},
    {44, 8, 6, 5, 0.5f},
};

// The land's colour by the climate belt of its latitude.
rgb belt_colour(float lat)
{
    struct stop {
        float lat;
        rgb c;
    };
    static constexpr stop STOPS[] = {
        {0, {36, 92, 36}},    {10, {44, 100, 40}},  {17, {118, 124, 64}}, {28, {110, 118, 66}},
        {42, {78, 114, 54}},  {55, {46, 80, 46}},   {64, {70, 86, 58}},   {70, {126, 122, 104}},
        {78, {210, 214, 218}}, {90, {236, 240, 244}},
    };
    const float a = std::fabs(lat);
    for (size_t i = 1; i < std::size(STOPS); ++i)
        if (a <= STOPS[i].lat)
            return mix(STOPS[i - 1].c, STOPS[i].c, (a - STOPS[i - 1].lat) / (STOPS[i].lat - STOPS[i - 1].lat));
    return STOPS[std::size(STOPS) - 1].c;
}

rgb earth_texel(uint8_t what, float lon, float lat, float n, float fine)
{
    constexpr rgb SEA{20, 48, 108}, ICE{232, 238, 244}, SAND{206, 176, 122};
    if (what == 0) {
        rgb c = scale(SEA, 0.94f + 0.12f * n);
        // Pack ice on the polar seas.
        c = mix(c, ICE, smooth(76.0f, 84.0f, lat + (n - 0.5f) * 6.0f));
        return mix(c, ICE, smooth(-66.0f, -74.0f, lat + (n - 0.5f) * 6.0f));
    }
    if (what == 2) return scale(ICE, 0.95f + 0.05f * fine);
    rgb c = belt_colour(lat + (n - 0.5f) * 8.0f);
    float dry = 0.0f;
    for (const region& r : DRY) dry = std::max(dry, weight(r, lon, lat, 0.3f * n + 0.7f * fine));
    c = mix(c, SAND, dry);
    return scale(c, 0.86f + 0.28f * fine);
}

// Mars, longitudes east: a broad dark southern belt with its darker seas,
// the dark northern plains and the collar round the north cap, the
// volcanoes and the canyon; the bright basins and uplands.
constexpr region MARS_DARK[] = {
    {60, -22, 180, 16, 0.3f},   {-120, -22, 180, 16, 0.3f},
    {10, -6, 35, 8, 0.8f},      {-35, -25, 30, 14, 0.7f},  {70, 8, 10, 16, 0.9f},     {105, -18, 20, 10, 0.75f},
    {145, -25, 25, 10, 0.75f},  {-160, -32, 25, 9, 0.7f},  {-30, 47, 25, 10, 0.8f},   {115, 45, 25, 10, 0.45f},
    {0, 68, 120, 6, 0.35f},     {180, 68, 120, 6, 0.35f},  {-90, -27, 9, 6, 0.6f},    {-134, 18, 3.5f, 3.5f, 0.5f},
    {-121, -9, 1.5f, 1.5f, 0.6f}, {-113, 1, 1.5f, 1.5f, 0.6f}, {-105, 11, 1.5f, 1.5f, 0.6f},
    {-90, -6, 8, 1.6f, 0.7f},   {-75, -9, 9, 2.0f, 0.8f},  {-58, -11, 9, 1.6f, 0.7f},
};
constexpr region MARS_BRIGHT[] = {
    {70, -42, 16, 11, 0.7f}, {-43, -50, 10, 7, 0.5f}, {20, 22, 30, 14, 0.35f}, {-110, 5, 25, 18, 0.3f},
    {147, 25, 10, 7, 0.3f},  {-160, 10, 20, 12, 0.25f},
};

rgb mars_texel(float lon, float lat, float n, float fine)
{
    constexpr rgb GROUND{186, 108, 60}, DARK{96, 62, 46}, BRIGHT{216, 160, 110}, CAP{240, 236, 230};
    rgb c = GROUND;
    float dark = 0.0f, bright = 0.0f;
    const float ragged = 0.3f * n + 0.7f * fine;
    for (const region& r : MARS_DARK) dark = std::max(dark, weight(r, lon, lat, ragged));
    for (const region& r : MARS_BRIGHT) bright = std::max(bright, weight(r, lon, lat, ragged));
    c = mix(c, BRIGHT, bright);
    c = mix(c, DARK, dark);
    c = scale(c, 0.82f + 0.3f * fine);
    c = mix(c, CAP, smooth(81.0f, 84.0f, lat + (n - 0.5f) * 6.0f));
    return mix(c, CAP, smooth(-82.0f, -85.0f, lat + (n - 0.5f) * 6.0f));
}

template <class Texel>
bool write_halves(const std::filesystem::path& folder, const char* first, const char* second, Texel&& texel)
{
    rgb_image halves[2] = {rgb_image(HALF, HALF), rgb_image(HALF, HALF)};
    for (int y = 0; y < HALF; ++y)
        for (int x = 0; x < WIDE; ++x) halves[x / HALF].at(x % HALF, y) = texel(x, y);
    return write_rgb_bmp(folder / first, halves[0], 255.0f) && write_rgb_bmp(folder / second, halves[1], 255.0f);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 2, "gen_planet_bitmaps <coast outlines> <program folder>/")) return 2;
    std::vector<outline> outlines;
    if (!read_outlines(argv[1], outlines)) {
        std::fprintf(stderr, "gen_planet_bitmaps: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<uint8_t> mask = land_mask(outlines);
    const std::filesystem::path folder = std::filesystem::path(argv[2]) / "Resources" / "bitmaps";
    const globe_noise broad(9001), fine_earth(9101), fine_mars(9201);

    const bool earth = write_halves(folder, "EARTH1.BMP", "EARTH2.BMP", [&](int x, int y) {
        return earth_texel(mask[size_t(y) * WIDE + size_t(x)], longitude_of_column(x), latitude_of_row(y),
                           broad.at(x, y), fine_earth.at(x * 4, y * 4));
    });
    const bool mars = write_halves(folder, "MARS1.BMP", "MARS2.BMP", [&](int x, int y) {
        return mars_texel(longitude_of_column(x), latitude_of_row(y), broad.at(x, y), fine_mars.at(x * 4, y * 4));
    });
    if (!earth || !mars) {
        std::fprintf(stderr, "gen_planet_bitmaps: cannot write into %s\n", folder.string().c_str());
        return 1;
    }
    return 0;
}
