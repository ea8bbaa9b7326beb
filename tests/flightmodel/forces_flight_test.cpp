// Whole aircraft flown: the test aircraft through the build-up with the
// fixture's half-step, a damaged copy of it, and the default trainer through
// the real plane step (trimmed glide, pitch and roll responses, fidelity, the
// report and stability commands).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/reset_registry.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/forces/stability.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/propulsion/propulsion.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/flightmodel/trainer_fixture.h"
#include "tests/support/test_support.h"

using namespace forces_test;
using namespace trainer_test;

namespace {

// Every float the build-up, the incidence pass and the half-step write.
void expect_state_finite(const char* what)
{
    const flt_struct& f = flt[0];
    auto check = [&](const char* name, const float* v, int n) { expect_finite(what, name, v, n); };
#define CHECK_ONE(x) check(#x, &f.x, 1)
#define CHECK_ARRAY(x) check(#x, f.x, static_cast<int>(sizeof f.x / sizeof f.x[0]))
    CHECK_ONE(faxil_prop), CHECK_ONE(fside_prop), CHECK_ONE(fnrml_prop), CHECK_ONE(faxil_aero), CHECK_ONE(fside_aero);
    CHECK_ONE(fnrml_aero), CHECK_ONE(faxil_gear), CHECK_ONE(fside_gear), CHECK_ONE(fnrml_gear);
    CHECK_ONE(L), CHECK_ONE(M), CHECK_ONE(N), CHECK_ONE(P_dot), CHECK_ONE(Q_dot), CHECK_ONE(R_dot);
    CHECK_ONE(P), CHECK_ONE(Q), CHECK_ONE(R), CHECK_ONE(Prad), CHECK_ONE(Qrad), CHECK_ONE(Rrad), CHECK_ARRAY(q);
    CHECK_ONE(theta), CHECK_ONE(psi), CHECK_ONE(phi), CHECK_ONE(alpha), CHECK_ONE(beta);
    CHECK_ONE(local_ax), CHECK_ONE(local_ay), CHECK_ONE(local_az), CHECK_ONE(local_vx), CHECK_ONE(local_vy);
    CHECK_ONE(local_vz), CHECK_ONE(local_x), CHECK_ONE(local_y), CHECK_ONE(local_z);
    CHECK_ONE(g_nrml), CHECK_ONE(g_axil), CHECK_ONE(g_side), CHECK_ONE(g_total), CHECK_ONE(m_total);
    CHECK_ONE(true_airspeed), CHECK_ONE(Qstatic), CHECK_ONE(nosewheel_steer), CHECK_ONE(blown_flap_engage_rat);
    CHECK_ARRAY(v_el), CHECK_ARRAY(alpha_el), CHECK_ARRAY(del_dir), CHECK_ARRAY(downwash_deg);
    CHECK_ARRAY(propwash_rat), CHECK_ARRAY(CL_grndeffect), CHECK_ARRAY(CD_grndeffect), CHECK_ARRAY(Q_centroid_loc);
    CHECK_ARRAY(Q_centroid_MULT), CHECK_ARRAY(nrml_force), CHECK_ARRAY(axil_force), CHECK_ARRAY(force_XYZ);
    CHECK_ARRAY(ail1_def), CHECK_ARRAY(ail2_def), CHECK_ARRAY(splr_def), CHECK_ARRAY(yawb_def);
    CHECK_ARRAY(elev_cont_def), CHECK_ARRAY(rudd_def), CHECK_ARRAY(flap_def), CHECK_ARRAY(foil_swe);
    CHECK_ARRAY(foil_dih), CHECK_ARRAY(elem_inc), CHECK_ARRAY(foil_sin_dih), CHECK_ARRAY(foil_cos_dih);
    CHECK_ARRAY(foil_sin_swe), CHECK_ARRAY(foil_cos_swe), CHECK_ARRAY(vertcant), CHECK_ARRAY(sidecant);
    CHECK_ARRAY(ENGN_thro_use);
#undef CHECK_ONE
#undef CHECK_ARRAY
    check("MI", &fm_state.MI_pitch, 3);
}

// ---- the default trainer through the real plane step ----

// Sets the pilot's inputs both as stick ratios and as the control record, so
// they hold whether or not a control step maps one onto the other.
void hold_controls(float ptch, float roll, float hdng)
{
    sim_joystick.yolk_pitch_ratio = ptch, sim_joystick.yolk_roll_ratio = roll, sim_joystick.yolk_heading_ratio = hdng;
    flt_struct& f = flt[0];
    f.FC_ptch = ptch, f.FC_roll = roll, f.FC_hdng = hdng;
}

// A steady flight of the trainer found through the build-up: at speed V (m/s)
// and heading north, the angle of attack, flight path, elevator and aileron
// that leave no acceleration along or across the path and no pitch or roll
// acceleration.
struct trim_result {
    bool ok;
    float alpha, gamma, elevator, aileron;
};

void set_steady_state(float V, const float x[4], float height)
{
    flt_struct& f = flt[0];
    f.local_y = height, f.local_y_d = height;
    f.theta = x[0] + x[1], f.psi = 0.0f, f.phi = 0.0f;
    f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
    f.local_vx = 0.0f, f.local_vy = V * std::sin(x[1] * DEG), f.local_vz = -V * std::cos(x[1] * DEG);
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    hold_controls(x[2], x[3], 0.0f);
    ACF_control_incidence(0);
    ACF_control_incidence(0);   // incidence follows the deflections a frame late
    derive_air_data();
}

// The build-up's answer to a steady state: the state after three passes, each
// started afresh but keeping the wash and centroid factors the one before left.
flt_struct evaluate(float V, const float x[4], float height)
{
    const flt_struct saved = flt[0];
    set_steady_state(V, x, height);
    flt_struct& f = flt[0];
    const flt_struct start = f;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            const flt_struct last = f;
            f = start;
            std::memcpy(f.downwash_deg, last.downwash_deg, sizeof f.downwash_deg);
            std::memcpy(f.Q_centroid_MULT, last.Q_centroid_MULT, sizeof f.Q_centroid_MULT);
        }
        FM_forces_reset();
        fm_state.prev_alpha = f.alpha, fm_state.prev_beta = f.beta;
        FM_forces_and_moments();
    }
    const flt_struct after = f;
    f = saved;
    return after;
}

