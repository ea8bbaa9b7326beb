// The planes of the world in the scene: the user's shadow, each plane of a
// run of slots within the effective visibility (the whole model when near,
// only its lights when far), and the weapons hung on them; and one plane's
// shadow on a given height.
//
// Reads: flt[n] position and attitude with its cached cosines, pln[n] size and
// weapon slots, the camera and zoom, visibility_effective_m,
// terrain_height_m (the ground under the user's plane), the cockpit light
// levels, the plug-in drawing phases 10 and 11.
// Writes: GL state and the picture only.
#pragma once

#include <cstdint>

// The run of plane slots a pass draws: from 0 in an outside view (1 inside,
// where the cockpit redraw shows the user's aircraft) to the plug-in
// manager's plane count less one, held inside the plane slots.
struct plane_run_record {
    int32_t first;
    int32_t last;
};
plane_run_record SCENE_plane_run();

// Draws plane slots first..last (nothing of them when first > last); the
// user's shadow is drawn whatever the run.
void SCENE_draw_plane_range(int first, int last);
// Draws plane n at its position and attitude: the whole model when full is
// not 0, its lights alone otherwise.
void SCENE_draw_posed_plane(int n, int full);
// Plane n's shadow: a dark textured quad on the horizontal plane at height y,
// narrowed by the plane's roll and shortened by its pitch.
void ACF_draw_shadow(int n, float y);
