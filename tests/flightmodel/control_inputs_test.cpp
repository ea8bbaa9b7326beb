// Pilot inputs of the control step: the joystick's hold on the levers, the
// throttle axis without engines, toe brakes, the serial cockpit, the
// afterburner under the autothrottle, and values that are not numbers.
#include "tests/flightmodel/control_fixture.h"

#include <limits>

#include "flightmodel/control/engine_controls.h"
#include "world/airport_state.h"
#include "world/navdb.h"

namespace {
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
}

TEST_F(ControlStep, KeyMovingAHeldThrottleReleasesItUntilTheAxisMoves)
{
    stick.axis[THROTTLE] = 0.5f;
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.5f);
    EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.5f);

    ENGN_set_throttle(0, 0.7f);   // a held key moves the lever
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.7f);   // the joystick let go
    stick.axis[THROTTLE] = 0.52f;
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.7f);   // 0.02 of travel is not enough
    stick.axis[THROTTLE] = 0.54f;
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.54f);
    EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.54f);

    // In reverse the axis spans the reverse limit.
    f.ENGN_propmode[1] = 3;
    f.ENGN_prop[1] = 210.0f;
    stick.axis[THROTTLE] = 1.0f;
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.5f);
}

TEST_F(ControlStep, ThrottleAxisDrivesTheSpeedbrakeWithoutEngines)
{
    a.acf_num_engines = 0;
    stick.axis[THROTTLE] = 0.3f;
    step();
    EXPECT_FLOAT_EQ(f.sbrkrqst, 0.7f);
}

TEST_F(ControlStep, BothToeBrakesReleasedClearTheParkingBrakeOnePedalDoesNot)
{
    f.parkbrake = 1.0f;
    stick.axis[LEFT_BRAKE] = 1.0f;
    step();
    stick.axis[LEFT_BRAKE] = 0.0f;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 1.0f);

    stick.axis[LEFT_BRAKE] = stick.axis[RIGHT_BRAKE] = 1.0f;
    step();
    stick.axis[LEFT_BRAKE] = stick.axis[RIGHT_BRAKE] = 0.0f;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 0.0f);

    // Without nose-wheel steering or toe brakes, the stick brakes one side.
    a.acf_nw_steerdeg1 = 0.0f;
    stick.axis[ROLL] = -0.6f;
    step();
    EXPECT_FLOAT_EQ(f.l_brake_add, 0.6f);
    EXPECT_FLOAT_EQ(f.r_brake_add, 0.0f);
}

TEST_F(ControlStep, SerialCockpitLeavesThrottlesAndPitchesToItsOwnLevers)
{
    joy.eq_cirrusII_fun = 1;
    for (float axis : {0.1f, 0.9f, 0.3f}) {
        stick.axis[THROTTLE] = stick.axis[PROP] = axis;
        step();
        EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.5f);
        EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.5f);
    }
}

TEST_F(ControlStep, AfterburnerNeverLightsUnderTheAutothrottle)
{
    airliner();
    a.acf_en_type[0] = 4;
    a.acf_burnerinc = 20000.0f;
    f.ENGN_thro[0] = f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_N1_[0] = 101.0f;
    step();
    EXPECT_EQ(f.ENGN_burning[0], 1);
    ap.airspeed_mode = 10;
    for (int i = 0; i < 20; ++i) {
        f.ENGN_thro_use[0] = 1.0f;
        step();
        EXPECT_EQ(f.ENGN_burning[0], 0);
    }
}

TEST_F(ControlStep, ReverserFailureReversesAnEngineAndALowPropRequestCancelsReverse)
{
    a.acf_throtmax_REV = 0.0f;   // no reverser fitted
    f.failures[74] = 6;
    stick.axis[THROTTLE] = 0.6f;
    step(2);
    EXPECT_EQ(f.ENGN_propmode[0], 3);
    EXPECT_FLOAT_EQ(pilot_inputs.throttle_lever_before, 0.0f);   // not a division by the 0 limit

    f.ENGN_propmode[1] = 3;
    f.ENGN_prop[1] = 100.0f;   // below three quarters of the red line
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 1);
    EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.0f);
}

TEST_F(ControlStep, AxesThatAreNotNumbersNeverReachTheControls)
{
    for (int i = 0; i < 12; ++i) stick.axis[i] = NaN;
    control_authority = 0.5f;
    step(3);
    for (float v : {f.FC_ptch, f.FC_roll, f.FC_hdng, f.ENGN_thro[0], f.ENGN_thro[1], f.ENGN_prop[1], f.ENGN_mixt[1],
                    f.l_brake_add, joy.yolk_pitch_ratio})
        EXPECT_TRUE(std::isfinite(v));

    stick.clear();
    stick.axis[PITCH] = 0.8f;   // the control authority halves the yoke
    step();
    EXPECT_FLOAT_EQ(f.FC_ptch, 0.4f);
}

