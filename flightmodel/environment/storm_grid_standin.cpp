// Stand-in of the storm grid's cell mapping until the storm grid is built:
// every position maps to the middle cell.
#include "flightmodel/atmosphere.h"

int ATMO_storm_cell_x(float) { return 127; }
int ATMO_storm_cell_z(float) { return 127; }
