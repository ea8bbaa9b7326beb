// The program's own open/save file browser: a modal screen drawn with the
// widgets inside the window (modes 998 open and 999 save). It runs frames of
// the frame loop until the user picks a file, confirms a typed name with
// Return, or cancels, and then restores the mode it found.
#pragma once

#include <cstdint>

// The row last chosen in the browser's folder menu, kept between calls.
extern int32_t opensave_folder_choice;

// Most rows the folder menu shows (the program folder, the levels of the
// current folder and its subfolders).
constexpr int OPENSAVE_FOLDER_ROWS = 50;
// Longest name the save field takes.
constexpr int OPENSAVE_NAME_MAX = 30;

// mode 998 opens, 999 saves; kind is the file kind listed (it picks the folder
// shown first and the extension a saved name gets). `name` (500 bytes) comes
// in as the name shown first and goes out as the chosen or typed name; `path`
// (500 bytes) goes out as the chosen file's full path. Returns 1 when a file
// was chosen or a name confirmed, 0 when cancelled or when the browser's mode
// could not be entered (name and path are then left as they were).
int opensave(int mode, int kind, char* name, char* path);
