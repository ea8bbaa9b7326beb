#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "shell/datafile.h"
#include "shell/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/graphics/ui_capture.h"
#include "tests/support/test_support.h"
#include "world/navdb.h"

namespace {

class Widgets : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensure_gl_context());
        INPUT_clear();
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        screen.screen_area_width = 1024.0f;
        screen.screen_area_height = 768.0f;
        screen.open_menu = -1;
        app_mode = 1;
        slider_dragging = 0;
        active_text_field = -1;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    }
    // A press at (x, y) in this frame.
    static void press(float x, float y)
    {
        mouse.mouse_x = x;
        mouse.mouse_y = y;
        mouse.mouse_down = 1;
        mouse.mouse_held = 1;
    }
    // The button still held, moved to (x, y), in a later frame.
    static void drag(float x, float y)
    {
        mouse.mouse_x = x;
        mouse.mouse_y = y;
        mouse.mouse_down = 0;
        mouse.mouse_held = 1;
    }
    static void release()
    {
        mouse.mouse_down = 0;
        mouse.mouse_held = 0;
    }
};

}  // namespace

TEST_F(Widgets, DigitFieldStepsTheClickedDigit)
{
    // 4 digits, 1 decimal at x = 100: cells of 10 units step 100, 10, 1, 0.1.
    float v = 25.0f;
    press(115, 101);   // lower half of the second cell
    EXPECT_EQ(BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed|kt{ Help"), 1);
    EXPECT_FLOAT_EQ(v, 15.0f);
    EXPECT_STREQ(mouse.hover_text, "Help");
    press(135, 110);   // upper half of the last cell
    BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed");
    EXPECT_NEAR(v, 15.1f, 1e-5);
    press(105, 110);
    BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed");
    EXPECT_NEAR(v, 115.1f, 1e-4);
    // On the border of two cells both digits change.
    v = 25.0f;
    press(120, 90);
    BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed");
    EXPECT_FLOAT_EQ(v, 14.0f);
    // The value is pulled back into the limits in the same frame.
    v = 950.0f;
    press(105, 110);
    BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed");
    EXPECT_FLOAT_EQ(v, 999.9f);
    release();
    v = -3.0f;
    BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed");
    EXPECT_FLOAT_EQ(v, 0.0f);
    // No clicks while a menu or a pop-up is open.
    v = 25.0f;
    screen.open_menu = MENU_POPUP;
    press(115, 101);
    EXPECT_EQ(BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed"), 0);
    EXPECT_FLOAT_EQ(v, 25.0f);
}

TEST_F(Widgets, DigitFieldRangesAndIntegers)
{
    EXPECT_FLOAT_EQ(BTN_digit_field_auto_max(3, 1), 99.9f);
    EXPECT_FLOAT_EQ(BTN_digit_field_auto_max(1, 0), 9.0f);
    EXPECT_FLOAT_EQ(BTN_digit_field_auto_max(11, 0), 0.0f);
    float v = 0.0f;
    press(105, 90);   // step the tens down: -10 is allowed with negatives
    BTN_digit_field_auto(100, 100, &v, 3, 1, 1, "Trim");
    EXPECT_FLOAT_EQ(v, -10.0f);
    v = 0.0f;
    BTN_digit_field_auto(100, 100, &v, 3, 1, 0, "Trim");
    EXPECT_FLOAT_EQ(v, 0.0f);

    int n = 42;
    press(125, 110);   // the units cell of three digits
    BTN_digit_field_int(100, 100, &n, 3, 0.0f, 500.0f, "Count");
    EXPECT_EQ(n, 43);

    expect_fatal([] { BTN_util_draw_boxed_button(100, 100, 50, 2, 0); });
}

TEST_F(Widgets, SliderMapsThePointerLinearly)
{
    // Style 0: a 156-unit track from x = 100.
    float v = 0.0f;
    press(139, 300);
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", "0.25"), 1);
    EXPECT_FLOAT_EQ(v, 0.25f);
    EXPECT_EQ(slider_dragging, 1);
    // While dragging, the pointer may wander up to 20 units off the track.
    drag(217, 318);
    BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", "");
    EXPECT_FLOAT_EQ(v, 0.75f);
    drag(265, 300);   // past the end, inside the 10-unit margin: kept at the high end
    BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", "");
    EXPECT_FLOAT_EQ(v, 1.0f);
    release();
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", ""), 0);
    EXPECT_EQ(slider_dragging, 0);
    // Not dragging: only 10 units.
    drag(139, 318);
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", ""), 0);
    EXPECT_FLOAT_EQ(v, 1.0f);

    // A reversed range: the knob and the drag use the smaller end as low.
    drag(139, 300);
    BTN_slider(100, 300, 2, 10.0f, -10.0f, &v, 1, "Trim", "");
    EXPECT_FLOAT_EQ(v, -10.0f + 39.0f * 20.0f / 312.0f);
    // A span of zero is widened to 0.01.
    drag(178, 300);
    BTN_slider(100, 300, 0, 5.0f, 5.0f, &v, 1, "Flat", "");
    EXPECT_NEAR(v, 5.005f, 1e-4);
    // A slider that cannot be edited never takes the value.
    v = 0.5f;
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 0, "Gauge", ""), 0);
    EXPECT_FLOAT_EQ(v, 0.5f);
}

TEST_F(Widgets, SliderGaugeFill)
{
    // A style 0 gauge at half: the narrow strip spans x .. x + 78 (editable: 10 wider, 6 left).
    float v = 0.5f;
    auto r = capture_rects([&] { BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 0, "Gauge", ""); });
    float left = 1e9f, right = -1e9f;
    for (const fb_rect& q : r)
        if (q.tx1 >= 289 && q.tx2 <= 305 && q.ty1 >= 219 && q.ty2 <= 235) {
            left = std::min(left, q.x1);
            right = std::max(right, q.x2);
        }
    EXPECT_FLOAT_EQ(left, 101.0f);
    EXPECT_FLOAT_EQ(right, 179.0f);
    // Style 3 at zero fills nothing.
    v = 0.0f;
    r = capture_rects([&] { BTN_slider(100, 300, 3, 0.0f, 1.0f, &v, 0, "Gauge", ""); });
    EXPECT_EQ(count_art(r, 289, 219, 305, 235), 0);
}

