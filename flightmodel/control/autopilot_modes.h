// The autopilot's mode words in the autopilot block (sim_cockpit_autopilot):
// the autopilot sets them, the panel's engage lamps and flight director read
// them.
#pragma once

#include <cstdint>

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
