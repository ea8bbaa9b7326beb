// Engine-control setters, the single-lever map, the FADEC tests, fuel flow and
// the clamped interpolation, on a hand-made twin turboprop in slot 0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "aircraft/acf_struct.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

class EngineControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(static_cast<void*>(&flt[0]), 0, sizeof(flt_struct));
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof(acf_struct));
        sim_cockpit_engine = {};
        sim_operation_misc.frame_rate_period = 0.05f;   // 20 frames per second
        a.acf_num_engines = 2;
        a.acf_num_thrustpoints = 2;
        a.acf_throtmax_FWD = 1.0f;
        a.acf_throtmax_REV = 0.5f;
        a.acf_RSC_mingreen_prp = 150.0f;
        a.acf_RSC_redline_prp = 200.0f;
        a.acf_feathered_pitch = 85.0f;
        for (int n = 0; n < 8; ++n) {
            a.acf_en_type[n] = 2;
            a.acf_prop_type[n] = 1;
            a.acf_min_pitch[n] = 10.0f;
            a.acf_max_pitch[n] = 45.0f;
            f.ENGN_propmode[n] = 1;
        }
        a.acf_has_beta = 1;
        a.acf_revthrust_eq = 1;
    }
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
};

}  // namespace

TEST_F(EngineControls, SettersClampToTheAircraftsLimitsByMode)
{
    ENGN_set_throttle(0, 1.3f);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 1.0f);
    f.ENGN_propmode[0] = 3;
    ENGN_set_throttle(0, 1.0f);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.5f);   // reverse stops at acf_throtmax_REV
    ENGN_set_throttle(0, -0.2f);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.0f);
    // A reversed propeller's pitch runs from -90 up to its finest forward pitch.
    a.acf_prop_type[0] = 2;
    a.acf_min_pitch[0] = 12.0f;
    for (const auto& [asked, got] : {std::pair{50.0f, 12.0f}, std::pair{-120.0f, -90.0f}, std::pair{-20.0f, -20.0f}}) {
        ENGN_set_prop_pitch(0, asked);
        EXPECT_FLOAT_EQ(f.POINT_pitch_deg[0], got) << asked;
    }

    ENGN_set_prop_rpm(1, 10.0f);
    EXPECT_FLOAT_EQ(f.ENGN_prop[1], 150.0f);
    ENGN_set_prop_rpm(1, 900.0f);
    EXPECT_FLOAT_EQ(f.ENGN_prop[1], 200.0f);
    ENGN_set_mixture(1, 1.5f);
    EXPECT_FLOAT_EQ(f.ENGN_mixt[1], 1.0f);
    ENGN_set_mixture(1, -1.0f);
    EXPECT_FLOAT_EQ(f.ENGN_mixt[1], 0.0f);
}

TEST_F(EngineControls, SettersIgnoreBadIndicesAndRequestsThatAreNotNumbers)
{
    const flt_struct before = f;
    for (int n : {-1, 8, 100, -2147483647 - 1}) {
        ENGN_set_throttle(n, 0.5f);
        ENGN_set_prop_rpm(n, 170.0f);
        ENGN_set_mixture(n, 0.5f);
        ENGN_set_prop_pitch(n, 20.0f);
        EXPECT_FLOAT_EQ(ENGN_lever_to_throttle(0.5f, n, 1), 0.0f);
        EXPECT_EQ(ENGN_has_fadec(0, n), 0);
        EXPECT_EQ(ENGN_fadec_active(0, n), 0);
        EXPECT_FLOAT_EQ(ENGN_fuel_flow(1000.0f, n), 0.0f);
        EXPECT_EQ(ENGN_type_is_2(0, n), 0);
    }
    EXPECT_EQ(ENGN_has_fadec(-1, 0), 0);
    EXPECT_EQ(ENGN_type_is_2(10, 0), 0);
    EXPECT_EQ(std::memcmp(&before, &f, sizeof(flt_struct)), 0);

    f.ENGN_thro[0] = 0.4f;
    f.ENGN_mixt[0] = 0.7f;
    f.ENGN_prop[0] = 180.0f;
    f.POINT_pitch_deg[0] = 20.0f;
    ENGN_set_throttle(0, NaN);
    ENGN_set_mixture(0, NaN);
    ENGN_set_prop_rpm(0, NaN);
    ENGN_set_prop_pitch(0, NaN);
    ENGN_lever_to_throttle(NaN, 0, 1);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.4f);
    EXPECT_FLOAT_EQ(f.ENGN_mixt[0], 0.7f);
    EXPECT_FLOAT_EQ(f.ENGN_prop[0], 180.0f);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[0], 20.0f);
    EXPECT_EQ(f.ENGN_propmode[0], 1);
    ENGN_set_throttle(0, std::numeric_limits<float>::infinity());
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 1.0f);
}

