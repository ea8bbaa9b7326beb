// Values derived after an aircraft file is read, and the part and engine rules they use.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

namespace {

class AcfDerive : public ::testing::Test {
protected:
    program_folder_fixture fx;
    static constexpr int slot = 5;
    acf_struct& a = pln[slot];
    void SetUp() override { make_minimal(a); }

    void wing(int p, float root, float tip, int els, float semilen, float sweep = 0.0f)
    {
        a.acf_part_eq[p] = 1;
        a.acf_Croot[p] = root;
        a.acf_Ctip[p] = tip;
        a.acf_els[p] = els;
        a.acf_semilen_SEG[p] = semilen;
        a.acf_sweep1[p] = sweep;
    }
};

}  // namespace

TEST_F(AcfDerive, ElementAreasAndMeanChordsOfAHandMadeWing)
{
    wing(8, 2.0f, 1.0f, 4, 8.0f);
    wing(9, 2.0f, 1.0f, 4, 8.0f, 60.0f);
    ACF_derive_values(slot);

    EXPECT_FLOAT_EQ(a.acf_element_len[8], 2.0f);
    // Element 0: chords 2.0 and 1.75; area 8 x 3.75 / 2 / 4; mean chord (3.75 - 3.5/3.75) x 2/3.
    EXPECT_FLOAT_EQ(a.acf_s[ACF_el(8, 0)], 3.75f);
    EXPECT_NEAR(a.acf_mac[ACF_el(8, 0)], 1.877778f, 1e-5f);
    // Element 3: chords 1.25 and 1.0.
    EXPECT_FLOAT_EQ(a.acf_s[ACF_el(8, 3)], 2.25f);
    EXPECT_NEAR(a.acf_mac[ACF_el(8, 3)], 1.129630f, 1e-5f);
    // Swept 60 degrees: the area halves, the chord stays.
    EXPECT_NEAR(a.acf_s[ACF_el(9, 0)], 1.875f, 1e-5f);
    EXPECT_NEAR(a.acf_mac[ACF_el(9, 0)], 1.877778f, 1e-5f);
    EXPECT_EQ(a.acf_s[ACF_el(8, 4)], 0.0f);   // beyond the part's elements
}

TEST_F(AcfDerive, ControlRunsAndPartsOutOfService)
{
    wing(8, 2.0f, 2.0f, 6, 9.0f);
    for (int i = 2; i <= 5; ++i) a.acf_flap[ACF_el(8, i)] = 1;
    a.acf_ail1[ACF_el(8, 0)] = 1;
    wing(10, 2.0f, 2.0f, 6, 9.0f);
    a.acf_part_eq[10] = 0;                    // out of service
    a.acf_flap[ACF_el(10, 1)] = 1;
    ACF_derive_values(slot);

    EXPECT_EQ(a.acf_flap_el_first[8], 2.0f);
    EXPECT_EQ(a.acf_flap_el_end[8], 6.0f);
    EXPECT_EQ(a.acf_ail1_el_first[8], 0.0f);
    EXPECT_EQ(a.acf_ail1_el_end[8], 1.0f);
    EXPECT_EQ(a.acf_elev_el_first[8], 10.0f);   // no elevator on the part
    EXPECT_EQ(a.acf_elev_el_end[8], 0.0f);
    EXPECT_EQ(a.acf_flap_el_first[10], 10.0f);
    EXPECT_EQ(a.acf_flap_el_end[10], 0.0f);
    EXPECT_EQ(a.acf_s[ACF_el(10, 0)], 0.0f);
    EXPECT_EQ(a.acf_flapEQ, 1);
}

