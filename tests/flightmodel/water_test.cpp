// Water: the wave surface, single hull panels in the water, and a float plane
// made here dropped on still water and flown through the whole build-up.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/terrain_support.h"
#include "world/landuse_grid.h"

namespace {

constexpr int HULL = 45;

int body_point(int part, int station, int point)
{
    return part * ACF_BODY_PART_POINTS + station * ACF_BODY_POINTS + point;
}

class Waves : public ::testing::Test {
protected:
    void SetUp() override
    {
        CONST_fill_constants();
        sim_weather.wave_amplitude = 0.031f;
        sim_weather.wave_length = 20.0f;
        sim_weather.wave_speed = 4.0f;
        sim_weather.wave_dir = 30;
        sim_time.total_running_time_sec = 3.0f;
    }
    void TearDown() override { sim_weather.wave_amplitude = 0.0f; }
};

}  // namespace

TEST_F(Waves, FlatBelowATenthOfAFootAndWithoutALength)
{
    bool wavy = false;
    for (float x = 0.0f; x < 20.0f; x += 1.3f) wavy |= WAVE_height(x, 5.0f, 2.0f * x) != 5.0f;
    EXPECT_TRUE(wavy);
    for (float a : {0.030f, 0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        sim_weather.wave_amplitude = a;
        for (float x = 0.0f; x < 20.0f; x += 1.3f) EXPECT_EQ(WAVE_height(x, 5.0f, 2.0f * x), 5.0f) << a;
    }
    sim_weather.wave_amplitude = 2.0f;
    for (float length : {0.0f, -20.0f}) {
        sim_weather.wave_length = length;
        EXPECT_EQ(WAVE_height(3.0f, 5.0f, 4.0f), 5.0f);
    }
}

TEST_F(Waves, AFixedPointRisesAndFallsOnceEveryLengthOverSpeed)
{
    sim_weather.wave_amplitude = 2.0f;
    for (int dir : {0, 30, 270, 360, 725, -90}) {
        sim_weather.wave_dir = dir;
        const float period = sim_weather.wave_length / sim_weather.wave_speed;
        sim_time.total_running_time_sec = 3.0f;
        const float h0 = WAVE_height(7.0f, 1.0f, -3.0f);
        sim_time.total_running_time_sec = 3.0f + period;
        EXPECT_NEAR(WAVE_height(7.0f, 1.0f, -3.0f), h0, 1e-3f) << dir;
        sim_time.total_running_time_sec = 3.0f + 0.5f * period;
        EXPECT_NEAR(WAVE_height(7.0f, 1.0f, -3.0f) - 1.0f, -(h0 - 1.0f), 1e-3f) << dir;
        EXPECT_LE(std::fabs(h0 - 1.0f), 1.0f + 1e-5f);   // half the crest-to-trough height
    }
}

// ---------------------------------------------------------------------------
// One panel of a hull: 1 m wide, 1 m long, its points laid by the test.

namespace {

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        CONST_fill_constants();
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
        flt[0] = flt_struct{};
        flt_struct& f = flt[0];
        f.cos_theta = f.track_cos = f.cos_phi = 1.0f;
        f.m_total = 1000.0f;
        sim_physics.rho_water = 1000.0f;
        sim_weather.wave_amplitude = 0.0f;
        water_level_m = 0.0f;
        terrain_height_m = -30.0f;   // the bed under the sea
        shape(0.0f);
    }
    // Station 0 at z 0, station 1 at z 1 (rising by `rise` m aft); points
    // 8 and 10 half a metre to each side of point 9.
    static void shape(float rise)
    {
        acf_struct& a = pln[0];
        for (int s = 0; s < 2; ++s) {
            a.acf_body_X[body_point(HULL, s, 8)] = 0.5f;
            a.acf_body_X[body_point(HULL, s, 10)] = -0.5f;
            a.acf_body_Z[body_point(HULL, s, 9)] = static_cast<float>(s);
            a.acf_body_Y[body_point(HULL, s, 9)] = rise * s;
        }
    }
    // The panel's centre 0.2 m under water, the plane moving (vx, vz).
    static int wet(float vx, float vz)
    {
        flt_struct& f = flt[0];
        f.faxil_gear = f.fside_gear = f.fnrml_gear = f.L = f.M = f.N = 0.0f;
        f.local_y = 0.0f;
        f.local_vx = vx, f.local_vz = vz;
        return FM_water_forces(HULL, 0, 9, 0.0f, -0.2f, 0.5f);
    }
};

}  // namespace

