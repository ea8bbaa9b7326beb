// The cockpit-control setters the panel, keys, buttons and console change the
// user's plane through: their ranges, the requests that are not numbers, and
// indices from outside that name no engine, plane or weapon slot.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/weapon_kinds.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/flt.h"

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

class CockpitControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int p = 0; p < FLT_SLOTS; ++p) std::memset(static_cast<void*>(&flt[p]), 0, sizeof(flt_struct));
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof(acf_struct));
        a.acf_min_pitch[1] = 2.0f, a.acf_max_pitch[1] = 14.0f;
    }
    // The records as bytes, to show that a refused call wrote nothing at all.
    static std::vector<unsigned char> records()
    {
        std::vector<unsigned char> bytes(sizeof(flt) + sizeof(acf_struct));
        std::memcpy(bytes.data(), static_cast<const void*>(flt), sizeof(flt));
        std::memcpy(bytes.data() + sizeof(flt), static_cast<const void*>(&pln[0]), sizeof(acf_struct));
        return bytes;
    }
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
};

}  // namespace

TEST_F(CockpitControls, ControlsStayInTheirRangesAndRequestsThatAreNoNumbersChangeNothing)
{
    CTRL_set_trim(TRIM_ELEVATOR, 1.7f);
    CTRL_set_trim(TRIM_AILERON, -3.0f);
    CTRL_set_trim(TRIM_ROTOR, -0.4f);
    EXPECT_EQ(f.elv_trim, 1.7f);   // the signed trims are not held here
    EXPECT_EQ(f.ail_trim, -3.0f);
    EXPECT_EQ(f.rot_trim, 0.0f);   // the rotor's trim has no negative side
    CTRL_set_speedbrake_request(-2.0f);
    EXPECT_EQ(f.sbrkrqst, -0.5f);   // armed is as low as it goes
    CTRL_set_flap_request(0.25f);
    ENGN_set_ignition(2, 9);
    EXPECT_EQ(f.ignition_on[2], 3);
    ENGN_set_collective_pitch(1, 30.0f);
    EXPECT_EQ(f.POINT_pitch_deg[1], 14.0f);
    CTRL_set_light(LIGHT_STROBE, 5);
    EXPECT_EQ(f.strobe_lights_on, 1);
    EXPECT_EQ(CTRL_light_on(LIGHT_STROBE), 1);

    const auto before = records();
    CTRL_set_trim(TRIM_RUDDER, NaN);
    CTRL_set_flap_request(NaN);
    CTRL_set_parking_brake(NaN);
    ENGN_set_carb_heat(0, NaN);
    ENGN_set_collective_pitch(1, NaN);
    CTRL_set_displacement(NaN);
    EXPECT_EQ(records(), before);
    EXPECT_EQ(f.flaprqst, 0.25f);
}

TEST_F(CockpitControls, IndicesFromOutsideThatNameNothingWriteNothing)
{
    const auto before = records();
    for (int n : {-1, FLT_ENGINES, 1 << 30}) {
        ENGN_set_ignition(n, 1);
        ENGN_set_carb_heat(n, 0.5f);
        ENGN_set_cowl_flaps(n, 0.5f);
        ENGN_set_prop_mode(n, 1);
        ENGN_set_collective_pitch(n, 5.0f);
    }
    ENGN_set_prop_mode(0, 7);   // no such propeller mode
    FLT_fire_rocket(-1, 380, 5.0f);
    FLT_fire_rocket(FLT_SLOTS, 380, 5.0f);
    WPN_set_steering(-1, 0.5f, 0.5f);
    WPN_set_steering(ACF_WPN_SLOTS, 0.5f, 0.5f);
    EXPECT_EQ(records(), before);

    FLT_fire_rocket(3, 381, 5.0f);
    EXPECT_EQ(flt[3].rocket_mode, 381);
    EXPECT_EQ(flt[3].rocket_timeout, 5.0f);
    WPN_set_steering(ACF_WPN_SLOTS - 1, 4.0f, -0.25f);
    EXPECT_EQ(a.acf_wpn_slot[ACF_WPN_SLOTS - 1].wpn_yaw_cmd, 1.0f);
    EXPECT_EQ(a.acf_wpn_slot[ACF_WPN_SLOTS - 1].wpn_pitch_cmd, -0.25f);
}

TEST_F(CockpitControls, JettisonDropsWaterWhileThereIsSomeAndReleasesOnlyDropTanksAboard)
{
    f.m_jettison = 300.0f;
    a.acf_jett_is_water = 1;
    FLT_jettison_load();
    EXPECT_EQ(f.water_drop_on, 1);
    EXPECT_EQ(f.m_jettison, 300.0f);   // the water drains as the flight model drops it
    a.acf_jett_is_water = 0;
    FLT_jettison_load();
    EXPECT_EQ(f.m_jettison, 0.0f);

    a.acf_wpn_slot[2].wpn_type = WPN_KIND_FUEL_TANK;
    a.acf_wpn_slot[5].wpn_type = WPN_KIND_BOMB;
    a.acf_wpn_slot[7].wpn_type = WPN_KIND_FUEL_TANK;
    WPN_release_drop_tanks();
    EXPECT_EQ(a.acf_wpn_slot[2].wpn_released, 1);
    EXPECT_EQ(a.acf_wpn_slot[5].wpn_released, 0);
    EXPECT_EQ(a.acf_wpn_slot[7].wpn_released, 1);
}
