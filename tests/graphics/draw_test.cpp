#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <vector>

#include "graphics/ogl_draw.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "core/alert.h"
#include "core/camera.h"
#include "core/folders.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "platform/plat_files.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/test_support.h"
#include "tests/support/ui_capture.h"

namespace {

using px = std::array<int, 3>;
const px black{0, 0, 0};

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
    // Every listed pixel holds the colour.
    static void expect_pixels(std::initializer_list<std::pair<int, int>> at, const px& colour)
    {
        for (auto [x, y] : at) EXPECT_EQ(pixel(x, y), colour) << x << "," << y;
    }
};

// The capabilities are all on, or all off, and so is the depth write mask.
void expect_caps(std::initializer_list<GLenum> caps, bool on, bool depth_write)
{
    for (GLenum cap : caps) EXPECT_EQ(glIsEnabled(cap) == GL_TRUE, on) << cap;
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask == GL_TRUE, depth_write);
}

GLboolean enabled_on_unit(int unit)
{
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    const GLboolean on = glIsEnabled(GL_TEXTURE_2D);
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
    return on;
}

size_t written_texels()
{
    size_t n = 0;
    for (size_t i = 0; i < PIXEL_BUFFER_TEXELS; ++i) n += pixel_buffer[i * 4 + 3] != 0;
    return n;
}

}  // namespace

TEST_F(Drawing, SetStateLeavesOpenGlInTheNamedState)
{
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_BLEND_ALPHA_TEST, STATE_DEPTH_TEST_ON,
                  STATE_DEPTH_WRITE_ON);
    expect_caps({GL_FOG, GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT0, GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST}, true, true);
    OGL_set_state(STATE_FOG_OFF, 2, STATE_LIGHTING_OFF, STATE_ALPHA_TEST, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_TRUE(enabled_on_unit(0) && enabled_on_unit(1));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST) && !glIsEnabled(GL_BLEND));

    gload_dim_factor = 0.5f;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    expect_caps({GL_FOG, GL_LIGHTING, GL_LIGHT0, GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST}, false, false);
    EXPECT_FALSE(enabled_on_unit(0) || enabled_on_unit(1));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);   // row 49 (white) dimmed

    // Texturing that a plug-in left on is switched off again, though the kit
    // believes no unit is on.
    glEnable(GL_TEXTURE_2D);
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Drawing, LinesAndBoxesLandOnTheirPixels)
{
    OGL_fill_rect(9, 1.0f, 100, 200, 30, 20);
    expect_pixels({{100, 200}, {129, 219}}, {255, 0, 0});
    expect_pixels({{99, 210}, {130, 210}, {110, 220}}, black);

    // Coordinates are relative to the current screen's origin.
    screen.screen_area_left = 10;
    screen.screen_area_bottom = 20;
    OGL_fill_rect(8, 1.0f, 0, 0, 5, 5);
    expect_pixels({{10, 20}, {14, 24}}, {0, 255, 0});
    expect_pixels({{15, 24}}, black);
    screen.screen_area_left = screen.screen_area_bottom = 0;

    OGL_draw_line(8, 1.0f, 300, 100, 340, 100);
    expect_pixels({{301, 100}, {320, 100}, {338, 100}}, {0, 255, 0});
    expect_pixels({{320, 101}, {320, 99}, {342, 100}}, black);

    OGL_draw_rect_outline(10, 1.0f, 500, 300, 40, 30);
    expect_pixels({{500, 315}, {520, 300}, {540, 315}, {520, 330}}, {255, 255, 0});
    expect_pixels({{520, 315}}, black);
}

