// Stand-in of the weapons until they are built: nothing fires or flies.
#include "flightmodel/weapons/weapons.h"

void WPN_fire_and_fly() {}
void WPN_fly_released(int) {}
