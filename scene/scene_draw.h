// The per-frame scene drawing the frame loop calls: the 3-D scene, the 2-D
// overlay of the flying view and the cloud update.
#pragma once

#include <cstdint>

// The weapon of the user's aircraft the view follows (0..23), -1 none; chosen
// by the 3-D scene. While it is 0 or more the frame draws no background, panel
// or overlay.
extern int32_t scene_followed_weapon;

// Draws the 3-D scene of the frame for the current view.
void SCENE_draw_3d();
// Draws the 2-D overlay of the flying view; clears redraw_pending at its end.
void SCENE_draw_overlay();
// The per-frame cloud update (modes 0 and 6).
void CLOUD_update_draw();
// The scene's state back to zero (the program entry's clear).
void SCENE_clear_state();
