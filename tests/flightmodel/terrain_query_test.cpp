// The terrain height query on grids made here: a deformed lattice checked
// against a search of every triangle near each point, the tolerance and
// border rules, the surface extras and the loaded-area test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/ground/terrain_query.h"
#include "world/ships.h"
#include "tests/support/terrain_support.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

constexpr int NI = 450, NJ = 400;
constexpr float CELL = 100.0f;

terrain_vertex& P(int i, int j) { return terrain_vertex_grid[i * TERRAIN_GRID_COLS + j]; }

float query(float x, float z, int& i, int& j) { return TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &i, &j, 0, "test"); }

float query(float x, float z)
{
    int i = 0, j = 0;
    return query(x, z, i, j);
}

class Terrain : public ::testing::Test {
protected:
    void SetUp() override
    {
        kept_area_ = scenery_area;
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        TEST_lay_flat_grid(0.0f);
    }
    // The deck, the ships' drift and turns and the loaded area these tests
    // set do not carry over into the tests after them.
    void TearDown() override
    {
        TEST_lay_flat_grid(0.0f);
        for (int k = 0; k < SEA_OBJECT_SLOTS; ++k)
            ship_vx[k] = ship_vz[k] = ship_turn_rate[k] = ship_pitch_rate[k] = ship_roll_rate[k] = 0.0f;
        scenery_area = kept_area_;
    }

private:
    scenery_area_record kept_area_{};
};

// The deformed test grid: each point pushed up to 30 m off the lattice and
// given a height with a per-point jitter, so neighbouring triangles all lie
// in different planes.
void lay_deformed_grid()
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> jitter(-1.0f, 1.0f);
    TEST_lay_flat_grid(0.0f);
    for (int i = 0; i <= NI; ++i)
        for (int j = 0; j <= NJ; ++j) {
            terrain_vertex& v = P(i, j);
            v.x += 30.0f * std::sin(0.37f * j + 0.11f * i) + 5.0f * jitter(rng);
            v.z += 30.0f * std::cos(0.23f * i - 0.05f * j) + 5.0f * jitter(rng);
            v.y = 40.0f * std::sin(v.x / 700.0f) + 25.0f * std::cos(v.z / 900.0f) + 8.0f * jitter(rng);
        }
}

// The exact containing triangle of (x, z) among the cells near its nominal
// cell, and whether the point keeps at least `margin` from its edges.
struct exact_hit {
    bool found = false;
    double height = 0.0;
    double edge_distance = 0.0;
};

exact_hit brute_force(double x, double z)
{
    exact_hit best;
    const int ci = static_cast<int>(std::floor(x / CELL + 200.5));
    const int cj = static_cast<int>(std::floor(-z / CELL + 200.5));
    for (int i = ci - 2; i <= ci + 2; ++i)
        for (int j = cj - 2; j <= cj + 2; ++j) {
            if (i < 0 || j < 0 || i >= NI || j >= NJ) continue;
            const terrain_vertex* tris[2][3] = {{&P(i, j), &P(i, j + 1), &P(i + 1, j)},
                                                {&P(i + 1, j + 1), &P(i, j + 1), &P(i + 1, j)}};
            for (auto& t : tris) {
                double dmin = 1e30;
                int sign = 0;
                bool inside = true;
                for (int e = 0; e < 3; ++e) {
                    const terrain_vertex& a = *t[e];
                    const terrain_vertex& b = *t[(e + 1) % 3];
                    const double ex = b.x - a.x, ez = b.z - a.z;
                    const double cross = ex * (z - a.z) - ez * (x - a.x);
                    const int s = cross > 0 ? 1 : -1;
                    if (sign == 0) sign = s;
                    if (s != sign) inside = false;
                    dmin = std::min(dmin, std::fabs(cross) / std::sqrt(ex * ex + ez * ez));
                }
                if (!inside) continue;
                // The plane through the three points.
                const terrain_vertex &p0 = *t[0], &p1 = *t[1], &p2 = *t[2];
                const double ux = p1.x - p0.x, uy = p1.y - p0.y, uz = p1.z - p0.z;
                const double vx = p2.x - p0.x, vy = p2.y - p0.y, vz = p2.z - p0.z;
                const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
                best.found = true;
                best.height = p0.y - (nx * (x - p0.x) + nz * (z - p0.z)) / ny;
                best.edge_distance = dmin;
            }
        }
    return best;
}

}  // namespace

