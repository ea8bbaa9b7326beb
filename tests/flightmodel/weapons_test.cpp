// Weapons: the firing rules of the trigger and the arming switches, the flight
// of released weapons with their motors and guidance, their end at the
// ground or the area's edge, and the projectiles of guns.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/input.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/weapon_kinds.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/weapons/projectiles.h"
#include "flightmodel/weapons/weapons.h"
#include "tests/support/flight_fixture.h"

namespace {

constexpr float G = 9.7982788f;

// The user's plane level at 1,000 m over flat ground at 0 m, heading north at
// 100 m/s, with a store at each attach point the test loads.
class Weapons : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        key_hold_command = 0;
        flt_struct& f = flt[0];
        f.local_y = 1000.0f;
        f.local_vz = -100.0f;
        level(f, 0.0f);
        frame_clock = 1.0f;
    }
    void TearDown() override
    {
        key_hold_command = 0;
        FlightState::TearDown();
    }
    static void level(flt_struct& f, float roll_deg)
    {
        f.theta = f.psi = 0.0f;
        f.phi = roll_deg;
        f.sin_theta = f.track_sin = 0.0f;
        f.cos_theta = f.track_cos = 1.0f;
        f.sin_phi = std::sin(roll_deg * DEG_TO_RAD_FLOAT);
        f.cos_phi = std::cos(roll_deg * DEG_TO_RAD_FLOAT);
    }
    // A store of `kind` at attach point (x, -1, 0), loaded as the weapon-file reader leaves it.
    static wpn_slot_record& load(int slot, int kind, float x = 0.0f, int plane = 0)
    {
        acf_struct& a = pln[plane];
        wpn_slot_record& w = a.acf_wpn_slot[slot];
        w = wpn_slot_record{};
        w.wpn_type = kind;
        w.wpn_valid = WPN_kind_is_trigger_held(kind) ? 0 : 1;
        w.wpn_mass = w.wpn_mass_now = 100.0f;
        a.acf_Xwpn_att[slot] = x;
        a.acf_Ywpn_att[slot] = -1.0f;
        a.acf_Zwpn_att[slot] = 0.0f;
        return w;
    }
    static void arm_all()
    {
        sim_cockpit_weapons.guns_armed = sim_cockpit_weapons.rockets_armed = 1;
        sim_cockpit_weapons.missiles_armed = sim_cockpit_weapons.bombs_armed = 1;
    }
    // One frame of the user's plane: the weapons' pass of the build-up, then the motion.
    static void frame(float dt)
    {
        sim_operation_misc.frame_rate_period = dt;
        WPN_fire_and_fly();
        WPN_fly_released(0);
        frame_clock += dt;
    }
    static bool released(int slot) { return WPN_released(0, slot) != 0; }
    static std::vector<int> released_slots()
    {
        std::vector<int> r;
        for (int s = 0; s < ACF_WPN_SLOTS; ++s)
            if (pln[0].acf_wpn_slot[s].wpn_released) r.push_back(s);
        return r;
    }
};

}  // namespace

TEST_F(Weapons, PressReleasesOneMissileAndOneBombOfEachSingleKind)
{
    arm_all();
    load(0, 8), load(1, 9), load(2, WPN_KIND_BOMB_PRESS), load(3, WPN_KIND_BOMB_PRESS);
    load(4, WPN_KIND_BOMB_PRESS_2), load(5, WPN_KIND_BOMB_PRESS_2), load(6, WPN_KIND_FUEL_TANK);
    key_hold_command = 1;
    for (int k = 0; k < 5; ++k) frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{0, 2, 4}));
    key_hold_command = 0;
    frame(0.02f);
    key_hold_command = 1;
    frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{0, 1, 2, 3, 4, 5}));   // never the drop tank
    // Nothing goes unarmed.
    key_hold_command = 0;
    frame(0.02f);
    load(7, 10);
    sim_cockpit_weapons.missiles_armed = 0;
    key_hold_command = 1;
    frame(0.02f);
    EXPECT_FALSE(released(7));
}

