// The moving map drawn on the offscreen context and read back from feedback
// mode: symbols by their texel cells, labels by range, the GPS destination
// whatever its layer, the flight plan's first leg, the HSI in the map's place,
// and the traffic alert's sound recorded through the sound layer's seam.
#include "tests/panel/stack_fixture.h"

#include "core/constants.h"
#include "core/geo.h"
#include "flightmodel/systems/flight_plan.h"
#include "flightmodel/systems/radios.h"
#include "panel/glass/glass.h"
#include "world/apt_scene.h"
#include "world/navdb.h"

namespace {

constexpr float NM = 1852.0f;

class EfisMap : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        CONST_fill_constants();
        PLANET_set_constants(PLANET_EARTH);
        panel_at(512.0f, 384.0f);
        NAV_clear_tables();
        navaid_start_last[0] = navaid_start_last[1] = local_fix_last = local_airport_last = -1;
        fms_plan = fms_plan_record{};
        sim_cockpit_gps = sim_cockpit_gps_block{};
        sim_cockpit_switches.EFIS_map_mode = 1;
        lat_ref = 34.0f, lon_ref = -118.0f;
        flt[0].latitude = 35.0f, flt[0].longitude = -116.5f;   // the area's centre, local (0, 0)
        sim_graphics_settings.draw_aircrafts = 1;
        sim_graphics_settings.draw_ships = 0;
    }
    void TearDown() override
    {
        NAV_clear_tables();
        navaid_start_last[0] = navaid_start_last[1] = local_fix_last = local_airport_last = -1;
        PanelTest::TearDown();
    }
    // A latitude `nm` north of the aircraft.
    static float north(float nm) { return 35.0f + nm / 60.0f; }
    static void navaid(int kind, const char* id, float nm)
    {
        navaid_record n{};
        n.kind = kind, n.lat = north(nm), n.lon = -116.5f;
        std::snprintf(n.id, sizeof n.id, "%s", id);
        navaid_table.push_back(n);
        const int list = kind == 3 ? 0 : 1;
        navaid_start_list[list][++navaid_start_last[list]] = static_cast<int32_t>(navaid_table.size() - 1);
    }
    static std::vector<fb_prim> draw(int type = 185)
    {
        return in_slot(type, 1.0f, [] { PANEL_efis_map(); });
    }
    // Symbols drawn with the cell whose s starts at s1 and t at t1 (1/1024 of the sheet).
    static int symbols(const std::vector<fb_prim>& prims, float s1, float t1)
    {
        return count_art(rects_of(prims), s1 / 2.0f, t1 / 2.0f, s1 / 2.0f + 14.0f, t1 / 2.0f + 14.0f);
    }
    static std::string labels(const std::vector<fb_prim>& prims) { return glyph_text(110, prims); }
};

TEST_F(EfisMap, LabelsByRangeAndTheRangeMark)
{
    navaid(2, "NDBA", 20.0f);
    navaid(3, "VORB", 15.0f);
    fix_record fx{north(8.0f), -116.5f, "FIXC", 0};
    fix_table.push_back(fx);
    local_fix_list[++local_fix_last] = 0;
    airport_record a{};
    std::snprintf(a.id, sizeof a.id, "KAAA");
    runway_record rw{};
    rw.lat = north(5.0f), rw.lon = -116.5f;
    a.runways.push_back(rw);
    airport_table.push_back(a);
    local_airport_list[++local_airport_last] = 0;

    // Selector 7 is the 10 nm range: the navaids 20 nm out lie beyond it.
    const struct { int selector; bool navaids, fixes; const char* mark; int navaid_symbols; } cases[] = {
        {1, true, true, "010", 1}, {2, true, false, "020", 1}, {3, false, false, "040", 1}, {7, false, true, "005", 0},
    };
    for (const auto& c : cases) {
        sim_cockpit_switches.EFIS_map_range_selector = c.selector;
        const auto prims = draw();
        const std::string l = labels(prims);
        EXPECT_EQ(l.find("NDBA") != std::string::npos, c.navaids) << c.selector << " " << l;
        EXPECT_EQ(l.find("VORB") != std::string::npos, c.navaids) << c.selector;
        EXPECT_EQ(l.find("FIXC") != std::string::npos, c.fixes) << c.selector;
        EXPECT_NE(l.find("KAAA"), std::string::npos) << c.selector;
        // The range mark: half the range beside the unit label.
        const size_t unit = l.find("NM");
        ASSERT_NE(unit, std::string::npos);
        std::string digits;
        for (size_t k = l.rfind('|', unit) + 1; k < unit; ++k)
            if (l[k] >= '0' && l[k] <= '9') digits += l[k];
        EXPECT_EQ(digits, c.mark) << c.selector << " " << l;
        EXPECT_EQ(symbols(prims, 112, 462), c.navaid_symbols) << c.selector;   // NDB
        EXPECT_EQ(symbols(prims, 82, 430), c.navaid_symbols) << c.selector;    // VOR
        EXPECT_EQ(symbols(prims, 82, 462), 1) << c.selector;    // fix
        EXPECT_EQ(symbols(prims, 112, 430), 1) << c.selector;   // airport
    }
    EXPECT_EQ(EFIS_map_range_nm(-1), 10.0f);
    EXPECT_EQ(EFIS_map_range_nm(6), 640.0f);
}

