// The set-up stages on hand-made records: conversion and re-centring, wing
// geometry and span efficiency, masses, downwash, initial masses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "core/ui_text.h"
#include "flightmodel/atmosphere.h"
#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

namespace {

// Four airfoil tables of the part with the given lift slope (per degree) and stall angle.
void airfoils(acf_struct& a, int p, float slope, float stall, float thickness = 0.12f)
{
    for (int t = 0; t < AFL_TABLES; ++t) {
        a.afl[p].afl_clM[t] = slope;
        a.afl[p].afl_almax[t] = stall;
    }
    a.afl[p].afl_t_rat[0] = a.afl[p].afl_t_rat[1] = thickness;
}

// A flat lifting part in SI units, on the right unless `left`.
void surface(acf_struct& a, int p, float x, float y, float z, float root, float tip, float semispan, int els,
             bool left = false)
{
    set_wing(a, p, root, tip, els, semispan);
    a.acf_Xarm[p] = x;
    a.acf_Yarm[p] = y;
    a.acf_Zarm[p] = z;
    a.acf_side_sign[p] = left ? -1.0f : 1.0f;
    airfoils(a, p, 0.1f, 15.0f);
}

class AcfSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        CONST_fill_constants();
        for (int s = 0; s < ACF_SLOTS; ++s) {
            std::memset(&pln[s], 0, sizeof pln[s]);
            flt[s] = flt_struct{};
        }
    }
};

}  // namespace

TEST_F(AcfSetup, RectangularWingHalfGetsItsAspectRatioEfficiencyAndFiniteSpanFactors)
{
    acf_struct& a = pln[1];
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    ACF_setup_wings(1);
    EXPECT_FLOAT_EQ(a.acf_element_len[9], 1.0f);
    EXPECT_NEAR(a.acf_semilen_JND[9], 5.0f, 1e-5f);
    EXPECT_NEAR(a.acf_AR[9], 5.0f, 1e-5f);
    EXPECT_NEAR(a.acf_taper[9], 1.0f, 1e-6f);
    EXPECT_NEAR(a.acf_e[9], 0.986f, 1e-4f);
    EXPECT_EQ(a.acf_delta_fac[9], 0.0f);
    const float k = a.acf_al_D_al0[9] * a.acf_cl_D_cl0[9];
    EXPECT_NEAR(k, 0.730f, 0.001f);
    EXPECT_NEAR(a.acf_cl_D_cl0[9], 0.904f, 0.001f);
    EXPECT_NEAR(a.acf_cm_D_cm0[9], 5.0f / 7.0f, 1e-4f);
    EXPECT_NEAR(a.acf_alpha_max[9], 15.0f / a.acf_al_D_al0[9], 1e-3f);
    EXPECT_FLOAT_EQ(flt[1].foil_cos_dih[9], 1.0f);

    // Two touching panels join into one wing: the inner panel's geometry is
    // the whole wing's (root at the centre line, tip of the outer panel).
    surface(a, 11, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    a.acf_Xarm[11] = 5.0f;
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_semilen_JND[9], 10.0f, 1e-4f);
    EXPECT_NEAR(a.acf_semilen_JND[11], 10.0f, 1e-4f);
    EXPECT_NEAR(a.acf_AR[9], 10.0f, 1e-4f);
}

// A rectangular half wing of aspect ratio 5 (chord 2, semispan 5) reads its
// span efficiency at its washout (root incidence minus tip incidence) and its
// quarter-chord sweep: washed out 5 degrees, 0.993; swept back 25 degrees,
// 0.963, and a pitching-moment factor cos^2 25 x 5 / (5 + 2 cos 25). A lift
// fan's blade counts as an ideal disc: efficiency 1 and ten times the aspect
// ratio, 50, so its moment factor is 50 / 52.
TEST_F(AcfSetup, SpanEfficiencyByWashoutAndSweepAndTheLiftFanDisc)
{
    acf_struct& a = pln[1];
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    a.acf_anginc[ACF_el(9, 0)] = 2.0f;
    a.acf_anginc[ACF_el(9, 4)] = -3.0f;
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_e[9], 0.993f, 1e-4f);

    std::memset(&a, 0, sizeof a);
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    a.acf_sweep1[9] = 25.0f;
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_e[9], 0.963f, 1e-3f);
    EXPECT_NEAR(a.acf_cm_D_cm0[9], 0.602848f, 1e-4f);

    for (auto [type, e, ar] : {std::tuple{6, 1.0f, 50.0f}, {0, 0.986f, 5.0f}}) {
        std::memset(&a, 0, sizeof a);
        a.acf_num_thrustpoints = 1;
        a.acf_prop_type[0] = type;
        a.acf_els[0] = 5;
        a.acf_semilen_SEG[0] = 5.0f;
        a.acf_Croot[0] = a.acf_Ctip[0] = 2.0f;
        airfoils(a, 0, 0.1f, 15.0f);
        ACF_setup_wings(1);
        EXPECT_NEAR(a.acf_e[0], e, 1e-4f) << type;
        EXPECT_NEAR(a.acf_AR[0], ar, 1e-4f) << type;
        EXPECT_NEAR(a.acf_cm_D_cm0[0], ar / (ar + 2.0f), 1e-5f) << type;
    }
}

