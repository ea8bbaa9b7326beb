// The launch flags of the special flight starts: aero-tow, winch launch, the
// carrier catapult and arresting hook, and a plane carried under a mother
// ship. The flight start sets them, the key commands hook and unhook, the
// ground under the plane (flightmodel/ground/surface_under.h) hooks up, lets
// go and catches, the force build-up and the ground contact read them, and
// the scene draws the prompts and ropes from them.
#pragma once

#include <cstdint>

struct launch_flags_block {
    int32_t aero_tow_mode;               // aero-tow situation: plane 1 tows the user's plane
    int32_t tow_situation;               // plane 1 flies as the tow plane
    int32_t tow_attached;                // the tow rope is hooked
    int32_t winch_mode;                  // winch-launch situation
    int32_t winch_attached;              // the winch cable is hooked (released past 60 degrees of elevation)
    int32_t plane1_straight_situation;   // plane 1 flies as a mother ship
    int32_t mothership_carried;          // the user's plane rides under plane 1
    int32_t catapult_hold;               // the plane stands on the catapult, held until the parking brake is released
    int32_t catapult_fired;              // the catapult throws the plane (cleared once it is off the deck)
    float catapult_launch_time;          // frame clock of the launch
    float catapult_accel_mss;            // the catapult's acceleration, m/s^2
    int32_t arrest_engaged;              // the arresting hook has caught a wire
    float arrest_decel;                  // the wire's deceleration, m/s^2
    int32_t tow_armed;                   // aero-tow start: the rope hooks when the parking brake is released
    int32_t winch_armed;                 // winch start: the cable pulls when the parking brake is released
    int32_t hook_active;                 // the wire pulls
    float winch_x, winch_y, winch_z;     // the winch, local metres
    float winch_cable_m;                 // cable length out, m
    float rope_pitch_deg;                // tow or winch rope angles relative to the body, degrees
    float rope_side_deg;                 //   (drawing and the tow-wake test)
};
extern launch_flags_block launch_flags;

// All flags cleared, lengths and points 0.
void LAUNCH_reset();

// The catapult's stroke: from the catapult spot to the bow, less a margin so
// the plane is up to speed before the deck ends.
constexpr float CATAPULT_STROKE_M = 90.0f;
constexpr float CATAPULT_ACCEL_MIN_MSS = 3.0f;
constexpr float CATAPULT_ACCEL_MAX_MSS = 60.0f;

// The acceleration that takes a plane of estimated stall speed `est_vs_mps`
// from rest on the deck to 1.2 times that speed over the deck within the
// stroke (the ship's own 15 m/s of wind over the deck comes on top), held to
// 3..60 m/s^2; a speed that is not a positive number gives the least.
float LAUNCH_catapult_accel(float est_vs_mps);

// Whether the catapult takes the user's aircraft. A rotorcraft lifts off the
// deck on its collective: hooked, its rotor lifted it off at the start's
// collective with its forward skids still held to the catapult, and the shot
// carried it off the bow.
bool LAUNCH_catapult_takes_plane();

// The plane is hooked to the catapult: `catapult_hold` set and the stroke's
// acceleration chosen for the user's aircraft.
void LAUNCH_catapult_hook_up();
