// The HSI, its localizer and glide-slope needles, the CDI and the RMI, drawn
// on the offscreen context and read back from the feedback mode: where each
// needle's pivot lies and how it is turned, what blanks without power, and the
// RMI needles' lag on an injected frame period.
#include "tests/panel/panel_fixture.h"

#include "core/failure_slots.h"
#include "flightmodel/systems/gyros.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/instruments/nav_instruments.h"

namespace {

constexpr float CX = 512.0f, CY = 384.0f;

class NavInstruments : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel_at(CX, CY);
        for (int g = 0; g < GYRO_SYSTEMS; ++g) gyro_heading[g] = 0.0f;
    }
    // The one needle of `style` drawn by `type`'s HSI, relative to the slot centre.
    static drawn_needle one(int type, int style, const std::function<void()>& draw = [] { PANEL_hsi(); })
    {
        const auto n = needles(in_slot(type, 1.0f, draw), style);
        EXPECT_EQ(n.size(), 1u) << "type " << type << " style " << style;
        if (n.empty()) return {0, 0, 0, 0};
        return {n[0].pivot_x - CX, n[0].pivot_y - CY, n[0].angle_deg, n[0].length};
    }
};

TEST_F(NavInstruments, DeviationBarSitsAcrossTheCourseOfItsReceiver)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_hdef_dot[RADIO_NAV2] = 1.0f;
    r.nav2_obs_degm = 0.0f;
    // Mechanical HSI on nav 2, card on the course: bar at (4, 0), arrow and bar upright.
    power();
    drawn_needle bar = one(113, 37);
    EXPECT_NEAR(bar.pivot_x, 4.0f, 0.05f);
    EXPECT_NEAR(bar.pivot_y, 0.0f, 0.05f);
    EXPECT_LT(angle_gap(bar.angle_deg, 0.0f), 0.1f);
    EXPECT_LT(angle_gap(one(113, 35).angle_deg, 0.0f), 0.1f);
    // Glass, on the selector's nav 2: (5, 0).
    sim_cockpit_switches.HSI_selector = 1;
    bar = one(119, 38);
    EXPECT_NEAR(bar.pivot_x, 5.0f, 0.05f);
    // The card turned 90 degrees from the course: the bar moves along y, turned with the card.
    gyro_heading[GYRO_ELECTRIC] = 90.0f;
    bar = one(113, 37);
    EXPECT_NEAR(bar.pivot_x, 0.0f, 0.05f);
    EXPECT_NEAR(bar.pivot_y, 4.0f, 0.05f);
    EXPECT_LT(angle_gap(bar.angle_deg, -90.0f), 0.1f);

    // Selector 2 reads the GPS entries and its course; a wild selector reads nav 1.
    gyro_heading[GYRO_ELECTRIC] = 30.0f;
    r.obs_mag = 30.0f;
    r.nav1_hdef_dot[RADIO_GPS] = -1.0f;
    sim_cockpit_switches.HSI_selector = 2;
    EXPECT_NEAR(one(116, 37).pivot_x, -4.0f, 0.05f);
    sim_cockpit_switches.HSI_selector = -7;
    r.nav1_obs_degm = 30.0f;
    r.nav1_hdef_dot[RADIO_NAV1] = 0.5f;
    EXPECT_NEAR(one(116, 37).pivot_x, 2.0f, 0.05f);

    // Unpowered: the glass HSI draws nothing, the mechanical one centres its bar.
    sim_cockpit_electrical.avionics_on = 0;
    EXPECT_TRUE(in_slot(119, 1.0f, [] { PANEL_hsi(); }).empty());
    EXPECT_NEAR(one(116, 37).pivot_x, 0.0f, 0.05f);
    power();
    flt[0].failures[FAIL_SLOT_GLASS_INSTR] = FAILURE_STATE_FAILED;
    EXPECT_TRUE(in_slot(119, 1.0f, [] { PANEL_hsi(); }).empty());
}