// Which root and tip a part's wing geometry takes. A flat wing half with its
// root 1 m out reaches the centre line: 1 + 4 = 5 m, aspect ratio 2 x 5 / 2 = 5.
// A fin (dihedral 90) standing on that wing's tip neither reaches the centre
// line nor joins the wing: 4 m. Two stacked fin panels (chord 2, span 2) join
// when the gap is under a tenth of the chord (0.1 m: both 4.1 m) and not when
// it is more (0.3 m: both 2 m).
TEST_F(AcfSetup, FlatWingsReachTheCentreLineAndPanelsJoinWithinATenthOfTheChord)
{
    acf_struct& a = pln[1];
    surface(a, 9, 1.0f, 0.0f, 0.0f, 2.0f, 2.0f, 4.0f, 4);
    surface(a, 18, 5.0f, 0.0f, 0.0f, 2.0f, 2.0f, 4.0f, 4);
    a.acf_dihed1[18] = 90.0f;
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_semilen_JND[9], 5.0f, 1e-4f);
    EXPECT_NEAR(a.acf_AR[9], 5.0f, 1e-4f);
    EXPECT_NEAR(a.acf_semilen_JND[18], 4.0f, 1e-4f);

    for (const auto& [gap, joined] : {std::pair{0.1f, 4.1f}, std::pair{0.3f, 2.0f}}) {
        std::memset(&a, 0, sizeof a);
        surface(a, 18, 1.0f, 0.0f, 0.0f, 2.0f, 2.0f, 2.0f, 2);
        surface(a, 19, 1.0f, 2.0f + gap, 0.0f, 2.0f, 2.0f, 2.0f, 2);
        a.acf_dihed1[18] = a.acf_dihed1[19] = 90.0f;
        ACF_setup_wings(1);
        EXPECT_NEAR(a.acf_semilen_JND[18], joined, 1e-4f) << gap;
        EXPECT_NEAR(a.acf_semilen_JND[19], joined, 1e-4f) << gap;
    }
}

TEST_F(AcfSetup, DamagedGeometryGivesFiniteValues)
{
    acf_struct& a = pln[1];
    surface(a, 9, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);   // no chords, no span, no elements
    surface(a, 10, 0.0f, 0.0f, 0.0f, 2.0f, 1.0f, 4.0f, 4, true);
    airfoils(a, 10, -5.0f, 0.0f);                            // a nonsense lift slope and stall angle
    a.acf_slat[ACF_el(10, 0)] = 1;
    a.acf_slat_inc = 5.0f;
    a.acf_part_eq[0] = 0;
    a.acf_num_engines = a.acf_num_thrustpoints = 1;          // a propeller with zero chords
    a.acf_els[0] = 4;
    a.acf_num_blades[0] = 3;
    a.acf_m_empty = 0.0f;                                     // and nothing weighs anything
    ACF_setup_wings(1);
    ACF_setup_props_and_masses(1);
    ACF_setup_slats_and_stall(1);
    for (int p : {0, 9, 10})
        for (float v : {a.acf_AR[p], a.acf_e[p], a.acf_taper[p], a.acf_cl_D_cl0[p], a.acf_al_D_al0[p],
                        a.acf_cm_D_cm0[p], a.acf_alpha_max[p], a.acf_slat_effect[p], a.acf_semilen_JND[p]})
            EXPECT_TRUE(std::isfinite(v)) << "part " << p;
    for (float v : {a.acf_Jxx_unitmass, a.acf_Jyy_unitmass, a.acf_Jzz_unitmass, a.acf_est_Vs, a.acf_discarea[0],
                    a.acf_prop_mass[0]})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(a.acf_slat_effect[10], 1.0f);   // a stall angle of 0 leaves the slats without effect
}

TEST_F(AcfSetup, ConversionRecentresOnTheCentreOfGravityAndScalesOnce)
{
    acf_struct& a = pln[1];
    a.acf_cgY = 1.0f;
    a.acf_cgZ = 10.0f;
    a.acf_Zarm[8] = 12.0f;
    a.acf_Yarm[8] = -2.0f;
    a.acf_Xarm[8] = 3.0f;
    a.acf_tow_hook_Z = 1.0f;
    a.acf_cgZ_fwd = 9.0f;
    a.acf_sweep1[8] = 540.0f;
    a.acf_sweep2[8] = -190.0f;
    a.acf_dihed1[8] = 180.0f;
    a.acf_en_type[0] = 4;
    a.acf_en_type[1] = 9;
    a.acf_en_type[2] = 0;
    a.acf_en_type[3] = 8;   // a power-rated turbine: per watt, like the pistons
    a.acf_en_type[4] = 7;   // a thrust-rated type: per newton, like the jets
    a.acf_SFC[0] = a.acf_SFC[1] = a.acf_SFC[2] = a.acf_SFC[3] = a.acf_SFC[4] = 0.5f;
    a.acf_m_empty = 1000.0f;
    a.acf_RSC_redline_eng = 2700.0f;
    a.acf_pmax = 160.0f;
    a.acf_prop_gear_rat[0] = 0.0f;   // no gearbox: a jet, no propeller speeds
    ACF_setup_convert(1);
    EXPECT_EQ(a.acf_cgY, 0.0f);
    EXPECT_EQ(a.acf_cgZ, 0.0f);
    EXPECT_NEAR(a.acf_Zarm[8], (12.0f - 10.0f) * 0.3048f, 1e-5f);
    EXPECT_NEAR(a.acf_Yarm[8], (-2.0f - 1.0f) * 0.3048f, 1e-5f);
    EXPECT_NEAR(a.acf_Xarm[8], 3.0f * 0.3048f, 1e-5f);   // X stays about the reference line
    EXPECT_NEAR(a.acf_tow_hook_Z, (1.0f - 10.0f) * 0.3048f, 1e-5f);
    EXPECT_NEAR(a.acf_cgZ_fwd, -0.3048f, 1e-5f);
    EXPECT_NEAR(a.acf_m_displaced_y, -0.3048f, 1e-6f);
    EXPECT_EQ(a.acf_sweep1[8], 180.0f);
    EXPECT_EQ(a.acf_sweep2[8], 170.0f);
    EXPECT_EQ(a.acf_dihed1[8], 180.0f);
    EXPECT_NEAR(a.acf_SFC[0], 0.5f / 9.7982788f / 3600.0f, 1e-10f);
    EXPECT_NEAR(a.acf_SFC[1], 0.5f / 3600.0f, 1e-10f);
    EXPECT_NEAR(a.acf_SFC[2], 0.5f * 0.4535925f / 745.7f / 3600.0f, 1e-11f);
    EXPECT_NEAR(a.acf_SFC[3], 0.5f * 0.4535925f / 745.7f / 3600.0f, 1e-11f);
    EXPECT_NEAR(a.acf_SFC[4], 0.5f / 9.7982788f / 3600.0f, 1e-10f);
    EXPECT_NEAR(a.acf_m_empty, 453.5925f, 1e-3f);
    EXPECT_EQ(a.acf_RSC_redline_prp, 0.0f);
    EXPECT_NEAR(a.acf_trq_max_prp, 160.0f * 745.7f / (2700.0f * 6.0f * static_cast<float>(M_PI) / 180.0f), 0.01f);

    a.acf_RSC_redline_eng = 0.0f;    // no redline: no torque rather than infinity
    ACF_setup_convert(1);
    EXPECT_EQ(a.acf_trq_max_prp, 0.0f);
}

