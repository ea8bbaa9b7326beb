// The force-and-moment report of one build-up, byte for byte, on a plane of
// one wing element whose numbers are worked out by hand; and the
// stability-derivative report.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/reset_registry.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/ui_text.h"
#include "flightmodel/forces/stability.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/test_support.h"

using namespace forces_test;

namespace {

const std::string RULE(100, '\xA5');

std::string heading(const std::string& title) { return "\xA5\xA5\xA5" + title + std::string(97 - title.size(), '\xA5') + "\n"; }

std::string totals(const std::string& title, const std::string& lines)
{
    return RULE + "\n" + heading(title) + RULE + "\n" + lines + RULE + "\n\n";
}

// One right wing element of 1 m^2 and 1 m chord, 1 m right of the centre of
// gravity, flying at 40 m/s; its airfoil gives cl 0.5, cd 0.02, cm -0.1 at any angle.
struct ReportedFrame : ::testing::Test {
    logs_folder logs;

    void SetUp() override
    {
        RESET_all();   // nothing an earlier test left in the weather or the records
        CONST_fill_constants();
        std::memset(&pln[0], 0, sizeof pln[0]);
        std::memset(&flt[0], 0, sizeof flt[0]);
        still_air();
        sim_weather.speed_of_sound_ms = 1.0e6f;   // no compressibility to work out
        acf_struct& a = pln[0];
        a.acf_part_eq[9] = 1;
        a.acf_els[9] = 1;
        a.acf_element_len[9] = 2.0f;
        a.acf_Croot[9] = a.acf_Ctip[9] = 1.0f;
        a.acf_s[90] = a.acf_mac[90] = 1.0f;
        a.acf_cl_D_cl0[9] = a.acf_cm_D_cm0[9] = a.acf_al_D_al0[9] = 1.0f;
        a.acf_alpha_max[9] = 15.0f;
        a.acf_m_empty = 1000.0f;
        a.acf_Jxx_unitmass = 1.8f, a.acf_Jyy_unitmass = 2.7f, a.acf_Jzz_unitmass = 1.3f;
        afl_block& b = a.afl[9];
        b.afl_t_rat[0] = b.afl_t_rat[1] = 0.12f;
        b.afl_mach_div[0] = b.afl_mach_div[1] = 0.75f;
        for (int t = 0; t < AFL_TABLES; ++t) {
            b.afl_clM[t] = 0.1f;
            for (int i = 0; i < AFL_ROWS; ++i) {
                b.afl_cl[t * AFL_ROWS + i] = 0.5f;
                b.afl_cd[t * AFL_ROWS + i] = 0.02f;
                b.afl_cm[t * AFL_ROWS + i] = -0.1f;
            }
        }
        flt_struct& f = flt[0];
        f.foil_cos_dih[9] = f.foil_cos_swe[9] = 1.0f;
        f.Q_centroid_MULT[36] = 1.0f;
        f.cos_theta = f.track_cos = f.cos_phi = f.cos_alpha = f.cos_beta = 1.0f;
        f.local_y = 1000.0f, f.y_agl = 1000.0f;
        f.local_vz = -40.0f;
        f.vz_air_on_acf = 40.0f;
        f.true_airspeed = f.groundspeed = 40.0f;
        f.machno = 40.0f / 1.0e6f;
        f.Qstatic = 980.0f;
        flying_frame_count = 42;
        std::strcpy(ui_text_table[UI_TEXT_PART_NAMES + 9], "RIGHT WING");
    }
    void TearDown() override
    {
        sim_network_dataout.dump_next_cycle = 0;
        sim_flightmodel_misc.stab_ptch_test = sim_flightmodel_misc.stab_hdng_test = 0;
    }
    std::string report() const { return logs.report(); }
};

}  // namespace

