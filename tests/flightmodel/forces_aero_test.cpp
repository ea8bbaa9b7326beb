// Element, control-surface and body aerodynamics, ground effect and mass,
// on the test aircraft and on airfoil tables made here.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "flightmodel/forces/body_drag.h"
#include "flightmodel/forces/control_surface.h"
#include "flightmodel/forces/element_aero.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/step_record.h"
#include "core/reset_registry.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/test_support.h"

using namespace forces_test;

namespace {

struct ForcesAero : ::testing::Test {
    void SetUp() override
    {
        start_on_test_aircraft();
        for (auto& fl : flt) std::memset(fl.failures, 0, sizeof fl.failures);
    }
    // Table t of part p holds its own row number, so a lookup returns the table position it read.
    static void row_numbers(int p)
    {
        afl_block& b = pln[0].afl[p];
        for (int t = 0; t < AFL_TABLES; ++t) {
            b.afl_clB[t] = 0.0f;
            for (int i = 0; i < AFL_ROWS; ++i) b.afl_cl[t * AFL_ROWS + i] = static_cast<float>(i);
        }
    }
    static float position_read(float alpha)
    {
        float cl, cd, cm;
        FM_airfoil_lookup(alpha, &cl, &cd, &cm, 9, 0, 0, 0, 0);
        return cl;
    }
};

}  // namespace

TEST_F(ForcesAero, AirfoilTablePositions)
{
    row_numbers(9);
    EXPECT_NEAR(position_read(19.95f), 559.5f, 1e-3f);   // half of entry 559, half of 560
    EXPECT_NEAR(position_read(20.0f), 560.0f, 1e-4f);
    EXPECT_NEAR(position_read(0.0f), 360.0f, 1e-4f);
    EXPECT_NEAR(position_read(-90.0f), 90.0f, 1e-4f);
    EXPECT_EQ(position_read(179.0f), 719.0f);           // entry 719 alone, never 720
    EXPECT_EQ(position_read(180.0f), 719.0f);
    EXPECT_EQ(position_read(1.0e30f), 719.0f);
    const float nan_read = position_read(std::numeric_limits<float>::quiet_NaN());
    EXPECT_GE(nan_read, 0.0f);
    EXPECT_LE(nan_read, 720.0f);

    // Up to 20 degrees the lift multiplier moves the table angle fully; from 90 not at all.
    pln[0].acf_al_D_al0[9] = 0.5f;
    EXPECT_NEAR(position_read(10.0f), 360.0f + 50.0f, 1e-3f);
    EXPECT_NEAR(position_read(100.0f), 100.0f - 20.0f + 560.0f, 1e-3f);
    // A stalled part is flagged by the last lookup.
    pln[0].acf_al_D_al0[9] = 1.0f;
    position_read(16.0f);
    EXPECT_EQ(flt[0].stalled[9], 1);
    position_read(14.0f);
    EXPECT_EQ(flt[0].stalled[9], 0);
    // A slat of effect 1.5 fully out reads 25 degrees as 16.67 faded to 17.26,
    // and raises the stall angle with it: 15 x 1.5 = 22.5 is not reached.
    pln[0].acf_alpha_max[9] = 15.0f;
    pln[0].acf_slat[ACF_el(9, 0)] = 1;
    pln[0].acf_slat_effect[9] = 1.5f;
    flt[0].slatrat = 1.0f;
    position_read(25.0f);
    EXPECT_EQ(flt[0].stalled[9], 0);
    pln[0].acf_slat_effect[9] = 1.0f;   // no effect: 25 degrees stalls
    position_read(25.0f);
    EXPECT_EQ(flt[0].stalled[9], 1);
    pln[0].acf_slat[ACF_el(9, 0)] = 0;
    flt[0].slatrat = 0.0f;
}

TEST_F(ForcesAero, ReynoldsBlendOfTheTables)
{
    acf_struct& a = pln[0];
    afl_block& b = a.afl[9];
    // Four airfoils of their own: low-number tables give 1, high-number tables 2.
    set_name(a.acf_Rafl1, 9, "ROOT HIGH.AFL");
    set_name(a.acf_Tafl0, 9, "TIP LOW.AFL");
    set_name(a.acf_Tafl1, 9, "TIP HIGH.AFL");
    for (int end = 0; end < 2; ++end)
        for (int i = 0; i < AFL_ROWS; ++i) {
            b.afl_cl[AFL_table_index(end, 0) * AFL_ROWS + i] = 1.0f;
            b.afl_cl[AFL_table_index(end, 1) * AFL_ROWS + i] = 2.0f;
        }
    a.acf_AR[9] = 0.0f;   // no induced drag
    flt[0].v_el[FM_flow_index(9, 0, 0)] = 30.0f;
    const float re = sim_weather.rho * 30.0f * a.acf_mac[ACF_el(9, 0)] / sim_physics.mu_air / 1.0e6f;
    auto cl_with = [&](float re0, float re1) {
        b.afl_re_num[0] = b.afl_re_num[2] = re0;
        b.afl_re_num[1] = b.afl_re_num[3] = re1;
        float cl, cd, cm;
        FM_element_coeffs(0.12f, 0.75f, 0.0f, 0.0f, 0.0f, 0.0f, &cl, &cd, &cm, 9, 0, 0);
        return cl;
    };
    EXPECT_NEAR(cl_with(re * 2.0f, re * 4.0f), 1.0f, 1e-5f);   // below the low table: it alone
    EXPECT_NEAR(cl_with(re * 0.1f, re * 0.2f), 2.0f, 1e-5f);   // above the high table: it alone
    EXPECT_NEAR(cl_with(re * 0.5f, re * 1.5f), 1.5f, 1e-4f);   // between: in proportion
    EXPECT_NEAR(cl_with(5.0f, 5.0f), 1.5f, 1e-5f);             // equal numbers: the mean
}

