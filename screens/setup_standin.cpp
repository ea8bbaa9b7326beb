// Stand-in of the settings screens not built yet: each call is recorded.
#include "screens/setup.h"

#include "screens/calls_standin.h"

void SETUP_flight_path_3d() { screens_standin_calls.push_back("SETUP_flight_path_3d()"); }
void SETUP_globe() { screens_standin_calls.push_back("SETUP_globe()"); }