// A circle is 72 chords, every 5 degrees clockwise from the top, half a unit
// in; the text shade is row 33 at the caller's alpha; a screen wider than the
// interface gets a margin of row 36 under its tiles, flying it gets none.
TEST_F(Drawing, CircleShadeBoxAndScreenMargin)
{
    const auto lines = capture_feedback([] { OGL_draw_circle(10, 100, 200, 50); });
    ASSERT_EQ(lines.size(), 72u);
    EXPECT_NEAR(lines[0].v[0].x, 100.5f, 1e-3f);
    EXPECT_NEAR(lines[0].v[0].y, 250.5f, 1e-3f);
    EXPECT_NEAR(lines[18].v[0].x, 150.5f, 1e-3f);
    EXPECT_NEAR(lines[18].v[0].y, 200.5f, 1e-3f);

    OGL_set_color(33, 0.2f, 0.4f, 0.6f);
    OGL_set_color(36, 0.3f, 0.5f, 0.7f);
    const auto shade = capture_rects([] { OGL_shade_box(10, 20, 110, 60, 0.5f); });
    ASSERT_EQ(shade.size(), 1u);
    EXPECT_EQ((std::array<float, 4>{shade[0].x1, shade[0].y1, shade[0].x2, shade[0].y2}),
              (std::array<float, 4>{10, 20, 110, 60}));
    EXPECT_NEAR(shade[0].r, 0.2f, 1e-3f);
    EXPECT_NEAR(shade[0].b, 0.6f, 1e-3f);
    EXPECT_NEAR(shade[0].a, 0.5f, 1e-3f);

    // A margin beside or above the interface area, with a screen open.
    for (auto [side, top] : {std::pair{100.0f, 0.0f}, std::pair{0.0f, 100.0f}}) {
        screen.ui_side_margin = side;
        screen.ui_top_margin = top;
        for (int mode : {1, 0}) {
            app_mode = mode;
            int margins = 0;
            // The margin reaches past the window: what is seen of it is clipped into pieces.
            for (const fb_rect& q : capture_rects([] { OGL_draw_background(); }))
                if (std::fabs(q.r - 0.3f) < 1e-3f && std::fabs(q.g - 0.5f) < 1e-3f && std::fabs(q.b - 0.7f) < 1e-3f)
                    ++margins;
            EXPECT_EQ(margins > 0, mode == 1) << mode << " " << top;
        }
    }
    screen.ui_side_margin = 0.0f;
    screen.ui_top_margin = 0.0f;
    app_mode = 1;
    OGL_fill_default_colors();
}

TEST_F(Drawing, BackgroundTilesFillTheScreenInOrder)
{
    for (int slot = 456; slot <= 467; ++slot) {
        const uint8_t texel[3] = {static_cast<uint8_t>(20 * (slot - 455)), 7, 9};
        OGL_load_tex("tile", slot, 0, GL_RGB, 1, 1, texel);
    }
    OGL_draw_background();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            expect_pixels({{256 * c, 256 * r}, {256 * c + 255, 256 * r + 255}}, {20 * (1 + c + 4 * r), 7, 9});
}