TEST_F(ForcesAero, MachOneTakesTheSupersonicPath)
{
    const int idx = FM_flow_index(9, 0, 0);
    flt_struct& f = flt[0];
    afl_block& b = pln[0].afl[9];
    b.afl_t_rat[0] = b.afl_t_rat[1] = 0.0f;   // a flat plate
    f.machno = 1.0f;
    f.alpha_el[idx] = 4.0f;
    f.del_dir[idx] = 0.0f;
    f.v_el[idx] = 1.5f * sim_weather.speed_of_sound_ms;   // local Mach 1.5
    float lift, drag, moment;
    const float cl = FM_element_forces(0.0f, 0.0f, 0.0f, &lift, &drag, &moment, 9, 0, 0);
    const float alpha = 4.0f * DEG;
    const float expect_cl = 2.0f * (2.0f * alpha / std::sqrt(1.5f * 1.5f - 1.0f)) * std::cos(alpha);
    EXPECT_NEAR(cl, expect_cl, 1e-5f);
    const float qS = 0.5f * sim_weather.rho * f.v_el[idx] * f.v_el[idx] * pln[0].acf_s[ACF_el(9, 0)];
    EXPECT_NEAR(lift / qS, expect_cl, 1e-5f);
    EXPECT_NEAR(drag / qS, 0.0046f + 2.0f * (2.0f * alpha / std::sqrt(1.25f)) * std::sin(alpha), 1e-5f);
    EXPECT_NEAR(moment / (qS * pln[0].acf_mac[ACF_el(9, 0)]), -0.24f * expect_cl, 1e-5f);
    // The plane's Mach chooses the path, not the element's: just below Mach 1
    // the element at local Mach 1.5 reads the tables, not the flat-plate law.
    f.machno = 0.99f;
    const float table_cl = FM_element_forces(0.0f, 0.0f, 0.0f, &lift, &drag, &moment, 9, 0, 0);
    EXPECT_GT(std::fabs(table_cl - expect_cl), 0.01f);
    f.machno = 1.0f;

    // Just below Mach 1 the tables answer, and a local Mach of 0.9 counts as 0.8.
    f.machno = 0.99f;
    f.alpha_el[idx] = 2.0f;
    pln[0].acf_AR[9] = 0.0f;
    float c1, d1, m1, c2, d2, m2;
    FM_element_coeffs(0.12f, 2.0f, 0.9f, 0, 0, 0, &c1, &d1, &m1, 9, 0, 0);
    FM_element_coeffs(0.12f, 2.0f, 0.8f, 0, 0, 0, &c2, &d2, &m2, 9, 0, 0);
    EXPECT_FLOAT_EQ(c1, c2);
    EXPECT_NEAR(c1, 0.1f * (2.0f + 2.0f) / std::sqrt(1.0f - 0.64f), 1e-5f);

    // Downwash reaches an element below Mach 1 only.
    fm_state.wash_sum[8] = 1.0f;
    f.foil_cos_dih[8] = f.foil_cos_dih[9] = 1.0f, f.foil_sin_dih[8] = f.foil_sin_dih[9] = 0.0f;
    pln[0].acf_in_downwash[(9 * ACF_NUM_PARTS + 8) * ACF_ELS_PER_PART] = 1;
    FM_downwash_and_centroids();
    EXPECT_LT(f.downwash_deg[ACF_el(9, 0)], 0.0f);
    f.machno = 1.0f;
    FM_downwash_and_centroids();
    EXPECT_EQ(f.downwash_deg[ACF_el(9, 0)], 0.0f);

    // The fuselage's supersonic panel forces go with K V^2, K = 2 / sqrt(M^2 - 1)
    // with M held to 1.1..3: at Mach 1.05 K keeps its value at 1.1; Mach 1.5
    // gives (1.5^2 / sqrt(1.25)) / (1.1^2 / sqrt(0.21)) of the force at 1.1.
    FM_clear_part_values();
    for (int t = 0; t < 12; ++t)   // a surface grid of 12 stations 1 m apart, 18 points 0.1 m apart
        for (int k = 0; k < 18; ++k) {
            const int i = 44 * ACF_BODY_PART_POINTS + t * ACF_BODY_POINTS + k;
            pln[0].acf_body_X[i] = 0.1f * k, pln[0].acf_body_Y[i] = 0.0f, pln[0].acf_body_Z[i] = 1.0f * t;
        }
    auto fuselage_lift = [&](float mach) {
        const float V = mach * sim_weather.speed_of_sound_ms;
        f.vx_air_on_acf = 0.0f, f.vz_air_on_acf = V / std::sqrt(1.01f), f.vy_air_on_acf = 0.1f * f.vz_air_on_acf;
        FM_body_stage();
        return f.force_XYZ[3 * ACF_el(44, 0) + 1];
    };
    const float at_110 = fuselage_lift(1.1f);
    ASSERT_NE(at_110, 0.0f);
    EXPECT_NEAR(fuselage_lift(1.05f) / at_110, (1.05f * 1.05f) / 1.21f, 1e-4f);   // only the dynamic pressure falls
    EXPECT_NEAR(fuselage_lift(1.5f) / at_110, (2.25f / std::sqrt(1.25f)) / (1.21f / std::sqrt(0.21f)), 1e-4f);
}