TEST_F(Widgets, RadioGroupKeepsExactlyOneChoice)
{
    int choice = 1;
    const float ys[3] = {100, 130, 160};
    auto frame = [&] {
        int clicked = 0;
        for (int i = 0; i < 3; ++i) clicked += BTN_radio_button(300, ys[i], &choice, i, "Option");
        return clicked;
    };
    auto ticks = [&] {
        // The small tick's art: texel x 83..101, y 142..160.
        const auto r = capture_rects([&] {
            for (int i = 0; i < 3; ++i) BTN_radio_button(300, ys[i], &choice, i, "Option");
        });
        return count_art(r, 83, 142, 101, 160);
    };
    EXPECT_EQ(ticks(), 1);
    press(300, 164);   // the third button's box is [292, 308] x [156, 172]
    EXPECT_EQ(frame(), 1);
    EXPECT_EQ(choice, 2);
    release();
    EXPECT_EQ(ticks(), 1);
    press(300, 164);   // clicking the ticked one keeps it
    frame();
    EXPECT_EQ(choice, 2);
    release();
    EXPECT_EQ(ticks(), 1);

    int box = 0;
    press(300, 100);
    EXPECT_EQ(BTN_check_box(300, 100, &box, "Box", 0), 1);
    EXPECT_EQ(box, 1);
    EXPECT_EQ(BTN_check_box(300, 100, &box, "Box", 0), 1);
    EXPECT_EQ(box, 0);
    screen.open_menu = 3;
    EXPECT_EQ(BTN_check_box(300, 100, &box, "Box", 0), 0);
    EXPECT_EQ(box, 0);
}

