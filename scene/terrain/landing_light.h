// The user's landing and taxi lights as light on the scene: OpenGL light 1
// at the aircraft's landing light, and where its beam meets the ground, the
// splash projection that maps ground points into the splash texture (slot
// 212). The light only acts while the scene is dark: the three cockpit light
// levels sum to 0.4 or less.
//
// Reads: plane 0's light switches, attitude and roll sines, position and
// elevation, nose-wheel steering; the aircraft's first landing light and its
// beam (pitch, heading offset, range and spread); the selected airport's
// elevation; the cockpit light levels; gload_dim_factor; the daylight colour
// of the sky-colour table.
// Writes: light 1, landing_splash_on, landing_splash_projection and, on each
// full set-up, surface_tint.
#pragma once

#include <cstdint>

// Light 1 shines as the landing light and the splash projection is valid.
extern int32_t landing_splash_on;

// A ground point (x, z) maps to u = u_per_x (x - centre_x) + u_per_z (z -
// centre_z) + 0.5 across the beam and v = v_per_x (x - centre_x) + v_per_z
// (z - centre_z) + 0.5 along it.
struct landing_splash_projection_record {
    float centre_x, centre_z;   // local metres
    float u_per_x, u_per_z;     // texture units per metre
    float v_per_x, v_per_z;
};
extern landing_splash_projection_record landing_splash_projection;

// Kept between calls: whether the last full set-up found a splash on the
// ground (a call without the full set-up reuses it).
struct landing_light_kept_record {
    int32_t projection_valid;
};
extern landing_light_kept_record landing_light_kept;
void LIGHTS_landing_reset();

// on: switch light 1 on when the lights and the darkness allow it, else off;
// full: also place the light and work out the splash. Every on-call is paired
// with an off-call, so light 1 is off outside the ground and object passes.
void LIGHTS_setup_gl_landing(int on, int full);

// The beam of the aircraft's first landing light as the aircraft record keeps
// it: the heading offset from the nose (degrees), the range factor and the
// half-spread (degrees). The record keeps them in its three unnamed words
// after the head-up display box (a converted old file gets 1.0 and 20.0).
struct acf_struct;
float ACF_lanlite_psi(const acf_struct& a);
float ACF_lanlite_power(const acf_struct& a);
float ACF_lanlite_spread(const acf_struct& a);
// The flag that turns the beam with the nose wheel (the flag word after the
// tow and winch hooks).
int ACF_lanlite_steers(const acf_struct& a);
