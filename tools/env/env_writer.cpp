#include "tools/env/env_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "world/env_tile.h"

namespace env {

namespace {

constexpr int32_t STEPS = 9999;   // packed steps across a tile

class byte_sink {
public:
    explicit byte_sink(char order) : big_(order == 'a') {}
    std::vector<uint8_t> bytes;

    void u8(uint8_t v) { bytes.push_back(v); }
    void u32(uint32_t v)
    {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        if (big_)
            bytes.insert(bytes.end(), {b[3], b[2], b[1], b[0]});
        else
            bytes.insert(bytes.end(), {b[0], b[1], b[2], b[3]});
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        u32(u);
    }
    // The 2-byte elevation is always most significant byte first.
    void u16_be(uint16_t v)
    {
        u8(uint8_t(v >> 8));
        u8(uint8_t(v));
    }
    void name(const std::string& text)
    {
        char field[NAME_BYTES] = {};
        std::memcpy(field, text.data(), std::min<size_t>(text.size(), NAME_BYTES - 1));
        bytes.insert(bytes.end(), field, field + NAME_BYTES);
    }

private:
    bool big_;
};

int32_t step(double offset_deg)
{
    const long v = std::lround(offset_deg * STEPS);
    return static_cast<int32_t>(std::clamp<long>(v, 0, STEPS));
}

// A packed chain point: the end of a chain is its negative code.
int32_t chain_code(const seg_point& p, const tile& t, bool end)
{
    int32_t code = pack_point(p.lat, p.lon, t.south, t.west);
    if (end && code == 0) code = 1;
    if (!end && code == SECTION_END) code = SECTION_END + 1;
    return end ? -code : code;
}

}  // namespace

tile make_tile(int planet, int south, int west, int32_t version, char order)
{
    tile t;
    t.version = version;
    t.order = order;
    t.south = south;
    t.west = west;
    t.rows = planet == 1 ? MARS_TILE_ROWS : EARTH_TILE_ROWS;
    t.cols = planet == 1 ? MARS_TILE_COLS : EARTH_TILE_COLS;
    t.grid.resize(static_cast<size_t>(t.rows + 1) * static_cast<size_t>(t.cols + 1));
    for (int i = 0; i <= t.rows; ++i)
        for (int j = 0; j <= t.cols; ++j) {
            grid_point& g = t.at(i, j);
            g.lat = south + static_cast<double>(j) / t.cols;
            g.lon = west + static_cast<double>(i) / t.rows;
        }
    return t;
}

int32_t pack_point(double lat, double lon, int south, int west)
{
    return step(lat - south) * 10000 + step(lon - west);
}

int32_t landuse_word(int a, int b, int c, int rotation, int32_t type)
{
    return a * 100000000 + b * 10000000 + c * 1000000 + rotation * 100000 + type;
}

int32_t landuse_word_v6(int a, int b, int c, int rotation, int32_t old_type)
{
    return a * 100000000 + b * 10000000 + c * 1000000 + rotation * 10000 + old_type;
}

std::vector<uint8_t> encode(const tile& t)
{
    byte_sink out(t.order);
    out.u8(static_cast<uint8_t>(t.order));
    out.i32(t.version);

    // Terrain points, column by column (latitude steps outer, longitude steps inner).
    for (int j = 0; j <= t.cols; ++j)
        for (int i = 0; i <= t.rows; ++i) {
            const grid_point& g = t.at(i, j);
            if (t.version == 6) {
                out.f32(static_cast<float>(g.lat));
                out.f32(static_cast<float>(g.lon));
                out.f32(static_cast<float>(g.elevation_m));
            } else {
                out.i32(pack_point(g.lat, g.lon, t.south, t.west));
                const long e = std::lround(g.elevation_m) + 10000;
                out.u16_be(static_cast<uint16_t>(std::clamp<long>(e, 0, 65535)));
            }
            out.i32(g.landuse_word);
        }

    for (const object_record& o : t.objects) {
        out.i32(o.type);
        out.f32(o.lat);
        out.f32(o.lon);
        out.f32(o.value);
        if (o.type == 8) out.name(o.name);
    }
    out.i32(OBJECT_LIST_END);

    for (int k = 0; k < ENV_section_count(t.version); ++k) {
        for (const chain& c : t.sections[static_cast<size_t>(k)]) {
            for (size_t n = 0; n < c.size(); ++n) {
                const bool end = n + 1 == c.size();
                if (k == TAXI_LINES) {
                    out.f32(static_cast<float>(c[n].lat));
                    out.f32(static_cast<float>(c[n].lon));
                    out.u8(end ? 'e' : 'c');
                } else {
                    out.i32(chain_code(c[n], t, end));
                }
            }
        }
        if (k == TAXI_LINES) {
            out.f32(0.0f);
            out.f32(0.0f);
            out.u8('g');
        } else {
            out.i32(SECTION_END);
        }
    }

    const size_t names = std::min<size_t>(t.textures.size(), MAX_TEXTURE_NAMES);
    for (size_t p = 0; p < names; ++p) out.name(t.textures[p]);
    return std::move(out.bytes);
}

bool write_file(const std::string& path, const tile& t)
{
    const std::vector<uint8_t> bytes = encode(t);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

std::string tile_file_name(int south, int west)
{
    const int lat10 = static_cast<int>(std::floor((south + 90.0) / 10.0)) * 10 - 90;
    const int lon10 = static_cast<int>(std::floor((west + 180.0) / 10.0)) * 10 - 180;
    auto sign = [](int v) { return v < 0 ? '-' : '+'; };
    char text[64];
    std::snprintf(text, sizeof text, "%c%02d%c%03d/%c%02d%c%03d.env", sign(lat10), std::abs(lat10), sign(lon10),
                  std::abs(lon10), sign(south), std::abs(south), sign(west), std::abs(west));
    return text;
}

}  // namespace env
