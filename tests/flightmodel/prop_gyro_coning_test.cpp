// Gyroscopic moments of a spinning propeller and the coning of a rotor, with
// the blades' own air forces taken away (elements of no area).
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