TEST_F(Weapons, RippleReleasesByTheRateKnob)
{
    arm_all();
    sim_cockpit_weapons.firing_mode = WPN_FIRING_RIPPLE;
    float dt = 0.01f;
    auto release_times = [&](int rate) {
        RESET_group(reset_group::flight);
        frame_clock = 1.0f;
        sim_cockpit_weapons.firing_rate = rate;
        for (int s = 0; s < 12; ++s) load(s, s % 2 ? WPN_KIND_BOMB : WPN_KIND_GUIDED_BOMB_2);
        std::vector<float> times;
        key_hold_command = 1;
        for (int k = 0; k < 500 && times.size() < 4; ++k) {
            const size_t before = released_slots().size();
            const float t = frame_clock;
            frame(dt);
            if (released_slots().size() > before) times.push_back(t);
        }
        key_hold_command = 0;
        return times;
    };
    for (auto [rate, interval] : {std::pair{5, 0.2f}, {1, 1.0f}, {0, 1.0f}, {10, 0.1f}, {7, 0.0f}}) {
        const std::vector<float> t = release_times(rate);
        ASSERT_EQ(t.size(), 4u) << rate;
        EXPECT_EQ(t[0], 1.0f);   // the press frame
        for (int k = 1; k < 4; ++k) {
            // The first frame strictly after the interval (at least one frame apart).
            EXPECT_GE(t[k] - t[k - 1], std::max(interval, dt) - 1e-4f) << rate;
            EXPECT_LE(t[k] - t[k - 1], interval + dt + 1e-4f) << rate;
        }
    }
    // A frame that lands exactly on the next release time waits one frame more.
    dt = 0.25f;
    const std::vector<float> t = release_times(1);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1] - t[0], 1.25f);
}

TEST_F(Weapons, SalvoAndPairs)
{
    arm_all();
    sim_cockpit_weapons.firing_mode = WPN_FIRING_SALVO;
    for (int kind : {15, 19, 20, 22}) load(kind % 12, kind);
    load(0, WPN_KIND_BOMB_PRESS);
    load(1, 8);
    sim_cockpit_weapons.missiles_armed = 0;
    key_hold_command = 1;
    frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{0, 3, 7, 8, 10}));

    // Pairs: the next slot goes too when it holds the same kind at the mirrored point.
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) pln[0].acf_wpn_slot[s] = wpn_slot_record{};
    key_hold_command = 0;
    frame(0.02f);
    sim_cockpit_weapons.firing_mode = WPN_FIRING_PAIRS;
    load(4, WPN_KIND_BOMB, -2.0f), load(5, WPN_KIND_BOMB, 2.0f);
    load(6, WPN_KIND_BOMB, -3.0f), load(7, WPN_KIND_BOMB, 1.0f);
    load(8, WPN_KIND_GUIDED_BOMB, -1.0f), load(9, WPN_KIND_BOMB, 1.0f);
    key_hold_command = 1;
    frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{4, 5}));
    key_hold_command = 0, frame(0.02f), key_hold_command = 1, frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{4, 5, 6}));   // slot 7 is not its mirror
    key_hold_command = 0, frame(0.02f), key_hold_command = 1, frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{4, 5, 6, 7}));
    key_hold_command = 0, frame(0.02f), key_hold_command = 1, frame(0.02f);
    EXPECT_EQ(released_slots(), (std::vector<int>{4, 5, 6, 7, 8}));   // slot 9 is of another kind
}

TEST_F(Weapons, GunsGoOnlyWhileTheTriggerHoldsThemAndNeverWithoutAmmunition)
{
    arm_all();
    wpn_slot_record& empty = load(0, WPN_KIND_GUN);
    wpn_slot_record& gun = load(1, WPN_KIND_GUN);
    wpn_slot_record& line = load(2, WPN_KIND_LINE_GUN);
    gun.wpn_ammo = 100.0f, gun.wpn_fire_rate = 1.0f;
    key_hold_command = 1;
    for (int k = 0; k < 10; ++k) {
        frame(0.02f);
        EXPECT_EQ(empty.wpn_released, 0);
        EXPECT_EQ(gun.wpn_released, 1);
        EXPECT_EQ(line.wpn_released, 1);
    }
    key_hold_command = 0;
    frame(0.02f);
    EXPECT_EQ(gun.wpn_released, 0);
    EXPECT_EQ(line.wpn_released, 0);
}