TEST_F(EfisMap, TheGpsDestinationIsDrawnWithItsLayerOff)
{
    navaid(2, "DEST", 5.0f);
    navaid(2, "OTHR", 6.0f);
    sim_cockpit_switches.EFIS_shows_NDBs = 0;
    sim_cockpit_gps.destination_type = 2;
    sim_cockpit_gps.destination_index = 0;
    sim_cockpit_gps.ndb_index = 0;
    const auto prims = draw();
    EXPECT_EQ(symbols(prims, 112, 462), 1);
    EXPECT_NE(labels(prims).find("DEST"), std::string::npos);
    EXPECT_EQ(labels(prims).find("OTHR"), std::string::npos);
    // Indices from a plug-in outside the tables draw nothing.
    sim_cockpit_gps.ndb_index = 99999;
    sim_cockpit_gps.destination_index = -5;
    EXPECT_EQ(symbols(draw(), 112, 462), 0);
    sim_cockpit_switches.EFIS_shows_NDBs = 1;
}

TEST_F(EfisMap, FlightPlanLineStartsAtTheEntryBeforeTheCurrentOne)
{
    for (int i = 4; i <= 6; ++i) {
        fms_plan.entries[i].type = 13;
        fms_plan.entries[i].latitude = north(2.0f * static_cast<float>(i - 3));
        fms_plan.entries[i].longitude = -116.5f + 0.01f * static_cast<float>(i - 4);
    }
    fms_plan.destination_index = 5;
    std::vector<std::array<float, 4>> plan;
    for (const fb_prim& p : draw())
        if (p.token != GL_POLYGON_TOKEN && p.v.size() == 2 && std::fabs(p.v[0].r - 1.0f) < 0.01f &&
            std::fabs(p.v[0].g - 0.2f) < 0.01f)
            plan.push_back({p.v[0].x, p.v[0].y, p.v[1].x, p.v[1].y});
    ASSERT_EQ(plan.size(), 2u);
    // From entry 4 (2 nm ahead, not the aircraft) on to 5, then 5 to 6.
    const float ay = 384.0f - 115.0f + 0.15f * 230.0f, r = 0.85f * 230.0f;
    EXPECT_NEAR(plan[0][0], 512.5f, 0.6f);
    EXPECT_NEAR(plan[0][1], ay + 0.5f + r * 2.0f / 10.0f, 0.6f);   // 2 nm on the 10 nm range
    EXPECT_NEAR(plan[1][0], plan[0][2], 0.01f);
    EXPECT_NEAR(plan[1][1], plan[0][3], 0.01f);
    // No entries: no line.
    fms_plan = fms_plan_record{};
    for (const fb_prim& p : draw())
        if (p.token != GL_POLYGON_TOKEN && p.v.size() == 2) {
            EXPECT_FALSE(std::fabs(p.v[0].g - 0.2f) < 0.01f && p.v[0].r > 0.99f);
        }
}

