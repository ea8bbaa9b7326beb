// The plane step as the cycle runs it: the integration's half-steps and flight
// data, wheels, propellers and lights of every plane, the user plane's sounds
// and calls, planes moved from outside, replay playback and the traffic.

#include <cmath>
#include <cstring>
#include <utility>

#include "aircraft/flight_start.h"
#include "core/geo.h"
#include "core/random.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/plane_effects.h"
#include "flightmodel/plane_override.h"
#include "flightmodel/ground/surface_state.h"
#include "scene/effects/particles.h"
#include "core/engine_types.h"
#include "core/sound_slots.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/traffic/traffic.h"
#include "links/sound.h"
#include "links/speech.h"
#include "tests/support/flight_fixture.h"

namespace {

class PlaneStep : public FlightState {
protected:
    // The traffic's runway 09 of 2,500 m at 100 m elevation, four plane slots
    // in use; (rx, rz) is the runway's point in local metres.
    static void traffic_runway_09(float& rx, float& rz)
    {
        scenery_area = {-200000.0f, 200000.0f, -200000.0f, 200000.0f};
        sim_graphics_settings.draw_aircrafts = 4;
        const int apt = add_airport("KTRF", 34.0f, -117.5f, 90.0f, 2500.0f, 100.0f);
        traffic_runway_state.traffic_airport = apt;
        traffic_runway_state.traffic_runway = 0;
        traffic_runway_state.traffic_runway_end = 1;
        float ry;
        GEO_latlon_to_local(rx, ry, rz, 34.0, -117.5, 100.0);
    }

    void SetUp() override
    {
        FlightState::SetUp();
        sim_cockpit_electrical.battery_on = 1;
        flt[0].ENGN_bat_volt[0] = 1.0f;   // a charged battery: the instruments have power
        sim_cockpit_electrical.avionics_on = 1;
        flt[0].y_agl = 1000.0f;   // in the air: the frame's two half-steps
    }
    // n frames of slot p, with the interval flags of `ticks` raised on each.
    static void frames(int p, int n, std::initializer_list<int> ticks = {})
    {
        for (int k = 0; k < n; ++k) {
            for (int t : ticks) interval_ticks[t] = 1;
            FLTMOD_plane_step(p);
            std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        }
    }
};

}  // namespace

TEST_F(PlaneStep, IntegrationRunsTwoHalfStepsAndDerivesTheFlightData)
{
    flt_struct& f = flt[0];
    sim_operation_misc.frame_rate_period = 0.04f;
    f.local_vx = 10.0f;   // due east
    f.q[0] = 1.0f;
    FLTMOD_plane_step(0);
    EXPECT_FLOAT_EQ(sim_time.total_flight_time_sec, 0.04f);
    EXPECT_FLOAT_EQ(sim_time.total_running_time_sec, 0.04f);
    EXPECT_FLOAT_EQ(sim_network_misc.network_time_sec, 0.04f);
    EXPECT_EQ(sim_operation_misc.frame_rate_period, 0.04f);
    EXPECT_EQ(derived_state.buildups_last_frame, 2);
    EXPECT_NEAR(f.local_x, 0.4f, 1e-4f);
    EXPECT_NEAR(f.hpath, 90.0f, 1e-3f);

    // On the ground the same frame runs in steps of at most 1/240 s, and the
    // clocks and the plane still move by the whole frame.
    const float x0 = f.local_x;
    f.onground_any = 1;
    FLTMOD_plane_step(0);
    EXPECT_EQ(derived_state.buildups_last_frame, 10);
    EXPECT_NEAR(sim_time.total_flight_time_sec, 0.08f, 1e-5f);
    EXPECT_EQ(sim_operation_misc.frame_rate_period, 0.04f);
    EXPECT_NEAR(f.local_x - x0, 0.4f, 1e-3f);
    f.onground_any = 0;
    f.y_agl = 1000.0f;

    f.local_vx = 0.0f;
    f.local_vz = -10.0f;   // due north, nose north
    FLTMOD_plane_step(0);
    EXPECT_NEAR(f.hpath, 0.0f, 1e-3f);
    FLTMOD_plane_step(0);
    EXPECT_GT(f.indicated_airspeed, 10.0f);

    // Descending 1 m/s at 10 m/s: -5.7 degrees, steeper as gravity acts over the frame.
    f.local_vy = -1.0f;
    FLTMOD_plane_step(0);
    EXPECT_LT(f.vpath, -5.7f);
    EXPECT_GT(f.vpath, -15.0f);
    f.local_vy = 0.0f;

    f.local_vz = 10.0f;   // tail first
    FLTMOD_plane_step(0);
    FLTMOD_plane_step(0);
    EXPECT_EQ(f.indicated_airspeed, 0.0f);
    for (int s = 0; s < FLT_SLOTS; ++s) EXPECT_TRUE(all_finite(flt[s])) << s;
}

TEST_F(PlaneStep, TurnNeedlesAndStallWarningFollowTheirRules)
{
    flt_struct& f = flt[0];
    f.q[0] = 1.0f;
    // The turn needles: raw R x 0.6333 (+ P x 0.1), x 8.696, clamped to 55,
    // then smoothed at 2/s over two half-steps of 0.025 s: 1 - 0.95^2 = 0.0975
    // of the way in one frame.
    struct turn_case {
        float P, R;
        float roll, noroll;
    };
    const turn_case turns[] = {
        {0.0f, 5.0f, 27.536f * 0.0975f, 27.536f * 0.0975f},     // 5 x 0.6333 x 8.696
        {10.0f, 5.0f, 36.232f * 0.0975f, 27.536f * 0.0975f},    // + 10 x 0.1 x 8.696 on the roll needle only
        {0.0f, -20.0f, -55.0f * 0.0975f, -55.0f * 0.0975f},     // -110 clamped to -55
    };
    for (const turn_case& c : turns) {
        f.turnrate_roll = f.turnrate_noroll = 0.0f;
        f.P = c.P;
        f.R = c.R;
        f.Prad = c.P * DEG_TO_RAD_FLOAT;
        f.Rrad = c.R * DEG_TO_RAD_FLOAT;
        FLTMOD_plane_step(0);
        EXPECT_NEAR(f.turnrate_roll, c.roll, 0.01f) << c.P << " " << c.R;
        EXPECT_NEAR(f.turnrate_noroll, c.noroll, 0.01f) << c.P << " " << c.R;
    }
    f.P = f.R = f.Prad = f.Rrad = 0.0f;

    // The stall warning: faster than a third of the stall speed (30 m/s = 58.3 kt,
    // so 19.2 kt) and the angle of attack above the aircraft's warning angle.
    pln[0].acf_est_Vs = 30.0f;
    struct stall_case {
        float north_mps, sink_mps, warn_alpha;
        int32_t warning;
    };
    const stall_case stalls[] = {
        {15.0f, 3.0f, 10.0f, 1},   // 29.2 kt, alpha atan(3/15) = 11.3 degrees and more as gravity acts
        {15.0f, 3.0f, 20.0f, 0},   // the same angle below the warning angle
        {9.5f, 1.9f, 10.0f, 0},    // 18.5 kt at the same angle: too slow to warn
    };
    for (const stall_case& c : stalls) {
        pln[0].acf_stall_warn_alpha = c.warn_alpha;
        f.local_vx = 0.0f;
        f.local_vz = -c.north_mps;
        f.local_vy = -c.sink_mps;
        f.q[0] = 1.0f;
        f.q[1] = f.q[2] = f.q[3] = 0.0f;
        FLTMOD_plane_step(0);
        FLTMOD_plane_step(0);
        EXPECT_EQ(f.stallwarning, c.warning) << c.north_mps << " " << c.warn_alpha;
    }
}