TEST_F(ForcesAero, FlapsAndControlSurfaces)
{
    acf_struct& a = pln[0];
    a.acf_al_D_al0[9] = 1.2f;
    const float A = 1.2f, S = A * 0.1f;
    const float c = ACF_control_chord_ratio(0, 9, 0.0f, SURF_FLAPS);
    EXPECT_NEAR(c, 0.25f, 1e-6f);
    float da = 0, dl = 0, dd = 0, dm = 0;
    FM_control_surface_coeffs(9, 0, SURF_FLAPS, 40.0f, &da, &dl, &dd, &dm, "FLAPS", 0);
    EXPECT_NEAR(da, c * c * 40.0f, 1e-5f);
    EXPECT_NEAR(dl + da * S, a.acf_flap_cl * A, 1e-5f);   // the flap adds exactly acf_flap_cl * A in all
    EXPECT_NEAR(dd, a.acf_flap_cd, 1e-6f);
    EXPECT_NEAR(dm, a.acf_flap_cm * A, 1e-6f);
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(9, 0, SURF_FLAPS, 20.0f, &da, &dl, &dd, &dm, "FLAPS", 0);
    EXPECT_NEAR(dm / (a.acf_flap_cm * A), 0.7f / 0.78f, 1e-5f);
    EXPECT_NEAR(FM_flap_curve(90.0f), 1.0f, 1e-6f);
    EXPECT_EQ(FM_flap_curve(-5.0f), 0.0f);
    EXPECT_EQ(FM_flap_curve(200.0f), 1.0f);

    // A failed left flap ignores its deflection and follows the angle of attack.
    flt[0].failures[28] = FAILURE_STATE_FAILED;
    flt[0].alpha_el[FM_flow_index(8, 0, 0)] = 5.0f;
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(8, 0, SURF_FLAPS, 40.0f, &da, &dl, &dd, &dm, "FLAPS", 0);
    EXPECT_EQ(da, 0.0f);
    EXPECT_NEAR(dl, 2.0f * c * -0.5f, 1e-6f);
    EXPECT_NEAR(dd, 0.12f, 1e-6f);
    // The right wing's flap still works with only the left one failed; failed
    // itself (29) it takes -(0.75 - 0.5 c) of its lift as moment: dl -0.25, dm 0.15625.
    flt[0].alpha_el[FM_flow_index(9, 0, 0)] = 5.0f;
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(9, 0, SURF_FLAPS, 40.0f, &da, &dl, &dd, &dm, "FLAPS", 0);
    EXPECT_NEAR(dd, a.acf_flap_cd, 1e-6f);
    flt[0].failures[28] = 0;
    flt[0].failures[29] = FAILURE_STATE_FAILED;
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(9, 0, SURF_FLAPS, 40.0f, &da, &dl, &dd, &dm, "FLAPS", 0);
    EXPECT_NEAR(dl, -0.25f, 1e-6f);
    EXPECT_NEAR(dm, 0.15625f, 1e-6f);
    flt[0].failures[29] = 0;
    // Flap drag by the sine ratio: 20 of 40 degrees gives sin 20 / sin 40 = 0.532089.
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(9, 0, SURF_FLAPS, 20.0f, &da, &dl, &dd, &dm, "FLAPS", 0);
    EXPECT_NEAR(dd, 0.532089f * 0.05f, 1e-6f);
    // The curve's three slopes between their ends: 0.035, 0.004 and 0.2/45 per degree.
    EXPECT_NEAR(FM_flap_curve(10.0f), 0.35f, 1e-6f);
    EXPECT_NEAR(FM_flap_curve(30.0f), 0.74f, 1e-6f);
    EXPECT_NEAR(FM_flap_curve(67.5f), 0.9f, 1e-6f);

    // Ailerons: a negative angle change for a positive deflection, half the lift as moment; 0 adds nothing.
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(9, 4, SURF_AILERON1, 10.0f, &da, &dl, &dd, &dm, "AILERON #1", 1);
    EXPECT_LT(da, 0.0f);
    EXPECT_NEAR(dm, -0.5f * dl, 1e-7f);
    // The angle change by smoothness class, the lift through the squared slope
    // factor (A^2 = 1.44, S = 1.44 x 0.1), and the drag terms of each kind.
    const float ca = ACF_control_chord_ratio(0, 9, 4.0f, SURF_AILERON1);
    ASSERT_GT(ca, 0.0f);
    const struct { float smooth, k; } classes[] = {{0, 0.7f}, {1, 0.85f}, {2, 1.0f}, {3, 1.5f}, {7, 1.0f}};
    for (const auto& cl : classes) {
        a.acf_con_smooth = cl.smooth;
        da = dl = dd = dm = 0;
        FM_control_surface_coeffs(9, 4, SURF_AILERON1, 10.0f, &da, &dl, &dd, &dm, "AILERON #1", 1);
        const float angle = -10.0f * std::pow(ca, 0.9f) * cl.k;
        EXPECT_NEAR(da, angle, 1e-5f) << cl.smooth;
        EXPECT_NEAR(dl, angle * 0.9f * 0.144f * 1.44f, 1e-5f) << cl.smooth;
        EXPECT_NEAR(dd, 1.5e-5f * ca * 100.0f, 1e-8f) << cl.smooth;
    }
    a.acf_con_smooth = 0;
    a.acf_splr_el_first[9] = 0, a.acf_splr_el_end[9] = 10, a.acf_splr_crat = a.acf_splr_crat2 = 0.2f;
    const float cs = ACF_control_chord_ratio(0, 9, 4.0f, SURF_SPOILER);
    ASSERT_GT(cs, 0.0f);
    da = dl = dd = dm = 0;
    FM_control_surface_coeffs(9, 4, SURF_SPOILER, 30.0f, &da, &dl, &dd, &dm, "SPOILER", 0);
    EXPECT_NEAR(dd, 1.23f * cs * 0.5f, 1e-6f);
    EXPECT_EQ(da + dl + dm, 0.0f);
    a.acf_drud_el_first[9] = 0, a.acf_drud_el_end[9] = 10, a.acf_drud_crat = a.acf_drud_crat2 = 0.25f;
    const float cr = ACF_control_chord_ratio(0, 9, 4.0f, SURF_DRAG_RUDDER);
    ASSERT_GT(cr, 0.0f);
    dd = 0;
    FM_control_surface_coeffs(9, 4, SURF_DRAG_RUDDER, 30.0f, &da, &dl, &dd, &dm, "DRAG RUDDER", 1);
    EXPECT_NEAR(dd, 2.0f * 1.23f * cr * 0.5f, 1e-6f);

    float z[4] = {0, 0, 0, 0};
    FM_control_surface_coeffs(9, 4, SURF_AILERON1, 0.0f, &z[0], &z[1], &z[2], &z[3], "AILERON #1", 1);
    FM_control_surface_coeffs(9, 4, SURF_SPOILER, 0.0f, &z[0], &z[1], &z[2], &z[3], "SPOILER", 0);
    EXPECT_EQ(z[0] + z[1] + z[2] + z[3], 0.0f);
}

