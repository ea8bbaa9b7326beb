// What the settings screens keep between frames (tabs, scroll positions, the
// weight screen's weapon preview), one record per screen with its reset.
#pragma once

#include <cstdint>

struct weather_screen_state {
    int32_t weather_tab = 0;        // 0 weather, 1 waves, 2 meteorites
    float last_rain = 0.0f;         // rain of the last frame of the weather tab
    int32_t last_rain_set = 0;      // last_rain holds a value
};
extern weather_screen_state weather_screen;
void SETUP_weather_reset();

struct weight_screen_state {
    int32_t weight_tab = 0;             // 0 weights, 1 weapons
    int32_t weapon_preview_slot = 0;    // 0..23
    float heading = 90.0f, heading_target = 90.0f;   // the preview's turning, degrees
    float roll = 0.0f, roll_target = 0.0f;
    float next_change_time = 0.0f;      // frame clock of the next new target
};
extern weight_screen_state weight_screen;
void SETUP_weight_fuel_reset();

// Tabs and scroll positions of the smaller screens.
struct small_screens_state {
    int32_t failures_tab = 0;       // 0..5
    int32_t text_pages_tab = 0;     // 0..4
    int32_t logbook_scroll = 0;     // first logbook entry listed
    int32_t bad_state_logged = 0;   // a failure state outside 0..6 has been written to ERROR.OUT
};
extern small_screens_state small_screens;
void SETUP_small_screens_reset();

// Screen 16's camera: pitch and heading (radians) and zoom, each with its rate,
// gliding toward the view keys' targets; kept while the program runs.
struct path_view_state {
    float pitch = 0.0f, heading = 0.0f, zoom = 1.0f;
    float pitch_rate = 0.0f, heading_rate = 0.0f, zoom_rate = 0.0f;
};
extern path_view_state path_view;
void SETUP_flight_path_3d_reset();

// Screen 17's globe turn (degrees), drawn at random the first time the screen
// is shown and kept while the program runs.
struct globe_screen_state {
    int32_t turned = 0;
    float heading_deg = 0.0f;   // -180..180
    float pitch_deg = 0.0f;     // -90..90
};
extern globe_screen_state globe_screen;
void SETUP_globe_reset();
// The latitude and longitude under the pointer of the globe screen (degrees).
void GLOBE_point_under_mouse(float& lat, float& lon);
