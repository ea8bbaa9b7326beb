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
        height = 0.0f;
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
    // The panel's centre 0.2 m under the plane at `height` (0 by default:
    // under still water), the plane moving (vx, vy, vz).
    static inline float height = 0.0f;
    static int wet(float vx, float vz, float vy = 0.0f)
    {
        flt_struct& f = flt[0];
        f.faxil_gear = f.fside_gear = f.fnrml_gear = f.L = f.M = f.N = 0.0f;
        f.local_y = height;
        f.local_vx = vx, f.local_vy = vy, f.local_vz = vz;
        return FM_water_forces(HULL, 0, 9, 0.0f, -0.2f, 0.5f);
    }
    // The first start's sea: 1 m high, 12 m long, from `dir`, running at
    // the deep-water speed of that length.
    static void waves(int dir)
    {
        sim_weather.wave_amplitude = 1.0f;
        sim_weather.wave_length = 12.0f;
        sim_weather.wave_speed = 4.3276f;
        sim_weather.wave_dir = dir;
        // A crest over the panel's centre (z 0.5): 9.5 m, 3/4 of a length
        // beyond it, has run to it.
        sim_time.total_running_time_sec = 9.5f / sim_weather.wave_speed;
    }
    // The drift of the waves' water `depth` m under their surface: half
    // height a, wave number k, speed c: c*k^2*a^2*e^(-2*k*depth).
    static float surface_drift(float depth, float a = 0.5f)
    {
        const float k = 2.0f * 3.14159265f / sim_weather.wave_length;
        return sim_weather.wave_speed * k * k * a * a * std::exp(-2.0f * k * depth);
    }
    // The skin friction of the panel (0.5 m^2 wetted, the hull 1 m long)
    // moving at v through the water (N): the flat-plate line of ship model
    // basins scaled by 0.8, 0.8 x 0.075 / (log10 Re - 2)^2 x area x q.
    static float skin(float v)
    {
        const float re = std::max(v * 1.0f / 1.19e-6f, 1.0e5f);
        const float lg = std::log10(re) - 2.0f;
        return 0.8f * 0.075f / (lg * lg) * 0.5f * 0.5f * 1000.0f * v * v;
    }
    // The depth of the panel's centre under the waves now.
    static float panel_depth() { return WAVE_height(0.0f, 0.0f, 0.5f) - (height - 0.2f); }
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
    // Skin friction: at 10 m/s on a hull 1 m long, a coefficient of 0.0025
    // (a float's 0.0016 near take-off speed), on 0.5 m^2.
    EXPECT_NEAR(skin_only, skin(10.0f), 0.01f);
    EXPECT_GT(skin_only, 0.0024f * 0.5f * 50000.0f);

    shape(-0.2f);   // falling aft: the bottom meets the water at 11 degrees
    wet(0.0f, -10.0f);
    // Slope -0.2 on a frontal area of 0.1 m^2: lift 10^2 x 0.2 x 0.1 x 1000 = 2000 N;
    // its drag share takes the slope held at -0.05: 2000 x 0.05 + the skin's.
    EXPECT_NEAR(flt[0].fnrml_gear, buoyancy + 2000.0f, 0.5f);
    EXPECT_NEAR(flt[0].faxil_gear, 100.0f + skin(10.0f), 0.05f);

    // No single panel pushes harder than the plane weighs.
    wet(0.0f, -200.0f);
    EXPECT_LE(flt[0].fnrml_gear, 1000.0f * 9.7982788f + 0.5f);
}

TEST_F(Panel, DriftAcrossTheHeadingGivesTheFullSideForceAcrossTheBody)
{
    // A panel with a vertical extent (station 1's point 0.3 m higher: turned
    // away from the flow, no planing) has a side area.
    shape(0.3f);
    const float side_area = 1.0f * 0.3f;
    const float full = 0.5f * side_area * 0.5f * 1000.0f * 4.0f;
    const float drag = skin(2.0f);
    // Heading north, drifting west at 2 m/s: 90 degrees off the track. The
    // side force pushes on the panel's side, across the body against the
    // drift, as the drag along the track does; nothing along the body.
    wet(-2.0f, 0.0f);
    EXPECT_NEAR(flt[0].fside_gear, full + drag, 0.5f);
    EXPECT_NEAR(flt[0].faxil_gear, 0.0f, 0.01f);
    // 30 degrees off the track: the side force across the body, the drag
    // against the track, which has a share along the body.
    wet(-2.0f * 0.5f, -2.0f * 0.8660254f);
    EXPECT_NEAR(flt[0].fside_gear, 0.5f * full + 0.5f * drag, 0.5f);
    EXPECT_NEAR(flt[0].faxil_gear, 0.8660254f * drag, 0.01f);
    // Sinking at 2 m/s while drifting west at 0.2 m/s: the heave slides
    // along the side; only the speed across the heading pushes on it.
    wet(-0.2f, 0.0f, -2.0f);
    const float heaving_skin = skin(std::sqrt(4.0f + 0.04f));
    EXPECT_NEAR(flt[0].fside_gear, full * 0.01f + heaving_skin, 0.05f);
}

