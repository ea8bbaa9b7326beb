#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>

#include "graphics/ogl_state.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "core/datafile.h"
#include "core/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "world/navdb.h"
#include "core/hooks.h"
#include "tests/support/gl_view.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"

namespace {

class Widgets : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui_screen_ready());
        app_mode = 1;
    }
    // The pointer at (x, y): pressed in this frame, held from an earlier one, or up.
    static void press(float x, float y)
    {
        mouse.mouse_x = x, mouse.mouse_y = y, mouse.mouse_down = mouse.mouse_held = 1;
    }
    static void drag(float x, float y) { press(x, y), mouse.mouse_down = 0; }
    static void release() { mouse.mouse_down = mouse.mouse_held = 0; }
};

}  // namespace

TEST_F(Widgets, DigitFieldStepsTheClickedDigit)
{
    // 4 digits, 1 decimal at x = 100: cells of 10 units step 100, 10, 1, 0.1;
    // the upper half of a cell steps up, the lower half down.
    struct click {
        float x, y, before, after;
    };
    for (const click& c : {click{115, 101, 25, 15},     // lower half of the second cell
                           {135, 110, 15, 15.1f},      // upper half of the last cell
                           {125, 103, 15, 16},          // from y + 3 on a click steps up
                           {120, 90, 25, 14},           // on the border of two cells both digits change
                           {105, 110, 950, 999.9f}}) {  // pulled back into the limits in the same frame
        float v = c.before;
        press(c.x, c.y);
        EXPECT_EQ(BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed|kt{ Help"), 1);
        EXPECT_NEAR(v, c.after, 1e-4) << c.x << "," << c.y;
    }
    EXPECT_STREQ(mouse.hover_text, "Help");

    // The automatic range: the largest value the digits show, and its negative
    // only when negatives are allowed; none for a digit count outside 1..10.
    EXPECT_FLOAT_EQ(BTN_digit_field_auto_max(11, 0), 0.0f);
    for (auto [negatives, after] : {std::pair{1, -10.0f}, {0, 0.0f}}) {
        float v = 0.0f;
        press(105, 90);   // step the tens down
        BTN_digit_field_auto(100, 100, &v, 3, 1, negatives, "Trim");
        EXPECT_FLOAT_EQ(v, after);
    }
    // No clicks while a menu or a pop-up is open.
    float v = 25.0f;
    screen.open_menu = MENU_POPUP;
    EXPECT_EQ(BTN_digit_field(100, 100, &v, 4, 1, 0.0f, 999.9f, "Speed"), 0);
    EXPECT_FLOAT_EQ(v, 25.0f);
    expect_fatal([] { BTN_util_draw_boxed_button(100, 100, 50, 2, 0); });   // a strip of no boxes
}

TEST_F(Widgets, SliderMapsThePointerLinearly)
{
    // Style 0: a 156-unit track from x = 100.
    float v = 0.0f;
    press(139, 300);
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", "0.25"), 1);
    EXPECT_FLOAT_EQ(v, 0.25f);
    // While dragging, the pointer may wander up to 20 units off the track;
    // past the end, inside the 10-unit margin, the value stays at the high end.
    for (auto [x, y, want] : {std::tuple{217.0f, 318.0f, 0.75f}, {265.0f, 300.0f, 1.0f}}) {
        drag(x, y);
        BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", "");
        EXPECT_FLOAT_EQ(v, want) << x;
    }
    release();
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", ""), 0);
    EXPECT_EQ(slider_dragging, 0);
    // A fresh press grabs only within 10 units of the track.
    press(139, 315);
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", ""), 0);
    EXPECT_FLOAT_EQ(v, 1.0f);
    press(139, 309);
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", ""), 1);
    EXPECT_FLOAT_EQ(v, 0.25f);

    // Track lengths by style: 156, 312 or 500 units.
    for (auto [style, x, want] : {std::tuple{9, 225.0f, 0.25f}, {4, 178.0f, 0.25f}, {3, 256.0f, 0.5f},
                                  {5, 139.0f, 0.25f}, {8, 139.0f, 0.25f}}) {
        press(x, 300);
        BTN_slider(100, 300, style, 0.0f, 1.0f, &v, 1, "Style", "");
        EXPECT_FLOAT_EQ(v, want) << style;
    }
    release();
    BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "Volume", "");

    // A reversed range uses the smaller end as low; a span of zero is widened
    // to 0.01; a slider that cannot be edited never takes the value.
    drag(139, 300);
    BTN_slider(100, 300, 2, 10.0f, -10.0f, &v, 1, "Trim", "");
    EXPECT_FLOAT_EQ(v, -10.0f + 39.0f * 20.0f / 312.0f);
    drag(178, 300);
    BTN_slider(100, 300, 0, 5.0f, 5.0f, &v, 1, "Flat", "");
    EXPECT_NEAR(v, 5.005f, 1e-4);
    v = 0.5f;
    EXPECT_EQ(BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 0, "Gauge", ""), 0);
    EXPECT_FLOAT_EQ(v, 0.5f);

    // The gauge at half: the narrow strip's art spans x .. x + 78 (editable: 10 wider, 6 left).
    float left = 1e9f, right = -1e9f;
    for (const fb_rect& q : capture_rects([&] { BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 0, "Gauge", ""); }))
        if (count_art({q}, 289, 219, 305, 235)) left = std::min(left, q.x1), right = std::max(right, q.x2);
    EXPECT_EQ(std::make_pair(left, right), std::make_pair(101.0f, 179.0f));

    // Each style's gauge colour; style 3 by the value's sign (50 at zero), the
    // centred style 5 the other way round, and style 9 no gauge at all.
    struct gauge { int style; float value; int colour; };
    for (const gauge& g : {gauge{0, 0.5f, 50}, gauge{1, 0.5f, 64}, gauge{2, 0.5f, 50}, gauge{4, 0.5f, 58},
                           gauge{6, 0.5f, 50}, gauge{7, 0.5f, 53}, gauge{8, 0.5f, 67}, gauge{3, 0.5f, 58},
                           gauge{3, 0.0f, 50}, gauge{3, -0.5f, 50}, gauge{5, 0.5f, 50}, gauge{5, -0.5f, 58},
                           gauge{9, 0.5f, -1}}) {
        float value = g.value;
        int found = 0;
        for (const fb_rect& q : capture_rects([&] { BTN_slider(100, 300, g.style, -1.0f, 1.0f, &value, 0, "G", ""); }))
            if (count_art({q}, 289, 219, 305, 235)) {
                ++found;
                EXPECT_NEAR(q.r, colour_table[g.colour][0], 1e-3f) << g.style << " " << g.value;
                EXPECT_NEAR(q.g, colour_table[g.colour][1], 1e-3f) << g.style << " " << g.value;
                EXPECT_NEAR(q.b, colour_table[g.colour][2], 1e-3f) << g.style << " " << g.value;
            }
        EXPECT_EQ(found > 0, g.colour >= 0) << g.style << " " << g.value;
    }
}

