// The loaded block follows the user: one-degree steps near its edges, a jump
// far off, one rebuild when the near world comes back into view.
#include "core/numeric.h"
#include "tests/scene/scene_fixture.h"

namespace {

class Origin : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        lat_ref = 40.0f;
        lon_ref = -75.0f;
        scene_world_visible = 1;
    }

    // Re-centres on (lat, lon); true when the scene was rebuilt (the build
    // lists the area's airports afresh, so a made-up list count is replaced).
    static bool recenter(float lat, float lon)
    {
        local_airport_last = -7;
        SCENE_recenter_origin(lat, lon);
        return local_airport_last != -7;
    }
};

}  // namespace

TEST_F(Origin, StepsNearTheEdgesJumpsWhenFarOff)
{
    struct case_row {
        float lat, lon;
        float lat_ref, lon_ref;
        bool rebuilt;
    } rows[] = {
        {41.0f, -73.5f, 40.0f, -75.0f, false},   // in the middle
        {41.0f, -74.1f, 40.0f, -76.0f, true},    // 0.9 degree east of the corner: one west
        {42.6f, -73.0f, 42.0f, -75.0f, true},    // past the far window: centred, -74.5 rounds away from zero
        {41.6f, -74.1f, 40.0f, -76.0f, true},    // both limits: the longitude first
        {40.2f, -73.5f, 39.0f, -75.0f, true},    // 0.2 north of the corner: one south
        {41.9f, -73.5f, 41.0f, -75.0f, true},    // 1.9 north: one north
        {NAN, -73.5f, 40.0f, -75.0f, false},     // no position, no move
        // Just inside the far window (one degree past the margins) a step, not a jump:
        {42.5f, -73.5f, 41.0f, -75.0f, true},    // dlat 2.5 <= 2.525: one north (centred would be 42)
        {39.48f, -73.5f, 39.0f, -75.0f, true},   // dlat -0.52 >= -0.525: one south (centred, 38)
        {41.0f, -71.96f, 40.0f, -74.0f, true},   // dlon 3.04 <= 3.05: one east (centred, -73)
        {41.0f, -75.04f, 40.0f, -76.0f, true},   // dlon -0.04 >= -0.05: one west (centred, -77)
        {41.0f, -71.94f, 40.0f, -73.0f, true},   // dlon 3.06 > 3.05: centred (-73.44 rounds to -73)
    };
    for (const case_row& r : rows) {
        lat_ref = 40.0f, lon_ref = -75.0f;
        EXPECT_EQ(recenter(r.lat, r.lon), r.rebuilt) << r.lat << ", " << r.lon;
        EXPECT_EQ(lat_ref, r.lat_ref) << r.lat << ", " << r.lon;
        EXPECT_EQ(lon_ref, r.lon_ref) << r.lat << ", " << r.lon;
    }

    // Stepping east across the date line: 181 is -179.
    lat_ref = 40.0f, lon_ref = 180.0f;
    EXPECT_TRUE(recenter(41.0f, -177.5f));
    EXPECT_EQ(lon_ref, -179.0f);
    // A jump takes the whole degree as it comes (-181.4 gives -181); only a
    // one-degree step is brought back into -180..180.
    EXPECT_TRUE(recenter(41.0f, -179.9f));
    EXPECT_EQ(lon_ref, -181.0f);
}

TEST_F(Origin, ComingBackBelowTheNearWorldHeightRebuildsOnce)
{
    EXPECT_FALSE(recenter(41.0f, -73.5f));   // notes the corner (40, -75)
    scene_world_visible = 0;                 // far up: the block jumps without the near world in view
    EXPECT_TRUE(recenter(50.0f, -60.0f));
    EXPECT_EQ(lat_ref, 49.0f);
    EXPECT_EQ(lon_ref, -62.0f);              // -61.5 away from zero
    EXPECT_FALSE(recenter(50.0f, -60.5f));

    scene_world_visible = 1;
    EXPECT_TRUE(recenter(50.0f, -60.5f));    // back down: the noted corner was (40, -75)
    EXPECT_EQ(lat_ref, 49.0f);
    EXPECT_EQ(lon_ref, -62.0f);
    EXPECT_FALSE(recenter(50.0f, -60.5f));
}

TEST_F(Origin, AOneDegreeStepKeepsThePlaneWhereItIs)
{
    // From the corner (40, -75) each step moves the block one degree and the
    // scene build carries the plane over into the new frame, so it stays at
    // the same latitude and longitude: a step named the wrong way would move
    // the plane by two degrees.
    struct step_row {
        double lat, lon;
        float lat_ref, lon_ref;
    } rows[] = {
        {41.0, -74.1, 40.0f, -76.0f},   // dlon 0.9 < 0.95: west
        {41.0, -72.9, 40.0f, -74.0f},   // dlon 2.1 > 2.05: east
        {41.6, -73.5, 41.0f, -75.0f},   // dlat 1.6 > 1.525: north
        {40.4, -73.5, 39.0f, -75.0f},   // dlat 0.4 < 0.475: south
    };
    const int p = WORLD_planet();
    const auto where = [p] {
        return GEO_local_to_latlon_about(lat_ref + reference_lat_offset[p], lon_ref + reference_lon_offset[p],
                                         flt[0].local_x, flt[0].local_y, flt[0].local_z);
    };
    const double m_per_deg = sim_physics.earth_radius_m * DEG_TO_RAD_DOUBLE;
    for (const step_row& r : rows) {
        lat_ref = 40.0f, lon_ref = -75.0f;
        float x, y, z;
        GEO_latlon_to_local(x, y, z, r.lat, r.lon, 1000.0);
        flt[0].local_x = x, flt[0].local_y = y, flt[0].local_z = z;
        flt[0].local_x_d = x, flt[0].local_y_d = y, flt[0].local_z_d = z;
        const geo_point before = where();
        ASSERT_TRUE(recenter(static_cast<float>(r.lat), static_cast<float>(r.lon))) << r.lat << ", " << r.lon;
        EXPECT_EQ(lat_ref, r.lat_ref) << r.lat << ", " << r.lon;
        EXPECT_EQ(lon_ref, r.lon_ref) << r.lat << ", " << r.lon;
        const geo_point after = where();
        EXPECT_LT(std::fabs(after.lat - before.lat) * m_per_deg, 0.01) << r.lat << ", " << r.lon;
        EXPECT_LT(std::fabs(after.lon - before.lon) * m_per_deg * std::cos(r.lat * DEG_TO_RAD_DOUBLE), 0.01)
            << r.lat << ", " << r.lon;
        EXPECT_NEAR(after.elev, 1000.0, 0.01) << r.lat << ", " << r.lon;
    }
}

