#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "shell/display.h"
#include "core/folders.h"
#include "core/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/image_helpers.h"
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

// Texels inside [x, x + w) x [y, y + h) that pass the test.
template <class F>
int count_texels(int x0, int y0, int w, int h, F test)
{
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += test(art().get(x, y));
    return n;
}

}  // namespace

TEST(InterfaceArt, EveryArtBoxIsDrawnAndNoneOverlapsAnotherOrASwatch)
{
    std::vector<ia::art_box> boxes(std::begin(ia::art_boxes), std::end(ia::art_boxes));
    for (const ia::art_box& a : boxes)
        EXPECT_GT(count_texels(a.x1, a.y1, a.x2 - a.x1, a.y2 - a.y1, [](ia::rgba t) { return t.a > 0; }), 0) << a.name;
    for (size_t s = 0; s < std::size(ia::swatches); ++s) {
        const int t = ia::swatch_texel(static_cast<int>(s));
        boxes.push_back({"swatch", t % ia::SIDE, t / ia::SIDE, t % ia::SIDE + 1, t / ia::SIDE + 1});
    }
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(overlap(boxes[i], boxes[j])) << boxes[i].name << " / " << boxes[j].name;
}

TEST(InterfaceArt, GlyphCellsHoldInkAndKeepTheirSpacingColumnClear)
{
    for (int font : {100, 104, 107})
        for (int code = 33; code < 168; ++code) {
            font_glyph_place g;
            FONT_glyph_place(font, code, g);
            const bool none = font == 107 ? FONT_grid_cell(GRID_MAP_FULL, code) == 0
                                          : g.tx == (font == 104 ? 137.0f : 0.0f) && g.ty == 0.0f;
            if (none) continue;
            SCOPED_TRACE("font " + std::to_string(font) + " code " + std::to_string(code));
            const int x0 = int(g.tx), y0 = int(g.ty), w = int(g.w), h = int(g.h);
            EXPECT_GT(count_texels(x0, y0, w, h, [](ia::rgba t) { return t.a == 255 && t.r == 255; }), 0);
            EXPECT_EQ(count_texels(x0 + w - 1, y0, 1, h, [](ia::rgba t) { return t.a == 255; }), 0);
        }
    // The space cell at each proportional block origin is empty.
    for (int ox : {0, 137}) EXPECT_EQ(count_texels(ox, 0, 4, 10, [](ia::rgba t) { return t.a != 0; }), 0);
}

TEST(InterfaceArt, LoadsAsTheInterfaceTextureAndGivesTheSwatchColours)
{
    ASSERT_TRUE(ensure_gl_context());
    temp_folder tmp;
    FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
    EXPECT_EQ(expect_fatal([] { DISPLAY_check_interface_file(); }).lines[0],
              "I CANNOT OPEN THE GRAPHICS INTERFACE FILE!");
    clear_alerts();
    std::filesystem::create_directories(tmp.path() / "RESOURCES" / "BITMAPS");
    ASSERT_TRUE(ia::write_png(art(), (tmp.path() / "RESOURCES" / "BITMAPS" / "INTERFACE.PNG").c_str()));
    DISPLAY_check_interface_file();

    screen.rendering_res = 3;
    colour_table[94][0] = 0.25f;
    DISPLAY_load_interface();
    EXPECT_TRUE(recorded_alerts.empty());
    int w = 0, h = 0;
    read_texture(TEX_SLOT_INTERFACE, 0, w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(512, 512));
    // The texels the start-up samples, counted in the 512-wide image, are
    // opaque; the colour rows take the generator's swatches.
    for (size_t i = 0; i < std::size(ia::swatches); ++i) {
        const ia::swatch& s = ia::swatches[i];
        EXPECT_EQ(pixel_buffer[size_t(ia::swatch_texel(static_cast<int>(i))) * 4 + 3], 255) << i;
        const float want[3] = {s.colour.r / 255.0f, s.colour.g / 255.0f, s.colour.b / 255.0f};
        for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(colour_table[s.colour_row][k], want[k]) << s.colour_row;
    }
    for (int k = 0; k < 3; ++k)   // row 41 is the mean of rows 37 and 40
        EXPECT_FLOAT_EQ(colour_table[41][k], (colour_table[37][k] + colour_table[40][k]) / 2.0f) << k;
    EXPECT_EQ(colour_table[94][0], 0.25f);   // never set by the start-up
}

