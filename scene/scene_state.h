// The scene state: what one pass of the 3-D scene works out before it draws
// (camera, visibility, sky colours, fog, light, the view footprint and the
// terrain window, the gates of the drawers), what the view commands ask of the
// camera, and the nearest-airport bookkeeping. Every drawer of the scene reads
// it; the camera (scene/camera.h), the sky and light (scene/sky_light.h) and
// the view set-up (scene/view_setup.h) write it, each pass anew unless a
// comment says otherwise.
//
// Local frame: metres, x east, y up, z south. Angles in degrees unless a name
// says radians. Terrain grid: point (column i, row j) at i x 401 + j; cell
// (i, j) is the quad from point (i, j) to (i + 1, j + 1); 450 x 400 cells on
// the Earth, 384 x 320 on Mars.
#pragma once

#include <cstdint>

#include "core/constants.h"
#include "world/scene_origin.h"   // the loaded area's spans, WORLD_planet, scene_world_visible

// ---------------------------------------------------------------------------
// Per-planet constants of the loaded area (index: the current planet, 0 Earth,
// 1 Mars; the area's spans and probe margins are in world/scene_origin.h).
constexpr int SCENE_GRID_COLUMNS[2] = {450, 384};               // cells along x (east)
constexpr int SCENE_GRID_ROWS[2] = {400, 320};                  // cells along -z (north)
constexpr float SCENE_GLOBE_ALTITUDE_M[2] = {15000.0f, 20000.0f};
constexpr float SCENE_UPPER_ALTITUDE_M[2] = {60000.0f, 30000.0f};
constexpr float SCENE_WORLD_ALTITUDE_M[2] = {46300.0f, 111120.0f};   // 25 and 60 nautical miles

// ---------------------------------------------------------------------------
// What the view commands ask of the camera (the shell writes them).
extern float view_zoom_target;          // the zoom the view eases to (1 after every view change)
extern float view_distance;             // camera distance of the chase and orbit views, m
extern float view_orbit_heading;        // the wanted orbit angles, radians
extern float view_orbit_pitch;
extern float view_fixed_point[3];       // the fly-by views' point (1020 fixed, 1021 drifting)
extern float view_fixed_velocity[3];    // the drift of view 1021, m/s
extern int32_t view_follow_weapon;      // the camera follows the last released weapon

// The weapon slot of the user's aircraft the camera follows, 0..23, -1 none.
// While it is 0 or more the frame draws no background, panel or overlay.
extern int32_t scene_followed_weapon;

// ---------------------------------------------------------------------------
// The camera (scene/camera.h).
extern float scene_ground_elevation;    // terrain height under the camera, m
struct camera_cell_record {
    int32_t column;                     // 0..449 (Mars 383)
    int32_t row;                        // 0..399 (Mars 319)
};
extern camera_cell_record camera_cell;
// Where the pilot looks relative to the aircraft, degrees.
extern float view_offset_pitch;
extern float view_offset_heading;
extern float view_offset_roll;

// The pass's projection: the boxes, the near and far distances and the
// frustum edges (at unit distance) the camera works out for the 3-D projection
// and hands to the view set-up and the drawers.
struct scene_projection_record {
    float hud_box[4];                   // x0, y0, x1, y1 of the head-up display box, interface units
    float screen[4];                    // x0, y0, x1, y1 of the 3-D picture, interface units
    float near_m;
    float far_radius_m;                 // the sky ring's radius
    float far_plane_m;
    float offset_heading_rad;           // this display's view centre
    float offset_pitch_rad;
    float frustum[4];                   // left, bottom, right, top
};
extern scene_projection_record scene_projection;

// ---------------------------------------------------------------------------
// Visibility, gates, sky, light and fog (scene/sky_light.h).

// Each cloud layer's band around the camera (m above sea level): the lower
// edge, the padded base, the top less 400 ft, the top, and the camera's height
// over the lower edge and over the layer's middle.
struct cloud_band_record {
    float lower_edge;
    float padded_base;
    float top4;
    float top;
    float rel;
    float mid;
};
extern cloud_band_record scene_cloud_bands[2];

struct scene_gates_record {
    int32_t globe;                      // above the globe altitude: the globe is drawn
    int32_t sun;                        // the sun, moon and stars are drawn
    int32_t detail;                     // the near-ground drawers run
    int32_t fire;                       // forest fires are drawn
    int32_t lightning_bolt;             // the bolt is drawn
    int32_t nearer_layer;               // cloud layer 0 or 1
    int32_t farther_layer;
    int32_t skip_farther;               // the farther layer is hidden behind an overcast nearer one
};
extern scene_gates_record scene_gates;
extern int32_t scene_dominant_layer;    // 1 when layer 1's cloud type is greater than layer 0's

