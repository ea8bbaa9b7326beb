// Keeping the local origin near the user's plane.
#pragma once

// When (latitude, longitude) has left the window around the current origin,
// moves lat_ref/lon_ref and rebuilds the airport and scenery scene.
void SCENE_recenter_origin(float latitude, float longitude);
