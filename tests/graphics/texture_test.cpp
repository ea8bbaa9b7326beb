#include <gtest/gtest.h>

#include <GL/gl.h>
#include <png.h>

#include <cstring>
#include <fstream>

#include "aircraft/acf_struct.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_tex.h"
#include "shell/display.h"
#include "shell/folders.h"
#include "shell/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/test_support.h"

namespace {

class TextureFiles : public ::testing::Test {
protected:
    temp_folder tmp;

    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
        screen.rendering_res = 5;   // no reduction
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        redraw_pending = 0;
    }
    void put(const std::string& name, const std::string& bytes) { tmp.write("RESOURCES/BITMAPS/" + name, bytes); }
    int load(int kind, int slot, int type, const char* name)
    {
        int w = 0, h = 0;
        const int read = OGL_load_tex_file(kind, slot, type, name, w, h);
        width = w;
        height = h;
        return read;
    }
    int width = 0, height = 0;
};

const uint8_t* buffer_texel(int row, int col, int stride = 1024) { return pixel_buffer + (size_t(row) * stride + col) * 4; }

std::vector<rgb> pattern(int w, int h)
{
    std::vector<rgb> t;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            t.push_back({static_cast<uint8_t>(c), static_cast<uint8_t>(r), static_cast<uint8_t>(7 * r + 3 * c)});
    return t;
}

}  // namespace

TEST_F(TextureFiles, BmpReadsTexelExactWithPaddedRows)
{
    // 3 x 2: rows of 9 texel bytes and 3 padding bytes.
    const std::vector<rgb> odd = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    put("ODD.BMP", bmp_bytes(3, 2, odd));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "ODD.BMP"), 1);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            const uint8_t* t = buffer_texel(r, c);
            const rgb& want = odd[size_t(r) * 3 + c];
            EXPECT_EQ((std::array<uint8_t, 4>{t[0], t[1], t[2], t[3]}),
                      (std::array<uint8_t, 4>{want[0], want[1], want[2], 255}));
        }
    // As a texture the odd side is refused.
    const alert_record a = expect_fatal([&] { load(LOAD_TEXTURE, 300, TEX_RGB, "ODD.BMP"); });
    EXPECT_EQ(a.lines[0], "OGL_load_tex: Trying to read a texture that is not a power of 2!");

    // 2 x 2 (2 padding bytes a row) uploaded and read back from OpenGL.
    const std::vector<rgb> even = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
    put("EVEN.BMP", bmp_bytes(2, 2, even));
    ASSERT_EQ(load(LOAD_TEXTURE, 300, TEX_RGB, "EVEN.BMP"), 1);
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(300, 0, w, h);
    ASSERT_EQ(w, 2);
    ASSERT_EQ(h, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((std::array<uint8_t, 4>{tex[i * 4], tex[i * 4 + 1], tex[i * 4 + 2], tex[i * 4 + 3]}),
                  (std::array<uint8_t, 4>{even[i][0], even[i][1], even[i][2], 255}));
    EXPECT_EQ(texture_memory[300], 2 * 2 * 3);

    // Colour key: magenta turns transparent and takes its opaque neighbours' mean colour.
    put("KEY.BMP", bmp_bytes(4, 1, {{255, 0, 0}, {255, 0, 255}, {0, 0, 255}, {0, 255, 0}}));
    ASSERT_EQ(load(LOAD_TEXTURE, 301, TEX_KEY, "KEY.BMP"), 1);
    const std::vector<uint8_t> keyed = read_texture(301, 0, w, h);
    EXPECT_EQ((std::vector<uint8_t>(keyed.begin() + 4, keyed.begin() + 8)), (std::vector<uint8_t>{85, 85, 85, 0}));
    EXPECT_EQ(keyed[3], 255);
    EXPECT_TRUE(recorded_alerts.size() == 1);   // only the power-of-two alert
}

TEST_F(TextureFiles, MissingFileGivesTheCheckerboard)
{
    EXPECT_EQ(load(LOAD_TEXTURE, 302, TEX_RGB, "NOT THERE.BMP"), 0);
    EXPECT_TRUE(recorded_alerts.empty());
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(302, 0, w, h);
    ASSERT_EQ(w, 16);
    ASSERT_EQ(h, 16);
    EXPECT_EQ(tex[0], 100);
    EXPECT_EQ(tex[4], 200);
    EXPECT_EQ(tex[16 * 4], 200);
    EXPECT_EQ(tex[17 * 4 + 2], 100);
    const alert_record a = expect_fatal([&] { load(LOAD_BITMAP, 0, TEX_RGB, "NOT THERE.BMP"); });
    EXPECT_EQ(a.lines[0], "Can't open bitmap!");
    EXPECT_EQ(load(LOAD_CUSTOM_PANEL, 0, TEX_RGB, "NOT THERE.BMP"), 0);
}

