// The simulation's frame: the one place that orders what the simulation does
// once a frame. The spine's cycle runs it once a frame, in every mode that
// reaches the cycle, after its own clock, weather, links and replay work. In
// order:
//  1. In flight, the launches the parking brake lets go, then the ground under
//     the user's plane where it stands now: both before anything below reads
//     them (the height under the plane, the crash test's ground, the systems
//     step and the plane step). Found later, the first frame after a start
//     would take the bare terrain for the runway's ground.
//  2. In every mode, every plane's latitude, longitude and elevation from its
//     local position, the last plane first; for the user's plane its velocity
//     in the axes at its own position, the local origin kept near it (unless
//     a network peer holds it), the indicated height and vertical speed, and
//     the terrain height under it with the height above that ground. The
//     flying stages below read these.
//  3. In flight only: the plug-ins told a flying frame begins (they see the
//     positions just found); on Mars one plane flies unless in multiplayer;
//     then the user plane's systems and environment unless replaying or
//     paused, ahead of the planes they feed.
//  4. Every plane slot from the last to the first through the plane step
//     unless paused, each followed by the way up CORE_plane_stepped (core/
//     hooks.h), also while paused: the spine's sends of that plane's state
//     read it right after its step, before the next plane moves.
//  5. Unless paused, the two ships when ships are shown: after the planes,
//     which read where the decks stood at the start of the frame.
//
// Reads: app_mode, sim_time.paused, replay_mode, the planet, draw_ships, the
// multiplayer slot's switch, the plug-ins' plane count, the frame clock and
// period. Writes: through the stages it calls (see their headers); here
// every plane's latitude, longitude and elevation, the user plane's ve, vs,
// h_ind, vh_ind, y_agl and terrain cell, terrain_height_m, and on Mars
// draw_aircrafts.
#pragma once

// What a frame ran, as it found the mode and the pause: the spine's own work
// after it (data output and the joystick poll while paused, or the settings
// screen) follows the same choice.
struct sim_frame_ran {
    bool flying = false;   // the flying stages ran (the mode was flying after the positions)
    bool paused = false;   // they ran paused: no systems, plane or ship moved
};

// Runs one frame of the simulation.
sim_frame_ran FLTMOD_sim_frame();

// The number of plane slots run this frame: the plug-ins' count, held to the
// plane records (a larger count would index past them).
int FLTMOD_planes_to_run();
