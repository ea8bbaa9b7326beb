// The UI text table: the language's 1000 numbered interface texts, filled by
// the language set-up (shell/lang.h) and read by every subsystem that prints a
// label of the program's own (the reports print the part names from it).
#pragma once

#include "core/text_util.h"

constexpr int UI_TEXT_COUNT = 1000;
constexpr int UI_TEXT_PART_NAMES = 820;   // entries 820 and up: the names of the aircraft parts

// The UI text table; an entry no line fills is empty.
extern char ui_text_table[UI_TEXT_COUNT][TEXT_SIZE];

// Entry n of the table ("" for an n outside 0..999).
const char* LANG_ui_text(int n);
// Entry 820 + n ("" when 820 + n is outside the table).
const char* LANG_text_at_820(int n);

// The default aircraft, set by the language set-up: its path relative to the
// program folder and its file name. The aircraft load falls back to it.
extern char default_aircraft_path[TEXT_SIZE];
extern char default_aircraft_name[TEXT_SIZE];
