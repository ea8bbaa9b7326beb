// The autopilot flying the hand-made twin: mode entries, captures, the speed
// unit at 28,000 ft, the autothrottle, the disconnect horn, and the turn
// across north.
#include "tests/flightmodel/control_fixture.h"

TEST_F(ControlStep, AltitudeHoldInAClimbKeepsTheClimbRateAsItsLimit)
{
    f.vh_ind = 2000.0f / 196.85f;   // 2,000 ft/min
    f.h_ind = 3000.0f;
    ap.altitude_mode = 15;
    step();
    EXPECT_NEAR(ap.vertical_velocity, 2000.0f, 0.01f);
    EXPECT_NEAR(ap.current_altitude, 3000.0f * 3.28084f, 0.01f);

    f.vh_ind = 1.0f;   // a slow climb gets 500 ft/min
    ap.altitude_mode = 9;
    step();
    ap.altitude_mode = 15;
    step();
    EXPECT_FLOAT_EQ(ap.vertical_velocity, 500.0f);
}

TEST_F(ControlStep, LevelChangeFromAltitudeHoldNudgesTheThrottlesAtOnce)
{
    ap.altitude_mode = 15;
    step();
    ap.altitude = 20000.0f;   // dialled above: more power
    ap.altitude_mode = 16;
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.55f);
    EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.55f);
    EXPECT_FLOAT_EQ(ap.airspeed, 150.0f);   // the speed captured
    EXPECT_EQ(ap.airspeed_mode, 9);

    // Reaching the altitude: back to altitude hold with the autothrottle.
    f.h_ind = 20000.0f * 0.3048f - 10.0f;
    step();
    EXPECT_EQ(ap.altitude_mode, 15);
    EXPECT_EQ(ap.airspeed_mode, 10);
    ap.altitude_mode = 13;   // speed by pitch: the pitch holds the speed, the autothrottle lets go
    step();
    EXPECT_EQ(ap.airspeed_mode, 9);
}

TEST_F(ControlStep, ArmedCourseCapturesWithinTwoAndAHalfDegrees)
{
    ap.heading_mode = 11;
    ap.hnav_mode = 18;
    for (int k = 0; k < 6; ++k) sim_cockpit_radios.nav1_hdef_deg[k] = 10.0f;
    sim_cockpit_radios.nav1_hdef_deg[0] = 3.0f;
    step();
    EXPECT_EQ(ap.hnav_mode, 18);
    EXPECT_EQ(ap.heading_mode, 11);
    sim_cockpit_radios.nav1_hdef_deg[0] = 2.0f;
    sim_cockpit_switches.HSI_selector = 7;   // outside the receiver entries: NAV1
    step();
    EXPECT_EQ(ap.hnav_mode, 19);
    EXPECT_EQ(ap.heading_mode, 9);

    // Selector 2 tracks the GPS entry.
    EXPECT_EQ(AP_receiver_index(2), 4);
    EXPECT_EQ(AP_receiver_index(3), 3);
    EXPECT_EQ(AP_receiver_index(-1), 0);
}

TEST_F(ControlStep, SpeedTargetTurnsToMachAbove28000FeetAndBack)
{
    ap.airspeed = 250.0f;
    sim_weather.speed_of_sound_ms = 300.0f;
    sim_weather.sigma = 0.36f;
    const float factor = 300.0f * 1.943844f * 0.6f;
    f.local_y = 28001.0f * 0.3048f;
    step();
    EXPECT_EQ(ap.airspeed_is_mach, 1);
    EXPECT_NEAR(ap.airspeed, 250.0f / factor, 1e-5f);
    f.local_y = 27999.0f * 0.3048f;
    step();
    EXPECT_EQ(ap.airspeed_is_mach, 0);
    EXPECT_NEAR(ap.airspeed, 250.0f, 1e-3f);

    // Without a speed of sound yet the unit stays.
    sim_weather.speed_of_sound_ms = 0.0f;
    f.local_y = 30000.0f * 0.3048f;
    step();
    EXPECT_EQ(ap.airspeed_is_mach, 0);
    EXPECT_NEAR(ap.airspeed, 250.0f, 1e-3f);
}