TEST_F(Widgets, RadioGroupKeepsExactlyOneChoice)
{
    int choice = 1;
    auto frame = [&] {
        int clicked = 0;
        for (int i = 0; i < 3; ++i) clicked += BTN_radio_button(300, 100 + 30 * i, &choice, i, "Option");
        return clicked;
    };
    auto ticks = [&] { return count_art(capture_rects([&] { frame(); }), 83, 142, 101, 160); };   // the tick's art
    EXPECT_EQ(ticks(), 1);
    for (int round = 0; round < 2; ++round) {   // the second click on the ticked one keeps it
        press(300, 164);                        // the third button's box is [292, 308] x [156, 172]
        EXPECT_EQ(frame(), 1);
        EXPECT_EQ(choice, 2);
        release();
        EXPECT_EQ(ticks(), 1);
    }

    int box = 0;
    press(300, 100);
    for (int want : {1, 0}) {
        EXPECT_EQ(BTN_check_box(300, 100, &box, "Box", 0), 1);
        EXPECT_EQ(box, want);
    }
}

TEST_F(Widgets, TabsButtonsAndDial)
{
    int tab = 0;
    press(150 + 39, 768.0f - 38.0f);   // inside tab 1 ([100, 190]) and tab 2 ([188, 278]): the later call wins
    EXPECT_EQ(BTN_tab(1, 0, &tab, "One") + BTN_tab(2, 0, &tab, "Two"), 2);
    EXPECT_EQ(tab, 2);

    press(500, 400);
    EXPECT_EQ(BTN_push_button(500, 400, 0, 0, "Go"), 1);

    // A click straight left of the centre points the dial there; the left box
    // below it divides the scale by 1.5.
    float angle = 45.0f, scale = 3.0f;
    press(580, 300);
    BTN_direction_dial(600, 300, &angle, &scale);
    press(590, 255);
    BTN_direction_dial(600, 300, &angle, &scale);
    EXPECT_EQ(std::make_pair(angle, scale), std::make_pair(270.0f, 2.0f));
    // Straight above is 0 and to the right 90; the right box multiplies by 1.5.
    for (auto [px, py, want_angle, want_scale] :
         {std::tuple{600.0f, 320.0f, 0.0f, 2.0f}, {620.0f, 300.0f, 90.0f, 2.0f}, {615.0f, 255.0f, 90.0f, 3.0f}}) {
        press(px, py);
        BTN_direction_dial(600, 300, &angle, &scale);
        EXPECT_EQ(std::make_pair(angle, scale), std::make_pair(want_angle, want_scale)) << px << "," << py;
    }

    // A tab of row 1 stands 30 units below row 0; its art is the selected or
    // the plain face by whether it is the chosen one.
    release();
    for (auto [chosen, face_y] : {std::pair{0, 486.0f}, {3, 459.0f}}) {
        tab = chosen;
        int faces = 0;
        for (const fb_rect& q : capture_rects([&] { BTN_tab(0, 1, &tab, "Zero"); }))
            if (q.x1 == 13.0f && q.x2 == 111.0f && q.y1 == 768.0f - 68.0f - 13.0f && q.y2 == 768.0f - 68.0f + 13.0f &&
                q.tx1 == 204.0f && q.tx2 == 302.0f && q.ty1 == face_y && q.ty2 == face_y + 26.0f)
                ++faces;
        EXPECT_EQ(faces, 1) << chosen;
    }
}

