// What lies under the user's plane: a runway, platform or object top (with
// its height), a ship's deck, and the surface kind the terrain query and the
// ground contact read (49 over no such surface, 154 over a deck, platform,
// object top or road, else the runway's surface code; below 50 plain
// terrain). One finder fills it afresh at the start of every frame of flight
// (flightmodel/ground/surface_under.h), drawn or not; the simulation's stages
// and the drawing read it.
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
    // word: the finder sets on_carrier, the terrain query reads
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

// Nothing under the plane (0, 0, 49, 0, 0, 0, RUNWAY_NONE): a new flight
// start, the reset.
void GROUND_surface_reset();