// The air data follow the true airspeed: dynamic pressure rho/2 x TAS^2 and
// Mach TAS / speed of sound; the slip indication settles; a load not yet
// slung hangs its line's length below the plane at the plane's velocity, and
// a slung one hangs from the aircraft's jettison point.
TEST_F(PlaneStep, AirDataAndTheSlungLoadFollowThePlane)
{
    flt_struct& f = flt[0];
    f.q[0] = 1.0f;
    f.local_vz = -60.0f;
    sim_weather.rho = 1.0f;
    sim_weather.speed_of_sound_ms = 300.0f;
    f.jett_len = 12.0f;
    FLTMOD_plane_step(0);
    ASSERT_GT(f.true_airspeed, 55.0f);
    EXPECT_NEAR(f.Qstatic, 0.5f * f.true_airspeed * f.true_airspeed, 1e-2f);
    EXPECT_NEAR(f.machno, f.true_airspeed / 300.0f, 1e-6f);
    EXPECT_FLOAT_EQ(rope_points.load_pos[1], f.local_y - 12.0f);
    EXPECT_FLOAT_EQ(rope_points.load_pos[2], f.local_z);
    EXPECT_FLOAT_EQ(rope_points.load_vel[2], f.local_vz);
    // The slip ball settles at half a unit a second per half-step: without
    // any load (no mass here) 10 becomes 10 x (1 - 0.5 x 0.025)^2 = 9.7516.
    ASSERT_EQ(f.g_side, 0.0f);
    f.slip = 10.0f;
    FLTMOD_plane_step(0);
    EXPECT_NEAR(f.slip, 9.75156f, 1e-4f);

    pln[0].acf_jett_is_slung = 1;
    pln[0].jett_Y = -2.0f;
    f.m_jettison = 100.0f;
    f.q[0] = 1.0f, f.q[1] = f.q[2] = f.q[3] = 0.0f;
    f.theta = f.psi = f.phi = 0.0f;
    FLTMOD_plane_step(0);
    EXPECT_NEAR(rope_points.load_attach[0], f.local_x, 0.05f);
    EXPECT_NEAR(rope_points.load_attach[1], f.local_y - 2.0f, 0.05f);
    EXPECT_NEAR(rope_points.load_attach[2], f.local_z, 0.05f);
}

TEST_F(PlaneStep, StabilityTestKicksThePitchOnce)
{
    flt_struct& f = flt[0];
    f.q[0] = 1.0f;
    FLTMOD_plane_step(0);
    const float before = f.theta, before_psi = f.psi;
    sim_flightmodel_misc.stab_ptch_test = 2;
    FLTMOD_plane_step(0);
    EXPECT_NEAR(f.theta - before, 1.0f, 1e-3f);
    // The request is taken (the derivative finder then reports and clears it).
    EXPECT_NE(sim_flightmodel_misc.stab_ptch_test, 2);
    const float kicked = f.theta;
    FLTMOD_plane_step(0);
    EXPECT_NEAR(f.theta, kicked, 1e-3f);
    // A heading request turns the heading right by one degree.
    sim_flightmodel_misc.stab_hdng_test = 2;
    FLTMOD_plane_step(0);
    EXPECT_NEAR(f.psi - before_psi, 1.0f, 1e-3f);
}

TEST_F(PlaneStep, PlaneMovedFromOutsideKeepsItsClocksButIsNotIntegrated)
{
    net_slot_enabled[6] = 1;   // following a master machine
    flt_struct& f = flt[0];
    f.local_vx = 10.0f;
    FLTMOD_plane_step(0);
    EXPECT_FLOAT_EQ(sim_time.total_flight_time_sec, 0.05f);
    EXPECT_EQ(f.local_x, 0.0f);
    EXPECT_EQ(derived_state.buildups_last_frame, 0);
}

TEST_F(PlaneStep, ReplayLeavesOtherSlotsUnmovedButTheirWheelsPropsAndLightsTurn)
{
    sim_operation_prefs.replay_mode = REPLAY_PAUSED;
    acf_struct& a = pln[3];
    a.acf_part_eq[PART_GEAR_FIRST] = 1;
    a.acf_gear_def[PART_GEAR_FIRST] = 0.1f;   // on the ground
    a.acf_gear_tirrad[PART_GEAR_FIRST] = 0.3f;
    a.acf_prop_dir[0] = 1.0f;
    flt_struct& f = flt[3];
    f.local_vx = 20.0f;
    f.groundspeed = 20.0f;
    f.tire_speed_term[PART_GEAR_FIRST] = 20.0f;
    f.tire_locked[PART_GEAR_FIRST] = 1;
    f.POINT_tacrad[0] = 15.0f;
    f.strobe_lights_on = 1;
    f.beacon_lights_on = 1;

    // 20 m/s on a locked wheel: the skid sum reaches 100 after ln 2 x 10 s.
    float burst_at = -1.0f;
    int strobes = 0;
    for (int k = 1; k <= 200 && burst_at < 0.0f; ++k) {
        sim_network_misc.network_time_sec = k * 0.05f;
        frames(3, 1);
        strobes += f.strobe_flash;
        if (f.failures[FAIL_SLOT_TYRE_BASE] == FAILURE_STATE_FAILED) burst_at = k * 0.05f;
    }
    EXPECT_NEAR(burst_at, 6.93f, 0.06f);
    EXPECT_EQ(f.local_x, 0.0f);   // not moved
    EXPECT_EQ(f.tire_speed_now[PART_GEAR_FIRST], 0.0f);
    EXPECT_GE(strobes, 6);        // one flash a second
    EXPECT_GT(f.beacon_brightness, 0.0f);
    // The propeller at 15 rad/s is drawn at 180 degrees a second: 20 frames make half a turn.
    f.tire_prop_rot[0] = 0.0f;
    frames(3, 20);
    EXPECT_NEAR(f.tire_prop_rot[0], 180.0f, 1e-3f);

    // At 10 m/s the sum tends to 100 and never passes it.
    f.failures[FAIL_SLOT_TYRE_BASE] = 0;
    f.tire_drag_dis[PART_GEAR_FIRST] = 0.0f;
    f.tire_speed_term[PART_GEAR_FIRST] = 10.0f;
    frames(3, 1200);
    EXPECT_EQ(f.failures[FAIL_SLOT_TYRE_BASE], 0);
    EXPECT_LT(f.tire_drag_dis[PART_GEAR_FIRST], 100.0f);
}