TEST_F(Terrain, DeformedGridGivesTheHeightOfTheTriangleUnderEveryPoint)
{
    lay_deformed_grid();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> ux(scenery_area.x0 + 300.0f, scenery_area.x1 - 300.0f);
    std::uniform_real_distribution<float> uz(scenery_area.z0 + 300.0f, scenery_area.z1 - 300.0f);
    int kept_i = 0, kept_j = 0;   // one caller's hint carried from point to point
    int checked = 0;
    while (checked < 10000) {
        const float x = ux(rng), z = uz(rng);
        const exact_hit truth = brute_force(x, z);
        ASSERT_TRUE(truth.found) << x << "," << z;
        if (truth.edge_distance < 1.5) continue;   // within the edge tolerance two triangles may answer
        ++checked;
        int i = 0, j = 0;
        const float cold = query(x, z, i, j);
        const float hinted = query(x, z, kept_i, kept_j);
        ASSERT_NEAR(cold, truth.height, 0.02) << "cold " << x << "," << z;
        ASSERT_NEAR(hinted, truth.height, 0.02) << "hinted " << x << "," << z;
        EXPECT_TRUE(kept_i == i && kept_j == j);
        // Asked again from its own cell, the point is found without a walk.
        EXPECT_NEAR(query(x, z, kept_i, kept_j), truth.height, 0.02);
    }
}

TEST_F(Terrain, TriangleRulesOfOneCell)
{
    // Cell (200, 200) spans x -50..50 and z 50..-50. Its P00 is pulled onto
    // the diagonal, so triangle A is a sliver; P00's height is unlike the rest.
    TEST_lay_grid(CELL, 200, 200, [](float x, float z) { return 0.01f * x + 0.02f * z; });
    P(200, 200).x = -1e-3f;
    P(200, 200).z = 1e-3f;
    P(200, 200).y = 77.0f;

    // On the diagonal: triangle A wins, and a sliver under 0.5 m2 gives its base vertex.
    int i = 200, j = 200;
    EXPECT_EQ(query(10.0f, 10.0f, i, j), 77.0f);
    EXPECT_EQ(query(10.0f, 10.0f), 77.0f);
    // Inside triangle B the plane of B.
    EXPECT_NEAR(query(20.0f, -20.0f), 0.01f * 20.0f + 0.02f * -20.0f, 1e-4f);

    // Half a metre outside a triangle's edge is still that triangle's: the
    // hint stays on cell (201, 200) though the point lies in cell (200, 200).
    TEST_lay_grid(CELL, 200, 200, [](float x, float z) { return 0.01f * x * x / 100.0f; });
    i = 201, j = 200;
    const float h = query(49.5f, 0.0f, i, j);
    EXPECT_EQ(i, 201);
    EXPECT_EQ(j, 200);
    // The extended plane of (201, 200)'s triangle A: through (50, 0.25), (150, 2.25).
    EXPECT_NEAR(h, 0.25f - 0.5f * 0.02f, 1e-3f);
}

TEST_F(Terrain, BeyondTheEastEdgeTheBorderTrianglesPlaneIsExtended)
{
    TEST_lay_grid(CELL, 200, 200, [](float x, float) { return x > 24000.0f ? 0.1f * (x - 24000.0f) : 0.0f; });
    const float east = scenery_area.x1;
    for (int hint : {0, 1, 300}) {
        int i = hint, j = hint;
        const float h = query(east + 500.0f, -1230.0f, i, j);
        EXPECT_NEAR(h, 0.1f * (east + 500.0f - 24000.0f), 0.01f);
        EXPECT_EQ(i, NI - 1);
    }
}

