// Stand-in of the airport scene build's traffic choices until it is built:
// the first runway of the first airport, no activity.
#include "world/airport_state.h"

traffic_runway_record traffic_runway_state{};