TEST_F(Widgets, TabsButtonsAndDial)
{
    int tab = 0;
    const float cy = 768.0f - 38.0f;
    press(150 + 39, cy);   // inside tab 1 ([100, 190]) and tab 2 ([188, 278]): the later call wins
    EXPECT_EQ(BTN_tab(1, 0, &tab, "One"), 1);
    EXPECT_EQ(BTN_tab(2, 0, &tab, "Two"), 1);
    EXPECT_EQ(tab, 2);

    press(500, 400);
    EXPECT_EQ(BTN_push_button(500, 400, 0, 0, "Go"), 1);
    screen.open_menu = 0;
    EXPECT_EQ(BTN_push_button(500, 400, 0, 0, "Go"), 0);
    screen.open_menu = -1;

    float angle = 45.0f, scale = 3.0f;
    press(600, 320);   // straight above the centre
    BTN_direction_dial(600, 300, &angle, &scale);
    EXPECT_FLOAT_EQ(angle, 0.0f);
    press(580, 300);   // straight to the left
    BTN_direction_dial(600, 300, &angle, &scale);
    EXPECT_FLOAT_EQ(angle, 270.0f);
    press(590, 255);   // left box below the dial
    BTN_direction_dial(600, 300, &angle, &scale);
    EXPECT_FLOAT_EQ(scale, 2.0f);
    press(600, 255);   // on the line between the boxes: both apply
    BTN_direction_dial(600, 300, &angle, &scale);
    EXPECT_FLOAT_EQ(scale, 2.0f);
}

TEST_F(Widgets, TextFieldKeepsAtMostItsCapacity)
{
    char text[TEXT_SIZE] = "abc";
    press(102, 104);
    EXPECT_EQ(BTN_text_field(100, 100, text, 8, 5, "Name"), 1);
    EXPECT_EQ(active_text_field, 5);
    EXPECT_STREQ(typed_text, "abc");
    release();
    std::strcpy(typed_text, "abcdefghijk");
    EXPECT_EQ(BTN_text_field(100, 100, text, 8, 5, "Name"), 0);
    EXPECT_STREQ(text, "abcdefg");   // maximum 8 keeps 7 characters
    // Clicking the active field does nothing; another field becomes active.
    press(102, 104);
    EXPECT_EQ(BTN_text_field(100, 100, text, 8, 5, "Name"), 0);
    char other[TEXT_SIZE] = "";
    press(302, 104);
    EXPECT_EQ(BTN_text_field(300, 100, other, 4, 6, "Other"), 1);
    EXPECT_EQ(active_text_field, 6);
    // A capacity beyond the buffers is held to 499 characters.
    release();
    std::memset(typed_text, 'z', TEXT_MAX_LEN);
    typed_text[TEXT_MAX_LEN] = 0;
    BTN_text_field(300, 100, other, 100000, 6, "Other");
    EXPECT_EQ(std::strlen(other), static_cast<size_t>(TEXT_MAX_LEN));
}