// The rows the caller names as wholly covered come from a kept drawing of
// the picture: the frame looks exactly as when every tile is drawn, also
// after the light colour changes and after a tile is loaded anew, and the
// kept rows are not drawn from the tiles again.
TEST_F(Drawing, KeptBackgroundLooksTheSameAsDrawingIt)
{
    ASSERT_EQ(screen.window_width, 1024);
    ASSERT_EQ(screen.window_height, 768);
    // Tiles of varied texels; the top row of tiles is opaque in its lowest 40
    // rows, mostly clear above them and wholly clear in its top 100 rows, as
    // a panel's window would be.
    std::vector<uint8_t> tile(256 * 256 * 4);
    const auto load = [&](int slot, int seed) {
        const int r = (slot - TEX_SLOT_BACKGROUND_FIRST) / 4;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                uint8_t* t = &tile[(size_t(y) * 256 + size_t(x)) * 4];
                t[0] = static_cast<uint8_t>(x * 7 + y * 3 + seed);
                t[1] = static_cast<uint8_t>(y * 5 + slot);
                t[2] = static_cast<uint8_t>((x ^ y) + seed);
                t[3] = (r == 2 && y >= 40 && (y >= 156 || (x * 31 + y * 17) % 11 != 0)) ? 0 : 255;
            }
        OGL_load_tex("tile", slot, 0, GL_RGBA, 256, 256, tile.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    };
    for (int slot = TEX_SLOT_BACKGROUND_FIRST; slot < TEX_SLOT_BACKGROUND_FIRST + 12; ++slot) load(slot, 0);

    std::vector<uint8_t> picture(1024 * 768 * 4);
    const auto frame = [&](int opaque_rows) {
        glClearColor(0.1f, 0.3f, 0.7f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        OGL_draw_background(opaque_rows);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
        return picture;
    };
    const int opaque = 2 * 256 + 40;
    for (const float light : {1.0f, 0.6f}) {
        sim_graphics_misc.cockpit_light_level_r = light;
        const std::vector<uint8_t> drawn = frame(0);
        for (int n = 0; n < 3; ++n) EXPECT_EQ(frame(opaque), drawn) << "light " << light << ", frame " << n;
    }
    load(TEX_SLOT_BACKGROUND_FIRST + 1, 90);
    const std::vector<uint8_t> drawn = frame(0);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(frame(opaque), drawn) << "a tile loaded anew, frame " << n;

    // The kept rows come from the kept picture, not from the tiles: texels
    // changed behind the loader's back (no upload counted) show only in the
    // rows still drawn, and a frame drawn whole shows them everywhere.
    frame(opaque);
    std::vector<uint8_t> white(256 * 256 * 4, 255);
    for (const int slot : {TEX_SLOT_BACKGROUND_FIRST + 1, TEX_SLOT_BACKGROUND_FIRST + 9}) {
        OGL_bind_tex(slot, 0);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
    }
    const std::vector<uint8_t> kept = frame(opaque);
    const auto at = [](const std::vector<uint8_t>& p, int x, int y) {
        const uint8_t* t = &p[(size_t(y) * 1024 + size_t(x)) * 4];
        return std::array<uint8_t, 3>{t[0], t[1], t[2]};
    };
    const std::vector<uint8_t> whole = frame(0);
    EXPECT_EQ(at(kept, 300, 100), at(drawn, 300, 100)) << "a kept row";
    EXPECT_NE(at(whole, 300, 100), at(drawn, 300, 100)) << "the frame drawn whole";
    EXPECT_EQ(at(kept, 300, opaque + 10), at(whole, 300, opaque + 10)) << "a row drawn from the tiles";
    sim_graphics_misc.cockpit_light_level_r = 1.0f;
    glClearColor(0, 0, 0, 1);
}

// The cockpit light tints colour rows up to 46; row 47 and above keep their colour.
TEST_F(Drawing, CockpitLightTintsRowsUpTo46)
{
    OGL_set_color(46, 1.0f, 1.0f, 1.0f);
    OGL_set_color(47, 1.0f, 1.0f, 1.0f);
    sim_graphics_misc.cockpit_light_level_r = 0.5f;
    OGL_fill_rect(46, 1.0f, 0, 0, 10, 10);
    OGL_fill_rect(47, 1.0f, 20, 0, 10, 10);
    sim_graphics_misc.cockpit_light_level_r = 1.0f;
    EXPECT_NEAR(pixel(5, 5)[0], 128, 2);
    EXPECT_EQ(pixel(5, 5)[1], 255);
    expect_pixels({{25, 5}}, {255, 255, 255});
    OGL_fill_default_colors();
}

TEST_F(Drawing, PixelBufferDrawingWritesClippedTexels)
{
    std::fill(pixel_buffer, pixel_buffer + PIXEL_BUFFER_BYTES, uint8_t{0});
    draw_to_pixel_buffer = 1;
    OGL_fill_rect(9, 1.0f, 10, 20, 3, 2);
    EXPECT_EQ(written_texels(), 6u);
    for (size_t t : {20490, 20491, 20492, 21514, 21515, 21516})
        EXPECT_EQ(rgba_at(pixel_buffer + t * 4), (std::array<uint8_t, 4>{255, 0, 0, 255})) << t;

    std::fill(pixel_buffer, pixel_buffer + PIXEL_BUFFER_BYTES, uint8_t{0});
    OGL_draw_line(63, 1.0f, 0, 0, 3, 4);
    EXPECT_EQ(written_texels(), 6u);
    for (auto [row, col] : {std::pair{0, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 2}, {4, 3}})
        EXPECT_EQ(pixel_buffer[(size_t(row) * 1024 + col) * 4], 128) << row << "," << col;

    // Shapes reaching past the buffer's edges are clipped to it.
    OGL_fill_rect(0, 1.0f, 1020, 1020, 100, 100);
    OGL_fill_rect(0, 1.0f, -50, -50, 52, 51);
    OGL_draw_line(0, 1.0f, -300, 1023, 3000, 1023);
    OGL_draw_line(0, 1.0f, 0, 0, 1.0e30f, 1.0e30f);
    EXPECT_EQ(pixel_buffer[PIXEL_BUFFER_BYTES - 1], 255);
    EXPECT_EQ(pixel_buffer[1 * 4 + 3], 255);

    // The state kit's colour, row 49, becomes the byte colour.
    OGL_set_color(49, 0.2f, 0.4f, 1.0f);
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    EXPECT_EQ((std::array<uint8_t, 3>{pixel_byte_colour[0], pixel_byte_colour[1], pixel_byte_colour[2]}),
              (std::array<uint8_t, 3>{51, 102, 255}));
    OGL_fill_default_colors();
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

    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    auto shot_of = [&](float r, float g, float b, const char* name) {
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        OGL_screenshot();
        return read_file_bytes(tmp.path() / name);
    };
    auto expect_every_texel_sampled = [](const std::string& shot, const std::string& bgr) {
        ASSERT_EQ(shot.size(), 2359350u);
        for (size_t texel : {size_t(0), size_t(512 * 1024 + 300), size_t(1024 * 768 - 1)})
            EXPECT_EQ(shot.substr(54 + texel * 3, 3), bgr) << texel;
    };
    expect_every_texel_sampled(shot_of(0.2f, 0.4f, 0.6f, "screenshot_0.bmp"), "\x99\x66\x33");
    OGL_screenshot();
    EXPECT_TRUE(std::filesystem::exists(tmp.path() / "screenshot_1.bmp"));

    // Pack settings left by other code (a long row length, skipped rows) would
    // spread the picture past the end of the pixel buffer; the screenshot reads
    // tight rows all the same and gives the settings back.
    glPixelStorei(GL_PACK_ROW_LENGTH, 2048);
    glPixelStorei(GL_PACK_SKIP_ROWS, 200);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    const std::string third = shot_of(0.8f, 0.0f, 1.0f, "screenshot_2.bmp");
    GLint v = 0;
    glGetIntegerv(GL_PACK_ROW_LENGTH, &v);
    EXPECT_EQ(v, 2048);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    expect_every_texel_sampled(third, std::string("\xff\x00\xcc", 3));

    // The next run counts from 0 again but passes over the numbers whose
    // files are there, whatever their letter case, so none of them is replaced.
    SCREENSHOT_reset();
    tmp.write("SCREENSHOT_3.BMP", "kept");
    tmp.write("screenshot_6.bmp", "kept");
    OGL_screenshot();
    EXPECT_EQ(screenshot_counter, 4);
    EXPECT_TRUE(std::filesystem::exists(tmp.path() / "screenshot_4.bmp"));
    EXPECT_EQ(read_file_bytes(tmp.path() / "SCREENSHOT_3.BMP"), "kept");
    expect_every_texel_sampled(read_file_bytes(tmp.path() / "screenshot_0.bmp"), "\x99\x66\x33");

    // A full disk (a file-size limit stands in for it): a notice names the
    // file, nothing is left behind, an older file of the name stays whole,
    // and the next screenshot is written again.
    ASSERT_TRUE(recorded_alerts.empty());
    {
        const file_size_limit limit(100000);
        OGL_screenshot();
    }
    {
        const file_size_limit limit(40);
        std::fill(pixel_buffer, pixel_buffer + 6, uint8_t{9});
        EXPECT_FALSE(BMP_write_file(path.c_str(), 2, 1));
    }
    ASSERT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_EQ(recorded_alerts[0].lines[0], "The picture could not be saved:");
    EXPECT_EQ(recorded_alerts[0].lines[1], tmp.prefix() + "screenshot_5.bmp");
    EXPECT_EQ(recorded_alerts[0].lines[3], "and that the disk is writable and not full (File too large).");
    EXPECT_EQ(recorded_alerts[1].lines[1], path);
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "screenshot_5.bmp"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "screenshot_5.bmp.partial"));
    EXPECT_EQ(read_file_bytes(path), std::string(reinterpret_cast<const char*>(expected), 62));
    OGL_screenshot();
    EXPECT_EQ(read_file_bytes(tmp.path() / "screenshot_6.bmp"), "kept");
    expect_every_texel_sampled(read_file_bytes(tmp.path() / "screenshot_7.bmp"), std::string("\xff\x00\xcc", 3));

    // A name another copy in the folder took since it was found free is not
    // taken from it: the picture waits for the next one.
    const std::string mine = tmp.write("mine.partial", "mine").string();
    const std::string taken = tmp.write("screenshot_8.bmp", "the other copy's").string();
    EXPECT_EQ(PLAT_place_new_file(mine.c_str(), taken.c_str()), PLAT_NAME_TAKEN);
    EXPECT_EQ(read_file_bytes(taken), "the other copy's");
    EXPECT_EQ(PLAT_place_new_file(mine.c_str(), (tmp.prefix() + "screenshot_9.bmp").c_str()), PLAT_PLACED);
    EXPECT_EQ(read_file_bytes(tmp.path() / "screenshot_9.bmp"), "mine");
    EXPECT_FALSE(std::filesystem::exists(mine));
}

