#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/text_util.h"

namespace {

class Geo : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_physics.earth_radius_m = 6378145.0f;
        sim_graphics_scenery.current_planet = 0;
        lat_ref = 37.0f;   // centre 38.0 N, 121.5 W
        lon_ref = -123.0f;
    }
    void TearDown() override { lat_ref = lon_ref = 0.0f; }
    static constexpr double centre_lat = 38.0, centre_lon = -121.5;
};

}  // namespace

// The centre is the origin; north is -z, east +x, and the surface curves away below.
TEST_F(Geo, AxesOfTheLocalFrameAndTheDateLine)
{
    float x, y, z;
    GEO_latlon_to_local(x, y, z, centre_lat, centre_lon, 100.0);
    EXPECT_NEAR(x, 0.0f, 1e-6f);
    EXPECT_NEAR(y, 100.0f, 1e-3f);
    EXPECT_NEAR(z, 0.0f, 1e-3f);
    GEO_latlon_to_local(x, y, z, centre_lat + 1.0, centre_lon, 0.0);
    EXPECT_NEAR(x, 0.0f, 1e-3f);
    EXPECT_NEAR(z, -111314.0f, 1.0f);   // R sin 1 deg
    EXPECT_NEAR(y, -971.4f, 1.0f);      // -R (1 - cos 1 deg)

    // 359 degrees east is one degree west.
    float x2, y2, z2;
    GEO_latlon_to_local(x, y, z, centre_lat, centre_lon + 359.0, 0.0);
    GEO_latlon_to_local(x2, y2, z2, centre_lat, centre_lon - 1.0, 0.0);
    EXPECT_LT(x, 0.0f);
    EXPECT_NEAR(x, x2, 0.05f);
    EXPECT_NEAR(z, z2, 0.05f);
}

TEST_F(Geo, RoundTripOnBothPlanets)
{
    // The frame's centre lies 1.0 N and 1.5 E of the reference corner on
    // Earth, 2.5 N and 3.0 E on Mars.
    for (auto [planet, lat, lon] : {std::tuple{0, 38.0, -121.5}, std::tuple{1, 39.5, -120.0}}) {
        sim_graphics_scenery.current_planet = planet;
        float x, y, z;
        GEO_latlon_to_local(x, y, z, lat, lon, 0.0);
        EXPECT_NEAR(std::hypot(x, y, z), 0.0f, 1e-3f) << planet;
    }

    for (int planet = 0; planet < 2; ++planet) {
        sim_graphics_scenery.current_planet = planet;
        if (planet == 1) sim_physics.earth_radius_m = 3389500.0f;
        // The last two lie across the pole and 115 degrees east of the centre.
        const double points[][3] = {{38.0, -121.5, 0.0}, {37.2, -122.9, 1500.0}, {38.9, -120.1, 10.0},
                                    {40.3, -118.0, 12000.0}, {89.5, 58.5, 100.0}, {-20.0, -6.5, 3000.0}};
        for (const auto& p : points) {
            float x, y, z, lat, lon, elev;
            GEO_latlon_to_local(x, y, z, p[0], p[1], p[2]);
            GEO_local_to_latlon(lat, lon, elev, x, y, z);
            EXPECT_NEAR(lat, p[0], 1e-4);
            EXPECT_NEAR(lon, p[1], 1e-4);
            EXPECT_NEAR(elev, p[2], 0.5);
        }
    }
    // The planet's centre has no direction; no NaN comes back.
    float lat, lon, elev;
    GEO_local_to_latlon(lat, lon, elev, 0.0, -sim_physics.earth_radius_m, 0.0);
    EXPECT_FALSE(std::isnan(lat) || std::isnan(lon));
}

TEST_F(Geo, GridConvergenceFromTheFrameCentre)
{
    // Centre longitude -121.5: a point 1 degree east at 30 N turns the grid by -0.5 degrees.
    EXPECT_NEAR(GEO_grid_convergence(30.0f, -120.5f), -0.5f, 1e-5f);
    sim_graphics_scenery.current_planet = 1;   // Mars centre -120.0
    EXPECT_NEAR(GEO_grid_convergence(30.0f, -121.0f), 0.5f, 1e-5f);
}

TEST(GeoRound, HalfAwayFromZero)
{
    // 0.49999997 is not rounded up by a float sum; NaN gives 0.
    for (auto [v, r] : {std::pair{-0.5f, -1}, {0.49f, 0}, {2.5f, 3}, {-2.5f, -3}, {0.49999997f, 0}, {NAN, 0}})
        EXPECT_EQ(GEO_round(v), r) << v;
}

TEST(GeoVectors, CrossNormalize)
{
    const float a[3] = {2, 0, 0}, b[3] = {0, 3, 0};
    float out[3];
    UTIL_cross_normalize(a, b, out);
    EXPECT_FLOAT_EQ(out[2], 1.0f);
    UTIL_cross_normalize(a, a, out);
    EXPECT_EQ(out[1], 1.0f);
}

// A circle reaches the inner side of a directed edge (where its normal
// (-dz, dx) points); steep edges compare x, shallow ones (and diagonals) z,
// the radius widens the inner side, a point on the edge is outside.
TEST(GeoEdge, ACircleInsideADirectedEdge)
{
    struct edge_case {
        float x1, z1, x2, z2, cx, cz, r;
        bool inside;
    } cases[] = {
        {0, 0, 10, 0, 5, 1, 0, true},   {0, 0, 10, 0, 5, -1, 0, false}, {0, 0, 10, 0, 5, -1, 2, true},
        {0, 0, 10, 0, 5, 0, 0, false},  // on the edge
        {0, 0, 0, 10, -1, 5, 0, true},  {0, 0, 0, 10, 1, 5, 0, false},  {0, 0, 0, 10, 1, 5, 2, true},
        {0, 0, 10, 10, 5, 6, 0, true},
        {0, 0, 10, 10, 5, 4, 0, false}, {10, 0, 0, 0, 5, -1, 0, true},  {0, 10, 0, 0, 1, 5, 0, true},
        {0, 10, 0, 0, -1, 5, 0, false}, {0, 10, 0, 0, -1, 5, 2, true},   // steep, running back: the radius widens to -x
        {10, 0, 0, 0, 5, 1, 0, false},  {10, 0, 0, 0, 5, 1, 2, true},    // shallow, running back: the radius widens to +z
        {0, 0, 0, 10, 0, 5, 0, false},  {0, 10, 0, 0, 0, 5, 0, false},   // on a steep edge, either way
        {3, 3, 3, 3, 3, 3, 100, false},  // an edge of no length
    };
    for (const edge_case& c : cases)
        EXPECT_EQ(GEO_circle_inside_edge(c.x1, c.z1, c.x2, c.z2, c.cx, c.cz, c.r), c.inside)
            << c.x1 << "," << c.z1 << " -> " << c.x2 << "," << c.z2 << " at " << c.cx << "," << c.cz << " r " << c.r;
}
