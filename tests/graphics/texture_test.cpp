#include <gtest/gtest.h>

#include <GL/gl.h>
#include <png.h>

#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_tex.h"
#include "shell/display.h"
#include "core/folders.h"
#include "core/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/test_support.h"
#include "core/app_mode.h"

namespace {

class TextureFiles : public image_folder_test {
protected:
    int width = 0, height = 0;

    void SetUp() override
    {
        image_folder_test::SetUp();
        screen.rendering_res = 5;   // no reduction
    }
    void put(const std::string& name, const std::string& bytes) { tmp.write("RESOURCES/BITMAPS/" + name, bytes); }
    int load(int kind, int slot, int type, const char* name)
    {
        return OGL_load_tex_file(kind, slot, type, name, width, height);
    }
    std::string refusal(int kind, int slot, int type, const char* name, int line = 0)
    {
        return expect_fatal([&] { load(kind, slot, type, name); }).lines[line];
    }
};

const uint8_t* buffer_texel(int row, int col) { return pixel_buffer + (size_t(row) * 1024 + col) * 4; }

std::vector<rgb> pattern(int w, int h)
{
    std::vector<rgb> t;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) t.push_back({uint8_t(c), uint8_t(r), uint8_t(7 * r + 3 * c)});
    return t;
}

// Texels packed 4 bytes apart, `stride` texels a row, against opaque RGB texels.
void expect_texels(const uint8_t* data, int w, int h, int stride, const std::vector<rgb>& want)
{
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            const rgb& t = want[size_t(r) * w + c];
            EXPECT_EQ(rgba_at(data + (size_t(r) * stride + c) * 4), (std::array<uint8_t, 4>{t[0], t[1], t[2], 255}))
                << r << "," << c;
        }
}

}  // namespace

TEST_F(TextureFiles, BmpReadsTexelExactWithPaddedRows)
{
    // 3 x 2: rows of 9 texel bytes and 3 padding bytes; as a texture the odd side is refused.
    const std::vector<rgb> odd = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    put("ODD.BMP", bmp_bytes(3, 2, odd));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "ODD.BMP"), 1);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(3, 2));
    expect_texels(pixel_buffer, 3, 2, 1024, odd);
    EXPECT_EQ(refusal(LOAD_TEXTURE, 300, TEX_RGB, "ODD.BMP"),
              "OGL_load_tex: Trying to read a texture that is not a power of 2!");

    // 2 x 2 uploaded and read back from OpenGL. A plug-in's unpack settings
    // (row alignment, row length, skipped rows) must not move where the texels
    // are read from, and are given back as they were.
    const std::vector<rgb> even = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
    put("EVEN.BMP", bmp_bytes(2, 2, even));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 4096);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 300);
    ASSERT_EQ(load(LOAD_TEXTURE, 300, TEX_RGB, "EVEN.BMP"), 1);
    GLint row_length = 0;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length);
    EXPECT_EQ(row_length, 4096);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(300, 0, w, h);
    ASSERT_EQ(std::make_pair(w, h), std::make_pair(2, 2));
    expect_texels(tex.data(), 2, 2, 2, even);
}

TEST_F(TextureFiles, MissingFileGivesTheCheckerboard)
{
    EXPECT_EQ(load(LOAD_TEXTURE, 302, TEX_RGB, "NOT THERE.BMP"), 0);
    EXPECT_TRUE(recorded_alerts.empty());
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(302, 0, w, h);
    ASSERT_EQ(std::make_pair(w, h), std::make_pair(16, 16));
    EXPECT_EQ((std::array<int, 4>{tex[0], tex[4], tex[16 * 4], tex[17 * 4 + 2]}),
              (std::array<int, 4>{100, 200, 200, 100}));
    EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "NOT THERE.BMP"), "Can't open bitmap!");
    EXPECT_EQ(load(LOAD_CUSTOM_PANEL, 0, TEX_RGB, "NOT THERE.BMP"), 0);
}