TEST_F(NavInstruments, GlideSlopePointersOrFlagsAndTheEfisScales)
{
    power();
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_vdef_dot[0] = 1.0f;
    r.nav1_fromto[0] = 1;
    r.nav_type[0] = 3;   // a VOR: the warning flags at both sides
    auto prims = in_slot(110, 1.0f, [] { PANEL_hsi(); });
    EXPECT_EQ(needles(prims, 39).size(), 2u);
    EXPECT_TRUE(needles(prims, 31).empty());
    EXPECT_EQ(needles(prims, 29).size(), 1u);   // TO
    r.nav1_fromto[0] = 0, r.nav_type[0] = 4;    // an ILS without a signal: the flags too
    EXPECT_EQ(needles(in_slot(110, 1.0f, [] { PANEL_hsi(); }), 39).size(), 2u);
    // Card on the course: the TO pointer ahead at (15, 15), the FROM pointer
    // behind at (15, -15) turned round.
    const struct { int fromto; float x, y, angle; } pointers[] = {{1, 15.0f, 15.0f, 0.0f}, {2, 15.0f, -15.0f, 180.0f}};
    for (const auto& p : pointers) {
        r.nav1_fromto[0] = p.fromto;
        const drawn_needle n = one(110, 29);
        EXPECT_NEAR(n.pivot_x, p.x, 0.05f) << p.fromto;
        EXPECT_NEAR(n.pivot_y, p.y, 0.05f) << p.fromto;
        EXPECT_LT(angle_gap(n.angle_deg, p.angle), 0.1f) << p.fromto;
    }
    r.nav1_fromto[0] = 1;
    r.nav_type[0] = 4;   // an ILS: both pointers at the same height
    prims = in_slot(110, 1.0f, [] { PANEL_hsi(); });
    const auto left = needles(prims, 31), right = needles(prims, 33);
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(right.size(), 1u);
    EXPECT_NEAR(left[0].pivot_x - CX, -60.0f, 0.05f);
    EXPECT_NEAR(right[0].pivot_y - CY, -8.2f, 0.05f);
    EXPECT_NEAR(left[0].pivot_y, right[0].pivot_y, 0.01f);
    // Each kind of display spreads its pointers to its own half span.
    const struct { int type, style; float span; } spans[] = {
        {110, 31, 60.0f}, {119, 32, 60.0f}, {191, 32, 60.0f}, {185, 32, 80.0f}, {373, 32, 80.0f},
    };
    for (const auto& c : spans) EXPECT_NEAR(one(c.type, c.style, [] { update_loc_gls(0.0f); }).pivot_x, -c.span, 0.05f) << c.type;
    // The card 90 degrees right of the course: TO at (-15, 15) turned -90,
    // FROM at (15, 15) turned 90.
    r.nav1_obs_degm = 0.0f;
    for (const auto& p : {drawn_needle{-15.0f, 15.0f, -90.0f, 0.0f}, drawn_needle{15.0f, 15.0f, 90.0f, 0.0f}}) {
        r.nav1_fromto[0] = p.pivot_x < 0.0f ? 1 : 2;
        const drawn_needle n = one(110, 29, [] { update_loc_gls(90.0f); });
        EXPECT_NEAR(n.pivot_x, p.pivot_x, 0.05f) << r.nav1_fromto[0];
        EXPECT_NEAR(n.pivot_y, p.pivot_y, 0.05f) << r.nav1_fromto[0];
        EXPECT_LT(angle_gap(n.angle_deg, p.angle_deg), 0.1f) << r.nav1_fromto[0];
    }
    r.nav1_fromto[0] = 1;

    // The EFIS glide-slope scale: the pointer at -8.2 per dot; the localizer scale's bar at 5 per dot.
    EXPECT_NEAR(one(174, 32, [] { update_loc_gls(0.0f); }).pivot_y, -8.2f, 0.05f);
    // At scale 2 the pointer is scaled once, by the needle routine: -16.4.
    const auto scaled = needles(in_slot(174, 2.0f, [] { update_loc_gls(0.0f); }), 32);
    ASSERT_EQ(scaled.size(), 1u);
    EXPECT_NEAR(scaled[0].pivot_y - CY, -16.4f, 0.05f);
    r.nav1_hdef_dot[0] = 0.5f;
    EXPECT_NEAR(one(173, 56, [] { update_loc_gls(0.0f); }).pivot_x, 2.5f, 0.05f);

    // The heading tape hides a pointer more than 49 units from its centre.
    sim_cockpit_autopilot.heading_mag = 40.0f;   // 48 units right
    r.nav1_obs_degm = 350.0f;                     // 12 units left
    gyro_heading[GYRO_ELECTRIC] = 0.0f;
    prims = in_slot(167, 1.0f, [] { PANEL_hsi(); });
    ASSERT_EQ(needles(prims, 28).size(), 1u);
    EXPECT_NEAR(needles(prims, 55)[0].pivot_x - CX, -12.0f, 0.05f);
    sim_cockpit_autopilot.heading_mag = 42.0f;
    EXPECT_TRUE(needles(in_slot(167, 1.0f, [] { PANEL_hsi(); }), 28).empty());
}

