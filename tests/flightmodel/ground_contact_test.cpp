// Ground contact: single points against a flat runway (no bumps), the ground
// stage's coefficients, brakes, steering and on-ground flags, and the test
// aircraft standing on its gear through the whole build-up.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/surface_under.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/flight_fixture.h"
#include "tests/support/terrain_support.h"

namespace {

constexpr int NOSE = 67, LEFT = 68, RIGHT = 69;
constexpr float SMOOTH_RUNWAY = 160;   // a runway code without bumps or friction changes

class Contact : public ::testing::Test {
protected:
    void SetUp() override
    {
        RESET_all();
        CONST_fill_constants();
        CONST_fill_random_table();
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        TEST_lay_flat_grid(0.0f);
        surface_state.surface_code = SMOOTH_RUNWAY;
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
        flt[0] = flt_struct{};
        level(flt[0]);
        pln[0].acf_m_max = 1000.0f;
        sim_weather.runway_friction = 0;
        sim_weather.temperature_sealevel_c = 15.0f;
        screen_settings.runway_friction_extent = 0;
        sim_operation_misc.frame_rate_period = 0.02f;
        sim_physics.g_sealevel = 9.80665f;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
    }
    void TearDown() override { sim_weather.runway_friction = 0; }

    static void level(flt_struct& f)
    {
        f.cos_theta = f.track_cos = f.cos_phi = 1.0f;
        f.sin_theta = f.track_sin = f.sin_phi = 0.0f;
    }

    // Part n's point at body arm (x, y, z) with the plane at height `plane_y`
    // moving with (vx, vy, vz) in local axes.
    struct touch_result {
        int hit;
        float deflection, rolling, steer;
    };
    static touch_result touch(int n, float plane_y, float x, float y, float z, float vx, float vy, float vz,
                              float mu_side = 0.8f, float mu_axial = 0.5f, float steer = 0.0f)
    {
        flt_struct& f = flt[0];
        f.local_y = plane_y;
        touch_result r{0, 55.0f, 9.0f, steer};
        r.hit = handlecontactpoint(0, n, f.local_x, vx, x, 0.0f, plane_y, vy, y, 0.0f, &r.deflection, f.local_z, vz, z,
                                   0.0f, 20000.0f, 2000.0f, mu_side, mu_axial, &r.steer, 0.0f, 0.3f, &r.rolling);
        return r;
    }

    static void clear_sums()
    {
        flt_struct& f = flt[0];
        f.faxil_gear = f.fside_gear = f.fnrml_gear = f.L = f.M = f.N = 0.0f;
    }
};

}  // namespace

TEST_F(Contact, APointAboveTheSurfaceTouchesNothing)
{
    flt[0].nrml_force[NOSE] = 123.0f;
    const touch_result r = touch(NOSE, 0.0f, 0.0f, 0.01f, 0.0f, 3.0f, 0.0f, -5.0f);
    EXPECT_EQ(r.hit, 0);
    EXPECT_EQ(r.deflection, 0.0f);
    EXPECT_EQ(r.rolling, 9.0f);
    EXPECT_EQ(flt[0].nrml_force[NOSE], 123.0f);
    EXPECT_EQ(flt[0].fnrml_gear, 0.0f);
    EXPECT_EQ(flt[0].M, 0.0f);
}

