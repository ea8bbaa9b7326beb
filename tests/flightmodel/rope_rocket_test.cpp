// Ropes (geometry, pull, tow, winch, slung load) and the thrust that needs no
// air (rocket engines, manoeuvring rockets, JATO, puffers), the last also
// through the whole build-up in a vacuum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/ground/rope.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/propulsion/propulsion.h"
#include "tests/flightmodel/forces_fixture.h"
#include "tests/support/terrain_support.h"

namespace {

class Ropes : public ::testing::Test {
protected:
    void SetUp() override
    {
        RESET_all();
        CONST_fill_constants();
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
        for (int p : {0, 1}) flt[p] = flt_struct{};
        flt_struct& f = flt[0];
        f.cos_theta = f.track_cos = f.cos_phi = 1.0f;
        f.m_total = 500.0f;
        rope_points = rope_points_block{};
        sim_operation_misc.frame_rate_period = 0.05f;
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        TEST_lay_flat_grid(0.0f);
    }

    static void set_line(float bx, float by, float bz)
    {
        rope_points.line_b[0] = bx, rope_points.line_b[1] = by, rope_points.line_b[2] = bz;
    }
};

}  // namespace

TEST_F(Ropes, GeometryOfTheRope)
{
    float dx, dy, dz, len, el;
    ROPE_geometry(0.0f, 0.0f, 5.0f, 5.0f, 0.0f, -10.0f, &dx, &dy, &dz, &len, &el);
    EXPECT_EQ(el, 0.0f);
    EXPECT_EQ(len, 10.0f);
    ROPE_geometry(0.0f, 0.0f, 5.0f, -5.0f, 0.0f, 10.0f, &dx, &dy, &dz, &len, &el);
    EXPECT_NEAR(el, 45.0f, 1e-4f);
    EXPECT_EQ(dy, -10.0f);
    // 6 m across and 8 m ahead is 10 m of horizontal run: 10 m lower is 45 degrees.
    ROPE_geometry(0.0f, 6.0f, 5.0f, -5.0f, 0.0f, -8.0f, &dx, &dy, &dz, &len, &el);
    EXPECT_NEAR(el, 45.0f, 1e-4f);
    ROPE_geometry(3.0f, 3.0f, 5.0f, -5.0f, 1.0f, 1.0f, &dx, &dy, &dz, &len, &el);
    EXPECT_NEAR(el, 90.0f, 1e-4f);
    ROPE_geometry(3.0f, 3.0f, -5.0f, 5.0f, 1.0f, 1.0f, &dx, &dy, &dz, &len, &el);
    EXPECT_NEAR(el, -90.0f, 1e-4f);
}

TEST_F(Ropes, AShortRopePullsWithItsLengthAtTheHook)
{
    float side, normal, axial;
    // Half a metre straight ahead: half the tension, pulling forward.
    ROPE_apply_tension(1000.0f, 0.5f, 0.0f, -0.5f, -3.0f, 0.0f, 0.0f, -0.5f, &side, &normal, &axial);
    EXPECT_NEAR(axial, -500.0f, 1e-3f);
    EXPECT_NEAR(flt[0].faxil_prop, -500.0f, 1e-3f);
    EXPECT_NEAR(flt[0].M, -500.0f * -0.5f, 1e-3f);   // below the centre of gravity: nose up
    // Ten metres up and ahead: the whole tension along the rope.
    ROPE_apply_tension(1000.0f, 10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 6.0f, -8.0f, &side, &normal, &axial);
    EXPECT_NEAR(normal, 600.0f, 1e-3f);
    EXPECT_NEAR(axial, -800.0f, 1e-3f);
    // A zero-length rope divides by nothing.
    ROPE_apply_tension(1000.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &side, &normal, &axial);
    EXPECT_EQ(axial, 0.0f);
    // Pulled sideways at a hook 0.5 m low and 3 m ahead: the roll arm is the
    // hook's height, the yaw arm its distance ahead.
    flt[0].L = flt[0].N = 0.0f;
    ROPE_apply_tension(1000.0f, 10.0f, 0.0f, -0.5f, -3.0f, 10.0f, 0.0f, 0.0f, &side, &normal, &axial);
    EXPECT_NEAR(std::fabs(side), 1000.0f, 1e-3f);
    EXPECT_NEAR(flt[0].L, side * -0.5f, 1e-3f);
    EXPECT_NEAR(flt[0].N, -side * -3.0f, 1e-3f);
}

