#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "shell/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/ui_capture.h"
#include "tests/support/test_support.h"

namespace {

struct parts {
    std::string caption, second, help;
};

parts split(const char* label)
{
    char c[TEXT_SIZE], s[TEXT_SIZE], h[TEXT_SIZE];
    std::memset(c, 'x', sizeof c);   // the outputs are cleared first
    BTN_split_label(label, c, s, h);
    return {c, s, h};
}

// A label in a heap block of exactly its size, so reading past its end is caught.
std::unique_ptr<char[]> exact(const char* text)
{
    std::unique_ptr<char[]> p(new char[std::strlen(text) + 1]);
    std::memcpy(p.get(), text, std::strlen(text) + 1);
    return p;
}

class Labels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    }
    // The lines a label draws: text, left end and baseline row of each.
    struct line {
        std::string text;
        float left, right, y;
    };
    static std::vector<line> draw(float x, float y, int mode, const char* text)
    {
        const auto rects = capture_rects([&] { BTN_draw_label(x, y, mode, text); });
        std::vector<float> ys;
        for (const fb_rect& r : rects)
            if (std::find(ys.begin(), ys.end(), r.y1) == ys.end()) ys.push_back(r.y1);
        std::sort(ys.rbegin(), ys.rend());   // top line first
        std::vector<line> out;
        for (float row : ys) {
            line l{"", 1e9f, -1e9f, row};
            std::vector<fb_rect> in;
            for (const fb_rect& r : rects)
                if (r.y1 == row) {
                    in.push_back(r);
                    l.left = std::min(l.left, r.x1);
                    l.right = std::max(l.right, r.x2);
                }
            l.text = text_lines(103, in)[0];
            out.push_back(l);
        }
        return out;
    }
};

}  // namespace

TEST(SplitLabel, CaptionSecondPartAndHelp)
{
    parts p = split("Volume |dB{ Sound volume");
    EXPECT_EQ(p.caption, "Volume");   // one trailing space removed
    EXPECT_EQ(p.second, "dB");
    EXPECT_EQ(p.help, "Sound volume");

    p = split("Plain caption");
    EXPECT_EQ(p.caption, "Plain caption");
    EXPECT_EQ(p.second, "");
    EXPECT_EQ(p.help, "");

    p = split("Name  |  unit  {xThe help");
    EXPECT_EQ(p.caption, "Name ");    // only one space goes
    EXPECT_EQ(p.second, "  unit ");
    EXPECT_EQ(p.help, "The help");

    p = split("No second{-help only");
    EXPECT_EQ(p.caption, "No second");
    EXPECT_EQ(p.second, "");
    EXPECT_EQ(p.help, "help only");
}

TEST(SplitLabel, LabelsEndingInTheBraceHaveNoHelpAndAreNotOverRead)
{
    for (const char* text : {"Cap|sec{", "Cap|sec{x", "{", "|"}) {
        auto label = exact(text);
        const parts p = split(label.get());
        EXPECT_EQ(p.help, "") << text;
    }
    EXPECT_EQ(split(exact("Cap|sec{").get()).second, "sec");
}

TEST(SplitLabel, ClosingBraceIsFatal)
{
    const alert_record a = expect_fatal([] { split("Bad } label"); });
    EXPECT_EQ(a.lines[0], "Using } in text file!");
    EXPECT_EQ(a.lines[1], "Must use { only!");
    EXPECT_EQ(a.code, 17);
    expect_fatal([] { split("Help{x with } inside"); });
}

TEST_F(Labels, LongCaptionSplitsAtTheSpaceNearestItsMiddle)
{
    // 18 characters, middle 9: the space at 8 is nearer than the one at 14.
    auto lines = draw(400, 300, 0, "Throttle lever one");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Throttle");
    EXPECT_EQ(lines[1].text, "lever one");
    EXPECT_FLOAT_EQ(lines[0].right, 400.0f);   // right-aligned at x
    EXPECT_FLOAT_EQ(lines[1].right, 400.0f);
    EXPECT_FLOAT_EQ(lines[0].y, 300.0f + 5.0f - 2.0f);
    EXPECT_FLOAT_EQ(lines[0].y - lines[1].y, 10.0f);

    // Mode 2 starts each line at x.
    lines = draw(400, 300, 2, "Throttle lever one");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FLOAT_EQ(lines[0].left, 400.0f);
    EXPECT_FLOAT_EQ(lines[1].left, 400.0f);

    // Of two candidates equally near the middle (7 and 9 of 16) the earlier wins;
    // a "-" or "/" stays on the first line.
    lines = draw(400, 300, 0, "aaaaaaa b cccccc");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "aaaaaaa");
    lines = draw(400, 300, 0, "Elevator-trim-tab");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Elevator-");
    EXPECT_EQ(lines[1].text, "trim-tab");
}

TEST_F(Labels, CaptionsThatStayOnOneLine)
{
    // A leading "-" is not drawn and forbids the split.
    auto lines = draw(400, 300, 0, "-Throttle lever one");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "Throttle lever one");
    EXPECT_FLOAT_EQ(lines[0].y, 298.0f);
    // Mode 1 never splits; twelve characters are never split.
    EXPECT_EQ(draw(400, 300, 1, "Throttle lever one").size(), 1u);
    EXPECT_EQ(draw(400, 300, 0, "Twelve chars").size(), 1u);
    // The only candidate is the last character, or there is none.
    EXPECT_EQ(draw(400, 300, 0, "abcdefghijklm-").size(), 1u);
    EXPECT_EQ(draw(400, 300, 0, "abcdefghijklmnop").size(), 1u);
}