TEST_F(EngineControls, GovernedPitchMovesThirtyDegreesASecondOthersJump)
{
    f.POINT_pitch_deg[0] = 10.0f;
    ENGN_set_prop_pitch(0, 40.0f);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[0], 11.5f);   // 30 deg/s at 20 fps
    for (int i = 0; i < 30; ++i) ENGN_set_prop_pitch(0, 40.0f);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[0], 40.0f);

    for (int type : {0, 2, 3}) {
        a.acf_prop_type[1] = type;
        f.POINT_pitch_deg[1] = 10.0f;
        ENGN_set_prop_pitch(1, 40.0f);
        EXPECT_FLOAT_EQ(f.POINT_pitch_deg[1], 40.0f) << "type " << type;
    }

    // The range follows the mode: feathered, and reverse down to -90.
    a.acf_prop_type[1] = 0;
    f.ENGN_propmode[1] = 0;
    ENGN_set_prop_pitch(1, 20.0f);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[1], 85.0f);
    f.ENGN_propmode[1] = 3;
    ENGN_set_prop_pitch(1, -120.0f);
    EXPECT_FLOAT_EQ(f.POINT_pitch_deg[1], -90.0f);
}

TEST_F(EngineControls, OneLeverSelectsForwardBetaAndReverse)
{
    // With beta and reversers: forward from 0.21, beta from 0.17, reverse below.
    EXPECT_FLOAT_EQ(ENGN_lever_to_throttle(0.19f, 0, 1), 0.17f);
    EXPECT_EQ(f.ENGN_propmode[0], 2);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.0f);

    EXPECT_FLOAT_EQ(ENGN_lever_to_throttle(0.085f, 0, 1), 0.085f);   // 0.17 - 0.17 x 0.5
    EXPECT_EQ(f.ENGN_propmode[0], 3);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.5f * a.acf_throtmax_REV);

    EXPECT_FLOAT_EQ(ENGN_lever_to_throttle(0.21f, 0, 1), 0.21f);
    EXPECT_EQ(f.ENGN_propmode[0], 1);
    EXPECT_FLOAT_EQ(f.ENGN_thro[0], 0.0f);

    EXPECT_NEAR(ENGN_lever_to_throttle(0.605f, 0, 1), 0.605f, 1e-6f);
    EXPECT_NEAR(f.ENGN_thro[0], 0.5f, 1e-6f);
    // Reading only: the present state comes back, nothing changes.
    EXPECT_NEAR(ENGN_lever_to_throttle(0.0f, 0, 0), 0.605f, 1e-6f);
    EXPECT_NEAR(f.ENGN_thro[0], 0.5f, 1e-6f);

    // Without beta the forward edge is 0.25.
    a.acf_has_beta = 0;
    ENGN_lever_to_throttle(0.22f, 0, 1);
    EXPECT_EQ(f.ENGN_propmode[0], 2);

    // Without reversers the whole travel is forward.
    a.acf_revthrust_eq = 0;
    ENGN_lever_to_throttle(0.1f, 1, 1);
    EXPECT_EQ(f.ENGN_propmode[1], 1);
    EXPECT_FLOAT_EQ(f.ENGN_thro[1], 0.1f * a.acf_throtmax_FWD);

    // Zero limits give the middle of the zone, never a division by zero.
    a.acf_throtmax_FWD = a.acf_throtmax_REV = 0.0f;
    a.acf_revthrust_eq = a.acf_has_beta = 1;
    f.ENGN_propmode[0] = 3;
    EXPECT_FLOAT_EQ(ENGN_lever_to_throttle(0.0f, 0, 0), 0.17f / 2.0f);
}

TEST_F(EngineControls, FadecFittedOnlyOnPresentPropellerEngines)
{
    EXPECT_EQ(ENGN_has_fadec(0, 0), 0);   // not fitted
    a.acf_force_fadec = 1;
    EXPECT_EQ(ENGN_has_fadec(0, 0), 1);
    EXPECT_EQ(ENGN_has_fadec(0, 2), 0);   // beyond the engine count
    f.failures[58 + 1] = 6;
    EXPECT_EQ(ENGN_has_fadec(0, 1), 0);   // failed engine
    a.acf_en_type[0] = 6;
    EXPECT_EQ(ENGN_has_fadec(0, 0), 0);   // a rocket never has one

    sim_cockpit_engine.fadec_on[3] = 1;
    EXPECT_EQ(ENGN_fadec_active(0, 3), 1);
    f.failures[130 + 3] = 6;
    EXPECT_EQ(ENGN_fadec_active(0, 3), 0);
}