// A slider's value text: a number (digits and signs only) ends at the track's
// right end, any other text is centred on the track and moved 5 units right.
TEST_F(Widgets, SliderValueTextPlacement)
{
    auto leftmost = [](const std::vector<fb_rect>& rects) {
        float l = 1e9f;
        for (const fb_rect& q : rects)
            if (glyph_of(103, q) != 0) l = std::min(l, q.x1);
        return l;
    };
    float v = 0.5f;
    for (auto [text, number] : {std::pair{"125", true}, {"-40", true}, {"0.25", false}, {"off", false}}) {
        const float w = static_cast<float>(OGL_string_width(text));
        const float start = number ? 256.0f - w : 100.0f + 78.0f - w / 2.0f + 5.0f;
        const float drawn = leftmost(capture_rects([&] { BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 0, "", text); }));
        const float want = leftmost(capture_rects([&] { OGL_draw_string(45, start, 310, text, FONT_NO_WRAP, 103); }));
        EXPECT_FLOAT_EQ(drawn, want) << text;
    }
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

    // 300 wide letters in a field or typed into the name search draw nothing
    // outside the box (the picture there is the empty field's), and the name
    // search keeps no more than the longest name.
    struct field { int id; float x1, y1, x2, y2; };
    for (const field& f : {field{5, 98, 97, 150, 109}, field{0, 100, 162, 332, 182}}) {
        auto picture = [&](const char* typed) {
            std::strcpy(typed_text, typed), std::strcpy(text, typed);
            active_text_field = f.id;
            glClear(GL_COLOR_BUFFER_BIT);
            int current = 0;
            (void)(f.id == 0 ? BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 0, typed_text)
                             : BTN_text_field(100, 100, text, 8, 5, "Name"));
            std::vector<unsigned char> px = window_pixels(GL_BACK);
            for (int y = int(f.y1); y < int(f.y2); ++y)
                std::fill_n(px.begin() + (y * 1024 + int(f.x1)) * 4, (int(f.x2) - int(f.x1)) * 4, 0);
            return px;
        };
        const std::vector<unsigned char> empty = picture("");
        EXPECT_TRUE(picture(std::string(300, 'W').c_str()) == empty) << "field " << f.id;
        EXPECT_TRUE(f.id != 0 || std::strlen(typed_text) == APT_NAME_SIZE - 1u) << std::strlen(typed_text);
    }
    active_text_field = -1;
}