// One field of each kind of conversion, with the factors of the unit table:
// feet 0.3048, pounds 0.4535925, pound-force 0.4535925 x 9.7982788,
// horsepower 745.7, knots 1.6878098 x 0.3048, rpm 6 pi / 180.
TEST_F(AcfSetup, EachKindOfFieldTakesItsOwnFactor)
{
    acf_struct& a = pln[1];
    const double ft = 0.3048, lbf = 0.4535925 * 9.7982788, rpm = 6.0 * M_PI / 180.0;
    a.acf_els[8] = 1;
    a.acf_s[ACF_el(8, 0)] = 10.0f;
    a.acf_mac[ACF_el(8, 0)] = 2.0f;
    a.acf_gearcon[67] = 100.0f;
    a.acf_geardmp[68] = 50.0f;
    a.acf_max_press_diff = 8.0f;
    a.acf_nw_cutoff_speed = 20.0f;
    a.acf_pmax = 100.0f;
    a.acf_puffL = 10.0f;
    a.acf_nosewheel_k = 30.0f;
    a.acf_des_rpm_prp[3] = 2400.0f;
    a.acf_prop_gear_rat[0] = 2.0f;
    a.acf_RSC_mingreen_eng = 2000.0f;
    a.acf_m_fuel_tot = 200.0f;
    a.acf_cgY = 1.0f, a.acf_cgZ = 10.0f;
    a.acf_gear_door_loc[6] = 1.0f, a.acf_gear_door_loc[7] = 2.0f, a.acf_gear_door_loc[8] = 3.0f;   // door 2
    ACF_setup_convert(1);
    const struct {
        float got;
        double want;
        const char* what;
    } rows[] = {
        {a.acf_s[ACF_el(8, 0)], 10 * ft * ft, "element area"},
        {a.acf_mac[ACF_el(8, 0)], 2 * ft, "element chord"},
        {a.acf_gearcon[67], 100 * lbf / ft, "gear spring"},
        {a.acf_geardmp[68], 50 * lbf / ft, "gear damper"},
        {a.acf_max_press_diff, 8 * lbf / (ft * ft) * 144, "pressure difference"},
        {a.acf_nw_cutoff_speed, 20 * 1.6878098 * ft, "nosewheel cut-off speed"},
        {a.acf_pmax, 100 * 745.7, "power"},
        {a.acf_puffL, 10 * lbf * ft, "puffer moment"},
        {a.acf_nosewheel_k, 30 * lbf, "nosewheel force"},
        {a.acf_des_rpm_prp[3], 2400 * rpm, "design speed"},
        {a.acf_RSC_mingreen_prp, 2000 * rpm / 2, "propeller green arc"},
        {a.acf_m_fuel_tot, 200 * 0.4535925, "fuel"},
        {a.acf_gear_door_loc[6], 1 * ft, "door x"},
        {a.acf_gear_door_loc[7], (2 - 1) * ft, "door y"},
        {a.acf_gear_door_loc[8], (3 - 10) * ft, "door z"},
    };
    for (const auto& r : rows) EXPECT_NEAR(r.got, r.want, 1e-5 * std::fabs(r.want)) << r.what;
}

// Every single-value field of the conversion table, given 10 in the file
// (the centre of gravity at the reference point), comes out as 10 times its
// factor; of each array one entry stands for the rest.
TEST_F(AcfSetup, EveryConvertedFieldTakesItsFactor)
{
    acf_struct& a = pln[1];
    const float ft = 0.3048f, sqft = ft * ft, lbf = 0.4535925f * 9.7982788f;
    std::vector<std::pair<float*, float>> fields;
    auto add = [&](float factor, std::initializer_list<float*> list) {
        for (float* f : list) fields.emplace_back(f, factor);
    };
    add(ft, {&a.acf_peX, &a.acf_peY, &a.acf_peZ, &a.acf_critalt, &a.acf_lanlite1X, &a.acf_lanlite1Y, &a.acf_lanlite1Z,
             &a.acf_lanlite2X, &a.acf_lanlite2Y, &a.acf_lanlite2Z, &a.acf_lanlite3X, &a.acf_lanlite3Y, &a.acf_lanlite3Z,
             &a.acf_fuserb1X, &a.acf_fuserb1Y, &a.acf_fuserb1Z, &a.acf_fuserb2X, &a.acf_fuserb2Y, &a.acf_fuserb2Z,
             &a.acf_tailliteX, &a.acf_tailliteY, &a.acf_tailliteZ, &a.acf_refuel_X, &a.acf_refuel_Y, &a.acf_refuel_Z,
             &a.acf_tank_X[2], &a.acf_tank_Y[1], &a.acf_tank_Z[0], &a.jett_X, &a.jett_Y, &a.jett_Z, &a.jett_len,
             &a.acf_cgZ_fwd, &a.acf_cgZ_aft, &a.acf_jato_Y, &a.acf_jato_Z, &a.acf_brake_Y, &a.acf_brake_Z,
             &a.acf_chute_Y, &a.acf_chute_Z, &a.acf_tow_hook_Y, &a.acf_tow_hook_Z, &a.acf_win_hook_Y,
             &a.acf_win_hook_Z, &a.acf_mass_shift_dx, &a.acf_mass_shift_dz, &a.acf_flap_arm, &a.acf_h_opt,
             &a.acf_h_eqlbm, &a.acf_vectarmY, &a.acf_vectarmZ, &a.acf_water_rud_longarm, &a.acf_Xwpn_att[23],
             &a.acf_Ywpn_att[0], &a.acf_Zwpn_att[5], &a.acf_body_r[50], &a.acf_Xarm[72], &a.acf_Yarm[0],
             &a.acf_Zarm[30], &a.acf_Croot[9], &a.acf_Ctip[9], &a.acf_semilen_SEG[9], &a.acf_semilen_JND[9],
             &a.acf_gear_leglen[67], &a.acf_gear_tirrad[68], &a.acf_gear_tirwid[69], &a.acf_gear_retract_len[70],
             &a.acf_gearstatdef[71], &a.acf_body_X[44 * 360 + 5], &a.acf_body_Y[60 * 360], &a.acf_body_Z[72 * 360 + 359],
             &a.acf_gear_door_geo[119], &a.acf_gear_door_loc[0]});
    add(sqft, {&a.acf_face_jet, &a.acf_face_rocket, &a.acf_brake_area, &a.acf_chute_area, &a.acf_water_rud_area});
    add(lbf, {&a.acf_tmax, &a.acf_fmax_sl, &a.acf_fmax_opt, &a.acf_fmax_vac, &a.acf_burnerinc, &a.acf_jato_thrust,
              &a.acf_puffX, &a.acf_puffY, &a.acf_puffZ});
    add(lbf * ft, {&a.acf_puffL, &a.acf_puffM, &a.acf_puffN});
    add(0.4535925f, {&a.acf_m_empty, &a.acf_m_displaced, &a.acf_m_max, &a.acf_m_jettison, &a.acf_mass_shift,
                     &a.aacf_tip_weight});
    add(1.6878098f * ft, {&a.acf_blown_flap_add_speed});
    add(6.0f * static_cast<float>(M_PI) / 180.0f,
        {&a.acf_RSC_idlespeed_eng, &a.acf_RSC_redline_eng, &a.acf_RSC_maxgreen_eng, &a.acf_des_rpm_prp[7]});
    for (auto& [f, factor] : fields) *f = 10.0f;
    ACF_setup_convert(1);
    for (size_t k = 0; k < fields.size(); ++k)
        EXPECT_NEAR(*fields[k].first, 10.0f * fields[k].second, 1e-4f * 10.0f * fields[k].second) << "field " << k;
}