TEST_F(Contact, SpringDamperAndItsLimits)
{
    // 5 cm in, at rest: k x d straight up, its moment about the centre of gravity.
    touch_result r = touch(NOSE, 0.0f, 0.5f, -0.05f, -2.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(r.hit, 1);
    EXPECT_NEAR(r.deflection, 0.05f, 1e-6f);
    EXPECT_NEAR(flt[0].fnrml_gear, 1000.0f, 0.1f);
    EXPECT_NEAR(flt[0].nrml_force[NOSE], 1000.0f, 0.1f);
    EXPECT_NEAR(flt[0].M, 2000.0f, 0.5f);   // ahead of the centre: nose up
    EXPECT_NEAR(flt[0].L, -500.0f, 0.1f);   // right of it: rolls left

    // Sliding ahead 1.05 m below the centre, 5 cm in: the 500 N of drag acts
    // at the surface, 1 m below it, and pitches the nose down by 500 N m.
    clear_sums();
    touch(LEFT, 1.0f, 0.0f, -1.05f, 0.0f, 0.0f, 0.0f, -3.0f);
    EXPECT_NEAR(flt[0].faxil_gear, 500.0f, 0.5f);
    EXPECT_NEAR(flt[0].M, -500.0f, 0.5f);

    // Rising faster than the spring pushes: no force, still a contact.
    clear_sums();
    r = touch(NOSE, 0.0f, 0.0f, -0.05f, 0.0f, 0.0f, 10.0f, 0.0f);
    EXPECT_EQ(r.hit, 1);
    EXPECT_EQ(flt[0].nrml_force[NOSE], 0.0f);
    EXPECT_EQ(flt[0].fnrml_gear, 0.0f);

    // Far below: ten times the maximum weight at most, the deflection at most 999.9 m.
    clear_sums();
    r = touch(NOSE, -5000.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(flt[0].fnrml_gear, 10.0f * 9.79828f * 1000.0f, 1.0f);
    EXPECT_NEAR(r.deflection, 999.9f, 1e-3f);
}

TEST_F(Contact, TheCatapultHoldsGearAheadOfTheCentreOfGravity)
{
    launch_flags.catapult_hold = 1;
    EXPECT_EQ(touch(NOSE, 0.5f, 0.0f, 0.0f, -1.5f, 0.0f, 0.0f, 0.0f).hit, 1);
    EXPECT_EQ(touch(LEFT, 0.5f, -1.0f, 0.0f, 0.6f, 0.0f, 0.0f, 0.0f).hit, 0);
    EXPECT_EQ(touch(10, 0.5f, -1.0f, 0.0f, -0.6f, 0.0f, 0.0f, 0.0f).hit, 0);   // a wing tip is never held
}

// The parking brake let off below 0.5 throws a held plane off the catapult
// and hooks an armed tow or winch; a caught wire lets go below 2 m/s or
// rolling backwards.
TEST_F(Contact, TheParkingBrakeLetsTheLaunchesGoAndTheWireLetsASlowPlaneGo)
{
    launch_flags_block& l = launch_flags;
    flt_struct& f = flt[0];
    l.catapult_hold = l.tow_armed = l.winch_armed = 1;
    f.parkbrake = 0.5f;
    GROUND_launch_releases();
    EXPECT_EQ(l.catapult_hold + l.tow_armed + l.winch_armed, 3);   // half set still holds
    EXPECT_EQ(l.catapult_fired + l.tow_attached + l.winch_attached, 0);
    f.parkbrake = 0.4f;
    frame_clock = 123.5f;
    GROUND_launch_releases();
    EXPECT_EQ(l.catapult_hold + l.tow_armed + l.winch_armed, 0);
    EXPECT_EQ(l.catapult_fired + l.tow_attached + l.winch_attached, 3);
    EXPECT_EQ(l.catapult_launch_time, 123.5f);

    const struct {
        float groundspeed, beta;
        int held;
    } wire[] = {{3.0f, 0.0f, 1}, {3.0f, -91.0f, 0}, {2.0f, 90.0f, 1}, {1.9f, 0.0f, 0}};
    for (const auto& w : wire) {
        l.arrest_engaged = 1;
        f.groundspeed = w.groundspeed, f.beta = w.beta;
        GROUND_launch_releases();
        EXPECT_EQ(l.arrest_engaged, w.held) << w.groundspeed << " " << w.beta;
    }
}

TEST_F(Contact, ACastoringWheelFollowsItsMotionAndMakesNoSideForce)
{
    // Rolling ahead at 2 m/s and drifting right at 1 m/s.
    const touch_result r = touch(NOSE, 0.0f, 0.0f, -0.05f, -1.5f, 1.0f, 0.0f, -2.0f, 0.8f, 0.02f, 99.9f);
    EXPECT_EQ(r.hit, 1);
    EXPECT_NEAR(r.rolling, 2.0f, 1e-5f);
    EXPECT_NEAR(r.steer, std::atan2(1.0f, 2.0f) * 57.29578f, 1e-3f);
    EXPECT_NEAR(flt[0].fside_gear, 0.0f, 1e-3f);

    // The same wheel held straight slides sideways: the side force opposes the drift.
    clear_sums();
    touch(NOSE, 0.0f, 0.0f, -0.05f, -1.5f, 1.0f, 0.0f, -2.0f, 0.8f, 0.02f, 0.0f);
    EXPECT_LT(flt[0].fside_gear, -100.0f);
}

TEST_F(Contact, SideSlipGainAdaptsToTheSlipsSign)
{
    // A steady drift to the left: the gain grows by half each frame up to 50.
    float expected = 1.0f;
    for (int frame = 0; frame < 15; ++frame) {
        touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, -0.3f, 0.0f, -3.0f);
        expected = std::min(expected * 1.5f, 50.0f);
        EXPECT_NEAR(contact.slip_gain[LEFT], expected, 1e-3f) << frame;
    }
    // A drift that changes side every frame halves it down to 1.
    for (int frame = 0; frame < 8; ++frame) {
        touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, frame % 2 ? -0.3f : 0.3f, 0.0f, -3.0f);
        expected = std::max(expected * 0.5f, 1.0f);
        EXPECT_NEAR(contact.slip_gain[LEFT], expected, 1e-3f) << frame;
    }
    EXPECT_EQ(contact.slip_gain[LEFT], 1.0f);
}