TEST_F(NavInstruments, HsiKnobsTurnTheBugAndTheCourseAndTheCdiCentresUnpowered)
{
    // Card radius 52: the heading bug rides at 49 from the centre, the
    // lubber mark at 1.02 x 52 = 53.04 straight up.
    const struct { float bug, x, y; } bugs[] = {{0.0f, 0.0f, 49.0f}, {90.0f, 49.0f, 0.0f}, {180.0f, 0.0f, -49.0f}};
    for (const auto& b : bugs) {
        sim_cockpit_autopilot.heading_mag = b.bug;
        const drawn_needle n = one(113, 27);
        EXPECT_NEAR(n.pivot_x, b.x, 0.05f) << b.bug;
        EXPECT_NEAR(n.pivot_y, b.y, 0.05f) << b.bug;
        EXPECT_LT(angle_gap(n.angle_deg, b.bug), 0.1f) << b.bug;
    }
    EXPECT_NEAR(one(113, 25).pivot_y, 53.04f, 0.05f);
    sim_cockpit_autopilot.heading_mag = 360.0f;
    sim_cockpit_radios.nav2_obs_degm = 0.0f;
    // Type 113: heading knob at (55, -59), course knob at (-55, -59).
    mouse.mouse_down = mouse.mouse_held = 1;
    mouse.mouse_x = CX + 55.0f + 4.0f, mouse.mouse_y = CY - 59.0f + 4.0f;
    in_slot(113, 1.0f, [] { PANEL_hsi(); });
    EXPECT_FLOAT_EQ(sim_cockpit_autopilot.heading_mag, 1.0f);
    mouse.mouse_x = CX - 55.0f - 4.0f, mouse.mouse_y = CY - 59.0f - 4.0f;
    in_slot(113, 1.0f, [] { PANEL_hsi(); });
    EXPECT_FLOAT_EQ(sim_cockpit_radios.nav2_obs_degm, 359.0f);
    // Each face's heading knob row: -55 on the gyro (knob x 50), -57 on BC, -72 on HM, -59 on GA.
    const struct { int type; float x, y; } knobs[] = {{109, 50, -55}, {114, 55, -57}, {115, 55, -72}, {116, 55, -59}};
    for (const auto& k : knobs) {
        sim_cockpit_autopilot.heading_mag = 100.0f;
        mouse.mouse_x = CX + k.x + 9.5f, mouse.mouse_y = CY + k.y - 9.0f;   // near the spot's lower-right corner
        in_slot(k.type, 1.0f, [] { PANEL_hsi(); });
        EXPECT_FLOAT_EQ(sim_cockpit_autopilot.heading_mag, 101.0f) << k.type;
    }
    sim_cockpit_radios.nav2_obs_degm = 359.0f;

    // The CDI's own OBS knob turns its receiver's course; the slot is given back.
    mouse.mouse_x = CX - 47.0f + 4.0f, mouse.mouse_y = CY - 55.0f + 4.0f;
    in_slot(132, 1.0f, [] { PANEL_cdi(1); });
    EXPECT_FLOAT_EQ(sim_cockpit_radios.nav2_obs_degm, 360.0f);
    EXPECT_EQ(panel_ins_type, 132);
    EXPECT_EQ(screen.screen_area_left, CX);
    mouse = mouse_record{};

    sim_cockpit_radios.nav1_hdef_dot[1] = 2.0f;
    sim_cockpit_radios.nav1_fromto[1] = 1;
    EXPECT_NEAR(needles(in_slot(132, 1.0f, [] { PANEL_cdi(1); }), 54)[0].pivot_x - CX, 0.0f, 0.05f);
    EXPECT_EQ(sim_cockpit_radios.nav1_fromto[1], 0);
    power();
    sim_cockpit_radios.nav1_fromto[1] = 1;
    sim_cockpit_radios.nav1_vdef_dot[1] = 1.0f;   // one dot high: the glide-slope needle sits 5.1 low
    const auto n = needles(in_slot(132, 1.0f, [] { PANEL_cdi(1); }), 54);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_NEAR(n[0].pivot_x - CX, 10.2f, 0.05f);
    EXPECT_NEAR(n[1].pivot_x - CX, -34.0f, 0.05f);
    EXPECT_NEAR(n[1].pivot_y - CY, -5.1f, 0.05f);
    EXPECT_EQ(sim_cockpit_radios.nav1_fromto[1], 1);

    // The CDI's flags: FROM state 0 at (22, -10), TO state 1 at (22, 10), nav 2's
    // off flag state 3 at (9, 21); the glide-slope flag state 4 at (-18, 8) unless an ILS is tuned.
    const struct { int fromto, nav_type, state; float x, y; } flags[] = {
        {2, 4, 0, 22, -10}, {1, 4, 1, 22, 10}, {0, 4, 3, 9, 21}, {1, 3, 4, -18, 8}};
    for (const auto& f : flags) {
        sim_cockpit_radios.nav1_fromto[1] = f.fromto, sim_cockpit_radios.nav_type[1] = f.nav_type;
        const panel_sprite sp = PANEL_sprite(132, f.state);
        int found = 0;
        for (const fb_rect& r : rects_of(in_slot(132, 1.0f, [] { PANEL_cdi(1); })))
            if (std::fabs((r.tx1 + r.tx2) * 0.5f - sp.cu) < 0.01f && std::fabs((r.ty1 + r.ty2) * 0.5f - sp.cv) < 0.01f) {
                EXPECT_NEAR((r.x1 + r.x2) * 0.5f - CX, f.x, 0.05f) << f.state;
                EXPECT_NEAR((r.y1 + r.y2) * 0.5f - CY, f.y, 0.05f) << f.state;
                ++found;
            }
        EXPECT_EQ(found, 1) << f.state;
    }
}

