#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "shell/display.h"
#include "core/folders.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"
#include "graphics/loading_screen.h"
#include "graphics/font.h"
#include "graphics/widget.h"
#include "core/app_mode.h"

TEST(GlProbe, FlagsFollowTheVersionAndExtensionTexts)
{
    for (const char* v : {"1.2.1", "1.5 Mesa"}) EXPECT_EQ(GLPROBE_flags_from_texts(v, "").found_opengl_12, 1) << v;
    for (const char* v : {"1.1.0", "2.1", "4.5 (Compatibility Profile) Mesa", ""})
        EXPECT_EQ(GLPROBE_flags_from_texts(v, "").found_opengl_12, 0) << v;

    // Plain substrings: inside a longer name and at the very end without a blank.
    const gl_probe_flags f =
        GLPROBE_flags_from_texts("1.1", "GL_SGIS_texture_edge_clampX GL_ARB_multitexture GL_NV_fog_distance");
    EXPECT_EQ((std::array{f.found_clamp_SGI, f.found_clamp_ARB, f.found_mul_tex, f.found_env_add, f.found_dis_fog}),
              (std::array{1, 0, 1, 0, 1}));
    EXPECT_EQ(GLPROBE_flags_from_texts("", "GL_EXT_texture_env_add GL_EXT_texture_edge_clamp").found_env_add, 1);

    EXPECT_TRUE(GLPROBE_is_generic_renderer("GENERIC"));
    for (const char* r : {"GDI Generic", "GENERIC 2", "generic", "GENERI"})
        EXPECT_FALSE(GLPROBE_is_generic_renderer(r)) << r;   // the whole text, case and all

    // Edge clamping from any of three sources; the add mode needs multitexture too.
    const auto kept = std::tuple(has_edge_clamp, has_mul_tex_add, has_dis_fog);
    struct derived { const char* version; const char* extensions; int edge_clamp, mul_tex_add, dis_fog; };
    const derived rows[] = {
        {"1.1", "", 0, 0, 0},
        {"1.4", "", 1, 0, 0},
        {"2.0", "GL_SGI_texture_edge_clamp", 1, 0, 0},
        {"2.0", "GL_ARB_texture_edge_clamp", 1, 0, 0},
        {"2.0", "GL_EXT_texture_edge_clamp", 1, 0, 0},
        {"2.0", "GL_SGIS_texture_edge_clamp", 1, 0, 0},
        {"1.1", "GL_ARB_texture_env_add GL_ARB_multitexture", 0, 1, 0},
        {"1.1", "GL_ARB_multitexture", 0, 0, 0},
        {"1.1", "GL_ARB_texture_env_add", 0, 0, 0},
        {"1.1", "GL_ARB_multitexture GL_EXT_texture_env_add GL_NV_fog_distance", 0, 1, 1},
    };
    for (const derived& d : rows) {
        GLPROBE_set_capabilities(GLPROBE_flags_from_texts(d.version, d.extensions));
        EXPECT_EQ(std::tuple(has_edge_clamp, has_mul_tex_add, has_dis_fog),
                  std::tuple(d.edge_clamp, d.mul_tex_add, d.dis_fog))
            << d.version << " " << d.extensions;
    }
    std::tie(has_edge_clamp, has_mul_tex_add, has_dis_fog) = kept;
}

