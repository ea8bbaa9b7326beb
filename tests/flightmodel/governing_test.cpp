// Propeller governing and ground automation on the hand-made twin and
// airliner: feathering, the overspeed test, prop sync, autobrake with the
// autopilot disconnect, the rejected take-off, a dead bus, and divisions by
// zero file values.
#include "tests/flightmodel/control_fixture.h"

#include "flightmodel/propulsion/propulsion.h"

TEST_F(ControlStep, PropLeverAtTheBottomOfTheGreenArcFeathersAndUpAgainUnfeathers)
{
    // The detent reaches 2.5 % of the top of the green arc above its bottom.
    f.ENGN_prop[1] = a.acf_RSC_mingreen_prp + 0.03f * a.acf_RSC_maxgreen_prp;
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 1);
    f.ENGN_prop[1] = a.acf_RSC_mingreen_prp + 0.02f * a.acf_RSC_maxgreen_prp;
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 0);
    f.ENGN_prop[1] = a.acf_RSC_mingreen_prp;
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 0);
    step(60);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[1], 85.0f);   // at 30 deg/s

    // Lever up while the propeller has stopped: it stays feathered until it turns past 60 rpm.
    f.ENGN_prop[1] = 210.0f;
    f.POINT_tacrad[1] = 5.0f;
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 0);
    f.POINT_tacrad[1] = 7.0f;
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 1);

    // A stopped engine with auto-feather armed feathers by itself.
    sim_cockpit_switches.auto_feather_mode = 1;
    f.ENGN_running[0] = 0;
    step();
    EXPECT_EQ(f.ENGN_propmode[0], 0);
}

TEST_F(ControlStep, GovernorHoldsTheRequestedSpeedOrSevenEighthsOfItUnderTest)
{
    // On speed: the pitch stands.
    step();
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[0], 25.0f);

    // During the overspeed test the governor wants 87.5 % of the request.
    f.prop_ospeed_test_timeout = frame_clock + 10.0f;
    step();
    EXPECT_GT(f.POINT_pitch_deg[0], 25.0f);   // coarser: too fast for the test speed
    const float coarser = f.POINT_pitch_deg[0];
    f.POINT_tacrad[0] = 0.875f * 210.0f;
    step();
    EXPECT_NEAR(f.POINT_pitch_deg[0], coarser, 1e-4f);
}

TEST_F(ControlStep, PropSyncGovernsTheSecondPropToTheFirstPropsSpeed)
{
    f.POINT_tacrad[0] = f.POINT_tacrad[1] = 190.0f;   // both slower than the 210 requested
    sim_cockpit_switches.prop_sync_on = 1;
    step();
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[1], 25.0f);   // on the first prop's speed
    EXPECT_LT(f.POINT_pitch_deg[0], 25.0f);         // the first prop goes finer to speed up
    sim_cockpit_switches.prop_sync_on = 0;
    step();
    EXPECT_LT(f.POINT_pitch_deg[1], 25.0f);
}

TEST_F(ControlStep, AutobrakeThreeBrakesAtTouchDownAndDisconnectsTheAutopilot)
{
    airliner();
    sim_cockpit_switches.auto_brake_settings = 3;
    ap.heading_mode = 11;
    f.sbrkrqst = -0.5f;   // speedbrake armed
    step(2);              // airborne: the autobrake arms
    f.onground_any = 1;   // mains first
    step();
    EXPECT_FLOAT_EQ(f.sbrkrqst, 1.0f);
    EXPECT_FLOAT_EQ(f.parkbrake, 0.0f);
    f.onground_all = 1;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 0.8f);
    EXPECT_EQ(ap.heading_mode, 9);   // through the disconnect key

    f.parkbrake = 0.0f;   // the pilot takes over: no second application on the ground
    step(10);
    EXPECT_FLOAT_EQ(f.parkbrake, 0.0f);
}

TEST_F(ControlStep, ReverseOnTouchDownThroughTheReverserKey)
{
    airliner();
    a.acf_rev_on_touchdown = 1;
    // Only above half the stalling speed (60 kt here): 25 kt is too slow, 45 kt is not.
    for (const float ias : {25.0f, 45.0f}) {
        f.onground_any = 0;
        step();
        f.onground_any = 1;
        f.indicated_airspeed = ias;
        step();
    }
    EXPECT_EQ(f.ENGN_propmode[0], 3);
    EXPECT_EQ(f.ENGN_propmode[1], 3);
}