TEST_F(Terrain, BeyondTheEastEdgeTheNorthEastHalfIsTriangleB)
{
    // Flat ground but for the north-east corner of one border cell, 100 m up:
    // triangle A of that cell stays at 0 and triangle B rises toward the
    // corner. In the cell's own units (u east from its west side, v north
    // from its south side) triangle B is h = 100 (u + v - 1). A point 500 m
    // past the east edge, half way up the cell, lies in B's half: B's east
    // edge is not a bound in the last column.
    TEST_lay_flat_grid(0.0f);
    const int j = 200;
    P(NI, j + 1).y = 100.0f;
    const terrain_vertex& p00 = P(NI - 1, j);
    const terrain_vertex& p11 = P(NI, j + 1);
    const float px = p11.x + 500.0f, pz = 0.5f * (p00.z + p11.z);
    const float u = (px - p00.x) / (p11.x - p00.x), v = (pz - p00.z) / (p11.z - p00.z);
    for (int hint : {0, NI - 1}) {
        int i = hint, jj = j;
        EXPECT_NEAR(query(px, pz, i, jj), 100.0f * (u + v - 1.0f), 0.05f) << hint;
        EXPECT_EQ(i, NI - 1);
        EXPECT_EQ(jj, j);
    }
}

TEST_F(Terrain, EqualBoundsStartInTheMiddleAndBadHintsAreClamped)
{
    TEST_lay_grid(CELL, 225, 200, [](float x, float z) { return 0.05f * x - 0.03f * z; });
    scenery_area.x0 = scenery_area.x1 = scenery_area.z0 = scenery_area.z1 = 0.0f;
    int i = 0, j = 0;
    EXPECT_NEAR(query(10.0f, -10.0f, i, j), 0.8f, 1e-4f);
    EXPECT_EQ(i, 225);
    EXPECT_EQ(j, 200);
    i = 0, j = 0;
    EXPECT_NEAR(query(-15000.0f, 9000.0f, i, j), -750.0f - 270.0f, 0.01f);

    for (auto [hi, hj] : {std::pair{-5, 99999}, {INT32_MIN, INT32_MAX}, {450, 400}}) {
        i = hi, j = hj;
        EXPECT_NEAR(query(10.0f, -10.0f, i, j), 0.8f, 1e-4f);
        EXPECT_EQ(i, 225);
        EXPECT_EQ(j, 200);
    }
}

TEST_F(Terrain, ANaNHugeOrFoldedGridAnswersWithoutLeavingTheGrid)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float x : {nan, inf, -inf, 1e30f, -1e30f})
        for (float z : {nan, 0.0f, 3e38f}) {
            int i = 7, j = 7;
            query(x, z, i, j);
            EXPECT_TRUE(i >= 0 && i < NI && j >= 0 && j < NJ);
        }

    // A grid a damaged scenery file left folded over itself.
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> any(-20000.0f, 20000.0f);
    for (terrain_vertex& v : terrain_vertex_grid) v = {any(rng), any(rng) * 0.01f, any(rng)};
    int i = 0, j = 0;
    for (int n = 0; n < 200; ++n) {
        const float h = query(any(rng), any(rng), i, j);
        EXPECT_TRUE(std::isfinite(h));
        ASSERT_TRUE(i >= 0 && i < NI && j >= 0 && j < NJ);
    }
}

