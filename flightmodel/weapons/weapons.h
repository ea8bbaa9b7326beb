// Weapons of the user's plane as the force build-up calls them.
#pragma once

// Firing, flying and hanging the weapons for one frame (from the build-up).
void WPN_fire_and_fly();
