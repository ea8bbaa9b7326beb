#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "graphics/font.h"
#include "graphics/widget.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "core/random.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"

namespace {

class Fonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui_2d_ready());
        draw_to_pixel_buffer = 0;
    }
};

// The glyphs of the quads, left to right.
std::string glyphs(int font, const std::vector<fb_rect>& sorted)
{
    std::string s;
    for (const fb_rect& q : sorted) s += static_cast<char>(glyph_of(font, q));
    return s;
}

// A number drawn in font 104 (pitch 10) at x = 100: its quads, left to right.
std::vector<fb_rect> number(float value, int digits, int decimals, int sign)
{
    return sorted_by_x(capture_rects([&] { OGL_draw_string_fmt(0, 100, 100, value, digits, decimals, sign, 104); }));
}

// A random text of up to 600 bytes from 1..255, never a closing brace.
std::string random_text()
{
    std::string s(static_cast<size_t>(UTIL_rand() % 600), ' ');
    for (char& c : s) c = static_cast<char>(1 + UTIL_rand() % 255);
    std::replace(s.begin(), s.end(), '}', '{');
    return s;
}

}  // namespace

TEST(FontWidths, ProportionalWidthsOfTheGlyphMap)
{
    const std::pair<const char*, double> cases[] = {
        {"", 0}, {"{", 0},   // no glyph: counts nothing (drawing it advances 4)
        {" ", 4}, {"Volume", 7 + 6 + 3 + 6 + 9 + 6}, {"Wm10", 9 + 9 + 6 + 6}, {"!@#,.;", 3 + 9 + 8 + 3 + 3 + 3},
        {"\xA1\x8A\xA7", 4 + 6 + 7},   // degree sign, a diaeresis, sharp s
        {"~\"}", 0}};
    for (const auto& [text, width] : cases) EXPECT_EQ(OGL_string_width(text), width) << text;
}

TEST_F(Fonts, GlyphQuadsArePlacedRoundedAndCutFromTheMap)
{
    screen.screen_area_left = 12.0f;
    screen.screen_area_bottom = 30.0f;
    const auto r = sorted_by_x(capture_rects([] { OGL_draw_string(0, 100.5f, 200.25f, "Ab{c", FONT_NO_WRAP, 100); }));
    ASSERT_EQ(r.size(), 4u);
    // Anchor 112.5 -> 113 (half away from zero), 230.25 -> 230, then 2 lower.
    EXPECT_EQ((std::array<float, 4>{r[0].x1, r[0].y1, r[0].x2, r[0].y2}), (std::array<float, 4>{113, 228, 120, 238}));
    EXPECT_FLOAT_EQ(r[0].tx1, 65.0f);   // 'A' at 65/7 of row 0
    EXPECT_FLOAT_EQ(r[0].ty1, 0.0f);
    EXPECT_EQ(glyphs(100, r), "Ab c");    // the brace takes the space cell and advances 4
    EXPECT_FLOAT_EQ(r[1].x1, 120.0f);
    EXPECT_FLOAT_EQ(r[2].x2 - r[2].x1, 4.0f);
    EXPECT_FLOAT_EQ(r[3].x1, 130.0f);

    // The second proportional font and the grid font.
    const auto b = capture_rects([] { OGL_draw_string(0, 0, 100, "A", FONT_NO_WRAP, 105); });
    EXPECT_FLOAT_EQ(b.at(0).tx1, 137.0f + 65.0f);
    const auto g = sorted_by_x(capture_rects([] { OGL_draw_string(0, 0, 100, "Bb", FONT_NO_WRAP, 108); }));
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].tx1, 381.0f + 13 * 6);   // B is cell 13
    EXPECT_FLOAT_EQ(g[1].x1 - g[0].x1, 10.0f);    // font 108 advances 10

    // A font code without a glyph layout is refused.
    EXPECT_EQ(expect_fatal([] { OGL_draw_glyphs(0, 0, 'a', 99); }).lines[0],
              "Asked for a font that does not set it's specs!");
    EXPECT_EQ(FONT_number_pitch(119), 0);
}

