// Stand-in of the engines until they are built: no thrust, no torque.
#include "flightmodel/propulsion/propulsion.h"

void ENGN_jet_engines(int) {}
void ENGN_prop_engines() {}
void ENGN_torque_roll_trim() {}
int PROP_is_rotor(int) { return 0; }
