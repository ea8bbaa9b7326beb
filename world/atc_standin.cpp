// Stand-in of the ATC service until it is built: the request is recorded.
#include "world/atc.h"

#include <string>

#include "world/calls_standin.h"

atc_window_state atc_window = {};

void ATC_request_menu(int flag) { world_standin_calls.push_back("ATC_request_menu(" + std::to_string(flag) + ")"); }
