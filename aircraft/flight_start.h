// Flight starts: place the user's plane for a situation and reset it for a
// fresh flight, and place any plane slot at a start point.
//
// Reads: the airport table and the start selection; the start-position block
// (situation_start_state); pln[0] (and pln[1] for the second aircraft of the
// special situations); the preferences startup_on_ramp and startup_running,
// sim_time.backwards; the ship, fire, object and terrain grid tables; the
// scenery area bounds; the multiplayer peer state; the situation aircraft
// paths and start values; sim_weather.speed_of_sound_ms.
// Writes: flt[0] (cleared and rebuilt), flt[n] for a reset slot, pln[n] gear
// deployment; the replay ring (cleared unless the code keeps it); the cockpit
// switches, autopilot, radios and warning words of a fresh start; the launch
// flags; the flight plan, ATC callsign and plan values (the whole ATC state
// block, or only its window, request and plan flags: see
// FLIGHT_init_situation); lat_ref/lon_ref and
// the start selection; the local time and the flight clocks; view_type
// through the view command; the traffic's airport and runway (chosen anew
// for the new place).
#pragma once

#include <cstdint>

#include "aircraft/situation_start.h"

// Situation codes (first argument of FLIGHT_init_situation) and the sub-modes
// of the airport start.
constexpr int SIT_AIRPORT = 408;
constexpr int SIT_RAMP = 400;            // sub-modes of SIT_AIRPORT
constexpr int SIT_RUNWAY = 401;
constexpr int SIT_APPROACH_3NM = 402;
constexpr int SIT_APPROACH_10NM = 403;
constexpr int SIT_FROM_BLOCK = 203;      // the block's position, controls, fuel and failures
constexpr int SIT_KEEP_POSITION = 206;   // stays put, keeps the replay ring, restores the block's controls
constexpr int SIT_IN_FLIGHT = 800;       // the block's position, heading and speed
constexpr int SIT_AT_STALL_MARGIN = 1;   // sub-mode of SIT_IN_FLIGHT: 1.3 x stall speed indicated, not the block's speed
constexpr int SIT_NEAREST_RUNWAY_FIRST = 2800;   // 2800..2803: nearest runway of a type
constexpr int SIT_NEAREST_RUNWAY_LAST = 2803;
constexpr int SIT_CATAPULT = 2804;
constexpr int SIT_OPEN_WATER = 2805;
constexpr int SIT_FORMATION = 3000;
constexpr int SIT_AERO_TOW = 3001;
constexpr int SIT_WINCH = 3002;
constexpr int SIT_REFUEL_A = 3003;
constexpr int SIT_REFUEL_B = 3004;
constexpr int SIT_MOTHER_SHIP = 3005;
constexpr int SIT_ROOFTOP = 3200;
constexpr int SIT_CARRIER_APPROACH = 3201;
constexpr int SIT_FRIGATE_APPROACH = 3202;
constexpr int SIT_PLATFORM_1 = 3203;
constexpr int SIT_PLATFORM_2 = 3204;
constexpr int SIT_FOREST_FIRE = 3205;
constexpr int SIT_SHUTTLE_FIRST = 3207;  // 3207..3210: four energy states
constexpr int SIT_SHUTTLE_LAST = 3210;

// The navaid chosen for a navaid start (index into the navaid table, -1 none).
extern int32_t chosen_navaid;

// Hold flags of the special situations; the space key releases them one by
// one: the carried-under-the-mother-ship flag, then the hooked tow rope, then
// the hooked winch cable (all three are launch flags).
extern int32_t& situation_hold_a;
extern int32_t& situation_hold_b;
extern int32_t& situation_hold_c;

// Height (local y, m) of the airport surface under the plane of a ground
// start, and whether it is valid (cleared by every start).
extern float airport_surface_height_m;
extern int32_t airport_surface_valid;

// Altitude (m) and speed (m/s) edited on the operator panel and used by the
// special situations.
extern float situation_altitude;
extern float situation_speed;

// Starts a flight of the user's plane for a situation code and sub-mode (see
// the codes above; codes outside the table keep the plane where it is and
// only reset it). A special situation that finds no place, or an airport start
// with no airport to start at, shows a notice and leaves the plane as it was.
// Every start closes the ATC window and ends the pending request and the
// flight plan. A start at the airport of the start before, with the same
// aircraft, keeps the rest of the ATC state block (the plan form's
// destination and altitudes), and so does a start that keeps the position;
// every other start (another airport, a new aircraft, a place away from the
// airports, the restart after a crash) zeroes the whole block.
void FLIGHT_init_situation(int code, int sub_mode);
// The restart after a crash: the runway start of the selected airport, with
// nothing of the crashed flight's ATC kept.
void FLIGHT_restart_after_crash();

// The start-position block's latitude and longitude as the position starts
// (203, 800) take them: within the planet, a value that is not a number
// counting as 0. Those starts move the scenery there before they place the plane.
void FLIGHT_block_latlon(float& lat, float& lon);

// Puts plane slot `slot` (loading an aircraft first when it has none) at the
// local point (x, y, z) with the attitude in degrees and the ground speed in
// m/s, with a fresh flight-model record, engines running and the gear by type.
// A slot outside 0..9 does nothing.
void FLIGHT_reset_at_start(int slot, float theta, float psi, float phi, float x, float y, float z, float groundspeed);