TEST_F(Contact, SideForceAtLowFrameRatesAndOnWetAndIcyRunways)
{
    auto side_force = [&](float dt) {
        CONTACT_reset();
        clear_sums();
        sim_operation_misc.frame_rate_period = dt;
        touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, 0.5f, 0.0f, -3.0f);
        return flt[0].fside_gear;
    };
    const float fast = side_force(1.0f / 30.0f);
    EXPECT_LT(fast, -10.0f);
    EXPECT_NEAR(side_force(0.1f), 0.5f * fast, 1e-3f * std::fabs(fast));
    EXPECT_NEAR(side_force(0.05f), fast, 1e-3f * std::fabs(fast));

    // The side force per newton of load falls with the load: 1 - 0.9 Fn / Fmax
    // (Fmax = 97982.8 N): 0.990814 at 1000 N (5 cm), 0.549922 at 49000 N (2.45 m).
    auto side_per_load = [&](float depth) {
        CONTACT_reset();
        clear_sums();
        sim_operation_misc.frame_rate_period = 1.0f / 30.0f;
        touch(LEFT, 0.0f, 0.0f, -depth, 0.0f, 0.5f, 0.0f, -3.0f);
        return flt[0].fside_gear / flt[0].fnrml_gear;
    };
    EXPECT_NEAR(side_per_load(2.45f) / side_per_load(0.05f), 0.549922f / 0.990814f, 1e-4f);

    // Sliding ahead: the braking friction by runway condition and temperature.
    auto drag = [&](float x) {
        clear_sums();
        flt[0].local_x = x;
        touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, -3.0f);
        return flt[0].faxil_gear;
    };
    sim_weather.runway_friction = 0;
    sim_weather.temperature_sealevel_c = 5.0f;
    const float dry = drag(0.0f);
    EXPECT_NEAR(dry, 1000.0f * 0.5f, 0.5f);
    // Every cell of the condition table: friction 0, 1, 2 above and at or below
    // 0 C; a dry runway grips alike on either side of freezing.
    const struct { int32_t friction; float celsius, factor; } conditions[] = {
        {0, 5.0f, 1.0f}, {1, 5.0f, 0.75f}, {2, 5.0f, 0.5f}, {0, 0.0f, 1.0f}, {0, -5.0f, 1.0f}, {1, 0.0f, 0.4f}, {2, -5.0f, 0.2f}};
    for (const auto& c : conditions) {
        sim_weather.runway_friction = c.friction;
        sim_weather.temperature_sealevel_c = c.celsius;
        EXPECT_NEAR(drag(0.0f), c.factor * dry, 0.5f) << c.friction << " " << c.celsius;
    }
    sim_weather.runway_friction = 2;

    // A patchy runway: on the dry rings the friction stays whole.
    sim_weather.temperature_sealevel_c = -5.0f;
    screen_settings.runway_friction_extent = 1;
    int dry_ring = -1, wet_ring = -1;
    for (int k = 0; k < 100 && (dry_ring < 0 || wet_ring < 0); ++k) (random_table[k] < 0.35f ? dry_ring : wet_ring) = k;
    ASSERT_GE(dry_ring, 0);
    ASSERT_GE(wet_ring, 0);
    EXPECT_NEAR(drag(2.0f * dry_ring + 1.0f), dry, 0.5f);
    EXPECT_NEAR(drag(2.0f * wet_ring + 1.0f), 0.2f * dry, 0.5f);
}

