// The glass instruments: the flight-management page, the moving map, the
// EFIS data readouts and synthetic vision. What each keeps between frames
// lives in one record per module, reset with the panel.
#pragma once

#include <cstdint>

// The flight-management page: the text being edited, the leg-start entry and
// the route figures of the last once-a-second pass.
struct fms_page_state {
    int32_t cursor = 0;               // position in the text being edited
    int32_t editing_altitude = 0;     // 0 the identifier, 1 the altitude text
    int32_t leg_start = -1;           // entry whose passing always moves the destination on; -1 none
    int32_t last_destination = -1;    // the destination index the page last saw
    float distance_nm = 0.0f;         // along the route to the displayed entry
    int32_t hours = 0, minutes = 0;   // time en route
};
extern fms_page_state fms_page;

// Makes flight-plan entry `entry` the GPS destination: its kind and database
// reference (also remembered for that kind), its identifier, and the
// autopilot altitude from its altitude text when that is a number.
void FMS_set_gps_destination(int entry);

// The once-a-second route pass: distance and time to the displayed entry, and
// the destination moved on when the aircraft has passed it.
void FMS_route_pass();

void GLASS_reset();