TEST_F(ForcesAero, BodyCrossflow)
{
    const float V = sim_weather.speed_of_sound_ms;   // Mach 1
    const float q = 0.5f * sim_weather.rho * V * V;
    float fv, fs, fd;
    FM_body_drag(1.0f, 4.0f, 6.0f, 0.0f, V, 0.0f, &fv, 0.0f, &fs, 1.5707964f, &fd);
    EXPECT_NEAR(fd / (0.27f * 5.0f * q), 1.0f / 0.6f + 2.5f * 0.04f, 1e-4f);   // 1.7667 on the mean area
    FM_body_drag(1.0f, 4.0f, 6.0f, 0.3f, 20.0f, 0.0f, &fv, 0.0f, &fs, 0.0f, &fd);
    EXPECT_EQ(fv, 0.0f);
    EXPECT_EQ(fs, 0.0f);
    EXPECT_NEAR(fd, 0.3f * 1.0f * 0.5f * sim_weather.rho * 400.0f, 1e-3f);

    // 30 degrees up, 30 degrees to the other side, straight across in total
    // (negative): the vertical force on the top area, the side force on the
    // side area with its sign, the drag with |sin| on the mean area of 5.
    const float m = 20.0f / V, k = 1.0f / std::sqrt(1.0f - m * m), q20 = 0.5f * sim_weather.rho * 400.0f;
    const float d30 = 0.5235988f;
    FM_body_drag(1.0f, 4.0f, 6.0f, 0.3f, 20.0f, d30, &fv, -d30, &fs, -1.5707964f, &fd);
    EXPECT_NEAR(fv / q20, 0.27f * k * 0.5f * 6.0f, 1e-4f);
    EXPECT_NEAR(fs / q20, -0.27f * k * 0.5f * 4.0f, 1e-4f);
    EXPECT_NEAR(fd / q20, (0.27f * k + 0.3f) * 5.0f, 1e-4f);
    // A frontal area of 8 above the mean of 5 shrinks to 8 - 0.5 * 3 at 30 degrees.
    FM_body_drag(8.0f, 4.0f, 6.0f, 0.0f, 20.0f, 0.0f, &fv, 0.0f, &fs, d30, &fd);
    EXPECT_NEAR(fd / q20, 0.27f * k * 0.5f * 6.5f, 1e-4f);
}

TEST_F(ForcesAero, GroundEffectFromTheGroundToOneSpan)
{
    flt_struct& f = flt[0];
    place(0.5f, 30.0f, 0.0f);   // the wing root (0.5 m below the centre of gravity) on the ground
    FM_forces_and_moments();
    EXPECT_FLOAT_EQ(f.CL_grndeffect[9], 1.5f);
    EXPECT_FLOAT_EQ(f.CD_grndeffect[9], 0.5f);
    EXPECT_FLOAT_EQ(f.CL_grndeffect[18], 1.0f);   // the fin stands upright: none
    place(0.5f + 9.0f, 30.0f, 0.0f);   // one span (two semi-spans) up
    FM_forces_and_moments();
    EXPECT_FLOAT_EQ(f.CL_grndeffect[9], 1.0f);
    EXPECT_FLOAT_EQ(f.CD_grndeffect[9], 1.0f);
}

// The prediction step, the ground-effect curve between the ground and one
// span, and the rate damping of each axis, by hand.
TEST_F(ForcesAero, PredictionGroundEffectCurveAndRateDamping)
{
    flt_struct& f = flt[0];
    place(0.5f + 9.0f / 16.0f, 30.0f, 0.0f);   // a sixteenth of the span up: r^0.25 = 0.5
    FM_forces_and_moments();
    EXPECT_NEAR(f.CL_grndeffect[9], 1.25f, 1e-4f);
    EXPECT_NEAR(f.CD_grndeffect[9], 0.75f, 1e-4f);

    f.alpha = 4.0f, fm_state.prev_alpha = 2.0f;
    FM_predict();
    EXPECT_FLOAT_EQ(fm_state.alpha_use, 5.5f);   // 4 + 0.75 x 2

    fm_state.MI_roll = fm_state.MI_pitch = fm_state.MI_yaw = 0.0f;   // moments turn nothing
    f.P = f.Q = f.R = 10.0f;
    screen_settings.roll_rate_damping = screen_settings.pitch_rate_damping = screen_settings.yaw_rate_damping = 1.0f;
    FM_accelerations();
    EXPECT_FLOAT_EQ(f.P_dot, -50.0f);
    EXPECT_FLOAT_EQ(f.Q_dot, -200.0f);
    EXPECT_FLOAT_EQ(f.R_dot, -100.0f);

    // While a crash settles, rates and velocities lose 5 dt a frame: 10 -> 9 at dt 0.02.
    sim_operation_misc.frame_rate_period = 0.02f;
    fm_step.held = true;
    f.P = f.local_vx = 10.0f;
    f.P_dot = f.local_ax = 0.0f;
    FM_integrate();
    fm_step.held = false;
    EXPECT_FLOAT_EQ(f.P, 9.0f);
    EXPECT_FLOAT_EQ(f.local_vx, 9.0f);
}

