// The fleet's armed aircraft with its generated weapons, flown through the
// simulation's frame and the plane step: the gun shoots while the trigger is
// held and its projectiles end at the ground; a bomb leaves, takes its mass
// off the aircraft and hits the ground below it.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "aircraft/flight_start.h"
#include "aircraft/wpn_file.h"
#include "core/app_mode.h"
#include "core/input.h"
#include "core/weapon_kinds.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/weapons/projectiles.h"
#include "flightmodel/weapons/weapons.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/flightmodel/trainer_fixture.h"
#include "tests/support/flight_fixture.h"

using namespace trainer_test;

namespace {

constexpr float DT = 0.04f;   // 25 frames a second

// The armed aircraft loaded into slot 0 from the built data folder and put
// level at 1,000 m over flat ground at sea level, flying north at 80 m/s.
class ArmedAircraft : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        const std::string path = built_aircraft_file("Orvell Striker.acf");
        ASSERT_FALSE(path.empty()) << "the built data folder has no Orvell Striker.acf";
        FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
        clear_alerts();
        std::memset(&pln[0], 0, sizeof pln[0]);
        std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
        std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", std::filesystem::path(path).filename().c_str());
        ACF_load_and_setup(0);
        WPN_reset();
        key_hold_command = 0;
        FLIGHT_reset_at_start(0, 0.0f, 0.0f, 0.0f, 0.0f, 1000.0f, 0.0f, 80.0f);
        sim_operation_prefs.startup_running = 1;
        app_mode = MODE_FLYING;
        frame_clock = 10.0f;
    }
    void TearDown() override
    {
        key_hold_command = 0;
        sim_cockpit_weapons = sim_cockpit_weapons_block{};
        FlightState::TearDown();
    }
    static void frame() { simulation_frame(DT); }
};

}  // namespace

TEST_F(ArmedAircraft, LoadsItsWeaponsWithoutAnAlert)
{
    EXPECT_TRUE(recorded_alerts.empty());
    const acf_struct& a = pln[0];
    EXPECT_EQ(a.acf_wpn_slot[0].wpn_type, WPN_KIND_GUN);
    EXPECT_FLOAT_EQ(a.acf_wpn_slot[0].wpn_fire_rate, 10.0f);
    EXPECT_FLOAT_EQ(a.acf_wpn_slot[0].wpn_ammo, 300.0f);
    EXPECT_EQ(a.acf_wpn_slot[1].wpn_type, WPN_KIND_BOMB);
    EXPECT_EQ(a.acf_wpn_slot[2].wpn_type, WPN_KIND_BOMB);
    EXPECT_EQ(a.acf_Xwpn_att[1], -a.acf_Xwpn_att[2]);   // the pairs are mirrored
    EXPECT_EQ(a.acf_wpn_slot[3].wpn_type, WPN_KIND_MISSILE_FIRST);
    EXPECT_EQ(a.acf_Xwpn_att[3], -a.acf_Xwpn_att[4]);
    EXPECT_EQ(a.acf_wpn_slot[5].wpn_type, WPN_KIND_FUEL_TANK);
    EXPECT_GT(a.acf_wpn_slot[1].wpn_area_front, 0.05f);   // the bomb's body measured
    EXPECT_GT(a.acf_wpn_slot[3].wpn_thrust[0], 10000.0f);
}

TEST_F(ArmedAircraft, GunShootsWhileTheTriggerIsHeldAndItsRoundsEndAtTheGround)
{
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    wpn_slot_record& gun = pln[0].acf_wpn_slot[0];
    sim_cockpit_weapons.guns_armed = 1;
    key_hold_command = 1;
    for (int k = 0; k < 25; ++k) frame();   // one second
    key_hold_command = 0;
    EXPECT_NEAR(gun.wpn_ammo, 290.0f, 1.0f);
    const int shot = static_cast<int>(300.0f - gun.wpn_ammo);
    EXPECT_EQ(PROJ_live_count(), shot);
    EXPECT_EQ(projectile_list.rec.size(), static_cast<size_t>(shot));

    float time = 0.0f;
    while (PROJ_live_count() > 0 && time < 40.0f) {
        frame();
        time += DT;
    }
    EXPECT_EQ(PROJ_live_count(), 0);
    EXPECT_EQ(gun.wpn_ammo, 300.0f - shot);   // no shot without the trigger
    EXPECT_GT(time, 5.0f);                    // they flew a while first
}

TEST_F(ArmedAircraft, ReleasedBombLeavesItsMassAndHitsTheGroundBelowIt)
{
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    frame();
    wpn_slot_record& bomb = pln[0].acf_wpn_slot[1];
    const float mass_before = flt[0].m_total;
    sim_cockpit_weapons.bombs_armed = 1;
    sim_cockpit_weapons.firing_mode = WPN_FIRING_SINGLE;
    key_hold_command = 1;
    frame();
    key_hold_command = 0;
    ASSERT_EQ(WPN_released(0, 1), 1);
    EXPECT_EQ(WPN_released(0, 2), 0);   // single: one bomb a press
    frame();
    EXPECT_NEAR(mass_before - flt[0].m_total, bomb.wpn_mass, 0.5f);

    float time = 0.0f;
    while (bomb.wpn_impact == 0 && time < 30.0f) {
        frame();
        time += DT;
    }
    ASSERT_EQ(bomb.wpn_impact, 1);
    EXPECT_EQ(bomb.wpn_type, WPN_KIND_NONE);
    int i = 0, j = 0;
    const float ground = TERRAIN_height_at(bomb.wpn_impact_pos[0], bomb.wpn_impact_pos[2], nullptr, nullptr, nullptr,
                                           &i, &j, 0, "test");
    EXPECT_EQ(bomb.wpn_impact_pos[1], ground);
    EXPECT_NEAR(time, std::sqrt(2.0f * 1000.0f / 9.7982788f), 3.0f);   // about a free fall from 1,000 m
}
