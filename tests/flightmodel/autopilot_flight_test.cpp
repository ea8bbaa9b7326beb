// The autopilot flying a whole aircraft: the force tests' glider through the
// control step and the real build-up, turning to a heading while it holds its
// sink rate. (The trainer and the airliner fly the same laws through the
// running program in the flight model's whole-program tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/reset_registry.h"
#include "core/frame_clock.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/systems/gyros.h"
#include "tests/flightmodel/forces_fixture.h"

using namespace forces_test;

namespace {

// What the instruments and the air data give the autopilot, from the true state.
void sense()
{
    frame_clock += 0.04f;
    flt_struct& f = flt[0];
    f.h_ind = f.local_y;
    f.vh_ind = f.local_vy;
    f.magpsi = f.psi;
    gyro_pitch[0] = f.theta;
    gyro_heading[0] = f.psi < 0.0f ? f.psi + 360.0f : f.psi;
}

void autopilot_on()
{
    sim_cockpit_electrical = {};
    sim_cockpit_electrical.battery_on = 1;
    flt[0].ENGN_bat_volt[0] = 1.0f;   // a charged battery
    sim_cockpit_engine = {};
    sim_cockpit_engine.inverter_on[0] = 1;
    sim_cockpit_switches = {};
    sim_operation_override = {};
    sim_operation_failures.hydraulic_pressure_ratio = 1.0f;
    sim_joystick.yolk_pitch_ratio = sim_joystick.yolk_roll_ratio = sim_joystick.yolk_heading_ratio = 0.0f;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap = {};
    ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 9;
    ap.autopilot_mode = 2;
}

}  // namespace

TEST(AutopilotFlight, GliderHoldsItsSinkRateAndTurnsToTheHeading)
{
    RESET_all();   // no wind, thermals or control state an earlier test left
    still_air();
    build_aircraft();
    acf_struct& a = pln[0];
    a.acf_num_engines = 1;   // an engine that gives nothing: its inverter powers the autopilot
    a.acf_elv_trim_dn = a.acf_elv_trim_up = 1.0f;
    a.acf_est_Vs = 25.0f;
    autopilot_on();
    place(1500.0f, 45.0f, 0.0f, -5.0f);
    sense();

    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.altitude_mode = 14;   // vertical speed, captured in the glide
    ap.heading_mode = 11;
    for (int i = 0; i < 2; ++i) {
        FLTMOD_own_physics(0);
        fly_frame();
        sense();
    }
    ap.heading_mag = 30.0f;
    ap.vertical_velocity = -900.0f;   // ft/min
    const float sink = -900.0f * 0.00508f;
    float worst_bank = 0.0f, worst_sink = 0.0f;
    for (int i = 0; i < 60 * 25; ++i) {
        FLTMOD_own_physics(0);
        fly_frame();
        sense();
        worst_bank = std::max(worst_bank, std::fabs(flt[0].phi));
        if (i > 30 * 25) worst_sink = std::max(worst_sink, std::fabs(flt[0].local_vy - sink));
        ASSERT_TRUE(std::isfinite(flt[0].FC_ptch) && std::isfinite(flt[0].elv_trim)) << "frame " << i;
    }
    const flt_struct& f = flt[0];
    EXPECT_LT(worst_sink, 0.3f);    // m/s, after 30 s
    EXPECT_LT(worst_bank, 25.0f);   // the standard-rate bank limit
    EXPECT_NEAR(f.psi, 30.0f, 2.0f);
    EXPECT_NEAR(f.phi, 0.0f, 2.0f);
}
