// The sound slots by what they play: one name for each slot the program plays
// by number. The slot table itself (109 slots, the radio chatter from 59 on)
// is in links/sound.h.
#pragma once

constexpr int SOUND_ENGINE_LAST = 7;         // 0..7 the engines' loops
constexpr int SOUND_PROP_FIRST = 8;          // 8..15 the propellers' loops
constexpr int SOUND_PROP_LAST = 15;
constexpr int SOUND_JET = 16;
constexpr int SOUND_RUMBLE = 17;
constexpr int SOUND_WIND = 18;
constexpr int SOUND_RAIN = 19;
constexpr int SOUND_HAIL = 20;
constexpr int SOUND_THUNDER = 21;
constexpr int SOUND_HORN = 22;
constexpr int SOUND_SLOT_STARTER = 23;
constexpr int SOUND_SLOT_ACTUATOR = 24;
constexpr int SOUND_SKID_DRY = 28;
constexpr int SOUND_SKID_WET = 29;
constexpr int SOUND_ROLL_ROUGH = 30;
constexpr int SOUND_TOUCHDOWN_HARD = 32;     // a hard touchdown and a crash sound alike
constexpr int SOUND_CRASH = 32;
constexpr int SOUND_SLOT_CRACK = 33;         // the windshield cracking
constexpr int SOUND_SINK_RATE = 34;
constexpr int SOUND_PULL_UP = 35;
constexpr int SOUND_TOO_LOW_GEAR = 36;
constexpr int SOUND_GLIDESLOPE = 37;
constexpr int SOUND_WIND_SHEAR = 39;
constexpr int SOUND_LOW_ROTOR = 40;          // the low-rotor horn and the autopilot's disconnect alike
constexpr int SOUND_SLOT_AUTOPILOT_OFF = 40;
constexpr int SOUND_FIRST_CALLOUT = 41;
constexpr int SOUND_MORSE_DOT = 52;
constexpr int SOUND_MORSE_DASH = 53;
constexpr int SOUND_OUTER_MARKER = 54;
constexpr int SOUND_MIDDLE_MARKER_A = 55;
constexpr int SOUND_MIDDLE_MARKER_B = 56;
constexpr int SOUND_INNER_MARKER = 57;
constexpr int SOUND_TCAS = 58;
