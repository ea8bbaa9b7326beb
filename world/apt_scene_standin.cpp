// Stand-in of the airport scene build until it is built: the call is recorded;
// the lists stay as they are.
#include "world/apt_scene.h"

#include <string>

#include "world/calls_standin.h"

int32_t local_airport_list[LOCAL_AIRPORT_MAX] = {};
int32_t local_airport_last = -1;
int32_t navaid_start_list[NAVAID_START_LISTS][NAVAID_START_MAX] = {};
int32_t navaid_start_last[NAVAID_START_LISTS] = {-1, -1};

void APT_build_scene(int flag) { world_standin_calls.push_back("APT_build_scene(" + std::to_string(flag) + ")"); }
