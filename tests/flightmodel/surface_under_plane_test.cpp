// What the simulation finds under the user's plane with no frame drawn: the
// runways of the nearby airports (and on Mars their arresting gear), the
// ships' decks turning with them, the carrier's wires and catapult, the
// platforms, and the hard roofs of the placed and the generated objects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "aircraft/launch_flags.h"
#include "core/random.h"
#include "core/texture_slots.h"
#include "flightmodel/ground/surface_under.h"
#include "flightmodel/ground/terrain_query.h"
#include "tests/support/damaged_ships.h"
#include "tests/support/flight_fixture.h"
#include "world/apt_scene.h"
#include "world/cover_placement.h"
#include "world/landuse.h"
#include "world/runway_geometry.h"
#include "world/ship_decks.h"
#include "world/terrain_definitions.h"

namespace {

class UnderPlane : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        sim_graphics_settings.draw_ships = sim_graphics_settings.draw_oilrigs = 1;
        place(SHIP_CARRIER, 1000.0f, 2000.0f, 0.0f);
        place(SHIP_FRIGATE, -3000.0f, 2000.0f, 0.0f);
        place(SEA_PLATFORM_A, 5000.0f, -4000.0f, 0.0f);
        place(SEA_PLATFORM_B, -5000.0f, -4000.0f, 0.0f);
    }
    void TearDown() override
    {
        runway_geometry_table.clear();
        local_airport_last = -1;
        FlightState::TearDown();
    }

    static void place(int slot, float x, float z, float heading)
    {
        ship_x[slot] = x, ship_y[slot] = 0.0f, ship_z[slot] = z, ship_heading[slot] = heading;
        ship_pitch[slot] = ship_roll[slot] = 0.0f;
    }
    // The plane at a point of the slot's own frame, turned with it, `up` metres
    // over its deck.
    static void plane_on(int slot, float xs, float zs, float up = 1.0f)
    {
        const double h = ship_heading[slot] * 3.14159265358979 / 180.0;
        flt[0].local_x = ship_x[slot] + static_cast<float>(xs * std::cos(h) - zs * std::sin(h));
        flt[0].local_z = ship_z[slot] + static_cast<float>(xs * std::sin(h) + zs * std::cos(h));
        const float deck = slot == SHIP_CARRIER    ? CARRIER_DECK_Y_M
                           : slot == SHIP_FRIGATE  ? FRIGATE_DECK_Y_M
                           : slot == SEA_PLATFORM_A ? OILRIG_A_DECK_Y_M
                                                    : OILRIG_B_DECK_Y_M;
        flt[0].local_y = ship_y[slot] + deck + up;
    }
    static void find() { GROUND_surface_under_plane(); }

    // A runway geometry along the z axis: `sections` sections from z = 0
    // northward every `step` metres, `width` wide about x.
    static int add_geometry(int sections, float step, float width, float x = 0.0f)
    {
        runway_geometry_record g;
        for (int k = 0; k < sections; ++k)
            g.sections.push_back({0, {x - width / 2, 0.0f, -step * k}, {x + width / 2, 0.0f, -step * k}});
        runway_geometry_table.push_back(std::move(g));
        return static_cast<int>(runway_geometry_table.size()) - 1;
    }
    static runway_record runway(const char* number, int g, int surface = TEX_SLOT_LINE_ASPHALT)
    {
        runway_record r{};
        std::snprintf(r.number, sizeof r.number, "%.3s", number);
        r.geometry_index = g;
        r.surface_code = surface;
        r.smoothness = 0.25f;
        return r;
    }
    // An airport at elevation 0, the next entry of the nearby list.
    static void add_airport(std::vector<runway_record> runways)
    {
        airport_record a{};
        a.local = 1;
        a.runways = std::move(runways);
        airport_table.push_back(a);
        local_airport_list[++local_airport_last] = static_cast<int>(airport_table.size()) - 1;
    }
    // A 1,600 x 40 m runway from z = 0 north.
    static int runway_geometry() { return add_geometry(41, 40.0f, 40.0f); }
};

}  // namespace

