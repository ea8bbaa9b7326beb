// Key-command slots: the 96 entries of the key assignment table. Slot i holds
// the character that runs command i; the keyboard, the serial console, the
// joystick buttons, the autopilot and operator panels, the own-plane physics
// and the plug-ins run a command by passing the character of its slot.
// Commands that step a value come in pairs, the step down (left, earlier,
// less) in the first slot and the step up in the next.
#pragma once

constexpr int KEY_SLOTS = 96;

// Modifier classes of the key dispatcher (the hooks CORE_run_key and
// CORE_run_key_slot).
constexpr int DISPATCH_PLAIN = 0;     // a typed character
constexpr int DISPATCH_SPECIAL = 1;   // a shell key code (the special keys)
constexpr int DISPATCH_COMMAND = 2;   // a character taken from the key assignment table
constexpr int DISPATCH_CTRL = 3;      // a letter with Ctrl ('a'..'z', upper case with Shift)

constexpr int KEY_SLOT_PAUSE = 0;
constexpr int KEY_SLOT_REVERSERS = 1;
constexpr int KEY_SLOT_JETTISON = 2;
constexpr int KEY_SLOT_BRAKES = 3;
constexpr int KEY_SLOT_PARKING_BRAKE = 4;
constexpr int KEY_SLOT_GEAR = 5;
constexpr int KEY_SLOT_TRANSPONDER_IDENT = 6;
constexpr int KEY_SLOT_CLOCK_EARLIER = 7;
constexpr int KEY_SLOT_CLOCK_LATER = 8;
constexpr int KEY_SLOT_AUTOPILOT_OFF = 9;
constexpr int KEY_SLOT_AUTOTHROTTLE = 10;
constexpr int KEY_SLOT_AP_HEADING = 11;
constexpr int KEY_SLOT_AP_WING_LEVELLER = 12;
constexpr int KEY_SLOT_AP_ALTITUDE_FIRST = 13;   // 13..17: the five altitude modes
constexpr int KEY_SLOT_AP_SPEED_BY_PITCH = 13;
constexpr int KEY_SLOT_AP_VERTICAL_SPEED = 14;
constexpr int KEY_SLOT_AP_ALTITUDE_HOLD = 15;
constexpr int KEY_SLOT_AP_LEVEL_CHANGE = 16;
constexpr int KEY_SLOT_AP_PITCH_HOLD = 17;
constexpr int KEY_SLOT_AP_ALTITUDE_LAST = 17;
constexpr int KEY_SLOT_AP_LATERAL_NAV = 18;
constexpr int KEY_SLOT_AP_VERTICAL_NAV = 20;
constexpr int KEY_SLOT_TARGET_PREVIOUS = 22;
constexpr int KEY_SLOT_TARGET_NEXT = 23;
constexpr int KEY_SLOT_HEADING_BUG_LEFT = 24;
constexpr int KEY_SLOT_HEADING_BUG_RIGHT = 25;
constexpr int KEY_SLOT_BAROMETER_DOWN = 26;
constexpr int KEY_SLOT_BAROMETER_UP = 27;
constexpr int KEY_SLOT_NAV1_COURSE_DOWN = 28;
constexpr int KEY_SLOT_NAV1_COURSE_UP = 29;
constexpr int KEY_SLOT_NAV2_COURSE_DOWN = 30;
constexpr int KEY_SLOT_NAV2_COURSE_UP = 31;
constexpr int KEY_SLOT_COM1_MHZ_DOWN = 32;
constexpr int KEY_SLOT_COM1_MHZ_UP = 33;
constexpr int KEY_SLOT_COM1_KHZ_DOWN = 34;
constexpr int KEY_SLOT_COM1_KHZ_UP = 35;
constexpr int KEY_SLOT_NAV1_MHZ_DOWN = 36;
constexpr int KEY_SLOT_NAV1_MHZ_UP = 37;
constexpr int KEY_SLOT_NAV1_KHZ_DOWN = 38;
constexpr int KEY_SLOT_NAV1_KHZ_UP = 39;
constexpr int KEY_SLOT_COM2_MHZ_DOWN = 40;
constexpr int KEY_SLOT_COM2_MHZ_UP = 41;
constexpr int KEY_SLOT_COM2_KHZ_DOWN = 42;
constexpr int KEY_SLOT_COM2_KHZ_UP = 43;
constexpr int KEY_SLOT_NAV2_MHZ_DOWN = 44;
constexpr int KEY_SLOT_NAV2_MHZ_UP = 45;
constexpr int KEY_SLOT_NAV2_KHZ_DOWN = 46;
constexpr int KEY_SLOT_NAV2_KHZ_UP = 47;
constexpr int KEY_SLOT_ADF_HUNDREDS_DOWN = 48;   // 48..53: ADF digits 1..3, down and up
constexpr int KEY_SLOT_ADF_HUNDREDS_UP = 49;
constexpr int KEY_SLOT_ADF_TENS_DOWN = 50;
constexpr int KEY_SLOT_ADF_TENS_UP = 51;
constexpr int KEY_SLOT_ADF_UNITS_DOWN = 52;
constexpr int KEY_SLOT_ADF_UNITS_UP = 53;
constexpr int KEY_SLOT_SQUAWK_THOUSANDS_DOWN = 54;   // 54..61: squawk digits 1..4, down and up
constexpr int KEY_SLOT_SQUAWK_THOUSANDS_UP = 55;
constexpr int KEY_SLOT_SQUAWK_HUNDREDS_DOWN = 56;
constexpr int KEY_SLOT_SQUAWK_HUNDREDS_UP = 57;
constexpr int KEY_SLOT_SQUAWK_TENS_DOWN = 58;
constexpr int KEY_SLOT_SQUAWK_TENS_UP = 59;
constexpr int KEY_SLOT_SQUAWK_UNITS_DOWN = 60;
constexpr int KEY_SLOT_SQUAWK_UNITS_UP = 61;
constexpr int KEY_SLOT_FLAPS_UP = 62;            // one detent up (less flap)
constexpr int KEY_SLOT_FLAPS_DOWN = 63;
constexpr int KEY_SLOT_ENGINE_HEAT_OFF = 64;
constexpr int KEY_SLOT_ENGINE_HEAT_ON = 65;
constexpr int KEY_SLOT_SPEEDBRAKE_IN = 66;
constexpr int KEY_SLOT_SPEEDBRAKE_OUT = 67;
constexpr int KEY_SLOT_AILERON_TRIM_LEFT = 68;
constexpr int KEY_SLOT_AILERON_TRIM_RIGHT = 69;
constexpr int KEY_SLOT_RUDDER_TRIM_LEFT = 70;
constexpr int KEY_SLOT_RUDDER_TRIM_RIGHT = 71;
constexpr int KEY_SLOT_ELEVATOR_TRIM_DOWN = 72;  // nose down
constexpr int KEY_SLOT_ELEVATOR_TRIM_UP = 73;
constexpr int KEY_SLOT_VIEW_FORWARD = 74;
constexpr int KEY_SLOT_VIEW_FORWARD_BARE = 75;   // forward without the panel: with the HUD, then with nothing
constexpr int KEY_SLOT_VIEW_NEXT = 76;           // around the aircraft
constexpr int KEY_SLOT_VIEW_PREVIOUS = 77;
constexpr int KEY_SLOT_VIEW_BACK = 78;
constexpr int KEY_SLOT_VIEW_TOWER = 79;
constexpr int KEY_SLOT_VIEW_RUNWAY = 80;
constexpr int KEY_SLOT_VIEW_CHASE = 81;
constexpr int KEY_SLOT_VIEW_ORBIT = 82;
constexpr int KEY_SLOT_VIEW_ORBIT_PANEL = 83;
constexpr int KEY_SLOT_VIEW_FLYBY = 84;
constexpr int KEY_SLOT_VIEW_NO_PANEL = 85;
constexpr int KEY_SLOT_VIEW_HUD = 86;
constexpr int KEY_SLOT_SEE_THROUGH_PANEL = 87;
constexpr int KEY_SLOT_SMOKE = 88;
constexpr int KEY_SLOT_ZOOM_OUT = 89;            // also the operator panel's page 4
constexpr int KEY_SLOT_ZOOM_IN = 90;             // also the operator panel's page 5
constexpr int KEY_SLOT_DATA_TO_FILE = 91;
constexpr int KEY_SLOT_REPLAY = 92;
constexpr int KEY_SLOT_VIEW_FLYBY_DRIFT = 93;
