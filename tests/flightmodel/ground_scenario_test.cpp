// Whole flights on the ground and on the water through the simulation's
// frame and the plane step: the default trainer started on the default airport's
// runway stands, holds on its parking brake, takes off, and lands again from
// an approach, and flies straight across each pole; the fleet's float plane
// rests on still water.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/numeric.h"
#include "flightmodel/attitude.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/flightmodel/trainer_fixture.h"
#include "tests/support/flight_fixture.h"
#include "tests/support/terrain_support.h"
#include "world/apt_scene.h"
#include "world/runway_geometry.h"
#include "world/nav_lookup.h"

using namespace trainer_test;

namespace {

constexpr float DT = 0.04f;   // 25 frames a second
constexpr float KT = 0.5144444f;
constexpr float RAD = 57.29578f;

// The default world: the data folder's airports, the default start airport,
// the scene built around it.
class DefaultAirport : public PilotedTrainer {
protected:
    void SetUp() override
    {
        PilotedTrainer::SetUp();
        if (IsSkipped()) return;
        char path[500];
        std::snprintf(path, sizeof path, "%s", ORVELL_DATA_FOLDER "Resources/Earth nav data/apt.dat");
        ASSERT_EQ(APT_parse(7, path, 0), 1);
        std::memcpy(start_selection.airport_id, "KSBD", 5);
        APT_find_start_airport();
        APT_build_scene(1);
    }

    static void frame() { simulation_frame(DT); }

    // The flight start at the start airport's runway (`where` SIT_RUNWAY) or on
    // its approach; false when the plane step does not run the build-up.
    static bool started_at(int where)
    {
        FLIGHT_init_situation(SIT_AIRPORT, where);
        return plane_step_runs_the_build_up();
    }

    static float struts()
    {
        float sum = 0.0f;
        for (int n = PART_GEAR_FIRST; n < PART_GEAR_FIRST + 3; ++n) sum += flt[0].nrml_force[n];
        return sum;
    }

    static float ias_kt() { return flt[0].indicated_airspeed; }

    // One frame of a take-off run along `heading`: the stick left alone until
    // the speed passes `rotate_ratio` times the stall speed, then the nose
    // held 8 degrees up.
    static void take_off_frame(float rotate_ratio, float heading)
    {
        const bool rotate = ias_kt() > rotate_ratio * pln[0].acf_Vso;
        fly_attitude(rotate ? 8.0f : flt[0].theta);
        if (!rotate) hands.pitch = 0.0f;
        steer(heading);
        frame();
    }
    // How far the plane has come from (x0, z0) along `heading`, metres.
    static float along(float heading, float x0, float z0)
    {
        const flt_struct& f = flt[0];
        return (f.local_x - x0) * std::sin(heading / RAD) - (f.local_z - z0) * std::cos(heading / RAD);
    }
};

}  // namespace

TEST_F(DefaultAirport, TheTrainerStandsOnItsGearAndTheParkingBrakeHoldsIt)
{
    ASSERT_TRUE(started_at(SIT_RUNWAY)) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    f.parkbrake = 1.0f;
    const float x0 = f.local_x, z0 = f.local_z;
    for (int k = 0; k < 125; ++k) frame();   // 5 s to settle
    EXPECT_EQ(surface_state.flat_surface_on, 1);   // on the runway
    EXPECT_NEAR(struts(), f.m_total * sim_physics.g_sealevel, 0.01f * f.m_total * sim_physics.g_sealevel);
    EXPECT_EQ(f.onground_all, 1);
    for (int k = 0; k < 60 * 25; ++k) frame();   // a minute at idle
    EXPECT_LT(std::hypot(f.local_x - x0, f.local_z - z0), 1.0f);
}

