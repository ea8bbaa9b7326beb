// The radio stack's records kept between frames, and their reset.
#include "panel/radios/radios.h"

gps_unit_state gps_unit;

void RADIO_STACK_reset()
{
    radio_heads = radio_heads_state{};
    transponder = transponder_state{};
    gps_unit = gps_unit_state{};
}