TEST_F(Fonts, LineFeedsAndWrapping)
{
    // Without wrapping a line feed draws nothing and does not move the pen.
    auto r = sorted_by_x(capture_rects([] { OGL_draw_string(0, 100, 300, "a\nb", 9999.0f, 100); }));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_FLOAT_EQ(r[0].y1, r[1].y1);
    EXPECT_FLOAT_EQ(r[1].x1, 106.0f);

    // With a wrap width of 100, a break comes after a space when the next
    // word's estimate (10 a character) passes the limit; each line 10 lower.
    r = capture_rects([] { OGL_draw_string(0, 100, 300, "ab cd efghijklm n\npq", 100.0f, 100); });
    EXPECT_EQ(text_lines(100, r), (std::vector<std::string>{"ab cd ", "efghijklm n", "pq"}));
    const auto [low, high] =
        std::minmax_element(r.begin(), r.end(), [](const fb_rect& a, const fb_rect& b) { return a.y1 < b.y1; });
    EXPECT_FLOAT_EQ(high->y1 - low->y1, 20.0f);
    // After "ab cd " the pen is at 131: a word of seven is estimated to end at 201.
    r = capture_rects([] { OGL_draw_string(0, 100, 300, "ab cd efghijk", 100.0f, 100); });
    EXPECT_EQ(text_lines(100, r), (std::vector<std::string>{"ab cd ", "efghijk"}));
}

TEST_F(Fonts, TwoByteFontStopsAtTheTerminatorOfAnOddLengthText)
{
    // Exactly three bytes and the terminator: the walk must not step over it.
    std::unique_ptr<char[]> text(new char[4]{'\x02', '\x03', '\x05', 0});
    const auto r = capture_rects([&] { OGL_draw_string(0, 10, 10, text.get(), FONT_NO_WRAP, 102); });
    ASSERT_EQ(r.size(), 1u);
    // Glyph (2 - 1) * 127 + (3 - 1) = 129: cell 9 of row 3 of 13 x 13 cells.
    EXPECT_FLOAT_EQ(r[0].tx1, 9.0f * 13.0f);
    EXPECT_FLOAT_EQ(r[0].ty1, 3.0f * 13.0f);
    EXPECT_EQ(bound_texture[0], TEX_SLOT_INTERFACE_FONT2);
}

TEST_F(Fonts, NumberCellsFullStopAndSign)
{
    // 5.5 with 5 digits and 2 decimals: cells of 10 from x = 100, the stop
    // between the third cell (120) and the fourth (130), on the row: the
    // proportional font's full stop stands on the digits' foot (a unit
    // lower it hung below them like a comma). The grid fonts' art holds it a
    // unit higher, so there it is drawn a unit lower.
    auto r = number(5.5f, 5, 2, 0);
    EXPECT_EQ(glyphs(104, r), "005.50");
    ASSERT_EQ(r.size(), 6u);
    EXPECT_FLOAT_EQ(r[0].x1, 100.0f);
    // The stop takes half a cell (5) of its own after the units cell, its
    // ink (texel 0 and 1 of its glyph) centred between the digits' ink.
    EXPECT_FLOAT_EQ(r[3].x1, 129.0f);
    EXPECT_FLOAT_EQ(r[3].y1, r[0].y1);
    const auto grid = sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, 5.5f, 5, 2, 0, 107); }));
    ASSERT_EQ(glyphs(107, grid), "005.50");
    EXPECT_FLOAT_EQ(grid[3].y1, grid[0].y1 - 1.0f);
    EXPECT_FLOAT_EQ(r[4].x1, 135.0f);

    // -0.04, 3 digits, 1 decimal, sign: a minus before the cells, the stop before the last cell.
    r = number(-0.04f, 3, 1, 1);
    EXPECT_EQ(glyphs(104, r), "-00.0");
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ((std::array<float, 3>{r[0].x1, r[3].x1, r[4].x1}), (std::array<float, 3>{91, 119, 125}));

    // -0.004 rounds to nothing: the sign cell shows a space.
    EXPECT_EQ(glyphs(104, number(-0.004f, 3, 1, 1))[0], ' ');
}

