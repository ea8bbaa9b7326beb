// The autopilot panel and the EFIS layer buttons worked by scripted mouse
// records: engage buttons act through the key commands, selectors drag and
// settle on their grids, displays read back from the feedback mode; and the
// map's visibility test on its wedge.
#include "tests/panel/stack_fixture.h"

#include <cstring>

#include "core/hooks.h"
#include "panel/controls/controls.h"
#include "shell/keys.h"

namespace {

class AutopilotPanel : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel_at(300.0f, 200.0f);
        std::memcpy(saved_keys, key_assignment_table, sizeof saved_keys);
        std::memset(key_assignment_table, 0, sizeof key_assignment_table);
        key_assignment_table[KEY_SLOT_AP_LATERAL_NAV] = 'n';
        key_assignment_table[KEY_SLOT_AP_HEADING] = 'h';
        sim_cockpit_autopilot = sim_cockpit_autopilot_block{};
        sim_cockpit_autopilot.airspeed_mode = sim_cockpit_autopilot.heading_mode = 9;
        sim_cockpit_autopilot.altitude_mode = sim_cockpit_autopilot.hnav_mode = sim_cockpit_autopilot.vnav_mode = 9;
    }
    void TearDown() override
    {
        std::memcpy(key_assignment_table, saved_keys, sizeof saved_keys);
        PanelTest::TearDown();
    }
    static std::vector<fb_rect> press(int type, float dx, float dy, int held_long = 0)
    {
        mouse.mouse_x = 300.0f + dx, mouse.mouse_y = 200.0f + dy;
        mouse.mouse_down = mouse.mouse_held = 1, mouse.mouse_panel_drag = held_long;
        panel_ins_type = type, panel_ins_scale = 1.0f;
        return capture_rects([] { PANEL_autopilot(); });
    }
    static std::vector<fb_rect> released(int type)
    {
        mouse.mouse_down = mouse.mouse_held = mouse.mouse_panel_drag = 0;
        panel_ins_type = type, panel_ins_scale = 1.0f;
        return capture_rects([] { PANEL_autopilot(); });
    }
    uint8_t saved_keys[KEY_SLOTS];
};

TEST_F(AutopilotPanel, EngageButtonsActThroughTheKeysAndLightWithTheirModes)
{
    // Without power nothing happens at all.
    EXPECT_TRUE(press(245, 0, 0).empty());
    EXPECT_EQ(sim_cockpit_autopilot.heading_mode, 9);
    power();
    auto drawn = press(245, 0, 0);
    EXPECT_EQ(sim_cockpit_autopilot.heading_mode, 11);
    EXPECT_EQ(drawn.size(), 2u);   // the button and its light over it
    EXPECT_EQ(released(273).size(), 1u);   // the HDG lamp

    // HN: armed from off, and a click while captured turns it off.
    press(251, 0, 0);
    EXPECT_EQ(sim_cockpit_autopilot.hnav_mode, 18);
    sim_cockpit_autopilot.hnav_mode = 19;
    press(251, 0, 0);
    EXPECT_EQ(sim_cockpit_autopilot.hnav_mode, 9);
    // BC toggles its flag directly.
    press(263, 0, 0);
    EXPECT_EQ(sim_cockpit_autopilot.backcourse_on, 1);

    // The lamp test lights every button (in the captured look), not the lamps.
    autopilot_test_timeout = frame_clock + 0.2f;
    drawn = released(260);
    ASSERT_EQ(drawn.size(), 2u);
    const panel_sprite lit = PANEL_sprite(260, 2);
    EXPECT_NEAR((drawn[1].ty1 + drawn[1].ty2) * 0.5f, lit.cv, 0.01f);
    EXPECT_TRUE(released(278).empty());
    // The switch bank's test button keeps the deadline ahead while held.
    frame_clock += 1.0f;
    EXPECT_TRUE(released(260).empty());
    mouse.mouse_held = 1, mouse.mouse_x = 304.0f, mouse.mouse_y = 199.0f;
    panel_ins_type = 455;
    PANEL_switches(-1, 0);
    EXPECT_FLOAT_EQ(autopilot_test_timeout, frame_clock + 0.2f);
}

