// What the airport drawers share: texture coordinates per texture unit, the
// landing light's splash coordinates (the runway quads and the checked
// look-ups of nearby airports, runways and their geometry are the world's,
// world/runway_geometry.h).
#pragma once

#include "world/navdb.h"
#include "world/runway_geometry.h"

// Texture coordinate (s, t) for texture unit `unit`, by the rule of the
// enabled unit count: a plain coordinate with one unit, a multi-texture one
// with more; none for a unit that is not enabled.
void AIRPORT_tex(int unit, float s, float t);
// The landing light's splash coordinate of the ground point (x, z) on `unit`.
void AIRPORT_splash_tex(int unit, float x, float z);
// Texture unit `unit` modulates the colour below it.
void AIRPORT_modulate(int unit);

// Grass, dirt, gravel, lakebed and the grass and dirt helipads.
bool AIRPORT_unpaved(int surface);

// The local point of a latitude and longitude at `radius` from the planet's
// centre, on the sphere about the local origin.
void AIRPORT_on_sphere(float lat, float lon, double radius, float out[3]);

// The beacon tower, windsocks and runway lights of entry n of the nearby list.
void AIRPORT_draw_lights(int n);
// The signs beside runway r of the selected airport a. Their places are
// kept from frame to frame while the runways, the airport's elevation and the
// origin stay the same.
void AIRPORT_draw_signs(const airport_record& apt, int r);
void AIRPORT_signs_reset();
// Ten buoys along water runway r.
void AIRPORT_draw_buoys(const runway_geometry_record& g);
// Another aircraft parked on apron r of the selected airport.
void AIRPORT_park_aircraft(int plane, int r, const runway_geometry_record& g);
