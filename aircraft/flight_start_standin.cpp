// Stand-in of the flight start until it is built: the call is recorded,
// nothing else happens.
#include "aircraft/flight_start.h"

#include <string>

#include "aircraft/calls_standin.h"
#include "aircraft/launch_flags.h"

int32_t chosen_navaid = -1;
int32_t& situation_hold_a = launch_flags.carried_by_plane1;
int32_t situation_hold_b = 0;
int32_t situation_hold_c = 0;
float situation_altitude = 0.0f;
float situation_speed = 0.0f;

void FLIGHT_init_situation(int code, int sub_mode)
{
    aircraft_standin_calls.push_back("FLIGHT_init_situation(" + std::to_string(code) + "," +
                                     std::to_string(sub_mode) + ")");
}

void FLIGHT_reset_at_start(int, float, float, float, float, float, float, float) {}