// With the centre of gravity 1 ft up and 10 ft aft of the reference point,
// every point of the re-centring list given at (y 3, z 20) ft ends at
// (2, 10) ft from it, in metres; the centre-of-gravity limits lose 10 ft.
TEST_F(AcfSetup, EveryPointIsMeasuredFromTheCentreOfGravity)
{
    acf_struct& a = pln[1];
    a.acf_cgY = 1.0f;
    a.acf_cgZ = 10.0f;
    const std::pair<float*, float*> points[] = {
        {&a.acf_Yarm[40], &a.acf_Zarm[40]}, {&a.acf_Ywpn_att[7], &a.acf_Zwpn_att[7]}, {&a.acf_peY, &a.acf_peZ},
        {&a.acf_lanlite1Y, &a.acf_lanlite1Z}, {&a.acf_lanlite2Y, &a.acf_lanlite2Z}, {&a.acf_lanlite3Y, &a.acf_lanlite3Z},
        {&a.acf_fuserb1Y, &a.acf_fuserb1Z}, {&a.acf_fuserb2Y, &a.acf_fuserb2Z}, {&a.acf_tailliteY, &a.acf_tailliteZ},
        {&a.acf_refuel_Y, &a.acf_refuel_Z}, {&a.acf_jato_Y, &a.acf_jato_Z}, {&a.acf_brake_Y, &a.acf_brake_Z},
        {&a.acf_chute_Y, &a.acf_chute_Z}, {&a.acf_tow_hook_Y, &a.acf_tow_hook_Z}, {&a.acf_win_hook_Y, &a.acf_win_hook_Z},
        {&a.acf_tank_Y[0], &a.acf_tank_Z[0]}, {&a.acf_tank_Y[2], &a.acf_tank_Z[2]}, {&a.jett_Y, &a.jett_Z},
        {&a.acf_gear_door_loc[9 * 3 + 1], &a.acf_gear_door_loc[9 * 3 + 2]},
    };
    for (const auto& [y, z] : points) *y = 3.0f, *z = 20.0f;
    a.acf_cgZ_fwd = a.acf_cgZ_aft = 20.0f;
    ACF_setup_convert(1);
    for (size_t k = 0; k < std::size(points); ++k) {
        EXPECT_NEAR(*points[k].first, 2.0f * 0.3048f, 1e-5f) << "point " << k;
        EXPECT_NEAR(*points[k].second, 10.0f * 0.3048f, 1e-5f) << "point " << k;
    }
    EXPECT_NEAR(a.acf_cgZ_fwd, 10.0f * 0.3048f, 1e-5f);
    EXPECT_NEAR(a.acf_cgZ_aft, 10.0f * 0.3048f, 1e-5f);
}

// A leg 2 m long leaning 10 degrees forward puts the wheel of a gear 0.1 m
// behind the centre of gravity 0.247 m ahead of it: it steers. Retracted,
// 1.5 m shorter, the wheel stays 0.013 m behind: it does not.
TEST_F(AcfSetup, GearLegLeanDecidesWhichWheelSteers)
{
    acf_struct& a = pln[1];
    for (auto [deploy, steers] : {std::pair{1.0f, 1}, {0.0f, 0}}) {
        std::memset(&a, 0, sizeof a);
        a.acf_part_eq[67] = 1;
        a.acf_gear_type[67] = 2;
        a.acf_Zarm[67] = 0.1f;
        a.acf_gear_leglen[67] = 2.0f;
        a.acf_gear_retract_len[67] = 1.5f;
        a.acf_gear_lonE[67] = 10.0f;
        a.acf_gear_deploy[67] = deploy;
        ACF_setup_gear(1);
        EXPECT_EQ(a.acf_gear_steers[67], steers) << deploy;
    }
}

