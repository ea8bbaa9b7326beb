// The program folder, the folder table, the preference paths and the three log streams.
#pragma once

#include <fstream>
#include <string>

#include "core/text_util.h"

enum folder_index : int {
    FOLDER_AIRFOILS = 0, FOLDER_WEAPONS, FOLDER_AIRCRAFT, FOLDER_AUTOGEN_OBJECTS,
    FOLDER_AUTOGEN_TEXTURES, FOLDER_SITUATIONS, FOLDER_MOVIES, FOLDER_LOGBOOKS, FOLDER_FMS_PLANS,
    FOLDER_SAVED_GAMES, FOLDER_TRACKS, FOLDER_CARS, FOLDER_SPACESHIPS, FOLDER_REGIONS,
    FOLDER_SOUNDS, FOLDER_BITMAPS, FOLDER_PLANETS, FOLDER_CUSTOM_SCENERY, FOLDER_EARTH_NAV,
    FOLDER_MARS_NAV, FOLDER_MENUS, FOLDER_TEXT, FOLDER_KEYS, FOLDER_RADIO_CHATTER,
    FOLDER_COUNT
};

extern const char* const folder_relative_paths[FOLDER_COUNT];
extern char folder_table[FOLDER_COUNT][TEXT_SIZE];
extern char program_folder[TEXT_SIZE];   // ends in the separator
extern char pref_path_resolution[TEXT_SIZE];
extern char pref_path_general[TEXT_SIZE];
extern char pref_path_pilot[TEXT_SIZE];

// Log streams: "ERROR.OUT", "ORVELL.OUT", "DATA.OUT", in the current folder
// (the error log on the standard error when "ERROR.OUT" cannot be made).
extern std::ofstream error_log;
extern std::ofstream report_log;
extern std::ofstream data_log;
constexpr const char* DATA_LOG_NAME = "DATA.OUT";

void FOLDERS_open_logs();                     // creates or empties the three logs
void FOLDERS_close_logs();
// Fills the program folder from the executable's path, then the folder table
// and the preference paths.
void FOLDERS_init();
// The same from a given executable path (tests).
void FOLDERS_init_from(const char* executable_path);

// The folders of the data tree the program writes into: the preferences, the
// output folders (situations, movies, logbooks, flight plans) and the program
// folder itself, where the screenshots go. Each is given as the default data
// folder spells it, relative to the program folder.
constexpr int WRITTEN_FOLDER_COUNT = 6;
extern const char* const written_folders[WRITTEN_FOLDER_COUNT];
// Creates the folders of written_folders that are missing (a component that
// exists in another letter case is used as it is). A folder that cannot be
// made is named once in ERROR.OUT; returns the number of such folders.
int FOLDERS_make_written();

// A path as the logs and alerts name it: the path on this disk, with the
// letter case found there and one '/' between components (the program's own
// ':' and '\' separators turned).
std::string FOLDERS_log_path(const char* path);
// True when the text is a path inside the program folder.
bool FOLDERS_in_program_folder(const char* text);
