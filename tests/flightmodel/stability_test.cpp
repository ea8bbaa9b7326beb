// Artificial stability and control mixing: speed blending, plug-in overrides,
// yaw damping on the ground, jams against trims, hydraulic authority, and
// bad values written from outside.
#include "tests/flightmodel/control_fixture.h"

#include <limits>

namespace {
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
}

TEST_F(ControlStep, StabilityBlendsItsLowAndHighSpeedLawsByAirspeed)
{
    sim_cockpit_switches.art_stab_on = 1;
    // Against a nose-down rate of 2 deg/s the low-speed pitch law gives 0.4, the high-speed one 0.2.
    f.Q = -2.0f;
    a.acf_ASp_lo_rate = 0.2f;
    a.acf_ASp_hi_rate = 0.1f;
    a.acf_ASloV = 60.0f;
    a.acf_AShiV = 140.0f;
    a.acf_est_Vs = 1000.0f;   // full speed gain at every speed here

    const struct { float ias, lo_speed, hi_speed, ratio; } cases[] = {
        {0.0f, 60.0f, 140.0f, 0.4f},      // standing still: no high-speed law
        {100.0f, 60.0f, 140.0f, 0.3f},    // halfway between the blend speeds
        {150.0f, 60.0f, 140.0f, 0.2f},
        {150.0f, 60.0f, 60.0f, 0.3f},     // equal blend speeds: half of each
        {2.0f, 60.0f, 60.0f, 0.24f},      // the high-speed half fades in over the first 5 kt
    };
    for (const auto& c : cases) {
        f.indicated_airspeed = c.ias;
        a.acf_ASloV = c.lo_speed;
        a.acf_AShiV = c.hi_speed;
        step();
        EXPECT_NEAR(joy.artstab_pitch_ratio, c.ratio, 1e-6f) << c.ias << " kt";
    }
    sim_cockpit_switches.art_stab_on = 0;
    step();
    EXPECT_FLOAT_EQ(joy.artstab_pitch_ratio, 0.0f);

    // The high-speed yaw law against sideslip: beta scaled by 0.1 x IAS below
    // 10 kt and by IAS itself below 1 kt, the law faded by 0.2 x IAS.
    sim_cockpit_switches.art_stab_on = sim_cockpit_switches.yaw_damper_on = 1;
    f.Q = 0.0f;
    f.beta = 10.0f;
    a.acf_ASh_hi_pos = 0.01f;
    a.acf_ASloV_yaw = -10.0f;   // every speed here is above both blend speeds
    a.acf_AShiV_yaw = -5.0f;
    const struct { float ias, ratio; } yaw_cases[] = {
        {0.5f, -(10.0f * 0.05f * 0.5f) * 0.01f * 0.1f},   // beta' 0.5, x IAS 0.5, fade 0.1
        {5.0f, -(10.0f * 0.5f) * 0.01f},                  // beta' 5, fade 1
        {20.0f, -10.0f * 0.01f},
    };
    for (const auto& c : yaw_cases) {
        f.indicated_airspeed = c.ias;
        step();
        EXPECT_NEAR(joy.artstab_heading_ratio, c.ratio, 1e-6f) << c.ias << " kt";
    }
    sim_cockpit_switches.yaw_damper_on = 0;
    step();
    EXPECT_FLOAT_EQ(joy.artstab_heading_ratio, 0.0f);
}

TEST_F(ControlStep, OverriddenStabilityRatiosAreStillAdded)
{
    sim_operation_override.override_artstab = 1;
    joy.artstab_pitch_ratio = 0.3f;
    joy.artstab_roll_ratio = NaN;   // a bad plug-in value counts as nothing
    step();
    EXPECT_FLOAT_EQ(f.FC_ptch, 0.3f);
    EXPECT_FLOAT_EQ(f.FC_roll, 0.0f);
}

TEST_F(ControlStep, YawStabilityRestsWithEveryWheelDown)
{
    sim_cockpit_switches.art_stab_on = sim_cockpit_switches.yaw_damper_on = 1;
    a.acf_ASh_lo_rate = 0.1f;
    a.acf_ASloV = a.acf_AShiV = a.acf_ASloV_yaw = a.acf_AShiV_yaw = 50.0f;
    f.R = 5.0f;
    step();
    EXPECT_LT(joy.artstab_heading_ratio, 0.0f);
    f.onground_all = 1;
    step();
    EXPECT_FLOAT_EQ(joy.artstab_heading_ratio, 0.0f);
}

