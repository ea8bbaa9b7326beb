// Unusual input through the text routines and the widgets: random texts with
// every byte value, values that are not numbers, and list positions at the
// ends of the int range must neither read nor write out of bounds nor overflow.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "core/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/random.h"
#include "core/screen.h"
#include "tests/graphics/ui_capture.h"
#include "tests/support/test_support.h"

namespace {

class Review : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui_2d_ready());
        INPUT_clear();
        screen.screen_area_width = 1024.0f, screen.screen_area_height = 768.0f, screen.open_menu = -1;
        app_mode = 1, slider_dragging = 0, active_text_field = -1;
    }
    static void press(float x, float y) { mouse.mouse_x = x, mouse.mouse_y = y, mouse.mouse_down = mouse.mouse_held = 1; }
};

// A random text of up to 600 bytes from 1..255, never a closing brace.
std::string random_text()
{
    std::string s(static_cast<size_t>(UTIL_rand() % 600), ' ');
    for (char& c : s) c = static_cast<char>(1 + UTIL_rand() % 255);
    std::replace(s.begin(), s.end(), '}', '{');
    return s;
}

}  // namespace

TEST_F(Review, RandomTextsThroughTheTextRoutines)
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

TEST_F(Review, ValueWidgetsTakeValuesThatAreNotNumbers)
{
    for (float v0 : {NAN, INFINITY, -INFINITY, 3.4e38f}) {
        for (int style = -1; style <= 10; ++style) {
            float v = v0;
            press(150, 200);
            capture_rects([&] { BTN_slider(100, 200, style, NAN, INFINITY, &v, 1, "A|b{ c", "12"); });
            capture_rects([&] { BTN_slider(100, 200, style, -1e38f, 1e38f, &v, 0, "A", "x"); });
        }
        float d = v0;
        int i = INT_MAX;
        press(105, 110);
        capture_rects([&] {
            BTN_digit_field(100, 100, &d, 4, 1, 0.0f, 999.9f, "D");
            BTN_digit_field_int(100, 100, &i, 10, -3e9f, 3e9f, "I");
        });
        EXPECT_TRUE(d >= 0.0f && d <= 999.9f);
    }
    // Text fields at the edges of their capacity never write past 500 bytes.
    char one[1] = "", big[TEXT_SIZE] = "";
    std::memset(typed_text, 'x', TEXT_MAX_LEN);
    active_text_field = 7;
    capture_rects([&] { BTN_text_field(10, 10, one, 0, 7, "T"); });
    EXPECT_EQ(one[0], 0);
    std::memset(typed_text, 'x', TEXT_MAX_LEN);
    active_text_field = 8;
    capture_rects([&] { BTN_text_field(10, 10, big, INT_MAX, 8, "T"); });
    EXPECT_EQ(std::strlen(big), size_t{TEXT_MAX_LEN});
}

TEST_F(Review, ScrollBarAndNameListAtTheEndsOfTheIntRange)
{
    struct range { int first, last, position; };
    for (const range& r : {range{INT_MIN, INT_MAX, INT_MIN}, {INT_MIN, INT_MAX, INT_MAX}, {-5, INT_MAX, INT_MAX},
                           {INT_MIN, 5, INT_MIN}, {0, 0, INT_MAX}, {10, 3, 7}}) {
        for (float my : {600.0f, 500.0f, 395.0f, 520.0f, 390.0f}) {   // up arrow, track ends, down arrow
            int p = r.position;
            press(300, my);
            capture_rects([&] { BTN_scroll_bar(300, 400, 500, r.first, r.last, &p); });
            EXPECT_TRUE(r.first > r.last || (p >= r.first && p <= r.last));
            int c = r.position;
            press(100, my - 200);
            capture_rects([&] { BTN_big_name_list(995, 50, 300, &c, r.first, r.last, typed_text); });
            EXPECT_TRUE(r.first > r.last || (c >= r.first && c <= r.last));
        }
    }
    // A list claiming more rows than the airport table: the search stops at the
    // table's end on the last index, without walking the whole int range.
    char search[TEXT_SIZE] = "~~~~";
    active_text_field = 0, key_pressed = 1, mouse.mouse_down = 0;
    int current = 0;
    capture_rects([&] { BTN_big_name_list(994, 50, 300, &current, 0, INT_MAX, search); });
    EXPECT_EQ(current, INT_MAX);
}

TEST_F(Review, SelectionListAtTheOriginOwnsNoPopUp)
{
    // Key 0 means "no list": a list whose position gives 0 must not take the
    // closed pop-up for its own nor a stale answer in every frame.
    EXPECT_NE(BTN_text_list_key(0, 0), 0);
    EXPECT_NE(BTN_text_list_key(std::nanf(""), 0), 0);
    int selected = 1;
    popup_answer = 2;   // a stale answer of another list
    EXPECT_EQ(BTN_text_list(0, 0, &selected, "a-b-c", "Pick"), 0);
    EXPECT_EQ((std::pair{selected, screen.open_menu}), (std::pair{1, -1}));
    // It still opens and takes its answer like any other list.
    press(0, 3);
    BTN_text_list(0, 0, &selected, "a-b-c", "Pick");
    EXPECT_EQ(popup_owner, BTN_text_list_key(0, 0));
    EXPECT_EQ(screen.open_menu, MENU_POPUP);
    popup_answer_owner = popup_owner, popup_owner = 0, screen.open_menu = -1;
    EXPECT_EQ(BTN_text_list(0, 0, &selected, "a-b-c", "Pick"), 1);
    EXPECT_EQ(selected, 2);
}
