// The operator panel's map: the airport its airport map shows.
#pragma once

#include <cstdint>

// Airport-table index of the airport shown on the operator panel's airport
// map (mode 23), -1 none. The numeric commands 1400 and up choose it.
extern int32_t operator_map_airport;