TEST_F(Terrain, ExtrasAddTheRunwayDeckAndBumpsOnlyWhenAsked)
{
    TEST_lay_flat_grid(12.0f);
    float v[3] = {5.0f, 6.0f, 7.0f};
    int i = 0, j = 0;

    // Without extras the bare terrain, the velocity left alone.
    surface_state.flat_surface_on = 1;
    surface_state.flat_surface_height = 30.0f;
    surface_state.surface_code = 160;
    EXPECT_EQ(TERRAIN_height_at(3.0f, 4.0f, &v[0], &v[1], &v[2], &i, &j, 0, "test"), 12.0f);
    EXPECT_EQ(v[0], 5.0f);

    // With them a smooth runway's height, the velocity 0.
    EXPECT_EQ(TERRAIN_height_at(3.0f, 4.0f, &v[0], &v[1], &v[2], &i, &j, 1, "test"), 30.0f);
    EXPECT_EQ(v[0], 0.0f);
    EXPECT_EQ(v[2], 0.0f);

    // Bare ground is bumpy by at most 0.1 m; a rough runway by its roughness.
    GROUND_surface_reset();
    float lo = 1e9f, hi = -1e9f;
    for (float x = 0.0f; x < 30.0f; x += 0.37f) {
        const float h = TERRAIN_height_at(x, 0.5f * x, &v[0], &v[1], &v[2], &i, &j, 1, "test");
        lo = std::min(lo, h), hi = std::max(hi, h);
    }
    EXPECT_GE(lo, 11.9f);
    EXPECT_LE(hi, 12.1f);
    EXPECT_GT(hi - lo, 0.05f);
    surface_state.surface_code = 154;   // a deck or object top: flat
    EXPECT_EQ(TERRAIN_height_at(3.3f, 4.4f, &v[0], &v[1], &v[2], &i, &j, 1, "test"), 12.0f);
}

TEST_F(Terrain, EachSurfaceKindHasItsOwnBumps)
{
    // At x 0.4, z 0.05 over flat ground at 12 m, sines and cosines of metres:
    // terrain 0.025 (cos z + sin x + sin 4x + cos 4z), the rough runway kinds
    // their own sums, other runways none; a runway of roughness 2 adds 0.5 w.
    TEST_lay_flat_grid(12.0f);
    float v[3];
    int i = 0, j = 0;
    struct kind {
        int code;
        float roughness, bump;
    };
    const kind kinds[] = {{49, 0.0f, 0.084195f},  {162, 0.0f, 0.033678f}, {168, 0.0f, 0.033678f},
                          {163, 0.0f, 0.073840f}, {169, 0.0f, 0.073840f}, {164, 0.0f, 0.039593f},
                          {165, 0.0f, 0.009898f}, {160, 0.0f, 0.0f},      {160, 2.0f, 0.020223f},
                          {154, 0.0f, 0.0f}};
    for (const kind& k : kinds) {
        GROUND_surface_reset();
        surface_state.surface_code = k.code;
        surface_state.surface_roughness = k.roughness;
        EXPECT_NEAR(TERRAIN_height_at(0.4f, 0.05f, &v[0], &v[1], &v[2], &i, &j, 1, "test") - 12.0f, k.bump, 2e-5f)
            << "code " << k.code << " roughness " << k.roughness;
    }
}