TEST_F(Panel, AHeavingBottomIsDampedByTheWavesItMakes)
{
    // Sinking at 0.1 m/s: besides the drag of its bottom (0.1 x 0.1 per
    // square metre), the waves it makes damp it as that drag does at 1.5 m/s.
    const float buoyancy = 0.2f * 0.5f * 1000.0f * 9.7982788f;
    wet(0.0f, 0.0f, -0.1f);
    EXPECT_NEAR(flt[0].fnrml_gear - buoyancy, 0.1f * (0.1f + 1.5f) * 0.5f * 1000.0f, 0.1f);
    wet(0.0f, 0.0f, 0.1f);
    EXPECT_NEAR(flt[0].fnrml_gear - buoyancy, -0.1f * (0.1f + 1.5f) * 0.5f * 1000.0f, 0.1f);
}

TEST_F(Panel, TheWavesWaterDriftsAlongWithThem)
{
    // Heading north, at rest on waves from the north: the water at the
    // surface drifts south with them, so the panel meets it as if moving
    // north, and its skin friction pushes it south (aft).
    waves(0);
    const float u = surface_drift(panel_depth());
    ASSERT_GT(u, 0.1f);
    wet(0.0f, 0.0f);
    EXPECT_NEAR(flt[0].faxil_gear, skin(u), 1e-4f);
    EXPECT_NEAR(flt[0].fside_gear, 0.0f, 1e-4f);
    // Drifting south with the water, the panel meets none of it.
    wet(0.0f, u);
    EXPECT_NEAR(flt[0].faxil_gear, 0.0f, 1e-4f);
    // Waves from the east drift west: the panel is pushed to the left.
    waves(90);
    sim_time.total_running_time_sec = 9.0f / sim_weather.wave_speed;   // the crest over the panel
    const float u_east = surface_drift(panel_depth());
    ASSERT_GT(u_east, 0.0f);
    wet(0.0f, 0.0f);
    EXPECT_NEAR(flt[0].fside_gear, -skin(u_east), 1e-4f);

    // Waves set steeper than a wave stands (6 m high, 12 m long) drift as
    // the steepest (k*a = pi/7) does: the plane on their crest, the panel
    // 0.3 m under it.
    waves(0);
    sim_weather.wave_amplitude = 6.0f;
    height = 2.9f;
    const float steepest = surface_drift(panel_depth(), 0.449f * 12.0f / (2.0f * 3.14159265f));
    ASSERT_GT(steepest, 0.3f);
    wet(0.0f, 0.0f);
    EXPECT_NEAR(flt[0].faxil_gear, skin(steepest), 1e-3f);
}

TEST_F(Panel, TheWaterRudderMeetsTheWaterAsThePanelsDo)
{
    acf_struct& a = pln[0];
    a.acf_water_rud_area = 1.0f, a.acf_water_rud_longarm = 5.0f, a.acf_water_rud_maxdef = 30.0f;
    a.acf_m_empty = 1000.0f;
    sim_joystick.yolk_heading_ratio = sim_joystick.yolk_roll_ratio = 0.0f;
    flt_struct& f = flt[0];
    f.psi = 90.0f;   // heading east
    auto rudder = [&](float vx, float vy, float vz) {
        f.fside_gear = f.N = 0.0f;
        f.local_vx = vx, f.local_vy = vy, f.local_vz = vz;
        // The path and speed over the ground, as each frame derives them.
        f.groundspeed = std::sqrt(vx * vx + vy * vy + vz * vz);
        f.hpath = std::fmod(std::atan2(vx, -vz) * 57.29578f + 360.0f, 360.0f);
        FM_water_contact();
        return f.fside_gear;
    };
    // Heaving on still water, the blade slides along the water: no push.
    EXPECT_EQ(rudder(0.0f, -2.0f, 0.0f), 0.0f);
    // Drifting south, across the heading, at 1 m/s: the full push against it.
    EXPECT_NEAR(rudder(0.0f, 0.0f, 1.0f), -0.5f * 1000.0f, 0.01f);
    // At rest on waves from the north, the water drifting south past the
    // blade at the waves' surface drift pushes it south (to the right).
    waves(0);
    const float u = surface_drift(0.0f);
    EXPECT_NEAR(rudder(0.0f, 0.0f, 0.0f), 0.5f * 1000.0f * u * u, 1e-3f);
    EXPECT_NEAR(rudder(0.0f, 0.0f, u), 0.0f, 1e-3f);
    // Waves of a speed that is no number carry no water past it.
    sim_weather.wave_speed = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(rudder(0.0f, 0.0f, 0.0f), 0.0f);
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