void residuals(float V, const float x[4], float height, float out[4])
{
    const flt_struct a = evaluate(V, x, height);
    const float g = x[1] * DEG;
    out[0] = a.local_ay * std::sin(g) - a.local_az * std::cos(g);   // along the path
    out[1] = a.local_ay * std::cos(g) + a.local_az * std::sin(g);   // across it
    out[2] = a.Q_dot;
    out[3] = a.P_dot;
}

trim_result trim(float V, float height, float gamma_guess)
{
    float x[4] = {4.0f, gamma_guess, 0.0f, 0.0f};
    const float step[4] = {0.05f, 0.05f, 0.005f, 0.005f};
    for (int it = 0; it < 40; ++it) {
        float r[4];
        residuals(V, x, height, r);
        float err = 0.0f;
        for (float v : r) err = std::fmax(err, std::fabs(v));
        if (err < 1e-3f) return {true, x[0], x[1], x[2], x[3]};
        double J[4][5];
        for (int j = 0; j < 4; ++j) {
            float xp[4] = {x[0], x[1], x[2], x[3]};
            xp[j] += step[j];
            float rp[4];
            residuals(V, xp, height, rp);
            for (int i = 0; i < 4; ++i) J[i][j] = (rp[i] - r[i]) / step[j];
        }
        for (int i = 0; i < 4; ++i) J[i][4] = -r[i];
        for (int c = 0; c < 4; ++c) {   // Gauss-Jordan with partial pivoting
            int piv = c;
            for (int i = c + 1; i < 4; ++i)
                if (std::fabs(J[i][c]) > std::fabs(J[piv][c])) piv = i;
            std::swap(J[c], J[piv]);
            if (std::fabs(J[c][c]) < 1e-12) return {false, 0, 0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                if (i == c) continue;
                const double k = J[i][c] / J[c][c];
                for (int m = c; m < 5; ++m) J[i][m] -= k * J[c][m];
            }
        }
        for (int i = 0; i < 4; ++i) x[i] += static_cast<float>(std::clamp(J[i][4] / J[i][i], -2.0, 2.0));
        x[2] = std::clamp(x[2], -1.0f, 1.0f), x[3] = std::clamp(x[3], -1.0f, 1.0f);
    }
    return {false, 0, 0, 0, 0};
}

