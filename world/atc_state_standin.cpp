// Stand-in of the ATC state until the ATC service is built: the block starts
// at zero and the callsign is a fixed one.
#include "world/atc_state.h"

#include <string>

#include "core/text_util.h"
#include "world/calls_standin.h"

atc_flight_plan_state atc_flight_plan = {};
atc_clearance_state atc_clearance = {};

void ATC_callsign(char* buffer, int flag)
{
    world_standin_calls.push_back("ATC_callsign(" + std::to_string(flag) + ")");
    if (buffer) UTIL_strcpy("November one two three, ", buffer);
}
