// The way into the scene's plane drawer for the plug-in host below the
// drawing floors (a plug-in draws a plane of its own at a pose it gives): the
// spine installs the scene's drawer at start-up; without it nothing is drawn.
#pragma once

// Draws plane n at its position and attitude: the whole model when full is
// not 0, its lights alone otherwise.
using posed_plane_draw_fn = void (*)(int n, int full);
void CORE_set_posed_plane_drawer(posed_plane_draw_fn draw);
// Runs the installed drawer; without one nothing happens.
void CORE_draw_posed_plane(int n, int full);
