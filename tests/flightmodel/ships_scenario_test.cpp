// Whole flights at sea through the real flight starts and the simulation's
// frame with the plane step, no frame drawn: the trainer thrown off the bow
// of the carrier steaming far out by the catapult once the parking brake is
// let off and flying away hands off, a landing caught by the wires, the
// trainer parked on the deck and on a generated roof, and the fleet's
// helicopter set down on the frigate and on both platforms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/flight_start.h"
#include "aircraft/launch_flags.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/units.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/surface_under.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems.h"
#include "world/ship_decks.h"
#include "world/ships.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/ground/terrain_query.h"
#include "tests/flightmodel/trainer_fixture.h"
#include "tests/support/flight_fixture.h"
#include "world/cover_placement.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/terrain_grid.h"

using namespace trainer_test;

namespace {

constexpr float DT = 0.04f;   // 25 frames a second

// Calm sea over the whole area at sea level, lying on the planet's curve as
// the loaded scenery does in the flat local frame (31 m below the origin at
// 20 km); the carrier steams north from the middle, the frigate east of it,
// platform A west and platform B south.
class AtSea : public PilotedTrainer {
protected:
    void SetUp() override
    {
        PilotedTrainer::SetUp();
        if (IsSkipped()) return;
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
        const float r = sim_physics.earth_radius_m;
        TEST_lay_grid(100.0f, 200, 200, [r](float x, float z) { return -(x * x + z * z) / (2.0f * r); });
        water_level_m = 0.0f;
        sim_weather.wave_amplitude = 0.0f;
        for (int k = 0; k < WIND_LAYERS; ++k)
            sim_weather.wind_speed_kt[k] = sim_weather.shear_speed_kt[k] = sim_weather.turbulence[k] = 0.0f;
        place(SHIP_CARRIER, 0.0f, 0.0f, 0.0f);
        place(SHIP_FRIGATE, 3000.0f, 0.0f, 90.0f);
        place(SEA_PLATFORM_A, -3000.0f, 0.0f, 0.0f);
        place(SEA_PLATFORM_B, 0.0f, 3000.0f, 0.0f);
        sim_graphics_settings.draw_ships = sim_graphics_settings.draw_oilrigs = 1;
        sim_joystick.has_joystick = 1;
    }

    // The object at rest on the sea at (x, z): no drift, turn or rocking another test left it.
    static void place(int slot, float x, float z, float heading)
    {
        int i = 0, j = 0;
        ship_x[slot] = x, ship_z[slot] = z;
        ship_y[slot] = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, &i, &j, 0, "test");
        ship_heading[slot] = heading;
        ship_vx[slot] = ship_vz[slot] = ship_turn_rate[slot] = 0.0f;
        ship_pitch_rate[slot] = ship_roll_rate[slot] = 0.0f;
    }

    // One frame of the program's simulation, with no frame drawn.
    static void frame() { simulation_frame(DT); }

    // Position in the ship's own frame (x starboard, z aft).
    static void in_ship_frame(int slot, float& x, float& z)
    {
        const double h = ship_heading[slot] * DEG_TO_RAD_DOUBLE;
        const float dx = flt[0].local_x - ship_x[slot], dz = flt[0].local_z - ship_z[slot];
        x = static_cast<float>(dx * std::cos(h) + dz * std::sin(h));
        z = static_cast<float>(-dx * std::sin(h) + dz * std::cos(h));
    }
};

}  // namespace