TEST_F(TextureFiles, ResolutionSettingHalvesAndMipmapsGetEveryLevel)
{
    const std::vector<rgb> big = pattern(256, 256);
    put("BIG.BMP", bmp_bytes(256, 256, big));
    screen.rendering_res = 3;   // slots outside the low range: half size
    ASSERT_EQ(load(LOAD_TEXTURE, 303, TEX_RGB, "BIG.BMP"), 1);
    EXPECT_EQ(width, 128);
    int w = 0, h = 0;
    std::vector<uint8_t> tex = read_texture(303, 0, w, h);
    ASSERT_EQ(w, 128);
    ASSERT_EQ(h, 128);
    for (int r : {0, 1, 77, 127})
        for (int c : {0, 5, 127}) {
            const rgb& want = big[size_t(2 * r) * 256 + 2 * c];
            EXPECT_EQ(tex[(size_t(r) * 128 + c) * 4 + 0], want[0]);
            EXPECT_EQ(tex[(size_t(r) * 128 + c) * 4 + 1], want[1]);
            EXPECT_EQ(tex[(size_t(r) * 128 + c) * 4 + 2], want[2]);
        }

    // The same through the PNG reader.
    png_desc desc;
    desc.width = desc.height = 256;
    desc.colour_type = PNG_COLOR_TYPE_RGB;
    for (int r = 255; r >= 0; --r)
        for (int c = 0; c < 256; ++c)
            for (int k = 0; k < 3; ++k) desc.rows.push_back(big[size_t(r) * 256 + c][k]);
    put("BIGP.PNG", png_bytes(desc));
    ASSERT_EQ(load(LOAD_TEXTURE, 304, TEX_RGB, "BIGP.BMP"), 1);
    const std::vector<uint8_t> ptex = read_texture(304, 0, w, h);
    ASSERT_EQ(w, 128);
    EXPECT_EQ(ptex, tex);

    // An 8 x 2 mipmapped texture: levels 4 x 1, 2 x 1, 1 x 1, each the mean of four.
    screen.rendering_res = 5;
    std::vector<rgb> small;
    for (int i = 0; i < 16; ++i) small.push_back({static_cast<uint8_t>(10 * i), 0, 255});
    put("MIP.BMP", bmp_bytes(8, 2, small));
    ASSERT_EQ(load(LOAD_TEXTURE, 305, TEX_RGB_MIPMAP, "MIP.BMP"), 1);
    const int sizes[4][2] = {{8, 2}, {4, 1}, {2, 1}, {1, 1}};
    for (int level = 0; level < 4; ++level) {
        tex = read_texture(305, level, w, h);
        EXPECT_EQ(w, sizes[level][0]);
        EXPECT_EQ(h, sizes[level][1]);
    }
    tex = read_texture(305, 1, w, h);
    EXPECT_EQ(tex[0], (0 + 10 + 80 + 90) / 4);
    EXPECT_EQ(tex[2], 255);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(texture_memory[305], (16 + 4 + 2 + 1) * 3);
}

