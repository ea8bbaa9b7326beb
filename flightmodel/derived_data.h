// The integration of the user's plane: two half-steps of half the frame
// period (on or near the ground or water, as many equal steps as keep each
// within CONTACT_STEP_SEC), each advancing the clocks, running the force
// build-up and integrating attitude and position, then the flight data the instruments,
// sounds and the next step read; after them the released weapons, the stall
// warning and the ends of the tow and winch lines and the slung load.
//
// Reads: pln[0], pln[1]; flt[1] (the towing or carrying plane); the frame
// period; the wind at the plane, sim_weather rho, sigma and speed of sound;
// the launch flags and the winch point; the stability-test requests;
// dump_next_cycle; crash_hold_until and the frame clock.
// Writes: flt[0] attitude, quaternion, position, speeds, air data, path
// angles, turn and slip, cached sines and cosines, stallwarning; the three
// clocks (total flight, total running and network time); rope_points; the
// step record (each step's length, number and the plane held; what the
// frame's steps met).
#pragma once

// The rope and load points of the user's plane, local metres (velocity m/s):
// end A of a tow or winch line on the user's plane, end B on the towing plane
// or the winch; the slung load's attachment point, position and velocity.
// Read by the force build-up and the scene.
struct rope_points_block {
    float line_a[3];
    float line_b[3];
    float load_attach[3];
    float load_pos[3];
    float load_vel[3];
};
extern rope_points_block rope_points;

// The longest step of the integration while the plane is in contact with the
// ground or water, or within CONTACT_SUBSTEP_HEIGHT_M above its resting
// height: short enough that the tyres' and floats' forces come out the same
// at every frame rate.
constexpr float CONTACT_STEP_SEC = 1.0f / 240.0f;
constexpr float CONTACT_SUBSTEP_HEIGHT_M = 2.0f;

// How many steps a frame of this period runs: 2 in the air, and in contact
// as many as keep each within CONTACT_STEP_SEC (at least 2).
int FLTMOD_steps_in_frame(float period, bool in_contact);

// What the integration keeps about its last frame: how many steps ran the
// force build-up (while the plane flies itself, FLTMOD_steps_in_frame of the
// frame; 0 while moved from outside).
struct derived_data_state {
    int buildups_last_frame;
};
extern derived_data_state derived_state;
void FLTMOD_derived_reset();

// Plane n's path angles, flow angles, their sines and cosines and its air
// data, from its velocity, attitude and the wind, as a half-step works them
// out after moving the plane; a slot outside 0..9 does nothing.
void FLTMOD_flow_at_plane(int n);

// One frame of plane n's integration and derived data (n is always 0).
void FLTMOD_derived_data(int n);
