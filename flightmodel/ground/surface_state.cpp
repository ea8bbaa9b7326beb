#include "flightmodel/ground/surface_state.h"

#include "core/reset_registry.h"

surface_state_record surface_state{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0, RUNWAY_NONE};

void GROUND_surface_reset() { surface_state = surface_state_record{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0, RUNWAY_NONE}; }
ORVELL_RESET(GROUND_surface_reset, program);