TEST_F(Widgets, SelectionListPopUpLaysOutItsItems)
{
    int selected = 5;
    const char* items = "one-two-three";
    release();
    EXPECT_EQ(BTN_text_list(400, 300, &selected, items, "Pick"), 0);
    EXPECT_EQ(selected, 2);   // clamped to the last item
    const int32_t key = BTN_text_list_key(400, 300);
    EXPECT_EQ(key, 1024 * 300 + 400);

    const float W = static_cast<float>(static_cast<int>(OGL_string_width("three")));
    press(400, 305);
    BTN_text_list(400, 300, &selected, items, "Pick");
    EXPECT_EQ(popup_owner, key);
    release();
    BTN_text_list(400, 300, &selected, items, "Pick");
    EXPECT_EQ(screen.open_menu, MENU_POPUP);
    const menu_record& m = menu_table[MENU_POPUP];
    EXPECT_FLOAT_EQ(m.left, 400.0f - W / 2.0f - 3.0f);
    EXPECT_FLOAT_EQ(m.right, m.left + W + 8.0f);
    EXPECT_FLOAT_EQ(m.bottom, 300.0f - 4.0f);              // the selected (last) item on the list's line
    EXPECT_FLOAT_EQ(m.top, m.bottom + 12.0f * 3 + 2.0f);
    EXPECT_STREQ(m.items[0].text, "one");
    EXPECT_STREQ(m.items[2].text, "three");
    EXPECT_STREQ(m.items[3].text, "");
    EXPECT_FLOAT_EQ(m.items[0].bottom, 300.0f + 24.0f);
    EXPECT_FLOAT_EQ(m.items[2].bottom, 300.0f);
    EXPECT_FLOAT_EQ(m.items[2].top, 312.0f);

    // The click handler answers; the list takes the answer in its next call only.
    popup_answer = 0;
    popup_answer_owner = popup_owner;
    popup_owner = 0;
    EXPECT_EQ(BTN_text_list(400, 300, &selected, items, "Pick"), 1);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(BTN_text_list(400, 300, &selected, items, "Pick"), 0);

    EXPECT_EQ(expect_fatal([&] { BTN_text_list(400, 300, &selected, "a|b", "Pick"); }).lines[0],
              "Found | char in text string!");
    std::string many = "x";
    for (int i = 0; i < 50; ++i) many += "-x";
    EXPECT_EQ(expect_fatal([&] { BTN_text_list(400, 300, &selected, many.c_str(), "Pick"); }).lines[0],
              "BTN_text_list overflow!");
}

TEST_F(Widgets, ScrollBarAndFileList)
{
    int pos = 3;
    release();
    BTN_scroll_bar(500, 100, 300, 3, 3, &pos);
    EXPECT_EQ(pos, 3);
    press(500, 310);   // the up arrow at the first position
    BTN_scroll_bar(500, 100, 300, 0, 20, &pos);
    EXPECT_EQ(pos, 2);
    pos = 0;
    BTN_scroll_bar(500, 100, 300, 0, 20, &pos);
    EXPECT_EQ(pos, 0);
    drag(500, 289);   // the top of the drag span: the first position
    EXPECT_EQ(BTN_scroll_bar(500, 100, 300, 0, 20, &pos), 1);
    EXPECT_EQ(pos, 0);
    drag(500, 111);   // the bottom: the last
    BTN_scroll_bar(500, 100, 300, 0, 20, &pos);
    EXPECT_EQ(pos, 20);

    // The browser's listing: a click on a row moves the current index.
    std::strcpy(file_list_names[0], "alpha");
    std::strcpy(file_list_names[1], "beta");
    std::strcpy(file_list_names[2], "gamma");
    file_list_kinds[0] = 1;
    int current = 0;
    press(100, 300 - 20 + 5);   // the row two below the current one
    EXPECT_EQ(BTN_big_name_list(995, 100, 300, &current, 0, 2, typed_text), 1);
    EXPECT_EQ(current, 2);
    release();
    std::vector<fb_rect> glyphs;   // the quads cut from the list font
    for (const fb_rect& q : capture_rects([&] { BTN_big_name_list(995, 100, 300, &current, 0, 2, typed_text); }))
        if (q.tx1 >= 137.0f && q.tx2 <= 270.0f && q.ty2 <= 54.0f) glyphs.push_back(q);
    const auto lines = text_lines(106, glyphs);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "alpha"), lines.end());
    EXPECT_EQ(expect_fatal([&] { BTN_big_name_list(990, 100, 300, &current, 0, 2, typed_text); }).lines[0],
              "Bad BTN_big_name_list type!");
}

TEST_F(Widgets, FramesRefuseBadCalls)
{
    EXPECT_EQ(expect_fatal([] { BTN_frame1(6, 100, 100, 50); }).lines[0], "Bad BTN_frame1 call!");
    EXPECT_EQ(expect_fatal([] { BTN_frame0(5, 100, 100, 50); }).lines[0], "Bad BTN_frame0 call!");
    EXPECT_EQ(expect_fatal([] { BTN_frame2(18, 10, 10, 100, 100, ""); }).lines[0], "Bad BTN_frame2 call!");
    expect_fatal([] { BTN_frame2(12, 10, 10, 100, 101, ""); });   // an odd height

    float fx = 0, fy = 0;
    BTN_place_frame(0, 13, -1, -1, -1, -1, "", &fx, &fy);
    EXPECT_FLOAT_EQ(fx, 1024.0f);
    EXPECT_FLOAT_EQ(fy, 768.0f - 28.0f + 10.0f);
}