// Ground idle: standing on all its wheels with its power levers closed the
// twin runs its propellers in beta and its engines at ground idle; a lever
// opened, or the wheels off the ground, give them back to the governor. A
// beta the lever chose in the air stays, and an aircraft without a beta
// range keeps its governor on the ground.
TEST_F(ControlStep, ClosedPowerLeversOnTheGroundIdleInBeta)
{
    f.onground_any = f.onground_all = 1;
    f.ENGN_thro[0] = f.ENGN_thro[1] = 0.0f;
    step(60);
    EXPECT_EQ(f.ENGN_propmode[0], 2);
    EXPECT_EQ(prop_state.ground_idle[1], 1);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[0], 0.0f);

    f.ENGN_thro[0] = 0.2f;   // one lever opened
    step();
    EXPECT_EQ(f.ENGN_propmode[0], 1);
    EXPECT_EQ(prop_state.ground_idle[0], 0);
    EXPECT_EQ(f.ENGN_propmode[1], 2);

    f.onground_all = 0;   // a main wheel still down: still on the ground
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 2);
    f.onground_any = 0;   // off the ground
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 1);
    EXPECT_EQ(prop_state.ground_idle[1], 0);
    f.onground_any = 1;   // the mains touch down, the nose wheel not yet: still governed
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 1);
    f.onground_any = 0;

    f.ENGN_thro[0] = 0.0f;
    f.ENGN_propmode[0] = 2;   // the pilot's lever in the beta range, in the air
    step();
    EXPECT_EQ(f.ENGN_propmode[0], 2);

    a.acf_has_beta = 0;
    f.onground_any = f.onground_all = 1;
    f.ENGN_propmode[1] = 1;
    step();
    EXPECT_EQ(f.ENGN_propmode[1], 1);
    EXPECT_EQ(prop_state.ground_idle[1], 0);
}

// The FADEC draws a governed engine's throttle by 0.1 per rad/s below its red
// line, then toward the governed engines' mean; automatic slats come out once
// a wing's first element is within 5 degrees of its stall; differential
// collective lowers the pitch of the rear rotor (positive Z) for nose-up
// stick and raises the front one's.
TEST_F(ControlStep, FadecGovernorAutomaticSlatsAndDifferentialCollective)
{
    a.acf_force_fadec = 1;
    sim_cockpit_engine.fadec_on[0] = 1;
    f.ENGN_tacrad[0] = 2990.0f;
    step();
    // 0.5 + (10 x 0.1) x 0.05 = 0.55, then 0.95 x 0.55 + 0.05 x 0.5.
    EXPECT_NEAR(f.ENGN_thro[0], 0.5475f, 1e-4f);
    EXPECT_EQ(f.ENGN_thro[1], 0.5f);

    airliner();
    a.acf_part_eq[8] = 1;
    a.acf_alpha_max[8] = 15.0f;
    const struct { float alpha; float slats; } rows[] = {{9.5f, 0.0f}, {11.0f, 1.0f}};
    for (const auto& r : rows) {
        f.slatrat = 0.0f;
        f.alpha_el[8 * 40] = r.alpha;
        step();
        EXPECT_EQ(f.slatrat, r.slats) << r.alpha;
    }

    twin();
    a.acf_diff_coll_with_ptch = 2.0f;
    a.thrust_vector_angle[0] = a.thrust_vector_angle[1] = 90.0f;
    a.acf_Zarm[0] = -2.0f, a.acf_Zarm[1] = 2.0f;
    f.POINT_pitch_deg[0] = f.POINT_pitch_deg[1] = 25.0f;
    stick.axis[PITCH] = 0.5f;
    step(2);   // the stage reads the stick deflection of the frame before
    ASSERT_GT(f.FC_ptch, 0.1f);
    EXPECT_NEAR(f.POINT_pitch_deg[0], 25.0f + 2.0f * f.FC_ptch, 1e-3f);
    EXPECT_NEAR(f.POINT_pitch_deg[1], 25.0f - 2.0f * f.FC_ptch, 1e-3f);
}