// Strictly inside a runway's quad the ground contact gets the runway at the
// airport's elevation; on its edge nothing. Where quads overlap, the one the
// drawing lays last holds: the lower runway index of an airport (a taxiway,
// index 0, over the runway), a later airport of the nearby list.
TEST_F(UnderPlane, RunwayUnderTheUsersAircraft)
{
    runway_record r = runway("18", runway_geometry(), TEX_SLOT_LINE_CONCRETE);
    r.smoothness = 0.4f;
    add_airport({runway("xxx", add_geometry(2, 100.0f, 40.0f, 20.0f)), r});
    add_airport({runway("09", add_geometry(2, 100.0f, 40.0f, -20.0f), TEX_SLOT_LINE_GRASS)});
    const struct {
        float x, z;
        int runway, code;
    } places[] = {{0.0f, -400.0f, 1, TEX_SLOT_LINE_CONCRETE}, {-19.9f, -1599.9f, 1, TEX_SLOT_LINE_CONCRETE},
                  {-20.0f, -400.0f, RUNWAY_NONE, SURFACE_NONE},   {0.0f, 0.0f, RUNWAY_NONE, SURFACE_NONE},
                  {0.0f, -1600.0f, RUNWAY_NONE, SURFACE_NONE},    {25.0f, -400.0f, RUNWAY_NONE, SURFACE_NONE},
                  {10.0f, -50.0f, 0, TEX_SLOT_LINE_ASPHALT},      {-10.0f, -50.0f, 0, TEX_SLOT_LINE_GRASS}};
    for (const auto& p : places) {
        flt[0].local_x = p.x, flt[0].local_z = p.z, flt[0].local_y = 30.0f;
        find();
        const surface_state_record& s = surface_state;
        EXPECT_EQ(s.runway_under_plane, p.runway) << p.x << " " << p.z;
        EXPECT_EQ(s.surface_code, p.code) << p.x << " " << p.z;
        EXPECT_EQ(s.flat_surface_on, p.runway != RUNWAY_NONE ? 1 : 0);
        if (p.code != TEX_SLOT_LINE_CONCRETE) continue;
        EXPECT_FLOAT_EQ(s.surface_roughness, 0.4f);
        EXPECT_NEAR(s.flat_surface_height, 0.0f, 0.5f);
    }
}

// On Mars a plane rolling faster than 10 m/s along a runway with its hook
// down is caught.
TEST_F(UnderPlane, ArrestingGearOnMars)
{
    add_airport({runway("18", runway_geometry())});
    sim_graphics_scenery.current_planet = PLANET_MARS;
    sim_graphics_settings.draw_ships = 0;   // no sea: a carrier's wire lets go below 13 m/s
    sim_cockpit_switches.arresting_gear = 1;
    flt[0].local_z = -100.0f;
    flt[0].onground_any = 1;
    for (const float speed : {10.0f, 10.01f}) {
        LAUNCH_reset();
        flt[0].groundspeed = speed;
        find();
        EXPECT_EQ(launch_flags.arrest_engaged, speed > 10.0f ? 1 : 0) << speed;
        EXPECT_EQ(launch_flags.arrest_decel, speed > 10.0f ? 5.0f : 0.0f);
    }
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    LAUNCH_reset();
    find();
    EXPECT_EQ(launch_flags.arrest_engaged, 0);
}

// A deck carries a plane over it, not one more than 3 m under its surface
// (afloat by the bow the carrier runs over, or by the frigate's).
TEST_F(UnderPlane, DecksTurnWithTheShip)
{
    const struct {
        int slot;
        float x, z;
        int on;
        float up = 1.0f;   // over the deck, m
    } rows[] = {{SHIP_CARRIER, 0, 0, 1},   {SHIP_CARRIER, 0, 170, 0}, {SHIP_CARRIER, -27, 40, 1},
                {SHIP_CARRIER, 30, 95, 1}, {SHIP_CARRIER, 37, 0, 0},   // the island's sponson and past it
                {SHIP_FRIGATE, 0, 55, 1},  {SHIP_FRIGATE, 0, 39, 0},  {SHIP_FRIGATE, 0, 71, 0},
                {SHIP_FRIGATE, 14, 41, 1}, {SHIP_FRIGATE, 0, -20, 0},  {SHIP_FRIGATE, 16, 55, 0},
                {SHIP_FRIGATE, -16, 55, 0}, {SHIP_CARRIER, 0, -150, 0, -19.0f}, {SHIP_CARRIER, 0, 0, 1, -2.9f},
                {SHIP_CARRIER, 0, 0, 0, -3.1f}, {SHIP_FRIGATE, 0, 55, 0, -5.0f}};
    for (float heading : {0.0f, 90.0f})
        for (const auto& r : rows) {
            ship_heading[r.slot] = heading;
            plane_on(r.slot, r.x, r.z, r.up);
            find();
            const int on = r.slot == SHIP_CARRIER ? surface_state.on_carrier : surface_state.on_frigate;
            EXPECT_EQ(on, r.on) << r.slot << " " << r.x << "," << r.z << " up " << r.up << " heading " << heading;
            EXPECT_EQ(surface_state.surface_code, r.on ? SURFACE_DECK : SURFACE_NONE);
        }

    // Pitched 5 degrees bow up, the deck's stern lies 13 m under its middle:
    // a plane standing there, 12 m under the middle's height, is on it.
    ship_heading[SHIP_CARRIER] = 0.0f;
    ship_pitch[SHIP_CARRIER] = 5.0f;
    plane_on(SHIP_CARRIER, 0, 150, -12.0f);
    find();
    EXPECT_EQ(surface_state.on_carrier, 1);
    EXPECT_LT(TERRAIN_height_at(flt[0].local_x, flt[0].local_z, nullptr, nullptr, nullptr, nullptr, nullptr, 1, "test"),
              flt[0].local_y);
    ship_pitch[SHIP_CARRIER] = 0.0f;

    // Switched off, a ship carries nothing.
    sim_graphics_settings.draw_ships = 0;
    plane_on(SHIP_CARRIER, 0, 0);
    find();
    EXPECT_EQ(surface_state.on_carrier, 0);
}

