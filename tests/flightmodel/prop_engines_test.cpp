// Propeller engines: the torque laws of each engine type at redline, the
// breathing of piston engines, the clutches, the turbine spool, linked
// shafts and lift fans.
#include "tests/flightmodel/propulsion_fixture.h"

using namespace prop_test;

namespace {

struct PropEngines : ::testing::Test {
    void SetUp() override
    {
        CONST_fill_constants();
        standard_air();
        piston_single();
    }
    // One frame of the propeller engines; the torque of step A is read before
    // the clutch moves the engine.
    static void frame() { ENGN_prop_engines(); }
};

TEST_F(PropEngines, EachTorqueLawGivesTheRatedTorqueAtRedline)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const struct {
        int32_t type;
        const char* name;
    } types[] = {{ENGINE_PISTON_CARBURETTED, "piston, carburetted"},
                 {ENGINE_PISTON_INJECTED, "piston, injected"},
                 {ENGINE_TURBINE_FREE, "free turbine"},
                 {ENGINE_TURBINE_FIXED, "fixed-shaft turbine"}};
    for (const auto& t : types) {
        piston_single();
        a.acf_en_type[0] = t.type;
        running_engine(0, a.acf_RSC_redline_eng);
        f.ENGN_N1_[0] = 100.0f;
        frame();
        EXPECT_NEAR(f.ENGN_TRQ[0], a.acf_trq_max_prp, 0.01f * a.acf_trq_max_prp) << t.name;
        EXPECT_FLOAT_EQ(f.ENGN_sigma[0], 1.0f) << t.name;
        if (t.type == ENGINE_TURBINE_FREE) {
            EXPECT_NEAR(f.ENGN_N1_[0], 100.0f, 0.01f) << "the spool holds";
        }
    }
}

TEST_F(PropEngines, PowerFallsPastRedlineToNothingAtTwiceIt)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    // At twice redline only friction is left: the drive term is gone.
    running_engine(0, 2.0f * a.acf_RSC_redline_eng);
    frame();
    const float friction = (0.25f + 0.75f * 4.0f) * a.acf_trq_max_prp;
    EXPECT_NEAR(f.ENGN_TRQ[0], 0.25f * a.acf_trq_max_prp - friction, 0.01f * a.acf_trq_max_prp);
    // Halfway there the drive is down by the square root of a half.
    running_engine(0, 1.5f * a.acf_RSC_redline_eng);
    frame();
    const float drive = 0.25f + 1.75f * std::sqrt(0.5f);
    EXPECT_NEAR(f.ENGN_TRQ[0], (drive - 0.25f - 0.75f * 2.25f) * a.acf_trq_max_prp, 0.01f * a.acf_trq_max_prp);
}

// With the throttle closed the engine settles where its idle floor meets its
// friction and the propeller's load. The high idle holds the plain floor
// whatever the aircraft's ratios say; the low idle scales it by the low
// ratio, and a file without one (zero or damaged) idles as at 1.0. At ground
// idle the engine runs at its low idle on either switch.
TEST_F(PropEngines, TheHighIdleHoldsThePlainFloorAndTheLowIdleTakesTheLowRatio)
{
    const auto settled = [](int high_idle, float ratio_lo, float ratio_hi, int ground_idle = 0) {
        piston_single();
        pln[0].acf_idle_rat_lo = ratio_lo, pln[0].acf_idle_rat_hi = ratio_hi;
        pln[0].acf_friction_rat = 0.0f;
        running_engine(0, pln[0].acf_RSC_idlespeed_eng);
        flt[0].ENGN_thro[0] = flt[0].ENGN_thro_use[0] = 0.0f;
        sim_cockpit_engine.idle_speed[0] = high_idle;
        prop_state.ground_idle[0] = ground_idle;
        for (int i = 0; i < 3000; ++i) frame();   // a minute
        return flt[0].ENGN_tacrad[0];
    };
    const float idle = pln[0].acf_RSC_idlespeed_eng;
    const float plain = settled(1, 1.0f, 1.0f);
    EXPECT_GT(plain, 0.25f * idle) << "the engine keeps turning on the plain floor";
    EXPECT_NEAR(settled(1, 3.0f, 3.0f), plain, 1e-3f * plain) << "the high idle ignores the ratios";
    EXPECT_NEAR(settled(0, 1.0f, 3.0f), plain, 1e-3f * plain) << "a low ratio of 1.0 idles as the high idle";
    EXPECT_GT(settled(0, 3.0f, 1.0f), 1.3f * plain) << "the low idle takes the low ratio";
    EXPECT_GT(settled(1, 3.0f, 1.0f, 1), 1.3f * plain) << "at ground idle the low idle holds, whatever the switch";
    EXPECT_NEAR(settled(0, 0.0f, 3.0f), plain, 1e-3f * plain) << "no low ratio in the file";
    EXPECT_NEAR(settled(0, std::nanf(""), 3.0f), plain, 1e-3f * plain) << "a damaged low ratio";
}