TEST_F(Ropes, TowRopeBehindTheTowPlane)
{
    flt_struct& f = flt[0];
    launch_flags.aero_tow_mode = launch_flags.tow_attached = 1;
    pln[0].acf_tow_hook_Y = -0.2f, pln[0].acf_tow_hook_Z = -2.0f;
    flt[1].local_vz = -30.0f;   // the tow plane 30 m/s north
    f.groundspeed = 30.0f;
    set_line(0.0f, 0.0f, -60.0f);   // 5 m past the rope's 55 m
    ROPE_tow_and_winch();
    EXPECT_NEAR(f.faxil_prop, -5.0f * f.m_total, 0.01f);
    EXPECT_NEAR(launch_flags.rope_pitch_deg, 0.0f, 1e-4f);
    EXPECT_NEAR(launch_flags.rope_side_deg, 0.0f, 1e-4f);

    // Slack (the glider catching up): the least pull, m_total newtons.
    f.faxil_prop = 0.0f;
    set_line(0.0f, 0.0f, -50.0f);
    f.groundspeed = 32.0f;
    ROPE_tow_and_winch();
    EXPECT_NEAR(f.faxil_prop, -f.m_total, 0.01f);

    // The tow plane above: the rope points up from the body.
    set_line(0.0f, 10.0f, -60.0f);
    ROPE_tow_and_winch();
    EXPECT_NEAR(launch_flags.rope_pitch_deg, std::atan(10.0f / 60.0f) * 57.29578f, 0.01f);

    launch_flags.tow_attached = 0;   // released: no pull
    f.faxil_prop = 0.0f;
    ROPE_tow_and_winch();
    EXPECT_EQ(f.faxil_prop, 0.0f);
}

TEST_F(Ropes, TheWinchReelsInAndLetsGoAbove60Degrees)
{
    flt_struct& f = flt[0];
    launch_flags.winch_mode = launch_flags.winch_attached = 1;
    launch_flags.winch_cable_m = 1000.0f;
    set_line(0.0f, -100.0f, -900.0f);   // the winch far ahead and below, 6 degrees down
    ROPE_tow_and_winch();
    EXPECT_NEAR(launch_flags.winch_cable_m, 1000.0f - 10.0f * 0.05f, 1e-3f);
    ROPE_tow_and_winch();
    EXPECT_NEAR(launch_flags.winch_cable_m, 999.5f - 30.0f * 0.05f, 1e-3f);

    set_line(0.0f, -800.0f, -700.0f);   // 49 degrees down: reeled in more slowly
    ROPE_tow_and_winch();
    ROPE_tow_and_winch();
    EXPECT_NEAR(launch_flags.winch_cable_m, 998.0f - 30.0f * 0.05f - 15.0f * 0.05f, 1e-3f);
    EXPECT_EQ(launch_flags.winch_attached, 1);

    set_line(0.0f, -900.0f, -500.0f);   // 61 degrees: let go
    ROPE_tow_and_winch();
    EXPECT_EQ(launch_flags.winch_attached, 0);
    f.faxil_prop = f.fnrml_prop = 0.0f;
    ROPE_tow_and_winch();
    EXPECT_EQ(f.fnrml_prop, 0.0f);

    // A fresh launch starts slowly again.
    launch_flags.winch_attached = 1;
    launch_flags.winch_cable_m = 1000.0f;
    set_line(0.0f, -100.0f, -900.0f);
    ROPE_tow_and_winch();
    EXPECT_NEAR(launch_flags.winch_cable_m, 999.5f, 1e-3f);

    // 48 degrees down it keeps pulling, though the glider stands higher above
    // the winch than the drum counts cable out; pulling from behind, it lets go.
    launch_flags.winch_attached = 1;
    set_line(0.0f, -1100.0f, -1000.0f);
    ROPE_tow_and_winch();
    EXPECT_EQ(launch_flags.winch_attached, 1);
    set_line(0.0f, -100.0f, 900.0f);
    ROPE_tow_and_winch();
    EXPECT_EQ(launch_flags.winch_attached, 0);
}