TEST_F(Widgets, SelectionListPopUpLaysOutItsItems)
{
    int selected = 5;
    const char* items = "one-two-three";
    EXPECT_EQ(BTN_text_list(400, 300, &selected, items, "Pick"), 0);
    EXPECT_EQ(selected, 2);   // clamped to the last item

    press(400, 305);
    BTN_text_list(400, 300, &selected, items, "Pick");
    EXPECT_EQ(popup_owner, BTN_text_list_key(400, 300));
    release();
    BTN_text_list(400, 300, &selected, items, "Pick");
    EXPECT_EQ(screen.open_menu, MENU_POPUP);
    // As wide as the widest item; the selected (last) item on the list's line.
    const float W = static_cast<float>(static_cast<int>(OGL_string_width("three")));
    const menu_record& m = menu_table[MENU_POPUP];
    EXPECT_EQ((std::array<float, 4>{m.left, m.right, m.bottom, m.top}),
              (std::array<float, 4>{400.0f - W / 2.0f - 3.0f, 400.0f + W / 2.0f + 5.0f, 296.0f, 334.0f}));
    EXPECT_EQ(std::string(m.items[0].text) + "," + m.items[2].text + "," + m.items[3].text, "one,three,");
    EXPECT_EQ((std::array<float, 3>{m.items[0].bottom, m.items[2].bottom, m.items[2].top}),
              (std::array<float, 3>{324, 300, 312}));

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
    BTN_scroll_bar(500, 100, 300, 3, 3, &pos);   // a single position: nothing to scroll
    EXPECT_EQ(pos, 3);
    // The up arrow steps back to the first position and no further; dragged,
    // the top of the drag span is the first position and its bottom the last.
    for (auto [pressed, y, before, after] :
         {std::tuple{true, 310.0f, 3, 2}, {true, 310.0f, 0, 0}, {true, 90.0f, 3, 4}, {true, 90.0f, 20, 20},
          {false, 289.0f, 0, 0}, {false, 111.0f, 0, 20}}) {
        pos = before;
        pressed ? press(500, y) : drag(500, y);
        const int dragged = BTN_scroll_bar(500, 100, 300, 0, 20, &pos);
        EXPECT_EQ(pos, after) << y;
        EXPECT_TRUE(pressed || dragged == 1) << y;
    }

    // The thumb runs from 10 below the top (first position) to 9 above the
    // bottom (last), linearly; a single position puts it in the middle.
    release();
    for (auto [first, last, at, centre] :
         {std::tuple{0, 20, 0, 290.0f}, {0, 20, 20, 109.0f}, {0, 20, 10, 199.5f}, {3, 3, 3, 200.0f}}) {
        pos = at;
        float found = -1.0f;
        for (const fb_rect& q : capture_rects([&] { BTN_scroll_bar(500, 100, 300, first, last, &pos); }))
            if (q.ty1 == 239.0f && q.ty2 == 265.0f) found = (q.y1 + q.y2) / 2.0f;
        EXPECT_FLOAT_EQ(found, centre) << at;
    }

    // The browser's listing: a click on a row moves the current index.
    std::strcpy(file_list_names[2], "gamma");
    int current = 0;
    press(100, 300 - 20 + 5);   // the row two below the current one
    EXPECT_EQ(BTN_big_name_list(NAME_LIST_FILES, 100, 300, &current, 0, 2, typed_text), 1);
    EXPECT_EQ(current, 2);
    // A click 8 above the current row's line lies in the band of the row above.
    current = 5;
    press(100, 300 + 8);
    BTN_big_name_list(NAME_LIST_FILES, 100, 300, &current, 0, 9, typed_text);
    EXPECT_EQ(current, 4);
    EXPECT_EQ(expect_fatal([&] { BTN_big_name_list(990, 100, 300, &current, 0, 2, typed_text); }).lines[0],
              "Bad BTN_big_name_list type!");

    // Each listed kind's icon beside its row: folders, aircraft, airfoils, tiles,
    // weapons, situations, movies, plans and objects; a log has none.
    const int kinds[10] = {1, 4, 2, 17, 3, 6, 7, 9, 5, 8};
    const float icon_x[10] = {34, 48, 62, 76, 90, 104, 118, 132, 146, -1};
    for (int i = 0; i < 10; ++i) {
        std::snprintf(file_list_names[i], sizeof file_list_names[i], "entry%d", i);
        file_list_kinds[i] = kinds[i];
    }
    mouse.mouse_down = mouse.mouse_held = 0;
    current = 0;
    const auto rects = capture_rects([&] { BTN_big_name_list(NAME_LIST_FILES, 100, 300, &current, 0, 9, typed_text); });
    for (int i = 0; i < 10; ++i) {
        float found = -1.0f;
        for (const fb_rect& q : rects)
            if (q.ty1 == 57.0f && q.ty2 == 69.0f && q.x1 == 104.0f && (q.y1 + q.y2) / 2.0f == 300.0f - 10.0f * i)
                found = q.tx1;
        EXPECT_EQ(found, icon_x[i]) << "kind " << kinds[i];
    }
}

