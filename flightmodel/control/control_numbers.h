// Named numbers of the control step beyond the shared ones in core/: the
// propeller modes, the autopilot mode words and the sound slots it plays.
#pragma once

#include <cstdint>

#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/key_slots.h"
#include "core/views.h"

// Propeller modes (ENGN_propmode).
constexpr int32_t PROPMODE_FEATHERED = 0;
constexpr int32_t PROPMODE_NORMAL = 1;
constexpr int32_t PROPMODE_BETA = 2;
constexpr int32_t PROPMODE_REVERSE = 3;

// Autopilot mode words: 9 is off in each.
constexpr int32_t AP_OFF = 9;
constexpr int32_t AP_AUTOTHROTTLE = 10;         // airspeed_mode: speed by throttle
constexpr int32_t AP_HEADING_HOLD = 11;         // heading_mode
constexpr int32_t AP_WING_LEVELLER = 12;
constexpr int32_t AP_SPEED_BY_PITCH = 13;       // altitude_mode 13..17
constexpr int32_t AP_VERTICAL_SPEED = 14;
constexpr int32_t AP_ALTITUDE_HOLD = 15;
constexpr int32_t AP_LEVEL_CHANGE = 16;
constexpr int32_t AP_PITCH_HOLD = 17;
constexpr int32_t AP_COURSE_ARMED = 18;         // lateral navigation
constexpr int32_t AP_COURSE_CAPTURED = 19;
constexpr int32_t AP_GLIDESLOPE_ARMED = 20;     // vertical navigation
constexpr int32_t AP_GLIDESLOPE_CAPTURED = 21;

// autopilot_mode: below 1 off, 1 the flight director only, 2 the servos fly.
constexpr int32_t AP_MODE_FLIGHT_DIRECTOR = 1;
constexpr int32_t AP_MODE_SERVOS = 2;

// Joystick axis role of the propeller axis.
constexpr int32_t AXIS_ROLE_PROP = 5;