// Nose-wheel steering (steering 50 degrees below 20 m/s, 10 above): the roll
// ratio steers (0.5), the heading ratio (0.2) with pedals fitted, both divided
// by the heading sensitivity; a taildragger reverses it; without steering the
// wheel castors to minus the sideslip.
TEST_F(ForcesAero, NoseWheelSteeringByInputSpeedAndTailwheel)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const sim_joystick_block kept = sim_joystick;
    const struct {
        float steer1, speed;
        int pedals, tail;
        float sensitivity, expect;
    } rows[] = {{50.0f, 5.0f, 0, 0, 1.0f, 25.0f},  {50.0f, 30.0f, 0, 0, 1.0f, 5.0f}, {50.0f, 5.0f, 1, 0, 1.0f, 10.0f},
                {50.0f, 5.0f, 0, 1, 1.0f, -25.0f}, {50.0f, 5.0f, 0, 0, 2.0f, 12.5f}, {0.0f, 5.0f, 0, 0, 1.0f, -3.0f}};
    for (const auto& r : rows) {
        a.acf_nw_steerdeg1 = r.steer1, a.acf_nw_steerdeg2 = 10.0f, a.acf_nw_cutoff_speed = 20.0f;
        a.acf_is_taildragger = r.tail;
        sim_joystick.eq_ped_nobrk = r.pedals, sim_joystick.eq_ped_wibrk = sim_joystick.eq_pfc_pedals = 0;
        sim_joystick.yolk_roll_ratio = 0.5f, sim_joystick.yolk_heading_ratio = 0.2f;
        sim_joystick.joystick_heading_sensitivity = r.sensitivity;
        f.groundspeed = r.speed, f.beta = 3.0f;
        FM_nosewheel_steering();
        EXPECT_FLOAT_EQ(f.nosewheel_steer, r.expect) << r.steer1 << " " << r.speed << " " << r.pedals << r.tail;
        EXPECT_EQ(f.nosewheel_speed, r.speed);
    }
    sim_joystick = kept;
}

// The yaw lock on skids: below 1 m/s, with every fitted leg of 67-70 a skid
// (type 1) and together more than half of the weight (1000 kg x g / 2 =
// 4899.14 N) on them, the yaw rate and its acceleration are zeroed. Legs 69
// and 70 are not fitted.
TEST_F(ForcesAero, YawLockOnSkidsByLoadSpeedAndType)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const struct {
        float load_each, speed;
        int type;
        bool locked;
    } rows[] = {{2500.0f, 0.5f, 1, true}, {2400.0f, 0.5f, 1, false}, {2500.0f, 1.0f, 1, false}, {2500.0f, 0.5f, 2, false}};
    for (const auto& r : rows) {
        for (int p = 67; p <= 70; ++p) fm_state.present[p] = p <= 68;
        a.acf_gear_type[67] = a.acf_gear_type[68] = r.type, a.acf_gear_type[69] = a.acf_gear_type[70] = 0;
        f.nrml_force[67] = f.nrml_force[68] = r.load_each;
        f.m_total = 1000.0f, f.groundspeed = r.speed, f.onground_any = 1;
        f.R = 10.0f, f.R_dot = 5.0f;
        sim_operation_misc.frame_rate_period = 0.1f;
        FM_integrate();
        EXPECT_FLOAT_EQ(f.R, r.locked ? 0.0f : 10.5f) << r.load_each << " " << r.speed << " " << r.type;
    }
}

TEST_F(ForcesAero, MassOfIceStoresFuelAndSeparatedEngines)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    place(1000.0f, 40.0f, 0.0f);
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1000.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_roll, 1300.0f);
    f.frm_ice = 0.1f;
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1100.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_pitch, 1980.0f);
    f.frm_ice = 0.0f;
    // A 50-kg jettisonable load counts unless it hangs on its rope; 10 s of
    // JATO at 5,000 N and 0.36 per hour weigh 10 x 5000 x 0.36 / 3600 / 9.7982788 kg.
    f.m_jettison = 50.0f;
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1050.0f);
    a.acf_jett_is_slung = 1;
    f.jato_left = 10.0f;
    a.acf_jato_thrust = 5000.0f, a.acf_jato_sfc = 0.36f;
    FM_mass_and_inertia();
    EXPECT_NEAR(f.m_total, 1000.0f + 0.5102949f, 1e-4f);
    a.acf_jett_is_slung = 0, f.m_jettison = 0.0f, f.jato_left = 0.0f;

    // A store on station 3: its pylon stays after release, the weapon goes.
    std::strcpy(a.wpn_name + 3 * ACF_WPN_NAME_SIZE, "TANK.WPN");
    wpn_slot_record& w = a.acf_wpn_slot[3];
    w.wpn_type = 23, w.wpn_valid = 1, w.wpn_fixed_mass = 20.0f, w.wpn_mass_now = 150.0f;
    a.acf_Xwpn_att[3] = 2.0f, w.wpn_cg_offset[0] = 0.0f;
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1170.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_roll, 1300.0f + 4.0f * 170.0f);
    w.wpn_released = 1;
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1020.0f);
    EXPECT_EQ(WPN_released(0, 3), 1);
    a.wpn_name[3 * ACF_WPN_NAME_SIZE] = 0;   // no name: the station is skipped
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1000.0f);
    EXPECT_EQ(WPN_not_released(0, 24), 1);
    EXPECT_EQ(WPN_released(11, 0), 0);
    // A released flag on a slot whose weapon file was never read counts for nothing.
    w.wpn_valid = 0;
    EXPECT_EQ(WPN_released(0, 3), 0);
    EXPECT_EQ(WPN_not_released(0, 3), 1);
    w.wpn_valid = 1;

    // Fuel in two tanks, and an engine that has separated.
    a.acf_num_tanks = 2;
    f.m_fuel1 = 50.0f, f.m_fuel2 = 60.0f;
    a.acf_num_thrustpoints = 1;
    a.acf_eng_mass[0] = 120.0f;
    a.acf_Zarm[0] = -2.0f;
    f.failures[FAIL_SLOT_ENGINE_BASE] = FAILURE_STATE_FAILED;
    FM_mass_and_inertia();
    EXPECT_FLOAT_EQ(f.m_total, 1000.0f + 110.0f - 120.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_pitch, 1800.0f - 4.0f * 120.0f);

    // Under load the weight of an off-centre mass rolls the plane; in free fall it does not.
    f.L = 0.0f;
    f.g_nrml = 1.0f;
    a.acf_tank_X[0] = 3.0f;
    FM_mass_and_inertia();
    EXPECT_NEAR(f.L, FM_GRAVITY * 3.0f * 50.0f, 1e-2f);
    f.L = f.M = f.N = 0.0f;
    f.g_nrml = 0.0f;
    FM_mass_and_inertia();
    FM_cg_offset_moments();
    EXPECT_EQ(f.L, 0.0f);
    EXPECT_EQ(f.M, 0.0f);
}

