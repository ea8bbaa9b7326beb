// The language texts: every label, caption and message of the program's own
// screens comes from the UI text table, 1000 numbered texts read from
// "ORVELL.TXT" in the current language's folder under "RESOURCES:TEXT:".
// The language set-up also resets the default start airport and aircraft and
// rebuilds the menus of the language.
//
// The text file: the data-file header with version 1, then one text per line,
// a decimal index 0..999, white space and the text to the end of the line.
// Indices come in any order, each at most once; a negative index ends the list.
#pragma once

#include <cstdint>

#include "core/text_util.h"
#include "core/ui_text.h"   // the table itself and its readers

constexpr int UI_TEXT_VERSION = 1;

// Defaults written by the language set-up and used by the simulation defaults.
constexpr int START_AIRPORT_ID_SIZE = 5;   // four characters and a terminator
extern char default_start_airport[START_AIRPORT_ID_SIZE];
// default_aircraft_path and default_aircraft_name: core/ui_text.h.

// The whole language set-up (reload 0 at start-up; 1 from the settings screen,
// which also reloads the user's aircraft as the default one). Every defect of
// the text file is a fatal alert naming the file.
void LANG_load_text(int reload);

// The smallest empty index, 9999 when all 1000 are used.
int LANG_lowest_free_index();