TEST(GlProbe, ReportHasTheLabelsAndNumberFormats)
{
    gl_probe_flags flags;
    flags.found_opengl_12 = flags.found_dis_fog = 1;
    std::ostringstream out;
    GLPROBE_write_report(out, {"Vend", "Rend", "1.3", "GL_A GL_B"}, flags, 4, 0.0f);
    EXPECT_EQ(out.str(),
              "OpenGL Situation:\n"
              "OpenGL Vendor    :Vend\n"
              "OpenGL Render    :Rend\n"
              "OpenGL Version   :1.3\n"
              "OpenGL Extensions:GL_A GL_B\n"
              "found_opengl_12  :1\n"
              "found_clamp_SGI  :0\n"
              "found_clamp_ARB  :0\n"
              "found_mul_tex    :0\n"
              "found_env_add    :0\n"
              "found_dis_fog    :1\n"
              "num_tex_units    :4\n"
              "max_iso_filtering:0.000000\n");

    // The probe of this machine's driver, written to ERROR.OUT.
    ASSERT_TRUE(ensure_gl_context());
    const std::string log = error_log_during([] { OGL_probe_capabilities(); });
    const gl_driver_texts real = GLPROBE_read_driver_texts();
    const gl_probe_flags found = GLPROBE_flags_from_texts(real.version.c_str(), real.extensions.c_str());
    char iso[64];
    std::snprintf(iso, sizeof iso, "max_iso_filtering:%.6f\n", static_cast<double>(max_iso_filtering));
    GLfloat driver_iso = max_iso_filtering;   // the driver's own value, also on a software renderer
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &driver_iso);
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(max_iso_filtering, driver_iso);
    EXPECT_EQ(log.rfind("OpenGL Situation:\n", 0), 0u);
    for (const std::string& line : {"OpenGL Render    :" + real.renderer + "\n",
                                    "found_clamp_SGI  :" + std::to_string(found.found_clamp_SGI) + "\n",
                                    "num_tex_units    :" + std::to_string(num_tex_units) + "\n", std::string(iso)})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    EXPECT_TRUE(recorded_alerts.empty());   // not the system's software renderer
    EXPECT_NE(gl_entry::glActiveTextureARB, nullptr);

    // The window is 1024 x 768 and every slot number is a name of its own.
    int w = 0, h = 0;
    PLAT_window_pixel_size(w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(1024, 768));
    GLuint name = 0;
    glGenTextures(1, &name);
    EXPECT_GE(name, static_cast<GLuint>(TEX_SLOTS));
    glDeleteTextures(1, &name);

    // The default state.
    for (auto [what, want] :
         {std::pair<GLenum, GLint>{GL_FRONT_FACE, GL_CW}, {GL_DEPTH_FUNC, GL_LEQUAL}, {GL_UNPACK_ALIGNMENT, 1},
          {GL_PACK_ALIGNMENT, 1}, {GL_ALPHA_TEST_FUNC, GL_GREATER}, {GL_BLEND_SRC, GL_SRC_ALPHA},
          {GL_BLEND_DST, GL_ONE_MINUS_SRC_ALPHA}, {GL_FOG_MODE, GL_LINEAR}, {GL_FOG_HINT, GL_FASTEST},
          {GL_CULL_FACE_MODE, GL_BACK}, {GL_SHADE_MODEL, GL_SMOOTH}, {GL_COLOR_MATERIAL_FACE, GL_FRONT},
          {GL_COLOR_MATERIAL_PARAMETER, GL_AMBIENT_AND_DIFFUSE}}) {
        GLint v = 0;
        glGetIntegerv(what, &v);
        EXPECT_EQ(v, want) << what;
    }
    GLfloat alpha_ref = -1.0f, ambient[4] = {1, 1, 1, 1};
    glGetFloatv(GL_ALPHA_TEST_REF, &alpha_ref);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_EQ(alpha_ref, 0.0f);
    EXPECT_EQ((std::array{ambient[0], ambient[1], ambient[2], ambient[3]}), (std::array{0.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE) && glIsEnabled(GL_COLOR_MATERIAL) && glIsEnabled(GL_DITHER));
    for (GLenum off : {GL_SCISSOR_TEST, GL_LOGIC_OP, GL_STENCIL_TEST, GL_TEXTURE_1D, GL_NORMALIZE})
        EXPECT_FALSE(glIsEnabled(off)) << off;
}

namespace {
double fake_now = 0.0;
double fake_clock() { return fake_now; }
}  // namespace

