// The per-frame scene drawing the frame loop calls: the 3-D scene, the 2-D
// overlay of the flying view and the cloud update.
#pragma once

#include "scene/scene_state.h"   // scene_followed_weapon, SCENE_clear_state

// Draws the 3-D scene of the frame for the current view (one display projection).
void SCENE_draw_3d();
// Draws the 2-D overlay of the flying view; clears redraw_pending at its end.
void SCENE_draw_overlay();
// The per-frame cloud update (modes 0 and 6).
void CLOUD_update_draw();