// A negative value keeps its minus without the sign flag, and in the grid
// font of the data output the stop's ink stands clear of both digits:
// -117.25 in 5 cells of 6 reads "-117.25", not "11725".
TEST_F(Fonts, NegativeNumbersKeepTheirMinusAndTheStopStandsClear)
{
    const auto r = sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, -117.25f, 5, 2, 0, 107); }));
    EXPECT_EQ(glyphs(107, r), "-117.25");
    ASSERT_EQ(r.size(), 7u);
    EXPECT_FLOAT_EQ(r[0].x1, 95.0f);   // the sign cell, left of the first digit
    // The units digit's ink ends a texel before its cell does; the stop's two
    // texels of ink (the second and third of its cell) leave a texel free on
    // each side before the next digit's ink.
    const float units_ink_end = r[3].x1 + 5.0f, stop_ink = r[4].x1 + 1.0f, next_ink = r[5].x1;
    EXPECT_EQ(stop_ink - units_ink_end, 1.0f);
    EXPECT_EQ(next_ink - (stop_ink + 2.0f), 1.0f);
    // Positive values draw no sign cell unless asked for one.
    EXPECT_EQ(glyphs(107, sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, 71.2f, 5, 1, 0, 107); }))),
              "0071.2");
}

TEST_F(Fonts, NumbersTooLongShowThreeDigitsAndAnExponent)
{
    EXPECT_EQ(glyphs(104, number(999.0f, 2, 0, 0)), "9.99x2");
    EXPECT_EQ(glyphs(104, number(99.0f, 2, 0, 0)), "99");
    // Nine digits are wanted only above 100,000,000 (not above 99,999,999): that
    // value itself fits eight cells, which show its last eight digits.
    EXPECT_EQ(glyphs(104, number(100000000.0f, 8, 0, 0)), "00000000");
    const auto r = number(123456.0f, 4, 0, 0);
    EXPECT_EQ(glyphs(104, r), "1.23x5");   // 1.23 x 10^5
    EXPECT_FLOAT_EQ(r[0].x1, 100.0f);
    EXPECT_FLOAT_EQ(r[1].x1, 109.0f);   // the stop in half a cell of its own after the first digit
    EXPECT_FLOAT_EQ(r[2].x1, 115.0f);
}

// Random texts with every byte value and values that are not numbers, through
// the text routines: nothing is read or written out of bounds.
TEST_F(Fonts, RandomTextsThroughTheTextRoutines)
{
    UTIL_srand(4242);
    const float values[] = {NAN, INFINITY, -INFINITY, 3.4e38f, -3.4e38f, 0.0f, -0.0f, 1e-30f, 123456.0f, -999.0f};
    for (int round = 0; round < 60; ++round) {
        const std::string t = random_text();
        const int font = FONT_FIRST + round % (FONT_LAST - FONT_FIRST + 1);
        char caption[TEXT_SIZE], second[TEXT_SIZE], help[TEXT_SIZE];
        capture_rects([&] {
            EXPECT_GE(OGL_string_width(t.c_str()), 0.0);
            OGL_draw_string(0, 10, 700, t.c_str(), round % 2 ? 200.0f : FONT_NO_WRAP, font);
            BTN_split_label(t.c_str(), caption, second, help);
            BTN_draw_label(500, 300, round % 3, t.c_str());
            const float v = values[round % 10];
            OGL_draw_string_fmt(0, 100, 100, v, round % 13 - 1, round % 7 - 2, round % 2, font);
        });
        EXPECT_LE(std::strlen(caption) + std::strlen(second) + std::strlen(help), size_t{TEXT_MAX_LEN});
    }
}