TEST_F(Weapons, HangingFollowsThePlaneAndAnArmedGunFollowsTheStick)
{
    flt[0].local_x = 50.0f;
    flt[0].i = 7, flt[0].j = 9;
    wpn_slot_record& bomb = load(0, WPN_KIND_BOMB, 3.0f);
    bomb.wpn_cg_offset[1] = 0.5f;
    frame(0.02f);
    EXPECT_FLOAT_EQ(bomb.wpn_pos[0], 53.0f);
    EXPECT_FLOAT_EQ(bomb.wpn_pos[1], 1000.0f - 1.5f);
    EXPECT_EQ(bomb.wpn_vel[2], -100.0f);
    EXPECT_EQ(bomb.wpn_terrain_i, 7);
    EXPECT_EQ(bomb.wpn_terrain_j, 9);

    wpn_slot_record& gun = load(1, WPN_KIND_GUN);
    gun.wpn_aim_az_max = 20.0f, gun.wpn_aim_el_max = 10.0f;
    sim_joystick.yolk_roll_ratio = 0.5f, sim_joystick.yolk_pitch_ratio = -1.0f;
    sim_cockpit_weapons.guns_armed = 1;
    WPN_hang(0, 1);
    EXPECT_EQ(gun.wpn_aim_az, 10.0f);
    EXPECT_EQ(gun.wpn_aim_el, -10.0f);
    EXPECT_NEAR(gun.wpn_psi, 10.0f, 1e-3f);
    EXPECT_NEAR(gun.wpn_theta, -10.0f, 1e-3f);
    // Disarmed, the gun keeps its last aim.
    sim_cockpit_weapons.guns_armed = 0;
    sim_joystick.yolk_roll_ratio = 0.0f;
    WPN_hang(0, 1);
    EXPECT_EQ(gun.wpn_aim_az, 10.0f);
    EXPECT_NEAR(gun.wpn_psi, 0.0f, 1e-3f);
}

TEST_F(Weapons, ReleasedStoreFallsAtGravityKeepingItsHorizontalSpeed)
{
    arm_all();
    wpn_slot_record& w = load(0, WPN_KIND_BOMB_PRESS);
    frame(0.05f);   // hung
    key_hold_command = 1;
    const float dt = 0.05f;
    for (int k = 1; k <= 40; ++k) {
        frame(dt);
        ASSERT_EQ(w.wpn_released, 1);
        EXPECT_NEAR(w.wpn_vel[1], -G * dt * k, 1e-3f);
        EXPECT_EQ(w.wpn_vel[2], -100.0f);
        EXPECT_EQ(w.wpn_vel[0], 0.0f);
    }
    EXPECT_NEAR(w.wpn_pos[1], 999.0f - G * dt * dt * 40 * 41 / 2, 0.05f);
}

TEST_F(Weapons, RollIsHeldTowardsLevel)
{
    arm_all();
    for (auto [roll, rate] : {std::pair{45.0f, -0.3f}, {30.0f, -0.3f}, {20.0f, -0.2f}, {-60.0f, 0.3f}}) {
        RESET_group(reset_group::flight);
        level(flt[0], roll);
        wpn_slot_record& w = load(0, WPN_KIND_BOMB_PRESS);
        key_hold_command = 0;
        frame(0.02f);
        key_hold_command = 1;
        frame(0.02f);
        EXPECT_NEAR(w.wpn_P, rate, 1e-4f) << roll;
        EXPECT_LT(std::fabs(w.wpn_phi), std::fabs(roll)) << roll;
    }
}

TEST_F(Weapons, ThreeStageMotorBurnsInOrderWithOneSmokePuffAFrame)
{
    arm_all();
    wpn_slot_record& w = load(0, 8);
    w.wpn_thrust[0] = 1000.0f, w.wpn_thrust[1] = 500.0f, w.wpn_thrust[2] = 250.0f;
    w.wpn_burn_time[0] = 1.0f, w.wpn_burn_time[1] = 2.0f, w.wpn_burn_time[2] = 0.5f;
    const float dt = 0.0625f;   // whole frames in every stage
    frame(dt);
    key_hold_command = 1;
    std::vector<int> burned_stage;   // per frame: the stage that burned, -1 none
    for (int k = 0; k < 80; ++k) {
        const float before[3] = {w.wpn_burn_time[0], w.wpn_burn_time[1], w.wpn_burn_time[2]};
        const int puffs_before = live_particles(0);
        // The build-up runs twice a frame, each time on half the period.
        sim_operation_misc.frame_rate_period = dt * 0.5f;
        WPN_fire_and_fly();
        WPN_fire_and_fly();
        sim_operation_misc.frame_rate_period = dt;
        WPN_fly_released(0);
        frame_clock += dt;
        int burned = -1;
        for (int s = 0; s < 3; ++s)
            if (w.wpn_burn_time[s] < before[s]) {
                EXPECT_EQ(burned, -1) << "two stages in frame " << k;
                EXPECT_EQ(before[s] - w.wpn_burn_time[s], dt);
                burned = s;
            }
        burned_stage.push_back(burned);
        EXPECT_EQ(live_particles(0) - puffs_before, burned >= 0 ? 1 : 0) << k;
    }
    std::vector<int> expected(80, -1);
    for (int k = 0; k < 56; ++k) expected[k] = k < 16 ? 0 : (k < 48 ? 1 : 2);
    EXPECT_EQ(burned_stage, expected);
    ASSERT_EQ(w.wpn_type, 8);   // still flying
}

