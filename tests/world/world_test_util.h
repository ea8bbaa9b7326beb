// Shared set-up of the world tests: a program folder in a temporary folder,
// empty navigation tables and the planet constants.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

// Points the program folder (and so the folder table) at the temporary folder.
void world_use_program_folder(const temp_folder& folder);
// Empties every navigation table and index and sets the Earth as the planet.
void world_reset_tables();
// Appends an airport with one 1,000 m by 40 m runway centred at (lat, lon) and
// returns its index; `indexed` also enters it in the id index.
int world_add_airport(const char* id, float lat, float lon, const char* number = "09L", float heading = 90.0f,
                      float elevation = 0.0f, bool indexed = false);
// A file of the default Earth navigation data in the source tree.
std::filesystem::path default_nav_file(const char* name);
// A writable 500-byte path buffer, for the readers that convert their path in place.
struct path_buffer {
    char text[500] = {};
    explicit path_buffer(const std::string& path);
    operator char*() { return text; }
};
