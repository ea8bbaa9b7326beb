// The view of a scene pass: the direction the picture looks, the ground it can
// see (the view footprint) and the terrain cells to draw, the modelview, the
// sky backdrop, the sun light and the fog; and the footprint's culling test.
//
// Reads: the camera (view_x/y/z, the camera angles, the view offsets, the
// display reference angles, the quarter-turn settings), the field of view and
// the screen record, sky_ramp, sun_angles, the sun light colours, fog_start,
// fog_end, gload_dim_factor, the planet, lat_ref/lon_ref and the planet
// radius, camera_cell, view_elevation_m_msl, has_dis_fog.
// Writes: view_heading, view_pitch, view_roll with their sines and cosines,
// camera_trig, view_octant, view_footprint, terrain_window, sun_tangents, the
// modelview matrix, light 0 and the fog.
#pragma once

#include <cstdint>

// Sets up the view of one projection and draws the sky ring of radius
// ring_radius (m) around the camera. offset_heading_rad and offset_pitch_rad
// are this display's view-centre offsets (they turn the view direction, not
// the matrix); terrain_visibility is the terrain visibility (m) and
// camera_height the camera's height above the ground under it (m). A planet
// other than the Earth or Mars is a fatal alert.
void VIEW_setup_scene(float ring_radius, float offset_heading_rad, float offset_pitch_rad, float terrain_visibility,
                      float camera_height);

// Turns the modelview by the quarter-turn settings, then by the camera's roll,
// pitch and heading: the part of the view's turn that follows the view
// offsets.
void VIEW_turn_to_camera();

// The 45-degree sector of a view heading: 1 below 45, 2 below 90 ... 8 from 315 on.
int32_t VIEW_octant_of(float heading_deg);

// The culling box of the effect passes (particles, fires, wakes, trails): the
// view footprint's extent widened by a margin and held inside the loaded
// area, with that margin as the circle radius of the four edge tests. Each
// pass sets it up with its own margin before it culls.
struct cull_box_record {
    float x_min, x_max;
    float z_min, z_max;
};
extern float cull_margin;
extern cull_box_record cull_box;

// The largest and the smallest of four values: of a and b, of c and d, then
// of the two (a tie gives the second of the compared pair).
float UTIL_max4(float a, float b, float c, float d);
float UTIL_min4(float a, float b, float c, float d);

// Sets cull_margin and cull_box from the view footprint and the loaded area.
void VIEW_cull_box(float margin);
// (x, z) is inside the box and, with radius cull_margin, on the inner side of
// the footprint's edges 1-2, 2-3, 3-4 and 4-1.
bool VIEW_cull_visible(float x, float z);