TEST_F(AcfSetup, GearSteeringTyreFootprintAndHybridGear)
{
    acf_struct& a = pln[1];
    for (int p : {67, 68, 69}) {
        a.acf_part_eq[p] = 1;
        a.acf_gear_type[p] = 2;
        a.acf_gear_tirrad[p] = 0.3f;
        a.acf_gear_tirwid[p] = 0.1f;
        a.acf_gear_deploy[p] = 1.0f;
    }
    a.acf_Zarm[67] = -2.0f;   // ahead of the centre of gravity
    a.acf_Zarm[68] = 1.0f;
    a.acf_Zarm[69] = 0.0f;    // exactly below it: never steers
    a.acf_gear_lonE[68] = 7.0f;
    a.acf_gear_type[70] = 1;  // a skid out of service counts for nothing
    ACF_setup_gear(1);
    EXPECT_EQ(a.acf_gear_steers[67], 1);
    EXPECT_EQ(a.acf_gear_steers[68], 0);
    EXPECT_EQ(a.acf_gear_steers[69], 0);
    EXPECT_EQ(a.acf_gear_lonN[68], 7.0f);
    EXPECT_NEAR(a.acf_tire_contact_area, 3.0f * std::sin(4.0f * static_cast<float>(M_PI) / 180.0f) * 0.03f, 1e-6f);
    EXPECT_EQ(a.acf_hybrid_gear, 0);

    a.acf_is_taildragger = 1;
    a.acf_part_eq[70] = 1;
    a.acf_gear_tirrad[70] = 0.1f;
    ACF_setup_gear(1);
    EXPECT_EQ(a.acf_gear_steers[67], 0);
    EXPECT_EQ(a.acf_gear_steers[68], 1);
    EXPECT_EQ(a.acf_gear_steers[69], 0);
    EXPECT_EQ(a.acf_gear_steers[70], 0);   // a skid never steers
    EXPECT_EQ(a.acf_hybrid_gear, 1);
}

TEST_F(AcfSetup, RotorBladesEnginesAndInertia)
{
    acf_struct& a = pln[1];
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = 2;
    a.acf_prop_type[0] = 3;
    a.acf_els[0] = 8;
    a.acf_semilen_SEG[0] = 5.0f;
    a.acf_element_len[0] = 5.0f / 8.0f;
    a.acf_Croot[0] = a.acf_Ctip[0] = 0.3f;
    airfoils(a, 0, 0.1f, 13.0f, 0.12f);
    a.aacf_rotor_mi_rat = 1.0f;
    a.acf_num_blades[0] = 1.0f;
    a.acf_m_empty = 1000.0f;
    a.acf_pmax = 300000.0f;
    ACF_setup_props_and_masses(1);
    const float one_blade = a.acf_prop_mass[0];
    // 5 m x 0.3 m chord x 0.036 m thickness x 0.67 filled x 2700 kg/m3; gyrating at 0.7071 of the span.
    EXPECT_NEAR(one_blade, 97.686f, 0.01f);
    EXPECT_NEAR(a.acf_miprop_rpm[0], 0.7071f * 5.0f * 0.7071f * 5.0f * 97.686f + 0.0f, 0.05f);
    EXPECT_EQ(a.acf_has_collective_rotor, 1);
    EXPECT_EQ(a.acf_collective_rotor_index, 0);
    EXPECT_NEAR(a.acf_discarea[0], static_cast<float>(M_PI) * 25.0f, 1e-3f);
    float rings = 0.0f;
    for (int e = 0; e < 8; ++e) rings += a.acf_ringarea[e];
    EXPECT_NEAR(rings, a.acf_discarea[0], 1e-3f);

    a.acf_num_blades[0] = 4.0f;
    ACF_setup_props_and_masses(1);
    EXPECT_NEAR(a.acf_prop_mass[0], 4.0f * one_blade, 1e-4f);
    // Tip weights of a rotor add their own inertia: with no blade mass it is all there is.
    a.aacf_rotor_mi_rat = 0.0f;
    a.aacf_tip_weight = 10.0f;
    ACF_setup_props_and_masses(1);
    EXPECT_EQ(a.acf_prop_mass[0], 0.0f);
    EXPECT_NEAR(a.acf_miprop_rpm[0], 10.0f * 4.0f * (0.85f * 5.0f) * (0.85f * 5.0f), 1e-2f);
    // A turboshaft weighs half a pound per horsepower; at the centre of gravity it adds no inertia.
    EXPECT_NEAR(a.acf_eng_mass[0], 300000.0f / 745.7f * 0.5f * 0.4535925f, 0.01f);
    EXPECT_EQ(a.acf_Jxx_unitmass, 0.0f);

    // Pounds per horsepower or per pound of thrust, by engine type: pistons
    // 1.75 at sea-level boost and more below it, jets 0.18, rockets 0.01.
    struct engine { int type; float mpmax; float kg; };
    a.acf_pmax = 7457.0f;          // 10 hp
    a.acf_tmax = 4444.4261f;       // 1000 lbf
    for (const engine& e : {engine{0, 29.92f, 7.93787f}, engine{1, 14.96f, 22.4517f}, engine{3, 29.92f, 7.93787f},
                            engine{8, 29.92f, 2.26796f}, engine{4, 29.92f, 81.6467f}, engine{5, 29.92f, 81.6467f},
                            engine{6, 29.92f, 4.53593f}, engine{7, 29.92f, 4.53593f}, engine{9, 29.92f, 0.0f}}) {
        a.acf_en_type[0] = e.type;
        a.acf_mpmax = e.mpmax;
        ACF_setup_props_and_masses(1);
        EXPECT_NEAR(a.acf_eng_mass[0], e.kg, 1e-3f) << e.type;
    }

    // A lift fan (type 6) doubles the blades' inertia about the hub.
    a.acf_prop_type[0] = 6;
    a.acf_en_type[0] = 2;
    a.aacf_rotor_mi_rat = 1.0f;
    ACF_setup_props_and_masses(1);
    EXPECT_NEAR(a.acf_miprop_rpm[0], 2.0f * (0.7071f * 5.0f) * (0.7071f * 5.0f) * 4.0f * 97.686f, 0.5f);

    // A one-element wing 4 m long carries the airframe's mass at 75 % of its
    // span (3 m out); an engine at the centre of gravity weighing 912 kg counts
    // only up to half the 1000-kg empty mass, so the roll inertia per unit
    // mass is 0.5 x 3^2.
    surface(a, 8, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 4.0f, 1);
    ACF_setup_wings(1);
    a.acf_s[ACF_el(8, 0)] = 4.0f;
    a.acf_pmax = 3000000.0f;
    ACF_setup_props_and_masses(1);
    EXPECT_NEAR(a.acf_eng_mass[0], 912.4f, 0.1f);
    EXPECT_NEAR(a.acf_Jzz_unitmass, 4.5f, 1e-3f);
}

