// Damaged pictures: valid BMP and PNG files mutated at random (with a fixed
// seed, so every run is the same) and loaded through every load kind. A load
// may succeed or end in a fatal alert; it must never crash, read past the file
// or write outside the pixel buffer (the sanitizers watch every access).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "graphics/ogl_tex.h"
#include "shell/display.h"
#include "shell/folders.h"
#include "shell/random.h"
#include "shell/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/test_support.h"

namespace {

// Rounds per format; tens of thousands were run with other seeds while the
// readers were reviewed, the suite keeps a quick share.
constexpr int ROUNDS = 4000;

uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(UTIL_rand()) % n : 0; }
uint32_t any32()
{
    return (static_cast<uint32_t>(UTIL_rand()) << 17) ^ (static_cast<uint32_t>(UTIL_rand()) << 2) ^
           static_cast<uint32_t>(UTIL_rand());
}

constexpr uint32_t interesting[] = {0,     1,      2,          3,          4,          5,          8,
                                    255,   256,    512,        1023,       1024,       1025,       2048,
                                    32767, 32768,  65535,      65536,      100000,     0x7fffffff, 0x80000000,
                                    0xffffffff, 0xfffffffe, 0xfffffc00, 0xfffffbff, 0x40000000, 0x3fffffff};

uint32_t interesting_value() { return below(3) ? interesting[below(std::size(interesting))] : any32(); }

void put_le(std::string& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4 && at + i < b.size(); ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

void put_be(std::string& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4 && at + i < b.size(); ++i) b[at + i] = static_cast<char>(v >> (8 * (3 - i)));
}

// ------------------------------------------------------------ PNG by hand --

uint32_t crc32_of(const std::string& bytes, size_t from, size_t length)
{
    uint32_t c = 0xffffffffu;
    for (size_t i = from; i < from + length; ++i) {
        c ^= static_cast<uint8_t>(bytes[i]);
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xffffffffu;
}

std::string be32(uint32_t v)
{
    std::string s(4, '\0');
    put_be(s, 0, v);
    return s;
}

std::string chunk(const char* type, const std::string& data)
{
    std::string c = be32(static_cast<uint32_t>(data.size())) + std::string(type, 4) + data;
    return c + be32(crc32_of(c, 4, c.size() - 4));
}

// A zlib stream of stored (uncompressed) blocks, so that the image bytes the
// decoder sees are exactly the ones given.
std::string zlib_stored(const std::string& raw)
{
    std::string z = "\x78\x01";
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xff));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xff));
        z.push_back(static_cast<char>((~n >> 8) & 0xff));
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (char ch : raw) {
        a = (a + static_cast<uint8_t>(ch)) % 65521;
        b = (b + a) % 65521;
    }
    return z + be32((b << 16) | a);
}