TEST_F(UnderPlane, PlatformDecksAreTheGroundOfTheHeightQuery)
{
    ship_y[SEA_PLATFORM_A] = ship_y[SEA_PLATFORM_B] = 2.0f;
    // The decks' upper rectangles: A x -12..12, z 53..77; B x -14..14, z 76..104.
    // Flying under a deck, 30 m below it, the plane has the sea under it.
    const struct {
        int slot;
        float dx, dz, height;
        float up = 1.0f;   // over the deck, m
    } rows[] = {{SEA_PLATFORM_A, 0, 65, 62},     {SEA_PLATFORM_B, 0, 90, 99},      {SEA_PLATFORM_B, 0, 110, 0},
                {SEA_PLATFORM_A, 11.5f, 76.5f, 62}, {SEA_PLATFORM_A, -11.5f, 53.5f, 62}, {SEA_PLATFORM_A, 12.5f, 65, 0},
                {SEA_PLATFORM_A, 0, 77.5f, 0},   {SEA_PLATFORM_B, 13.5f, 103.5f, 99}, {SEA_PLATFORM_B, -13.5f, 76.5f, 99},
                {SEA_PLATFORM_B, 14.5f, 90, 0},  {SEA_PLATFORM_B, 0, 75.5f, 0},     {SEA_PLATFORM_A, 0, 65, 0, -30.0f},
                {SEA_PLATFORM_B, 0, 90, 0, -30.0f}};
    for (const auto& r : rows) {
        plane_on(r.slot, r.dx, r.dz, r.up);
        find();
        EXPECT_NEAR(TERRAIN_height_at(flt[0].local_x, flt[0].local_z, nullptr, nullptr, nullptr, nullptr, nullptr, 1,
                                      "test"),
                    r.height, 0.11f)
            << r.slot << " " << r.dx << " " << r.dz;
    }
}

TEST_F(UnderPlane, WiresCatchAboveTenOverTheShipAndLetGoBelowThirteen)
{
    sim_cockpit_switches.arresting_gear = 1;
    flt[0].onground_any = 1;
    plane_on(SHIP_CARRIER, -5, 100);
    flt[0].groundspeed = 25.0f;
    find();
    EXPECT_EQ(launch_flags.arrest_engaged, 0);
    flt[0].beta = 90.0f;
    flt[0].groundspeed = 25.2f;
    find();
    EXPECT_EQ(launch_flags.arrest_engaged, 0);
    flt[0].beta = 3.0f;
    find();
    EXPECT_EQ(launch_flags.arrest_engaged, 1);
    EXPECT_NEAR(launch_flags.arrest_decel, 0.5202f, 1e-4f);
    flt[0].groundspeed = 13.1f;
    find();
    EXPECT_EQ(launch_flags.arrest_engaged, 1);
    flt[0].groundspeed = 12.9f;
    find();
    EXPECT_EQ(launch_flags.arrest_engaged, 0);
    // The wire area's aft edge runs from (13, 131) to (-16, 136): at x -10 it
    // lies at z 134.97, so z 130 is caught and 136 is not.
    flt[0].groundspeed = 30.0f;
    for (const auto& [z, caught] : {std::pair{130.0f, 1}, std::pair{136.0f, 0}}) {
        launch_flags.arrest_engaged = 0;
        plane_on(SHIP_CARRIER, -10.0f, z);
        find();
        EXPECT_EQ(launch_flags.arrest_engaged, caught) << z;
    }
}

TEST_F(UnderPlane, TheCatapultHoldsOnItsSpotAndTheLaunchEndsOffTheDeck)
{
    flt[0].onground_all = flt[0].onground_any = 1;
    flt[0].parkbrake = 0.0f;
    flt[0].groundspeed = 35.1f;
    plane_on(SHIP_CARRIER, -12.5f, -55.0f);
    find();
    EXPECT_EQ(launch_flags.catapult_hold, 0);
    flt[0].groundspeed = 15.0f;
    find();
    EXPECT_EQ(launch_flags.catapult_hold, 1);
    EXPECT_EQ(flt[0].parkbrake, 1.0f);
    EXPECT_EQ(launch_flags.catapult_accel_mss, CATAPULT_ACCEL_MIN_MSS);   // no aircraft loaded: the least push

    launch_flags.catapult_hold = 0;
    launch_flags.catapult_fired = 1;   // released by the parking brake
    plane_on(SHIP_CARRIER, -12.5f, -140.0f);
    find();
    EXPECT_EQ(launch_flags.catapult_fired, 1);   // still on the deck
    plane_on(SHIP_CARRIER, -12.5f, -170.0f);
    find();
    EXPECT_EQ(launch_flags.catapult_fired, 0);   // off the deck
}

