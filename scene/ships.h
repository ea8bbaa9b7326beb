// The sea objects of the scene: one entry per sea-object slot (6 slots; 0 the
// carrier, 1 the frigate, 3 and 4 the oil platforms). Positions and rates are
// in the local frame (x east, y up, z south, metres); headings in degrees,
// 0 pointing the bow to -z. Until the scene build places them, x and z hold
// -9.9e9 (far outside every view) and the headings hold 0.
#pragma once

constexpr int SEA_OBJECT_SLOTS = 6;
constexpr int SHIP_CARRIER = 0;
constexpr int SHIP_FRIGATE = 1;
constexpr int SEA_PLATFORM_1 = 3;   // the two oil platforms
constexpr int SEA_PLATFORM_2 = 4;

extern float ship_x[SEA_OBJECT_SLOTS];
extern float ship_y[SEA_OBJECT_SLOTS];
extern float ship_z[SEA_OBJECT_SLOTS];
extern float ship_vx[SEA_OBJECT_SLOTS];        // drift added to the ship's own motion, m/s
extern float ship_vz[SEA_OBJECT_SLOTS];
extern float ship_heading[SEA_OBJECT_SLOTS];
// Pitch and roll of each ship, degrees (moved by the simulation cycle's ship motion).
extern float ship_pitch[SEA_OBJECT_SLOTS];
extern float ship_roll[SEA_OBJECT_SLOTS];