TEST(Display, LoadingScreenBarAndInterfaceMapping)
{
    ASSERT_TRUE(ensure_gl_context());
    PLAT_set_clock_source(fake_clock, nullptr);
    app_mode = 1;
    redraw_pending = 1;
    fake_now = 100.0;
    MACIBM_loading_screen("one");
    fake_now += 0.2;   // a pause: the bar starts again
    MACIBM_loading_screen("two");
    EXPECT_FLOAT_EQ(loading_screen.bar_end, 10.0f + 1004.0f * 0.02f);
    for (int i = 1; i <= 100; ++i) {
        fake_now += 0.05;
        MACIBM_loading_screen("quick");
        if (i == 50) {
            EXPECT_FLOAT_EQ(loading_screen.bar_end, 10.0f + 1004.0f * 0.5f);
        }
    }
    EXPECT_FLOAT_EQ(loading_screen.bar_end, 1014.0f);

    // Paced, as during the start-up: every call moves the bar, but only a call
    // a tenth of a second or more after the last drawn one draws the window.
    // A call that draws leaves its own colour current.
    auto drawn = [](const char* message) {
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        MACIBM_loading_screen(message);
        GLfloat colour[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, colour);
        return colour[0] != 0.25f || colour[1] != 0.5f || colour[2] != 0.75f;
    };
    LOADING_pace_draws(true);
    fake_now = 200.0;
    EXPECT_TRUE(drawn("first"));
    std::vector<int> drawn_calls;
    for (int i = 1; i <= 20; ++i) {
        fake_now += 0.03125;
        if (drawn("quick")) drawn_calls.push_back(i);
    }
    EXPECT_EQ(drawn_calls, (std::vector<int>{4, 8, 12, 16, 20}));
    EXPECT_FLOAT_EQ(loading_screen.bar_end, 10.0f + 1004.0f * 0.2f);
    LOADING_pace_draws(false);
    fake_now += 0.03125;
    EXPECT_TRUE(drawn("unpaced"));
    fake_now += 0.03125;
    EXPECT_TRUE(drawn("unpaced"));
    redraw_pending = 0;
    PLAT_set_clock_source(nullptr, nullptr);

    // The 1024 x 768 interface scaled into the window, centred along its longer side.
    for (auto [w, h, scale, side, top] : {std::tuple{1280, 1024, 1.25f, 0.0f, 51.2f},
                                          {1600, 900, 1.171875f, 170.66667f, 0.0f}, {1024, 768, 1.0f, 0.0f, 0.0f}}) {
        screen.window_width = w;
        screen.window_height = h;
        DISPLAY_set_ui_mapping();
        EXPECT_FLOAT_EQ(screen.ui_scale, scale) << w;
        EXPECT_NEAR(screen.ui_side_margin, side, 1e-3) << w;
        EXPECT_NEAR(screen.ui_top_margin, top, 1e-3) << w;
    }

    // No display mode of exactly the window's size here: full screen stays on
    // the desktop mode, which is no failure.
    screen.full_screen = 1;
    EXPECT_EQ(OGL_set_display_mode(1), 1);
    EXPECT_FALSE(PLAT_display_mode_entered());
    EXPECT_EQ(OGL_set_display_mode(0), 1);
    screen.full_screen = 0;
}

// The display-only video driver offers one mode, 1024 x 768 at 32 bits: a
// window narrower than it stays on the desktop mode, one of its exact size
// enters it. Run in a fresh process, away from the test window.
TEST(DisplayModeDeathTest, OnlyAModeOfTheWindowsExactSizeIsEntered)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PLAT_video_quit();
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            screen.full_screen = 1;
            screen.window_height = 768;
            screen.colour_depth = 32;
            screen.window_width = 800;
            const bool wider_entered = OGL_set_display_mode(1) == 1 && PLAT_display_mode_entered();
            screen.window_width = 1024;
            const bool exact_entered = OGL_set_display_mode(1) == 1 && PLAT_display_mode_entered();
            std::_Exit((wider_entered ? 1 : 0) + (exact_entered ? 0 : 2));
        },
        ::testing::ExitedWithCode(0), "");
}

