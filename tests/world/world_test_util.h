// Shared set-up of the world tests: a program folder in a temporary folder,
// empty navigation tables and the planet constants.
#pragma once

#include <string>

#include "tests/support/test_support.h"

// Points the program folder (and so the folder table) at the temporary folder.
void world_use_program_folder(const temp_folder& folder);
// Empties every navigation table and index and sets the Earth as the planet.
void world_reset_tables();
// A writable 500-byte path buffer, for the readers that convert their path in place.
struct path_buffer {
    char text[500] = {};
    explicit path_buffer(const std::string& path);
    operator char*() { return text; }
};