// However far the cable stretches, the winch pulls the 500-kg glider with
// at most four fifths of its weight: 0.8 x 500 kg x 9.7983 m/s^2 (the flight
// model's g) = 3,919.3 N, along the cable.
TEST_F(Ropes, TheWinchPullsAtMostFourFifthsOfTheGlidersWeight)
{
    flt_struct& f = flt[0];
    pln[0].acf_est_Vs = 15.0f;   // the driver's full pull up to 1.7 x 29 kt
    f.indicated_airspeed = 40.0f;
    launch_flags.winch_mode = launch_flags.winch_attached = 1;
    launch_flags.winch_cable_m = 100.0f;
    set_line(0.0f, -300.0f, -400.0f);   // 500 m away, the drum's 100 m out stretched by 400
    ROPE_tow_and_winch();
    EXPECT_NEAR(std::hypot(f.faxil_prop, f.fnrml_prop, f.fside_prop), 3919.3f, 1.0f);
    EXPECT_NEAR(f.fnrml_prop / f.faxil_prop, 300.0f / 400.0f, 1e-4f);   // 37 degrees down the cable
}

// The wings on a launch: a wing runner levels them on the ground; in the air
// the pilot's hold keeps them level on the winch and at the tow plane's bank
// on the tow, until the pilot's hand moves the stick.
TEST_F(Ropes, TheWingsAreHeldOnALaunchUntilThePilotTakesTheStick)
{
    flt_struct& f = flt[0];
    fm_state.MI_roll = 1000.0f;
    f.phi = 10.0f;   // right wing down
    launch_flags.winch_mode = launch_flags.winch_armed = 1;
    f.onground_any = 1;
    ROPE_tow_and_winch();
    EXPECT_LT(f.L, 0.0f);   // rolled back to the left
    launch_flags.winch_mode = launch_flags.winch_armed = 0;

    f.onground_any = 0;
    launch_flags.aero_tow_mode = launch_flags.tow_attached = 1;
    set_line(0.0f, 0.0f, -60.0f);
    flt[1].phi = 15.0f;   // the tow plane banks further right
    f.L = 0.0f;
    ROPE_tow_and_winch();
    EXPECT_GT(f.L, 0.0f);
    sim_joystick.yolk_roll_ratio = 0.2f;   // the pilot's hand
    f.L = 0.0f;
    ROPE_tow_and_winch();
    EXPECT_EQ(f.L, 0.0f);
}

TEST_F(Ropes, ASlungLoadHangsOnItsRopeAndRestsOnTheGround)
{
    flt_struct& f = flt[0];
    acf_struct& a = pln[0];
    a.acf_jett_is_slung = 1;
    a.jett_Y = -1.0f;
    f.m_jettison = 200.0f;
    f.jett_len = 10.0f;
    f.local_y = 100.0f;
    sim_weather.rho = 1.2f;
    // The rope stretched a quarter metre: it holds the load's weight.
    for (float* p : {rope_points.load_attach}) p[1] = 99.0f;
    rope_points.load_pos[1] = 99.0f - 10.25f;
    ROPE_slung_load();
    const float weight = 200.0f * FM_GRAVITY;
    EXPECT_NEAR(f.fnrml_prop, -weight, 0.5f);
    EXPECT_NEAR(rope_points.load_vel[1], 0.0f, 1e-3f);
    EXPECT_NEAR(f.ett_size, std::sqrt(1.5f * 200.0f / 907.18f), 1e-4f);

    // Slack, it falls; on the ground it rests at half its size and drags.
    rope_points.load_pos[1] = 95.0f;
    rope_points.load_vel[1] = 0.0f;
    ROPE_slung_load();
    EXPECT_LT(rope_points.load_vel[1], -0.4f);
    rope_points.load_pos[1] = -1.0f;
    rope_points.load_vel[0] = 3.0f;
    rope_points.load_vel[1] = -2.0f;
    ROPE_slung_load();
    EXPECT_NEAR(rope_points.load_pos[1], 0.5f * f.ett_size, 1e-4f);
    EXPECT_EQ(rope_points.load_vel[1], 0.0f);
    EXPECT_LT(rope_points.load_vel[0], 3.0f - 0.4f);

    // No load, no rope.
    f.m_jettison = 0.0f;
    f.fnrml_prop = 0.0f;
    ROPE_slung_load();
    EXPECT_EQ(f.fnrml_prop, 0.0f);
}

