// Shared between the flight start's dispatcher and its special situations.
#pragma once

#include <cstdint>

// Where and how the user's plane is put before the common reset.
struct start_place {
    float x, y, z;
    float theta, psi, phi;
    float groundspeed;
};

// A multiplayer peer is live: the multiplayer slot is enabled and its peer heard.
bool FLIGHT_live_peer();

// A code-16 notice of up to four lines.
void FLIGHT_notice(const char* l1, const char* l2 = "", const char* l3 = "", const char* l4 = "");

// Loads situation aircraft `which` (1..5, the aircraft paths of the
// settings) into plane slot `slot`.
void FLIGHT_load_situation_aircraft(int which, int slot);

// The special situations' share of the sequence.
// Scenery the situation needs is switched on (with a notice).
void FLIGHT_special_scenery(int code);
// The aircraft a situation flies with.
void FLIGHT_special_aircraft(int code);
// Placement; false when no place was found (the notice is shown).
bool FLIGHT_place_special(int code, start_place& place);
// True for the codes of the special placements (2804, 2805, 3000, 3003..3005,
// 3200..3205, 3207..3210).
bool FLIGHT_is_special_placement(int code);

// The starts in company of a second aircraft: the formation, the air
// refuelling and the mother ship's drop.
bool FLIGHT_in_company(int code);
// Holds the speed (and, where the Mach limit leaves none, the height) of such
// a start, or of any start in the air of a rotorcraft, within the user's
// aircraft's own limits, flt[0] placed with its engines set; the second
// aircraft flies the same, and one line says so when they differ from what
// the start asks.
void FLIGHT_start_within_limits(int code);
// a start within the user's aircraft's own limits, flt[0] placed with its
// engines set; the second aircraft flies the same, and one line says so when
// they differ from what the start asks.
void FLIGHT_company_within_limits(int code);

// Sets flt[0], placed with its velocity along its heading, to meet the air
// at its place at 1.3 times its stall speed indicated, the wind there
// counted (the speed of a start in flight at SIT_AT_STALL_MARGIN).
void FLIGHT_at_stall_margin();
