// The operator panel's state: the map view it keeps between frames, the
// placement values of a click on the map and the airport its screens show.
#pragma once

#include <cstdint>

// Airport-table index of the airport shown on screens 18 and 23, -1 none; the
// numeric commands 1400 + k make entry k of the scene's airport list this
// airport, and the airport field of screen 18 sets it.
extern int32_t chart_airport;

struct operator_panel_record {
    float heading_deg = 0.0f;         // placement heading, 0..360
    float click_lat = 0.0f;           // the last map click, degrees
    float click_lon = 0.0f;
    int32_t target_plane = 0;         // plane slot a click places, 0 the user's
    int32_t follow = 1;               // the map follows the user's plane
    int32_t last_screen_key = -1;     // screen id (and chart airport on 23) of the last frame
    char airport_id[5] = {};          // the airport field of screen 18, upper case
    float profile_offset = 0.0f;      // horizontal shift of the approach-profile strip, metres
};
extern operator_panel_record operator_panel;
void OPERATOR_panel_reset();

// The touchdown point of the approach profile: the threshold of the runway end
// of `airport` (runways marked 'x' skipped) whose landing direction differs
// least from `heading` (degrees; the first of equal ones kept), at the
// airport's elevation, in local metres, and that landing direction (degrees).
// False when the airport has no usable runway.
struct airport_record;
bool OPERATOR_profile_touchdown(const airport_record& a, float heading, float& x, float& y, float& z,
                                float& landing_heading);
