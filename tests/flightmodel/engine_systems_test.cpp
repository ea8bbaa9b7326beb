// Engine and electrical systems: the tank the engines draw from, carried
// fuel tanks, what keeps an engine running, the mixture, turbine
// temperatures, oil, and the batteries and generators.
#include "aircraft/wpn_slot.h"
#include "tests/flightmodel/propulsion_fixture.h"

using namespace prop_test;

namespace {

struct EngineSystems : ::testing::Test {
    void SetUp() override
    {
        CONST_fill_constants();
        standard_air();
        piston_single();
        flt_struct& f = flt[0];
        f.ignition_on[0] = 3;
        f.ENGN_mixt[0] = 0.7f;   // best power at sigma 1
        f.ENGN_FF_[0] = 0.01f;   // 10 g/s
        sim_cockpit_engine.fuel_tank_selector = 4;
    }
    static void tanks(float a, float b, float c)
    {
        flt[0].m_fuel1 = a, flt[0].m_fuel2 = b, flt[0].m_fuel3 = c;
    }
};

TEST_F(EngineSystems, FullestTankSelectorDrawsTheFirstOfEqualTanks)
{
    flt_struct& f = flt[0];
    tanks(100, 100, 100);
    ENGN_systems();
    EXPECT_LT(f.m_fuel1, 100.0f);
    EXPECT_FLOAT_EQ(f.m_fuel2, 100.0f);
    EXPECT_FLOAT_EQ(f.m_fuel3, 100.0f);
    EXPECT_EQ(f.ENGN_running[0], 1);

    tanks(50, 100, 100);
    ENGN_systems();
    EXPECT_FLOAT_EQ(f.m_fuel1, 50.0f);
    EXPECT_LT(f.m_fuel2, 100.0f);
    EXPECT_FLOAT_EQ(f.m_fuel3, 100.0f);

    tanks(50, 100, 101);
    ENGN_systems();
    EXPECT_LT(f.m_fuel3, 101.0f) << "tank 3 only when fuller than both";

    // A selector on one tank draws it; on an empty tank or none the engine starves.
    sim_cockpit_engine.fuel_tank_selector = 2;
    tanks(100, 0, 100);
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
    EXPECT_FLOAT_EQ(f.ENGN_FF_[0], 0.0f) << "no fuel, no flow at once";
    sim_cockpit_engine.fuel_tank_selector = 0;
    tanks(100, 100, 100);
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
}

TEST_F(EngineSystems, CarriedDropTankIsDrawnFirst)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    tanks(100, 100, 100);
    for (int s : {3, 5}) {
        wpn_slot_record& w = a.acf_wpn_slot[s];
        w.wpn_type = 23;
        w.wpn_valid = 1;
        w.wpn_mass = 300.0f;
        w.wpn_fuel = 250.0f;
        w.wpn_fuel_now = 200.0f;
        w.wpn_mass_now = 250.0f;
    }
    sim_cockpit_engine.fuel_tank_selector = 1;
    ENGN_systems();
    EXPECT_FLOAT_EQ(f.m_fuel1, 100.0f) << "the selector is passed over";
    const wpn_slot_record& first = a.acf_wpn_slot[3];
    EXPECT_FLOAT_EQ(first.wpn_fuel_now, 200.0f - 0.01f * 0.02f) << "the first of two equal tanks";
    EXPECT_FLOAT_EQ(first.wpn_mass_now, 300.0f - 250.0f + first.wpn_fuel_now);
    EXPECT_FLOAT_EQ(a.acf_wpn_slot[5].wpn_fuel_now, 200.0f);

    // A released tank or an empty one is not drawn.
    a.acf_wpn_slot[3].wpn_released = 1;
    a.acf_wpn_slot[5].wpn_fuel_now = 0.0f;
    ENGN_systems();
    EXPECT_LT(f.m_fuel1, 100.0f);
    EXPECT_EQ(f.ENGN_running[0], 1);
}

