// Damaged pictures: valid BMP and PNG files mutated at random (with a fixed
// seed, so every run is the same) and loaded through every load kind. A load
// may succeed or end in a fatal alert; it must never crash, read past the file
// or write outside the pixel buffer (the sanitizers watch every access).
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "graphics/ogl_tex.h"
#include "shell/display.h"
#include "core/folders.h"
#include "core/random.h"
#include "core/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/test_support.h"
#include "core/app_mode.h"

namespace {

// Rounds per format; tens of thousands were run with other seeds while the
// readers were reviewed, the suite keeps a quick share.
constexpr int ROUNDS = 400;

uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(UTIL_rand()) % n : 0; }

// Sizes and offsets near the limits of the buffer and of the integer types, or any value.
uint32_t interesting_value()
{
    static constexpr uint32_t values[] = {0, 1, 2, 3, 8, 255, 256, 1023, 1024, 1025, 2048, 32767, 32768, 65536,
                                          0x7fffffff, 0x80000000, 0xffffffff, 0xfffffc00, 0x40000000};
    return below(3) ? values[below(std::size(values))] : (uint32_t(UTIL_rand()) << 17) ^ uint32_t(UTIL_rand());
}

// Writes v at b[at] (as far as b reaches), little or big end first.
void put32(std::string& b, size_t at, uint32_t v, bool big_end)
{
    for (int i = 0; i < 4 && at + i < b.size(); ++i) b[at + i] = static_cast<char>(v >> (8 * (big_end ? 3 - i : i)));
}

std::string noise_bytes(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(below(256)));
    return s;
}

