// The flight-plan part of the ATC state block that the mode switch reads and
// writes when the flight plan screen closes, and the user's spoken callsign.
#pragma once

#include <cstdint>

constexpr int ATC_PLAN_TO_ID_SIZE = 7;

struct atc_flight_plan_state {
    int32_t atc_request_pending;                // an approach request is being vectored
    int32_t atc_dest_airport;                   // airport-table index of the destination
    int32_t atc_plan_filed;                     // a flight plan is filed (requested)
    int32_t atc_plan_active;                    // the filed plan has been picked up
    char atc_plan_to_id[ATC_PLAN_TO_ID_SIZE];   // destination id as typed on the form
};
extern atc_flight_plan_state atc_flight_plan;

// The flight-plan clearance words the flight start fills and the callsign
// text the controllers speak.
constexpr int ATC_CALLSIGN_SIZE = 264 * 4;   // the callsign text area
constexpr int ATC_PLAN_VALUES = 11;
constexpr int ATC_PLAN_ID_SIZE = 5;
struct atc_clearance_state {
    int32_t plan_flags[2];                   // both set: a flight-plan clearance is active
    char callsign[ATC_CALLSIGN_SIZE];
    float plan_values[ATC_PLAN_VALUES];
    char departure_id[ATC_PLAN_ID_SIZE];      // four characters and a terminator
    char destination_id[ATC_PLAN_ID_SIZE];
};
extern atc_clearance_state atc_clearance;

// Writes the user's spoken callsign into the 500-byte buffer.
void ATC_callsign(char* buffer, int flag);