TEST_F(TextureFiles, ResolutionSettingHalvesAndMipmapsGetEveryLevel)
{
    const std::vector<rgb> big = pattern(256, 256);
    put("BIG.BMP", bmp_bytes(256, 256, big));
    screen.rendering_res = 3;   // slots outside the low range: half size
    ASSERT_EQ(load(LOAD_TEXTURE, 303, TEX_RGB, "BIG.BMP"), 1);
    int w = 0, h = 0;
    std::vector<uint8_t> tex = read_texture(303, 0, w, h);
    ASSERT_EQ(std::make_pair(w, h), std::make_pair(128, 128));
    for (int r : {0, 77, 127})
        for (int c : {0, 5, 127})
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(tex[(size_t(r) * 128 + c) * 4 + k], big[size_t(2 * r) * 256 + 2 * c][k]) << r << "," << c;

    // An 8 x 2 mipmapped texture: levels 4 x 1, 2 x 1 and 1 x 1.
    screen.rendering_res = 5;
    put("MIP.BMP", bmp_bytes(8, 2, pattern(8, 2)));
    ASSERT_EQ(load(LOAD_TEXTURE, 305, TEX_RGB_MIPMAP, "MIP.BMP"), 1);
    const std::pair<int, int> sizes[4] = {{8, 2}, {4, 1}, {2, 1}, {1, 1}};
    for (int level = 0; level < 4; ++level) {
        tex = read_texture(305, level, w, h);
        EXPECT_EQ(std::make_pair(w, h), sizes[level]) << level;
    }
}

// A minified texture blends its two nearest smaller copies on any renderer.
TEST_F(TextureFiles, MipmappedTexturesBlendTwoSizes)
{
    const std::string renderer = GLPROBE_read_driver_texts().renderer;
    EXPECT_EQ(software_rasterizer, renderer.find("llvmpipe") != std::string::npos ||
                                           renderer.find("softpipe") != std::string::npos
                                       ? 1
                                       : 0)
        << renderer;
    put("MIP.BMP", bmp_bytes(8, 8, pattern(8, 8)));
    const int32_t found = software_rasterizer;
    const auto min_filter = [&](int32_t software) {
        software_rasterizer = software;
        EXPECT_EQ(load(LOAD_TEXTURE, 305, TEX_RGB_MIPMAP, "MIP.BMP"), 1);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        return filter;
    };
    EXPECT_EQ(min_filter(1), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(min_filter(0), GL_LINEAR_MIPMAP_LINEAR);
    software_rasterizer = found;
    // A texture without smaller copies keeps its plain filter.
    EXPECT_EQ(load(LOAD_TEXTURE, 305, TEX_RGB, "MIP.BMP"), 1);
    GLint plain = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &plain);
    EXPECT_EQ(plain, GL_LINEAR);
    // The first two panel fonts take the nearest texel (as the interface bitmap does).
    for (auto [slot, want] : {std::pair{445, GL_LINEAR}, {446, GL_NEAREST}, {447, GL_NEAREST}, {448, GL_LINEAR}}) {
        EXPECT_EQ(load(LOAD_TEXTURE, slot, TEX_RGB, "MIP.BMP"), 1);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, want) << slot;
    }
    OGL_reset_bound_textures();
}