// The torque terms one at a time, as ratios of the rated torque: the ram
// pressure in the breathing, each type's starter on a stopped engine (friction
// ratio 0.02), the dead-engine speed of a piston, and the fixed-shaft turbine's
// drive at half redline.
TEST_F(PropEngines, TorqueTermsByHand)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float idle = 650.0f, redline = 2700.0f;
    struct row {
        const char* what;
        int32_t type;
        bool running;
        float rpm, starter, expect;
    };
    const float r_dead = 0.26f * idle / redline, r_half = 0.5f;
    const row rows[] = {
        {"piston starter", ENGINE_PISTON_CARBURETTED, false, 0.0f, 1.0f, 0.02f + 0.46f},
        {"turbine starter", ENGINE_TURBINE_FIXED, false, 0.0f, 1.0f, 0.02f + 0.1f},
        {"electric starter", ENGINE_ELECTRIC, false, 0.0f, 1.0f, 0.02f},
        // just above a quarter of idle the drive works: 0.25 + 1.75 sqrt(r), less 0.25 + 0.75 r^2
        {"piston above a quarter idle", ENGINE_PISTON_CARBURETTED, true, 0.26f * idle, 0.0f,
         1.75f * std::sqrt(r_dead) - 0.75f * r_dead * r_dead},
        {"piston below a quarter idle", ENGINE_PISTON_CARBURETTED, true, 0.2f * idle, 0.0f,
         -0.25f - 0.75f * (0.2f * idle / redline) * (0.2f * idle / redline)},
        {"turbine at half redline", ENGINE_TURBINE_FIXED, true, 0.5f * redline, 0.0f,
         1.25f * std::pow(r_half, 0.1f) - 0.01f - 0.24f * r_half * r_half},
    };
    for (const row& r : rows) {
        piston_single();
        a.acf_en_type[0] = r.type;
        running_engine(0, r.rpm * RPM);
        f.ENGN_running[0] = r.running;
        sim_cockpit_engine.starter_duration[0] = r.starter;
        frame();
        EXPECT_NEAR(f.ENGN_TRQ[0] / a.acf_trq_max_prp, r.expect, 1e-4f) << r.what;
    }
    // Ram pressure of 0.2 ambient breathes 1 + 0.75 x 0.2 = 1.15 times the air density ratio.
    piston_single();
    running_engine(0, a.acf_RSC_redline_eng);
    sim_physics.ambient_pressure = 100000.0f;
    f.Qstatic = 20000.0f;
    sim_weather.sigma = 0.5f;
    frame();
    EXPECT_NEAR(f.ENGN_sigma[0], 0.575f, 1e-5f);
}