// A braked tyre at rest holds the spot where it stopped (20 x its 1000 N load
// per metre); moving at 1 m/s or more it slides by the slip friction alone:
// 1000 N x 0.5 aft, and no side force straight ahead.
TEST_F(Contact, ABrakedTyreHoldsAtRestAndSlidesByTheSlipFrictionAboveIt)
{
    contact.grips[LEFT] = 1;
    for (int frame = 0; frame < 6; ++frame) touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f);
    clear_sums();
    flt[0].local_x = 0.01f;   // pushed 1 cm to the right: the tie pulls it back
    touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(flt[0].fside_gear, -200.0f, 0.5f);
    clear_sums();
    touch(LEFT, 0.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, -2.0f);   // 2 m/s ahead
    EXPECT_NEAR(flt[0].faxil_gear, 500.0f, 0.5f);
    EXPECT_NEAR(flt[0].fside_gear, 0.0f, 0.5f);
    contact.grips[LEFT] = 0;
}

TEST_F(Contact, AFailedTyreThumpsAndDragsMore)
{
    flt_struct& f = flt[0];
    float deflection = 0.0f, steer = 0.0f, rolling = 10.0f;
    float lo = 1e9f, hi = -1e9f;
    for (int frame = 0; frame < 50; ++frame) {
        clear_sums();
        handlecontactpoint(0, LEFT, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -0.3f, 0.0f, &deflection, 0.0f, -10.0f, 0.0f,
                           0.0f, 20000.0f, 2000.0f, 0.8f, 0.02f, &steer, 1.0f, 0.3f, &rolling);
        lo = std::min(lo, f.fnrml_gear), hi = std::max(hi, f.fnrml_gear);
        EXPECT_GT(f.faxil_gear, 0.02f * f.fnrml_gear);
    }
    EXPECT_GT(hi - lo, 1000.0f);   // the flat spot comes round
    EXPECT_TRUE(contact.wheel_roll_deg[LEFT] >= 0.0f && contact.wheel_roll_deg[LEFT] < 360.0f);
}

// ---------------------------------------------------------------------------
// The ground stage of the build-up on a three-wheeled aircraft.

namespace {

class GroundStage : public Contact {
protected:
    void SetUp() override
    {
        Contact::SetUp();
        acf_struct& a = pln[0];
        const float pos[3][3] = {{0.0f, -1.0f, -1.5f}, {-1.2f, -1.0f, 0.6f}, {1.2f, -1.0f, 0.6f}};
        for (int g = 0; g < 3; ++g) {
            const int n = PART_GEAR_FIRST + g;
            a.acf_part_eq[n] = 1;
            a.acf_gear_type[n] = 2;
            a.acf_gear_xnodef[n] = pos[g][0], a.acf_gear_ynodef[n] = pos[g][1], a.acf_gear_znodef[n] = pos[g][2];
            a.acf_gear_tirrad[n] = 0.2f;
            a.acf_gearcon[n] = 20000.0f;
            a.acf_geardmp[n] = 2000.0f;
        }
        a.acf_gear_steers[NOSE] = 1;
        a.acf_nw_steerdeg1 = 30.0f;
        a.acf_roll_co = 0.02f;
        a.acf_brake_co = 0.5f;
        flt[0].local_y = 1.15f;   // every tyre 5 cm into the ground
        flt[0].m_total = 900.0f;
    }

    void stage()
    {
        clear_sums();
        flt[0].onground_any = flt[0].onground_all = 0;
        FM_ground_contact();
    }
};

}  // namespace

TEST_F(GroundStage, OffTheRunwayTheWheelsRollFourTimesHarder)
{
    flt[0].local_vz = -5.0f;
    surface_state.surface_code = SMOOTH_RUNWAY;
    stage();
    const float runway = flt[0].faxil_gear / flt[0].fnrml_gear;
    EXPECT_NEAR(runway, 0.02f, 1e-3f);
    surface_state.surface_code = SURFACE_NONE;
    stage();
    EXPECT_NEAR(flt[0].faxil_gear / flt[0].fnrml_gear, 4.0f * runway, 0.01f);
    surface_state.surface_code = 162;   // grass-like: twice
    stage();
    EXPECT_NEAR(flt[0].faxil_gear / flt[0].fnrml_gear, 2.0f * runway, 0.005f);
}