struct TrainerFlight : ::testing::Test {
    void SetUp() override
    {
        clear_alerts();
        // The records, the interval flags and every stage start from rest,
        // whatever the tests before flew or left switched on.
        RESET_all();
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        frame_clock = 0.0f;
        auto_flight_on = 0;
        const std::string missing = load_trainer();
        ASSERT_TRUE(missing.empty()) << "missing: " << missing;
        still_air();
        for (auto& fl : flt) std::memset(fl.failures, 0, sizeof fl.failures);
        sim_operation_prefs.replay_mode = 0;
        sim_network_dataout.dump_next_cycle = 0;
        // Full hydraulic pressure, as the systems step leaves it for an aircraft
        // without a hydraulic failure: the control step scales the stick by it.
        sim_operation_failures.hydraulic_pressure_ratio = 1.0f;
        place(3000.0f, 70.0f * KT, 0.0f, -5.0f);
        ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    }
    // A frame of the engine systems and the real plane step with the inputs
    // held (0.04 s, as at 25 frames a second).
    static void frame(float ptch, float roll, float hdng = 0.0f)
    {
        hold_controls(ptch, roll, hdng);
        sim_operation_misc.frame_rate_period = 0.04f;
        ENGN_systems();
        FLTMOD_plane_step(0);
    }
    // The engine running at speed as in flight: fuel from the fullest tank,
    // both magnetos, mixture rich, the engine and prop turning at 90 % of redline.
    static void engine_running(float throttle)
    {
        flt_struct& f = flt[0];
        sim_cockpit_engine.fuel_tank_selector = 4;
        sim_cockpit_engine.clutch_engage = 1;
        f.ENGN_thro[0] = f.ENGN_thro_use[0] = throttle;
        f.ENGN_mixt[0] = 1.0f;
        f.ignition_on[0] = 3;
        f.ENGN_running[0] = 1;
        f.ENGN_mixt_pow_rat[0] = 1.0f;
        f.oil_power_thrust_ratio[0] = 1.0f;
        f.ENGN_tacrad[0] = 0.9f * pln[0].acf_RSC_redline_eng;
        f.POINT_tacrad[0] = f.ENGN_tacrad[0] / pln[0].acf_prop_gear_rat[0];
    }
    // The trimmed 70 KIAS glide. The build-up's steady state gives the first
    // guess; the windmilling propeller then settles at its own speed, so the
    // test flies as a pilot trims: for a minute and a half the airspeed sets
    // a pitch attitude the elevator holds and the bank is held level, each
    // loop trimming itself; the trims it ends with are the glide's inputs.
    trim_result glide()
    {
        trim_result t = trim(70.0f * KT, 3000.0f, -5.0f);
        if (!t.ok) return t;
        // Indicated airspeed reads the flow along the body: fly that much faster on the path.
        const float V = 70.0f * KT / std::cos(t.alpha * DEG);
        t = trim(V, 3000.0f, t.gamma);
        if (!t.ok) return t;
        const float x[4] = {t.alpha, t.gamma, t.elevator, t.aileron};
        set_steady_state(V, x, 3000.0f);
        FM_forces_reset();
        fm_state.prev_alpha = flt[0].alpha, fm_state.prev_beta = flt[0].beta;

        const flt_struct& f = flt[0];
        float attitude = f.theta, pitch_trim = t.elevator, roll_trim = t.aileron;
        for (int i = 0; i < 90 * 25; ++i) {
            const float err = (f.indicated_airspeed - 70.0f) * KT;   // too fast: nose up
            attitude = std::clamp(attitude + 0.2f * err * 0.04f, -20.0f, 20.0f);
            const float wanted = std::clamp(attitude + 0.5f * err, -20.0f, 20.0f);
            pitch_trim = std::clamp(pitch_trim + 0.01f * (wanted - f.theta) * 0.04f, -1.0f, 1.0f);
            roll_trim = std::clamp(roll_trim - 0.005f * f.phi * 0.04f, -1.0f, 1.0f);
            frame(std::clamp(pitch_trim + 0.04f * (wanted - f.theta) - 0.02f * f.Q, -1.0f, 1.0f),
                  std::clamp(roll_trim - 0.03f * f.phi - 0.01f * f.P, -1.0f, 1.0f));
        }
        t.elevator = pitch_trim, t.aileron = roll_trim;
        for (int i = 0; i < 25; ++i) frame(t.elevator, t.aileron);
        return t;
    }
};

}  // namespace

