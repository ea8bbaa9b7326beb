// The systems step's clock, calendar, pilot log, air at the plane and
// magnetic variation, flown frame by frame.
#include "flightmodel/systems/clock.h"
#include "flightmodel/systems/environment.h"
#include "tests/flightmodel/systems_fixture.h"
#include "world/atc/atc_state.h"
#include "core/folders.h"
#include "core/pilot_prefs.h"
#include "core/reset_registry.h"
#include "platform/plat_time.h"
#include "tests/support/test_support.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/systems.h"
#include "world/landuse_grid.h"

namespace {

class SystemsClock : public SystemsState {
protected:
    void SetUp() override
    {
        SystemsState::SetUp();
        place(34.1f, -117.2f, 400.0f);
        add_airport("KSBD", 34.0954f, -117.2349f, 71.9f, 3000.0f, 350.0f);
        add_airport("KONT", 34.056f, -117.601f, 80.0f, 3000.0f, 280.0f);
        logbook_last = 0;   // an entry open, counting
    }
};

}  // namespace

TEST_F(SystemsClock, MidnightTurnsTheDayBothWays)
{
    flt[0].longitude = 0.0f;   // local time is zulu
    sim_time.local_date_days = 359;
    sim_time.zulu_time_sec = 86399.5f;
    frames(1);                 // 86,399.55: the previous local time is set
    frames(10);                // past midnight
    EXPECT_LT(sim_time.local_time_sec, 1.0f);
    EXPECT_EQ(sim_time.local_date_days, 0);

    RESET_group(reset_group::flight);
    sim_time.local_date_days = 0;
    sim_time.zulu_time_sec = 0.5f;
    frames(1);
    sim_time.zulu_time_sec = 86399.8f;   // the clock set back over midnight
    frames(1);
    EXPECT_EQ(sim_time.local_date_days, 359);
}

TEST_F(SystemsClock, TimeZoneByNearestFifteenDegrees)
{
    sim_time.zulu_time_sec = 36000.0f;
    flt[0].longitude = 7.4f;
    frames(1, 0.0f);
    EXPECT_FLOAT_EQ(sim_time.local_time_sec, 36000.0f);
    flt[0].longitude = 7.5f;
    frames(1, 0.0f);
    EXPECT_FLOAT_EQ(sim_time.local_time_sec, 36000.0f + 3600.0f);
    flt[0].longitude = -120.0f;   // zone -8, wrapped into the day
    sim_time.zulu_time_sec = 3600.0f;
    frames(1, 0.0f);
    EXPECT_FLOAT_EQ(sim_time.local_time_sec, 3600.0f - 8.0f * 3600.0f + 86400.0f);
}

TEST_F(SystemsClock, HoursByKindAndTheStopwatch)
{
    sim_time.zulu_time_sec = sim_time.local_time_sec = 12.0f * 3600.0f;   // night is judged by the last frame's time
    flt[0].longitude = 0.0f;
    sim_graphics_view.visibility_effective_m = 5556.0f;   // exactly 3 nm: not instrument weather
    sim_time.timer_is_running_sec = 1;
    sim_time.timer_elapsed_time_sec = 3599.0f;
    frames(72);   // 3.6 s
    EXPECT_NEAR(logbook.total_hours[0], 0.001f, 1e-6f);
    EXPECT_EQ(logbook.instrument_hours[0], 0.0f);
    EXPECT_EQ(logbook.night_hours[0], 0.0f);
    EXPECT_NEAR(sim_time.timer_elapsed_time_sec, 2.6f, 1e-3f);   // wrapped past the hour

    sim_graphics_view.visibility_effective_m = 5555.0f;
    sim_time.zulu_time_sec = sim_time.local_time_sec = 20.0f * 3600.0f;   // after 19:00 local
    frames(72);
    EXPECT_NEAR(logbook.instrument_hours[0], 0.001f, 1e-6f);
    EXPECT_NEAR(logbook.night_hours[0], 0.001f, 1e-6f);
    EXPECT_NEAR(logbook.total_hours[0], 0.002f, 1e-6f);
}