// A clear texel of a keyed picture takes the mean colour of the texels that
// are not clear within two rows and two columns of it (fewer at the edges),
// and keeps its colour when there are none; the other texels stay as read.
TEST_F(TextureFiles, ClearTexelsTakeTheMeanOfTheirNeighboursThatAreNotClear)
{
    constexpr int side = 16;
    std::vector<rgb> picture = pattern(side, side);
    const rgb key = {255, 0, 255};
    auto clear = [](int r, int c) { return (r < 3 && c > 9) || (r >= 6 && r <= 10 && c >= 4 && c <= 12) || (r + c) % 7 == 0; };
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            if (clear(r, c)) picture[size_t(r) * side + c] = key;
    put("KEYED.BMP", bmp_bytes(side, side, picture));
    ASSERT_EQ(load(LOAD_TEXTURE, 304, TEX_KEY, "KEYED.BMP"), 1);
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(304, 0, w, h);
    ASSERT_EQ(std::make_pair(w, h), std::make_pair(side, side));
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            std::array<uint8_t, 4> want = {0, 0, 0, 255};
            const rgb& t = picture[size_t(r) * side + c];
            if (!clear(r, c)) {
                want = {t[0], t[1], t[2], 255};
            } else {
                int sum[3] = {0, 0, 0}, n = 0;
                for (int rr = std::max(r - 2, 0); rr <= std::min(r + 2, side - 1); ++rr)
                    for (int cc = std::max(c - 2, 0); cc <= std::min(c + 2, side - 1); ++cc) {
                        if (clear(rr, cc)) continue;
                        const rgb& o = picture[size_t(rr) * side + cc];
                        for (int k = 0; k < 3; ++k) sum[k] += o[k];
                        ++n;
                    }
                want = n ? std::array<uint8_t, 4>{uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n), 0}
                         : std::array<uint8_t, 4>{255, 0, 255, 0};
            }
            EXPECT_EQ(rgba_at(&tex[(size_t(r) * side + c) * 4]), want) << r << "," << c;
        }
}

// A clear texel between two opaque ones takes their mean, for the keyed and
// brightness kinds only, and never on the slots that keep their clear colour.
TEST_F(TextureFiles, ClearTexelsKeepTheirColourOnTheExemptSlotsAndKinds)
{
    struct row { int slot, type; bool bled; };
    for (const row& r : {row{398, TEX_KEY, true}, row{444, TEX_BRIGHT_MIPMAP, true}, row{190, TEX_KEY_MIPMAP, true},
                         row{399, TEX_BRIGHT, true}, row{400, TEX_KEY, false}, row{443, TEX_KEY, false},
                         row{189, TEX_KEY, false}, row{445, TEX_BRIGHT, false}, row{398, TEX_RGB_MIPMAP, false}}) {
        const uint8_t texels[12] = {10, 20, 30, 255, 0, 0, 0, 0, 40, 50, 60, 255};
        std::memcpy(pixel_buffer, texels, sizeof texels);
        OGL_bleed_alpha(r.slot, r.type, 3, 1, 4, 3);
        const std::array<uint8_t, 4> want = r.bled ? std::array<uint8_t, 4>{25, 35, 45, 0} : std::array<uint8_t, 4>{0, 0, 0, 0};
        EXPECT_EQ(rgba_at(pixel_buffer + 4), want) << r.slot << " " << r.type;
    }
}

// A picture's colour-key texels leave what lies beneath them (here the
// placeholder's first grey); brightness textures take the mean of R, G and B as alpha.
TEST_F(TextureFiles, KeyTexelsOfPicturesAreSkippedAndBrightnessGivesAlpha)
{
    const rgb key = {255, 0, 255}, blue = {10, 20, 30};
    put("KEYPIC.BMP", bmp_bytes(2, 2, {key, blue, key, blue}));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "KEYPIC.BMP"), 1);
    EXPECT_EQ(rgba_at(pixel_buffer), (std::array<uint8_t, 4>{100, 100, 100, 255}));
    EXPECT_EQ(rgba_at(pixel_buffer + 4), (std::array<uint8_t, 4>{10, 20, 30, 255}));

    put("GLOW.BMP", bmp_bytes(2, 2, std::vector<rgb>(4, rgb{30, 60, 91})));
    ASSERT_EQ(load(LOAD_TEXTURE, 306, TEX_BRIGHT, "GLOW.BMP"), 1);
    EXPECT_EQ(rgba_at(pixel_buffer + 3 * 4), (std::array<uint8_t, 4>{30, 60, 91, 60}));   // 181 / 3
}

