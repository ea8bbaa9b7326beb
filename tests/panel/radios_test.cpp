// The audio panel, the radio heads, the DME heads and the transponders,
// worked by clicks through the panel pass and read back from what it drew.
#include "tests/panel/stack_fixture.h"

#include <algorithm>

#include "core/random.h"
#include "panel/panel_art.h"

namespace {

using Radios = StackTest;

TEST_F(Radios, AudioPanelSelectsAndTogglesTheMarkerAndLightsItsLamps)
{
    only(211);
    click(64, 6);   // DME
    EXPECT_EQ(sim_cockpit_switches.audio_panel_out, 5);
    click(10, -6);  // NAV 2
    EXPECT_EQ(sim_cockpit_switches.audio_panel_out, 1);
    click(64, -6);
    EXPECT_EQ(sim_cockpit_switches.marker_panel_out, 1);
    EXPECT_EQ(capture_rects(PANEL_update).size(), 2u);   // NAV 2 and marker lamps
    click(64, -6);
    EXPECT_EQ(sim_cockpit_switches.marker_panel_out, 0);
    only(212);
    click(-78, 2);
    EXPECT_EQ(sim_cockpit_switches.audio_panel_out, 10);
    // Every selector button of both faces sets its radio.
    const struct { int type; float x, y; int32_t sets; } buttons[] = {
        {211, -17, 6, 10}, {211, -17, -6, 11}, {211, 10, 6, 0}, {211, 37, 6, 2}, {211, 37, -6, 3},
        {212, -56, 2, 11}, {212, -34, 2, 0}, {212, -12, 2, 1}, {212, 10, 2, 2}, {212, 32, 2, 3}, {212, 54, 2, 5},
    };
    for (const auto& b : buttons) {
        only(b.type);
        sim_cockpit_switches.audio_panel_out = -1;
        click(b.x, b.y);
        EXPECT_EQ(sim_cockpit_switches.audio_panel_out, b.sets) << b.type << " " << b.x;
    }
    only(212);
    click(-78, 2);
    flt[0].ENGN_bat_volt[0] = 0.0f;   // no power: no reaction, no lamps
    click(54, 2);
    EXPECT_EQ(sim_cockpit_switches.audio_panel_out, 10);
    EXPECT_TRUE(capture_rects(PANEL_update).empty());
}

TEST_F(Radios, BcAdfRingWalksTheDigitMarkerAndTheKnobTunesTheStandby)
{
    only(228);   // ADF 1, BC
    sim_cockpit_radios.adf1_freq_hz = 350;
    sim_cockpit_radios.adf1_stdby_freq_hz = 275;
    const int expected[] = {2, 3, 1};
    for (int d : expected) {
        click(16 + 10, -21);   // outer ring, right of the knob
        EXPECT_EQ(radio_heads.bc_adf_digit, d);
    }
    click(16 + 3, -21 + 3);    // inner knob, up: the first digit of the standby
    EXPECT_EQ(sim_cockpit_radios.adf1_stdby_freq_hz, 375);
    EXPECT_EQ(sim_cockpit_radios.adf1_freq_hz, 350);
    const auto t = texts(113);
    EXPECT_EQ(t.at(23), "350");
    EXPECT_EQ(t.at(13), "375");
    EXPECT_EQ(t.at(10), "_");
    click(25, 18);             // swap
    EXPECT_EQ(sim_cockpit_radios.adf1_freq_hz, 375);
    EXPECT_EQ(sim_cockpit_radios.adf1_stdby_freq_hz, 350);

    // The GA ADF head steps the active frequency's hundreds, tens and units
    // with its three spots (half size 8), up above-right and down below-left,
    // each pressed just inside its outer corner.
    only(227);
    const struct { float dx, dy; int32_t then; } digits[] = {
        {-18 + 7.5f, -10 + 7, 475}, {0 - 7.5f, -10 - 7, 465}, {18 + 7.5f, -10 + 7, 466}, {-18 - 7.5f, -10 - 7, 366},
    };
    for (const auto& d : digits) {
        click(d.dx, d.dy);
        EXPECT_EQ(sim_cockpit_radios.adf1_freq_hz, d.then) << d.dx;
    }
    // The small combined head's six radio spots: columns -37, -14, 9 by rows 0, -10.
    only(474);
    const struct { float x, y; int radio; } spots[] = {
        {-37, 0, 0}, {-37, -10, 1}, {-14, 0, 2}, {-14, -10, 3}, {9, 0, 4}, {9, -10, 5},
    };
    for (const auto& p : spots) {
        click(p.x, p.y);
        EXPECT_EQ(radio_heads.combined_radio, p.radio) << p.x << " " << p.y;
    }
}

TEST_F(Radios, SwapsExchangeOnlyTheSelectedRadio)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_freq_hz = 11030, r.nav1_stdby_freq_hz = 11350;
    r.nav2_freq_hz = 10800, r.nav2_stdby_freq_hz = 10900;
    r.com1_freq_hz = 11800, r.com1_stdby_freq_hz = 12000;
    r.com2_freq_hz = 12150, r.com2_stdby_freq_hz = 13500;
    const sim_cockpit_radios_block before = r;
    only(231);
    click(-18, -27);          // COM 2
    EXPECT_EQ(radio_heads.combined_radio, 3);
    // Its lamp shows on the spot and its second lamp nine units higher.
    const auto lamps = capture_rects(PANEL_update);
    for (float dy : {-27.0f, -18.0f})
        EXPECT_TRUE(std::any_of(lamps.begin(), lamps.end(), [dy](const fb_rect& q) {
            return std::fabs((q.x1 + q.x2) * 0.5f - (X - 18.0f)) < 0.5f && std::fabs((q.y1 + q.y2) * 0.5f - (Y + dy)) < 0.5f;
        })) << dy;
    click(0, 18);
    EXPECT_EQ(r.com2_freq_hz, 13500);
    EXPECT_EQ(r.com2_stdby_freq_hz, 12150);
    r.com2_freq_hz = before.com2_freq_hz, r.com2_stdby_freq_hz = before.com2_stdby_freq_hz;
    EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0);
    // The combined head shows the selected radio; its knob tunes the standby.
    click(54 + 10, -18);      // outer ring: one MHz up
    EXPECT_EQ(r.com2_stdby_freq_hz, 13600);
    const auto t = texts(114);
    EXPECT_NE(t.at(15).find("121.50"), std::string::npos);
    EXPECT_NE(t.at(15).find("136.00"), std::string::npos);

    // The BC NAV/COM head: the NAV swap spot sits at its knob plus (9, 42).
    only(224);
    click(15 + 41 + 9, -22 + 42);
    EXPECT_EQ(r.nav1_freq_hz, 11350);
    EXPECT_EQ(r.nav1_stdby_freq_hz, 11030);
    EXPECT_EQ(r.com1_freq_hz, 11800);
    // Its COM knob sits 39 left of the single head's: a press 6 right and 6.5
    // below that centre lies below-left of the ring's diagonal, a step down.
    click(15 - 39 + 6, -22 - 6.5f);
    EXPECT_EQ(r.com1_stdby_freq_hz, 11900);
    // The GA NAV head tunes its active frequency directly; without avionics nothing.
    only(215);
    click(10 + 10, -15);
    EXPECT_EQ(r.nav1_freq_hz, 11450);
    EXPECT_TRUE(shows(112, "114.50"));
    sim_cockpit_electrical.avionics_on = 0;
    click(10 + 10, -15);
    EXPECT_EQ(r.nav1_freq_hz, 11450);
    EXPECT_TRUE(capture_rects(PANEL_update).empty());
}