// Started on the runway with its engine running and the throttle closed, on
// the high idle every flight starts with, the trainer's engine keeps running:
// it settles at a steady speed above the quarter of its idle speed where the
// engine stops driving, and the propeller turns with it.
TEST_F(DefaultAirport, TheTrainerKeepsRunningWithTheThrottleClosed)
{
    ASSERT_TRUE(started_at(SIT_RUNWAY)) << "FLTMOD_plane_step runs no build-up";
    const float idle = pln[0].acf_RSC_idlespeed_eng;
    flt_struct& f = flt[0];
    ASSERT_EQ(f.ENGN_running[0], 1);
    ASSERT_EQ(sim_cockpit_engine.idle_speed[0], 1);
    f.parkbrake = 1.0f;
    float slowest = 1e9f, fastest = 0.0f;
    for (int k = 0; k < 40 * 25; ++k) {
        frame();
        if (k >= 20 * 25) slowest = std::min(slowest, f.ENGN_tacrad[0]), fastest = std::max(fastest, f.ENGN_tacrad[0]);
    }
    EXPECT_EQ(f.ENGN_thro_use[0], 0.0f);
    EXPECT_GT(slowest, 0.35f * idle);
    EXPECT_LT(fastest, idle);
    EXPECT_LT(fastest - slowest, 0.05f * idle) << "a steady idle";
    EXPECT_NEAR(f.POINT_tacrad[0], f.ENGN_tacrad[0], 0.01f * idle) << "the propeller turns with the engine";
}

TEST_F(DefaultAirport, TheTrainerTakesOffBeforeTheRunwaysEnd)
{
    ASSERT_TRUE(started_at(SIT_RUNWAY)) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    const airport_record& apt = airport_table.at(static_cast<size_t>(start_selection.airport_index));
    const runway_record& rw = apt.runways.at(0);
    const float heading = f.psi;
    const float x0 = f.local_x, z0 = f.local_z;
    const float to_the_end = rw.length - 20.0f;   // the start stands 10 m inside the threshold
    for (int k = 0; k < 50; ++k) frame();

    hands.throttle = 1.0f;
    f.parkbrake = 0.0f;
    // Rolled to lift-off, then 10 s of climb away at the held attitude.
    float airborne_sec = 0.0f, lift_off_at = -1.0f;
    for (int k = 0; k < 90 * 25 && airborne_sec < 10.0f; ++k) {
        take_off_frame(1.2f, heading);
        const float rolled = along(heading, x0, z0);
        airborne_sec = f.onground_any ? 0.0f : airborne_sec + DT;
        if (!f.onground_any && lift_off_at < 0.0f) lift_off_at = rolled;
        if (f.onground_any) lift_off_at = -1.0f;
        ASSERT_LT(rolled, to_the_end) << "still rolling at the runway's end";
    }
    EXPECT_GE(airborne_sec, 10.0f);
    EXPECT_GT(lift_off_at, 0.0f);
    EXPECT_GT(f.y_agl, 8.0f);
    EXPECT_GT(f.local_vy, 1.0f);   // still climbing
    EXPECT_LT(std::fabs(std::remainder(f.psi - heading, 360.0f)), 3.0f);   // along the runway
}

// Started 0.01 degree short of each pole and heading for it at 60 m/s, the
// trainer with its wings held level flies straight across: a minute later it
// is on the far side, further from the pole, heading away from it.
TEST_F(DefaultAirport, TheTrainerFliesStraightAcrossEachPole)
{
    for (const float pole : {90.0f, -90.0f}) {
        situation_start_record& b = situation_start_state;
        b.latitude = pole - std::copysign(0.01f, pole), b.longitude = -17.0f, b.elevation = 1000.0f;
        b.psi = pole > 0.0f ? 0.0f : 180.0f, b.groundspeed = 60.0f;
        FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
        hands.throttle = 0.7f;
        for (int k = 0; k < 60 * 25; ++k) fly_attitude(0.0f), frame();
        const flt_struct& f = flt[0];
        const float heading = f.psi + GEO_grid_convergence(f.latitude, f.longitude);
        EXPECT_GT(std::fabs(pole - f.latitude), 0.01f) << pole;
        EXPECT_LT(std::fabs(pole - f.latitude), 0.05f) << pole;
        EXPECT_LT(std::fabs(UTIL_wrap_pm180(f.longitude - 163.0f)), 2.0f) << pole;      // the far side
        EXPECT_LT(std::fabs(UTIL_wrap_pm180(heading - (180.0f - b.psi))), 15.0f) << pole;   // away from the pole
    }
}