TEST_F(Widgets, FramesStripsAndCloseBoxes)
{
    EXPECT_EQ(expect_fatal([] { BTN_frame1(6, 100, 100, 50); }).lines[0], "Bad BTN_frame1 call!");
    EXPECT_EQ(expect_fatal([] { BTN_frame0(5, 100, 100, 50); }).lines[0], "Bad BTN_frame0 call!");
    EXPECT_EQ(expect_fatal([] { BTN_frame2(18, 10, 10, 100, 100, ""); }).lines[0], "Bad BTN_frame2 call!");
    expect_fatal([] { BTN_frame2(12, 10, 10, 100, 101, ""); });   // an odd height

    // A plain strip 101 wide (rounded to 102): pieces run edge to edge, cut from the strip's art.
    const auto r = sorted_by_x(capture_rects([] { BTN_frame1(0, 300, 200, 101); }));
    ASSERT_GE(r.size(), 3u);
    EXPECT_EQ(std::make_pair(r.front().x1, r.back().x2), std::make_pair(249.0f, 351.0f));
    for (size_t i = 0; i < r.size(); ++i) {
        EXPECT_TRUE(i == 0 || r[i].x1 == r[i - 1].x2) << i;
        EXPECT_TRUE(r[i].tx1 >= 1.0f - 1e-3f && r[i].tx2 <= 101.0f + 1e-3f) << r[i].tx1 << " " << r[i].tx2;
        EXPECT_FLOAT_EQ(r[i].y1, 200.0f - 13.0f - 3.0f);
    }
    // A track 51 high (rounded to 52, and 8 more): x 90..110, y 170..230, art x 102..122.
    {
        float lo_y = 1e9f, hi_y = -1e9f;
        for (const fb_rect& q : capture_rects([] { BTN_frame0(6, 100, 200, 51); })) {
            EXPECT_EQ(std::make_pair(q.x1, q.x2), std::make_pair(90.0f, 110.0f));
            EXPECT_EQ(std::make_pair(q.tx1, q.tx2), std::make_pair(102.0f, 122.0f));
            lo_y = std::min(lo_y, q.y1), hi_y = std::max(hi_y, q.y2);
        }
        EXPECT_EQ(std::make_pair(lo_y, hi_y), std::make_pair(170.0f, 230.0f));
    }
    // A window frame: nine pieces and their repeats fill the frame box.
    double area = 0;
    for (const fb_rect& q : capture_rects([] { BTN_frame2(13, 100, 100, 300, 200, ""); }))
        area += double(q.x2 - q.x1) * (q.y2 - q.y1);
    EXPECT_NEAR(area, (300.0 + 18.0) * (200.0 + 18.0), 1e-3);
    // Each window style: its margins around the content box and its own art box.
    struct framed { int style; float left, bottom, right, top, art_x, art_y; };
    for (const framed& f : {framed{12, 91, 86, 409, 304, 102, 358}, framed{14, 91, 86, 409, 304, 304, 358},
                            framed{15, 91, 86, 409, 304, 405, 358}, framed{16, 98, 98, 402, 302, 1, 289},
                            framed{17, 92, 87, 408, 302, 70, 315}}) {
        float x1 = 1e9f, y1 = 1e9f, x2 = -1e9f, y2 = -1e9f, tx = 1e9f, ty = 1e9f;
        for (const fb_rect& q : capture_rects([&] { BTN_frame2(f.style, 100, 100, 300, 200, ""); })) {
            x1 = std::min(x1, q.x1), y1 = std::min(y1, q.y1), x2 = std::max(x2, q.x2), y2 = std::max(y2, q.y2);
            tx = std::min(tx, q.tx1), ty = std::min(ty, q.ty1);
        }
        EXPECT_EQ((std::array<float, 6>{x1, y1, x2, y2, tx, ty}),
                  (std::array<float, 6>{f.left, f.bottom, f.right, f.top, f.art_x, f.art_y}))
            << f.style;
    }

    // A placed window: negative sides reach 10 short of the right edge and
    // 28 (and the extra margin) short of the top; the far corner lies 10 beyond.
    screen.screen_area_width = 400.0f;
    screen.screen_area_height = 300.0f;
    float far_x = 0, far_y = 0;
    capture_rects([&] { BTN_place_frame(2.0f, 13, -1, -1, -1, -1, "", &far_x, &far_y); });
    EXPECT_EQ(std::make_pair(far_x, far_y), std::make_pair(400.0f, 280.0f));   // 10 + 380 + 10, 10 + 260 + 10

    // The digit strip: three boxes centred 10 apart about x, an arrow below
    // (centred 13 lower) and above (15 higher) each.
    std::vector<fb_rect> arrows;
    for (const fb_rect& q : capture_rects([] { BTN_util_draw_boxed_button(100, 100, 40, 0, 3); }))
        if (q.tx1 >= 83.0f - 1e-3f && q.tx2 <= 97.0f + 1e-3f && q.ty1 >= 178.0f - 1e-3f) arrows.push_back(q);
    ASSERT_EQ(arrows.size(), 6u);
    std::vector<std::array<float, 2>> centres;
    for (const fb_rect& q : arrows) centres.push_back({(q.x1 + q.x2) / 2, (q.y1 + q.y2) / 2});
    std::sort(centres.begin(), centres.end());
    EXPECT_EQ(centres, (std::vector<std::array<float, 2>>{{90, 87}, {90, 115}, {100, 87}, {100, 115}, {110, 87}, {110, 115}}));

    // Close boxes only on the settings screens (a small work area keeps the captures small).
    screen.screen_area_width = 240.0f;
    screen.screen_area_height = 180.0f;
    for (int mode : {5, 0, 996, 998, 999}) {
        app_mode = mode;
        const auto r = capture_rects([] { BTN_frame2(11, 0, 0, 240, 180, "Title"); });
        EXPECT_EQ(count_art(r, 120, 178, 138, 215), mode == 5 ? 2 : 0) << mode;
        if (mode != 5) continue;
        std::vector<std::array<float, 2>> boxes;   // centred 16 in from either side, 10 below the top
        for (const fb_rect& q : r)
            if (q.tx1 >= 120.0f - 1e-3f && q.tx2 <= 138.0f + 1e-3f && q.ty1 >= 178.0f - 1e-3f)
                boxes.push_back({(q.x1 + q.x2) / 2, (q.y1 + q.y2) / 2});
        std::sort(boxes.begin(), boxes.end());
        EXPECT_EQ(boxes, (std::vector<std::array<float, 2>>{{16, 170}, {224, 170}}));
    }

    // A window's title is centred on its content box, 16 below its top (13 for
    // the lit screen window), set 2 lower by the font: "AB" is 13 wide.
    for (auto [style, top_gap] : {std::pair{13, 16.0f}, {11, 13.0f}}) {
        float x = 0, y = 0;
        for (const fb_rect& q : capture_rects([&] { BTN_frame2(style, 100, 100, 300, 200, "AB"); }))
            if (q.tx1 == 65.0f && q.ty1 == 0.0f) x = q.x1, y = q.y1;   // the A's glyph
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(244.0f, 300.0f - top_gap - 2.0f)) << style;   // 243.5 rounded
    }
}

