// What the airport scene build decides about the airports of the loaded area
// and the computer-flown traffic reads: the runway the traffic approaches,
// the runway marked in use, and how busy the area's airports are.
#pragma once

#include <cstdint>

// The airport and runway words when there is none to fly to.
constexpr int32_t TRAFFIC_NO_AIRPORT = -1;

struct traffic_runway_record {
    int32_t traffic_airport;      // index into the airport table; TRAFFIC_NO_AIRPORT for none
    int32_t traffic_runway;       // index into that airport's runways; -1 with no airport
    int32_t traffic_runway_end;   // negative: the opposite direction
    int32_t active_runway;        // the runway of traffic_airport the scene marks as in use
    float airport_activity;       // 0..1, summed over the airports of the loaded area
};
extern traffic_runway_record traffic_runway_state;

// Chooses the traffic's airport among the area's listed airports: the one
// nearest the user's plane (the centre of the loaded area while the plane is
// outside it) that has a runway not marked 'x', with the runway end in use
// for the wind as the air traffic control names it, marked in use too. With
// no such airport the record names none. The activity stays as it is.
void APT_choose_traffic_runway();