TEST_F(EngineSystems, WhatKeepsAnEngineRunning)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    tanks(0, 0, 0);
    a.acf_en_type[0] = ENGINE_ELECTRIC;
    f.ENGN_mixt[0] = 0.0f;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 1) << "an electric motor needs no fuel and no mixture";
    f.ignition_on[0] = 0;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0) << "but it needs its ignition";

    // A starter switches the ignition on by itself, and runs down.
    sim_cockpit_engine.starter_duration[0] = 0.03f;
    ENGN_systems();
    EXPECT_EQ(f.ignition_on[0], 3);
    EXPECT_EQ(f.ENGN_running[0], 1);
    EXPECT_NEAR(sim_cockpit_engine.starter_duration[0], 0.01f, 1e-6f);
    ENGN_systems();
    EXPECT_FLOAT_EQ(sim_cockpit_engine.starter_duration[0], 0.0f);

    // Pistons: lean cut-off, carburettor ice, a failed engine; turbines: N1.
    tanks(100, 100, 100);
    a.acf_en_type[0] = ENGINE_PISTON_CARBURETTED;
    f.ENGN_mixt[0] = 0.02f;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
    f.ENGN_mixt[0] = 0.7f;
    f.ENGN_crbice[0] = 0.6f;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
    f.ENGN_crbice[0] = 0.0f;
    f.failures[FAIL_SLOT_ENGINE_BASE] = FAILURE_STATE_FAILED;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
    f.failures[FAIL_SLOT_ENGINE_BASE] = 0;
    a.acf_en_type[0] = ENGINE_TURBINE_FREE;
    f.ENGN_N1_[0] = 0.5f;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
    f.ENGN_N1_[0] = 12.0f;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 1);
    EXPECT_FLOAT_EQ(prop_state.run_time_sec[0], 0.02f);

    // With its engine-driven pump failed, fuel reaches it only with the boost pump on.
    f.failures[FAIL_SLOT_FUEL_PUMP_BASE] = FAILURE_STATE_FAILED;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0);
    EXPECT_FLOAT_EQ(prop_state.run_time_sec[0], 0.0f);
    sim_cockpit_engine.fuel_pump_on[0] = 1;
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 1);
}

// The mixture at sigma 1 (best 0.7, lean limit 0.5): the power ratio loses
// 0.4 x the lean error or 0.1 x the rich one; the fuel-flow factor gains the
// error, five times over on the rich side. Below the lean limit the engine
// still runs (mixture above 0.025) but makes no power.
TEST_F(EngineSystems, MixturePowerRatioAndFuelFlowFactor)
{
    flt_struct& f = flt[0];
    const struct {
        float mixture, power_ratio, flow_factor;
    } rows[] = {{0.7f, 1.0f, 1.0f}, {0.55f, 0.94f, 1.06f}, {0.9f, 0.98f, 1.1f}, {0.2f, 0.0f, -1.0f}};
    float best_flow = 0.0f;
    for (const auto& r : rows) {
        tanks(100, 100, 100);
        f.ENGN_sigma[0] = 1.0f;
        f.ENGN_power[0] = 50000.0f;
        f.ENGN_FF_[0] = 0.0f;
        f.ENGN_mixt[0] = r.mixture;
        ENGN_systems();
        EXPECT_EQ(f.ENGN_running[0], 1) << r.mixture;
        EXPECT_NEAR(f.ENGN_mixt_pow_rat[0], r.power_ratio, 1e-5f) << r.mixture;
        if (r.mixture == 0.7f) best_flow = f.ENGN_FF_[0];
        if (r.flow_factor > 0.0f) { EXPECT_NEAR(f.ENGN_FF_[0] / best_flow, r.flow_factor, 1e-4f) << r.mixture; }
    }
}

TEST_F(EngineSystems, HotTurbineFailsAndStaysFailed)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    tanks(100, 100, 100);
    a.acf_en_type[0] = ENGINE_TURBINE_FREE;
    f.ENGN_N1_[0] = 60.0f;
    f.ENGN_thro_use[0] = 0.5f;
    f.ENGN_oil_temp[0] = 0.5f;
    ENGN_systems();
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], 0);
    EXPECT_GT(f.ENGN_ITT[0], 0.0f);
    EXPECT_FLOAT_EQ(f.ENGN_EGT[0], f.ENGN_ITT[0]);

    // Lit at full throttle with hardly any N1 on a hot day (a hot start), it
    // goes past its limit.
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_N1_[0] = 2.0f;
    sim_weather.temperature_ambient_c = 45.0f;
    ENGN_systems();
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], FAILURE_STATE_FAILED);
    ENGN_systems();
    EXPECT_EQ(f.ENGN_running[0], 0) << "and stays failed";
}

