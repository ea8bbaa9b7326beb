// The rope's pull at its hook: the divisor of short ropes and the arms of the
// pull's moments, with the plane level and heading north.
#include <gtest/gtest.h>

#include "flightmodel/flt.h"
#include "flightmodel/ground/rope.h"

// Hook 0.4 m right, 0.5 m low and 3 m ahead. A rope over 1 m pulls with the
// whole tension along itself; a shorter one with tension x its length. An
// upward pull F at the hook gives L -= F x 0.4 and M -= F x -3; a forward
// pull F gives M += F x -0.5 and N += F x 0.4.
TEST(RopeTension, PullAndMomentsAtTheHook)
{
    struct row {
        float length, dx, dy, dz;
        float side, normal, axial, L, M, N;
    };
    const row rows[] = {
        {1.5f, 0.0f, 1.5f, 0.0f, 0.0f, 1000.0f, 0.0f, -400.0f, 3000.0f, 0.0f},
        {1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1000.0f, 0.0f, -400.0f, 3000.0f, 0.0f},
        {0.8f, 0.0f, 0.8f, 0.0f, 0.0f, 800.0f, 0.0f, -320.0f, 2400.0f, 0.0f},
        {1.25f, 0.0f, 0.0f, -1.25f, 0.0f, 0.0f, -1000.0f, 0.0f, 500.0f, -400.0f},
    };
    for (const row& r : rows) {
        flt[0] = flt_struct{};
        flt[0].cos_theta = flt[0].track_cos = flt[0].cos_phi = 1.0f;
        float side, normal, axial;
        ROPE_apply_tension(1000.0f, r.length, 0.4f, -0.5f, -3.0f, r.dx, r.dy, r.dz, &side, &normal, &axial);
        EXPECT_NEAR(side, r.side, 1e-3f) << r.length;
        EXPECT_NEAR(normal, r.normal, 1e-3f) << r.length;
        EXPECT_NEAR(axial, r.axial, 1e-3f) << r.length;
        EXPECT_NEAR(flt[0].L, r.L, 1e-2f) << r.length;
        EXPECT_NEAR(flt[0].M, r.M, 1e-2f) << r.length;
        EXPECT_NEAR(flt[0].N, r.N, 1e-2f) << r.length;
    }
}