TEST_F(EfisMap, MapModeZeroShowsTheHsiOnlyOnTheArcTypes)
{
    sim_cockpit_switches.EFIS_map_mode = 0;
    EXPECT_TRUE(needles(draw(185), 51).empty());
    EXPECT_TRUE(needles(draw(372), 51).empty());
    EXPECT_EQ(needles(draw(191), 51).size(), 1u);
    EXPECT_EQ(needles(draw(331), 50).size(), 1u);
    EXPECT_EQ(needles(draw(333), 51).size(), 1u);
    sim_cockpit_switches.EFIS_map_mode = 1;
    EXPECT_EQ(needles(draw(185), 51).size(), 1u);
}

TEST_F(EfisMap, BearingPointersAndTheCentredMaps)
{
    // Arc map 185 on a 90 degree heading: the aircraft point at (512, 303.5),
    // radius 195.5. A NAV 1 station due north sits 90 degrees left, an ADF 2
    // station due east straight ahead; each head on the circle, its tail opposite.
    flt[0].psi = 90.0f;
    sim_cockpit_switches.EFIS_dme_1_selector = 2;   // VOR: NAV 1
    sim_cockpit_switches.EFIS_dme_2_selector = 1;   // ADF: ADF 2
    sim_cockpit_radios.nav_type[RADIO_NAV1] = 3, sim_cockpit_radios.nav_type[RADIO_ADF2] = 2;
    float* const nav1 = radio_stations.nav_station_pos[RADIO_NAV1];
    float* const adf2 = radio_stations.nav_station_pos[RADIO_ADF2];
    nav1[0] = 0.0f, nav1[2] = -5000.0f;
    adf2[0] = 5000.0f, adf2[2] = 0.0f;
    const auto prims = draw();
    const struct { int style; float x, y, deg; } pointers[] = {
        {67, 316.5f, 303.5f, -90.0f}, {68, 707.5f, 303.5f, -90.0f}, {73, 512.0f, 499.0f, 0.0f}, {74, 512.0f, 108.0f, 0.0f},
    };
    for (const auto& p : pointers) {
        const auto n = needles(prims, p.style);
        ASSERT_EQ(n.size(), 1u) << p.style;
        EXPECT_NEAR(n[0].pivot_x, p.x, 0.05f) << p.style;
        EXPECT_NEAR(n[0].pivot_y, p.y, 0.05f) << p.style;
        EXPECT_LT(angle_gap(n[0].angle_deg, p.deg), 0.1f) << p.style;
    }
    EXPECT_TRUE(needles(prims, 69).empty());   // NAV 2 and ADF 1 are not selected
    EXPECT_TRUE(needles(prims, 71).empty());

    // Type 331's centred maps: the aircraft at the box's middle (503.5, 384),
    // radius half the height (40 for 10 nm). An NDB 5 nm north is 20 up when
    // north is up, 20 to the left when heading east is up.
    navaid(2, "NDBN", 5.0f);
    const struct { int mode; float x, y; } modes[] = {{2, 504.0f, 404.0f}, {0, 484.0f, 384.0f}};
    for (const auto& m : modes) {
        efis_map.type_331_mode = m.mode;
        int found = 0;
        for (const fb_rect& q : rects_of(draw(331)))
            if (std::fabs(q.tx1 - 56.0f) < 0.01f && std::fabs(q.ty1 - 231.0f) < 0.01f) {
                ++found;
                EXPECT_NEAR((q.x1 + q.x2) * 0.5f, m.x, 0.01f) << m.mode;
                EXPECT_NEAR((q.y1 + q.y2) * 0.5f, m.y, 0.01f) << m.mode;
            }
        EXPECT_EQ(found, 1) << m.mode;
    }
}

