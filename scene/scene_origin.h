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

// Kept from call to call.
struct scene_origin_state {
    int32_t noted;              // the corner below was taken
    int32_t noted_lat;          // whole degrees, truncated toward zero, while the near world was visible
    int32_t noted_lon;
    int32_t was_world_visible;  // scene_world_visible at the end of the previous call
};
extern scene_origin_state scene_origin;
void SCENE_origin_reset();

// Moves the block when (latitude, longitude) has left the window around its
// centre, or rebuilds it once when the near world comes back into view after
// the block moved while it was out of view. NaN positions change nothing.
void SCENE_recenter_origin(float latitude, float longitude);
