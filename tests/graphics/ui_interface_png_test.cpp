#include <gtest/gtest.h>

#include <string>

#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "shell/folders.h"
#include "shell/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/test_support.h"
#include "tools/interface_art.h"

namespace ia = interface_art;

namespace {

const ia::image& art()
{
    static const ia::image im = [] {
        ia::image i;
        std::string problem;
        EXPECT_TRUE(ia::build(i, &problem)) << problem;
        return i;
    }();
    return im;
}

bool overlap(const ia::art_box& a, const ia::art_box& b)
{
    return a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2;
}

}  // namespace

TEST(InterfaceArt, EveryArtBoxIsDrawnAndNoneOverlaps)
{
    const ia::image& im = art();
    constexpr size_t n = std::size(ia::art_boxes);
    for (size_t i = 0; i < n; ++i) {
        const ia::art_box& a = ia::art_boxes[i];
        for (size_t j = i + 1; j < n; ++j) EXPECT_FALSE(overlap(a, ia::art_boxes[j])) << a.name << " / " << ia::art_boxes[j].name;
        int opaque = 0;
        for (int y = a.y1; y < a.y2; ++y)
            for (int x = a.x1; x < a.x2; ++x) opaque += im.get(x, y).a > 0;
        EXPECT_GT(opaque, 0) << a.name;
    }
    // The swatch texels lie outside every art box.
    for (size_t s = 0; s < std::size(ia::swatches); ++s) {
        const int t = ia::swatch_texel(static_cast<int>(s));
        const ia::art_box dot{"swatch", t % ia::SIDE, t / ia::SIDE, t % ia::SIDE + 1, t / ia::SIDE + 1};
        for (const ia::art_box& a : ia::art_boxes) EXPECT_FALSE(overlap(dot, a)) << a.name;
    }
}

TEST(InterfaceArt, GlyphCellsHoldInkAndKeepTheirSpacingColumnClear)
{
    const ia::image& im = art();
    for (int font : {100, 104, 107}) {
        for (int code = 33; code < 168; ++code) {
            font_glyph_place g;
            FONT_glyph_place(font, code, g);
            if (g.tx == (font == 104 ? 137.0f : 0.0f) && g.ty == 0.0f && font != 107) continue;   // no glyph
            if (font == 107 && FONT_grid_cell(GRID_MAP_FULL, code) == 0) continue;
            const int x0 = static_cast<int>(g.tx), y0 = static_cast<int>(g.ty);
            const int w = static_cast<int>(g.w), h = static_cast<int>(g.h);
            int ink = 0;
            for (int y = y0; y < y0 + h; ++y)
                for (int x = x0; x < x0 + w; ++x) ink += im.get(x, y).a == 255 && im.get(x, y).r == 255;
            EXPECT_GT(ink, 0) << "font " << font << " code " << code;
            for (int y = y0; y < y0 + h; ++y)
                EXPECT_NE(im.get(x0 + w - 1, y).a, 255) << "font " << font << " code " << code;
        }
    }
    // The space cell at each proportional block origin is empty.
    for (int ox : {0, 137})
        for (int y = 0; y < 10; ++y)
            for (int x = ox; x < ox + 4; ++x) EXPECT_EQ(im.get(x, y).a, 0);
}

TEST(InterfaceArt, LoadsAsTheInterfaceTextureAndGivesTheSwatchColours)
{
    ASSERT_TRUE(ensure_gl_context());
    temp_folder tmp;
    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    const std::string dir = tmp.prefix() + "Resources/bitmaps";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(ia::write_png(art(), (dir + "/INTERFACE.PNG").c_str()));

    screen.rendering_res = 3;
    int w = 0, h = 0;
    EXPECT_EQ(OGL_load_tex_file(LOAD_TEXTURE, SLOT_INTERFACE, TEX_BRIGHT, "INTERFACE.PNG", w, h), 1);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 512);

    // The texels the start-up samples, counted in the 512-wide image.
    for (size_t i = 0; i < std::size(ia::swatches); ++i) {
        const uint8_t* t = pixel_buffer + size_t(ia::swatch_texel(static_cast<int>(i))) * 4;
        EXPECT_EQ(t[0], ia::swatches[i].colour.r) << i;
        EXPECT_EQ(t[1], ia::swatches[i].colour.g) << i;
        EXPECT_EQ(t[2], ia::swatches[i].colour.b) << i;
        EXPECT_EQ(t[3], 255) << i;
    }
    OGL_sample_interface_colors();
    for (const ia::swatch& s : ia::swatches) {
        EXPECT_FLOAT_EQ(colour_table[s.colour_row][0], s.colour.r / 255.0f) << s.colour_row;
        EXPECT_FLOAT_EQ(colour_table[s.colour_row][2], s.colour.b / 255.0f) << s.colour_row;
    }
    EXPECT_FLOAT_EQ(colour_table[41][1], (colour_table[37][1] + colour_table[40][1]) / 2.0f);
    // The rows are distinct colours.
    for (size_t i = 0; i < std::size(ia::swatches); ++i)
        for (size_t j = i + 1; j < std::size(ia::swatches); ++j) {
            const ia::rgba a = ia::swatches[i].colour, b = ia::swatches[j].colour;
            EXPECT_FALSE(a.r == b.r && a.g == b.g && a.b == b.b) << i << " " << j;
        }
}
