// Engines made by the tests in SI units on plane slot 0: a piston single with
// a two-blade propeller of its own airfoil, and variations of it (turbines,
// twins on a linked shaft, jets, rotors), in standard sea-level air.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_file.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/element_aero.h"
#include "flightmodel/propulsion/engine_systems.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/flightmodel/forces_fixture.h"
#include "world/landuse_grid.h"

namespace prop_test {

constexpr float DEG = static_cast<float>(DEG_TO_RAD_DOUBLE);
constexpr float RPM = static_cast<float>(PI_DOUBLE / 30.0);   // rad/s per rpm
constexpr float KT = 0.5144444f;                               // m/s per knot

// Standard sea-level air, still, and a frame of 0.02 s, the ground far below
// and nothing under the plane.
inline void standard_air()
{
    forces_test::still_air();
    sim_weather.temperature_ambient_c = 15.0f;
    terrain_height_m = -1000.0f;
    frame_clock = 0.0f;
    surface_state = surface_state_record{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0};
    std::memset(landuse_grid, 0, sizeof landuse_grid);
}

// A thin blade section: lift slope 0.1 per degree, stall at 14 degrees, a
// flat plate beyond.
inline void blade_airfoil(int p)
{
    afl_block& b = pln[0].afl[p];
    for (int t = 0; t < AFL_TABLES; ++t) {
        b.afl_re_num[t] = 0.0f;
        b.afl_clM[t] = 0.1f;
        b.afl_clB[t] = 0.2f;
        for (int i = 0; i < AFL_ROWS; ++i) {
            const float a = AFL_grid_alpha(i);
            const float s = std::sin(a * DEG);
            b.afl_cl[t * AFL_ROWS + i] = std::fabs(a + 2.0f) <= 16.0f ? 0.1f * (a + 2.0f) : 1.1f * std::sin(2.0f * a * DEG);
            b.afl_cd[t * AFL_ROWS + i] = std::fabs(a) < 16.0f ? 0.008f + 0.0001f * a * a : 0.02f + 1.2f * s * s;
            b.afl_cm[t * AFL_ROWS + i] = -0.05f;
        }
    }
    b.afl_t_rat[0] = b.afl_t_rat[1] = 0.1f;
    b.afl_mach_div[0] = b.afl_mach_div[1] = 0.8f;
}

// Thrust point n: a propeller of `blades` blades, radius `radius` metres in
// five elements, at (x, y, z), with its rings, disc, mass and inertia worked
// out as the aircraft set-up does.
inline void propeller(int n, float x, float y, float z, float radius, float blades, float dir, float twist_root,
                      float twist_tip)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int els = 5;
    a.acf_Xarm[n] = x, a.acf_Yarm[n] = y, a.acf_Zarm[n] = z;
    f.POINT_XYZ[3 * n] = x, f.POINT_XYZ[3 * n + 1] = y, f.POINT_XYZ[3 * n + 2] = z;
    a.acf_els[n] = els;
    a.acf_semilen_SEG[n] = a.acf_semilen_JND[n] = radius;
    a.acf_element_len[n] = radius / els;
    a.acf_Croot[n] = 0.16f * radius, a.acf_Ctip[n] = 0.08f * radius;
    a.acf_AR[n] = 8.0f, a.acf_e[n] = 0.9f;
    a.acf_cl_D_cl0[n] = a.acf_cm_D_cm0[n] = a.acf_al_D_al0[n] = 1.0f;
    a.acf_alpha_max[n] = 14.0f;
    a.acf_slat_effect[n] = 1.0f;
    a.acf_num_blades[n] = blades;
    a.acf_prop_dir[n] = dir;
    a.acf_prop_gear_rat[n] = 1.0f;
    for (int e = 0; e < els; ++e) {
        const float r0 = radius * e / els, r1 = radius * (e + 1) / els;
        const int el = ACF_el(n, e);
        a.acf_ringarea[el] = static_cast<float>(PI_DOUBLE) * (r1 * r1 - r0 * r0);
        const float c0 = a.acf_Croot[n] + (a.acf_Ctip[n] - a.acf_Croot[n]) * e / els;
        const float c1 = a.acf_Croot[n] + (a.acf_Ctip[n] - a.acf_Croot[n]) * (e + 1) / els;
        a.acf_s[el] = 0.5f * (c0 + c1) * (r1 - r0);
        a.acf_mac[el] = 0.5f * (c0 + c1);
        a.acf_anginc[el] = twist_root + (twist_tip - twist_root) * (e + 0.5f) / els;
    }
    a.acf_discarea[n] = static_cast<float>(PI_DOUBLE) * radius * radius;
    a.acf_prop_mass[n] = 3.0f * blades;
    a.acf_miprop_rpm[n] = 0.5f * radius * radius * a.acf_prop_mass[n];
    blade_airfoil(n);
    for (int k = 0; k < 4; ++k) f.Q_centroid_MULT[4 * n + k] = 1.0f;
    f.CL_grndeffect[n] = f.CD_grndeffect[n] = 1.0f;
}

