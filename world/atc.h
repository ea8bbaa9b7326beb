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
