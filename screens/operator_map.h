// The operator panel's map: the airport its airport map (screen 23) shows.
#pragma once

#include <cstdint>

// Airport-table index of the airport shown on screen 23, -1 none; the numeric
// commands 1400 + k make entry k of the scene's airport list this airport.
extern int32_t chart_airport;