// Puts the check sums of every whole chunk right again after a mutation, so
// that damage inside a chunk reaches the decoder instead of the checksum test.
void fix_png_crcs(std::string& b)
{
    size_t at = 8;
    while (at + 12 <= b.size()) {
        const uint32_t length = (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
                                (uint32_t(uint8_t(b[at + 2])) << 8) | uint8_t(b[at + 3]);
        if (length > b.size() - at - 12) break;
        put_be(b, at + 8 + length, crc32_of(b, at + 4, 4 + length));
        at += 12 + length;
    }
}

struct png_plan {
    uint32_t width = 4, height = 4;
    uint8_t depth = 8, colour = 2, interlace = 0;
    int palette_entries = 0;   // PLTE entries (0: no chunk)
    int trns_bytes = -1;       // tRNS bytes (-1: no chunk)
};

int channels_of(int colour)
{
    switch (colour) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

// A PNG drawn from the plan, its image bytes random (filter bytes included,
// so invalid filters and palette indices past the palette occur too).
std::string png_from_plan(const png_plan& p)
{
    std::string ihdr = be32(p.width) + be32(p.height);
    ihdr.push_back(static_cast<char>(p.depth));
    ihdr.push_back(static_cast<char>(p.colour));
    ihdr.append(2, '\0');
    ihdr.push_back(static_cast<char>(p.interlace));
    std::string file = std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr);
    if (p.palette_entries > 0) {
        std::string plte;
        for (int i = 0; i < 3 * p.palette_entries; ++i) plte.push_back(static_cast<char>(below(256)));
        file += chunk("PLTE", plte);
    }
    if (p.trns_bytes >= 0) {
        std::string trns;
        for (int i = 0; i < p.trns_bytes; ++i) trns.push_back(static_cast<char>(below(256)));
        file += chunk("tRNS", trns);
    }
    // Enough image bytes for a small image; big ones get a short stream (they
    // are either refused by size or end in the decoder's "not enough data").
    const uint64_t row = (uint64_t(p.width) * channels_of(p.colour) * p.depth + 7) / 8 + 1;
    uint64_t total = row * p.height;
    if (below(6) == 0) total += below(40);
    if (below(6) == 0 && total > 0) total -= below(static_cast<uint32_t>(std::min<uint64_t>(total, 40)) + 1);
    if (total > 70000) total = below(70000);
    std::string raw;
    for (uint64_t i = 0; i < total; ++i)
        raw.push_back(static_cast<char>(i % row == 0 ? (below(8) ? below(5) : below(256)) : below(256)));
    file += chunk("IDAT", zlib_stored(raw));
    file += chunk("IEND", "");
    return file;
}

png_plan random_png_plan()
{
    static constexpr uint8_t colours[] = {0, 2, 3, 4, 6};
    static constexpr uint8_t depths[] = {1, 2, 4, 8, 16};
    static constexpr uint32_t sides[] = {1,    2,    3,    4,    5, 7,      8,         9,  16, 17, 31, 64,
                                         1024, 1025, 2048, 0, 100000, 0x7fffffff};
    png_plan p;
    p.width = below(4) ? 1 + below(24) : sides[below(std::size(sides))];
    p.height = below(4) ? 1 + below(24) : sides[below(std::size(sides))];
    p.colour = below(10) ? colours[below(5)] : static_cast<uint8_t>(below(8));
    p.depth = below(10) ? depths[below(5)] : static_cast<uint8_t>(below(20));
    p.interlace = below(4) == 0 ? 1 : 0;
    if (p.colour == 3 || below(8) == 0) p.palette_entries = below(6) ? 1 + below(256) : below(300);
    if (below(3) == 0) p.trns_bytes = static_cast<int>(below(300));
    return p;
}

// --------------------------------------------------------------- mutation --

std::string mutate(const std::string& base, bool png)
{
    std::string b = base;
    const int count = 1 + static_cast<int>(below(4));
    for (int m = 0; m < count && !b.empty(); ++m) {
        switch (below(7)) {
        case 0:   // one bit
            b[below(static_cast<uint32_t>(b.size()))] ^= static_cast<char>(1 << below(8));
            break;
        case 1:   // one byte
            b[below(static_cast<uint32_t>(b.size()))] = static_cast<char>(below(256));
            break;
        case 2: {   // a header field: width, height (BMP and PNG), depth and compression (BMP)
            if (png) {
                put_be(b, below(2) ? 16 : 20, interesting_value());
            } else {
                static constexpr size_t fields[] = {2, 10, 18, 22, 18, 22, 28, 30};
                const size_t at = fields[below(std::size(fields))];
                uint32_t v = interesting_value();
                if (at == 28 && below(2)) v = 24;
                if (below(2) && (at == 18 || at == 22))
                    v = static_cast<uint32_t>(static_cast<int32_t>(below(1100)) - 40);   // -40..1059
                put_le(b, at, v);
            }
            break;
        }
        case 3:   // cut short
            b.resize(below(static_cast<uint32_t>(b.size()) + 1));
            break;
        case 4:   // grown with noise
            for (uint32_t i = below(300); i > 0; --i) b.push_back(static_cast<char>(below(256)));
            break;
        case 5: {   // a piece cut out of the middle
            const size_t at = below(static_cast<uint32_t>(b.size()));
            b.erase(at, below(64));
            break;
        }
        default:   // a 4-byte value anywhere
            if (b.size() >= 4) put_le(b, below(static_cast<uint32_t>(b.size() - 3)), interesting_value());
            break;
        }
    }
    if (png && below(4)) fix_png_crcs(b);
    return b;
}

// ------------------------------------------------------------------ loads --

struct load_plan {
    int kind, slot, type;
};

load_plan random_load()
{
    pln[0].acf_ins_size[12] = 1.0f;
    switch (below(9)) {
    case 0: return {LOAD_BITMAP, 0, TEX_RGB};
    case 1: return {LOAD_TEXTURE, 300, TEX_KEY};
    case 2: return {LOAD_TEXTURE, 10, TEX_RGB_MIPMAP};   // terrain
    case 3: {
        // An instrument placed anywhere near the buffer, at any size factor.
        static constexpr float sizes[] = {0.5f, 1.0f, 2.0f, 1.5f, 3.0f, -1.0f, 0.0f, 1.0e30f, 1.0e-30f,
                                          std::numeric_limits<float>::quiet_NaN(),
                                          std::numeric_limits<float>::infinity()};
        pln[0].acf_ins_size[12] = sizes[below(std::size(sizes))];
        const int x = 5000 + static_cast<int>(below(1200)) - 100;
        const int y = 5000 + static_cast<int>(below(1200)) - 100;
        return {LOAD_BITMAP, 512, x * 10000 + y};
    }
    case 4: return {LOAD_TEXTURE, 255, TEX_BRIGHT_MIPMAP};   // soft edges
    case 5: return {LOAD_PANEL, 0, TEX_RGB};
    case 6: return {LOAD_TEXTURE, 197, TEX_BRIGHT};          // brightened cloud
    case 7: return {LOAD_CUSTOM_PANEL, 0, TEX_KEY};
    default: return {LOAD_TEXTURE, 4500, TEX_KEY_MIPMAP};     // high terrain slot
    }
}

class DamagedImages : public ::testing::Test {
protected:
    temp_folder tmp;
    int loaded = 0, refused = 0;

    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        redraw_pending = 0;
        UTIL_srand(20240611);
    }
    void TearDown() override
    {
        pln[0].acf_ins_size[12] = 0.0f;
        screen.rendering_res = 3;
        UTIL_srand(1);
    }

    void try_load(const std::string& file_name, const std::string& bytes)
    {
        tmp.write("RESOURCES/BITMAPS/" + file_name, bytes);
        const load_plan p = random_load();
        screen.rendering_res = static_cast<int32_t>(below(6));
        int w = 0, h = 0;
        try {
            OGL_load_tex_file(p.kind, p.slot, p.type, file_name.c_str(), w, h);
            ++loaded;
            EXPECT_GE(w, 1);
            EXPECT_LE(w, 1024);
            EXPECT_GE(h, 1);
            EXPECT_LE(h, 1024);
        } catch (const fatal_alert& a) {
            ++refused;
            EXPECT_EQ(a.alert.code, 17);
        }
        clear_alerts();
    }
};