// Rolled along the runway, off its end and round back onto it, for 20 s of
// the simulation with no frame drawn: the ground under the trainer is the
// runway, with its code and height, in exactly the steps that begin inside
// the runway's outline, and the bare terrain in the others.
TEST_F(DefaultAirport, TheTrainerRollsOffTheRunwaysEndAndBackWithNoFrameDrawn)
{
    ASSERT_TRUE(started_at(SIT_RUNWAY)) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    const airport_record& apt = airport_table.at(static_cast<size_t>(start_selection.airport_index));
    const runway_geometry_record* g = APT_runway_geometry(apt, 0);
    ASSERT_NE(g, nullptr);
    // The runway's end, the edge from its last section's left point A to its
    // right point B, and how far a point lies past it.
    const runway_section &first = g->sections.front(), &last = g->sections.back();
    const float ax = last.left[0], az = last.left[2], ex = last.right[0] - ax, ez = last.right[2] - az;
    const auto beyond = [&](float x, float z) { return ((x - ax) * ez - (z - az) * ex) / std::hypot(ex, ez); };
    const float side = beyond(first.left[0], first.left[2]) < 0.0f ? 1.0f : -1.0f;
    const auto past_end = [&](float x, float z) { return side * beyond(x, z); };
    // Taken from the start 25 m before the end, on the centre line, rolling
    // along the runway at 6 m/s.
    const float mx = ax + 0.5f * ex, mz = az + 0.5f * ez;
    const float ux = mx - 0.5f * (first.left[0] + first.right[0]), uz = mz - 0.5f * (first.left[2] + first.right[2]);
    const float u = std::hypot(ux, uz);
    const float heading = std::atan2(ux, -uz) * RAD;
    f.local_x_d = f.local_x = mx - 25.0f * ux / u;
    f.local_z_d = f.local_z = mz - 25.0f * uz / u;
    f.local_y_d = f.local_y = last.left[1] + pln[0].acf_h_eqlbm;
    f.local_vx = 6.0f * ux / u, f.local_vz = 6.0f * uz / u;
    f.psi = heading;
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.parkbrake = 0.0f;
    int changes = 0;
    bool was_on = true;
    float farthest = 0.0f;
    for (int k = 0; k < 20 * 25; ++k) {
        const float out = past_end(f.local_x, f.local_z);
        farthest = std::fmax(farthest, out);
        steer(farthest > 20.0f ? heading + 180.0f : heading);   // 20 m out it turns round
        hands.throttle = UTIL_clamp(0.2f + 0.2f * (6.0f - f.groundspeed), 0.0f, 1.0f);
        frame();
        // The ground of this step, found where it began.
        const bool on = out < 0.0f;
        const surface_state_record& s = surface_state;
        ASSERT_EQ(s.runway_under_plane, on ? 0 : RUNWAY_NONE) << k << ": " << out << " m past the end";
        ASSERT_EQ(s.surface_code, on ? apt.runways[0].surface_code : SURFACE_NONE) << k;
        ASSERT_EQ(s.flat_surface_on, on ? 1 : 0) << k;
        if (on) {
            ASSERT_NEAR(s.flat_surface_height, last.left[1], 0.5f) << k;
        }
        changes += on != was_on;
        was_on = on;
    }
    EXPECT_EQ(changes, 2);   // off the end, and back
    EXPECT_TRUE(was_on);
    EXPECT_EQ(f.onground_all, 1);
}