TEST_F(ControlStep, JammedRollKeepsOneDirectionButTrimCarriesItPast)
{
    f.failures[17] = 6;   // roll kept in 0..1
    stick.axis[ROLL] = -0.5f;
    step();
    EXPECT_FLOAT_EQ(f.FC_roll, 0.0f);
    stick.axis[ROLL] = 0.7f;
    step();
    EXPECT_FLOAT_EQ(f.FC_roll, 0.7f);
    stick.axis[ROLL] = -0.5f;
    f.ail_trim = -0.2f;
    step();
    EXPECT_FLOAT_EQ(f.FC_roll, -0.2f);

    f.failures[23] = 6;   // the aileron trim runs back to 0
    step();
    EXPECT_FLOAT_EQ(f.ail_trim, 0.0f);
    EXPECT_FLOAT_EQ(f.FC_roll, 0.0f);
}

TEST_F(ControlStep, LostHydraulicsLeaveTheAircraftsFloorOfAuthority)
{
    a.acf_hyd_min_authority = 0.3f;
    sim_operation_failures.hydraulic_pressure_ratio = 0.0f;
    stick.axis[PITCH] = 1.0f;
    stick.axis[HEADING] = -1.0f;
    step();
    EXPECT_FLOAT_EQ(f.FC_ptch, 0.3f);
    EXPECT_FLOAT_EQ(f.FC_hdng, -0.3f);
}

TEST_F(ControlStep, ValuesWrittenFromOutsideThatAreNotNumbersNeverReachTheDeflections)
{
    joy.yolk_pitch_ratio = joy.yolk_roll_ratio = joy.yolk_heading_ratio = NaN;
    f.elv_trim = f.ail_trim = f.rud_trim = NaN;
    sim_operation_failures.hydraulic_pressure_ratio = NaN;
    step();
    for (float v : {f.FC_ptch, f.FC_roll, f.FC_hdng, f.elv_trim, f.ail_trim, f.rud_trim}) EXPECT_FLOAT_EQ(v, 0.0f);

    sim_operation_override.override_flightcontrol = 1;   // a plug-in writes the deflections
    f.FC_ptch = NaN;
    f.FC_roll = std::numeric_limits<float>::infinity();
    step();
    EXPECT_FLOAT_EQ(f.FC_ptch, 0.0f);
    EXPECT_FLOAT_EQ(f.FC_roll, 1.0f);
}

// The roll law blends by the roll channel's own speeds, and each pitch jam
// keeps its own direction of travel.
TEST_F(ControlStep, RollBlendsByItsOwnSpeedsAndPitchJamsKeepTheirDirection)
{
    sim_cockpit_switches.art_stab_on = 1;
    a.acf_est_Vs = 1000.0f;   // full speed gain
    f.P = -2.0f;              // low-speed roll law 0.4, high-speed 0.2
    a.acf_ASr_lo_rate = 0.2f;
    a.acf_ASr_hi_rate = 0.1f;
    a.acf_ASloV = 200.0f, a.acf_AShiV = 300.0f;             // pitch: all low-speed at 100 kt
    a.acf_ASloV_roll = 60.0f, a.acf_AShiV_roll = 140.0f;    // roll: halfway at 100 kt
    f.indicated_airspeed = 100.0f;
    step();
    EXPECT_NEAR(joy.artstab_roll_ratio, 0.3f, 1e-6f);
    sim_cockpit_switches.art_stab_on = 0;

    struct jam { int slot; float stick; bool moves; };
    for (const jam& j : {jam{19, 0.5f, false}, jam{19, -0.5f, true}, jam{20, -0.5f, false}, jam{20, 0.5f, true}}) {
        f.failures[19] = f.failures[20] = 0;
        f.failures[j.slot] = 6;
        stick.axis[PITCH] = j.stick;
        step();
        EXPECT_EQ(f.FC_ptch != 0.0f, j.moves) << j.slot << " " << j.stick;
        if (j.moves) {
            EXPECT_EQ(f.FC_ptch > 0.0f, j.stick > 0.0f) << j.slot;
        }
    }
}

