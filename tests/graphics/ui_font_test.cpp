#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/ui_capture.h"
#include "tests/support/test_support.h"

namespace {

class Fonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        draw_to_pixel_buffer = 0;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    }
};

std::vector<fb_rect> sorted_by_x(std::vector<fb_rect> r)
{
    std::sort(r.begin(), r.end(), [](const fb_rect& a, const fb_rect& b) { return a.x1 < b.x1; });
    return r;
}

}  // namespace

TEST(FontWidths, ProportionalWidthsOfTheGlyphMap)
{
    EXPECT_EQ(OGL_string_width(""), 0.0);
    EXPECT_EQ(OGL_string_width("{"), 0.0);      // no glyph: counts nothing (drawing it advances 4)
    EXPECT_EQ(OGL_string_width(" "), 4.0);
    EXPECT_EQ(OGL_string_width("Volume"), 7 + 6 + 3 + 6 + 9 + 6);
    EXPECT_EQ(OGL_string_width("Wm10"), 9 + 9 + 6 + 6);
    EXPECT_EQ(OGL_string_width("!@#,.;"), 3 + 9 + 8 + 3 + 3 + 3);
    EXPECT_EQ(OGL_string_width("\xA1\x8A\xA7"), 4 + 6 + 7);   // degree sign, a diaeresis, sharp s
    EXPECT_EQ(OGL_string_width("~\"}"), 0.0);
}

TEST(FontWidths, PanelFontSheetsFollowCockpitLightsAndResolution)
{
    sim_cockpit_electrical.cockpit_lights_on = 1;
    screen.rendering_res = 1;
    EXPECT_EQ(OGL_font_tex(), 446);
    EXPECT_EQ(OGL_font2_tex(), 448);
    screen.rendering_res = 2;
    EXPECT_EQ(OGL_font_tex(), 447);
    EXPECT_EQ(OGL_font2_tex(), 449);
    sim_cockpit_electrical.cockpit_lights_on = 0;
    EXPECT_EQ(OGL_font_tex(), 446);
}

TEST_F(Fonts, GlyphQuadsArePlacedRoundedAndCutFromTheMap)
{
    screen.screen_area_left = 12.0f;
    screen.screen_area_bottom = 30.0f;
    const auto r = sorted_by_x(capture_rects([] { OGL_draw_string(0, 100.5f, 200.25f, "Ab{c", FONT_NO_WRAP, 100); }));
    ASSERT_EQ(r.size(), 4u);
    // Anchor 112.5 -> 113 (half away from zero), 230.25 -> 230, then 2 lower.
    EXPECT_FLOAT_EQ(r[0].x1, 113.0f);
    EXPECT_FLOAT_EQ(r[0].y1, 228.0f);
    EXPECT_FLOAT_EQ(r[0].x2, 120.0f);
    EXPECT_FLOAT_EQ(r[0].y2, 238.0f);
    EXPECT_FLOAT_EQ(r[0].tx1, 65.0f);   // 'A' at 65/7 of row 0
    EXPECT_FLOAT_EQ(r[0].ty1, 0.0f);
    EXPECT_EQ(glyph_of(100, r[1]), 'b');
    EXPECT_FLOAT_EQ(r[1].x1, 120.0f);
    EXPECT_EQ(glyph_of(100, r[2]), ' ');   // the brace takes the space cell and advances 4
    EXPECT_FLOAT_EQ(r[2].x2 - r[2].x1, 4.0f);
    EXPECT_FLOAT_EQ(r[3].x1, 130.0f);
    EXPECT_EQ(glyph_of(100, r[3]), 'c');

    // The second proportional font and the grid font.
    const auto b = capture_rects([] { OGL_draw_string(0, 0, 100, "A", FONT_NO_WRAP, 105); });
    ASSERT_EQ(b.size(), 1u);
    EXPECT_FLOAT_EQ(b[0].tx1, 137.0f + 65.0f);
    const auto g = sorted_by_x(capture_rects([] { OGL_draw_string(0, 0, 100, "Bb", FONT_NO_WRAP, 108); }));
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].tx1, 381.0f + 13 * 6);   // B is cell 13
    EXPECT_FLOAT_EQ(g[1].x1 - g[0].x1, 10.0f);    // font 108 advances 10
    EXPECT_FLOAT_EQ(g[1].tx1, 381.0f + 14 * 6);
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
    const auto lines = text_lines(
        100, capture_rects([] { OGL_draw_string(0, 100, 300, "ab cd efghijklm n\npq", 100.0f, 100); }));
    EXPECT_EQ(lines, (std::vector<std::string>{"ab cd ", "efghijklm n", "pq"}));
    const auto rs = capture_rects([] { OGL_draw_string(0, 100, 300, "ab cd efghijklm n\npq", 100.0f, 100); });
    float top = -1e9f, bottom = 1e9f;
    for (const fb_rect& q : rs) {
        top = std::max(top, q.y1);
        bottom = std::min(bottom, q.y1);
    }
    EXPECT_FLOAT_EQ(top - bottom, 20.0f);
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
    EXPECT_EQ(bound_texture[0], SLOT_INTERFACE_FONT2);
}

