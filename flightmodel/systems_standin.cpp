// Stand-in of the own-plane systems step until it is built: the call is recorded.
#include "flightmodel/systems.h"

#include "flightmodel/calls_standin.h"

int32_t fail_now_request = 0;
float crash_hold_until = 0.0f;   // a value the systems step keeps: moves with it

void SYSTEMS_own_plane_update() { flightmodel_standin_calls.push_back("SYSTEMS_own_plane_update()"); }
