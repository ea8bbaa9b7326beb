// A small aircraft made by the tests in SI units (wing, tailplane, fin,
// fuselage, tricycle gear, airfoil tables of its own), still air, and a
// still-air form of the derived-data half-step (attitude, position and air data)
// so the build-up can be flown on its own.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_file.h"
#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/attitude.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/phys.h"
#include "flightmodel/systems.h"

namespace forces_test {

constexpr float DEG = static_cast<float>(DEG_TO_RAD_DOUBLE);
constexpr float RAD = static_cast<float>(RAD_TO_DEG_DOUBLE);
constexpr float KT = 0.5144444f;   // m/s per knot

// Table values of a simple section: lift slope 0.1 per degree from alpha0,
// stall at 15 degrees, a flat plate beyond.
inline float section_cl(float alpha, float alpha0)
{
    if (alpha >= -14.0f && alpha <= 15.0f) return 0.1f * (alpha - alpha0);
    return 1.05f * std::sin(2.0f * alpha * DEG);
}
inline float section_cd(float alpha)
{
    if (std::fabs(alpha) < 20.0f) return 0.007f + 0.00008f * alpha * alpha;
    const float s = std::sin(alpha * DEG);
    return 0.01f + 1.2f * s * s;
}

// Fills the four tables of part p's airfoil block.
inline void fill_airfoil(int p, float alpha0, float cm)
{
    afl_block& b = pln[0].afl[p];
    for (int t = 0; t < AFL_TABLES; ++t) {
        b.afl_re_num[t] = 0.0f;
        b.afl_clM[t] = 0.1f;
        b.afl_clB[t] = -0.1f * alpha0;
        for (int i = 0; i < AFL_ROWS; ++i) {
            const float a = AFL_grid_alpha(i);
            b.afl_cl[t * AFL_ROWS + i] = section_cl(a, alpha0);
            b.afl_cd[t * AFL_ROWS + i] = section_cd(a);
            b.afl_cm[t * AFL_ROWS + i] = cm;
        }
    }
    b.afl_t_rat[0] = b.afl_t_rat[1] = 0.12f;
    b.afl_mach_div[0] = b.afl_mach_div[1] = 0.75f;
}

inline void set_name(char* names, int p, const char* name)
{
    std::strncpy(names + p * ACF_AFL_NAME_SIZE, name, ACF_AFL_NAME_SIZE - 1);
}

inline void lifting_part(int p, float x, float y, float z, float semilen, float root, float tip, int els, float dihedral,
                         float sweep, float aspect)
{
    acf_struct& a = pln[0];
    a.acf_part_eq[p] = 1;
    a.acf_Xarm[p] = x, a.acf_Yarm[p] = y, a.acf_Zarm[p] = z;
    a.acf_semilen_SEG[p] = a.acf_semilen_JND[p] = semilen;
    a.acf_Croot[p] = root, a.acf_Ctip[p] = tip;
    a.acf_els[p] = els;
    a.acf_dihed1[p] = a.acf_dihed2[p] = a.acf_dihednow[p] = dihedral;
    a.acf_sweep1[p] = a.acf_sweep2[p] = a.acf_sweepnow[p] = sweep;
    a.acf_AR[p] = aspect;
    a.acf_e[p] = 0.8f;
    a.acf_cl_D_cl0[p] = a.acf_cm_D_cm0[p] = a.acf_al_D_al0[p] = 1.0f;
    a.acf_alpha_max[p] = 15.0f;
    a.acf_slat_effect[p] = 1.0f;
    for (char* names : {a.acf_Rafl0, a.acf_Rafl1, a.acf_Tafl0, a.acf_Tafl1}) set_name(names, p, "TEST.AFL");
}

// Fails the test at the first of the n values that is not finite, naming it
// `name` (in what `what` checks).
inline void expect_finite(const char* what, const char* name, const float* v, int n)
{
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) {
            ADD_FAILURE() << what << ": " << name << "[" << i << "] = " << v[i];
            return;
        }
}

// Still standard air at sea level and a frame of 0.02 s.
inline void still_air()
{
    sim_weather.rho = 1.225f;
    sim_weather.sigma = 1.0f;
    sim_weather.speed_of_sound_ms = 340.3f;
    sim_physics.ambient_pressure = 101325.0f;
    sim_physics.mu_air = 1.7894e-5f;
    sim_physics.g_sealevel = 9.80665f;
    sim_operation_misc.frame_rate_period = 0.02f;
    terrain_height_m = 0.0f;
}