// ---------------------------------------------------------------------------

namespace {

class Rockets : public Ropes {
protected:
    void SetUp() override
    {
        Ropes::SetUp();
        acf_struct& a = pln[0];
        a.acf_jato_thrust = 4000.0f;
        a.acf_jato_theta = 30.0f;
        a.acf_jato_Y = -0.5f, a.acf_jato_Z = 1.0f;
        a.acf_puffX = 100.0f, a.acf_puffY = 200.0f, a.acf_puffZ = 300.0f;
        sim_cockpit_switches.jato_on = 0;
        sim_cockpit_switches.puffers_on = 0;
        frame_clock = 10.0f;
    }
    void TearDown() override
    {
        sim_cockpit_switches.jato_on = sim_cockpit_switches.puffers_on = 0;
        frame_clock = 0.0f;
        Ropes::TearDown();
    }
};

}  // namespace

TEST_F(Rockets, JatoBurnsUntilItsTimeIsSpent)
{
    flt_struct& f = flt[0];
    sim_cockpit_switches.jato_on = 1;
    f.jato_left = 0.0f;   // none left: this frame still burns
    ROCKET_thrusters();
    EXPECT_NEAR(f.faxil_prop, -4000.0f * std::cos(30.0f * 0.01745329f), 0.05f);
    EXPECT_NEAR(f.fnrml_prop, 2000.0f, 0.05f);
    EXPECT_EQ(sim_cockpit_switches.jato_on, 0);
    f.faxil_prop = 0.0f;
    ROCKET_thrusters();
    EXPECT_EQ(f.faxil_prop, 0.0f);

    sim_cockpit_switches.jato_on = 1;
    f.jato_left = 0.12f;
    for (int frame = 0; frame < 3; ++frame) ROCKET_thrusters();
    EXPECT_EQ(sim_cockpit_switches.jato_on, 0);
    EXPECT_NEAR(f.jato_left, 0.12f - 0.15f, 1e-6f);

    // Burnt down to exactly nothing left: on for one more frame.
    sim_cockpit_switches.jato_on = 1;
    f.jato_left = sim_operation_misc.frame_rate_period;
    ROCKET_thrusters();
    EXPECT_EQ(f.jato_left, 0.0f);
    EXPECT_EQ(sim_cockpit_switches.jato_on, 1);
    ROCKET_thrusters();
    EXPECT_EQ(sim_cockpit_switches.jato_on, 0);
}

TEST_F(Rockets, ManoeuvringRocketsWhileTheirTimerRunsAndPuffersWithMoments)
{
    flt_struct& f = flt[0];
    f.rocket_timeout = 11.0f;
    for (int mode : {382, 385, 381, 386}) {   // right, down, forward, and no such rocket
        f.rocket_mode = mode;
        ROCKET_thrusters();
    }
    frame_clock = 11.0f;   // the timer ran out
    f.rocket_mode = 380;
    ROCKET_thrusters();
    EXPECT_EQ(f.fside_prop, 100.0f);
    EXPECT_EQ(f.fnrml_prop, -200.0f);
    EXPECT_EQ(f.faxil_prop, -300.0f);

    f.FC_roll = 0.5f, f.FC_ptch = -1.0f, f.FC_hdng = 0.25f;
    sim_cockpit_switches.puffers_on = 1;
    ROCKET_thrusters();
    EXPECT_EQ(f.L, 0.0f);   // no puffer moments: nothing
    pln[0].acf_puffL = 1000.0f, pln[0].acf_puffM = 2000.0f, pln[0].acf_puffN = 400.0f;
    ROCKET_thrusters();
    EXPECT_EQ(f.L, 500.0f);
    EXPECT_EQ(f.M, -2000.0f);
    EXPECT_EQ(f.N, 100.0f);
}

namespace {

// The force tests' aircraft over flat ground, in still air.
class RocketFlight : public ::testing::Test {
protected:
    void SetUp() override
    {
        CONST_fill_constants();
        sim_graphics_scenery.current_planet = PLANET_EARTH;
        TEST_lay_flat_grid(0.0f);
        forces_test::build_aircraft();
        forces_test::still_air();
    }
};

}  // namespace

