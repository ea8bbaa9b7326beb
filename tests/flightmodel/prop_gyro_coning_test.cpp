// Gyroscopic moments of a spinning propeller, the coning and cyclic of a rotor,
// efficiency and side wash, with the blades' own air forces taken away
// (elements of no area).
#include <cmath>

#include "tests/flightmodel/propulsion_fixture.h"

using namespace prop_test;

namespace {

void bladeless_piston_single()
{
    CONST_fill_constants();
    CONST_fill_random_table();
    standard_air();
    piston_single();
    for (int e = 0; e < 5; ++e) pln[0].acf_s[ACF_el(0, e)] = 0.0f;
}

}  // namespace

// Propeller of inertia I = 0.5 x 0.93^2 x 6 = 2.59470 at 200 rad/s, its axis
// straight aft: a pitch rate Q gives M -= Q I w and N += Q I w d; a yaw rate R
// gives N -= R I w and M -= R I w d.
TEST(PropGyro, PitchAndYawRatesTurnIntoCrossMoments)
{
    struct row {
        float dir, Q, R;
        float L, M, N;
    };
    const float h = 0.1f * 2.59470f * 200.0f;   // 51.894
    const row rows[] = {
        {1.0f, 0.1f, 0.0f, 0.0f, -h, h},
        {-1.0f, 0.1f, 0.0f, 0.0f, -h, -h},
        {1.0f, 0.0f, 0.1f, 0.0f, -h, -h},
        {-1.0f, 0.0f, 0.1f, 0.0f, h, -h},
    };
    for (const row& r : rows) {
        bladeless_piston_single();
        flt_struct& f = flt[0];
        pln[0].acf_prop_dir[0] = r.dir;
        f.POINT_tacrad[0] = 200.0f;
        f.Qrad = r.Q, f.Rrad = r.R;
        PROP_blade_element_forces(0);
        EXPECT_NEAR(f.L, r.L, 1e-2f) << r.dir << " " << r.Q << " " << r.R;
        EXPECT_NEAR(f.M, r.M, 1e-2f) << r.dir << " " << r.Q << " " << r.R;
        EXPECT_NEAR(f.N, r.N, 1e-2f) << r.dir << " " << r.Q << " " << r.R;
    }
}

// A rotor with blades of 6 kg and no thrust cones down towards
// atan(-6 / (w^2 Rmid 6)), Rmid = 2.5 elements of 0.186 m = 0.465 m, by a
// frame's 0.02 of the way; the target stops at 10 degrees.
TEST(PropGyro, RotorConesTowardsItsLimitedTarget)
{
    struct row {
        int type;
        float omega, cone;
    };
    const row rows[] = {
        {PROP_MAIN_ROTOR, 10.0f, 0.02f * std::atan(-6.0f / (100.0f * 0.465f * 6.0f))},
        {PROP_MAIN_ROTOR, 1.0f, 0.02f * -10.0f * DEG},
        {PROP_COLLECTIVE_ROTOR, 1.0f, 0.02f * -10.0f * DEG},
        {PROP_FIXED_PITCH, 1.0f, 0.0f},
    };
    for (const row& r : rows) {
        bladeless_piston_single();
        pln[0].acf_prop_type[0] = r.type;
        flt[0].POINT_tacrad[0] = r.omega;
        PROP_blade_element_forces(0);
        EXPECT_NEAR(flt[0].POINT_cone_rad[0], r.cone, 1e-6f) << r.type << " at " << r.omega;
    }
}

// Rotor cyclic of half stick in pitch and roll over 10 degrees of range, the
// disc still level: both errors are 5 degrees. Delta-3 of 45 degrees couples
// each fully (c(x) = x), 30 degrees by atan(tan 30 tan 5) = 2.89164.
TEST(PropDisc, CyclicBladeAnglesWithDeltaThree)
{
    struct row {
        float delta3, elev, ailn;
    };
    for (const row& r : {row{45.0f, 0.0f, 10.0f}, row{30.0f, 2.10836f, 7.89164f}, row{0.0f, 5.0f, 5.0f}}) {
        bladeless_piston_single();
        acf_struct& a = pln[0];
        a.acf_prop_type[0] = PROP_MAIN_ROTOR;
        a.acf_cyclic_elev = a.acf_cyclic_ailn = 10.0f;
        a.acf_delta3 = r.delta3;
        flt[0].FC_ptch = flt[0].FC_roll = 0.5f;
        flt[0].POINT_tacrad[0] = 30.0f;
        PROP_blade_element_forces(0);
        EXPECT_NEAR(flt[0].cyclic_elev_command[0], 5.0f, 1e-5f);
        EXPECT_NEAR(flt[0].cyclic_ailn_command[0], 5.0f, 1e-5f);
        EXPECT_NEAR(flt[0].cyclic_elev_blad_alph[0], r.elev, 1e-4f) << r.delta3;
        EXPECT_NEAR(flt[0].cyclic_ailn_blad_alph[0], r.ailn, 1e-4f) << r.delta3;
    }
}

