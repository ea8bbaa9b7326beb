// The aircraft's shape from the controls: doors, deflections, sweep,
// element incidence and vectoring, on the test aircraft.
#include <gtest/gtest.h>

#include <cmath>

#include "core/folders.h"
#include "core/ui_text.h"
#include "flightmodel/forces/control_surface.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/test_support.h"

using namespace forces_test;

namespace {

struct ControlIncidence : ::testing::Test {
    void SetUp() override
    {
        start_on_test_aircraft();
        sim_operation_override.override_throttles = 0;
    }
};

}  // namespace

TEST_F(ControlIncidence, GearDoorsFollowTheNearestGear)
{
    acf_struct& a = pln[0];
    for (int k = 0; k < 3; ++k) {
        a.acf_gear_door_typ[k] = k + 1;
        a.acf_gear_door_ret_ang[k] = 0.0f;
        a.acf_gear_door_ext_ang[k] = 90.0f;
        a.acf_gear_door_loc[3 * k] = 1.1f;   // beside the right main gear (69)
        a.acf_gear_door_loc[3 * k + 2] = 0.6f;
    }
    a.acf_gear_deploy[67] = 1.0f;   // the nose gear is down, the right main gear moves
    const struct { float deploy, type1, type2, type3; } rows[] = {
        {0.0f, 0.0f, 0.0f, 0.0f}, {0.1f, 45.0f, 9.0f, 45.0f}, {0.2f, 90.0f, 18.0f, 90.0f},
        {0.5f, 90.0f, 45.0f, 90.0f}, {0.8f, 90.0f, 72.0f, 90.0f}, {0.9f, 90.0f, 81.0f, 45.0f},
        {1.0f, 90.0f, 90.0f, 0.0f}};
    for (const auto& r : rows) {
        a.acf_gear_deploy[69] = r.deploy;
        ACF_control_incidence(0);
        EXPECT_NEAR(a.acf_gear_door_ang_now[0], r.type1, 1e-3f) << r.deploy;
        EXPECT_NEAR(a.acf_gear_door_ang_now[1], r.type2, 1e-3f) << r.deploy;
        EXPECT_NEAR(a.acf_gear_door_ang_now[2], r.type3, 1e-3f) << r.deploy;
    }
    // The leg hangs straight down from its arm, shortened by its static deflection.
    a.acf_gearstatdef[69] = 0.1f;
    a.acf_gear_deploy[69] = 1.0f;
    ACF_control_incidence(0);
    EXPECT_NEAR(a.acf_gear_ynodef[69], -0.6f - 0.6f - 0.1f, 1e-6f);
    EXPECT_NEAR(a.acf_gear_xnodef[69], 1.2f, 1e-6f);
}

TEST_F(ControlIncidence, SurfaceDeflectionsFromTheStick)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    f.FC_roll = 0.5f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.ail1_def[9], 0.5f * a.acf_ail1_up);    // right wing: trailing edge up
    EXPECT_FLOAT_EQ(f.ail1_def[8], -0.5f * a.acf_ail1_dn);   // left wing: down

    // Outboard ailerons and spoilers: the spoiler rises on the wing that goes
    // down; each is cut above its own speed.
    a.acf_ail2_up = 10.0f, a.acf_ail2_dn = 8.0f, a.acf_ail2pitch = a.acf_ail2flaps = 0.0f, a.acf_ail2vmax = 60.0f;
    a.acf_splr_up = 20.0f, a.acf_splr_vmax = 100.0f;
    const struct { float ias, ail2_right, splr_right; } speeds[] = {{50.0f, 5.0f, 10.0f}, {80.0f, 0.0f, 10.0f},
                                                                    {120.0f, 0.0f, 0.0f}};
    for (const auto& s : speeds) {
        f.indicated_airspeed = s.ias;
        ACF_control_incidence(0);
        EXPECT_FLOAT_EQ(f.ail2_def[9], s.ail2_right) << s.ias;
        EXPECT_FLOAT_EQ(f.splr_def[9], s.splr_right) << s.ias;
        EXPECT_EQ(f.splr_def[8], 0.0f) << s.ias;
    }
    f.indicated_airspeed = 0.0f;
    f.FC_roll = 0.0f;

    // Elevons and flaperons: pitch and flaps mix into aileron 1 alike on both sides, the flaps trailing edge down.
    a.acf_ail1pitch = 4.0f, a.acf_ail1flaps = 6.0f;
    const struct { float ptch, flaps, ail1; } mixes[] = {
        {0.5f, 0.0f, 2.0f}, {-0.5f, 0.0f, -2.0f}, {0.0f, 0.5f, -3.0f}, {-0.5f, 1.0f, -8.0f}};
    for (const auto& m : mixes) {
        f.FC_ptch = m.ptch, f.flaprat = m.flaps;
        ACF_control_incidence(0);
        EXPECT_FLOAT_EQ(f.ail1_def[8], m.ail1) << m.ptch << " " << m.flaps;
        EXPECT_FLOAT_EQ(f.ail1_def[9], m.ail1) << m.ptch << " " << m.flaps;
    }
    a.acf_ail1pitch = a.acf_ail1flaps = 0.0f;
    f.flaprat = 0.0f;

    f.FC_ptch = 0.5f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.elev_cont_def[16], 0.5f * a.acf_elev_up);
    // The same surfaces ahead of the centre of gravity (a canard) deflect the other way.
    a.acf_Zarm[16] = -3.0f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.elev_cont_def[16], -0.5f * a.acf_elev_dn);
    f.FC_ptch = 0.0f;

    f.FC_hdng = 1.0f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.rudd_def[18], -a.acf_rudd_lr);

    f.flaprat = 0.5f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.flap_def[8], 20.0f);
    f.failures[26] = FAILURE_STATE_FAILED;   // the left flap drive: the left flaps stay up
    ACF_control_incidence(0);
    EXPECT_EQ(f.flap_def[8], 0.0f);
    EXPECT_FLOAT_EQ(f.flap_def[9], 20.0f);
    f.failures[26] = 0;
}

