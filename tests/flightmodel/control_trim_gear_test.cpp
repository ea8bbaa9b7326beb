// Stab-trim incidence of aft and forward parts, and the geometry of a
// retracting gear leg, on the test aircraft.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/flightmodel/forces_fixture.h"

using namespace forces_test;

// Trim up 10 and down 4 degrees, over ranges of 0.5 nose down and 1 nose up.
// An aft part (the tailplane, 16) takes -down for nose-down trim and -up for
// nose-up trim; a forward part (the right wing moved 3 m ahead) +up and +down.
TEST(ControlTrimGear, StabTrimIncidenceByTheSideOfTheCentre)
{
    struct row {
        float trim, aft, forward;
    };
    const row rows[] = {{-0.25f, 2.0f, -5.0f}, {0.5f, -5.0f, 2.0f}, {0.0f, 0.0f, 0.0f}};
    for (const row& r : rows) {
        start_on_test_aircraft();
        acf_struct& a = pln[0];
        a.acf_Zarm[9] = -3.0f;
        a.acf_hstb_trim_up = 10.0f, a.acf_hstb_trim_dn = 4.0f;
        a.acf_elv_trim_neg_lim = 0.5f, a.acf_elv_trim_pos_lim = 1.0f;
        a.acf_inc_trim[ACF_el(16, 0)] = a.acf_inc_trim[ACF_el(9, 0)] = 1;
        flt[0].elv_trim = r.trim;
        ACF_control_incidence(0);
        EXPECT_NEAR(flt[0].elem_inc[ACF_el(16, 0)], r.aft, 1e-5f) << r.trim;
        EXPECT_NEAR(flt[0].elem_inc[ACF_el(9, 0)], r.forward, 1e-5f) << r.trim;
        EXPECT_EQ(flt[0].elem_inc[ACF_el(16, 1)], 0.0f) << "an element without the flag";
    }
}

// The right main gear (arm 1.2, -0.6, 0.6, leg 0.6 m) shortens by 0.4 m when
// retracted: half way the leg is 0.4 m, swung out half of 30 degrees; fully
// down it is 0.6 m, swung 20 degrees forward.
TEST(ControlTrimGear, RetractingLegShortensAndSwings)
{
    struct row {
        float deploy, latE, lonE;
        float x, y, z;
    };
    const row rows[] = {
        {0.5f, 30.0f, 0.0f, 1.303528f, -0.986370f, 0.6f},
        {1.0f, 0.0f, 20.0f, 1.2f, -1.163816f, 0.394788f},
        {0.0f, 30.0f, 20.0f, 1.2f, -0.8f, 0.6f},
    };
    for (const row& r : rows) {
        start_on_test_aircraft();
        acf_struct& a = pln[0];
        a.acf_gear_retract_len[69] = 0.4f;
        a.acf_gear_latE[69] = r.latE;
        a.acf_gear_lonE[69] = r.lonE;
        a.acf_gear_deploy[69] = r.deploy;
        ACF_control_incidence(0);
        EXPECT_NEAR(a.acf_gear_xnodef[69], r.x, 1e-5f) << r.deploy;
        EXPECT_NEAR(a.acf_gear_ynodef[69], r.y, 1e-5f) << r.deploy;
        EXPECT_NEAR(a.acf_gear_znodef[69], r.z, 1e-5f) << r.deploy;
    }
}

// Two engines 2 m either side, throttles at 0.5, differential throttle of 0.2
// with the pedals at half right: the right engine loses 0.1 and the left gains
// it (no cant: the heading term goes by the cosine). Thrust vectored to 90
// degrees turns the pedal term off and the roll term (0.3 at half right roll)
// on. Results stay within 0 and the forward throttle limit of 0.55.
TEST(ControlTrimGear, DifferentialThrottleFromPedalsAndRoll)
{
    struct row {
        float cant, hdng, roll, right, left;
    };
    const row rows[] = {
        {0.0f, 0.5f, 0.0f, 0.4f, 0.55f},
        {0.0f, -0.25f, 0.5f, 0.55f, 0.45f},
        {90.0f, 0.5f, 0.5f, 0.35f, 0.55f},
    };
    for (const row& r : rows) {
        start_on_test_aircraft();
        sim_operation_override.override_throttles = 0;
        acf_struct& a = pln[0];
        a.acf_num_engines = a.acf_num_thrustpoints = 2;
        a.acf_Xarm[0] = 2.0f, a.acf_Xarm[1] = -2.0f;
        a.acf_vertcant[0] = a.acf_vertcant[1] = a.acf_vect_cant[0] = a.acf_vect_cant[1] = r.cant;
        a.acf_diff_thro_with_hdng = 0.2f, a.acf_diff_thro_with_roll = 0.3f;
        a.acf_throtmax_FWD = 0.55f;
        flt[0].ENGN_thro[0] = flt[0].ENGN_thro[1] = 0.5f;
        flt[0].FC_hdng = r.hdng, flt[0].FC_roll = r.roll;
        ACF_control_incidence(0);
        EXPECT_NEAR(flt[0].ENGN_thro_use[0], r.right, 1e-5f) << r.cant << " " << r.hdng << " " << r.roll;
        EXPECT_NEAR(flt[0].ENGN_thro_use[1], r.left, 1e-5f) << r.cant << " " << r.hdng << " " << r.roll;
    }
}

// Flaps at half travel (20 of 40 degrees) with 10 degrees of roll mixing and
// the stick half right: the right wing's flap rises to 15, the left's drops
// to 25; 8 degrees of pitch mixing with the stick half back lowers an aft
// part's flaps by 4 more.
TEST(ControlTrimGear, FlapsMixWithRollAndPitch)
{
    start_on_test_aircraft();
    acf_struct& a = pln[0];
    a.acf_flap_roll = 10.0f, a.acf_flap_ptch = 8.0f;
    flt[0].flaprat = 0.5f;
    flt[0].FC_roll = 0.5f, flt[0].FC_ptch = -0.5f;
    ACF_control_incidence(0);
    for (int p : {8, 9}) {
        const float side = a.acf_part_is_left[p] ? -1.0f : 1.0f;
        EXPECT_NEAR(flt[0].flap_def[p], 20.0f - 5.0f * side + 4.0f, 1e-4f) << p;
    }
    EXPECT_NE(a.acf_part_is_left[8], a.acf_part_is_left[9]);
}