TEST_F(Radios, DmeFieldsDashesAndReceivers)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_has_dme[1] = 1;
    r.nav1_dme_dist_m[1] = 1234.5f;
    r.nav1_dme_speed_kts[1] = 143.7f;
    r.nav1_dme_time_secs[1] = 12.9f;
    only(237);
    click(66, -1);            // NAV 2
    EXPECT_EQ(sim_cockpit_switches.DME_distance_or_time, 1);
    auto t = texts(112);
    EXPECT_EQ(t.at(-1), "999.9143012");
    // The page knob's sprite stands at 12 x value + 54: at x 66 for NAV 2.
    const panel_sprite knob = PANEL_sprite(237, 0);
    bool knob_at_66 = false;
    for (const fb_rect& q : capture_rects(PANEL_update))
        knob_at_66 = knob_at_66 || (std::fabs((q.tx1 + q.tx2) * 0.5f - knob.cu) < 0.01f &&
                                    std::fabs((q.x1 + q.x2) * 0.5f - (X + 66.0f)) < 0.01f);
    EXPECT_TRUE(knob_at_66);
    click(54, -1);            // NAV 1 has no station
    EXPECT_EQ(texts(112).at(-1), "-----------");
    // The switch is the receiver index, whatever its value (a plug-in may set
    // 4, the GPS); speed and time are whole numbers, not held to 3 digits.
    // One outside the six receivers shows dashes.
    sim_cockpit_switches.DME_distance_or_time = 4;
    r.nav1_has_dme[4] = 1, r.nav1_dme_dist_m[4] = 2.0f, r.nav1_dme_speed_kts[4] = 1200.5f, r.nav1_dme_time_secs[4] = 1234.9f;
    EXPECT_EQ(texts(112).at(-1), "002.012001234");
    sim_cockpit_switches.DME_distance_or_time = -7;
    EXPECT_EQ(texts(112).at(-1), "-----------");
    // The standalone DME: the frequency knob and the page switch.
    only(235);
    r.dme_freq_hz = 10800;
    click(30, -1);
    click(63 + 10, -8);
    EXPECT_EQ(r.dme_freq_hz, 10900);
    t = texts(112);
    EXPECT_EQ(t.at(-1), "109.00-----");
    EXPECT_EQ(DME_texts(99).dist, std::string("-----"));
}