// A bladeless rotor of I = 2.59470 at 30 rad/s, blades of 6 kg and a tip at
// 0.93 m, cyclic ranges of 5 degrees (stops at 10): a disc tilt rate of -0.5
// rad/s leaves the moment 0.5 I w - 0.01 x 6 x 0.93 = 38.8647 (pitch up), one
// of +0.5 leaves -38.9763. Beyond a stop a moment pushing further on passes to
// the airframe (pitch to M, yaw to N with no cant); one pulling back, or any
// inside the stops, only moves the disc. The tilt ends at its stop.
TEST(PropDisc, MomentPassesToTheAirframeOnlyAtTheStops)
{
    struct row {
        float elev, ailn, Q, R;   // disc tilts (deg) and their rates (rad/s)
        float M, N, elev_after, ailn_after;
    };
    const float up = 38.8647f, down = -38.9763f;
    const row rows[] = {
        {12.0f, 0.0f, -0.5f, 0.0f, up, 0.0f, 10.0f, 0.0f},
        {-12.0f, 0.0f, 0.5f, 0.0f, down, 0.0f, -10.0f, 0.0f},
        {12.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 10.0f, 0.0f},   // pulling back off the stop
        {0.0f, 12.0f, 0.0f, -0.5f, 0.0f, up, 0.0f, 10.0f},
        {0.0f, -12.0f, 0.0f, 0.5f, 0.0f, down, 0.0f, -10.0f},
    };
    for (const row& r : rows) {
        bladeless_piston_single();
        acf_struct& a = pln[0];
        flt_struct& f = flt[0];
        a.acf_prop_type[0] = PROP_MAIN_ROTOR;
        a.acf_cyclic_elev = a.acf_cyclic_ailn = 5.0f;
        f.POINT_tacrad[0] = 30.0f;
        f.cyclic_elev_disc_tilt[0] = r.elev, f.cyclic_ailn_disc_tilt[0] = r.ailn;
        f.Q_rotor_rad[0] = r.Q, f.R_rotor_rad[0] = r.R;
        PROP_blade_element_forces(0);
        EXPECT_NEAR(f.M, r.M, 1e-2f) << r.elev << " " << r.Q;
        EXPECT_NEAR(f.N, r.N, 1e-2f) << r.ailn << " " << r.R;
        EXPECT_NEAR(f.L, 0.0f, 1e-2f);
        EXPECT_FLOAT_EQ(f.cyclic_elev_disc_tilt[0], r.elev_after);
        EXPECT_FLOAT_EQ(f.cyclic_ailn_disc_tilt[0], r.ailn_after);
    }
    // Inside the stops the same moment leaves the airframe alone.
    bladeless_piston_single();
    pln[0].acf_prop_type[0] = PROP_MAIN_ROTOR;
    pln[0].acf_cyclic_elev = pln[0].acf_cyclic_ailn = 5.0f;
    flt[0].POINT_tacrad[0] = 30.0f;
    flt[0].cyclic_elev_disc_tilt[0] = flt[0].cyclic_ailn_disc_tilt[0] = 5.0f;
    flt[0].Q_rotor_rad[0] = flt[0].R_rotor_rad[0] = -0.5f;
    PROP_blade_element_forces(0);
    EXPECT_NEAR(flt[0].M, 0.0f, 1e-2f);
    EXPECT_NEAR(flt[0].N, 0.0f, 1e-2f);
}

// Efficiency is thrust x true airspeed / power; the side wash is (1 - e) / 2
// of the disc wash, e held to 0.5..1. Without thrust a wash of 10 m/s decays
// by 0.02 to 9.8 and leaves 0.25 x 9.8 = 2.45 m/s of side wash. Tip jets of
// 2 x 500 N at 10 degrees of pitch thrust 173.648 N: at 50 m/s on 10 kW that
// is 0.868241.
TEST(PropDisc, EfficiencyAndSideWash)
{
    bladeless_piston_single();
    flt_struct& f = flt[0];
    f.DVinc[0] = 10.0f;
    f.true_airspeed = 50.0f;
    f.ENGN_power[0] = 10000.0f;
    PROP_blade_element_forces(0);
    EXPECT_NEAR(f.POINT_prop_eff[0], 0.0f, 1e-6f);
    EXPECT_NEAR(f.DVinc[0], 9.8f, 1e-5f);
    EXPECT_NEAR(f.POINT_side_wash[0], 2.45f, 1e-5f);

    bladeless_piston_single();
    acf_struct& a = pln[0];
    a.acf_en_type[0] = ENGINE_TIP_ROCKET;
    a.acf_prop_type[0] = PROP_MAIN_ROTOR;
    a.acf_fmax_sl = a.acf_fmax_opt = a.acf_fmax_vac = 500.0f;
    a.acf_h_opt = 10000.0f;
    f.ENGN_running[0] = 1;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_mixt_pow_rat[0] = 1.0f;
    f.POINT_pitch_deg[0] = 10.0f;
    f.true_airspeed = 50.0f;
    f.ENGN_power[0] = 10000.0f;
    PROP_blade_element_forces(0);
    ASSERT_NEAR(f.POINT_thrust[0], 173.648f, 1e-2f);
    EXPECT_NEAR(f.POINT_prop_eff[0], 0.868241f, 1e-4f);
}
