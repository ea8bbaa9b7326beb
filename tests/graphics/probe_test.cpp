#include <gtest/gtest.h>

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "shell/display.h"
#include "shell/folders.h"
#include "shell/glprobe.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
#include "tests/support/test_support.h"

TEST(GlProbe, FlagsFollowTheVersionAndExtensionTexts)
{
    EXPECT_EQ(GLPROBE_flags_from_texts("1.2.1", "").found_opengl_12, 1);
    EXPECT_EQ(GLPROBE_flags_from_texts("1.5 Mesa", "").found_opengl_12, 1);
    for (const char* v : {"1.1.0", "2.1", "4.5 (Compatibility Profile) Mesa", ""})
        EXPECT_EQ(GLPROBE_flags_from_texts(v, "").found_opengl_12, 0) << v;

    const gl_probe_flags none = GLPROBE_flags_from_texts("1.1", "");
    EXPECT_EQ(none.found_clamp_SGI + none.found_clamp_ARB + none.found_mul_tex + none.found_env_add +
                  none.found_dis_fog,
              0);
    // Plain substrings: inside a longer name and at the very end without a blank.
    const gl_probe_flags f =
        GLPROBE_flags_from_texts("1.1", "GL_SGIS_texture_edge_clampX GL_ARB_multitexture GL_NV_fog_distance");
    EXPECT_EQ(f.found_clamp_SGI, 1);
    EXPECT_EQ(f.found_clamp_ARB, 0);
    EXPECT_EQ(f.found_mul_tex, 1);
    EXPECT_EQ(f.found_env_add, 0);
    EXPECT_EQ(f.found_dis_fog, 1);
    EXPECT_EQ(GLPROBE_flags_from_texts("", "GL_EXT_texture_env_add GL_EXT_texture_edge_clamp").found_env_add, 1);

    EXPECT_TRUE(GLPROBE_is_generic_renderer("GENERIC"));
    EXPECT_FALSE(GLPROBE_is_generic_renderer("GDI Generic"));
    EXPECT_FALSE(GLPROBE_is_generic_renderer("GENERIC 2"));
}

TEST(GlProbe, ReportHasTheLabelsAndNumberFormats)
{
    gl_driver_texts texts{"Vend", "Rend", "1.3", "GL_A GL_B"};
    gl_probe_flags flags;
    flags.found_opengl_12 = 1;
    flags.found_dis_fog = 1;
    std::ostringstream out;
    GLPROBE_write_report(out, texts, flags, 4, 0.0f);
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
    temp_folder tmp;
    const std::string log_path = (tmp.path() / "ERROR.OUT").string();
    error_log.close();
    error_log.clear();
    error_log.open(log_path);
    OGL_probe_capabilities();
    error_log.close();
    const std::string log = read_file_bytes(log_path);
    const gl_driver_texts real = GLPROBE_read_driver_texts();
    const gl_probe_flags found = GLPROBE_flags_from_texts(real.version.c_str(), real.extensions.c_str());
    EXPECT_EQ(log.rfind("OpenGL Situation:\n", 0), 0u);
    EXPECT_NE(log.find("OpenGL Render    :" + real.renderer + "\n"), std::string::npos);
    EXPECT_NE(log.find("found_clamp_SGI  :" + std::to_string(found.found_clamp_SGI) + "\n"), std::string::npos);
    EXPECT_NE(log.find("num_tex_units    :" + std::to_string(num_tex_units) + "\n"), std::string::npos);
    char iso[64];
    std::snprintf(iso, sizeof iso, "max_iso_filtering:%.6f\n", static_cast<double>(max_iso_filtering));
    EXPECT_NE(log.find(iso), std::string::npos) << log;
    EXPECT_EQ(has_edge_clamp, (found.found_opengl_12 || found.found_clamp_SGI || found.found_clamp_ARB) ? 1 : 0);
    EXPECT_TRUE(recorded_alerts.empty());   // not the system's software renderer
    EXPECT_NE(gl_entry::glActiveTextureARB, nullptr);

    // The window is 1024 x 768 and every slot number is a name of its own.
    int w = 0, h = 0;
    PLAT_window_pixel_size(w, h);
    EXPECT_EQ(w * 10000 + h, 1024 * 10000 + 768);
    GLuint name = 0;
    glGenTextures(1, &name);
    EXPECT_GE(name, static_cast<GLuint>(TEX_SLOTS));
    glDeleteTextures(1, &name);

    // The default state.
    GLint v = 0;
    glGetIntegerv(GL_FRONT_FACE, &v);
    EXPECT_EQ(v, GL_CW);
    glGetIntegerv(GL_DEPTH_FUNC, &v);
    EXPECT_EQ(v, GL_LEQUAL);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &v);
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