TEST_F(EngineSystems, GeneratorsChargeTheWeakestBatteryOnlyWhileOneIsLow)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    tanks(100, 100, 100);
    a.acf_num_engines = a.acf_num_thrustpoints = 3;
    for (int n = 0; n < 3; ++n) {
        a.acf_en_type[n] = ENGINE_TURBINE_FREE;
        f.ENGN_N1_[n] = 60.0f;
        f.ignition_on[n] = 3;
        f.ENGN_mixt[n] = 1.0f;
        sim_cockpit_electrical.generator_on[n] = 1;
    }
    sim_cockpit_electrical.battery_on = 1;
    sim_operation_misc.frame_rate_period = 0.1f;

    // All full: no charge, only the base loads.
    ENGN_systems();
    for (int n = 0; n < 3; ++n) {
        EXPECT_FLOAT_EQ(f.ENGN_gen_amp[n], 0.0f) << n;
        EXPECT_NEAR(f.ENGN_bat_amp[n], -0.006f / 3.0f, 1e-7f) << n;
    }

    // Battery 1 low: re-chosen at the next 1-second flag, and all three
    // generators' current goes into it; it charges at its own turn, with the
    // current of generators 0 and 1 only (generator 2 comes after it).
    for (int n = 0; n < 3; ++n) f.ENGN_bat_volt[n] = 1.0f;
    f.ENGN_bat_volt[1] = 0.98f;
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    ENGN_systems();
    EXPECT_EQ(prop_state.weakest_battery, 1);
    for (int n = 0; n < 3; ++n) EXPECT_NEAR(f.ENGN_gen_amp[n], 0.2f, 1e-6f) << n;
    EXPECT_NEAR(f.ENGN_bat_amp[1], 0.6f - 0.002f, 1e-6f);
    EXPECT_NEAR(f.ENGN_bat_volt[1], 0.98f + (0.4f - 0.002f) * 0.1f / 180.0f, 1e-6f);
    EXPECT_LT(f.ENGN_bat_volt[0], 1.0f) << "the others only discharge";

    // Between the 1-second flags the choice stands, though battery 0 is now lowest.
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    f.ENGN_bat_volt[0] = 0.5f;
    ENGN_systems();
    EXPECT_EQ(prop_state.weakest_battery, 1);
    EXPECT_GT(f.ENGN_bat_amp[1], 0.0f);
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    ENGN_systems();
    EXPECT_EQ(prop_state.weakest_battery, 0);

    // A failed generator, a generator switched off or an engine below 1 % N1 gives nothing.
    f.failures[FAIL_SLOT_GENERATOR_BASE] = FAILURE_STATE_FAILED;
    sim_cockpit_electrical.generator_on[1] = 0;
    f.ENGN_N1_[2] = 0.5f;
    ENGN_systems();
    for (int n = 0; n < 3; ++n) EXPECT_FLOAT_EQ(f.ENGN_gen_amp[n], 0.0f) << n;

    // The starter's load flattens a battery, which then stops at 0.
    sim_cockpit_engine.starter_duration[2] = 1000.0f;
    for (int i = 0; i < 8000; ++i) ENGN_systems();
    EXPECT_FLOAT_EQ(f.ENGN_bat_volt[2], 0.0f);
    EXPECT_FLOAT_EQ(f.ENGN_bat_amp[2], 0.0f) << "a flat battery takes no load";
    interval_ticks[INTERVAL_ONE_SECOND] = 0;   // raised by hand above: the tests after run their own clock
}

// Each electrical load alone on one engine's battery of capacity 1, over the
// two base loads of 0.001 and 0.005; then a generator's current, ten times the
// weakest battery's shortfall, at most 0.5.
TEST_F(EngineSystems, ElectricalLoadsOneAtATimeAndTheGeneratorsTop)
{
    flt_struct& f = flt[0];
    auto& sw = sim_cockpit_switches;
    const struct {
        int32_t* on;
        float load;
    } rows[] = {{nullptr, 0.0f},
                {&sim_cockpit_electrical.avionics_on, 0.001f},
                {&sw.pitot_heat_on, 0.02f},
                {&sw.anti_ice_auto_ignite, 0.05f},
                {&sw.anti_ice_prop_heat, 0.05f},
                {&sw.anti_ice_window_heat, 0.05f},
                {&f.nav_lights_on, 0.005f},
                {&f.beacon_lights_on, 0.005f},
                {&f.strobe_lights_on, 0.05f},
                {&f.landing_lights_on, 0.05f},
                {&f.taxi_light_on, 0.05f}};
    tanks(100, 100, 100);
    sim_cockpit_electrical.battery_on = 1;
    for (const auto& r : rows) {
        if (r.on) *r.on = 1;
        ENGN_systems();
        EXPECT_NEAR(f.ENGN_bat_amp[0], -(0.006f + r.load), 1e-6f) << r.load;
        if (r.on) *r.on = 0;
    }
    f.ENGN_bat_volt[0] = 0.9f;
    f.ENGN_N1_[0] = 60.0f;
    sim_cockpit_electrical.generator_on[0] = 1;
    ENGN_systems();
    EXPECT_NEAR(f.ENGN_gen_amp[0], 0.5f, 1e-6f);
}

