// Stand-in of the aircraft load and set-up until it is built: the call is
// recorded and the requested file counts as read.
#include "aircraft/acf_load.h"

#include <string>

#include "aircraft/calls_standin.h"

int ACF_load_and_setup(int slot)
{
    aircraft_standin_calls.push_back("ACF_load_and_setup(" + std::to_string(slot) + ")");
    return 1;
}