TEST_F(Weapons, GuidanceTimeToGoAndHeadingError)
{
    sim_graphics_settings.draw_aircrafts = 2;
    sim_cockpit_weapons.plane_target_index = 1;
    flt[1].local_y = 1000.0f;
    wpn_slot_record& w = load(0, 8);
    w.wpn_released = 1;
    w.wpn_pos[1] = 1000.0f;
    w.wpn_vel[2] = -250.0f;
    w.wpn_speed = 250.0f;
    for (auto [distance, time_to_go] : {std::pair{1000.0f, 4.0f}, {2500.0f, 10.0f}, {4000.0f, 10.0f}}) {
        flt[1].local_z = -distance;
        w.wpn_time_to_go = 0.0f;
        WPN_fire_and_fly();
        EXPECT_FLOAT_EQ(w.wpn_time_to_go, time_to_go) << distance;
        EXPECT_FLOAT_EQ(w.wpn_tgt_dist, distance);
    }
    // A heading error beyond half a turn is taken the short way round.
    w.wpn_psi = -350.0f;
    WPN_fire_and_fly();
    EXPECT_NEAR(w.wpn_hdg_err, -10.0f, 1e-3f);
    w.wpn_psi = 350.0f;
    WPN_fire_and_fly();
    EXPECT_NEAR(w.wpn_hdg_err, 10.0f, 1e-3f);
    EXPECT_EQ(w.wpn_yaw_cmd, 0.0f);
    // A target index outside the plane slots steers nothing.
    sim_cockpit_weapons.plane_target_index = 12;
    w.wpn_hdg_err = 5.0f;
    WPN_fire_and_fly();
    EXPECT_EQ(w.wpn_hdg_err, 5.0f);
}

// A store that meets the ground or leaves the area ends the weapons' pass of
// that frame: the stores after it get their forces only in a later frame.
TEST_F(Weapons, StoresEndingAtTheGroundOrTheAreaEdgeEndTheFramesPass)
{
    wpn_slot_record& low = load(0, WPN_KIND_BOMB);
    wpn_slot_record& out = load(1, WPN_KIND_BOMB);
    wpn_slot_record& high = load(2, WPN_KIND_BOMB);
    for (wpn_slot_record* w : {&low, &out, &high}) w->wpn_released = 1, w->wpn_vel[2] = -50.0f;
    low.wpn_pos[0] = 120.0f, low.wpn_pos[1] = -0.5f, low.wpn_pos[2] = 80.0f;
    out.wpn_pos[0] = scenery_area.x1 + 10.0f, out.wpn_pos[1] = 500.0f;
    high.wpn_pos[1] = 500.0f;
    frame_clock = 12.5f;
    frame(0.05f);
    EXPECT_EQ(low.wpn_type, WPN_KIND_NONE);
    EXPECT_EQ(low.wpn_impact, 1);
    EXPECT_EQ(low.wpn_impact_pos[0], 120.0f);
    EXPECT_EQ(low.wpn_impact_pos[1], 0.0f);   // the terrain under it
    EXPECT_EQ(low.wpn_impact_pos[2], 80.0f);
    EXPECT_EQ(low.wpn_impact_time, 12.5f);
    EXPECT_EQ(out.wpn_type, WPN_KIND_BOMB) << "not looked at in the frame the first store ended";
    EXPECT_EQ(high.wpn_speed, 0.0f);
    // It still flew (the motion is a step of its own): gravity alone.
    EXPECT_NEAR(high.wpn_vel[1], -G * 0.05f, 1e-4f);

    frame(0.05f);
    EXPECT_EQ(out.wpn_type, WPN_KIND_NONE);
    EXPECT_EQ(out.wpn_impact, 0);
    EXPECT_EQ(high.wpn_speed, 0.0f);
    frame(0.05f);
    EXPECT_NEAR(high.wpn_speed, std::sqrt(50.0f * 50.0f + (2.0f * G * 0.05f) * (2.0f * G * 0.05f)), 1e-3f);
}

TEST_F(Weapons, ZeroRadiusOfGyrationAndNoMassDivideNothing)
{
    wpn_slot_record& w = load(0, WPN_KIND_BOMB);
    w.wpn_released = 1;
    w.wpn_pos[1] = 500.0f;
    w.wpn_vel[2] = -200.0f;
    w.wpn_area_front = w.wpn_area_side = w.wpn_area_top = 0.5f;
    w.wpn_cd_base = 0.3f;
    w.wpn_centroid_long = 1.0f;
    w.wpn_theta = 5.0f;
    w.wpn_mass_now = 0.0f;
    for (int k = 0; k < 20; ++k) frame(0.05f);
    for (float v : {w.wpn_Q, w.wpn_R, w.wpn_vel[0], w.wpn_vel[1], w.wpn_vel[2], w.wpn_theta})
        EXPECT_TRUE(std::isfinite(v));
}