TEST_F(ControlIncidence, ElementIncidenceFollowsTheSurfacesAFrameLate)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    for (int e = 0; e < 2; ++e) a.acf_inc_elev[ACF_el(16, e)] = 1;   // an all-moving tailplane
    f.FC_ptch = 1.0f;
    ACF_control_incidence(0);
    EXPECT_EQ(f.elem_inc[ACF_el(16, 0)], 0.0f);   // last frame's deflection was 0
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.elem_inc[ACF_el(16, 0)], -a.acf_elev_up);

    // Trim on the stabiliser and the incidence change with speed (parts 16 and 17).
    f.FC_ptch = 0.0f;
    ACF_control_incidence(0);
    for (int e = 0; e < 2; ++e) a.acf_inc_trim[ACF_el(17, e)] = 1;
    a.acf_hstb_trim_up = 4.0f;
    a.acf_elv_trim_pos_lim = 0.5f;
    a.acf_stab_delinc_to_Vne = 2.0f;
    f.elv_trim = 0.25f;
    f.indicated_airspeed = 80.0f;   // half of Vne
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(f.elem_inc[ACF_el(17, 1)], 0.5f * -4.0f + 1.0f);
    // Without a trim range or a Vne the terms are 0, not a division by zero.
    a.acf_elv_trim_pos_lim = 0.0f;
    a.acf_Vne = 0.0f;
    ACF_control_incidence(0);
    EXPECT_EQ(f.elem_inc[ACF_el(17, 1)], 0.0f);
}

TEST_F(ControlIncidence, SweepTakesTheShortWayAndHugeSpansWrapAtOnce)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_sweep_var[10] = 1;
    a.acf_sweep1[10] = 350.0f;
    a.acf_sweep2[10] = 10.0f;
    a.acf_dihed_var[11] = 1;
    a.acf_dihed1[11] = 0.0f;
    a.acf_dihed2[11] = 3.0e9f;   // a damaged file
    f.swdi = 0.5f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(a.acf_sweepnow[10], 360.0f);
    EXPECT_FLOAT_EQ(f.foil_swe[10], 10.0f);
    EXPECT_TRUE(std::isfinite(a.acf_dihednow[11]));
    EXPECT_LE(std::fabs(f.foil_dih[11]), 90.0f);
}