TEST_F(AtSea, TheCatapultThrowsTheTrainerOffTheBowAndItClimbsAwayHandsOff)
{
    // The carrier as the program has it: far out on the curved sea, steaming
    // at its speed and rocked by the default waves.
    place(SHIP_CARRIER, -14000.0f, -14000.0f, 0.0f);
    sim_weather.wave_amplitude = 1.0f, sim_weather.wave_length = 12.0f;
    FLIGHT_init_situation(SIT_CATAPULT, 0);
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    const launch_flags_block& l = launch_flags;
    ASSERT_EQ(l.catapult_hold, 1);
    EXPECT_NEAR(l.catapult_accel_mss, LAUNCH_catapult_accel(pln[0].acf_est_Vs), 1e-4f);
    EXPECT_EQ(f.parkbrake, 1.0f);

    // Held on the spot at full throttle: it rides with the ship.
    hands.throttle = 1.0f;
    for (int k = 0; k < 50; ++k) frame();
    float x, z;
    in_ship_frame(SHIP_CARRIER, x, z);
    EXPECT_EQ(l.catapult_hold, 1);
    EXPECT_EQ(l.catapult_fired, 0);
    EXPECT_EQ(surface_state.on_carrier, 1);
    EXPECT_NEAR(x, -12.5f, 3.0f);
    EXPECT_NEAR(z, -60.0f, 3.0f);
    EXPECT_NEAR(f.y_agl, 0.0f, 0.5f);

    // The brake released, hands off: the stroke runs to the bow, the plane
    // flies on for 20 s without a jump of speed or attitude and never
    // touches the sea.
    f.parkbrake = 0.0f;
    frame();
    EXPECT_EQ(l.catapult_hold, 0);
    EXPECT_EQ(l.catapult_fired, 1);
    float off_bow_tas = -1.0f, off_bow_z = 0.0f, jump = 0.0f, lowest = 1e9f, least_pitch = 0.0f, most_pitch = 0.0f;
    int sea_frames = 0;
    for (int k = 0; k < 20 * 25; ++k) {
        const float ias = f.indicated_airspeed, gs = f.groundspeed * UNIT.mps_to_kts;
        frame();
        jump = std::fmax(jump, std::fabs(f.indicated_airspeed - ias));
        jump = std::fmax(jump, std::fabs(f.groundspeed * UNIT.mps_to_kts - gs));
        least_pitch = std::fmin(least_pitch, f.theta), most_pitch = std::fmax(most_pitch, f.theta);
        if (off_bow_tas < 0.0f && !surface_state.on_carrier) {
            off_bow_tas = f.true_airspeed;
            in_ship_frame(SHIP_CARRIER, x, off_bow_z);
        }
        if (off_bow_tas < 0.0f) continue;
        sea_frames += f.onground_any;
        lowest = std::fmin(lowest, f.y_agl);
    }
    ASSERT_GT(off_bow_tas, 0.0f) << "still on the deck after 20 s";
    EXPECT_LT(off_bow_z, -140.0f);                        // over the bow, not the stern or a side
    EXPECT_GT(off_bow_tas, 1.1f * pln[0].acf_est_Vs);     // flying speed
    EXPECT_EQ(l.catapult_fired, 0);                       // cleared once off the deck
    EXPECT_LT(jump, 5.0f * DT / 0.1f);                    // 5 kt in 0.1 s
    EXPECT_GT(least_pitch, -10.0f);
    EXPECT_LT(most_pitch, 30.0f);
    EXPECT_EQ(sea_frames, 0);
    EXPECT_GT(lowest, 5.0f);
    EXPECT_GT(f.local_vy, 0.0f);                          // climbing away
    EXPECT_GT(f.true_airspeed, pln[0].acf_est_Vs);
}

TEST_F(AtSea, ALandingOnTheCarrierCatchesAWireAndStops)
{
    FLIGHT_init_situation(SIT_CARRIER_APPROACH, 0);
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    // Put down just past the round-down at 40 m/s over the ground along the
    // carrier (25 m/s above its speed), hook down, power off, the wheels a
    // few centimetres above the deck (at this speed the wing would float it
    // past the wires from any higher).
    flt_struct& f = flt[0];
    const float h = ship_heading[SHIP_CARRIER];
    const float sh = std::sin(h * 0.0174533f), ch = std::cos(h * 0.0174533f);
    const float px = -8.0f, pz = 125.0f;   // ship frame, inside the wire area
    FLIGHT_reset_at_start(0, pln[0].acf_the_eqlbm, h, 0.0f, ship_x[SHIP_CARRIER] + px * ch - pz * sh,
                          21.0f + pln[0].acf_h_eqlbm + 0.05f, ship_z[SHIP_CARRIER] + px * sh + pz * ch,
                          CARRIER_SPEED_MPS + 25.0f);
    sim_cockpit_switches.arresting_gear = 1;
    f.parkbrake = 0.0f;
    hands.throttle = 0.0f;
    // Speed over the deck: the plane's velocity less the ship's.
    auto over_deck = [&] {
        const double hr = h * DEG_TO_RAD_DOUBLE;
        return std::hypot(f.local_vx - CARRIER_SPEED_MPS * std::sin(hr), f.local_vz + CARRIER_SPEED_MPS * std::cos(hr));
    };
    const float first = static_cast<float>(over_deck());
    bool caught = false, stayed_on_deck = true;
    float slowest = first, most_turn = 0.0f;
    for (int k = 0; k < 12 * 25; ++k) {
        fly_attitude(pln[0].acf_the_eqlbm);
        steer(h);
        frame();
        caught = caught || launch_flags.arrest_engaged;
        // Brought to a stop, the pilot sets the parking brake: the wire lets
        // go and the wind over the deck would push the aircraft back.
        if (caught && over_deck() < 3.0) f.parkbrake = 1.0f;
        stayed_on_deck = stayed_on_deck && surface_state.on_carrier;
        slowest = std::fmin(slowest, static_cast<float>(over_deck()));
        most_turn = std::fmax(most_turn, std::fabs(std::remainder(f.psi - h, 360.0f)));
    }
    EXPECT_NEAR(first, 25.0f, 0.5f);
    EXPECT_TRUE(caught);
    EXPECT_TRUE(stayed_on_deck);   // stopped on the deck, not over the bow or a side
    EXPECT_LT(slowest, 1.0f);      // brought to rest on the moving deck
    // Pulled straight, not swung round: the trainer, its wing lifting much of
    // its weight in the wind over the deck, yaws some 8 degrees on the
    // off-centre wire before it stops, and the wire never drags it on after.
    EXPECT_LT(most_turn, 15.0f);
    float x, z;
    in_ship_frame(SHIP_CARRIER, x, z);
    EXPECT_GT(z, -154.0f);
    EXPECT_NEAR(f.local_y - 21.0f, pln[0].acf_h_eqlbm, 0.5f);
}

