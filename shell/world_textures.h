// The world texture set: the fixed texture slots the 3-D scene draws runways,
// buildings, clouds, fire, overlays, the moon, roads and trees from. The set
// follows two settings: the rendering resolution (a change reloads every image
// at the new size, and every aircraft) and the planet (a change reloads the
// planet pair and the trees). Called once at start-up and in every frame of
// the flying and start modes; without a change it only compares.
#pragma once

#include <cstdint>

// The slots of the set are in core/texture_slots.h.
constexpr int WORLD_RIVERBANK_MAX = 256;

// What the loader remembers between calls.
struct world_textures_state {
    int32_t last_res = -99;        // resolution of the last load
    int32_t last_planet = -99;     // planet of the last load
    int32_t previous_res = 0;      // resolution the aircraft were last loaded for
    int32_t started = 0;           // previous_res has been taken
    int32_t cirrus_number = 0;     // 1..4: the cirrus image chosen at the last full load
    // The light sprites the start-up loaded before the set: their resolution
    // and the slot's upload count then, so the set does not load them again.
    int32_t lights_res = -99;
    uint32_t lights_uploads = 0;
};
extern world_textures_state world_textures;
void WORLD_textures_reset();
// Start-up: the light sprites are in their slot at the present resolution.
void WORLD_textures_lights_loaded();

// Brings the texture slots in line with the rendering resolution and the planet.
void WORLD_load_textures();