TEST_F(TextureFiles, PngKindsArriveAsRgbaTexels)
{
    // 1-bit grey, 8 texels in one byte: 1 0 1 1 0 0 0 1.
    put("GREY.PNG", png_bytes({.width = 8, .bit_depth = 1, .rows = {0xb1}}));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "GREY.BMP"), 1);
    std::vector<rgb> want;
    for (int bit : {1, 0, 1, 1, 0, 0, 0, 1}) want.push_back(bit ? rgb{255, 255, 255} : rgb{0, 0, 0});
    expect_texels(pixel_buffer, 8, 1, 1024, want);

    // Palette with transparency, 2 x 2: top row 0 1, bottom row 2 0.
    put("PAL.PNG", png_bytes({.width = 2, .height = 2, .colour_type = PNG_COLOR_TYPE_PALETTE, .rows = {0, 1, 2, 0},
                              .palette = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}}, .trns = {255, 0, 128}}));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "PAL.PNG"), 1);
    EXPECT_EQ(rgba_at(buffer_texel(0, 0)), (std::array<uint8_t, 4>{0, 0, 200, 128}));
    EXPECT_EQ(rgba_at(buffer_texel(0, 1)), (std::array<uint8_t, 4>{200, 0, 0, 255}));
    EXPECT_EQ(rgba_at(buffer_texel(1, 1)), (std::array<uint8_t, 4>{0, 200, 0, 0}));

    // 16 bits a channel: the high bytes are kept; uploaded as an RGB texture.
    put("DEEP.PNG",
        png_bytes({.colour_type = PNG_COLOR_TYPE_RGB, .bit_depth = 16, .rows = {0x12, 0xab, 0x34, 0xcd, 0x56, 0xef}}));
    ASSERT_EQ(load(LOAD_TEXTURE, 306, TEX_RGB, "DEEP.PNG"), 1);
    int w = 0, h = 0;
    EXPECT_EQ(read_texture(306, 0, w, h), (std::vector<uint8_t>{0x12, 0x34, 0x56, 255}));
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(TextureFiles, PngWarningsAreLoggedAndErrorsAreFatal)
{
    std::string bytes = png_bytes({.width = 2, .height = 2, .colour_type = PNG_COLOR_TYPE_RGB,
                                   .rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, .text_chunk = true});
    // Spoil the check sum of the text chunk: the library only warns about it.
    const size_t text = bytes.find("tEXt");
    ASSERT_NE(text, std::string::npos);
    bytes[text + 4 + uint8_t(bytes[text - 1])] ^= 0x55;
    put("WARN.PNG", bytes);
    put("CUT.PNG", bytes.substr(0, 60));
    put("TINY.PNG", std::string("\x89PNG", 4));

    const std::string log = error_log_during([&] {
        EXPECT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "WARN.PNG"), 1);
        EXPECT_EQ(buffer_texel(1, 0)[0], 1);   // the top row of the file is the top row here
        EXPECT_EQ(buffer_texel(0, 1)[2], 12);
        // Cut off inside the image data: a fatal alert, the library's message in the log.
        EXPECT_EQ(expect_fatal([&] { load(LOAD_BITMAP, 0, TEX_RGB, "CUT.PNG"); }).code, 17);
        EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "TINY.PNG", 2), "It is too short to be a PNG picture.");
    });
    EXPECT_NE(log.find("CRC error"), std::string::npos) << log;
    EXPECT_NE(log.find("PNG Read Error, png_io_buf_fill<0"), std::string::npos) << log;
}