// Past the intro, the loading screen lays the background colour over the
// whole window and draws the bar from x 10 to its end at y 15.
TEST(Display, LoadingScreenCoversTheWindowAndDrawsTheBarToItsEnd)
{
    ASSERT_TRUE(ui_screen_ready());
    PLAT_set_clock_source(fake_clock, nullptr);
    const std::array<float, 3> kept_colour{colour_table[36][0], colour_table[36][1], colour_table[36][2]};
    OGL_set_color(36, 0.25f, 0.5f, 0.75f);
    app_mode = 1;
    redraw_pending = 1;
    fake_now = 300.0;
    loading_screen.previous_time = fake_now;
    loading_screen.progress = 50;   // half way: the bar ends at 10 + 502
    const std::vector<fb_rect> rects = capture_rects([] { LOADING_draw_screen("half"); });
    bool background = false;
    float bar_left = 1e9f, bar_right = 0.0f;   // the bar's art, not the groove's
    for (const fb_rect& q : rects) {
        background |= q.x1 <= 0.0f && q.y1 <= 0.0f && q.x2 >= 1024.0f && q.y2 >= 768.0f &&
                      std::fabs(q.r - 0.25f) < 1e-3f && std::fabs(q.g - 0.5f) < 1e-3f && std::fabs(q.b - 0.75f) < 1e-3f;
        if (count_art({q}, 83, 161, 111, 177)) bar_left = std::min(bar_left, q.x1), bar_right = std::max(bar_right, q.x2);
    }
    EXPECT_TRUE(background);
    EXPECT_EQ(std::make_pair(bar_left, bar_right), std::make_pair(10.0f, 512.0f));
    // The message box from (8, 31), 310 by 206, the groove along the bottom
    // centred at 512, 15, and the message in colour 63 at (22, 65): every
    // quad of them drawn on their own is among the loading screen's.
    const std::vector<fb_rect> parts = capture_rects([] {
        BTN_frame2(15, 8.0f, 31.0f, 310.0f, 206.0f, "");
        BTN_frame1(4, 512.0f, 15.0f, 1004.0f, 0);
        OGL_draw_string(63, 22.0f, 65.0f, "half", 280.0f, 100);
    });
    ASSERT_FALSE(parts.empty());
    for (const fb_rect& p : parts) {
        const bool drawn = std::any_of(rects.begin(), rects.end(), [&](const fb_rect& q) {
            return std::fabs(q.x1 - p.x1) < 1e-3f && std::fabs(q.y1 - p.y1) < 1e-3f && std::fabs(q.x2 - p.x2) < 1e-3f &&
                   std::fabs(q.y2 - p.y2) < 1e-3f && std::fabs(q.tx1 - p.tx1) < 1e-3f && std::fabs(q.ty1 - p.ty1) < 1e-3f &&
                   std::fabs(q.r - p.r) < 1e-3f && std::fabs(q.g - p.g) < 1e-3f && std::fabs(q.b - p.b) < 1e-3f;
        });
        EXPECT_TRUE(drawn) << p.x1 << " " << p.y1 << " " << p.x2 << " " << p.y2;
    }
    OGL_set_color(36, kept_colour[0], kept_colour[1], kept_colour[2]);
    redraw_pending = 0;
    PLAT_set_clock_source(nullptr, nullptr);
}

TEST(Display, FailedWindowResetsTheResolutionFile)
{
    ASSERT_TRUE(ensure_gl_context());
    temp_folder tmp;
    std::filesystem::create_directories(tmp.path() / "RESOURCES" / "PREFERENCES");
    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    // The one window exists already, so a second one cannot be made.
    const alert_record a = expect_fatal([] { DISPLAY_open(); });
    EXPECT_EQ(a.lines[3].rfind("IF YOU RESET THE RESOLUTION", 0), 0u);
    std::string bytes;
    for (const auto& e : std::filesystem::directory_iterator(tmp.path() / "RESOURCES" / "PREFERENCES"))
        bytes = read_file_bytes(e.path());
    EXPECT_EQ(bytes, std::string("i\x19\xfc\xff\xff", 5));   // version -999
}
