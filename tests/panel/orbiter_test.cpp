// The orbiter displays: the entry range scale and pages, the approach path's
// passed points and steering, the energy and roll guidance, and the
// destination choices that have no runway to offer.
#include "tests/panel/stack_fixture.h"

#include "core/geo.h"
#include "core/units.h"
#include "panel/orbiter/orbiter.h"
#include "world/navdb.h"

namespace {

class Orbiter : public StackTest {
protected:
    void SetUp() override
    {
        StackTest::SetUp();
        NAV_clear_tables();
        airport_record a{};
        a.kind = 1;
        std::strcpy(a.id, "KEDW");
        a.elevation = 700.0f;
        for (int k = 0; k < 7; ++k) {
            runway_record r{};
            r.lat = 1.0f, r.lon = 1.5f + 0.01f * k;
            r.heading = k == 6 ? 0.0f : 90.0f;   // the seventh runway runs north
            r.length = 4000.0f;
            a.runways.push_back(r);
        }
        airport_table.push_back(a);
        sim_cockpit_gps.destination_type = 1;
        sim_cockpit_gps.destination_index = 0;
        sim_time.total_flight_time_sec = 100.0f;
        sim_flightmodel_position.magnetic_variation = 0.0f;
    }
    void TearDown() override
    {
        NAV_clear_tables();
        StackTest::TearDown();
    }
    // The seventh runway's threshold in local metres.
    static void threshold(float& x, float& z)
    {
        const runway_record& r = airport_table[0].runways[6];
        float y;
        GEO_latlon_to_local(x, y, z, r.lat, r.lon, 700.0);
        z += 2000.0f;   // half the length back from the centre, heading north
    }
};

TEST_F(Orbiter, RangeScaleAndEntryPages)
{
    orbiter.orbiter_page = 3;
    EXPECT_NEAR(READOUT_range_scale(166.0f), -47.0f, 1e-3f);
    EXPECT_NEAR(READOUT_range_scale(378.0f), 91.0f, 1e-3f);
    orbiter.orbiter_page = 6;
    EXPECT_NEAR(READOUT_range_scale(2.0f), -47.0f, 1e-3f);   // below the lower bound: held, not NaN
    orbiter.orbiter_page = 7;
    EXPECT_EQ(READOUT_range_scale(100.0f), 0.0f);
    // A quarter of each page's span from its lower bound: 138 x 0.25^p - 47
    // with p 0.5, 0.67 and 0.75 for the three page groups.
    const struct { int page; float range, x; } quarter[] = {
        {0, 2088.25f, 22.0f}, {3, 219.0f, 7.5129f}, {5, 27.0f, 1.7904f},
    };
    for (const auto& q : quarter) {
        orbiter.orbiter_page = q.page;
        EXPECT_NEAR(READOUT_range_scale(q.range), q.x, 0.01f) << q.page;
    }

    only(190);
    orbiter.orbiter_range_to_go = 1100.0f;
    PANEL_update();
    EXPECT_EQ(orbiter.orbiter_page, 0);
    EXPECT_NEAR(READOUT_range_scale(1100.0f), -47.0f, 1e-3f);
    EXPECT_NEAR(READOUT_range_scale(5053.0f), 91.0f, 1e-3f);
    orbiter.orbiter_range_to_go = 1099.9f;
    const auto t = texts(110);
    EXPECT_EQ(orbiter.orbiter_page, 1);
    EXPECT_EQ(t.at(-3), "591NM1100NM");
    EXPECT_EQ(t.at(-111), "ET1ET2ET3ET4ET5VS1VS2");
    // A changed page fills the trail with the current point and records it at once.
    EXPECT_EQ(orbiter.trail_index, 2);   // the ring index runs on over the change
    EXPECT_EQ(orbiter.trail_x[1], orbiter.trail_x[5]);
}

TEST_F(Orbiter, PassingTheFinalApproachPointSteersToTheThreshold)
{
    only(189);
    float tx, tz;
    threshold(tx, tz);
    flt[0].local_x = tx - 0.5f * 1852.0f;      // half a mile west of P3, 7 miles short
    flt[0].local_z = tz + 7.0f * 1852.0f;
    sim_time.total_flight_time_sec = 0.5f;      // a new flight clears the flags
    orbiter.orbiter_passed[0] = 1;
    PANEL_update();
    EXPECT_EQ(orbiter.orbiter_passed[0], 1);    // within 1 nm of P3: all three passed
    sim_time.total_flight_time_sec = 100.0f;
    orbiter = orbiter_state{};
    PANEL_update();
    EXPECT_EQ(orbiter.orbiter_passed[0] + orbiter.orbiter_passed[1] + orbiter.orbiter_passed[2], 3);
    const float bearing = std::atan2(tx - flt[0].local_x, -(tz - flt[0].local_z)) * 57.29578f;
    EXPECT_NEAR(sim_cockpit_autopilot.heading_mag, bearing, 0.05f);
    EXPECT_NEAR(orbiter.orbiter_range_to_go, std::hypot(0.5f, 7.0f), 0.01f);
    EXPECT_TRUE(texts(110).at(-103).starts_with("G-Load: 0.0"));   // the passed marks stand beside it

    // Far out, nothing passed: the range is the path's length in whole miles.
    flt[0].local_z = tz + 40.0f * 1852.0f;
    flt[0].local_x = tx;
    orbiter = orbiter_state{};
    PANEL_update();
    EXPECT_EQ(orbiter.orbiter_passed[0] + orbiter.orbiter_passed[1] + orbiter.orbiter_passed[2], 0);
    // The runway runs north: P3 7 nm south of the threshold, the turn circle's
    // centre 2.3 nm east of P3, P1 4.6 nm east, P2 2.3 nm east and 9.3 nm south.
    // From 40 nm south: hypot(4.6, 33) = 33.32, + 7 -> 40, + 3.25 -> 43, + 3.25 -> 46.
    EXPECT_EQ(orbiter.orbiter_range_to_go, 46.0f);
    EXPECT_EQ(orbiter.orbiter_range_to_go, std::trunc(orbiter.orbiter_range_to_go));
}

TEST_F(Orbiter, EnergyAndRollGuidance)
{
    only(190);
    orbiter.orbiter_range_to_go = 30.0f;   // VS1
    flt[0].groundspeed = 0.0f;
    flt[0].local_y = -1.0e5f;
    EXPECT_EQ(texts(110).at(-93), ">-lo");
    flt[0].local_y = 1.0e5f;
    EXPECT_EQ(texts(110).at(-13), ">-hi");

    orbiter.orbiter_range_to_go = 2000.0f;   // ET1
    const struct { float course; int state; } steps[] = {{91, 0}, {93, 2}, {90, 2}, {88, 2}, {87.9f, 0}};
    for (const auto& s : steps) {
        sim_cockpit_gps.course = s.course;
        PANEL_update();
        EXPECT_EQ(orbiter.reversal, s.state) << s.course;
    }
    sim_cockpit_gps.course = 120.0f;
    EXPECT_EQ(texts(110).at(45), "dest: 30right");
    sim_cockpit_gps.course = 90.0f;
    EXPECT_EQ(texts(110).at(45), "dest: 00left");
}

TEST_F(Orbiter, AngleOfAttackMarksFollowTheEntryProfile)
{
    only(190);
    orbiter.orbiter_range_to_go = 2000.0f;   // ET1
    flt[0].alpha = 0.0f;                      // the current alpha and deceleration marks sit at 0
    flt[0].g_axil = 0.0f;
    // The scale puts a value a at y = a x 3.5 - 98; the marks above its foot are the profile's.
    auto mark_y = [](char c) {
        float y = -999.0f;
        for (const fb_rect& r : capture_rects(PANEL_update))
            if (glyph_of(110, r) == c && r.y1 - Y + 2.0f > -97.0f) y = r.y1 - Y + 2.0f;
        return y;
    };
    const struct { float fps, nominal, upper; } rows[] = {
        {1000, 20.5f, 8.16793f}, {6020, 26.0f, 24.90626f}, {12000, 33.0f, 37.6709f}, {14500, 33.0f, 40},
        {18000, 23.57143f, 40},  {23000, 9.16667f, 40},     {25500, 5.25f, 40},       {27000, 5.0f, 40},
    };
    for (const auto& r : rows) {
        flt[0].groundspeed = r.fps / UNIT.mtrs_to_ft;
        EXPECT_NEAR(mark_y('<'), r.nominal * 3.5f - 98.0f, 1.0f) << r.fps;
        EXPECT_NEAR(mark_y('>'), r.upper * 3.5f - 98.0f, 1.0f) << r.fps;
    }
}

TEST_F(Orbiter, DestinationsWithoutARunway)
{
    only(189);
    // An airport with fewer than seven runways uses its first.
    airport_table[0].runways.resize(1);
    PANEL_update();
    EXPECT_GT(orbiter.orbiter_range_to_go, 0.0f);
    // A navaid is its own target, on the GPS course; a fix or no runway: title only.
    navaid_table.push_back(navaid_record{3, 1.0f, 1.5f, 300.0f, 11000, 0, "EDW", "", 0});
    sim_cockpit_gps.destination_type = 3;
    orbiter = orbiter_state{};
    PANEL_update();
    EXPECT_GT(orbiter.orbiter_range_to_go, 0.0f);
    sim_cockpit_gps.destination_type = 11;
    orbiter = orbiter_state{};
    EXPECT_EQ(texts(110).size(), 1u);
    sim_cockpit_gps.destination_type = 1;
    airport_table[0].runways.clear();
    EXPECT_EQ(texts(110).size(), 1u);
    EXPECT_EQ(orbiter.orbiter_range_to_go, 0.0f);
    // The entry display needs only an airport at the destination index.
    only(190);
    EXPECT_FALSE(texts(110).empty());
    sim_cockpit_gps.destination_index = static_cast<int32_t>(airport_table.size());
    EXPECT_TRUE(texts(110).empty());
}

}  // namespace
