// sim/graphics/: the scenery, drawing settings and the view; the camera's
// attitude (sim/private/camera/) and the G-load dimming of every colour drawn.
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/graphics/scenery/.
struct sim_graphics_scenery_block {
    int32_t current_planet;   // 0 Earth, 1 Mars
    float percent_lights_on;  // share 0..1 of the flash-indexed lights that are lit
    // Where the sun and the moon stand, worked out by the scene each pass (degrees).
    float sun_declination;
    float moon_declination;
    float sun_azimuth;        // -180..180, 0 at the local noon
    float moon_azimuth;
};
extern sim_graphics_scenery_block sim_graphics_scenery;

// sim/graphics/misc/.
struct sim_graphics_misc_block {
    int32_t show_panel_click_spots;
    // Cockpit light tint: the 2-D drawers multiply colour rows 0..46 by it.
    float cockpit_light_level_r = 1.0f;
    float cockpit_light_level_g = 1.0f;
    float cockpit_light_level_b = 1.0f;
    int32_t use_proportional_fonts = 1;   // the fonts plug-in texts are drawn with
};
extern sim_graphics_misc_block sim_graphics_misc;

// sim/graphics/settings/. The rendering resolution (rendering_res) is the
// screen record's field.
struct sim_graphics_settings_block {
    int32_t draw_textured_lites;
    int32_t dim_gload;
    int32_t autogen_level;            // 0..5
    int32_t autogen_distance;         // 0..20
    int32_t draw_obstacles;
    int32_t draw_aircrafts;           // number of planes, 1..10
    int32_t draw_taxilines;
    int32_t draw_forestfires;
    int32_t draw_oilrigs;
    int32_t draw_ships;
    int32_t draw_vectors;
    int32_t draw_cars;
    int32_t transparent_panel;        // background and panel drawn see-through while flying
};
extern sim_graphics_settings_block sim_graphics_settings;

// sim/graphics/view/. The window size is the screen record's.
struct sim_graphics_view_block {
    float field_of_view_deg;
    float field_of_view_horizontal_ratio;
    float field_of_view_vertical_ratio;
    float field_of_view_horizontal_deg;
    float field_of_view_vertical_deg;
    float field_of_view_roll_deg;
    int32_t number_elumens_projections;   // 0..4
    int32_t elumens_tex_width;
    int32_t elumens_tex_height;
    float elumens_ref_psi;
    float elumens_ref_the;
    float elumens_ref_phi;
    // The camera, placed by the scene pass before anything is drawn.
    float view_x;                     // local coordinates, metres
    float view_y;
    float view_z;
    // The direction the picture looks (the view set-up's): each angle with its
    // sine and cosine beside it.
    float view_heading;               // degrees 0..360
    float view_heading_sin, view_heading_cos;
    float view_pitch;                 // degrees
    float view_pitch_sin, view_pitch_cos;
    float view_roll;                  // degrees
    float view_roll_sin, view_roll_cos;
    float view_zoom;                  // 1 = no zoom, up to 400
    int32_t view_type;                // 1000..1024
    int32_t view_is_external;
    int32_t visibility_math_level;    // 0..5
    float visibility_framerate_ratio;
    // The scene's visibility of the pass: of the terrain and of everything else, m.
    float visibility_terrain_m;
    float visibility_effective_m;
    // Where the camera is on the planet.
    float view_latitude_deg;
    float view_longitude_deg;
    float view_elevation_m_msl;
};
extern sim_graphics_view_block sim_graphics_view;

// sim/private/camera/: the camera's attitude, degrees (its position is
// sim_graphics_view's view_x, view_y, view_z). The view set-up keeps their
// sines and cosines in camera_trig (core/camera.h).
struct sim_private_camera_block {
    float the;                        // pitch -90..90
    float psi;                        // heading 0..360
    float phi;                        // roll -180..180
    int32_t control_words[2];         // the scene's camera-control words; cleared when a plug-in takes the camera
};
extern sim_private_camera_block sim_private_camera;

// The G-load dimming factor: every colour the drawing kit sends is multiplied
// by it. The flight model lowers it under high load while "dim_gload" is on;
// 1.0 otherwise.
extern float gload_dim_factor;
