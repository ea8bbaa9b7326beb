#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "graphics/font.h"
#include "graphics/widget.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"

namespace {

struct parts {
    std::string caption, second, help;
    bool operator==(const parts& o) const { return caption == o.caption && second == o.second && help == o.help; }
};
std::ostream& operator<<(std::ostream& out, const parts& p)
{
    return out << p.caption << "|" << p.second << "{" << p.help;
}

// Splits a label held in a heap block of exactly its size, so reading past its end is caught.
parts split(const char* label)
{
    std::unique_ptr<char[]> exact(new char[std::strlen(label) + 1]);
    std::memcpy(exact.get(), label, std::strlen(label) + 1);
    char c[TEXT_SIZE], s[TEXT_SIZE], h[TEXT_SIZE];
    std::memset(c, 'x', sizeof c);   // the outputs are cleared first
    BTN_split_label(exact.get(), c, s, h);
    return {c, s, h};
}

class Labels : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ui_2d_ready()); }
    // The lines a label draws, top line first: text, ends and baseline row of each.
    struct line {
        std::string text;
        float left, right, y;
    };
    static std::vector<line> draw(int mode, const char* text)
    {
        const auto rects = capture_rects([&] { BTN_draw_label(400, 300, mode, text); });
        std::map<float, line, std::greater<>> rows;
        for (const fb_rect& r : rects) {
            line& l = rows.try_emplace(r.y1, line{"", 1e9f, -1e9f, r.y1}).first->second;
            l.left = std::min(l.left, r.x1), l.right = std::max(l.right, r.x2);
        }
        const std::vector<std::string> texts = text_lines(103, rects);   // top line first, as the rows
        std::vector<line> out;
        for (auto& [y, l] : rows) out.push_back({texts[out.size()], l.left, l.right, y});
        return out;
    }
};

}  // namespace

TEST(SplitLabel, CaptionSecondPartAndHelp)
{
    const std::pair<const char*, parts> cases[] = {
        {"Volume |dB{ Sound volume", {"Volume", "dB", "Sound volume"}},   // one trailing space removed
        {"Plain caption", {"Plain caption", "", ""}},
        {"Name  |  unit  {xThe help", {"Name ", "  unit ", "The help"}},  // only one space goes
        {"No second{-help only", {"No second", "", "help only"}},
        // After a skipped bar or brace pair the next character is taken as it is;
        // a later bar is skipped even in the help.
        {"A||b{x{c|d", {"A", "|b", "{cd"}},
        // Labels ending in the brace or right after it have no help and are not over-read.
        {"Cap|sec{", {"Cap", "sec", ""}},
        {"Cap|sec{x", {"Cap", "sec", ""}},
        {"{", {"", "", ""}},
        {"|", {"", "", ""}}};
    for (const auto& [label, want] : cases) EXPECT_EQ(split(label), want) << label;
}

TEST(SplitLabel, ClosingBraceIsFatal)
{
    const alert_record a = expect_fatal([] { split("Bad } label"); });
    EXPECT_EQ(a.lines[0], "Using } in text file!");
    EXPECT_EQ(a.lines[1], "Must use { only!");
    EXPECT_EQ(a.code, 17);
    expect_fatal([] { split("Help{x with } inside"); });
}

TEST_F(Labels, LongCaptionSplitsAtTheSpaceNearestItsMiddleOrNotAtAll)
{
    // 18 characters, middle 9: the space at 8 is nearer than the one at 14;
    // both lines right-aligned at x, the first 3 above y, the next 10 lower.
    auto lines = draw(0, "Throttle lever one");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text + "/" + lines[1].text, "Throttle/lever one");
    EXPECT_FLOAT_EQ(lines[0].right, 400.0f);
    EXPECT_FLOAT_EQ(lines[1].right, 400.0f);
    EXPECT_FLOAT_EQ(lines[0].y, 300.0f + 5.0f - 2.0f);
    EXPECT_FLOAT_EQ(lines[0].y - lines[1].y, 10.0f);

    // Mode 2 starts each line at x.
    lines = draw(2, "Throttle lever one");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FLOAT_EQ(lines[0].left, 400.0f);
    EXPECT_FLOAT_EQ(lines[1].left, 400.0f);

    // Of two candidates equally near the middle (7 and 9 of 16) the earlier wins;
    // a "-" or "/" stays on the first line.
    EXPECT_EQ(draw(0, "aaaaaaa b cccccc").at(0).text, "aaaaaaa");
    lines = draw(0, "Elevator-trim-tab");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text + "/" + lines[1].text, "Elevator-/trim-tab");

    // A leading "-" is not drawn and forbids the split.
    lines = draw(0, "-Throttle lever one");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "Throttle lever one");
    EXPECT_FLOAT_EQ(lines[0].y, 298.0f);
    // Mode 1 never splits; twelve characters are never split; the only
    // candidate is the last character, or there is none.
    for (auto [mode, text] :
         {std::pair{1, "Throttle lever one"}, {0, "Twelve chars"}, {0, "abcdefghijklm-"}, {0, "abcdefghijklmnop"}})
        EXPECT_EQ(draw(mode, text).size(), 1u) << text;
}
