// Propeller and rotor blade elements: mirror-image propellers, the dirty-air
// factor and the vortex ring, tip jets, and the blade tip striking the
// ground, on land, water and decks (the rotor disc at its stops is in
// prop_gyro_coning_test.cpp, beside the blade-free rotor it uses).
#include <cmath>

#include "tests/flightmodel/propulsion_fixture.h"

using namespace prop_test;

namespace {

struct BladeElements : ::testing::Test {
    void SetUp() override
    {
        CONST_fill_constants();
        CONST_fill_random_table();
        standard_air();
        piston_single();
    }
    static void clear_totals()
    {
        flt_struct& f = flt[0];
        f.faxil_prop = f.fside_prop = f.fnrml_prop = f.L = f.M = f.N = 0.0f;
    }
    // The element slot's speed along the disc axis, as the inflow worked it
    // out, with the prop standing still (no tangential speed).
    static float axial_speed(int e, int k) { return flt[0].v_el[FM_flow_index(0, e, k)]; }
};

TEST_F(BladeElements, ClockwiseAndCounterClockwiseAreMirrorImages)
{
    ASSERT_TRUE(element_forces_work()) << "the wing-element aerodynamics give no forces";
    flt_struct& f = flt[0];
    // Climbing at 30 m/s with 8 degrees of angle of attack, a little sideslip
    // and a pitch rate.
    f.vz_air_on_acf = 30.0f;
    f.vy_air_on_acf = 4.0f;
    f.vx_air_on_acf = 1.5f;
    f.Qrad = 0.1f;
    f.POINT_tacrad[0] = 250.0f;
    f.ENGN_power[0] = 100000.0f;
    f.true_airspeed = 30.3f;
    for (int e = 0; e < 5; ++e) f.ringDVinc[ACF_el(0, e)] = 6.0f;
    f.DVinc[0] = 6.0f;
    const flt_struct start = f;

    auto run = [&](float dir) {
        f = start;
        pln[0].acf_prop_dir[0] = dir;
        // The sideslip is mirrored with the propeller.
        f.vx_air_on_acf = dir * start.vx_air_on_acf;
        clear_totals();
        PROP_blade_element_forces(0);
        return f;
    };
    const flt_struct cw = run(1.0f);
    const flt_struct ccw = run(-1.0f);
    EXPECT_GT(cw.POINT_thrust[0], 100.0f);
    EXPECT_GT(cw.POINT_drag_TRQ[0], 1.0f);
    const float tol = 1e-3f;
    EXPECT_NEAR(ccw.POINT_thrust[0], cw.POINT_thrust[0], tol * cw.POINT_thrust[0]);
    EXPECT_NEAR(ccw.POINT_drag_TRQ[0], cw.POINT_drag_TRQ[0], tol * cw.POINT_drag_TRQ[0]);
    EXPECT_NE(cw.fside_prop, 0.0f);
    EXPECT_NEAR(ccw.fside_prop, -cw.fside_prop, tol * std::fabs(cw.fside_prop) + 1e-3f);
    EXPECT_NEAR(ccw.fnrml_prop, cw.fnrml_prop, tol * std::fabs(cw.fnrml_prop) + 1e-3f);
    EXPECT_NEAR(ccw.faxil_prop, cw.faxil_prop, tol * std::fabs(cw.faxil_prop));
    EXPECT_NEAR(ccw.L, -cw.L, tol * std::fabs(cw.L) + 1e-2f) << "opposite torques";
    EXPECT_NEAR(ccw.N, -cw.N, tol * std::fabs(cw.N) + 1e-2f);
    EXPECT_NEAR(ccw.M, cw.M, tol * std::fabs(cw.M) + 1e-2f);
    EXPECT_GT(cw.DVinc[0], start.DVinc[0] * (1.0f - 0.02f)) << "thrust keeps the wash up";
}

TEST_F(BladeElements, DirtyAirFactorIsContinuousAtItsCorners)
{
    flt_struct& f = flt[0];
    // With the prop stopped and the ring wash at 2 m/s, the element's speed is
    // the inflow plus the dirty-air factor.
    auto factor_at = [&](float knots) {
        f.vz_air_on_acf = knots / 1.94384f;
        f.DVinc[0] = 0.0f;
        f.ringDVinc[ACF_el(0, 2)] = 2.0f;
        f.POINT_tacrad[0] = 0.0f;
        PROP_blade_element_forces(0);
        return axial_speed(2, 0) - f.vz_air_on_acf;
    };
    const struct {
        float kt, value;
    } corners[] = {{15.0f, 1.5f}, {20.0f, 1.25f}, {55.0f, 1.0f}};
    for (const auto& c : corners) {
        EXPECT_NEAR(factor_at(c.kt - 0.01f), c.value, 2e-3f) << c.kt << " kt from below";
        EXPECT_NEAR(factor_at(c.kt + 0.01f), c.value, 2e-3f) << c.kt << " kt from above";
    }
    EXPECT_NEAR(factor_at(5.0f), 1.5f, 2e-3f);
    EXPECT_NEAR(factor_at(37.5f), 1.125f, 2e-3f);
    EXPECT_NEAR(factor_at(120.0f), 1.0f, 2e-3f);
    // Air across the disc as fast as through it: the factor times the mean of 1
    // and the cosine of 45 degrees (read at 3 o'clock, where the cross wind
    // adds no tangential speed).
    const float v = 40.0f / 1.94384f;
    f.vx_air_on_acf = v;
    f.vz_air_on_acf = v;
    f.DVinc[0] = 0.0f;
    f.ringDVinc[ACF_el(0, 2)] = 2.0f;
    PROP_blade_element_forces(0);
    EXPECT_NEAR(axial_speed(2, 1) - v, 0.5f + 0.5f * std::cos(45.0f * DEG), 2e-3f);
    f.vx_air_on_acf = 0.0f;
}

TEST_F(BladeElements, VortexRingRandomisesTheInflowOfASettlingRotor)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_prop_type[0] = PROP_MAIN_ROTOR;
    // Descending at 9 m/s into a wash of 10 m/s: well inside the ring's band.
    auto run = [&](float descent, float clock) {
        frame_clock = clock;
        f.vz_air_on_acf = -descent;
        f.DVinc[0] = 10.0f;
        f.ringDVinc[ACF_el(0, 2)] = 2.0f;
        f.POINT_tacrad[0] = 0.0f;
        PROP_blade_element_forces(0);
    };
    run(9.0f, 0.0f);
    // Dirty air 1.5 tripled: the ring wash w = 0.5 * 2 * 4.5, and each blade
    // position draws its own random entry.
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(axial_speed(2, k), std::fabs(-9.0f + 4.5f + 4.5f * 2.0f * random_table[k]), 1e-4f) << k;
    run(9.0f, 1.5f);   // the clock doubled and rounded: entry 3 onwards
    EXPECT_NEAR(axial_speed(2, 0), std::fabs(-4.5f + 9.0f * random_table[3]), 1e-4f);
    // A frame clock that is huge or not a number still reads inside the table.
    run(9.0f, std::nanf(""));
    EXPECT_NEAR(axial_speed(2, 1), std::fabs(-4.5f + 9.0f * random_table[1]), 1e-4f);
    run(9.0f, 3.0e38f);
    for (int k = 0; k < 4; ++k) EXPECT_LE(axial_speed(2, k), 4.5f + 1e-4f);
    run(9.0f, -12345.6f);
    for (int k = 0; k < 4; ++k) EXPECT_LE(axial_speed(2, k), 4.5f + 1e-4f);