// Parked on the deck and stepped for 10 s with no scene pass at all: the
// simulation finds the deck under the plane itself, and the plane rides on it.
TEST_F(AtSea, TheTrainerParkedOnTheCarrierStaysOnItsDeckWithNoFrameDrawn)
{
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    const float h = ship_heading[SHIP_CARRIER];
    FLIGHT_reset_at_start(0, pln[0].acf_the_eqlbm, h, 0.0f, ship_x[SHIP_CARRIER] + 10.0f,
                          21.0f + pln[0].acf_h_eqlbm, ship_z[SHIP_CARRIER] + 20.0f, CARRIER_SPEED_MPS);
    GROUND_surface_reset();   // nothing found yet, as after a flight start
    f.parkbrake = 1.0f;
    hands = pilot_hands{};
    for (int k = 0; k < 10 * 25; ++k) {
        frame();
        ASSERT_EQ(surface_state.on_carrier, 1) << k;
    }
    float x, z;
    in_ship_frame(SHIP_CARRIER, x, z);
    EXPECT_NEAR(x, 10.0f, 3.0f);
    EXPECT_NEAR(z, 20.0f, 3.0f);
    EXPECT_NEAR(f.local_y - (ship_y[SHIP_CARRIER] + 21.0f), pln[0].acf_h_eqlbm, 0.5f);
}

// The same on the roof of a building the land cover generates in the middle
// of every cell around: the simulation scatters it as the autogen setting
// does, and the plane rides on its roof with no frame drawn.
TEST_F(AtSea, TheTrainerParkedOnAGeneratedRoofStaysOnItWithNoFrameDrawn)
{
    ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
    flt_struct& f = flt[0];
    FLIGHT_reset_at_start(0, pln[0].acf_the_eqlbm, 0.0f, 0.0f, -3000.0f, 100.0f, -3000.0f, 0.0f);
    constexpr int CODE = 5, TEX = 7;   // a land use and the cover texture it grows
    const int32_t kept_texture = landuse_code_texture[CODE];
    landuse_code_texture[CODE] = TEX;
    for (int i = f.i - 2; i <= f.i + 2; ++i)
        for (int j = f.j - 2; j <= f.j + 2; ++j) landuse_grid[TERRAIN_index(i, j)] = CODE;
    // A 40 m square roof 10 m up.
    const auto corner = [](float x, float z) { return object_primitive{OBJ_VERTEX, {x, 10.0f, z, 0, 0, 0}}; };
    object_table.push_back({});
    object_table.back().groups.push_back(lod_group{0, 0, 0.0f, 1.0e8f,
                                                   {{OBJ_QUAD_HARD, {}}, {OBJ_NORMAL, {0, 1, 0}}, corner(-20, -20),
                                                    corner(20, -20), corner(20, 20), corner(-20, 20)}});
    cover_definition d{};
    d.x = d.z = 0.5f, d.chance = 1.0f;
    d.first_object = d.last_object = static_cast<int32_t>(object_table.size()) - 1;
    cover_table[TEX].lists[COVER_OBJECTS] = {d};
    sim_graphics_settings.autogen_level = 3;
    float x, y, z;
    ASSERT_TRUE(COVER_place(d, f.i, f.j, 0, x, y, z));
    FLIGHT_reset_at_start(0, pln[0].acf_the_eqlbm, 0.0f, 0.0f, x + 5.0f, y + 10.0f + pln[0].acf_h_eqlbm, z, 0.0f);
    GROUND_surface_reset();
    f.parkbrake = 1.0f;
    hands = pilot_hands{};
    int steps_on_roof = 0;
    for (int k = 0; k < 10 * 25; ++k) {
        frame();
        steps_on_roof += surface_state.flat_surface_on;
    }
    sim_graphics_settings.autogen_level = 0;   // no generated buildings: no roof under the plane
    GROUND_surface_under_plane();
    EXPECT_EQ(surface_state.flat_surface_on, 0);
    cover_table[TEX] = {};
    object_table.pop_back();
    landuse_code_texture[CODE] = kept_texture;
    EXPECT_EQ(steps_on_roof, 10 * 25);
    EXPECT_NEAR(f.local_x, x + 5.0f, 3.0f);
    EXPECT_NEAR(f.local_z, z, 3.0f);
    EXPECT_NEAR(f.local_y - (y + 10.0f), pln[0].acf_h_eqlbm, 0.5f);
}

