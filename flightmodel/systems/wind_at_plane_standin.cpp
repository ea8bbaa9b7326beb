// Stand-in storage of the wind at the plane until the weather at the plane is
// built: still air.
#include "flightmodel/systems/wind_at_plane.h"

float wind_vector[3] = {};
float gust_vector[3] = {};
