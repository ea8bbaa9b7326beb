// Computer-flown traffic: the other plane slots flown as points along their
// heading and pitch, cruising, flying to the traffic runway's approach point
// or down its final, and placed again near the user's plane when they stray
// too far or stand still; slot 1 also flies the tow plane and the mother ship
// of the special flight starts.
//
// Reads: flt[0] position, track and onground_all; pln[p]; the frame period;
// the planet, the number of planes, the darkness; the scenery area bounds;
// the airport table and the traffic runway; the launch flags.
// Writes: flt[p] position, velocity, attitude, rates, alpha, groundspeed,
// flaps, ai_app_mode, the terrain cell and the light switches; pln[p] gear
// through the gear deployment; tow_turn_dir.
#pragma once

#include <cstdint>

// The behaviour (ai_app_mode) of a plane that cruises in a straight line at
// its speed: the second aircraft of a start that the user flies beside.
constexpr int32_t TRAFFIC_MODE_CRUISE = 0;

// The side to which the tow plane turns after take-off: 1 right, 0 left.
extern int32_t tow_turn_dir;

// One frame of computer-flown plane p (1..9); other slots do nothing.
void TRAFFIC_update_other(int p);