TEST_F(EngineSystems, NoEnginesLeaveAFullBatteryAndZeroCapacityDrawsNothing)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_num_engines = 0;
    f.ENGN_bat_volt[0] = 0.3f;
    ENGN_systems();
    EXPECT_FLOAT_EQ(f.ENGN_bat_volt[0], 1.0f);

    a.acf_num_engines = 1;
    a.acf_battery_cap = 0.0f;
    sim_cockpit_electrical.battery_on = 1;
    tanks(100, 100, 100);
    ENGN_systems();
    EXPECT_FLOAT_EQ(f.ENGN_bat_amp[0], 0.0f);
    EXPECT_TRUE(std::isfinite(f.ENGN_bat_volt[0]));
}

}  // namespace

TEST_F(EngineSystems, TurbineTemperatureAndOilPressureWorkedByHand)
{
    // A free turbine at 60 % N1 and 95 % throttle, oil at 0.5 (90 C over a
    // 15 C day): T = 105, t = 105 + (10 / 60)(680 - 105) = 200.83; the heat
    // added 245 x 0.95 + 85 - 100 x 0.36 + 2300 x 0.05 = 396.75 (inside the
    // 479.17 of room): q = 597.58 / 680, and the gauge moves 6 dt of the way.
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    tanks(100, 100, 100);
    sim_operation_misc.frame_rate_period = 0.05f;
    sim_weather.temperature_ambient_c = 15.0f;
    a.acf_en_type[0] = ENGINE_TURBINE_FREE;
    f.ENGN_N1_[0] = 60.0f;
    f.ENGN_thro_use[0] = 0.95f;
    f.ENGN_oil_temp[0] = 0.5f;
    f.ENGN_ITT[0] = 0.0f;
    f.ENGN_oil_press[0] = 0.0f;
    ENGN_systems();
    ASSERT_EQ(f.ENGN_running[0], 1);
    EXPECT_NEAR(f.ENGN_ITT[0], 0.3f * (597.5833f / 680.0f), 1e-4f);
    // Oil pressure lags at 0.5 a second toward 0.015 x N1, at most 0.75.
    EXPECT_NEAR(f.ENGN_oil_press[0], 0.025f * 0.75f, 1e-6f);
    f.ENGN_oil_press[0] = 0.0f;
    f.ENGN_N1_[0] = 40.0f;
    ENGN_systems();
    EXPECT_NEAR(f.ENGN_oil_press[0], 0.025f * 0.6f, 1e-6f);

    // A failed oil system with three quarters of the oil gone: the oil
    // temperature moves 0.01 dt toward 4 x 0.75 + 0.4 (running) + 0.3 x EGT;
    // the pressure decays at 0.5 a second and the oil drains at 1/300 a second.
    f.ENGN_oil_temp[0] = 0.5f;
    f.ENGN_oil_press[0] = 0.4f;
    f.oil_power_thrust_ratio[0] = 0.25f;
    f.failures[FAIL_SLOT_OIL_BASE] = FAILURE_STATE_FAILED;
    ENGN_systems();
    ASSERT_EQ(f.ENGN_running[0], 1);
    EXPECT_NEAR(f.ENGN_oil_temp[0], 0.9995f * 0.5f + 0.0005f * (3.0f + 0.4f + 0.3f * f.ENGN_EGT[0]), 1e-6f);
    EXPECT_NEAR(f.ENGN_oil_press[0], 0.975f * 0.4f, 1e-6f);
    EXPECT_NEAR(f.oil_power_thrust_ratio[0], 0.25f - 0.05f / 300.0f, 1e-6f);
}