TEST_F(DefaultAirport, AScriptedApproachLandsTheTrainerOnTheRunwayAndBrakesItToAStop)
{
    ASSERT_TRUE(started_at(SIT_APPROACH_3NM)) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    const airport_record& apt = airport_table.at(static_cast<size_t>(start_selection.airport_index));
    const runway_record& rw = apt.runways.at(0);
    const float heading = rw.heading + GEO_grid_convergence(rw.lat, rw.lon);
    const float sh = std::sin(heading / RAD), ch = std::cos(heading / RAD);
    float cx, cy, cz;
    GEO_latlon_to_local(cx, cy, cz, rw.lat, rw.lon, apt.elevation);
    // The aim point 300 m past the threshold, and a 3-degree path down to it.
    const float aim_x = cx - (0.5f * rw.length - 300.0f) * sh, aim_z = cz + (0.5f * rw.length - 300.0f) * ch;
    const float approach_kt = 1.3f * pln[0].acf_Vso;

    float touchdown_sink = -1.0f, all_down_sec = -1.0f;
    float time = 0.0f;
    for (int k = 0; k < 240 * 25; ++k, time += DT) {
        const float ahead = (aim_x - f.local_x) * sh - (aim_z - f.local_z) * ch;   // distance to the aim point
        const float across = (f.local_x - aim_x) * ch + (f.local_z - aim_z) * sh;  // right of the centre line
        if (touchdown_sink < 0.0f) {
            if (f.y_agl > 6.0f) {
                // On the path: the flight path follows the height error, the throttle the speed.
                const float path_height = std::fmax(ahead, 0.0f) * std::tan(3.0f / RAD);
                const float gamma_cmd = UTIL_clamp(-3.0f + 0.3f * (path_height - f.y_agl), -6.0f, 0.0f);
                const float gamma = std::atan2(f.local_vy, std::fmax(f.groundspeed, 1.0f)) * RAD;
                fly_attitude(f.theta + 2.0f * (gamma_cmd - gamma));
                hands.throttle = UTIL_clamp(0.3f + 0.05f * (approach_kt - ias_kt()), 0.0f, 1.0f);
                hands.roll = UTIL_clamp(hands.roll - 0.02f * across, -1.0f, 1.0f);
            } else {
                // The flare: idle, the nose raised as the ground nears.
                hands.throttle = 0.0f;
                fly_attitude(4.0f + 0.5f * (6.0f - f.y_agl));
            }
            steer(heading);
        } else {
            hands.pitch = 0.0f;
            hands.throttle = 0.0f;
            steer(heading);
            if (all_down_sec >= 0.0f) hands.left_brake = hands.right_brake = 1.0f;
        }
        const float vy = f.local_vy;
        frame();
        if (touchdown_sink < 0.0f && f.onground_any) touchdown_sink = -vy;
        if (all_down_sec < 0.0f && f.onground_all) all_down_sec = time;
        if (all_down_sec >= 0.0f && f.groundspeed < 0.3f) break;
    }
    ASSERT_GE(touchdown_sink, 0.0f) << "never touched down";
    EXPECT_LT(touchdown_sink, 3.0f);
    EXPECT_GE(all_down_sec, 0.0f);
    EXPECT_LT(f.groundspeed, 0.3f);
    EXPECT_EQ(surface_state.flat_surface_on, 1);   // stopped on the runway
    EXPECT_EQ(f.onground_all, 1);
}