TEST_F(TextureFiles, OversizedAndDamagedFilesNeverWriteOutsideTheBuffer)
{
    const size_t last = PIXEL_BUFFER_BYTES - 1;
    pixel_buffer[last] = 0x5a;

    put("WIDE.PNG", png_bytes({.width = 2048, .rows = std::vector<uint8_t>(2048, 77)}));
    EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "WIDE.PNG"), "Too big a bitmap to read!");
    put("WIDE.BMP", bmp_bytes(1025, 1, std::vector<rgb>(1025, rgb{1, 1, 1})));
    EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "WIDE.BMP"), "Bitmap too wide! (max is 1024)");

    // Pixel rows missing at the end of the file, a stub of a header, a wrong
    // depth: fatal for a picture the program needs, in words that say the file
    // is damaged; a texture is left out with one notice naming its file, and
    // the placeholder stands in for it.
    std::string bmp = bmp_bytes(4, 4, pattern(4, 4));
    put("SHORT.BMP", bmp.substr(0, bmp.size() - 5));
    EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "SHORT.BMP", 2), "It ends before its last row of texels.");
    put("STUB.BMP", bmp.substr(0, 30));
    EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "STUB.BMP", 2), "It ends inside its header.");
    bmp[28] = 32;
    put("DEEP.BMP", bmp);
    EXPECT_EQ(refusal(LOAD_BITMAP, 0, TEX_RGB, "DEEP.BMP"), "Wrong bitmap color depth for texture!");
    // An empty file too: there, but no picture.
    put("EMPTY.BMP", "");
    for (const char* name : {"SHORT.BMP", "STUB.BMP", "DEEP.BMP", "WIDE.BMP", "EMPTY.BMP"}) {
        clear_alerts();
        EXPECT_EQ(load(LOAD_TEXTURE, 307, TEX_RGB, name), 0);
        ASSERT_EQ(recorded_alerts.size(), 1u) << name;
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_NE(recorded_alerts[0].lines[1].find(std::string(name).substr(0, 4)), std::string::npos);
        EXPECT_EQ(width, 16);
    }
    EXPECT_EQ(recorded_alerts[0].lines[2], "It is empty.");
    EXPECT_EQ(pixel_buffer[last], 0x5a);

    // An instrument bitmap placed across the buffer's top right corner (x 1020,
    // y 1022) is clipped there: nothing wraps into the next row or past the end.
    pln[0].acf_ins_size[12] = 1.0f;
    std::memset(pixel_buffer + size_t(1023) * 1024 * 4, 0, 4 * 8);
    put("CORNER.BMP", bmp_bytes(8, 4, std::vector<rgb>(32, rgb{9, 9, 9})));
    ASSERT_EQ(load(LOAD_BITMAP, 512, 60206022, "CORNER.BMP"), 1);
    EXPECT_EQ(buffer_texel(1023, 1023)[0], 9);
    EXPECT_EQ(buffer_texel(1022, 1020)[0], 9);
    EXPECT_EQ(buffer_texel(1023, 0)[0], 0);
    EXPECT_EQ(pixel_buffer[last], 255);   // the alpha of the corner texel

    // Enlarged by the instrument's size factor: each texel becomes a 2 x 2 block.
    pln[0].acf_ins_size[12] = 2.0f;
    put("TWO.BMP", bmp_bytes(2, 1, {{50, 0, 0}, {60, 0, 0}}));
    ASSERT_EQ(load(LOAD_BITMAP, 512, 50005000, "TWO.BMP"), 1);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(4, 2));
    EXPECT_EQ(buffer_texel(1, 1)[0], 50);
    EXPECT_EQ(buffer_texel(1, 3)[0], 60);
    pln[0].acf_ins_size[12] = 0.0f;
}

