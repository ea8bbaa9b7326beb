// The two ring effects beside the particles, in local coordinates: the engine
// trails of the user's engines (a flow picture shown while the force
// visualisation level is 5) and the foam wakes on the water behind the ships
// and the user's aircraft.
//
// Reads: the user's plane (flt[0], pln[0]: engines, position, ground contact,
// land-use cell), the local wind and the lowest wind layer's direction, the
// frame period, the pause, the camera, the terrain visibility, the view
// footprint and the loaded area, the land-use grid, the surface flags of the
// frame, the colour table and gload_dim_factor.
// Writes: the rings below and the culling box.
#pragma once

#include <cstdint>

#include "flightmodel/effects/engine_trail_list.h"   // the rings the flight model emits into

// Moves, grows and spins the samples and draws each as a square joined to the
// next newer one, yellow when young and red when old.
void PARTICLE_draw_engine_trails();

// Wakes: one ring per sea-object slot (0 and 1 the ships, 2 the user's
// aircraft on the water), each of 30 segments of three points (side A,
// centre, side B).
constexpr int WAKE_SLOTS = 6;
constexpr int WAKE_SEGMENTS = 30;
constexpr int WAKE_USER = 2;
struct wake_point {
    float x, z;
    float vx, vz;
    float half_sin, half_cos;   // half-width times the sine and cosine of the heading at emission
    float age;
};
struct wake_ring {
    int32_t head;
    float last_x, last_z;       // where the last segment was emitted
    int32_t live[WAKE_SEGMENTS];
    wake_point points[WAKE_SEGMENTS][3];
};
extern wake_ring wakes[WAKE_SLOTS];

// Wake `wake` (0..2) of an owner at (x, z) with the water at height y, moving
// at `speed` m/s on `heading` degrees: a segment every spacing of the wake,
// the segments spreading and fading, drawn as foam bands. The ships' pass
// calls it with the GL state already set.
void PARTICLE_draw_wakes(int wake, float x, float y, float z, float speed, float heading);

// Start-up: every wake ring empty.
void TRAILS_reset();