TEST_F(ReportedFrame, OneFrameByHand)
{
    sim_network_dataout.dump_next_cycle = 1;
    FM_forces_and_moments();

    const std::string header =
        "\n" + RULE + "\n" + RULE + "\n" + "\xA5\xA5\xA5" + "AT TIME COUNTER     42" + std::string(75, '\xA5') + "\n" + RULE +
        "\n" + RULE + "\n" +
        "h       =1000.00 meters.\n"
        "rho     = 1.2250 kg/cubic meter, density ratio= 1.0000.\n"
        "vx      =0.0000\n"
        "vy      =0.0000\n"
        "vz      =-40.0000\n"
        "vh      =0.0000\n"
        "mach-1  =1000000.00 m/s\n"
        "airspeed=  40.00 m/s\n"
        "mach    = 0.0000.\n"
        "\n"
        "flight control ptch= 0.0000 ratio.\n"
        "flight control hdng= 0.0000 ratio.\n"
        "flight control roll= 0.0000 ratio.\n"
        "\n"
        "psi=   0.00 deg.\n"
        "the=   0.00 deg.\n"
        "phi=   0.00 deg.\n"
        "\n"
        "alpha=   0.00 deg. (pos nose up)\n"
        "beta =   0.00 deg. (pos nose right)\n"
        "\n"
        "P=   0.00 deg/second.\n"
        "Q=   0.00 deg/second.\n"
        "R=   0.00 deg/second.\n"
        "\n"
        "y-value of terrain under aircraft      =   0.00 m.\n"
        "resting height of aircraft above ground=   0.00 m.\n"
        "\n"
        "alpha_use (after prediction)=   0.00 deg.\n"
        "beta_use  (after prediction)=   0.00 deg.\n"
        "\n"
        "P_use (after prediction)=   0.00 deg/second.\n"
        "Q_use (after prediction)=   0.00 deg/second.\n"
        "R_use (after prediction)=   0.00 deg/second.\n";
    const std::string propulsive = totals("RUNNING PROPULSIVE FORCE AND TOTAL MOMENT TOTALS, AIRCRAFT AXIS SYSTEM",
                                          "   f_axil=      0.00 N, pos aft,      L=      0.00 N-m, pos right.\n"
                                          "   f_side=      0.00 N, pos right,    M=      0.00 N-m, pos up.\n"
                                          "   f_nrml=      0.00 N, pos up,       N=      0.00 N-m, pos right.\n");
    // qS = 1.225 / 2 * 40^2 * 1 = 980 N: lift 490 N, drag 19.6 N, moment -98 N m. The lift 1 m right of
    // the centre of gravity rolls left by 490 N m; the drag yaws right by 19.6 N m.
    const std::string element =
        "\n" + RULE + "\n\xA5\xA5\xA5RIGHT WING ELEMENT # 1" + std::string(74, '\xA5') + "\n" + RULE + "\n" +
        "   element x=   1.00 m, pos right from CG\n"
        "   element y=   0.00 m, pos up    from CG\n"
        "   element z=   0.00 m, pos aft   from CG\n"
        "   Incidence-change is   0.00 deg, taking us to an alpha of    0.00 deg.\n"
        "   FINAL LOCAL-VELOCITY COEFFICIENTS: cl=   0.50000, cd=   0.02000, cm=  -0.10000.\n"
        "   force=coeff*S*V*V*rho/2.0\n"
        "   lift=   0.50000*    1.000* sqr(  40.00) *  1.2250 / 2          =    490.00 N.\n"
        "   drag=   0.02000*    1.000* sqr(  40.00) *  1.2250 / 2          =     19.60 N.\n"
        "   momt=  -0.10000*    1.000* sqr(  40.00) *  1.2250 / 2 *    1.00=    -98.00 N-m.\n\n"
        // The side force -lift x sin 0 is a negative zero, which the fixed format writes "-0.00".
        "   drag=     19.60 N aft, lift=    490.00 N on dihed=   0.00 deg (on right side) for aft=     19.60, right=     -0.00 N, up=    490.00 N.\n\n" +
        totals("RUNNING AERODYNAMIC FORCE AND TOTAL MOMENT TOTALS, FLIGHT-PATH AXIS SYSTEM",
               "   f_axil=     19.60 N, pos aft,      L=   -490.00 N-m, pos right.\n"
               "   f_side=      0.00 N, pos right,    M=    -98.00 N-m, pos up.\n"
               "   f_nrml=    490.00 N, pos up,       N=     19.60 N-m, pos right.\n");
    // m = 1000 kg; a_y = 490 / 1000 - 9.80665; Pdot = -490 / 1300 * 57.29578; Qdot = -98 / 1800 * 57.29578;
    // Rdot = 19.6 / 2700 * 57.29578; v_y = a_y * 0.02 s.
    const std::string grand =
        "\n" + RULE + "\n" + heading("GRAND TOTALS AT END OF FORCE AND MOMENT BUILD-UP") + RULE + "\n\n" + "\n" +
        heading("FINAL PROPULSIVE (ENGINE) FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)") +
        "f_axial   =      0.00 N.\nf_side    =      0.00 N.\nf_normal  =      0.00 N.\n\n" + "\n" +
        heading("FINAL GEAR FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)") +
        "f_axial   =      0.00 N.\nf_side    =      0.00 N.\nf_vertical=      0.00 N.\n\n" + "\n" +
        heading("FINAL AERODYNAMIC FORCES, ALONG FLIGHT PATH AXIS (pos forward/back/up)") +
        "f_axial   =     19.60 N.\nf_side    =      0.00 N.\nf_normal  =    490.00 N.\n\n" + "\n" +
        heading("FINAL AERODYNAMIC FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)") +
        "f_axial   =     19.60 N.\nf_side    =      0.00 N.\nf_normal  =    490.00 N.\n\n" + "\n" +
        heading("FINAL MOMENTS BEFORE ASSYMETRIC LOADING EFFECTS") +
        "L         =   -490.00 N-m, pos right.\nM         =    -98.00 N-m, pos up.\nN         =     19.60 N-m, pos right.\n\n" +
        "\n" + heading("MASSES TO GET FROM FORCES TO ACCELERATIONS") +
        "mass      =   1000.00 kg (ice accretion will change mass and MI if present! Ice accretion mass ratio is 0.00 now)\n"
        "roll  MI  =   1300.00 kg-m-m... M/mi=accel in RADIANS per sec.\n"
        "pitch MI  =   1800.00 kg-m-m... M/mi=accel in RADIANS per sec.\n"
        "yaw   MI  =   2700.00 kg-m-m... M/mi=accel in RADIANS per sec.\n\n" +
        "\n" + heading("FINAL TOTAL LINEAR ACCELS, ALONG GLOBAL AXIS (pos north/east/up)") +
        "a_x=   0.00 m/ss.\na_y=  -9.32 m/ss.\na_z=   0.02 m/ss.\n\n" + "\n" +
        heading("FINAL TOTAL ANGULAR ACCELS, ABOUT AIRCRAFT AXIS (pos right/up/right)") +
        "Pdot (roll) = -21.60 deg/ss.\nQdot (pitch)=  -3.12 deg/ss.\nRdot (yaw)  =   0.42 deg/ss.\n\n" + "\n" +
        heading("FINAL TOTAL LINEAR VELOCITIES, ALONG GLOBAL AXIS (pos north/east/up)") +
        "v_x=   0.00 m/s.\nv_y=  -0.19 m/s.\nv_z= -40.00 m/s.\n\n";
    EXPECT_EQ(report(), header + propulsive + element + grand);

    // Without the request nothing is written.
    sim_network_dataout.dump_next_cycle = 0;
    const std::size_t size = report().size();
    FM_forces_and_moments();
    EXPECT_EQ(report().size(), size);
}