// A landing counts once the plane has come to rest, unharmed, on a surface
// it can land on; the arrival is the airport it came to rest at.
TEST_F(SystemsClock, ALandingCountsAtRestOnALandingSurfaceUnharmed)
{
    struct row {
        const char* what;
        bool runway, water, water_rudder, lifts_off;
        float sink_mps;
        int airborne_frames;
        int landings;
        bool skips = false;   // off the surface for a second and back on the way to rest
    };
    const row rows[] = {
        {"on a runway", true, false, false, false, -2.0f, 60, 1},
        {"on plain ground", false, false, false, false, -2.0f, 60, 0},
        {"in a crash held where it stopped", true, false, false, false, -9.0f, 60, 0},
        {"touched and lifted off again", true, false, false, true, -2.0f, 60, 0},
        {"a float plane on water", false, true, true, false, -2.0f, 60, 1},
        {"a land plane on water", false, true, false, false, -2.0f, 60, 0},
        {"settling onto the runway it was started on", true, false, false, false, -0.5f, 6, 0},
        {"a float plane skipping off a wave on the way to rest", false, true, true, false, -2.0f, 60, 1, true},
    };
    sim_operation_prefs.reset_on_crash = 0;   // a crash holds the plane where it is
    const int cell = flt[0].i * TERRAIN_GRID_COLS + flt[0].j;
    for (const row& r : rows) {
        RESET_group(reset_group::flight);
        crash_hold_until = 0.0f;
        logbook.landings[0] = 0;
        std::strcpy(logbook.to[0], "X");
        surface_state.flat_surface_on = r.runway ? 1 : 0;
        surface_state.surface_code = r.runway ? 160 : SURFACE_NONE;
        pln[0].acf_water_rud_area = r.water_rudder ? 1.0f : 0.0f;
        for (int k : {0, 1, TERRAIN_GRID_COLS, TERRAIN_GRID_COLS + 1})
            landuse_grid[cell + k] = r.water ? LANDUSE_WATER_A : 0;
        flt[0].onground_any = 0;
        flt[0].groundspeed = 30.0f;
        frames(r.airborne_frames);
        flt[0].onground_any = 1;   // the touchdown, rolling fast: no landing yet
        flt[0].local_vy = r.sink_mps;
        frames(1);
        flt[0].local_vy = 0.0f;
        EXPECT_EQ(logbook.landings[0], 0) << r.what;
        if (r.lifts_off || r.skips) {
            flt[0].onground_any = 0;
            frames(20);
        }
        if (r.skips) {
            flt[0].onground_any = 1;
            frames(1);
        }
        flt[0].groundspeed = 1.0f;   // at rest (in the air after a lift-off)
        frames(25);
        EXPECT_EQ(logbook.landings[0], r.landings) << r.what;
        if (r.landings) {
            EXPECT_STREQ(logbook.to[0], "KSBD") << r.what;
        }
        frames(40);                  // and only once
        EXPECT_EQ(logbook.landings[0], r.landings) << r.what;
    }
    for (int k : {0, 1, TERRAIN_GRID_COLS, TERRAIN_GRID_COLS + 1}) landuse_grid[cell + k] = 0;
}

// Bounces count once; cross-country time is credited at a touchdown at
// another airport than the one of the previous ground contact, the airports
// being where the plane is, not the one chosen in the menus. The arrival
// follows the plane: blank away from every airport.
TEST_F(SystemsClock, BouncesCountOnceAndCrossCountryNeedsAnotherAirport)
{
    surface_state.flat_surface_on = 1;
    surface_state.surface_code = 160;
    start_selection.airport_index = 1;   // KONT chosen, but the flight starts at KSBD
    flt[0].groundspeed = 0.0f;
    frames(1);
    flt[0].onground_any = 0;             // airborne for two hours of frames
    frames(72, 100.0f);
    const float airborne = 72 * 100.0f / 3600.0f;
    flt[0].onground_any = 1;             // back at KSBD: no cross-country time
    frames(25);
    EXPECT_EQ(logbook.cross_country_hours[0], 0.0f);
    EXPECT_EQ(logbook.landings[0], 1);

    place(34.056f, -117.601f, 280.0f);   // at KONT, 30 s after that landing
    flt[0].onground_any = 0;
    frames(1, 14.0f);
    flt[0].onground_any = 1;
    frames(25);
    EXPECT_EQ(logbook.landings[0], 1);   // a bounce
    EXPECT_NEAR(logbook.cross_country_hours[0], airborne + 14.0f / 3600.0f, 1e-4f);
    flt[0].onground_any = 0;
    frames(1, 60.0f);
    flt[0].onground_any = 1;
    frames(25);
    EXPECT_EQ(logbook.landings[0], 2);
    EXPECT_STREQ(logbook.to[0], "KONT");

    place(35.7f, 139.7f, 100.0f);        // far from every airport
    flt[0].onground_any = 0;
    frames(25);
    EXPECT_STREQ(logbook.to[0], "");
}