// The test aircraft in plane slot 0: 1,000 kg, 10 m span, tail 5 m aft.
inline void build_aircraft()
{
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::memset(&flt[0], 0, sizeof flt[0]);
    acf_struct& a = pln[0];
    lifting_part(8, -0.5f, -0.5f, 0.25f, 4.5f, 1.6f, 1.2f, 5, 5.0f, 0.0f, 7.9f);
    lifting_part(9, 0.5f, -0.5f, 0.25f, 4.5f, 1.6f, 1.2f, 5, 5.0f, 0.0f, 7.9f);
    lifting_part(16, -0.2f, 0.3f, 5.0f, 1.6f, 1.0f, 0.8f, 2, 0.0f, 0.0f, 4.0f);
    lifting_part(17, 0.2f, 0.3f, 5.0f, 1.6f, 1.0f, 0.8f, 2, 0.0f, 0.0f, 4.0f);
    lifting_part(18, 0.0f, 0.5f, 5.2f, 1.4f, 1.1f, 0.7f, 2, 90.0f, 0.0f, 1.6f);
    for (int p : {8, 9}) fill_airfoil(p, -2.0f, -0.05f);
    for (int p : {16, 17, 18}) fill_airfoil(p, 0.0f, 0.0f);
    for (int p : {8, 9})
        for (int e = 0; e < 5; ++e) {
            a.acf_anginc[ACF_el(p, e)] = 1.0f;
            a.acf_flap[ACF_el(p, e)] = e < 2;
            a.acf_ail1[ACF_el(p, e)] = e >= 3;
        }
    for (int p : {16, 17})
        for (int e = 0; e < 2; ++e) {
            a.acf_anginc[ACF_el(p, e)] = -1.5f;
            a.acf_elev[ACF_el(p, e)] = 1;
        }
    for (int e = 0; e < 2; ++e) a.acf_rudd[ACF_el(18, e)] = 1;

    a.acf_ail1_crat = a.acf_ail1_crat2 = 0.25f;
    a.acf_ail1_up = 20.0f, a.acf_ail1_dn = 15.0f;
    a.acf_elev_crat = a.acf_elev_crat2 = 0.4f;
    a.acf_elev_up = 25.0f, a.acf_elev_dn = 20.0f;
    a.acf_rudd_crat = a.acf_rudd_crat2 = 0.4f;
    a.acf_rudd_lr = 20.0f;
    a.acf_flap_crat = a.acf_flap_crat2 = 0.25f;
    a.acf_flap_detents = 2;
    a.acf_flap_dn[0] = 0.0f, a.acf_flap_dn[1] = 20.0f, a.acf_flap_dn[2] = 40.0f;
    a.acf_flap_cl = 0.8f, a.acf_flap_cd = 0.05f, a.acf_flap_cm = -0.1f;
    a.acf_con_smooth = 2.0f;
    a.acf_ail2vmax = a.acf_splr_vmax = 9999.0f;
    a.acf_Vne = 160.0f;

    // Fuselage: frontal, side and top areas, centroid a little aft.
    a.acf_part_eq[44] = 1;
    a.acf_s[ACF_el(44, 0)] = 1.2f, a.acf_s[ACF_el(44, 1)] = 6.0f, a.acf_s[ACF_el(44, 2)] = 6.0f;
    a.acf_Z_body_aero[44] = 0.5f;
    a.acf_body_r[44] = 0.6f;
    a.acf_fuse_cd = 0.1f;

    // Fixed tricycle gear.
    for (int p : {67, 68, 69}) {
        a.acf_part_eq[p] = 1;
        a.acf_gear_type[p] = 2;
        a.acf_gear_leglen[p] = 0.6f;
        a.acf_gear_tirrad[p] = 0.2f;
        a.acf_gear_deploy[p] = 1.0f;
        a.acf_gear_latE[p] = a.acf_gear_latR[p] = 0.0f;
    }
    a.acf_Xarm[67] = 0.0f, a.acf_Zarm[67] = -1.5f, a.acf_Yarm[67] = -0.6f;
    a.acf_Xarm[68] = -1.2f, a.acf_Zarm[68] = 0.6f, a.acf_Yarm[68] = -0.6f;
    a.acf_Xarm[69] = 1.2f, a.acf_Zarm[69] = 0.6f, a.acf_Yarm[69] = -0.6f;

    a.acf_m_empty = 1000.0f;
    a.acf_Jxx_unitmass = 1.8f, a.acf_Jyy_unitmass = 2.7f, a.acf_Jzz_unitmass = 1.3f;
    ACF_derive_values(0);   // sides, element lengths, areas, chords, control runs
    for (int p = 0; p < FLT_PARTS; ++p) {
        for (int b = 0; b < 4; ++b) flt[0].Q_centroid_MULT[4 * p + b] = 1.0f;
        flt[0].CL_grndeffect[p] = flt[0].CD_grndeffect[p] = 1.0f;
    }
}