TEST(ForcesFlight, TestAircraftGlidesStablyAndAnswersItsControls)
{
    CONST_fill_constants();
    build_aircraft();
    still_air();
    place(1000.0f, 70.0f * KT, 0.0f, -4.0f);
    flt_struct& f = flt[0];
    f.FC_ptch = 0.25f;
    float ias_min = 1e9f, ias_max = 0.0f;
    for (int i = 0; i < 3000; ++i) {   // two minutes: the phugoid dies down
        fly_frame();
        if (i >= 2500) ias_min = std::fmin(ias_min, f.indicated_airspeed), ias_max = std::fmax(ias_max, f.indicated_airspeed);
    }
    EXPECT_LT(ias_max - ias_min, 3.0f);
    EXPECT_LT(std::fabs(f.P) + std::fabs(f.R), 0.1f);
    expect_state_finite("glide");

    const flt_struct trimmed = f;
    f.FC_ptch = 0.6f;   // pull
    fly_frame();
    fly_frame();
    EXPECT_GT(f.Q_dot, 0.0f);
    for (int i = 0; i < 23; ++i) fly_frame();
    EXPECT_GT(f.theta, trimmed.theta);

    for (const float roll : {0.3f, -0.3f}) {
        f = trimmed;
        f.FC_roll = roll;
        for (int i = 0; i < 12; ++i) fly_frame();
        EXPECT_GT(f.P * roll, 1.0f) << roll;
    }
    f = trimmed;
    f.FC_hdng = 0.5f;   // right rudder yaws right
    for (int i = 0; i < 12; ++i) fly_frame();
    EXPECT_GT(f.R, 0.5f);
}

TEST(ForcesFlight, DamagedAircraftKeepsEveryValueANumber)
{
    CONST_fill_constants();
    build_aircraft();
    still_air();
    acf_struct& a = pln[0];
    for (int p : {8, 9, 16, 17, 18}) {
        for (int t = 0; t < AFL_TABLES; ++t) a.afl[p].afl_clM[t] = 0.0f;   // zero lift slopes
        a.acf_AR[p] = 0.0f;
        a.acf_e[p] = 0.0f;
        a.acf_semilen_JND[p] = 0.0f;
    }
    a.acf_Croot[9] = a.acf_Ctip[9] = 0.0f;   // zero chords
    a.acf_sweep_var[16] = 1, a.acf_sweep2[16] = 4.0e9f;   // huge angles
    a.acf_dihed1[17] = -7.0e8f;
    a.acf_anginc[ACF_el(8, 0)] = 1.0e9f;
    a.acf_flap_dn[a.acf_flap_detents] = 0.0f;   // no last detent
    a.acf_slat_effect[8] = 0.0f;
    a.acf_slat[ACF_el(8, 1)] = 1;
    a.acf_m_empty = 0.0f;                      // no mass, no inertia
    a.acf_Jxx_unitmass = a.acf_Jyy_unitmass = a.acf_Jzz_unitmass = 0.0f;
    a.acf_Vne = 0.0f;
    a.acf_blown_flap_min_engag = 1.0f;
    a.acf_elv_trim_neg_lim = a.acf_elv_trim_pos_lim = 0.0f;
    place(300.0f, 60.0f, 0.0f);
    flt_struct& f = flt[0];
    f.flaprat = 1.0f, f.slatrat = 1.0f, f.elv_trim = 0.5f;
    f.FC_roll = 0.4f, f.FC_ptch = -0.3f, f.FC_hdng = 0.2f;
    for (int i = 0; i < 150; ++i) fly_frame();
    expect_state_finite("damaged aircraft");
    EXPECT_EQ(f.m_total, 0.0f);
}