// Rolling (wheels, 0.02 on a plain runway) and sliding (skids, 0.4) friction
// by surface code, sliding ahead at 5 m/s where the slip saturates.
TEST_F(GroundStage, RollingAndSlidingFrictionBySurface)
{
    const struct {
        int32_t code;
        float rolling, sliding;
    } rows[] = {{static_cast<int32_t>(SMOOTH_RUNWAY), 0.02f, 0.4f}, {SURFACE_NONE, 0.08f, 0.8f}, {162, 0.04f, 0.2f}, {168, 0.04f, 0.2f},
                {163, 0.08f, 0.8f}, {164, 0.08f, 0.8f}, {165, 0.02f, 0.4f}};
    flt[0].local_vz = -5.0f;
    for (const auto& r : rows) {
        surface_state.surface_code = r.code;
        for (int g = 0; g < 3; ++g) pln[0].acf_gear_type[PART_GEAR_FIRST + g] = 2;
        stage();
        EXPECT_NEAR(flt[0].faxil_gear / flt[0].fnrml_gear, r.rolling, 1e-4f) << r.code;
        for (int g = 0; g < 3; ++g) pln[0].acf_gear_type[PART_GEAR_FIRST + g] = 1;
        stage();
        EXPECT_NEAR(flt[0].faxil_gear / flt[0].fnrml_gear, r.sliding, 1e-4f) << r.code;
    }
}

// A burst tyre at wheel angle 0 (b = 0.2 x 2 + 0.45 = 0.85) adds 0.85 x the
// type's bump amount to the rolling friction of 0.02.
TEST_F(GroundStage, BurstTyreDragByGearType)
{
    const struct {
        int32_t type;
        float amount;
    } rows[] = {{2, 1.0f}, {3, 0.5f}, {4, 0.75f}, {5, 0.35f}, {6, 0.2f}, {7, 0.25f}};
    flt_struct& f = flt[0];
    f.local_vz = -5.0f;
    f.local_y = 1.0f;   // 20 cm in: the raised contact of the flat spot still touches
    for (const auto& r : rows) {
        CONTACT_reset();
        for (int g = 0; g < 3; ++g) {
            pln[0].acf_gear_type[PART_GEAR_FIRST + g] = r.type;
            f.failures[FAIL_SLOT_TYRE_BASE + g] = FAILURE_STATE_FAILED;
            f.tire_speed_term[PART_GEAR_FIRST + g] = 0.0f;
        }
        stage();
        EXPECT_NEAR(f.faxil_gear / f.fnrml_gear, 0.02f + 0.85f * r.amount, 1e-4f) << r.type;
    }
}

TEST_F(GroundStage, BrakesByTheirSideAndHydroplaning)
{
    flt_struct& f = flt[0];
    f.local_vz = -5.0f;
    f.l_brake_add = 1.0f;   // the left toe brake only: the left wheel drags, the aircraft yaws left
    stage();
    EXPECT_LT(f.N, -500.0f);
    f.l_brake_add = 0.0f;
    f.parkbrake = 1.0f;
    stage();
    EXPECT_NEAR(f.N, 0.0f, 5.0f);
    const float braked = f.faxil_gear;

    // A flooded runway at speed: the wheels float on the water film.
    sim_weather.runway_friction = 2;
    pln[0].acf_tire_contact_area = 0.1f;
    f.groundspeed = 30.0f;   // above 0.0116 x sqrt(900 x 9.8 / 0.1) = 3.4 m/s
    stage();
    EXPECT_LT(f.faxil_gear, 0.1f * braked);
    pln[0].acf_tire_contact_area = 0.0f;   // no footprint: no hydroplaning, no division
    stage();
    EXPECT_GT(f.faxil_gear, 0.1f * braked);
}