    // On the band's lower ramp: 5.7 m/s is 0.95 of the 6 m/s, a quarter of the
    // way up, so a randomisation of 0.5 and a dirty air of 1.5 x 1.5 (wash 2.25).
    run(5.7f, 0.0f);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(axial_speed(2, k), std::fabs(-5.7f + 2.25f + 2.25f * 0.5f * random_table[k]), 1e-4f) << k;
    // Outside the band, no randomisation: 2.2 times the 6 m/s of 0.6 of the wash.
    run(13.2f, 0.0f);
    EXPECT_FLOAT_EQ(axial_speed(2, 0), axial_speed(2, 1));
    // A propeller never has it.
    a.acf_prop_type[0] = PROP_FIXED_PITCH;
    run(9.0f, 0.0f);
    EXPECT_FLOAT_EQ(axial_speed(2, 0), axial_speed(2, 3));
}

TEST_F(BladeElements, TipJetsDriveTheRotorAndLiftWithTheirPitch)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_en_type[0] = ENGINE_TIP_ROCKET;
    a.acf_prop_type[0] = PROP_MAIN_ROTOR;
    a.acf_fmax_sl = a.acf_fmax_opt = a.acf_fmax_vac = 500.0f;
    a.acf_h_opt = 10000.0f;
    a.acf_els[0] = 5;
    f.ENGN_running[0] = 1;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_mixt_pow_rat[0] = 1.0f;
    f.POINT_pitch_deg[0] = 10.0f;
    // With the blades' own forces taken away, what is left is the jets'.
    a.acf_s[ACF_el(0, 0)] = a.acf_s[ACF_el(0, 1)] = a.acf_s[ACF_el(0, 2)] = a.acf_s[ACF_el(0, 3)] =
        a.acf_s[ACF_el(0, 4)] = 0.0f;
    clear_totals();
    PROP_blade_element_forces(0);
    const float jet = 500.0f * 2.0f;   // both blades
    EXPECT_NEAR(f.POINT_thrust[0], jet * std::sin(10.0f * DEG), 1e-2f);
    const float tip_arm = 4.5f * a.acf_element_len[0];
    EXPECT_NEAR(f.POINT_drag_TRQ[0], -jet * std::cos(10.0f * DEG) * tip_arm, 1e-2f) << "a driving torque";
    EXPECT_NEAR(f.fside_prop, 0.0f, 1e-3f) << "no force along the disc";
    EXPECT_NEAR(f.faxil_prop, -f.POINT_thrust[0], 1e-2f);
}

