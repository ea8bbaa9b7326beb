// Flight starts: place the user's plane and reset it for a situation code.
#pragma once

#include <cstdint>

// The free start point that codes 800 use: position, elevation (m), heading
// (degrees) and speed (m/s).
struct start_point_record {
    float latitude;
    float longitude;
    float elevation;
    float heading;
    float speed;
};
extern start_point_record start_point;

// The navaid chosen for a navaid start (index into the navaid table, -1 none).
extern int32_t chosen_navaid;

// Hold flags the special situations set; the space key releases them one by one.
extern int32_t situation_hold_a;
extern int32_t situation_hold_b;
extern int32_t situation_hold_c;

// Altitude (m) and speed (m/s) edited on the operator panel and used by the
// special situations.
extern float situation_altitude;
extern float situation_speed;

// Starts a flight: 408 with 400..403 (ramp start or runway of the selected
// airport), 800 with 0 (from the start point), 2800..2805, 3000..3005,
// 3200..3210 with 0 (special situations), 203 and 206 with 0 (after a
// situation or movie file was read).
void FLIGHT_init_situation(int code, int sub_mode);
