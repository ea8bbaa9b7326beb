// The application mode: the one window always shows exactly one mode.
//   -1       the intro picture (the next frame turns it into 0 without a switch)
//    0       flying
//    1..24   the settings screens (13 is the start screen)
//  996       the alert box
//  998, 999  the file browser, open and save
// The mode switch itself (APPLICATION_set_mode) belongs to the program's spine;
// everything else reads the mode and the program-wide flags from here.
#pragma once

#include <cstdint>

constexpr int32_t MODE_INTRO = -1;
constexpr int32_t MODE_FLYING = 0;

// The settings screens.
constexpr int32_t MODE_CREDITS = 1;
constexpr int32_t MODE_AIRPORT_LIST = 2;
constexpr int32_t MODE_NETWORK = 3;             // network and data output
constexpr int32_t MODE_JOYSTICK = 4;            // joystick and equipment
constexpr int32_t MODE_SOUND = 5;
constexpr int32_t MODE_RENDERING = 6;           // rendering and language
constexpr int32_t MODE_MOVIE = 7;
constexpr int32_t MODE_WEATHER = 8;
constexpr int32_t MODE_DATE_TIME = 9;
constexpr int32_t MODE_WEIGHT_FUEL = 10;
constexpr int32_t MODE_FAILURES = 11;
constexpr int32_t MODE_OPERATION_PREFS = 12;
constexpr int32_t MODE_START_SCREEN = 13;       // date, weather and airport in one screen
constexpr int32_t MODE_AIRCRAFT_PATHS = 14;
constexpr int32_t MODE_OPERATOR = 15;           // operator panel with map
constexpr int32_t MODE_FLIGHT_PATH_3D = 16;
constexpr int32_t MODE_GLOBE = 17;
constexpr int32_t MODE_OPERATOR_STATION = 18;   // operator panel with map, on the operator station
constexpr int32_t MODE_DATA_GRAPH = 19;
constexpr int32_t MODE_LOGBOOK = 20;
constexpr int32_t MODE_TEXT_PAGES = 21;
constexpr int32_t MODE_PLANET = 22;
constexpr int32_t MODE_OPERATOR_AIRPORT = 23;   // operator panel with airport map
constexpr int32_t MODE_FLIGHT_PLAN = 24;
constexpr int32_t MODE_FIRST_SCREEN = MODE_CREDITS;
constexpr int32_t MODE_LAST_SCREEN = MODE_FLIGHT_PLAN;

constexpr int32_t MODE_ALERT = 996;
constexpr int32_t MODE_BROWSER_OPEN = 998;
constexpr int32_t MODE_BROWSER_SAVE = 999;

// The file browser, open or save.
constexpr bool MODE_is_browser(int32_t mode) { return mode == MODE_BROWSER_OPEN || mode == MODE_BROWSER_SAVE; }

// The alert box and the file browser: modes that run their own modal loop.
constexpr bool MODE_is_modal(int32_t mode)
{
    return mode == MODE_ALERT || MODE_is_browser(mode);
}

// The three operator-panel screens (they share the panel, its keys and the
// map-sized screen area).
constexpr bool MODE_is_operator_panel(int32_t mode)
{
    return mode == MODE_OPERATOR || mode == MODE_OPERATOR_STATION || mode == MODE_OPERATOR_AIRPORT;
}

// The two screens that show a 3-D map the arrow and zoom keys turn and scale.
constexpr bool MODE_is_map_view(int32_t mode) { return mode == MODE_FLIGHT_PATH_3D || mode == MODE_GLOBE; }

// A settings screen is up: any mode but flying, the alert box and the file
// browser (the intro picture counts as one too; it lasts no longer than the
// first frame). Such a screen has its corner close boxes.
constexpr bool MODE_is_settings_screen(int32_t mode) { return mode != MODE_FLYING && !MODE_is_modal(mode); }

extern int32_t app_mode;

// MODE_is_settings_screen for the current mode.
inline bool APP_settings_screen_open() { return MODE_is_settings_screen(app_mode); }

// 1 ends the main loop after the current frame.
extern int32_t quit_flag;

// Set by the start-up once the window, the OpenGL context and the first mode
// exist; while it is 0 an alert goes to the platform's message box.
extern int32_t gl_ready;

// Set by every mode switch (and two commands), cleared by the scene's 2-D
// pass; the loading screen draws nothing while it is 0.
extern int32_t redraw_pending;