TEST_F(Radios, DmeFieldsStandWhereEachHeadAndPageLaysThemOut)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.dme_freq_hz = 10800;
    r.nav1_has_dme[0] = 1, r.nav1_dme_dist_m[0] = 12.3f, r.nav1_dme_speed_kts[0] = 143.7f, r.nav1_dme_time_secs[0] = 12.9f;
    r.nav1_has_dme[5] = 1, r.nav1_dme_dist_m[5] = 5.5f, r.nav1_dme_speed_kts[5] = 90.0f, r.nav1_dme_time_secs[5] = 4.0f;
    sim_cockpit_switches.DME_distance_or_time = 0;   // NAV 1 on the heads that read the NAV radios
    using rows = std::map<float, std::string>;
    const struct { int type, page, font; rows want; } heads[] = {
        {235, 1, 112, {{-1, "108.00005.5"}}},
        {235, 2, 112, {{-1, "090004"}}},
        {235, 0, 112, {}},
        {236, 1, 113, {{10, "005.5"}, {20, "108.00"}}},
        {236, 2, 113, {{10, "004"}, {20, "090"}}},
        {237, 0, 112, {{-1, "012.3143012"}}},
        {238, 0, 113, {{10, "143012"}, {20, "012.3"}}},
        {454, 0, 112, {{-8, "012.3"}, {2, "143012"}}},
        {454, 2, 112, {{-8, "012.3"}, {2, "143012"}}},
        {454, 1, 112, {{-8, "012.3"}, {2, "108.00012"}}},
        {454, 5, 112, {}},
    };
    for (const auto& h : heads) {
        only(h.type);
        sim_cockpit_switches.DME_radio_selector = h.page;
        EXPECT_EQ(texts(h.font), h.want) << h.type << " page " << h.page;
    }
    // The one-row NAV head starts its distance, speed and time fields at x -76, -30 and 0.
    only(237);
    const auto drawn = capture_rects(PANEL_update);
    for (float x : {-76.0f, -30.0f, 0.0f})
        EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [x](const fb_rect& q) { return std::fabs(q.x1 - (X + x)) < 0.5f; }))
            << x;
}