TEST_F(AutopilotPanel, SelectorsDragSettleAndShowOnTheirDisplays)
{
    power();
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    // VS held at its floor settles on the grid below it.
    ap.vertical_velocity = -9950.0f;
    press(285, -2.0f - 5.0f, -2.0f - 5.0f);
    EXPECT_FLOAT_EQ(ap.vertical_velocity, -9999.0f);
    released(285);
    EXPECT_FLOAT_EQ(ap.vertical_velocity, -10000.0f);
    // Heading below 0 wraps to 359; 360 stays 360.
    ap.heading_mag = 0.0f;
    press(291, 26.0f - 5.0f, -2.0f - 5.0f);
    EXPECT_FLOAT_EQ(ap.heading_mag, 359.0f);
    ap.heading_mag = 359.0f;
    press(283, -2.0f + 5.0f, -2.0f + 5.0f);
    EXPECT_FLOAT_EQ(ap.heading_mag, 360.0f);
    // Held long, the altitude runs at 2,000 ft/s and settles on hundreds.
    ap.altitude = 1000.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    press(284, 3.0f, 3.0f, 1);
    EXPECT_FLOAT_EQ(ap.altitude, 1040.0f);
    released(284);
    EXPECT_FLOAT_EQ(ap.altitude, 1000.0f);

    // Mach 0.78 on the drums reads 0, 7, 8.
    ap.airspeed_is_mach = 1;
    ap.airspeed = 0.78f;
    const auto drums = sorted_by_x(released(286));
    ASSERT_EQ(drums.size(), 3u);
    const int want[3] = {0, 7, 8};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(((drums[k].ty1 + drums[k].ty2) * 0.5f - DRUM_DIGIT_V0) / DRUM_DIGIT_PITCH, want[k], 1e-3f);
    // The knots selector is held within 0..999.
    ap.airspeed_is_mach = 0;
    ap.airspeed = 997.0f;
    press(282, 3.0f, 3.0f);
    EXPECT_FLOAT_EQ(ap.airspeed, 999.0f);
    // A selector limits only its own value: an altitude written above the
    // altitude selector's top stays while the speed is dragged.
    ap.altitude = 150000.0f;
    press(282, 3.0f, 3.0f);
    EXPECT_FLOAT_EQ(ap.altitude, 150000.0f);
}

TEST_F(AutopilotPanel, EachSelectorStepsRunsAndStopsAtItsOwnLimits)
{
    power();
    sim_operation_misc.frame_rate_period = 0.02f;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    enum { SPD, HDG, ALT, VVI };
    float* const value[4] = {&ap.airspeed, &ap.heading_mag, &ap.altitude, &ap.vertical_velocity};
    // Knob types 282..285 at (-2, -2); a held press runs at the rate for one 0.02 s frame.
    const struct { int which, mach; float start; int up, held; float pressed, settled; } rows[] = {
        {SPD, 1, 0.78f, 1, 0, 0.79f, 0.79f},       // Mach step 0.01
        {SPD, 1, 0.50f, 1, 1, 0.501f, 0.50f},      // 0.05 a second
        {SPD, 1, 9.99f, 1, 0, 9.99f, 9.99f},       // held at 9.99
        {SPD, 0, 250.0f, 0, 0, 245.0f, 245.0f},    // knots step 5
        {SPD, 0, 250.0f, 0, 1, 249.0f, 250.0f},    // 50 a second, back to the 5-knot grid
        {SPD, 0, 2.0f, 0, 0, 0.0f, 0.0f},          // never below 0
        {HDG, 0, 10.0f, 1, 1, 10.6f, 11.0f},       // 30 degrees a second
        {ALT, 0, 99900.0f, 1, 0, 99900.0f, 99900.0f},
        {ALT, 0, 50.0f, 0, 0, 0.0f, 0.0f},
        {VVI, 0, 500.0f, 1, 1, 520.0f, 500.0f},    // 1,000 ft/min a second
        {VVI, 0, 9900.0f, 1, 0, 9900.0f, 9900.0f},
    };
    for (const auto& r : rows) {
        ap.airspeed_is_mach = r.mach;
        *value[r.which] = r.start;
        const float d = r.up ? 5.0f : -5.0f;
        press(INS_OTT_SEL_SPD + r.which, -2.0f + d, -2.0f + d, r.held);
        EXPECT_NEAR(*value[r.which], r.pressed, 1e-3f) << r.which << " from " << r.start;
        released(INS_OTT_SEL_SPD + r.which);
        EXPECT_NEAR(*value[r.which], r.settled, 1e-3f) << r.which << " from " << r.start;
    }
}

