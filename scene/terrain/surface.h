// The ground surface mesh of the loaded tile: land and water cell by cell,
// drawn for the 3-D scene (mode 3), the flight-path screen (mode 3, no
// culling) and the map (mode 2, the grid laid flat into the map), with the
// moving sea, the cloud shadow or the landing-light splash on a second
// texture unit. In the scene it is the first ground pass and decides which
// cells of the terrain window are visible this projection; every later ground
// pass skips the cells it did not mark.
//
// Reads: the grid's normals, cell codes, cell texture corners and layer
// stacks (world/terrain_textures.h, world/terrain_grid.h); the land-use
// textures (count, water flags, aspects, loaded bytes); terrain_window,
// camera_cell, view_footprint, the loaded area, lat_ref and the planet;
// surface_tint, sun_tangents, gload_dim_factor; the wave direction and speed,
// the frame period; the cloud shadow (scene/sky/cloud_field.h); the landing
// splash (scene/terrain/landing_light.h); the map geometry (mode 2).
// Writes: cell_visible over the window, scene_cull_margin and
// scene_footprint_box (culling), the kept wave and sea values, GL state and
// light 1 (through the landing light, always off on return).
#pragma once

#include <cstdint>

#include "scene/drawers.h"

// What the surface keeps from call to call, whichever screen calls.
struct surface_kept_record {
    float wave_drift_x;          // sea texture drift, kept in -1000..1000
    float wave_drift_z;
    float wave_rot_sin;          // texture scale times the sine and cosine of the wave direction
    float wave_rot_cos;
    float sea_anim_phase;        // 0..1 over the sixteen sea frames
    int32_t surface_second_unit; // the cloud shadow or the landing splash rides on a second unit
};
extern surface_kept_record surface_kept;
void SURFACE_reset();

// The operator map's geometry, written by the map window: the bottom and top
// of its map area (window units) and its zoom. The flat map's sea texture
// scale follows them.
struct map_geometry_record {
    float area_bottom;
    float area_top;
    float zoom;
};
extern map_geometry_record map_geometry;

// Texture coordinates of a ground point: the drifting, turned sea texture of
// the last surface call (x and z, or the map's x and y); the landing-light
// splash; the cloud-shadow picture (the point carried along the sun up to the
// cloud base).
void SURFACE_wave_texcoord(float x, float z, float out[2]);
void SURFACE_light_texcoord(const float point[3], float out[2]);
void SURFACE_shadow_texcoord(const float point[3], float out[2]);
