// What the scene pass found under the user's plane in the last drawn frame:
// a runway, platform or object top (with its height), a ship deck, and the
// surface kind the terrain query and the ground contact read (49 over no such
// surface, 154 over a deck, platform or object top, else the runway's surface
// code; below 50 plain terrain). The scene pass decides it each frame; the
// simulation cycle that follows (one frame later) reads it.
#pragma once

#include <cstdint>

constexpr int32_t SURFACE_NONE = 49;   // no runway, deck or flat top under the plane
constexpr int32_t SURFACE_DECK = 154;  // a ship's deck, a platform or an object top

struct surface_state_record {
    int32_t flat_surface_on;     // a runway, platform or object top lies under the plane
    float flat_surface_height;   // its height, local metres
    int32_t surface_code;        // SURFACE_NONE, SURFACE_DECK or the runway's surface code
    float surface_roughness;     // the runway's roughness, 0 elsewhere
    int32_t on_carrier_deck;     // over the carrier's deck outline
    int32_t on_frigate_deck;     // over the frigate's deck outline
};
extern surface_state_record surface_state;

// Back to "nothing under the plane": 0, 0, 49, 0, 0, 0 (the scene pass does it
// before its drawers look for the surface).
void SCENE_surface_reset();

// The scene pass's decision for this frame: resets the state, then marks what
// lies under the user's plane (flt[0].local_x, local_z).
void SCENE_surface_under_plane();
