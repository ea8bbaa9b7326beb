// The EFIS boxes drawn on the offscreen context and read back from feedback
// mode: courses, the wind box in a calm, the DME boxes, the GPS box's time of
// arrival, the gear sprite in transit and the flap bar.
#include "tests/panel/panel_fixture.h"

#include <cstring>

#include "flightmodel/systems/radios.h"
#include "panel/glass/glass.h"
#include "panel/radios/radios.h"

namespace {

class EfisReadouts : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        panel_at(512.0f, 384.0f);
    }
    static std::vector<fb_prim> draw(int type) { return in_slot(type, 1.0f, [] { PANEL_efis_readouts(); }); }
    static std::string shown(const std::vector<fb_prim>& prims)
    {
        std::string all = glyph_text(110, prims);
        all.erase(std::remove(all.begin(), all.end(), ' '), all.end());   // blanks of the templates
        return all;
    }
};

TEST_F(EfisReadouts, CoursesKeepTheirTurn)
{
    const struct { float course; const char* text; } cases[] = {{-10.0f, "0350|"}, {360.0f, "0360|"}, {725.0f, "0005|"}, {0.0f, "0000|"}};
    for (const auto& c : cases) {
        sim_cockpit_radios.nav1_obs_degm = c.course;
        sim_cockpit_radios.nav2_obs_degm = c.course;
        EXPECT_EQ(shown(draw(451)), c.text) << c.course;
        EXPECT_EQ(shown(draw(452)), c.text) << c.course;
    }
}

TEST_F(EfisReadouts, CalmWindShowsDirectionZeroAndTheArrowOffTheHeading)
{
    sim_weather.wind_direction_at_plane_degt = 270.0f;
    sim_weather.wind_speed_at_plane_ms = 0.0f;
    flt[0].psi = 30.0f;
    flt[0].groundspeed = 100.0f / 1.943844f;
    auto prims = draw(175);
    auto n = needles(prims, 52);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_LT(angle_gap(n[0].angle_deg, 150.0f), 0.1f);
    EXPECT_NE(shown(prims).find("00000"), std::string::npos) << shown(prims);   // direction 000, speed 00
    EXPECT_NE(shown(prims).find("100"), std::string::npos);
    // A hundredth of the share point: half the direction.
    sim_weather.wind_speed_at_plane_ms = 0.005f;
    n = needles(draw(175), 52);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_LT(angle_gap(n[0].angle_deg, 135.0f - 30.0f + 180.0f), 0.1f);
    EXPECT_NE(shown(draw(175)).find("13500"), std::string::npos) << shown(draw(175));
    // A breeze: the true direction, the arrow from it.
    sim_weather.wind_speed_at_plane_ms = 5.0f;
    n = needles(draw(175), 52);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_LT(angle_gap(n[0].angle_deg, 270.0f - 30.0f + 180.0f), 0.1f);
    EXPECT_NE(shown(draw(175)).find("27010"), std::string::npos) << shown(draw(175));   // 270 and 5 m/s = 9.7 kt
}

TEST_F(EfisReadouts, NumberBoxesReadTheirSourcesInTheirUnits)
{
    // Wind box: the true wind direction plus the magnetic variation; ground
    // speed and TAS in knots on the top row.
    sim_weather.wind_direction_at_plane_degt = 270.0f;
    sim_weather.wind_speed_at_plane_ms = 5.0f;
    sim_flightmodel_position.magnetic_variation = -10.0f;
    flt[0].psi = 0.0f;
    flt[0].groundspeed = 100.0f / 1.943844f;
    flt[0].true_airspeed = 150.0f / 1.943844f;
    EXPECT_EQ(shown(draw(175)), "100150|26010|");
    // Ground speed from the horizontal velocity (50 m/s = 97.19 kt), Mach
    // with three decimals, the decision height in feet.
    flt[0].local_vx = 30.0f, flt[0].local_vz = -40.0f;
    flt[0].machno = 0.7854f;
    sim_cockpit_misc.radio_altimeter_minimum = 200.0f;
    const struct { int type; const char* digits; } boxes[] = {{179, "097"}, {180, "00785"}, {182, "0200"}};
    for (const auto& b : boxes) {
        std::string d = shown(draw(b.type));
        std::erase_if(d, [](char c) { return c == '|' || c == '.'; });
        EXPECT_EQ(d, b.digits) << b.type;
    }
    // The map failure blanks the ground speed, not the Mach number.
    flt[0].failures[8] = FAILURE_STATE_FAILED;
    EXPECT_TRUE(draw(179).empty());
    EXPECT_FALSE(draw(180).empty());
}