TEST_F(Fonts, UnknownFontCodeIsFatal)
{
    const alert_record a = expect_fatal([] { OGL_draw_glyphs(0, 0, 'a', 99); });
    EXPECT_EQ(a.lines[0], "Asked for a font that does not set it's specs!");
    EXPECT_EQ(FONT_number_pitch(119), 0);
}

TEST_F(Fonts, NumberCellsFullStopAndSign)
{
    // 5.5 with 5 digits and 2 decimals in font 104 (pitch 10) at x = 100.
    auto r = sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, 5.5f, 5, 2, 0, 104); }));
    ASSERT_EQ(r.size(), 6u);
    std::string cells;
    float stop_x = 0, stop_y = 0;
    for (const fb_rect& q : r) {
        if (glyph_of(104, q) == '.') {
            stop_x = q.x1;
            stop_y = q.y1;
        } else {
            cells += static_cast<char>(glyph_of(104, q));
        }
    }
    EXPECT_EQ(cells, "00550");
    EXPECT_FLOAT_EQ(r[0].x1, 100.0f);
    EXPECT_FLOAT_EQ(stop_x, 125.0f);   // between the third cell (120) and the fourth (130)
    EXPECT_FLOAT_EQ(stop_y, 97.0f);    // one below the row

    // -0.04, 3 digits, 1 decimal, sign: a minus, 0 0 0, the stop before the last cell.
    r = sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, -0.04f, 3, 1, 1, 104); }));
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(glyph_of(104, r[0]), '-');
    EXPECT_FLOAT_EQ(r[0].x1, 91.0f);
    EXPECT_EQ(glyph_of(104, r[1]), '0');
    EXPECT_EQ(glyph_of(104, r[2]), '0');
    EXPECT_EQ(glyph_of(104, r[3]), '.');
    EXPECT_FLOAT_EQ(r[3].x1, 115.0f);
    EXPECT_EQ(glyph_of(104, r[4]), '0');
    EXPECT_FLOAT_EQ(r[4].x1, 120.0f);

    // -0.004 rounds to nothing: the sign cell shows a space.
    r = sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, -0.004f, 3, 1, 1, 104); }));
    EXPECT_EQ(glyph_of(104, r[0]), ' ');
}

TEST_F(Fonts, NumbersTooLongShowThreeDigitsAndAnExponent)
{
    auto form = [](float value, int digits) {
        auto r = sorted_by_x(capture_rects([&] { OGL_draw_string_fmt(0, 100, 100, value, digits, 0, 0, 104); }));
        std::string s;
        for (const fb_rect& q : r) s += static_cast<char>(glyph_of(104, q));
        return s;
    };
    EXPECT_EQ(form(123456.0f, 4), "1.23x5");   // 1.23 x 10^5
    EXPECT_EQ(form(999.0f, 2), "9.99x2");
    EXPECT_EQ(form(99.0f, 2), "99");
    auto r = sorted_by_x(capture_rects([] { OGL_draw_string_fmt(0, 100, 100, 123456.0f, 4, 0, 0, 104); }));
    EXPECT_FLOAT_EQ(r[0].x1, 100.0f);
    EXPECT_FLOAT_EQ(r[1].x1, 107.0f);   // the stop at pen (x - p) + 1.5 p + 2
}
