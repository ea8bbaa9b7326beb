// The state of the air-traffic-control radio: one record shared by the
// request window, the request handling, the landing-signal calls, the phrase
// builders and the clearance logic; the key dispatcher, the mode switch, the
// flight start and the own-plane systems write parts of it. Zero at program
// start.
#pragma once

#include <cstdint>

#include "core/text_util.h"

constexpr int ATC_PLAN_FROM_ID_SIZE = 5;   // departure id: four characters and a terminator
constexpr int ATC_PLAN_TO_ID_SIZE = 7;     // destination id as typed on the form
constexpr int ATC_PAGE_COUNT = 8;          // 0 the main page, 1..7 the pick lists

struct atc_state_block {
    int32_t atc_window_open;        // 1 while the window is shown
    int32_t atc_page;               // 0 main page, 1..7 pick lists
    int32_t atc_hover_col;          // highlighted column (pick lists 0..5)
    int32_t atc_hover_row;          // highlighted row 0..28
    int32_t atc_request_pending;    // an approach request is being vectored
    char atc_request_text[TEXT_SIZE];   // the pending request: key and target name
    int32_t atc_dest_airport;       // airport-table index of the plan's destination
    int32_t atc_dest_runway;        // runway chosen on the flight-plan form
    int32_t atc_dest_runway_end;    // its end, 0 or 1
    int32_t atc_phase;              // 0 picked up, 3 cleared, 4 departure, 5 center, 6 approach, 7 tower, 8 landing, 9 ground
    int32_t atc_checkin_expected;   // a controller told the pilot to call the next one
    int32_t atc_ball_called;        // the landing-signal officer called the ball
    float atc_carrier_dx;           // pilot's eye minus the carrier's deck point, metres (local axes)
    float atc_carrier_dy;
    float atc_carrier_dz;
    int32_t atc_plan_filed;         // a flight plan is filed
    int32_t atc_plan_active;        // the filed plan has been picked up
    int32_t atc_plan_option1;       // instrument rules (set) or visual (clear); exclusive with option2
    int32_t atc_plan_option2;
    int32_t atc_plan_sir;           // the controllers say "SIR"
    int32_t atc_plan_madam;         // or "MADAM"
    char atc_plan_from_id[ATC_PLAN_FROM_ID_SIZE];
    char atc_plan_to_id[ATC_PLAN_TO_ID_SIZE];
    int32_t atc_initial_altitude;   // feet, given with the clearance
    int32_t atc_plan_altitude;      // filed cruise altitude, feet
};
extern atc_state_block atc_state;

// The user's spoken callsign (the aircraft's file name less its extension, up
// to its first blank), filled at flight start; the tail number follows it.
extern char atc_callsign_text[TEXT_SIZE];

// Program start: the whole block and every ATC module's kept values at zero
// (the en-route check time at its far-future start).
void ATC_reset_block();
// A new flight: the window closes, the pending request and the flight plan end.
void ATC_reset_for_start();
// A flight start elsewhere: the whole state block at zero, as at program start.
void ATC_zero_state_block();
// The flight start's plan defaults: instrument rules, "SIR", both ids "KMMM";
// and the callsign text from the aircraft's file name.
void ATC_set_start_defaults(const char* aircraft_file_name);