TEST_F(TrainerFlight, TrimmedGlideHoldsForAMinute)
{
    const trim_result t = glide();
    ASSERT_TRUE(t.ok) << "no steady 70 KIAS glide found";
    const flt_struct& f = flt[0];
    const float theta0 = f.theta;
    float worst_speed = 0.0f, worst_pitch = 0.0f, worst_rate = 0.0f;
    for (int i = 0; i < 60 * 25; ++i) {
        frame(t.elevator, t.aileron);
        worst_speed = std::fmax(worst_speed, std::fabs(f.indicated_airspeed - 70.0f));
        worst_pitch = std::fmax(worst_pitch, std::fabs(f.theta - theta0));
        worst_rate = std::fmax(worst_rate, std::fmax(std::fabs(f.P), std::fabs(f.R)));
    }
    std::printf("trimmed glide: alpha %.2f deg, path %.2f deg, elevator %.3f, aileron %.3f\n", t.alpha, t.gamma,
                t.elevator, t.aileron);
    EXPECT_LT(worst_speed, 3.0f);
    EXPECT_LT(worst_pitch, 2.0f);
    EXPECT_LT(worst_rate, 0.5f);
    expect_state_finite("trimmed glide");
}

TEST_F(TrainerFlight, PitchAndRollAnswerTheStick)
{
    const trim_result t = glide();
    ASSERT_TRUE(t.ok);
    const flt_struct trimmed = flt[0];
    flt_struct& f = flt[0];

    bool pitch_accel = false;
    for (int i = 0; i < 25; ++i) {   // one second of nose-up elevator
        frame(std::fmin(t.elevator + 0.3f, 1.0f), t.aileron);
        pitch_accel = pitch_accel || f.Q_dot > 0.0f;
    }
    EXPECT_TRUE(pitch_accel);
    EXPECT_GT(f.theta, trimmed.theta);

    for (const float roll : {0.4f, -0.4f}) {
        f = trimmed;
        bool answered = false;
        for (int i = 0; i < 12; ++i) {   // half a second
            frame(t.elevator, t.aileron + roll);
            answered = answered || f.P * roll > 0.0f;
        }
        EXPECT_TRUE(answered) << roll;
        EXPECT_GT(f.P * roll, 0.0f) << roll;
    }
}