extern float scene_sun_elevation;       // -90..90
extern float scene_moon_elevation;
constexpr int SKY_BANDS = 10;
extern float sky_ramp[SKY_BANDS][3];    // from the horizon up; band 0 is also the fog colour
extern float surface_tint[3];
extern float sun_ambient_rgba[4];
extern float sun_diffuse_rgba[4];
extern float sun_angles[3];             // latitude, azimuth, declination: where the light comes from
extern float scene_ambient_rgb[3];
extern float scene_diffuse_rgb[3];
extern float scene_cockpit_light_rgb[3];
extern float scene_atmosphere_factor;   // square root of the air density ratio at the camera
extern float fog_start;
extern float fog_end;
// The glare of a sun in view, 0..1 (the windshield pass's); the sky draws a
// halo round the sun and moon while it is above 0.
extern float sun_glare;

// ---------------------------------------------------------------------------
// The view (scene/view_setup.h).

// Settings of the rendering screen: the picture turned a quarter turn either
// way (a display mounted on its side).
extern int32_t view_quarter_turn_neg;
extern int32_t view_quarter_turn_pos;
struct ground_point {
    float x, z;
};
// What the view can see on the ground: rear-left, front-left, front-right, rear-right.
extern ground_point view_footprint[4];
extern int32_t view_octant;             // 1..8, the 45-degree sector of the view heading
extern float sun_tangents[2];

// The terrain cells to draw this projection.
struct terrain_window_record {
    int32_t first_column;
    int32_t first_row;
    int32_t last_column;
    int32_t last_row;
};
extern terrain_window_record terrain_window;

// One byte per grid point: 1 when its cell is drawn this projection (the
// ground surface mesh writes it; the later ground passes skip the others).
extern uint8_t cell_visible[TERRAIN_GRID_ROWS * TERRAIN_GRID_COLS];

// What the scene passes drew, counted up until someone clears it (the frame
// benchmarks clear it before a frame and read it after): ground cells of the
// surface mesh, cover and world objects, cloud puffs.
struct scene_draw_count_record {
    int64_t ground_cells;
    int64_t objects;
    int64_t cloud_puffs;
};
extern scene_draw_count_record scene_draw_counts;

// The culling radius and box the drawers share: each culling step sets the
// margin and forms the box (min x, max x, min z, max z) from the footprint
// corners widened by it, held inside the loaded area; later drawers find them
// as the last step left them. The pass itself starts with the previous pass's
// footprint and a margin of 7,500 m; the ground surface puts in its cell
// radius, the terrain pass leaves margin 0 and the bare box.
constexpr float SCENE_PASS_CULL_MARGIN_M = 7500.0f;
extern float scene_cull_margin;
extern float scene_footprint_box[4];
// Sets the margin and forms the box from the current view_footprint.
void SCENE_form_footprint_box(float margin);

// ---------------------------------------------------------------------------
// The nearest airport (spread over passes by the scene driver).
struct airport_sweep_record {
    int32_t cursor;                     // first entry of this pass (starts at -10)
    float best;                         // smallest squared degree distance of the sweep
    int32_t candidate;                  // airport index, -1 none
    int32_t candidate_position;         // its place in the near-airport list
};
extern airport_sweep_record scene_airport_sweep;
// One byte per entry of the near-airport list: its reference point is in view.
constexpr int SCENE_AIRPORT_SLOTS = 200;
extern uint8_t scene_airport_visible[SCENE_AIRPORT_SLOTS];
struct nearest_airport_record {
    int32_t airport_index;              // -1 none
    int32_t list_position;
    char id[5];
    int32_t runway_end_sign;            // +1 when the wind is within 90 degrees of the first runway's heading
};
extern nearest_airport_record scene_nearest_airport;

// Everything above back to its state before the first pass (the program entry).
void SCENE_clear_state();

// The clamped straight-line interpolation the scene uses throughout:
// y0 + (x - x0)(y1 - y0)/(x1 - x0), held between y0 and y1; (y0 + y1)/2 when
// x0 = x1. A NaN x gives a NaN.
float SCENE_interp(float x, float x0, float y0, float x1, float y1);

// The airport-table index of the current airport: the nearest airport of the
// last sweep, or the selected airport before the first; -1 when neither is a
// valid airport with a runway.
int32_t SCENE_current_airport();
