// SCENE_recenter_origin is the published name of the recentring, kept though
// the code lives in the world; the project's own names here are WORLD_.
//
// Keeping the local origin under the user: the loaded block of whole degrees
// (south-west corner lat_ref, lon_ref; 2 x 3 degrees on the Earth, 5 x 6 on
// Mars) follows a position that drifts toward its edge one degree at a time,
// and jumps to a position far outside it; each move has the airport and
// scenery scene rebuilt (APT_build_scene with the reason: 1 a new block,
// 2 one degree west, 3 east, 4 north, 5 south).
//
// Reads: the current planet, scene_world_visible. Writes: lat_ref, lon_ref.
#pragma once

#include <cstdint>

// Per-planet sizes of the loaded area (index: the current planet, 0 Earth, 1 Mars).
constexpr float WORLD_AREA_LAT_SPAN[2] = {2.0f, 5.0f};          // degrees of latitude
constexpr float WORLD_AREA_LON_SPAN[2] = {3.0f, 6.0f};          // degrees of longitude
constexpr float WORLD_PROBE_MARGIN_LAT[2] = {0.475f, 1.9f};     // the ground probe's margins, degrees
constexpr float WORLD_PROBE_MARGIN_LON[2] = {0.95f, 2.375f};

// The planet index the tables above take: Mars for 1, the Earth otherwise.
int WORLD_planet();

// The camera is low enough to show the near world: the scene's sky pass
// writes it every frame; the recentring below reads it.
extern int32_t scene_world_visible;

// Kept from call to call.
struct scene_origin_state {
    int32_t noted;              // the corner below was taken
    int32_t noted_lat;          // whole degrees, truncated toward zero, while the near world was visible
    int32_t noted_lon;
    int32_t was_world_visible;  // scene_world_visible at the end of the previous call
};
extern scene_origin_state scene_origin;
void WORLD_origin_reset();

// Moves the block when (latitude, longitude) has left the window around its
// centre, or rebuilds it once when the near world comes back into view after
// the block moved while it was out of view. NaN positions change nothing.
// Beyond 60 degrees of latitude the block moves east or west only once the
// position is as far from its centre as the window reaches at 60 degrees,
// and then onto the position in one move; its corner stays between those of
// the blocks centred at the poles.
void SCENE_recenter_origin(float latitude, float longitude);
