// Stand-in of the control step until it is built: the controls stay as they are.
#include "flightmodel/control/own_physics.h"

int32_t auto_flight_on = 0;
int32_t auto_view_cycle_on = 0;

void FLTMOD_own_physics(int) {}
void CONTROL_reset_state() {}
