// The key assignment table and the keyboard commands.
//
// Every keyboard command goes through KEY_command_dispatch: letters typed with
// Ctrl (fixed cockpit switches, map and GPS commands), special keys (Tab,
// arrows, keypad) and ordinary characters, which are looked up in the key
// assignment table: 96 command slots, each holding the character that runs
// that command. Other input sources (serial console, joystick buttons, the
// autopilot and operator panels, the own-plane physics, network "CHAR"
// packets, plug-ins) run command i by passing the character of slot i.
#pragma once

#include "scene/scene_state.h"   // the view values the arrows move (fly-by point, orbit angles)
#include <cstdint>

#include "core/input.h"
#include "core/key_slots.h"
#include "core/overlay_texts.h"
#include "core/text_util.h"

// The key assignment table (read from "RESOURCES:KEYS:ORVELL.TXT" here) and
// the dispatcher's modifier classes are core's (core/input.h,
// core/key_slots.h): the lower floors run a key through the hooks with them.

// Shell key codes of the special keys.
constexpr int KEY_CODE_TAB = 0x3000;
constexpr int KEY_CODE_LEFT = 0x7B00;
constexpr int KEY_CODE_RIGHT = 0x7C00;
constexpr int KEY_CODE_DOWN = 0x7D00;
constexpr int KEY_CODE_UP = 0x7E00;
constexpr int KEY_CODE_SHIFT_UP = 50000;
constexpr int KEY_CODE_SHIFT_LEFT = 50001;
constexpr int KEY_CODE_SHIFT_DOWN = 50002;
constexpr int KEY_CODE_SHIFT_RIGHT = 50003;
constexpr int KEY_CODE_KEYPAD_1 = 0x5300;
constexpr int KEY_CODE_KEYPAD_2 = 0x5400;
constexpr int KEY_CODE_KEYPAD_3 = 0x5500;
constexpr int KEY_CODE_KEYPAD_4 = 0x5600;
constexpr int KEY_CODE_KEYPAD_5 = 0x5700;
constexpr int KEY_CODE_KEYPAD_6 = 0x5800;
constexpr int KEY_CODE_KEYPAD_8 = 0x5B00;

// State the dispatcher keeps or owns.
extern float last_step_key_time;     // frame clock of the last heading, course or barometer step key

// The chat field and the overlay's display switches the keys write are the
// overlay's (core/overlay_texts.h).

// Reads the key file into the table. A missing file leaves the table as it
// was; a file of another version than 2 is a fatal alert; a file with fewer
// lines fills the remaining slots with character 255.
void KEY_read_table();
// The same from a given colon path (tests and the start-up).
void KEY_read_table_from(const char* path);

// Runs the keyboard command of one key.
void KEY_command_dispatch(int modifier_class, int key);
// Runs KEY_command_dispatch with the key of assignment slot `slot`; a slot
// outside the table or holding no key runs nothing.
void KEY_run_slot(int modifier_class, int slot);
// Held function keys: F1..F12 give 50..61, with Shift 62..73.
void KEY_engine_controls(int code);
