// Where the JATO bottles and a vectored rocket push, and a rocket engine's N1,
// exhaust speed and power.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/ground_stages.h"

// 1,000 N tilted up 30 degrees, bottles 0.5 m low and 2 m aft: the forward
// push 866.03 N below the centre raises the nose by 433.01 N m, the upward
// 500 N behind it lowers it by 1,000 N m.
TEST(RocketJato, JatoPushesAtItsOwnArms)
{
    std::memset(&pln[0], 0, sizeof pln[0]);
    flt[0] = flt_struct{};
    acf_struct& a = pln[0];
    a.acf_jato_thrust = 1000.0f, a.acf_jato_theta = 30.0f;
    a.acf_jato_Y = -0.5f, a.acf_jato_Z = 2.0f;
    flt[0].jato_left = 5.0f;
    flt[0].rocket_timeout = -1.0e9f;
    sim_cockpit_switches.jato_on = 1;
    sim_cockpit_switches.puffers_on = 0;
    ROCKET_thrusters();
    sim_cockpit_switches.jato_on = 0;
    EXPECT_NEAR(flt[0].faxil_prop, -866.025f, 1e-2f);
    EXPECT_NEAR(flt[0].fnrml_prop, 500.0f, 1e-2f);
    EXPECT_NEAR(flt[0].M, 433.013f - 1000.0f, 1e-2f);
    EXPECT_NEAR(flt[0].L, 0.0f, 1e-4f);
    EXPECT_NEAR(flt[0].N, 0.0f, 1e-4f);
}

// N1 is 100 x the square root of the throttle, keeping its sign, while it runs.
TEST(RocketJato, RocketN1FromTheThrottle)
{
    struct row {
        int running;
        float throttle, n1;
    };
    for (const row& r : {row{1, 0.25f, 50.0f}, row{1, -0.64f, -80.0f}, row{1, 1.0f, 100.0f}, row{0, 0.25f, 0.0f}}) {
        std::memset(&pln[0], 0, sizeof pln[0]);
        flt[0] = flt_struct{};
        pln[0].acf_en_type[0] = 6;
        flt[0].ENGN_running[0] = r.running;
        flt[0].ENGN_thro_use[0] = r.throttle;
        ROCKET_engine(0);
        EXPECT_NEAR(flt[0].ENGN_N1_[0], r.n1, 1e-4f) << r.throttle;
    }
}

// A rocket of 500 N burning 2 kg/s: exhaust speed 250 m/s and power
// 500 x 250. Vectored 90 degrees to the side at (1, -0.5, 2) it pushes
// 500 N right, rolling by 500 x -0.5 and yawing by -500 x 2.
TEST(RocketJato, RocketExhaustPowerAndSidewaysPush)
{
    std::memset(&pln[0], 0, sizeof pln[0]);
    flt[0] = flt_struct{};
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_en_type[0] = 6;
    a.acf_fmax_sl = a.acf_fmax_opt = a.acf_fmax_vac = 500.0f;
    a.acf_h_opt = 10000.0f;
    a.acf_throtmax_FWD = 1.0f;
    f.ENGN_running[0] = 1;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_mixt_pow_rat[0] = 1.0f;
    f.ENGN_FF_[0] = 2.0f;
    f.sidecant[0] = 90.0f;
    f.POINT_XYZ[0] = 1.0f, f.POINT_XYZ[1] = -0.5f, f.POINT_XYZ[2] = 2.0f;
    ROCKET_engine(0);
    ASSERT_NEAR(f.POINT_thrust[0], 500.0f, 1e-3f);
    EXPECT_NEAR(f.DVinc[0], 250.0f, 1e-3f);
    EXPECT_NEAR(f.ENGN_power[0], 125000.0f, 0.1f);
    EXPECT_NEAR(f.fside_prop, 500.0f, 1e-3f);
    EXPECT_NEAR(f.L, -250.0f, 1e-2f);
    EXPECT_NEAR(f.N, -1000.0f, 1e-2f);
}
