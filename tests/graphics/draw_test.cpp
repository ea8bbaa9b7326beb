#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <filesystem>

#include "graphics/ogl_draw.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "shell/folders.h"
#include "shell/glprobe.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/test_support.h"

namespace {

using px = std::array<int, 3>;

class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        screen.ui_zoom = 0.0f;
        app_mode = 1;
        draw_to_pixel_buffer = 0;
        gload_dim_factor = 1.0f;
        sim_graphics_misc.cockpit_light_level_r = 1.0f;
        sim_graphics_settings.transparent_panel = 0;
        OGL_fill_default_colors();
        OGL_scissor_off();
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static px pixel(int x, int y)
    {
        uint8_t p[4] = {0, 0, 0, 0};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
};

bool near(const px& a, const px& b, int tolerance = 1)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    return true;
}

GLboolean enabled_on_unit(int unit)
{
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    const GLboolean on = glIsEnabled(GL_TEXTURE_2D);
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
    return on;
}

}  // namespace

TEST_F(Drawing, SetStateLeavesOpenGlInTheNamedState)
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND_ALPHA_TEST, STATE_DEPTH_TEST_ON,
                  STATE_DEPTH_WRITE_ON);
    for (GLenum cap : {GL_FOG, GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT0, GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST})
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(mask);

    OGL_set_state(STATE_FOG_OFF, 2, STATE_LIGHTING_OFF, STATE_ALPHA_TEST, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_EQ(texture_unit_count, 2);
    EXPECT_TRUE(enabled_on_unit(0));
    EXPECT_TRUE(enabled_on_unit(1));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));

    gload_dim_factor = 0.5f;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    for (GLenum cap : {GL_FOG, GL_LIGHTING, GL_LIGHT0, GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST})
        EXPECT_FALSE(glIsEnabled(cap)) << cap;
    EXPECT_FALSE(enabled_on_unit(0));
    EXPECT_FALSE(enabled_on_unit(1));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_FALSE(mask);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);   // row 49 (white) dimmed

    // The colour ramp: six bands between seven points.
    gload_dim_factor = 1.0f;
    const std::pair<float, std::array<float, 3>> ramp[] = {
        {0.5f, {1, 1, 0}}, {1.0f, {0.8f, 0, 0.8f}}, {-3.0f, {0, 0, 0}}, {1.0f / 12.0f, {0.5f, 0, 0}}};
    for (const auto& [v, want] : ramp) {
        OGL_color_ramp(v);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(colour[i], want[i], 1e-5) << v;
    }
}