TEST_F(ControlStep, ShowcaseOnTheGroundSteersForTheTrafficRunwayIfThereIsOne)
{
    auto_flight_on = 1;
    f.y_agl = 2.0f;
    f.m_fuel1 = 100.0f;
    sim_flightmodel_position.magnetic_variation = 3.0f;
    airport_table.clear();
    traffic_runway_state.traffic_airport = 99;   // no such airport: the heading stays
    step();   // heading hold engages on the present heading
    ap.heading_mag = 123.0f;
    step();
    EXPECT_FLOAT_EQ(ap.heading_mag, 123.0f);
    EXPECT_EQ(ap.heading_mode, 11);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 1.0f);   // full power for the take-off
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 1);

    airport_table.emplace_back();
    traffic_runway_state.traffic_airport = 0;   // an airport without runways
    step();
    EXPECT_FLOAT_EQ(ap.heading_mag, 123.0f);
    airport_table[0].runways.emplace_back();
    airport_table[0].runways[0].heading = 357.0f;
    f.magpsi = 2.0f;
    step();
    EXPECT_FLOAT_EQ(ap.heading_mag, 360.0f);
    EXPECT_LT(joy.yolk_heading_ratio, 0.0f);   // 2 degrees to the left, not 358 to the right
    airport_table.clear();
}

TEST_F(ControlStep, StickShapingLinksRollToYawAndSoftensTheLawsWithSpeed)
{
    a.acf_est_Vs = 30.0f;   // twice the stall speed: 60 m/s
    struct gain_case {
        int collective;
        float ias_kt;
        float g, k;
    };
    const gain_case gains[] = {
        {0, 120.0f / 0.514444f, 0.25f, 1.0f},   // (120 / 60)^2 = 4
        {0, 30.0f / 0.514444f, 1.0f, 1.0f},     // 0.25, held at 1
        {0, 700.0f / 0.514444f, 0.01f, 1.0f},   // 136, held at 100
        {1, 120.0f / 0.514444f, 1.0f, 0.25f},   // a collective rotor keeps full gain and a quarter pitch law
    };
    for (const gain_case& c : gains) {
        a.acf_has_collective_rotor = c.collective;
        f.indicated_airspeed = c.ias_kt;
        const control_gains out = INPUT_stick_shaping(0);
        EXPECT_NEAR(out.g, c.g, 1e-4f) << c.ias_kt;
        EXPECT_NEAR(out.k, c.k, 1e-6f) << c.ias_kt;
    }
    // Without a stall speed: moving, the ratio is past its ceiling; standing, full gain.
    a.acf_est_Vs = 0.0f;
    a.acf_has_collective_rotor = 0;
    for (const auto& [ias, g] : {std::pair{50.0f, 0.01f}, std::pair{0.0f, 1.0f}}) {
        f.indicated_airspeed = ias;
        EXPECT_NEAR(INPUT_stick_shaping(0).g, g, 1e-6f) << ias;
    }
    a.acf_est_Vs = 30.0f;

    // Roll-yaw interconnect: heading += roll x link, only above a link of 0.01.
    a.acf_has_collective_rotor = 0;
    for (const auto& [link, heading] : {std::pair{0.5f, 0.3f}, std::pair{0.005f, 0.1f}}) {
        a.acf_roll_yaw_link = link;
        joy.yolk_roll_ratio = 0.4f;
        joy.yolk_heading_ratio = 0.1f;
        const control_gains out = INPUT_stick_shaping(0);
        EXPECT_NEAR(joy.yolk_heading_ratio, heading, 1e-6f) << link;
        EXPECT_NEAR(out.pilot_heading, heading, 1e-6f) << link;
    }
    a.acf_roll_yaw_link = 0.0f;

    // Helicopter auto-coordination at half the stall speed (r = 0.5), gain 1:
    // heading = -(beta x r x 0.1 + (1 - r) x R x 0.05) = -(0.2 + 0.25).
    a.acf_has_collective_rotor = 1;
    a.acf_est_Vs = 20.0f;
    a.acf_prop_type[1] = 5;
    sim_operation_prefs.auto_coordinate_helos = 1;
    f.indicated_airspeed = 10.0f / 0.514444f;
    f.beta = 4.0f;
    f.R = 10.0f;
    joy.yolk_heading_ratio = 0.7f;   // the pedals are replaced
    INPUT_stick_shaping(0);
    EXPECT_NEAR(joy.yolk_heading_ratio, -0.45f, 1e-4f);
}