TEST_F(Radios, TransponderKeypadKnobIdentAndLamp)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.transponder_mode = 1;
    r.transponder_code = 4444;
    only(241);
    const float cols[3] = {-30, -16, -2}, rows[3] = {11, -4, -19};
    auto key = [&](int k) { click(cols[k % 3], rows[k / 3]); };
    for (int k : {0, 1, 7, 7, 8, 6}) key(k);   // 1 2 0 0 clear 7
    EXPECT_EQ(r.transponder_code, 7200);
    EXPECT_EQ(texts(114).at(8), "7200");
    // The small keypad: columns -41, -27, -13, rows 10, 0, -10, keys of half size 5
    // (pressed 4 left of their centres): clear, 3, 6 write the first two digits.
    only(475);
    for (const auto& [x, y] : {std::pair{-13.0f, -10.0f}, std::pair{-13.0f, 10.0f}, std::pair{-13.0f, 0.0f}}) click(x - 4.0f, y);
    EXPECT_EQ(r.transponder_code, 3600);
    r.transponder_code = 7200;

    // The BC head's knob walks its cursor and wraps from the fourth digit.
    only(240);
    for (int i = 0; i < 3; ++i) click(16 + 10, -21);
    EXPECT_EQ(transponder.xpdr_digit_cursor, 3);
    click(16 + 10, -21);
    EXPECT_EQ(transponder.xpdr_digit_cursor, 0);
    click(16 + 3, -21 + 3);
    EXPECT_EQ(r.transponder_code, 200);

    // Ident in mode 2 lights the lamp for about 4.8 s; in mode 1 never.
    only(239);
    UTIL_srand(1);
    sim_operation_misc.frame_rate_period = 0.0f;   // no random replies
    r.transponder_mode = 2;
    sim_time.total_running_time_sec = 50.0f;
    PANEL_transponder(1);
    EXPECT_EQ(r.transponder_id, 1);
    PANEL_update();
    EXPECT_EQ(r.transponder_light, 1);   // lit at once
    float lit = 0.0f;
    for (float t = 50.0f; t < 60.0f; t += 0.05f) {
        sim_time.total_running_time_sec = t;
        PANEL_update();
        lit += r.transponder_light ? 0.05f : 0.0f;
    }
    EXPECT_NEAR(lit, 4.8f, 0.15f);
    EXPECT_EQ(r.transponder_id, 0);
    r.transponder_mode = 1;
    sim_time.total_running_time_sec = 70.0f;
    PANEL_transponder(1);
    EXPECT_EQ(r.transponder_id, 1);
    PANEL_update();
    EXPECT_EQ(r.transponder_light, 0);
    EXPECT_EQ(r.transponder_id, 0);
    // Mode 3 holds it lit; the drag spot (half size 10 at (62, -2)) turns the mode knob.
    click(62 + 9.5f, -2 + 9);
    EXPECT_EQ(r.transponder_mode, 2);
    r.transponder_mode = 3;
    PANEL_update();
    EXPECT_EQ(r.transponder_light, 1);
}

TEST_F(Radios, TransponderDigitSpotsAndRandomReplies)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.transponder_mode = 2;
    r.transponder_code = 1237;
    only(239);
    // Upper-right half of a digit's spot steps it up, lower-left down, within 0..7.
    click(32 + 5, -11 + 5);
    EXPECT_EQ(r.transponder_code, 1230);
    click(-37 - 5, -11 - 5);
    EXPECT_EQ(r.transponder_code, 230);
    click(-14 + 5, -11 + 5);
    EXPECT_EQ(r.transponder_code, 330);
    EXPECT_EQ(texts(112).at(5), "0330");

    // Replies: past the last pulse's middle a draw below the frame period
    // starts a pulse of half a draw's fraction in seconds, lit that long on
    // each side of its middle. The generator's first draws are 16838, 5758
    // and 10113: 0.514 is no pulse at a period of 0.3, 0.176 is one, of
    // 10113 x 0.5 / 32767 = 0.1543 s about 100.05 + 0.1543.
    UTIL_srand(1);
    const struct { float t, period; int lit; } frames[] = {
        {100.0f, 0.3f, 0}, {100.05f, 0.3f, -1}, {100.1f, 0.0f, 1}, {100.3f, 0.0f, 1}, {100.4f, 0.0f, 0},
    };
    for (const auto& f : frames) {
        sim_time.total_running_time_sec = f.t;
        sim_operation_misc.frame_rate_period = f.period;
        PANEL_update();
        if (f.lit >= 0) {
            EXPECT_EQ(r.transponder_light, f.lit) << f.t;
        }
    }
}

}  // namespace