TEST_F(Panel, AtRestOnlyBuoyancy)
{
    ASSERT_EQ(wet(0.0f, 0.0f), 1);
    EXPECT_NEAR(flt[0].fnrml_gear, 0.2f * 0.5f * 1000.0f * 9.7982788f, 0.05f);
    EXPECT_EQ(flt[0].faxil_gear, 0.0f);
    EXPECT_EQ(flt[0].fside_gear, 0.0f);
    EXPECT_NEAR(flt[0].M, -flt[0].fnrml_gear * 0.5f, 0.05f);   // behind the centre of gravity: nose down

    // Out of the water: nothing.
    flt[0].fnrml_gear = 0.0f;
    EXPECT_EQ(FM_water_forces(HULL, 0, 9, 0.0f, 0.01f, 0.5f), 0);
    EXPECT_EQ(flt[0].fnrml_gear, 0.0f);

    // On a lake 500 m above the sea, the water stands at the lake's surface.
    terrain_height_m = flt[0].local_y = 500.0f;
    EXPECT_EQ(FM_water_forces(HULL, 0, 9, 0.0f, -0.2f, 0.5f), 1);
    // Panels whose neighbours are not in the body arrays: refused.
    for (auto [s, k] : {std::pair{-1, 9}, {19, 9}, {0, 0}, {0, 17}})
        EXPECT_EQ(FM_water_forces(HULL, s, k, 0.0f, -0.2f, 0.5f), 0) << s << "," << k;
    EXPECT_EQ(FM_water_forces(73, 0, 9, 0.0f, -0.2f, 0.5f), 0);
}

TEST_F(Panel, PlaningLiftOnlyOnAFaceTurnedIntoTheFlow)
{
    const float buoyancy = 0.2f * 0.5f * 1000.0f * 9.7982788f;
    shape(0.2f);   // rising aft: turned away from the flow
    wet(0.0f, -10.0f);
    EXPECT_NEAR(flt[0].fnrml_gear, buoyancy, 0.05f);
    const float skin_only = flt[0].faxil_gear;
    // Skin friction 0.0016 x plan area 0.5 m^2 x q (0.5 x 1000 x 10^2).
    EXPECT_NEAR(skin_only, 0.0016f * 0.5f * 50000.0f, 0.01f);

    shape(-0.2f);   // falling aft: the bottom meets the water at 11 degrees
    wet(0.0f, -10.0f);
    // Slope -0.2 on a frontal area of 0.1 m^2: lift 10^2 x 0.2 x 0.1 x 1000 = 2000 N;
    // its drag share takes the slope held at -0.05: 2000 x 0.05 + the skin's 40 N.
    EXPECT_NEAR(flt[0].fnrml_gear, buoyancy + 2000.0f, 0.5f);
    EXPECT_NEAR(flt[0].faxil_gear, 100.0f + 40.0f, 0.05f);

    // No single panel pushes harder than the plane weighs.
    wet(0.0f, -200.0f);
    EXPECT_LE(flt[0].fnrml_gear, 1000.0f * 9.7982788f + 0.5f);
}

