// The GPS unit on a small world: kind buttons and the kind cycle, paging,
// the held step button, spelling an identifier, and the values it shows.
#include "tests/panel/stack_fixture.h"

#include <algorithm>

#include "world/navdb.h"

namespace {

class Gps : public StackTest {
protected:
    void SetUp() override
    {
        StackTest::SetUp();
        NAV_clear_tables();
        add_airport("KLAX", "LOS ANGELES INTERNATIONAL", 33.94f, -118.40f);
        add_airport("KSBD", "SAN BERNARDINO INTERNATIONAL AIRPORT", 34.09f, -117.23f);
        add_airport("KSBD", "A FAR AWAY NAMESAKE", 10.0f, 10.0f);
        add_navaid(NAV_NDB, "AB", "ABLE NDB");
        add_navaid(NAV_VOR, "PDZ", "PARADISE VORTAC");
        add_navaid(NAV_VOR, "SLI", "SEAL BEACH VORTAC");
        fix_table.push_back(fix_record{34.0f, -118.0f, "DARTS", 0});
        flt[0].latitude = 34.0f, flt[0].longitude = -117.5f;
        only(232);
    }
    void TearDown() override
    {
        NAV_clear_tables();
        StackTest::TearDown();
    }
    static void add_airport(const char* id, const char* name, float lat, float lon)
    {
        airport_record a{};
        a.kind = 1;
        std::strncpy(a.id, id, APT_ID_SIZE - 1);
        std::strncpy(a.name, name, APT_NAME_SIZE - 1);
        runway_record r{};
        r.lat = lat, r.lon = lon;
        a.runways.push_back(r);
        airport_table.push_back(a);
    }
    static void add_navaid(int kind, const char* id, const char* name)
    {
        navaid_record n{};
        n.kind = kind;
        std::strncpy(n.id, id, APT_ID_SIZE - 1);
        std::strncpy(n.name, name, APT_NAME_SIZE - 1);
        navaid_table.push_back(n);
    }
};

TEST_F(Gps, KindCycleReturnsAndRemembersEachKind)
{
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    g.airport_index = 1, g.vor_index = 2, g.ndb_index = 0, g.fix_index = 0;
    PANEL_gps(10);
    const int32_t first = g.destination_type;
    const int kinds[] = {11, 2, 3, 1};
    for (int k : kinds) {
        PANEL_gps(3);
        EXPECT_EQ(g.destination_type, k);
    }
    EXPECT_EQ(g.destination_type, first);
    EXPECT_EQ(g.destination_index, 1);
    EXPECT_STREQ(gps_unit.identifier, "KSBD");
    // From a VOR the cycle brings back the remembered airport.
    PANEL_gps(11);
    EXPECT_EQ(g.destination_index, 2);
    EXPECT_STREQ(gps_unit.identifier, "SLI");
    PANEL_gps(3);
    EXPECT_EQ(g.destination_type, 1);
    EXPECT_EQ(g.destination_index, 1);
    // Up on a VOR at cursor 0 takes the first VOR of the navaid table.
    PANEL_gps(11);
    PANEL_gps(1);
    EXPECT_EQ(g.destination_index, 1);
    // Airports step and wrap over their table.
    PANEL_gps(10);
    PANEL_gps(-1);
    PANEL_gps(-1);
    EXPECT_EQ(g.destination_index, 2);

    // The buttons of the other two faces, each pressed near its lower and its
    // upper edge (half size 8 for the kinds, 6 for the steps); steps page the
    // airports from 0.
    const struct { int type; float x, y; int32_t kind, index; } presses[] = {
        {233, -64, 10, 3, -1},  {233, -64, 25, 1, -1},  {233, -25, -45, 1, 1},  {233, -5, -45, 1, 2},
        {234, -50, -33, 2, -1}, {234, -25, -33, 11, -1}, {234, -25, -16, 3, -1}, {234, -50, -16, 1, -1},
        {234, 25, -16, 1, 1},   {234, 25, -33, 1, 2},
    };
    for (const auto& p : presses) {
        const float inside = p.index >= 0 ? 5.0f : 6.0f;   // kinds 15 apart overlap at 7
        for (const float dy : {-inside, inside}) {
            only(p.type);
            g.destination_type = 1, g.destination_index = 0;
            click(p.x, p.y + dy);
            EXPECT_EQ(g.destination_type, p.kind) << p.type << " " << p.x << " " << p.y << " " << dy;
            if (p.index >= 0) { EXPECT_EQ(g.destination_index, p.index) << p.type << " " << p.x << " " << p.y << " " << dy; }
        }
    }
    // Type 234 lights its kind lamp at (-40, 28) whatever the kind.
    const auto drawn = capture_rects(PANEL_update);
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](const fb_rect& q) {
        return std::fabs((q.x1 + q.x2) * 0.5f - (X - 40.0f)) < 0.5f && std::fabs((q.y1 + q.y2) * 0.5f - (Y + 28.0f)) < 0.5f;
    }));
}