// Values that are not numbers, and text fields at the edges of their capacity.
TEST_F(Widgets, ValueWidgetsTakeValuesThatAreNotNumbers)
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

// List positions at the ends of the int range neither overflow nor leave the list.
TEST_F(Widgets, ScrollBarAndNameListAtTheEndsOfTheIntRange)
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

TEST_F(Widgets, SelectionListAtTheOriginOwnsNoPopUp)
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

// The airport list's name search stops at the first name at or after the
// typed text, whatever the case, and at the last index past every name; the
// id search keeps four letters in upper case.
TEST_F(Widgets, NameListSearchesAndTheFlyingTextFieldBackground)
{
    const std::vector<airport_record> kept = airport_table;
    airport_table.assign(4, airport_record{});
    const char* names[4] = {"Alder", "Birch", "Cedar", "Elm"};
    for (int i = 0; i < 4; ++i) std::strcpy(airport_table[static_cast<size_t>(i)].name, names[i]);
    release();
    char search[TEXT_SIZE];
    for (auto [text, want] : {std::pair{"birch", 1}, {"BIRCH", 1}, {"Bz", 2}, {"d", 3}, {"zzz", 3}, {"a", 0}}) {
        active_text_field = 0;
        key_pressed = 1;
        std::strcpy(search, text);
        int current = 2;
        capture_rects([&] { BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 3, search); });
        EXPECT_EQ(current, want) << text;
    }
    // The id search selects the airport of that id; an id no airport has, or
    // none, leaves the selection where it was.
    const char* ids[4] = {"KALD", "KBIR", "KCED", "KELM"};
    for (size_t i = 0; i < 4; ++i) {
        std::strcpy(airport_table[i].id, ids[i]);
        airport_table[i].runways.assign(1, runway_record{});
    }
    for (auto [text, want] : {std::pair{"kced", 2}, {"KZZZ", 1}, {"", 1}}) {
        active_text_field = 1;
        key_pressed = 1;
        std::strcpy(search, text);
        int current = 1;
        capture_rects([&] { BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 3, search); });
        EXPECT_EQ(current, want) << text;
    }
    active_text_field = 1;
    key_pressed = 0;
    std::strcpy(search, "kbfiab");
    int current = 0;
    capture_rects([&] { BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 3, search); });
    EXPECT_STREQ(search, "KBFI");
    airport_table = kept;
    active_text_field = -1;

    // Flying, a text field of 8 sits on a half-dark box 2 wider than its 48
    // units and from 3 below to 8 above its line; on the screens it has none.
    char text[TEXT_SIZE] = "";
    for (int mode : {0, 1}) {
        app_mode = mode;
        int boxes = 0;
        for (const fb_rect& q : capture_rects([&] { BTN_text_field(100, 200, text, 8, 5, "T"); }))
            if (q.x1 == 98.0f && q.y1 == 197.0f && q.x2 == 150.0f && q.y2 == 208.0f && q.a == 0.5f) ++boxes;
        EXPECT_EQ(boxes, mode == 0 ? 1 : 0) << "mode " << mode;
    }
}

