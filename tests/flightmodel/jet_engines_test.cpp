// Jet engines: ram drag at rest, the density derates above the speed of
// sound and at the intake's limit, the reverser, blown flaps and lift fans,
// the thrust along the vector, and the thrust available by altitude.
#include "flightmodel/atmosphere.h"
#include "tests/flightmodel/propulsion_fixture.h"

using namespace prop_test;

namespace {

struct JetEngines : ::testing::Test {
    void SetUp() override
    {
        CONST_fill_constants();
        standard_air();
        piston_single();
        acf_struct& a = pln[0];
        a.acf_prop_type[0] = PROP_JET;
        jet(0, 2.0f, -1.0f, 1.0f);
        flt[0].ENGN_running[0] = 1;
        flt[0].ENGN_mixt_pow_rat[0] = 1.0f;
        a.acf_idle_rat_lo = a.acf_idle_rat_hi = 1.0f;
    }
    // The engine's N1 held where the test puts it, whatever the spool does.
    static void frame_at(float n1)
    {
        flt_struct& f = flt[0];
        f.faxil_prop = f.fside_prop = f.fnrml_prop = f.L = f.M = f.N = 0.0f;
        f.ENGN_N1_[0] = n1;
        sim_operation_misc.frame_rate_period = 0.0f;   // the spool stands still
        ENGN_jet_engines(0);
        sim_operation_misc.frame_rate_period = 0.02f;
    }
};

TEST_F(JetEngines, CoreThrustRunsFromRamDragToFullThrust)
{
    flt_struct& f = flt[0];
    f.Qstatic = 5000.0f;
    frame_at(0.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], -0.3f * 1.5f * 5000.0f);
    frame_at(100.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], 100000.0f);
    frame_at(50.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], -2250.0f + 0.125f * (100000.0f + 2250.0f));

    // Along the thrust line at the engine's point: forward, and the moments of
    // a force there (2 m right, 1 m below the centre of gravity).
    frame_at(100.0f);
    EXPECT_FLOAT_EQ(f.faxil_prop, -100000.0f);
    EXPECT_FLOAT_EQ(f.fside_prop, 0.0f);
    EXPECT_FLOAT_EQ(f.M, 100000.0f) << "thrust below the centre of gravity pitches the nose up";
    EXPECT_FLOAT_EQ(f.N, -200000.0f) << "thrust on the right yaws left";
    EXPECT_FLOAT_EQ(f.POINT_tacrad[0], 100.0f * static_cast<float>(TWO_PI_DOUBLE) / 60.0f);
    EXPECT_FLOAT_EQ(f.ENGN_TRQ[0], 400000.0f);
    EXPECT_FLOAT_EQ(f.ENGN_EPR[0], 1.0f + 100000.0f / 1.5f / 101325.0f);

    // Turned 90 degrees up by the vector, it lifts.
    f.vertcant[0] = 90.0f;
    frame_at(100.0f);
    EXPECT_NEAR(f.fnrml_prop, 100000.0f, 1.0f);
    EXPECT_NEAR(f.faxil_prop, 0.0f, 1.0f);
}

TEST_F(JetEngines, DensityDeratesAboveTheSpeedOfSoundAndAtTheIntakeLimit)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_en_type[0] = ENGINE_JET_LOW_BYPASS;
    a.acf_max_mach_eff = 10.0f;
    f.machno = 2.0f;
    frame_at(100.0f);
    EXPECT_NEAR(f.ENGN_sigma[0], 1.15f * 9.6f / 3.6f, 1e-5f) << "normal-shock factor 2.667 at Mach 2";

    // The intake's two formulas meet at an excess of 5.
    a.acf_en_type[0] = ENGINE_JET_HIGH_BYPASS;
    f.machno = 0.5f;
    const float base = 1.0f - 0.25f;   // the high-bypass loss at Mach 0.5
    a.acf_max_mach_eff = f.machno - 1.0f;
    frame_at(100.0f);
    EXPECT_NEAR(f.ENGN_sigma[0], base, 1e-6f) << "an excess of 1 changes nothing";
    a.acf_max_mach_eff = f.machno - 0.999f;
    frame_at(100.0f);
    EXPECT_NEAR(f.ENGN_sigma[0], base, 1e-6f) << "nor does one just below 1";
    a.acf_max_mach_eff = f.machno - 5.0f;
    frame_at(100.0f);
    EXPECT_NEAR(f.ENGN_sigma[0] / base, 0.513f, 0.0005f);
    a.acf_max_mach_eff = f.machno - 5.0001f;
    frame_at(100.0f);
    EXPECT_NEAR(f.ENGN_sigma[0] / base, 0.513f, 0.0005f) << "the second formula";

    // The high-bypass loss goes with the density ratio squared: 0.5 - 0.5 x 0.5 x 0.25.
    a.acf_max_mach_eff = 10.0f;
    sim_weather.sigma = 0.5f;
    frame_at(100.0f);
    EXPECT_NEAR(f.ENGN_sigma[0], 0.4375f, 1e-6f);
}