TEST_F(EfisReadouts, DmeBoxesBySelector)
{
    sim_cockpit_switches.EFIS_dme_1_selector = 2;
    sim_cockpit_radios.nav1_has_dme[0] = 0;
    EXPECT_NE(shown(draw(176)).find("---"), std::string::npos);
    sim_cockpit_radios.nav1_has_dme[0] = 1;
    sim_cockpit_radios.nav1_dme_dist_m[0] = 12.3f;
    std::strcpy(radio_stations.nav_ident_text[0], "PDZ");
    const std::string s = shown(draw(176));
    EXPECT_NE(s.find("PDZ"), std::string::npos) << s;
    EXPECT_NE(s.find("0123|.|"), std::string::npos) << s;   // 012.3, its point on its own line
    // ADF on DME 2 without DME; selector 0 draws nothing.
    sim_cockpit_switches.EFIS_dme_2_selector = 1;
    sim_cockpit_radios.nav1_has_dme[3] = 0;
    const auto adf = rects_of(draw(177));
    EXPECT_NE(shown(draw(177)).find("---"), std::string::npos);
    // An ADF with DME: box 1 reads the first ADF (radio 2), box 2 the second (radio 3).
    for (int r = 1; r <= 3; ++r) sim_cockpit_radios.nav1_has_dme[r] = 1;
    std::strcpy(radio_stations.nav_ident_text[1], "NVB");
    std::strcpy(radio_stations.nav_ident_text[2], "ADA");
    std::strcpy(radio_stations.nav_ident_text[3], "ADB");
    sim_cockpit_switches.EFIS_dme_1_selector = 1;
    EXPECT_NE(shown(draw(176)).find("ADA"), std::string::npos) << shown(draw(176));
    EXPECT_NE(shown(draw(177)).find("ADB"), std::string::npos) << shown(draw(177));
    sim_cockpit_radios.nav1_has_dme[3] = 0;
    // The ADF's dashes are in its own colour, not the VOR's green.
    sim_cockpit_switches.EFIS_dme_2_selector = 2;
    sim_cockpit_radios.nav1_has_dme[1] = 0;
    const auto vor = rects_of(draw(177));
    ASSERT_FALSE(adf.empty());
    ASSERT_FALSE(vor.empty());
    EXPECT_FALSE(adf.back().r == vor.back().r && adf.back().g == vor.back().g && adf.back().b == vor.back().b);
    sim_cockpit_switches.EFIS_dme_2_selector = 0;
    EXPECT_TRUE(draw(177).empty());
}

TEST_F(EfisReadouts, GpsBoxArrivalTime)
{
    std::strcpy(gps_unit.identifier, "KSBD");
    sim_time.zulu_time_sec = 10.0f * 3600.0f + 59.0f;
    sim_cockpit_radios.gps_dme_dist_m = 60.0f;   // nautical miles
    flt[0].groundspeed = 120.0f / 1.943844f;
    const std::string s = shown(draw(178));
    EXPECT_NE(s.find("10:30Z"), std::string::npos) << s;
    EXPECT_EQ(s.find("KSBD|"), 0u) << s;   // 10:00:59 + 30 min
    // Standing still: the time to go is held to 999 minutes, wrapped past midnight.
    flt[0].groundspeed = 0.0f;
    sim_time.zulu_time_sec = 23.0f * 3600.0f;
    EXPECT_NE(shown(draw(178)).find("15:39Z"), std::string::npos) << shown(draw(178));   // 23:00 + 16 h 39 min
    // Arriving exactly at the end of the day reads 24:00, as a course of 360 reads 360.
    sim_cockpit_radios.gps_dme_dist_m = 0.0f;
    sim_time.zulu_time_sec = 86400.0f;
    EXPECT_NE(shown(draw(178)).find("24:00Z"), std::string::npos) << shown(draw(178));
}

TEST_F(EfisReadouts, LocalizerAndGlideSlopeElementsAndTheDmeSwitchAtTheirSize)
{
    // The localizer bar 5 units a dot, the glide-slope pointer -8.2 a dot, from NAV 1.
    sim_cockpit_switches.HSI_selector = 0;
    sim_cockpit_radios.nav1_hdef_dot[0] = 1.5f;
    sim_cockpit_radios.nav1_vdef_dot[0] = -1.0f;
    const auto loc = needles(draw(173), 56), gs = needles(draw(174), 32);
    ASSERT_EQ(loc.size(), 1u);
    ASSERT_EQ(gs.size(), 1u);
    EXPECT_NEAR(loc[0].pivot_x - 512.0f, 7.5f, 0.05f);
    EXPECT_NEAR(gs[0].pivot_y - 384.0f, 8.2f, 0.05f);
    // The DME box's VOR switch 6 units above the centre, times the size.
    sim_cockpit_switches.EFIS_dme_1_selector = 2;
    int switches = 0;
    for (const fb_rect& r : rects_of(in_slot(176, 2.0f, [] { PANEL_efis_readouts(); })))
        if (std::fabs((r.tx1 + r.tx2) * 0.5f - 48.0f) < 0.01f && std::fabs((r.ty1 + r.ty2) * 0.5f - 112.0f) < 0.01f) {
            ++switches;
            EXPECT_NEAR((r.y1 + r.y2) * 0.5f, 384.0f + 12.0f, 0.01f);
        }
    EXPECT_EQ(switches, 1);
}

TEST_F(EfisReadouts, GearInTransitAndFlapsUp)
{
    for (int p = 67; p <= 69; ++p) pln[0].acf_gear_deploy[p] = 1.0f;
    EXPECT_FALSE(rects_of(draw(184)).empty());
    pln[0].acf_gear_deploy[68] = 0.5f;
    EXPECT_TRUE(draw(184).empty());
    flt[0].flaprat = 0.0f;
    for (const fb_rect& r : rects_of(draw(183))) EXPECT_EQ(r.y2 - r.y1, 0.0f);
    flt[0].flaprat = 1.0f;
    const auto bar = rects_of(draw(183));
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_NEAR(bar[0].y2 - bar[0].y1, 35.0f, 0.01f);
    EXPECT_NEAR(bar[0].y2, 384.0f + 14.0f, 0.01f);
    // Failure 7 blanks every box; 8 the flap bar.
    flt[0].failures[8] = FAILURE_STATE_FAILED;
    EXPECT_TRUE(draw(183).empty());
    flt[0].failures[7] = FAILURE_STATE_FAILED;
    EXPECT_TRUE(draw(451).empty());
}

}   // namespace