// Three flights of four minutes, flown frame by frame and written: two
// landings (the crash is none), airports where each flight began and ended,
// and lines whose tenths carry over, so they add up to the twelve minutes
// flown (four minutes a line, each rounded, would have made 0.3 hours).
TEST_F(SystemsClock, ThreeFlightsOneCrashAreLoggedAsTheyHappened)
{
    temp_folder dir;
    const std::string kept_folder = program_folder;
    FOLDERS_init_from((dir.prefix() + "orvell").c_str());
    dir.write("Output/logbooks/keep", "");
    std::strcpy(logbook_path, "ORVELL PILOT.TXT");
    setenv("TZ", "UTC", 1);
    tzset();
    PLAT_set_clock_source(nullptr, [] { return int64_t{1055419200}; });   // 12 June 2003
    std::strcpy(pln[0].acf_tailnum, "N12");
    std::strcpy(pln[0].acf_file_name, "Orvell Trainer.acf");
    sim_operation_prefs.reset_on_crash = 0;
    sim_time.zulu_time_sec = 20.0f * 3600.0f;   // noon in California: no night hours
    surface_state.flat_surface_on = 1;
    surface_state.surface_code = 160;
    logbook_last = -1;

    // Each flight: a second on its start, 239 s in the air, a touchdown at
    // `sink` m/s where it ends and a stop.
    auto flight = [](float lat0, float lon0, bool on_ground, float lat1, float lon1, float sink) {
        RESET_group(reset_group::flight);
        crash_hold_until = 0.0f;
        place(lat0, lon0, 400.0f);
        flt[0].onground_any = on_ground ? 1 : 0;
        flt[0].groundspeed = 0.0f;
        sim_time.total_flight_time_sec = 0.0f;
        frames(20);
        sim_time.total_flight_time_sec = 100.0f;
        flt[0].onground_any = 0;
        place(lat1, lon1, 400.0f);
        frames(239, 1.0f);
        flt[0].onground_any = 1;
        flt[0].local_vy = sink;
        frames(1);
        flt[0].local_vy = 0.0f;
        frames(25);
    };
    flight(34.0954f, -117.2349f, true, 34.056f, -117.601f, -2.0f);   // KSBD to KONT
    flight(34.056f, -117.601f, true, 34.4f, -117.4f, -9.0f);         // from KONT, crashed in the hills
    flight(34.3f, -117.0f, false, 34.0954f, -117.2349f, -2.0f);      // an approach to KSBD
    LOGBOOK_write();
    EXPECT_EQ(read_file_bytes(dir.path() / "Output/logbooks/ORVELL PILOT.txt"),
              read_file_bytes(fixture_path("logbook_three_flights.txt")));

    PLAT_set_clock_source(nullptr, nullptr);
    FOLDERS_init_from((kept_folder + "orvell").c_str());
}

TEST_F(SystemsClock, AirAtThePlane)
{
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    place(34.1f, -117.2f, 0.0f);
    flt[0].machno = 0.5f;
    frames(2);   // the leading-edge temperature needs last frame's density
    const sim_weather_block& w = sim_weather;
    EXPECT_NEAR(w.temperature_ambient_c, 15.0f, 0.01f);
    EXPECT_NEAR(w.temperature_le_c, 288.15f * 1.05f - 273.15f, 0.01f);
    EXPECT_NEAR(w.rho, 1.225f, 0.01f);
    EXPECT_NEAR(w.sigma, w.rho / 1.225f, 1e-6f);
    EXPECT_NEAR(w.speed_of_sound_ms, std::sqrt(1.4f * 287.0f * 288.15f), 0.01f);
    const float r = flt[0].local_y + sim_physics.earth_radius_m;
    EXPECT_FLOAT_EQ(sim_physics.g_sealevel, sim_physics.earth_mu / (r * r));
}

TEST_F(SystemsClock, MagneticVariationInsideACellIsBilinear)
{
    // Latitude 31..36 and longitude -120..-115: the cell of rows 24, 25 and columns 12, 13.
    const float lat = 33.0f, lon = -116.0f;
    const float sw = magvar_table[24][12], nw = magvar_table[25][12];
    const float se = magvar_table[24][13], ne = magvar_table[25][13];
    const float fy = (lat - 30.0f) / 5.0f, fx = (lon + 120.0f) / 5.0f;
    const float expected = (sw + fy * (nw - sw)) + fx * ((se + fy * (ne - se)) - (sw + fy * (nw - sw)));
    flt[0].latitude = lat;
    flt[0].longitude = lon;
    flt[0].psi = 350.0f;
    frames(1);
    EXPECT_NEAR(sim_flightmodel_position.magnetic_variation, expected, 1e-4f);
    float magpsi = 350.0f + expected;
    magpsi = std::fmod(magpsi + 360.0f, 360.0f);
    EXPECT_NEAR(flt[0].magpsi, magpsi, 1e-3f);

    // A corner of the grid is its table value; the poles stay on the table's rows.
    EXPECT_NEAR(SYSTEMS_magvar_at(0.0f, -180.0f), magvar_table[18][0], 1e-5f);
    EXPECT_NEAR(SYSTEMS_magvar_at(89.0f, 179.0f),
                magvar_table[35][71] + 0.8f * (magvar_table[36][71] - magvar_table[35][71]) +
                    0.8f * ((magvar_table[35][72] + 0.8f * (magvar_table[36][72] - magvar_table[35][72])) -
                            (magvar_table[35][71] + 0.8f * (magvar_table[36][71] - magvar_table[35][71]))),
                1e-3f);
    EXPECT_EQ(SYSTEMS_magvar_at(NAN, 0.0f), 0.0f);

    sim_graphics_scenery.current_planet = PLANET_MARS;
    flt[0].psi = 370.0f;
    frames(1);
    EXPECT_EQ(sim_flightmodel_position.magnetic_variation, 0.0f);
    EXPECT_FLOAT_EQ(flt[0].magpsi, 10.0f);
}

