// What the weather, the time of day and the camera height make of a scene
// pass: the two visibilities and the drawers' gates; the sun and moon, the ten
// sky bands, the light colours and direction, the lights-on share, the
// cockpit-lights switch and the dusk tint; the fog range. Nothing is drawn.
//
// Reads: the weather block (cloud layers, visibility, rain), the sea-level
// temperature, the lightning of the systems step, the camera (view position,
// elevation, view type), zulu time and date, the user's plane (latitude,
// longitude, height above ground, speed, load factor, strobe lights,
// failures), the sky-colour table, the panel power, the frame period, the
// G-load dimming factor, the forest fire, the current airport's elevation.
// Writes: visibility_terrain_m, visibility_effective_m, scene_cloud_bands,
// scene_world_visible, scene_gates, scene_dominant_layer, the sun and moon
// values, sky_ramp, surface_tint, the light colours and sun_angles,
// scene_atmosphere_factor, the cockpit light levels, percent_lights_on,
// cockpit_lights_on, colour-table row 108, fog_start and fog_end.
#pragma once

// Kept from pass to pass: the smoothed red-out of negative load factors.
struct sky_light_state {
    float redout;   // 0..1
};
extern sky_light_state sky_light_kept;
void SKY_reset();

// The cloud bands, both visibilities and the gates.
void SKY_visibility_and_gates();
// Sun and moon, sky bands, light colours and direction, lights and the dusk tint.
void SKY_sun_and_light();
// The fog range (needs the visibilities and the atmosphere factor of the pass).
void SKY_fog();