TEST_F(Widgets, StripsCoverTheirLengthWithArtFromTheirBox)
{
    // A plain strip 101 wide (rounded to 102): pieces run edge to edge.
    auto r = capture_rects([] { BTN_frame1(0, 300, 200, 101); });
    std::sort(r.begin(), r.end(), [](const fb_rect& a, const fb_rect& b) { return a.x1 < b.x1; });
    ASSERT_GE(r.size(), 3u);
    EXPECT_FLOAT_EQ(r.front().x1, 249.0f);
    EXPECT_FLOAT_EQ(r.back().x2, 351.0f);
    for (size_t i = 1; i < r.size(); ++i) EXPECT_FLOAT_EQ(r[i].x1, r[i - 1].x2);
    for (const fb_rect& q : r) {
        EXPECT_GE(q.tx1, 1.0f - 1e-3f);
        EXPECT_LE(q.tx2, 101.0f + 1e-3f);
        EXPECT_FLOAT_EQ(q.y1, 200.0f - 13.0f - 3.0f);
    }
    // A window frame: nine pieces and their repeats fill the frame box.
    r = capture_rects([] { BTN_frame2(13, 100, 100, 300, 200, ""); });
    double area = 0;
    for (const fb_rect& q : r) area += double(q.x2 - q.x1) * double(q.y2 - q.y1);
    EXPECT_NEAR(area, (300.0 + 18.0) * (200.0 + 18.0), 1e-3);
}

TEST_F(Widgets, CloseBoxesOnlyOnSettingsScreens)
{
    // A small work area keeps the captures small.
    screen.screen_area_width = 240.0f;
    screen.screen_area_height = 180.0f;
    auto close_boxes = [] {
        return count_art(capture_rects([] { BTN_frame2(11, 0, 0, 240, 180, "Title"); }), 120, 178, 138, 215);
    };
    app_mode = 5;
    EXPECT_EQ(close_boxes(), 2);
    for (int mode : {0, 996, 998, 999}) {
        app_mode = mode;
        EXPECT_EQ(close_boxes(), 0) << mode;
    }
    // The screen frame with inner style 18 draws only the outer frame.
    app_mode = 0;
    screen.screen_title[0] = 0;
    const size_t outer = capture_rects([] { BTN_frame2(12, 0, 0, 240, 180, ""); }).size();
    EXPECT_EQ(capture_rects([] { BTN_screen_frame(0, 18); }).size(), outer);
    EXPECT_GT(capture_rects([] { BTN_screen_frame(0, 13); }).size(), outer);
}

TEST_F(Widgets, AirportNameSearchAndIdSearchText)
{
    const auto kept = airport_table;
    airport_table.clear();
    for (const char* name : {"Alpha Field", "Bravo Strip", "Charlie Intl"}) {
        airport_record a{};
        std::strcpy(a.name, name);
        airport_table.push_back(a);
    }
    char search[TEXT_SIZE] = "";
    int current = 0;
    press(100, 300 - 128);   // the name search box
    EXPECT_EQ(BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 2, search), 1);
    EXPECT_EQ(active_text_field, 0);
    release();
    std::strcpy(search, "bRAVO");
    key_pressed = 1;
    BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 2, search);
    EXPECT_EQ(current, 1);   // the first name at or after the text, ignoring case
    std::strcpy(search, "zulu");
    BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 2, search);
    EXPECT_EQ(current, 2);   // past every name: the last index

    key_pressed = 0;
    active_text_field = 1;   // the id search cuts its text to four upper-case letters
    std::strcpy(search, "ksbdxy");
    BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 2, search);
    EXPECT_STREQ(search, "KSBD");
    airport_table = kept;
}