// A fixed gear leg on the second gear part (numbered 1: gears count from 0),
// 1 m long with a 0.4 m tyre, 1 m below the centre of gravity: strut area
// 0.2 m^2 at cd 0.05, faired tyre 1.4 x 0.16 x 0.1 = 0.0224 m^2 at cd 0.25; at
// Q 980 N/m^2 they drag 9.8 N and 5.488 N. With alpha and beta of cos 0.8 and
// 0.6 the aerodynamic totals (axial 19.6 + 15.288 = 34.888 N aft, normal
// 490 N) turn into body axes: normal 490 x 0.8 + 34.888 x 0.6 = 412.93;
// a = 34.888 x 0.8 - 490 x 0.6 = -266.09; side a x 0.8 = -212.87 (sin beta
// 0.8); axial a x 0.6 = -159.65.
TEST_F(ReportedFrame, GearBlockAndTheTotalsInBodyAxes)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_part_eq[68] = 1;
    a.acf_gear_deploy[68] = 1.0f;
    a.acf_gear_leglen[68] = 1.0f;
    a.acf_gear_tirrad[68] = 0.4f;
    a.acf_gear_ynodef[68] = -1.0f;
    f.cos_alpha = 0.8f, f.sin_alpha = 0.6f;
    f.cos_beta = 0.6f, f.sin_beta = 0.8f;
    sim_network_dataout.dump_next_cycle = 1;
    FM_forces_and_moments();
    const std::string out = report();
    const std::string gear =
        "Landing gear #1, deployed  1.0000:\n"
        "   STRUT area exposed (including actuating struts if retract)=   0.200 square meters.\n"
        "   TIRES area exposed (tire may be largely hidden by fairing)=   0.022 square meters.\n"
        "   DOORS area exposed (all gear doors, 0 for fixed-gear)     =   0.000 square meters.\n"
        "   STRUT Cd                                                  =   0.05000.\n"
        "   TIRES Cd                                                  =   0.25000.\n"
        "   DOORS Cd                                                  =   0.00000.\n"
        "   drag of exposed STRUT                                     =      9.80 N.\n"
        "   drag of exposed TIRES                                     =      5.49 N.\n"
        "   drag of exposed DOORS                                     =      0.00 N.\n"
        "   X/Y/Z  =   0.00   -1.00    0.00 m.\n\n";
    EXPECT_NE(out.find(gear), std::string::npos) << out;
    const std::string body = heading("FINAL AERODYNAMIC FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)") +
                             "f_axial   =   -159.65 N.\nf_side    =   -212.87 N.\nf_normal  =    412.93 N.\n";
    EXPECT_NE(out.find(body), std::string::npos) << out;
}

