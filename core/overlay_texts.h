// What the 2-D overlay of the flying view shows at the pilot's request: the
// text file window (command 1208, shown by 1209), the checklist window
// (1211, shown by 1212), the network chat field (the Return key) and the two
// display switches Tab toggles. The spine's commands and keys write them;
// the overlay reads them and steps checklist_current on clicks.
#pragma once

#include <cstdint>

#include "core/text_util.h"

// The text file window and the checklist window.
constexpr int TEXT_WINDOW_SIZE = 5000;      // 4,999 characters and a terminator
constexpr int CHECKLIST_LINES = 200;
constexpr int CHECKLIST_LINE_SIZE = 150;    // 149 characters and a terminator
// The loaded flags say a file was read into the window, an empty one included.
extern char notes_text[TEXT_WINDOW_SIZE];
extern int32_t notes_text_length;
extern int32_t notes_loaded;
extern int32_t notes_shown;
extern char checklist_lines[CHECKLIST_LINES][CHECKLIST_LINE_SIZE];
extern int32_t checklist_count;
extern int32_t checklist_current;
extern int32_t checklist_loaded;
extern int32_t checklist_shown;

// The chat field and the overlay's two display switches.
extern uint8_t overlay_flag_a;       // both toggled by Tab
extern uint8_t overlay_flag_b;
extern int32_t chat_typing;          // a network text message is being typed
extern char chat_text[TEXT_SIZE];    // the message being typed