// One tank of 100 kg at (2, -1, 3) under load factors axial 0.2, side 0.1,
// normal 1: each weight term of the moments by hand, in multiples of g; then
// the centre-of-gravity offset (0.5 m aft) and the weight shift (2 m by a
// roll of 0.5, 1.5 m by a pitch of -0.4).
TEST_F(ForcesAero, EveryWeightMomentTermHasItsSign)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    place(1000.0f, 40.0f, 0.0f);
    std::memset(a.wpn_name, 0, sizeof a.wpn_name);
    a.acf_m_empty = 1000.0f;
    a.acf_Jxx_unitmass = 1.0f, a.acf_Jyy_unitmass = 2.0f, a.acf_Jzz_unitmass = 3.0f;
    a.acf_num_tanks = 1, a.acf_num_thrustpoints = 0;
    a.acf_tank_X[0] = 2.0f, a.acf_tank_Y[0] = -1.0f, a.acf_tank_Z[0] = 3.0f;
    f.m_fuel1 = 100.0f;
    f.frm_ice = f.m_fixed = f.m_jettison = f.jato_left = 0.0f;
    f.g_axil = 0.2f, f.g_side = 0.1f, f.g_nrml = 1.0f;
    f.L = f.M = f.N = 0.0f;
    FM_mass_and_inertia();
    const float g = 9.7982788f;
    EXPECT_FLOAT_EQ(f.m_total, 1100.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_pitch, 1000.0f + 10.0f * 100.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_yaw, 2000.0f + 13.0f * 100.0f);
    EXPECT_FLOAT_EQ(fm_state.MI_roll, 3000.0f + 5.0f * 100.0f);
    EXPECT_NEAR(f.L, (10.0f + 200.0f) * g, 0.01f);    // side: -0.1 x -1, normal: 1 x 2
    EXPECT_NEAR(f.M, (20.0f + 300.0f) * g, 0.01f);    // axial: -0.2 x -1, normal: 1 x 3
    EXPECT_NEAR(f.N, (-40.0f + 30.0f) * g, 0.01f);    // axial: -0.2 x 2, side: 0.1 x 3

    f.cgz_ref_to_default = 0.5f;
    a.acf_mass_shift = 1.0f, a.acf_mass_shift_dx = 2.0f, a.acf_mass_shift_dz = 1.5f;
    f.FC_roll = 0.5f, f.FC_ptch = -0.4f;
    f.L = f.M = f.N = 0.0f;
    FM_cg_offset_moments();
    EXPECT_NEAR(f.L, 1.0f * g, 0.01f);                          // 1 x 2 x 0.5
    EXPECT_NEAR(f.M, (550.0f - 0.6f) * g, 0.01f);               // 1 x 0.5 x 1100, 1 x 1.5 x -0.4
    EXPECT_NEAR(f.N, (55.0f - 0.2f - 0.06f) * g, 0.01f);        // 0.1 x 0.5 x 1100, -0.2 x 1, 0.1 x -0.6
}

TEST_F(ForcesAero, FailedEngineTakesItsNacelleAndPropwash)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    // A piston engine in a nacelle (body 53) ahead of the right wing, its propeller blowing over it.
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = 1;
    a.acf_prop_type[0] = 0;
    a.acf_semilen_SEG[0] = 1.0f;
    a.acf_part_eq[53] = 1;
    a.acf_s[ACF_el(53, 0)] = 0.5f, a.acf_s[ACF_el(53, 1)] = 2.0f, a.acf_s[ACF_el(53, 2)] = 2.0f;
    a.acf_body_r[53] = 0.3f;   // smaller than the propeller: the nacelle counts
    a.acf_X_body_aero[53] = 2.0f, a.acf_Z_body_aero[53] = 1.0f;
    a.acf_fuse_cd = 0.1f;
    f.POINT_XYZ[0] = 2.0f, f.POINT_XYZ[1] = -0.5f, f.POINT_XYZ[2] = -1.0f;
    f.DVinc[0] = 15.0f;
    place(1000.0f, 40.0f, 0.0f);
    ACF_control_incidence(0);
    FM_forces_and_moments();
    const float washed = f.propwash_rat[ACF_el(9, 1)];
    EXPECT_GT(washed, 0.0f);
    EXPECT_EQ(f.propwash_rat[ACF_el(8, 1)], 0.0f);   // the other wing is out of the wash
    EXPECT_GT(f.force_XYZ[3 * ACF_el(53, 0) + 2], 0.0f);   // nacelle drag

    // The nacelle's own drag coefficient: twice the fuselage's behind a piston
    // engine, the fuselage's behind a turbine, over the crossflow drag alone.
    auto nacelle_drag = [&](int32_t type, float fuse_cd) {
        a.acf_en_type[0] = type;
        a.acf_fuse_cd = fuse_cd;
        FM_body_stage();
        return f.force_XYZ[3 * ACF_el(53, 0) + 2];
    };
    const float crossflow = nacelle_drag(2, 0.0f);
    const float turbine = nacelle_drag(2, 0.1f) - crossflow;
    EXPECT_GT(turbine, 0.0f);
    EXPECT_NEAR(nacelle_drag(1, 0.1f) - crossflow, 2.0f * turbine, 1e-3f * turbine);
    a.acf_en_type[0] = 1;
    a.acf_fuse_cd = 0.1f;

    f.failures[FAIL_SLOT_ENGINE_BASE] = FAILURE_STATE_FAILED;
    f.force_XYZ[3 * ACF_el(53, 0) + 2] = 0.0f;
    FM_forces_and_moments();
    EXPECT_EQ(f.propwash_rat[ACF_el(9, 1)], 0.0f);
    EXPECT_EQ(f.force_XYZ[3 * ACF_el(53, 0) + 2], 0.0f);
}

