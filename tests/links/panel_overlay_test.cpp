// Needles and texts placed over the panel from outside: which entry a text
// takes, how long it shows, and where the needles are drawn.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/screen.h"
#include "graphics/ogl_state.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"
#include "tests/links/net_fixture.h"

namespace {

class PanelOverlay : public NetState {};

TEST_F(PanelOverlay, TextsShareAnEntryByPlaceAndShowForASecond)
{
    receive_record("TEXT", 0, net_text_record{100, 45, 100.0f, 50.3f, "first"});
    receive_record("TEXT", 0, net_text_record{100, 45, 100.5f, 50.0f, "third"});    // 0.5 apart: an entry of its own
    receive_record("TEXT", 0, net_text_record{100, 45, 100.2f, 50.0f, "second"});   // both differences below 0.5
    EXPECT_STREQ(net_text_table[0].text, "second");
    EXPECT_EQ(net_text_table[0].x, 100.2f);
    EXPECT_STREQ(net_text_table[1].text, "third");
    EXPECT_EQ(net_text_table[0].timeout, 11.0f);
    const std::string long_text(200, 'w');
    net_text_record r{100, 45, 300.0f, 300.0f, {}};
    std::memcpy(r.text, long_text.data(), sizeof r.text);   // no terminator
    receive_record("TEXT", 0, r);
    EXPECT_EQ(std::string(net_text_table[2].text), std::string(151, 'w'));

    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    auto drawn = [] { return capture_rects([] { NET_handle_TEXT(1); }).size(); };
    frame_clock = 10.9f;
    EXPECT_GE(drawn(), std::string("second").size() + std::string("third").size());
    frame_clock = 11.0f;
    EXPECT_EQ(drawn(), 0u);   // its second is over; the entry keeps its place
    EXPECT_EQ(net_text_table[0].font, 100);
}

TEST_F(PanelOverlay, TurningNeedlesAreTakenAboutTheirPlaceAgainFixedPicturesAreNot)
{
    receive_record("CUST", 0, net_cust_record{7, 1, 10.0f, 20.0f, 0.0f, 0.0f, 0.0f, 8.0f, 30.0f});
    receive_record("CUST", 0, net_cust_record{8, 2, 10.0f, 20.0f, 0.0f, 0.0f, 0.0f, 8.0f, 30.0f});
    receive_record("CUST", 0, net_cust_record{9, 3, 10.0f, 20.0f, 0.0f, 0.0f, 0.0f, 8.0f, 30.0f});   // stored, not drawn
    EXPECT_EQ(net_needle_table[9].kind, 3);
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    const std::vector<fb_rect> r = capture_rects([] { NET_handle_CUST(1); });
    ASSERT_EQ(r.size(), 2u);
    auto centre = [](const fb_rect& q) { return std::make_pair((q.x1 + q.x2) / 2.0f, (q.y1 + q.y2) / 2.0f); };
    EXPECT_EQ(centre(r[0]), std::make_pair(20.0f, 40.0f));
    EXPECT_EQ(centre(r[1]), std::make_pair(10.0f, 20.0f));
    EXPECT_NEAR(r[0].x2 - r[0].x1, 8.0f, 1e-3f);
    EXPECT_NEAR(r[0].y2 - r[0].y1, 30.0f, 1e-3f);

    receive_record("CUST", 0, net_cust_record{7, 0, 0, 0, 0, 0, 0, 0, 0});   // kind 0 takes the needle away
    EXPECT_EQ(capture_rects([] { NET_handle_CUST(1); }).size(), 1u);

    // Turned 90 degrees clockwise about (10, 20): the 8 x 30 quad taken about
    // (10, 20) again now lies across, from x 15 to 45 and y 6 to 14.
    receive_record("CUST", 0, net_cust_record{7, 1, 10.0f, 20.0f, 90.0f, 0.0f, 0.0f, 8.0f, 30.0f});
    const std::vector<fb_rect> turned = capture_rects([] { NET_handle_CUST(1); });
    ASSERT_EQ(turned.size(), 2u);
    EXPECT_NEAR(centre(turned[0]).first, 30.0f, 0.5f);
    EXPECT_NEAR(centre(turned[0]).second, 10.0f, 0.5f);
    EXPECT_NEAR(turned[0].x2 - turned[0].x1, 30.0f, 0.5f);
    EXPECT_NEAR(turned[0].y2 - turned[0].y1, 8.0f, 0.5f);

    // On a panel origin (5, 7) the turning needle is moved to origin + (x, y)
    // and its corners, taken about (x, y), are placed from the origin again:
    // centre (2*5 + 2*10, 2*7 + 2*20); the fixed picture at origin + (x, y).
    receive_record("CUST", 0, net_cust_record{7, 1, 10.0f, 20.0f, 0.0f, 0.0f, 0.0f, 8.0f, 30.0f});
    screen.screen_area_left = 5.0f;
    screen.screen_area_bottom = 7.0f;
    const std::vector<fb_rect> moved = capture_rects([] { NET_handle_CUST(1); });
    screen.screen_area_left = screen.screen_area_bottom = 0.0f;
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(centre(moved[0]), std::make_pair(30.0f, 54.0f));
    EXPECT_EQ(centre(moved[1]), std::make_pair(15.0f, 27.0f));
}


// Both kinds cut the same source rectangle out of the 512-texel needle
// texture (texels 16..24 by 32..62); a turning needle is drawn in colour row 0,
// a fixed picture in row 49.
TEST_F(PanelOverlay, NeedlesCutTheirTexelsAndTakeTheirKindsColour)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    float kept[2][3];
    std::copy(colour_table[0], colour_table[0] + 3, kept[0]);
    std::copy(colour_table[49], colour_table[49] + 3, kept[1]);
    OGL_set_color(0, 1.0f, 0.0f, 0.0f);
    OGL_set_color(49, 0.0f, 1.0f, 0.0f);
    receive_record("CUST", 0, net_cust_record{3, 1, 100.0f, 100.0f, 0.0f, 16.0f, 32.0f, 24.0f, 62.0f});
    receive_record("CUST", 0, net_cust_record{4, 2, 300.0f, 100.0f, 0.0f, 16.0f, 32.0f, 24.0f, 62.0f});
    const std::vector<fb_rect> r = capture_rects([] { NET_handle_CUST(1); });
    OGL_set_color(0, kept[0][0], kept[0][1], kept[0][2]);
    OGL_set_color(49, kept[1][0], kept[1][1], kept[1][2]);
    ASSERT_EQ(r.size(), 2u);
    for (const fb_rect& q : r) {
        EXPECT_NEAR(q.tx1, 16.0f, 0.01f);
        EXPECT_NEAR(q.tx2, 24.0f, 0.01f);
        EXPECT_NEAR(q.ty1, 32.0f, 0.01f);
        EXPECT_NEAR(q.ty2, 62.0f, 0.01f);
    }
    EXPECT_GT(r[0].r, 0.5f);
    EXPECT_LT(r[0].g, 0.5f);
    EXPECT_LT(r[1].r, 0.5f);
    EXPECT_GT(r[1].g, 0.5f);

    // Each corner takes its own texel corner: left s0, right s1, low t0, high t1.
    receive_record("CUST", 0, net_cust_record{3, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    int corners = 0;
    for (const fb_prim& p : capture_feedback([] { NET_handle_CUST(1); })) {
        float cx = 0.0f, cy = 0.0f;
        for (const fb_vertex& v : p.v) cx += v.x / p.v.size(), cy += v.y / p.v.size();
        for (const fb_vertex& v : p.v) {
            EXPECT_NEAR(v.s * 512.0f, v.x < cx ? 16.0f : 24.0f, 0.01f);
            EXPECT_NEAR(v.t * 512.0f, v.y < cy ? 32.0f : 62.0f, 0.01f);
            ++corners;
        }
    }
    EXPECT_GE(corners, 4);
}
}  // namespace
