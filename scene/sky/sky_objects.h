// The sky objects of the 3-D scene: the sun, the moon in its phase, the stars
// and a meteor now and then; the thermals' cloud sprites; the weather's cloud
// layers; the lightning bolt. The drawers themselves are declared with the
// scene's other drawers (scene/drawers.h); here are what they keep between
// passes and their helpers.
#pragma once

#include <cstdint>

#include "scene/drawers.h"

// The one meteor: its place and step in the screen rectangle's units and its
// age (it shows for 2 seconds); the two discs' half-sizes, metres at 10 km.
struct meteor_record {
    float mx = 0.0f, my = 0.0f;
    float dx = 0.0f, dy = 0.0f;
    float t = 2.0f;               // 2 or more: no meteor
    float sun_half_m = 400.0f;
    float moon_half_m = 200.0f;
};
extern meteor_record sky_meteor;

// The thin layer's texture drift, each in 0..1.
struct cloud_sheet_drift_record {
    float u = 0.0f, v = 0.0f;
};
extern cloud_sheet_drift_record cloud_sheet_drift;

// The meteor back to its start.
void SKYOBJ_reset();
// One of the six clouds (cells 0..5) of the cumulus picture as an upright quad
// centred at (x, y, z), turned to the yaw and tilted by the pitch.
void SKYOBJ_draw_cumulus_cell(float x, float y, float z, float yaw_deg, float pitch_deg, float half_w, float half_h,
                              int cell);

// The meteor threshold of a meteorite density: 600, 300, 150, 30 for 1..4,
// 300 for any other value.
int SKYOBJ_meteor_threshold(int32_t density);
// The moon's texture slot on a day of the year: 215 + day mod 22 (positive remainder).
int SKYOBJ_moon_slot(int32_t day);

// The thin layer's sheet, rows of quad strips over the latitude and longitude
// grid from (lat0, lon0) below (lat1, lon1), at Y metres above the surface,
// faded out at the squared range R2; called by SKYOBJ_draw_clouds.
void SKYOBJ_draw_cloud_sheet(int L, float Y, float lat0, float lon0, float lat1, float lon1, float dlat, float dlon,
                             float u, float v, float R2);
