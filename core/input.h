// The program's input state, written by the window procedure and the key
// handler and read by the frame loop and the widgets: the mouse record, the
// keyboard globals, the typed-text buffer and the answer of a selection-list
// pop-up.
#pragma once

#include <cstdint>

#include "core/key_slots.h"
#include "core/text_util.h"

// The pointer and its buttons. Positions are interface units relative to the
// current screen's 2-D origin, y upward.
struct mouse_record {
    float mouse_x;
    float mouse_y;
    int32_t mouse_down;          // 1 in the frame in which a button went down
    int32_t mouse_released;      // 1 in the frame in which a button came up
    int32_t mouse_held;          // 1 from a press to its release
    int32_t mouse_panel_drag;    // drag state of the cockpit panel; 0 on every release
    char hover_text[TEXT_SIZE];  // help text of the widget under the pointer
};
extern mouse_record mouse;

// Times on the frame clock (seconds).
extern float mouse_activity_time;   // last press or pointer movement
extern float mouse_press_time;      // last press

// Keyboard.
extern int32_t key_pressed;         // 1 in the frame in which a key went down
extern int32_t key_down;            // 1 from a key-down to the next key-up
extern int32_t key_hold_command;    // a hold-type key command is running
extern int32_t key_char;            // character byte of the last key handled
extern int32_t enter_pressed;       // Return was pressed in this frame
extern int32_t escape_pressed;      // Escape was pressed in this frame (the alert box and the file browser answer it)
extern char typed_text[TEXT_SIZE];  // text typed so far
extern int32_t window_painted;      // 1 once the first paint has been handled
extern int32_t window_created;      // 1 once the window exists

// The pop-up of a selection list (menu 1019): the key of the list whose pop-up
// is open (0 none), the key of the list whose pop-up was answered (0 none) and
// the row chosen.
extern int32_t popup_owner;
extern int32_t popup_answer_owner;
extern int32_t popup_answer;

// Sets all of the above to zero (part of the start-up's state reset).
void INPUT_clear();

// One key character per command slot (core/key_slots.h), read from the key
// file at start-up; INPUT_clear leaves it.
extern uint8_t key_assignment_table[KEY_SLOTS];