TEST_F(Panel, DriftAcrossTheHeadingGivesTheFullSideForce)
{
    // A panel with a vertical extent (station 1's point 0.3 m lower) has a side area.
    pln[0].acf_body_Y[body_point(HULL, 1, 9)] = -0.3f;
    wet(-2.0f, 0.0f);   // heading north, drifting west at 2 m/s: 90 degrees off the track
    // The side force stands across the track, that is along the body here;
    // the drag along the track opposes the drift.
    const float side_area = 1.0f * 0.3f;
    EXPECT_NEAR(std::fabs(flt[0].faxil_gear), 0.5f * side_area * 0.5f * 1000.0f * 4.0f, 0.5f);
    EXPECT_GT(flt[0].fside_gear, 0.0f);
}

// ---------------------------------------------------------------------------
// A float plane: the force tests' aircraft on two floats instead of wheels.

namespace {

// Float body p at (x, -1.5, 0): 12 stations 5 m long, round sections 0.6 m
// across, ring point 0 on top and 9 at the keel.
void float_body(int p, float x)
{
    acf_struct& a = pln[0];
    a.acf_part_eq[p] = 1;
    a.acf_Xarm[p] = x, a.acf_Yarm[p] = -1.5f, a.acf_Zarm[p] = 0.0f;
    for (int s = 0; s < 12; ++s) {
        const float z = -2.5f + 5.0f * s / 11.0f;
        const float r = 0.3f * std::sqrt(std::fmax(0.05f, 1.0f - (z / 2.6f) * (z / 2.6f)));
        for (int k = 0; k < ACF_BODY_POINTS; ++k) {
            const float t = k * 2.0f * 3.14159265f / ACF_BODY_POINTS;
            a.acf_body_X[body_point(p, s, k)] = r * std::sin(t);
            a.acf_body_Y[body_point(p, s, k)] = r * std::cos(t);
            a.acf_body_Z[body_point(p, s, k)] = z;
        }
    }
}

}  // namespace

TEST(FloatPlane, DroppedOnStillWaterItComesToRestOnItsFloats)
{
    using namespace forces_test;
    RESET_all();   // nothing an earlier test left in the weather or the records
    CONST_fill_constants();
    CONST_fill_random_table();
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    TEST_lay_flat_grid(-30.0f);   // the lake's bed
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    build_aircraft();
    still_air();
    terrain_height_m = -30.0f;
    sim_physics.rho_water = 1000.0f;
    sim_weather.wave_amplitude = 0.0f;
    water_level_m = 0.0f;
    acf_struct& a = pln[0];
    for (int n = PART_GEAR_FIRST; n <= PART_GEAR_LAST; ++n) a.acf_part_eq[n] = 0;
    float_body(45, -1.2f);
    float_body(46, 1.2f);
    place(1.9f, 0.0f, 0.0f);   // the keels 0.1 m above the water
    GROUND_stages_reset();
    a.acf_jett_is_water = 1, a.acf_m_jettison = 12.0f;   // a scoop filling its tank in 12 s
    sim_cockpit_switches.water_scoop_on = 1;

    flt_struct& f = flt[0];
    float lo = 1e9f, hi = -1e9f;
    for (int frame = 0; frame < 3000; ++frame) {   // 60 s
        fly_frame(0.02f);
        if (frame == 299) {
            EXPECT_NEAR(f.m_jettison, 6.0f, 0.3f);   // half full at 6 s
        }
        if (frame >= 2500) lo = std::min(lo, f.fnrml_gear), hi = std::max(hi, f.fnrml_gear);
    }
    const float weight = f.m_total * sim_physics.g_sealevel;
    EXPECT_NEAR(f.fnrml_gear, weight, 0.02f * weight);
    EXPECT_LT(hi - lo, 0.04f * weight);
    EXPECT_EQ(f.onground_any, 1);
    EXPECT_LT(std::fabs(f.local_vy), 0.02f);
    EXPECT_NEAR(f.theta, 0.0f, 2.0f);
    EXPECT_GT(f.local_y, 1.0f);   // floating, the keels in the water
    EXPECT_LT(f.local_y, 1.8f);
}
