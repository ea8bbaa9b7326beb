// What lies under the user's plane: a runway, platform or object top (with
// its height), a ship's deck, and the surface kind the terrain query and the
// ground contact read (49 over no such surface, 154 over a deck, platform,
// object top or road, else the runway's surface code; below 50 plain
// terrain). Two finders fill it. The simulation asks for the decks, the
// platforms, the roofs of the placed and the generated objects and the roads
// in every step of the user's plane (flightmodel/ground/deck_contact.h),
// drawn or not. The scene pass resets the rest before its drawers run and its
// runway pass marks what it finds; the steps that follow read it.
#pragma once

#include <cstdint>

constexpr int32_t SURFACE_NONE = 49;   // no runway, deck or flat top under the plane
constexpr int32_t SURFACE_DECK = 154;  // a ship's deck, a platform or an object top
constexpr int32_t RUNWAY_NONE = -999;

struct surface_state_record {
    // A runway, platform or object top lies under the plane, and its height
    // (local metres). For the platforms and hard roofs this is the `on_oilrig`
    // flag and its `oilrig_deck_height`; runways use the same pair.
    int32_t flat_surface_on;
    float flat_surface_height;
    int32_t surface_code;        // SURFACE_NONE, SURFACE_DECK or the runway's surface code
    float surface_roughness;     // the runway's roughness, 0 elsewhere
    // Over the carrier's or the frigate's deck outline (two names of each
    // word: the scene pass sets on_carrier, the terrain query reads
    // on_carrier_deck).
    union {
        int32_t on_carrier;
        int32_t on_carrier_deck;
    };
    union {
        int32_t on_frigate;
        int32_t on_frigate_deck;
    };
    int32_t runway_under_plane = RUNWAY_NONE;   // index of that runway in its airport, RUNWAY_NONE elsewhere
};
extern surface_state_record surface_state;

// What the simulation's last step found under the user's plane.
struct surface_found_record {
    int32_t on_carrier;
    int32_t on_frigate;
    int32_t flat_on;          // a platform deck or an object's hard roof
    float flat_height;
    int32_t on_deck;          // the decks, platforms and roofs: surface code 154
    int32_t on_road;          // a road span: 154 where no runway lies under the plane
};
extern surface_found_record surface_found;

// Writes surface_found into surface_state. What an earlier call wrote there
// and no one has changed since is taken back first, so a plane that has left
// a deck or roof is over nothing again even when no scene pass runs between.
void GROUND_apply_found();

// The scene pass's start: back to "nothing under the plane" (0, 0, 49, 0, 0,
// 0, RUNWAY_NONE), then what the simulation last found, which holds until
// its next step whatever the pass draws.
void SCENE_surface_reset();

// Nothing under the plane and nothing found (a new flight start, the reset).
void GROUND_surface_reset();