// Each panel font's cell for one character of its map, in its own block of the
// sheet, and the quarter-unit shift of the two digit fonts; the lit sheets are
// drawn with the cockpit lights on from the second texture resolution up.
TEST_F(Fonts, PanelFontsTakeTheirCellsFromTheirOwnBlocks)
{
    screen.screen_area_left = screen.screen_area_bottom = 0.0f;
    struct cell { int font; char c; float tx, ty, x1, w; };
    const cell cells[] = {
        {109, 'A', 67.0f, 450.0f, 0.0f, 6.0f},  {110, 'b', 85.0f, 387.0f, 0.0f, 6.0f},
        {111, '-', 61.0f, 357.0f, 0.0f, 6.0f},  {112, ':', 85.0f, 178.0f, 0.0f, 6.0f},
        {113, ' ', 79.0f, 158.0f, 0.0f, 6.0f},  {113, 'x', 1.0f, 158.0f, 0.0f, 6.0f},
        {114, '`', 37.0f, 305.0f, 0.0f, 6.0f},  {115, 'F', 73.0f, 138.0f, 0.0f, 6.0f},
        {115, 'C', 67.0f, 138.0f, 0.0f, 6.0f},  {116, '.', 85.5f, 148.0f, -1.0f, 6.0f},
        {117, '7', 67.5f, 130.0f, 1.0f, 6.0f},  {118, 'z', 240.0f, 44.0f, 0.0f, 12.0f},
    };
    for (const cell& c : cells) {
        const char text[2] = {c.c, 0};
        const auto r = capture_rects([&] { OGL_draw_string(0, 20.0f, 100.0f, text, FONT_NO_WRAP, c.font); });
        ASSERT_EQ(r.size(), 1u) << c.font << " " << c.c;
        EXPECT_FLOAT_EQ(r[0].tx1, c.tx) << c.font << " " << c.c;
        EXPECT_FLOAT_EQ(r[0].ty1, c.ty) << c.font << " " << c.c;
        EXPECT_FLOAT_EQ(r[0].x1, 20.0f + c.x1) << c.font << " " << c.c;
        EXPECT_FLOAT_EQ(r[0].x2 - r[0].x1, c.w) << c.font << " " << c.c;
    }

    const int32_t kept_lights = sim_cockpit_electrical.cockpit_lights_on, kept_res = screen.rendering_res;
    struct sheet { int lights, res, first, second; };
    for (const sheet& s : {sheet{1, 2, 447, 449}, sheet{1, 1, 446, 448}, sheet{0, 4, 446, 448}}) {
        sim_cockpit_electrical.cockpit_lights_on = s.lights;
        screen.rendering_res = s.res;
        EXPECT_EQ(OGL_font_tex(), s.first) << s.lights << " " << s.res;
        EXPECT_EQ(OGL_font2_tex(), s.second) << s.lights << " " << s.res;
    }
    sim_cockpit_electrical.cockpit_lights_on = kept_lights;
    screen.rendering_res = kept_res;
}

// A label on a shade: the shade reaches 2 units past the text on each side,
// 2 below its anchor and 8 above; the text starts half its width left of x.
TEST_F(Fonts, LabelOnAShadeIsCentredOnItsX)
{
    screen.screen_area_left = 0.0f;
    screen.screen_area_bottom = 0.0f;
    const auto r = sorted_by_x(capture_rects([] { OGL_draw_text_on_shade(0, 100.0f, 50.0f, "AB"); }));
    ASSERT_EQ(r.size(), 3u);   // the shade, then A and B ("AB" is 7 + 6 wide)
    EXPECT_EQ((std::array<float, 4>{r[0].x1, r[0].y1, r[0].x2, r[0].y2}), (std::array<float, 4>{91.5f, 48, 108.5f, 58}));
    EXPECT_EQ((std::array<float, 2>{r[1].x1, r[1].y1}), (std::array<float, 2>{94, 48}));   // 93.5 rounded, 2 lower
}