TEST_F(Gps, HeldUpButtonStepsOnThePressThenEveryFrame)
{
    for (int i = 0; i < 200; ++i) add_airport("XX", "FILLER", 0.0f, 0.0f);
    sim_cockpit_gps.airport_index = 0;
    PANEL_gps(10);
    sim_operation_misc.frame_rate_period = 0.025f;
    mouse.mouse_x = X + 63, mouse.mouse_y = Y + 40;
    mouse.mouse_down = mouse.mouse_held = 1;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_gps.destination_index, 1);
    mouse.mouse_down = 0;
    for (int f = 0; f < 20; ++f) PANEL_update();   // the first half second
    EXPECT_EQ(sim_cockpit_gps.destination_index, 1);
    mouse.mouse_panel_drag = 1;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_gps.destination_index, 6);
    sim_operation_misc.frame_rate_period = 0.001f;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_gps.destination_index, 7);
    // The rate follows the long-press flag whoever presses: a key command too.
    sim_operation_misc.frame_rate_period = 0.025f;
    PANEL_gps(1);
    EXPECT_EQ(sim_cockpit_gps.destination_index, 12);
    mouse = mouse_record{};
}

TEST_F(Gps, SpelledIdentifierIsLookedUpOnTheOneSecondFlagAndNamed)
{
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    PANEL_gps(10);
    g.destination_index = 0;
    PANEL_update();
    EXPECT_STREQ(gps_unit.identifier, "KLAX");
    // Spell K, S, B, D over "KLAX": the second character L -> S is 7 up,
    // the third A -> B 1 up, the fourth X -> D 20 down (through blank and 0..9).
    PANEL_gps(2);
    PANEL_gps(2);
    for (int i = 0; i < 7; ++i) PANEL_gps(1);
    PANEL_gps(2);
    PANEL_gps(1);
    PANEL_gps(2);
    for (int i = 0; i < 20; ++i) PANEL_gps(-1);
    EXPECT_STREQ(gps_unit.identifier, "KSBD");
    PANEL_update();
    EXPECT_EQ(g.destination_index, 0);   // not before the one-second flag
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    const auto t = texts(111);
    EXPECT_EQ(g.destination_index, 1);   // the nearer of the two
    EXPECT_EQ(g.airport_index, 1);
    EXPECT_EQ(t.at(16), "SAN BERNARDINO INTE");
    EXPECT_EQ(std::string(gps_unit.name), "SAN BERNARDINO INTE");
    // A fix shows its identifier but no name line.
    g.fix_index = 0;
    PANEL_gps(13);
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    gps_unit.cursor = 0;
    EXPECT_EQ(texts(111).count(16), 0u);
}