// The fleet's float plane, set on still water, floats on its own water forces.
TEST_F(DefaultAirport, TheFleetsFloatPlaneComesToRestOnStillWater)
{
    namespace fs = std::filesystem;
    std::string path;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(ORVELL_DATA_FOLDER "Aircraft", ec), end; it != end && !ec; it.increment(ec)) {
        std::string name = it->path().filename().string();
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name.find("float") != std::string::npos && name.size() > 4 && name.substr(name.size() - 4) == ".acf")
            path = it->path().string();
    }
    ASSERT_FALSE(path.empty()) << "the built data folder has no float plane";
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", fs::path(path).filename().c_str());
    ACF_load_and_setup(0);

    // A lake all over the area at sea level.
    TEST_lay_flat_grid(-20.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    water_level_m = 0.0f;
    sim_weather.wave_amplitude = 0.0f;
    FLIGHT_reset_at_start(0, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f);
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    for (int k = 0; k < 60 * 25; ++k) frame();
    const float weight = f.m_total * sim_physics.g_sealevel;
    EXPECT_NEAR(f.fnrml_gear, weight, 0.02f * weight);
    EXPECT_EQ(f.onground_any, 1);
    EXPECT_LT(std::fabs(f.local_vy), 0.05f);
}

namespace {

// Every aircraft of the fleet with wheels or skids, started on the default
// airport's runway as the user's aircraft: it settles on its gear (the glider,
// on its one main wheel, leans onto a wing tip), stays upright, the ground
// carries its weight and its parking brake holds it at idle.
struct fleet_member {
    const char* file;
    float most_bank_deg;
};

class FleetOnTheRunway : public DefaultAirport, public ::testing::WithParamInterface<fleet_member> {};

}  // namespace

TEST_P(FleetOnTheRunway, StandsOnItsGearAndItsParkingBrakeHoldsIt)
{
    ASSERT_TRUE(load_fleet_member(GetParam().file)) << GetParam().file;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    flt_struct& f = flt[0];
    const float x0 = f.local_x, z0 = f.local_z;
    for (int k = 0; k < 20 * 25; ++k) frame();
    const float weight = f.m_total * sim_physics.g_sealevel;
    EXPECT_EQ(f.onground_all, 1);
    EXPECT_LT(std::fabs(f.phi), GetParam().most_bank_deg);
    EXPECT_LT(std::fabs(f.theta - pln[0].acf_the_eqlbm), 5.0f);
    EXPECT_LT(std::hypot(f.local_x - x0, f.local_z - z0), 2.0f);
    EXPECT_LT(f.groundspeed, 0.2f);
    EXPECT_NEAR(f.fnrml_gear, weight, 0.05f * weight);
}

INSTANTIATE_TEST_SUITE_P(Fleet, FleetOnTheRunway,
                         ::testing::Values(fleet_member{"Orvell Twin.acf", 3.0f},
                                           fleet_member{"Orvell Airliner.acf", 3.0f},
                                           fleet_member{"Orvell Striker.acf", 3.0f},
                                           fleet_member{"Orvell Glider.acf", 12.0f},
                                           fleet_member{"Orvell Helicopter.acf", 3.0f}),
                         [](const auto& info) {
                             const std::string s = info.param.file;
                             return s.substr(7, s.size() - 11);
                         });

