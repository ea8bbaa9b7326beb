// A line of text in each interface font, drawn onto a cleared 1024 x 768
// frame, compared with a reference picture kept in tests/fixtures (checked by
// eye when it was made). ORVELL_UPDATE_REFERENCE=1 writes a new reference.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "shell/display.h"
#include "core/folders.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"
#include "tools/interface_art.h"

namespace {

constexpr int W = 1024;
constexpr int H = 768;

// The frame as RGBA rows from the top down, the way a PNG stores them.
std::vector<unsigned char> read_frame()
{
    std::vector<unsigned char> bottom_up(W * H * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    std::vector<unsigned char> top_down(bottom_up.size());
    for (int y = 0; y < H; ++y)
        std::copy_n(&bottom_up[size_t(H - 1 - y) * W * 4], W * 4, &top_down[size_t(y) * W * 4]);
    return top_down;
}

bool read_png(const std::string& path, std::vector<unsigned char>& rgba)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    if (image.width != W || image.height != H) {
        png_image_free(&image);
        return false;
    }
    rgba.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
}

bool write_png(const std::string& path, const std::vector<unsigned char>& rgba)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = W;
    image.height = H;
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

}  // namespace

TEST(ReferenceImage, TextInEachFontMatchesTheReference)
{
    ASSERT_TRUE(ui_2d_ready());
    temp_folder tmp;
    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    interface_art::image art;
    std::string problem;
    ASSERT_TRUE(interface_art::build(art, &problem)) << problem;
    std::filesystem::create_directories(tmp.path() / "RESOURCES" / "BITMAPS");
    ASSERT_TRUE(interface_art::write_png(art, (tmp.path() / "RESOURCES" / "BITMAPS" / "INTERFACE.PNG").c_str()));
    DISPLAY_load_interface();
    ASSERT_TRUE(recorded_alerts.empty());

    glClearColor(0.3f, 0.35f, 0.45f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    float y = 700;
    const int colours[] = {0, 3, 1, 5};
    int c = 0;
    for (int font : {100, 101, 104, 107}) {
        OGL_draw_string(colours[c++], 40, y, "Orvell 1.25 - Flaps 30, gear DOWN: KSBD rwy 24 [Return]", 9999, font);
        y -= 40;
    }
    OGL_draw_string_fmt(3, 40, y, -123.45f, 4, 2, 1, 104);
    OGL_draw_string_fmt(3, 40, y - 40, -117.25f, 5, 2, 0, 107);   // the data output's numbers
    OGL_draw_string_fmt(3, 120, y - 40, 71.2f, 5, 1, 0, 107);
    glFinish();
    const std::vector<unsigned char> frame = read_frame();

    const std::string reference = fixture_path("reference_text.png");
    if (std::getenv("ORVELL_UPDATE_REFERENCE")) {
        ASSERT_TRUE(write_png(reference, frame));
        std::printf("wrote %s\n", reference.c_str());
    }
    std::vector<unsigned char> expected;
    ASSERT_TRUE(read_png(reference, expected)) << "no reference picture " << reference;
    ASSERT_EQ(expected.size(), frame.size());
    // Rasterisers may differ by a step of rounding at glyph edges: a few
    // pixels may differ slightly, none by much.
    int off = 0;
    for (size_t i = 0; i < frame.size(); ++i)
        if (std::abs(int(frame[i]) - int(expected[i])) > 8) ++off;
    EXPECT_LT(off, 200) << "bytes differing from the reference";
}
