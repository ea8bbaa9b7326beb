#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "flightmodel/gear_util.h"
#include "core/constants.h"
#include "core/random.h"
#include "aircraft/part_presence.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"

namespace {

class GearUtil : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(static_cast<void*>(&flt[1]), 0, sizeof(flt_struct));
        std::memset(static_cast<void*>(&pln[1]), 0, sizeof(acf_struct));
        CONST_fill_random_table();
        sim_operation_misc.frame_rate_period = 0.05f;
        pln[1].acf_gear_retract = 1;
    }
    acf_struct& a = pln[1];
};

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(Util, AutopilotEngagedWhileAnyModeWordIsNotNine)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 9;
    EXPECT_EQ(AP_any_mode_engaged(), 0);
    // Any one of the five words other than 9 (0 included) counts as engaged.
    for (int32_t* word : {&ap.airspeed_mode, &ap.heading_mode, &ap.altitude_mode, &ap.hnav_mode, &ap.vnav_mode}) {
        *word = 0;
        EXPECT_EQ(AP_any_mode_engaged(), 1);
        *word = 9;
    }
}

TEST_F(GearUtil, LegsTravelAtTheirOwnRandomisedRates)
{
    for (int g = 67; g <= 72; ++g) {
        a.acf_gear_cyc_time[g] = 10.0f;
        a.acf_gear_deploy[g] = 0.5f;
        a.acf_part_eq[g] = g != 71;   // leg 71 absent
    }
    flt[1].failures[32 + 3] = FAILURE_STATE_FAILED;   // leg 70 failed

    // Frame clock 3.7 s: leg g reads random-table entry g + 3, the generator's
    // draw g + 4 from its first state times 0.9999 / 32767. Legs 67, 68, 69
    // and 72 draw 28606, 13990, 11738 and 5262: rates 1.37293, 0.92691,
    // 0.85819 and 0.66057 of the nominal 0.05 / 10 a frame. Leg 70 (failed)
    // and 71 (absent) stay.
    GEAR_deploy_step_at(1, 1, 3.7f);
    const float worked[] = {0.5068646f, 0.5046346f, 0.5042910f, 0.5f, 0.5f, 0.5033029f};
    for (int g = 67; g <= 72; ++g) EXPECT_NEAR(a.acf_gear_deploy[g], worked[g - 67], 1e-6f) << g;
    EXPECT_NE(a.acf_gear_deploy[67], a.acf_gear_deploy[68]);

    // A whole travel up ends at exactly 0 and stays there.
    for (int frame = 0; frame < 1000; ++frame) GEAR_deploy_step_at(1, 0, frame * 0.05f);
    GEAR_deploy_step_at(1, 0, 100.0f);
    EXPECT_EQ(a.acf_gear_deploy[67], 0.0f);
    EXPECT_FLOAT_EQ(a.acf_gear_deploy[70], 0.5f);

    // A zero travel time moves the leg all the way at once; fixed gear does not move.
    a.acf_gear_cyc_time[68] = 0.0f;
    GEAR_deploy_step_at(1, 1, 0.0f);
    EXPECT_EQ(a.acf_gear_deploy[68], 1.0f);
    a.acf_gear_retract = 0;
    GEAR_deploy_step_at(1, 0, 0.0f);
    EXPECT_EQ(a.acf_gear_deploy[68], 1.0f);
}

TEST_F(GearUtil, RateTableIndexWrapsAtTheTableEnd)
{
    a.acf_part_eq[67] = 1, a.acf_gear_cyc_time[67] = 10.0f;
    // The table holds the seeded generator's results from its initial state:
    // 16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, ... scaled to 0..0.9999.
    const float entry7 = static_cast<float>(7419 * 0.9999 / 32767);
    ASSERT_FLOAT_EQ(random_table[7], entry7);
    // Clock 9940.2 s: leg 67 reads entry (67 + 9940) mod 10000 = 7.
    GEAR_deploy_step_at(1, 1, 9940.2f);
    EXPECT_FLOAT_EQ(a.acf_gear_deploy[67], (entry7 + 0.5f) * 0.05f / 10.0f);
    // A clock that is not a number reads entry 0 instead of an index out of the table.
    a.acf_gear_deploy[67] = 0.0f;
    GEAR_deploy_step_at(1, 1, NaN);
    EXPECT_FLOAT_EQ(a.acf_gear_deploy[67], (random_table[0] + 0.5f) * 0.05f / 10.0f);
}

TEST_F(GearUtil, PartPresentRuleAndFailureNeighbours)
{
    a.acf_num_engines = 2, a.acf_num_thrustpoints = 3;
    a.acf_en_type[1] = 4;   // engine 0 a piston with propeller, engine 1 a jet without
    for (int p = 0; p < 4; ++p) EXPECT_EQ(ACF_part_present(1, p), p % 2 == 0) << p;   // 2: extra thrust point
    a.acf_num_thrustpoints = 2;   // part 2 is then neither an engine nor a thrust point
    EXPECT_EQ(ACF_part_present(1, 2), 0);
    a.acf_num_thrustpoints = 3;
    a.acf_hide_prop_at_90_vect = 1, a.acf_vect_cant[0] = 90.0f;
    EXPECT_EQ(ACF_part_present(1, 0), 0);
    a.acf_vect_cant[0] = 89.0f, flt[1].failures[58] = FAILURE_STATE_FAILED;
    EXPECT_EQ(ACF_part_present(1, 0), 0);

    a.acf_part_eq[10] = a.acf_part_eq[55] = a.acf_part_eq[67] = 1;
    flt[1].failures[140] = FAILURE_STATE_FAILED;
    EXPECT_EQ(ACF_part_present(1, 10), 0);
    EXPECT_EQ(ACF_part_present(1, 55), 1);
    flt[1].failures[60] = FAILURE_STATE_FAILED;   // engine 2's slot, shared by nacelle 55
    EXPECT_EQ(ACF_part_present(1, 55), 0);
    flt[1].failures[32] = FAILURE_STATE_FAILED;   // a failed gear is still present
    EXPECT_EQ(ACF_part_present(1, 67), 1);
    EXPECT_EQ(ACF_part_present(1, 73) + ACF_part_present(10, 67), 0);
    EXPECT_EQ(FLT_failure_slot_of_part(57), 62);
    EXPECT_EQ(FLT_failure_slot_of_part(70), 35);
    EXPECT_EQ(FLT_failure_slot_of_part(45), -1);

    // The words that follow the two failure runs in memory.
    flt[1].failure_param[0] = 1.5f, flt[1].comp_fail_stat[0] = 0x40400000;
    EXPECT_EQ(FLT_word_after_failures(1), std::bit_cast<int32_t>(1.5f));
    EXPECT_FLOAT_EQ(FLT_word_after_failure_param(1), 3.0f);
    EXPECT_EQ(FLT_failure_state(1, 174) + FLT_failure_state(-1, 0), 0);   // out of the table
}