TEST_F(ControlIncidence, VectoringAndDifferentialThrottle)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_num_engines = a.acf_num_thrustpoints = 2;
    a.acf_en_type[0] = a.acf_en_type[1] = 2;
    a.acf_Xarm[0] = -2.0f, a.acf_Xarm[1] = 2.0f;
    a.acf_throtmax_FWD = 1.0f;
    a.acf_diff_thro_with_hdng = 0.2f;
    a.acf_vertcant[0] = a.acf_vertcant[1] = 10.0f;
    a.acf_inc_vec[ACF_el(1, 0)] = 1;
    f.vect_ratio = 30.0f;
    f.ENGN_thro[0] = f.ENGN_thro[1] = 0.5f;
    f.FC_hdng = 1.0f;
    ACF_control_incidence(0);
    EXPECT_FLOAT_EQ(a.acf_vect_cant[0], 10.0f);
    EXPECT_FLOAT_EQ(a.acf_vect_cant[1], 40.0f);
    EXPECT_FLOAT_EQ(f.vertcant[1], 40.0f);
    EXPECT_GT(f.ENGN_thro_use[0], 0.5f);   // yaw right: more power on the left engine
    EXPECT_LT(f.ENGN_thro_use[1], 0.5f);
    // Pitch and roll by hand: engine 0 aft and left at 10 deg, engine 1 ahead
    // and right at 40 deg; t = -0.2 sg(z) sin(cant) - 0.1 sg(x) sin(cant).
    a.acf_Zarm[0] = 3.0f, a.acf_Zarm[1] = -3.0f;
    a.acf_diff_thro_with_ptch = 0.2f, a.acf_diff_thro_with_roll = 0.1f;
    f.FC_hdng = 0.0f, f.FC_ptch = 1.0f, f.FC_roll = 1.0f;
    ACF_control_incidence(0);
    EXPECT_NEAR(f.ENGN_thro_use[0], 0.5f - 0.0347296f + 0.0173648f, 1e-5f);
    EXPECT_NEAR(f.ENGN_thro_use[1], 0.5f + 0.1285575f - 0.0642788f, 1e-5f);
    sim_operation_override.override_throttles = 1;
    f.ENGN_thro_use[0] = 0.0f;
    ACF_control_incidence(0);
    EXPECT_EQ(f.ENGN_thro_use[0], 0.0f);

}

TEST_F(ControlIncidence, ReportForThePlaneOfTheUserOnlyAndSlotsOutsideDoNothing)
{
    temp_folder dir;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    FOLDERS_open_logs();
    std::strcpy(ui_text_table[UI_TEXT_PART_NAMES + 16], "LEFT STAB");
    pln[0].acf_inc_elev[ACF_el(16, 0)] = 1;
    flt[0].elev_cont_def[16] = 3.0f;
    sim_network_dataout.dump_next_cycle = 1;
    pln[3] = pln[0];
    ACF_control_incidence(3);
    ACF_control_incidence(-1);
    ACF_control_incidence(10);
    report_log.flush();
    EXPECT_EQ(read_file_bytes(dir.path() / "ORVELL.OUT"), "");
    ACF_control_incidence(0);
    FOLDERS_close_logs();
    sim_network_dataout.dump_next_cycle = 0;
    const std::string out = read_file_bytes(dir.path() / "ORVELL.OUT");
    std::filesystem::current_path(old);
    const std::string rule(100, '\xA5');
    const std::string head = "\n" + rule + "\n\xA5\xA5\xA5INCIDENCE-CHANGE FOR LEFT STAB" + std::string(65, '\xA5') + "\n" +
                             rule + "\n element # 0 incidence is being increased by    3.00 deg thanks to elevator.\n";
    EXPECT_NE(out.find(head), std::string::npos);
    EXPECT_FLOAT_EQ(flt[0].elem_inc[ACF_el(16, 0)], -3.0f);
}

TEST_F(ControlIncidence, AfterburnersAndSpeedbrakeLagTheirRequests)
{
    flt_struct& f = flt[0];
    sim_operation_misc.frame_rate_period = 0.05f;
    f.ENGN_burning[0] = 1;
    f.ENGN_burnrat[0] = 0.2f;   // lighting: + 0.5 a second
    f.ENGN_burning[1] = 0;
    f.ENGN_burnrat[1] = 0.01f;  // going out: - 0.5 a second, not below 0
    f.sbrkrat = 0.2f;
    f.sbrkrqst = 1.0f;          // first-order lag at 4 a second: 0.8 x 0.2 + 0.2 x 1
    ACF_control_incidence(0);
    EXPECT_NEAR(f.ENGN_burnrat[0], 0.225f, 1e-6f);
    EXPECT_EQ(f.ENGN_burnrat[1], 0.0f);
    EXPECT_NEAR(f.sbrkrat, 0.36f, 1e-6f);
    f.sbrkrqst = -0.5f;         // an armed request lags toward a closed brake
    f.sbrkrat = 0.05f;
    ACF_control_incidence(0);
    EXPECT_EQ(f.sbrkrat, 0.0f);
}