TEST_F(TextureFiles, PngKindsArriveAsRgbaTexels)
{
    // 1-bit grey, 8 texels in one byte: 1 0 1 1 0 0 0 1.
    png_desc grey;
    grey.width = 8;
    grey.colour_type = PNG_COLOR_TYPE_GRAY;
    grey.bit_depth = 1;
    grey.rows = {0xb1};
    put("GREY.PNG", png_bytes(grey));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "GREY.BMP"), 1);
    const int bits[8] = {1, 0, 1, 1, 0, 0, 0, 1};
    for (int c = 0; c < 8; ++c) {
        const uint8_t v = bits[c] ? 255 : 0;
        EXPECT_EQ((std::array<uint8_t, 4>{buffer_texel(0, c)[0], buffer_texel(0, c)[1], buffer_texel(0, c)[2],
                                          buffer_texel(0, c)[3]}),
                  (std::array<uint8_t, 4>{v, v, v, 255}));
    }

    // Palette with transparency, 2 x 2: top row 0 1, bottom row 2 0.
    png_desc pal;
    pal.width = pal.height = 2;
    pal.colour_type = PNG_COLOR_TYPE_PALETTE;
    pal.palette = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
    pal.trns = {255, 0, 128};
    pal.rows = {0, 1, 2, 0};
    put("PAL.PNG", png_bytes(pal));
    ASSERT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "PAL.PNG"), 1);
    auto texel4 = [](int r, int c) {
        const uint8_t* t = buffer_texel(r, c);
        return std::array<uint8_t, 4>{t[0], t[1], t[2], t[3]};
    };
    EXPECT_EQ(texel4(0, 0), (std::array<uint8_t, 4>{0, 0, 200, 128}));
    EXPECT_EQ(texel4(0, 1), (std::array<uint8_t, 4>{200, 0, 0, 255}));
    EXPECT_EQ(texel4(1, 0), (std::array<uint8_t, 4>{200, 0, 0, 255}));
    EXPECT_EQ(texel4(1, 1), (std::array<uint8_t, 4>{0, 200, 0, 0}));

    // 16 bits a channel: the high bytes are kept; uploaded as an RGB texture.
    png_desc deep;
    deep.colour_type = PNG_COLOR_TYPE_RGB;
    deep.bit_depth = 16;
    deep.rows = {0x12, 0xab, 0x34, 0xcd, 0x56, 0xef};
    put("DEEP.PNG", png_bytes(deep));
    ASSERT_EQ(load(LOAD_TEXTURE, 306, TEX_RGB, "DEEP.PNG"), 1);
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(306, 0, w, h);
    EXPECT_EQ(tex, (std::vector<uint8_t>{0x12, 0x34, 0x56, 255}));
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(TextureFiles, PngWarningsAreLoggedAndErrorsAreFatal)
{
    png_desc desc;
    desc.width = desc.height = 2;
    desc.colour_type = PNG_COLOR_TYPE_RGB;
    desc.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    desc.text_chunk = true;
    std::string bytes = png_bytes(desc);
    // Spoil the check sum of the text chunk: the library only warns about it.
    const size_t text = bytes.find("tEXt");
    ASSERT_NE(text, std::string::npos);
    const uint32_t length = (uint8_t(bytes[text - 4]) << 24) | (uint8_t(bytes[text - 3]) << 16) |
                            (uint8_t(bytes[text - 2]) << 8) | uint8_t(bytes[text - 1]);
    bytes[text + 4 + length] ^= 0x55;
    put("WARN.PNG", bytes);

    const std::string log_path = (tmp.path() / "ERROR.OUT").string();
    error_log.close();
    error_log.clear();
    error_log.open(log_path);
    EXPECT_EQ(load(LOAD_BITMAP, 0, TEX_RGB, "WARN.PNG"), 1);
    EXPECT_EQ(buffer_texel(1, 0)[0], 1);   // the top row of the file is the top row here
    EXPECT_EQ(buffer_texel(0, 1)[2], 12);

    // Cut off inside the image data: a fatal alert, the library's message in the log.
    put("CUT.PNG", png_bytes(desc).substr(0, 60));
    const alert_record a = expect_fatal([&] { load(LOAD_BITMAP, 0, TEX_RGB, "CUT.PNG"); });
    EXPECT_EQ(a.code, 17);
    put("TINY.PNG", std::string("\x89PNG", 4));
    EXPECT_EQ(expect_fatal([&] { load(LOAD_BITMAP, 0, TEX_RGB, "TINY.PNG"); }).lines[1], "png_io_buf_fill<8");
    error_log.close();
    const std::string log = read_file_bytes(log_path);
    EXPECT_NE(log.find("CRC error"), std::string::npos) << log;
    EXPECT_NE(log.find("PNG Read Error, png_io_buf_fill<0"), std::string::npos) << log;
}

TEST_F(TextureFiles, OversizedAndDamagedFilesNeverWriteOutsideTheBuffer)
{
    const size_t last = PIXEL_BUFFER_BYTES - 1;
    pixel_buffer[last] = 0x5a;

    png_desc wide;
    wide.width = 2048;
    wide.colour_type = PNG_COLOR_TYPE_GRAY;
    wide.rows.assign(2048, 77);
    put("WIDE.PNG", png_bytes(wide));
    EXPECT_EQ(expect_fatal([&] { load(LOAD_BITMAP, 0, TEX_RGB, "WIDE.PNG"); }).lines[0], "Too big a bitmap to read!");

    std::string bmp = bmp_bytes(1025, 1, std::vector<rgb>(1025, rgb{1, 1, 1}));
    put("WIDE.BMP", bmp);
    EXPECT_EQ(expect_fatal([&] { load(LOAD_TEXTURE, 307, TEX_RGB, "WIDE.BMP"); }).lines[0],
              "Bitmap too wide! (max is 1024)");

    // Pixel rows missing at the end of the file.
    bmp = bmp_bytes(4, 4, pattern(4, 4));
    put("SHORT.BMP", bmp.substr(0, bmp.size() - 5));
    EXPECT_EQ(expect_fatal([&] { load(LOAD_TEXTURE, 307, TEX_RGB, "SHORT.BMP"); }).lines[0], "Scan too far!");
    put("STUB.BMP", bmp.substr(0, 30));
    EXPECT_EQ(expect_fatal([&] { load(LOAD_TEXTURE, 307, TEX_RGB, "STUB.BMP"); }).lines[0], "Scan too far!");
    bmp[28] = 32;
    put("DEEP.BMP", bmp);
    EXPECT_EQ(expect_fatal([&] { load(LOAD_TEXTURE, 307, TEX_RGB, "DEEP.BMP"); }).lines[0],
              "Wrong bitmap color depth for texture!");

    // An instrument bitmap placed across the buffer's top right corner (x 1020,
    // y 1022) is clipped there: nothing wraps into the next row or past the end.
    EXPECT_EQ(pixel_buffer[last], 0x5a);
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
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(buffer_texel(1, 1)[0], 50);
    EXPECT_EQ(buffer_texel(1, 3)[0], 60);
    pln[0].acf_ins_size[12] = 0.0f;
}