TEST_F(ControlStep, RejectedTakeOffBrakesFullyOnce)
{
    airliner();
    sim_cockpit_switches.auto_brake_settings = -1;
    f.onground_any = f.onground_all = 1;
    f.ENGN_thro[0] = f.ENGN_thro[1] = 0.9f;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 0.0f);
    f.ENGN_thro[0] = f.ENGN_thro[1] = 0.0f;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 1.0f);
    f.parkbrake = 0.0f;
    step(5);
    EXPECT_FLOAT_EQ(f.parkbrake, 0.0f);

    // A tail-dragger on some of its wheels, nose more than 5 degrees below its
    // standing pitch and pitching down: the brakes fade by 2 dt a frame.
    sim_cockpit_switches.auto_brake_settings = 0;
    a.acf_is_taildragger = 1;
    f.onground_any = 1, f.onground_all = 0;
    f.theta = a.acf_the_eqlbm - 6.0f, f.Q = -1.0f, f.parkbrake = 1.0f;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 0.9f);
    f.Q = 1.0f;
    step();
    EXPECT_FLOAT_EQ(f.parkbrake, 0.9f);
}

TEST_F(ControlStep, FlapsAndSlatsStandStillOnADeadBus)
{
    airliner();
    f.flaprqst = 1.0f;
    sim_cockpit_electrical.battery_on = 0;
    step(20);
    EXPECT_FLOAT_EQ(f.flaprat, 0.0f);
    EXPECT_FLOAT_EQ(f.slatrat, 0.0f);
    EXPECT_EQ(sounds.plays(24), 0);

    sim_cockpit_electrical.battery_on = 1;
    step(20);
    EXPECT_NEAR(f.flaprat, 20 * 0.05f / 10.0f, 1e-5f);
    EXPECT_NEAR(f.slatrat, 0.4f, 1e-5f);   // four times faster
    EXPECT_EQ(sounds.plays(24), 1);     // the actuator sound starts once
}

TEST_F(ControlStep, ZeroFileValuesGiveNeutralPropellerSpeedsAndPitches)
{
    // Tip-speed schedule without a blade length, no green arc, no flap time.
    a.acf_prop_type[0] = 4;
    a.acf_semilen_SEG[0] = 0.0f;
    a.acf_pmax = 0.0f;
    a.acf_RSC_maxgreen_prp = 0.0f;
    a.acf_RSC_mingreen_prp = a.acf_RSC_redline_prp;
    a.acf_prop_type[1] = 2;
    a.acf_flap_deftime = 0.0f;
    f.flaprqst = 0.5f;
    step(3);
    for (float v : {f.ENGN_prop[0], f.POINT_pitch_deg[0], f.POINT_pitch_deg[1], f.flaprat}) EXPECT_TRUE(std::isfinite(v));
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[1], 30.0f);   // equal speeds: the mean pitch
    EXPECT_FLOAT_EQ(f.flaprat, 0.5f);               // no flap time: at once
}

TEST_F(ControlStep, GovernorManualPitchAndThrustPointsFollowTheirLaws)
{
    // Governed prop 0, 10 rad/s slow and speeding up at 1 rad/s^2: the pitch
    // moves dt x (0.2 x 1 + 0.2 x (2 x 1 + 200 - 210)) = 0.05 x -1.4 = -0.07.
    f.POINT_tacrad[0] = 200.0f;
    f.POINT_omegadot[0] = 1.0f;
    // Manual prop 1 with its lever at 190: 15 + (190 - 210) x (45 - 15) / (170 - 210) = 30, at once.
    a.acf_prop_type[1] = 2;
    f.ENGN_prop[1] = 190.0f;
    // Thrust point 0 vectored 30 degrees on arms of 2 m (Z) and 1 m (Y).
    a.thrust_vector_angle[0] = 30.0f;
    a.acf_vectarmZ = 2.0f;
    a.acf_vectarmY = 1.0f;
    a.acf_Xarm[0] = 3.0f;
    a.acf_Yarm[0] = 0.5f;
    a.acf_Zarm[0] = -1.0f;
    step();
    EXPECT_NEAR(f.POINT_pitch_deg[0], 25.0f - 0.07f, 1e-4f);
    EXPECT_NEAR(f.POINT_pitch_deg[1], 30.0f, 1e-4f);
    EXPECT_FLOAT_EQ(f.POINT_XYZ[0], 3.0f);
    EXPECT_NEAR(f.POINT_XYZ[1], 0.5f - 2.0f * 0.5f + 1.0f * 0.8660254f, 1e-5f);
    EXPECT_NEAR(f.POINT_XYZ[2], -1.0f + 2.0f * 0.8660254f + 1.0f * 0.5f, 1e-5f);
}