// One spool step of each turbine from rest on its starter alone (frame 0.02 s,
// idle ratios 1): N1 += dt x 500 x (1 - lo) x (starter - 0.001) / T. At
// ground idle (the power lever closed on the ground) the low floor holds
// whatever the idle switch says.
TEST_F(PropEngines, SpoolFloorsStarterRatesAndTimesByType)
{
    const struct {
        int32_t type;
        int high_idle, ground_idle;
        float lo, starter, T;
    } rows[] = {{ENGINE_TURBINE_FREE, 0, 0, 0.2f, 0.05f, 1.0f},
                {ENGINE_TURBINE_FREE, 1, 0, 0.4f, 0.05f, 1.0f},
                {ENGINE_TURBINE_FREE, 1, 1, 0.2f, 0.05f, 1.0f},
                {ENGINE_JET_LOW_BYPASS, 0, 0, 0.15f, 0.1f, 5.0f},
                {ENGINE_JET_HIGH_BYPASS, 0, 0, 0.05f, 0.05f, 5.0f}};
    for (const auto& r : rows) {
        piston_single();
        pln[0].acf_en_type[0] = r.type;
        sim_cockpit_engine.idle_speed[0] = r.high_idle;
        prop_state.ground_idle[0] = r.ground_idle;
        sim_cockpit_engine.starter_duration[0] = 1.0f;
        ENGN_spool(0);
        EXPECT_NEAR(flt[0].ENGN_N1_[0], 0.02f * 500.0f * (1.0f - r.lo) * (r.starter - 0.001f) / r.T, 1e-5f)
            << r.type << " idle " << r.high_idle << " ground idle " << r.ground_idle;
    }
}

// The clutch by hand, engine torque 0, friction ratio 0.02, as ratios of the
// rated torque: it passes 10 x (engine - shaft speed) / redline, at most 1.5
// either way (not backwards on a linked shaft); an automatic clutch engages
// above twice idle; friction rises toward 2 as the oil ratio falls.
TEST_F(PropEngines, ClutchTorqueByHand)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float Rl = 2700.0f * RPM, idle = 650.0f * RPM;
    const struct {
        const char* what;
        float engine, shaft;
        int own_clutch, linked, switch_on;
        float oil, expect;
    } rows[] = {
        {"coupled", 0.5f * Rl, 0.45f * Rl, 0, 0, 1, 1.0f, 0.5f - 0.02f},
        {"at its top", 0.5f * Rl, 0.2f * Rl, 0, 0, 1, 1.0f, 1.5f - 0.02f},
        {"linked, not backwards", 0.5f * Rl, 0.7f * Rl, 0, 1, 1, 1.0f, -0.02f},
        {"unlinked, backwards", 0.5f * Rl, 0.55f * Rl, 0, 0, 1, 1.0f, -0.5f - 0.02f},
        {"automatic, above twice idle", 0.5f * Rl, 0.45f * Rl, 1, 0, 0, 1.0f, 0.5f - 0.02f},
        {"automatic, below twice idle", 1.5f * idle, 1.5f * idle - 0.05f * Rl, 1, 0, 1, 1.0f, -0.02f},
        {"half the oil", 0.5f * Rl, 0.45f * Rl, 0, 0, 1, 0.5f, 0.5f - 1.01f},
    };
    for (const auto& r : rows) {
        piston_single();
        running_engine(0, r.engine);
        f.ENGN_TRQ[0] = 0.0f;
        f.oil_power_thrust_ratio[0] = r.oil;
        a.acf_eng_clutch[0] = r.own_clutch;
        a.acf_has_clutch = 0;
        a.acf_props_linked = r.linked;
        sim_cockpit_engine.clutch_engage = r.switch_on;
        EXPECT_NEAR(ENGN_torque_clutch(0, r.shaft) / a.acf_trq_max_prp, r.expect, 1e-4f) << r.what;
    }
}

TEST_F(PropEngines, PistonBreathingOnOneMagnetoAndWithCarburettorIce)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    running_engine(0, a.acf_RSC_redline_eng);
    f.ignition_on[0] = 1;
    frame();
    EXPECT_FLOAT_EQ(f.ENGN_sigma[0], 0.85f);
    f.ignition_on[0] = 3;
    f.ENGN_crbice[0] = 1.0f;
    frame();
    EXPECT_FLOAT_EQ(f.ENGN_sigma[0], 0.0f) << "full carburettor ice";
}

