// The scene pass up to its view set-up (camera, sky and light, boxes, fog,
// projection), where the matrices are the 3-D scene's; for the tests and
// benchmarks that draw one stage of the pass on its own.
#pragma once

#include "core/simvars/graphics.h"
#include "scene/camera.h"
#include "scene/scene_state.h"
#include "scene/sky_light.h"
#include "scene/view_setup.h"

inline void scene_pass_to_view()
{
    CAMERA_place();
    CAMERA_locate();
    SKY_visibility_and_gates();
    SKY_sun_and_light();
    CAMERA_boxes();
    CAMERA_near_and_far(1, 0);
    SKY_fog();
    CAMERA_project();
    const scene_projection_record& s = scene_projection;
    VIEW_setup_scene(s.far_radius_m, s.offset_heading_rad, s.offset_pitch_rad, sim_graphics_view.visibility_terrain_m,
                     sim_graphics_view.view_y - scene_ground_elevation);
}