// Where the list widgets draw and take clicks: the name list's two search
// boxes (name search left of x + 232, id search from x + 240) and the current
// row's outline, 258 by 10 from x + 18 around the row's line; a selection
// list opens from 2 below its line, shows its value centred on x and sits in
// a box W + 28 wide centred 10 right of x; a text field's caret stands one
// unit after its text, from 1 below to 6 above its line.
TEST_F(Widgets, ListAndFieldPlacement)
{
    const std::vector<airport_record> kept = airport_table;
    airport_table.assign(2, airport_record{});
    char search[TEXT_SIZE] = "kept";
    int current = 0;
    for (auto [px, field] : {std::pair{350.0f, 1}, {200.0f, 0}}) {
        std::strcpy(search, "kept");
        press(px, 300 - 128);
        EXPECT_EQ(BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 1, search), 1) << px;
        EXPECT_EQ(active_text_field, field) << px;
        EXPECT_STREQ(search, "");
    }
    airport_table = kept;
    active_text_field = -1;
    release();

    auto has_vertex = [](const std::vector<fb_prim>& prims, float x, float y) {
        for (const fb_prim& p : prims)
            for (const fb_vertex& v : p.v)
                if (std::fabs(v.x - x) < 1e-3f && std::fabs(v.y - y) < 1e-3f) return true;
        return false;
    };
    current = 5;
    const auto list = capture_feedback([&] { BTN_big_name_list(NAME_LIST_FILES, 100, 300, &current, 0, 9, typed_text); });
    EXPECT_TRUE(has_vertex(list, 118.5f, 295.5f));
    EXPECT_TRUE(has_vertex(list, 376.5f, 305.5f));
    // The airport list too keeps its current row on the middle line, also at its start.
    airport_table.assign(2, airport_record{});
    current = 0;
    const auto airports =
        capture_feedback([&] { BTN_big_name_list(NAME_LIST_AIRPORTS, 100, 300, &current, 0, 1, search); });
    EXPECT_TRUE(has_vertex(airports, 118.5f, 295.5f));
    airport_table = kept;

    char text[TEXT_SIZE] = "abc";
    press(102, 104);
    BTN_text_field(100, 100, text, 8, 5, "Name");
    release();
    const float caret = 101.0f + static_cast<float>(OGL_string_width("abc")) + 0.5f;
    const auto field = capture_feedback([&] { BTN_text_field(100, 100, text, 8, 5, "Name"); });
    EXPECT_TRUE(has_vertex(field, caret, 106.5f));
    EXPECT_TRUE(has_vertex(field, caret, 99.5f));
    active_text_field = -1;

    int selected = 1;
    for (auto [py, opens] : {std::pair{297.0f, false}, {299.0f, true}}) {
        popup_owner = 0;
        press(400, py);
        BTN_text_list(400, 300, &selected, "one-two-three", "Pick");
        EXPECT_EQ(popup_owner == BTN_text_list_key(400, 300), opens) << py;
    }
    popup_owner = 0;
    release();
    auto leftmost = [](const std::vector<fb_rect>& rects) {
        float l = 1e9f;
        for (const fb_rect& q : rects)
            if (glyph_of(101, q) != 0) l = std::min(l, q.x1);
        return l;
    };
    const float w = static_cast<float>(OGL_string_width("two"));
    const auto shown = capture_rects([&] { BTN_text_list(400, 300, &selected, "one-two-three", ""); });
    EXPECT_FLOAT_EQ(leftmost(shown),
                    leftmost(capture_rects([&] { OGL_draw_string(40, 400 - w / 2, 300, "two", FONT_NO_WRAP, 101); })));
    const float W = static_cast<float>(static_cast<int>(OGL_string_width("three")));
    for (const fb_rect& b : capture_rects([&] { BTN_frame1(10, 410, 305, W + 28, 49); })) {
        bool found = false;
        for (const fb_rect& q : shown)
            found = found || (q.x1 == b.x1 && q.x2 == b.x2 && q.y1 == b.y1 && q.y2 == b.y2 && q.tx1 == b.tx1);
        EXPECT_TRUE(found) << b.x1 << "," << b.y1;
    }
}

