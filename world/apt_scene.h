// The airport scene around the current reference point, and the lists of
// airports and navaids near it that the start menus offer.
#pragma once

#include <cstdint>

constexpr int LOCAL_AIRPORT_MAX = 200;
constexpr int NAVAID_START_LISTS = 2;
constexpr int NAVAID_START_MAX = 200;

// Airport-table indices of the airports of the loaded area, entries 0..last
// (last -1 when the list is empty).
extern int32_t local_airport_list[LOCAL_AIRPORT_MAX];
extern int32_t local_airport_last;
// Navaid-table indices offered by the two navaid start menus, entries 0..last.
extern int32_t navaid_start_list[NAVAID_START_LISTS][NAVAID_START_MAX];
extern int32_t navaid_start_last[NAVAID_START_LISTS];

// Rebuilds the airport, navaid and scenery-tile scene around lat_ref/lon_ref
// (and places the user's plane at the start airport). The shell passes 1.
void APT_build_scene(int flag);

// The globe the scene draws from high up: a display list the scene build
// makes (0 while there is none).
extern uint32_t globe_display_list;
