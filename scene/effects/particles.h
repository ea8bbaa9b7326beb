// The particles of the world: smoke, spray, dust and exhaust puffs the flight
// model, the ground contact and the weapons spawn, aged, moved and drawn
// once a frame as camera-facing squares of the smoke texture; and the forest
// fires with their smoke (scene/fires.h holds the fire table).
//
// Reads: the local wind (flightmodel/systems/wind_at_plane.h), the frame
// period, the camera and view angles, the view footprint and the loaded area,
// the colour table, the fire table, the frame clock and the 2-s tick.
// Writes: the particle list, the fire table's burning flags, the positions of
// fires 1..9 and every fire's y.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/effects/trails.h"   // PARTICLE_engine_emitters, the engine trails and wakes

// Colour rows with a meaning of their own.
constexpr int32_t PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR = 6;   // drawn and rising as row 0 once it touches its floor
constexpr int32_t PARTICLE_COLOR_WATER = 13;               // falls and puts out fires within 100 m

// One particle. A record lives while `active` is 1; free records are reused
// first, so the list never shrinks.
struct particle_record {
    uint8_t active;
    float x, y, z;          // m
    float vx, vy, vz;       // m/s (the local wind is added when moving)
    float floor_y;          // the ground under the particle; y stays at least floor_y + size
    float size;             // half the side of the drawn square, m
    float growth;           // increase of size per second
    float life;             // s
    int32_t color;          // colour-table row (6 and 13 above)
    float opacity;          // alpha at age 0
    float angle;            // spin of the square, degrees
    float age;              // s
    int32_t heavy_drag;     // 0: velocity decays by 1 - 3 dt a frame, else 1 - 4 dt
};
extern std::vector<particle_record> particle_list;

// Creates one particle unless life is below 1.0: position and velocity, the
// floor under it, its size, growth and life (varied by a random factor
// 0.85..1.15 each, the growth also by 0.1..0.2 of the size), its colour row,
// opacity and drag selector; a random starting angle.
void PARTICLE_spawn(float x, float y, float z, float vx, float vy, float vz, float floor_y, float size, float growth,
                    float life, int color, float opacity, int heavy_drag);

// Once a frame: moves and ages every particle and draws those in view.
void PARTICLE_draw();
// Once a frame while fires are present and drawn: places fires 1..9 around
// fire 0 across the wind, draws the burning ones and, every 2 s, lets one
// fire smoke.
void PARTICLE_draw_fires();

// The fire layout, made on the first call of PARTICLE_draw_fires: offsets
// along and across the wind of fires 1..9 (index 0 read by no placement,
// fire 9's both 0) and the animation phase of every fire.
struct fire_layout_record {
    int32_t built;
    float along[10];
    float across[10];
    int32_t phase[10];
};
extern fire_layout_record fire_layout;

// Start-up: no particles and no fire layout.
void PARTICLE_reset();