// Manifold pressure (29.5 in full, 29.92 in ambient) chases its target at
// rate 1/s from 0: the throttle maps to 0.3 + 0.7 t, the speed factor is 1.15
// up to 75 % of redline and 1.0 at it; past idle the target is the full
// pressure, below idle it lies between ambient and full by tacrad/idle.
// Then the drive's reaction on the airframe in still air without density
// (no blade forces): a prop canted 60 degrees up and 30 to the side, turning
// left (dir -1), takes T cos60 cos30 from L's negative, adds it to N with
// sin60 cos30 and to M with sin30.
TEST_F(PropEngines, ManifoldPressureAndTheReactionOnTheAirframe)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float R = a.acf_RSC_redline_eng, idle = a.acf_RSC_idlespeed_eng;
    const float ambient = 29.92f;
    const struct {
        float throttle, omega, target;
    } cases[] = {
        {0.5f, 0.5f * R, 0.65f * 1.15f * 29.5f},   // past idle: the full pressure, below ambient
        {1.0f, R, 1.0f * 1.0f * 29.5f},
        {1.0f, 0.875f * R, 1.075f * 29.5f},         // above ambient
        {0.5f, 0.5f * idle, 0.5f * (ambient + 0.65f * 1.15f * 29.5f)},
    };
    const float dt = sim_operation_misc.frame_rate_period;
    for (const auto& c : cases) {
        piston_single();
        running_engine(0, c.omega);
        f.ENGN_thro_use[0] = c.throttle;
        f.ENGN_MPR[0] = 0.0f;
        frame();
        EXPECT_NEAR(f.ENGN_MPR[0] / dt, c.target, 0.01f) << c.throttle << " " << c.omega;
    }

    piston_single();
    running_engine(0, R);
    sim_weather.rho = 0.0f;
    a.acf_prop_dir[0] = -1.0f;
    f.vertcant[0] = 60.0f, f.sidecant[0] = 30.0f;
    frame();
    const float T = f.POINT_rock_TRQ[0];
    ASSERT_GT(std::fabs(T), 1.0f);
    EXPECT_NEAR(f.L, T * 0.5f * 0.8660254f, 1e-3f * std::fabs(T));
    EXPECT_NEAR(f.N, -T * 0.8660254f * 0.8660254f, 1e-3f * std::fabs(T));
    EXPECT_NEAR(f.M, -T * 0.5f, 1e-3f * std::fabs(T));
}

TEST_F(PropEngines, ManualClutchEngagesOverFiftySeconds)
{
    acf_struct& a = pln[0];
    a.acf_eng_clutch[0] = 1;
    a.acf_has_clutch = 1;
    sim_cockpit_engine.clutch_engage = 1;
    sim_cockpit_engine.clutch_ratio[0] = 0.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    for (int i = 0; i < 499; ++i) ENGN_torque_clutch(0, 0.0f);
    EXPECT_NEAR(sim_cockpit_engine.clutch_ratio[0], 0.998f, 1e-4f);
    ENGN_torque_clutch(0, 0.0f);
    ENGN_torque_clutch(0, 0.0f);
    EXPECT_FLOAT_EQ(sim_cockpit_engine.clutch_ratio[0], 1.0f);

    // Released, it slips out at the same rate.
    sim_cockpit_engine.clutch_engage = 0;
    for (int i = 0; i < 250; ++i) ENGN_torque_clutch(0, 0.0f);
    EXPECT_NEAR(sim_cockpit_engine.clutch_ratio[0], 0.5f, 1e-4f);
}

TEST_F(PropEngines, FailedClutchPassesNothing)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    running_engine(0, a.acf_RSC_redline_eng);
    f.ENGN_TRQ[0] = a.acf_trq_max_prp;
    f.failures[FAIL_SLOT_CLUTCH_BASE] = FAILURE_STATE_FAILED;
    const float friction = a.acf_friction_rat * a.acf_trq_max_prp;
    EXPECT_FLOAT_EQ(ENGN_torque_clutch(0, 0.5f * a.acf_RSC_redline_eng), -friction);
    EXPECT_GT(f.ENGN_tacrad[0], a.acf_RSC_redline_eng) << "the engine free-runs";

    // A manual clutch fully engaged passes nothing either once it has failed.
    a.acf_eng_clutch[0] = 1;
    a.acf_has_clutch = 1;
    sim_cockpit_engine.clutch_ratio[0] = 1.0f;
    EXPECT_FLOAT_EQ(ENGN_torque_clutch(0, 0.5f * a.acf_RSC_redline_eng), -friction);
}