namespace {
double fake_now = 0.0;
double fake_clock() { return fake_now; }
}  // namespace

TEST(Display, LoadingScreenBarAndInterfaceMapping)
{
    ASSERT_TRUE(ensure_gl_context());
    PLAT_set_clock_source(fake_clock, nullptr);
    LOADING_reset();
    app_mode = 1;
    redraw_pending = 1;
    fake_now = 100.0;
    MACIBM_loading_screen("one");
    EXPECT_FLOAT_EQ(loading_screen.bar_end, 10.0f + 1004.0f * 0.02f);
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
    redraw_pending = 0;
    fake_now += 10.0;
    MACIBM_loading_screen("nothing drawn");
    EXPECT_FLOAT_EQ(loading_screen.bar_end, 1014.0f);
    PLAT_set_clock_source(nullptr, nullptr);

    const int sizes[3][2] = {{1280, 1024}, {1600, 900}, {1024, 768}};
    const float want[3][3] = {{1.25f, 0.0f, 51.2f}, {1.171875f, 170.66667f, 0.0f}, {1.0f, 0.0f, 0.0f}};
    for (int i = 0; i < 3; ++i) {
        screen.window_width = sizes[i][0];
        screen.window_height = sizes[i][1];
        DISPLAY_set_ui_mapping();
        EXPECT_FLOAT_EQ(screen.ui_scale, want[i][0]);
        EXPECT_NEAR(screen.ui_side_margin, want[i][1], 1e-3);
        EXPECT_NEAR(screen.ui_top_margin, want[i][2], 1e-3);
    }

    // No display mode of exactly the window's size here: full screen stays on
    // the desktop mode, which is no failure.
    screen.full_screen = 1;
    EXPECT_EQ(OGL_set_display_mode(1), 1);
    EXPECT_FALSE(PLAT_display_mode_entered());
    EXPECT_EQ(OGL_set_display_mode(0), 1);
    screen.full_screen = 0;
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

TEST(Display, InterfaceBitmapGivesTheInterfaceColours)
{
    ASSERT_TRUE(ensure_gl_context());
    temp_folder tmp;
    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    EXPECT_EQ(expect_fatal([] { DISPLAY_check_interface_file(); }).lines[0], "I CANNOT OPEN THE GRAPHICS INTERFACE FILE!");

    // 1024 x 128 RGBA, grey; three marked texels: rows 36, 37 and 40 of the
    // colour table come from buffer texels 79679, 75583 and 63295.
    png_desc desc;
    desc.width = 1024;
    desc.height = 128;
    desc.colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
    desc.rows.assign(size_t(1024) * 128 * 4, 60);
    auto mark = [&](size_t texel, uint8_t r, uint8_t g, uint8_t b) {
        const size_t buffer_row = texel / 1024, col = texel % 1024;
        uint8_t* p = desc.rows.data() + ((127 - buffer_row) * 1024 + col) * 4;
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = 255;
    };
    mark(79679, 255, 255, 255);
    mark(75583, 0, 0, 255);
    mark(63295, 255, 0, 0);
    tmp.write("RESOURCES/BITMAPS/INTERFACE.PNG", png_bytes(desc));
    DISPLAY_check_interface_file();
    screen.rendering_res = 3;
    colour_table[94][0] = 0.25f;
    OGL_fill_default_colors();
    DISPLAY_load_interface();
    EXPECT_EQ(colour_table[36][0], 1.0f);
    EXPECT_EQ(colour_table[37][2], 1.0f);
    EXPECT_FLOAT_EQ(colour_table[41][0], 0.5f);   // mean of rows 37 and 40
    EXPECT_FLOAT_EQ(colour_table[41][2], 0.5f);
    EXPECT_FLOAT_EQ(colour_table[38][1], 60.0f / 255.0f);
    EXPECT_FLOAT_EQ(colour_table[82][1], 198.0f / 255.0f);
    EXPECT_EQ(colour_table[94][0], 0.25f);   // never set by the start-up
    int w = 0, h = 0;
    read_texture(444, 0, w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 128);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    EXPECT_TRUE(recorded_alerts.size() == 1);
}
