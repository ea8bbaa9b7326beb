// Stand-in of the aircraft choice until it is built: the call is recorded;
// the slot keeps no aircraft.
#include "aircraft/acf_choose.h"

#include <string>

#include "aircraft/calls_standin.h"

void ACF_choose_and_load(int slot)
{
    aircraft_standin_calls.push_back("ACF_choose_and_load(" + std::to_string(slot) + ")");
}