TEST_F(AcfSetup, DownwashMapEverySlotFactorsOnlyForTheUsersAircraft)
{
    for (int slot : {0, 3}) {
        acf_struct& a = pln[slot];
        // A left wing (8) ahead of a left tail (16): washer taper 1, aspect
        // ratio 6, 0.5 semispans behind and 0.67 semispans above it.
        surface(a, 8, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 3.0f, 3, true);
        surface(a, 16, 0.0f, 2.0f, 1.5f, 0.2f, 0.2f, 1.0f, 2, true);
        surface(a, 18, 0.0f, 0.0f, 2.0f, 1.0f, 1.0f, 1.0f, 2);   // a fin: never washed or washing
        a.acf_dihed1[18] = 90.0f;
        a.acf_spec_wash[8] = 7.0f;                               // the file's value
        ACF_setup_wings(slot);
        ACF_setup_downwash(slot);
        EXPECT_EQ(a.acf_in_downwash[(16 * ACF_NUM_PARTS + 8) * ACF_ELS_PER_PART + 0], 1) << slot;
        EXPECT_EQ(a.acf_in_downwash[(16 * ACF_NUM_PARTS + 8) * ACF_ELS_PER_PART + 1], 1) << slot;
        EXPECT_EQ(a.acf_in_downwash[(8 * ACF_NUM_PARTS + 16) * ACF_ELS_PER_PART + 0], 0) << slot;
        EXPECT_EQ(a.acf_in_downwash[(18 * ACF_NUM_PARTS + 8) * ACF_ELS_PER_PART + 0], 0) << slot;
    }
    // a = -1.1 (taper 1), b = 2.0 (AR 6), c = 5.1 (gz <= 0.6), d = -3.2 (gy >= 0.6).
    EXPECT_NEAR(pln[0].acf_spec_wash[8], -1.1f + 2.0f + 5.1f - 3.2f, 1e-4f);
    EXPECT_EQ(pln[3].acf_spec_wash[8], 7.0f);

    // Root chords that overlap lengthwise halve the factor.
    pln[0].acf_Croot[16] = 1.0f;
    ACF_setup_downwash(0);
    EXPECT_NEAR(pln[0].acf_spec_wash[8], 0.5f * (-1.1f + 2.0f + 5.1f - 3.2f), 1e-4f);

    // Inside every limit: taper 0.5 gives a = 0, aspect ratio 7.5 gives b = 1,
    // 1.1 semispans behind c = 4.6 and 0.3 above d = -1.6.
    acf_struct& u = pln[0];
    u.acf_Croot[16] = 0.2f;
    u.acf_taper[8] = 0.5f;
    u.acf_AR[8] = 7.5f;
    const float semispan = u.acf_semilen_JND[8];
    u.acf_Yarm[16] = u.acf_Yarm[8] + 0.3f * semispan;
    u.acf_Zarm[16] = u.acf_Zarm[8] + 1.1f * semispan;
    ACF_setup_downwash(0);
    EXPECT_NEAR(u.acf_spec_wash[8], 0.0f + 1.0f + 4.6f - 1.6f, 1e-4f);
    // 2 semispans behind: c is held at 4.1 (from gz 1.6 on).
    u.acf_Zarm[16] = u.acf_Zarm[8] + 2.0f * semispan;
    ACF_setup_downwash(0);
    EXPECT_NEAR(u.acf_spec_wash[8], 0.0f + 1.0f + 4.1f - 1.6f, 1e-4f);
}

