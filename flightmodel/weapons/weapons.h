// Weapons of the user's plane as the force build-up calls them.
#pragma once

// Firing, flying and hanging the weapons for one frame (from the build-up).
void WPN_fire_and_fly();

// Flies the released weapons of plane n for one frame (from the integration,
// after its two half-steps).
void WPN_fly_released(int n);