// The force tests' aircraft with a rocket for its engine and JATO, in a vacuum.
TEST_F(RocketFlight, RocketsAndJatoPushWithoutAir)
{
    using namespace forces_test;
    sim_weather.rho = 0.0f;
    sim_weather.sigma = 0.0f;
    acf_struct& a = pln[0];
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = 6;
    a.acf_fmax_vac = a.acf_fmax_opt = a.acf_fmax_sl = 5000.0f;
    a.acf_throtmax_FWD = 1.0f;
    a.acf_jato_thrust = 3000.0f;
    place(20000.0f, 0.0f, 0.0f);
    flt_struct& f = flt[0];
    f.ENGN_running[0] = 1;
    f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_mixt_pow_rat[0] = 1.0f;
    f.ENGN_FF_[0] = 0.0f;   // no fuel flow reported yet
    f.POINT_XYZ[1] = 0.5f;  // the nozzle above the centre of gravity
    f.jato_left = 10.0f;
    sim_cockpit_switches.jato_on = 1;

    FM_forces_and_moments();
    ASSERT_GT(f.POINT_thrust[0], 0.0f) << "no jet thrust available (ENGN_jet_thrust_avail)";
    EXPECT_NEAR(f.POINT_thrust[0], 5000.0f, 0.5f);
    EXPECT_NEAR(f.faxil_prop, -5000.0f - 3000.0f, 0.5f);
    EXPECT_NEAR(f.DVinc[0], 5000.0f / 0.01f, 1.0f);
    EXPECT_NEAR(f.ENGN_N1_[0], 100.0f, 1e-3f);
    EXPECT_NEAR(f.force_XYZ[2], -5000.0f, 0.5f);
    EXPECT_LT(f.local_vz, 0.0f);   // pushed ahead
    sim_cockpit_switches.jato_on = 0;
}

// A rotor driven by rockets at its blade tips pushes through the blades, once:
// the propeller stage finds it and the jets turn and lift the rotor, and the
// rocket-engine stage, which would push along the engine's own axis as well,
// leaves it alone.
TEST_F(RocketFlight, TipRocketsPushThroughTheBladesOnly)
{
    using namespace forces_test;
    acf_struct& a = pln[0];
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = ENGINE_TIP_ROCKET;
    a.acf_prop_type[0] = PROP_MAIN_ROTOR;
    a.acf_fmax_vac = a.acf_fmax_opt = a.acf_fmax_sl = 500.0f;
    a.acf_h_opt = 10000.0f;
    a.acf_throtmax_FWD = 1.0f;
    // Two blades of five elements and no area of their own: every push is the jets'.
    a.acf_els[0] = 5;
    a.acf_semilen_SEG[0] = a.acf_semilen_JND[0] = 4.0f;
    a.acf_element_len[0] = 0.8f;
    a.acf_num_blades[0] = 2.0f;
    a.acf_prop_dir[0] = 1.0f;
    a.acf_prop_gear_rat[0] = 1.0f;
    a.acf_miprop_rpm[0] = 50.0f;
    a.acf_discarea[0] = 50.0f;
    place(2000.0f, 0.0f, 0.0f);
    flt_struct& f = flt[0];
    f.ENGN_running[0] = 1;
    f.ENGN_thro[0] = f.ENGN_thro_use[0] = 1.0f;
    f.ENGN_mixt_pow_rat[0] = 1.0f;
    f.POINT_pitch_deg[0] = 10.0f;

    FM_forces_and_moments();
    const float jets = 2.0f * ENGN_jet_thrust_avail(0);
    ASSERT_GT(jets, 0.0f);
    EXPECT_NEAR(f.POINT_thrust[0], jets * std::sin(10.0f * DEG), 1e-2f) << "the tips' push along the rotor axis";
    EXPECT_LT(f.POINT_drag_TRQ[0], 0.0f) << "the jets drive the rotor";
    EXPECT_NEAR(f.faxil_prop, -f.POINT_thrust[0], 1e-2f) << "nothing pushes along the engine's axis besides";
    EXPECT_LT(f.DVinc[0], 1000.0f) << "no rocket exhaust speed worked out for it";
}