// The six laws with every gain set, worked out by hand: above both blend
// speeds only the high-speed laws act, below them only the low-speed ones.
// Inputs: pitch 0.5, heading 0.2, roll 0.1; Q = R = P = 1; g 1.5 after 1.0
// 0.05 s before (rate 10); alpha 3, beta 2.
//   Hp = (0.5x2 - 1.5)x0.1 - 10x0.05 + (0.5x10 - 3)x0.01 - 1x0.02 = -0.55
//   Hy = (0.2x5 - 2x1)x0.1 - 1x0.05 = -0.15      Hr = (0.1x20 - 1)x0.02 = 0.02
//   Lp = (0.5x4 - 1)x0.1 = 0.1   Ly = (0.2x3 - 1)x0.1 = -0.04   Lr = (0.1x6 - 1)x0.1 = -0.04
// A failed stability augmentation (slot 46) silences all three.
TEST_F(ControlStep, EachStabilityLawWithItsGains)
{
    sim_cockpit_switches.art_stab_on = sim_cockpit_switches.yaw_damper_on = 1;
    a.acf_ASmaxg_hi = 2.0f, a.acf_ASg_hi_pos = 0.1f, a.acf_ASg_hi_rate = 0.05f;
    a.acf_ASmaxp_hi = 10.0f, a.acf_ASp_hi_pos = 0.01f, a.acf_ASp_hi_rate = 0.02f;
    a.acf_ASmaxh_hi = 5.0f, a.acf_ASh_hi_pos = 0.1f, a.acf_ASh_hi_rate = 0.05f;
    a.acf_ASmaxr_hi = 20.0f, a.acf_ASr_hi_rate = 0.02f;
    a.acf_ASmaxp_lo = 4.0f, a.acf_ASp_lo_rate = 0.1f;
    a.acf_ASmaxh_lo = 3.0f, a.acf_ASh_lo_rate = 0.1f;
    a.acf_ASmaxr_lo = 6.0f, a.acf_ASr_lo_rate = 0.1f;
    a.acf_ASloV = a.acf_ASloV_yaw = a.acf_ASloV_roll = 50.0f;
    a.acf_AShiV = a.acf_AShiV_yaw = a.acf_AShiV_roll = 100.0f;
    sim_operation_misc.frame_rate_period = 0.05f;
    const struct { float ias; int failed; float pitch, heading, roll; } cases[] = {
        {200.0f, 0, -0.55f, -0.15f, 0.02f},
        {40.0f, 0, 0.1f, -0.04f, -0.04f},
        {200.0f, 1, 0.0f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        joy.yolk_pitch_ratio = 0.5f, joy.yolk_heading_ratio = 0.2f, joy.yolk_roll_ratio = 0.1f;
        f.Q = f.R = f.P = 1.0f;
        f.g_nrml = 1.5f, stability.g_nrml_before = 1.0f;
        f.alpha = 3.0f, f.beta = 2.0f;
        f.indicated_airspeed = c.ias;
        f.failures[46] = c.failed ? 6 : 0;
        STAB_mix(0, 1.0f);
        EXPECT_NEAR(joy.artstab_pitch_ratio, c.pitch, 1e-5f) << c.ias << " " << c.failed;
        EXPECT_NEAR(joy.artstab_heading_ratio, c.heading, 1e-5f) << c.ias << " " << c.failed;
        EXPECT_NEAR(joy.artstab_roll_ratio, c.roll, 1e-5f) << c.ias << " " << c.failed;
        EXPECT_NEAR(f.FC_ptch, 0.5f + c.pitch, 1e-5f) << c.ias << " " << c.failed;
    }
}

// Trims stay within the aircraft's own limits in each direction, and each
// yaw or roll jam keeps its own direction of travel.
TEST_F(ControlStep, TrimLimitsAndYawAndRollJams)
{
    a.acf_elv_trim_dn = 0.2f, a.acf_elv_trim_up = 0.4f;
    a.acf_rud_trim_lt = 0.1f, a.acf_rud_trim_rt = 0.3f;
    a.acf_ail_trim_lt = 0.05f, a.acf_ail_trim_rt = 0.15f;
    for (float trim : {-1.0f, 1.0f}) {
        f.elv_trim = f.rud_trim = f.ail_trim = trim;
        STAB_mix(0, 1.0f);
        EXPECT_FLOAT_EQ(f.elv_trim, trim < 0.0f ? -0.2f : 0.4f);
        EXPECT_FLOAT_EQ(f.rud_trim, trim < 0.0f ? -0.1f : 0.3f);
        EXPECT_FLOAT_EQ(f.ail_trim, trim < 0.0f ? -0.05f : 0.15f);
    }
    f.elv_trim = f.rud_trim = f.ail_trim = 0.0f;
    const struct { int slot; float input, heading, roll; } jams[] = {
        {21, -0.5f, 0.0f, -0.5f}, {21, 0.5f, 0.5f, 0.5f},     // yaw kept in 0..1
        {22, 0.5f, 0.0f, 0.5f},   {22, -0.5f, -0.5f, -0.5f},  // yaw kept in -1..0
        {18, 0.5f, 0.5f, 0.0f},   {18, -0.5f, -0.5f, -0.5f},  // roll kept in -1..0
    };
    for (const auto& j : jams) {
        for (int s = 17; s <= 22; ++s) f.failures[s] = 0;
        f.failures[j.slot] = 6;
        joy.yolk_heading_ratio = joy.yolk_roll_ratio = j.input;
        STAB_mix(0, 1.0f);
        EXPECT_FLOAT_EQ(f.FC_hdng, j.heading) << j.slot << " " << j.input;
        EXPECT_FLOAT_EQ(f.FC_roll, j.roll) << j.slot << " " << j.input;
    }
}