uint32_t crc32_of(const std::string& bytes, size_t from, size_t length)
{
    uint32_t c = 0xffffffffu;
    for (size_t i = from; i < from + length; ++i) {
        c ^= static_cast<uint8_t>(bytes[i]);
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xffffffffu;
}

// Puts the check sums of every whole PNG chunk right again after a mutation, so
// that damage inside a chunk (the header's sides, depth and colour type
// included) reaches the decoder instead of the checksum test.
void fix_png_crcs(std::string& b)
{
    for (size_t at = 8; at + 12 <= b.size();) {
        const uint32_t length = (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
                                (uint32_t(uint8_t(b[at + 2])) << 8) | uint8_t(b[at + 3]);
        if (length > b.size() - at - 12) break;
        put32(b, at + 8 + length, crc32_of(b, at + 4, 4 + length), true);
        at += 12 + length;
    }
}

std::string mutate(const std::string& base, bool png)
{
    std::string b = base;
    const int count = 1 + static_cast<int>(below(4));
    for (int m = 0; m < count && !b.empty(); ++m) {
        const uint32_t size = static_cast<uint32_t>(b.size());
        switch (below(7)) {
        case 0: b[below(size)] ^= static_cast<char>(1 << below(8)); break;   // one bit
        case 1: b[below(size)] = static_cast<char>(below(256)); break;       // one byte
        case 2:   // a header field: width, height (BMP and PNG), depth and compression (BMP)
            if (png) {
                put32(b, below(2) ? 16 : 20, interesting_value(), true);
            } else {
                static constexpr size_t fields[] = {2, 10, 18, 22, 18, 22, 28, 30};
                const size_t at = fields[below(std::size(fields))];
                uint32_t v = interesting_value();
                if (at == 28 && below(2)) v = 24;
                if (below(2) && (at == 18 || at == 22)) v = uint32_t(int32_t(below(1100)) - 40);   // -40..1059
                put32(b, at, v, false);
            }
            break;
        case 3: b.resize(below(size + 1)); break;                 // cut short
        case 4: b += noise_bytes(below(300)); break;             // grown with noise
        case 5: b.erase(below(size), below(64)); break;          // a piece cut out of the middle
        default:                                                 // a 4-byte value anywhere
            if (size >= 4) put32(b, below(size - 3), interesting_value(), false);
            break;
        }
    }
    if (png && below(4)) fix_png_crcs(b);
    return b;
}

struct load_plan {
    int kind, slot, type;
};

// Every load kind; an instrument bitmap (slot 512) placed anywhere near the
// buffer, at any size factor.
load_plan random_load()
{
    static constexpr load_plan plans[] = {
        {LOAD_BITMAP, 512, 0}, {LOAD_BITMAP, 0, TEX_RGB}, {LOAD_TEXTURE, 300, TEX_KEY}, {LOAD_PANEL, 0, TEX_RGB},
        {LOAD_TEXTURE, 10, TEX_RGB_MIPMAP}, {LOAD_TEXTURE, 4500, TEX_KEY_MIPMAP},   // low and high terrain slots
        {LOAD_TEXTURE, 255, TEX_BRIGHT_MIPMAP}, {LOAD_TEXTURE, 197, TEX_BRIGHT}, {LOAD_CUSTOM_PANEL, 0, TEX_KEY}};
    static constexpr float sizes[] = {0.5f, 1.0f, 2.0f, 1.5f, 3.0f, -1.0f, 0.0f, 1.0e30f, 1.0e-30f,
                                      std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    load_plan p = plans[below(std::size(plans))];
    pln[0].acf_ins_size[12] = p.slot == 512 ? sizes[below(std::size(sizes))] : 1.0f;
    if (p.slot == 512) {
        const int x = 4900 + static_cast<int>(below(1200));
        p.type = x * 10000 + 4900 + static_cast<int>(below(1200));
    }
    return p;
}

class DamagedImages : public image_folder_test {
protected:
    int loaded = 0, refused = 0;

    void SetUp() override
    {
        image_folder_test::SetUp();
        UTIL_srand(20240611);
    }
    void TearDown() override
    {
        pln[0].acf_ins_size[12] = 0.0f;
        screen.rendering_res = 3;
        UTIL_srand(1);
        // Both outcomes occur, so the mutations reach past the header checks.
        EXPECT_GT(loaded, ROUNDS / 30);
        EXPECT_GT(refused, ROUNDS / 15);
    }

    // Each round writes a base file or, mostly, a mutation of it and loads it
    // through a random load kind at a random resolution setting.
    void run(const std::vector<std::string>& bases, const std::string& name, bool png)
    {
        for (int round = 0; round < ROUNDS; ++round) {
            const std::string& base = bases[below(static_cast<uint32_t>(bases.size()))];
            tmp.write("RESOURCES/BITMAPS/" + name, below(10) ? mutate(base, png) : base);
            const load_plan p = random_load();
            screen.rendering_res = static_cast<int32_t>(below(6));
            int w = 0, h = 0;
            try {
                OGL_load_tex_file(p.kind, p.slot, p.type, name.c_str(), w, h);
                ++loaded;
                EXPECT_TRUE(w >= 1 && w <= 1024 && h >= 1 && h <= 1024) << w << " x " << h;
            } catch (const fatal_alert& a) {
                ++refused;
                EXPECT_EQ(a.alert.code, 17);
            }
            clear_alerts();
        }
    }
};

// A square PNG of random texels.
std::string random_png(int side, int colour_type, int depth, int channels, bool interlaced = false)
{
    const std::string rows = noise_bytes(size_t(side) * side * channels * depth / 8);
    return png_bytes({.width = side, .height = side, .colour_type = colour_type, .bit_depth = depth,
                      .rows = {rows.begin(), rows.end()}, .text_chunk = interlaced, .interlaced = interlaced});
}

}  // namespace

TEST_F(DamagedImages, MutatedBmpFilesNeverCrash)
{
    std::vector<std::string> bases;
    for (auto [w, h] : {std::pair{5, 3}, {16, 16}, {1, 1}, {8, 2}, {64, 32}}) {
        std::vector<rgb> t;   // noise with magenta colour-key texels among it
        for (int i = 0; i < w * h; ++i)
            t.push_back(below(5) ? rgb{uint8_t(below(256)), uint8_t(below(256)), uint8_t(below(256))}
                                 : rgb{255, 0, 255});
        bases.push_back(bmp_bytes(w, h, t));
    }
    run(bases, "F.BMP", false);
}

TEST_F(DamagedImages, MutatedPngFilesNeverCrash)
{
    // 4 bits a texel into a 4-entry palette with transparency, and random texels of other kinds.
    const std::string pal = png_bytes({.width = 5, .height = 3, .colour_type = 3, .bit_depth = 4,
                                       .rows = {0x01, 0x23, 0x00, 0x32, 0x10, 0x30, 0x12, 0x21, 0x00},
                                       .palette = {{1, 2, 3}, {200, 0, 0}, {0, 200, 0}, {0, 0, 200}},
                                       .trns = {0, 128}});
    run({pal, random_png(8, 2, 8, 3), random_png(4, 4, 16, 2), random_png(8, 0, 1, 1),
         random_png(16, 6, 8, 4, true)},
        "F.PNG", true);
}
