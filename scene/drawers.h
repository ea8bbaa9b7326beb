// The drawers the scene pass calls in its fixed order: sky objects, the ground
// surface and what lies on it, the terrain cover, clouds, ships, lights,
// fires, particles, the aircraft models and their attachments. Each runs in
// the matrix, light and fog the view set-up left and reads the scene state
// (scene/scene_state.h) rather than arguments where it can.
#pragma once

#include "world/terrain_grid.h"

// The sun, the moon in its phase and the stars, in colour (r, g, b) (the top
// sky band times the atmosphere factor), inside the screen rectangle.
void SKYOBJ_draw_sun_moon_stars(float r, float g, float b, float x0, float y0, float x1, float y1);

// Prepares the light points of the frame; draws the queued light points.
void LIGHTS_fraction();
void LIGHTS_draw();

// The ground surface mesh of the loaded tile over the cells of the terrain
// window (mode 3: the 3-D view), marking cell_visible unless no_cull.
void SURFACE_draw_patch(const terrain_vertex* grid, int mode, int no_cull, int blend_pass);
void ROADS_draw_traffic();
// The other aircraft, the airports and the placed world objects near the camera.
void WORLDOBJ_draw_objects();
// Fences along the airport cells near the camera.
void WORLDOBJ_draw_fences();
void WPN_draw_impact_marks();
void TAXILINES_draw();

// Cloud layer L (0 or 1); the thermals.
void SKYOBJ_draw_clouds(int layer);
void SKYOBJ_draw_thermals();

// The generated terrain cover and the obstacles; the ships and oil platforms.
void TERRAIN_draw();
void SHIPS_draw();

void PARTICLE_draw_fires();
void SKYOBJ_draw_lightning();
void PARTICLE_draw();
void PARTICLE_draw_engine_trails();

// The aircraft models and their weapons: ACF_draw_plane, ACF_draw_weapon.
#include "scene/aircraft/acf_draw.h"

// What hangs on or trails behind the user's aircraft: the flown path, the
// ropes, the slung load, the parachute and the refuelling hose.
void SCENE_draw_attachments();
