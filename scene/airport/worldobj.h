// The airport furniture pass: the surfaces of the runways, taxiways and
// aprons of the visible nearby airports, buoys along water runways, blowing
// snow, runway and distance signs and parked aircraft at the selected
// airport, then every visible airport's beacon, windsocks and runway lights.
// Later in the frame the fences along the airport cells near the camera. (The
// runway under the user's aircraft is the simulation's to find, whatever is
// on screen: flightmodel/ground/surface_under.h. Found here, it would go from
// under the plane whenever its airport left the view or a plug-in drew it.)
//
// Reads: the nearby-airport list with its visible bytes and light states, the
// airport table and the runway geometry table, the selected airport, the
// camera and view, the plane slots it parks, the local wind and the wind
// layers, the weather, the clocks and interval ticks, the landing light, the
// terrain, land-use and visible-cell grids.
// Writes: the state below, the nearby airports' light states, the picture.
#pragma once

#include <cstdint>

// Values the pass keeps from frame to frame.
struct worldobj_state_record {
    float snow_drift_x, snow_drift_z;     // the wind integrated over time, inside [-9999, 9999] m
    float snow_origin_x, snow_origin_z;   // the selected airport's first runway's first left edge point
    float snow_tex_x, snow_tex_z;         // origin + drift
    float wind_dir_sin, wind_dir_cos;     // of the lowest wind layer's direction
    float lift;                           // (camera height over the ground) x 0.01, taken at the pass's start
};
extern worldobj_state_record worldobj_state;
// The skid marks' step along the sections and the last section of their rise
// (they fall back from there), of the last runway or unpaved strip drawn.
struct strip_skids_record {
    float du;
    int32_t e;
};
extern strip_skids_record strip_skids;
void WORLDOBJ_reset();

// Once a frame, after the road traffic and before the terrain.
void WORLDOBJ_draw_objects();
// Once a frame: 4-m fences along the outer sides of the visible airport cells
// within five cells of the camera.
void WORLDOBJ_draw_fences();
// Runway r of airport a (full 1 with the skid marks and the landing light;
// the head-up display's pass draws with full 0).
void WORLDOBJ_draw_strip(int a, int r, int full);
// One vertex of the blowing-snow strip at the point (x, y, z): the snow
// texture fixed to the drift, turned into the wind on unit 0 and the landing
// light's splash on unit 1 when two_units is set.
void WORLDOBJ_snow_vertex(const float* point, int two_units);
// The current colour from colour-table row `row`: rows 0..46 in the cockpit
// light colour, every row dimmed by gload_dim_factor; RGB above alpha 0.99,
// else RGBA; in pixel-buffer mode only the row's bytes are kept.
void WORLDOBJ_set_gl_color(int row, float alpha);

// The approach-slope lights' glide angle (degrees) by light code 94..103; 0 for other codes.
float WORLDOBJ_slope_angle(int code);