// The map's colour ramp runs black, red, orange, yellow, green, blue, purple
// in six bands of a sixth; the polygon offset pulls by 5 units a level.
TEST_F(Drawing, ColourRampBandsAndPolygonOffsetLevels)
{
    const float kept_dim = gload_dim_factor;
    gload_dim_factor = 1.0f;
    struct ramp { float v, r, g, b; };
    const ramp points[] = {
        {-1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f},       {1.0f / 12, 0.5f, 0.0f, 0.0f},
        {0.25f, 1.0f, 0.16f, 0.04f}, {5.0f / 12, 1.0f, 0.66f, 0.04f}, {7.0f / 12, 0.5f, 1.0f, 0.0f},
        {0.75f, 0.0f, 0.5f, 0.5f},  {11.0f / 12, 0.4f, 0.0f, 0.9f},   {1.0f, 0.8f, 0.0f, 0.8f},
        {2.0f, 0.8f, 0.0f, 0.8f},
    };
    for (const ramp& p : points) {
        OGL_color_ramp(p.v);
        GLfloat c[4];
        glGetFloatv(GL_CURRENT_COLOR, c);
        EXPECT_NEAR(c[0], p.r, 1e-4f) << p.v;
        EXPECT_NEAR(c[1], p.g, 1e-4f) << p.v;
        EXPECT_NEAR(c[2], p.b, 1e-4f) << p.v;
        EXPECT_EQ(c[3], 1.0f);
    }
    gload_dim_factor = 0.5f;
    OGL_color_ramp(1.0f);
    GLfloat dimmed[4];
    glGetFloatv(GL_CURRENT_COLOR, dimmed);
    EXPECT_NEAR(dimmed[0], 0.4f, 1e-4f);
    gload_dim_factor = kept_dim;

    OGL_polygon_offset(2);
    GLfloat factor = 0.0f;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    EXPECT_EQ(factor, -10.0f);
    OGL_polygon_offset(0);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}