TEST_F(TextureFiles, SizeRulesAndWrongCallsRaiseTheirAlerts)
{
    // The lowest setting keeps one texel at least.
    int stride = 0;
    screen.rendering_res = 0;
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("t", 300, LOAD_TEXTURE, 8, 8, stride), 1.0f / 8.0f);
    EXPECT_EQ(expect_fatal([&] { OGL_tex_scale_for_res("t", 5, LOAD_TEXTURE, 256, 96, stride); }).lines[0],
              "Wrong size terrain texture!");
    // Panels must be 1024 x 768 (checked for every load kind).
    EXPECT_EQ(expect_fatal([&] { OGL_tex_scale_for_res("p", 0, LOAD_PANEL, 512, 512, stride); }).lines[1],
              "You are probably trying to use a custom cockpit from an older version of Orvell that is not the "
              "right size.");
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("p", 0, LOAD_PANEL, 1024, 768, stride), 1.0f);

    EXPECT_EQ(refusal(LOAD_TEXTURE, 300, -103, "X.BMP"), "Bad filter type!");
    uint8_t texel[4] = {1, 2, 3, 4};
    OGL_load_tex("one", 4941, 0, GL_RGBA, 1, 1, texel);
    EXPECT_EQ(expect_fatal([&] { OGL_load_tex("one", 4942, 0, GL_RGBA, 1, 1, texel); }).lines[0],
              "OGL_load_tex: Trying to bind too high a texture index!");
    EXPECT_EQ(expect_fatal([&] { OGL_load_tex("big", 300, 0, GL_RGBA, 2048, 1, pixel_buffer); }).lines[1],
              "I cannot do this!");

    // A height field near the bottom of the signed range: the "multiple of the
    // height" test must not overflow on it; the file is refused by the rule.
    std::string bmp = bmp_bytes(4, 4, pattern(4, 4));
    bmp.replace(22, 4, "\x01\x00\x00\x80", 4);
    put("DEEPDOWN.BMP", bmp);
    const alert_record a = expect_fatal([&] { load(LOAD_TEXTURE, 10, TEX_RGB, "DEEPDOWN.BMP"); });
    EXPECT_EQ(a.lines[0], "Wrong size terrain texture!");
    EXPECT_EQ(a.lines[1].rfind("Texture must be power of 2 high", 0), 0u);
}

// The slots whose pictures tile repeat, every other slot is clamped; and the
// texture-resolution setting reduces set A (0..175, 274, 275, 1000 on) one
// step more than the rest, with the slots' own exceptions.
TEST_F(TextureFiles, EachSlotGetsItsWrapModeAndItsResolutionStep)
{
    uint8_t texels[4 * 4 * 4] = {};
    const GLint clamp = has_edge_clamp ? GL_CLAMP_TO_EDGE : GL_CLAMP;
    const int repeat_slots[] = {0, 48, 50, 173, 194, 198, 200, 205, 213, 214, 238, 253, 255, 266,
                                268, 273, 288, 298, 304, 311, 313, 454, 500, 999};
    const int clamp_slots[] = {49, 174, 193, 199, 206, 212, 215, 237, 254, 267, 274, 287,
                               299, 303, 305, 310, 314, 453, 455, 499, 1000};
    auto wrap_of = [&](int slot) {
        OGL_load_tex("wrap", slot, 0, GL_RGBA, 4, 4, texels);
        GLint s = 0, t = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
        EXPECT_EQ(s, t) << slot;
        return s;
    };
    for (int slot : repeat_slots) EXPECT_EQ(wrap_of(slot), GL_REPEAT) << slot;
    for (int slot : clamp_slots) EXPECT_EQ(wrap_of(slot), clamp) << slot;

    struct step { int res, slot; float scale; };
    const step steps[] = {
        {4, 10, 0.5f},     {4, 300, 1.0f},      {4, 274, 0.5f},     {4, 1003, 0.5f},  {4, 1001, 1.0f},
        {3, 10, 0.25f},    {3, 300, 0.5f},      {3, 197, 1.0f},     {3, 175, 0.25f},  {3, 176, 0.5f},
        {3, 404, 0.25f},   {3, 403, 0.5f},      {3, 444, 1.0f},     {3, 499, 1.0f},   {3, 205, 1.0f},
        {3, 230, 1.0f},    {2, 198, 0.5f},    {2, 10, 0.125f},     {2, 300, 0.25f},    {1, 10, 0.0625f}, {1, 300, 0.125f},
        {0, 10, 0.03125f}, {0, 300, 0.0625f},   {7, 10, 1.0f},
    };
    int stride = 0;
    for (const step& s : steps) {
        screen.rendering_res = s.res;
        EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("t", s.slot, LOAD_TEXTURE, 256, 256, stride), s.scale)
            << s.res << " " << s.slot;
        EXPECT_EQ(stride, static_cast<int>(256 * s.scale)) << s.res << " " << s.slot;
    }
    // Memory savers: the lit panel fonts below setting 2, the two roses below 3, are uploaded as 4 x 4.
    struct saver { int slot, below; };
    for (int res = 0; res <= 4; ++res)
        for (const saver& m : {saver{446, 0}, saver{447, 2}, saver{449, 2}, saver{451, 3}, saver{452, 3}}) {
            screen.rendering_res = res;
            OGL_load_tex("saver", m.slot, 0, GL_RGBA, 8, 8, pixel_buffer);
            EXPECT_EQ(texture_memory[m.slot], res < m.below ? 4 * 4 * 4 : 8 * 8 * 4) << res << " " << m.slot;
        }
    screen.rendering_res = 3;
}