TEST_F(Weapons, PlaneCountBeyondTheSlotsStaysInsideThem)
{
    sim_graphics_settings.draw_aircrafts = 50;
    wpn_slot_record& w = load(23, WPN_KIND_BOMB, 0.0f, ACF_SLOTS - 1);
    w.wpn_released = 1;
    w.wpn_pos[1] = 400.0f;
    w.wpn_vel[2] = -30.0f;
    frame(0.02f);
    EXPECT_EQ(w.wpn_speed, 30.0f);   // the last plane slot's store was worked on
    EXPECT_TRUE(std::isfinite(w.wpn_force[1]));
    sim_graphics_settings.draw_aircrafts = -3;
    frame(0.02f);
}

TEST_F(Weapons, GunShootsAtItsRateTakingOneRoundEachShot)
{
    arm_all();
    wpn_slot_record& gun = load(0, WPN_KIND_GUN);
    gun.wpn_fire_rate = 10.0f;
    gun.wpn_ammo = 4.0f;
    gun.wpn_muzzle_speed = 800.0f;
    gun.wpn_mass = 0.1f;
    frame(0.02f);   // on its attach point
    frame_clock = 1.0f;
    key_hold_command = 1;
    std::vector<float> shots;
    for (int k = 0; k < 50; ++k) {   // one second at 50 frames a second
        const float ammo = gun.wpn_ammo;
        const float t = frame_clock;
        frame(0.02f);
        if (gun.wpn_ammo < ammo) {
            EXPECT_EQ(ammo - gun.wpn_ammo, 1.0f);
            shots.push_back(t);
        }
    }
    ASSERT_EQ(shots.size(), 4u);
    EXPECT_EQ(shots[0], 1.0f);   // the first frame
    for (int k = 1; k < 4; ++k) EXPECT_NEAR(shots[k] - shots[k - 1], 0.1f, 0.021f);
    EXPECT_EQ(gun.wpn_ammo, 0.0f);
    EXPECT_EQ(gun.wpn_released, 0);
    EXPECT_EQ(PROJ_live_count(), 4);
    EXPECT_EQ(live_particles(0), 4);   // a muzzle flash each
    // Each leaves along the plane's heading at the muzzle speed plus the plane's.
    EXPECT_EQ(projectile_list.rec[0].proj_kind, WPN_KIND_GUN);
}

TEST_F(Weapons, ShotStraightUpRisesForSpeedOverGravity)
{
    sim_cockpit_weapons.guns_armed = 1;
    flt[0].local_y = 10.0f;
    flt[0].local_vz = 0.0f;
    wpn_slot_record& gun = load(0, WPN_KIND_GUN);
    gun.wpn_fire_rate = 1.0f;
    gun.wpn_ammo = 1.0f;
    gun.wpn_muzzle_speed = 100.0f;
    gun.wpn_aim_el_max = 90.0f;
    sim_joystick.yolk_pitch_ratio = 1.0f;
    frame(0.01f);   // the gun aims up
    key_hold_command = 1;
    frame(0.01f);
    key_hold_command = 0;
    ASSERT_EQ(PROJ_live_count(), 1);
    const projectile_record& r = projectile_list.rec[0];
    EXPECT_NEAR(r.proj_dir[1], 1.0f, 1e-6f);
    float apex_time = 0.0f, t = 0.0f;
    while (r.proj_kind != 0 && t < 30.0f) {
        const float vy = r.proj_vel[1];
        frame(0.01f);
        t += 0.01f;
        if (vy > 0.0f && r.proj_vel[1] <= 0.0f) apex_time = t;
    }
    EXPECT_NEAR(apex_time, 100.0f / G, 0.02f);
    EXPECT_EQ(r.proj_kind, 0);   // it ended at the ground, 9 m below the muzzle
    EXPECT_NEAR(t, (100.0f + std::sqrt(100.0f * 100.0f + 2.0f * G * 9.0f)) / G, 0.03f);
    EXPECT_EQ(PROJ_live_count(), 0);
}