// The fleet's helicopter, started on the runway with its engine governing the
// rotors, lifts into a hover as the collective comes up: the tail rotor, on
// the engine's shaft, holds the main rotor's torque and the heading.
TEST_F(DefaultAirport, TheHelicopterLiftsIntoAHoverAndHoldsItsHeading)
{
    ASSERT_TRUE(load_fleet_member("Orvell Helicopter.acf"));
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float heading = f.psi;
    for (int k = 0; k < 10 * 25; ++k) frame();
    hands.throttle = 1.0f;   // the engine's governor holds the rotor speed
    f.parkbrake = 0.0f;

    // The collective up half a degree a second until the skids leave the
    // ground, then worked to hold 5 m; cyclic level, pedals on the heading.
    constexpr float HOVER_M = 5.0f;
    float collective = a.acf_min_pitch[0];
    bool lifted = false;
    float worst_rate = 0.0f, worst_heading = 0.0f, lowest = 1e9f, highest = -1e9f;
    for (int k = 0; k < 70 * 25; ++k) {
        lifted = lifted || !f.onground_any;
        collective += DT * (lifted ? 0.3f * (HOVER_M - f.y_agl) - 0.8f * f.local_vy : 0.5f);
        collective = UTIL_clamp(collective, a.acf_min_pitch[0], a.acf_max_pitch[0]);
        ENGN_set_prop_pitch(0, collective);
        fly_attitude(a.acf_the_eqlbm);
        steer(heading);
        frame();
        if (k >= 50 * 25) {   // the last 20 s
            worst_rate = std::max(worst_rate, std::fabs(f.R));
            worst_heading = std::max(worst_heading, std::fabs(std::remainder(f.psi - heading, 360.0f)));
            lowest = std::min(lowest, f.y_agl);
            highest = std::max(highest, f.y_agl);
        }
    }
    EXPECT_TRUE(lifted);
    EXPECT_EQ(f.onground_any, 0);
    EXPECT_GT(lowest, 0.5f * HOVER_M);
    EXPECT_LT(highest, 2.0f * HOVER_M);
    EXPECT_LT(worst_rate, 5.0f);
    EXPECT_LT(worst_heading, 10.0f);
    EXPECT_LT(std::fabs(f.phi), 10.0f);
    // Both rotors at their design speeds.
    EXPECT_NEAR(f.POINT_tacrad[0], a.acf_des_rpm_prp[0], 0.1f * a.acf_des_rpm_prp[0]);
    EXPECT_NEAR(f.POINT_tacrad[1], a.acf_des_rpm_prp[1], 0.1f * a.acf_des_rpm_prp[1]);
}

