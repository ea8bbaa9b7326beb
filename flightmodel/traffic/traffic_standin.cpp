// Stand-in of the computer-flown traffic until it is built: the planes stay put.
#include "flightmodel/traffic/traffic.h"

int32_t tow_turn_dir = 0;

void TRAFFIC_update_other(int) {}