TEST_F(Weapons, ProjectileRecordsAreReusedAndTheListGrows)
{
    arm_all();
    wpn_slot_record& gun = load(0, WPN_KIND_GUN);
    gun.wpn_fire_rate = 1000.0f;
    gun.wpn_ammo = 1.0e6f;
    gun.wpn_mass = 1.0f;
    frame(0.02f);   // on its attach point
    // Free records in the list: the next shot takes record 0.
    projectile_list.rec.resize(5);
    key_hold_command = 1;
    frame(0.02f);
    EXPECT_NE(projectile_list.rec[0].proj_kind, 0);
    EXPECT_EQ(projectile_list.rec.size(), 5u);

    // Every record live, high above: the next shot appends a record of its own.
    key_hold_command = 0;
    frame(0.02f);
    RESET_group(reset_group::flight);
    projectile_list.rec.resize(50);
    for (projectile_record& r : projectile_list.rec) {
        r = projectile_record{};
        r.proj_kind = WPN_KIND_GUN;
        r.proj_mass = 1.0f;
        r.proj_pos[1] = 5000.0f;
    }
    key_hold_command = 1;
    frame(0.02f);
    ASSERT_EQ(projectile_list.rec.size(), 51u);
    EXPECT_LT(projectile_list.rec[50].proj_pos[1], 1000.0f);   // the new shot, at the muzzle
    for (int k = 0; k < 50; ++k) EXPECT_GT(projectile_list.rec[k].proj_pos[1], 4999.0f) << k;

    // A projectile that leaves the loaded area flies on until it meets the
    // ground (the border's plane carried on): shot level and north from the
    // north edge 999 m above flat ground, it falls for sqrt(2 x 999 / g) =
    // 14.28 s, 714 frames of 0.02 s.
    RESET_group(reset_group::flight);
    key_hold_command = 0;
    flt[0].local_z = scenery_area.z0 + 1.0f;
    gun.wpn_muzzle_speed = 500.0f;
    frame(0.02f);
    key_hold_command = 1;
    frame(0.02f);
    EXPECT_EQ(gun.wpn_released, 1);
    key_hold_command = 0;
    frame(0.02f);
    ASSERT_EQ(projectile_list.rec.size(), 1u);
    ASSERT_EQ(PROJ_live_count(), 1);
    EXPECT_LT(projectile_list.rec[0].proj_pos[2], scenery_area.z0);
    int frames = 2;
    while (PROJ_live_count() > 0 && frames < 2000) {
        frame(0.02f);
        ++frames;
    }
    EXPECT_NEAR(frames, 714, 3);
}

TEST_F(Weapons, UnpackingAPlaneStateHangsItsWeaponsStillAboard)
{
    flt[0].local_x = 100.0f, flt[0].local_z = -50.0f;
    plane_state_record rec{};
    PLANE_pack_state(rec, 0);
    wpn_slot_record& aboard = load(0, WPN_KIND_BOMB, 2.0f, 2);
    wpn_slot_record& gone = load(1, WPN_KIND_BOMB, 2.0f, 2);
    gone.wpn_released = 1;
    gone.wpn_pos[1] = 300.0f;
    level(flt[2], 0.0f);   // the attitude's sines and cosines as the plane's last step left them
    PLANE_unpack_state(rec, rec, 0.0f, PLANE_UNPACK_REPLAY, 2);
    EXPECT_NEAR(aboard.wpn_pos[0], 102.0f, 1e-3f);
    EXPECT_NEAR(aboard.wpn_pos[1], flt[2].local_y - 1.0f, 1e-3f);
    EXPECT_NEAR(aboard.wpn_pos[2], -50.0f, 1e-3f);
    EXPECT_EQ(gone.wpn_pos[1], 300.0f);
}