TEST_F(Drawing, LinesAndBoxesLandOnTheirPixels)
{
    OGL_fill_rect(9, 1.0f, 100, 200, 30, 20);
    EXPECT_EQ(pixel(100, 200), (px{255, 0, 0}));
    EXPECT_EQ(pixel(129, 219), (px{255, 0, 0}));
    EXPECT_EQ(pixel(99, 210), (px{0, 0, 0}));
    EXPECT_EQ(pixel(130, 210), (px{0, 0, 0}));
    EXPECT_EQ(pixel(110, 220), (px{0, 0, 0}));

    // Coordinates are relative to the current screen's origin.
    screen.screen_area_left = 10;
    screen.screen_area_bottom = 20;
    OGL_fill_rect(8, 1.0f, 0, 0, 5, 5);
    EXPECT_EQ(pixel(10, 20), (px{0, 255, 0}));
    EXPECT_EQ(pixel(14, 24), (px{0, 255, 0}));
    EXPECT_EQ(pixel(15, 24), (px{0, 0, 0}));
    screen.screen_area_left = screen.screen_area_bottom = 0;

    OGL_draw_line(8, 1.0f, 300, 100, 340, 100);
    for (int x : {301, 320, 338}) EXPECT_EQ(pixel(x, 100), (px{0, 255, 0})) << x;
    EXPECT_EQ(pixel(320, 101), (px{0, 0, 0}));
    EXPECT_EQ(pixel(320, 99), (px{0, 0, 0}));
    EXPECT_EQ(pixel(342, 100), (px{0, 0, 0}));

    OGL_draw_rect_outline(10, 1.0f, 500, 300, 40, 30);
    EXPECT_EQ(pixel(500, 315), (px{255, 255, 0}));
    EXPECT_EQ(pixel(520, 300), (px{255, 255, 0}));
    EXPECT_EQ(pixel(540, 315), (px{255, 255, 0}));
    EXPECT_EQ(pixel(520, 330), (px{255, 255, 0}));
    EXPECT_EQ(pixel(520, 315), (px{0, 0, 0}));

    OGL_draw_circle(0, 700, 400, 50);
    EXPECT_EQ(pixel(700, 450), (px{255, 255, 255}));
    EXPECT_EQ(pixel(750, 400), (px{255, 255, 255}));
    EXPECT_EQ(pixel(700, 400), (px{0, 0, 0}));

    // Rows up to 46 take the cockpit light tint, row 49 does not; alpha blends.
    sim_graphics_misc.cockpit_light_level_r = 0.5f;
    OGL_fill_rect(0, 1.0f, 0, 0, 4, 4);
    OGL_fill_rect(49, 1.0f, 10, 0, 4, 4);
    OGL_fill_rect(9, 0.5f, 20, 0, 4, 4);
    EXPECT_TRUE(near(pixel(1, 1), {128, 255, 255}));
    EXPECT_EQ(pixel(11, 1), (px{255, 255, 255}));
    EXPECT_TRUE(near(pixel(21, 1), {64, 0, 0}));   // tinted red at half alpha over black

    OGL_scissor_on(600, 600, 10, 10);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    OGL_scissor_off();
    EXPECT_EQ(pixel(600, 600), (px{0, 0, 255}));
    EXPECT_EQ(pixel(610, 605), (px{0, 0, 0}));
}