// The start-up's fixed colour rows, as (row, r, g, b); the rows it leaves to
// the interface image (36 to 48) and to the frame (86 to 88) keep what they held.
TEST(StartupColours, FixedRowsHoldTheirColoursAndTheRestAreLeftAlone)
{
    struct fixed { int row; float r, g, b; };
    static constexpr fixed rows[] = {
        {0, 1, 1, 1}, {1, .3f, 1, .3f}, {2, 1, .2f, .2f}, {3, 1, 1, .2f}, {4, .4f, .4f, 1}, {5, 1, .8f, .2f},
        {6, 0, 0, 0}, {7, .8f, .8f, .8f}, {8, 0, 1, 0}, {9, 1, 0, 0}, {10, 1, 1, 0}, {11, 0, 0, 1},
        {12, .2f, .2f, .6f}, {13, 1, 1, 1}, {14, .6f, .6f, .6f}, {15, 0, .8f, 0}, {16, .8f, 0, 0},
        {17, .6f, .6f, 0}, {18, 0, 0, .6f}, {19, .11f, .22f, .55f}, {20, .9f, .9f, .95f}, {21, .4f, .4f, .4f},
        {22, 0, .6f, 0}, {23, .6f, 0, 0}, {24, .08f, .16f, .4f}, {25, .2f, .2f, .2f}, {26, 0, .4f, 0},
        {27, .4f, 0, 0}, {28, .66f, .44f, .22f}, {29, .1f, .1f, .1f}, {30, 0, .2f, 0}, {31, .2f, 0, 0},
        {32, .48f, .32f, .16f}, {33, 0, 0, 0}, {34, 0, .1f, 0}, {35, .1f, 0, 0}, {49, 1, 1, 1},
        {50, .1f, 1, .1f}, {51, 1, .4f, .4f}, {52, 1, 1, .6f}, {53, .6f, .6f, 1}, {54, .92f, .87f, .67f},
        {55, 1, .5f, 0}, {56, .8f, .8f, .8f}, {57, 0, .8f, 0}, {58, 1, .2f, .2f}, {59, 1, 1, .2f},
        {60, .4f, .4f, 1}, {61, .67f, .61f, .42f}, {62, .5f, .3f, 0}, {63, .5f, .5f, .5f}, {64, 0, .6f, 0},
        {65, .6f, .2f, 0}, {66, 1, 1, 0}, {67, .2f, .2f, .8f}, {68, .49f, .43f, .24f}, {69, .8f, 0, .8f},
        {70, .2f, .2f, .2f}, {71, 0, .4f, 0}, {72, .6f, .6f, 0}, {73, .15f, .15f, .6f}, {74, .35f, .3f, .11f},
        {75, .8f, .7f, 1}, {76, 0, 0, 0}, {77, 0, .2f, 0}, {78, .17f, .12f, 0}, {79, 1, .2f, 1},
        {80, 0, .1f, 0}, {81, 1, .88f, .49f}, {82, 1, .776471f, 0}, {83, .839216f, .482353f, 0},
        {84, 0, 1, 1}, {85, 1, 0, 1}, {89, 0, 0, 0}, {90, 0, .9f, 0}, {91, 0, .5f, 0}, {92, 1, 1, 0},
        {93, 1, 0, 0}, {106, .5f, .5f, .4f}, {107, 1, .3f, 0}, {109, 1, 1, .9f}, {110, .5f, .5f, .4f},
        {111, .8f, .8f, .7f},
    };
    float kept[COLOUR_ROWS][3];
    std::memcpy(kept, colour_table, sizeof kept);
    for (auto& row : colour_table) row[0] = row[1] = row[2] = -1.0f;
    OGL_fill_default_colors();
    bool set[COLOUR_ROWS] = {};
    for (const fixed& f : rows) {
        set[f.row] = true;
        EXPECT_NEAR(colour_table[f.row][0], f.r, 1e-6f) << f.row;
        EXPECT_NEAR(colour_table[f.row][1], f.g, 1e-6f) << f.row;
        EXPECT_NEAR(colour_table[f.row][2], f.b, 1e-6f) << f.row;
    }
    for (int row = 0; row < COLOUR_ROWS; ++row)
        if (!set[row]) {
            EXPECT_EQ(colour_table[row][0], -1.0f) << row;
        }
    std::memcpy(colour_table, kept, sizeof kept);
}