// One 0.05 s frame of the wheel, propeller and strobe rules, worked by hand
// (tyre radius 0.3 m): on the ground a wheel spins up at 150 m/s a second
// toward the ground's speed, in the air it runs down at 5; a wheel at 7.5 m/s
// turns 7.5 / 0.3 x 57.2958 x 0.05 = 71.62 degrees. A propeller below 15 rad/s
// is drawn at its own speed (10 rad/s: 28.648 degrees), above at 180 a second.
// Slot 3's strobe flashes when 20 x the clock + 3 is a multiple of 20.
TEST_F(PlaneStep, WheelPropellerAndStrobeRulesOverOneFrame)
{
    sim_operation_misc.frame_rate_period = 0.05f;
    acf_struct& a = pln[3];
    flt_struct& f = flt[3];
    const int g = PART_GEAR_FIRST;
    a.acf_part_eq[g] = 1;
    a.acf_gear_tirrad[g] = 0.3f;
    const struct { float deflection, term, before, after, turned; } wheels[] = {
        {0.1f, 20.0f, 0.0f, 7.5f, 71.62f},
        {0.1f, -20.0f, 0.0f, -7.5f, 360.0f - 71.62f},
        {0.1f, 5.0f, 0.0f, 5.0f, 47.746f},
        {0.0f, 20.0f, 10.0f, 9.75f, 93.11f},
        {0.0f, 20.0f, 0.1f, 0.0f, 0.0f},
    };
    for (const auto& w : wheels) {
        a.acf_gear_def[g] = w.deflection;
        f.tire_speed_term[g] = w.term;
        f.tire_speed_now[g] = w.before;
        f.tire_prop_rot[g] = 0.0f;
        PLANE_wheels(3);
        EXPECT_NEAR(f.tire_speed_now[g], w.after, 1e-4f) << w.deflection << " " << w.term << " " << w.before;
        EXPECT_NEAR(f.tire_prop_rot[g], w.turned, 0.01f) << w.deflection << " " << w.term << " " << w.before;
    }

    a.acf_prop_dir[0] = a.acf_prop_dir[1] = 1.0f;
    f.POINT_tacrad[0] = 10.0f, f.POINT_tacrad[1] = 20.0f;
    f.tire_prop_rot[0] = f.tire_prop_rot[1] = 0.0f;
    PLANE_prop_angles(3);
    EXPECT_NEAR(f.tire_prop_rot[0], 360.0f - 28.648f, 0.01f);
    EXPECT_NEAR(f.tire_prop_rot[1], 360.0f - 9.0f, 0.01f);

    f.strobe_lights_on = 1;
    for (const auto& [clock, flash] : {std::pair{0.85f, 1}, std::pair{1.0f, 0}, std::pair{1.85f, 1}}) {
        sim_network_misc.network_time_sec = clock;
        PLANE_lights(3);
        EXPECT_EQ(f.strobe_flash, flash) << clock;
    }
}

TEST_F(PlaneStep, CockpitCallsNeedAvionicsPower)
{
    // A paused replay holds the plane still while the calls run.
    sim_operation_prefs.replay_mode = REPLAY_PAUSED;
    acf_struct& a = pln[0];
    a.acf_has_stallwarn = 1;
    a.acf_warn1EQ = 1;
    flt_struct& f = flt[0];
    f.stallwarning = 1;
    f.latitude = 34.0f;
    f.longitude = -117.0f;
    f.y_agl = 1200.0f * 0.3048f;
    navaid_record outer{};
    outer.kind = NAV_OUTER_MARKER;
    outer.lat = 34.001f;
    outer.lon = -117.001f;
    outer.local = 1;
    navaid_table.assign(1, outer);
    sim_cockpit_switches.marker_panel_out = 1;
    sim_cockpit_radios.marker_audio_working = 1;
    sim_operation_prefs.warn_bb = 1;
    screen_settings.radio_chatter_on = 1;
    frame_clock = 100.0f;
    sim_time.total_running_time_sec = 1000.0f;
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;   // a plan picked up: the clearance is due

    sim_cockpit_electrical.avionics_on = 0;
    for (int k = 0; k < 40; ++k) {
        sim_time.total_running_time_sec += 1.0f;
        frames(0, 1, {INTERVAL_ONE_SECOND, INTERVAL_FIVE_SECONDS, INTERVAL_TENTH_SECOND});
    }
    f.y_agl = 900.0f * 0.3048f;
    frames(0, 1, {INTERVAL_ONE_SECOND});
    EXPECT_TRUE(sounds.plays.empty());
    EXPECT_TRUE(sounds.spoken_texts.empty());
    EXPECT_EQ(sim_cockpit_misc.outer_marker_lit, 0);

    sim_cockpit_electrical.avionics_on = 1;
    f.y_agl = 1200.0f * 0.3048f;
    // The clearance is delivered once the avionics have power, and only for
    // a plan picked up as well as filed; center then waits for the pilot's
    // call, and the radio is free once it has been read out.
    for (const auto& [active, spoken] : {std::pair{0, 0u}, std::pair{1, 1u}}) {
        atc_state.atc_plan_active = active;
        frames(0, 1, {INTERVAL_ONE_SECOND});
        ASSERT_EQ(sounds.spoken_texts.size(), spoken) << active;
    }
    EXPECT_NE(sounds.spoken_texts[0].first.find("CLEARED AS FILED"), std::string::npos);
    EXPECT_EQ(atc_state.atc_phase, 5);
    speech_text_until = 0.0f;
    for (int k = 0; k < 40; ++k) {
        sim_time.total_running_time_sec += 1.0f;
        sim_network_misc.network_time_sec = k * 0.1f;
        frames(0, 1, {INTERVAL_ONE_SECOND, INTERVAL_FIVE_SECONDS});
    }
    EXPECT_EQ(sounds.count(22), 1);   // the stall horn starts once and keeps going
    EXPECT_GE(sounds.count(54), 1);   // the outer marker
    int chatter = 0;
    for (const auto& p : sounds.plays) chatter += p.slot >= SOUND_FIRST_CHATTER_SLOT ? 1 : 0;
    EXPECT_GE(chatter, 1);
}