// Only a part strictly ahead on the same side washes another: a left wing
// (8, 3 m) washes the left tail behind it (16) but neither the right tail
// (17) nor a left wing at its own Z (10), though all lie within its span.
TEST_F(AcfSetup, DownwashNeedsAPartStrictlyAheadOnTheSameSide)
{
    acf_struct& a = pln[2];
    surface(a, 8, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 3.0f, 3, true);
    surface(a, 10, 0.0f, 0.5f, 0.0f, 1.0f, 1.0f, 1.0f, 2, true);
    surface(a, 16, 0.0f, 0.0f, 2.0f, 0.5f, 0.5f, 1.0f, 2, true);
    surface(a, 17, 0.0f, 0.0f, 2.0f, 0.5f, 0.5f, 1.0f, 2);
    ACF_setup_wings(2);
    ACF_setup_downwash(2);
    auto washed = [&](int p, int j) {
        int n = 0;
        for (int i = 0; i < ACF_ELS_PER_PART; ++i) n += a.acf_in_downwash[(p * ACF_NUM_PARTS + j) * ACF_ELS_PER_PART + i];
        return n;
    };
    EXPECT_EQ(washed(16, 8), 2);
    EXPECT_EQ(washed(17, 8), 0);
    EXPECT_EQ(washed(10, 8) + washed(8, 10), 0);

    // A canard from 1 m to 2 m out washes only the middle one of a wing's
    // elements centred 0.5, 1.5 and 2.5 m out.
    std::memset(&a, 0, sizeof a);
    surface(a, 9, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 3.0f, 3);
    surface(a, 11, 1.0f, 0.0f, -2.0f, 0.5f, 0.5f, 1.0f, 1);
    ACF_setup_wings(2);
    ACF_setup_downwash(2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(a.acf_in_downwash[(9 * ACF_NUM_PARTS + 11) * ACF_ELS_PER_PART + i], i == 1) << i;

    // Dihedrals of 30 and -30 degrees differ by 60: no wash, though each is flat enough.
    std::memset(&a, 0, sizeof a);
    surface(a, 9, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 3.0f, 3);
    surface(a, 13, 0.0f, 0.0f, -1.0f, 1.0f, 1.0f, 3.0f, 3);
    a.acf_dihed1[9] = 30.0f;
    a.acf_dihed1[13] = -30.0f;
    ACF_setup_wings(2);
    ACF_setup_downwash(2);
    EXPECT_EQ(washed(9, 13), 0);
}

TEST_F(AcfSetup, InitialFuelPayloadAndJettisonMasses)
{
    acf_struct& a = pln[1];
    a.acf_num_tanks = 2;
    a.acf_tank_rat[0] = 0.6f;
    a.acf_tank_rat[1] = 0.1f;
    a.acf_tank_rat[2] = 0.5f;
    a.acf_m_fuel_tot = 1000.0f;
    a.acf_m_jettison = 100.0f;
    a.acf_m_empty = 2000.0f;
    a.acf_m_max = 5000.0f;
    std::strcpy(a.wpn_name + 3 * ACF_WPN_NAME_SIZE, "tank.wpn");
    a.acf_wpn_slot[3].wpn_fixed_mass = 20.0f;
    a.acf_wpn_slot[3].wpn_mass_now = 80.0f;
    a.acf_wpn_slot[4].wpn_mass_now = 500.0f;   // no name: not aboard
    ACF_setup_initial_masses(1);
    const flt_struct& f = flt[1];
    EXPECT_FLOAT_EQ(f.m_fuel1, 250.0f);
    EXPECT_FLOAT_EQ(f.m_fuel2, 100.0f);
    EXPECT_EQ(f.m_fuel3, 0.0f);
    EXPECT_FLOAT_EQ(f.m_jettison, 50.0f);
    EXPECT_FLOAT_EQ(f.m_fixed, 0.5f * (5000.0f - 1000.0f - 100.0f - 2000.0f - 100.0f));

    a.acf_jett_is_slung = 1;
    a.acf_m_displaced = 4000.0f;   // a float plane: the payload fills up to the displacement
    ACF_setup_initial_masses(1);
    EXPECT_EQ(f.m_jettison, 0.0f);
    EXPECT_FLOAT_EQ(f.m_fixed, 4000.0f - 1000.0f - 100.0f - 2000.0f - 100.0f);
    a.acf_m_displaced = 3000.0f;
    ACF_setup_initial_masses(1);
    EXPECT_EQ(f.m_fixed, 0.0f);

    // Four tanks: the three tank masses each take 0.5 / 4 of the fuel.
    a.acf_num_tanks = 4;
    a.acf_tank_rat[1] = 0.6f;
    ACF_setup_initial_masses(1);
    EXPECT_EQ((std::vector<float>{f.m_fuel1, f.m_fuel2, f.m_fuel3}), (std::vector<float>{125.0f, 125.0f, 125.0f}));
}

// A tapered wing half (chords 4 and 1, 3 m, quarter-chord line straight
// out): its leading edge sweeps back asin(0.75 / 3.0923) = 14.04 degrees, so
// the delta factor is (1 - (65 - 14.04) / 65) x (1 - 0.25) x (1 - 1.9 / 9.5)
// = 0.12957. Two stacked wings 1.5 m apart, of 4 and 5 m: gap 1.5 / 9, span
// ratio 0.8, sigma 0.52856, e = 2 x 0.64 / (2 x 0.52856 x 0.8 + 0.64 + 1)
// = 0.51494 for both. A wing of 20 m2 (plus 0.1) carrying 1,000 kg stalls at
// sqrt(2 g 1000 / (1.225 x 20.1)) = 28.211 m/s; a tiny one at the 250-knot
// cap; a floating one at 40 knots.
TEST_F(AcfSetup, DeltaFactorBiplaneEfficiencyAndStallSpeed)
{
    acf_struct& a = pln[1];
    surface(a, 9, 0.0f, 0.0f, 0.0f, 4.0f, 1.0f, 3.0f, 3);
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_delta_fac[9], 0.12957f, 2e-4f);

    std::memset(&a, 0, sizeof a);
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 4.0f, 4);
    surface(a, 11, 0.0f, 1.5f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_e[9], 0.51494f, 2e-4f);
    EXPECT_NEAR(a.acf_e[11], 0.51494f, 2e-4f);

    std::memset(&a, 0, sizeof a);
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    a.acf_m_max = 1000.0f;
    ACF_setup_slats_and_stall(1);
    EXPECT_NEAR(a.acf_est_Vs, 28.2113f, 1e-3f);
    a.acf_semilen_SEG[9] = 0.001f;
    ACF_setup_slats_and_stall(1);
    EXPECT_NEAR(a.acf_est_Vs, 250.0f * 0.514444f, 0.01f);
    a.acf_m_displaced = 600.0f;
    ACF_setup_slats_and_stall(1);
    EXPECT_NEAR(a.acf_est_Vs, 40.0f * 0.514444f, 0.01f);
}

// Two flat wings 1.5 m apart (chord 2, spans 4 and 5) take the biplane
// efficiency, about 0.51; each broken condition leaves the plain efficiency
// of 0.9 or more: dihedrals 12 degrees apart, a lateral offset (1.9) above
// the height difference, spans 5 m apart (over twice the tip chord), or
// 2 m of stagger (more than the height difference).
TEST_F(AcfSetup, BiplaneFactorOnlyForStackedWingsOfTheSameSpan)
{
    acf_struct& a = pln[1];
    const struct {
        const char* what;
        float dihedral, x, span, z;
        bool biplane;
    } rows[] = {
        {"stacked", 0.0f, 0.0f, 5.0f, 0.0f, true},    {"dihedral", 12.0f, 0.0f, 5.0f, 0.0f, false},
        {"offset", 0.0f, 1.9f, 5.0f, 0.0f, false},    {"span", 0.0f, 0.0f, 9.0f, 0.0f, false},
        {"stagger", 0.0f, 0.0f, 5.0f, 2.0f, false},
    };
    for (const auto& r : rows) {
        std::memset(&a, 0, sizeof a);
        surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 4.0f, 4);
        surface(a, 11, r.x, 1.5f, r.z, 2.0f, 2.0f, r.span, 5);
        a.acf_dihed1[11] = r.dihedral;
        ACF_setup_wings(1);
        EXPECT_EQ(a.acf_e[9] < 0.6f, r.biplane) << r.what << " " << a.acf_e[9];
    }

    // A tip joins the next part's root only within a tenth of its own tip
    // chord: 0.1 m from a tip chord of 0.5 is too far, though within a tenth
    // of the root chord.
    std::memset(&a, 0, sizeof a);
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 0.5f, 4.0f, 4);
    surface(a, 11, 4.1f, 0.0f, 0.0f, 0.5f, 0.5f, 2.0f, 2);
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_semilen_JND[9], 4.0f, 1e-4f);

    // What a supercharger holds at a critical altitude of 3,000 m.
    a.acf_critalt = 3000.0f;
    ACF_setup_wings(1);
    EXPECT_NEAR(a.acf_critalt_boost_pa, (1.0f - ATMO_density_at_alt(0, 3000.0f) / 1.225f) * 101325.0f, 0.5f);
}

