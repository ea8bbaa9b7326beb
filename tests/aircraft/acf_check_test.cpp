// The checks that refuse an unflyable aircraft, and the removal of obsolete instruments.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

namespace {

class AcfCheck : public aircraft_slot_test<3> {
protected:
    void SetUp() override
    {
        make_single(a);
        set_path(a, fx.aircraft_path("Check.acf"), "Check.acf");
    }
};

struct broken {
    const char* first_line;
    std::function<void(acf_struct&)> apply;
};

const broken cases[] = {
    {"This aircraft has no tail number.", [](acf_struct& a) { set_text(a.acf_tailnum, 40, "   "); }},
    {"A variable-pitch propeller has no pitch range.", [](acf_struct& a) { a.acf_prop_type[0] = 1; }},
    {"A variable-pitch propeller has no pitch range.", [](acf_struct& a) { a.acf_prop_type[0] = 2; }},
    {"A variable-pitch propeller has no pitch range.", [](acf_struct& a) { a.acf_prop_type[0] = 3; }},
    {"A variable-pitch propeller has no pitch range.", [](acf_struct& a) { a.acf_prop_type[0] = 4; }},
    {"A variable-pitch propeller has no pitch range.", [](acf_struct& a) { a.acf_prop_type[0] = 7; }},
    {"A fixed-pitch propeller has a pitch range.", [](acf_struct& a) { a.acf_max_pitch[0] += 0.02f; }},
    {"The never-exceed speed (Vne) is zero.", [](acf_struct& a) { a.acf_Vne = 0.0f; }},
    {"The empty weight is zero.", [](acf_struct& a) { a.acf_m_empty = 0.005f; }},
    {"The maximum weight is zero.", [](acf_struct& a) { a.acf_m_max = 0.0f; }},
    {"The empty weight is above the maximum weight.", [](acf_struct& a) { a.acf_m_empty = 2500.0f; }},
    {"A jet engine has no inlet area.", [](acf_struct& a) { a.acf_en_type[0] = 4; a.acf_tmax = 1000.0f; }},
    {"Reverse thrust is fitted, but the reverse", [](acf_struct& a) { a.acf_revthrust_eq = 1; }},
    {"The forward throttle limit is zero.", [](acf_struct& a) { a.acf_throtmax_FWD = 0.004f; }},
    {"The reverse throttle limit is above",
     [](acf_struct& a) { a.acf_revthrust_eq = 1; a.acf_throtmax_REV = 1.006f; }},
    {"A piston engine has no maximum manifold pressure.", [](acf_struct& a) { a.acf_mpmax = 0.0f; }},
    {"A piston engine has no maximum manifold pressure.",
     [](acf_struct& a) { a.acf_en_type[0] = 1; a.acf_mpmax = 0.0f; }},
    {"The engine idle speed, redline or green arc", [](acf_struct& a) { a.acf_RSC_maxgreen_eng = 0.5f; }},
    {"The engine idle speed, redline or green arc", [](acf_struct& a) { a.acf_RSC_mingreen_eng = 0.5f; }},
    {"The engine idle speed, redline or green arc", [](acf_struct& a) { a.acf_RSC_idlespeed_eng = 0.5f; }},
    {"The engine idle speed is above its redline.", [](acf_struct& a) { a.acf_RSC_idlespeed_eng = 2800.0f; }},
    {"An engine that drives a propeller has", [](acf_struct& a) { a.acf_pmax = 0.0f; }},
    {"A jet engine has no maximum thrust.", [](acf_struct& a) { a.acf_en_type[0] = 5; a.acf_face_jet = 1.0f; }},
    {"A rocket engine has no maximum thrust",
     [](acf_struct& a) { a.acf_en_type[0] = 6; a.acf_fmax_sl = a.acf_fmax_opt = 100.0f; }},
    {"A rocket engine has no maximum thrust",
     [](acf_struct& a) { a.acf_en_type[0] = 7; a.acf_fmax_sl = a.acf_fmax_vac = 100.0f; }},
    {"Flaps or slats are fitted, but they take", [](acf_struct& a) { a.acf_flap_deftime = 0.0f; }},
    {"Aileron 2 is fitted, but the speed", [](acf_struct& a) { a.acf_ail2[ACF_el(9, 3)] = 1; }},
    {"Aileron 2 is fitted, but the speed",
     [](acf_struct& a) { set_wing(a, 27, 2.0f, 2.0f, 2, 3.0f); a.acf_ail2[ACF_el(27, 1)] = 1; }},
    {"Spoilers are fitted, but the speed", [](acf_struct& a) { a.acf_splr[ACF_el(8, 2)] = 1; }},
    {"Spoilers are fitted, but the speed",
     [](acf_struct& a) { set_wing(a, 20, 2.0f, 2.0f, 2, 3.0f); a.acf_splr[ACF_el(20, 0)] = 1; }},
    {"A wing element carries both an aileron and a flap.", [](acf_struct& a) { a.acf_ail1[ACF_el(9, 1)] = 1; }},
    {"A wing element carries both an aileron and a flap.",
     [](acf_struct& a) { a.acf_ail2[ACF_el(9, 0)] = 1; a.acf_ail2vmax = 100.0f; }},
    {"The last flap detent has no deflection.", [](acf_struct& a) { a.acf_flap_dn[3] = 0.0f; }},
    {"A landing gear has no tyre radius.", [](acf_struct& a) { a.acf_gear_tirrad[69] = 0.0f; }},
    {"The landing gear retracts, but a gear", [](acf_struct& a) { a.acf_gear_retract = 1; }},
    {"The height of the aircraft standing on its gear is zero.", [](acf_struct& a) { a.acf_h_eqlbm = 0.0f; }},
    {"Two stations of the fuselage are at the same place.",
     [](acf_struct& a) { a.acf_body_Z[44 * 360 + 18 * 11] = a.acf_body_Z[44 * 360 + 18 * 10]; }},
    {"A wing or tail has no root chord.", [](acf_struct& a) { a.acf_Croot[18] = 0.0f; }},
    {"A wing or tail has no root chord.", [](acf_struct& a) { set_wing(a, 30, 0.0f, 1.0f, 2, 3.0f); }},
    {"A wing or tail has no root chord.", [](acf_struct& a) { set_wing(a, 43, 0.005f, 1.0f, 2, 3.0f); }},
};

}  // namespace