TEST_F(AutopilotPanel, EachButtonAndLampFollowsItsOwnModeWord)
{
    power();
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const struct { int button, lamp; int32_t* word; int32_t on; } modes[] = {
        {242, 272, &ap.airspeed_mode, 10}, {245, 273, &ap.heading_mode, 11},  {399, 402, &ap.heading_mode, 12},
        {441, 444, &ap.altitude_mode, 13}, {257, 277, &ap.altitude_mode, 14}, {254, 276, &ap.altitude_mode, 15},
        {266, 280, &ap.altitude_mode, 16}, {269, 281, &ap.altitude_mode, 17}, {251, 275, &ap.hnav_mode, 19},
        {260, 278, &ap.vnav_mode, 21},     {263, 279, &ap.backcourse_on, 1},
    };
    for (const auto& engaged : modes) {
        ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 9;
        ap.backcourse_on = 0;
        *engaged.word = engaged.on;
        for (const auto& m : modes) {
            const bool lit = &m == &engaged;
            EXPECT_EQ(released(m.button + 1).size(), lit ? 2u : 0u) << m.button << " with word " << engaged.on;
            EXPECT_EQ(released(m.lamp).size(), lit ? 1u : 0u) << m.lamp << " with word " << engaged.on;
        }
    }
    // The digital displays: knots on four digits, Mach with two decimals,
    // heading on three, altitude on five, vertical speed on four with its sign.
    ap.airspeed = 250.0f, ap.heading_mag = 7.0f, ap.altitude = 12000.0f, ap.vertical_velocity = -700.0f;
    const struct { int type, mach; const char* reads; float x; } displays[] = {
        {290, 0, "0250", -14}, {290, 1, "2.50", -10}, {291, 0, "007", -8}, {292, 0, "12000", -20},
        {293, 0, "-0700", 0},   // x 0: its sign stands out left of the field, not checked
    };
    for (const auto& d : displays) {
        ap.airspeed_is_mach = d.mach;
        if (d.mach) ap.airspeed = 2.5f;
        panel_ins_type = d.type;
        EXPECT_EQ(drawn_texts(112, 200.0f, [] { PANEL_autopilot(); })[-3], d.reads) << d.type;
        float left = 1e9f;
        for (const fb_rect& r : released(d.type)) left = std::min(left, std::min(r.x1, r.x2));
        if (d.x != 0) { EXPECT_NEAR(left, 300.0f + d.x, 0.5f) << d.type; }
    }
    // An armed navigation mode lights its button in the armed colour, a
    // captured one in the engaged colour.
    ap.hnav_mode = 18;
    const auto armed = released(251);
    ap.hnav_mode = 19;
    const auto captured = released(251);
    ASSERT_EQ(armed.size(), 2u);
    ASSERT_EQ(captured.size(), 2u);
    EXPECT_NE(armed[1].r + 2 * armed[1].g + 4 * armed[1].b, captured[1].r + 2 * captured[1].g + 4 * captured[1].b);
    // Captured is the engaged look every other mode button shows (heading hold's).
    ap.heading_mode = 11;
    const auto heading = released(245);
    ASSERT_EQ(heading.size(), 2u);
    EXPECT_EQ(captured[1].r + 2 * captured[1].g + 4 * captured[1].b, heading[1].r + 2 * heading[1].g + 4 * heading[1].b);
}