TEST_F(Gps, CursorWrapsOverFiveCharactersForFixesAndSpellingWrapsAfterZ)
{
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    g.fix_index = 0, g.airport_index = 0;
    gps_unit.cursor = 0;
    // A fix spells five characters: left from 0 lands on the fifth.
    PANEL_gps(13);
    EXPECT_STREQ(gps_unit.identifier, "DARTS");
    PANEL_gps(-2);
    EXPECT_EQ(gps_unit.cursor, 5);
    PANEL_gps(1);
    EXPECT_STREQ(gps_unit.identifier, "DARTT");
    PANEL_gps(2);
    EXPECT_EQ(gps_unit.cursor, 0);
    // Other kinds spell four: left from 0 lands on the fourth; after Z comes
    // the blank, then 0.
    PANEL_gps(10);
    PANEL_gps(-2);
    EXPECT_EQ(gps_unit.cursor, 4);
    EXPECT_STREQ(gps_unit.identifier, "KLAX");
    const char* after[] = {"KLAY", "KLAZ", "KLA ", "KLA0"};
    for (const char* want : after) {
        PANEL_gps(1);
        EXPECT_STREQ(gps_unit.identifier, want);
    }
    PANEL_gps(-1);
    PANEL_gps(-1);
    EXPECT_STREQ(gps_unit.identifier, "KLAZ");
    // Spelled past the end of a short identifier, the gap becomes blanks.
    PANEL_gps(12);
    PANEL_gps(1);
    EXPECT_STREQ(gps_unit.identifier, "AB 0");
    // A kind change keeps the cursor: on the fifth character of a fix, an
    // airport goes on spelling it; right wraps to 0.
    gps_unit.cursor = 0;
    PANEL_gps(13);
    PANEL_gps(-2);
    PANEL_gps(10);
    EXPECT_EQ(gps_unit.cursor, 5);
    PANEL_gps(2);
    EXPECT_EQ(gps_unit.cursor, 0);
}

TEST_F(Gps, ShownValues)
{
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    sim_cockpit_radios.gps_dme_dist_m = 12.5f;
    g.course = 5.0f;
    sim_flightmodel_position.magnetic_variation = -15.0f;
    sim_cockpit_radios.gps_hdef_dot = 10.0f;
    flt[0].groundspeed = 0.0f;
    g.destination_type = 1, g.destination_index = 0;
    auto t = texts(111);
    EXPECT_EQ(t.at(6), "KLAX350DEG0012.5NM");
    EXPECT_EQ(t.at(-4), "0000KT750MIN");
    EXPECT_EQ(t.at(-14), "||o|");   // the pointer at the right end mark
    // The pointer moves 5 units a dot: 2 dots right of centre is 10 units.
    auto pointer_x = [] {
        font_glyph_place g;
        EXPECT_TRUE(FONT_glyph_place(111, 'o', g));
        for (const fb_rect& r : capture_rects(PANEL_update))
            if (std::fabs(r.tx1 - g.tx) < 0.01f && std::fabs(r.ty1 - g.ty) < 0.01f) return r.x1;
        return -1000.0f;
    };
    sim_cockpit_radios.gps_hdef_dot = 0.0f;
    const float centre = pointer_x();
    sim_cockpit_radios.gps_hdef_dot = 2.0f;
    EXPECT_NEAR(pointer_x() - centre, 10.0f, 0.01f);
    sim_cockpit_radios.gps_hdef_dot = 10.0f;
    sim_cockpit_radios.gps_dme_dist_m = 100.0f;
    g.course = 375.0f;
    t = texts(111);
    EXPECT_EQ(t.at(-4), "0000KT999MIN");
    // Time to go takes the distance as stored, beyond the shown 9999.
    sim_cockpit_radios.gps_dme_dist_m = 20000.0f;
    flt[0].groundspeed = 2000.0f / 1.943844f;
    EXPECT_EQ(texts(111).at(-4), "2000KT600MIN");
    sim_cockpit_radios.gps_dme_dist_m = 100.0f, flt[0].groundspeed = 0.0f;
    EXPECT_EQ(t.at(6).substr(4, 3), "360");
    only(232, 2.0f);   // the texts keep their offsets at any scale
    EXPECT_EQ(texts(111).at(6).substr(0, 4), "KLAX");
    only(234);   // no deviation bar
    EXPECT_EQ(texts(114).count(-13), 0u);
    sim_flightmodel_position.magnetic_variation = 0.0f;
}

TEST_F(Gps, EmptyTablesAndStrayIndices)
{
    NAV_clear_tables();
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    g.airport_index = g.vor_index = g.ndb_index = g.fix_index = -1;
    for (int code : {10, 1, -1, 11, 1, 12, -1, 13, 1, 3, 2, 1, -2, -1}) PANEL_gps(code);
    EXPECT_EQ(g.destination_index, -1);
    g.destination_type = 1, g.destination_index = 123456;
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    for (int c = 0; c < 6; ++c) {
        gps_unit.cursor = c;
        PANEL_update();
    }
    g.destination_type = -77;
    PANEL_gps(1);
    PANEL_gps(3);
    EXPECT_EQ(g.destination_type, 1);
    EXPECT_EQ(gps_unit.name[0], 0);
}

}  // namespace