TEST_F(ControlStep, AutothrottleWritesAllEightThrottles)
{
    ap.airspeed_mode = 10;
    step();
    ap.airspeed = 180.0f;   // faster wanted
    step();
    const float expected = 0.5f + 0.05f * 0.05f;   // 0.05 a second at most
    for (int n = 0; n < 8; ++n) EXPECT_FLOAT_EQ(f.ENGN_thro[n], expected) << n;

    f.failures[47] = 6;   // the autopilot computer fails: the throttles stay
    step();
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], expected);
}

TEST_F(ControlStep, DisconnectKeyDropsEveryModeAndSoundsTheHornOnce)
{
    a.acf_warn1EQ = 1;
    sim_operation_prefs.warn_bb = 1;
    ap.heading_mode = 11;
    ap.altitude_mode = 15;
    step(3);
    CORE_run_key(DISPATCH_COMMAND, KEY_AP_OFF);
    step(5);
    EXPECT_EQ(ap.airspeed_mode, 9);
    EXPECT_EQ(ap.heading_mode, 9);
    EXPECT_EQ(ap.altitude_mode, 9);
    EXPECT_EQ(sounds.plays(40), 1);

    // Without power (or an inverter) every mode drops.
    ap.heading_mode = 11;
    step();
    sim_cockpit_engine.inverter_on[0] = 0;
    step();
    EXPECT_EQ(ap.heading_mode, 9);
    EXPECT_EQ(sounds.plays(40), 2);
}

TEST_F(ControlStep, HeadingHoldTurnsTheShortWayAcrossNorth)
{
    ap.heading_mode = 11;
    f.magpsi = f.psi = gyro_heading[0] = 358.0f;
    f.groundspeed = 70.0f;
    step();
    EXPECT_FLOAT_EQ(ap.heading_mag, 358.0f);   // engaged on the present heading
    ap.heading_mag = 5.0f;
    for (int i = 0; i < 40; ++i) {
        // A right turn at 2 degrees a second through north.
        f.psi = f.magpsi = gyro_heading[0] = std::fmod(f.psi + 0.1f, 360.0f);
        step();
        if (i < 25) {
            ASSERT_GT(ap.flight_director_roll, 0.0f) << "frame " << i;   // banked right until near 5
        }
        ASSERT_LT(std::fabs(autopilot.heading_integral), 2.0f) << "frame " << i;
    }
    EXPECT_TRUE(std::isfinite(joy.yolk_roll_ratio));
}

TEST_F(ControlStep, SpeedCapturedInTheIndicatorsUnitOnAnAircraftThatReadsMilesPerHour)
{
    a.acf_asi_kts = 0;   // the dial and its target read statute miles per hour
    ap.airspeed_mode = 10;
    step();
    EXPECT_NEAR(ap.airspeed, 150.0f / 0.86897624f, 1e-3f);
    step(20);
    EXPECT_NEAR(f.ENGN_thro[0], 0.5f, 1e-6f);   // on speed: the autothrottle holds its setting
}