// Gear drag at Qstatic 1,000 Pa of a leg 1 m long on a 0.4 m tyre: strut area
// 0.2 m2, tyre area 1.4 x 0.16 = 0.224 m2. Retractable: strut 0.3 x 0.2 x 1.5,
// doors 0.5 x 0.05, tyre 0.25 x 0.224 x the kind's factor; fixed: strut 0.05 x
// 0.2, tyre 0.25 x 0.0224. The dynamic-pressure centroid of a two-element part
// whose elements meet 10 and 20 m/s: (0.5 x 100 + 1.5 x 400) / (2 x 500) =
// 0.65, factor 1.5 - 0.65 = 0.85, with taper 1 / 1.5 brought to 0.9. The
// engine-torque trim of 1,000 N m at 60 kt against a 100-kt Vne: 0.75 x (60 /
// 60)^2 for pistons and jets, 0.5 x (60 / 85)^2 for turbines, none canted.
// A 10 m^2 chute half out (C = 1.2 x 10 x 0.5 = 6) on air of (30, 0, 40) m/s:
// V 50, direction (0.6, 0, 0.8), drag 2500 x 6 x 1.225 / 2 = 9187.5 N. Hung
// at y -1, z 5; the canopy's arm 1.25 sqrt(10/pi) - 1 = 1.230155 m damps roll
// at 1 rad/s by 1.230155^2 x 3.675 = 5.5613 and pitch at 0.5 rad/s by
// 1.3903 + 2.5^2 x 3.675 = 22.969; yaw at -0.2 rad/s by -(1^2) x 3.675.
TEST_F(ForcesAero, DragChuteByHand)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_chute_area = 10.0f;
    a.acf_chute_Y = -1.0f, a.acf_chute_Z = 5.0f;
    sim_cockpit_switches.parachute_on = 1;
    sim_cockpit_engine.chute_deploy_ratio = 0.5f;
    f.vx_air_on_acf = 30.0f, f.vy_air_on_acf = 0.0f, f.vz_air_on_acf = 40.0f;
    f.Prad = 1.0f, f.Qrad = 0.5f, f.Rrad = -0.2f;
    FM_clear_totals();
    FM_drag_chute();
    EXPECT_NEAR(f.faxil_aero, 9187.5f, 0.01f);
    EXPECT_NEAR(f.L, -9187.5f * 0.6f - 5.5613f, 0.01f);
    EXPECT_NEAR(f.M, -9187.5f * 0.8f - 1.3903f - 22.96875f, 0.01f);
    EXPECT_NEAR(f.N, -(5.0f * 9187.5f * 0.6f - 3.675f), 0.01f);
    EXPECT_NEAR(sim_cockpit_engine.chute_deploy_ratio, 0.51f, 1e-6f);   // 0.5 a second
    sim_cockpit_switches.parachute_on = 0;
    FM_drag_chute();
    EXPECT_EQ(sim_cockpit_engine.chute_deploy_ratio, 0.0f);
}

TEST_F(ForcesAero, GearDragCentroidFactorsAndTorqueTrim)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    f.sin_alpha = f.sin_beta = 0.0f;
    f.cos_alpha = f.cos_beta = 1.0f;
    f.Qstatic = 1000.0f;
    a.acf_brake_area = 0.0f;
    for (auto& p : fm_state.present) p = 0;
    fm_state.present[PART_GEAR_FIRST] = 1;
    a.acf_gear_leglen[PART_GEAR_FIRST] = 1.0f;
    a.acf_gear_tirrad[PART_GEAR_FIRST] = 0.4f;
    const struct {
        int retract, kind;
        float deploy, drag;
        int marker;   // the word read for leg 67 (part 0's presence word)
    } legs[] = {
        {1, 2, 1.0f, 90.0f + 56.0f + 25.0f, 0},  {0, 2, 1.0f, 10.0f + 5.6f, 0},  {1, 3, 1.0f, 90.0f + 112.0f + 25.0f, 0},
        {1, 4, 1.0f, 90.0f + 67.2f + 25.0f, 0},  {1, 5, 1.0f, 90.0f + 134.4f + 25.0f, 0},
        {1, 6, 1.0f, 90.0f + 156.8f + 25.0f, 0}, {1, 7, 1.0f, 90.0f + 224.0f + 25.0f, 0},
        {1, 2, 0.5f, 85.5f, 0},                  {1, 2, 0.01f, 0.0f, 0},
        {0, 2, 1.0f, 10.0f + 56.0f, -61},        {0, 2, 1.0f, 10.0f + 5.6f, -60},   // -61 keeps the whole tyre
    };
    const int32_t kept_word = a.acf_part_eq[0];
    for (const auto& l : legs) {
        a.acf_part_eq[0] = l.marker ? l.marker : kept_word;
        a.acf_gear_retract = l.retract;
        a.acf_gear_type[PART_GEAR_FIRST] = l.kind;
        a.acf_gear_deploy[PART_GEAR_FIRST] = l.deploy;
        FM_clear_totals();
        FM_gear_drag();
        EXPECT_NEAR(f.faxil_aero, l.drag, 1e-3f) << l.retract << " " << l.kind << " " << l.deploy << " " << l.marker;
    }
    a.acf_part_eq[0] = kept_word;

    fm_state.present[9] = 1;
    a.acf_els[9] = 2;
    a.acf_Croot[9] = 2.0f, a.acf_Ctip[9] = 1.0f;
    f.v_el[FM_flow_index(9, 0, 0)] = 9.999f;
    f.v_el[FM_flow_index(9, 1, 0)] = 19.999f;
    FM_downwash_and_centroids();
    EXPECT_NEAR(f.Q_centroid_loc[4 * 9], 0.65f, 1e-4f);
    EXPECT_NEAR(f.Q_centroid_MULT[4 * 9], 0.9f, 1e-4f);

    a.acf_num_engines = 0;
    a.acf_num_thrustpoints = 1;
    a.acf_trq_max_eng = 1000.0f;
    a.acf_gear_rat = 1.0f;
    a.acf_prop_dir[0] = 1.0f;
    a.acf_Vne = 100.0f;
    f.indicated_airspeed = 60.0f;
    const struct {
        int type;
        float cant, roll;
    } engines[] = {{0, 0.0f, 750.0f}, {4, 0.0f, 750.0f}, {2, 0.0f, 249.135f}, {8, 0.0f, 249.135f}, {0, 20.0f, 0.0f}};
    for (const auto& e : engines) {
        a.acf_en_type[0] = e.type;
        a.acf_vect_cant[0] = e.cant;
        f.L = 0.0f;
        ENGN_torque_roll_trim();
        EXPECT_NEAR(f.L, e.roll, 0.01f) << e.type << " " << e.cant;
    }
    // The report names the trimmed roll moment on a line of its own.
    logs_folder logs;
    sim_network_dataout.dump_next_cycle = 1;
    a.acf_vect_cant[0] = 0.0f;
    ENGN_torque_roll_trim();
    sim_network_dataout.dump_next_cycle = 0;
    const std::string out = logs.report();
    EXPECT_EQ(out.rfind("\nNOTE: L adjusted to=", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - 26), " N-m by aerodynamic trim.\n") << out;
}

