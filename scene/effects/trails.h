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

constexpr int ENGINE_TRAIL_STREAMS = 8;
constexpr int ENGINE_TRAIL_SAMPLES = 1000;

struct engine_trail_sample {
    uint8_t valid;          // 0 also cuts the trail between this sample and its neighbours
    float age, life;        // s
    float pos[3];           // m
    float vel[3];           // m/s
    float growth;           // radius increase per second
    float radius;           // half the side of the square, m
    float spin;             // rad/s
    float phase;            // rad, 0..2 pi
    float yaw_sin, yaw_cos;     // direction of travel when emitted
    float pitch_sin, pitch_cos;
    float corners[4][3];    // the square in local coordinates, rebuilt every frame
};

// One ring per engine; the head is the sample the next emission writes (the
// one after the newest, always invalid).
struct engine_trail_ring {
    int32_t head;
    engine_trail_sample samples[ENGINE_TRAIL_SAMPLES];
};
extern engine_trail_ring engine_trails[ENGINE_TRAIL_STREAMS];

// The ground level of the flight start (written by the flight start): the
// trails' floor and the height of the user's wake.
extern float start_ground_y;

// One sample of engine `engine`'s ring at (x, y, z) moving with (vx, vy, vz):
// radius, growth per second and life; a radius below 0.01 or an engine
// outside 0..7 records nothing.
void PARTICLE_engine_emitters(float x, float y, float z, float vx, float vy, float vz, float radius, float growth,
                              float life, int engine);
// Moves, grows and spins the samples and draws each as a square joined to the
// next newer one, yellow when young and red when old.
void PARTICLE_draw_engine_trails();
// Every ring empty (the flight start).
void PARTICLE_clear_engine_trails();

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

// Start-up: every ring empty.
void TRAILS_reset();
