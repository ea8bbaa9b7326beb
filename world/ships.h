// The sea objects of the world and the ships' motion: one entry per sea-object
// slot (6 slots; 0 the carrier, 1 the frigate, 3 and 4 the oil platforms; only
// 0 and 1 move). Positions and rates are in the local frame (x east, y up,
// z south, metres); headings in degrees 0..360, 0 pointing the bow to -z,
// 90 to +x. Until the scene build places them, x and z hold -9.9e9 (far
// outside every view) and the headings hold 0. The positions, headings and
// cells persist between frames; the flight-start code places the ships and
// the ship motion (flightmodel/environment/ship_motion.h) alone moves them.
#pragma once

#include <cstdint>

constexpr int SEA_OBJECT_SLOTS = 6;
constexpr int SHIP_CARRIER = 0;
constexpr int SHIP_FRIGATE = 1;
constexpr int SEA_PLATFORM_1 = 3;   // the two oil platforms
constexpr int SEA_PLATFORM_2 = 4;
constexpr int SEA_PLATFORM_A = SEA_PLATFORM_2;   // the three-legged platform with the derrick, deck 60 m up
constexpr int SEA_PLATFORM_B = SEA_PLATFORM_1;   // the four-column platform with the booms, deck 97 m up

extern float ship_x[SEA_OBJECT_SLOTS];
extern float ship_y[SEA_OBJECT_SLOTS];
extern float ship_z[SEA_OBJECT_SLOTS];
extern float ship_vx[SEA_OBJECT_SLOTS];        // drift added to the ship's own motion, m/s
extern float ship_vz[SEA_OBJECT_SLOTS];
extern float ship_heading[SEA_OBJECT_SLOTS];

// Turn rate (degrees/s), pitch and roll (degrees) and their rates, and the
// land-use grid cell under each ship, written by its terrain query.
extern float ship_turn_rate[SEA_OBJECT_SLOTS];
extern float ship_pitch[SEA_OBJECT_SLOTS];
extern float ship_roll[SEA_OBJECT_SLOTS];
extern float ship_pitch_rate[SEA_OBJECT_SLOTS];
extern float ship_roll_rate[SEA_OBJECT_SLOTS];
extern int32_t ship_cell_row[SEA_OBJECT_SLOTS];
extern int32_t ship_cell_col[SEA_OBJECT_SLOTS];