TEST_F(JetEngines, JetWashLagsBehindTheThrustOverGroundAndWashSpeed)
{
    flt_struct& f = flt[0];
    f.ENGN_N1_[0] = 100.0f;
    f.DVinc[0] = 20.0f;
    f.groundspeed = -30.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    ENGN_jet_engines(0);
    const float T = f.POINT_thrust[0];
    ASSERT_GT(T, 0.0f);
    EXPECT_NEAR(f.ENGN_power[0], T * 20.0f, 1e-3f * T) << "the wash speed of the frame before";
    // A tenth of the way from 20 toward thrust / (face x rho x (30 + 20)).
    EXPECT_NEAR(f.DVinc[0], 0.9f * 20.0f + 0.1f * T / (1.5f * sim_weather.rho * 50.0f), 1e-3f);
}

TEST_F(JetEngines, ReverserBlownFlapsAndLiftFans)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_blown_flap_throt_red = 0.2f;
    a.acf_blown_flap_add_speed = 10.0f;
    f.blown_flap_engage_rat = 0.5f;
    a.acf_num_thrustpoints = 3;
    a.acf_prop_type[1] = PROP_LIFT_FAN;
    a.acf_lift_fan_rat = 0.1f;
    a.acf_vect_cant[0] = 90.0f;
    frame_at(100.0f);
    const float after_flaps = 0.9f * 100000.0f;
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], 0.9f * after_flaps);
    const float one_fan = f.lift_fan_total_power;
    EXPECT_NEAR(one_fan, 0.1f * after_flaps * std::sqrt(100000.0f / (1.5f * 1.225f)) * 0.75f, 1.0f);

    // Two fans take twice one fan's share, by the jet's own vector angle.
    a.acf_prop_type[2] = PROP_LIFT_FAN;
    f.lift_fan_total_power = 0.0f;
    frame_at(100.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], 0.8f * after_flaps);
    EXPECT_NEAR(f.lift_fan_total_power, 2.0f * one_fan, 2.0f);
    a.acf_vect_cant[0] = 0.0f;
    f.lift_fan_total_power = 0.0f;
    frame_at(100.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], after_flaps) << "at a 0 degree vector the fans take nothing";
    EXPECT_FLOAT_EQ(f.lift_fan_total_power, 0.0f);

    // The reverser gives half of the thrust left after those shares, backwards.
    a.acf_vect_cant[0] = 90.0f;
    frame_at(100.0f);
    const float forward = f.POINT_thrust[0];
    f.ENGN_propmode[0] = 3;
    frame_at(100.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], -0.5f * forward);
    // The afterburner comes on top of the shares.
    f.ENGN_propmode[0] = 1;
    f.ENGN_burning[0] = 1;
    a.acf_burnerinc = 40000.0f;
    frame_at(100.0f);
    EXPECT_FLOAT_EQ(f.POINT_thrust[0], forward + 40000.0f);
}

TEST_F(JetEngines, ThrustAvailableByAltitude)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_running[0] = 0;
    EXPECT_FLOAT_EQ(ENGN_jet_thrust_avail(0), 0.0f) << "a stopped engine";
    f.ENGN_running[0] = 1;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), a.acf_fmax_sl, 1.0f) << "sea level";

    const float rho_opt = ATMO_density_at_alt(0, a.acf_h_opt);
    sim_weather.rho = rho_opt;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), a.acf_fmax_opt, 1.0f) << "upper branch";
    sim_weather.rho = std::nextafter(rho_opt, 2.0f);
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), a.acf_fmax_opt, 1.0f) << "lower branch";
    sim_weather.rho = 0.0f;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), a.acf_fmax_vac, 1.0f) << "vacuum";

    // Half throttle, and a throttle beyond the lever's top counts as the top.
    sim_weather.rho = 1.225f;
    f.ENGN_thro_use[0] = 0.5f;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), 0.5f * a.acf_fmax_sl, 1.0f);
    f.ENGN_thro_use[0] = 3.0f;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), a.acf_fmax_sl, 1.0f);
    EXPECT_FLOAT_EQ(ENGN_jet_thrust_avail(8), 0.0f);

    // Linear in density on each side of the optimum; the throttle scales by
    // the lever's top (0.5 x 0.8 = 0.4) and the mixture's power ratio (0.5).
    f.ENGN_thro_use[0] = 1.0f;
    sim_weather.rho = 0.5f * rho_opt;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), 0.5f * (a.acf_fmax_vac + a.acf_fmax_opt), 1.0f);
    sim_weather.rho = 0.5f * (rho_opt + 1.225f);
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), 0.5f * (a.acf_fmax_sl + a.acf_fmax_opt), 1.0f);
    sim_weather.rho = 1.225f;
    a.acf_throtmax_FWD = 0.8f;
    f.ENGN_thro_use[0] = 0.5f;
    f.ENGN_mixt_pow_rat[0] = 0.5f;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), 0.2f * a.acf_fmax_sl, 1.0f);

    // An optimum altitude above the air: no span between the vacuum and the
    // optimum ratings, so in a vacuum the rating is their mean.
    a.acf_throtmax_FWD = 1.0f;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_mixt_pow_rat[0] = 1.0f;
    a.acf_h_opt = 1.0e6f;
    ASSERT_EQ(ATMO_density_at_alt(0, a.acf_h_opt), 0.0f);
    sim_weather.rho = 0.0f;
    EXPECT_NEAR(ENGN_jet_thrust_avail(0), 0.5f * (a.acf_fmax_vac + a.acf_fmax_opt), 1.0f);
}

}  // namespace