// The subsonic element coefficients, one rule a row, on an airfoil that gives
// cl 0.5, cd 0.02 and cm -0.1 at every angle. Induced drag 0.25 / (pi e A Q'):
// A 8, e 0.8 gives 0.012434; in a 90-degree sideslip the aspect ratio is 1/8
// (0.795775); a centroid factor of 0.25 scales cl and cm by it and counts as
// 0.5 in the induced drag (0.024868). Ground effect multiplies a positive cl
// and its cd (a negative cl takes neither); Mach 0.6 multiplies cl and cm by 1.25 and, past a divergence
// Mach of 0.5 - 0.2 x 0.625, adds 2.5 x 0.225^2 of wave drag; a delta factor
// of 0.4 takes 0.25 x 0.4 x cl from cm; ice of 0.2 divides cl by 1.1 and
// multiplies cd by 1.8; the increments add first.
TEST_F(ForcesAero, SubsonicCoefficientsOneRuleAtATime)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    afl_block& b = a.afl[9];
    for (int t = 0; t < AFL_TABLES; ++t)
        for (int i = 0; i < AFL_ROWS; ++i) {
            b.afl_cl[t * AFL_ROWS + i] = 0.5f;
            b.afl_cd[t * AFL_ROWS + i] = 0.02f;
            b.afl_cm[t * AFL_ROWS + i] = -0.1f;
        }
    struct row {
        const char* rule;
        float AR, beta, Q, ground, mach, mach_div, delta, ice, dcl, dcd, dcm;
        float cl, cd, cm;
    };
    const row rows[] = {
        {"plain", 0, 0, 1, 1, 0, 2, 0, 0, 0, 0, 0, 0.5f, 0.02f, -0.1f},
        {"induced", 8, 0, 1, 1, 0, 2, 0, 0, 0, 0, 0, 0.5f, 0.032434f, -0.1f},
        {"sideslip", 8, 90, 1, 1, 0, 2, 0, 0, 0, 0, 0, 0.5f, 0.815775f, -0.1f},
        {"centroid", 8, 0, 0.25f, 1, 0, 2, 0, 0, 0, 0, 0, 0.125f, 0.044868f, -0.025f},
        {"ground", 0, 0, 1, 1.5f, 0, 2, 0, 0, 0, 0, 0, 0.75f, 0.01f, -0.1f},
        {"ground, lift down", 0, 0, 1, 1.5f, 0, 2, 0, 0, -1.0f, 0, 0, -0.5f, 0.02f, -0.1f},
        {"compressible", 0, 0, 1, 1, 0.6f, 2, 0, 0, 0, 0, 0, 0.625f, 0.02f, -0.125f},
        {"wave", 0, 0, 1, 1, 0.6f, 0.5f, 0, 0, 0, 0, 0, 0.625f, 0.1465625f, -0.125f},
        {"delta", 0, 0, 1, 1, 0, 2, 0.4f, 0, 0, 0, 0, 0.5f, 0.02f, -0.15f},
        {"ice", 0, 0, 1, 1, 0, 2, 0, 0.2f, 0, 0, 0, 0.454545f, 0.036f, -0.1f},
        {"increments", 0, 0, 1, 1, 0, 2, 0, 0, 0.1f, 0.01f, 0.05f, 0.6f, 0.03f, -0.05f},
    };
    for (const row& r : rows) {
        a.acf_AR[9] = r.AR;
        a.acf_e[9] = 0.8f;
        a.acf_dihednow[9] = 0.0f;
        a.acf_cl_D_cl0[9] = a.acf_cm_D_cm0[9] = a.acf_al_D_al0[9] = 1.0f;
        a.acf_delta_fac[9] = r.delta;
        f.beta = r.beta;
        f.Q_centroid_MULT[4 * 9] = r.Q;
        f.CL_grndeffect[9] = r.ground;
        f.CD_grndeffect[9] = 2.0f - r.ground;
        f.frm_ice = r.ice;
        float cl, cd, cm;
        FM_element_coeffs(0.12f, r.mach_div, r.mach, r.dcl, r.dcd, r.dcm, &cl, &cd, &cm, 9, 0, 0);
        EXPECT_NEAR(cl, r.cl, 1e-5f) << r.rule;
        EXPECT_NEAR(cd, r.cd, 1e-5f) << r.rule;
        EXPECT_NEAR(cm, r.cm, 1e-5f) << r.rule;
    }
}