TEST_F(AcfDerive, FileValuesThatWouldDivideByZeroGiveZero)
{
    wing(8, 0.0f, 0.0f, 3, 5.0f);   // zero chords
    wing(9, 2.0f, 1.0f, 0, 5.0f);   // no elements
    ACF_derive_values(slot);
    EXPECT_EQ(a.acf_mac[ACF_el(8, 0)], 0.0f);
    EXPECT_EQ(a.acf_s[ACF_el(8, 0)], 0.0f);
    EXPECT_EQ(a.acf_element_len[9], 0.0f);
    for (float v : a.acf_mac) EXPECT_TRUE(std::isfinite(v));
    for (float v : a.acf_element_len) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(AcfDerive, SidesOfTheParts)
{
    for (int p : {8, 9, 18, 20, 28, 29}) a.acf_part_eq[p] = 1;
    a.acf_Xarm[28] = -1.0f;
    a.acf_Xarm[29] = -0.005f;
    a.acf_part_is_left[20] = 1;   // kept from the file
    a.acf_part_is_left[18] = 1;   // centre line: cleared
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_Xarm[0] = -4.0f;
    a.acf_vertcant[0] = 12.0f;
    ACF_derive_values(slot);

    EXPECT_EQ(a.acf_part_is_left[8], 1);
    EXPECT_EQ(a.acf_side_sign[8], -1.0f);
    EXPECT_EQ(a.acf_part_is_left[9], 0);
    EXPECT_EQ(a.acf_side_sign[9], 1.0f);
    EXPECT_EQ(a.acf_part_is_left[18], 0);
    EXPECT_EQ(a.acf_part_is_left[20], 1);
    EXPECT_EQ(a.acf_side_sign[20], -1.0f);
    EXPECT_EQ(a.acf_part_is_left[28], 1);
    EXPECT_EQ(a.acf_part_is_left[29], 0);
    EXPECT_EQ(a.acf_part_is_left[0], 1);
    EXPECT_EQ(a.acf_vect_cant[0], 12.0f);
}

TEST_F(AcfDerive, PropellerTypesOfJets)
{
    a.acf_num_engines = a.acf_num_thrustpoints = 2;
    a.acf_en_type[0] = a.acf_en_type[1] = 4;
    a.acf_prop_type[0] = 3;
    a.acf_prop_type[1] = 12;
    flt[slot].failures[FAIL_PROP_BASE + 1] = FAIL_STATE_FAILED;
    ACF_derive_values(slot);
    EXPECT_EQ(a.acf_prop_type[0], 8);
    EXPECT_EQ(a.acf_prop_type[1], 7);   // a failed jet keeps its type, clamped
    flt[slot].failures[FAIL_PROP_BASE + 1] = 0;
}

TEST_F(AcfDerive, EquipmentFromThePanelAndTheElements)
{
    a.acf_ins_type[0] = 231;
    a.acf_ins_type[1] = 51;
    a.acf_ins_type[2] = 15;
    a.acf_ins_type[3] = 115;
    a.acf_has_radar = 1;   // cleared: no radar on the panel
    wing(12, 1.0f, 1.0f, 2, 4.0f);
    a.acf_ail2[ACF_el(12, 1)] = 1;
    a.acf_ail2flaps = 0.5f;
    a.acf_slat[ACF_el(12, 0)] = 1;
    a.acf_brake_area = 0.2f;
    ACF_derive_values(slot);

    for (int k = 0; k < 4; ++k) EXPECT_EQ(a.acf_has_nav[k], 1);
    EXPECT_EQ(a.acf_panel_flag_51_52, 1);
    EXPECT_EQ(a.acf_no_fadec, 1);
    EXPECT_EQ(a.acf_ap_keep_heading, 1);
    EXPECT_EQ(a.acf_has_radar, 0);
    EXPECT_EQ(a.acf_flapEQ, 1);
    EXPECT_EQ(a.acf_slatEQ, 1);
    EXPECT_EQ(a.acf_sbrkEQ, 1);
}

TEST_F(AcfDerive, DefaultsAndLowerBounds)
{
    a.acf_ASloV_old = 40.0f;
    a.acf_AShiV_old = 200.0f;
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = 2;
    a.acf_rud_trim_rt = 0.006f;
    ACF_derive_values(slot);

    EXPECT_EQ(a.acf_ASloV_yaw, 40.0f);
    EXPECT_EQ(a.acf_AShiV_roll, 200.0f);
    EXPECT_EQ(a.acf_unpub_638096, a.acf_Vne);
    EXPECT_EQ(a.acf_unpub_638108, 100.0f);
    EXPECT_EQ(a.acf_unpub_638100, 2500.0f);   // propeller type 0
    EXPECT_EQ(a.acf_unpub_638104, 1900.0f);   // engine type 2
    // One trim limit not below 0.005: no defaults, the five zeros raised to 0.001.
    EXPECT_EQ(a.acf_elv_trim_dn, 0.001f);
    EXPECT_EQ(a.acf_rud_trim_lt, 0.001f);
    EXPECT_EQ(a.acf_rud_trim_rt, 0.006f);
    EXPECT_EQ(a.acf_spooltime_prop, 0.1f);

    a.acf_rud_trim_rt = 0.0f;
    a.acf_elv_trim_dn = 0.0f;
    ACF_derive_values(slot);
    EXPECT_EQ(a.acf_elv_trim_dn, 0.5f);
    EXPECT_EQ(a.acf_rud_trim_rt, 0.25f);
}

TEST(AcfRecord, EngineTypeQueries)
{
    acf_struct& a = pln[6];
    const int cases[][4] = {
        // type, jet, piston, drives a propeller
        {0, 0, 1, 1}, {1, 0, 1, 1}, {2, 0, 0, 1}, {3, 0, 0, 1}, {4, 1, 0, 0},
        {5, 1, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0}, {8, 0, 0, 1}, {9, 0, 0, 0},
        {-1, 0, 0, 0}, {1000, 0, 0, 0}};
    for (const auto& c : cases) {
        a.acf_en_type[3] = c[0];
        EXPECT_EQ(ACF_engine_is_jet(6, 3), c[1]) << c[0];
        EXPECT_EQ(ACF_engine_is_recip(6, 3), c[2]) << c[0];
        EXPECT_EQ(ACF_engine_has_prop(6, 3) != 0, c[3] != 0) << c[0];
    }
    EXPECT_EQ(ACF_engine_has_prop(6, 8), 0);
    EXPECT_EQ(ACF_engine_has_prop(10, 0), 0);
}

TEST(AcfRecord, PartInService)
{
    acf_struct& a = pln[7];
    std::memset(&a, 0, sizeof a);
    std::memset(flt[7].failures, 0, sizeof flt[7].failures);
    a.acf_num_engines = 2;
    a.acf_num_thrustpoints = 3;
    a.acf_en_type[0] = 0;
    a.acf_en_type[1] = 4;   // a jet has no blades
    EXPECT_TRUE(ACF_part_in_service(7, 0));
    EXPECT_FALSE(ACF_part_in_service(7, 1));
    EXPECT_TRUE(ACF_part_in_service(7, 2));    // a thrust point beyond the engines
    EXPECT_FALSE(ACF_part_in_service(7, 3));
    a.acf_en_type[1] = 7;                      // tip jets carry blades
    EXPECT_TRUE(ACF_part_in_service(7, 1));

    a.acf_hide_prop_at_90_vect = 1;
    a.thrust_vector_angle[0] = 90.0f;   // the flight model's name of the current cant
    EXPECT_EQ(a.acf_vect_cant[0], 90.0f);
    EXPECT_FALSE(ACF_part_in_service(7, 0));
    a.acf_vect_cant[0] = 89.0f;
    EXPECT_TRUE(ACF_part_in_service(7, 0));
    flt[7].failures[FAIL_PROP_BASE + 0] = FAIL_STATE_FAILED;
    EXPECT_FALSE(ACF_part_in_service(7, 0));

    a.acf_part_eq[12] = a.acf_part_eq[55] = a.acf_part_eq[70] = 1;
    EXPECT_TRUE(ACF_part_in_service(7, 12));
    flt[7].failures[FAIL_WING_BASE + 12] = FAIL_STATE_FAILED;
    EXPECT_FALSE(ACF_part_in_service(7, 12));
    flt[7].failures[FAIL_ENGINE_BODY_BASE + 55] = FAIL_STATE_FAILED;   // engine 2's entry
    EXPECT_FALSE(ACF_part_in_service(7, 55));
    EXPECT_TRUE(ACF_part_in_service(7, 70));
    EXPECT_FALSE(ACF_part_in_service(7, 71));
    EXPECT_FALSE(ACF_part_in_service(7, 73));
    EXPECT_FALSE(ACF_part_in_service(-1, 8));
    std::memset(flt[7].failures, 0, sizeof flt[7].failures);
}