TEST_F(EfisMap, TrackReadoutBlendsHeadingIntoPathUnderItsFrame)
{
    // Heading plus ground speed x (path - heading) / 10, held between the two, plus the
    // variation, into 0..360 with 360 kept; three digits 4 above the box's top (115).
    const struct { float psi, hpath, speed, variation; const char* shown; } rows[] = {
        {10, 30, 5, 0, "020"},   {10, 30, 50, 0, "030"}, {30, 10, 2, 0, "026"},
        {350, 5, 0, 10, "360"}, {5, 5, 0, -10, "355"},
    };
    for (const auto& r : rows) {
        flt[0].psi = r.psi, flt[0].hpath = r.hpath, flt[0].groundspeed = r.speed;
        sim_flightmodel_position.magnetic_variation = r.variation;
        panel_ins_type = 185, panel_ins_scale = 1.0f;
        const auto t = drawn_texts(110, 384.0f, [] { PANEL_efis_map(); });
        ASSERT_TRUE(t.count(119.0f)) << r.shown;
        EXPECT_EQ(t.at(119.0f), r.shown);
    }
    // At twice the size the readout's frame stands 6 above the doubled top, over the digits.
    int frames = 0;
    for (const fb_rect& q : rects_of(in_slot(185, 2.0f, [] { PANEL_efis_map(); })))
        if (std::fabs((q.tx1 + q.tx2) * 0.5f - 419.0f) < 0.01f && std::fabs((q.ty1 + q.ty2) * 0.5f - 267.0f) < 0.01f) {
            ++frames;
            EXPECT_NEAR((q.x1 + q.x2) * 0.5f, 512.0f + 1.0f, 0.01f);
            EXPECT_NEAR((q.y1 + q.y2) * 0.5f, 384.0f + 236.0f, 0.01f);
        }
    EXPECT_EQ(frames, 1);
}

TEST_F(EfisMap, TrafficAlertPlaysOnceWhileTheConditionHolds)
{
    sim_graphics_settings.draw_aircrafts = 2;
    flt[1].local_x = 0.0f, flt[1].local_z = -0.8f * NM, flt[1].local_y = 80.0f / 3.28084f;
    auto plays = [this] { return std::count(sounds.played_slots.begin(), sounds.played_slots.end(), 58); };
    draw();
    draw();
    EXPECT_EQ(plays(), 1);
    flt[1].local_z = -3.0f * NM;   // a frame without the condition
    draw();
    flt[1].local_z = -0.8f * NM;
    draw();
    EXPECT_EQ(plays(), 2);
    // On the ground: red, silent.
    efis_map.previous_tcas_alert = 0;
    flt[0].onground_any = 1;
    const auto prims = draw();
    EXPECT_EQ(plays(), 2);
    bool red = false;
    for (const fb_rect& r : rects_of(prims))
        if (glyph_of(110, r) == 'o') red = std::fabs(r.r - 1.0f) < 0.01f && std::fabs(r.g - 0.2f) < 0.01f;
    EXPECT_TRUE(red);
    // Colours by height and distance: red within 500 ft and 4 nm, amber within 1,000 ft and 8 nm.
    const struct { float feet, nm; int row; } bands[] = {
        {450, 3, 58}, {-450, 3.9f, 58}, {450, 5, 59}, {700, 3, 59}, {-990, 7.5f, 59}, {1100, 3, 49}};
    for (const auto& b : bands) {
        flt[1].local_z = -b.nm * NM, flt[1].local_y = b.feet / 3.28084f;
        int found = 0;
        for (const fb_rect& r : rects_of(draw()))
            if (glyph_of(110, r) == 'o') {
                ++found;
                EXPECT_NEAR(r.r, colour_table[b.row][0], 0.01f) << b.feet << " ft " << b.nm << " nm";
                EXPECT_NEAR(r.g, colour_table[b.row][1], 0.01f) << b.feet << " ft " << b.nm << " nm";
                EXPECT_NEAR(r.b, colour_table[b.row][2], 0.01f) << b.feet << " ft " << b.nm << " nm";
            }
        EXPECT_EQ(found, 1) << b.feet;
    }
    // A plug-in's plane count beyond the slots is held to them.
    sim_graphics_settings.draw_aircrafts = 500;
    draw();
}

}   // namespace
