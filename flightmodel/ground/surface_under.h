// The ground under the user's plane, which the simulation finds for itself
// in every frame of flight: the runways of the nearby airports, the ships' decks with the
// carrier's wires and catapult, the oil platforms' decks, the hard roofs of
// the placed objects and of those the land-cover definitions generate, and
// the road spans, for every one of them near the plane, whether or not a
// frame draws it. And the launches the parking brake lets go.
//
// Reads: flt[0] (position, groundspeed, sideslip, ground flags, cell, parking
// brake), the nearby airports with their runways and runway geometry, the
// sea-object record and the deck outlines, the placed objects, the cover
// cells and the road lists (world/), the planet, the hook switch, the frame
// clock, and the settings that switch the objects on (draw_ships,
// draw_oilrigs, draw_obstacles, autogen_level, draw_vectors).
// Writes: surface_state (its one writer); the arrest, catapult, tow and winch
// launch flags and the parking brake on the catapult.
#pragma once

// Finds what lies under the user's plane now and fills the surface state
// with it afresh. The simulation's frame calls it at the start of every
// frame of flight (flightmodel/sim_frame.h), before the plane's height and
// steps read it.
void GROUND_surface_under_plane();

// With the parking brake let off (below 0.5) a plane held on the catapult is
// thrown (the launch time noted), an armed tow rope or winch cable hooks on;
// a caught wire lets go below 2 m/s or rolling backwards (sideslip beyond 90
// degrees). The simulation's frame calls it just before the finder.
void GROUND_launch_releases();