TEST_F(Weapons, ReleasedWeaponsAndProjectilesKeepTheirPlaceWhenTheAreaMoves)
{
    wpn_slot_record& bomb = load(0, WPN_KIND_BOMB);
    bomb.wpn_released = 1;
    bomb.wpn_pos[0] = 30000.0f, bomb.wpn_pos[1] = 800.0f, bomb.wpn_pos[2] = -40000.0f;
    bomb.wpn_vel[2] = -100.0f;
    wpn_slot_record& aboard = load(1, WPN_KIND_BOMB);
    aboard.wpn_pos[0] = 5.0f;
    projectile_list.rec.resize(2);
    projectile_record& r = projectile_list.rec[1];
    r.proj_kind = WPN_KIND_GUN;
    r.proj_pos[0] = -20000.0f, r.proj_pos[1] = 300.0f, r.proj_pos[2] = 10000.0f;
    r.proj_vel[0] = 500.0f;
    float lat1, lon1, h1, lat2, lon2, h2;
    GEO_local_to_latlon(lat1, lon1, h1, bomb.wpn_pos[0], bomb.wpn_pos[1], bomb.wpn_pos[2]);
    GEO_local_to_latlon(lat2, lon2, h2, r.proj_pos[0], r.proj_pos[1], r.proj_pos[2]);

    lat_ref += 1.0f;   // the area moves a degree north and one east
    lon_ref += 1.0f;
    WPN_rebase(lat_ref - 1.0f, lon_ref - 1.0f);
    float lat, lon, h;
    GEO_local_to_latlon(lat, lon, h, bomb.wpn_pos[0], bomb.wpn_pos[1], bomb.wpn_pos[2]);
    EXPECT_NEAR(lat, lat1, 1e-4f);
    EXPECT_NEAR(lon, lon1, 1e-4f);
    EXPECT_NEAR(h, h1, 0.05f);
    EXPECT_NEAR(std::hypot(bomb.wpn_vel[0], bomb.wpn_vel[1], bomb.wpn_vel[2]), 100.0f, 0.01f);
    GEO_local_to_latlon(lat, lon, h, r.proj_pos[0], r.proj_pos[1], r.proj_pos[2]);
    EXPECT_NEAR(lat, lat2, 1e-4f);
    EXPECT_NEAR(lon, lon2, 1e-4f);
    EXPECT_NEAR(std::hypot(r.proj_vel[0], r.proj_vel[1], r.proj_vel[2]), 500.0f, 0.01f);
    EXPECT_EQ(aboard.wpn_pos[0], 5.0f);   // still aboard: hung again by its plane
}

TEST_F(Weapons, AStoreAboardTheUsersPlaneAddsItsDragOthersDoNot)
{
    sim_graphics_settings.draw_aircrafts = 2;
    flt[0].cos_alpha = flt[0].cos_beta = 1.0f;   // flying straight into the air
    flt[1] = flt[0];
    for (int plane : {1, 0}) {
        wpn_slot_record& w = load(0, WPN_KIND_BOMB, 3.0f, plane);
        w.wpn_area_front = 0.3f, w.wpn_area_side = w.wpn_area_top = 2.0f;
        w.wpn_cd_base = 0.2f;
        WPN_hang(plane, 0);
        flt[0].faxil_aero = flt[0].fside_aero = flt[0].fnrml_aero = flt[0].N = 0.0f;
        WPN_fire_and_fly();
        if (plane == 1) {
            EXPECT_EQ(flt[0].faxil_aero, 0.0f);
            pln[1].acf_wpn_slot[0] = wpn_slot_record{};
        } else {
            EXPECT_GT(flt[0].faxil_aero, 100.0f);   // about 0.2 x 0.3 m2 x 6 kPa, aft
            EXPECT_NEAR(flt[0].fside_aero, 0.0f, 1e-3f);
            EXPECT_NEAR(flt[0].N, 3.0f * flt[0].faxil_aero, 1e-2f);   // drag 3 m right yaws the nose right
        }
    }
}

