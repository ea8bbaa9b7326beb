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