TEST_F(Terrain, CarrierDeckAtRestAndMoving)
{
    ship_x[SHIP_CARRIER] = 1000.0f;
    ship_y[SHIP_CARRIER] = -3.0f;
    ship_z[SHIP_CARRIER] = -2000.0f;
    ship_heading[SHIP_CARRIER] = 30.0f;
    ship_vx[SHIP_CARRIER] = 1.0f;
    ship_vz[SHIP_CARRIER] = -2.0f;
    ship_pitch[SHIP_CARRIER] = ship_roll[SHIP_CARRIER] = 0.0f;
    ship_pitch_rate[SHIP_CARRIER] = ship_roll_rate[SHIP_CARRIER] = ship_turn_rate[SHIP_CARRIER] = 0.0f;
    surface_state.on_carrier = 1;
    const float s = std::sin(30.0f * static_cast<float>(DEG_TO_RAD_DOUBLE));
    const float c = std::cos(30.0f * static_cast<float>(DEG_TO_RAD_DOUBLE));
    for (auto [dx, dz] : {std::pair{0.0f, 0.0f}, {-20.0f, 100.0f}, {15.0f, -140.0f}}) {
        float v[3];
        int i = 0, j = 0;
        const float h = TERRAIN_height_at(1000.0f + dx, -2000.0f + dz, &v[0], &v[1], &v[2], &i, &j, 1, "test");
        EXPECT_NEAR(h, 18.0f, 1e-4f);
        EXPECT_NEAR(v[0], 15.0f * s + 1.0f, 1e-4f);
        EXPECT_NEAR(v[1], 0.0f, 1e-6f);
        EXPECT_NEAR(v[2], -15.0f * c - 2.0f, 1e-4f);
    }

    // Turning, the deck carries a point ahead of the ship sideways, and a
    // pitched deck rises toward the raised bow.
    ship_turn_rate[SHIP_CARRIER] = 2.0f;
    ship_heading[SHIP_CARRIER] = 0.0f;
    ship_pitch[SHIP_CARRIER] = 1.0f;
    float v[3];
    int i = 0, j = 0;
    const float bow = TERRAIN_height_at(1000.0f, -2100.0f, &v[0], &v[1], &v[2], &i, &j, 1, "test");
    EXPECT_GT(bow, 18.0f + 1.5f);
    EXPECT_NEAR(v[0], 1.0f + 2.0f * static_cast<float>(DEG_TO_RAD_DOUBLE) * 100.4f, 0.01f);   // drift + yaw rate x r
    ship_turn_rate[SHIP_CARRIER] = 0.0f;
    ship_pitch[SHIP_CARRIER] = 0.0f;
    surface_state.on_carrier = 0;
}

TEST(TerrainArea, EdgesOfTheLoadedAreaOnTheSphere)
{
    sim_physics.earth_radius_m = 6378145.0f;
    lat_ref = 34.0f;
    lon_ref = -118.0f;
    for (int planet : {PLANET_EARTH, PLANET_MARS}) {
        sim_graphics_scenery.current_planet = planet;
        const double R = sim_physics.earth_radius_m;
        const double half_lat = reference_lat_offset[planet] * DEG_TO_RAD_DOUBLE;
        // On the centre meridian at exactly lat_ref.
        const float z = static_cast<float>(R * std::sin(half_lat));
        const float y = static_cast<float>(R * std::cos(half_lat) - R);
        EXPECT_EQ(TERRAIN_point_in_area(0.0f, y, z, 0.0f), 1) << planet;
        EXPECT_EQ(TERRAIN_point_in_area(0.0f, y, z, 0.1f), 0) << planet;
        EXPECT_EQ(TERRAIN_point_in_area(0.0f, 0.0f, 0.0f, 0.1f), 1);
        EXPECT_EQ(TERRAIN_point_in_area(0.0f, y, z + 5000.0f, 0.0f), 0);   // south of it
        // 0.05 degree inside the west edge: in the area, not within a margin of 0.1 of it.
        double w[3];
        const double mid_lat = lat_ref + reference_lat_offset[planet], mid_lon = lon_ref + reference_lon_offset[planet];
        GEO_latlon_to_local_about(mid_lat, mid_lon, {mid_lat, lon_ref + 0.05, 0.0}, w[0], w[1], w[2]);
        EXPECT_EQ(TERRAIN_point_in_area(float(w[0]), float(w[1]), float(w[2]), 0.0f), 1) << planet;
        EXPECT_EQ(TERRAIN_point_in_area(float(w[0]), float(w[1]), float(w[2]), 0.1f), 0) << planet;
        // Around the planet from the frame's antipode: no division by zero.
        EXPECT_EQ(TERRAIN_point_in_area(0.0f, static_cast<float>(-R), 0.0f, 0.0f), 0);
    }
    sim_graphics_scenery.current_planet = PLANET_EARTH;
}