TEST_F(Drawing, BackgroundTilesFillTheScreenInOrder)
{
    for (int slot = 456; slot <= 467; ++slot) {
        const uint8_t texel[3] = {static_cast<uint8_t>(20 * (slot - 455)), 7, 9};
        OGL_load_tex("tile", slot, 0, GL_RGB, 1, 1, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    OGL_draw_background();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const int red = 20 * (1 + c + 4 * r);
            EXPECT_EQ(pixel(256 * c, 256 * r), (px{red, 7, 9})) << c << "," << r;
            EXPECT_EQ(pixel(256 * c + 255, 256 * r + 255), (px{red, 7, 9})) << c << "," << r;
        }

    // See-through while flying with the transparent panel on.
    app_mode = 0;
    sim_graphics_settings.transparent_panel = 1;
    glClear(GL_COLOR_BUFFER_BIT);
    OGL_draw_background();
    EXPECT_TRUE(near(pixel(10, 10), {8, 3, 4}));   // 0.4 of (20, 7, 9)
}

TEST_F(Drawing, PixelBufferDrawingWritesClippedTexels)
{
    std::fill(pixel_buffer, pixel_buffer + PIXEL_BUFFER_BYTES, uint8_t{0});
    draw_to_pixel_buffer = 1;
    OGL_fill_rect(9, 1.0f, 10, 20, 3, 2);
    int written = 0;
    for (size_t i = 0; i < PIXEL_BUFFER_TEXELS; ++i)
        if (pixel_buffer[i * 4 + 3]) ++written;
    EXPECT_EQ(written, 6);
    for (size_t t : {20490, 20491, 20492, 21514, 21515, 21516})
        EXPECT_EQ((std::array<uint8_t, 4>{pixel_buffer[t * 4], pixel_buffer[t * 4 + 1], pixel_buffer[t * 4 + 2],
                                          pixel_buffer[t * 4 + 3]}),
                  (std::array<uint8_t, 4>{255, 0, 0, 255}));

    std::fill(pixel_buffer, pixel_buffer + PIXEL_BUFFER_BYTES, uint8_t{0});
    OGL_draw_line(63, 1.0f, 0, 0, 3, 4);
    const int cells[6][2] = {{0, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 2}, {4, 3}};   // (row, column)
    for (const auto& rc : cells) EXPECT_EQ(pixel_buffer[(size_t(rc[0]) * 1024 + rc[1]) * 4], 128);
    written = 0;
    for (size_t i = 0; i < PIXEL_BUFFER_TEXELS; ++i)
        if (pixel_buffer[i * 4 + 3]) ++written;
    EXPECT_EQ(written, 6);

    // Shapes reaching past the buffer's edges are clipped to it.
    OGL_fill_rect(0, 1.0f, 1020, 1020, 100, 100);
    OGL_fill_rect(0, 1.0f, -50, -50, 52, 51);
    OGL_draw_line(0, 1.0f, -300, 1023, 3000, 1023);
    OGL_draw_line(0, 1.0f, 0, 0, 1.0e30f, 1.0e30f);
    EXPECT_EQ(pixel_buffer[PIXEL_BUFFER_BYTES - 1], 255);
    EXPECT_EQ(pixel_buffer[(size_t(0) * 1024 + 1) * 4 + 3], 255);
    draw_to_pixel_buffer = 0;
}

TEST_F(Drawing, BmpWriterAndScreenshots)
{
    temp_folder tmp;
    const uint8_t texels[6] = {1, 2, 3, 4, 5, 6};
    std::copy(texels, texels + 6, pixel_buffer);
    const std::string path = (tmp.path() / "two.bmp").string();
    BMP_write_file(path.c_str(), 2, 1);
    const unsigned char expected[62] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0,
        0,   0,   0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0};
    EXPECT_EQ(read_file_bytes(path), std::string(reinterpret_cast<const char*>(expected), 62));
    EXPECT_EQ(pixel_buffer[0], 3);   // left in B, G, R order

    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    SCREENSHOT_reset();
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    OGL_screenshot();
    const std::string shot = read_file_bytes(tmp.path() / "screenshot_0.bmp");
    ASSERT_EQ(shot.size(), 2359350u);
    for (size_t texel : {size_t(0), size_t(512 * 1024 + 300), size_t(1024 * 768 - 1)}) {
        const size_t at = 54 + texel * 3;
        EXPECT_EQ(static_cast<uint8_t>(shot[at]), 153);
        EXPECT_EQ(static_cast<uint8_t>(shot[at + 1]), 102);
        EXPECT_EQ(static_cast<uint8_t>(shot[at + 2]), 51);
    }
    OGL_screenshot();
    EXPECT_TRUE(std::filesystem::exists(tmp.path() / "screenshot_1.bmp"));
    EXPECT_EQ(screenshot_counter, 1);

    // Pack settings left by other code (a long row length, skipped rows) would
    // spread the picture past the end of the pixel buffer; the screenshot reads
    // tight rows all the same and gives the settings back.
    glPixelStorei(GL_PACK_ROW_LENGTH, 2048);
    glPixelStorei(GL_PACK_SKIP_ROWS, 200);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    glClearColor(0.8f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    OGL_screenshot();
    GLint v = 0;
    glGetIntegerv(GL_PACK_ROW_LENGTH, &v);
    EXPECT_EQ(v, 2048);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const std::string third = read_file_bytes(tmp.path() / "screenshot_2.bmp");
    ASSERT_EQ(third.size(), 2359350u);
    for (size_t texel : {size_t(0), size_t(700 * 1024 + 1000), size_t(1024 * 768 - 1)})
        EXPECT_EQ(third.substr(54 + texel * 3, 3), std::string("\xff\x00\xcc", 3)) << texel;
}

TEST_F(Drawing, SetStateSwitchesOffTexturingOthersLeftOn)
{
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_EQ(texture_unit_count, 0);
    glEnable(GL_TEXTURE_2D);   // a plug-in leaves texturing on
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(texture_unit_count, 1);
}