// Slats at 5 degrees on a part stalling at 10 raise its stall angle by half;
// a collective rotor's stall estimate is 50 kt unless it vectors its thrust.
TEST_F(AcfSetup, SlatEffectAndTheRotorStallEstimate)
{
    acf_struct& a = pln[1];
    surface(a, 9, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 5.0f, 5);
    surface(a, 11, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 0.0f, 2);
    a.acf_slat[ACF_el(9, 4)] = 1;
    a.acf_slat_inc = 5.0f;
    a.acf_alpha_max[9] = a.acf_alpha_max[11] = 10.0f;
    a.acf_m_max = 1000.0f;
    a.acf_has_collective_rotor = 1;
    for (auto [vect, vs] : {std::pair{1, 28.2113f}, {0, 50.0f * 0.514444f}}) {
        a.acf_vectEQ = vect;
        ACF_setup_slats_and_stall(1);
        EXPECT_NEAR(a.acf_est_Vs, vs, 1e-2f) << vect;
    }
    EXPECT_FLOAT_EQ(a.acf_slat_effect[9], 1.5f);
    EXPECT_EQ(a.acf_slat_effect[11], 1.0f);
}

// The user's aircraft's report lines for the downwash map, a washer's factor
// and the centre of pressure. A left wing (8, "LW1": three elements, 3 m
// semispan, chord 1) washes both elements of a left tail (16, "LHS") 1.5 m
// behind and 2 m above it: the tail's map line lists its elements 9 down to 0
// (eight empty cells of twelve blanks, then two cells whose first code, wing
// 8's "W1", is set), then "ФЮЗ." and the ten empty cells of the right tail;
// the factor is -1.1 + 2.0 + 5.1 - 3.2 = 2.8. Centre of pressure, with the
// wing swept so that its stations i lie at z = 0.5 i (areas 1, 1, 2, chords 1,
// delta factor 0.4) and the tail's two elements (areas 0.5, chords 0.2) at
// z = 1.5: Cp1 = (0.5 + 2 + 0.75 + 0.75) / 5 = 0.8; Cp2 = (4 + 0.25 x 0.4 x 4)
// / 5 = 0.88; mean chord 3.4 / 5 = 0.68; margins 1.18 and 1.29.
TEST_F(AcfSetup, ReportListsTheDownwashMapItsFactorsAndTheCentreOfPressure)
{
    logs_folder logs;
    std::memset(ui_text_table, 0, sizeof ui_text_table);
    std::strcpy(ui_text_table[UI_TEXT_PART_NAMES + 8], "LW1");
    std::strcpy(ui_text_table[UI_TEXT_PART_NAMES + 16], "LHS");
    acf_struct& a = pln[0];
    surface(a, 8, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 3.0f, 3, true);
    surface(a, 16, 0.0f, 2.0f, 1.5f, 0.2f, 0.2f, 1.0f, 2, true);
    surface(a, 14, 0.0f, 1.0f, 0.75f, 0.5f, 0.5f, 2.0f, 2, true);   // a fourth wing between them
    ACF_setup_wings(0);
    ACF_setup_downwash(0);
    const std::string empty_cell(14, ' '), washed = " W1----W4---- ";
    std::string map_line = "LHS: ";
    for (int k = 0; k < 8; ++k) map_line += empty_cell;
    map_line += washed + washed + ACF_cp1251("ФЮЗ.");
    for (int k = 0; k < 10; ++k) map_line += empty_cell;
    std::string out = logs.report();
    // An element's area: eight characters with three decimals, then its unit.
    const std::string element = ACF_cp1251("   Элемент # 1: S="), unit = ACF_cp1251(" кв. м, САХ =");
    const std::size_t at = out.find(element);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(out.substr(at + element.size(), 8).find('.'), 4u) << out.substr(at, 40);
    EXPECT_EQ(out.compare(at + element.size() + 8, unit.size(), unit), 0) << out.substr(at, 40);
    EXPECT_NE(out.find("\n" + map_line + "\n"), std::string::npos);
    EXPECT_NE(out.find(ACF_cp1251("Для LW1 при      6.00,\n")), std::string::npos);
    EXPECT_NE(out.find(ACF_cp1251("LW1 скос потока на LHS    =       2.80грд на коэф. подъемной силы.\n")),
              std::string::npos);

    const float areas[5] = {1.0f, 1.0f, 2.0f, 0.5f, 0.5f}, chords[5] = {1.0f, 1.0f, 1.0f, 0.2f, 0.2f};
    const int elements[5] = {80, 81, 82, 160, 161};
    for (int k = 0; k < 5; ++k) {
        a.acf_s[elements[k]] = areas[k];
        a.acf_mac[elements[k]] = chords[k];
    }
    a.acf_part_eq[14] = 0;   // the centre of pressure over the wing and the tail only
    flt[0].foil_sin_swe[8] = 0.5f;
    a.acf_delta_fac[8] = 0.4f;
    a.acf_delta_fac[16] = 0.0f;
    ACF_setup_pressure_centre(0);
    out = logs.report();
    const char* lines[] = {
        "\nЦентр тяжести для всех профилей   0.80 м (положит. назад от ЦТ)",
        "\nЦентр тяжести для всех профилей   0.88 м (положит. назад от ЦТ) когда",
        "\nСредняя хорда всех профилей     =        0.68 m.\n",
        "\nТаким образом, статический предел   =    1.18 (положит. уст.)",
        "\nТаким образом, статический предел   =    1.29 (полоит. уст.)",
    };
    for (const char* l : lines) EXPECT_NE(out.find(ACF_cp1251(l)), std::string::npos) << l;
}