// The art and hit boxes of the value widgets: the large check box (texel
// centre 148, 187; tick at 206) and the small one (92, 132; tick 151); a push
// button takes clicks 10 units above and below its line; an editable slider's
// knob (texels 262..282 x 267..289) stands on the value and its gauge is
// drawn 10 units wider and 5 further left; an odd gauge length is made even upward; a digit
// field with a negative minimum keeps a sign cell; the file field's icon
// (texels 208..234 x 133..159) stands left of a 300-unit name bar.
TEST_F(Widgets, ValueWidgetArtAndHitBoxes)
{
    release();
    for (auto [small, cx, cy, ty] : {std::tuple{0, 148.0f, 187.0f, 206.0f}, {1, 92.0f, 132.0f, 151.0f}}) {
        for (int ticked : {0, 1}) {
            int v = ticked;
            const auto r = capture_rects([&] { BTN_check_box(300, 100, &v, "", small); });
            EXPECT_EQ(count_art(r, cx - 9, cy - 9, cx + 9, cy + 9), 1) << small;
            EXPECT_EQ(count_art(r, cx - 9, ty - 9, cx + 9, ty + 9), ticked) << small;
        }
    }

    const float w = static_cast<float>(OGL_string_width("Go")) + 21.0f;
    for (auto [px, py, hit] : {std::tuple{500.0f, 391.0f, 1}, {500.0f, 411.0f, 0}, {500.0f + w / 2 - 1, 409.0f, 1},
                               {500.0f + w / 2 + 1, 400.0f, 0}}) {
        press(px, py);
        EXPECT_EQ(BTN_push_button(500, 400, 0, 0, "Go"), hit) << px << "," << py;
    }
    release();

    auto gauge_ends = [](const std::vector<fb_rect>& rects) {
        float l = 1e9f, r = -1e9f;
        for (const fb_rect& q : rects)
            if (count_art({q}, 289, 219, 305, 235)) l = std::min(l, q.x1), r = std::max(r, q.x2);
        return std::make_pair(l, r);
    };
    float v = 0.25f;
    const auto editable = capture_rects([&] { BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 1, "", ""); });
    int knobs = 0;
    for (const fb_rect& q : editable)
        if (q.tx1 == 262 && q.ty1 == 267 && q.tx2 == 282 && q.ty2 == 289 && q.x1 == 129 && q.x2 == 149 && q.y1 == 291 &&
            q.y2 == 313)
            ++knobs;
    EXPECT_EQ(knobs, 1);
    // 39 long, made 40: a strip 10 wider, centred 5 left of the gauge's middle.
    EXPECT_EQ(gauge_ends(editable), std::make_pair(90.0f, 140.0f));
    v = 77.5f / 156.0f;                                                 // 77.5 long: 78
    EXPECT_EQ(gauge_ends(capture_rects([&] { BTN_slider(100, 300, 0, 0.0f, 1.0f, &v, 0, "", ""); })),
              std::make_pair(101.0f, 179.0f));

    auto first_glyph = [](const std::vector<fb_rect>& rects) {
        float l = 1e9f;
        for (const fb_rect& q : rects)
            if (glyph_of(104, q) != 0) l = std::min(l, q.x1);
        return l;
    };
    for (auto [minimum, sign] : {std::pair{-10.0f, 1}, {0.0f, 0}}) {
        float d = 5.0f;
        const float drawn = first_glyph(capture_rects([&] { BTN_digit_field(100, 100, &d, 2, 0, minimum, 99, ""); }));
        const float want = first_glyph(capture_rects([&] { OGL_draw_string_fmt(46, 104, 100, 5.0f, 2, 0, sign, 104); }));
        EXPECT_EQ(drawn, want) << minimum;
    }

    char name[TEXT_SIZE] = "", path[TEXT_SIZE] = "";
    const auto file = capture_rects([&] { BTN_file_field(200, 100, name, path, 4, 0, "File"); });
    int icons = 0;
    for (const fb_rect& q : file)
        if (q.tx1 == 208 && q.ty1 == 133 && q.tx2 == 234 && q.ty2 == 159 && q.x1 == 170 && q.x2 == 196 && q.y1 == 90 &&
            q.y2 == 116)
            ++icons;
    EXPECT_EQ(icons, 1);
    const hook_override none(core_hooks.UI_open_file_browser, [](int, int, char*, char*) { return 0; });
    press(183, 103);   // the icon: the browser opens (here none chooses), and that is a 1
    EXPECT_EQ(BTN_file_field(200, 100, name, path, 4, 0, "File"), 1);
    release();
    for (const fb_rect& b : capture_rects([&] { BTN_frame1(9, 342, 103, 300); })) {
        bool found = false;
        for (const fb_rect& q : file) found = found || (q.x1 == b.x1 && q.x2 == b.x2 && q.y1 == b.y1 && q.tx1 == b.tx1);
        EXPECT_TRUE(found) << b.x1;
    }
}
