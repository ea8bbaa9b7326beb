// The ground under the user's plane that the simulation finds for itself:
// the ships' decks with the carrier's wires and catapult, the oil platforms'
// decks, the hard roofs of the placed objects and of those the land-cover
// definitions generate, and the road spans, for every one of them near the
// plane, whether or not a frame draws it.
//
// Reads: flt[0] (position, groundspeed, sideslip, ground flags, cell), the
// sea-object record and the deck outlines, the placed objects, the cover
// cells and the road lists (world/), the hook switch, and the settings that
// switch the objects on (draw_ships, draw_oilrigs, draw_obstacles,
// autogen_level, draw_vectors).
// Writes: surface_found and through it surface_state; the arrest and catapult
// launch flags and the parking brake on the catapult.
#pragma once

// Finds what lies under the user's plane now and writes it into the surface
// state. The user's plane step calls it first.
void GROUND_surface_under_plane();
