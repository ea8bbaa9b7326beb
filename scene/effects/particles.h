// The particles of the world: smoke, spray, dust and exhaust puffs the flight
// model, the ground contact and the weapons spawn into the particle list
// (flightmodel/effects/particle_list.h), aged, moved and drawn once a frame
// as camera-facing squares of the smoke texture; and the forest fires with
// their smoke (world/fires.h holds the fire table).
//
// Reads: the local wind (flightmodel/systems/wind_at_plane.h), the frame
// period, the camera and view angles, the view footprint and the loaded area,
// the colour table, the fire table, the frame clock and the 2-s tick.
// Writes: the particle list, the fire table's burning flags, the positions of
// fires 1..9 and every fire's y.
#pragma once

#include <cstdint>
#include <vector>

#include "flightmodel/effects/particle_list.h"   // the particle list the simulation spawns into
#include "scene/effects/trails.h"   // PARTICLE_engine_emitters, the engine trails and wakes

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

// Start-up: no fire layout.
void PARTICLE_reset();
