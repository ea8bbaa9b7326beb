// Values derived after an aircraft file is read, and the part and engine rules they use.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include <vector>

#include "tests/aircraft/acf_test_util.h"
#include "aircraft/part_presence.h"

using namespace acf_test;

namespace {

class AcfDerive : public aircraft_slot_test<5> {
protected:
    void SetUp() override { make_minimal(a); }
};

}  // namespace

TEST_F(AcfDerive, ElementAreasAndMeanChordsOfAHandMadeWing)
{
    set_wing(a, 8, 2.0f, 1.0f, 4, 8.0f);
    set_wing(a, 9, 2.0f, 1.0f, 4, 8.0f, 60.0f);
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
    set_wing(a, 8, 2.0f, 2.0f, 6, 9.0f);
    for (int i = 2; i <= 5; ++i) a.acf_flap[ACF_el(8, i)] = 1;
    a.acf_ail1[ACF_el(8, 0)] = 1;
    set_wing(a, 10, 2.0f, 2.0f, 6, 9.0f);
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
    EXPECT_EQ(a.acf_s[ACF_el(10, 0)], 0.0f);
    EXPECT_EQ(a.acf_flapEQ, 1);
}

TEST_F(AcfDerive, FileValuesThatWouldDivideByZeroGiveZero)
{
    set_wing(a, 8, 0.0f, 0.0f, 3, 5.0f);   // zero chords
    set_wing(a, 9, 2.0f, 1.0f, 0, 5.0f);   // no elements
    ACF_derive_values(slot);
    EXPECT_EQ(a.acf_mac[ACF_el(8, 0)], 0.0f);
    EXPECT_EQ(a.acf_s[ACF_el(8, 0)], 0.0f);
    EXPECT_EQ(a.acf_element_len[9], 0.0f);
    for (float v : a.acf_mac) EXPECT_TRUE(std::isfinite(v));
    for (float v : a.acf_element_len) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(AcfDerive, SidesEquipmentAndJetPropellerTypes)
{
    for (int p : {8, 9, 18, 20, 28, 29}) a.acf_part_eq[p] = 1;
    a.acf_Xarm[28] = -1.0f, a.acf_Xarm[29] = -0.005f;
    a.acf_part_is_left[20] = 1;   // kept from the file
    a.acf_part_is_left[18] = 1;   // centre line: cleared
    a.acf_ins_type[0] = 231, a.acf_ins_type[1] = 51;
    a.acf_has_radar = 1;          // cleared: no radar on the panel
    a.acf_num_engines = a.acf_num_thrustpoints = 2;
    a.acf_en_type[0] = a.acf_en_type[1] = 4;
    a.acf_prop_type[0] = 3, a.acf_prop_type[1] = 12;
    flt[slot].failures[FAIL_SLOT_ENGINE_BASE + 1] = FAILURE_STATE_FAILED;
    ACF_derive_values(slot);
    flt[slot].failures[FAIL_SLOT_ENGINE_BASE + 1] = 0;

    const int left[][2] = {{8, 1}, {9, 0}, {18, 0}, {20, 1}, {28, 1}, {29, 0}};
    for (const auto& l : left) EXPECT_EQ(a.acf_part_is_left[l[0]], l[1]) << l[0];
    EXPECT_EQ(a.acf_side_sign[8], -1.0f);
    EXPECT_EQ(a.acf_side_sign[9], 1.0f);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(a.acf_has_nav[k], 1);
    EXPECT_EQ(a.acf_panel_flag_51_52, 1);
    EXPECT_EQ(a.acf_has_radar, 0);
    EXPECT_EQ(a.acf_prop_type[0], 8);
    EXPECT_EQ(a.acf_prop_type[1], 7);   // a failed jet keeps its type, clamped
}

TEST_F(AcfDerive, TrimLimitsAreRaisedOrDefaulted)
{
    a.acf_rud_trim_rt = 0.006f;
    ACF_derive_values(slot);
    // One trim limit not below 0.005: no defaults, the zeros raised to 0.001.
    EXPECT_EQ(a.acf_elv_trim_dn, 0.001f);
    EXPECT_EQ(a.acf_rud_trim_rt, 0.006f);
    EXPECT_EQ(a.acf_spooltime_prop, 0.1f);

    a.acf_rud_trim_rt = a.acf_elv_trim_dn = 0.0f;
    ACF_derive_values(slot);
    EXPECT_EQ((std::array<float, 6>{a.acf_elv_trim_dn, a.acf_elv_trim_up, a.acf_ail_trim_lt, a.acf_ail_trim_rt,
                                    a.acf_rud_trim_lt, a.acf_rud_trim_rt}),
              (std::array<float, 6>{0.5f, 0.5f, 0.25f, 0.25f, 0.25f, 0.25f}));

    // Spool times of 0.1 or less become 0.1; longer ones stay.
    for (auto [given, kept] : {std::pair{0.0f, 0.1f}, {0.1f, 0.1f}, {0.15f, 0.15f}}) {
        a.acf_spooltime_prop = a.acf_spooltime_jet = given;
        ACF_derive_values(slot);
        EXPECT_EQ(a.acf_spooltime_prop, kept);
        EXPECT_EQ(a.acf_spooltime_jet, kept);
    }
}

// Slats, variable dihedral, variable sweep and extra sweep are fitted when a
// lifting part of 8 to 27 in service with elements has them; part 28 does not count.
TEST_F(AcfDerive, ElementEquipmentFlagsOfPartsEightToTwentySeven)
{
    auto flags = [&] {
        return std::array<int, 4>{a.acf_slatEQ, a.acf_vardihedEQ, a.acf_varsweepEQ, a.acf_sweep_extraEQ};
    };
    for (int p : {27, 28}) {
        make_minimal(a);
        set_wing(a, p, 2.0f, 2.0f, 2, 4.0f);
        a.acf_slat[ACF_el(p, 1)] = 1;
        a.acf_dihed_var[p] = a.acf_sweep_var[p] = a.acf_sweep_extra[p] = 1;
        ACF_derive_values(slot);
        const int want = p == 27 ? 1 : 0;
        EXPECT_EQ(flags(), (std::array<int, 4>{want, want, want, want})) << p;
    }
}

TEST(AcfRecord, EngineTypeQueriesAndPartInService)
{
    acf_struct& a = pln[7];
    std::memset(&a, 0, sizeof a);
    std::memset(flt[7].failures, 0, sizeof flt[7].failures);
    // type, jet, piston, drives a propeller; types outside the table are none of them.
    const int types[][4] = {{0, 0, 1, 1}, {1, 0, 1, 1}, {2, 0, 0, 1}, {3, 0, 0, 1}, {4, 1, 0, 0}, {5, 1, 0, 0},
                            {6, 0, 0, 0}, {7, 0, 0, 0}, {8, 0, 0, 1}, {9, 0, 0, 0}, {-1, 0, 0, 0}, {1000, 0, 0, 0}};
    for (const auto& c : types) {
        a.acf_en_type[3] = c[0];
        EXPECT_EQ(ACF_engine_is_jet(7, 3), c[1]) << c[0];
        EXPECT_EQ(ACF_engine_is_recip(7, 3), c[2]) << c[0];
        EXPECT_EQ(ACF_engine_has_prop(7, 3) != 0, c[3] != 0) << c[0];
    }
    EXPECT_EQ(ACF_engine_has_prop(7, 8) + ACF_engine_has_prop(10, 0), 0);

    a.acf_num_engines = 2, a.acf_num_thrustpoints = 3;
    a.acf_en_type[1] = 4;   // engine 0 a piston, engine 1 a jet: no blades
    for (int p = 0; p < 4; ++p) EXPECT_EQ(ACF_part_present(7, p), p % 2 == 0) << p;   // 2: a thrust point
    a.acf_en_type[1] = 7;   // tip jets carry blades
    EXPECT_TRUE(ACF_part_present(7, 1));
    a.acf_hide_prop_at_90_vect = 1;
    a.thrust_vector_angle[0] = 90.0f;   // the flight model's name of the current cant
    EXPECT_FALSE(ACF_part_present(7, 0));

    a.acf_part_eq[12] = a.acf_part_eq[55] = a.acf_part_eq[70] = 1;
    flt[7].failures[FAIL_SLOT_SURFACE_BASE + 12] = flt[7].failures[FLT_failure_slot_of_part(55)] = FAILURE_STATE_FAILED;
    EXPECT_FALSE(ACF_part_present(7, 12) || ACF_part_present(7, 55));   // 55: engine 2's entry
    EXPECT_TRUE(ACF_part_present(7, 70));
    EXPECT_FALSE(ACF_part_present(7, 71) || ACF_part_present(7, 73) || ACF_part_present(-1, 8));
    std::memset(flt[7].failures, 0, sizeof flt[7].failures);

    // The failure entry that takes each end of each range out of service:
    // propellers 58 + p, lifting surfaces 130 + p, nacelles 5 + p.
    a.acf_num_thrustpoints = 8;
    a.acf_hide_prop_at_90_vect = 0;
    const int entries[][2] = {{0, 58}, {7, 65}, {8, 138}, {17, 147}, {18, 148}, {27, 157}, {28, 158},
                              {43, 173}, {53, 58}, {60, 65}};
    for (const auto& e : entries) {
        a.acf_part_eq[e[0]] = 1;
        EXPECT_TRUE(ACF_part_present(7, e[0])) << e[0];
        flt[7].failures[e[1]] = FAILURE_STATE_FAILED;
        EXPECT_FALSE(ACF_part_present(7, e[0])) << e[0];
        flt[7].failures[e[1]] = 0;
    }
}

// Two limits by the propellers' and the engines' types, the last listed one
// deciding; the other two from the never-exceed speed and a fixed 100.
TEST_F(AcfDerive, LimitsByPropellerAndEngineTypes)
{
    struct typed { std::vector<int> props, engines; float by_prop, by_engine; };
    const typed cases[] = {
        {{0}, {0}, 2500.0f, 2500.0f},  {{3}, {2}, 400.0f, 1900.0f},   {{6}, {8}, 100.0f, 1900.0f},
        {{7}, {3}, 400.0f, 2500.0f},   {{5}, {1}, 2500.0f, 2500.0f},  {{4}, {9}, 2500.0f, 0.0f},
        {{2, 6}, {1, 2}, 100.0f, 1900.0f}, {{6, 1}, {2, 1}, 2500.0f, 2500.0f}, {{3, 2}, {6, 7}, 2500.0f, 0.0f},
    };
    for (const typed& t : cases) {
        make_minimal(a);
        a.acf_num_thrustpoints = static_cast<int32_t>(t.props.size());
        a.acf_num_engines = static_cast<int32_t>(t.engines.size());
        for (size_t k = 0; k < t.props.size(); ++k) a.acf_prop_type[k] = t.props[k];
        for (size_t k = 0; k < t.engines.size(); ++k) a.acf_en_type[k] = t.engines[k];
        a.acf_Vne = 123.0f;
        a.acf_unpub_638096 = a.acf_unpub_638100 = a.acf_unpub_638104 = a.acf_unpub_638108 = 0.5f;
        ACF_derive_values(slot);
        EXPECT_EQ(a.acf_unpub_638100, t.by_prop) << t.props[0];
        EXPECT_EQ(a.acf_unpub_638104, t.by_engine == 0.0f ? 0.5f : t.by_engine) << t.engines[0];
        EXPECT_EQ(a.acf_unpub_638096, 123.0f);
        EXPECT_EQ(a.acf_unpub_638108, 100.0f);
    }
    // Values of 1 or more stay.
    a.acf_unpub_638100 = a.acf_unpub_638104 = a.acf_unpub_638108 = 1.0f;
    ACF_derive_values(slot);
    EXPECT_EQ(a.acf_unpub_638100 + a.acf_unpub_638104 + a.acf_unpub_638108, 3.0f);
}

// The speed-brake flag comes from a brake area above 0.1 or from an element
// carrying speed brakes; a file giving only the older single low and high
// stability speeds has them copied to all three channels.
TEST_F(AcfDerive, SpeedBrakeFlagAndStabilitySpeedsOfOlderFiles)
{
    struct braked { float area; bool element; int want; };
    for (const braked& b : {braked{0.2f, false, 1}, braked{0.1f, false, 0}, braked{0.0f, true, 1}}) {
        make_minimal(a);
        a.acf_brake_area = b.area;
        set_wing(a, 8, 2.0f, 2.0f, 4, 8.0f);
        a.acf_sbrk[ACF_el(8, 1)] = b.element ? 1 : 0;
        ACF_derive_values(slot);
        EXPECT_EQ(a.acf_sbrkEQ, b.want) << b.area;
    }

    make_minimal(a);
    a.acf_ASloV_old = 60.0f, a.acf_AShiV_old = 120.0f;
    ACF_derive_values(slot);
    EXPECT_EQ((std::array<float, 6>{a.acf_ASloV, a.acf_ASloV_yaw, a.acf_ASloV_roll, a.acf_AShiV, a.acf_AShiV_yaw,
                                    a.acf_AShiV_roll}),
              (std::array<float, 6>{60.0f, 60.0f, 60.0f, 120.0f, 120.0f, 120.0f}));
    // One channel's own speed given: nothing is copied.
    make_minimal(a);
    a.acf_ASloV_old = 60.0f, a.acf_AShiV_old = 120.0f, a.acf_AShiV_roll = 150.0f;
    ACF_derive_values(slot);
    EXPECT_EQ(a.acf_ASloV + a.acf_AShiV, 0.0f);
    EXPECT_EQ(a.acf_AShiV_roll, 150.0f);
}

// Each instrument type raises its own equipment flags and no other; an aileron
// doubles as a flap only when its flap share is above 0.01; every propeller,
// the last included, takes its current cant from the file.
TEST_F(AcfDerive, PanelTypesRaiseTheirOwnFlagsAndAileronsCountAsFlaps)
{
    // nav 0..3, radar, SC fd, DC fd, stall warning, clutch, idle, no FADEC,
    // forced FADEC, keep speed, heading, altitude, flag of types 51 and 52
    auto flags = [&] {
        return std::vector<int>{a.acf_has_nav[0],     a.acf_has_nav[1],       a.acf_has_nav[2],
                                a.acf_has_nav[3],     a.acf_has_radar,        a.acf_has_SC_fd,
                                a.acf_has_DC_fd,      a.acf_has_stallwarn,    a.acf_has_clutch,
                                a.acf_has_idlespeed,  a.acf_no_fadec,         a.acf_force_fadec,
                                a.acf_ap_keep_speed,  a.acf_ap_keep_heading,  a.acf_ap_keep_altitude,
                                a.acf_panel_flag_51_52};
    };
    struct row { int type; std::vector<int> set; };
    const row rows[] = {
        {216, {0}},  {225, {1}},  {142, {2}},  {147, {3}},  {140, {2, 3}}, {229, {3}},  {186, {4}},
        {372, {4}},  {191, {4}},  {333, {4}},  {37, {5}},   {403, {6}},    {339, {7}},  {446, {8}},
        {411, {9}},  {15, {10}},  {9, {11}},   {290, {12}}, {282, {12}},   {110, {13}}, {121, {13}},
        {291, {13}}, {284, {14}}, {52, {15}},  {122, {}},   {132, {}},
    };
    for (const row& r : rows) {
        make_minimal(a);
        a.acf_ins_type[17] = r.type;
        ACF_derive_values(slot);
        std::vector<int> want(16, 0);
        for (int k : r.set) want[k] = 1;
        EXPECT_EQ(flags(), want) << "type " << r.type;
    }

    struct aileron { int which; float share; int flap; };
    for (const aileron& c : {aileron{1, 0.02f, 1}, aileron{1, 0.01f, 0}, aileron{2, 0.02f, 1}, aileron{2, 0.01f, 0}}) {
        make_minimal(a);
        set_wing(a, 9, 2.0f, 2.0f, 4, 8.0f);
        (c.which == 1 ? a.acf_ail1 : a.acf_ail2)[ACF_el(9, 3)] = 1;
        (c.which == 1 ? a.acf_ail1flaps : a.acf_ail2flaps) = c.share;
        ACF_derive_values(slot);
        EXPECT_EQ(a.acf_flapEQ, c.flap) << "aileron " << c.which << " share " << c.share;
    }

    make_minimal(a);
    a.acf_num_thrustpoints = 8;
    for (int p = 0; p < 8; ++p) a.acf_vertcant[p] = 10.0f + p;
    ACF_derive_values(slot);
    for (int p = 0; p < 8; ++p) EXPECT_EQ(a.acf_vect_cant[p], 10.0f + p) << p;
}