TEST_F(EngineControls, FuelFlowRisesAtPartThrottleWithAnIdleFloor)
{
    a.acf_pmax = 1000.0f;
    a.acf_tmax = 2000.0f;
    a.acf_SFC[0] = 0.001f;
    f.ENGN_sigma[0] = 1.0f;

    // Type 2 at full throttle use: SFC as it stands; at zero use five times it.
    f.ENGN_thro_use[0] = 0.8f;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(500.0f, 0), 0.5f);
    f.ENGN_thro_use[0] = 0.0f;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(500.0f, 0), 2.5f);
    // The floor: 6 % of full power at the part-throttle factor.
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(10.0f, 0), 1000.0f * 0.005f * 0.06f);
    // A windmilling engine outside reverse burns only its floor; in reverse its output counts.
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(-500.0f, 0), 1000.0f * 0.005f * 0.06f);
    f.ENGN_propmode[0] = 3;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(-500.0f, 0), 2.5f);
    f.ENGN_propmode[0] = 1;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(NaN, 0), 1000.0f * 0.005f * 0.06f);

    // A rocket (type 6) has no part-throttle factor and no floor.
    a.acf_en_type[0] = 6;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(0.0f, 0), 0.0f);
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(100.0f, 0), 0.1f);

    // An afterburning jet: the burner's share of the thrust burns at twice the rate.
    a.acf_en_type[0] = 4;
    a.acf_burnerinc = 2000.0f;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_burning[0] = 1;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(4000.0f, 0), 4.0f * 1.5f);
    a.acf_burnerinc = 0.0f;
    a.acf_tmax = 0.0f;
    EXPECT_FLOAT_EQ(ENGN_fuel_flow(4000.0f, 0), 4.0f);   // no thrust figures: no burner factor

    // Each type's part-throttle factor at zero throttle use (SFC 0.001) and its
    // idle floor (output 0): piston x1 on 1 % of pmax, free turbine x5 and
    // fixed turbine x4.5 on 6 % of pmax, jets x4 on 6 % of tmax; half the
    // density halves the floor.
    a.acf_pmax = 1000.0f;
    a.acf_tmax = 2000.0f;
    f.ENGN_burning[0] = 0;
    f.ENGN_thro_use[0] = 0.0f;
    f.ENGN_sigma[0] = 0.5f;
    const struct { int32_t type; float at_100, floor; } kinds[] = {
        {0, 0.1f, 1000.0f * 0.001f * 0.01f * 0.5f},
        {1, 0.1f, 1000.0f * 0.001f * 0.01f * 0.5f},
        {2, 0.5f, 1000.0f * 0.005f * 0.06f * 0.5f},
        {8, 0.45f, 1000.0f * 0.0045f * 0.06f * 0.5f},
        {4, 0.4f, 2000.0f * 0.004f * 0.06f * 0.5f},
        {5, 0.4f, 2000.0f * 0.004f * 0.06f * 0.5f},
    };
    for (const auto& k : kinds) {
        a.acf_en_type[0] = k.type;
        EXPECT_NEAR(ENGN_fuel_flow(100.0f, 0), k.at_100, 1e-6f) << k.type;
        EXPECT_NEAR(ENGN_fuel_flow(0.0f, 0), k.floor, 1e-7f) << k.type;
    }

    EXPECT_EQ(ENGN_type_is_2(0, 1), 1);
    a.acf_en_type[1] = 8;
    EXPECT_EQ(ENGN_type_is_8(0, 1), 1);
    EXPECT_EQ(ENGN_type_is_2(0, 1), 0);
}

TEST(InterpClamped, LineBetweenTwoPointsClampedOrExtrapolated)
{
    EXPECT_FLOAT_EQ(UTIL_interp_clamped(0.0f, 5.0f, 0.8f, 1.0f, 0.4f, 0), 3.0f);
    EXPECT_FLOAT_EQ(UTIL_interp_clamped(0.0f, 5.0f, 0.8f, 1.0f, 1.2f, 0), 1.0f);
    EXPECT_FLOAT_EQ(UTIL_interp_clamped(0.0f, 5.0f, 0.8f, 1.0f, 1.2f, 1), -1.0f);
    EXPECT_FLOAT_EQ(UTIL_interp_clamped(0.0f, 5.0f, 0.8f, 1.0f, -1.0f, 0), 5.0f);
    EXPECT_FLOAT_EQ(UTIL_interp_clamped(2.0f, 1.0f, 2.0f, 3.0f, 7.0f, 0), 2.0f);   // equal x: the mean
}