// A four-seat piston single: 119 kW at 2,700 rpm, idle 650 rpm, a fixed-pitch
// two-blade propeller of 0.93 m radius 1 m ahead of the centre of gravity.
inline void piston_single()
{
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::memset(&flt[0], 0, sizeof flt[0]);
    sim_cockpit_engine = sim_cockpit_engine_block{};
    sim_cockpit_electrical = sim_cockpit_electrical_block{};
    sim_cockpit_switches = sim_cockpit_switches_block{};
    sim_network_dataout.dump_next_cycle = 0;
    std::memset(interval_ticks, 0, sizeof interval_ticks);
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = ENGINE_PISTON_CARBURETTED;
    a.acf_prop_type[0] = PROP_FIXED_PITCH;
    a.acf_RSC_redline_eng = 2700.0f * RPM;
    a.acf_RSC_idlespeed_eng = 650.0f * RPM;
    a.acf_trq_max_prp = 119000.0f / a.acf_RSC_redline_eng;
    a.acf_mpmax = 29.5f;
    a.acf_throtmax_FWD = 1.0f;
    a.acf_idle_rat_lo = a.acf_idle_rat_hi = 1.0f;
    a.acf_starter_torque_rat = 1.0f;
    a.acf_friction_rat = 0.02f;
    a.acf_battery_cap = 1.0f;
    a.acf_spooltime_prop = 1.0f;
    a.acf_spooltime_jet = 5.0f;
    a.acf_eng_inertia[0] = 0.5f;
    a.acf_SFC[0] = 0.45f * 0.4535925f / 745.7f / 3600.0f;
    a.acf_Vne = 160.0f;
    a.acf_pmax = 119000.0f;
    propeller(0, 0.0f, 0.0f, -1.0f, 0.93f, 2.0f, 1.0f, 32.0f, 14.0f);
    for (int n = 0; n < FLT_ENGINES; ++n) {
        f.ENGN_bat_volt[n] = 1.0f;
        f.oil_power_thrust_ratio[n] = 1.0f;
        f.ENGN_sigma[n] = 1.0f;
    }
    f.cos_theta = f.track_cos = f.cos_phi = f.cos_alpha = f.cos_beta = 1.0f;
    sim_cockpit_engine.clutch_engage = 1;
    ENGN_propulsion_reset();
}

// The engine of the piston single running at full throttle, best-power
// mixture, both magnetos, at speed omega (rad/s) with its lagged throttle there.
inline void running_engine(int n, float omega)
{
    flt_struct& f = flt[0];
    f.ENGN_running[n] = 1;
    f.ignition_on[n] = 3;
    f.ENGN_thro[n] = f.ENGN_thro_use[n] = pln[0].acf_throtmax_FWD;
    f.ENGN_mixt[n] = 1.0f;
    f.ENGN_mixt_pow_rat[n] = 1.0f;
    f.ENGN_tacrad[n] = omega;
    f.POINT_tacrad[n] = omega / pln[0].acf_prop_gear_rat[n];
    prop_state.spooled_throttle[n] = 1.0f;
    prop_state.run_time_sec[n] = 60.0f;
}

// A jet of 100 kN on thrust point e, face 1.5 m^2, at (x, y, z).
inline void jet(int e, float x, float y, float z)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_en_type[e] = ENGINE_JET_HIGH_BYPASS;
    a.acf_prop_type[e] = PROP_JET;
    a.acf_Xarm[e] = x, a.acf_Yarm[e] = y, a.acf_Zarm[e] = z;
    f.POINT_XYZ[3 * e] = x, f.POINT_XYZ[3 * e + 1] = y, f.POINT_XYZ[3 * e + 2] = z;
    a.acf_tmax = 100000.0f;
    a.acf_face_jet = 1.5f;
    a.acf_max_mach_eff = 0.9f;
    a.acf_fmax_sl = 100000.0f;
    a.acf_fmax_opt = 60000.0f;
    a.acf_fmax_vac = 10000.0f;
    a.acf_h_opt = 11000.0f;
}

// True when the wing-element aerodynamics answer a 5-degree element at
// 100 m/s with lift.
inline bool element_forces_work()
{
    const flt_struct saved = flt[0];
    flt[0].Q_centroid_MULT[0] = 1.0f;
    flt[0].CL_grndeffect[0] = flt[0].CD_grndeffect[0] = 1.0f;
    flt[0].v_el[FM_flow_index(0, 2, 0)] = 100.0f;
    flt[0].alpha_el[FM_flow_index(0, 2, 0)] = 5.0f;
    flt[0].del_dir[FM_flow_index(0, 2, 0)] = 0.0f;
    float lift = 0.0f, drag = 0.0f, moment = 0.0f;
    FM_element_forces(0.0f, 0.0f, 0.0f, &lift, &drag, &moment, 0, 2, 0);
    flt[0] = saved;
    return lift > 0.0f;
}

}  // namespace prop_test
