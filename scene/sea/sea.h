// The ships and oil platforms of the scene: the carrier (sea-object slot 0),
// the frigate (1) and the two platforms (A at slot 4, B at slot 3).
//
// Reads: the sea-object record and the deck outlines (world/), the user
// plane's position and track, the view footprint and the loaded area,
// draw_ships and draw_oilrigs, percent_lights_on. The decks' contact with the
// user's plane is the simulation's (flightmodel/ground/surface_under.h).
#pragma once

#include "world/ship_decks.h"

constexpr float SEA_CULL_MARGIN_M = 500.0f;

// The glide-slope ball seen from (dx, dy, dz), the eye relative to the point
// 17 m above the carrier: its offset in metres above the base light (-4..4)
// and whether it shows red (more than a degree under the 4-degree slope).
float SHIPS_ball_offset(float dx, float dy, float dz, bool* red);

// The model drawers, inside the ship's transform (the carrier and frigate) or
// a translation to the platform.
void SHIPS_draw_carrier(float x, float z);
void SHIPS_draw_frigate(float x, float z);
void SHIPS_draw_oilrig_a(float x, float y, float z);
void SHIPS_draw_oilrig_b(float x, float y, float z);
