// The airport and navaid scene around the loaded area: the nearby airport,
// navaid and fix lists with the airport and runway menus, the runway geometry
// of every nearby airport, the terrain and the scenery tiles, the default
// hangars, control towers and navaid huts, the places of the fires and the
// sea objects, and the two planet-sphere display lists.
//
// Reads: lat_ref/lon_ref (written by the caller first), the planet and its
// radius, the navigation tables, the scenery tiles. Writes: the in-area flags
// of every airport, navaid, fix and airway record, the lists below, the menu
// table (menus 7..13 and 20..819), the runway geometry table, the terrain
// grids, the placement list, the fire table, the sea objects, the storm grid,
// the airport activity and the airport and runway of the traffic, and the
// display lists.
#pragma once

#include <cstdint>

constexpr int LOCAL_AIRPORT_MAX = 200;
constexpr int NAVAID_START_LISTS = 2;
constexpr int NAVAID_START_MAX = 200;
constexpr int LOCAL_FIX_MAX = 1200;

// Airport-table indices of the airports of the loaded area, entries 0..last
// (last -1 when the list is empty), in table order.
extern int32_t local_airport_list[LOCAL_AIRPORT_MAX];
extern int32_t local_airport_last;
// Per entry of that list the brightness of its runway lights: the scene
// build sets 10; levels 0..3 (the value modulo 10) are the air traffic
// control's and the scene's.
extern int32_t near_airport_light_state[LOCAL_AIRPORT_MAX];
// Navaid-table indices of the area's VORs (list 0) and NDBs (list 1), the
// VOR and NDB start menus' entries.
extern int32_t navaid_start_list[NAVAID_START_LISTS][NAVAID_START_MAX];
extern int32_t navaid_start_last[NAVAID_START_LISTS];
// Fix-table indices of the area's fixes.
extern int32_t local_fix_list[LOCAL_FIX_MAX];
extern int32_t local_fix_last;

// The smallest and largest local y of the planet's sphere over the area.
extern float area_height_low;
extern float area_height_high;

// The globe the 3-D scene draws from high up (the planet as a textured
// sphere in the local frame) and the unit globe of the globe screen. Each
// list sets its state and binds texture slot 274, then 275, on unit 0 itself
// (so slot 275 is bound after a call). 0 while not made. A scene build only
// marks them due: each is made at its first use after it, through the calls
// below, since most flights never draw either and a start-up need not wait
// for them.
extern uint32_t globe_display_list;
extern uint32_t globe_screen_list;
// The list, made first when a scene build has left it due (0 when it cannot be made).
uint32_t APT_globe_display_list();
uint32_t APT_globe_screen_list();

// Rebuilds the scene: mode 1 after a jump of the origin (everything, the sea
// objects placed afresh), 2..5 after the origin moved one degree west, east,
// north or south (positions carried over, the storm grid's exposed blocks).
void APT_build_scene(int mode);

// Start-up: the lists empty and no display list (those of an earlier OpenGL
// context are forgotten, not deleted).
void APT_scene_reset();

// The items of the airport menus: menu numbers and their command values.
constexpr int MENU_AIRPORT_MAPS = 7;        // commands 1400 + n
constexpr int MENU_RAMP_STARTS = 8;         // 1600 + n, opens menu 20 + n
constexpr int MENU_RUNWAY_STARTS = 9;       // 1800 + n, opens menu 220 + n
constexpr int MENU_APPROACH_3NM = 10;       // 2000 + n, opens menu 420 + n
constexpr int MENU_APPROACH_10NM = 11;      // 2200 + n, opens menu 620 + n
constexpr int MENU_VOR_STARTS = 12;         // 2400 + n
constexpr int MENU_NDB_STARTS = 13;         // 2600 + n
