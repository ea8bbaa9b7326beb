// The radio stack's records kept between frames, and their reset.
#include "panel/radios/radios.h"
#include "core/reset_registry.h"

gps_unit_state gps_unit;

ORVELL_RESET_RECORD(RADIO_STACK_reset, gps_unit, panel);