TEST_F(TrainerFlight, FidelityBesideATypicalTrainer)
{
    // Stall speed with full flap: the most normal force the aircraft makes in level flight with the
    // elevator holding the pitch, at sea level.
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    f.flaprat = 1.0f;
    const float V = 30.0f;
    float best = 0.0f;
    for (float alpha = 0.0f; alpha <= 24.0f; alpha += 0.5f) {
        float lo = -1.0f, hi = 1.0f, normal = 0.0f;
        for (int it = 0; it < 30; ++it) {
            const float e = 0.5f * (lo + hi);
            const float x[4] = {alpha, 0.0f, e, 0.0f};
            const flt_struct r = evaluate(V, x, 3000.0f);
            normal = r.fnrml_aero * r.cos_alpha + r.faxil_aero * r.sin_alpha;
            (r.Q_dot > 0.0f ? hi : lo) = e;   // nose rising: less up elevator
        }
        best = std::fmax(best, normal);
    }
    f.flaprat = 0.0f;
    FM_mass_and_inertia();
    const float weight = f.m_total * sim_physics.g_sealevel;
    const float stall_kcas = V * std::sqrt(weight / best) / KT;
    std::printf("stall speed, full flap: %.1f KCAS (a typical four-seat trainer: 48 KCAS)\n", stall_kcas);
    EXPECT_GE(stall_kcas, 36.0f);
    EXPECT_LE(stall_kcas, 60.0f);

    // The powered rows need thrust.
    flt_struct probe = f;
    engine_running(1.0f);
    for (int i = 0; i < 50; ++i) frame(0.0f, 0.0f);
    const bool thrust = f.POINT_thrust[0] > 100.0f;
    f = probe;
    ASSERT_TRUE(thrust) << "the running engine gives no thrust (ENGN_prop_engines)";

    // Best-rate climb at sea level, full power, and the TAS at 75 % power at 8,500 ft: a speed-holding
    // pitch loop on the elevator and, for the cruise, a height-holding loop, flown for a minute each.
    // The pilot's loops: the speed (or, holding height, the climb rate) sets a
    // pitch attitude, which the elevator holds; each loop trims itself.
    auto hold_speed = [&](float ias_kt, float seconds, bool hold_height, float* climb_fpm, float* tas_kt) {
        float attitude = f.theta, trim = 0.0f, vy_sum = 0.0f, tas_sum = 0.0f;
        int n = 0;
        for (int i = 0; i < static_cast<int>(seconds * 25.0f); ++i) {
            // Positive error: the nose should go up (too fast, or sinking).
            const float err = hold_height ? -f.local_vy : (f.indicated_airspeed - ias_kt) * KT;
            attitude = std::clamp(attitude + 0.2f * err * 0.04f, -10.0f, 25.0f);
            const float wanted = std::clamp(attitude + 0.5f * err, -10.0f, 25.0f);
            trim = std::clamp(trim + 0.005f * (wanted - f.theta) * 0.04f, -0.5f, 0.5f);
            const float elevator = std::clamp(trim + 0.04f * (wanted - f.theta) - 0.02f * f.Q, -1.0f, 1.0f);
            frame(elevator, -0.02f * f.phi - 0.01f * f.P);
            if (i > static_cast<int>(seconds * 25.0f) / 2) vy_sum += f.local_vy, tas_sum += f.true_airspeed, ++n;
        }
        *climb_fpm = vy_sum / n * 196.85f;
        *tas_kt = tas_sum / n / KT;
    };
    float climb, tas;
    still_air();
    place(100.0f, 74.0f * KT, 5.0f, 3.0f);
    engine_running(1.0f);
    hold_speed(74.0f, 60.0f, false, &climb, &tas);
    // The fixture flies the trainer light (empty, with its fuel), where the
    // class climbs faster than its 730 ft/min at full weight; the fleet's
    // flight tests hold the figure at full weight.
    std::printf("best-rate climb, sea level, full power, %.0f lb: %.0f ft/min (typical at 2,450 lb: 730 ft/min)\n",
                f.m_total / 0.45359237f, climb);
    EXPECT_GE(climb, 548.0f);
    EXPECT_LE(climb, 1100.0f);

    const float h = 8500.0f * 0.3048f;
    sim_weather.rho = ATMO_density_at_alt(0, h);
    sim_weather.sigma = sim_weather.rho / 1.225f;
    sim_physics.ambient_pressure = 75200.0f;   // the standard atmosphere's at 8,500 ft
    place(h, 110.0f * KT, 2.0f, 0.0f);
    float throttle = 0.75f;
    engine_running(throttle);
    for (int pass = 0; pass < 6; ++pass) {   // a throttle that makes 75 % of the rated power
        f.ENGN_thro[0] = throttle;
        hold_speed(0.0f, 20.0f, true, &climb, &tas);
        const float power = f.ENGN_power[0] / a.acf_pmax;   // the set-up holds the rated power in watts
        if (power > 0.0f) throttle = std::clamp(throttle * 0.75f / power, 0.05f, 1.0f);
    }
    hold_speed(0.0f, 60.0f, true, &climb, &tas);
    std::printf("cruise, 75 %% power at 8,500 ft: %.0f KTAS (typical: 124 KTAS)\n", tas);
    EXPECT_GE(tas, 93.0f);
    EXPECT_LE(tas, 155.0f);
}