// Every module at rest, the constants filled, the test aircraft built in still
// air and no data dump asked for: where each test of the build-up starts.
inline void start_on_test_aircraft()
{
    RESET_all();   // nothing an earlier test left in the weather or the records
    CONST_fill_constants();
    build_aircraft();
    still_air();
    sim_network_dataout.dump_next_cycle = 0;
}

// Derived data of one half-step as the plane step works it out (still air).
inline void derive_air_data()
{
    flt_struct& f = flt[0];
    f.sin_theta = std::sin(f.theta * DEG), f.cos_theta = std::cos(f.theta * DEG);
    f.track_sin = std::sin(f.psi * DEG), f.track_cos = std::cos(f.psi * DEG);
    f.sin_phi = std::sin(f.phi * DEG), f.cos_phi = std::cos(f.phi * DEG);
    f.groundspeed = std::sqrt(f.local_vx * f.local_vx + f.local_vy * f.local_vy + f.local_vz * f.local_vz);
    f.true_airspeed = f.groundspeed;
    f.machno = f.true_airspeed / sim_weather.speed_of_sound_ms;
    f.Qstatic = 0.5f * sim_weather.rho * f.true_airspeed * f.true_airspeed;
    PHYS_local_to_body(-f.local_vx, -f.local_vy, -f.local_vz, &f.vx_air_on_acf, &f.vy_air_on_acf, &f.vz_air_on_acf, 0);
    f.indicated_airspeed = std::fmax(f.vz_air_on_acf, 0.0f) * std::sqrt(sim_weather.sigma) / KT;
    f.alpha = std::atan2(f.vy_air_on_acf, f.vz_air_on_acf) * RAD;
    f.beta = std::atan2(f.vx_air_on_acf, std::fabs(f.vz_air_on_acf)) * RAD;
    f.sin_alpha = std::sin(f.alpha * DEG), f.cos_alpha = std::cos(f.alpha * DEG);
    f.sin_beta = std::sin(f.beta * DEG), f.cos_beta = std::cos(f.beta * DEG);
    f.y_agl = f.local_y - terrain_height_m;
}

// Places the plane at height h flying at speed v (m/s) with pitch theta, heading psi, flight path gamma.
inline void place(float h, float v, float theta, float gamma = 0.0f)
{
    flt_struct& f = flt[0];
    f.local_y = h;
    f.local_y_d = h;
    f.theta = theta, f.psi = 0.0f, f.phi = 0.0f;
    f.local_vx = 0.0f;
    f.local_vy = v * std::sin(gamma * DEG);
    f.local_vz = -v * std::cos(gamma * DEG);
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    derive_air_data();
    FM_forces_reset();
    fm_state.prev_alpha = f.alpha;
    fm_state.prev_beta = f.beta;
}

// One frame: the shape from the controls, then two half-steps of build-up,
// attitude and air data (the plane step's order).
inline void fly_frame(float dt = 0.04f)
{
    flt_struct& f = flt[0];
    ACF_control_incidence(0);
    sim_operation_misc.frame_rate_period = 0.5f * dt;
    for (int h = 0; h < 2; ++h) {
        FM_forces_and_moments();
        PHYS_integrate_quat(f.Prad, f.Qrad, f.Rrad, &f.theta, &f.psi, &f.phi, f.q);
        const float half = 0.5f * dt;
        f.local_x_d += f.local_vx * half, f.local_y_d += f.local_vy * half, f.local_z_d += f.local_vz * half;
        f.local_x = static_cast<float>(f.local_x_d);
        f.local_y = static_cast<float>(f.local_y_d);
        f.local_z = static_cast<float>(f.local_z_d);
        derive_air_data();
    }
    sim_operation_misc.frame_rate_period = dt;
}

}  // namespace forces_test