// The 3-D view leaves a box around the eye point at the near distance and the
// four corners at the corner distance, their heights scaled by the viewport's
// height over width; the frustum's sides are the view's edges times near.
TEST_F(Drawing, ThreeDProjectionBoxesTheViewVolume)
{
    const camera_trig_block kept = camera_trig;
    camera_trig = {0, 1, 0, 1, 0, 1};   // level, heading north
    OGL_set_projection(PROJECTION_3D, -1.0f, -0.75f, 1.0f, 0.75f, 0, 0, 200, 100, 0.5f, 10.0f, 1000.0f, 1.0f);
    EXPECT_EQ((std::array<float, 6>{frustum_box[0], frustum_box[1], frustum_box[2], frustum_box[3],
                                    frustum_box[4], frustum_box[5]}),
              (std::array<float, 6>{-10.0f, -3.75f, -10.0f, 10.0f, 3.75f, -0.5f}));
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], 1.0f, 1e-5f);            // 2 near / (right - left) = 1 / 1
    EXPECT_NEAR(m[5], 1.0f / 0.375f, 1e-4f);   // 2 near / (1.5 x 0.5 x 0.5)
    camera_trig = kept;

    const screen_record kept_screen = screen;
    // The scissor box: the screen's origin and the side margin added, then
    // scaled to pixels; off again afterwards.
    screen.ui_zoom = 0.0f;
    screen.screen_area_left = 5.0f, screen.screen_area_bottom = 6.0f;
    screen.ui_side_margin = 100.0f, screen.ui_scale = 2.0f;
    OGL_scissor_on(10, 20, 30, 40);
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ((std::array<GLint, 4>{box[0], box[1], box[2], box[3]}), (std::array<GLint, 4>{230, 52, 60, 80}));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    OGL_scissor_off();
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    glEnable(GL_SCISSOR_TEST);   // off is off, whatever clipped before the box
    OGL_scissor_on(10, 20, 30, 40);
    OGL_scissor_off();
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

    // The 2-D screen widens by the side margin on both sides and the top margin above.
    screen = kept_screen;
    screen.ui_side_margin = 100.0f, screen.ui_top_margin = 50.0f;
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], 2.0f / 1224.0f, 1e-7f);     // x from -100 to 1124
    EXPECT_NEAR(m[12], -1024.0f / 1224.0f, 1e-6f);
    EXPECT_NEAR(m[5], 2.0f / 818.0f, 1e-7f);      // y from 0 to 818
    EXPECT_NEAR(m[13], -1.0f, 1e-6f);
    screen = kept_screen;
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
}

