// Stand-in of the flight start until it is built: the call is recorded,
// nothing else happens.
#include "aircraft/flight_start.h"

#include <string>

#include "aircraft/calls_standin.h"

start_point_record start_point = {};
int32_t chosen_navaid = -1;
int32_t situation_hold_a = 0;
int32_t situation_hold_b = 0;
int32_t situation_hold_c = 0;
float situation_altitude = 0.0f;
float situation_speed = 0.0f;

void FLIGHT_init_situation(int code, int sub_mode)
{
    aircraft_standin_calls.push_back("FLIGHT_init_situation(" + std::to_string(code) + "," +
                                     std::to_string(sub_mode) + ")");
}
