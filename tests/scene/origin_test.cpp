// The loaded block follows the user: one-degree steps near its edges, a jump
// far off, one rebuild when the near world comes back into view.
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
    // A jump next to it keeps the corner on this side of the line too.
    EXPECT_TRUE(recenter(41.0f, -179.9f));
    EXPECT_EQ(lon_ref, 179.0f);
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
    // The plane at (41.0, -74.1): the block steps west and the scene build
    // carries the plane over into the new frame.
    const int p = SCENE_planet();
    float x, y, z;
    GEO_latlon_to_local(x, y, z, 41.0, -74.1, 1000.0);
    flt[0].local_x = x, flt[0].local_y = y, flt[0].local_z = z;
    flt[0].local_x_d = x, flt[0].local_y_d = y, flt[0].local_z_d = z;
    const auto where = [p] {
        return GEO_local_to_latlon_about(lat_ref + reference_lat_offset[p], lon_ref + reference_lon_offset[p],
                                         flt[0].local_x, flt[0].local_y, flt[0].local_z);
    };
    const geo_point before = where();
    ASSERT_TRUE(recenter(41.0f, -74.1f));
    ASSERT_EQ(lon_ref, -76.0f);
    const geo_point after = where();
    const double m_per_deg = sim_physics.earth_radius_m * DEG_TO_RAD_DOUBLE;
    EXPECT_LT(std::fabs(after.lat - before.lat) * m_per_deg, 0.01);
    EXPECT_LT(std::fabs(after.lon - before.lon) * m_per_deg * std::cos(41.0 * DEG_TO_RAD_DOUBLE), 0.01);
    EXPECT_NEAR(after.elev, 1000.0, 0.01);
}