TEST_F(AcfCheck, EachBrokenValueRaisesItsFatalAlertAndLimitsStillPass)
{
    const auto good = std::make_unique<acf_struct>(a);
    ACF_check(slot);
    EXPECT_TRUE(recorded_alerts.empty());
    for (const broken& b : cases) {
        SCOPED_TRACE(b.first_line);
        a = *good;
        b.apply(a);
        const alert_record r = expect_fatal([] { ACF_check(slot); });
        EXPECT_EQ(r.code, ALERT_FATAL);
        EXPECT_EQ(r.lines[0], b.first_line);
        EXPECT_EQ(r.lines[3], "Please correct the aircraft file: " + fx.aircraft_path("Check.acf"));
    }

    const std::function<void(acf_struct&)> passing[] = {
        [](acf_struct& a) { set_text(a.acf_tailnum, 40, "N"); },
        // Values the checks accept: at their tolerances, or where a check does not apply.
        [](acf_struct& a) { a.acf_max_pitch[0] += 0.005f; },   // fixed pitch
        [](acf_struct& a) { a.acf_m_empty = a.acf_m_max; },   // empty weight
        [](acf_struct& a) { a.acf_revthrust_eq = 1; a.acf_throtmax_REV = 1.004f; },   // reverse throttle
        [](acf_struct& a) { a.acf_RSC_idlespeed_eng = a.acf_RSC_redline_eng; },   // idle speed
        [](acf_struct& a) { a.acf_part_eq[68] = 0; a.acf_gear_tirrad[68] = 0.0f; },   // gear not fitted
        [](acf_struct& a) { a.acf_num_engines = 0; a.acf_pmax = 0.0f; },   // no engine
        [](acf_struct& a) { a.acf_flap_deftime = 0.0f; a.acf_flaps_with_vecEQ = 1; },   // vectored flaps
        [](acf_struct& a) { a.acf_prop_type[0] = 5; },   // tail rotor and lift fan: no pitch range asked
        [](acf_struct& a) { a.acf_prop_type[0] = 6; },
        // Aileron 2 and spoilers are looked for on parts 8 to 27 only.
        [](acf_struct& a) {
            set_wing(a, 28, 2.0f, 2.0f, 2, 3.0f);
            a.acf_ail2[ACF_el(28, 0)] = a.acf_splr[ACF_el(28, 1)] = 1;
        },
    };
    clear_alerts();
    for (const auto& apply : passing) {
        a = *good;
        apply(a);
        ACF_check(slot);
    }
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(AcfCheck, ObsoleteInstrumentsAreRemoved)
{
    for (int s = 0; s < ACF_INS_SLOTS; ++s) {
        a.acf_ins_type[s] = 100 + s % 100;
        a.acf_ins_x[s] = static_cast<float>(s);
    }
    a.acf_ins_type[3] = 248;
    a.acf_ins_type[4] = 274;
    ACF_check(slot);
    EXPECT_EQ(a.acf_ins_type[2], 102);
    EXPECT_EQ(a.acf_ins_type[3], 105);
    EXPECT_EQ(a.acf_ins_x[3], 5.0f);     // slots 5..199 moved down two places
    EXPECT_EQ(a.acf_ins_x[197], 199.0f);
    EXPECT_EQ(a.acf_ins_x[199], 199.0f); // the last slots repeat the former slot 199

    // Obsolete last instruments end the pass: slot 199 stays, and with 198 obsolete too.
    for (int s = 0; s < ACF_INS_SLOTS; ++s) a.acf_ins_type[s] = ACF_INS_EMPTY;
    a.acf_ins_type[199] = 249;
    a.acf_ins_type[198] = 250;
    ACF_check(slot);
    EXPECT_EQ(a.acf_ins_type[198], 249);
    EXPECT_EQ(a.acf_ins_type[199], 249);
    // Only types inside the picture table are looked up.
    EXPECT_FALSE(ACF_instrument_obsolete(ACF_INS_EMPTY));
    EXPECT_FALSE(ACF_instrument_obsolete(476 + 248));
}
