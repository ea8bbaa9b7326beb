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

// The moving map's own values, shared by every map instrument.
struct efis_map_state {
    int32_t type_331_mode = 1;        // 0 centred heading-up, 1 arc heading-up, 2 centred north-up
    int32_t previous_tcas_alert = 0;  // the traffic alert condition of the last map drawn
};
extern efis_map_state efis_map;

// The map's range for a range selector: 10 nm doubled per step up to 640;
// any value outside 0..6 gives 10.
float EFIS_map_range_nm(int selector);

// The page of the first and second synthetic-vision instruments (a third
// shares the first's): 0 the picture, 1 the moving map.
struct synthetic_vision_state {
    int32_t page[2] = {0, 1};
};
extern synthetic_vision_state synthetic_vision;

void GLASS_reset();
