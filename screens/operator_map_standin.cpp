// Stand-in of the operator panel's map state until the map window is built.
#include "screens/operator_map.h"

int32_t chart_airport = -1;