// The fleet's helicopter, flown to each deck by its approach start and set
// down on it at the deck's speed, stands on the deck: its height is the
// deck's (7 m on the frigate, 60 and 97 m on the platforms) plus its own
// gear height, not the sea's.
TEST_F(AtSea, TheHelicopterStandsOnTheFrigateAndOnBothPlatforms)
{
    ASSERT_TRUE(load_fleet_member("Orvell Helicopter.acf")) << "the built fleet has no helicopter that loads";
    struct deck {
        int code, slot;
        float x, z, deck_y, speed;
    };
    const deck decks[] = {{SIT_FRIGATE_APPROACH, SHIP_FRIGATE, 0.0f, 55.0f, 7.0f, FRIGATE_SPEED_MPS},
                          {SIT_PLATFORM_1, SEA_PLATFORM_A, 0.0f, 65.0f, 60.0f, 0.0f},
                          {SIT_PLATFORM_2, SEA_PLATFORM_B, 0.0f, 90.0f, 97.0f, 0.0f}};
    for (const deck& d : decks) {
        SCOPED_TRACE(d.code);
        FLIGHT_init_situation(d.code, 0);
        flt_struct& f = flt[0];
        // The approach starts 90 stall speeds out from this deck, on a 3.5-degree path down to it.
        const float out = 90.0f * pln[0].acf_est_Vs;
        EXPECT_NEAR(std::hypot(f.local_x - ship_x[d.slot], f.local_z - ship_z[d.slot]), out, 0.5f);
        EXPECT_NEAR(f.local_y, ship_y[d.slot] + d.deck_y + out * std::sin(3.5f * 0.0174533f), 0.1f);
        ASSERT_TRUE(plane_step_runs_the_build_up()) << "FLTMOD_plane_step runs no build-up";
        const float h = ship_heading[d.slot];
        const float sh = std::sin(h * 0.0174533f), ch = std::cos(h * 0.0174533f);
        FLIGHT_reset_at_start(0, pln[0].acf_the_eqlbm, h, 0.0f, ship_x[d.slot] + d.x * ch - d.z * sh,
                              ship_y[d.slot] + d.deck_y + pln[0].acf_h_eqlbm + 0.3f,
                              ship_z[d.slot] + d.x * sh + d.z * ch, d.speed);
        f.parkbrake = 1.0f;
        hands = pilot_hands{};
        ENGN_set_prop_pitch(0, pln[0].acf_min_pitch[0]);
        for (int k = 0; k < 5 * 25; ++k) {
            fly_attitude(pln[0].acf_the_eqlbm);
            frame();
        }
        float x, z;
        in_ship_frame(d.slot, x, z);
        EXPECT_EQ(f.onground_any, 1);
        EXPECT_NEAR(f.local_y - (ship_y[d.slot] + d.deck_y), pln[0].acf_h_eqlbm, 0.5f);
        EXPECT_NEAR(z, d.z, 3.0f);   // still on the deck's spot
        EXPECT_EQ(surface_state.surface_code, SURFACE_DECK);
    }
}

// The ships hold still while the simulation is paused, and steam on (the
// carrier north at 15 m/s) once it runs again.
TEST_F(AtSea, ThePausedSimulationHoldsTheShips)
{
    place(SHIP_CARRIER, -14000.0f, -14000.0f, 0.0f);
    sim_time.paused = 1;
    for (int k = 0; k < 5; ++k) frame();
    EXPECT_EQ(ship_z[SHIP_CARRIER], -14000.0f);
    sim_time.paused = 0;
    frame();
    EXPECT_NEAR(ship_z[SHIP_CARRIER], -14000.0f - 15.0f * DT, 0.01f);
}