TEST_F(TextureFiles, SizeRulesAndWrongCallsRaiseTheirAlerts)
{
    int stride = 0;
    screen.rendering_res = 2;
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("c", 197, LOAD_TEXTURE, 256, 256, stride), 0.5f);
    EXPECT_EQ(stride, 128);
    screen.rendering_res = 4;
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("t", 10, LOAD_TEXTURE, 256, 256, stride), 0.5f);
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("t", 300, LOAD_TEXTURE, 256, 256, stride), 1.0f);
    screen.rendering_res = 0;
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("t", 300, LOAD_TEXTURE, 256, 256, stride), 1.0f / 16.0f);
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("t", 300, LOAD_TEXTURE, 8, 8, stride), 1.0f / 8.0f);   // one texel at least
    EXPECT_EQ(expect_fatal([&] { OGL_tex_scale_for_res("t", 5, LOAD_TEXTURE, 256, 96, stride); }).lines[0],
              "Wrong size terrain texture!");
    // Panels must be 1024 x 768 (checked for every load kind).
    EXPECT_EQ(expect_fatal([&] { OGL_tex_scale_for_res("p", 0, LOAD_PANEL, 512, 512, stride); }).lines[1],
              "You are probably trying to use a custom cockpit from an older version of Orvell that is not the "
              "right size.");
    EXPECT_FLOAT_EQ(OGL_tex_scale_for_res("p", 0, LOAD_PANEL, 1024, 768, stride), 1.0f);
    EXPECT_EQ(stride, 1024);

    EXPECT_EQ(expect_fatal([&] { load(LOAD_TEXTURE, 300, -103, "X.BMP"); }).lines[0], "Bad filter type!");
    uint8_t texel[4] = {1, 2, 3, 4};
    OGL_load_tex("one", 4941, 0, GL_RGBA, 1, 1, texel);
    EXPECT_EQ(expect_fatal([&] { OGL_load_tex("one", 4942, 0, GL_RGBA, 1, 1, texel); }).lines[0],
              "OGL_load_tex: Trying to bind too high a texture index!");
    EXPECT_EQ(expect_fatal([&] { OGL_load_tex("big", 300, 0, GL_RGBA, 2048, 1, pixel_buffer); }).lines[1],
              "I cannot do this!");
}

TEST_F(TextureFiles, TerrainSizeRuleTakesAnyHeightFromAFile)
{
    // A height field near the bottom of the signed range: the "multiple of the
    // height" test must not overflow on it; the file is refused by the rule.
    std::string bmp = bmp_bytes(4, 4, pattern(4, 4));
    for (int i = 0; i < 4; ++i) bmp[22 + i] = "\x01\x00\x00\x80"[i];
    put("DEEPDOWN.BMP", bmp);
    const alert_record a = expect_fatal([&] { load(LOAD_TEXTURE, 10, TEX_RGB, "DEEPDOWN.BMP"); });
    EXPECT_EQ(a.lines[0], "Wrong size terrain texture!");
    EXPECT_EQ(a.lines[1].rfind("Texture must be power of 2 high", 0), 0u);
}

TEST_F(TextureFiles, UploadReadsTightRowsWhateverOthersLeftSet)
{
    // A plug-in's unpack settings (4-byte row alignment, a long row length,
    // skipped rows) would make OpenGL read the 2 x 2 RGB texels from the wrong
    // places, and far past the image.
    const std::vector<rgb> even = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
    put("EVEN.BMP", bmp_bytes(2, 2, even));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 4096);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 300);
    ASSERT_EQ(load(LOAD_TEXTURE, 308, TEX_RGB, "EVEN.BMP"), 1);
    GLint v = 0;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &v);
    EXPECT_EQ(v, 4096);   // given back as it was
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &v);
    EXPECT_EQ(v, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    int w = 0, h = 0;
    const std::vector<uint8_t> tex = read_texture(308, 0, w, h);
    ASSERT_EQ(w * 10 + h, 22);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((std::array<uint8_t, 4>{tex[i * 4], tex[i * 4 + 1], tex[i * 4 + 2], tex[i * 4 + 3]}),
                  (std::array<uint8_t, 4>{even[i][0], even[i][1], even[i][2], 255}));
}
