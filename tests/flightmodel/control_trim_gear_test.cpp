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