TEST_F(UnderPlane, UnplacedOrDamagedShipsGiveNoDeck)
{
    plane_on(SHIP_CARRIER, 0, 0);
    for (float bad : {NAN, INFINITY, -9.9e9f}) {
        ship_x[SHIP_CARRIER] = bad;
        find();
        EXPECT_EQ(surface_state.on_carrier, 0);
    }
    UTIL_srand(11);
    for (int round = 0; round < 200; ++round) {
        place_ships_and_plane_damaged();
        find();
        EXPECT_TRUE(std::isfinite(launch_flags.arrest_decel));
    }
}

// The turned roof is the simulation's, with no pass drawn: placed in the
// scenery, and generated (turned the same way) in the middle of every cover
// cell, at (-100, -100) in cell (199, 201) among them, while the autogen
// setting scatters it; given up once the plane leaves it or climbs past the
// object's last level of detail. A second definition, at (-130, -70) in that
// cell, stands only at the levels whose stride takes it.
TEST_F(UnderPlane, HardRoofsOfPlacedAndGeneratedObjectsCarryThePlane)
{
    constexpr int TEX = 7;
    constexpr int32_t CODE = 5;   // the land use that grows TEX
    const int32_t kept_texture = landuse_code_texture[CODE];
    landuse_code_texture[CODE] = TEX;
    for (int i = 195; i <= 205; ++i)
        for (int j = 195; j <= 205; ++j) landuse_grid[TERRAIN_index(i, j)] = CODE;
    // A 24 x 18 m roof 5 m up at its first corner (6 m at the others: the
    // first corner gives the deck height), corners clockwise from above.
    auto vertex = [](float x, float y, float z) { return object_primitive{OBJ_VERTEX, {x, y, z, 0, 0, 0}}; };
    object_table.push_back({});
    object_table.back().groups.push_back(lod_group{0, 0, 0.0f, 2000.0f * 2000.0f,
                                                   {{OBJ_QUAD_HARD, {}}, {OBJ_NORMAL, {0, 1, 0}}, vertex(-12, 5, -9),
                                                    vertex(12, 6, -9), vertex(12, 6, 9), vertex(-12, 6, 9)}});
    const int shop = static_cast<int>(object_table.size()) - 1;
    sim_graphics_settings.draw_obstacles = 1;
    placement_list.push_back({shop, 100.0f, 20.0f, 1200.0f, 90.0f, 0});
    cover_definition d{};
    d.x = d.z = 0.5f, d.chance = 1.0f;
    d.first_object = d.last_object = shop, d.heading = 90.0f;
    cover_definition second = d;
    second.x = second.z = 0.2f;
    cover_table[TEX].lists[COVER_OBJECTS] = {d, second};
    const float ground = COVER_height_in_cell(199, 201, -100.0f, -100.0f);
    const float ground2 = COVER_height_in_cell(199, 201, -130.0f, -70.0f);
    const struct {
        float px, py, pz;
        int autogen_level;
        float roof;   // 0: none
    } rows[] = {{100.0f, 30.0f, 1210.0f, 5, 25.0f}, {110.0f, 30.0f, 1210.0f, 5, 0.0f},
                {-100.0f, ground + 10.0f, -90.0f, 1, ground + 5.0f}, {-90.0f, ground + 10.0f, -100.0f, 1, 0.0f},
                {-100.0f, ground + 10.0f, -90.0f, 0, 0.0f}, {-100.0f, ground + 2500.0f, -90.0f, 1, 0.0f},
                {-130.0f, ground2 + 10.0f, -60.0f, 5, ground2 + 5.0f}, {-130.0f, ground2 + 10.0f, -60.0f, 1, 0.0f}};
    for (const auto& r : rows) {
        sim_graphics_settings.autogen_level = r.autogen_level;
        flt[0].i = 199, flt[0].j = 201;
        flt[0].local_x = r.px, flt[0].local_y = r.py, flt[0].local_z = r.pz;
        find();
        EXPECT_EQ(surface_state.flat_surface_on, r.roof != 0.0f) << r.px << " " << r.pz << " " << r.autogen_level;
        EXPECT_EQ(surface_state.flat_surface_height, r.roof) << r.px << " " << r.pz;
    }
    TERRAIN_clear_cover_table();
    placement_list.clear();
    landuse_code_texture[CODE] = kept_texture;
}
