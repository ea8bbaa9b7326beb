// Stand-in of the control step until it is built: the controls stay as they are.
#include "flightmodel/control/own_physics.h"

void FLTMOD_own_physics(int) {}