// Near a pole a degree of longitude is a few hundred metres or less: a
// plane circling beside the pole, or flying across it, keeps the block
// centred on the pole instead of moving it at every degree it passes (it
// rebuilt the scene 23 times in 40 s). A step south from the block whose
// centre is a degree short of the South Pole gives the block centred on it,
// not the one at the North Pole.
TEST_F(Origin, NearAPoleTheBlockMovesByDistanceNotByDegrees)
{
    lat_ref = -90.0f, lon_ref = 28.0f;
    EXPECT_TRUE(recenter(-89.6f, 29.5f));
    EXPECT_EQ(lat_ref, -91.0f);
    EXPECT_EQ(lon_ref, 28.0f);
    lat_ref = 88.0f, lon_ref = 28.0f;
    EXPECT_TRUE(recenter(89.6f, 29.5f));
    EXPECT_EQ(lat_ref, 89.0f);

    // Positions along a path about a pole, every 0.05 s at 60 m/s for 40 s:
    // a circle of 5.5 km about the South Pole, a straight line across the North Pole.
    struct path_row {
        double pole;
        bool circle;
    } rows[] = {{-90.0, true}, {90.0, false}};
    for (const path_row& r : rows) {
        auto at = [&](double t) {
            const double x = r.circle ? 5500.0 * std::cos(60.0 * t / 5500.0) : 60.0 * t - 1200.0;
            const double z = r.circle ? 5500.0 * std::sin(60.0 * t / 5500.0) : 300.0;
            return GEO_local_to_latlon_about(r.pole, -17.0, x, 0.0, z);
        };
        const geo_point start = at(0.0);
        recenter(static_cast<float>(start.lat), static_cast<float>(start.lon));
        int rebuilds = 0;
        for (double t = 0.05; t <= 40.0; t += 0.05) {
            const geo_point p = at(t);
            rebuilds += recenter(static_cast<float>(p.lat), static_cast<float>(UTIL_wrap_pm180(p.lon))) ? 1 : 0;
        }
        EXPECT_EQ(rebuilds, 0) << r.pole;
        EXPECT_EQ(lat_ref, r.pole < 0.0 ? -91.0f : 89.0f) << r.pole;
    }

    // Far from the centre east or west, beyond the window the block has at
    // 60 degrees: one move onto the plane.
    lat_ref = 79.0f, lon_ref = -1.0f;   // centred at (80, 0.5)
    EXPECT_FALSE(recenter(80.0f, 1.6f));   // 21 km east
    EXPECT_TRUE(recenter(80.0f, 2.6f));    // 40 km east
    EXPECT_EQ(lon_ref, 1.0f);
    EXPECT_EQ(lat_ref, 79.0f);
}

TEST_F(Origin, MarsHasItsOwnBlockAndMargins)
{
    // Mars: a 5 x 6 degree block, margins 1.9 and 2.375, centre 2.5 and 3.0
    // degrees from the corner.
    PLANET_set_constants(PLANET_MARS);
    sim_graphics_scenery.current_planet = PLANET_MARS;
    struct case_row {
        float lat, lon;
        float lat_ref, lon_ref;
        bool rebuilt;
    } rows[] = {
        {2.5f, 3.0f, 0.0f, 0.0f, false},    // the middle
        {1.95f, 2.45f, 0.0f, 0.0f, false},  // just inside the south-west margins
        {3.05f, 3.55f, 0.0f, 0.0f, false},  // just inside the north-east margins
        {2.0f, 2.0f, 0.0f, -1.0f, true},    // dlon 2.0 < 2.375: west
        {2.0f, 3.7f, 0.0f, 1.0f, true},     // dlon 3.7 > 3.625: east
        {1.8f, 3.0f, -1.0f, 0.0f, true},    // dlat 1.8 < 1.9: south
        {3.2f, 3.0f, 1.0f, 0.0f, true},     // dlat 3.2 > 3.1: north
        {4.2f, 3.0f, 2.0f, 0.0f, true},     // dlat 4.2 > 4.1: centred, 1.7 rounds to 2
        {2.5f, 1.2f, 0.0f, -2.0f, true},    // dlon 1.2 < 1.375: centred, -1.8 rounds to -2
    };
    for (const case_row& r : rows) {
        lat_ref = 0.0f, lon_ref = 0.0f;
        EXPECT_EQ(recenter(r.lat, r.lon), r.rebuilt) << r.lat << ", " << r.lon;
        EXPECT_EQ(lat_ref, r.lat_ref) << r.lat << ", " << r.lon;
        EXPECT_EQ(lon_ref, r.lon_ref) << r.lat << ", " << r.lon;
    }
}