TEST_F(BladeElements, PropStrikeOnLandButOverWaterOnlyOnADeck)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    terrain_height_m = 0.0f;
    const float tip_arm = 4.5f * a.acf_element_len[0];   // the tip element's centre
    auto run = [&](float height) {
        f.local_y = height;
        f.POINT_tacrad[0] = f.ENGN_tacrad[0] = 0.0f;   // even a prop at rest strikes
        f.failures[FAIL_SLOT_ENGINE_FIRE_BASE] = 0;
        f.failures[FAIL_SLOT_TAIL_ROTOR] = 0;
        PROP_blade_element_forces(0);
    };
    run(tip_arm + 0.01f);
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], 0) << "clear of the ground";

    f.POINT_tacrad[0] = 200.0f;
    f.local_y = tip_arm - 0.01f;
    f.ENGN_tacrad[0] = 200.0f;
    PROP_blade_element_forces(0);
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], FAILURE_STATE_FAILED);
    EXPECT_FLOAT_EQ(f.POINT_tacrad[0], 0.0f);
    EXPECT_FLOAT_EQ(f.ENGN_tacrad[0], 0.0f);

    // Over water the tip dips in harmlessly, unless a deck or runway is under it.
    f.i = 100, f.j = 200;
    landuse_grid[101 * TERRAIN_GRID_COLS + 201] = LANDUSE_WATER_B;
    run(tip_arm - 0.01f);
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], 0);
    for (int32_t* flag : {&surface_state.flat_surface_on, &surface_state.on_carrier, &surface_state.on_frigate}) {
        *flag = 1;
        run(tip_arm - 0.01f);
        EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], FAILURE_STATE_FAILED);
        *flag = 0;
    }

    // A cell hint that a plug-in wrote out of the grid is held inside it: the
    // last cell, which is water here.
    landuse_grid[(TERRAIN_GRID_ROWS - 1) * TERRAIN_GRID_COLS + TERRAIN_GRID_COLS - 1] = LANDUSE_WATER_A;
    f.i = 1 << 30, f.j = 1 << 30;
    run(tip_arm - 0.01f);
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], 0);
    f.i = -7, f.j = -1 << 30;
    run(tip_arm - 0.01f);
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], FAILURE_STATE_FAILED) << "the first cell is land";

    // A tail rotor that strikes fails its own entry.
    a.acf_prop_type[0] = PROP_TAIL_ROTOR;
    run(tip_arm - 0.01f);
    EXPECT_EQ(f.failures[FAIL_SLOT_TAIL_ROTOR], FAILURE_STATE_FAILED);
    EXPECT_EQ(f.failures[FAIL_SLOT_ENGINE_FIRE_BASE], 0);
}

}  // namespace
