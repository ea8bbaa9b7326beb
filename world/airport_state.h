// What the airport scene build decides about the airports of the loaded area
// and the computer-flown traffic reads: the runway the traffic approaches,
// the runway marked in use, and how busy the area's airports are.
#pragma once

#include <cstdint>

struct traffic_runway_record {
    int32_t traffic_airport;      // index into the airport table
    int32_t traffic_runway;       // index into that airport's runways
    int32_t traffic_runway_end;   // negative: the opposite direction
    int32_t active_runway;        // the runway of traffic_airport the scene marks as in use
    float airport_activity;       // 0..1, summed over the airports of the loaded area
};
extern traffic_runway_record traffic_runway_state;
