// Named numbers of the control step beyond the shared ones in core/: the
// propeller modes, the autopilot's mode words (its own header) and the sound
// slots it plays.
#pragma once

#include <cstdint>

#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/key_slots.h"
#include "core/views.h"
#include "flightmodel/control/autopilot_modes.h"

// Propeller modes (ENGN_propmode).
constexpr int32_t PROPMODE_FEATHERED = 0;
constexpr int32_t PROPMODE_NORMAL = 1;
constexpr int32_t PROPMODE_BETA = 2;
constexpr int32_t PROPMODE_REVERSE = 3;

// Joystick axis role of the propeller axis.
constexpr int32_t AXIS_ROLE_PROP = 5;