TEST_F(PlaneStep, HeightCalloutsPlayOnceEachTimeThePlaneDescendsThroughThem)
{
    sim_operation_prefs.replay_mode = REPLAY_PAUSED;
    pln[0].acf_warn1EQ = 1;
    sim_operation_prefs.warn_bb = 1;
    flt_struct& f = flt[0];
    auto check_at = [&](float feet) {
        f.y_agl = feet * 0.3048f;
        sim_time.total_running_time_sec += 1.0f;
        frames(0, 1, {INTERVAL_ONE_SECOND});
    };
    check_at(1100.0f);
    check_at(900.0f);
    check_at(800.0f);
    EXPECT_EQ(sounds.count(41), 1);
    check_at(1100.0f);
    check_at(950.0f);
    EXPECT_EQ(sounds.count(41), 2);
    EXPECT_EQ(sounds.count(42), 0);   // 500 ft not reached
    f.onground_all = 1;               // on the ground: nothing is called
    check_at(1100.0f);
    check_at(5.0f);
    EXPECT_EQ(sounds.count(41), 2);
}

TEST_F(PlaneStep, GroundProximityLimitsFollowTheHeight)
{
    sim_operation_prefs.replay_mode = REPLAY_PAUSED;
    sim_operation_prefs.warn_bb = 1;
    flt_struct& f = flt[0];
    f.onground_all = 1;   // no callouts: only the descent-rate warnings
    f.y_agl = 1000.0f * 0.3048f;
    // At 1000 ft: first equipment -2600 and -3700 ft/min (H x -1.6 - 1000,
    // H x -2.2 - 1500); second equipment -5000 and -7000 (H x -4.0 - 1000,
    // H x -5.5 - 1500). Below the second limit 35, below the first 34.
    struct row {
        int warn2;
        float fpm;
        int sink, pull_up;
    } rows[] = {{0, -2500.0f, 0, 0}, {0, -2700.0f, 1, 0}, {0, -3600.0f, 1, 0}, {0, -3800.0f, 0, 1},
                {1, -4900.0f, 0, 0}, {1, -6900.0f, 1, 0}, {1, -7100.0f, 0, 1}};
    for (const row& r : rows) {
        pln[0].acf_warn1EQ = !r.warn2;
        pln[0].acf_warn2EQ = r.warn2;
        f.local_vy = r.fpm * 0.3048f / 60.0f;
        const int sink = sounds.count(34), pull_up = sounds.count(35);
        sim_time.total_running_time_sec += 3.0f;
        frames(0, 1, {INTERVAL_ONE_SECOND});
        EXPECT_EQ(sounds.count(34) - sink, r.sink) << r.fpm;
        EXPECT_EQ(sounds.count(35) - pull_up, r.pull_up) << r.fpm;
    }
}

TEST_F(PlaneStep, PeerPlanesAreDeadReckonedAtAnyFrameRate)
{
    net_slot_enabled[0] = 1;   // multiplayer: slots 1..9 come from the peer
    for (float dt : {0.01f, 0.02f, 0.04f, 0.05f}) {
        sim_operation_misc.frame_rate_period = dt;
        flt_struct& f = flt[1];
        f = flt_struct{};
        f.psi = 355.0f;
        f.R = 10.0f;
        f.Q = 20.0f;
        f.theta = 170.0f;
        f.local_vx = 3.0f;
        f.phi = -175.0f;
        f.P = -10.0f;
        flt_struct& g = flt[2];   // heading past south stays on 0..360
        g = flt_struct{};
        g.psi = 170.0f;
        g.R = 20.0f;
        frames(1, static_cast<int>(std::lround(1.0f / dt)));
        frames(2, static_cast<int>(std::lround(1.0f / dt)));
        EXPECT_NEAR(f.psi, 5.0f, 1e-3f) << dt;
        EXPECT_NEAR(f.theta, -170.0f, 1e-3f) << dt;   // 190 wraps like a roll, not folded
        EXPECT_NEAR(f.phi, 175.0f, 1e-3f) << dt;      // -185 wraps to 175
        EXPECT_NEAR(g.psi, 190.0f, 1e-3f) << dt;
        EXPECT_NEAR(f.local_x, 3.0f, 1e-4f) << dt;
    }
    // The user's plane still flies itself.
    FLTMOD_plane_step(0);
    EXPECT_EQ(derived_state.buildups_last_frame, 2);
}