TEST_F(ControlStep, AutothrottleLeadsTheSpeedTheBankKeepsToAStandardRateAndTheGlideSlopeCaptures)
{
    // The autothrottle commands 0.1 E + 0.5 - 0.2 c, E the target less the
    // speed 10 s ahead and c the acceleration.
    sim_operation_misc.frame_rate_period = 0.5f;
    f.indicated_airspeed = 150.0f;
    ap.airspeed_mode = 10;
    step();   // the speed captured, no acceleration yet: the throttles stay at 0.5
    EXPECT_NEAR(f.ENGN_thro[0], 0.5f, 1e-5f);
    f.indicated_airspeed = 150.005f;   // c = 0.01, E = -(0.1 + 0.005) = -0.105
    step();
    EXPECT_NEAR(f.ENGN_thro[0], 0.5f - 0.0105f - 0.002f, 2e-4f);
    ap.airspeed_mode = 9;
    sim_operation_misc.frame_rate_period = 0.05f;

    // The bank limit: the bank of a 3 degree-a-second turn at the ground
    // speed, atan(50 / 9.7982788 x 0.0523599) = 14.96 degrees, at most 25.
    ap.heading_mode = 11;
    f.magpsi = f.psi = gyro_heading[0] = 0.0f;
    step();   // engaged on the present heading
    for (const auto& [speed, bank] : {std::pair{50.0f, 14.96f}, std::pair{120.0f, 25.0f}}) {
        f.groundspeed = speed;
        ap.heading_mag = 90.0f;
        step();
        EXPECT_NEAR(ap.flight_director_roll, bank, 0.01f) << speed;
    }
    ap.heading_mode = 9;

    // The glide slope captures inside 0.05 of deflection and drops the altitude mode.
    ap.altitude_mode = 15;
    ap.vnav_mode = 20;
    sim_cockpit_switches.HSI_selector = 0;
    sim_cockpit_radios.nav1_vdef_deg[0] = 0.06f;
    step();
    EXPECT_EQ(ap.vnav_mode, 20);
    EXPECT_EQ(ap.altitude_mode, 15);
    sim_cockpit_radios.nav1_vdef_deg[0] = -0.04f;
    step();
    EXPECT_EQ(ap.vnav_mode, 21);
    EXPECT_EQ(ap.altitude_mode, 9);
    // From the first touch the servo holds the elevator where it was: the
    // gear's thump (2 g up) read as a call to pitch down ran it to the
    // nose-down stop before the let-go.
    const float held = f.elv_trim;
    f.onground_any = 1, f.local_ay = 20.0f;
    step(3);
    EXPECT_EQ(ap.vnav_mode, 21);
    EXPECT_FLOAT_EQ(f.elv_trim, held);
    f.local_ay = 0.0f;
    for (const int ground : {1, 0, 1}) f.onground_any = ground, step(12);   // bounced: let go after 1.2 s down in all
    EXPECT_EQ(ap.vnav_mode, 9);
}

// The flight director's laws worked out by hand (speed gain 1, groundspeed 50 m/s):
// - pitch hold engaged at 4 degrees: with the gyro at 6 the director asks 2 x 4 - 6 = 2;
//   a hold of 20 asks 34, limited to 15;
// - wings level with the gyro at 100, bank 10 and roll rate 2: target 100 - 5 - 2 = 93,
//   so the director banks -7 and the servo's roll is (-7 - 10)/45 - 2/90 = -0.4;
// - vertical speed 1,000 ft/min (5.08 m/s) from level flight: e = 2.54, d = 50,
//   path asin(0.1016) = 5.8313, correction asin(0.0508) = 2.9119, integrator 2.9119 x 0.05/10.
TEST_F(ControlStep, FlightDirectorLawsWorkedByHand)
{
    a.acf_est_Vs = 1000.0f;
    f.groundspeed = 50.0f;
    f.vh_ind = f.local_ay = 0.0f;

    gyro_pitch[0] = 4.0f;
    ap.altitude_mode = 17;
    step();
    EXPECT_FLOAT_EQ(ap.pitch_hold_deg, 4.0f);
    gyro_pitch[0] = 6.0f;
    step();
    EXPECT_NEAR(ap.flight_director_pitch, 2.0f, 1e-4f);
    ap.pitch_hold_deg = 20.0f;
    step();
    EXPECT_NEAR(ap.flight_director_pitch, 15.0f, 1e-4f);
    ap.altitude_mode = 9;
    gyro_pitch[0] = 0.0f;
    step();

    ap.heading_mode = 12;
    gyro_heading[0] = f.psi = f.magpsi = 100.0f;
    f.phi = 10.0f, f.P = 2.0f;
    stick.axis[ROLL] = 0.0f;   // no pilot input
    step(2);
    EXPECT_NEAR(ap.flight_director_roll, -7.0f, 1e-4f);
    EXPECT_NEAR(joy.yolk_roll_ratio, -0.4f, 1e-4f);
    ap.heading_mode = 9;
    f.phi = f.P = 0.0f;

    ap.altitude_mode = 14;   // entered in level flight: 0 ft/min
    step();
    EXPECT_FLOAT_EQ(ap.vertical_velocity, 0.0f);
    ap.vertical_velocity = 1000.0f;
    step();
    EXPECT_NEAR(ap.flight_director_pitch, 5.8313f + 2.9119f + 2.9119f * 0.05f / 10.0f, 2e-3f);
}
