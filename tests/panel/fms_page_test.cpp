// The flight-management page worked by scripted clicks on its keys: a
// latitude/longitude entry typed on the keypad, the destination moved on as
// the aircraft passes it, the time en route held at 99 h 59 min, the
// distance to an entry before the destination, and texts from a plan file
// that cannot reach outside their fields or tables.
#include "tests/panel/panel_fixture.h"

#include <cstring>

#include "core/constants.h"
#include "core/geo.h"
#include "flightmodel/systems/flight_plan.h"
#include "panel/glass/glass.h"
#include "panel/radios/radios.h"
#include "world/navdb.h"

namespace {

class FmsPage : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        panel_at(512.0f, 384.0f);
        fms_plan = fms_plan_record{};
        NAV_clear_tables();
        sim_cockpit_gps = sim_cockpit_gps_block{};
        sim_cockpit_autopilot = sim_cockpit_autopilot_block{};
        lat_ref = 34.0f, lon_ref = -118.0f;
        sim_physics.earth_radius_m = 6378145.0f;
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        for (int& t : interval_ticks) t = 0;
    }
    void TearDown() override
    {
        NAV_clear_tables();
        PanelTest::TearDown();
    }
    // One frame of the page (type 374, scale 1) with a click at (x, y), or none.
    static std::vector<fb_prim> frame(float x = 1e6f, float y = 1e6f)
    {
        mouse.mouse_x = 512.0f + x, mouse.mouse_y = 384.0f + y;
        mouse.mouse_down = mouse.mouse_held = x < 1e5f ? 1 : 0;
        auto prims = in_slot(374, 1.0f, [] { PANEL_fms_page(); });
        mouse = mouse_record{};
        return prims;
    }
    // A keypad key by column and row.
    static void key(int c, int r) { frame(17.0f * c - 60.0f, -26.0f - 15.0f * r); }
    static void digit(char d)
    {
        static const int place[10][2] = {{1, 3}, {0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
        key(place[d - '0'][0], place[d - '0'][1]);
    }
    static std::vector<std::string> lines(const std::vector<fb_prim>& prims) { return text_lines(114, rects_of(prims)); }
    static bool shows(const std::vector<fb_prim>& prims, const std::string& text)
    {
        for (const std::string& l : lines(prims))
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
};

TEST_F(FmsPage, LatitudeLongitudeTypedOnTheKeypad)
{
    frame(36.0f, -6.0f);   // the latitude/longitude type key
    for (char d : std::string("12345123456")) digit(d);
    const fms_entry& e = fms_plan.entries[0];
    EXPECT_EQ(e.type, 13);
    EXPECT_STREQ(e.id, "+23.45 +234.56");
    EXPECT_NEAR(e.latitude, 23.45f, 1e-4f);
    EXPECT_NEAR(e.longitude, 234.56f, 1e-4f);
    const auto prims = frame();
    EXPECT_TRUE(shows(prims, "+23.45")) << ::testing::PrintToString(lines(prims));
    EXPECT_TRUE(shows(prims, "+234.56"));
    EXPECT_TRUE(shows(prims, "L/L"));
    // Entry 0 is the GPS destination.
    EXPECT_EQ(sim_cockpit_gps.destination_type, 13);
}

TEST_F(FmsPage, PassingTheDestinationMovesItOn)
{
    // The aircraft at the area's centre heading north; entry 0 about 450 m
    // behind it, entry 1 an NDB with an altitude.
    navaid_record ndb{};
    ndb.kind = 2, ndb.lat = 36.0f, ndb.lon = -116.0f;
    std::strcpy(ndb.id, "ABC");
    navaid_table.push_back(ndb);
    flt[0].latitude = 35.0f, flt[0].longitude = -116.5f;
    flt[0].local_x = flt[0].local_z = 0.0f;
    flt[0].psi = 0.0f;
    fms_entry& e0 = fms_plan.entries[0];
    e0.type = 11, e0.latitude = 34.996f, e0.longitude = -116.5f;
    fms_entry& e1 = fms_plan.entries[1];
    e1.type = 2, e1.reference = 0, e1.latitude = 36.0f, e1.longitude = -116.0f;
    std::strcpy(e1.id, "ABC");
    std::strcpy(e1.altitude, "12000");

    // Ahead of the nose, or 85 degrees off it, nothing moves.
    for (float psi : {180.0f, 95.0f, -95.0f}) {
        flt[0].psi = psi;
        FMS_route_pass();
        EXPECT_EQ(fms_plan.destination_index, 0) << psi;
    }
    flt[0].psi = 0.0f;
    FMS_route_pass();
    EXPECT_EQ(fms_plan.destination_index, 1);
    EXPECT_EQ(sim_cockpit_gps.destination_type, 2);
    EXPECT_EQ(sim_cockpit_gps.destination_index, 0);
    EXPECT_EQ(sim_cockpit_gps.ndb_index, 0);
    EXPECT_STREQ(gps_unit.identifier, "ABC");
    EXPECT_EQ(sim_cockpit_autopilot.altitude, 12000.0f);
    EXPECT_EQ(sim_cockpit_autopilot.current_altitude, 12000.0f);
    // The page follows the new destination.
    frame();
    EXPECT_EQ(fms_plan.displayed_index, 1);

    // On Mars the area's centre lies 2.5 degrees north and 3 east of the
    // reference: an entry 0.004 degrees south of it is just behind the aircraft.
    sim_graphics_scenery.current_planet = PLANET_MARS;
    fms_plan.destination_index = 0, fms_page.last_destination = 0;
    flt[0].latitude = 36.5f, flt[0].longitude = -115.0f;
    e0.latitude = 36.496f, e0.longitude = -115.0f;
    FMS_route_pass();
    EXPECT_EQ(fms_plan.destination_index, 1);
}

TEST_F(FmsPage, TimeEnRouteAndDistanceBeforeTheDestination)
{
    flt[0].latitude = 0.0f, flt[0].longitude = 10.0f;
    flt[0].groundspeed = 0.0f;
    for (int i = 0; i < 4; ++i) {
        fms_plan.entries[i].type = 13;
        fms_plan.entries[i].latitude = 20.0f * (i + 1);
        fms_plan.entries[i].longitude = 10.0f;
    }
    FMS_route_pass();
    EXPECT_NEAR(fms_page.distance_nm, 1200.0f, 0.5f);   // 20 degrees of latitude
    EXPECT_EQ(fms_page.hours, 99);
    EXPECT_EQ(fms_page.minutes, 59);
    // At 250 m/s: 1200 nm in 2 h 28 min.
    flt[0].groundspeed = 250.0f;
    FMS_route_pass();
    EXPECT_EQ(fms_page.hours, 2);
    EXPECT_EQ(fms_page.minutes, 28);
    // The third entry shown: 60 degrees along the route.
    fms_plan.displayed_index = 2;
    FMS_route_pass();
    EXPECT_NEAR(fms_page.distance_nm, 3600.0f, 1.0f);
    // Shown before the destination: 0.
    fms_plan.destination_index = 3, fms_page.last_destination = 3;
    fms_plan.displayed_index = 1;
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    const auto prims = frame();
    EXPECT_EQ(fms_page.distance_nm, 0.0f);
    // 00000.0 nm, 00 h 00 min (the point on its own line)
    EXPECT_TRUE(shows(prims, "DIS0000000000")) << ::testing::PrintToString(lines(prims));
    // A destination of 99 or more computes no leg.
    fms_plan.destination_index = 250, fms_plan.displayed_index = 99;
    FMS_route_pass();
    EXPECT_EQ(fms_page.distance_nm, 0.0f);
}

TEST_F(FmsPage, TextsAndReferencesFromAFileStayInside)
{
    // An unknown type, a reference outside the tables, texts without ends.
    fms_entry& e = fms_plan.entries[0];
    e.type = 77, e.reference = 123456;
    std::memset(e.id, 'Q', sizeof e.id);
    std::memset(e.altitude, '9', sizeof e.altitude);
    fms_plan.displayed_index = -40, fms_plan.destination_index = 1000;
    auto prims = frame();
    EXPECT_TRUE(shows(prims, "???"));
    fms_plan.destination_index = 0;
    e.type = 1, e.reference = -7;
    prims = frame();
    for (const std::string& l : lines(prims)) EXPECT_EQ(l.find("QQQQ", 150), std::string::npos);

    // The sign key walks the cursor to 13 while the altitude is edited: the
    // digits after it stay inside the altitude text.
    std::memset(&e, 0, sizeof e);
    e.type = 11;
    frame(-76.0f, 39.0f);   // the altitude field
    for (int k = 0; k < 12; ++k) frame(59.0f, -7.0f);
    for (int k = 0; k < 10; ++k) digit('7');
    EXPECT_EQ(e.altitude[FMS_ALTITUDE_SIZE - 1], 0);
    EXPECT_LE(std::strlen(e.altitude), 6u);
    EXPECT_LT(strnlen(e.id, FMS_ID_SIZE), static_cast<size_t>(FMS_ID_SIZE));
}

TEST_F(FmsPage, EveryKeyTypesItsCharacterAndTheTypeKeysTheirKinds)
{
    // The keypad, five rows of eight: '\1' marks the keys that do not type.
    const char* const layout[5] = {"123ABCDE", "456FGHIJ", "789KLMNO", "\1" "0\1PQRST", "\1\1UVWXYZ"};
    fms_entry& e = fms_plan.entries[0];
    e.type = 1;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 8; ++c) {
            if (layout[r][c] == '\1') continue;
            frame(-76.0f, 59.0f);   // the identifier field: cursor 0
            key(c, r);
            EXPECT_EQ(e.id[0], layout[r][c]) << "column " << c << " row " << r;
        }
    // The type keys of the second command row: airport, VOR, NDB, fix, latitude/longitude.
    const struct { float x; int type; } kinds[] = {{-56, 1}, {-33, 3}, {-10, 2}, {13, 11}, {36, 13}};
    for (const auto& k : kinds) {
        frame(k.x, -6.0f);
        EXPECT_EQ(e.type, k.type) << k.x;
    }
}

TEST_F(FmsPage, ClearAllAndTheStepKeys)
{
    fms_plan.entries[5].type = 1;
    fms_plan.entries[5].latitude = 3.0f;
    frame(-10.0f, 12.0f);   // next
    EXPECT_EQ(fms_plan.displayed_index, 1);
    frame(-33.0f, 12.0f), frame(-33.0f, 12.0f);   // previous, held at 0
    EXPECT_EQ(fms_plan.displayed_index, 0);
    frame(-56.0f, 12.0f);   // clear all
    EXPECT_EQ(fms_plan.entries[5].type, 0);
    EXPECT_EQ(fms_plan.entries[5].latitude, 0.0f);
    EXPECT_EQ(fms_plan.destination_index, 0);
    // Without avionics nothing is drawn and no key works.
    sim_cockpit_electrical.avionics_on = 0;
    EXPECT_TRUE(frame(-10.0f, 12.0f).empty());
    EXPECT_EQ(fms_plan.displayed_index, 0);
}

// The leg-start key sequences the destination past its entry on the next
// route pass, wherever the aircraft is; the cursor of a fix's identifier
// runs over five characters, that of other kinds over four.
TEST_F(FmsPage, LegStartAndTheCursorsReach)
{
    flt[0].latitude = 10.0f, flt[0].longitude = 10.0f;
    for (int i = 0; i < 3; ++i) fms_plan.entries[i].type = 13, fms_plan.entries[i].latitude = 20.0f + i;
    FMS_route_pass();
    EXPECT_EQ(fms_plan.destination_index, 0);
    frame(36.0f, 12.0f);   // leg start at the displayed entry 0
    FMS_route_pass();
    EXPECT_EQ(fms_plan.destination_index, 1);

    const struct { int type; const char* typed; const char* reads; } reach[] = {
        {11, "ABCDEF", "FBCDE"}, {3, "ABCDE", "EBCD"}, {1, "ABCDE", "EBCD"}};
    for (const auto& r : reach) {
        fms_plan = fms_plan_record{};
        fms_page.last_destination = 0;
        fms_plan.entries[0].type = r.type;
        frame(-76.0f, 59.0f);   // the identifier field: cursor 0
        for (const char* c = r.typed; *c; ++c) key(3 + (*c - 'A') % 5, (*c - 'A') / 5);
        EXPECT_EQ(std::string(fms_plan.entries[0].id, 5).c_str(), std::string(r.reads)) << r.type;
    }
}

// The small unit (type 390) keeps its keys in its own places: the second
// command row at y -10 with half size 6, the keypad 10 apart shifted by
// (-4, +1) with half size 5, the fields' spots from a base of -15.
TEST_F(FmsPage, TheSmallUnitsKeys)
{
    auto click390 = [](float x, float y) {
        mouse.mouse_x = 512.0f + x, mouse.mouse_y = 384.0f + y;
        mouse.mouse_down = mouse.mouse_held = 1;
        in_slot(390, 1.0f, [] { PANEL_fms_page(); });
        mouse = mouse_record{};
    };
    fms_entry& e = fms_plan.entries[0];
    click390(13.0f, -14.0f);   // the fix key, 4 below its row
    EXPECT_EQ(e.type, 11);
    click390(-76.0f, 46.0f);   // the identifier field
    click390(17.0f - 55.0f - 4.0f, -26.0f - 10.0f + 1.0f + 4.0f);   // '5', 4 above its centre
    click390(17.0f * 3 - 55.0f - 4.0f, -26.0f - 20.0f + 1.0f - 4.0f);   // 'K', 4 below
    EXPECT_EQ(std::string(e.id, 2), "5K");
    click390(-76.0f, 26.0f);   // the altitude field
    click390(17.0f * 2 - 55.0f - 4.0f, -26.0f + 1.0f);   // '3'
    EXPECT_EQ(std::string(e.altitude, 1), "3");
}

}   // namespace