TEST_F(SystemsClock, MagneticVariationHoldsItsFixedCells)
{
    // The South Pole row begins -152.3, -147.3, -142.3 and the equator row
    // -10.2, -10.0, -9.6 (longitudes -180, -175, -170); grid points read back
    // as the table's own values, and longitude 180 is longitude -180 again.
    struct cell {
        float lat, lon, value;
    };
    const cell fixed[] = {{-90.0f, -180.0f, -152.3f}, {-90.0f, -175.0f, -147.3f}, {-90.0f, -170.0f, -142.3f},
                            {0.0f, -180.0f, -10.2f},    {0.0f, -175.0f, -10.0f},    {0.0f, -170.0f, -9.6f},
                            {0.0f, 180.0f, -10.2f},     {-90.0f, 180.0f, -152.3f}};
    for (const cell& c : fixed) EXPECT_NEAR(SYSTEMS_magvar_at(c.lat, c.lon), c.value, 1e-4f) << c.lat << " " << c.lon;
    // Halfway between -175 and -170 on the equator.
    EXPECT_NEAR(SYSTEMS_magvar_at(0.0f, -172.5f), -9.8f, 1e-4f);
}

TEST_F(SystemsClock, ShipNavaidsFollowTheShipsOnEarthOnly)
{
    navaid_table.assign(NAV_SHIP_NAVAIDS, navaid_record{});
    ship_x[SHIP_CARRIER] = 1000.0f, ship_y[SHIP_CARRIER] = 0.0f, ship_z[SHIP_CARRIER] = -2000.0f;
    ship_heading[SHIP_CARRIER] = 90.0f;
    ship_x[SHIP_FRIGATE] = -500.0f, ship_y[SHIP_FRIGATE] = 0.0f, ship_z[SHIP_FRIGATE] = 800.0f;
    ship_heading[SHIP_FRIGATE] = 0.0f;
    // The eye 30 m east of the carrier's middle, 100 m south and 40 m up:
    // 23 m above its deck, which lies 17 m above the ship's point.
    sim_graphics_view.view_x = 1030.0f, sim_graphics_view.view_y = 40.0f, sim_graphics_view.view_z = -1900.0f;
    frames(1);
    EXPECT_FLOAT_EQ(atc_state.atc_carrier_dx, 30.0f);
    EXPECT_FLOAT_EQ(atc_state.atc_carrier_dy, 23.0f);
    EXPECT_FLOAT_EQ(atc_state.atc_carrier_dz, 100.0f);
    // The carrier's antenna 100 m aft of its middle: with the bow east, aft is west.
    float x, y, z;
    GEO_latlon_to_local(x, y, z, navaid_table[1].lat, navaid_table[1].lon, navaid_table[1].height);
    EXPECT_NEAR(x, 900.0f, 1.0f);
    EXPECT_NEAR(z, -2000.0f, 1.0f);
    EXPECT_NEAR(navaid_table[2].height, navaid_table[0].height, 1e-3f);
    GEO_latlon_to_local(x, y, z, navaid_table[4].lat, navaid_table[4].lon, navaid_table[4].height);
    EXPECT_NEAR(x, -500.0f, 1.0f);   // the frigate's 55 m aft, bow north
    EXPECT_NEAR(z, 855.0f, 1.0f);
    EXPECT_NEAR(y, 7.0f, 0.05f);     // and 7 m above the ship's point

    sim_graphics_scenery.current_planet = PLANET_MARS;
    const float before = navaid_table[0].lat;
    ship_x[SHIP_CARRIER] += 5000.0f;
    frames(1);
    EXPECT_EQ(navaid_table[0].lat, before);
    EXPECT_FLOAT_EQ(atc_state.atc_carrier_dx, 30.0f);
}