TEST_F(GroundStage, SteeringCastoringAndTyreLock)
{
    flt_struct& f = flt[0];
    f.local_vz = -5.0f;
    f.nosewheel_steer = 10.0f;   // steered right: the nose is pushed right
    stage();
    EXPECT_GT(f.fside_gear, 100.0f);
    EXPECT_NEAR(f.nosewheel_speed, 5.0f, 1e-4f);

    pln[0].acf_nw_steerdeg1 = 0.0f;   // a castoring nose wheel lines up with the motion
    f.local_vx = 1.0f;
    stage();
    EXPECT_GT(f.nosewheel_steer, 5.0f);

    // Lifted off with the parking brake set, the main wheels lock; released, they turn.
    f.local_y = 5.0f;
    f.parkbrake = 1.0f;
    for (int n : {NOSE, LEFT, RIGHT}) f.nrml_force[n] = 0.0f;
    stage();
    EXPECT_EQ(f.tire_locked[LEFT], 1);
    EXPECT_EQ(f.tire_locked[RIGHT], 1);
    EXPECT_EQ(f.tire_locked[NOSE], 0);   // the steering wheel never locks
    EXPECT_EQ(f.tire_speed_term[LEFT], 0.0f);
    f.parkbrake = 0.0f;
    stage();
    EXPECT_EQ(f.tire_locked[LEFT], 0);
}

TEST_F(GroundStage, OnlyTheFirstThreeGearsPutThePlaneOnTheGround)
{
    flt_struct& f = flt[0];
    acf_struct& a = pln[0];
    a.acf_part_eq[70] = 1;   // a fourth, higher gear: a tail skid
    a.acf_gear_type[70] = 1;
    a.acf_gear_ynodef[70] = 0.5f;
    a.acf_gear_znodef[70] = 4.0f;
    stage();
    EXPECT_EQ(f.onground_any, 1);
    EXPECT_EQ(f.onground_all, 0);
    a.acf_hybrid_gear = 1;   // a skid of a hybrid undercarriage may hang free
    stage();
    EXPECT_EQ(f.onground_all, 1);

    // Only the skid touching: in contact, yet not on the ground.
    for (int n : {NOSE, LEFT, RIGHT}) a.acf_gear_ynodef[n] = 2.0f;
    a.acf_gear_ynodef[70] = -1.3f;
    a.acf_gearcon[70] = 20000.0f;
    stage();
    EXPECT_GT(f.fnrml_gear, 0.0f);
    EXPECT_EQ(f.onground_any, 0);
    EXPECT_EQ(f.onground_all, 0);
}

// The test aircraft of the force tests, on springs and dampers of its own,
// lowered onto flat ground and left to settle through the whole build-up; the
// world starts empty, whatever scene, sea or ships tests before it built.
class GroundContactFlown : public FlightState {};

TEST_F(GroundContactFlown, TheTestAircraftSettlesOnItsGearAndTheParkingBrakeHoldsIt)
{
    using namespace forces_test;
    CONST_fill_constants();
    CONST_fill_random_table();
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    TEST_lay_flat_grid(0.0f);
    GROUND_surface_reset();
    surface_state.surface_code = SMOOTH_RUNWAY;
    build_aircraft();
    still_air();
    acf_struct& a = pln[0];
    a.acf_m_max = 1200.0f;
    a.acf_roll_co = 0.02f;
    a.acf_brake_co = 0.5f;
    for (int n : {NOSE, LEFT, RIGHT}) {
        a.acf_gearcon[n] = 60000.0f;
        a.acf_geardmp[n] = 6000.0f;
    }
    a.acf_nw_steerdeg1 = 20.0f;
    a.acf_gear_steers[NOSE] = 1;
    place(1.38f, 0.0f, 0.0f);   // the tyres' bottoms 1.4 m below the centre of gravity
    CONTACT_reset();
    GROUND_stages_reset();
    flt_struct& f = flt[0];
    f.parkbrake = 1.0f;
    const float x0 = f.local_x, z0 = f.local_z;
    for (int frame = 0; frame < 1500; ++frame) fly_frame(0.02f);   // 30 s

    float struts = 0.0f;
    for (int n : {NOSE, LEFT, RIGHT}) struts += f.nrml_force[n];
    EXPECT_NEAR(struts, f.m_total * sim_physics.g_sealevel, 0.01f * f.m_total * sim_physics.g_sealevel);
    EXPECT_EQ(f.onground_all, 1);
    EXPECT_LT(std::hypot(f.local_x - x0, f.local_z - z0), 1.0f);
    EXPECT_LT(std::fabs(f.local_vy), 0.01f);
}
