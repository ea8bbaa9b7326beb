// The weapons in flight as the scene draws them, from the weapon records the
// flight model keeps.
#pragma once

// Draws the fire lines of released line guns (kinds 1 and 2) and every live
// projectile, inside the 3-D scene's GL state. Leaves blending on, depth
// writes off and texturing as the projectiles needed it.
void WPN_draw();
