// The air-traffic-control window as the keyboard sees it.
#pragma once

#include <cstdint>

struct atc_window_state {
    int32_t open;          // 0 closed
    int32_t sub_state;
    int32_t selected_row;  // moved by the arrow keys; the ATC code keeps them in range
    int32_t selected_col;
};
extern atc_window_state atc_window;

// The pilot-request step of the ATC window (Return while it is open).
void ATC_request_menu(int flag);

// Clearance delivery, departure, en-route, approach, tower and ground
// hand-offs; the plane step calls it with 0 once a second while a flight-plan
// clearance is active.
void ATC_clearance_and_handoffs(int mode);
// Answers the pending pilot request; called once a second while one is pending.
void ATC_handle_request(int request);
// Landing-signal calls on a carrier approach; called every 5 s.
void ATC_carrier_lso();
