// The ships and oil platforms of the scene: the carrier (sea-object slot 0),
// the frigate (1) and the two platforms (A at slot 4, B at slot 3).
//
// Reads: the sea-object record (world/ships.h), the user plane's position,
// groundspeed, sideslip and ground flags, the hook switch, the view footprint
// and the loaded area, draw_ships and draw_oilrigs, percent_lights_on.
// Writes: the deck contact of the pass (surface_state: on_carrier,
// on_frigate, the platform deck as the flat surface, surface code 154),
// the arrest and catapult launch flags, the parking brake on the catapult.
#pragma once

constexpr float CARRIER_SPEED_MPS = 15.0f;
constexpr float FRIGATE_SPEED_MPS = 10.0f;
constexpr float CARRIER_DECK_Y_M = 21.0f;
constexpr float FRIGATE_DECK_Y_M = 7.0f;
constexpr float OILRIG_A_DECK_Y_M = 60.0f;
constexpr float OILRIG_B_DECK_Y_M = 97.0f;
constexpr float SEA_CULL_MARGIN_M = 500.0f;

// 1 when P (relative to the ship's origin) lies strictly on the inner (left)
// side of the edge A->B of the ship's own frame turned by the heading whose
// sine and cosine are s and c; a zero-length edge gives 0.
int SHIPS_point_left_of_edge(float ax, float az, float bx, float bz, float px, float pz, float s, float c);

// The deck tests of every placed and enabled sea object for the user's plane:
// deck contact, the carrier's wires and catapult, and the end of a launch once
// the plane has left the deck. Runs every pass, whether the object is in view or not.
void SHIPS_deck_contact();

// The glide-slope ball seen from (dx, dy, dz), the eye relative to the point
// 17 m above the carrier: its offset in metres above the base light (-4..4)
// and whether it shows red (more than a degree under the 4-degree slope).
float SHIPS_ball_offset(float dx, float dy, float dz, bool* red);

// 1 when the object's position and attitude are placed and finite.
bool SHIPS_placed(int slot);

// The model drawers, inside the ship's transform (the carrier and frigate) or
// a translation to the platform.
void SHIPS_draw_carrier(float x, float z);
void SHIPS_draw_frigate(float x, float z);
void SHIPS_draw_oilrig_a(float x, float y, float z);
void SHIPS_draw_oilrig_b(float x, float y, float z);
