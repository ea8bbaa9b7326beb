// Stand-in of the rocket, rope, water and ground-contact stages until they are
// built: no forces, never over water, never on the ground.
#include "flightmodel/ground/ground_stages.h"

void ROCKET_engine(int) {}
void ROCKET_thrusters() {}
void ROPE_tow_and_winch() {}
void ROPE_slung_load() {}
int GROUND_over_water() { return 0; }
void FM_water_contact() {}
void FM_ground_contact() {}
void FM_water_scoop() {}
void FM_arresting_hook() {}
