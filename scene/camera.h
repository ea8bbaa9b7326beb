// The camera of a scene pass: zoom, view distance and followed weapon; the
// camera placed for the view type (pilot's eye, tower, fly-by, chase, orbit)
// unless a plug-in places it; its place on the planet and the ground under it;
// the near and far distances, the 3-D projection and the pilot's head angles.
//
// Reads: the view type and zoom, the view values the view commands set
// (scene/scene_state.h), the user's plane (flt[0], pln[0]) and its weapons,
// the carrier (world/ships.h), the nearest airport, the frame period, the
// planet, lat_ref/lon_ref, the visibility and fog end of the pass, the screen
// record, the override, the network slots 1, 6 and 7 and the aircraft's
// near-plane flag.
// Writes: view_x/y/z, the camera angles (sim_private_camera), view_zoom,
// view_distance, scene_followed_weapon, view_latitude_deg, view_longitude_deg,
// view_elevation_m_msl, scene_ground_elevation, camera_cell, scene_projection,
// the view offsets, and the GL projection.
#pragma once

struct acf_struct;

// Network slot of the first external monitor: with it enabled and the user's
// aircraft's near-plane flag set, the near plane is a tenth of its usual value.
constexpr int NET_SLOT_MONITOR_1 = 1;
// The aircraft's near-plane flag: the unnamed int word at file offset 640,004.
int ACF_near_plane_tenth(const acf_struct& a);

// Kept from pass to pass (the smoothing of the chase and orbit views).
struct camera_smoothing_record {
    float camera_distance_smoothed;   // m
    float camera_orbit_heading;       // radians -pi..pi
    float camera_orbit_pitch;
};
extern camera_smoothing_record camera_smoothing;
void CAMERA_reset();

// Zoom, distance, followed weapon, the camera per view type, the plug-in
// camera hook and the angle normalisation (placement and normalisation are
// skipped under override_camera).
void CAMERA_place();
// The camera's latitude, longitude and elevation, the ground under it and its
// terrain cell.
void CAMERA_locate();
// The head-up display box and the screen rectangle of the 3-D picture.
void CAMERA_boxes();
// Near plane, view-centre offsets and far distances for the planes first..last
// drawn in this pass.
void CAMERA_near_and_far(int first, int last);
// The 3-D projection (the fog end is its corner distance), then the pilot's
// head angles.
void CAMERA_project();