TEST_F(PlaneStep, ReplayPlaysTheRecordsBetweenTheClockAndItsEnds)
{
    // Three records a second apart, then the end mark.
    for (int k = 0; k < 3; ++k) {
        flt[0].local_x = 100.0f * (k + 1);
        PLANE_pack_state(replay_ring[k], 0);
        replay_ring[k].network_time_sec = 1.0f + k;
    }
    int32_t& mode = sim_operation_prefs.replay_mode;
    float& clock = sim_network_misc.network_time_sec;

    mode = REPLAY_TO_END;
    FLTMOD_plane_step(0);
    EXPECT_EQ(clock, 3.0f);
    EXPECT_NEAR(flt[0].local_x, 200.0f, 1e-3f);   // the second newest, f = 0: the newest starts no pair

    mode = REPLAY_TO_START;
    FLTMOD_plane_step(0);
    EXPECT_EQ(clock, 1.0f);
    EXPECT_NEAR(flt[0].local_x, 100.0f, 1e-3f);

    mode = REPLAY_FORWARD;
    clock = 1.45f;
    sim_operation_misc.frame_rate_period = 0.05f;
    FLTMOD_plane_step(0);
    EXPECT_FLOAT_EQ(clock, 1.5f);
    EXPECT_NEAR(flt[0].local_x, 150.0f, 1e-2f);

    mode = REPLAY_BACK_FAST;   // runs off the start: held at the earliest record, paused
    for (int k = 0; k < 10; ++k) FLTMOD_plane_step(0);
    EXPECT_EQ(clock, 1.0f);
    EXPECT_EQ(mode, REPLAY_PAUSED);

    // Each mode's clock rate over one frame of 0.05 s from the middle of the recording.
    const std::pair<int32_t, float> rates[] = {{2, 1.75f}, {3, 1.95f}, {4, 1.99f}, {5, 2.0f},
                                               {6, 2.01f}, {7, 2.05f}, {8, 2.25f}};
    for (const auto& [m, after] : rates) {
        mode = m;
        clock = 2.0f;
        FLTMOD_plane_step(0);
        EXPECT_NEAR(clock, after, 1e-5f) << m;
    }

    mode = 42;   // not a mode: no clock moves
    clock = 2.5f;
    FLTMOD_plane_step(0);
    EXPECT_EQ(clock, 2.5f);

    REPLAY_clear_ring();
    mode = REPLAY_FORWARD;
    FLTMOD_plane_step(0);
    EXPECT_EQ(mode, REPLAY_PAUSED);

    // Two records of one time: the pair is blended half way.
    for (int k = 0; k < 2; ++k) {
        flt[0].local_x = 100.0f + 200.0f * k;
        PLANE_pack_state(replay_ring[k], 0);
        replay_ring[k].network_time_sec = 5.0f;
    }
    mode = REPLAY_PAUSED;
    clock = 5.0f;
    FLTMOD_plane_step(0);
    EXPECT_NEAR(flt[0].local_x, 200.0f, 1e-3f);
}

// Moved from outside: a peer's planes (slots 1 and up) under multiplayer,
// every slot under a master machine (roles 6 to 9), or a slot whose path is
// overridden; the path override test leaves multiplayer out.
TEST_F(PlaneStep, WhichPlanesAreMovedFromOutside)
{
    const struct { int role, override_slot, slot, moved, overridden; } cases[] = {
        {0, -1, 0, 0, 0}, {0, -1, 1, 1, 0}, {5, -1, 0, 0, 0}, {6, -1, 0, 1, 1},
        {7, -1, 0, 1, 1}, {8, -1, 2, 1, 1}, {9, -1, 0, 1, 1}, {10, -1, 0, 0, 0},
        {-1, 3, 3, 1, 1}, {-1, 3, 2, 0, 0},
    };
    for (const auto& c : cases) {
        for (int32_t& e : net_slot_enabled) e = 0;
        for (int32_t& o : sim_operation_override.override_planepath) o = 0;
        if (c.role >= 0) net_slot_enabled[c.role] = 1;
        if (c.override_slot >= 0) sim_operation_override.override_planepath[c.override_slot] = 1;
        EXPECT_EQ(PLANE_externally_moved(c.slot), c.moved) << c.role << " " << c.override_slot << " " << c.slot;
        EXPECT_EQ(PLANE_path_overridden(c.slot), c.overridden) << c.role << " " << c.override_slot << " " << c.slot;
    }
    for (int32_t& e : net_slot_enabled) e = 0;
    for (int32_t& o : sim_operation_override.override_planepath) o = 0;
}

TEST_F(PlaneStep, DamagedReplayRingsStayInBounds)
{
    UTIL_srand(5);
    for (int round = 0; round < 30; ++round) {
        for (plane_state_record& r : replay_ring) {
            auto* w = reinterpret_cast<uint32_t*>(&r);
            for (int k = 0; k < PLANE_STATE_WORDS; ++k)
                w[k] = static_cast<uint32_t>(UTIL_rand()) << 17 ^ static_cast<uint32_t>(UTIL_rand());
        }
        replay_ring[round].network_time_sec = std::nanf("");
        replay_ring[round + 1].network_time_sec = INFINITY;
        sim_operation_prefs.replay_mode = UTIL_rand() % 12 - 1;
        sim_network_misc.network_time_sec = static_cast<float>(UTIL_rand());
        FLTMOD_plane_step(0);
        ASSERT_TRUE(std::isfinite(sim_network_misc.network_time_sec));
        ASSERT_TRUE(std::isfinite(flt[0].local_x) && std::isfinite(flt[0].psi));
    }
}

TEST_F(PlaneStep, TrafficIsPlacedNearTheUserAndFliesItsBehaviours)
{
    scenery_area = {-200000.0f, 200000.0f, -200000.0f, 200000.0f};
    sim_graphics_settings.draw_aircrafts = 4;
    add_airport("KTRF", 34.0f, -117.5f, 90.0f, 2500.0f, 100.0f);   // the traffic runway
    flt[0].local_y = 1000.0f;
    flt[0].track_sin = 1.0f;
    for (int p : {2, 3}) pln[p].acf_est_Vs = 30.0f;

    // Standing still, and far away: both are placed again near the user.
    flt[3].local_x = 9.9e9f;
    flt[3].groundspeed = 100.0f;
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        UTIL_srand(seed);
        flt[2] = flt_struct{};
        FLTMOD_plane_step(2);
        EXPECT_GT(flt[2].groundspeed, 1.7f * 30.0f * 0.99f);
        EXPECT_LT(std::fabs(flt[2].local_x - flt[0].local_x), 1.6f * 25.0f * 1852.0f);
        EXPECT_EQ(flt[2].ai_app_mode, 0);   // even slots cruise
        FLTMOD_plane_step(3);
        // Odd slots come in low: within 2,000 m of the user they end within 500 m of it.
        EXPECT_LE(std::fabs(flt[3].local_y - 1000.0f), 500.0f + 2.0f);
        EXPECT_TRUE(flt[3].ai_app_mode == 1 || flt[3].ai_app_mode == 2);
        flt[3].local_x = 9.9e9f;
    }

    // An approach with no traffic runway cruises instead.
    flt[3] = flt_struct{};
    flt[3].groundspeed = 50.0f;
    flt[3].ai_app_mode = 1;
    traffic_runway_state.traffic_runway = 5;
    FLTMOD_plane_step(3);
    EXPECT_EQ(flt[3].ai_app_mode, 0);
    for (int s = 0; s < 4; ++s) EXPECT_TRUE(all_finite(flt[s])) << s;
}