std::vector<rgb> noise(int w, int h)
{
    std::vector<rgb> t;
    for (int i = 0; i < w * h; ++i)
        t.push_back(below(5) ? rgb{static_cast<uint8_t>(below(256)), static_cast<uint8_t>(below(256)),
                                   static_cast<uint8_t>(below(256))}
                             : rgb{255, 0, 255});
    return t;
}

}  // namespace

TEST_F(DamagedImages, MutatedBmpFilesNeverCrash)
{
    const std::vector<std::string> bases = {bmp_bytes(5, 3, noise(5, 3)), bmp_bytes(16, 16, noise(16, 16)),
                                            bmp_bytes(1, 1, noise(1, 1)), bmp_bytes(8, 2, noise(8, 2)),
                                            bmp_bytes(64, 32, noise(64, 32))};
    for (int round = 0; round < ROUNDS; ++round) {
        const std::string& base = bases[below(static_cast<uint32_t>(bases.size()))];
        try_load("F.BMP", below(10) ? mutate(base, false) : base);
    }
    // Both outcomes occur, so the mutations reach past the header checks.
    EXPECT_GT(loaded, ROUNDS / 30);
    EXPECT_GT(refused, 300);
}

TEST_F(DamagedImages, MutatedPngFilesNeverCrash)
{
    std::vector<std::string> bases;
    png_desc rgb8;
    rgb8.width = rgb8.height = 8;
    rgb8.colour_type = 2;
    for (int i = 0; i < 8 * 8 * 3; ++i) rgb8.rows.push_back(static_cast<uint8_t>(below(256)));
    bases.push_back(png_bytes(rgb8));
    png_desc pal;
    pal.width = 5;
    pal.height = 3;
    pal.colour_type = 3;
    pal.bit_depth = 4;
    pal.palette = {{1, 2, 3}, {200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
    pal.trns = {0, 128};
    pal.rows = {0x01, 0x23, 0x00, 0x32, 0x10, 0x30, 0x12, 0x21, 0x00};
    bases.push_back(png_bytes(pal));
    png_desc ga16;
    ga16.width = ga16.height = 4;
    ga16.colour_type = 4;
    ga16.bit_depth = 16;
    for (int i = 0; i < 4 * 4 * 4; ++i) ga16.rows.push_back(static_cast<uint8_t>(below(256)));
    bases.push_back(png_bytes(ga16));
    png_desc laced;
    laced.width = laced.height = 16;
    laced.colour_type = 6;
    laced.interlaced = true;
    laced.text_chunk = true;
    for (int i = 0; i < 16 * 16 * 4; ++i) laced.rows.push_back(static_cast<uint8_t>(below(256)));
    bases.push_back(png_bytes(laced));

    for (int round = 0; round < ROUNDS; ++round) {
        if (round % 2) {
            // A file laid out by hand from random header values and image bytes.
            std::string made = png_from_plan(random_png_plan());
            try_load("F.PNG", below(3) ? made : mutate(made, true));
        } else {
            const std::string& base = bases[below(static_cast<uint32_t>(bases.size()))];
            try_load("F.PNG", below(10) ? mutate(base, true) : base);
        }
    }
    EXPECT_GT(loaded, ROUNDS / 30);
    EXPECT_GT(refused, 300);
}