TEST_F(NavInstruments, RmiNeedlesSwingAtFortyFiveDegreesASecond)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    sim_operation_misc.frame_rate_period = 0.1f;
    r.nav1_dir_degt[RADIO_ADF1] = 180.0f;
    for (int i = 0; i < 10; ++i) in_slot(133, 1.0f, [] { PANEL_rmi(); });
    EXPECT_NEAR(angle_gap(rmi_mem.needle_deg[RADIO_ADF1], 0.0f), 45.0f, 0.01f);
    // Close to its station it lags by a second: the last 10 degrees close by a tenth a frame.
    rmi_mem.needle_deg[RADIO_ADF1] = 170.0f;
    in_slot(133, 1.0f, [] { PANEL_rmi(); });
    EXPECT_NEAR(rmi_mem.needle_deg[RADIO_ADF1], 171.0f, 0.01f);

    // A VOR needle on a receiver tuned to something else stays put.
    r.nav1_dir_degt[RADIO_NAV1] = 90.0f;
    r.nav_type[RADIO_NAV1] = 4;
    in_slot(154, 1.0f, [] { PANEL_rmi(); });
    EXPECT_FLOAT_EQ(rmi_mem.needle_deg[RADIO_NAV1], 0.0f);
    r.nav_type[RADIO_NAV1] = 3;
    in_slot(154, 1.0f, [] { PANEL_rmi(); });
    EXPECT_NEAR(rmi_mem.needle_deg[RADIO_NAV1], 4.5f, 0.01f);

    // The slaved card follows the electric gyro, published as nav 1's card.
    // The left button swaps the needle to ADF 1 from the next frame: on the
    // click's frame nav 1's needle still turns (4.5 degrees), ADF 1's waits.
    gyro_heading[GYRO_ELECTRIC] = 123.0f;
    const float nav1 = rmi_mem.needle_deg[RADIO_NAV1], adf1 = rmi_mem.needle_deg[RADIO_ADF1];
    mouse.mouse_down = mouse.mouse_held = 1;
    mouse.mouse_x = CX - 55.0f, mouse.mouse_y = CY - 58.0f;
    in_slot(154, 1.0f, [] { PANEL_rmi(); });
    EXPECT_FLOAT_EQ(r.nav1_cardinal_dir[RADIO_NAV1], 123.0f);
    EXPECT_EQ(sim_cockpit_switches.RMI_l_vor_adf_selector, 1);
    EXPECT_NEAR(rmi_mem.needle_deg[RADIO_NAV1], nav1 + 4.5f, 0.01f);
    EXPECT_EQ(rmi_mem.needle_deg[RADIO_ADF1], adf1);
    mouse = mouse_record{};
    in_slot(154, 1.0f, [] { PANEL_rmi(); });
    EXPECT_NEAR(rmi_mem.needle_deg[RADIO_ADF1], adf1 + 0.9f, 0.01f);

    // The HM face's DME windows: ADF 1 (left selector on ADF) beyond 99 shows
    // 99.0, nav 2 below 0 shows 0.0; without DME the window shows dashes.
    r.nav1_has_dme[RADIO_ADF1] = r.nav1_has_dme[RADIO_NAV2] = 1;
    r.nav1_dme_dist_m[RADIO_ADF1] = 150.0f;
    r.nav1_dme_dist_m[RADIO_NAV2] = -3.0f;
    // (The full stops stand a little lower: the digits make one line.)
    const std::string dme = glyph_text(114, in_slot(156, 1.0f, [] { PANEL_rmi(); }));
    EXPECT_EQ(dme.substr(0, 3), "990") << dme;
    EXPECT_EQ(dme.find_first_of("1235-"), std::string::npos) << dme;
    r.nav1_has_dme[RADIO_NAV2] = 0;
    EXPECT_NE(glyph_text(110, in_slot(156, 1.0f, [] { PANEL_rmi(); })).find("---"), std::string::npos);
}

}  // namespace