TEST_F(PlaneStep, TrafficApproachTurnsAtAnyBankAndFlapsWithoutTravelTime)
{
    scenery_area = {-200000.0f, 200000.0f, -200000.0f, 200000.0f};
    add_airport("KTRF", 34.0f, -117.5f, 90.0f, 2500.0f, 100.0f);
    acf_struct& a = pln[2];
    a.acf_est_Vs = 30.0f;
    a.acf_flap_deftime = 0.0f;
    flt_struct& f = flt[2];
    f.local_x = 3000.0f;
    f.local_y = 800.0f;
    f.groundspeed = 50.0f;
    f.psi = 200.0f;
    f.phi = 0.0f;   // no bank: the turn rate comes from a hundredth of a degree
    f.ai_app_mode = 2;
    FLTMOD_plane_step(2);
    EXPECT_TRUE(std::isfinite(f.psi));
    EXPECT_EQ(f.flaprat, 1.0f);   // final: flaps out at once

    // Without the user's power the traffic's flaps stay.
    sim_cockpit_electrical.battery_on = 0;
    f.flaprat = 0.3f;
    f.ai_app_mode = 2;
    FLTMOD_plane_step(2);
    EXPECT_EQ(f.flaprat, 0.3f);
    EXPECT_TRUE(all_finite(f));
}

// A final (mode 2) toward runway 09 of 2,500 m: the aim point lies 1,125 m
// short of the runway's point; the plane is 2 km east and 2 km north of it,
// so the aim point bears 225. Turned 136 degrees off the runway it goes
// around, at 134 it stays. Within 500 m of another traffic plane the lower
// slot of the pair goes around; the user's plane counts only while ahead
// within 45 degrees and airborne. In daylight only a jet below 3,000 m keeps
// its lights.
TEST_F(PlaneStep, TrafficGoesAroundSeparatesAndSwitchesItsLights)
{
    float rx, rz;
    traffic_runway_09(rx, rz);
    const float px = rx - 1125.0f + 2000.0f, pz = rz - 2000.0f;
    flt[1].local_x = flt[2].local_x = 9.0e6f;
    flt[0].local_x = px + 5000.0f, flt[0].local_y = 600.0f, flt[0].local_z = pz;
    flt[0].onground_all = 0;
    auto final_at = [&](int p, float x, float z, float psi) {
        pln[p].acf_est_Vs = 30.0f;
        pln[p].acf_num_engines = 1;
        flt_struct& f = flt[p];
        f = flt_struct{};
        f.local_x = x, f.local_y = 600.0f, f.local_z = z;
        f.groundspeed = 50.0f;
        f.psi = psi;
        f.ai_app_mode = 2;
    };
    for (const auto& [off, mode] : {std::pair{134.0f, 2}, std::pair{136.0f, 1}, std::pair{-136.0f, 1}}) {
        final_at(3, px, pz, 90.0f + off);
        TRAFFIC_update_other(3);
        EXPECT_EQ(flt[3].ai_app_mode, mode) << off;
    }

    // Plane 2 300 m south of plane 3: the lower slot, 2, goes around.
    final_at(2, px, pz + 300.0f, 140.0f);
    final_at(3, px, pz, 140.0f);
    TRAFFIC_update_other(3);
    EXPECT_EQ(flt[2].ai_app_mode, 1);
    EXPECT_EQ(flt[3].ai_app_mode, 2);
    flt[2].local_x = 9.0e6f;

    // The user 300 m behind: nothing; 300 m ahead on the heading and airborne: the user's slot is marked.
    flt[0].ai_app_mode = 0;
    flt[0].local_x = px, flt[0].local_z = pz - 300.0f;   // due north, 140 degrees off
    final_at(3, px, pz, 140.0f);
    TRAFFIC_update_other(3);
    EXPECT_EQ(flt[0].ai_app_mode, 0);
    const float s140 = std::sin(140.0f * 3.14159265f / 180.0f), c140 = std::cos(140.0f * 3.14159265f / 180.0f);
    flt[0].local_x = px + 300.0f * s140, flt[0].local_z = pz - 300.0f * c140;
    flt[0].onground_all = 1;
    final_at(3, px, pz, 140.0f);
    TRAFFIC_update_other(3);
    EXPECT_EQ(flt[0].ai_app_mode, 0);
    flt[0].onground_all = 0;
    final_at(3, px, pz, 140.0f);
    TRAFFIC_update_other(3);
    EXPECT_EQ(flt[0].ai_app_mode, 1);
    EXPECT_EQ(flt[3].ai_app_mode, 2);
    flt[0].local_x = px + 5000.0f;

    // Lights.
    struct case_ {
        float darkness;
        int32_t engine;
        float y;
        int32_t on;
    };
    const case_ cases[] = {{0.5f, 1, 600.0f, 1},  {0.25f, 1, 600.0f, 0},  {0.25f, 4, 600.0f, 1},
                           {0.1f, 5, 2900.0f, 1}, {0.1f, 5, 3100.0f, 0}, {0.1f, 2, 600.0f, 0}};
    for (const case_& c : cases) {
        sim_graphics_scenery.percent_lights_on = c.darkness;
        pln[3].acf_en_type[0] = c.engine;
        final_at(3, px, pz, 140.0f);
        flt[3].local_y = c.y;
        TRAFFIC_update_other(3);
        for (int32_t light : {flt[3].nav_lights_on, flt[3].beacon_lights_on, flt[3].strobe_lights_on,
                              flt[3].landing_lights_on, flt[3].taxi_light_on})
            EXPECT_EQ(light, c.on) << c.darkness << " " << c.engine << " " << c.y;
    }

    // The speed it flies for: 1.7 Vs (51) toward the aim point, 1.3 Vs (39) on
    // final until near it; reached at a tenth of the difference a second, at
    // most 0.5 a second (0.05 s frames).
    for (const auto& [mode, speed] : {std::pair{1, 50.0f + 0.1f * 0.05f}, std::pair{2, 50.0f - 0.5f * 0.05f}}) {
        final_at(3, px, pz, 140.0f);
        flt[3].ai_app_mode = mode;
        TRAFFIC_update_other(3);
        EXPECT_NEAR(flt[3].groundspeed, speed, 1e-4f) << mode;
    }
}