TEST_F(TrainerFlight, ReportAndStabilityCommandsInTheGlide)
{
    ASSERT_TRUE(glide().ok);
    temp_folder dir;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    FOLDERS_open_logs();

    CORE_run_command(1203);
    const float elevator = flt[0].FC_ptch, aileron = flt[0].FC_roll;
    frame(elevator, aileron);
    report_log.flush();
    const std::string one = read_file_bytes(dir.path() / "ORVELL.OUT");
    EXPECT_EQ(sim_network_dataout.dump_next_cycle, 0);
    std::size_t grand = 0, pos = 0;
    while ((pos = one.find("GRAND TOTALS AT END OF FORCE AND MOMENT BUILD-UP", pos)) != std::string::npos) ++grand, ++pos;
    EXPECT_EQ(grand, 1u);   // exactly one build-up's report
    EXPECT_EQ(one.compare(0, 3, "\n\xA5\xA5"), 0);

    // The pitch test: Sref and Cref of the trainer's wings and tailplanes (dihedral below 45 degrees):
    // 2 x 17.9 ft x 4.85 ft + 2 x 5.7 ft x 2.8 ft x cos 3 deg; mean chord (4.85 + 4.85 + 2.8 + 2.8) / 4 ft.
    CORE_run_command(1217);
    frame(elevator, aileron);
    frame(elevator, aileron);
    report_log.flush();
    const std::string out = read_file_bytes(dir.path() / "ORVELL.OUT").substr(one.size());
    FOLDERS_close_logs();
    std::filesystem::current_path(old);
    EXPECT_EQ(sim_flightmodel_misc.stab_ptch_test, 0);
    EXPECT_EQ(sim_flightmodel_misc.stab_hdng_test, 0);
    const float ft2 = 0.3048f * 0.3048f;
    const float sref = (2.0f * 17.9f * 4.85f + 2.0f * 5.7f * 2.8f * std::cos(3.0f * DEG)) * ft2;
    const float cref = 3.825f * 0.3048f;
    char line[200];
    std::snprintf(line, sizeof line, "   Sref=%10.2f m*m.", sref);
    EXPECT_NE(out.find(line), std::string::npos) << out;
    std::snprintf(line, sizeof line, "   Cref=%10.2f m.", cref);
    EXPECT_NE(out.find(line), std::string::npos) << out;
    const std::size_t at = out.find("so Cm  =");
    ASSERT_NE(at, std::string::npos);
    EXPECT_LT(std::stof(out.substr(at + 8, 10)), 0.0f);   // pitched up, the trainer noses down
}

TEST(ForcesFlightTrainer, DamagedTrainerKeepsEveryValueANumber)
{
    const std::string missing = load_trainer();
    ASSERT_TRUE(missing.empty()) << "missing: " << missing;
    still_air();
    acf_struct& a = pln[0];
    for (int p = 8; p <= 27; ++p) {
        for (int t = 0; t < AFL_TABLES; ++t) a.afl[p].afl_clM[t] = 0.0f;
        a.acf_AR[p] = 0.0f;
        a.acf_Croot[p] = a.acf_Ctip[p] = 0.0f;
        a.acf_sweep2[p] = 1.0e9f, a.acf_sweep_var[p] = 1;
    }
    a.acf_m_empty = 0.0f;
    a.acf_Jxx_unitmass = a.acf_Jyy_unitmass = a.acf_Jzz_unitmass = 0.0f;
    place(300.0f, 60.0f, 0.0f);
    flt[0].swdi = 0.5f;
    for (int i = 0; i < 150; ++i) fly_frame();
    expect_state_finite("damaged trainer");
}

// The slip ball follows four times the angle of the side load against the
// normal load, through a lag of half the step a second: with the rudder held
// in the glide, the same filter run over the loads the plane read each frame
// lands where the plane's ball does.
TEST_F(TrainerFlight, SlipBallReadsFourTimesTheSideLoadAngle)
{
    const trim_result t = glide();
    ASSERT_TRUE(t.ok);
    flt_struct& f = flt[0];
    const auto ball = [&f] { return std::clamp(std::atan2(f.g_side, f.g_nrml) / DEG * 4.0f, -15.0f, 15.0f); };
    float expected = f.slip, biggest = 0.0f, x_before = ball();
    for (int i = 0; i < 50; ++i) {   // two seconds of right rudder
        frame(t.elevator, t.aileron, 0.3f);
        const float k = 0.5f * 0.02f;   // two half-steps of 0.02 s
        // The first half-step's loads lie between the last frame's and this one's.
        const float x = ball(), x_half = 0.5f * (x_before + x);
        x_before = x;
        expected = (1.0f - k) * ((1.0f - k) * expected + k * x_half) + k * x;
        biggest = std::fmax(biggest, std::fabs(f.slip));
        EXPECT_NEAR(f.slip, expected, 0.1f * std::fabs(expected) + 0.01f) << "frame " << i;
    }
    EXPECT_GT(biggest, 0.1f);   // the rudder moved the ball
}
