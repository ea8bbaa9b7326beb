// The gauges' and the ECAM's records kept between frames, and their reset.
#include "panel/gauges/gauges.h"

void GAUGES_reset()
{
    small_gauges = small_gauges_state{};
    ecam = ecam_state{};
}
