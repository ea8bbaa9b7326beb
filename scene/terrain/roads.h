// The linear features on the ground of the loaded area (ROADS_draw_traffic,
// scene/drawers.h): rivers as moving water ribbons, highways, trails and
// railroads as textured ribbons with raised bridge spans, then the power lines and the cars on
// the highways. Only cells of the terrain window that the surface pass marked
// visible are walked. (The road under the user's plane is the simulation's,
// drawn or not: flightmodel/ground/surface_under.h. Found here, it would go
// from under the plane whenever its cell left the view or a plug-in drew the
// roads.)
//
// Reads: the feature lists of the grid (world/segments.h), terrain_window,
// cell_visible, surface_tint, gload_dim_factor, the frame period, the user's
// cell and position, the camera, the cockpit light levels, the settings
// draw_vectors and draw_cars.
// Writes: the cars' records, the light queue, GL state.
#pragma once

#include <cstdint>

#include "core/units.h"

// Kept from call to call: the river water's animation phase, 0..1.
struct roads_kept_record {
    float roads_water_phase;
};
extern roads_kept_record roads_kept;
void ROADS_reset();

// The power-line pass: pylons near the camera, thickened and faded with
// distance (gone at 8 nautical miles), wires within 2 nautical miles.
void ROADS_draw_power_lines();
// The road-traffic step: every car of a visible cell moves along its highway
// and is queued as a light.
void ROADS_move_cars();

// Pylon bars' half-thickness and the fade of a pylon d metres from the camera.
constexpr float POWER_FAR_M = 8.0f * UNIT.nm_to_mtrs;
constexpr float POWER_NEAR_M = 2.0f * UNIT.nm_to_mtrs;

// The cars' base speed: 65 miles per hour in m/s (29.06).
constexpr float CAR_BASE_SPEED_MPS = 65.0f * UNIT.mph_to_kts * UNIT.nm_to_mtrs / 3600.0f;
// The lane of a car by its speed factor: offset from the highway's edge point
// along the cross direction (m) and whether it faces against the highway.
struct car_lane {
    float offset_m;
    bool reversed;
};
car_lane ROADS_car_lane(float dir);
