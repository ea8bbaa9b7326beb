// What the scene pass found under the user's plane in the last drawn frame:
// a runway, platform or object top (with its height), a ship deck, and the
// surface kind the terrain query and the ground contact read (49 over no such
// surface, 154 over a deck, platform or object top, else the runway's surface
// code; below 50 plain terrain).
#pragma once

#include <cstdint>

constexpr int32_t SURFACE_NONE = 49;

struct surface_state_record {
    int32_t flat_surface_on;
    float flat_surface_height;
    int32_t surface_code;
    float surface_roughness;
    int32_t on_carrier_deck;
    int32_t on_frigate_deck;
};
extern surface_state_record surface_state;