// A released store's forces and the motion they give, worked by hand. The
// motor's 1,000 N push along the store's nose gives a 100-kg store 10 m/s^2
// forward: north when it heads north, east when it heads east. A pair of fins
// rolled 45 degrees (0.1 m^2 each: 0.4 m chord over 0.5 m span, 2 m aft) in a
// 5-degree sideslip from the left, on a body whose side area feels the
// sideslip (so the fins' sideslip term is reversed): fin angle -5 x sin 45 x
// -1 = +3.536 degrees; each fin lifts 0.05 x 3.536 x 0.1 x q, q = rho/2 x
// (100 cos 5)^2, and its share cos 45 of that is up: 0.025 q up in all. Each
// drags 0.001 x 3.536^2 x 0.1 x q = 0.00125 q and pushes sin 45 of its lift
// to the left (-0.0125 q); at beta -5 degrees the body's aft axis takes
// 0.0025 q cos 5 - 0.025 q sin 5 = 0.0003116 q of them.
TEST_F(Weapons, ReleasedStoreForcesByHand)
{
    wind_vector[0] = wind_vector[1] = wind_vector[2] = 0.0f;
    const float dt = 0.05f;
    sim_operation_misc.frame_rate_period = dt;
    for (float heading : {0.0f, 90.0f}) {
        wpn_slot_record& w = load(0, WPN_KIND_BOMB);
        w.wpn_released = 1;
        w.wpn_pos[1] = 1000.0f;
        w.wpn_psi = heading;
        const float sh = std::sin(heading * DEG_TO_RAD_FLOAT), ch = std::cos(heading * DEG_TO_RAD_FLOAT);
        w.wpn_vel[0] = 100.0f * sh, w.wpn_vel[2] = -100.0f * ch;
        w.wpn_thrust[0] = 1000.0f;
        w.wpn_burn_time[0] = 5.0f;
        WPN_fire_and_fly();
        EXPECT_NEAR(w.wpn_force[2], -1000.0f, 1e-3f) << heading;
        WPN_fly_released(0);
        EXPECT_NEAR(w.wpn_vel[0], 100.0f * sh + 10.0f * dt * sh, 1e-3f) << heading;
        EXPECT_NEAR(w.wpn_vel[2], -100.0f * ch - 10.0f * dt * ch, 1e-3f) << heading;
        EXPECT_NEAR(w.wpn_vel[1], -G * dt, 1e-4f) << heading;
    }

    const float slip = 5.0f * DEG_TO_RAD_FLOAT;
    auto up_force = [&](bool fins) {
        wpn_slot_record& w = load(0, WPN_KIND_BOMB);
        w.wpn_released = 1;
        w.wpn_pos[1] = 1000.0f;
        w.wpn_vel[0] = 100.0f * std::sin(slip), w.wpn_vel[2] = -100.0f * std::cos(slip);
        w.wpn_area_side = 1.0f;
        if (fins) {
            w.wpn_fin_span[0] = 0.5f, w.wpn_fin_root[0] = w.wpn_fin_tip[0] = 0.2f, w.wpn_fin_arm[0] = 2.0f;
            w.wpn_fin_roll[0] = w.wpn_fin_roll[1] = 45.0f;
        }
        WPN_fire_and_fly();
        return std::make_pair(w.wpn_force[1], w.wpn_force[2]);
    };
    const auto body = up_force(false);
    const float rho = ATMO_temp_pressure() * ATMO_density_at_alt(sim_graphics_scenery.current_planet, 1000.0f);
    const float u = 100.0f * std::cos(slip);
    const float q = 0.5f * rho * u * u;
    const auto finned = up_force(true);
    EXPECT_NEAR(finned.first - body.first, 0.025f * q, 0.002f * q);
    EXPECT_NEAR(finned.second - body.second, 0.0003116f * q, 0.00005f * q);
}

// A 2-kg projectile of 0.5 m2 drag area flying north at 100 m/s in air of
// density ratio 1: drag 0.5 x 1 x 0.1 x 0.5 x 100^2 = 250 N against its
// motion; the first stage with burn time left pushes along the launch
// direction. One step of 0.02 s from the velocities at its start.
TEST_F(Weapons, ProjectileDragAndMotorByHand)
{
    sim_weather.sigma = 1.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    const struct {
        float burn[3], thrust[3];
        float az;         // m/s^2 along z (north is -z)
        int stage;        // the stage that burned, -1 none
    } rows[] = {
        {{1.0f, 0.0f, 0.0f}, {100.0f, 0.0f, 0.0f}, (-100.0f + 250.0f) / 2.0f, 0},
        {{0.0f, 0.5f, 0.5f}, {100.0f, 300.0f, 900.0f}, (-300.0f + 250.0f) / 2.0f, 1},
        {{0.0f, 0.0f, 0.0f}, {100.0f, 300.0f, 900.0f}, 250.0f / 2.0f, -1},
    };
    for (const auto& row : rows) {
        RESET_group(reset_group::flight);
        projectile_list.rec.resize(1);
        projectile_record& r = projectile_list.rec[0];
        r = projectile_record{};
        r.proj_kind = WPN_KIND_GUN;
        r.proj_mass = 2.0f;
        r.proj_drag_area = 0.5f;
        r.proj_dir[2] = -1.0f;
        r.proj_vel[2] = -100.0f;
        r.proj_pos[1] = 1000.0f;
        for (int k = 0; k < 3; ++k) r.proj_burn_time[k] = row.burn[k], r.proj_thrust[k] = row.thrust[k];
        const int smoke_before = live_particles(21);
        WPN_fire_and_fly();
        EXPECT_NEAR(r.proj_vel[2], -100.0f + row.az * 0.02f, 1e-4f) << row.stage;
        EXPECT_NEAR(r.proj_vel[1], -G * 0.02f, 1e-5f) << row.stage;
        EXPECT_NEAR(r.proj_pos[2], r.proj_vel[2] * 0.02f, 1e-5f) << row.stage;
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(r.proj_burn_time[k], row.burn[k] - (k == row.stage ? 0.02f : 0.0f), 1e-6f) << row.stage;
        // A burning stage trails one smoke particle every step, also the second
        // step of the same frame.
        const int smoke = live_particles(21);
        WPN_fire_and_fly();
        EXPECT_EQ(smoke - smoke_before, row.stage >= 0 ? 1 : 0) << row.stage;
        EXPECT_EQ(live_particles(21) - smoke, row.stage >= 0 ? 1 : 0) << row.stage;
    }
}