namespace {

// The fleet's powered aeroplanes at full power from the default runway, rotated
// to 8 degrees at 1.3 times their stalling speed with a quarter flap: each lifts
// off before the runway's end and climbs away straight ahead.
class FleetTakesOff : public DefaultAirport, public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_P(FleetTakesOff, LiftsOffBeforeTheRunwaysEndAndClimbsAway)
{
    ASSERT_TRUE(load_fleet_member(GetParam())) << GetParam();
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    flt_struct& f = flt[0];
    const runway_record& rw = airport_table.at(static_cast<size_t>(start_selection.airport_index)).runways.at(0);
    const float heading = f.psi;
    const float x0 = f.local_x, z0 = f.local_z;
    for (int k = 0; k < 50; ++k) frame();
    hands.throttle = 1.0f;
    f.parkbrake = 0.0f;
    f.flaprqst = 0.25f;
    float airborne_sec = 0.0f;
    for (int k = 0; k < 120 * 25 && airborne_sec < 15.0f; ++k) {
        take_off_frame(1.3f, heading);
        airborne_sec = f.onground_any ? 0.0f : airborne_sec + DT;
        if (f.onground_any) {
            ASSERT_LT(along(heading, x0, z0), rw.length - 20.0f) << "still rolling at the runway's end";
        }
    }
    EXPECT_GE(airborne_sec, 15.0f);
    EXPECT_GT(f.y_agl, 30.0f);
    EXPECT_GT(f.local_vy, 1.0f);
    EXPECT_LT(std::fabs(std::remainder(f.psi - heading, 360.0f)), 5.0f);
    EXPECT_LT(std::fabs(f.phi), 10.0f);
}

INSTANTIATE_TEST_SUITE_P(Fleet, FleetTakesOff,
                         ::testing::Values("Orvell Twin.acf", "Orvell Airliner.acf", "Orvell Striker.acf"),
                         [](const auto& info) {
                             const std::string s = info.param;
                             return s.substr(7, s.size() - 11);
                         });

// The float plane has no wheels: a runway start puts it on a 3-nm approach.
// With the throttle closed and the wings held level at the glide's attitude
// it comes down: nothing but its wings and its engine holds it up.
TEST_F(DefaultAirport, TheFloatPlaneOnItsApproachGlidesDownWithTheThrottleClosed)
{
    ASSERT_TRUE(load_fleet_member("Orvell Floatplane.acf"));
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    flt_struct& f = flt[0];
    ASSERT_EQ(f.onground_any, 0);
    const float start_y = f.local_y;
    float sink_sum = 0.0f;
    for (int k = 0; k < 30 * 25; ++k) {
        ENGN_set_throttle(0, 0.0f);
        fly_attitude(0.0f);
        frame();
        if (k >= 10 * 25) sink_sum -= f.local_vy * DT;
    }
    EXPECT_LT(f.local_y, start_y - 50.0f);
    EXPECT_GT(sink_sum / 20.0f, 1.5f);   // a glider's sink rate or more, in m/s
}

// The float plane set on a lake with its engine running, at full power: it
// runs up on its floats, leaves the water and climbs away.
TEST_F(DefaultAirport, TheFloatPlaneTakesOffFromStillWater)
{
    ASSERT_TRUE(load_fleet_member("Orvell Floatplane.acf"));
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);   // on its approach, the engine running
    TEST_lay_flat_grid(-20.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    water_level_m = 0.0f;
    sim_weather.wave_amplitude = 0.0f;
    flt_struct& f = flt[0];
    f.local_x_d = f.local_z_d = 0.0, f.local_y_d = 0.5;
    f.local_x = f.local_z = 0.0f, f.local_y = 0.5f;
    f.local_vx = f.local_vy = f.local_vz = 0.0f;
    f.theta = f.phi = 0.0f, f.psi = 90.0f;
    f.P = f.Q = f.R = 0.0f;
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.flaprqst = 0.25f;
    for (int k = 0; k < 20 * 25; ++k) {   // afloat at idle
        ENGN_set_throttle(0, 0.0f);
        frame();
    }
    ASSERT_EQ(f.onground_any, 1);
    EXPECT_GT(f.ENGN_tacrad[0], 0.35f * pln[0].acf_RSC_idlespeed_eng) << "the engine keeps running at idle";
    float lift_off_x = -1.0f;
    for (int k = 0; k < 90 * 25; ++k) {
        ENGN_set_throttle(0, 1.0f);
        fly_attitude(ias_kt() > 1.2f * pln[0].acf_Vso ? 7.0f : 2.0f);
        steer(90.0f);
        frame();
        if (lift_off_x < 0.0f && !f.onground_any && f.local_y > 3.0f) lift_off_x = f.local_x;
    }
    ASSERT_GT(lift_off_x, 0.0f) << "never left the water";
    EXPECT_LT(lift_off_x, 2000.0f);
    EXPECT_GT(f.local_y, 60.0f);
    EXPECT_GT(f.local_vy, 2.0f);
    EXPECT_LT(std::fabs(std::remainder(f.psi - 90.0f, 360.0f)), 5.0f);
}

// Each ramp start of the default airport stands on paving (the apron before
// the terminal, the hangars' apron), not on the grass beside the runway.
TEST_F(DefaultAirport, EveryRampStartStandsOnAnApron)
{
    const airport_record& ksbd = airport_table[static_cast<size_t>(start_selection.airport_index)];
    ASSERT_EQ(std::string(ksbd.id), "KSBD");
    ASSERT_GE(ksbd.starts.size(), 2u);
    for (size_t k = 0; k < ksbd.starts.size(); ++k) {
        start_selection.start_index = static_cast<int>(k);
        ASSERT_TRUE(started_at(SIT_RAMP)) << "FLTMOD_plane_step runs no build-up";
        for (int n = 0; n < 25; ++n) frame();
        EXPECT_EQ(surface_state.flat_surface_on, 1) << ksbd.starts[k].name;
        ASSERT_NE(surface_state.runway_under_plane, RUNWAY_NONE) << ksbd.starts[k].name;
        EXPECT_EQ(ksbd.runways[static_cast<size_t>(surface_state.runway_under_plane)].number[0], 'x') << ksbd.starts[k].name;
    }
}