TEST_F(PropEngines, TurbopropSpoolStaysAtRestWithoutItsStarter)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_en_type[0] = ENGINE_TURBINE_FREE;
    a.acf_idle_rat_lo = 0.5f;
    a.acf_spooltime_prop = 4.0f;
    f.ENGN_thro_use[0] = 0.0f;
    for (int i = 0; i < 100; ++i) frame();
    EXPECT_FLOAT_EQ(f.ENGN_N1_[0], 0.0f);

    sim_cockpit_engine.starter_duration[0] = 10.0f;
    frame();
    const float lo = 0.5f * 0.2f;
    const float rate = 0.05f * a.acf_starter_torque_rat;
    EXPECT_NEAR(f.ENGN_N1_[0], 0.02f * 500.0f * (1.0f - lo) * (rate - 0.001f) / 4.0f, 1e-6f);
    sim_cockpit_engine.starter_duration[0] = 0.0f;

    // Running at full throttle it spools up to 100 % and holds there.
    running_engine(0, a.acf_RSC_redline_eng);
    f.ENGN_N1_[0] = 60.0f;
    for (int i = 0; i < 3000; ++i) ENGN_spool(0);
    EXPECT_NEAR(f.ENGN_N1_[0], 100.0f, 0.2f);
    // An oil ratio falling to zero takes the spool with it.
    f.oil_power_thrust_ratio[0] = 0.0f;
    ENGN_spool(0);
    EXPECT_FLOAT_EQ(f.ENGN_N1_[0], 0.0f);
}

TEST_F(PropEngines, LinkedShaftTurnsEveryPresentPropWithOneEngineFailed)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    // Two engines and a third prop of its own on one shaft (a tandem rotor
    // craft's layout): engine 1 fails.
    a.acf_num_engines = 2;
    a.acf_num_thrustpoints = 3;
    a.acf_props_linked = 1;
    a.acf_en_type[1] = ENGINE_PISTON_CARBURETTED;
    propeller(1, 3.0f, 0.0f, -1.0f, 0.93f, 2.0f, -1.0f, 32.0f, 14.0f);
    propeller(2, 0.0f, 1.0f, 6.0f, 0.6f, 2.0f, 1.0f, 20.0f, 10.0f);
    a.acf_prop_gear_rat[0] = 1.0f, a.acf_prop_gear_rat[1] = 1.0f, a.acf_prop_gear_rat[2] = 0.5f;
    running_engine(0, 150.0f);
    running_engine(1, 150.0f);
    f.POINT_tacrad[2] = 300.0f;
    f.failures[FAIL_SLOT_ENGINE_BASE + 1] = FAILURE_STATE_FAILED;
    for (int i = 0; i < 50; ++i) {
        frame();
        EXPECT_NEAR(f.POINT_tacrad[2], f.POINT_tacrad[0] / 0.5f, 1e-4f * f.POINT_tacrad[2]) << "frame " << i;
    }
    EXPECT_NE(f.POINT_tacrad[0], 150.0f) << "the shaft moved";
    EXPECT_EQ(f.POINT_tacrad[1] + f.ENGN_tacrad[1], 0.0f) << "the failed engine has seized, its prop with it";

    // Alone on the shaft with nothing to turn, the running engine speeds it up.
    a.acf_num_thrustpoints = 1;
    a.acf_els[0] = 0;
    f.POINT_drag_TRQ[0] = 0.0f;
    running_engine(0, 150.0f);
    f.failures[FAIL_SLOT_ENGINE_BASE + 1] = 0;   // engine 1 runs, but past the one thrust point it powers nothing
    f.ENGN_power[1] = 0.0f;
    frame();
    EXPECT_GT(f.POINT_tacrad[0], 150.0f);
    EXPECT_EQ(f.ENGN_power[1], 0.0f);
}