// On final toward runway 09 (aim point 1,125 m short of the runway's point)
// the traffic aims for 0.052 m of height per metre to go above the airport:
// 5 km out that is 260 m, so at 360 m elevation it holds its pitch (the
// commanded pitch is its angle of attack, 18 (30/50)^2 - 2.5 = 3.98), and
// 30 m below the path it pitches up.
TEST_F(PlaneStep, TrafficOnFinalFollowsAGlidePathOf52MetresAKilometre)
{
    float rx, rz;
    traffic_runway_09(rx, rz);
    const float aim_x = rx - 1125.0f, aim_z = rz;
    flt[1].local_x = flt[2].local_x = 9.0e6f;
    flt[0].local_x = aim_x, flt[0].local_y = 600.0f, flt[0].local_z = aim_z + 3000.0f;
    flt[0].onground_all = 1;
    for (const auto& [elevation, climbs] : {std::pair{360.0f, false}, std::pair{330.0f, true}}) {
        pln[3].acf_est_Vs = 30.0f;
        pln[3].acf_num_engines = 1;
        flt_struct& f = flt[3];
        f = flt_struct{};
        f.local_x = aim_x - 5000.0f, f.local_y = 600.0f, f.local_z = aim_z;
        f.elevation = elevation;
        f.groundspeed = 50.0f;
        f.psi = 90.0f;
        f.theta = 18.0f * 0.36f - 2.5f;
        f.ai_app_mode = 2;
        TRAFFIC_update_other(3);
        EXPECT_EQ(f.ai_app_mode, 2) << elevation;
        if (climbs) EXPECT_GT(f.Q, 0.1f) << elevation;
        else EXPECT_NEAR(f.Q, 0.0f, 1e-3f) << elevation;
    }
}

// Cruising traffic worked by hand (0.05 s frame, 50 m/s due east, below its
// floor): it climbs for 500 m over the ground at (500 / 50) x 50, at most 7
// degrees: pitch rate 5 x (7 x 2) x 0.05 = 3.5, pitch 0.175; banked 10 with a
// roll rate of 4 it rolls level: rate 0.95 x 4 - 15 x 0.05 = 3.05, bank
// 10.1525; the climb is 50 sin(0.175 degrees) = 0.1527 m/s.
// Placed again far from any terrain (ground 1000) and far below the user, an
// even slot flies 1,000 to 3,000 m above the ground, a turboprop 3,000 to
// 6,000 m and a jet or rocket 9,000 to 12,000 m.
TEST_F(PlaneStep, CruisingTrafficClimbsRollsLevelAndIsPlacedByItsEngine)
{
    scenery_area = {-200000.0f, 200000.0f, -200000.0f, 200000.0f};
    sim_operation_misc.frame_rate_period = 0.05f;
    flt_struct& f = flt[2];
    pln[2].acf_est_Vs = 30.0f;
    f.groundspeed = 50.0f;
    f.psi = 90.0f;
    f.phi = 10.0f, f.P = 4.0f;
    f.local_y = -10000.0f;
    TRAFFIC_update_other(2);
    EXPECT_NEAR(f.Q, 3.5f, 1e-4f);
    EXPECT_NEAR(f.theta, 0.175f, 1e-5f);
    EXPECT_NEAR(f.P, 3.05f, 1e-4f);
    EXPECT_NEAR(f.phi, 10.1525f, 1e-4f);
    EXPECT_NEAR(f.local_vy, 0.15272f, 1e-4f);
    EXPECT_FLOAT_EQ(f.psi, 90.0f);

    flt[0].local_y = -100000.0f;
    const struct { int32_t engine; float low, high; } bands[] = {
        {ENGINE_PISTON_CARBURETTED, 1000.0f, 3000.0f}, {ENGINE_TURBINE_FREE, 3000.0f, 6000.0f},
        {ENGINE_TURBINE_FIXED, 3000.0f, 6000.0f},      {ENGINE_JET_HIGH_BYPASS, 9000.0f, 12000.0f},
        {ENGINE_ELECTRIC, 9000.0f, 12000.0f},          {ENGINE_TIP_ROCKET, 1000.0f, 3000.0f},
    };
    for (const auto& b : bands) {
        pln[2].acf_en_type[0] = b.engine;
        for (uint32_t seed : {1u, 2u, 3u, 4u}) {
            UTIL_srand(seed);
            f = flt_struct{};
            f.local_x = 9.9e9f;
            TRAFFIC_update_other(2);
            const float above = f.local_y - 1000.0f;
            EXPECT_GE(above, b.low - 5.0f) << b.engine << " " << seed;
            EXPECT_LE(above, b.high + 5.0f) << b.engine << " " << seed;
        }
    }
    flt[0].local_y = 0.0f;
}

TEST_F(PlaneStep, TowPlaneRollsThenClimbsAheadOfTheGlider)
{
    launch_flags.tow_situation = 1;
    launch_flags.tow_attached = 1;
    pln[1].acf_h_eqlbm = 1.5f;
    flt_struct& f = flt[1];
    f.groundspeed = 20.0f;
    f.local_y = 50.0f;
    f.track_cos = 1.0f;   // heading north
    TRAFFIC_update_other(1);
    EXPECT_EQ(f.local_y, 1.5f);   // on the ground below 25 m/s
    EXPECT_GT(f.groundspeed, 20.0f);
    f.groundspeed = 30.0f;
    TRAFFIC_update_other(1);
    EXPECT_NEAR(f.local_vy, (f.groundspeed - 25.0f) * 0.5f, 1e-4f);

    launch_flags.tow_attached = 0;   // released: it keeps its speed
    const float speed = f.groundspeed;
    TRAFFIC_update_other(1);
    EXPECT_EQ(f.groundspeed, speed);

    // Near its climb speed it gains 0.4 of the shortfall a second: 33 -> 33.08 in 0.1 s.
    sim_operation_misc.frame_rate_period = 0.1f;
    launch_flags.tow_attached = 1;
    f.groundspeed = 33.0f;
    TRAFFIC_update_other(1);
    EXPECT_NEAR(f.groundspeed, 33.08f, 1e-5f);
    // Released above 34.9 it banks away to the left at 10 degrees a second and
    // turns by g tan(bank) / speed: at 40 m/s and 1 degree, 0.0245 degrees in 0.1 s.
    launch_flags.tow_attached = 0;
    f.groundspeed = 40.0f;
    f.phi = 0.0f;
    f.psi = 0.0f;
    TRAFFIC_update_other(1);
    EXPECT_NEAR(f.phi, -1.0f, 1e-5f);
    EXPECT_NEAR(f.psi, 360.0f - 0.0245f, 2e-4f);

    // In a 5 m/s wind from the west it rolls along its heading on the
    // runway; 30 m up and more it flies its speed through the air and drifts
    // east with the wind, 15 m up with half of it.
    wind_vector[0] = 5.0f;
    f.psi = f.phi = 0.0f;
    f.track_sin = 0.0f, f.track_cos = 1.0f;
    f.groundspeed = 20.0f;
    TRAFFIC_update_other(1);
    EXPECT_EQ(f.local_vx, 0.0f);
    f.groundspeed = 35.0f;
    for (const float up : {30.0f, 15.0f}) {
        f.local_y = 1.5f + up;
        TRAFFIC_update_other(1);
        EXPECT_NEAR(f.local_vx, 5.0f * up / 30.0f, 1e-4f) << up;
        EXPECT_NEAR(f.local_vz, -35.0f, 1e-4f) << up;
    }
    wind_vector[0] = 0.0f;
}

