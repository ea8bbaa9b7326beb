// The per-frame 3-D scene the frame loop draws: the scene driver orders the
// passes. (The 2-D overlay of the flying view is declared in
// scene/effects/overlay.h, the cloud update in scene/sky/cloud_field.h.)
#pragma once

#include "scene/scene_state.h"   // scene_followed_weapon, SCENE_clear_state

// Draws the 3-D scene of the frame for the current view (one display projection).
void SCENE_draw_3d();