TEST_F(ReportedFrame, StabilityDerivativeOfBothTestsAndWithoutAWing)
{
    flt_struct& f = flt[0];
    pln[0].acf_semilen_SEG[9] = 2.0f;
    f.indicated_airspeed = 77.75f;
    f.cgz_ref_to_default = 0.25f;
    const flt_struct start = f;
    FM_forces_and_moments();
    EXPECT_EQ(report(), "");   // nothing asked
    f = start;   // the frame again: M = -98 N m, N = 19.6 N m at Q = 980 N/m^2; Sref 2 m^2, Cref 1 m
    FM_forces_reset();

    sim_flightmodel_misc.stab_ptch_test = 1;
    sim_flightmodel_misc.stab_hdng_test = 1;
    FM_forces_and_moments();
    EXPECT_EQ(sim_flightmodel_misc.stab_ptch_test, 0);
    EXPECT_EQ(sim_flightmodel_misc.stab_hdng_test, 0);
    // The heading result wins: Cm = 19.6 / (2 * 1 * 980) = 0.01.
    const std::string expect =
        "\n" + RULE + "\n" +
        "OK I have offset the pitch by exactly 1 degree up (at   77.75 KIAS, CG=   0.25 m from ref, pos aft) to find the stability derivative!\n"
        "OK I have offset the heading by exactly 1 degree up (at   77.75 KIAS, CG=   0.25 m from ref, pos aft) to find the stability derivative!\n"
        "\n"
        "The moment M is: M  = Cm * (Sref * Cref * Q).\n"
        "Therefore:       Cm =  M / (Sref * Cref * Q).\n"
        "\n"
        "   M   =     19.60 N*m.     (moment when offset by 1 degree)\n"
        "   Sref=      2.00 m*m.     (total wing area of craft, based on all wings, but not stabs)\n"
        "   Cref=      1.00 m.       (average chord   of craft, based on all wings, but not stabs)\n"
        "   Q   =    980.00 N/(m*m). (dynamic pressure at current flight condition)\n"
        "so Cm  =   0.01000          (coefficient of moment on craft when deflected 1 degree from your trimmed flight)\n"
        "\n"
        "Since the stability derivative is the coefficient of moment per degree, our stability derivative is    0.01000/degree! (or    0.57296/radian).\n" +
        RULE + "\n\n";
    EXPECT_EQ(report(), expect);

    // A wing swept 60 degrees counts half its area: 2 m x 1 m x cos 60.
    float sref = -1.0f, cref = -1.0f;
    pln[0].acf_sweepnow[9] = 60.0f;
    FM_reference_geometry(&sref, &cref);
    EXPECT_NEAR(sref, 1.0f, 1e-5f);
    EXPECT_NEAR(cref, 1.0f, 1e-6f);
    pln[0].acf_sweepnow[9] = 0.0f;

    // An upright wing is no reference: the coefficient reads 0, not a division by zero.
    pln[0].acf_dihednow[9] = 45.0f;
    FM_reference_geometry(&sref, &cref);
    EXPECT_EQ(sref, 0.0f);
    EXPECT_EQ(cref, 0.0f);
    sim_flightmodel_misc.stab_ptch_test = 1;
    FM_forces_and_moments();
    EXPECT_NE(report().find("so Cm  =   0.00000"), std::string::npos);
}