// The reader's own colour treatments by slot, and the soft edges of the road
// slots: alpha times the share of opaque texels in the 9 x 9 window.
TEST_F(TextureFiles, SlotColourTreatmentsAndSoftRoadEdges)
{
    put("TINT.BMP", bmp_bytes(4, 4, std::vector<rgb>(16, rgb{100, 40, 8})));
    struct treated { int slot; rgb want; };
    const treated slots[] = {
        {197, {217, 202, 194}}, {198, {217, 202, 194}}, {208, {178, 148, 132}}, {268, {0, 0, 0}},
        {206, {255, 255, 255}}, {211, {255, 255, 255}}, {214, {255, 255, 255}}, {215, {255, 255, 255}},
        {237, {255, 255, 255}}, {207, {100, 40, 8}},    {238, {100, 40, 8}},
    };
    for (const treated& t : slots) {
        ASSERT_EQ(load(LOAD_TEXTURE, t.slot, TEX_RGB, "TINT.BMP"), 1) << t.slot;
        const uint8_t* p = pixel_buffer + (size_t(3) * 4 + 2) * 3;   // row 3, column 2, three bytes a texel
        EXPECT_EQ((rgb{p[0], p[1], p[2]}), t.want) << t.slot;
    }

    // 8 x 8, the left half and row 4 the colour key: in row 0 the first opaque
    // texel sees 16 opaque of 40 (alpha 102), the next 16 of 35, the one before
    // it now counting as opaque (alpha 116).
    std::vector<rgb> road(64, rgb{90, 90, 90});
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if (c < 4 || r == 4) road[size_t(r) * 8 + c] = rgb{255, 0, 255};
    put("ROAD.BMP", bmp_bytes(8, 8, road));
    for (int slot : {255, 257, 259, 162, 175, 256}) {
        ASSERT_EQ(load(LOAD_TEXTURE, slot, TEX_KEY, "ROAD.BMP"), 1) << slot;
        const bool soft = slot != 256;
        EXPECT_EQ(pixel_buffer[(size_t(0) * 8 + 4) * 4 + 3], soft ? 102 : 255) << slot;
        EXPECT_EQ(pixel_buffer[(size_t(0) * 8 + 5) * 4 + 3], soft ? 116 : 255) << slot;
        EXPECT_EQ(pixel_buffer[(size_t(0) * 8 + 3) * 4 + 3], 0) << slot;
        // Row 7 sees rows 3 to 7: 16 opaque of 40.
        EXPECT_EQ(pixel_buffer[(size_t(7) * 8 + 4) * 4 + 3], soft ? 102 : 255) << slot;
    }
}