// The engine pre-step, rule by rule on engine 0 (red line 210 rad/s, so a
// reversed propeller engine below 157.5 rad/s leaves reverse): the idle-speed
// switch of a turboprop follows the mixture past 0.25, and an afterburner
// lights only at full throttle above 99 per cent N1, out of reverse, without
// the autothrottle and without a lift fan taking the thrust.
TEST_F(ControlStep, EnginePreStepRuleByRule)
{
    struct prestep_case {
        int32_t type, propmode;
        float prop, mixture, thro_use, n1, vect_ratio, lift_fan;
        int32_t autothrottle;
        int32_t propmode_after, idle_speed, burning;
    };
    const prestep_case cases[] = {
        {2, 3, 157.0f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 1, 0},       // reverse cancelled, idle speed on
        {2, 3, 158.0f, 0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0, 0},       // reverse kept, idle speed off
        {4, 1, 0.0f, 0.0f, 1.0f, 99.5f, 0.0f, 0.0f, 0, 1, 0, 1},        // afterburner lit
        {4, 1, 0.0f, 0.0f, 1.0f, 98.0f, 0.0f, 0.0f, 0, 1, 0, 0},        // N1 too low
        {4, 1, 0.0f, 0.0f, 0.98f, 99.5f, 0.0f, 0.0f, 0, 1, 0, 0},       // throttle short of full
        {5, 3, 0.0f, 0.0f, 1.0f, 99.5f, 0.0f, 0.0f, 0, 3, 0, 0},        // reversed (a jet keeps reverse)
        {5, 1, 0.0f, 0.0f, 1.0f, 99.5f, 0.0f, 0.0f, 1, 1, 0, 0},        // autothrottle
        {5, 1, 0.0f, 0.0f, 1.0f, 99.5f, 0.5f, 0.5f, 0, 1, 0, 0},        // thrust vectored to a lift fan
        {5, 1, 0.0f, 0.0f, 1.0f, 99.5f, 0.5f, 0.0f, 0, 1, 0, 1},        // vectored without a lift fan
    };
    a.acf_burnerinc = 1.5f;
    a.acf_has_idlespeed = 0;
    for (const prestep_case& c : cases) {
        a.acf_en_type[0] = c.type;
        a.acf_lift_fan_rat = c.lift_fan;
        f.ENGN_propmode[0] = c.propmode;
        f.ENGN_prop[0] = c.prop;
        f.ENGN_mixt[0] = c.mixture;
        f.ENGN_thro_use[0] = c.thro_use;
        f.ENGN_N1_[0] = c.n1;
        f.ENGN_running[0] = 1;
        f.vect_ratio = c.vect_ratio;
        ap.airspeed_mode = c.autothrottle ? 10 : 9;
        sim_cockpit_engine.idle_speed[0] = -1;
        INPUT_engine_prestep(0);
        EXPECT_EQ(f.ENGN_propmode[0], c.propmode_after) << c.type << " " << c.prop << " " << c.n1;
        if (c.type == 2) { EXPECT_EQ(sim_cockpit_engine.idle_speed[0], c.idle_speed) << c.mixture; }
        EXPECT_EQ(f.ENGN_burning[0], c.burning) << c.type << " " << c.n1 << " " << c.thro_use;
    }
}

// Airborne, the showcase climbs at a quarter of 0.514444 x groundspeed x 196.85
// ft/min: 2,531.7 at 100.
TEST_F(ControlStep, ShowcaseAirborneClimbRate)
{
    f.y_agl = 1000.0f;
    f.h_ind = 1.0e6f;   // above any altitude it picks: no slow-climb share
    f.groundspeed = 100.0f;
    f.m_fuel1 = 100.0f;
    INPUT_auto_flight(0);
    EXPECT_NEAR(ap.vertical_velocity, 0.514444f * 100.0f * 196.85f * 0.25f, 0.5f);
    EXPECT_EQ(ap.altitude_mode, 15);
    EXPECT_EQ(ap.heading_mode, 11);
}

// The showcase refills empty tanks before it restarts: each of the first
// acf_num_tanks tanks (at most three) takes the full load times the smaller
// of 0.5 / acf_num_tanks and its own share.
TEST_F(ControlStep, ShowcaseRefillsEmptyTanksByTheirShares)
{
    auto_flight_on = 1;
    f.y_agl = 2.0f;
    a.acf_m_fuel_tot = 1000.0f;
    const struct { int tanks; float rat[3], fuel[3]; } cases[] = {
        {2, {0.1f, 0.9f, 0.0f}, {100.0f, 250.0f, 0.0f}},   // 0.5 / 2 = 0.25 caps the second tank
        {4, {0.5f, 0.5f, 0.1f}, {125.0f, 125.0f, 100.0f}},   // 0.5 / 4 = 0.125, all three tanks
    };
    for (const auto& c : cases) {
        a.acf_num_tanks = c.tanks;
        for (int i = 0; i < 3; ++i) a.acf_tank_rat[i] = c.rat[i];
        f.m_fuel1 = f.m_fuel2 = f.m_fuel3 = 0.0f;
        INPUT_auto_flight(0);
        const float fuel[3] = {f.m_fuel1, f.m_fuel2, f.m_fuel3};
        for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(fuel[i], c.fuel[i]) << c.tanks << " " << i;
    }
}