// Flying with the transparent panel, the background picture is laid over the
// scene at 0.4; on a screen, or without the option, it covers it.
TEST_F(Drawing, TransparentPanelLaysTheBackgroundOverTheSceneAtFourTenths)
{
    for (int slot = 456; slot <= 467; ++slot) {
        const uint8_t texel[3] = {200, 100, 0};
        OGL_load_tex("tile", slot, 0, GL_RGB, 1, 1, texel);
    }
    // A window taller than the screen area: while flying its margin is not
    // painted, so the scene still shows through a transparent panel.
    OGL_set_color(36, 1.0f, 0.0f, 0.0f);
    struct case_ { int mode, transparent; int r, g; };
    for (const case_& c : {case_{0, 1, 80, 40}, case_{0, 0, 200, 100}, case_{1, 1, 200, 100}}) {
        glClear(GL_COLOR_BUFFER_BIT);
        app_mode = c.mode;
        sim_graphics_settings.transparent_panel = c.transparent;
        screen.ui_top_margin = 10.0f;
        OGL_draw_background();
        screen.ui_top_margin = 0.0f;
        const px p = pixel(300, 300);
        EXPECT_NEAR(p[0], c.r, 2) << c.mode << " " << c.transparent;
        EXPECT_NEAR(p[1], c.g, 2) << c.mode << " " << c.transparent;
    }
    app_mode = 1;
    sim_graphics_settings.transparent_panel = 0;
    OGL_fill_default_colors();
}

// With one texture unit a bind asked on unit 1 lands on unit 0; binding
// unit 0's former texture again must reach OpenGL, not be skipped.
TEST_F(Drawing, ABindWithoutAUnitToSelectIsNotedWhereItLanded)
{
    const int32_t units = cur_tex_units;
    cur_tex_units = 1;
    OGL_reset_bound_textures();
    GLint bound = 0;
    OGL_bind_tex(TEX_SLOT_INTERFACE_FONT2, 0);
    OGL_bind_tex(TEX_SLOT_INTERFACE_FONT2 + 1, 1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, TEX_SLOT_INTERFACE_FONT2 + 1);
    OGL_bind_tex(TEX_SLOT_INTERFACE_FONT2, 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, TEX_SLOT_INTERFACE_FONT2);
    OGL_bind_tex(TEX_SLOT_INTERFACE_FONT2 + 1, 1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, TEX_SLOT_INTERFACE_FONT2 + 1);
    cur_tex_units = units;
    OGL_reset_bound_textures();
}