TEST_F(PanelTest, EfisLayerButtonsAndTheMapWedge)
{
    // The layers all show at start; the buttons do nothing without avionics.
    EXPECT_EQ(sim_cockpit_switches.EFIS_shows_VORs, 1);
    screen.screen_area_left = 300.0f, screen.screen_area_bottom = 200.0f;   // every button inside the window
    mouse.mouse_down = mouse.mouse_held = 1;
    mouse.mouse_x = 300.0f + 29.0f, mouse.mouse_y = 200.0f - 2.0f;
    EXPECT_TRUE(in_slot(192, 1.0f, [] { PANEL_efis_switches(); }).empty());
    EXPECT_EQ(sim_cockpit_switches.EFIS_shows_VORs, 1);
    power();
    EXPECT_EQ(rects_of(in_slot(192, 1.0f, [] { PANEL_efis_switches(); })).size(), 5u);   // five still lit
    EXPECT_EQ(sim_cockpit_switches.EFIS_shows_VORs, 0);
    EXPECT_EQ(sim_cockpit_switches.EFIS_shows_NDBs, 1);
    // Each button flips its own layer at its own place.
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const struct { float x; int32_t* word; } buttons[] = {
        {-51, &sw.EFIS_shows_weather}, {-31, &sw.EFIS_shows_tcas}, {-11, &sw.EFIS_shows_airports},
        {9, &sw.EFIS_shows_waypoints}, {29, &sw.EFIS_shows_VORs},  {49, &sw.EFIS_shows_NDBs},
    };
    for (const auto& b : buttons) {
        const int32_t was = *b.word;
        mouse.mouse_x = 300.0f + b.x - 6.5f;
        in_slot(192, 1.0f, [] { PANEL_efis_switches(); });
        EXPECT_EQ(*b.word, was != 0 ? 0 : 1) << b.x;
    }
    // A press 7.5 to the side of a button (half size 7) misses it.
    const int32_t ndbs = sw.EFIS_shows_NDBs;
    mouse.mouse_x = 300.0f + 49.0f + 7.5f;
    in_slot(192, 1.0f, [] { PANEL_efis_switches(); });
    EXPECT_EQ(sw.EFIS_shows_NDBs, ndbs);

    // The map's wedge: an edge point is out, a corner beside the apex is in only on type 331.
    panel_ins_type = 185;
    EXPECT_FALSE(EFIS_map_visible(-100, -50, 100, 100, 30, -20));   // py - y0 = |px|
    EXPECT_TRUE(EFIS_map_visible(-100, -50, 100, 100, 30, -19));
    EXPECT_FALSE(EFIS_map_visible(-100, -50, 100, 100, -95, -45));
    EXPECT_FALSE(EFIS_map_visible(-100, -50, 100, 100, 0, 101));     // outside the rectangle
    EXPECT_FALSE(EFIS_map_visible(-100, -50, 100, 100, -30, -20));   // the left edge too
    EXPECT_TRUE(EFIS_map_visible(-100, -50, 100, 100, -30, -19));
    EXPECT_TRUE(EFIS_map_visible(-100, -50, 100, 100, 100, 100));    // the rectangle's own edges count
    EXPECT_TRUE(EFIS_map_visible(-100, -50, 100, 100, -100, 100));
    panel_ins_type = 331;
    EXPECT_TRUE(EFIS_map_visible(-100, -50, 100, 100, -95, -45));
    EXPECT_FALSE(EFIS_map_visible(-100, -50, 100, 100, 0, 101));
}

}  // namespace