// A stopped engine's propeller in the air of flight: at its finest pitch the
// air turns it forwards; set past edge-on, where the air pushes it the other
// way, it stands still, and so does its engine.
TEST_F(PropEngines, TheAirTurnsAStoppedPropForwardsOrNotAtAll)
{
    flt_struct& f = flt[0];
    for (const float pitch : {0.0f, 70.0f}) {
        piston_single();
        f.vz_air_on_acf = 60.0f;
        f.POINT_pitch_deg[0] = pitch;
        for (int i = 0; i < 250; ++i) frame();
        EXPECT_EQ(f.POINT_tacrad[0] > 10.0f, pitch == 0.0f) << pitch;
        EXPECT_GE(std::min(f.POINT_tacrad[0], f.ENGN_tacrad[0]), 0.0f) << pitch;
    }
}

TEST_F(PropEngines, LiftFansShareTheJetsPowerEqually)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_num_engines = 1;
    a.acf_num_thrustpoints = 3;
    jet(0, 0.0f, 0.0f, 2.0f);
    a.acf_RSC_redline_eng = 500.0f;
    a.acf_lift_fan_rat = 0.3f;
    for (int n : {1, 2}) {
        propeller(n, 0.0f, 0.0f, -3.0f + n, 0.6f, 8.0f, 1.0f, 20.0f, 10.0f);
        a.acf_prop_type[n] = PROP_LIFT_FAN;
        f.POINT_tacrad[n] = 200.0f;
    }
    f.lift_fan_total_power = 3.0e6f;
    frame();
    for (int n : {1, 2}) {
        EXPECT_FLOAT_EQ(f.ENGN_power[n], 1.5e6f) << n;
        EXPECT_FLOAT_EQ(f.ENGN_TRQ[n], 1.5e6f / 200.0f) << n;
        EXPECT_FLOAT_EQ(f.ENGN_N1_[n], 40.0f) << n;
    }
    // A fan at rest divides by 1 rad/s and its torque stops at its limit.
    f.POINT_tacrad[1] = 0.0f;
    frame();
    EXPECT_FLOAT_EQ(f.ENGN_TRQ[1], 1.5f * 100000.0f * 0.3f * 340.0f / 500.0f);
}

TEST_F(PropEngines, TorqueRollTrimGrowsWithTheSquareOfTheAirspeed)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    f.indicated_airspeed = 0.6f * a.acf_Vne;
    ENGN_torque_roll_trim();
    EXPECT_NEAR(f.L, 0.75f * a.acf_trq_max_eng, 1e-3f);
    f.L = 0.0f;
    f.indicated_airspeed = 0.3f * a.acf_Vne;
    ENGN_torque_roll_trim();
    EXPECT_NEAR(f.L, 0.25f * 0.75f * a.acf_trq_max_eng, 1e-3f);

    // Turbines trim at a higher speed; a counter-clockwise prop the other way.
    a.acf_en_type[0] = ENGINE_TURBINE_FIXED;
    a.acf_prop_dir[0] = -1.0f;
    f.L = 0.0f;
    f.indicated_airspeed = 0.85f * a.acf_Vne;
    ENGN_torque_roll_trim();
    EXPECT_NEAR(f.L, -0.5f * a.acf_trq_max_eng, 1e-3f);

    // A prop tilted 15 degrees or more, a failed engine or no Vne: no trim.
    f.L = 0.0f;
    a.acf_vect_cant[0] = 15.0f;
    ENGN_torque_roll_trim();
    a.acf_vect_cant[0] = 0.0f;
    f.failures[FAIL_SLOT_ENGINE_BASE] = FAILURE_STATE_FAILED;
    ENGN_torque_roll_trim();
    f.failures[FAIL_SLOT_ENGINE_BASE] = 0;
    a.acf_Vne = 0.0f;
    ENGN_torque_roll_trim();
    EXPECT_FLOAT_EQ(f.L, 0.0f);
}

}  // namespace