// One free turbine (disc of 1 m radius, jet at rest, the plane at 50 m/s
// east, sound at 340 m/s): a trail of 1 m x 4 x 50 / 340 = 0.588 m, puffs of
// half that, and the exhaust kind 33 at sigma x 0.02 x throttle; up high the cold air makes a contrail (kind 0, the whole trail
// size, intensity the throttle); a wet runway adds spray (kind 6, trail size,
// opacity 1). A locked wheel skidding at 40 m/s on a runway puffs tyre smoke
// of 40 x 1.2 / 50 = 0.96 m, half of it above the contact point, and sounds
// the dry skid. Sizes vary by 0.85..1.15 as every particle's do.
TEST_F(PlaneStep, ExhaustContrailSprayAndTyreSmokeParticles)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_en_type[0] = ENGINE_TURBINE_FREE;
    a.acf_prop_type[0] = 0;
    a.acf_discarea[0] = 3.14159265f;
    a.acf_Xarm[0] = a.acf_Yarm[0] = a.acf_Zarm[0] = 0.0f;
    f.DVinc[0] = 0.0f;
    f.ENGN_running[0] = 1;
    f.ENGN_thro_use[0] = 0.5f;
    f.ENGN_propmode[0] = 1;
    f.local_x = 100.0f, f.local_y = 0.0f, f.local_z = 200.0f;
    f.local_vx = 50.0f, f.local_vy = 0.0f, f.local_vz = 0.0f;
    sim_weather.sigma = 1.0f;
    sim_weather.speed_of_sound_ms = 340.0f;
    sim_weather.temperature_sealevel_c = 15.0f;
    sim_weather.runway_friction = 0;
    sim_graphics_view.visibility_math_level = 0;
    terrain_height_m = -5.0f;
    auto size_near = [](float size, float expected) { return size >= expected * 0.849f && size <= expected * 1.151f; };

    particle_list.clear();
    PLANE_exhaust(0, 50.0f);
    ASSERT_EQ(particle_list.size(), 2u);
    for (const particle_record& p : particle_list) {
        EXPECT_EQ(p.color, 33);
        EXPECT_NEAR(p.opacity, 0.01f, 1e-6f);
        EXPECT_TRUE(size_near(p.size, 0.29412f)) << p.size;
        EXPECT_EQ(p.floor_y, -5.0f);
    }
    EXPECT_NEAR(particle_list[0].x, 100.0f, 1e-4f);
    EXPECT_NEAR(particle_list[1].x, 99.0f, 1e-4f);   // 0.02 s of the plane's travel behind

    // Cold air at 11,000 m: a contrail, a piston engine's as big as the turbine's trail.
    particle_list.clear();
    f.local_y = 11000.0f;
    a.acf_en_type[0] = ENGINE_PISTON_CARBURETTED;
    PLANE_exhaust(0, 50.0f);
    ASSERT_EQ(particle_list.size(), 2u);
    EXPECT_EQ(particle_list[0].color, 0);
    EXPECT_NEAR(particle_list[0].opacity, 0.5f, 1e-6f);
    EXPECT_TRUE(size_near(particle_list[0].size, 0.58824f)) << particle_list[0].size;

    // A wet runway: spray behind the engine as well.
    particle_list.clear();
    f.local_y = 0.0f;
    a.acf_en_type[0] = ENGINE_TURBINE_FREE;
    sim_weather.runway_friction = 1;
    PLANE_exhaust(0, 50.0f);
    ASSERT_EQ(particle_list.size(), 3u);
    EXPECT_EQ(particle_list[2].color, 6);
    EXPECT_EQ(particle_list[2].opacity, 1.0f);
    EXPECT_TRUE(size_near(particle_list[2].size, 0.58824f)) << particle_list[2].size;

    // A tail-rotor drive makes no exhaust at all.
    particle_list.clear();
    sim_weather.runway_friction = 0;
    a.acf_prop_type[0] = PROP_TAIL_ROTOR;
    PLANE_exhaust(0, 50.0f);
    EXPECT_TRUE(particle_list.empty());

    // Tyre smoke of a skidding wheel on a paved runway.
    particle_list.clear();
    sounds.clear();
    GROUND_surface_reset();
    surface_state.surface_code = 160;
    a.acf_part_eq[PART_GEAR_FIRST] = 1;
    a.acf_gear_def[PART_GEAR_FIRST] = 0.1f;
    a.acf_gear_tirrad[PART_GEAR_FIRST] = 0.3f;
    a.acf_gear_xnodef[PART_GEAR_FIRST] = a.acf_gear_ynodef[PART_GEAR_FIRST] = a.acf_gear_znodef[PART_GEAR_FIRST] = 0.0f;
    f.tire_speed_term[PART_GEAR_FIRST] = 40.0f;
    f.tire_speed_now[PART_GEAR_FIRST] = 0.0f;
    PLANE_tyre_smoke(0, 50.0f);
    ASSERT_EQ(particle_list.size(), 1u);
    const particle_record& t = particle_list[0];
    EXPECT_EQ(t.color, 20);
    EXPECT_NEAR(t.y, 0.48f, 1e-4f);
    EXPECT_NEAR(t.floor_y, -5.48f, 1e-4f);
    EXPECT_TRUE(size_near(t.size, 0.96f)) << t.size;
    EXPECT_EQ(sounds.count(SOUND_SKID_DRY), 1);

    // Rolling at 9 m/s below the wheel's own speed is no skid.
    particle_list.clear();
    f.tire_speed_now[PART_GEAR_FIRST] = 31.0f;
    PLANE_tyre_smoke(0, 50.0f);
    EXPECT_TRUE(particle_list.empty());

    // The dump trail (kind 13) comes from a water bomber that is dumping; a
    // jettisonable load of another aircraft leaves none.
    f.jett_dumping = 1;
    a.acf_m_jettison = 500.0f;
    for (const int water : {1, 0}) {
        particle_list.clear();
        a.acf_jett_is_water = water;
        PLANE_dump_trail(0);
        ASSERT_EQ(particle_list.size(), static_cast<size_t>(water));
        if (water) {
            EXPECT_EQ(particle_list[0].color, 13);
        }
    }
}
